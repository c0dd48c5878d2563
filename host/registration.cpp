#include "host/registration.h"

#include "host/OrvDateService.h"
#include "host/OrvMemoryDatabase.h"
#include "host/OrvMessageService.h"
#include "host/OrvOutsideDoc.h"
#include "host/OrvRefItem.h"
#include "host/OrvSumCollector.h"
#include "host/OrvTextList.h"
#include "host/OrvItemList.h"
#include "host/OrvUnknownList.h"

namespace orv::host {
namespace {

HRESULT RegisterOne(REFCLSID clsid, CreatorFn create, Registration* reg) { return RegisterHostClass(clsid, create, reg); }

}  // namespace

HRESULT RegisterHostClass(REFCLSID clsid, CreatorFn create, Registration* reg) noexcept {
    if (!reg) return E_POINTER;
    // Host class objects live as long as their registration and hold no lock on any module.
    ComPtr<IClassFactory> factory;
    HRESULT hr = CreateClassFactory(create, false, factory.GetAddressOf());
    if (FAILED(hr)) return hr;
    DWORD cookie = 0;
    hr = CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    if (SUCCEEDED(hr)) {
        try {
            reg->cookies.push_back(cookie);
        } catch (const std::bad_alloc&) {
            CoRevokeClassObject(cookie);
            return E_OUTOFMEMORY;
        }
    }
    return hr;
}

void Registration::Revoke() noexcept {
    for (DWORD c : cookies) CoRevokeClassObject(c);
    cookies.clear();
}

HRESULT CreateRefItem(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvRefItem>(outer, riid, ppv);
}

HRESULT CreateUnknownList(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvUnknownList>(outer, riid, ppv);
}

HRESULT CreateMessageService(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvMessageService>(outer, riid, ppv);
}

HRESULT CreateTextList(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvTextList>(outer, riid, ppv);
}

HRESULT CreateDateService(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvDateService>(outer, riid, ppv);
}

HRESULT CreateSumCollector(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvSumCollector>(outer, riid, ppv);
}

HRESULT CreateOutsideDoc(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvOutsideDoc>(outer, riid, ppv);
}

HRESULT CreateAccountList(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvAccountList>(outer, riid, ppv);
}

HRESULT CreateAddressList(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvAddressList>(outer, riid, ppv);
}

HRESULT CreateMemoryDatabase(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvMemoryDatabase>(outer, riid, ppv);
}

HRESULT CreateDatabase(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvDatabase>(outer, riid, ppv);
}

HRESULT RegisterHostComponents(Registration* out) noexcept {
    if (!out) return E_POINTER;
    try {
        Registration reg;
        HRESULT hr = RegisterOne(CLSID_OrvRefItem, &CreateRefItem, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvUnknownList, &CreateUnknownList, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvMessageService, &CreateMessageService, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvTextList, &CreateTextList, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvDateService, &CreateDateService, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvSumCollector, &CreateSumCollector, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvOutsideDoc, &CreateOutsideDoc, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvAccountList, &CreateAccountList, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvAddressList, &CreateAddressList, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvMemoryDatabase, &CreateMemoryDatabase, &reg);
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvDatabase, &CreateDatabase, &reg);
        if (FAILED(hr)) {
            reg.Revoke();
            return hr;
        }
        out->cookies.insert(out->cookies.end(), reg.cookies.begin(), reg.cookies.end());
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace orv::host
