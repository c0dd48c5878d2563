// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvMTrace : public CoClass<OrvMTrace, &CLSID_OrvMTrace, Pending<IOrvMTrace>, IDispatch, ISupportErrorInfo, Pending<IOrvDepPeriod>> {};

}  // namespace orv
