// The component runtime: classes found in the process, built in, or through
// the registry in modules loaded with dlopen; program identifiers; unloading.
#include "platform_test_util.h"

#include "modules/test_module_simple.h"

#include <orvdocs/platform/builtin.h>

#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
#include <thread>
#include <vector>

namespace {

using namespace orvtest;
using orv::ComPtr;

const std::string kSimpleModule = std::string(ORV_TEST_MODULE_DIR) + "/libtest_module_simple.so";
const std::string kNoExportModule = std::string(ORV_TEST_MODULE_DIR) + "/libtest_module_noexport.so";

// {6A1E7C3D-2F4D-4B8A-9C10-5D2E8F3A7B41}: a class no module serves
constexpr CLSID kUnknownClsid = {0x6A1E7C3D, 0x2F4D, 0x4B8A, {0x9C, 0x10, 0x5D, 0x2E, 0x8F, 0x3A, 0x7B, 0x41}};

std::u16string Text(REFCLSID clsid) {
    OLECHAR buf[40];
    int n = StringFromGUID2(clsid, buf, 40);
    return std::u16string(buf, n > 0 ? n - 1 : 0);
}

// Writes the keys a module's self-registration writes for one class.
void RegisterClass(REFCLSID clsid, const std::string& module, const std::u16string& progId,
                   const std::u16string& viProgId) {
    const std::u16string key = u"CLSID\\" + Text(clsid);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, key, nullptr, u"TestSimple Class"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, key + u"\\InprocServer32", nullptr, orv::Utf8ToUtf16(module)), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, key + u"\\InprocServer32", u"ThreadingModel", u"Both"), ERROR_SUCCESS);
    if (progId.empty()) return;
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, key + u"\\ProgID", nullptr, progId), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, progId + u"\\CLSID", nullptr, Text(clsid)), ERROR_SUCCESS);
    if (viProgId.empty()) return;
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, key + u"\\VersionIndependentProgID", nullptr, viProgId), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, viProgId + u"\\CLSID", nullptr, Text(clsid)), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, viProgId + u"\\CurVer", nullptr, progId), ERROR_SUCCESS);
}

void RegisterSimple() { RegisterClass(CLSID_TestSimple, kSimpleModule, u"OrvTest.Simple.1", u"OrvTest.Simple"); }

bool ModuleLoaded(const std::string& path) {
    void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h) ::dlclose(h);
    return h != nullptr;
}

LONG TotalOf(ITestSimple* p) {
    LONG total = -1;
    EXPECT_EQ(p->get_Total(&total), S_OK);
    return total;
}

// An in-test implementation of the module's interface, told apart by its
// starting total.
class FakeSimple final : public ITestSimple {
public:
    explicit FakeSimple(LONG start) : total_(start) {}
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
        if (!n) delete this;
        return n;
    }
    HRESULT Add(LONG v) override {
        total_ += v;
        return S_OK;
    }
    HRESULT get_Total(LONG* t) override {
        *t = total_;
        return S_OK;
    }
    HRESULT get_LiveObjects(LONG* n) override {
        *n = -1;
        return S_OK;
    }
    static HRESULT Create(LONG start, REFIID riid, void** ppv) {
        auto* p = new FakeSimple(start);
        p->AddRef();
        HRESULT hr = p->QueryInterface(riid, ppv);
        p->Release();
        return hr;
    }

private:
    std::atomic<ULONG> refs_{0};
    LONG total_;
};

class FakeFactory final : public IClassFactory {
public:
    explicit FakeFactory(LONG start) : start_(start) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }  // lives on the test's stack
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return FakeSimple::Create(start_, riid, ppv);
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
    std::atomic<ULONG> refs{1};

private:
    LONG start_;
};

class Runtime : public ::testing::Test {
protected:
    RegistryScope scope_;  // an empty in-memory registry for each test
};

TEST_F(Runtime, CreatesAModuleClassByClsidAndByProgIds) {
    RegisterSimple();
    ComPtr<ITestSimple> obj;
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    ASSERT_TRUE(obj);
    EXPECT_EQ(obj->Add(5), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 5);
    LONG live = 0;
    EXPECT_EQ(obj->get_LiveObjects(&live), S_OK);
    EXPECT_EQ(live, 1);  // really the module's object, counted by the module

    for (const char16_t* progId : {u"OrvTest.Simple.1", u"OrvTest.Simple", u"orvtest.simple"}) {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << orv::Utf16ToUtf8(progId);
        EXPECT_EQ(clsid, CLSID_TestSimple);
    }
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(CLSID_TestSimple, &progId), S_OK);
    EXPECT_EQ(std::u16string(progId), u"OrvTest.Simple.1");
    CoTaskMemFree(progId);

    // The class object itself, and an instance asked for by another interface.
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_TestSimple, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(factory.GetAddressOf())),
              S_OK);
    ComPtr<IUnknown> unk;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(unk.GetAddressOf())), S_OK);
    EXPECT_EQ(obj->get_LiveObjects(&live), S_OK);
    EXPECT_EQ(live, 2);

    // What the class refuses comes back unchanged, and nothing is handed out.
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_TestSimple, unk.Get(), CLSCTX_ALL, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_IErrorInfo, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(Runtime, CurVerLeadsToTheCurrentVersion) {
    RegisterSimple();
    // The version-independent ProgID still names an old class, but its CurVer
    // names version 2, which names the current one.
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"OrvTest.Simple\\CLSID", nullptr, Text(kUnknownClsid)), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"OrvTest.Simple\\CurVer", nullptr, u"OrvTest.Simple.2"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"OrvTest.Simple.2\\CLSID", nullptr, Text(CLSID_TestSimple)), ERROR_SUCCESS);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"OrvTest.Simple", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestSimple);

    // A CurVer naming nothing usable falls back to the ProgID's own CLSID.
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"OrvTest.Simple\\CurVer", nullptr, u"OrvTest.Simple.9"), ERROR_SUCCESS);
    ASSERT_EQ(CLSIDFromProgID(u"OrvTest.Simple", &clsid), S_OK);
    EXPECT_EQ(clsid, kUnknownClsid);

    // A CurVer loop ends.
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"Loop.A\\CurVer", nullptr, u"Loop.B"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"Loop.B\\CurVer", nullptr, u"Loop.A"), ERROR_SUCCESS);
    EXPECT_EQ(CLSIDFromProgID(u"Loop.A", &clsid), CO_E_CLASSSTRING);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"Loop.B\\CLSID", nullptr, Text(CLSID_TestSimple)), ERROR_SUCCESS);
    clsid = kUnknownClsid;
    EXPECT_EQ(CLSIDFromProgID(u"Loop.A", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestSimple);
}

TEST_F(Runtime, UnknownClassesAndProgIdsAndBadArguments) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(CoGetClassObject(kUnknownClsid, CLSCTX_ALL, nullptr, IID_IClassFactory, &out), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(CoGetClassObject(kUnknownClsid, CLSCTX_ALL, nullptr, IID_IClassFactory, nullptr), E_INVALIDARG);

    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(u"OrvTest.Nothing", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"CLSID\\x", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
    EXPECT_EQ(CLSIDFromProgID(u"OrvTest.Simple", nullptr), E_INVALIDARG);
    // A ProgID whose CLSID is not a CLSID.
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"OrvTest.Broken\\CLSID", nullptr, u"not a guid"), ERROR_SUCCESS);
    EXPECT_EQ(CLSIDFromProgID(u"OrvTest.Broken", &clsid), CO_E_CLASSSTRING);

    LPOLESTR progId = reinterpret_cast<LPOLESTR>(1);
    EXPECT_EQ(ProgIDFromCLSID(kUnknownClsid, &progId), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(progId, nullptr);
    EXPECT_EQ(ProgIDFromCLSID(kUnknownClsid, nullptr), E_INVALIDARG);
    // A class registered without ProgID has none to give.
    RegisterClass(CLSID_TestSimple, kSimpleModule, u"", u"");
    EXPECT_EQ(ProgIDFromCLSID(CLSID_TestSimple, &progId), REGDB_E_CLASSNOTREG);

    EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
    FakeFactory f(0);
    EXPECT_EQ(OleRun(&f), S_OK);
}

TEST_F(Runtime, ModulesThatCannotServeTheClass) {
    testing::internal::CaptureStderr();
    void* out = nullptr;
    RegisterClass(kUnknownClsid, kSimpleModule + ".missing", u"", u"");
    EXPECT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &out), CO_E_DLLNOTFOUND);
    RegisterClass(kUnknownClsid, kNoExportModule, u"", u"");
    EXPECT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &out), CO_E_ERRORINDLL);
    EXPECT_FALSE(ModuleLoaded(kNoExportModule));  // refused modules are not kept
    RegisterClass(kUnknownClsid, "", u"", u"");
    EXPECT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &out), CO_E_DLLNOTFOUND);
    // A real module asked for a class it does not have: its own answer.
    RegisterClass(kUnknownClsid, kSimpleModule, u"", u"");
    EXPECT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_IUnknown, &out), CLASS_E_CLASSNOTAVAILABLE);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find(kSimpleModule + ".missing"), std::string::npos) << told;
    EXPECT_NE(told.find("DllGetClassObject"), std::string::npos) << told;

    // An expandable path has its environment variables put in.
    ::setenv("ORV_TEST_MODULE_DIR", ORV_TEST_MODULE_DIR, 1);
    ASSERT_EQ(SetString(HKEY_CLASSES_ROOT, u"CLSID\\" + Text(CLSID_TestSimple) + u"\\InprocServer32", nullptr,
                        u"%ORV_TEST_MODULE_DIR%/libtest_module_simple.so", REG_EXPAND_SZ),
              ERROR_SUCCESS);
    ComPtr<ITestSimple> obj;
    EXPECT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    ::unsetenv("ORV_TEST_MODULE_DIR");
}

TEST_F(Runtime, ClassObjectsRegisteredInTheProcessComeFirst) {
    RegisterSimple();
    FakeFactory first(1000), second(2000);
    DWORD cookie1 = 0, cookie2 = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestSimple, &first, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie1), S_OK);
    EXPECT_EQ(first.refs, 2u);  // the runtime holds a reference
    ComPtr<ITestSimple> obj;
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 1000);

    // The newest registration of a class wins; revoking it uncovers the older.
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestSimple, &second, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie2), S_OK);
    EXPECT_NE(cookie1, cookie2);
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 2000);
    ASSERT_EQ(CoRevokeClassObject(cookie2), S_OK);
    EXPECT_EQ(second.refs, 1u);
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 1000);

    // Once revoked, the registry's module serves the class again.
    ASSERT_EQ(CoRevokeClassObject(cookie1), S_OK);
    EXPECT_EQ(first.refs, 1u);
    EXPECT_EQ(CoRevokeClassObject(cookie1), CO_E_OBJNOTREG);
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 0);

    // A class known only in the process: found without any registry entry.
    DWORD cookie3 = 0;
    ASSERT_EQ(CoRegisterClassObject(kUnknownClsid, &first, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie3), S_OK);
    ASSERT_EQ(CoCreateInstance(kUnknownClsid, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 1000);
    EXPECT_EQ(CoRevokeClassObject(cookie3), S_OK);

    DWORD cookie = 7;
    EXPECT_EQ(CoRegisterClassObject(kUnknownClsid, nullptr, CLSCTX_INPROC_SERVER, 0, &cookie), E_INVALIDARG);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(CoRegisterClassObject(kUnknownClsid, &first, CLSCTX_INPROC_SERVER, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(first.refs, 1u);
}

TEST_F(Runtime, TheContextDecidesWhereToLook) {
    RegisterSimple();
    void* out = nullptr;
    // Modules are in-process servers: a request for a local server alone does
    // not load them.
    EXPECT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, 0, IID_IUnknown, &out), E_INVALIDARG);

    // A class object registered for local servers answers local-server
    // requests (and CLSCTX_ALL), not in-process ones.
    FakeFactory local(500);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestSimple, &local, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    ComPtr<ITestSimple> obj;
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 500);
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 500);
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())),
              S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 0);  // the module's
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(CoRegisterClassObject(CLSID_TestSimple, &local, 0, REGCLS_MULTIPLEUSE, &cookie), E_INVALIDARG);
}

// {6A1E7C3E-2F4D-4B8A-9C10-5D2E8F3A7B41}
constexpr CLSID kBuiltinClsid = {0x6A1E7C3E, 0x2F4D, 0x4B8A, {0x9C, 0x10, 0x5D, 0x2E, 0x8F, 0x3A, 0x7B, 0x41}};
HRESULT CreateBuiltin(IUnknown* outer, REFIID riid, void** ppv) {
    if (outer) return CLASS_E_NOAGGREGATION;
    return FakeSimple::Create(7000, riid, ppv);
}

TEST_F(Runtime, BuiltInClassesComeAfterProcessObjectsAndBeforeTheRegistry) {
    RegisterBuiltinClass(kBuiltinClsid, u"OrvTest.Builtin.1", &CreateBuiltin);
    RegisterBuiltinClass(kBuiltinClsid, u"OrvTest.Builtin", &CreateBuiltin);
    // A registry entry for the same class that could not be loaded is never reached.
    RegisterClass(kBuiltinClsid, kSimpleModule + ".missing", u"OrvTest.Elsewhere.1", u"");

    ComPtr<ITestSimple> obj;
    ASSERT_EQ(CoCreateInstance(kBuiltinClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 7000);
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(kBuiltinClsid, obj.Get(), CLSCTX_INPROC_SERVER, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(kBuiltinClsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &out), REGDB_E_CLASSNOTREG);

    for (const char16_t* progId : {u"OrvTest.Builtin.1", u"ORVTEST.BUILTIN", u"orvtest.builtin.1"}) {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << orv::Utf16ToUtf8(progId);
        EXPECT_EQ(clsid, kBuiltinClsid);
    }
    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(kBuiltinClsid, &progId), S_OK);
    EXPECT_EQ(std::u16string(progId), u"OrvTest.Builtin.1");  // the first, not the registry's
    CoTaskMemFree(progId);

    FakeFactory inProcess(8000);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kBuiltinClsid, &inProcess, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    ASSERT_EQ(CoCreateInstance(kBuiltinClsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(obj.ReleaseAndGetAddressOf())),
              S_OK);
    EXPECT_EQ(TotalOf(obj.Get()), 8000);
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
}

TEST_F(Runtime, UnusedModulesAreUnloadedAndLoadAgain) {
    RegisterSimple();
    CoFreeUnusedLibraries();  // whatever earlier tests left idle
    ASSERT_FALSE(ModuleLoaded(kSimpleModule));

    ComPtr<ITestSimple> obj;
    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_TestSimple, CLSCTX_ALL, nullptr, IID_PPV_ARGS(factory.GetAddressOf())), S_OK);
    EXPECT_TRUE(ModuleLoaded(kSimpleModule));

    CoFreeUnusedLibraries();  // an object is alive
    EXPECT_TRUE(ModuleLoaded(kSimpleModule));
    obj.Reset();
    CoFreeUnusedLibraries();  // a class object is held
    EXPECT_TRUE(ModuleLoaded(kSimpleModule));
    factory.Reset();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(ModuleLoaded(kSimpleModule));

    ASSERT_EQ(CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.GetAddressOf())), S_OK);
    LONG live = 0;
    EXPECT_EQ(obj->get_LiveObjects(&live), S_OK);
    EXPECT_EQ(live, 1);
}

TEST_F(Runtime, ThreadsCreatingAtOnceShareOneLoadedModule) {
    RegisterSimple();
    CoFreeUnusedLibraries();
    ASSERT_FALSE(ModuleLoaded(kSimpleModule));
    constexpr int kThreads = 6, kEach = 50;
    std::vector<ComPtr<ITestSimple>> kept(kThreads);
    std::atomic<int> failures{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            while (!go) std::this_thread::yield();
            for (int i = 0; i < kEach; ++i) {
                ComPtr<ITestSimple> obj;
                if (CoCreateInstance(CLSID_TestSimple, nullptr, CLSCTX_ALL, IID_PPV_ARGS(obj.GetAddressOf())) != S_OK ||
                    obj->Add(1) != S_OK)
                    ++failures;
                if (i == 0) kept[t] = obj;
            }
        });
    }
    go = true;
    for (auto& th : threads) th.join();
    EXPECT_EQ(failures, 0);
    // One module state for all: every thread's first object is counted in it.
    LONG live = 0;
    ASSERT_TRUE(kept[0]);
    EXPECT_EQ(kept[0]->get_LiveObjects(&live), S_OK);
    EXPECT_EQ(live, kThreads);
    kept.clear();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(ModuleLoaded(kSimpleModule));
}

TEST_F(Runtime, AnotherProcessCreatesWhatThisOneRegisteredInTheFile) {
    TempDir dir;
    const std::string file = dir.File("registry.txt");
    RegistryScope scope(file);
    RegisterSimple();
    EXPECT_EQ(RunChild("create-by-progid", {{ORVDOCS_REGISTRY_ENV, file}, {"ORV_TEST_PROGID", "OrvTest.Simple"}}), 0);
    EXPECT_EQ(RunChild("create-by-progid", {{ORVDOCS_REGISTRY_ENV, file}, {"ORV_TEST_PROGID", "OrvTest.Simple.1"}}), 0);
    // Without the file the child finds nothing.
    EXPECT_EQ(RunChild("create-by-progid", {{ORVDOCS_REGISTRY_ENV, ""}, {"ORV_TEST_PROGID", "OrvTest.Simple"}}), 30);
}

TEST(RuntimeInit, InitialisationIsCountedPerThread) {
    std::thread([] {
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        EXPECT_EQ(CoInitialize(nullptr), RPC_E_CHANGED_MODE);
        std::thread([] {
            // Another thread starts from nothing, in any model.
            EXPECT_EQ(CoInitialize(nullptr), S_OK);
            CoUninitialize();
        }).join();
        CoUninitialize();
        CoUninitialize();
        CoUninitialize();  // one too many is harmless
        EXPECT_EQ(CoInitialize(nullptr), S_OK);  // all undone: the model may change
        CoUninitialize();
    }).join();
}

}  // namespace
