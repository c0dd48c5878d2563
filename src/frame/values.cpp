#include "frame/values.h"

#include <orvdocs/platform/text.h>

#include <cstdint>
#include <limits>

namespace orv {

namespace {

// Rounds a count of raw units (value x 10000) to whole hundredths of the
// unit, halves away from zero, and returns the count of hundredths. Works on
// the quotient and remainder so that no intermediate sum can overflow.
constexpr std::int64_t RoundToHundredths(std::int64_t raw) noexcept {
    std::int64_t q = raw / 100;
    const std::int64_t r = raw % 100;  // takes the sign of raw
    if (r >= 50) ++q;
    else if (r <= -50) --q;
    return q;
}

// Truncation of a double towards zero with the outcome the processor's own
// conversion gives for values it cannot represent: the smallest integer.
std::int64_t TruncateToInt64(double v) noexcept {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63, exact in double
    if (!(v >= -kLimit && v < kLimit)) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v);
}

std::int32_t TruncateToInt32(double v) noexcept {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// Magnitude of a remainder (always far from the type's limits).
constexpr std::int64_t Magnitude(std::int64_t r) noexcept { return r < 0 ? -r : r; }

constexpr OLECHAR kMinus[] = u"-";
constexpr OLECHAR kNoSign[] = u"";

}  // namespace

CY HundredthsToCurrency(LONG hundredths) noexcept {
    return MakeCurrency(static_cast<std::int64_t>(hundredths) * 100);
}

LONG CurrencyToHundredths(CY value) noexcept {
    // Conversion to a narrower signed type keeps the low bits (modular).
    return static_cast<LONG>(RoundToHundredths(value.int64));
}

CY RoundCurrencyToHundredths(CY value) noexcept {
    // The quotient is at most INT64_MAX / 100 + 1 in magnitude, so x 100 fits.
    return MakeCurrency(RoundToHundredths(value.int64) * 100);
}

LONGLONG TruncateToRawUnits(double value) noexcept { return TruncateToInt64(value); }

CY MultiplyCurrency(CY value, double factor) noexcept {
    const double product = static_cast<double>(value.int64) * factor;
    return RoundCurrencyToHundredths(MakeCurrency(TruncateToInt64(product)));
}

DATE DayNumberToDate(SHORT dayNumber) noexcept {
    if (dayNumber == 0) return 0.0;
    return static_cast<double>(dayNumber) + kDayNumberEpoch;
}

SHORT DateToDayNumber(DATE date) noexcept {
    if (date == 0.0) return 0;
    // Unsigned arithmetic: the subtraction wraps like the 32-bit original.
    const std::uint32_t day = static_cast<std::uint32_t>(TruncateToInt32(date)) - 22281u;
    return static_cast<SHORT>(static_cast<std::uint16_t>(day));
}

MoneyText FormatHundredths(LONG hundredths) noexcept {
    MoneyText t{};
    const LONG whole = hundredths / 100;
    const LONG cents = static_cast<LONG>(Magnitude(hundredths % 100));
    const OLECHAR* sign = hundredths < 0 && whole == 0 ? kMinus : kNoSign;
    t.length = wsprintfW(t.text, u"%s%ld.%02ld", sign, whole, cents);
    return t;
}

MoneyText FormatCurrency(CY value) noexcept {
    MoneyText t{};
    const std::int64_t k = value.int64 / 100;
    const std::int64_t whole = k / 100;
    const std::int64_t cents = Magnitude(k % 100);
    const OLECHAR* sign = value.int64 < 0 && whole == 0 ? kMinus : kNoSign;
    t.length = wsprintfW(t.text, u"%s%I64d.%02I64d", sign, static_cast<long long>(whole),
                         static_cast<long long>(cents));
    return t;
}

MoneyText FormatRate(LONG rawUnits) noexcept {
    MoneyText t{};
    const LONG whole = rawUnits / 10000;
    const LONG rest = static_cast<LONG>(Magnitude(rawUnits % 10000));
    const OLECHAR* sign = rawUnits < 0 && whole == 0 ? kMinus : kNoSign;
    t.length = wsprintfW(t.text, u"%s%ld.%04ld", sign, whole, rest);
    return t;
}

}  // namespace orv
