// Record bytes as hexadecimal text, and the two ways of reading it back.
#include "xml/hextext.h"

#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace {

using Bytes = std::array<std::uint8_t, 4>;

// Decodes into a buffer pre-filled with 0xEE so that untouched bytes show.
template <class Decoder>
Bytes Decode(Decoder decode, std::u16string_view text, std::size_t* written = nullptr, std::size_t capacity = 4) {
    Bytes out;
    out.fill(0xEE);
    const std::size_t n = decode(text, out.data(), capacity);
    if (written) *written = n;
    return out;
}

TEST(HexText, WritesUpperCaseHighNibbleFirst) {
    const std::uint8_t bytes[] = {0x00, 0x0F, 0xA5, 0xFF, 0x10};
    orv::Bstr s = orv::Bstr::Attach(orv::EncodeHexBstr(bytes, sizeof bytes));
    EXPECT_EQ(s.View(), u"000FA5FF10");
    orv::Bstr none = orv::Bstr::Attach(orv::EncodeHexBstr(bytes, 0));
    ASSERT_NE(none.Get(), nullptr);
    EXPECT_EQ(none.Length(), 0u);
}

TEST(HexText, EveryByteRoundTripsThroughBothDecoders) {
    std::uint8_t all[256];
    for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
    std::u16string text(512, u' ');
    orv::EncodeHex(all, 256, text.data());
    std::uint8_t doc[256] = {}, month[256] = {};
    EXPECT_EQ(orv::DecodeDocumentHex(text, doc, 256), 256u);
    EXPECT_EQ(orv::DecodeMonthHex(text, month, 256), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(doc[i], i);
        EXPECT_EQ(month[i], i);
    }
}

TEST(HexText, DocumentDecoderReadsOnlyDigitsAndCapitals) {
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"ffFF")[0], 0x00);  // lower case is not a letter
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"ffFF")[1], 0xFF);
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"fF")[0], 0x0F);
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"aB")[0], 0x0B);
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"G1")[0], 0x01);
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u" 9")[0], 0x09);
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"Ж7")[0], 0x07);
}

TEST(HexText, MonthDecoderTakesOtherCharactersAsCodeMinus55) {
    // A lower-case letter as the high nibble lands on the same byte (its code
    // is 32 = 2 x 16 above the capital) but as the low nibble it does not.
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u"a0")[0], 0xA0);
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u"0a")[0], 0x2A);       // 97 - 55 = 42
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u"ff")[0], 0x1F);       // 47 x 16 + 47 = 799
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u"G0")[0], 0x00);       // 16 x 16 = 256
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u"!!")[0], 0x8A);       // -22 x 16 - 22 = -374
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u" 1")[0], 0x91);       // -23 x 16 + 1 = -367
    EXPECT_EQ(Decode(orv::DecodeMonthHex, u"0Ж")[0], 0xDF);       // 1046 - 55 = 991
    // The document decoder reads the same texts differently.
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"0a")[0], 0x00);
    EXPECT_EQ(Decode(orv::DecodeDocumentHex, u"!!")[0], 0x00);
}

TEST(HexText, DecodersReadWholePairsWithinCapacity) {
    for (auto decode : {orv::DecodeDocumentHex, orv::DecodeMonthHex}) {
        std::size_t n = 0;
        Bytes b = Decode(decode, u"ABC", &n);  // the lone "C" is ignored
        EXPECT_EQ(n, 1u);
        EXPECT_EQ(b[0], 0xAB);
        EXPECT_EQ(b[1], 0xEE);

        b = Decode(decode, u"0102030405", &n, 3);  // more text than room
        EXPECT_EQ(n, 3u);
        EXPECT_EQ(b[2], 0x03);
        EXPECT_EQ(b[3], 0xEE);

        b = Decode(decode, u"", &n);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(b[0], 0xEE);

        b = Decode(decode, u"7", &n);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(b[0], 0xEE);
    }
}

}  // namespace
