// Code page 866 conversions, checked against the C library's own converter.
#include <orvdocs/platform/text.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>
#include <vector>

namespace {

// One conversion descriptor per direction, closed at the end of the test.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Converts the input; false when the converter rejects it.
    bool Convert(const void* in, std::size_t inBytes, void* out, std::size_t outBytes, std::size_t* written) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* ip = static_cast<char*>(const_cast<void*>(in));
        char* op = static_cast<char*>(out);
        const std::size_t outStart = outBytes;
        const std::size_t r = iconv(cd_, &ip, &inBytes, &op, &outBytes);
        *written = outStart - outBytes;
        return r != static_cast<std::size_t>(-1) && inBytes == 0;
    }

private:
    iconv_t cd_;
};

TEST(Oem866, EveryByteMatchesTheSystemConverterAndComesBack) {
    Iconv toWide("UTF-16LE", "CP866");
    ASSERT_TRUE(toWide.ok()) << "the C library has no CP866 converter: " << std::strerror(errno);

    char all[256];
    for (int b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
    WCHAR wide[257];
    wide[256] = u'#';
    ASSERT_TRUE(OemToCharBuffW(all, wide, 256));
    EXPECT_EQ(wide[256], u'#');

    for (int b = 0; b < 256; ++b) {
        unsigned char in = static_cast<unsigned char>(b);
        unsigned char out[4] = {};
        std::size_t written = 0;
        ASSERT_TRUE(toWide.Convert(&in, 1, out, sizeof out, &written)) << "byte " << b;
        ASSERT_EQ(written, 2u) << "byte " << b;
        const char16_t expected = static_cast<char16_t>(out[0] | (out[1] << 8));
        EXPECT_EQ(wide[b], expected) << "byte 0x" << std::hex << b;
    }

    char back[257];
    back[256] = '#';
    ASSERT_TRUE(CharToOemBuffW(wide, back, 256));
    EXPECT_EQ(std::memcmp(back, all, 256), 0);
    EXPECT_EQ(back[256], '#');
}

TEST(Oem866, EveryUtf16UnitMapsAsTheSystemConverterDoesOrBecomesQuestionMark) {
    Iconv toOem("CP866", "UTF-16LE");
    ASSERT_TRUE(toOem.ok());

    std::vector<WCHAR> units(0x10000);
    for (std::size_t u = 0; u < units.size(); ++u) units[u] = static_cast<WCHAR>(u);
    std::vector<char> oem(units.size());
    ASSERT_TRUE(CharToOemBuffW(units.data(), oem.data(), static_cast<DWORD>(units.size())));

    int mapped = 0;
    for (unsigned u = 0; u < 0x10000; ++u) {
        char expected = '?';
        if (u < 0xD800 || u > 0xDFFF) {
            const unsigned char in[2] = {static_cast<unsigned char>(u & 0xFF), static_cast<unsigned char>(u >> 8)};
            char out[4];
            std::size_t written = 0;
            if (toOem.Convert(in, 2, out, sizeof out, &written)) {
                ASSERT_EQ(written, 1u);
                expected = out[0];
                ++mapped;
            }
        }
        ASSERT_EQ(oem[u], expected) << "unit U+" << std::hex << u;
    }
    // Every byte has exactly one source character.
    EXPECT_EQ(mapped, 256);
}

TEST(Oem866, CyrillicTextRoundTripsThroughTheTerminatedForms) {
    const char16_t* texts[] = {u"Запрещено менять тип документа", u"Ёлка ёжик №5 ░▒▓ ╔═╗ √°", u"ЖЩЪЫЬЭЮЯ жщъыьэюя"};
    for (const char16_t* text : texts) {
        const std::u16string original(text);
        std::string oem(original.size() + 2, 'X');
        ASSERT_TRUE(CharToOemW(text, oem.data()));
        EXPECT_EQ(OemStrLen(oem.data()), original.size());
        EXPECT_EQ(oem[original.size() + 1], 'X') << "wrote past the NUL";

        std::u16string wide(original.size() + 2, u'X');
        ASSERT_TRUE(OemToCharW(oem.data(), wide.data()));
        EXPECT_EQ(wide.substr(0, original.size() + 1), original + u'\0');
        EXPECT_EQ(wide[original.size() + 1], u'X') << "wrote past the NUL";
    }
}

TEST(Oem866, KnownBytesAndUnmappedCharacters) {
    char oem[32];
    ASSERT_TRUE(CharToOemW(u"Зап Ёё№", oem));
    EXPECT_STREQ(oem, "\x87\xA0\xAF \xF0\xF1\xFC");

    // Latin letters with accents, the euro, CJK and each half of a surrogate
    // pair have no form: one '?' per UTF-16 unit, so lengths are kept.
    ASSERT_TRUE(CharToOemW(u"é€六😀a", oem));
    EXPECT_STREQ(oem, "?????a");
}

TEST(Oem866, BufferFormsConvertExactlyTheCountIncludingNuls) {
    const WCHAR src[] = {u'a', u'Ж', 0, u'b', 0, u'я'};
    char dst[8];
    std::memset(dst, 'X', sizeof dst);
    ASSERT_TRUE(CharToOemBuffW(src, dst, 6));
    EXPECT_EQ(std::string(dst, 7), std::string("a\x86\0b\0\xEFX", 7));

    WCHAR wide[8];
    std::fill(std::begin(wide), std::end(wide), u'X');
    ASSERT_TRUE(OemToCharBuffW(dst, wide, 6));
    EXPECT_EQ(std::u16string(wide, 7), std::u16string(src, 6) + u'X');

    // Zero characters: nothing is written.
    ASSERT_TRUE(CharToOemBuffW(src, dst, 0));
    EXPECT_EQ(dst[0], 'a');

    // The terminated forms stop at the first NUL and write it.
    std::memset(dst, 'X', sizeof dst);
    ASSERT_TRUE(CharToOemW(src, dst));
    EXPECT_EQ(std::string(dst, 4), std::string("a\x86\0X", 4));
    std::fill(std::begin(wide), std::end(wide), u'X');
    ASSERT_TRUE(OemToCharW("b\0c", wide));
    EXPECT_EQ(std::u16string(wide, 3), std::u16string(u"b\0X", 3));
}

TEST(Oem866, NullPointersAreRefused) {
    char oem[4] = "abc";
    WCHAR wide[4] = u"abc";
    EXPECT_FALSE(CharToOemW(nullptr, oem));
    EXPECT_FALSE(CharToOemW(u"x", nullptr));
    EXPECT_FALSE(CharToOemBuffW(nullptr, oem, 1));
    EXPECT_FALSE(CharToOemBuffW(u"x", nullptr, 1));
    EXPECT_FALSE(OemToCharW(nullptr, wide));
    EXPECT_FALSE(OemToCharW("x", nullptr));
    EXPECT_FALSE(OemToCharBuffW(nullptr, wide, 1));
    EXPECT_FALSE(OemToCharBuffW("x", nullptr, 1));
    EXPECT_STREQ(oem, "abc");
    EXPECT_EQ(std::u16string(wide), u"abc");

    EXPECT_EQ(OemStrLen(nullptr), 0u);
    EXPECT_EQ(OemStrLen(""), 0u);
    EXPECT_EQ(OemStrLen("\x80\xFF"), 2u);
}

}  // namespace
