// The record of one sick-leave benefit calculation.
#pragma once

#include "frame/com.h"
#include "typelib/not_built.h"

namespace orv {

class OrvBLDocProtocol : public CoClass<OrvBLDocProtocol, &CLSID_OrvBLDocProtocol, Pending<IOrvBLDocProtocol>, IDispatch,
                                        ISupportErrorInfo, Pending<IOrvObjAsXmlString>> {
public:
    // Creates the history and pay-month lists (the outside list component).
    HRESULT FinalConstruct();

protected:
    ComPtr<IOrvUnknownList> history_;
    ComPtr<IOrvUnknownList> payMonths_;
};

}  // namespace orv
