// The OR kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvORDoc : public SpecificObject<OrvORDoc, &CLSID_OrvORDoc, Pending<IOrvORDoc>, IDispatch> {};

}  // namespace orv
