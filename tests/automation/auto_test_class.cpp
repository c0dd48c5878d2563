#include "automation/auto_test_class.h"

#include <orvdocs/platform/platform.h>

ORV_TYPEINFO_BEGIN(ITestPeer, u"ITestPeer Interface")
    ORV_METHOD(1, Poke, u"value")
    ORV_GET(2, get_Total, u"pVal")
ORV_TYPEINFO_END()

ORV_TYPEINFO_BEGIN(ITestAuto, u"ITestAuto Interface")
    ORV_GET(1, get_Amount, u"pVal")
    ORV_PUT(1, put_Amount, u"newVal")
    ORV_GET(2, get_Item, u"index,pVal")
    ORV_PUT(2, put_Item, u"index,newVal")
    ORV_GET(3, get_Name, u"pVal")
    ORV_PUT(3, put_Name, u"newVal")
    ORV_GET(4, get_When, u"pVal:DATE")
    ORV_PUT(4, put_When, u"newVal:DATE")
    ORV_GET(5, get_Flag, u"pVal:BOOL")
    ORV_PUT(5, put_Flag, u"newVal:BOOL")
    ORV_GET(6, get_Ratio, u"pVal")
    ORV_PUT(6, put_Ratio, u"newVal")
    ORV_METHOD(7, Divide, u"a,b,quotient,remainder")
    ORV_METHOD(8, Describe, u"prefix,sum,on:DATE,text")
    ORV_METHOD(9, Answer, u"code")
    ORV_METHOD(10, Attach, u"peer")
    ORV_METHOD(11, Echo, u"value,copy")
    ORV_GET(12, get_Target, u"pVal")
    ORV_PUTREF(12, putref_Target, u"newVal")
    ORV_GET(13, get_Calls, u"pVal")
ORV_TYPEINFO_END()

namespace orv::test {
namespace {

HRESULT Fail(HRESULT hr, const char16_t* text) {
    ComPtr<ICreateErrorInfo> create;
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(CreateErrorInfo(create.GetAddressOf())) && SUCCEEDED(create.As(&info))) {
        create->SetSource(const_cast<LPOLESTR>(u"OrvTest.Auto.1"));
        create->SetDescription(const_cast<LPOLESTR>(text));
        SetErrorInfo(0, info.Get());
    }
    return hr;
}

std::u16string Text(VARIANT v) {
    if (FAILED(VariantChangeType(&v, &v, 0, VT_BSTR))) return u"?";
    std::u16string s(v.bstrVal, SysStringLen(v.bstrVal));
    VariantClear(&v);
    return s;
}

}  // namespace

HRESULT TestAuto::get_Name(BSTR* p) {
    ++calls;
    *p = SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
    return S_OK;
}

HRESULT TestAuto::Divide(LONG a, LONG b, LONG* quotient, LONG* remainder) {
    ++calls;
    if (b == 0) return Fail(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200), u"Division by zero");
    *quotient = a / b;
    *remainder = a % b;
    return S_OK;
}

HRESULT TestAuto::Describe(BSTR prefix, CY sum, DATE on, BSTR* text) {
    ++calls;
    VARIANT s{}, d{};
    s.vt = VT_CY;
    s.cyVal = sum;
    d.vt = VT_DATE;
    d.date = on;
    const std::u16string out = std::u16string(prefix ? prefix : u"") + u' ' + Text(s) + u' ' + Text(d);
    *text = SysAllocString(out.c_str());
    return S_OK;
}

}  // namespace orv::test
