// A test class with a dual interface that covers the argument kinds late-bound
// calls meet: currency, dates, booleans, strings, indexed properties, out-
// arguments, interface pointers, variants, putref. Every member counts its
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
    // "<prefix> <sum> <on as YYYY-MM-DD>"
    virtual HRESULT Describe(BSTR prefix, CY sum, DATE on, BSTR* text) = 0;
    // Returns code as it is (S_FALSE, or a failure without error information).
    virtual HRESULT Answer(LONG code) = 0;
    // Pokes the peer with 5.
    virtual HRESULT Attach(ITestPeer* peer) = 0;
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
    HRESULT Poke(LONG value) override;
    HRESULT get_Total(LONG* pVal) override;

private:
    LONG total_ = 0;
};

class TestAuto : public CoClass<TestAuto, &CLSID_TestAuto, ITestAuto, IDispatch> {
public:
    HRESULT get_Amount(CY* pVal) override;
    HRESULT put_Amount(CY newVal) override;
    HRESULT get_Item(SHORT index, LONG* pVal) override;
    HRESULT put_Item(SHORT index, LONG newVal) override;
    HRESULT get_Name(BSTR* pVal) override;
    HRESULT put_Name(BSTR newVal) override;
    HRESULT get_When(DATE* pVal) override;
    HRESULT put_When(DATE newVal) override;
    HRESULT get_Flag(VARIANT_BOOL* pVal) override;
    HRESULT put_Flag(VARIANT_BOOL newVal) override;
    HRESULT get_Ratio(double* pVal) override;
    HRESULT put_Ratio(double newVal) override;
    HRESULT Divide(LONG a, LONG b, LONG* quotient, LONG* remainder) override;
    HRESULT Describe(BSTR prefix, CY sum, DATE on, BSTR* text) override;
    HRESULT Answer(LONG code) override;
    HRESULT Attach(ITestPeer* peer) override;
    HRESULT Echo(VARIANT value, VARIANT* copy) override;
    HRESULT get_Target(IDispatch** pVal) override;
    HRESULT putref_Target(IDispatch* newVal) override;
    HRESULT get_Calls(LONG* pVal) override;

    LONG calls = 0;  // every member but get_Calls counts itself

private:
    CY amount_{};
    LONG items_[4] = {};
    std::u16string name_;
    DATE when_ = 0;
    VARIANT_BOOL flag_ = VARIANT_FALSE;
    double ratio_ = 0;
    ComPtr<IDispatch> target_;
};

}  // namespace orv::test
