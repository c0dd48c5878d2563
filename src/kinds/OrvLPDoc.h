// The LP kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvLPDoc : public SpecificObject<OrvLPDoc, &CLSID_OrvLPDoc, Pending<IOrvLPDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
