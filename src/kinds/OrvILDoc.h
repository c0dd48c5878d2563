// The IL kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvILDoc : public SpecificObject<OrvILDoc, &CLSID_OrvILDoc, Pending<IOrvILDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
