// Helpers of the sum-list tests: documents of a kind with the body format
// chosen, byte records built by hand, and the extension's body.
#pragma once

#include "kinds/kinds_test_util.h"

#include <cstdint>
#include <string>

namespace sumtest {

using kindtest::Cy;
using orv::Bstr;
using orv::ComPtr;

// A generic document of the type code with lDcdpod set (0: older byte body).
inline ComPtr<IOrvDocument> Document(SHORT type, LONG dcdpod = 0) {
    ComPtr<IOrvDocument> doc = kindtest::NewDocument(type);
    if (doc) {
        EXPECT_EQ(doc->put_lDcdpod(dcdpod), S_OK);
    }
    return doc;
}

// Little-endian pieces of a byte record.
inline void Put16(std::string& s, int16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}
inline void Put32(std::string& s, int32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

// One 30-byte pay-sum record as the older body keeps it.
inline std::string S1Record(int16_t code, int16_t workType, int32_t hundredths, int16_t days, int32_t hours,
                            int16_t shift, int16_t shpz, int16_t project, int16_t finRoot) {
    std::string r;
    Put16(r, code);
    Put16(r, workType);
    Put32(r, hundredths);
    Put16(r, days);
    Put32(r, hours);
    Put16(r, shift);
    Put16(r, shpz);
    Put16(r, project);
    Put16(r, finRoot);
    r.append(8, '\0');
    return r;
}

// Sets the extension's body to bytes and its Length.
inline void SetBytes(IOrvDocument* doc, const std::string& bytes, LONG length) {
    ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    ASSERT_TRUE(ext);
    kindtest::PutBody(ext.Get(), bytes);
    ASSERT_EQ(ext->put_Length(length), S_OK);
}
inline void SetBytes(IOrvDocument* doc, const std::string& bytes) {
    SetBytes(doc, bytes, static_cast<LONG>(bytes.size()));
}
// Sets the body to an XML text (UTF-16) and its Length in bytes.
inline void SetText(IOrvDocument* doc, std::u16string_view text) {
    ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    ASSERT_TRUE(ext);
    Bstr body(text);
    ASSERT_EQ(ext->put_Body(body), S_OK);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(body.ByteLength())), S_OK);
}
inline std::string Bytes(IOrvDocument* doc) { return kindtest::BodyOf(kindtest::ExtensionOf(doc).Get()); }
inline LONG Length(IOrvDocument* doc) { return kindtest::LengthOf(kindtest::ExtensionOf(doc).Get()); }
inline std::u16string Text(IOrvDocument* doc) {
    const std::string b = Bytes(doc);
    return std::u16string(reinterpret_cast<const char16_t*>(b.data()), b.size() / 2);
}
inline std::string Utf8(std::u16string_view s) { return orv::Utf16ToUtf8(s); }
inline std::u16string Take(BSTR s) {
    std::u16string t = kindtest::Text(s);
    SysFreeString(s);
    return t;
}

}  // namespace sumtest
