// The outside part-time job document (type code 71): two read-only flags
// derived from the record's lDcProc.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvDOutsSovm : public RecordKind<OrvDOutsSovm, &CLSID_OrvDOutsSovm, IOrvDOutsSovm, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_OuterSovm(VARIANT_BOOL* pVal) override;
    HRESULT put_OuterSovm(VARIANT_BOOL newVal) override;
    HRESULT get_MilitaryMan(VARIANT_BOOL* pVal) override;
    HRESULT put_MilitaryMan(VARIANT_BOOL newVal) override;
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
    // Attaches a generic document to an object created by its class
    // identifier; an object that has its document keeps it.
    HRESULT put_OrvDocument(IUnknown* newVal) override;
};

}  // namespace orv
