#include "kinds/OrvVVDoc.h"

#include "kinds/all_kinds.h"

#include <orvdocs/typelib/vacation.h>

namespace orv {

HRESULT OrvVVDoc::get_OtProtocol(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!protocol_) Check(CreateSpecific<OrvOTDoc>(Document(), protocol_.ReleaseAndGetAddressOf()), IID_IOrvVVDoc);
        return protocol_.CopyTo(pVal);
    });
}

HRESULT OrvVVDoc::put_OtProtocol(IUnknown* newVal) {
    return Locked([&] {
        if (!newVal) {
            protocol_.Reset();
            return S_OK;
        }
        ComPtr<IUnknown> vacation;
        HRESULT hr = newVal->QueryInterface(IID_IOrvOTProtocol, reinterpret_cast<void**>(vacation.GetAddressOf()));
        if (FAILED(hr)) return hr;
        vacation.Reset();
        // The object's identity, so that a get answers the same IUnknown.
        Check(newVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(vacation.GetAddressOf())), IID_IUnknown);
        protocol_ = std::move(vacation);
        return S_OK;
    });
}

}  // namespace orv
