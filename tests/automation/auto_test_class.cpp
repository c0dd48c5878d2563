#include "automation/auto_test_class.h"

#include <orvdocs/platform/platform.h>

#include <string>

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
    if (SUCCEEDED(CreateErrorInfo(create.GetAddressOf()))) {
        create->SetSource(const_cast<LPOLESTR>(u"OrvTest.Auto.1"));
        create->SetDescription(const_cast<LPOLESTR>(text));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
    }
    return hr;
}

HRESULT CopyText(const std::u16string& s, BSTR* out) {
    *out = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT TestPeer::Poke(LONG value) {
    return Locked([&] {
        total_ += value;
        return S_OK;
    });
}

HRESULT TestPeer::get_Total(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = total_;
        return S_OK;
    });
}

HRESULT TestAuto::get_Amount(CY* pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    *pVal = amount_;
    return S_OK;
}

HRESULT TestAuto::put_Amount(CY newVal) {
    ++calls;
    amount_ = newVal;
    return S_OK;
}

HRESULT TestAuto::get_Item(SHORT index, LONG* pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    if (index < 0 || index >= 4) return Fail(E_INVALIDARG, u"No such item");
    *pVal = items_[index];
    return S_OK;
}

HRESULT TestAuto::put_Item(SHORT index, LONG newVal) {
    ++calls;
    if (index < 0 || index >= 4) return Fail(E_INVALIDARG, u"No such item");
    items_[index] = newVal;
    return S_OK;
}

HRESULT TestAuto::get_Name(BSTR* pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    return CopyText(name_, pVal);
}

HRESULT TestAuto::put_Name(BSTR newVal) {
    ++calls;
    name_.assign(newVal ? newVal : u"", SysStringLen(newVal));
    return S_OK;
}

HRESULT TestAuto::get_When(DATE* pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    *pVal = when_;
    return S_OK;
}

HRESULT TestAuto::put_When(DATE newVal) {
    ++calls;
    when_ = newVal;
    return S_OK;
}

HRESULT TestAuto::get_Flag(VARIANT_BOOL* pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    *pVal = flag_;
    return S_OK;
}

HRESULT TestAuto::put_Flag(VARIANT_BOOL newVal) {
    ++calls;
    flag_ = newVal;
    return S_OK;
}

HRESULT TestAuto::get_Ratio(double* pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    *pVal = ratio_;
    return S_OK;
}

HRESULT TestAuto::put_Ratio(double newVal) {
    ++calls;
    ratio_ = newVal;
    return S_OK;
}

HRESULT TestAuto::Divide(LONG a, LONG b, LONG* quotient, LONG* remainder) {
    ++calls;
    if (!quotient || !remainder) return E_POINTER;
    if (b == 0) return Fail(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200), u"Division by zero");
    *quotient = a / b;
    *remainder = a % b;
    return S_OK;
}

HRESULT TestAuto::Describe(BSTR prefix, CY sum, DATE on, BSTR* text) {
    ++calls;
    if (!text) return E_POINTER;
    VARIANT s, d;
    VariantInit(&s);
    VariantInit(&d);
    s.vt = VT_CY;
    s.cyVal = sum;
    d.vt = VT_DATE;
    d.date = on;
    if (FAILED(VariantChangeType(&s, &s, 0, VT_BSTR)) || FAILED(VariantChangeType(&d, &d, 0, VT_BSTR))) return E_FAIL;
    std::u16string out(prefix ? prefix : u"", SysStringLen(prefix));
    out += u' ';
    out.append(s.bstrVal, SysStringLen(s.bstrVal));
    out += u' ';
    out.append(d.bstrVal, SysStringLen(d.bstrVal));
    VariantClear(&s);
    VariantClear(&d);
    return CopyText(out, text);
}

HRESULT TestAuto::Answer(LONG code) {
    ++calls;
    return static_cast<HRESULT>(code);
}

HRESULT TestAuto::Attach(ITestPeer* peer) {
    ++calls;
    if (!peer) return E_POINTER;
    return peer->Poke(5);
}

HRESULT TestAuto::Echo(VARIANT value, VARIANT* copy) {
    ++calls;
    if (!copy) return E_POINTER;
    VariantInit(copy);
    return VariantCopy(copy, &value);
}

HRESULT TestAuto::get_Target(IDispatch** pVal) {
    ++calls;
    if (!pVal) return E_POINTER;
    return target_.CopyTo(pVal);
}

HRESULT TestAuto::putref_Target(IDispatch* newVal) {
    ++calls;
    target_ = newVal;
    return S_OK;
}

HRESULT TestAuto::get_Calls(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = calls;
    return S_OK;
}

}  // namespace orv::test
