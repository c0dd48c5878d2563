// The MV kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvMVDoc : public SpecificObject<OrvMVDoc, &CLSID_OrvMVDoc, Pending<IOrvMVDoc>, IDispatch> {};

}  // namespace orv
