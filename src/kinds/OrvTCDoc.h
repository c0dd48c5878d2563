// The TC kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvTCDoc : public SpecificObject<OrvTCDoc, &CLSID_OrvTCDoc, Pending<IOrvTCDoc>, IDispatch> {};

}  // namespace orv
