// The absence document (type code 51): the absence code packed into a sum
// field, the new absence code and the exclusion from the average list, and two
// answers computed from them.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvTNDoc : public RecordKind<OrvTNDoc, &CLSID_OrvTNDoc, IOrvTNDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_AbsenceCode(BSTR* pVal) override;
    HRESULT put_AbsenceCode(BSTR newVal) override;
    HRESULT get_NewAbsenceCode(LONG* pVal) override;
    HRESULT put_NewAbsenceCode(LONG newVal) override;
    HRESULT get_NotInAveList(LONG* pVal) override;
    HRESULT put_NotInAveList(LONG newVal) override;
    HRESULT get_IsDissmised(VARIANT_BOOL* pVal) override;
    HRESULT get_IsOutOfAveList(VARIANT_BOOL* pVal) override;
};

}  // namespace orv
