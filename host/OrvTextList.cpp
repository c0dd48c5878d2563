#include "host/OrvTextList.h"

#include <orvdocs/platform/strings.h>

namespace orv::host {

HRESULT OrvTextList::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(items_.size());
        return S_OK;
    });
}

HRESULT OrvTextList::get_Item(LONG lIndex, BSTR* pbstrText) {
    if (!pbstrText) return E_POINTER;
    *pbstrText = nullptr;
    return Locked([&] {
        if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= items_.size()) return E_INVALIDARG;
        const std::u16string& text = items_[static_cast<std::size_t>(lIndex)];
        *pbstrText = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *pbstrText ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvTextList::Add(BSTR bstrText) {
    return Locked([&] {
        items_.emplace_back(bstrText ? std::u16string(bstrText, SysStringLen(bstrText)) : std::u16string());
        return S_OK;
    });
}

}  // namespace orv::host
