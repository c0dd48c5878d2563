// The S1 kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvS1Doc : public SpecificObject<OrvS1Doc, &CLSID_OrvS1Doc, Pending<IOrvS1Doc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
