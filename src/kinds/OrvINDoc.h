// The address and account document (type code 14): the account in a record
// field, the address as the extension's text.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvINDoc : public RecordKind<OrvINDoc, &CLSID_OrvINDoc, IOrvINDoc, IDispatch> {
public:
    HRESULT get_Address(BSTR* pVal) override;
    HRESULT put_Address(BSTR newVal) override;
    HRESULT get_AccountId(LONG* pVal) override;
    HRESULT put_AccountId(LONG newVal) override;
};

}  // namespace orv
