// Created and answering its interfaces; members answer E_NOTIMPL until built.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvMonth : public CoClass<OrvMonth, &CLSID_OrvMonth, Pending<IOrvMonth>, ISupportErrorInfo, IDispatch, Pending<IOrvM>,
                                Pending<IOrvMonthDisp>, Pending<IOrvObjAsXmlString>> {
public:
    // Error information is described for both faces of the month.
    static bool SupportsErrorInfo(REFIID riid) { return riid == IID_IOrvMonth || riid == IID_IOrvMonthDisp; }
};

}  // namespace orv
