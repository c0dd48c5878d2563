// VARIANT lifetime, copies and the conversion matrix with its boundaries.
#include <orvdocs/platform/oleauto.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

using orv::Variant;

// A counted object; `dispatch` decides whether it answers IDispatch. Its value
// property (DISPID_VALUE) returns the text "42".
class FakeObject : public IDispatch {
public:
    explicit FakeObject(bool dispatch) : dispatch_(dispatch) {}
    ULONG refs = 1;
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || (dispatch_ && riid == IID_IDispatch)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
        if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(u"42");
        return S_OK;
    }

private:
    bool dispatch_;
};

Variant Text(const char16_t* s) { return Variant(std::u16string_view(s)); }
Variant R4(float f) { Variant v; v.vt = VT_R4, v.fltVal = f; return v; }
Variant Cy(LONGLONG raw) { Variant v; v.vt = VT_CY, v.cyVal.int64 = raw; return v; }
Variant Date(double d) { Variant v; v.vt = VT_DATE, v.date = d; return v; }
Variant I8(LONGLONG x) { Variant v; v.vt = VT_I8, v.llVal = x; return v; }

// Converts a copy of v; the result variant holds the outcome only on success.
HRESULT To(const VARIANT& v, VARTYPE vt, Variant& out, USHORT flags = 0) {
    return VariantChangeType(out.Out(), &v, flags, vt);
}

std::u16string AsText(const VARIANT& v, USHORT flags = 0) {
    Variant out;
    const HRESULT hr = To(v, VT_BSTR, out, flags);
    EXPECT_EQ(hr, S_OK);
    if (FAILED(hr) || out.vt != VT_BSTR) return u"<failed>";
    return std::u16string(out.bstrVal, SysStringLen(out.bstrVal));
}

TEST(VariantLifetime, ClearFreesOwnedValuesOnlyAndRejectsBadTypes) {
    FakeObject obj(true);
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
    v.vt = VT_DISPATCH, v.pdispVal = &obj;
    obj.AddRef();
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(obj.refs, 1u);
    EXPECT_EQ(v.vt, VT_EMPTY);

    // A reference owns nothing: neither the string nor the object is released.
    BSTR s = SysAllocString(u"kept");
    IUnknown* unk = &obj;
    v.vt = VT_BSTR | VT_BYREF, v.pbstrVal = &s;
    EXPECT_EQ(VariantClear(&v), S_OK);
    v.vt = VT_UNKNOWN | VT_BYREF, v.ppunkVal = &unk;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(obj.refs, 1u);
    EXPECT_EQ(std::u16string_view(s), u"kept");
    SysFreeString(s);

    for (VARTYPE bad : {VARTYPE(15), VARTYPE(VT_ARRAY | VT_I4), VARTYPE(VT_VARIANT), VARTYPE(VT_BYREF)}) {
        v.vt = bad;
        EXPECT_EQ(VariantClear(&v), DISP_E_BADVARTYPE) << bad;
        EXPECT_EQ(v.vt, bad);
    }
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(VariantCopying, DeepCopiesStringsWithOddLengthsAndCountsReferences) {
    Variant src;
    src.vt = VT_BSTR;
    src.bstrVal = SysAllocStringByteLen("\x01\x00\x02\x03\x04", 5);
    Variant dst = Text(u"overwritten");  // its string must be freed by the copy
    ASSERT_EQ(VariantCopy(&dst, &src), S_OK);
    ASSERT_EQ(dst.vt, VT_BSTR);
    EXPECT_NE(dst.bstrVal, src.bstrVal);
    ASSERT_EQ(SysStringByteLen(dst.bstrVal), 5u);
    EXPECT_EQ(std::memcmp(dst.bstrVal, "\x01\x00\x02\x03\x04", 5), 0);

    Variant nullText;
    nullText.vt = VT_BSTR;  // a null BSTR stays null
    EXPECT_EQ(VariantCopy(&dst, &nullText), S_OK);
    EXPECT_EQ(dst.vt, VT_BSTR);
    EXPECT_EQ(dst.bstrVal, nullptr);

    FakeObject obj(false);
    {
        Variant a, b;
        a.vt = VT_UNKNOWN, a.punkVal = &obj;
        obj.AddRef();
        EXPECT_EQ(VariantCopy(&b, &a), S_OK);
        EXPECT_EQ(obj.refs, 3u);
        EXPECT_EQ(VariantCopy(&a, &a), S_OK);  // copying onto itself changes nothing
        EXPECT_EQ(obj.refs, 3u);
    }
    EXPECT_EQ(obj.refs, 1u);
    EXPECT_EQ(VariantCopy(nullptr, &src), E_INVALIDARG);
}

TEST(VariantCopying, CopyIndFollowsOneReference) {
    LONG n = 7;
    BSTR s = SysAllocString(u"ref");
    Variant inner = Text(u"inside");
    Variant ref, out;
    ref.vt = VT_I4 | VT_BYREF, ref.plVal = &n;
    ASSERT_EQ(VariantCopyInd(&out, &ref), S_OK);
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 7);

    ref.vt = VT_BSTR | VT_BYREF, ref.pbstrVal = &s;
    ASSERT_EQ(VariantCopyInd(&ref, &ref), S_OK);  // in place
    ASSERT_EQ(ref.vt, VT_BSTR);
    EXPECT_NE(ref.bstrVal, s);
    EXPECT_EQ(std::u16string_view(ref.bstrVal), u"ref");
    SysFreeString(s);

    ref.Clear();
    ref.vt = VT_VARIANT | VT_BYREF, ref.pvarVal = &inner;
    ASSERT_EQ(VariantCopyInd(&out, &ref), S_OK);
    EXPECT_EQ(std::u16string_view(out.bstrVal), u"inside");
    VARIANT twice;
    twice.vt = VT_VARIANT | VT_BYREF, twice.pvarVal = &ref;
    EXPECT_EQ(VariantCopyInd(&out, &twice), E_INVALIDARG);
    ref.vt = VT_EMPTY;
}

TEST(VariantChangeType, IntegerBoundsOverflowByOne) {
    struct Case {
        double value;
        VARTYPE vt;
        HRESULT hr;
        long long expect;
    } cases[] = {
        {32767, VT_I2, S_OK, 32767},        {32768, VT_I2, DISP_E_OVERFLOW, 0},
        {-32768, VT_I2, S_OK, -32768},      {-32769, VT_I2, DISP_E_OVERFLOW, 0},
        {255, VT_UI1, S_OK, 255},           {256, VT_UI1, DISP_E_OVERFLOW, 0},
        {-1, VT_UI1, DISP_E_OVERFLOW, 0},   {-1, VT_UI4, DISP_E_OVERFLOW, 0},
        {-128, VT_I1, S_OK, -128},          {128, VT_I1, DISP_E_OVERFLOW, 0},
        {65535, VT_UI2, S_OK, 65535},       {4294967295.0, VT_UI4, S_OK, 4294967295LL},
        {2147483646.5, VT_I4, S_OK, 2147483646},     {2147483647.5, VT_I4, DISP_E_OVERFLOW, 0},
        {-2147483648.5, VT_I4, S_OK, -2147483648LL}, {-2147483649.5, VT_I4, DISP_E_OVERFLOW, 0},
        {0x1p63, VT_I8, DISP_E_OVERFLOW, 0},
    };
    for (const auto& c : cases) {
        Variant out;
        EXPECT_EQ(To(Variant(c.value), c.vt, out), c.hr) << c.value << " vt " << c.vt;
        if (c.hr == S_OK) {
            Variant wide;
            ASSERT_EQ(To(out, VT_I8, wide), S_OK);
            EXPECT_EQ(wide.llVal, c.expect) << c.value;
        }
    }
    Variant out;
    EXPECT_EQ(To(Variant(LONG(70000)), VT_I2, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Variant(LONG(-1)), VT_UI8, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Text(u"9223372036854775807"), VT_I8, out), S_OK);
    EXPECT_EQ(out.llVal, std::numeric_limits<LONGLONG>::max());
    EXPECT_EQ(To(Text(u"-9223372036854775808"), VT_I8, out), S_OK);
    EXPECT_EQ(out.llVal, std::numeric_limits<LONGLONG>::min());
    EXPECT_EQ(To(Text(u"9223372036854775808"), VT_I8, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Text(u"18446744073709551615"), VT_UI8, out), S_OK);
    EXPECT_EQ(out.ullVal, std::numeric_limits<ULONGLONG>::max());
}

TEST(VariantChangeType, RoundsHalfToEvenFromDoublesCurrencyAndText) {
    const std::pair<double, LONG> doubles[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},  {-0.5, 0},  {-1.5, -2},
                                               {-2.5, -2}, {2.5000001, 3}, {0.49999999999999994, 0},
                                               {-0.0, 0}};
    Variant out;
    for (auto [d, expect] : doubles) {
        ASSERT_EQ(To(Variant(d), VT_I4, out), S_OK) << d;
        EXPECT_EQ(out.lVal, expect) << d;
        ASSERT_EQ(To(Date(d + 45000), VT_I4, out), S_OK);
        EXPECT_EQ(out.lVal, 45000 + expect) << d;  // 45000 is even: same tie rule
    }
    const std::pair<LONGLONG, SHORT> currency[] = {{25000, 2}, {35000, 4}, {-25000, -2}, {25001, 3}, {-35000, -4}};
    for (auto [raw, expect] : currency) {
        ASSERT_EQ(To(Cy(raw), VT_I2, out), S_OK);
        EXPECT_EQ(out.iVal, expect) << raw;
    }
    const std::pair<const char16_t*, LONG> texts[] = {{u"12.5", 12}, {u"13.5", 14}, {u" +42 ", 42}, {u"-0", 0},
                                                      {u"1e3", 1000}, {u"-2.5", -2}, {u"2.5000000000000001", 3},
                                                      {u"1e-400", 0}, {u"\t7\n", 7}, {u"2147483647", INT32_MAX}};
    for (auto [t, expect] : texts) {
        ASSERT_EQ(To(Text(t), VT_I4, out), S_OK) << orv::Utf16ToUtf8(t);
        EXPECT_EQ(out.lVal, expect) << orv::Utf16ToUtf8(t);
    }
    EXPECT_EQ(To(Text(u"2147483648"), VT_I4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Text(u"1e400"), VT_I4, out), DISP_E_OVERFLOW);
}

TEST(VariantChangeType, NonFiniteValuesOverflowIntegersAndCurrency) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double d : {nan, inf, -inf, 1e300})
        for (VARTYPE vt : {VT_I2, VT_I4, VT_UI1, VT_I8, VT_CY, VT_DATE}) {
            Variant out;
            EXPECT_EQ(To(Variant(d), vt, out), DISP_E_OVERFLOW) << d << " vt " << vt;
        }
    Variant out;
    EXPECT_EQ(To(Variant(inf), VT_R4, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Variant(DBL_MAX), VT_R4, out), DISP_E_OVERFLOW);
    ASSERT_EQ(To(Variant(double(FLT_MAX)), VT_R4, out), S_OK);
    EXPECT_EQ(out.fltVal, FLT_MAX);
    ASSERT_EQ(To(Variant(nan), VT_R4, out), S_OK);
    EXPECT_TRUE(std::isnan(out.fltVal));
    ASSERT_EQ(To(Variant(-0.0), VT_CY, out), S_OK);
    EXPECT_EQ(out.cyVal.int64, 0);
    ASSERT_EQ(To(Variant(-0.0), VT_BOOL, out), S_OK);
    EXPECT_EQ(out.boolVal, VARIANT_FALSE);
    EXPECT_EQ(AsText(Variant(-0.0)), u"0");
}

TEST(VariantChangeType, CurrencyLimitsAndRounding) {
    const LONGLONG max = std::numeric_limits<LONGLONG>::max(), min = std::numeric_limits<LONGLONG>::min();
    Variant out;
    ASSERT_EQ(To(Text(u"922337203685477.5807"), VT_CY, out), S_OK);
    EXPECT_EQ(out.cyVal.int64, max);
    ASSERT_EQ(To(Text(u"-922337203685477.5808"), VT_CY, out), S_OK);
    EXPECT_EQ(out.cyVal.int64, min);
    EXPECT_EQ(To(Text(u"922337203685477.5808"), VT_CY, out), DISP_E_OVERFLOW);
    ASSERT_EQ(To(Text(u"-922337203685477.58085"), VT_CY, out), S_OK);  // the tie keeps the even limit
    EXPECT_EQ(out.cyVal.int64, min);
    EXPECT_EQ(To(Text(u"-922337203685477.58086"), VT_CY, out), DISP_E_OVERFLOW);
    EXPECT_EQ(AsText(Cy(max)), u"922337203685477.5807");
    EXPECT_EQ(AsText(Cy(min)), u"-922337203685477.5808");
    EXPECT_EQ(To(I8(922337203685477), VT_CY, out), S_OK);
    EXPECT_EQ(To(I8(922337203685478), VT_CY, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Variant(1e15), VT_CY, out), DISP_E_OVERFLOW);

    // Doubles: the value times 10000 in double precision, rounded half to even.
    // 0.00015 x 10000 is 1.4999999999999998 and 1.00005 x 10000 is 10000.500000000002.
    const std::pair<double, LONGLONG> doubles[] = {
        {0.00005, 0},     {0.00025, 2},     {0.00035, 4},         {0.00045, 4},         {-0.00035, -4},
        {0.12345, 1234},  {12.34575, 123458}, {0.00015, 1},       {1.00005, 10001},     {1.23456, 12346},
        {45000.75, 450007500}};
    for (auto [d, raw] : doubles) {
        ASSERT_EQ(To(Variant(d), VT_CY, out), S_OK) << d;
        EXPECT_EQ(out.cyVal.int64, raw) << d;
    }
    // Text: rounded exactly on its decimal digits.
    const std::pair<const char16_t*, LONGLONG> texts[] = {{u"12.5", 125000}, {u" -0.00005 ", 0}, {u"0.00015", 2},
                                                          {u"1e2", 1000000}, {u"1.5E-3", 15}, {u"12.34565", 123456},
                                                          {u"12.34575", 123458}, {u"12.345650001", 123457}};
    for (auto [t, raw] : texts) {
        ASSERT_EQ(To(Text(t), VT_CY, out), S_OK) << orv::Utf16ToUtf8(t);
        EXPECT_EQ(out.cyVal.int64, raw) << orv::Utf16ToUtf8(t);
    }
}

TEST(VariantChangeType, MalformedTextIsATypeMismatch) {
    const std::u16string bad[] = {u"",    u"  ",  u"12a", u"1,000", u"--1",  u"1e",   u"e5",  u".",
                                  u"0x10", u"1 2", u"+",   u"1.2.3", u"１２", u"NaN", std::u16string(u"1\0", 2)};
    for (const auto& t : bad)
        for (VARTYPE vt : {VT_I2, VT_I4, VT_I8, VT_CY, VT_DATE, VT_BOOL}) {
            Variant out;
            EXPECT_EQ(To(Variant(std::u16string_view(t)), vt, out), DISP_E_TYPEMISMATCH)
                << orv::Utf16ToUtf8(t) << " vt " << vt;
        }
    Variant out;
    EXPECT_EQ(To(Text(u"abc"), VT_R8, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(To(Text(u"1e400"), VT_R8, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Text(u"1e39"), VT_R4, out), DISP_E_OVERFLOW);
}

TEST(VariantChangeType, NumbersWriteTheDocumentedTextForms) {
    const std::pair<double, const char16_t*> doubles[] = {
        {45000.75, u"45000.75"}, {0.1, u"0.1"}, {1e20, u"1E+20"}, {1e-5, u"1E-05"}, {0.0001, u"0.0001"},
        {1e15, u"1E+15"}, {123456789012345.0, u"123456789012345"}, {1.0 / 3, u"0.333333333333333"},
        {-1.5, u"-1.5"}, {1e-300, u"1E-300"}, {DBL_MAX, u"1.79769313486232E+308"}};
    for (auto [d, t] : doubles) EXPECT_EQ(AsText(Variant(d)), t) << d;
    const std::pair<float, const char16_t*> floats[] = {
        {0.1f, u"0.1"}, {12.5f, u"12.5"}, {16777215.0f, u"1.677722E+07"}, {1e-5f, u"1E-05"}, {FLT_MAX, u"3.402823E+38"}};
    for (auto [f, t] : floats) EXPECT_EQ(AsText(R4(f)), t) << f;
    const std::pair<LONGLONG, const char16_t*> currency[] = {
        {125000, u"12.5"}, {1000000, u"100"}, {1, u"0.0001"}, {-5000, u"-0.5"}, {12300, u"1.23"}, {0, u"0"}};
    for (auto [raw, t] : currency) EXPECT_EQ(AsText(Cy(raw)), t) << raw;
    EXPECT_EQ(AsText(Variant(SHORT(-32768))), u"-32768");
    EXPECT_EQ(AsText(I8(std::numeric_limits<LONGLONG>::min())), u"-9223372036854775808");
    Variant ui4;
    ui4.vt = VT_UI4, ui4.ulVal = 4294967295u;
    EXPECT_EQ(AsText(ui4), u"4294967295");
}

// Every text written reads back: text -> value -> text is stable, currency exact.
TEST(VariantChangeType, WrittenTextsReadBack) {
    std::mt19937_64 rng(20240501);
    std::vector<double> doubles = {45000.75, 0.1, 1e20, 1e-5, DBL_MAX, -DBL_MAX, DBL_MIN,
                                   std::numeric_limits<double>::denorm_min(), 0.1 + 0.2};
    for (int i = 0; i < 2000; ++i) {
        double d;
        const std::uint64_t bits = rng();
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d)) doubles.push_back(d);
    }
    for (double d : doubles) {
        const std::u16string text = AsText(Variant(d));
        Variant back;
        ASSERT_EQ(To(Text(text.c_str()), VT_R8, back), S_OK) << orv::Utf16ToUtf8(text);
        EXPECT_NEAR(back.dblVal, d, std::fabs(d) * 1e-14) << orv::Utf16ToUtf8(text);
        EXPECT_EQ(AsText(back), text);
        float f = static_cast<float>(std::fmod(d, 1e30));
        const std::u16string ftext = AsText(R4(f));
        ASSERT_EQ(To(Text(ftext.c_str()), VT_R4, back), S_OK) << orv::Utf16ToUtf8(ftext);
        EXPECT_EQ(AsText(back), ftext);
    }
    for (int i = 0; i < 2000; ++i) {
        const auto raw = static_cast<LONGLONG>(rng() >> (1 + i % 60));
        for (LONGLONG r : {raw, -raw}) {
            Variant back;
            ASSERT_EQ(To(Text(AsText(Cy(r)).c_str()), VT_CY, back), S_OK);
            EXPECT_EQ(back.cyVal.int64, r);
        }
    }
}

TEST(VariantChangeType, BooleansTextsEmptyAndNull) {
    Variant out;
    const std::pair<Variant, VARIANT_BOOL> truth[] = {{Variant(LONG(5)), VARIANT_TRUE}, {Variant(LONG(0)), VARIANT_FALSE},
                                                      {Variant(0.1), VARIANT_TRUE},     {Cy(1), VARIANT_TRUE},
                                                      {Text(u"TRUE"), VARIANT_TRUE},    {Text(u" false "), VARIANT_FALSE},
                                                      {Text(u"#TRUE#"), VARIANT_TRUE},  {Text(u"#False#"), VARIANT_FALSE},
                                                      {Text(u"1"), VARIANT_TRUE},       {Text(u"0.0"), VARIANT_FALSE},
                                                      {Variant(), VARIANT_FALSE}};
    for (const auto& [v, b] : truth) {
        ASSERT_EQ(To(v, VT_BOOL, out), S_OK) << v.vt;
        EXPECT_EQ(out.boolVal, b) << v.vt;
    }
    EXPECT_EQ(To(Text(u"yes"), VT_BOOL, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(AsText(Variant(true)), u"-1");
    EXPECT_EQ(AsText(Variant(false)), u"0");
    EXPECT_EQ(AsText(Variant(true), VARIANT_ALPHABOOL), u"True");
    EXPECT_EQ(AsText(Variant(false), VARIANT_ALPHABOOL), u"False");
    ASSERT_EQ(To(Variant(true), VT_UI1, out), S_OK);
    EXPECT_EQ(out.bVal, 255);
    ASSERT_EQ(To(Variant(true), VT_CY, out), S_OK);
    EXPECT_EQ(out.cyVal.int64, -10000);

    ASSERT_EQ(To(Variant(), VT_BSTR, out), S_OK);  // empty is an allocated empty text
    ASSERT_NE(out.bstrVal, nullptr);
    EXPECT_EQ(SysStringLen(out.bstrVal), 0u);
    Variant null;
    null.vt = VT_NULL;
    for (VARTYPE vt : {VT_I4, VT_BSTR, VT_BOOL, VT_R8, VT_CY, VT_DATE, VT_UNKNOWN})
        EXPECT_EQ(To(null, vt, out), DISP_E_TYPEMISMATCH) << vt;
    EXPECT_EQ(To(null, VT_EMPTY, out), S_OK);
    EXPECT_EQ(To(Variant(LONG(1)), VT_NULL, out), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(To(Variant(LONG(1)), VT_I4 | VT_ARRAY, out), DISP_E_BADVARTYPE);
    EXPECT_EQ(To(Variant(LONG(1)), VT_DECIMAL, out), DISP_E_BADVARTYPE);
}

TEST(VariantChangeType, InPlaceAndReferenceSources) {
    Variant v = Text(u" 123 ");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK);  // the string is freed (sanitizer run)
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 123);
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
    EXPECT_EQ(std::u16string_view(v.bstrVal), u"123");

    // A failed conversion leaves the variant as it was.
    Variant bad = Text(u"abc");
    EXPECT_EQ(VariantChangeType(&bad, &bad, 0, VT_I4), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(bad.vt, VT_BSTR);
    EXPECT_EQ(std::u16string_view(bad.bstrVal), u"abc");
    Variant wide(LONG(70000));
    EXPECT_EQ(VariantChangeType(&wide, &wide, 0, VT_I2), DISP_E_OVERFLOW);
    EXPECT_EQ(wide.vt, VT_I4);
    EXPECT_EQ(wide.lVal, 70000);

    double d = 2.5;
    Variant ref;
    ref.vt = VT_R8 | VT_BYREF, ref.pdblVal = &d;
    Variant out;
    ASSERT_EQ(To(ref, VT_BSTR, out), S_OK);
    EXPECT_EQ(std::u16string_view(out.bstrVal), u"2.5");
    ref.vt = VT_EMPTY;
    EXPECT_EQ(VariantChangeType(nullptr, &v, 0, VT_I4), E_INVALIDARG);
}

TEST(VariantChangeType, InterfacesConvertThroughQueryInterfaceAndValueProperty) {
    FakeObject dual(true), plain(false);
    {
        Variant unk;
        unk.vt = VT_UNKNOWN, unk.punkVal = &dual;
        dual.AddRef();
        Variant out;
        ASSERT_EQ(To(unk, VT_DISPATCH, out), S_OK);
        EXPECT_EQ(out.pdispVal, static_cast<IDispatch*>(&dual));
        EXPECT_EQ(dual.refs, 3u);
        ASSERT_EQ(To(out, VT_I4, unk), S_OK);  // through the value property "42"
        EXPECT_EQ(unk.lVal, 42);
        Variant noValue;
        EXPECT_EQ(To(out, VT_I4, noValue, VARIANT_NOVALUEPROP), DISP_E_TYPEMISMATCH);

        Variant other;
        other.vt = VT_UNKNOWN, other.punkVal = &plain;
        plain.AddRef();
        EXPECT_EQ(To(other, VT_DISPATCH, out), E_NOINTERFACE);
        EXPECT_EQ(To(other, VT_I4, out), DISP_E_TYPEMISMATCH);
        Variant none;
        none.vt = VT_UNKNOWN;
        ASSERT_EQ(To(none, VT_DISPATCH, out), S_OK);
        EXPECT_EQ(out.pdispVal, nullptr);
    }
    EXPECT_EQ(dual.refs, 1u);
    EXPECT_EQ(plain.refs, 1u);
}

TEST(VariantChangeType, DatesAndTheirText) {
    const std::pair<double, const char16_t*> dates[] = {{36526.0, u"2000-01-01"},
                                                        {45000.75, u"2023-03-15 18:00:00"},
                                                        {0.0, u"1899-12-30"},
                                                        {-1.25, u"1899-12-29 06:00:00"},
                                                        {2958465.0, u"9999-12-31"}};
    Variant out;
    for (auto [d, t] : dates) {
        EXPECT_EQ(AsText(Date(d)), t) << d;
        ASSERT_EQ(To(Text(t), VT_DATE, out), S_OK) << d;
        EXPECT_EQ(out.date, d);
    }
    ASSERT_EQ(To(Text(u" 2000-1-5 12:00 "), VT_DATE, out), S_OK);
    EXPECT_EQ(out.date, 36530.5);
    ASSERT_EQ(To(Text(u"45000.75"), VT_DATE, out), S_OK);
    EXPECT_EQ(out.date, 45000.75);
    for (const char16_t* t : {u"2000-02-30", u"1900-02-29", u"2000-01-01 24:00", u"99-01-01", u"2000/01/01"})
        EXPECT_EQ(To(Text(t), VT_DATE, out), DISP_E_TYPEMISMATCH) << orv::Utf16ToUtf8(t);
    EXPECT_EQ(To(Text(u"1e10"), VT_DATE, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Variant(3e6), VT_DATE, out), DISP_E_OVERFLOW);
    EXPECT_EQ(To(Date(3e6), VT_BSTR, out), E_INVALIDARG);
}

}  // namespace
