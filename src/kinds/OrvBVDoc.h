// The BV kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvBVDoc : public SpecificObject<OrvBVDoc, &CLSID_OrvBVDoc, Pending<IOrvBVDoc>, IDispatch> {};

}  // namespace orv
