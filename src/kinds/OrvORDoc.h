// The average-earnings protocol document (type code 30): one protocol under
// the extension root "ORDOCEX".
#pragma once

#include "kinds/ProtocolKind.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_average.h>

namespace orv {

class OrvORDoc : public ProtocolKind<OrvORDoc, &CLSID_OrvORDoc, IOrvORDoc> {
public:
    static constexpr const char16_t* kRoot = u"ORDOCEX";
};

}  // namespace orv
