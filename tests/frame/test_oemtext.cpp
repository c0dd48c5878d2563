// OEM text fields inside records and records carried in BSTRs.
#include "frame/oemtext.h"

#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using orv::Bstr;

constexpr char kGuard = static_cast<char>(0xCC);

// A field of the given width inside a buffer with guard bytes on both sides.
struct Field {
    explicit Field(std::size_t width) : width(width), bytes(width + 8, kGuard) {}
    char* data() { return bytes.data() + 4; }
    bool GuardsIntact() const {
        for (std::size_t i = 0; i < 4; ++i)
            if (bytes[i] != kGuard || bytes[4 + width + i] != kGuard) return false;
        return true;
    }
    std::u16string Read() {
        Bstr s = Bstr::Attach(orv::ReadOemField(data(), width));
        EXPECT_NE(s.Get(), nullptr);
        return std::u16string(s.View());
    }
    std::size_t width;
    std::vector<char> bytes;
};

TEST(OemField, KeepsAtMostWidthMinusOneCharacters) {
    Field f(33);
    const std::u16string forty(40, u'Z');
    orv::WriteOemField(f.data(), f.width, Bstr(forty));
    EXPECT_EQ(f.Read(), std::u16string(32, u'Z'));
    EXPECT_EQ(f.data()[32], '\0');
    EXPECT_TRUE(f.GuardsIntact());

    // Exactly width - 1 characters fit whole; one more loses the last.
    Field g(5);
    orv::WriteOemField(g.data(), g.width, Bstr(u"ABCD"));
    EXPECT_EQ(g.Read(), u"ABCD");
    orv::WriteOemField(g.data(), g.width, Bstr(u"VWXYZ"));
    EXPECT_EQ(g.Read(), u"VWXY");
    EXPECT_EQ(std::memcmp(g.data(), "VWXY\0", 5), 0);
    EXPECT_TRUE(g.GuardsIntact());
}

TEST(OemField, ShortTextClearsTheRestOfTheField) {
    Field f(10);
    orv::WriteOemField(f.data(), f.width, Bstr(u"123456789"));
    orv::WriteOemField(f.data(), f.width, Bstr(u"ab"));
    EXPECT_EQ(std::memcmp(f.data(), "ab\0\0\0\0\0\0\0\0", 10), 0);
    EXPECT_TRUE(f.GuardsIntact());
}

TEST(OemField, NullOrEmptyTextLeavesTheEmptyString) {
    Field f(8);
    orv::WriteOemField(f.data(), f.width, Bstr(u"filled"));
    orv::WriteOemField(f.data(), f.width, nullptr);
    EXPECT_EQ(f.Read(), u"");
    EXPECT_EQ(std::memcmp(f.data(), std::string(8, '\0').data(), 8), 0);

    orv::WriteOemField(f.data(), f.width, Bstr(u"filled"));
    orv::WriteOemField(f.data(), f.width, Bstr(u""));
    EXPECT_EQ(f.Read(), u"");
    EXPECT_TRUE(f.GuardsIntact());
}

TEST(OemField, TinyWidthsStayInside) {
    Field one(1);
    orv::WriteOemField(one.data(), 1, Bstr(u"ABC"));
    EXPECT_EQ(one.data()[0], '\0');
    EXPECT_TRUE(one.GuardsIntact());
    Field none(0);
    orv::WriteOemField(none.data(), 0, Bstr(u"ABC"));
    EXPECT_TRUE(none.GuardsIntact());
}

TEST(OemField, TextStopsAtAnEmbeddedNul) {
    Field f(10);
    orv::WriteOemField(f.data(), f.width, Bstr(std::u16string_view(u"AB\0CD", 5)));
    EXPECT_EQ(f.Read(), u"AB");
}

TEST(OemField, CyrillicUsesCodePage866) {
    Field f(46);
    orv::WriteOemField(f.data(), f.width, Bstr(u"Привет, Ёж №5"));
    const unsigned char expected[] = {0x8F, 0xE0, 0xA8, 0xA2, 0xA5, 0xE2, ',', ' ', 0xF0, 0xA6, ' ', 0xFC, '5', 0};
    EXPECT_EQ(std::memcmp(f.data(), expected, sizeof expected), 0);
    EXPECT_EQ(f.Read(), u"Привет, Ёж №5");
    // A character without an OEM form is stored as '?'.
    orv::WriteOemField(f.data(), f.width, Bstr(u"5€"));
    EXPECT_EQ(f.Read(), u"5?");
}

TEST(OemField, ReadingAFieldWithoutNulStopsAtItsWidth) {
    // Exactly four bytes on the heap: a read past them is caught by the sanitizer.
    auto bytes = std::make_unique<char[]>(4);
    std::memcpy(bytes.get(), "\x8F\x8E\x8B\x9F", 4);
    Bstr s = Bstr::Attach(orv::ReadOemField(bytes.get(), 4));
    EXPECT_EQ(s.View(), u"ПОЛЯ");
    EXPECT_EQ(orv::COemToWChar(bytes.get(), 4).Length(), 4u);
    EXPECT_EQ(std::u16string(orv::COemToWChar(bytes.get(), 2).Text()), u"ПО");
}

TEST(OemConverters, ConvertBothWaysAndOwnTheirBuffers) {
    orv::CTCharToOem oem(u"Иванов И.И.");
    EXPECT_EQ(oem.Length(), 11u);
    EXPECT_EQ(static_cast<unsigned char>(oem.Text()[0]), 0x88);
    orv::COemToWChar back(oem.Text());
    EXPECT_EQ(std::u16string(back.Text()), u"Иванов И.И.");
    Bstr b = Bstr::Attach(back.AllocBstr());
    EXPECT_EQ(b.View(), u"Иванов И.И.");

    // Null gives the empty text; a moved-from converter is empty, not dangling.
    EXPECT_STREQ(orv::CTCharToOem(nullptr).Text(), "");
    EXPECT_EQ(orv::COemToWChar(nullptr).Length(), 0u);
    orv::COemToWChar moved(std::move(back));
    EXPECT_EQ(std::u16string(moved.Text()), u"Иванов И.И.");
    EXPECT_EQ(back.Length(), 0u);
    EXPECT_EQ(back.Text()[0], u'\0');
}

TEST(RecordStrings, CarryAnyBytesIncludingOddLengths) {
    const unsigned char record[7] = {0x00, 0xFF, 0x10, 0x00, 0x80, 0x7F, 0x01};
    Bstr s = Bstr::Attach(orv::RecordToBstr(record, sizeof record));
    ASSERT_NE(s.Get(), nullptr);
    EXPECT_EQ(s.ByteLength(), 7u);
    EXPECT_EQ(std::memcmp(s.Get(), record, 7), 0);

    unsigned char copy[7] = {};
    EXPECT_EQ(orv::BstrToRecord(s, copy, sizeof copy), 7u);
    EXPECT_EQ(std::memcmp(copy, record, 7), 0);

    Bstr empty = Bstr::Attach(orv::RecordToBstr(record, 0));
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(empty.ByteLength(), 0u);
}

TEST(RecordStrings, ShortStringsCopyOnlyWhatTheyHold) {
    const char bytes[3] = {'a', 'b', 'c'};
    Bstr s = Bstr::Attach(orv::RecordToBstr(bytes, 3));
    char record[8];
    std::memset(record, 'x', sizeof record);
    EXPECT_EQ(orv::BstrToRecord(s, record, sizeof record), 3u);
    EXPECT_EQ(std::memcmp(record, "abcxxxxx", 8), 0);
    // A longer string fills only the record.
    EXPECT_EQ(orv::BstrToRecord(s, record, 2), 2u);
    EXPECT_EQ(orv::BstrToRecord(nullptr, record, sizeof record), 0u);
    EXPECT_EQ(std::memcmp(record, "abcxxxxx", 8), 0);
}

}  // namespace
