// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvMonthList : public CoClass<OrvMonthList, &CLSID_OrvMonthList, Pending<IOrvMonthList>, IDispatch, Pending<IOrvUnknownList>> {};

}  // namespace orv
