// The payment to a savings-bank account (type code 10): account and bank
// department in record fields; the recipient as the extension's text.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvSBDoc : public RecordKind<OrvSBDoc, &CLSID_OrvSBDoc, IOrvSBDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_Recipient(BSTR* pVal) override;
    HRESULT put_Recipient(BSTR newVal) override;
    HRESULT get_AccountId(LONG* pVal) override;
    HRESULT put_AccountId(LONG newVal) override;
    HRESULT get_BankDepartment(BSTR* pVal) override;
    HRESULT put_BankDepartment(BSTR newVal) override;
};

}  // namespace orv
