#include "host/registration.h"

#include "host/OrvDateService.h"
#include "host/OrvMemoryDatabase.h"
#include "host/OrvMessageService.h"
#include "host/OrvOutsideDoc.h"
#include "host/OrvRefItem.h"
#include "host/OrvSumCollector.h"
#include "host/OrvTextList.h"
#include "host/OrvUnknownList.h"

namespace orv::host {
namespace {

// A class object for one host component. Host class objects live as long as
// their registration; they hold no lock on any module.
class HostClassFactory final : public IClassFactory {
public:
    explicit HostClassFactory(CreatorFn create) : create_(create) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override { return create_(outer, riid, ppv); }
    HRESULT LockServer(BOOL) override { return S_OK; }

private:
    LONG volatile refs_ = 0;
    CreatorFn create_;
};

HRESULT RegisterOne(REFCLSID clsid, CreatorFn create, Registration* reg) {
    ComPtr<IClassFactory> factory(new (std::nothrow) HostClassFactory(create));
    if (!factory) return E_OUTOFMEMORY;
    DWORD cookie = 0;
    HRESULT hr = CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    if (SUCCEEDED(hr)) reg->cookies.push_back(cookie);
    return hr;
}

}  // namespace

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

HRESULT CreateMemoryDatabase(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<OrvMemoryDatabase>(outer, riid, ppv);
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
        if (SUCCEEDED(hr)) hr = RegisterOne(CLSID_OrvMemoryDatabase, &CreateMemoryDatabase, &reg);
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
