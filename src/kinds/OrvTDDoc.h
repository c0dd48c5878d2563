// The TD kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvTDDoc : public SpecificObject<OrvTDDoc, &CLSID_OrvTDDoc, Pending<IOrvTDDoc>, IDispatch> {};

}  // namespace orv
