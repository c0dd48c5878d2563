// The PS kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvPSDoc : public SpecificObject<OrvPSDoc, &CLSID_OrvPSDoc, Pending<IOrvPSDoc>, IDispatch> {};

}  // namespace orv
