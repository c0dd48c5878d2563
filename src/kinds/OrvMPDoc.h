// The MP kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvMPDoc : public SpecificObject<OrvMPDoc, &CLSID_OrvMPDoc, Pending<IOrvMPDoc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
