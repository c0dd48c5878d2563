// The empty rate list (type 338): the shape of the rate list without rates.
// InitFromExtension, UpdateExtension, ClearSums and CalculateRecalculationDate
// do nothing and answer S_OK (the date is 0); GetElemCount is always 0. The
// IsInitialized flag is kept as the host sets it.
#pragma once

#include "kinds/KindBase.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_sums.h>

namespace orv {

class OrvZGDoc : public SpecificObject<OrvZGDoc, &CLSID_OrvZGDoc, IOrvZGDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT InitFromExtension() override { return S_OK; }
    HRESULT UpdateExtension() override { return S_OK; }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override {
        if (!pVal) return E_POINTER;
        return Locked([&] {
            *pVal = initialized_;
            return S_OK;
        });
    }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override {
        return Locked([&] {
            initialized_ = newVal;
            return S_OK;
        });
    }
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
    HRESULT ClearSums() override { return S_OK; }
    HRESULT GetElemCount(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = 0;
        return S_OK;
    }
    HRESULT CalculateRecalculationDate(IUnknown*, DATE* pdtDate) override {
        if (!pdtDate) return E_POINTER;
        *pdtDate = 0.0;
        return S_OK;
    }

private:
    VARIANT_BOOL initialized_ = VARIANT_FALSE;
};

}  // namespace orv
