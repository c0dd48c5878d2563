// The module: lock count, class factories, the exported entry points and
// self-registration.
#include "frame/module.h"

#include "frame/com.h"
#include "frame/messages.h"
#include "typelib/interfaces.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/kernel.h>
#include <orvdocs/platform/registry.h>
#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/classes.h>

#include <atomic>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace orv {
namespace {

std::atomic<LONG> g_lockCount{0};

// The class factory of one class. A factory that holds the module counts as
// one lock in the module's lock count while anyone but the module itself holds
// a reference to it: a cached factory (the cache keeps one reference) counts
// while its reference count is above 1, a factory made on request while it is
// above 0. The cached reference alone does not count, so a module whose
// factories are only cached can be unloaded; a host that holds a factory it got
// from DllGetClassObject keeps the module loaded until it releases it.
class ClassFactory final : public IClassFactory {
public:
    ClassFactory(CreatorFn create, bool holdsModule, bool cached)
        : create_(create), holdsModule_(holdsModule), ownRefs_(cached ? 1 : 0) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override {
        ULONG n = ++refs_;
        // Each crossing of the line takes or gives exactly one lock: the atomic
        // count hands every caller a distinct value.
        if (holdsModule_ && n == ownRefs_ + 1) ModuleLock();
        return n;
    }
    ULONG Release() override {
        ULONG n = --refs_;
        if (holdsModule_ && n == ownRefs_) ModuleUnlock();
        if (n == 0) delete this;
        return n;
    }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        return create_(outer, riid, ppv);
    }
    HRESULT LockServer(BOOL lock) override {
        if (!holdsModule_) return S_OK;
        if (lock)
            ModuleLock();
        else
            ModuleUnlock();
        return S_OK;
    }

    // The cache's own reference: taken before the factory is published, so
    // it never counts as a lock.
    void TakeCacheReference() noexcept { refs_.store(1); }
    // The cache lets its reference go (module unload): from then on every
    // remaining reference is a holder's.
    void DropCacheReference() noexcept {
        ownRefs_.store(0);
        Release();
    }

private:
    std::atomic<ULONG> refs_{0};
    CreatorFn create_;
    bool holdsModule_;
    std::atomic<ULONG> ownRefs_;
};

struct FactoryCache {
    std::mutex lock;  // the module lock: guards the lazily created factories
    std::vector<ClassFactory*> factories;
};

FactoryCache& Cache() {
    static FactoryCache* cache = new FactoryCache;  // lives until the module goes
    return *cache;
}

std::u16string GuidText(REFGUID g) {
    OLECHAR buf[40];
    int n = StringFromGUID2(g, buf, 40);
    return n > 0 ? std::u16string(buf, static_cast<std::size_t>(n - 1)) : std::u16string();
}

// Registry writing helpers: each returns the first failure as an HRESULT.
class KeyWriter {
public:
    HRESULT SetKey(const std::u16string& path, const std::u16string* value,
                   const char16_t* valueName = nullptr) {
        HKEY key = nullptr;
        LSTATUS st = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                     nullptr);
        if (st != ERROR_SUCCESS) return HRESULT_FROM_WIN32(st);
        if (value) {
            st = RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                                static_cast<DWORD>((value->size() + 1) * sizeof(char16_t)));
        }
        RegCloseKey(key);
        return st == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(st);
    }
    HRESULT Set(const std::u16string& path, const std::u16string& value, const char16_t* valueName = nullptr) {
        return SetKey(path, &value, valueName);
    }
    HRESULT Key(const std::u16string& path) { return SetKey(path, nullptr); }
};

HRESULT RemoveTree(const std::u16string& path) {
    LSTATUS st = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (st == ERROR_SUCCESS || st == ERROR_FILE_NOT_FOUND) return S_OK;
    return HRESULT_FROM_WIN32(st);
}

std::u16string ModulePath() {
    char16_t buf[4096];
    DWORD n = GetModuleFileNameW(ThisModule(), buf, 4096);
    return std::u16string(buf, n < 4096 ? n : 0);
}

#define ORV_TRY(expr)               \
    do {                            \
        HRESULT hr_ = (expr);       \
        if (FAILED(hr_)) return hr_; \
    } while (0)

HRESULT RegisterClass(const ClassEntry& e, const std::u16string& modulePath, bool registering) {
    const std::u16string name = e.name;
    const std::u16string clsid = GuidText(*e.clsid);
    const std::u16string description = name + u" Class";
    const std::u16string progId = u"OrvDocs." + name + u".1";
    const std::u16string viProgId = u"OrvDocs." + name;
    const std::u16string clsidKey = u"CLSID\\" + clsid;
    if (!registering) {
        if (e.script == RegistryScript::Standard) {
            ORV_TRY(RemoveTree(progId));
            ORV_TRY(RemoveTree(viProgId));
        }
        return RemoveTree(clsidKey);
    }
    KeyWriter w;
    if (e.script == RegistryScript::Standard) {
        ORV_TRY(w.Set(progId, description));
        ORV_TRY(w.Set(progId + u"\\CLSID", clsid));
        ORV_TRY(w.Set(viProgId, description));
        ORV_TRY(w.Set(viProgId + u"\\CLSID", clsid));
        ORV_TRY(w.Set(viProgId + u"\\CurVer", progId));
    }
    // The class's own key is replaced whole (ForceRemove), never the CLSID root.
    ORV_TRY(RemoveTree(clsidKey));
    ORV_TRY(w.Set(clsidKey, description));
    if (e.script == RegistryScript::Standard) {
        ORV_TRY(w.Set(clsidKey + u"\\ProgID", progId));
        ORV_TRY(w.Set(clsidKey + u"\\VersionIndependentProgID", viProgId));
    } else {
        ORV_TRY(w.Set(clsidKey + u"\\Version", u"1.0"));
    }
    ORV_TRY(w.Key(clsidKey + u"\\Programmable"));
    ORV_TRY(w.Set(clsidKey + u"\\InprocServer32", modulePath));
    ORV_TRY(w.Set(clsidKey + u"\\InprocServer32", u"Both", u"ThreadingModel"));
    ORV_TRY(w.Set(clsidKey + u"\\TypeLib", GuidText(LIBID_ORVDOCSLib)));
    return S_OK;
}

// The default value of a key under HKEY_CLASSES_ROOT; empty when absent.
std::u16string ReadDefault(const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char16_t buf[256];
    DWORD size = sizeof buf;
    DWORD type = 0;
    LSTATUS st = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    if (st != ERROR_SUCCESS || type != REG_SZ) return {};
    std::u16string text(buf, size / sizeof(char16_t));
    while (!text.empty() && text.back() == 0) text.pop_back();
    return text;
}

// The automation marshaler, which serves every dual interface from its type information.
constexpr const char16_t* kAutomationProxy = u"{00020424-0000-0000-C000-000000000046}";

// HKCR\Interface\{IID} of every interface of the type library: its name, the
// type library it belongs to and, for the dual ones, the automation marshaler
// as proxy. Unregistration removes only keys that name this type library, so
// another component's registration of the same interface survives.
HRESULT RegisterInterfaces(bool registering) {
    const std::u16string lib = GuidText(LIBID_ORVDOCSLib);
    std::size_t count = 0;
    const InterfaceEntry* list = TypeLibraryInterfaces(&count);
    HRESULT first = S_OK;
    auto note = [&first](HRESULT hr) {
        if (FAILED(hr) && SUCCEEDED(first)) first = hr;
        return SUCCEEDED(hr);
    };
    KeyWriter w;
    for (std::size_t i = 0; i < count; ++i) {
        const InterfaceEntry& e = list[i];
        const std::u16string key = u"Interface\\" + GuidText(*e.iid);
        if (!registering) {
            if (ReadDefault(key + u"\\TypeLib") == lib) note(RemoveTree(key));
            continue;
        }
        if (!note(RemoveTree(key)) || !note(w.Set(key, e.name))) continue;
        if (e.typeInfo && !note(w.Set(key + u"\\ProxyStubClsid32", kAutomationProxy))) continue;
        if (!note(w.Set(key + u"\\TypeLib", lib))) continue;
        note(w.Set(key + u"\\TypeLib", u"1.0", u"Version"));
    }
    return first;
}

HRESULT RegisterTypeLibrary(const std::u16string& modulePath, bool registering) {
    const std::u16string libKey = u"TypeLib\\" + GuidText(LIBID_ORVDOCSLib);
    if (!registering) {
        HRESULT hr = RegisterInterfaces(false);
        HRESULT removed = RemoveTree(libKey);
        return FAILED(hr) ? hr : removed;
    }
    KeyWriter w;
    const std::u16string ver = libKey + u"\\1.0";
    std::u16string dir = modulePath.substr(0, modulePath.rfind(u'/'));
    ORV_TRY(w.Set(ver, u"OrvDocs 1.0 Type Library"));
    ORV_TRY(w.Set(ver + u"\\0\\linux64", modulePath));
    ORV_TRY(w.Set(ver + u"\\FLAGS", u"0"));
    ORV_TRY(w.Set(ver + u"\\HELPDIR", dir));
    return RegisterInterfaces(true);
}

}  // namespace

void ModuleLock() noexcept { g_lockCount.fetch_add(1); }
void ModuleUnlock() noexcept { g_lockCount.fetch_sub(1); }
LONG ModuleLockCount() noexcept { return g_lockCount.load(); }

HMODULE ThisModule() noexcept {
    static HMODULE self = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&ThisModule));
    return self;
}

HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    std::size_t count = 0;
    const ClassEntry* table = ClassTable(&count);
    for (std::size_t i = 0; i < count; ++i) {
        if (*table[i].clsid != clsid) continue;
        FactoryCache& cache = Cache();
        ClassFactory* factory = nullptr;
        {
            std::lock_guard<std::mutex> guard(cache.lock);
            if (cache.factories.size() != count) cache.factories.assign(count, nullptr);
            if (!cache.factories[i]) {
                auto* f = new (std::nothrow) ClassFactory(table[i].create, true, true);
                if (!f) return E_OUTOFMEMORY;
                f->TakeCacheReference();
                cache.factories[i] = f;
            }
            factory = cache.factories[i];
            factory->AddRef();
        }
        HRESULT hr = factory->QueryInterface(riid, ppv);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CreateClassFactory(CreatorFn create, bool holdsModule, IClassFactory** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!create) return E_INVALIDARG;
    auto* f = new (std::nothrow) ClassFactory(create, holdsModule, false);
    if (!f) return E_OUTOFMEMORY;
    f->AddRef();
    *out = f;
    return S_OK;
}

void ReleaseClassFactories() noexcept {
    FactoryCache& cache = Cache();
    std::lock_guard<std::mutex> guard(cache.lock);
    for (ClassFactory*& f : cache.factories) {
        if (f) f->DropCacheReference();
        f = nullptr;
    }
}

HRESULT RegisterServer(bool registering) noexcept {
    try {
        const std::u16string path = ModulePath();
        if (path.empty()) return E_UNEXPECTED;
        std::size_t count = 0;
        const ClassEntry* table = ClassTable(&count);
        // All keys of one registration go to a registry file in one write,
        // under one hold of its lock. When no batch can be opened (a damaged
        // file, a lock that cannot be taken) the calls below fail alike and
        // report it.
        const bool batched = OrvRegistryBeginBatch() == ERROR_SUCCESS;
        HRESULT first = S_OK;
        try {
            for (std::size_t i = 0; i < count; ++i) {
                HRESULT hr = RegisterClass(table[i], path, registering);
                if (FAILED(hr) && SUCCEEDED(first)) first = hr;
            }
            HRESULT hr = RegisterTypeLibrary(path, registering);
            if (FAILED(hr) && SUCCEEDED(first)) first = hr;
        } catch (...) {
            if (batched) OrvRegistryEndBatch();
            throw;
        }
        if (batched) {
            LSTATUS st = OrvRegistryEndBatch();
            if (st != ERROR_SUCCESS && SUCCEEDED(first)) first = HRESULT_FROM_WIN32(st);
        }
        return first;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace orv

// ------------------------------------------------------------ exported entry points

namespace {
// Load and unload of the shared object: the string table goes in first, the
// cached factories and type information go out last.
struct ModuleLifetime {
    ModuleLifetime() { orv::RegisterMessages(); }
    ~ModuleLifetime() {
        orv::ReleaseClassFactories();
        orv::detail::ReleaseTypeInfoCache();
    }
} g_moduleLifetime;
}  // namespace

extern "C" {

__attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    return orv::GetClassFactory(rclsid, riid, ppv);
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return orv::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() { return orv::RegisterServer(true); }

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() { return orv::RegisterServer(false); }
}
