// The ZM kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvZMDoc : public SpecificObject<OrvZMDoc, &CLSID_OrvZMDoc, Pending<IOrvZMDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
