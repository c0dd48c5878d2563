// Reading currency, double and long values from attribute texts and variants.
#include "xml/lenient.h"

#include "frame/values.h"

#include <orvdocs/platform/registry.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr const char16_t* kInternational = u"Control Panel\\International";

// Sets or removes the user's currency symbol and makes the readers see it.
class Readers : public ::testing::Test {
protected:
    void SetUp() override { RemoveSymbol(); }
    void TearDown() override { RemoveSymbol(); }

    static void SetSymbol(std::u16string_view symbol) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kInternational, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        const std::u16string text(symbol);
        ASSERT_EQ(RegSetValueExW(key, u"sCurrency", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(char16_t))),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        orv::ResetUserCurrencySymbolForTesting();
    }
    static void RemoveSymbol() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kInternational, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, u"sCurrency");
            RegCloseKey(key);
        }
        orv::ResetUserCurrencySymbolForTesting();
    }

    static LONGLONG Cy(std::u16string_view text) { return orv::ReadCurrencyLenient(text).int64; }
    static double Dbl(std::u16string_view text) { return orv::ReadDoubleLenient(text); }
};

using CurrencyReader = Readers;
using DoubleReader = Readers;
using LongReader = Readers;
using VariantRules = Readers;

TEST_F(CurrencyReader, WorkedExamples) {
    EXPECT_EQ(Cy(u"1 234,5"), 12345000);
    EXPECT_EQ(Cy(u"1,234.56"), 12345600);
    EXPECT_EQ(Cy(u"12.345678"), 123456);
    EXPECT_EQ(Cy(u"1.234,56"), 12345);  // the point wins
    EXPECT_EQ(Cy(u"-5"), -50000);
}

TEST_F(CurrencyReader, SeparatorIsTheFirstPointElseTheFirstComma) {
    EXPECT_EQ(Cy(u"0,5"), 5000);
    EXPECT_EQ(Cy(u"1.5.5"), 15500);     // a second point is just ignored
    EXPECT_EQ(Cy(u"1,2,3"), 12300);
    EXPECT_EQ(Cy(u".25"), 2500);
    EXPECT_EQ(Cy(u"7."), 70000);
    EXPECT_EQ(Cy(u"12 345"), 123450000);  // no separator: an integer
    EXPECT_EQ(Cy(u""), 0);
    EXPECT_EQ(Cy(u"abc"), 0);
}

TEST_F(CurrencyReader, AnyMinusMakesItNegativeUntilTheFractionIsFull) {
    EXPECT_EQ(Cy(u"5-"), -50000);
    EXPECT_EQ(Cy(u"--5"), -50000);  // minus twice is still negative
    EXPECT_EQ(Cy(u"1.5-"), -15000);
    EXPECT_EQ(Cy(u"(1-)"), -10000);
    EXPECT_EQ(Cy(u"+5"), 50000);
    // After the fourth decimal the rest of the text is dropped, signs included.
    EXPECT_EQ(Cy(u"1.23456-"), 12345);
    EXPECT_EQ(Cy(u"1.2345-"), 12345);
    EXPECT_EQ(Cy(u"1.234-5"), -12345);
}

TEST_F(CurrencyReader, MoreThanFourDecimalsAreCutNotRounded) {
    EXPECT_EQ(Cy(u"0.99999"), 9999);
    EXPECT_EQ(Cy(u"-0.00005"), 0);
    EXPECT_EQ(Cy(u"2.00019"), 20001);
}

TEST_F(CurrencyReader, ReadsAtMost39Characters) {
    const std::u16string forty = u"1" + std::u16string(38, u' ') + u"5";
    EXPECT_EQ(Cy(forty), 10000);
    EXPECT_EQ(Cy(forty.substr(0, 38) + u"5"), 150000);
    EXPECT_EQ(Cy(std::u16string_view(u"12\0" u"34", 5)), 120000);  // ends at a NUL
}

TEST_F(CurrencyReader, RemovesTheFirstCurrencySymbol) {
    // Without a symbol the point of "р." is taken for the separator.
    EXPECT_EQ(Cy(u"1 234,50 р."), 1234500000);
    SetSymbol(u"р.");
    EXPECT_EQ(orv::UserCurrencySymbol(), u"р.");
    EXPECT_EQ(Cy(u"1 234,50 р."), 12345000);
    EXPECT_EQ(Cy(u"р.-12,5"), -125000);
    EXPECT_EQ(Cy(u"12.5"), 125000);  // a text without the symbol is read as is

    SetSymbol(u"$");
    EXPECT_EQ(Cy(u"$1$2"), 120000);  // only the first occurrence goes
    // The symbol is removed before the text is cut to 39 characters.
    const std::u16string forty = u"$1" + std::u16string(37, u' ') + u"5";
    EXPECT_EQ(Cy(forty), 150000);
}

TEST_F(CurrencyReader, SymbolIsReadOncePerProcess) {
    SetSymbol(u"$");
    EXPECT_EQ(Cy(u"$3.5"), 35000);
    // Changed behind the reader's back: the kept symbol still applies.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kInternational, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const char16_t euro[] = u"€";
    ASSERT_EQ(RegSetValueExW(key, u"sCurrency", 0, REG_SZ, reinterpret_cast<const BYTE*>(euro), sizeof euro),
              ERROR_SUCCESS);
    EXPECT_EQ(orv::UserCurrencySymbol(), u"$");
    orv::ResetUserCurrencySymbolForTesting();
    EXPECT_EQ(orv::UserCurrencySymbol(), u"€");

    // A value that is not a text counts as no symbol.
    const DWORD number = 36;
    ASSERT_EQ(RegSetValueExW(key, u"sCurrency", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);
    RegCloseKey(key);
    orv::ResetUserCurrencySymbolForTesting();
    EXPECT_EQ(orv::UserCurrencySymbol(), u"");
}

TEST_F(DoubleReader, WorkedExamplesKeepEveryDecimal) {
    EXPECT_EQ(Dbl(u"1 234,5"), 1234.5);
    EXPECT_EQ(Dbl(u"1,234.56"), 1234.56);
    EXPECT_EQ(Dbl(u"12.345678"), 12.345678);
    EXPECT_EQ(Dbl(u"1.234,56"), 1.23456);
    EXPECT_EQ(Dbl(u"-5"), -5.0);
    EXPECT_EQ(Dbl(u"45000.75"), 45000.75);
    EXPECT_EQ(Dbl(u"0.1"), 0.1);
    EXPECT_EQ(Dbl(u"0,05"), 0.05);
    EXPECT_EQ(Dbl(u""), 0.0);
}

TEST_F(DoubleReader, ExponentsScaleByPowersOfTen) {
    EXPECT_EQ(Dbl(u"1.5e3"), 1500.0);
    EXPECT_EQ(Dbl(u"1.5E-3"), 0.0015);
    EXPECT_EQ(Dbl(u"2e+2"), 200.0);
    EXPECT_EQ(Dbl(u"1E+20"), 1e20);
    EXPECT_EQ(Dbl(u"1,5e2"), 150.0);
    EXPECT_EQ(Dbl(u"-1e2"), -100.0);
    EXPECT_EQ(Dbl(u"1e-2"), 0.01);  // the exponent's minus does not negate the value
    EXPECT_EQ(Dbl(u"5e"), 5.0);
    EXPECT_EQ(Dbl(u"e5"), 0.0);
    EXPECT_EQ(Dbl(u"1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Dbl(u"-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Dbl(u"1e-400"), 0.0);
    EXPECT_EQ(Dbl(u"1e99999999999999999999"), std::numeric_limits<double>::infinity());
}

// What the platform writes for the values without digits reads back as them,
// so an infinite attribute stays infinite through a write and a read.
TEST_F(DoubleReader, ThePlatformsWordsForValuesWithoutDigitsComeBack) {
    for (double value : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN(), Dbl(u"1e400")}) {
        orv::Variant number(value), text;
        ASSERT_EQ(VariantChangeType(&text, &number, 0, VT_BSTR), S_OK);
        const double back = Dbl(std::u16string(text.bstrVal, SysStringLen(text.bstrVal)));
        if (std::isnan(value)) EXPECT_TRUE(std::isnan(back));
        else EXPECT_EQ(back, value);
    }
    // The largest doubles are written with 15 digits, a little past DBL_MAX;
    // they read back as DBL_MAX, as the platform reads them.
    for (double value : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()}) {
        orv::Variant number(value), text, platform;
        ASSERT_EQ(VariantChangeType(&text, &number, 0, VT_BSTR), S_OK);
        const std::u16string written(text.bstrVal, SysStringLen(text.bstrVal));
        ASSERT_EQ(VariantChangeType(&platform, &text, 0, VT_R8), S_OK);
        EXPECT_EQ(Dbl(written), platform.dblVal);
        EXPECT_EQ(Dbl(written), value);
    }
    EXPECT_EQ(Dbl(u"179769313486232" + std::u16string(294, u'0')), std::numeric_limits<double>::max());
    EXPECT_EQ(Dbl(u"179769313486232" + std::u16string(30, u'0') + u"1" + std::u16string(263, u'0')),
              std::numeric_limits<double>::infinity());  // past it by a digit the reader does not keep
    EXPECT_EQ(Dbl(u"1.79769313486233E+308"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Dbl(u" -infinity\t"), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(Dbl(u"nan")));
    // Only the whole word: anything else is read by the usual rules.
    EXPECT_EQ(Dbl(u"Infinity1"), 1.0);
    EXPECT_EQ(Dbl(u"Inf"), 0.0);
    EXPECT_EQ(Dbl(u"NaN-5"), -5.0);
    EXPECT_EQ(orv::ReadLongLenient(u"Infinity"), 2147483647);
    EXPECT_EQ(orv::ReadLongLenient(u"NaN"), 0);
}

TEST_F(DoubleReader, SignsSeparatorsAndLongDigitRuns) {
    EXPECT_EQ(Dbl(u"1.5-"), -1.5);
    EXPECT_EQ(Dbl(u"--2"), -2.0);
    EXPECT_EQ(Dbl(u"1.2.3"), 1.23);
    EXPECT_EQ(Dbl(u"3 р."), 3.0);  // the double reader removes no symbol
    EXPECT_EQ(Dbl(u"0.1234567890123456789012345"), 0.1234567890123456789012345);
    EXPECT_EQ(Dbl(u"1" + std::u16string(50, u'0')), 1e50);
    EXPECT_EQ(Dbl(u"0." + std::u16string(50, u'0') + u"1"), 1e-51);
    EXPECT_EQ(Dbl(u"-0"), 0.0);
    EXPECT_FALSE(std::signbit(Dbl(u"-0")));
}

TEST_F(LongReader, ReadsNumbersCutTowardsZero) {
    EXPECT_EQ(orv::ReadLongLenient(u"42"), 42);
    EXPECT_EQ(orv::ReadLongLenient(u"-7.9"), -7);
    EXPECT_EQ(orv::ReadLongLenient(u"1e3"), 1000);
    EXPECT_EQ(orv::ReadLongLenient(u"2147483647"), 2147483647);
    EXPECT_EQ(orv::ReadLongLenient(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(orv::ReadLongLenient(u"99999999999"), 2147483647);
    EXPECT_EQ(orv::ReadLongLenient(u"-99999999999"), -2147483647 - 1);
    EXPECT_EQ(orv::ReadLongLenient(u""), 0);
    // Only the first 56 characters count.
    const std::u16string text = u"1" + std::u16string(55, u' ') + u"9";
    EXPECT_EQ(orv::ReadLongLenient(text), 1);
    EXPECT_EQ(orv::ReadLongLenient(text.substr(1)), 9);
}

TEST_F(VariantRules, NothingAndEmptyTextReadAsZero) {
    orv::Variant empty, null;
    null.vt = VT_NULL;
    orv::Variant blank(std::u16string_view(u""));
    orv::Variant nullText;
    nullText.vt = VT_BSTR;
    nullText.bstrVal = nullptr;
    for (const VARIANT* v : {static_cast<const VARIANT*>(&empty), static_cast<const VARIANT*>(&null),
                             static_cast<const VARIANT*>(&blank), static_cast<const VARIANT*>(&nullText)}) {
        EXPECT_EQ(orv::VariantToCurrencyLenient(*v).int64, 0);
        EXPECT_EQ(orv::VariantToDoubleLenient(*v), 0.0);
        EXPECT_EQ(orv::VariantToLongLenient(*v), 0);
    }
}

TEST_F(VariantRules, TextGoesThroughTheLenientReaders) {
    SetSymbol(u"р.");
    orv::Variant text(std::u16string_view(u"1 234,56 р."));
    EXPECT_EQ(orv::VariantToCurrencyLenient(text).int64, 12345600);
    orv::Variant grouped(std::u16string_view(u"1 234,5"));
    EXPECT_EQ(orv::VariantToDoubleLenient(grouped), 1234.5);
    EXPECT_EQ(orv::VariantToLongLenient(grouped), 1234);

    // A variant by reference is followed.
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.pvarVal = &grouped;
    EXPECT_EQ(orv::VariantToCurrencyLenient(ref).int64, 12345000);
    BSTR s = grouped.bstrVal;
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &s;
    EXPECT_EQ(orv::VariantToDoubleLenient(ref), 1234.5);
}

TEST_F(VariantRules, OtherTypesUseTheVariantConversion) {
    orv::Variant i4(LONG{7});
    EXPECT_EQ(orv::VariantToCurrencyLenient(i4).int64, 70000);
    EXPECT_EQ(orv::VariantToDoubleLenient(i4), 7.0);
    orv::Variant i2(SHORT{-3});
    EXPECT_EQ(orv::VariantToLongLenient(i2), -3);
    orv::Variant r8(2.5);
    EXPECT_EQ(orv::VariantToCurrencyLenient(r8).int64, 25000);
    orv::Variant cy(orv::MakeCurrency(-12345));
    EXPECT_EQ(orv::VariantToCurrencyLenient(cy).int64, -12345);
    EXPECT_EQ(orv::VariantToDoubleLenient(cy), -1.2345);
    // A value the conversion refuses reads as 0.
    orv::Variant error;
    error.vt = VT_ERROR;
    error.scode = DISP_E_PARAMNOTFOUND;
    EXPECT_EQ(orv::VariantToCurrencyLenient(error).int64, 0);
    EXPECT_EQ(orv::VariantToDoubleLenient(error), 0.0);
    EXPECT_EQ(orv::VariantToLongLenient(error), 0);
}

}  // namespace
