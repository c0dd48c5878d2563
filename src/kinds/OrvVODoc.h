// The average-earnings protocol document of type codes 92 and 368: one
// protocol under the extension root "VODOCEX".
#pragma once

#include "kinds/ProtocolKind.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_average.h>

namespace orv {

class OrvVODoc : public ProtocolKind<OrvVODoc, &CLSID_OrvVODoc, IOrvVODoc> {
public:
    static constexpr const char16_t* kRoot = u"VODOCEX";
};

}  // namespace orv
