// The class toolkit: interface maps, identity, aggregation, tear-offs, the
// module's lock count, final construction and the error edge of a member.
#include "frame/com.h"

#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

inline constexpr IID IID_ITestCustom = {0x11111111, 0x1, 0x1, {1, 1, 1, 1, 1, 1, 1, 1}};
inline constexpr IID IID_ITestDual = {0x22222222, 0x2, 0x2, {2, 2, 2, 2, 2, 2, 2, 2}};
inline constexpr IID IID_ITestInner = {0x33333333, 0x3, 0x3, {3, 3, 3, 3, 3, 3, 3, 3}};
inline constexpr IID IID_ITestTearOff = {0x44444444, 0x4, 0x4, {4, 4, 4, 4, 4, 4, 4, 4}};
inline constexpr IID IID_ITestUnlisted = {0x55555555, 0x5, 0x5, {5, 5, 5, 5, 5, 5, 5, 5}};
inline constexpr CLSID CLSID_TestOuter = {0x66666666, 0x6, 0x6, {6, 6, 6, 6, 6, 6, 6, 6}};
inline constexpr CLSID CLSID_TestInner = {0x77777777, 0x7, 0x7, {7, 7, 7, 7, 7, 7, 7, 7}};

struct ITestCustom : IUnknown {
    virtual HRESULT get_Value(LONG* p) = 0;
    virtual HRESULT put_Value(LONG v) = 0;
    virtual HRESULT Fail(HRESULT hr) = 0;
};
struct ITestDual : IDispatch {
    virtual HRESULT get_Twice(LONG* p) = 0;
};
struct ITestInner : IUnknown {
    virtual HRESULT get_Tag(LONG* p) = 0;
};
struct ITestTearOff : IUnknown {
    virtual HRESULT get_OwnerValue(LONG* p) = 0;
};
ORV_DECLARE_IID(ITestCustom);
ORV_DECLARE_IID(ITestDual);
ORV_DECLARE_IID(ITestInner);
ORV_DECLARE_IID(ITestTearOff);
ORV_TYPEINFO_DECL(ITestDual);
ORV_TYPEINFO_BEGIN(ITestDual, u"ITestDual Interface")
ORV_GET(1, get_Twice, u"pVal")
ORV_TYPEINFO_END()

namespace {

// The inner object a test outer class aggregates.
class TestInner : public orv::CoClass<TestInner, &CLSID_TestInner, ITestInner, ISupportErrorInfo> {
public:
    static inline int live = 0;
    TestInner() { ++live; }
    ~TestInner() { --live; }
    HRESULT get_Tag(LONG* p) override {
        if (!p) return E_POINTER;
        *p = 77;
        return S_OK;
    }
};

class TestOuter;
class TestTearOff : public orv::TearOffOf<TestOuter, ITestTearOff> {
public:
    using TearOffOf::TearOffOf;
    HRESULT get_OwnerValue(LONG* p) override;
};

class TestOuter : public orv::CoClass<TestOuter, &CLSID_TestOuter, ITestCustom, ISupportErrorInfo,
                                      orv::Aggregated<ITestInner>, IDispatch, ITestDual,
                                      orv::TearOff<ITestTearOff, TestTearOff>> {
public:
    static inline HRESULT finalConstructResult = S_OK;
    static inline bool createInner = true;
    static inline int finalReleases = 0;

    HRESULT FinalConstruct() {
        if (FAILED(finalConstructResult)) return finalConstructResult;
        if (!createInner) return S_OK;
        return orv::CreateInstance<TestInner>(ControllingUnknown(), IID_IUnknown,
                                              reinterpret_cast<void**>(inner_.ReleaseAndGetAddressOf()));
    }
    void FinalRelease() { ++finalReleases; }
    IUnknown* InnerUnknown(REFIID) { return inner_.Get(); }

    HRESULT get_Value(LONG* p) override {
        if (!p) return E_POINTER;
        return Locked([&] {
            *p = value_;
            return S_OK;
        });
    }
    HRESULT put_Value(LONG v) override {
        return Locked([&] {
            value_ = v;
            return S_OK;
        });
    }
    HRESULT Fail(HRESULT hr) override {
        return Locked([&] {
            orv::Check(hr, IID_ITestInner);
            return S_OK;
        });
    }
    HRESULT get_Twice(LONG* p) override {
        if (!p) return E_POINTER;
        return Locked([&] {
            *p = 2 * value_;
            return S_OK;
        });
    }
    LONG value_ = 0;

private:
    orv::ComPtr<IUnknown> inner_;
};

HRESULT TestTearOff::get_OwnerValue(LONG* p) { return owner_->get_Value(p); }

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestOuter::finalConstructResult = S_OK;
        TestOuter::createInner = true;
        baseline_ = orv::ModuleLockCount();
    }
    void TearDown() override { EXPECT_EQ(orv::ModuleLockCount(), baseline_) << "an object leaked"; }
    LONG baseline_ = 0;
};

orv::ComPtr<ITestCustom> MakeOuter() {
    orv::ComPtr<ITestCustom> p;
    EXPECT_EQ(orv::CreateObject<TestOuter>(&p), S_OK);
    return p;
}

IUnknown* Identity(IUnknown* p) {
    IUnknown* u = nullptr;
    EXPECT_EQ(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&u)), S_OK);
    u->Release();
    return u;
}

TEST_F(ToolkitTest, EveryListedInterfaceIsAnsweredWithOneIdentity) {
    auto obj = MakeOuter();
    ASSERT_TRUE(obj);
    IUnknown* id = Identity(obj.Get());
    for (const IID* iid : {&IID_ITestCustom, &IID_ISupportErrorInfo, &IID_ITestInner, &IID_IDispatch,
                           &IID_ITestDual, &IID_ITestTearOff}) {
        orv::ComPtr<IUnknown> p;
        ASSERT_EQ(obj->QueryInterface(*iid, reinterpret_cast<void**>(p.ReleaseAndGetAddressOf())), S_OK);
        EXPECT_EQ(Identity(p.Get()), id);
    }
    orv::ComPtr<IUnknown> none;
    EXPECT_EQ(obj->QueryInterface(IID_ITestUnlisted, reinterpret_cast<void**>(none.GetAddressOf())), E_NOINTERFACE);
    EXPECT_EQ(none.Get(), nullptr);
    EXPECT_EQ(obj->QueryInterface(IID_ITestCustom, nullptr), E_POINTER);
}

TEST_F(ToolkitTest, DispatchIsTheDualInterfaceAndAnswersNames) {
    auto obj = MakeOuter();
    orv::ComPtr<IDispatch> disp;
    orv::ComPtr<ITestDual> dual;
    ASSERT_EQ(obj.As(&disp), S_OK);
    ASSERT_EQ(obj.As(&dual), S_OK);
    EXPECT_EQ(static_cast<IDispatch*>(dual.Get()), disp.Get());
    LPOLESTR name = const_cast<LPOLESTR>(u"TWICE");
    DISPID id = 0;
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);
    LPOLESTR missing = const_cast<LPOLESTR>(u"Thrice");
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &missing, 1, 0, &id), DISP_E_UNKNOWNNAME);
    UINT count = 0;
    EXPECT_EQ(disp->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
}

TEST_F(ToolkitTest, SupportErrorInfoAnswersForTheFirstInterfaceOnly) {
    auto obj = MakeOuter();
    orv::ComPtr<ISupportErrorInfo> sei;
    ASSERT_EQ(obj.As(&sei), S_OK);
    EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID_ITestCustom), S_OK);
    EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID_ITestDual), S_FALSE);
}

TEST_F(ToolkitTest, AggregatedInnerReportsTheOuterIdentityAndDiesWithIt) {
    int before = TestInner::live;
    {
        auto obj = MakeOuter();
        EXPECT_EQ(TestInner::live, before + 1);
        orv::ComPtr<ITestInner> inner;
        ASSERT_EQ(obj.As(&inner), S_OK);
        LONG tag = 0;
        EXPECT_EQ(inner->get_Tag(&tag), S_OK);
        EXPECT_EQ(tag, 77);
        EXPECT_EQ(Identity(inner.Get()), Identity(obj.Get()));
        // The inner object's interfaces reach the outer one's.
        orv::ComPtr<ITestCustom> back;
        EXPECT_EQ(inner.As(&back), S_OK);
        obj.Reset();  // the inner reference alone keeps the whole aggregate alive
        LONG v = -1;
        EXPECT_EQ(back->get_Value(&v), S_OK);
        EXPECT_EQ(TestInner::live, before + 1);
    }
    EXPECT_EQ(TestInner::live, before);
}

TEST_F(ToolkitTest, AggregatedInterfaceIsRefusedWhileTheInnerObjectIsMissing) {
    TestOuter::createInner = false;
    auto obj = MakeOuter();
    orv::ComPtr<ITestInner> inner;
    EXPECT_EQ(obj.As(&inner), E_NOINTERFACE);
}

TEST_F(ToolkitTest, TearOffIsANewObjectOnEachRequestThatHoldsItsOwner) {
    auto obj = MakeOuter();
    obj->put_Value(21);
    orv::ComPtr<ITestTearOff> a, b;
    ASSERT_EQ(obj.As(&a), S_OK);
    ASSERT_EQ(obj.As(&b), S_OK);
    EXPECT_NE(a.Get(), b.Get());
    obj.Reset();
    LONG v = 0;
    EXPECT_EQ(a->get_OwnerValue(&v), S_OK);
    EXPECT_EQ(v, 21);
    orv::ComPtr<ITestCustom> owner;
    EXPECT_EQ(a.As(&owner), S_OK);
}

TEST_F(ToolkitTest, CreationWithAnOuterUnknownNeedsIUnknown) {
    auto outer = MakeOuter();
    void* p = nullptr;
    EXPECT_EQ(orv::CreateInstance<TestInner>(outer.Get(), IID_ITestInner, &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(orv::CreateInstance<TestInner>(nullptr, IID_ITestInner, nullptr), E_POINTER);
}

TEST_F(ToolkitTest, FailingFinalConstructionDestroysTheObject) {
    TestOuter::finalConstructResult = E_ACCESSDENIED;
    int releases = TestOuter::finalReleases;
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(orv::CreateInstance<TestOuter>(nullptr, IID_ITestCustom, &p), E_ACCESSDENIED);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(TestOuter::finalReleases, releases + 1);
}

TEST_F(ToolkitTest, ModuleLockCountFollowsLiveObjects) {
    LONG before = orv::ModuleLockCount();
    {
        auto obj = MakeOuter();  // the aggregate counts once, not once per part
        EXPECT_EQ(orv::ModuleLockCount(), before + 2) << "outer and its inner aggregate";
        orv::ComPtr<ITestTearOff> t;
        ASSERT_EQ(obj.As(&t), S_OK);
        EXPECT_EQ(orv::ModuleLockCount(), before + 3);
    }
    EXPECT_EQ(orv::ModuleLockCount(), before);
}

TEST_F(ToolkitTest, RaisedFailureBecomesStatusAndErrorInformation) {
    auto obj = MakeOuter();
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(obj->Fail(E_ACCESSDENIED), E_ACCESSDENIED);
    orv::ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.GetAddressOf()), S_OK);
    GUID g{};
    info->GetGUID(&g);
    EXPECT_EQ(g, IID_ITestInner);
    BSTR desc = nullptr;
    info->GetDescription(&desc);
    EXPECT_EQ(orv::Bstr::Attach(desc).View(), u"Unknown Error");
    EXPECT_EQ(obj->Fail(S_FALSE), S_OK);
}

TEST_F(ToolkitTest, LockedMembersSerialiseCallsFromSeveralThreads) {
    auto obj = MakeOuter();
    struct Adder {
        static void Run(ITestCustom* o) {
            for (int i = 0; i < 2000; ++i) {
                LONG v = 0;
                o->get_Value(&v);
                o->put_Value(v);  // a lost update would only show with a read-modify-write inside one lock
            }
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) threads.emplace_back(Adder::Run, obj.Get());
    for (auto& t : threads) t.join();
    LONG v = -1;
    EXPECT_EQ(obj->get_Value(&v), S_OK);
    EXPECT_EQ(v, 0);
}

}  // namespace
