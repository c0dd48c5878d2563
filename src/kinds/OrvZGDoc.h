// The ZG kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvZGDoc : public SpecificObject<OrvZGDoc, &CLSID_OrvZGDoc, Pending<IOrvZGDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
