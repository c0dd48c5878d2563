// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvBLProtHistoryItem : public CoClass<OrvBLProtHistoryItem, &CLSID_OrvBLProtHistoryItem, Pending<IOrvBLProtHistoryItem>, IDispatch> {};
class OrvBlProtPayMonthItem : public CoClass<OrvBlProtPayMonthItem, &CLSID_OrvBlProtPayMonthItem, Pending<IOrvBlProtPayMonthItem>, IDispatch> {};

}  // namespace orv
