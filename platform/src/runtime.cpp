// The component runtime: initialisation counts, class objects registered in
// the process, built-in classes, component modules found through the registry
// and loaded with dlopen, and program identifiers.
#include "builtin_classes.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/registry.h>
#include <orvdocs/platform/strings.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

// The context bits a class object registration can serve.
constexpr DWORD kServerBits = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
// CurVer chains longer than this are taken for a loop.
constexpr int kMaxCurVerHops = 8;

template <class F>
HRESULT NoThrow(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// ------------------------------------------------------------ initialisation

struct ThreadInit {
    ULONG count = 0;
    DWORD apartment = 0;  // COINIT_APARTMENTTHREADED or 0, fixed by the first call
};
thread_local ThreadInit t_init;

// ------------------------------------------------------- registered objects

struct Registration {
    DWORD cookie;
    CLSID clsid;
    DWORD context;
    orv::ComPtr<IUnknown> object;
};

struct ClassTable {
    std::mutex mu;
    std::vector<Registration> entries;  // newest last
    DWORD nextCookie = 1;
};

ClassTable& Classes() {
    static ClassTable* t = new ClassTable;  // never destroyed: revocations may run at exit
    return *t;
}

orv::ComPtr<IUnknown> FindRegistered(REFCLSID clsid, DWORD context) {
    ClassTable& t = Classes();
    std::lock_guard lock(t.mu);
    for (auto it = t.entries.rbegin(); it != t.entries.rend(); ++it)
        if (it->clsid == clsid && (it->context & context & kServerBits)) return it->object;
    return nullptr;
}

// ------------------------------------------------------------ loaded modules

struct Module {
    std::string path;
    void* handle = nullptr;
    LPFNGETCLASSOBJECT getClassObject = nullptr;
    LPFNCANUNLOADNOW canUnloadNow = nullptr;  // null: never unloaded
    int busy = 0;                             // calls into the module in flight
};

// Modules are loaded and unloaded without the cache lock held, because a
// module's constructors and destructors may call the runtime themselves.
struct ModuleCache {
    std::mutex mu;
    std::vector<std::unique_ptr<Module>> modules;
    std::set<std::string> reported;  // paths whose load failure was told once
};

ModuleCache& Modules() {
    static ModuleCache* c = new ModuleCache;
    return *c;
}

Module* FindLoaded(ModuleCache& c, const std::string& path) {
    for (auto& m : c.modules)
        if (m->path == path) return m.get();
    return nullptr;
}

void ReportLoadFailure(const std::string& path, const std::string& what) {
    ModuleCache& c = Modules();
    {
        std::lock_guard lock(c.mu);
        if (!c.reported.insert(path).second) return;
    }
    std::fprintf(stderr, "orvdocs: component module '%s' %s\n", path.c_str(), what.c_str());
}

// Finds or loads the module and marks it busy; the caller calls Done().
HRESULT AcquireModule(const std::string& path, Module** out) {
    ModuleCache& c = Modules();
    {
        std::lock_guard lock(c.mu);
        if (Module* m = FindLoaded(c, path)) {
            ++m->busy;
            *out = m;
            return S_OK;
        }
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = ::dlerror();
        ReportLoadFailure(path, std::string("cannot be loaded: ") + (err ? err : "unknown error"));
        return CO_E_DLLNOTFOUND;
    }
    auto get = reinterpret_cast<LPFNGETCLASSOBJECT>(::dlsym(handle, "DllGetClassObject"));
    if (!get) {
        ::dlclose(handle);
        ReportLoadFailure(path, "does not export DllGetClassObject");
        return CO_E_ERRORINDLL;
    }
    auto canUnload = reinterpret_cast<LPFNCANUNLOADNOW>(::dlsym(handle, "DllCanUnloadNow"));
    bool duplicate = false;
    {
        std::lock_guard lock(c.mu);
        Module* m = FindLoaded(c, path);
        if (m) {
            duplicate = true;  // another thread loaded it meanwhile
        } else {
            auto fresh = std::make_unique<Module>();
            fresh->path = path;
            fresh->handle = handle;
            fresh->getClassObject = get;
            fresh->canUnloadNow = canUnload;
            m = fresh.get();
            c.modules.push_back(std::move(fresh));
        }
        ++m->busy;
        *out = m;
    }
    if (duplicate) ::dlclose(handle);  // drops only our extra reference
    return S_OK;
}

void ReleaseModule(Module* m) {
    ModuleCache& c = Modules();
    std::lock_guard lock(c.mu);
    --m->busy;
}

// ---------------------------------------------------------------- registry

std::u16string ClsidText(REFCLSID clsid) {
    OLECHAR buf[40];
    int n = StringFromGUID2(clsid, buf, 40);
    return n > 0 ? std::u16string(buf, static_cast<std::size_t>(n - 1)) : std::u16string();
}

// Replaces %NAME% with the environment variable's value; unknown names stay.
std::string ExpandEnvironment(const std::string& s) {
    std::string out;
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t open = s.find('%', pos);
        std::size_t close = open == std::string::npos ? std::string::npos : s.find('%', open + 1);
        if (close == std::string::npos) {
            out += s.substr(pos);
            break;
        }
        out += s.substr(pos, open - pos);
        std::string name = s.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value) {
            out += value;
        } else {
            out += s.substr(open, close - open + 1);
        }
        pos = close + 1;
    }
    return out;
}

// The default value of HKEY_CLASSES_ROOT\<path> as text. ERROR_FILE_NOT_FOUND
// when the key or its default value is missing or is not a string.
LSTATUS ReadDefaultString(const std::u16string& path, std::u16string& out, DWORD* typeOut = nullptr) {
    out.clear();
    HKEY key = nullptr;
    LSTATUS s = RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (s != ERROR_SUCCESS) return s;
    DWORD type = 0, size = 0;
    s = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    while (s == ERROR_SUCCESS) {
        data.resize(size);
        s = RegQueryValueExW(key, nullptr, nullptr, &type, data.data(), &size);
        if (s != ERROR_MORE_DATA) break;  // grew meanwhile: ask again
        s = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (s != ERROR_SUCCESS) return s;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_FILE_NOT_FOUND;
    out.resize(size / 2);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    while (!out.empty() && out.back() == 0) out.pop_back();
    if (typeOut) *typeOut = type;
    return ERROR_SUCCESS;
}

// A damaged registry is told apart from an absent entry.
HRESULT RegistryFailure(LSTATUS s, HRESULT absent) {
    return s == ERROR_BADDB ? REGDB_E_READREGDB : absent;
}

HRESULT ClassObjectFromRegistry(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    std::u16string path;
    DWORD type = REG_SZ;
    LSTATUS s = ReadDefaultString(u"CLSID\\" + ClsidText(clsid) + u"\\InprocServer32", path, &type);
    if (s != ERROR_SUCCESS) return RegistryFailure(s, REGDB_E_CLASSNOTREG);
    std::string file = orv::Utf16ToUtf8(path);
    if (type == REG_EXPAND_SZ) file = ExpandEnvironment(file);
    // dlopen("") would hand out the main program.
    if (file.empty()) return CO_E_DLLNOTFOUND;
    Module* m = nullptr;
    if (HRESULT hr = AcquireModule(file, &m); FAILED(hr)) return hr;
    HRESULT hr = m->getClassObject(clsid, riid, ppv);
    ReleaseModule(m);
    return hr;
}

// The CLSID a ProgID names: a built-in class, or the registry, following
// CurVer to the current version first.
HRESULT ResolveProgId(const std::u16string& progId, CLSID* clsid, int hops) {
    if (auto b = orv::detail::BuiltinClsidFromProgId(progId)) {
        *clsid = *b;
        return S_OK;
    }
    if (progId.empty() || progId.find(u'\\') != std::u16string::npos) return CO_E_CLASSSTRING;
    std::u16string text;
    if (hops < kMaxCurVerHops) {
        LSTATUS s = ReadDefaultString(progId + u"\\CurVer", text);
        if (s == ERROR_BADDB) return REGDB_E_READREGDB;
        if (s == ERROR_SUCCESS && !text.empty() && SUCCEEDED(ResolveProgId(text, clsid, hops + 1))) return S_OK;
    }
    LSTATUS s = ReadDefaultString(progId + u"\\CLSID", text);
    if (s != ERROR_SUCCESS) return RegistryFailure(s, CO_E_CLASSSTRING);
    CLSID found;
    if (FAILED(CLSIDFromString(text.c_str(), &found))) return CO_E_CLASSSTRING;
    *clsid = found;
    return S_OK;
}

}  // namespace

// ------------------------------------------------------------ initialisation

HRESULT CoInitialize(LPVOID pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

HRESULT CoInitializeEx(LPVOID, DWORD dwCoInit) {
    DWORD apartment = dwCoInit & COINIT_APARTMENTTHREADED;
    if (t_init.count == 0) {
        t_init.apartment = apartment;
        t_init.count = 1;
        return S_OK;
    }
    if (t_init.apartment != apartment) return RPC_E_CHANGED_MODE;
    ++t_init.count;
    return S_FALSE;
}

void CoUninitialize() {
    if (t_init.count > 0) --t_init.count;
}

// ------------------------------------------------------------ class objects

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD, DWORD* lpdwRegister) {
    if (!lpdwRegister) return E_INVALIDARG;
    *lpdwRegister = 0;
    if (!pUnk || !(dwClsContext & kServerBits)) return E_INVALIDARG;
    return NoThrow([&] {
        ClassTable& t = Classes();
        std::lock_guard lock(t.mu);
        DWORD cookie = t.nextCookie++;
        if (t.nextCookie == 0) t.nextCookie = 1;
        t.entries.push_back(Registration{cookie, rclsid, dwClsContext, orv::ComPtr<IUnknown>(pUnk)});
        *lpdwRegister = cookie;
        return S_OK;
    });
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
    orv::ComPtr<IUnknown> released;  // released after the table's lock is let go
    {
        ClassTable& t = Classes();
        std::lock_guard lock(t.mu);
        for (auto it = t.entries.begin(); it != t.entries.end(); ++it) {
            if (it->cookie == dwRegister) {
                released = std::move(it->object);
                t.entries.erase(it);
                return S_OK;
            }
        }
    }
    return CO_E_OBJNOTREG;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (!(dwClsContext & kServerBits)) return E_INVALIDARG;
    return NoThrow([&]() -> HRESULT {
        if (orv::ComPtr<IUnknown> obj = FindRegistered(rclsid, dwClsContext)) return obj->QueryInterface(riid, ppv);
        // Built-in classes and registered modules are in-process servers.
        if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
        if (IClassFactory* builtin = orv::detail::FindBuiltinClassFactory(rclsid)) {
            HRESULT hr = builtin->QueryInterface(riid, ppv);
            builtin->Release();
            return hr;
        }
        return ClassObjectFromRegistry(rclsid, riid, ppv);
    });
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    orv::ComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(hr)) return hr;
    if (!factory) return E_UNEXPECTED;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    if (FAILED(hr)) *ppv = nullptr;
    return hr;
}

void CoFreeUnusedLibraries() {
    std::vector<void*> unload;
    try {
        ModuleCache& c = Modules();
        std::lock_guard lock(c.mu);
        for (auto it = c.modules.begin(); it != c.modules.end();) {
            Module& m = **it;
            if (m.busy == 0 && m.canUnloadNow && m.canUnloadNow() == S_OK) {
                unload.push_back(m.handle);
                it = c.modules.erase(it);
            } else {
                ++it;
            }
        }
    } catch (...) {
        // Out of memory while collecting: whatever was collected is unloaded.
    }
    for (void* h : unload) ::dlclose(h);
}

HRESULT OleRun(LPUNKNOWN pUnknown) { return pUnknown ? S_OK : E_INVALIDARG; }

// ------------------------------------------------------------- program ids

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    if (!lpszProgID || !lpclsid) return E_INVALIDARG;
    return NoThrow([&] { return ResolveProgId(lpszProgID, lpclsid, 0); });
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* lplpszProgID) {
    if (!lplpszProgID) return E_INVALIDARG;
    *lplpszProgID = nullptr;
    return NoThrow([&]() -> HRESULT {
        std::u16string progId;
        if (auto b = orv::detail::BuiltinProgIdFromClsid(clsid)) {
            progId = *b;
        } else {
            LSTATUS s = ReadDefaultString(u"CLSID\\" + ClsidText(clsid) + u"\\ProgID", progId);
            if (s != ERROR_SUCCESS) return RegistryFailure(s, REGDB_E_CLASSNOTREG);
            if (progId.empty()) return REGDB_E_CLASSNOTREG;
        }
        auto* out = static_cast<LPOLESTR>(CoTaskMemAlloc((progId.size() + 1) * sizeof(OLECHAR)));
        if (!out) return E_OUTOFMEMORY;
        std::copy(progId.begin(), progId.end(), out);
        out[progId.size()] = 0;
        *lplpszProgID = out;
        return S_OK;
    });
}
