// Text that does not parse: VARIANT_FALSE, an empty document, a parse error report.
#include "dom_test_util.h"

#include <random>

using namespace domtest;

namespace {

// Loads text into a document that held content before; the load must fail
// and leave the document empty.
void ExpectRefused(const std::u16string& text, const char* what) {
    SCOPED_TRACE(what);
    auto doc = Load("<old><kept/></old>");
    VARIANT_BOOL ok = VARIANT_TRUE;
    Bstr b(text);
    EXPECT_EQ(doc->loadXML(b, &ok), S_FALSE);
    EXPECT_EQ(ok, VARIANT_FALSE);
    EXPECT_FALSE(Root(doc));
    EXPECT_EQ(Xml(doc), "");
    ComPtr<IXMLDOMNode> child;
    EXPECT_EQ(doc->get_firstChild(child.GetAddressOf()), S_FALSE);
    ComPtr<IXMLDOMParseError> err;
    ASSERT_EQ(doc->get_parseError(err.GetAddressOf()), S_OK);
    LONG code = 0;
    err->get_errorCode(&code);
    EXPECT_NE(code, 0);
    Bstr reason;
    EXPECT_EQ(err->get_reason(reason.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_FALSE(reason.Empty());
}

std::u16string W(std::string_view utf8) { return orv::Utf8ToUtf16(utf8); }

}  // namespace

TEST(DomMalformed, StructuralErrorsAreRefused) {
    ExpectRefused(W(""), "empty");
    ExpectRefused(W("   "), "blank");
    ExpectRefused(W("<a><b>"), "truncated");
    ExpectRefused(W("<a><b></b"), "truncated end tag");
    ExpectRefused(W("<a b=\"1"), "truncated attribute");
    ExpectRefused(W("<a></b>"), "unbalanced");
    ExpectRefused(W("<a><b></a></b>"), "crossed");
    ExpectRefused(W("<a/><b/>"), "two top elements");
    ExpectRefused(W("junk<a/>"), "text before the element");
    ExpectRefused(W("<a/>junk"), "text after the element");
    ExpectRefused(W("<a/><![CDATA[x]]>"), "CDATA at the top");
    ExpectRefused(W("<a b=1/>"), "unquoted attribute");
    ExpectRefused(W("<1a/>"), "bad name");
    ExpectRefused(W("<a/><?xml version=\"1.0\"?>"), "declaration after the element");
    ExpectRefused(W("<!-- only a comment -->"), "no element");
}

TEST(DomMalformed, BadReferencesAreRefused) {
    ExpectRefused(W("<a>&bogus;</a>"), "undefined entity");
    ExpectRefused(W("<a>a & b</a>"), "bare ampersand");
    ExpectRefused(W("<a>&amp</a>"), "unterminated reference");
    ExpectRefused(W("<a x=\"&nbsp;\"/>"), "undefined entity in an attribute");
    ExpectRefused(W("<a>&#0;</a>"), "reference to NUL");
    ExpectRefused(W("<a>&#x1;</a>"), "reference to a control character");
    ExpectRefused(W("<a>&#xD800;</a>"), "reference to a surrogate");
    ExpectRefused(W("<a>&#x110000;</a>"), "reference beyond Unicode");
    ExpectRefused(W("<a>&#12a;</a>"), "bad decimal digits");
    ExpectRefused(W("<a>&#X41;</a>"), "upper-case X");
    ExpectRefused(W("<!DOCTYPE a [<!ENTITY e \"x\">]><a>&f;</a>"), "an entity the DTD does not declare");
}

TEST(DomMalformed, ForbiddenCharactersAndBinaryGarbageAreRefused) {
    ExpectRefused(u"<a>\x0001</a>", "control character");
    ExpectRefused(std::u16string(u"<a>") + char16_t(0) + u"</a>", "NUL inside the text");
    ExpectRefused(std::u16string(u"<a>") + char16_t(0xD800) + u"</a>", "lone high surrogate");
    ExpectRefused(std::u16string(u"<a>") + char16_t(0xDC00) + u"x</a>", "lone low surrogate");
    ExpectRefused(std::u16string(u"<a>") + char16_t(0xFFFF) + u"</a>", "U+FFFF");
    std::mt19937 rng(20240601);
    for (int round = 0; round < 200; ++round) {
        std::u16string junk(1 + rng() % 300, u'\0');
        for (auto& c : junk) c = static_cast<char16_t>(rng());
        if (round % 2) junk = u"<a>" + junk;  // garbage after a plausible start
        auto doc = NewDoc();
        VARIANT_BOOL ok = VARIANT_TRUE;
        Bstr b(junk);
        EXPECT_EQ(doc->loadXML(b, &ok), S_FALSE) << round;
        EXPECT_EQ(ok, VARIANT_FALSE);
        EXPECT_EQ(Xml(doc), "");
    }
}

TEST(DomMalformed, ParseErrorLocatesTheFault) {
    auto doc = NewDoc();
    VARIANT_BOOL ok;
    ASSERT_EQ(doc->loadXML(B("<a>\n  <b>текст &oops; </b>\n</a>"), &ok), S_FALSE);
    ComPtr<IXMLDOMParseError> err;
    ASSERT_EQ(doc->get_parseError(err.GetAddressOf()), S_OK);
    LONG line = 0, pos = 0, filepos = 0;
    err->get_line(&line);
    err->get_linepos(&pos);
    err->get_filepos(&filepos);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(pos, 12);  // the '&' of "&oops;", counted in UTF-16 units from 1
    EXPECT_EQ(filepos, 15);
    Bstr src;
    err->get_srcText(src.ReleaseAndGetAddressOf());
    EXPECT_EQ(U8(src), "  <b>текст &oops; </b>");

    // A good load afterwards clears the report.
    ASSERT_EQ(doc->loadXML(B("<a/>"), &ok), S_OK);
    ASSERT_EQ(doc->get_parseError(err.ReleaseAndGetAddressOf()), S_OK);
    LONG code = -1;
    EXPECT_EQ(err->get_errorCode(&code), S_FALSE);
    EXPECT_EQ(code, 0);
}

TEST(DomMalformed, NullTextAndNullPointers) {
    auto doc = NewDoc();
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(doc->loadXML(nullptr, &ok), S_FALSE);  // a null BSTR is empty text
    EXPECT_EQ(ok, VARIANT_FALSE);
    EXPECT_EQ(doc->loadXML(B("<a/>"), nullptr), E_POINTER);
    EXPECT_EQ(doc->get_xml(nullptr), E_POINTER);
    EXPECT_EQ(doc->get_documentElement(nullptr), E_POINTER);
    EXPECT_EQ(doc->selectNodes(B("a"), nullptr), E_POINTER);
    EXPECT_EQ(doc->appendChild(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(doc->createElement(B("a"), nullptr), E_POINTER);
    ComPtr<IXMLDOMElement> e;
    EXPECT_EQ(doc->createElement(nullptr, e.GetAddressOf()), E_FAIL);
    EXPECT_EQ(doc->createElement(B("no spaces"), e.GetAddressOf()), E_FAIL);
}
