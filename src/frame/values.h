// Stored forms of the automation values and the display texts of amounts.
//
// Records keep money as 32-bit hundredths, dates as 16-bit day numbers
// counted from 1960-12-31; the interfaces speak CURRENCY (value x 10000) and
// DATE (days since 1899-12-30). These functions map one onto the other. None
// of them fails, locks or keeps state; none allocates.
#pragma once

#include <orvdocs/platform/types.h>

#include <string_view>

namespace orv {

// The automation date of 1960-12-31: day number d stands for DATE d + 22281.
inline constexpr double kDayNumberEpoch = 22281.0;

// ----------------------------------------------------------------- money

// Hundredths to CURRENCY: h x 100, exact.
CY HundredthsToCurrency(LONG hundredths) noexcept;

// CURRENCY to hundredths, halves away from zero (0.005 -> 1, -0.005 -> -1).
// The result is the low 32 bits of the rounded 64-bit count: amounts beyond
// the 32-bit range wrap, they are not clamped.
LONG CurrencyToHundredths(CY value) noexcept;

// The same rounding, kept as CURRENCY: the value rounded to whole hundredths,
// halves away from zero (1.2350 -> 1.2400, -0.0050 -> -0.0100).
CY RoundCurrencyToHundredths(CY value) noexcept;

// Currency times a factor: the raw units times the factor in double, cut
// towards zero to whole raw units, then rounded to hundredths as above
// (1200.0000 x 1/12 -> 100.0000). A product that is not a number or does not
// fit 64 bits gives the raw value INT64_MIN before the rounding.
CY MultiplyCurrency(CY value, double factor) noexcept;

// Raw currency units from a double, cut toward zero; a value that is not a
// number or does not fit 64 bits gives INT64_MIN (the processor's outcome).
LONGLONG TruncateToRawUnits(double value) noexcept;

// 64-bit sums and products of raw units that wrap instead of overflowing.
constexpr LONGLONG WrapAdd(LONGLONG a, LONGLONG b) noexcept {
    return static_cast<LONGLONG>(static_cast<unsigned long long>(a) + static_cast<unsigned long long>(b));
}
constexpr LONGLONG WrapSub(LONGLONG a, LONGLONG b) noexcept {
    return static_cast<LONGLONG>(static_cast<unsigned long long>(a) - static_cast<unsigned long long>(b));
}
constexpr LONGLONG WrapMul(LONGLONG a, LONGLONG b) noexcept {
    return static_cast<LONGLONG>(static_cast<unsigned long long>(a) * static_cast<unsigned long long>(b));
}

// ----------------------------------------------------------------- dates

// Day number to DATE: 0 -> 0.0, otherwise d + 22281.0 (with d's sign).
DATE DayNumberToDate(SHORT dayNumber) noexcept;

// DATE to day number: 0.0 -> 0; otherwise the date cut towards zero to a
// whole day, minus 22281, low 16 bits kept (the time of day is lost, days
// outside the 16-bit range wrap). A date that is not a number, or whose
// whole part does not fit 32 bits, counts as the whole day INT32_MIN; it is
// not taken for "no date" (the stored day number is then -22281).
SHORT DateToDayNumber(DATE date) noexcept;

// ----------------------------------------------------------- money texts

// A display text of an amount, held in place (no allocation). The longest
// text, that of INT64_MIN raw currency units, has 20 characters.
struct MoneyText {
    OLECHAR text[32];
    int length;

    const OLECHAR* c_str() const noexcept { return text; }
    std::u16string_view view() const noexcept { return {text, static_cast<std::size_t>(length)}; }
};

// "[-]int.ff" from hundredths: -12345 -> "-123.45", -5 -> "-0.05", 100 -> "1.00".
MoneyText FormatHundredths(LONG hundredths) noexcept;
// "[-]int.ff" from CURRENCY, cut (not rounded) to hundredths: 1.2399 -> "1.23".
MoneyText FormatCurrency(CY value) noexcept;
// "[-]int.ffff" from a rate held as raw currency units: 12345 -> "1.2345".
MoneyText FormatRate(LONG rawUnits) noexcept;

// Small helpers for CURRENCY values in our own code.
constexpr CY MakeCurrency(LONGLONG raw) noexcept {
    CY c{};
    c.int64 = raw;
    return c;
}

}  // namespace orv
