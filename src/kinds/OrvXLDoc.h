// The XL kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvXLDoc : public SpecificObject<OrvXLDoc, &CLSID_OrvXLDoc, Pending<IOrvXLDoc>, IDispatch> {};

}  // namespace orv
