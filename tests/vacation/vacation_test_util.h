// Helpers of the vacation tests: real generic documents of a vacation type,
// the vacation object on them, their extension body as text, and a database
// service whose session answers a chosen access type.
#pragma once

#include <gtest/gtest.h>

#include "document/fake_services.h"
#include "kinds/kinds_test_util.h"
#include "vacation/OrvOTDoc.h"

#include <string>
#include <string_view>

namespace vactest {

using orv::Bstr;
using orv::ComPtr;

// A real generic document of the type; with xmlFlag its Dfl has bit 0x04 set,
// the mark of a vacation document whose protocols are kept as XML.
inline ComPtr<IOrvDocument> NewDocument(SHORT type, bool xmlFlag = true) {
    ComPtr<IOrvDocument> doc = kindtest::NewDocument(type);
    if (doc && xmlFlag) {
        EXPECT_EQ(doc->put_Dfl(0x04), S_OK);
    }
    return doc;
}

// A new vacation object on the document, asked for I.
template <class I = IOrvOTProtocol>
ComPtr<I> Vacation(IOrvDocument* doc) {
    return kindtest::Attach<orv::OrvOTDoc, I>(doc);
}

inline ComPtr<IOrvDocExtension> Extension(IOrvDocument* doc) { return kindtest::ExtensionOf(doc); }

// The body as UTF-16 text (an XML body) and as bytes (an older body).
inline std::u16string BodyText(IOrvDocument* doc) {
    Bstr body;
    EXPECT_EQ(Extension(doc)->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(body.View());
}
inline void SetBodyText(IOrvDocument* doc, std::u16string_view text) {
    auto ext = Extension(doc);
    ASSERT_EQ(ext->put_Body(Bstr(text)), S_OK);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(text.size() * 2)), S_OK);
}
inline void SetBodyBytes(IOrvDocument* doc, const std::string& bytes) {
    auto ext = Extension(doc);
    kindtest::PutBody(ext.Get(), bytes);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(bytes.size())), S_OK);
}

inline std::string Utf8(std::u16string_view s) { return orv::Utf16ToUtf8(s); }

inline std::u16string ProtocolXml(IOrvOTProtocol* p) {
    ComPtr<IOrvOTDoc> doc;
    EXPECT_EQ(p->QueryInterface(IID_IOrvOTDoc, reinterpret_cast<void**>(doc.GetAddressOf())), S_OK);
    Bstr text;
    EXPECT_EQ(doc->get_ProtocolAsXml(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

// A database service whose session answers accessType; handed to doc.
struct AccessTypeService {
    doctest::FakeDatabase* database = nullptr;
    doctest::FakeSession* session = nullptr;
    ComPtr<IUnknown> keep;

    explicit AccessTypeService(IOrvDocument* doc, LONG accessType = 0) {
        EXPECT_EQ(orv::CreateObjectWithAccess<doctest::FakeDatabase>(&keep, &database), S_OK);
        ComPtr<IUnknown> s;
        EXPECT_EQ(orv::CreateObjectWithAccess<doctest::FakeSession>(&s, &session), S_OK);
        database->session = s;
        session->accessType = accessType;
        EXPECT_EQ(doc->put_OrvBD(keep.Get()), S_OK);
    }
    void Set(LONG accessType) { session->accessType = accessType; }
};

inline CY Cy(LONGLONG raw) { return kindtest::Cy(raw); }

// Automation dates used by the tests.
inline constexpr DATE kJan1 = 46023.0;   // 2026-01-01
inline constexpr DATE kJan15 = 46037.0;  // 2026-01-15
inline constexpr DATE kFeb1 = 46054.0;   // 2026-02-01
inline constexpr DATE kMar1 = 46082.0;   // 2026-03-01
inline constexpr DATE kDec1 = 45992.0;   // 2025-12-01

}  // namespace vactest
