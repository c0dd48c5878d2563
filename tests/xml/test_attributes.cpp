// Typed attribute writing and lenient attribute reading on DOM elements.
#include "xml/attributes.h"

#include "frame/values.h"

#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orv::MakeCurrency;

class Attributes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                   reinterpret_cast<void**>(doc_.GetAddressOf())),
                  S_OK);
        ASSERT_EQ(doc_->createElement(Bstr(u"E"), element_.GetAddressOf()), S_OK);
        ComPtr<IXMLDOMNode> appended;
        ASSERT_EQ(doc_->appendChild(element_.Get(), appended.GetAddressOf()), S_OK);
    }

    // Loads a document whose root is the element under test.
    void Load(std::u16string_view xml) {
        VARIANT_BOOL ok = VARIANT_FALSE;
        ASSERT_EQ(doc_->loadXML(Bstr(xml), &ok), S_OK);
        ASSERT_EQ(ok, VARIANT_TRUE);
        element_.Reset();
        ASSERT_EQ(doc_->get_documentElement(element_.GetAddressOf()), S_OK);
    }

    std::u16string Xml() {
        Bstr s;
        EXPECT_EQ(element_->get_xml(s.ReleaseAndGetAddressOf()), S_OK);
        return std::u16string(s.View());
    }

    std::u16string Text(const char16_t* name) {
        Bstr s;
        EXPECT_EQ(orv::GetAttributeText(element_.Get(), name, s.ReleaseAndGetAddressOf()), S_OK);
        return std::u16string(s.View());
    }

    ComPtr<IXMLDOMDocument> doc_;
    ComPtr<IXMLDOMElement> element_;
};

TEST_F(Attributes, NumbersAreWrittenAsTheTextOfTheirType) {
    IXMLDOMElement* e = element_.Get();
    ASSERT_EQ(orv::SetAttribute(e, u"I4", LONG{-3}), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"I2", SHORT{21}), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"R4", 0.1f), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"R8", 45000.75), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"BIG", 1e20), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"CY", MakeCurrency(125000)), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"CY2", MakeCurrency(1000000)), S_OK);
    ASSERT_EQ(orv::SetAttribute(e, u"T", u"Иванов & Ко"), S_OK);
    EXPECT_EQ(Xml(), u"<E I4=\"-3\" I2=\"21\" R4=\"0.1\" R8=\"45000.75\" BIG=\"1E+20\" CY=\"12.5\" CY2=\"100\" "
                     u"T=\"Иванов &amp; Ко\"/>");

    // Markup characters in a text survive the round trip.
    ASSERT_EQ(orv::SetAttribute(e, u"M", std::u16string_view(u"<a href=\"x\">&'</a>")), S_OK);
    EXPECT_EQ(Text(u"M"), u"<a href=\"x\">&'</a>");

    // Writing again replaces the value in place.
    ASSERT_EQ(orv::SetAttribute(e, u"I4", LONG{7}), S_OK);
    EXPECT_EQ(Text(u"I4"), u"7");
    EXPECT_EQ(Xml().find(u"<E I4=\"7\" I2="), 0u);
}

TEST_F(Attributes, WrittenValuesReadBackExactly) {
    IXMLDOMElement* e = element_.Get();
    for (LONGLONG raw : {0LL, 1LL, -1LL, 12345LL, -50LL, 922337203685477LL * 10000 + 5807,
                         -922337203685477LL * 10000 - 5808}) {
        ASSERT_EQ(orv::SetAttribute(e, u"S", MakeCurrency(raw)), S_OK);
        CY back{};
        ASSERT_EQ(orv::GetAttributeCurrency(e, u"S", &back), S_OK);
        EXPECT_EQ(back.int64, raw) << orv::Utf16ToUtf8(Text(u"S"));
    }
    for (double d : {0.0, 0.1, -2.5, 45000.75, 1e20, 1.5e-7, 123456789012345.0}) {
        ASSERT_EQ(orv::SetAttribute(e, u"D", d), S_OK);
        double back = -1;
        ASSERT_EQ(orv::GetAttributeDouble(e, u"D", &back), S_OK);
        EXPECT_EQ(back, d) << orv::Utf16ToUtf8(Text(u"D"));
    }
    for (LONG l : {0, -1, 2147483647, -2147483647 - 1}) {
        ASSERT_EQ(orv::SetAttribute(e, u"L", l), S_OK);
        LONG back = 99;
        ASSERT_EQ(orv::GetAttributeLong(e, u"L", &back), S_OK);
        EXPECT_EQ(back, l);
    }
}

TEST_F(Attributes, AbsentAttributesReadAsZeroOrEmpty) {
    CY cy = MakeCurrency(5);
    double d = 5;
    LONG l = 5;
    Bstr text(u"stale");
    EXPECT_EQ(orv::GetAttributeCurrency(element_.Get(), u"NONE", &cy), S_FALSE);
    EXPECT_EQ(orv::GetAttributeDouble(element_.Get(), u"NONE", &d), S_FALSE);
    EXPECT_EQ(orv::GetAttributeLong(element_.Get(), u"NONE", &l), S_FALSE);
    EXPECT_EQ(orv::GetAttributeText(element_.Get(), u"NONE", text.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(cy.int64, 0);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(text.Get(), nullptr);
}

TEST_F(Attributes, HandWrittenTextsAreReadLeniently) {
    Load(u"<E S=\"1 234,56\" D=\"1,5e2\" L=\"12.9\" N=\"-\" BIG=\"99999999999\" EMPTY=\"\" T=\"Ёлка\"/>");
    CY cy{};
    double d = 0;
    LONG l = 0;
    EXPECT_EQ(orv::GetAttributeCurrency(element_.Get(), u"S", &cy), S_OK);
    EXPECT_EQ(cy.int64, 12345600);
    EXPECT_EQ(orv::GetAttributeDouble(element_.Get(), u"D", &d), S_OK);
    EXPECT_EQ(d, 150.0);
    EXPECT_EQ(orv::GetAttributeLong(element_.Get(), u"L", &l), S_OK);
    EXPECT_EQ(l, 12);
    EXPECT_EQ(orv::GetAttributeLong(element_.Get(), u"N", &l), S_OK);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(orv::GetAttributeLong(element_.Get(), u"BIG", &l), S_OK);
    EXPECT_EQ(l, 2147483647);
    EXPECT_EQ(orv::GetAttributeCurrency(element_.Get(), u"EMPTY", &cy), S_OK);
    EXPECT_EQ(cy.int64, 0);
    EXPECT_EQ(Text(u"T"), u"Ёлка");
    EXPECT_EQ(Text(u"EMPTY"), u"");
}

TEST_F(Attributes, LongNamesAndTextsTakeTheHeapPath) {
    const std::u16string name = u"N" + std::u16string(100, u'x');
    const std::u16string value(1000, u'Ж');
    ASSERT_EQ(orv::SetAttribute(element_.Get(), name.c_str(), std::u16string_view(value)), S_OK);
    EXPECT_EQ(Text(name.c_str()), value);
    // Exactly at the stack capacity and one beyond it.
    for (std::size_t n : {63u, 64u}) {
        const std::u16string edge(n, u'q');
        ASSERT_EQ(orv::SetAttribute(element_.Get(), edge.c_str(), LONG(n)), S_OK);
        LONG back = 0;
        ASSERT_EQ(orv::GetAttributeLong(element_.Get(), edge.c_str(), &back), S_OK);
        EXPECT_EQ(back, LONG(n));
    }
}

TEST_F(Attributes, BadArgumentsAndDomFailuresComeBackAsStatus) {
    CY cy = MakeCurrency(7);
    EXPECT_EQ(orv::SetAttribute(nullptr, u"A", LONG{1}), E_POINTER);
    EXPECT_EQ(orv::SetAttribute(element_.Get(), nullptr, LONG{1}), E_POINTER);
    EXPECT_EQ(orv::GetAttributeCurrency(nullptr, u"A", &cy), E_POINTER);
    EXPECT_EQ(cy.int64, 0);
    EXPECT_EQ(orv::GetAttributeCurrency(element_.Get(), u"A", nullptr), E_POINTER);
    EXPECT_EQ(orv::GetAttributeText(element_.Get(), u"A", nullptr), E_POINTER);
    // A name the DOM refuses: its status is passed on and nothing is written.
    EXPECT_TRUE(FAILED(orv::SetAttribute(element_.Get(), u"1bad", LONG{1})));
    EXPECT_EQ(Xml(), u"<E/>");
}

}  // namespace
