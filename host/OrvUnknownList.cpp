#include "host/OrvUnknownList.h"

namespace orv::host {

HRESULT OrvUnknownList::Reset() {
    return Locked([&] {
        cursor_ = 0;
        return S_OK;
    });
}

HRESULT OrvUnknownList::Add(IUnknown* punk) {
    if (!punk) return E_INVALIDARG;
    return Locked([&] {
        items_.emplace_back(punk);
        return S_OK;
    });
}

HRESULT OrvUnknownList::Next(IUnknown** ppunk) {
    if (!ppunk) return E_POINTER;
    *ppunk = nullptr;
    return Locked([&] {
        if (cursor_ >= items_.size()) return S_FALSE;
        return items_[cursor_++].CopyTo(ppunk);
    });
}

HRESULT OrvUnknownList::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(items_.size());
        return S_OK;
    });
}

HRESULT OrvUnknownList::RemoveAll() {
    std::vector<ComPtr<IUnknown>> gone;
    HRESULT hr = Locked([&] {
        gone.swap(items_);
        cursor_ = 0;
        return S_OK;
    });
    return hr;  // the references go after the lock is left, so a destructor may call back in
}

}  // namespace orv::host
