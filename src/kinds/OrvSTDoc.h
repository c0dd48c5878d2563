// The address document (type code 17): the address as the extension's text.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvSTDoc : public RecordKind<OrvSTDoc, &CLSID_OrvSTDoc, IOrvSTDoc, IDispatch> {
public:
    HRESULT get_Address(BSTR* pVal) override;
    HRESULT put_Address(BSTR newVal) override;
};

}  // namespace orv
