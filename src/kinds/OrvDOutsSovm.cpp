#include "kinds/OrvDOutsSovm.h"

namespace orv {

using namespace record;

namespace {

// lDcProc: 100 or 90 for an outside part-time job, -100 for a military man.
bool IsOuterJob(LONG proc) { return proc == 100 || proc == 90; }
constexpr LONG kMilitary = -100;

}  // namespace

HRESULT OrvDOutsSovm::get_OuterSovm(VARIANT_BOOL* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        return IsOuterJob(Get<LONG>(d, &IOrvDocument::get_lDcProc)) ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT OrvDOutsSovm::get_MilitaryMan(VARIANT_BOOL* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        return Get<LONG>(d, &IOrvDocument::get_lDcProc) == kMilitary ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

// Both flags are derived; they cannot be set.
HRESULT OrvDOutsSovm::put_OuterSovm(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT OrvDOutsSovm::put_MilitaryMan(VARIANT_BOOL) { return E_NOTIMPL; }

HRESULT OrvDOutsSovm::put_OrvDocument(IUnknown* newVal) {
    if (!newVal) return E_POINTER;
    ComPtr<IOrvDocument> document;
    HRESULT hr = newVal->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(document.GetAddressOf()));
    if (FAILED(hr)) return hr;
    return Locked([&]() -> HRESULT {
        if (!document_) {
            document_.Swap(document);
            return S_OK;
        }
        return document_.Get() == document.Get() ? S_OK : E_UNEXPECTED;
    });
}

}  // namespace orv
