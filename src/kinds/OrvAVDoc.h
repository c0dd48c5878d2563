// The advance payment (type code 7): sum, sum to transfer, account and bank
// department in record fields; the recipient as the extension's text.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvAVDoc : public RecordKind<OrvAVDoc, &CLSID_OrvAVDoc, IOrvAVDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_Sum(CY* pVal) override;
    HRESULT put_Sum(CY newVal) override;
    HRESULT get_SumToTransfer(CY* pVal) override;
    HRESULT put_SumToTransfer(CY newVal) override;
    HRESULT get_AccountId(LONG* pVal) override;
    HRESULT put_AccountId(LONG newVal) override;
    HRESULT get_BankDepNum(LONG* pVal) override;
    HRESULT put_BankDepNum(LONG newVal) override;
    HRESULT get_Recipient(BSTR* pVal) override;
    HRESULT put_Recipient(BSTR newVal) override;
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
};

}  // namespace orv
