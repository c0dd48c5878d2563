// The non-template core of the class toolkit.
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

namespace {
bool EqualNoCase(std::u16string_view a, const char16_t* b) {
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (!y) return false;
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        if (x != y) return false;
    }
    return b[i] == 0;
}
}  // namespace

HRESULT DispatchGetIDsOfNames(const ti::Interface& info, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!ids || (count && !names)) return E_POINTER;
    if (count == 0) return E_INVALIDARG;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const std::size_t n = names[0] ? WStrLen(names[0]) : 0;
    const ti::Member* found = nullptr;
    for (std::size_t m = 0; m < info.count && names[0]; ++m) {
        if (EqualNoCase(std::u16string_view(names[0], n), info.members[m].name)) {
            found = &info.members[m];
            break;
        }
    }
    if (!found) return DISP_E_UNKNOWNNAME;
    ids[0] = found->dispid;
    // Further names are the member's parameters, matched against its parameter list.
    for (UINT i = 1; i < count; ++i) {
        if (!names[i]) {
            result = DISP_E_UNKNOWNNAME;
            continue;
        }
        std::u16string_view want(names[i], WStrLen(names[i]));
        std::u16string_view spec = found->paramSpec ? found->paramSpec : u"";
        DISPID index = 0;
        bool matched = false;
        while (!spec.empty()) {
            std::size_t comma = spec.find(u',');
            std::u16string_view item = spec.substr(0, comma);
            item = item.substr(0, item.find(u':'));
            std::u16string name(item);
            if (EqualNoCase(want, name.c_str())) {
                ids[i] = index;
                matched = true;
                break;
            }
            ++index;
            if (comma == std::u16string_view::npos) break;
            spec.remove_prefix(comma + 1);
        }
        if (!matched) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT DispatchGetTypeInfo(const ti::Interface&, UINT index, ITypeInfo** ppTInfo) {
    if (!ppTInfo) return E_POINTER;
    *ppTInfo = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return E_NOTIMPL;  // ITypeInfo objects come with the automation layer
}

HRESULT DispatchInvoke(const ti::Interface&, IUnknown*, DISPID, REFIID riid, WORD, DISPPARAMS*, VARIANT*,
                       EXCEPINFO*, UINT*) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return E_NOTIMPL;  // late-bound calls come with the automation layer
}

}  // namespace orv::detail
