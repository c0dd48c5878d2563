#include "reference/OrvReferences.h"

#include <orvdocs/platform/combase.h>

namespace orv {

HRESULT CreateReferenceItem(IUnknown* outer, LONG kind, REFCLSID clsid, ComPtr<IUnknown>* inner) noexcept {
    HRESULT hr = CoCreateInstance(CLSID_OrvRefItem, outer, CLSCTX_ALL, IID_IUnknown,
                                  reinterpret_cast<void**>(inner->ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return hr;
    ComPtr<IOrvRefItem> item;  // counts on the outer object while held
    hr = (*inner)->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf()));
    if (FAILED(hr)) return hr;
    hr = item->put_Kind(kind);
    if (FAILED(hr)) return hr;
    OLECHAR text[128];
    if (StringFromGUID2(clsid, text, 128) == 0) return E_UNEXPECTED;
    BSTR s = SysAllocString(text);
    if (!s) return E_OUTOFMEMORY;
    hr = item->put_ClassId(s);
    SysFreeString(s);
    return hr;
}

}  // namespace orv

namespace orv {

HRESULT OrvJobPosition::get_Category(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        SHORT value = 0;
        Check(Item()->get_Flag3(&value), IID_IOrvRefItem);
        *pVal = value;
        return S_OK;
    });
}

HRESULT OrvJobPosition::put_Category(LONG newVal) {
    return ItemPut(&IOrvRefItem::put_Flag3, static_cast<SHORT>(static_cast<uint16_t>(newVal & 0xFFFF)));
}

}  // namespace orv
