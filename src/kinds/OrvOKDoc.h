// The OK kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvOKDoc : public SpecificObject<OrvOKDoc, &CLSID_OrvOKDoc, Pending<IOrvOKDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
