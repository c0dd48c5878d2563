// A component module with one class, loaded with dlopen by the runtime tests.
// It counts its live objects and server locks like a real module, so that
// DllCanUnloadNow tells the truth.
// Everything but the two entry points stays inside the module. Identifiers
// declared `inline constexpr` in headers would otherwise be exported as
// unique symbols, which makes the dynamic loader refuse to ever unload it.
#pragma GCC visibility push(hidden)
#include "test_module_simple.h"

#include <atomic>
#pragma GCC visibility pop

namespace {

std::atomic<LONG> g_objects{0};
std::atomic<LONG> g_locks{0};

class Simple final : public ITestSimple {
public:
    Simple() { ++g_objects; }
    ~Simple() { --g_objects; }

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ITestSimple) {
            *ppv = static_cast<ITestSimple*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT Add(LONG value) override {
        total_ += value;
        return S_OK;
    }
    HRESULT get_Total(LONG* total) override {
        if (!total) return E_POINTER;
        *total = total_;
        return S_OK;
    }
    HRESULT get_LiveObjects(LONG* count) override {
        if (!count) return E_POINTER;
        *count = g_objects;
        return S_OK;
    }

private:
    std::atomic<ULONG> refs_{0};
    std::atomic<LONG> total_{0};
};

// The one class factory; a reference held outside the module keeps it loaded.
class Factory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override {
        ++g_locks;
        return 2;
    }
    ULONG Release() override {
        --g_locks;
        return 1;
    }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* s = new Simple;
        s->AddRef();
        HRESULT hr = s->QueryInterface(riid, ppv);
        s->Release();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override {
        if (lock) ++g_locks;
        else --g_locks;
        return S_OK;
    }
};

Factory g_factory;

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_TestSimple) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
