// The VO kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvVODoc : public SpecificObject<OrvVODoc, &CLSID_OrvVODoc, Pending<IOrvVODoc>, IDispatch> {};

}  // namespace orv
