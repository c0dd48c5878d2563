// Money, date and display-text conversions between records and interfaces.
#include "frame/values.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using orv::CurrencyToHundredths;
using orv::DateToDayNumber;
using orv::DayNumberToDate;
using orv::HundredthsToCurrency;
using orv::MakeCurrency;

constexpr std::int64_t kI64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kI64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kI32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kI32Min = std::numeric_limits<std::int32_t>::min();

LONG Round(std::int64_t raw) { return CurrencyToHundredths(MakeCurrency(raw)); }
std::int64_t RoundCy(std::int64_t raw) { return orv::RoundCurrencyToHundredths(MakeCurrency(raw)).int64; }
std::int64_t Times(std::int64_t raw, double f) { return orv::MultiplyCurrency(MakeCurrency(raw), f).int64; }

// Days between 1899-12-30 and a calendar date, computed independently.
double OleDate(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return static_cast<double>(
        (sys_days(year{y} / month{m} / day{d}) - sys_days(year{1899} / December / 30)).count());
}

TEST(Hundredths, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(Round(149999), 1500);
    EXPECT_EQ(Round(-149999), -1500);
    EXPECT_EQ(Round(49), 0);
    EXPECT_EQ(Round(-49), 0);
    EXPECT_EQ(Round(50), 1);
    EXPECT_EQ(Round(-50), -1);
    EXPECT_EQ(Round(150), 2);
    EXPECT_EQ(Round(-150), -2);
    EXPECT_EQ(Round(149), 1);
    EXPECT_EQ(Round(-149), -1);
    EXPECT_EQ(Round(12345 * 100 + 50), 12346);   // 1234.565 -> 1234.57
    EXPECT_EQ(Round(0), 0);
}

TEST(Hundredths, ToCurrencyIsExactAcrossTheWholeRange) {
    EXPECT_EQ(HundredthsToCurrency(kI32Max).int64, std::int64_t{kI32Max} * 100);
    EXPECT_EQ(HundredthsToCurrency(kI32Min).int64, std::int64_t{kI32Min} * 100);
    EXPECT_EQ(HundredthsToCurrency(-1).int64, -100);
    for (LONG h : {kI32Min, kI32Min + 1, -1, 0, 1, kI32Max - 1, kI32Max})
        EXPECT_EQ(CurrencyToHundredths(HundredthsToCurrency(h)), h) << h;
}

TEST(Hundredths, AmountsBeyondThirtyTwoBitsWrapToTheLowWord) {
    EXPECT_EQ(Round(std::int64_t{kI32Max} * 100 + 49), kI32Max);
    EXPECT_EQ(Round(std::int64_t{kI32Max} * 100 + 50), kI32Min);  // one past the top
    EXPECT_EQ(Round(std::int64_t{kI32Min} * 100 - 50), kI32Max);  // one below the bottom
    EXPECT_EQ(Round(300000000000), 3000000000LL - (1LL << 32));  // 30 000 000.00
    // The extremes of CURRENCY round without overflowing.
    EXPECT_EQ(Round(kI64Max), static_cast<LONG>(kI64Max / 100));
    EXPECT_EQ(Round(kI64Min), static_cast<LONG>(kI64Min / 100));
}

TEST(CurrencyRounding, KeepsWholeHundredths) {
    EXPECT_EQ(RoundCy(12350), 12400);
    EXPECT_EQ(RoundCy(12349), 12300);
    EXPECT_EQ(RoundCy(-50), -100);
    EXPECT_EQ(RoundCy(-49), 0);
    EXPECT_EQ(RoundCy(kI64Max), 9223372036854775800);
    EXPECT_EQ(RoundCy(kI64Min), -9223372036854775800);
}

TEST(CurrencyRounding, TimesAFactorCutsThenRounds) {
    EXPECT_EQ(Times(12000000, 1.0 / 12), 1000000);  // 1200.0000 x 1/12 = 100.0000
    EXPECT_EQ(Times(300, 0.5), 200);                // 0.0300 x 0.5 = 0.0200
    EXPECT_EQ(Times(-300, 0.5), -200);
    // 49.99 raw units are cut to 49 before rounding, so nothing is left;
    // rounding the product first would give 0.0100.
    EXPECT_EQ(Times(100, 0.4999), 0);
    EXPECT_EQ(Times(-100, 0.4999), 0);
    EXPECT_EQ(Times(100, 0.5), 100);
    EXPECT_EQ(Times(123456789, 0.0), 0);
    // Products outside 64 bits and not-a-number behave like the processor's
    // conversion (the smallest integer) and do not trap.
    EXPECT_EQ(Times(10000, std::nan("")), -9223372036854775800);
    EXPECT_EQ(Times(kI64Max, 4.0), -9223372036854775800);
    EXPECT_EQ(Times(10000, -std::numeric_limits<double>::infinity()), -9223372036854775800);
}

TEST(DayNumbers, ZeroMeansNoDate) {
    EXPECT_EQ(DateToDayNumber(0.0), 0);
    EXPECT_EQ(DateToDayNumber(-0.0), 0);
    EXPECT_EQ(DayNumberToDate(0), 0.0);
    // 1960-12-31 is day 0 and so cannot be stored: it reads back as no date.
    EXPECT_EQ(OleDate(1960, 12, 31), 22281.0);
    EXPECT_EQ(DateToDayNumber(22281.0), 0);
    EXPECT_EQ(DayNumberToDate(DateToDayNumber(22281.0)), 0.0);
}

TEST(DayNumbers, DropTheTimeOfDay) {
    EXPECT_EQ(DateToDayNumber(45000.75), 22719);
    EXPECT_EQ(DayNumberToDate(22719), 45000.0);
    EXPECT_EQ(DateToDayNumber(45000.999999), 22719);
    EXPECT_EQ(DateToDayNumber(OleDate(1961, 1, 1)), 1);
    EXPECT_EQ(DateToDayNumber(OleDate(2024, 3, 1)), 23071);
    // Before 1899-12-30 the whole part is cut towards zero, not down.
    EXPECT_EQ(DateToDayNumber(-10487.5), -32768);
    EXPECT_EQ(DateToDayNumber(0.25), -22281);
}

TEST(DayNumbers, CoverSixteenBitsAndWrapBeyond) {
    EXPECT_EQ(DayNumberToDate(32767), OleDate(2050, 9, 17));
    EXPECT_EQ(DayNumberToDate(-32768), OleDate(1871, 4, 14));
    EXPECT_EQ(DateToDayNumber(OleDate(2050, 9, 17)), 32767);
    EXPECT_EQ(DateToDayNumber(OleDate(1871, 4, 14)), -32768);
    // One day past either end wraps to the other end.
    EXPECT_EQ(DateToDayNumber(OleDate(2050, 9, 18)), -32768);
    EXPECT_EQ(DayNumberToDate(DateToDayNumber(OleDate(2050, 9, 18))), OleDate(1871, 4, 14));
    EXPECT_EQ(DateToDayNumber(OleDate(1871, 4, 13)), 32767);
    EXPECT_EQ(DateToDayNumber(22281.0 + 65536.0 + 5.0), 5);
    for (int d = -32768; d <= 32767; d += 97)
        EXPECT_EQ(DateToDayNumber(DayNumberToDate(static_cast<SHORT>(d))), d) << d;
}

TEST(DayNumbers, NotANumberIsNotTakenForNoDate) {
    const SHORT nan = DateToDayNumber(std::nan(""));
    EXPECT_NE(nan, 0);
    EXPECT_EQ(nan, -22281);
    EXPECT_EQ(DateToDayNumber(std::numeric_limits<double>::infinity()), -22281);
    EXPECT_EQ(DateToDayNumber(1e12), -22281);
    EXPECT_EQ(DateToDayNumber(-1e12), -22281);
}

std::u16string Text(const orv::MoneyText& t) {
    EXPECT_EQ(t.text[t.length], u'\0');
    return std::u16string(t.view());
}

TEST(MoneyTexts, FromHundredths) {
    EXPECT_EQ(Text(orv::FormatHundredths(-12345)), u"-123.45");
    EXPECT_EQ(Text(orv::FormatHundredths(-5)), u"-0.05");
    EXPECT_EQ(Text(orv::FormatHundredths(100)), u"1.00");
    EXPECT_EQ(Text(orv::FormatHundredths(0)), u"0.00");
    EXPECT_EQ(Text(orv::FormatHundredths(-100)), u"-1.00");
    EXPECT_EQ(Text(orv::FormatHundredths(-99)), u"-0.99");
    EXPECT_EQ(Text(orv::FormatHundredths(7)), u"0.07");
    EXPECT_EQ(Text(orv::FormatHundredths(kI32Max)), u"21474836.47");
    EXPECT_EQ(Text(orv::FormatHundredths(kI32Min)), u"-21474836.48");
}

TEST(MoneyTexts, FromCurrencyCutToHundredths) {
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(1234500))), u"123.45");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(12399))), u"1.23");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(-500))), u"-0.05");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(-12345678912))), u"-1234567.89");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(-50))), u"-0.00");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(0))), u"0.00");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(kI64Max))), u"922337203685477.58");
    EXPECT_EQ(Text(orv::FormatCurrency(MakeCurrency(kI64Min))), u"-922337203685477.58");
}

TEST(MoneyTexts, RatesWithFourPlaces) {
    EXPECT_EQ(Text(orv::FormatRate(12345)), u"1.2345");
    EXPECT_EQ(Text(orv::FormatRate(5)), u"0.0005");
    EXPECT_EQ(Text(orv::FormatRate(-5)), u"-0.0005");
    EXPECT_EQ(Text(orv::FormatRate(-10000)), u"-1.0000");
    EXPECT_EQ(Text(orv::FormatRate(kI32Min)), u"-214748.3648");
}

}  // namespace
