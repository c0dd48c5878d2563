// VARIANT lifetime and type conversion.
//
// Conversions never look at the process locale: "." is the decimal separator
// and numbers carry no grouping. The text forms are described in docs/variant.md;
// everything written here is read back by the same code.
#include <orvdocs/platform/oleauto.h>

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace {

using Int = __int128;  // wide enough for every integer source and target, checked once

// ------------------------------------------------------------ type checks

bool IsPlainType(VARTYPE base) {
    switch (base) {
        case VT_EMPTY: case VT_NULL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY:
        case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN:
        case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

// Types a VARIANT of this platform may hold. Safe arrays and decimals have no
// storage here, so they are refused like any unknown type.
HRESULT CheckVarType(VARTYPE vt) {
    const VARTYPE base = vt & VT_TYPEMASK;
    if (vt & ~(VT_TYPEMASK | VT_BYREF)) return DISP_E_BADVARTYPE;
    if (vt & VT_BYREF) {
        if (base == VT_EMPTY || base == VT_NULL) return DISP_E_BADVARTYPE;
        return base == VT_VARIANT || IsPlainType(base) ? S_OK : DISP_E_BADVARTYPE;
    }
    return IsPlainType(base) ? S_OK : DISP_E_BADVARTYPE;
}

bool IsInteger(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT:
        case VT_UINT: case VT_I8: case VT_UI8:
            return true;
        default:
            return false;
    }
}

// Bytes of the value a VT_BYREF variant of a plain type points to.
std::size_t ScalarSize(VARTYPE base) {
    switch (base) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
        default: return 8;  // I8, UI8, R8, CY, DATE
    }
}

// ------------------------------------------------------------ value copies

BSTR CopyBstr(BSTR s) {
    return SysAllocStringByteLen(reinterpret_cast<LPCSTR>(s), SysStringByteLen(s));
}

// Copies a non-reference value: strings are duplicated, interfaces AddRef'd.
HRESULT CopyValue(VARIANT& dst, const VARIANT& src) {
    dst = src;
    switch (src.vt) {
        case VT_BSTR:
            if (src.bstrVal) {
                dst.bstrVal = CopyBstr(src.bstrVal);
                if (!dst.bstrVal) {
                    dst.vt = VT_EMPTY;
                    return E_OUTOFMEMORY;
                }
            }
            break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            if (src.punkVal) src.punkVal->AddRef();
            break;
        default:
            break;
    }
    return S_OK;
}

// Builds in dst a non-reference copy of the value a VT_BYREF variant points at.
HRESULT CopyReferenced(VARIANT& dst, const VARIANT& src) {
    VariantInit(&dst);
    const VARTYPE base = src.vt & VT_TYPEMASK;
    if (!src.byref) return E_INVALIDARG;
    if (base == VT_VARIANT) {
        const VARIANT& inner = *src.pvarVal;
        // A reference to a reference is not followed further.
        if (inner.vt & VT_BYREF) return E_INVALIDARG;
        const HRESULT hr = CheckVarType(inner.vt);
        if (FAILED(hr)) return hr;
        return CopyValue(dst, inner);
    }
    VARIANT value;
    VariantInit(&value);
    value.vt = base;
    switch (base) {
        case VT_BSTR: value.bstrVal = *src.pbstrVal; break;
        case VT_UNKNOWN: case VT_DISPATCH: value.punkVal = *src.ppunkVal; break;
        default: std::memcpy(&value.llVal, src.byref, ScalarSize(base)); break;
    }
    return CopyValue(dst, value);
}

// ------------------------------------------------------------ rounding

// Half to even, on the exact value of x (x - floor(x) is exact for a double).
double RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double diff = x - f;
    if (diff > 0.5) return f + 1.0;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// v / d rounded half to even, exactly, for d > 0.
Int DivRoundHalfEven(Int v, Int d) {
    Int q = v / d;
    Int r = v % d;  // carries the sign of v
    const Int twice = (r < 0 ? -r : r) * 2;
    if (twice > d || (twice == d && q % 2 != 0)) q += v < 0 ? -1 : 1;
    return q;
}

// ------------------------------------------------------------ text helpers

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The text in ASCII; false when it holds any other character (numbers, dates
// and the boolean words are ASCII only).
bool ToAscii(std::u16string_view s, std::string& out) {
    out.clear();
    out.reserve(s.size());
    for (char16_t c : s) {
        if (c == 0 || c > 0x7F) return false;
        out.push_back(static_cast<char>(c));
    }
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number in text: [sign] digits [. digits] [e|E [sign] digits], at least one
// mantissa digit, blanks around it allowed. Besides the form that <charconv>
// reads, it keeps the mantissa digits and their power of ten so that integer
// and currency targets are rounded exactly on the decimal digits.
struct NumberText {
    bool negative = false;
    std::string digits;     // mantissa digits, leading zeros removed ("" is zero)
    long long exp10 = 0;    // value = digits x 10^exp10
    std::string plain;      // the number for std::from_chars (no '+' sign)
};

bool ParseNumberText(std::u16string_view text, NumberText& n) {
    std::string s;
    if (!ToAscii(Trim(text), s) || s.empty()) return false;
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') n.negative = s[i++] == '-';
    const std::size_t mantissaStart = i;
    std::size_t intDigits = 0, fracDigits = 0;
    std::string digits;
    while (i < s.size() && IsDigit(s[i])) digits.push_back(s[i++]), ++intDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) digits.push_back(s[i++]), ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return false;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) expNegative = s[i++] == '-';
        const std::size_t expStart = i;
        while (i < s.size() && IsDigit(s[i])) ++i;
        if (i == expStart) return false;
        // An absurd exponent only needs to stay absurd: clamp it.
        constexpr long long kClamp = 1'000'000'000'000LL;
        auto [p, ec] = std::from_chars(s.data() + expStart, s.data() + i, exponent);
        (void)p;
        if (ec != std::errc{} || exponent > kClamp) exponent = kClamp;
        if (expNegative) exponent = -exponent;
    }
    if (i != s.size()) return false;
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    n.digits = firstNonZero == std::string::npos ? std::string() : digits.substr(firstNonZero);
    n.exp10 = exponent - static_cast<long long>(fracDigits);
    n.plain = (n.negative ? "-" : "") + s.substr(mantissaStart);
    return true;
}

// The number rounded half to even to a whole multiple of 10^-scale, as an
// integer count of those units. Values beyond 20 digits are an overflow for
// every target.
HRESULT ScaledInteger(const NumberText& n, int scale, Int& out) {
    out = 0;
    if (n.digits.empty()) return S_OK;
    const long long len = static_cast<long long>(n.digits.size());
    const long long shift = n.exp10 + scale;
    constexpr long long kMaxDigits = 20;
    std::string whole;
    char firstDropped = '0';
    bool restNonZero = false;
    if (shift >= 0) {
        if (len + shift > kMaxDigits) return DISP_E_OVERFLOW;
        whole = n.digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const long long keep = len + shift;  // digits left of the rounding point
        if (keep > kMaxDigits) return DISP_E_OVERFLOW;
        if (keep >= 0) {
            whole = n.digits.substr(0, static_cast<std::size_t>(keep));
            firstDropped = n.digits[static_cast<std::size_t>(keep)];
            restNonZero = n.digits.find_first_not_of('0', static_cast<std::size_t>(keep) + 1) != std::string::npos;
        }
        // keep < 0: the first dropped digit is an implied zero, so it rounds to 0.
    }
    unsigned long long magnitude = 0;
    if (!whole.empty()) {
        auto [p, ec] = std::from_chars(whole.data(), whole.data() + whole.size(), magnitude);
        (void)p;
        if (ec != std::errc{}) return DISP_E_OVERFLOW;
    }
    Int value = magnitude;
    if (firstDropped > '5' || (firstDropped == '5' && (restNonZero || value % 2 != 0))) ++value;
    out = n.negative ? -value : value;
    return S_OK;
}

// Decimal magnitude m with value = 0.D x 10^m (D the digits, first one non-zero).
long long Magnitude(const NumberText& n) { return static_cast<long long>(n.digits.size()) + n.exp10; }

// True when the number is at most the 15-digit text of DBL_MAX in size, i.e.
// a text this code writes for the largest doubles.
bool WithinWrittenDoubleMax(const NumberText& n) {
    static constexpr std::string_view kMaxDigits = "179769313486232";  // DBL_MAX, 15 digits
    if (Magnitude(n) != 309) return Magnitude(n) < 309;
    std::string d = n.digits;
    d.resize(std::max(d.size(), kMaxDigits.size()), '0');
    std::string m(kMaxDigits);
    m.resize(d.size(), '0');
    return d <= m;
}

bool ReadSpecialReal(std::u16string_view text, double& out) {
    std::string s;
    if (!ToAscii(Trim(text), s)) return false;
    if (EqualsNoCase(s, "NaN")) return out = std::numeric_limits<double>::quiet_NaN(), true;
    if (EqualsNoCase(s, "Infinity") || EqualsNoCase(s, "+Infinity")) return out = HUGE_VAL, true;
    if (EqualsNoCase(s, "-Infinity")) return out = -HUGE_VAL, true;
    return false;
}

template <class Real>
HRESULT ParseReal(std::u16string_view text, Real& out) {
    double special;
    if (ReadSpecialReal(text, special)) {
        out = static_cast<Real>(special);
        return S_OK;
    }
    NumberText n;
    if (!ParseNumberText(text, n)) return DISP_E_TYPEMISMATCH;
    Real value{};
    auto [p, ec] = std::from_chars(n.plain.data(), n.plain.data() + n.plain.size(), value);
    (void)p;
    if (ec == std::errc::result_out_of_range) {
        if (n.digits.empty() || Magnitude(n) <= 0) {
            value = n.negative ? -Real(0) : Real(0);  // too small: underflows to zero
        } else if constexpr (std::is_same_v<Real, double>) {
            // The 15-digit text of the largest doubles lies just past DBL_MAX.
            if (!WithinWrittenDoubleMax(n)) return DISP_E_OVERFLOW;
            value = n.negative ? -DBL_MAX : DBL_MAX;
        } else {
            return DISP_E_OVERFLOW;
        }
    } else if (ec != std::errc{}) {
        return DISP_E_TYPEMISMATCH;
    }
    out = value;
    return S_OK;
}

// Numbers as the shortest "%G"-style text with `digits` significant digits:
// plain decimals for exponents -5 < e < digits, otherwise 1.5E+20 / 1E-05.
template <class Real>
std::string FormatReal(Real v, int digits) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v < 0 ? "-Infinity" : "Infinity";
    if (v == 0) return "0";  // negative zero included
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits);
    (void)ec;
    std::string s(buf, end);
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}

std::string FormatCurrency(LONGLONG raw) {
    const bool negative = raw < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(raw) : static_cast<unsigned long long>(raw);
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude / 10000);
    (void)ec;
    std::string s = negative ? "-" : "";
    s.append(buf, end);
    unsigned frac = static_cast<unsigned>(magnitude % 10000);
    if (frac) {
        char f[5] = {char('0' + frac / 1000), char('0' + frac / 100 % 10), char('0' + frac / 10 % 10),
                     char('0' + frac % 10), 0};
        std::size_t len = 4;
        while (f[len - 1] == '0') --len;
        s.push_back('.');
        s.append(f, len);
    }
    return s;
}

std::string FormatInteger(Int v) {
    const bool negative = v < 0;
    unsigned __int128 m = negative ? -static_cast<unsigned __int128>(v) : static_cast<unsigned __int128>(v);
    char buf[48];
    char* p = buf + sizeof buf;
    do {
        *--p = static_cast<char>('0' + static_cast<int>(m % 10));
        m /= 10;
    } while (m);
    if (negative) *--p = '-';
    return std::string(p, buf + sizeof buf);
}

// Dates are written "YYYY-MM-DD", with " HH:MM:SS" when the time is not midnight.
HRESULT FormatDate(DATE d, std::string& out) {
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(d, &st)) return E_INVALIDARG;
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", unsigned(st.wYear), unsigned(st.wMonth),
                          unsigned(st.wDay));
    if (st.wHour || st.wMinute || st.wSecond)
        n += std::snprintf(buf + n, sizeof buf - n, " %02u:%02u:%02u", unsigned(st.wHour), unsigned(st.wMinute),
                           unsigned(st.wSecond));
    out.assign(buf, static_cast<std::size_t>(n));
    return S_OK;
}

// Reads 1..maxDigits decimal digits at s[pos]; advances pos.
bool ReadField(const std::string& s, std::size_t& pos, std::size_t minDigits, std::size_t maxDigits, WORD& out) {
    std::size_t end = pos;
    while (end < s.size() && IsDigit(s[end]) && end - pos < maxDigits) ++end;
    if (end - pos < minDigits) return false;
    unsigned v = 0;
    std::from_chars(s.data() + pos, s.data() + end, v);
    out = static_cast<WORD>(v);
    pos = end;
    return true;
}

// "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS" (a 'T' may stand
// for the blank).
bool ParseDateForm(const std::string& s, SYSTEMTIME& st) {
    st = SYSTEMTIME{};
    std::size_t p = 0;
    auto expect = [&](char c) { return p < s.size() && s[p++] == c; };
    if (!ReadField(s, p, 4, 4, st.wYear) || !expect('-') || !ReadField(s, p, 1, 2, st.wMonth) || !expect('-') ||
        !ReadField(s, p, 1, 2, st.wDay))
        return false;
    if (p == s.size()) return true;
    if (s[p] != ' ' && s[p] != 'T' && s[p] != 't') return false;
    ++p;
    while (p < s.size() && s[p] == ' ') ++p;
    if (!ReadField(s, p, 1, 2, st.wHour) || !expect(':') || !ReadField(s, p, 2, 2, st.wMinute)) return false;
    if (p < s.size() && (!expect(':') || !ReadField(s, p, 2, 2, st.wSecond))) return false;
    return p == s.size();
}

// Automation dates run from 0100-01-01 to the end of 9999-12-31.
bool DateInRange(double d) { return d > -657435.0 && d < 2958466.0; }

HRESULT ParseDate(std::u16string_view text, DATE& out) {
    std::string s;
    if (!ToAscii(Trim(text), s)) return DISP_E_TYPEMISMATCH;
    SYSTEMTIME st;
    if (ParseDateForm(s, st)) return SystemTimeToVariantTime(&st, &out) ? S_OK : DISP_E_TYPEMISMATCH;
    // A plain number is the automation date itself (not the NaN/Infinity words).
    double d;
    NumberText n;
    if (!ParseNumberText(text, n)) return DISP_E_TYPEMISMATCH;
    const HRESULT hr = ParseReal(text, d);
    if (FAILED(hr)) return hr;
    if (!DateInRange(d)) return DISP_E_OVERFLOW;
    out = d;
    return S_OK;
}

HRESULT ParseBool(std::u16string_view text, VARIANT_BOOL& out) {
    std::string s;
    if (!ToAscii(Trim(text), s)) return DISP_E_TYPEMISMATCH;
    if (EqualsNoCase(s, "True") || EqualsNoCase(s, "#TRUE#")) return out = VARIANT_TRUE, S_OK;
    if (EqualsNoCase(s, "False") || EqualsNoCase(s, "#FALSE#")) return out = VARIANT_FALSE, S_OK;
    NumberText n;
    if (!ParseNumberText(text, n)) return DISP_E_TYPEMISMATCH;
    out = n.digits.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

HRESULT MakeBstr(std::string_view ascii, VARIANT& out) {
    BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(ascii.size()));
    if (!s) return E_OUTOFMEMORY;
    for (std::size_t i = 0; i < ascii.size(); ++i) s[i] = static_cast<OLECHAR>(static_cast<unsigned char>(ascii[i]));
    out.vt = VT_BSTR;
    out.bstrVal = s;
    return S_OK;
}

// ------------------------------------------------------------ conversion

// The source value, read once into the widest form of its family.
struct Source {
    VARTYPE vt = VT_EMPTY;
    enum Family { Empty, Null, Integer, Real, Currency, Date, Bool, Text, Object, Other } family = Other;
    Int i = 0;
    double d = 0;
    LONGLONG cy = 0;
    VARIANT_BOOL b = 0;
    std::u16string_view text;
    IUnknown* unk = nullptr;
};

Source ReadSource(const VARIANT& v) {
    Source s;
    s.vt = v.vt;
    s.family = Source::Other;
    switch (v.vt) {
        case VT_EMPTY: s.family = Source::Empty; break;
        case VT_NULL: s.family = Source::Null; break;
        case VT_I1: s.family = Source::Integer, s.i = static_cast<signed char>(v.cVal); break;
        case VT_UI1: s.family = Source::Integer, s.i = v.bVal; break;
        case VT_I2: s.family = Source::Integer, s.i = v.iVal; break;
        case VT_UI2: s.family = Source::Integer, s.i = v.uiVal; break;
        case VT_I4: s.family = Source::Integer, s.i = v.lVal; break;
        case VT_UI4: s.family = Source::Integer, s.i = v.ulVal; break;
        case VT_INT: s.family = Source::Integer, s.i = v.intVal; break;
        case VT_UINT: s.family = Source::Integer, s.i = v.uintVal; break;
        case VT_I8: s.family = Source::Integer, s.i = v.llVal; break;
        case VT_UI8: s.family = Source::Integer, s.i = v.ullVal; break;
        case VT_R4: s.family = Source::Real, s.d = v.fltVal; break;
        case VT_R8: s.family = Source::Real, s.d = v.dblVal; break;
        case VT_DATE: s.family = Source::Date, s.d = v.date; break;
        case VT_CY: s.family = Source::Currency, s.cy = v.cyVal.int64; break;
        case VT_BOOL: s.family = Source::Bool, s.b = v.boolVal; break;
        case VT_BSTR:
            s.family = Source::Text;
            if (v.bstrVal) s.text = std::u16string_view(v.bstrVal, SysStringLen(v.bstrVal));
            break;
        case VT_UNKNOWN: case VT_DISPATCH: s.family = Source::Object, s.unk = v.punkVal; break;
        default: break;
    }
    return s;
}

struct IntLimits {
    Int lo, hi;
};

IntLimits LimitsOf(VARTYPE vt) {
    switch (vt) {
        case VT_I1: return {-128, 127};
        case VT_UI1: return {0, 255};
        case VT_I2: return {-32768, 32767};
        case VT_UI2: return {0, 65535};
        case VT_I4: case VT_INT: return {INT32_MIN, INT32_MAX};
        case VT_UI4: case VT_UINT: return {0, UINT32_MAX};
        case VT_I8: return {INT64_MIN, INT64_MAX};
        default: return {0, UINT64_MAX};  // VT_UI8
    }
}

void StoreInteger(VARIANT& out, VARTYPE vt, Int v) {
    out.vt = vt;
    out.ullVal = 0;
    switch (vt) {
        case VT_I1: out.cVal = static_cast<CHAR>(static_cast<signed char>(v)); break;
        case VT_UI1: out.bVal = static_cast<BYTE>(v); break;
        case VT_I2: out.iVal = static_cast<SHORT>(v); break;
        case VT_UI2: out.uiVal = static_cast<USHORT>(v); break;
        case VT_I4: out.lVal = static_cast<LONG>(v); break;
        case VT_INT: out.intVal = static_cast<INT>(v); break;
        case VT_UI4: out.ulVal = static_cast<ULONG>(v); break;
        case VT_UINT: out.uintVal = static_cast<UINT>(v); break;
        case VT_I8: out.llVal = static_cast<LONGLONG>(v); break;
        default: out.ullVal = static_cast<ULONGLONG>(v); break;
    }
}

// A double rounded half to even to an integer; false when it is not finite or
// far beyond any target.
bool RealToInt(double d, Int& out) {
    if (!std::isfinite(d)) return false;
    const double r = RoundHalfEven(d);
    if (std::fabs(r) >= 0x1p100) return false;
    out = static_cast<Int>(r);
    return true;
}

HRESULT ToInteger(const Source& s, VARTYPE vt, VARIANT& out) {
    Int v = 0;
    switch (s.family) {
        case Source::Empty: break;
        case Source::Integer: v = s.i; break;
        case Source::Real:
        case Source::Date:
            if (!RealToInt(s.d, v)) return DISP_E_OVERFLOW;
            break;
        case Source::Currency: v = DivRoundHalfEven(s.cy, 10000); break;
        case Source::Bool:
            // True keeps all its bits set in an unsigned target (0xFF, 0xFFFF, ...).
            StoreInteger(out, vt, s.b);
            return S_OK;
        case Source::Text: {
            NumberText n;
            if (!ParseNumberText(s.text, n)) return DISP_E_TYPEMISMATCH;
            const HRESULT hr = ScaledInteger(n, 0, v);
            if (FAILED(hr)) return hr;
            break;
        }
        default: return DISP_E_TYPEMISMATCH;
    }
    const IntLimits lim = LimitsOf(vt);
    if (v < lim.lo || v > lim.hi) return DISP_E_OVERFLOW;
    StoreInteger(out, vt, v);
    return S_OK;
}

HRESULT ToDouble(const Source& s, double& out) {
    switch (s.family) {
        case Source::Empty: out = 0; return S_OK;
        case Source::Integer: out = static_cast<double>(s.i); return S_OK;
        case Source::Real: case Source::Date: out = s.d; return S_OK;
        case Source::Currency: out = static_cast<double>(s.cy) / 10000.0; return S_OK;
        case Source::Bool: out = s.b; return S_OK;
        case Source::Text: return ParseReal(s.text, out);
        default: return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToFloat(const Source& s, VARIANT& out) {
    float f;
    if (s.family == Source::Text) {
        const HRESULT hr = ParseReal(s.text, f);
        if (FAILED(hr)) return hr;
    } else {
        double d;
        const HRESULT hr = ToDouble(s, d);
        if (FAILED(hr)) return hr;
        if (std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;  // infinities too; NaN passes
        f = static_cast<float>(d);
    }
    out.vt = VT_R4;
    out.fltVal = f;
    return S_OK;
}

HRESULT ToCurrency(const Source& s, VARIANT& out) {
    Int raw = 0;
    switch (s.family) {
        case Source::Empty: break;
        case Source::Integer: raw = s.i * 10000; break;  // |i| < 2^64, no wrap in 128 bits
        case Source::Real:
        case Source::Date:
            // The value times 10000 in double precision, rounded half to even.
            if (!RealToInt(s.d * 10000.0, raw)) return DISP_E_OVERFLOW;
            break;
        case Source::Bool: raw = Int(s.b) * 10000; break;
        case Source::Text: {
            NumberText n;
            if (!ParseNumberText(s.text, n)) return DISP_E_TYPEMISMATCH;
            const HRESULT hr = ScaledInteger(n, 4, raw);
            if (FAILED(hr)) return hr;
            break;
        }
        default: return DISP_E_TYPEMISMATCH;
    }
    if (raw < INT64_MIN || raw > INT64_MAX) return DISP_E_OVERFLOW;
    out.vt = VT_CY;
    out.cyVal.int64 = static_cast<LONGLONG>(raw);
    return S_OK;
}

HRESULT ToDateValue(const Source& s, VARIANT& out) {
    double d = 0;
    if (s.family == Source::Text) {
        const HRESULT hr = ParseDate(s.text, d);
        if (FAILED(hr)) return hr;
    } else {
        const HRESULT hr = ToDouble(s, d);
        if (FAILED(hr)) return hr;
        if (!DateInRange(d)) return DISP_E_OVERFLOW;
    }
    out.vt = VT_DATE;
    out.date = d;
    return S_OK;
}

HRESULT ToBool(const Source& s, VARIANT& out) {
    VARIANT_BOOL b = VARIANT_FALSE;
    switch (s.family) {
        case Source::Empty: break;
        case Source::Integer: b = s.i != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
        case Source::Real: case Source::Date: b = s.d != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
        case Source::Currency: b = s.cy != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
        case Source::Bool: b = s.b ? VARIANT_TRUE : VARIANT_FALSE; break;
        case Source::Text: {
            const HRESULT hr = ParseBool(s.text, b);
            if (FAILED(hr)) return hr;
            break;
        }
        default: return DISP_E_TYPEMISMATCH;
    }
    out.vt = VT_BOOL;
    out.boolVal = b;
    return S_OK;
}

HRESULT ToText(const Source& s, USHORT flags, VARIANT& out) {
    std::string text;
    switch (s.family) {
        case Source::Empty: break;
        case Source::Integer: text = FormatInteger(s.i); break;
        case Source::Real:
            text = s.vt == VT_R4 ? FormatReal(static_cast<float>(s.d), 7) : FormatReal(s.d, 15);
            break;
        case Source::Date: {
            const HRESULT hr = FormatDate(s.d, text);
            if (FAILED(hr)) return hr;
            break;
        }
        case Source::Currency: text = FormatCurrency(s.cy); break;
        case Source::Bool:
            if (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL))
                text = s.b ? "True" : "False";
            else
                text = s.b ? "-1" : "0";
            break;
        default: return DISP_E_TYPEMISMATCH;
    }
    return MakeBstr(text, out);
}

HRESULT ToObject(const Source& s, VARTYPE vt, VARIANT& out) {
    if (s.family == Source::Empty) {  // an empty value becomes a null reference
        out.vt = vt;
        out.punkVal = nullptr;
        return S_OK;
    }
    if (s.family != Source::Object) return DISP_E_TYPEMISMATCH;
    void* p = nullptr;
    if (s.unk) {
        const HRESULT hr = s.unk->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &p);
        if (FAILED(hr)) return hr;
    }
    out.vt = vt;
    out.punkVal = static_cast<IUnknown*>(p);
    return S_OK;
}

HRESULT Convert(VARIANT& out, const VARIANT& in, LCID lcid, USHORT flags, VARTYPE vt);

// An object converts through its default (value) property unless the caller
// forbids it; the property's own value is not asked for its value again.
HRESULT ConvertObjectValue(VARIANT& out, const Source& s, LCID lcid, USHORT flags, VARTYPE vt) {
    if (s.vt != VT_DISPATCH || !s.unk || (flags & VARIANT_NOVALUEPROP)) return DISP_E_TYPEMISMATCH;
    auto* disp = static_cast<IDispatch*>(s.unk);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = disp->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    if (FAILED(hr)) {
        VariantClear(&value);
        return DISP_E_TYPEMISMATCH;
    }
    hr = Convert(out, value, lcid, flags | VARIANT_NOVALUEPROP, vt);
    VariantClear(&value);
    return hr;
}

// Converts a non-reference value into out (initialised, owned by the caller).
HRESULT Convert(VARIANT& out, const VARIANT& in, LCID lcid, USHORT flags, VARTYPE vt) {
    if (in.vt & VT_BYREF) {
        VARIANT value;
        HRESULT hr = CopyReferenced(value, in);
        if (SUCCEEDED(hr)) hr = Convert(out, value, lcid, flags, vt);
        VariantClear(&value);
        return hr;
    }
    if (in.vt == vt) return CopyValue(out, in);
    const Source s = ReadSource(in);
    if (vt == VT_EMPTY) return S_OK;
    if (vt == VT_NULL) {
        if (s.family != Source::Empty) return DISP_E_TYPEMISMATCH;
        out.vt = VT_NULL;
        return S_OK;
    }
    if (s.family == Source::Null || s.family == Source::Other) return DISP_E_TYPEMISMATCH;
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) return ToObject(s, vt, out);
    if (s.family == Source::Object) return ConvertObjectValue(out, s, lcid, flags, vt);
    if (IsInteger(vt)) return ToInteger(s, vt, out);
    switch (vt) {
        case VT_R8: {
            double d;
            const HRESULT hr = ToDouble(s, d);
            if (FAILED(hr)) return hr;
            out.vt = VT_R8;
            out.dblVal = d;
            return S_OK;
        }
        case VT_R4: return ToFloat(s, out);
        case VT_CY: return ToCurrency(s, out);
        case VT_DATE: return ToDateValue(s, out);
        case VT_BOOL: return ToBool(s, out);
        case VT_BSTR: return ToText(s, flags, out);
        default: return DISP_E_TYPEMISMATCH;
    }
}

bool IsConvertibleTarget(VARTYPE vt) {
    return vt == VT_EMPTY || vt == VT_NULL || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE ||
           vt == VT_BSTR || vt == VT_BOOL || vt == VT_UNKNOWN || vt == VT_DISPATCH || vt == VT_ERROR || IsInteger(vt);
}

}  // namespace

void VariantInit(VARIANTARG* v) {
    if (v) std::memset(static_cast<void*>(v), 0, sizeof *v);
}

HRESULT VariantClear(VARIANTARG* v) {
    if (!v) return E_INVALIDARG;
    const HRESULT hr = CheckVarType(v->vt);
    if (FAILED(hr)) return hr;
    switch (v->vt) {  // references own nothing
        case VT_BSTR: SysFreeString(v->bstrVal); break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            if (v->punkVal) v->punkVal->Release();
            break;
        default: break;
    }
    v->vt = VT_EMPTY;
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* src) {
    if (!dest || !src) return E_INVALIDARG;
    if (dest == src) return S_OK;
    HRESULT hr = CheckVarType(src->vt);
    if (FAILED(hr)) return hr;
    VARIANT copy;
    VariantInit(&copy);
    if (src->vt & VT_BYREF)
        copy = *src;  // a reference is copied as the reference
    else if (FAILED(hr = CopyValue(copy, *src)))
        return hr;
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* src) {
    if (!dest || !src) return E_INVALIDARG;
    HRESULT hr = CheckVarType(src->vt);
    if (FAILED(hr)) return hr;
    if (!(src->vt & VT_BYREF)) return VariantCopy(dest, src);
    VARIANT copy;
    hr = CopyReferenced(copy, *src);
    if (FAILED(hr)) return hr;
    hr = VariantClear(dest);  // dest may be src itself: a reference owns nothing
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantChangeTypeEx(VARIANTARG* dest, const VARIANTARG* src, LCID lcid, USHORT flags, VARTYPE vt) {
    if (!dest || !src) return E_INVALIDARG;
    HRESULT hr = CheckVarType(src->vt);
    if (FAILED(hr)) return hr;
    if (!IsConvertibleTarget(vt)) return DISP_E_BADVARTYPE;
    if (dest == src && src->vt == vt) return S_OK;
    if (vt == VT_ERROR && (src->vt & VT_TYPEMASK) != VT_ERROR) return DISP_E_TYPEMISMATCH;
    try {
        // The result is built aside and only then replaces dest, so a failed
        // conversion leaves dest (and an in-place source) untouched.
        VARIANT result;
        VariantInit(&result);
        hr = Convert(result, *src, lcid, flags, vt);
        if (FAILED(hr)) {
            VariantClear(&result);
            return hr;
        }
        hr = VariantClear(dest);
        if (FAILED(hr)) {
            VariantClear(&result);
            return hr;
        }
        *dest = result;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* src, USHORT flags, VARTYPE vt) {
    return VariantChangeTypeEx(dest, src, LOCALE_USER_DEFAULT, flags, vt);
}
