// The S2 kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvS2Doc : public SpecificObject<OrvS2Doc, &CLSID_OrvS2Doc, Pending<IOrvS2Doc>, IDispatch> {};

}  // namespace orv
