// A test class whose dual interface covers the argument kinds late-bound calls
// meet: currency, dates, booleans, strings, an indexed property, out-arguments,
// interface pointers, variants, putref. Every member but get_Calls counts its
// calls, so a test can tell that a refused call never reached the object.
#pragma once

#include "frame/com.h"

#include <string>

inline constexpr IID IID_ITestAuto = {0x5A17E001, 0x1, 0x1, {0xA1, 0, 0, 0, 0, 0, 0, 1}};
inline constexpr IID IID_ITestPeer = {0x5A17E002, 0x1, 0x1, {0xA1, 0, 0, 0, 0, 0, 0, 2}};
inline constexpr CLSID CLSID_TestAuto = {0x5A17E003, 0x1, 0x1, {0xA1, 0, 0, 0, 0, 0, 0, 3}};
inline constexpr CLSID CLSID_TestPeer = {0x5A17E004, 0x1, 0x1, {0xA1, 0, 0, 0, 0, 0, 0, 4}};

struct ITestPeer : IDispatch {
    virtual HRESULT Poke(LONG value) = 0;
    virtual HRESULT get_Total(LONG* pVal) = 0;
};

struct ITestAuto : IDispatch {
    virtual HRESULT get_Amount(CY* pVal) = 0;
    virtual HRESULT put_Amount(CY newVal) = 0;
    virtual HRESULT get_Item(SHORT index, LONG* pVal) = 0;
    virtual HRESULT put_Item(SHORT index, LONG newVal) = 0;
    virtual HRESULT get_Name(BSTR* pVal) = 0;
    virtual HRESULT put_Name(BSTR newVal) = 0;
    virtual HRESULT get_When(DATE* pVal) = 0;
    virtual HRESULT put_When(DATE newVal) = 0;
    virtual HRESULT get_Flag(VARIANT_BOOL* pVal) = 0;
    virtual HRESULT put_Flag(VARIANT_BOOL newVal) = 0;
    virtual HRESULT get_Ratio(double* pVal) = 0;
    virtual HRESULT put_Ratio(double newVal) = 0;
    // quotient and remainder of a / b; b = 0 fails with a reported error.
    virtual HRESULT Divide(LONG a, LONG b, LONG* quotient, LONG* remainder) = 0;
    // "<prefix> <sum as text> <on as text>"
    virtual HRESULT Describe(BSTR prefix, CY sum, DATE on, BSTR* text) = 0;
    virtual HRESULT Answer(LONG code) = 0;  // returns code, reporting nothing
    virtual HRESULT Attach(ITestPeer* peer) = 0;  // pokes the peer with 5
    virtual HRESULT Echo(VARIANT value, VARIANT* copy) = 0;
    virtual HRESULT get_Target(IDispatch** pVal) = 0;
    virtual HRESULT putref_Target(IDispatch* newVal) = 0;
    virtual HRESULT get_Calls(LONG* pVal) = 0;
};

ORV_DECLARE_IID(ITestAuto);
ORV_DECLARE_IID(ITestPeer);
ORV_TYPEINFO_DECL(ITestAuto);
ORV_TYPEINFO_DECL(ITestPeer);

namespace orv::test {

class TestPeer : public CoClass<TestPeer, &CLSID_TestPeer, ITestPeer, IDispatch> {
public:
    HRESULT Poke(LONG value) override { return total_ += value, S_OK; }
    HRESULT get_Total(LONG* pVal) override { return *pVal = total_, S_OK; }

private:
    LONG total_ = 0;
};

class TestAuto : public CoClass<TestAuto, &CLSID_TestAuto, ITestAuto, IDispatch> {
public:
    HRESULT get_Amount(CY* p) override { return Get(amount_, p); }
    HRESULT put_Amount(CY v) override { return Put(amount_, v); }
    HRESULT get_Item(SHORT i, LONG* p) override { return i < 0 || i > 3 ? E_INVALIDARG : Get(items_[i], p); }
    HRESULT put_Item(SHORT i, LONG v) override { return i < 0 || i > 3 ? E_INVALIDARG : Put(items_[i], v); }
    HRESULT get_Name(BSTR* p) override;
    HRESULT put_Name(BSTR v) override { return ++calls, name_.assign(v ? v : u"", SysStringLen(v)), S_OK; }
    HRESULT get_When(DATE* p) override { return Get(when_, p); }
    HRESULT put_When(DATE v) override { return Put(when_, v); }
    HRESULT get_Flag(VARIANT_BOOL* p) override { return Get(flag_, p); }
    HRESULT put_Flag(VARIANT_BOOL v) override { return Put(flag_, v); }
    HRESULT get_Ratio(double* p) override { return Get(ratio_, p); }
    HRESULT put_Ratio(double v) override { return Put(ratio_, v); }
    HRESULT Divide(LONG a, LONG b, LONG* quotient, LONG* remainder) override;
    HRESULT Describe(BSTR prefix, CY sum, DATE on, BSTR* text) override;
    HRESULT Answer(LONG code) override { return ++calls, static_cast<HRESULT>(code); }
    HRESULT Attach(ITestPeer* peer) override { return ++calls, peer ? peer->Poke(5) : E_POINTER; }
    HRESULT Echo(VARIANT value, VARIANT* copy) override { return ++calls, VariantInit(copy), VariantCopy(copy, &value); }
    HRESULT get_Target(IDispatch** p) override { return ++calls, target_.CopyTo(p); }
    HRESULT putref_Target(IDispatch* v) override { return ++calls, target_ = v, S_OK; }
    HRESULT get_Calls(LONG* p) override { return *p = calls, S_OK; }

    LONG calls = 0;

private:
    template <class T>
    HRESULT Get(const T& field, T* out) {
        ++calls;
        return out ? (*out = field, S_OK) : E_POINTER;
    }
    template <class T>
    HRESULT Put(T& field, T value) {
        ++calls;
        field = value;
        return S_OK;
    }

    CY amount_{};
    LONG items_[4] = {};
    std::u16string name_;
    DATE when_ = 0;
    VARIANT_BOOL flag_ = VARIANT_FALSE;
    double ratio_ = 0;
    ComPtr<IDispatch> target_;
};

}  // namespace orv::test
