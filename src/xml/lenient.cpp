#include "xml/lenient.h"

#include "frame/values.h"

#include <orvdocs/platform/registry.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <system_error>

namespace orv {

namespace {

// ------------------------------------------------------- currency symbol

std::mutex g_symbolMutex;
std::atomic<const std::u16string*> g_symbol{nullptr};

std::u16string ReadSymbolFromRegistry() {
    std::u16string symbol;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Control Panel\\International", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return symbol;
    DWORD type = REG_NONE;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, u"sCurrency", nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && bytes >= sizeof(char16_t)) {
        symbol.resize(bytes / sizeof(char16_t));
        if (RegQueryValueExW(key, u"sCurrency", nullptr, &type, reinterpret_cast<BYTE*>(symbol.data()), &bytes) ==
            ERROR_SUCCESS) {
            symbol.resize(bytes / sizeof(char16_t));
            const auto nul = symbol.find(u'\0');
            if (nul != std::u16string::npos) symbol.resize(nul);
        } else {
            symbol.clear();
        }
    }
    RegCloseKey(key);
    return symbol;
}

// ------------------------------------------------------- text helpers

inline bool IsDigit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }
inline bool IsExponentMark(char16_t c) noexcept { return c == u'e' || c == u'E'; }

std::u16string_view UpToNul(std::u16string_view text) noexcept {
    const auto nul = text.find(u'\0');
    return nul == std::u16string_view::npos ? text : text.substr(0, nul);
}

// Position of the decimal separator: the first "." when there is one, else
// the first ",", else npos.
std::size_t SeparatorPosition(std::u16string_view text) noexcept {
    const auto point = text.find(u'.');
    return point != std::u16string_view::npos ? point : text.find(u',');
}

// Collects significant digits for the double reader: leading zeros are
// skipped, at most kKept digits are kept and every later one only shifts the
// decimal exponent.
class DigitCollector {
public:
    static constexpr int kKept = 40;

    void Add(char16_t c, bool fraction) noexcept {
        if (fraction) --exponent_;
        if (count_ == 0 && c == u'0') return;
        if (count_ < kKept) {
            digits_[count_++] = static_cast<char>(c);
        } else {
            ++exponent_;
            if (c != u'0') dropped_ = true;
        }
    }
    void AddExponent(long long e) noexcept { exponent_ += e; }

    double Value() const noexcept {
        if (count_ == 0) return 0.0;
        char text[kKept + 32];
        std::copy(digits_, digits_ + count_, text);
        char* end = text + count_;
        *end++ = 'e';
        end = std::to_chars(end, text + sizeof text, exponent_).ptr;
        double value = 0.0;
        const auto r = std::from_chars(text, end, value);
        if (r.ec == std::errc::result_out_of_range) {
            if (exponent_ <= 0) return 0.0;
            return WithinWrittenMax() ? std::numeric_limits<double>::max() : std::numeric_limits<double>::infinity();
        }
        return value;
    }

private:
    // True when the digits are at most the 15-digit text the platform writes
    // for the largest doubles (1.79769313486232E+308, just past DBL_MAX),
    // which reads as DBL_MAX there and so here too.
    bool WithinWrittenMax() const noexcept {
        static constexpr std::string_view kMax = "179769313486232";
        const long long magnitude = count_ + exponent_;  // digits before the point
        if (magnitude != 309) return magnitude < 309;
        const std::size_t n = std::max<std::size_t>(static_cast<std::size_t>(count_), kMax.size());
        for (std::size_t i = 0; i < n; ++i) {
            const char a = i < static_cast<std::size_t>(count_) ? digits_[i] : '0';
            const char b = i < kMax.size() ? kMax[i] : '0';
            if (a != b) return a < b;
        }
        return !dropped_;
    }

    char digits_[kKept] = {};
    int count_ = 0;
    long long exponent_ = 0;
    bool dropped_ = false;  // a non-zero digit past the kept ones
};

// The words VariantChangeType writes for the doubles that have no digits
// ("NaN", "Infinity", "-Infinity", in any case, blanks around allowed, as the
// platform reads them); false for any other text.
bool SpecialDouble(std::u16string_view text, double& value) noexcept {
    auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    auto is = [&](std::string_view word) {
        if (text.size() != word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            char16_t c = text[i];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            char w = word[i];
            if (w >= 'A' && w <= 'Z') w = static_cast<char>(w - 'A' + 'a');
            if (c != static_cast<char16_t>(w)) return false;
        }
        return true;
    };
    if (is("NaN")) return value = std::numeric_limits<double>::quiet_NaN(), true;
    if (is("Infinity") || is("+Infinity")) return value = std::numeric_limits<double>::infinity(), true;
    if (is("-Infinity")) return value = -std::numeric_limits<double>::infinity(), true;
    return false;
}

}  // namespace

std::u16string_view UserCurrencySymbol() noexcept {
    if (const std::u16string* s = g_symbol.load(std::memory_order_acquire)) return *s;
    std::lock_guard lock(g_symbolMutex);
    const std::u16string* s = g_symbol.load(std::memory_order_relaxed);
    if (!s) {
        try {
            s = new std::u16string(ReadSymbolFromRegistry());
        } catch (...) {
            static const std::u16string empty;
            return empty;  // out of memory: try again at the next use
        }
        g_symbol.store(s, std::memory_order_release);
    }
    return *s;
}

void ResetUserCurrencySymbolForTesting() noexcept {
    std::lock_guard lock(g_symbolMutex);
    delete g_symbol.exchange(nullptr, std::memory_order_acq_rel);
}

CY ReadCurrencyLenient(std::u16string_view text) noexcept {
    text = UpToNul(text);

    // Remove the first occurrence of the currency symbol; keep 39 characters.
    constexpr std::size_t kMaxCleaned = 39;
    char16_t cleanedBuffer[kMaxCleaned];
    std::size_t length = 0;
    const std::u16string_view symbol = UserCurrencySymbol();
    const std::size_t symbolAt = symbol.empty() ? std::u16string_view::npos : text.find(symbol);
    for (std::size_t i = 0; i < text.size() && length < kMaxCleaned; ++i) {
        if (symbolAt != std::u16string_view::npos && i >= symbolAt && i < symbolAt + symbol.size()) continue;
        cleanedBuffer[length++] = text[i];
    }
    const std::u16string_view cleaned(cleanedBuffer, length);

    // Unsigned arithmetic: too many digits wrap instead of overflowing.
    std::uint64_t whole = 0;
    bool negative = false;
    const std::size_t separator = SeparatorPosition(cleaned);
    const std::size_t wholeEnd = separator == std::u16string_view::npos ? cleaned.size() : separator;
    for (std::size_t i = 0; i < wholeEnd; ++i) {
        const char16_t c = cleaned[i];
        if (IsDigit(c)) whole = whole * 10 + (c - u'0');
        else if (c == u'-') negative = true;
    }

    std::uint64_t fraction = 0;
    if (separator != std::u16string_view::npos) {
        int taken = 0;
        for (std::size_t i = separator + 1; i < cleaned.size() && taken < 4; ++i) {
            const char16_t c = cleaned[i];
            if (IsDigit(c)) {
                fraction = fraction * 10 + (c - u'0');
                ++taken;
            } else if (c == u'-') {
                negative = true;
            }
        }
        for (; taken < 4; ++taken) fraction *= 10;
    }

    std::uint64_t raw = whole * 10000 + fraction;
    if (negative) raw = 0 - raw;
    return MakeCurrency(static_cast<std::int64_t>(raw));
}

double ReadDoubleLenient(std::u16string_view text) noexcept {
    text = UpToNul(text);
    // A value too large for a double is written "Infinity" (and one that is
    // not a number "NaN"); they read back as themselves, not as 0.
    if (double special; SpecialDouble(text, special)) return special;
    DigitCollector digits;
    bool negative = false;
    const std::size_t separator = SeparatorPosition(text);

    std::size_t i = 0;
    for (; i < text.size() && i != separator && !IsExponentMark(text[i]); ++i) {
        if (IsDigit(text[i])) digits.Add(text[i], false);
        else if (text[i] == u'-') negative = true;
    }
    if (i == separator) {
        for (++i; i < text.size() && !IsExponentMark(text[i]); ++i) {
            if (IsDigit(text[i])) digits.Add(text[i], true);
            else if (text[i] == u'-') negative = true;
        }
    }
    if (i < text.size()) {  // at "e" or "E"
        ++i;
        bool exponentNegative = false;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) exponentNegative = text[i++] == u'-';
        long long exponent = 0;
        for (; i < text.size(); ++i) {
            // Beyond a million the power of ten is 0 or infinite anyway.
            if (IsDigit(text[i]) && exponent < 1000000) exponent = exponent * 10 + (text[i] - u'0');
        }
        digits.AddExponent(exponentNegative ? -exponent : exponent);
    }

    const double magnitude = digits.Value();
    return negative && magnitude != 0.0 ? -magnitude : magnitude;
}

LONG ReadLongLenient(std::u16string_view text) noexcept {
    const double value = ReadDoubleLenient(UpToNul(text).substr(0, 56));
    if (value != value) return 0;
    if (value <= static_cast<double>(std::numeric_limits<LONG>::min())) return std::numeric_limits<LONG>::min();
    if (value >= static_cast<double>(std::numeric_limits<LONG>::max())) return std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

// ------------------------------------------------------- variant rules

namespace {

// Follows a variant by reference; null when there is nothing to read.
const VARIANT* Target(const VARIANT& value) noexcept {
    if (value.vt == (VT_BYREF | VT_VARIANT)) return value.pvarVal;
    return &value;
}

// The text of a VT_BSTR or VT_BSTR by reference; false for other types.
bool TextOf(const VARIANT& value, std::u16string_view& text) noexcept {
    BSTR s;
    if (value.vt == VT_BSTR) s = value.bstrVal;
    else if (value.vt == (VT_BYREF | VT_BSTR)) s = value.pbstrVal ? *value.pbstrVal : nullptr;
    else return false;
    text = s ? std::u16string_view(s, SysStringLen(s)) : std::u16string_view();
    return true;
}

bool IsNothing(const VARIANT& value) noexcept { return value.vt == VT_EMPTY || value.vt == VT_NULL; }

// VariantChangeType into a local variant; false when the platform refuses.
bool ChangeType(const VARIANT& value, VARTYPE to, VARIANT& out) noexcept {
    VariantInit(&out);
    if (FAILED(VariantChangeType(&out, &value, 0, to))) {
        VariantClear(&out);
        return false;
    }
    return true;
}

}  // namespace

CY VariantToCurrencyLenient(const VARIANT& value) noexcept {
    const VARIANT* v = Target(value);
    if (!v || IsNothing(*v)) return MakeCurrency(0);
    std::u16string_view text;
    if (TextOf(*v, text)) return ReadCurrencyLenient(text);
    VARIANT converted;
    if (!ChangeType(*v, VT_CY, converted)) return MakeCurrency(0);
    return converted.cyVal;
}

double VariantToDoubleLenient(const VARIANT& value) noexcept {
    const VARIANT* v = Target(value);
    if (!v || IsNothing(*v)) return 0.0;
    std::u16string_view text;
    if (TextOf(*v, text)) return ReadDoubleLenient(text);
    VARIANT converted;
    if (!ChangeType(*v, VT_R8, converted)) return 0.0;
    return converted.dblVal;
}

LONG VariantToLongLenient(const VARIANT& value) noexcept {
    const VARIANT* v = Target(value);
    if (!v || IsNothing(*v)) return 0;
    std::u16string_view text;
    if (TextOf(*v, text)) return ReadLongLenient(text);
    VARIANT converted;
    if (!ChangeType(*v, VT_I4, converted)) return 0;
    return converted.lVal;
}

}  // namespace orv
