// Loading and writing back: the written form, Cyrillic text, references,
// attribute order, escaping, the declaration, white space.
#include "dom_test_util.h"

#include <pugixml.hpp>

#include <random>
#include <sstream>
#include <vector>

using namespace domtest;

TEST(DomWrittenForm, CyrillicTextAndAttributesRoundTrip) {
    const std::string text = "<ДОК Имя=\"Иванов Пётр\" ОТДЕЛ=\"Бухгалтерия №2\"><СТР>Сумма: 1 234,56 ₽ — ёЁ</СТР></ДОК>";
    auto doc = Load(text);
    EXPECT_EQ(Xml(doc), text);
    auto root = Root(doc);
    ASSERT_TRUE(root);
    EXPECT_EQ(Attr(root, "Имя"), "Иванов Пётр");
    Bstr tag;
    ASSERT_EQ(root->get_tagName(tag.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(U8(tag), "ДОК");
    EXPECT_EQ(Text(Select(doc, "ДОК/СТР")), "Сумма: 1 234,56 ₽ — ёЁ");
    // A character outside the basic plane crosses as a surrogate pair and back.
    auto emoji = Load("<a b=\"𝄞\">𝄞</a>");
    EXPECT_EQ(Xml(emoji), "<a b=\"𝄞\">𝄞</a>");
    Bstr t;
    ASSERT_EQ(Root(emoji)->get_text(t.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(t.Length(), 2u);
}

TEST(DomWrittenForm, NoIndentationSelfClosedAndEscaped) {
    auto doc = Load("<root>\n  <a   x = 'q&quot;&amp;&lt;'  />\n  <b></b>\n  <c>1 &lt; 2 &amp;&amp; 3 &gt; 2</c>\n</root>");
    EXPECT_EQ(Xml(doc), "<root><a x=\"q&quot;&amp;&lt;\"/><b/><c>1 &lt; 2 &amp;&amp; 3 &gt; 2</c></root>");
    // Values set through the DOM are escaped on the way out and read back as set.
    auto root = Root(doc);
    ASSERT_EQ(SetAttr(root, "v", "a<b & \"c\" 'd'"), S_OK);
    ComPtr<IXMLDOMNode> c = Select(doc, "root/c");
    ASSERT_EQ(c->put_text(B("x<y>&z")), S_OK);
    std::string written = Xml(doc);
    EXPECT_EQ(written,
              "<root v=\"a&lt;b &amp; &quot;c&quot; 'd'\"><a x=\"q&quot;&amp;&lt;\"/><b/><c>x&lt;y&gt;&amp;z</c></root>");
    auto again = Load(written);
    EXPECT_EQ(Attr(Root(again), "v"), "a<b & \"c\" 'd'");
    EXPECT_EQ(Text(Select(again, "root/c")), "x<y>&z");
}

TEST(DomWrittenForm, AttributesKeepTheOrderTheyWereSetIn) {
    auto doc = NewDoc();
    auto e = NewElement(doc, "R");
    ASSERT_EQ(doc->appendChild(e.Get(), nullptr), S_OK);
    for (const char* name : {"Z", "A", "M", "B"}) ASSERT_EQ(SetAttr(e, name, name), S_OK);
    ASSERT_EQ(SetAttr(e, "A", "again"), S_OK);  // setting again keeps the place
    EXPECT_EQ(Xml(doc), "<R Z=\"Z\" A=\"again\" M=\"M\" B=\"B\"/>");
    ASSERT_EQ(e->removeAttribute(B("M")), S_OK);
    EXPECT_EQ(e->removeAttribute(B("M")), S_FALSE);
    ASSERT_EQ(SetAttr(e, "M", "last"), S_OK);
    EXPECT_EQ(Xml(doc), "<R Z=\"Z\" A=\"again\" B=\"B\" M=\"last\"/>");
    // Loaded attributes keep the order of the text.
    EXPECT_EQ(Xml(Load("<r c=\"1\" a=\"2\" b=\"3\"/>")), "<r c=\"1\" a=\"2\" b=\"3\"/>");
}

TEST(DomWrittenForm, DeclarationIsKeptWithoutItsEncoding) {
    auto doc = Load("<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?><a>б</a>");
    EXPECT_EQ(Xml(doc), "<?xml version=\"1.0\" standalone=\"yes\"?><a>б</a>");
    ComPtr<IXMLDOMNode> first;
    ASSERT_EQ(doc->get_firstChild(first.GetAddressOf()), S_OK);
    DOMNodeType type = NODE_INVALID;
    ASSERT_EQ(first->get_nodeType(&type), S_OK);
    EXPECT_EQ(type, NODE_PROCESSING_INSTRUCTION);
    Bstr name;
    ASSERT_EQ(first->get_nodeName(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(U8(name), "xml");
    EXPECT_TRUE(As<IXMLDOMProcessingInstruction>(first));
    // The element still is the document element, and a document without a
    // declaration writes none.
    EXPECT_EQ(Xml(Root(doc)), "<a>б</a>");
    EXPECT_EQ(Xml(Load("<a/>")), "<a/>");
    // A declaration created through the DOM is written the same way.
    auto made = NewDoc();
    ComPtr<IXMLDOMProcessingInstruction> pi;
    ASSERT_EQ(made->createProcessingInstruction(B("xml"), B("version=\"1.0\" encoding=\"UTF-8\""), pi.GetAddressOf()),
              S_OK);
    ASSERT_EQ(made->appendChild(pi.Get(), nullptr), S_OK);
    ASSERT_EQ(made->appendChild(NewElement(made, "r").Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(made), "<?xml version=\"1.0\"?><r/>");
}

TEST(DomWrittenForm, ReferencesAreDecodedAndCommentsCdataKept) {
    // An '&' that starts no reference is allowed where it is just a character
    // (CDATA, comments, instructions); the references elsewhere still decode.
    for (const char* cdata : {"<не разбирать>", "<не & разбирать>"}) {
        SCOPED_TRACE(cdata);
        auto doc = Load(std::string("<a t=\"&#1044;&#x434;&apos;&#10;\">&#x41F;&#1088;&lt;&gt;<![CDATA[") + cdata +
                        "]]><!-- прим & --><?pi данные?></a>");
        auto root = Root(doc);
        EXPECT_EQ(Attr(root, "t"), "Дд'\n");
        EXPECT_EQ(Text(root), std::string("Пр<>") + cdata);
        EXPECT_EQ(Xml(doc), std::string("<a t=\"Дд'&#10;\">Пр&lt;&gt;<![CDATA[") + cdata +
                                "]]><!-- прим & --><?pi данные?></a>");
    }
    // Literal line breaks and tabs in attribute values become spaces; '<'
    // comes in as a reference and goes out as one.
    auto doc = Load("<a v=\"1\n2\t3\" w=\"x&lt;y\"/>");
    EXPECT_EQ(Attr(Root(doc), "v"), "1 2 3");
    EXPECT_EQ(Attr(Root(doc), "w"), "x<y");
    EXPECT_EQ(Xml(doc), "<a v=\"1 2 3\" w=\"x&lt;y\"/>");
}

TEST(DomWrittenForm, RepeatedAttributesAreRefused) {
    std::string many = "<a";
    for (int i = 0; i < 20; ++i) many += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    const std::string distinct = many + "/>";
    const std::string repeated = many + " n7=\"again\"/>";
    for (const std::string& text : {std::string("<a d=\"1\" d=\"2\"/>"),
                                    std::string("<r><a><b x=\"1\" y=\"2\" x=\"3\"/></a></r>"), repeated}) {
        SCOPED_TRACE(text);
        auto doc = NewDoc();
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(doc->loadXML(B(text), &ok), S_FALSE);
        EXPECT_EQ(ok, VARIANT_FALSE);
    }
    EXPECT_EQ(Attr(Root(Load(distinct)), "n19"), "19") << "twenty different names load";
}

TEST(DomWrittenForm, DeclarationRoundTripsWhateverElseTheTextHolds) {
    // A bare '&' in an instruction or a comment is just a character; the
    // declaration comes back as it was, every time.
    for (const char* rest : {"<a/>", "<a><?p &x?></a>", "<a><!-- & --></a>"}) {
        SCOPED_TRACE(rest);
        const std::string text = std::string("<?xml version=\"1.0\" standalone=\"yes\"?>") + rest;
        const std::string written = Xml(Load(text));
        EXPECT_EQ(written, text);
        EXPECT_EQ(Xml(Load(written)), written);
    }
    // The declaration's values are not attribute values: no references there.
    for (const char* text : {"<?xml version=\"1.0&nope;\"?><a><?p &x?></a>",
                             "<?xml version=\"1.0\" standalone=\"a&amp;b\"?><a/>"}) {
        SCOPED_TRACE(text);
        auto bad = NewDoc();
        VARIANT_BOOL ok = VARIANT_TRUE;
        EXPECT_EQ(bad->loadXML(B(text), &ok), S_FALSE);
        EXPECT_EQ(ok, VARIANT_FALSE);
    }
}

TEST(DomWrittenForm, WhiteSpaceOnlyTextIsDroppedUnlessPreserved) {
    const char* text = "<a>\n  <b> x </b>\n</a>";
    auto doc = Load(text);
    EXPECT_EQ(Xml(doc), "<a><b> x </b></a>");
    auto keep = NewDoc();
    ASSERT_EQ(keep->put_preserveWhiteSpace(VARIANT_TRUE), S_OK);
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(keep->loadXML(B(text), &ok), S_OK);
    EXPECT_EQ(Xml(keep), text);
}

TEST(DomWrittenForm, TypedValuesAreWrittenAsText) {
    auto doc = Load("<r/>");
    auto root = Root(doc);
    orv::Variant i4(LONG(-2147483647 - 1)), r8(45000.75), i2(SHORT(7));
    CY cy;
    cy.int64 = 125000;  // 12.5
    orv::Variant money(cy);
    ASSERT_EQ(root->setAttribute(B("L"), i4), S_OK);
    ASSERT_EQ(root->setAttribute(B("D"), r8), S_OK);
    ASSERT_EQ(root->setAttribute(B("S"), i2), S_OK);
    ASSERT_EQ(root->setAttribute(B("C"), money), S_OK);
    EXPECT_EQ(Xml(doc), "<r L=\"-2147483648\" D=\"45000.75\" S=\"7\" C=\"12.5\"/>");
    // A value that has no text form is refused and leaves nothing behind.
    orv::Variant nothing;
    nothing.vt = VT_NULL;
    EXPECT_TRUE(FAILED(root->setAttribute(B("N"), nothing)));
    EXPECT_EQ(Attr(root, "N"), "<null>");
    // Names that are not XML names are refused.
    EXPECT_EQ(SetAttr(root, "1x", "v"), E_FAIL);
    EXPECT_EQ(SetAttr(root, "a b", "v"), E_FAIL);
    EXPECT_EQ(root->setAttribute(nullptr, i2), E_INVALIDARG);
}

// XML cannot carry control characters other than tab, line feed and carriage
// return, not even as references. A host may still put them into the
// document; the written form then holds U+FFFD in their place, so that what
// the service writes it (and any other reader) can read again.
TEST(DomWrittenForm, ControlCharactersPutByAHostAreWrittenAsReplacementCharacters) {
    auto doc = Load("<R><T>x</T></R>");
    auto root = Root(doc);
    ASSERT_EQ(SetAttr(root, "ADDRESS", std::string("a\x03" "b\x02\tc\n", 7)), S_OK);
    ASSERT_EQ(Attr(root, "ADDRESS"), std::string("a\x03" "b\x02\tc\n", 7));  // kept as put
    auto text = Select(root, "T");
    ASSERT_EQ(text->put_text(B(std::string("1\x01" "2", 3))), S_OK);
    ComPtr<IXMLDOMComment> comment;
    ASSERT_EQ(doc->createComment(B(std::string("c\x1f", 2)), comment.GetAddressOf()), S_OK);
    ASSERT_EQ(root->appendChild(comment.Get(), nullptr), S_OK);

    const std::string written = Xml(doc);
    EXPECT_EQ(written, "<R ADDRESS=\"a\xEF\xBF\xBD" "b\xEF\xBF\xBD&#09;c&#10;\"><T>1\xEF\xBF\xBD" "2</T><!--c\xEF\xBF\xBD-->"
                       "</R>");
    auto again = Load(written);
    ASSERT_TRUE(again);
    EXPECT_EQ(Xml(again), written);
    EXPECT_EQ(Attr(Root(again), "ADDRESS"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\tc\n");

    // The attribute node written alone, and a node moved in from that
    // document into one that never had such text, follow the same rule.
    ComPtr<IXMLDOMAttribute> attr;
    ASSERT_EQ(root->getAttributeNode(B("ADDRESS"), attr.GetAddressOf()), S_OK);
    EXPECT_EQ(Xml(attr), "ADDRESS=\"a\xEF\xBF\xBD" "b\xEF\xBF\xBD&#9;c&#10;\"");
    auto other = Load("<O/>");
    ASSERT_EQ(Root(other)->appendChild(text.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(other), "<O><T>1\xEF\xBF\xBD" "2</T></O>");
    // Text without such characters is written unchanged, references included.
    auto plain = Load("<P A=\"&#9;&amp;#03;\">&amp;#03;</P>");
    EXPECT_EQ(Xml(plain), "<P A=\"&#09;&amp;#03;\">&amp;#03;</P>");
}

// The written form is pugixml's format_raw, byte for byte. Random trees are
// built twice, through the DOM service and straight in pugixml, and written
// by each; some texts are long enough to cross the writer's buffer, with
// characters of one to four bytes falling on its ends.
namespace {

std::string RandomText(std::mt19937& rng) {
    static const char* const kPieces[] = {"a", "Z", "7", " ", "&", "<", ">", "\"", "'", "]", "]]>", "-", "--", "?",
                                          "?>", "\t", "\n", "\r", "ё", "₽", "𝄞", "&amp;", "x=\"1\""};
    std::size_t length = rng() % 12;
    if (rng() % 20 == 0) length = 5000 + rng() % 15000;
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s += kPieces[rng() % std::size(kPieces)];
    return s;
}

std::string RandomName(std::mt19937& rng) {
    static const char* const kNames[] = {"a", "DOC", "ДОК", "Имя_1", "x.y-z", "n:m", "B𝄞"};
    return kNames[rng() % std::size(kNames)];
}

// Where two long texts part, with a little of each around it.
std::string Difference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const std::size_t from = i > 40 ? i - 40 : 0;
    return "at byte " + std::to_string(i) + ":\n  " + a.substr(from, 100) + "\n  " + b.substr(from, 100);
}

std::string PugixmlForm(pugi::xml_node n) {
    std::ostringstream out;
    n.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

}  // namespace

TEST(DomWrittenForm, RandomTreesAreWrittenAsPugixmlWritesThem) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 60; ++round) {
        auto doc = NewDoc();
        pugi::xml_document expected;
        struct Element {
            ComPtr<IXMLDOMElement> dom;
            pugi::xml_node ref;
        };
        std::vector<Element> elements;
        const std::string rootName = RandomName(rng);
        elements.push_back({NewElement(doc, rootName), expected.append_child(rootName.c_str())});
        ASSERT_EQ(doc->appendChild(elements[0].dom.Get(), nullptr), S_OK);
        const int steps = 1 + static_cast<int>(rng() % 40);
        for (int step = 0; step < steps; ++step) {
            Element parent = elements[rng() % elements.size()];  // a copy: the vector may grow
            const std::string text = RandomText(rng);
            ComPtr<IXMLDOMNode> child;
            switch (rng() % 6) {
                case 0: {
                    const std::string name = RandomName(rng);
                    auto e = NewElement(doc, name);
                    elements.push_back({e, parent.ref.append_child(name.c_str())});
                    child = e;
                    break;
                }
                case 1: {
                    const std::string name = RandomName(rng);
                    ASSERT_EQ(SetAttr(parent.dom, name, text), S_OK);
                    pugi::xml_attribute a = parent.ref.attribute(name.c_str());
                    if (!a) a = parent.ref.append_attribute(name.c_str());
                    a.set_value(text.c_str());
                    break;
                }
                case 2: {
                    // Without carriage returns, which pugixml writes as they
                    // stand and the service as references (tested below).
                    std::string plain = text;
                    std::erase(plain, '\r');
                    ComPtr<IXMLDOMText> t;
                    ASSERT_EQ(doc->createTextNode(B(plain), t.GetAddressOf()), S_OK);
                    parent.ref.append_child(pugi::node_pcdata).set_value(plain.c_str());
                    child = t;
                    break;
                }
                case 3: {
                    ComPtr<IXMLDOMCDATASection> c;
                    ASSERT_EQ(doc->createCDATASection(B(text), c.GetAddressOf()), S_OK);
                    parent.ref.append_child(pugi::node_cdata).set_value(text.c_str());
                    child = c;
                    break;
                }
                case 4: {
                    ComPtr<IXMLDOMComment> c;
                    ASSERT_EQ(doc->createComment(B(text), c.GetAddressOf()), S_OK);
                    parent.ref.append_child(pugi::node_comment).set_value(text.c_str());
                    child = c;
                    break;
                }
                default: {
                    const std::string target = RandomName(rng);
                    ComPtr<IXMLDOMProcessingInstruction> p;
                    ASSERT_EQ(doc->createProcessingInstruction(B(target), B(text), p.GetAddressOf()), S_OK);
                    pugi::xml_node pi = parent.ref.append_child(pugi::node_pi);
                    pi.set_name(target.c_str());
                    pi.set_value(text.c_str());
                    child = p;
                    break;
                }
            }
            if (child) {
                ASSERT_EQ(parent.dom->appendChild(child.Get(), nullptr), S_OK);
            }
        }
        const std::string written = Xml(doc), want = PugixmlForm(expected);
        ASSERT_TRUE(written == want) << "round " << round << " " << Difference(written, want);
        const Element& some = elements[rng() % elements.size()];
        ASSERT_EQ(Xml(some.dom), PugixmlForm(some.ref)) << "round " << round;
    }
}

// Texts of ASCII mixed with two-, three- and four-byte characters in every
// arrangement cross the conversions both ways intact, wherever their blocks
// begin and end; a control character is refused at its own place whatever
// surrounds it.
TEST(DomWrittenForm, MixedTextsCrossTheConversionsIntact) {
    static const char* const kPieces[] = {"a", "Z", " ", ".", "Ж", "ё", "Я", "\xC2\x80", "\xDF\xBF", "₽", "𝄞", "\t"};
    std::mt19937 rng(6122026);
    for (int round = 0; round < 300; ++round) {
        std::string text = "[";  // never empty nor only white space, which a load drops
        const std::size_t pieces = rng() % 200;
        for (std::size_t i = 0; i < pieces; ++i) text += kPieces[rng() % (round % 2 ? 11 : 12)];
        text += "]";
        // Tab is read as a space in an attribute value, kept in text.
        std::string attribute = text;
        for (char& c : attribute)
            if (c == '\t') c = ' ';
        const std::string xml = "<r a=\"" + text + "\">" + text + "</r>";
        auto doc = Load(xml);
        auto root = Root(doc);
        ASSERT_TRUE(root);
        ASSERT_EQ(Attr(root, "a"), attribute) << round;
        ASSERT_EQ(Text(root), text) << round;
        ASSERT_EQ(Xml(doc), "<r a=\"" + attribute + "\">" + text + "</r>") << round;
        ASSERT_EQ(SetAttr(root, "b", text), S_OK);
        ASSERT_EQ(Attr(root, "b"), text) << round;

        std::u16string bad = orv::Utf8ToUtf16(xml);
        const std::size_t at = 3 + rng() % (bad.size() - 7);  // inside the attribute value or the text
        if (bad[at] >= 0xD800 && bad[at] <= 0xDFFF) continue;    // not inside a surrogate pair
        bad[at] = 0x1;
        auto refused = NewDoc();
        VARIANT_BOOL ok = VARIANT_TRUE;
        ASSERT_EQ(refused->loadXML(Bstr(bad), &ok), S_FALSE) << round;
        ComPtr<IXMLDOMParseError> err;
        ASSERT_EQ(refused->get_parseError(err.GetAddressOf()), S_OK);
        LONG filepos = -1;
        err->get_filepos(&filepos);
        ASSERT_EQ(filepos, static_cast<LONG>(at)) << round;
    }
}

// A value whose end falls anywhere near the end of the writer's buffer, in
// every kind of node that has text: written whole, as pugixml writes it.
TEST(DomWrittenForm, TextsEndingAtEveryPlaceOfTheWritersBufferAreWrittenWhole) {
    for (std::size_t length = 16330; length < 16430; ++length) {
        const std::string text(length, 'x');
        auto doc = NewDoc();
        pugi::xml_document expected;
        auto root = NewElement(doc, "r");
        pugi::xml_node ref = expected.append_child("r");
        ASSERT_EQ(doc->appendChild(root.Get(), nullptr), S_OK);
        ASSERT_EQ(SetAttr(root, "a", text), S_OK);
        ref.append_attribute("a").set_value(text.c_str());
        ComPtr<IXMLDOMText> t;
        ComPtr<IXMLDOMComment> c;
        ComPtr<IXMLDOMCDATASection> cd;
        ComPtr<IXMLDOMProcessingInstruction> pi;
        ASSERT_EQ(doc->createTextNode(B(text), t.GetAddressOf()), S_OK);
        ASSERT_EQ(doc->createComment(B(text), c.GetAddressOf()), S_OK);
        ASSERT_EQ(doc->createCDATASection(B(text), cd.GetAddressOf()), S_OK);
        ASSERT_EQ(doc->createProcessingInstruction(B("p"), B(text), pi.GetAddressOf()), S_OK);
        for (IXMLDOMNode* child : {static_cast<IXMLDOMNode*>(t.Get()), static_cast<IXMLDOMNode*>(c.Get()),
                                   static_cast<IXMLDOMNode*>(cd.Get()), static_cast<IXMLDOMNode*>(pi.Get())})
            ASSERT_EQ(root->appendChild(child, nullptr), S_OK);
        ref.append_child(pugi::node_pcdata).set_value(text.c_str());
        ref.append_child(pugi::node_comment).set_value(text.c_str());
        ref.append_child(pugi::node_cdata).set_value(text.c_str());
        pugi::xml_node p = ref.append_child(pugi::node_pi);
        p.set_name("p");
        p.set_value(text.c_str());
        const std::string written = Xml(doc), want = PugixmlForm(expected);
        ASSERT_TRUE(written == want) << length << " " << Difference(written, want);
    }
}

// White space written as a character reference is white space: a text node
// of nothing else is dropped on a load like any other unless white space is
// kept, so that the written form reads back to itself.
TEST(DomWrittenForm, WhiteSpaceFromReferencesIsDroppedLikeAnyOther) {
    auto doc = Load("<a>&#x09;<b>&#32;&#10;</b><c> &#13; x</c><d a=\"&#9;\">&#160;</d></a>");
    const std::string written = Xml(doc);
    // A carriage return in text is written as a reference: as it stands, a
    // load would make it a line feed.
    EXPECT_EQ(written, "<a><b/><c> &#13; x</c><d a=\"&#09;\">\xC2\xA0</d></a>");
    EXPECT_EQ(Xml(Load(written)), written);

    // Likewise carriage returns in a text set by the host, with the
    // neighbours a line-end normalisation would merge or split.
    auto set = Load("<r/>");
    ASSERT_EQ(Root(set)->put_text(B("\xEF\xBF\xBD\r\rH\rh?>\r\n")), S_OK);
    const std::string setWritten = Xml(set);
    EXPECT_EQ(setWritten, "<r>\xEF\xBF\xBD&#13;&#13;H&#13;h?&gt;&#13;\n</r>");
    EXPECT_EQ(Text(Root(Load(setWritten))), "\xEF\xBF\xBD\r\rH\rh?>\r\n");

    auto keep = NewDoc();
    ASSERT_EQ(keep->put_preserveWhiteSpace(VARIANT_TRUE), S_OK);
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(keep->loadXML(B("<a>&#x09;<b>&#32;</b></a>"), &ok), S_OK);
    EXPECT_EQ(Xml(keep), "<a>\t<b> </b></a>");
}
