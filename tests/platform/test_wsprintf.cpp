// wsprintfW: money formats, widths and signs, argument sizes and the output cap.
#include <orvdocs/platform/text.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

// Formats into a roomy buffer and checks that the returned count is the text's length.
template <class... A>
std::u16string Format(const char16_t* format, A... args) {
    WCHAR buffer[1100];
    const int n = wsprintfW(buffer, format, args...);
    EXPECT_EQ(static_cast<std::size_t>(n), std::u16string(buffer).size()) << "returned count";
    return std::u16string(buffer);
}

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();

TEST(WsprintfW, MoneyAndRateFormats) {
    const char16_t* amount = u"%s%ld.%02ld";
    EXPECT_EQ(Format(amount, u"", std::int32_t{-123}, std::int32_t{45}), u"-123.45");
    EXPECT_EQ(Format(amount, u"-", std::int32_t{0}, std::int32_t{5}), u"-0.05");
    EXPECT_EQ(Format(amount, u"", std::int32_t{1}, std::int32_t{0}), u"1.00");
    EXPECT_EQ(Format(amount, u"", kMin32 / 100, std::int32_t{48}), u"-21474836.48");

    const char16_t* currency = u"%s%I64d.%02I64d";
    EXPECT_EQ(Format(currency, u"", std::int64_t{922337203685477}, std::int64_t{58}), u"922337203685477.58");
    EXPECT_EQ(Format(currency, u"-", std::int64_t{0}, std::int64_t{7}), u"-0.07");
    EXPECT_EQ(Format(currency, u"", std::int64_t{-5000000000}, std::int64_t{1}), u"-5000000000.01");

    EXPECT_EQ(Format(u"%s%ld.%04ld", u"", std::int32_t{1}, std::int32_t{2345}), u"1.2345");
    EXPECT_EQ(Format(u"%s%ld.%04ld", u"-", std::int32_t{0}, std::int32_t{12}), u"-0.0012");
}

TEST(WsprintfW, ZeroPaddingKeepsTheSignFirst) {
    EXPECT_EQ(Format(u"%02ld", std::int32_t{5}), u"05");
    EXPECT_EQ(Format(u"%02ld", std::int32_t{123}), u"123");
    EXPECT_EQ(Format(u"%02ld", std::int32_t{-5}), u"-5");
    EXPECT_EQ(Format(u"%04ld", std::int32_t{-5}), u"-005");
    EXPECT_EQ(Format(u"%04ld", std::int32_t{7}), u"0007");
    EXPECT_EQ(Format(u"%02I64d", std::int64_t{3}), u"03");
    EXPECT_EQ(Format(u"%02I64d", std::int64_t{-3}), u"-3");
    EXPECT_EQ(Format(u"%06I64d", std::int64_t{-42}), u"-00042");
    EXPECT_EQ(Format(u"%05x", 0xABu), u"000ab");
}

TEST(WsprintfW, WidthPrecisionAndLeftJustify) {
    EXPECT_EQ(Format(u"[%5d]", 42), u"[   42]");
    EXPECT_EQ(Format(u"[%-5d]", -42), u"[-42  ]");
    EXPECT_EQ(Format(u"[%-05d]", -42), u"[-42  ]");
    EXPECT_EQ(Format(u"[%.3d]", 7), u"[007]");
    EXPECT_EQ(Format(u"[%6.3d]", -7), u"[  -007]");
    EXPECT_EQ(Format(u"[%06.3d]", -7), u"[  -007]");
    EXPECT_EQ(Format(u"[%.0d]", 0), u"[]");
    EXPECT_EQ(Format(u"[%1d]", 12345), u"[12345]");
    EXPECT_EQ(Format(u"[%3c|%-3c]", u'x', u'Ж'), u"[  x|Ж  ]");
    EXPECT_EQ(Format(u"[%6s|%-6s|%.3s]", u"ab", u"ab", u"abcdef"), u"[    ab|ab    |abc]");
    EXPECT_EQ(Format(u"[%.2s]", static_cast<const char16_t*>(nullptr)), u"[(n]");
}

TEST(WsprintfW, ExtremesAndUnsignedViews) {
    EXPECT_EQ(Format(u"%d %ld %i", kMin32, kMin32, kMin32), u"-2147483648 -2147483648 -2147483648");
    EXPECT_EQ(Format(u"%I64d", kMin64), u"-9223372036854775808");
    EXPECT_EQ(Format(u"%I64d", kMax64), u"9223372036854775807");
    EXPECT_EQ(Format(u"%I64u", std::numeric_limits<std::uint64_t>::max()), u"18446744073709551615");
    EXPECT_EQ(Format(u"%u %lu", -1, std::int32_t{-2}), u"4294967295 4294967294");
    EXPECT_EQ(Format(u"%x %X %lx", -1, 0xBEEFu, std::int32_t{255}), u"ffffffff BEEF ff");
    EXPECT_EQ(Format(u"%I64x %I64X", std::int64_t{-1}, std::uint64_t{0xABCDEF0123}), u"ffffffffffffffff ABCDEF0123");
    // h takes the low 16 bits of the int argument.
    EXPECT_EQ(Format(u"%hd %hd %hu %hu", 40000, 70000, -1, 65541), u"-25536 4464 65535 5");
}

TEST(WsprintfW, EachPrefixConsumesItsOwnArgumentSize) {
    // A 32-bit LONG read as 64 bits, or the reverse, shifts every later argument.
    EXPECT_EQ(Format(u"%ld|%I64d|%ld|%hd|%s", std::int32_t{-1}, kMin64, std::int32_t{2}, -3, u"end"),
              u"-1|-9223372036854775808|2|-3|end");
    EXPECT_EQ(Format(u"%I64u|%d", std::uint64_t{1} << 40, 9), u"1099511627776|9");
}

TEST(WsprintfW, TextsCharactersAndLiterals) {
    EXPECT_EQ(Format(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
    EXPECT_EQ(Format(u"Дата %s, тип %ls", u"01.02.2024", u"ЖБ"), u"Дата 01.02.2024, тип ЖБ");
    EXPECT_EQ(Format(u"%c%c", u'Ё', 0x263A), u"Ё☺");
    EXPECT_EQ(Format(u"100%% %d%%", 5), u"100% 5%");
    // Narrow UTF-8 text and characters with the h prefix.
    EXPECT_EQ(Format(u"%hs|%.1hs|%hc", "Ёж😀", "😀x", 'q'), u"Ёж😀||q");
    // Not a conversion: copied as it stands, no argument taken.
    EXPECT_EQ(Format(u"%y %d %", 4), u"%y 4 %");
    EXPECT_EQ(Format(u"no conversions"), u"no conversions");
}

TEST(WsprintfW, OutputStopsAt1023CharactersAndTheNul) {
    const std::u16string longText(2000, u'a');
    WCHAR buffer[1100];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(wsprintfW(buffer, u"%s%d", longText.c_str(), 5), 1023);
    EXPECT_EQ(buffer[1022], u'a');
    EXPECT_EQ(buffer[1023], 0);
    EXPECT_EQ(buffer[1024], u'#');

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(wsprintfW(buffer, u"x%99999d", 1), 1023);
    EXPECT_EQ(buffer[1023], 0);
    EXPECT_EQ(buffer[1024], u'#');

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(wsprintfW(buffer, longText.c_str()), 1023);
    EXPECT_EQ(buffer[1024], u'#');

    EXPECT_EQ(wsprintfW(nullptr, u"%d", 1), 0);
    EXPECT_EQ(wsprintfW(buffer, nullptr), 0);
    EXPECT_EQ(buffer[0], 0);
}

}  // namespace
