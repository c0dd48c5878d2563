// Well-formedness as XML 1.0 defines it, rule by rule: every document that
// breaks a rule is refused with a reason and a position, every document that
// keeps them loads, with internal entities expanded and declared attribute
// defaults applied.
#include "dom_test_util.h"

#include <vector>

using namespace domtest;

namespace {

struct Refusal {
    std::string reason;
    LONG line = 0, linepos = 0;
};

// Loads text that must be refused; what the parse error says.
Refusal Refuse(std::string_view text) {
    SCOPED_TRACE(std::string(text));
    auto doc = NewDoc();
    VARIANT_BOOL ok = VARIANT_TRUE;
    EXPECT_EQ(doc->loadXML(B(text), &ok), S_FALSE);
    EXPECT_EQ(ok, VARIANT_FALSE);
    Refusal r;
    ComPtr<IXMLDOMParseError> err;
    if (doc->get_parseError(err.GetAddressOf()) != S_OK) return r;
    LONG code = 0;
    err->get_errorCode(&code);
    EXPECT_NE(code, 0);
    Bstr reason;
    err->get_reason(reason.ReleaseAndGetAddressOf());
    r.reason = U8(reason);
    EXPECT_FALSE(r.reason.empty());
    err->get_line(&r.line);
    err->get_linepos(&r.linepos);
    EXPECT_GE(r.line, 1);
    EXPECT_GE(r.linepos, 1);
    return r;
}

ComPtr<IXMLDOMElement> AsElement(const ComPtr<IXMLDOMNode>& n) {
    ComPtr<IXMLDOMElement> e;
    if (n) n.As(&e);
    return e;
}

void RefuseAll(const std::vector<std::string>& texts) {
    for (const auto& t : texts) Refuse(t);
}

void AcceptAll(const std::vector<std::string>& texts) {
    for (const auto& t : texts) {
        SCOPED_TRACE(t);
        Load(t);
    }
}

}  // namespace

// [15] Comment ::= '<!--' ((Char - '-') | ('-' (Char - '-')))* '-->'
TEST(XmlWellFormed, Comments) {
    RefuseAll({"<a><!-- a -- b --></a>", "<a><!-- ends badly ---></a>", "<a><!-- not closed </a>",
               "<!-- -- --><a/>", "<a/><!----->", "<a><!- short --></a>"});
    AcceptAll({"<a><!-- - single dashes - --></a>", "<a><!----></a>", "<!-- before --><a/><!-- after -->",
               "<a><!-- <not> &markup; ]]> --></a>"});
}

// [14] CharData ::= [^<&]* - ([^<&]* ']]>' [^<&]*)
TEST(XmlWellFormed, CharacterData) {
    RefuseAll({"<a>x ]]> y</a>", "<a>]]></a>", "<a>a<b</a>"});
    AcceptAll({"<a>]] > ]></a>", "<a>]]&gt;</a>", "<a>x]]</a>", "<a> > </a>"});
    EXPECT_EQ(Text(Load("<a>]]&gt;</a>")), "]]>");
}

// [18]-[21] CDATA sections
TEST(XmlWellFormed, CdataSections) {
    RefuseAll({"<a><![CDATA[never closed</a>", "<a><![cdata[x]]></a>", "<a><![CDATA [x]]></a>"});
    AcceptAll({"<a><![CDATA[<b>&amp;]]]></a>", "<a><![CDATA[]]></a>"});
    EXPECT_EQ(Text(Load("<a><![CDATA[<b>&amp;]]]></a>")), "<b>&amp;]");
}

// Attribute values: no raw "<", quotes that match, a value for every name, no name given twice.
TEST(XmlWellFormed, Attributes) {
    RefuseAll({"<a b=\"x<y\"/>", "<a b='<'/>", "<a b=\"1\"c=\"2\"/>", "<a b=1/>", "<a b/>", "<a b=\"1\" b=\"2\"/>",
               "<a b=\"1\" c=\"2\" b='3'/>", "<a b=\"x/>", "<a b='x\"/>", "<a =\"1\"/>", "<a b==\"1\"/>",
               "<a b=\"&\"/>", "<a b=\"&undefined;\"/>"});
    AcceptAll({"<a b = \"1\"\n\tc='2' />", "<a b=\"'\" c='\"'/>", "<a b=\"&lt;&#60;&#x3C;\"/>", "<a b=\"\"/>",
               "<a b=\">\"/>"});
    EXPECT_EQ(Attr(Root(Load("<a b=\"&lt;&#60;&#x3C;>\"/>")), "b"), "<<<>");
    // Names alike in length and first letters, and tags with many attributes.
    Refuse("<a attribute_one=\"1\" attribute_two=\"2\" attribute_one=\"3\"/>");
    Load("<a attribute_one=\"1\" attribute_two=\"2\"/>");
    std::string many = "<a";
    for (int i = 0; i < 40; ++i) many += " n" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    Load(many + "/>");
    Refuse(many + " n3=\"again\"/>");
    Refuse(many + " n39=\"again\"/>");
}

// [22]-[27] The XML declaration: first, exactly, its pseudo-attributes in order
TEST(XmlWellFormed, XmlDeclaration) {
    RefuseAll({" <?xml version=\"1.0\"?><a/>", "<!-- c --><?xml version=\"1.0\"?><a/>",
               "<a/><?xml version=\"1.0\"?>", "<a><?xml version=\"1.0\"?></a>", "<?xml?><a/>",
               "<?xml encoding=\"UTF-8\"?><a/>", "<?xml version=\"1.0\" standalone=\"yes\" encoding=\"UTF-8\"?><a/>",
               "<?xml version=\"1.0\" version=\"1.0\"?><a/>", "<?xml version=\"2.0\"?><a/>",
               "<?xml version=\"1.0\" standalone=\"maybe\"?><a/>", "<?xml version=\"1.0\" encoding=\"8bit\"?><a/>",
               "<?xml version=\"1.0\"encoding=\"UTF-8\"?><a/>", "<?xml version=\"1.0\" other=\"x\"?><a/>",
               "<?xml version='1.0'><a/>", "<?XML version=\"1.0\"?><a/>", "<?xml version=1.0?><a/>"});
    AcceptAll({"<?xml version=\"1.0\"?><a/>", "<?xml version='1.0' encoding='windows-1251' standalone='no' ?><a/>",
               "<?xml version = \"1.0\"\n?><a/>"});
}

// [16]-[17] Processing instructions: a name, not 'xml' in any case
TEST(XmlWellFormed, ProcessingInstructions) {
    RefuseAll({"<a><?xml foo?></a>", "<a><?XmL x?></a>", "<a><? x?></a>", "<a><?1pi?></a>", "<a><?pi never closed</a>",
               "<a><?pi$x?></a>"});
    AcceptAll({"<a><?xml-stylesheet href=\"s\"?></a>", "<a><?ns:pi x?></a>", "<a><?pi?></a>", "<?pi before?><a/><?pi after ?>",
               "<a><?pi <&>?></a>"});
}

// [4]-[5] Names; [40], [42] tags
TEST(XmlWellFormed, NamesAndTags) {
    RefuseAll({"<1a/>", "<-a/>", "<.a/>", "<a$/>", "<a b$=\"1\"/>", "<a></a b>", "<a></ a>", "<a/ >",
               "<a\xC3\x97/>" /* U+00D7 is not a name character */, "<\xCC\x80/>" /* a combining mark cannot start one */,
               "< a/>", "<a></a", "<a><b></a></b>", "<a>", "<a></b>"});
    AcceptAll({"<_a/>", "<a-b.c_d:e/>", "<Имя атрибут=\"1\"/>", "<a\xC2\xB7\xCC\x80/>", "<a></a >",
               "<\xE4\xB8\xAD/>"});
}

// [66]-[68] References; WFC: Legal Character, Entity Declared
TEST(XmlWellFormed, References) {
    RefuseAll({"<a>&#0;</a>", "<a>&#xFFFE;</a>", "<a>&#xD800;</a>", "<a>&#;</a>", "<a>&#x;</a>", "<a>&#X41;</a>",
               "<a>&#65</a>", "<a>& amp;</a>", "<a>&nbsp;</a>", "<a>&amp</a>", "<a>&1x;</a>"});
    AcceptAll({"<a>&#x10FFFF;&#9;&#xa;&#65;&amp;&lt;&gt;&quot;&apos;</a>"});
    EXPECT_EQ(Text(Load("<a>&#65;&#x42;&amp;</a>")), "AB&");
}

// [1] document ::= prolog element Misc*
TEST(XmlWellFormed, DocumentStructure) {
    RefuseAll({"", "<!-- -->", "<a/><b/>", "<a/>text", "text<a/>", "<a/><!DOCTYPE a>", "<a/>&amp;",
               "<a/><![CDATA[x]]>", "<!ELEMENT a ANY><a/>", "<a><!ELEMENT b ANY></a>"});
    AcceptAll({"<a/>\n", "\n<a/>", "<?pi?><!-- c --><a/><!-- c --><?pi?>"});
}

// Documents with a DOCTYPE go to the full processor: its declarations are
// checked, and what they declare is used.
TEST(XmlWellFormed, InternalSubsetIsChecked) {
    RefuseAll({"<!DOCTYPE a [<!ENTITY e \"x\"><a/>", "<!DOCTYPE a [<!ENTITY e x>]><a/>",
               "<!DOCTYPE a [<!ELEMENT a (b,>]><a/>", "<!DOCTYPE a [<!ATTLIST a b CDATA>]><a/>",
               "<!DOCTYPE a [<!ENTITY e \"<b>\">]><a>&e;</a>", "<!DOCTYPE a [<!ENTITY e \"&e;\">]><a>&e;</a>",
               "<!DOCTYPE a [<!ENTITY e \"x\">]><a>&f;</a>", "<!DOCTYPE a [<!ENTITY e \"<\">]><a b=\"&e;\"/>",
               "<!DOCTYPE a [<!-- -- -->]><a/>", "<!DOCTYPE a [<?xml x?>]><a/>", "<!DOCTYPE a><a/><b/>",
               "<!DOCTYPE a [<!ENTITY % p \"x\"> %p; <!BOGUS>]><a/>", "<!DOCTYPE a [<!ELEMENT a ANY>]><a>x]]>y</a>"});
}

TEST(XmlWellFormed, InternalEntitiesAreExpanded) {
    auto doc = Load(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE doc [\n"
        "  <!ENTITY who \"мир\">\n"
        "  <!ENTITY greet \"Привет, &who;!\">\n"
        "  <!ENTITY part \"<b id='1'>bold</b> &amp; more\">\n"
        "  <!ENTITY ch \"&#38;#60;\">\n"
        "]>\n"
        "<doc a=\"[&greet;]\"><t>&greet;</t>&part;<c>&ch;</c></doc>");
    auto root = Root(doc);
    ASSERT_TRUE(root);
    EXPECT_EQ(Attr(root, "a"), "[Привет, мир!]");
    EXPECT_EQ(Text(Select(doc, "doc/t")), "Привет, мир!");
    EXPECT_EQ(Attr(AsElement(Select(doc, "doc/b")), "id"), "1") << "markup inside an entity becomes elements";
    EXPECT_EQ(Text(Select(doc, "doc/b")), "bold");
    EXPECT_EQ(Text(Select(doc, "doc/c")), "<");
    // The written form holds the expansion, and loads again to the same tree.
    const std::string written = Xml(doc);
    EXPECT_NE(written.find("<t>Привет, мир!</t>"), std::string::npos) << written;
    EXPECT_EQ(written.rfind("<?xml version=\"1.0\"?>", 0), 0u) << written;
    EXPECT_EQ(Xml(Load(written)), written);
}

TEST(XmlWellFormed, DeclaredAttributeDefaultsAreApplied) {
    auto doc = Load(
        "<!DOCTYPE list [\n"
        "  <!ATTLIST item kind CDATA \"plain\" state (on|off) 'off' note CDATA #IMPLIED>\n"
        "]>\n"
        "<list><item/><item kind=\"special\"/><item state=\"on\"/></list>");
    auto items = SelectAll(doc, "list/item");
    LONG n = 0;
    ASSERT_EQ(items->get_length(&n), S_OK);
    ASSERT_EQ(n, 3);
    const char* kinds[] = {"plain", "special", "plain"};
    const char* states[] = {"off", "off", "on"};
    for (LONG i = 0; i < n; ++i) {
        ComPtr<IXMLDOMNode> item;
        ASSERT_EQ(items->get_item(i, item.GetAddressOf()), S_OK);
        ComPtr<IXMLDOMElement> e = AsElement(item);
        ASSERT_TRUE(e);
        EXPECT_EQ(Attr(e, "kind"), kinds[i]);
        EXPECT_EQ(Attr(e, "state"), states[i]);
        orv::Variant v;
        EXPECT_EQ(e->getAttribute(B("note"), v.Out()), S_FALSE) << "#IMPLIED adds nothing";
    }
}

TEST(XmlWellFormed, ErrorsTellReasonLineAndPosition) {
    Refusal r = Refuse("<a>\n  <b c=\"x<y\"/>\n</a>");
    EXPECT_EQ(r.line, 2);
    EXPECT_EQ(r.linepos, 10);
    EXPECT_NE(r.reason.find("'<'"), std::string::npos) << r.reason;
    r = Refuse("<a>\n<!-- x -- y -->\n</a>");
    EXPECT_EQ(r.line, 2);
    EXPECT_EQ(r.linepos, 8);
    EXPECT_NE(r.reason.find("--"), std::string::npos) << r.reason;
    r = Refuse("<a b=\"1\" b=\"2\"/>");
    EXPECT_EQ(r.linepos, 10);
    EXPECT_NE(r.reason.find("Duplicate attribute"), std::string::npos) << r.reason;
    // From the full processor: its line, a position on that line and its words.
    r = Refuse("<!DOCTYPE a [\n<!ENTITY e \"x\">\n]>\n<a>&f;</a>");
    EXPECT_EQ(r.line, 4);
    EXPECT_NE(r.reason.find("'f'"), std::string::npos) << r.reason;
}

// Long character data, names and attribute lists are checked in blocks of
// bytes; a fault must be found, at its own position, wherever it falls in a
// block, and a good reference or name must pass wherever it falls.
TEST(XmlWellFormed, FaultsAreFoundAtEveryPositionOfLongText) {
    const std::string filler = "&lt;x y=\"1\"/&gt;&amp;";  // references a few bytes apart
    for (std::size_t pad = 0; pad < 40; ++pad) {
        SCOPED_TRACE(pad);
        std::string lead(pad, 'x');
        // Every kind of fault in character data, with enough text after it
        // that it sits inside a block, then right at the end of the text.
        const std::string tail = filler + filler + filler + "</a>";
        for (const char* bad : {"&lx;", "&amp", "&am;", "&g;", "&nbsp;", "]]>", "&#0;", "&lt"}) {
            SCOPED_TRACE(bad);
            Refusal r = Refuse("<a>" + lead + bad + tail);
            EXPECT_EQ(r.linepos, static_cast<LONG>(4 + pad));
            Refuse("<a>" + filler + lead + bad);
        }
        // Good references at every alignment, next to each other and at block ends.
        const std::string good = lead + "&lt;&gt;&amp;&quot;&apos;&#65;" + filler + filler;
        auto doc = Load("<a>" + good + "</a>");
        EXPECT_EQ(Text(doc), std::string(pad, 'x') + "<>&\"'A" + "<x y=\"1\"/>&<x y=\"1\"/>&");
        // Names longer than a block, with a character of more than one byte
        // (valid or not) at every position.
        std::string name = "n" + std::string(pad, 'a');
        Load("<" + name + "\xD0\x98" + "z " + name + "\xD0\x98=\"1\"/>");
        Refusal n = Refuse("<" + name + "\xC3\x97" + "z/>");  // U+00D7
        EXPECT_EQ(n.linepos, static_cast<LONG>(2 + name.size()));
        // Attribute names that agree in their first eight bytes or more.
        const std::string a1 = "attribute" + std::string(pad, 'b') + "1", a2 = "attribute" + std::string(pad, 'b') + "2";
        Load("<a " + a1 + "=\"1\" " + a2 + "=\"2\"/>");
        Refusal d = Refuse("<a " + a1 + "=\"1\" " + a2 + "=\"2\" " + a1 + "=\"3\"/>");
        EXPECT_NE(d.reason.find("Duplicate attribute"), std::string::npos) << d.reason;
        EXPECT_EQ(d.linepos, static_cast<LONG>(3 + a1.size() + 5 + a2.size() + 5 + 1));
        // Short names of every length, duplicated.
        const std::string s(pad % 9 + 1, 's');
        Refuse("<a " + s + "=\"1\" " + s + "=\"2\"/>");
        Load("<a " + s + "=\"1\" " + s + "t=\"2\"/>");
    }
}
