// The non-template core of the class toolkit (the dispatch part is in dispatch.cpp).
#include "frame/com.h"

#include <orvdocs/platform/strings.h>

namespace orv::detail {

HRESULT MapQueryInterface(void* self, const MapEntry* map, std::size_t count, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (count == 0) return E_NOINTERFACE;
    HRESULT hr = S_OK;
    if (riid == IID_IUnknown) {
        IUnknown* identity = map[0].resolve(self, &hr);
        identity->AddRef();
        *ppv = identity;
        return S_OK;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const MapEntry& e = map[i];
        if (*e.iid != riid) continue;
        switch (e.kind) {
            case EntryKind::Direct: {
                IUnknown* p = e.resolve(self, &hr);
                p->AddRef();
                *ppv = p;
                return S_OK;
            }
            case EntryKind::Aggregated: {
                IUnknown* inner = e.resolve(self, &hr);
                if (!inner) return E_NOINTERFACE;
                return inner->QueryInterface(riid, ppv);
            }
            case EntryKind::TearOff: {
                try {
                    IUnknown* p = e.resolve(self, &hr);
                    if (!p) return FAILED(hr) ? hr : E_OUTOFMEMORY;
                    *ppv = p;  // created with its one reference
                    return S_OK;
                } catch (const std::bad_alloc&) {
                    return E_OUTOFMEMORY;
                } catch (...) {
                    return E_UNEXPECTED;
                }
            }
        }
    }
    return E_NOINTERFACE;
}

}  // namespace orv::detail
