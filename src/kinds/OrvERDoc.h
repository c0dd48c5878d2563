// The ER kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvERDoc : public SpecificObject<OrvERDoc, &CLSID_OrvERDoc, Pending<IOrvERDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
