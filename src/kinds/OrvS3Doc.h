// The S3 kind: created, answers its interfaces and receives its
// document; its members answer E_NOTIMPL until built.
#pragma once

#include "kinds/KindBase.h"
#include "typelib/not_built.h"

namespace orv {

class OrvS3Doc : public SpecificObject<OrvS3Doc, &CLSID_OrvS3Doc, Pending<IOrvS3Doc>, IDispatch, ISupportErrorInfo> {};

}  // namespace orv
