// The RI kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvRIDoc : public SpecificObject<OrvRIDoc, &CLSID_OrvRIDoc, Pending<IOrvRIDoc>, IDispatch> {};

}  // namespace orv
