// BSTR layout: byte lengths, embedded NULs, null strings and reallocation from itself.
#include <orvdocs/platform/oleauto.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Bstr, OddByteLengthsKeepTheirBytesAndTerminator) {
    const char bytes[] = {'\x01', '\x00', '\xFF', '\x7F', '\x80'};
    BSTR s = SysAllocStringByteLen(bytes, 5);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringByteLen(s), 5u);
    EXPECT_EQ(SysStringLen(s), 2u);  // whole characters only
    const auto* raw = reinterpret_cast<const unsigned char*>(s);
    EXPECT_EQ(std::memcmp(raw, bytes, 5), 0);
    EXPECT_EQ(raw[5], 0);  // two NUL bytes follow the data
    EXPECT_EQ(raw[6], 0);
    std::uint32_t prefix;
    std::memcpy(&prefix, raw - 4, 4);  // the byte length sits just before the data
    EXPECT_EQ(prefix, 5u);

    const orv::Bstr copy(orv::Bstr::Attach(s));
    const orv::Bstr twice(copy);  // copies keep the odd length
    EXPECT_EQ(twice.ByteLength(), 5u);
    EXPECT_EQ(std::memcmp(twice.Get(), bytes, 5), 0);

    BSTR zeroed = SysAllocStringByteLen(nullptr, 3);  // no source: zero-filled
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(SysStringByteLen(zeroed), 3u);
    EXPECT_EQ(std::memcmp(zeroed, "\0\0\0\0\0", 5), 0);
    SysFreeString(zeroed);
}

// An odd-length string read as NUL-terminated wide text: the last data byte
// pairs with the first NUL byte, and the NUL character that ends the text must
// still lie inside the string's block (found by fuzzing SysReAllocString).
TEST(Bstr, OddByteLengthsReadAsWideTextStopInsideTheBlock) {
    for (const char* bytes : {"abcde", "a", "\x01\x02\x03"}) {
        const UINT n = static_cast<UINT>(std::strlen(bytes));
        orv::Bstr s = orv::Bstr::Attach(SysAllocStringByteLen(bytes, n));
        ASSERT_TRUE(s);
        // n / 2 whole characters, then the odd byte with a NUL high byte.
        EXPECT_EQ(orv::WStrLen(s.Get()), n / 2 + 1) << bytes;
        BSTR again = SysAllocString(s.Get());
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(SysStringLen(again), n / 2 + 1);
        EXPECT_EQ(reinterpret_cast<const unsigned char*>(again)[n - 1], static_cast<unsigned char>(bytes[n - 1]));
        ASSERT_TRUE(SysReAllocString(&again, s.Get()));
        EXPECT_EQ(SysStringLen(again), n / 2 + 1);
        SysFreeString(again);
    }
}

TEST(Bstr, EmbeddedNulsCountAndNullIsEmpty) {
    BSTR s = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[1], 0);
    EXPECT_EQ(s[2], u'b');
    EXPECT_EQ(s[3], 0);
    SysFreeString(s);
    s = SysAllocString(u"a\0b");  // a plain string ends at its first NUL
    EXPECT_EQ(SysStringLen(s), 1u);
    SysFreeString(s);

    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);
    BSTR blank = SysAllocStringLen(nullptr, 0);
    ASSERT_NE(blank, nullptr);  // an allocated empty string is not null
    EXPECT_EQ(blank[0], 0);
    SysFreeString(blank);
}

TEST(Bstr, ReallocationFromAPointerIntoItself) {
    BSTR s = SysAllocString(u"hello world");
    ASSERT_TRUE(SysReAllocString(&s, s + 6));
    EXPECT_EQ(std::u16string_view(s), u"world");
    EXPECT_EQ(SysStringLen(s), 5u);
    ASSERT_TRUE(SysReAllocStringLen(&s, s + 1, 3));
    EXPECT_EQ(std::u16string_view(s), u"orl");
    ASSERT_TRUE(SysReAllocStringLen(&s, s, 2));
    EXPECT_EQ(std::u16string_view(s), u"or");
    ASSERT_TRUE(SysReAllocString(&s, u"longer than before"));
    EXPECT_EQ(SysStringLen(s), 18u);
    SysFreeString(s);
    EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
}

}  // namespace
