// Late-bound calls on a test class: what a call by name gives equals the
// vtable call, arguments of other variant types are coerced, out-arguments
// come back by reference or as the result, refused calls never reach the
// object, and a failing member's report arrives in EXCEPINFO.
#include "automation/auto_test_class.h"

#include <orvdocs/automation.h>
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using orv::ByRef;
using orv::DispResult;
using orv::Variant;
using orv::test::TestAuto;
using orv::test::TestPeer;

CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

DATE DateOf(WORD y, WORD m, WORD d) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    DATE out = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &out));
    return out;
}

Variant Text(std::u16string_view s) { return Variant(s); }

Variant Missing() {
    Variant v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

class InvokeTest : public ::testing::Test {
protected:
    void SetUp() override {
        baseline_ = orv::ModuleLockCount();
        ASSERT_EQ(orv::CreateObject<TestAuto>(&obj_), S_OK);
        ASSERT_EQ(obj_.As(&disp_), S_OK);
    }
    void TearDown() override {
        disp_.Reset();
        obj_.Reset();
        EXPECT_EQ(orv::ModuleLockCount(), baseline_) << "an object leaked";
    }
    LONG Calls() {
        LONG n = -1;
        EXPECT_EQ(obj_->get_Calls(&n), S_OK);
        return n;
    }
    DISPID Id(const char16_t* name) {
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(orv::GetDispId(disp_.Get(), name, &id), S_OK) << orv::Utf16ToUtf8(name);
        return id;
    }
    HRESULT Put(const char16_t* name, const VARIANT& value) { return orv::PutProperty(disp_.Get(), name, value).hr; }
    Variant Get(const char16_t* name, std::initializer_list<Variant> index = {}) {
        DispResult r = orv::GetProperty(disp_.Get(), name, index);
        EXPECT_EQ(r.hr, S_OK) << orv::Utf16ToUtf8(name);
        return r.value;
    }
    // A raw Invoke with rgvarg exactly as given (last argument first).
    HRESULT Raw(DISPID id, WORD flags, std::vector<VARIANT> rgvarg, std::vector<DISPID> named, VARIANT* result,
                UINT* argErr, EXCEPINFO* excep = nullptr) {
        DISPPARAMS p{rgvarg.data(), named.data(), static_cast<UINT>(rgvarg.size()), static_cast<UINT>(named.size())};
        return disp_->Invoke(id, IID_NULL, 0, flags, &p, result, excep, argErr);
    }

    LONG baseline_ = 0;
    orv::ComPtr<ITestAuto> obj_;
    orv::ComPtr<IDispatch> disp_;
};

TEST_F(InvokeTest, PropertiesByNameMatchTheVtableBothWays) {
    // Put by name (in any case), read by vtable.
    ASSERT_EQ(Put(u"amount", Variant(Cy(123456))), S_OK);
    ASSERT_EQ(orv::PutProperty(disp_.Get(), u"Item", {Variant(SHORT(2))}, Variant(LONG(-7))).hr, S_OK);
    ASSERT_EQ(Put(u"NAME", Text(u"Иванов")), S_OK);
    ASSERT_EQ(Put(u"Ratio", Variant(0.125)), S_OK);
    CY cy{};
    LONG item = 0;
    orv::Bstr name;
    double ratio = 0;
    obj_->get_Amount(&cy);
    obj_->get_Item(2, &item);
    obj_->get_Name(name.ReleaseAndGetAddressOf());
    obj_->get_Ratio(&ratio);
    EXPECT_EQ(cy.int64, 123456);
    EXPECT_EQ(item, -7);
    EXPECT_EQ(name.View(), u"Иванов");
    EXPECT_EQ(ratio, 0.125);

    // Put by vtable, read by name: the result carries the declared type.
    obj_->put_When(45000.5);
    obj_->put_Flag(VARIANT_TRUE);
    obj_->put_Item(3, 99);
    Variant when = Get(u"When"), flag = Get(u"flag"), third = Get(u"Item", {Variant(SHORT(3))});
    Variant amount = Get(u"Amount"), plain = Get(u"Ratio");
    EXPECT_EQ(when.vt, VT_DATE);
    EXPECT_EQ(when.date, 45000.5);
    EXPECT_EQ(flag.vt, VT_BOOL);
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);
    EXPECT_EQ(third.vt, VT_I4);
    EXPECT_EQ(third.lVal, 99);
    EXPECT_EQ(amount.vt, VT_CY);
    EXPECT_EQ(amount.cyVal.int64, 123456);
    EXPECT_EQ(plain.vt, VT_R8) << "an unmarked double is not a date";
}

TEST_F(InvokeTest, ArgumentsOfOtherTypesAreCoercedToTheDeclaredOnes) {
    CY cy{};
    DATE when = 0;
    VARIANT_BOOL flag = 0;
    // Text and integers to currency, exactly.
    ASSERT_EQ(Put(u"Amount", Text(u"12.5")), S_OK);
    obj_->get_Amount(&cy);
    EXPECT_EQ(cy.int64, 125000);
    ASSERT_EQ(Put(u"Amount", Variant(LONG(3))), S_OK);
    obj_->get_Amount(&cy);
    EXPECT_EQ(cy.int64, 30000);
    // A day number and a date text to DATE.
    ASSERT_EQ(Put(u"When", Variant(LONG(45000))), S_OK);
    obj_->get_When(&when);
    EXPECT_EQ(when, 45000.0);
    ASSERT_EQ(Put(u"When", Text(u"2024-02-29")), S_OK);
    obj_->get_When(&when);
    EXPECT_EQ(when, DateOf(2024, 2, 29));
    // Numbers and words to VARIANT_BOOL: any non-zero is true (-1).
    ASSERT_EQ(Put(u"Flag", Variant(LONG(1))), S_OK);
    obj_->get_Flag(&flag);
    EXPECT_EQ(flag, VARIANT_TRUE);
    ASSERT_EQ(Put(u"Flag", Text(u"False")), S_OK);
    obj_->get_Flag(&flag);
    EXPECT_EQ(flag, VARIANT_FALSE);
    // A number to text, an index given as text.
    ASSERT_EQ(Put(u"Name", Variant(LONG(42))), S_OK);
    ASSERT_EQ(orv::PutProperty(disp_.Get(), u"Item", {Text(u"1")}, Variant(2.0)).hr, S_OK);
    orv::Bstr name;
    LONG item = 0;
    obj_->get_Name(name.ReleaseAndGetAddressOf());
    obj_->get_Item(1, &item);
    EXPECT_EQ(name.View(), u"42");
    EXPECT_EQ(item, 2);

    // A method taking text, currency and a date, each given as something else.
    DispResult r = orv::Invoke(disp_.Get(), u"Describe", {Variant(LONG(7)), Text(u"100.25"), Variant(LONG(45000))});
    orv::Bstr direct;
    obj_->Describe(orv::Bstr(u"7"), Cy(1002500), 45000, direct.ReleaseAndGetAddressOf());
    ASSERT_EQ(r.value.vt, VT_BSTR);
    EXPECT_EQ(std::u16string_view(r.value.bstrVal), direct.View());
    EXPECT_EQ(direct.View(), u"7 100.25 2023-03-15");
}

TEST_F(InvokeTest, OutArgumentsComeBackByReferenceOrAsTheResult) {
    // The last out-pointer left out is the result; the other is written through.
    LONG quotient = 0;
    DispResult r = orv::Invoke(disp_.Get(), u"Divide", {Variant(LONG(17)), Variant(LONG(5)), ByRef(VT_I4, &quotient)});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(quotient, 3);
    EXPECT_EQ(r.value.vt, VT_I4);
    EXPECT_EQ(r.value.lVal, 2);

    // Both given: both written, no result. A variant reference receives the
    // value with its own type and frees what it held.
    Variant q(std::u16string_view(u"old text"));
    LONG remainder = -1;
    r = orv::Invoke(disp_.Get(), u"Divide", {Variant(LONG(-9)), Variant(LONG(4)), ByRef(&q), ByRef(VT_I4, &remainder)});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(q.vt, VT_I4);
    EXPECT_EQ(q.lVal, -2);
    EXPECT_EQ(remainder, -1);
    EXPECT_EQ(r.value.vt, VT_EMPTY);

    // A string out-argument replaces (and frees) the caller's string.
    BSTR text = SysAllocString(u"previous");
    r = orv::Invoke(disp_.Get(), u"Describe",
                    {Text(u"x"), Variant(Cy(10000)), Variant(LONG(1)), ByRef(VT_BSTR, &text)});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(std::u16string_view(text), u"x 1 1899-12-31");
    SysFreeString(text);

    // A property get may be given its out-argument too; DATE and double share storage.
    obj_->put_When(40000.25);
    double when = 0;
    r = orv::InvokeById(disp_.Get(), Id(u"When"), DISPATCH_PROPERTYGET, std::vector<VARIANT>{ByRef(VT_R8, &when)});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(when, 40000.25);

    // A variant in, a variant out; a reference argument arrives as its value.
    LONG seven = 7;
    r = orv::Invoke(disp_.Get(), u"Echo", {ByRef(VT_I4, &seven)});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(r.value.vt, VT_I4);
    EXPECT_EQ(r.value.lVal, 7);
    r = orv::Invoke(disp_.Get(), u"Echo", {Text(u"echo")});
    ASSERT_EQ(r.value.vt, VT_BSTR);
    EXPECT_EQ(std::u16string_view(r.value.bstrVal), u"echo");
}

TEST_F(InvokeTest, InterfaceArgumentsAreAskedForTheirInterface) {
    orv::ComPtr<ITestPeer> peer;
    ASSERT_EQ(orv::CreateObject<TestPeer>(&peer), S_OK);
    orv::ComPtr<IUnknown> peerUnknown;
    ASSERT_EQ(peer.As(&peerUnknown), S_OK);

    Variant unk;
    unk.vt = VT_UNKNOWN;
    unk.punkVal = peerUnknown.Get();
    unk.punkVal->AddRef();
    ASSERT_EQ(orv::Invoke(disp_.Get(), u"Attach", {unk}).hr, S_OK);
    Variant disp;
    disp.vt = VT_DISPATCH;
    disp.pdispVal = peer.Get();
    disp.pdispVal->AddRef();
    ASSERT_EQ(orv::Invoke(disp_.Get(), u"Attach", {disp}).hr, S_OK);
    LONG total = 0;
    peer->get_Total(&total);
    EXPECT_EQ(total, 10) << "both calls reached the peer";

    // An object without the interface is refused before the call.
    const LONG before = Calls();
    Variant self;
    self.vt = VT_UNKNOWN;
    self.punkVal = obj_.Get();
    self.punkVal->AddRef();
    DispResult r = orv::Invoke(disp_.Get(), u"Attach", {self});
    EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(r.argErr, 0u);
    EXPECT_EQ(Calls(), before);

    // putref sets an IDispatch property; the get returns the same object.
    ASSERT_EQ(orv::PutPropertyRef(disp_.Get(), u"Target", disp).hr, S_OK);
    r = orv::GetProperty(disp_.Get(), u"Target");
    ASSERT_EQ(r.value.vt, VT_DISPATCH);
    EXPECT_EQ(r.value.pdispVal, static_cast<IDispatch*>(peer.Get()));
    EXPECT_EQ(orv::PutProperty(disp_.Get(), u"Target", disp).hr, DISP_E_MEMBERNOTFOUND) << "Target has putref only";
    ASSERT_EQ(orv::PutPropertyRef(disp_.Get(), u"Target", Variant()).hr, S_OK);  // back to nothing
}

TEST_F(InvokeTest, WrongCallsAreRefusedWithoutTouchingTheObject) {
    const LONG before = Calls();
    VARIANT result;
    VariantInit(&result);
    UINT argErr = 1234;
    const DISPID divide = Id(u"Divide"), item = Id(u"Item"), amount = Id(u"Amount");
    Variant one(LONG(1)), text(std::u16string_view(u"abc")), big(LONG(70000));
    LONG out = 0;
    Variant ref = ByRef(VT_I4, &out);
    Variant refText = ByRef(VT_BSTR, &out);

    EXPECT_EQ(Raw(99, DISPATCH_METHOD, {}, {}, &result, &argErr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Raw(divide, DISPATCH_PROPERTYGET, {one, one}, {}, &result, &argErr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Raw(item, DISPATCH_METHOD, {one}, {}, &result, &argErr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Raw(Id(u"Calls"), DISPATCH_PROPERTYPUT, {one}, {DISPID_PROPERTYPUT}, &result, &argErr),
              DISP_E_MEMBERNOTFOUND);
    // Counts: too few (the retval may be left out, nothing else), too many.
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {one, one}, {}, &result, &argErr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {ref, ref, one, one, one}, {}, &result, &argErr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Raw(item, DISPATCH_PROPERTYGET, {}, {}, &result, &argErr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Raw(item, DISPATCH_PROPERTYPUT, {one}, {DISPID_PROPERTYPUT}, &result, &argErr), DISP_E_BADPARAMCOUNT);
    // Named arguments: a put needs DISPID_PROPERTYPUT, nothing else takes names.
    EXPECT_EQ(Raw(amount, DISPATCH_PROPERTYPUT, {one}, {}, &result, &argErr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(Raw(amount, DISPATCH_PROPERTYPUT, {one}, {0}, &result, &argErr), DISP_E_NONAMEDARGS);
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {ref, one, one}, {0}, &result, &argErr), DISP_E_NONAMEDARGS);
    EXPECT_EQ(argErr, 1234u) << "argErr is only for a failing argument";

    // Types: the index in rgvarg of the first argument that fails.
    EXPECT_EQ(Raw(amount, DISPATCH_PROPERTYPUT, {text}, {DISPID_PROPERTYPUT}, &result, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {ref, one, text}, {}, &result, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 2u) << "a is the last of rgvarg";
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {refText, one, one}, {}, &result, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u) << "an out-argument needs a reference of its type";
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {one, one, one}, {}, &result, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u) << "an out-argument cannot be a plain value";
    EXPECT_EQ(Raw(item, DISPATCH_PROPERTYPUT, {one, big}, {DISPID_PROPERTYPUT}, &result, &argErr), DISP_E_OVERFLOW);
    EXPECT_EQ(argErr, 1u) << "70000 does not fit the short index";
    EXPECT_EQ(Raw(divide, DISPATCH_METHOD, {ref, Missing(), one}, {}, &result, &argErr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(argErr, 1u);
    Variant null;
    null.vt = VT_NULL;
    EXPECT_EQ(Raw(Id(u"Name"), DISPATCH_PROPERTYPUT, {null}, {DISPID_PROPERTYPUT}, &result, &argErr),
              DISP_E_TYPEMISMATCH);

    // Malformed requests.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(disp_->Invoke(amount, IID_ITestAuto, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(disp_->Invoke(amount, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, &result, nullptr, nullptr),
              E_INVALIDARG);

    EXPECT_EQ(Calls(), before) << "a refused call reached the object";
    EXPECT_EQ(result.vt, VT_EMPTY);
    EXPECT_EQ(out, 0);
}

TEST_F(InvokeTest, FailingMemberReportsThroughExcepInfo) {
    const HRESULT own = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200);
    Variant a(LONG(1)), zero(LONG(0)), result;
    EXCEPINFO excep{};
    UINT argErr = 0;
    LONG q = 0;
    HRESULT hr = Raw(Id(u"Divide"), DISPATCH_METHOD, {ByRef(VT_I4, &q), zero, a}, {}, &result, &argErr, &excep);
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    EXPECT_EQ(excep.scode, own);
    ASSERT_NE(excep.bstrDescription, nullptr);
    EXPECT_EQ(std::u16string_view(excep.bstrDescription), u"Division by zero");
    ASSERT_NE(excep.bstrSource, nullptr);
    EXPECT_EQ(std::u16string_view(excep.bstrSource), u"OrvTest.Auto.1");
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    orv::ComPtr<IErrorInfo> left;
    EXPECT_EQ(GetErrorInfo(0, left.GetAddressOf()), S_FALSE) << "the report was handed over in EXCEPINFO";

    // Without EXCEPINFO the report stays with the thread.
    hr = Raw(Id(u"Divide"), DISPATCH_METHOD, {ByRef(VT_I4, &q), zero, a}, {}, &result, &argErr);
    EXPECT_EQ(hr, DISP_E_EXCEPTION);
    ASSERT_EQ(GetErrorInfo(0, left.ReleaseAndGetAddressOf()), S_OK);
    orv::Bstr description;
    left->GetDescription(description.ReleaseAndGetAddressOf());
    EXPECT_EQ(description.View(), u"Division by zero");

    // A member failing without a report of its own does not inherit an old one.
    {
        Raw(Id(u"Divide"), DISPATCH_METHOD, {ByRef(VT_I4, &q), zero, a}, {}, &result, &argErr);  // leaves a report
        DispResult r = orv::Invoke(disp_.Get(), u"Answer", {Variant(LONG(E_FAIL))});
        EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(r.status, E_FAIL);
        EXPECT_TRUE(r.description.empty()) << orv::Utf16ToUtf8(r.description);
    }
    // Success statuses are returned as they are.
    EXPECT_EQ(orv::Invoke(disp_.Get(), u"Answer", {Variant(LONG(S_FALSE))}).hr, S_FALSE);
    DispResult helper = orv::Invoke(disp_.Get(), u"Divide", {Variant(LONG(1)), Variant(LONG(0)), ByRef(VT_I4, &q)});
    EXPECT_EQ(helper.status, own);
    EXPECT_EQ(helper.description, u"Division by zero");
}

TEST_F(InvokeTest, HelperReportsArgumentPositionsInTheOrderGiven) {
    DispResult r = orv::Invoke(disp_.Get(), u"Describe",
                               {Text(u"p"), Variant(LONG(1)), Text(u"no date")});
    EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(r.argErr, 2u);
    r = orv::PutProperty(disp_.Get(), u"Item", {Text(u"x")}, Variant(LONG(1)));
    EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(r.argErr, 0u);
    EXPECT_EQ(orv::GetProperty(disp_.Get(), u"NoSuchThing").hr, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(orv::GetProperty(nullptr, u"Amount").hr, E_POINTER);
}

// What the library-wide tests cannot see with real tables: the result flag,
// the marks in the types, the documentation and Invoke through ITypeInfo.
TEST_F(InvokeTest, TypeInformationDescribesTheMembersAndInvokesThemToo) {
    orv::ComPtr<ITypeInfo> info, again;
    ASSERT_EQ(disp_->GetTypeInfo(0, 0, info.GetAddressOf()), S_OK);
    ASSERT_EQ(disp_->GetTypeInfo(0, 0, again.GetAddressOf()), S_OK);
    EXPECT_EQ(info.Get(), again.Get()) << "one cached object per interface";
    ITypeInfo* none = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(disp_->GetTypeInfo(1, 0, &none), DISP_E_BADINDEX);
    EXPECT_EQ(none, nullptr);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_TRUE(attr->typekind == TKIND_INTERFACE && (attr->wTypeFlags & TYPEFLAG_FDUAL));
    EXPECT_EQ(attr->cbSizeVft, (7 + 20) * sizeof(void*));
    info->ReleaseTypeAttr(attr);

    FUNCDESC* f = nullptr;
    ASSERT_EQ(info->GetFuncDesc(12, &f), S_OK);  // Divide: two in, two out, the last one the result
    ASSERT_EQ(f->cParams, 4);
    EXPECT_EQ(f->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FIN);
    EXPECT_EQ(f->lprgelemdescParam[2].tdesc.lptdesc->vt, VT_I4);
    EXPECT_EQ(f->lprgelemdescParam[2].paramdesc.wParamFlags, PARAMFLAG_FOUT);
    EXPECT_EQ(f->lprgelemdescParam[3].paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    info->ReleaseFuncDesc(f);
    ASSERT_EQ(info->GetFuncDesc(6, &f), S_OK);  // get_When
    EXPECT_EQ(f->lprgelemdescParam[0].tdesc.lptdesc->vt, VT_DATE);
    info->ReleaseFuncDesc(f);
    ASSERT_EQ(info->GetFuncDesc(9, &f), S_OK);  // put_Flag
    EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_BOOL);
    info->ReleaseFuncDesc(f);
    EXPECT_EQ(info->GetFuncDesc(20, &f), TYPE_E_ELEMENTNOTFOUND);

    orv::Bstr name, doc;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, name.ReleaseAndGetAddressOf(), doc.ReleaseAndGetAddressOf(),
                                     nullptr, nullptr),
              S_OK);
    EXPECT_EQ(name.View(), u"ITestAuto");
    EXPECT_EQ(doc.View(), u"ITestAuto Interface");
    EXPECT_EQ(info->GetDocumentation(77, name.ReleaseAndGetAddressOf(), nullptr, nullptr, nullptr),
              TYPE_E_ELEMENTNOTFOUND);

    obj_->put_Item(1, 31);
    Variant index(SHORT(1)), result;
    VARIANT args[] = {index};
    DISPPARAMS p{args, nullptr, 1, 0};
    ASSERT_EQ(info->Invoke(static_cast<ITestAuto*>(obj_.Get()), 2, DISPATCH_PROPERTYGET, &p, &result, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.lVal, 31);
    EXPECT_EQ(info->Invoke(nullptr, 2, DISPATCH_PROPERTYGET, &p, &result, nullptr, nullptr), E_INVALIDARG);
}

}  // namespace
