// Selection with XPath and the node lists it gives.
#include "dom_test_util.h"

using namespace domtest;

namespace {

const char* kProtocolDoc =
    "<TDDOCEX N=\"1\">"
    "<EXT><BLPR5 AT=\"0\" V=\"a\"/><BLPR5 AT=\"1\" V=\"b\"/></EXT>"
    "<DAYS D=\"31\"/>"
    "<MAINPROT>"
    "<Protocols T0=\"21\" K=\"x\"/><Protocols T0=\"22\" K=\"y\"/><Protocols T0=\"22.0\" K=\"z\"/>"
    "<Protocol AT=\"0\" K=\"p0\"/><Protocol AT=\"1\" K=\"p1\"/>"
    "</MAINPROT>"
    "</TDDOCEX>";

std::string AttrOf(const ComPtr<IXMLDOMNode>& n, const char* name) {
    auto e = As<IXMLDOMElement>(n);
    return e ? Attr(e, name) : "<not an element>";
}

std::vector<std::string> Values(const ComPtr<IXMLDOMNodeList>& list, const char* attr) {
    std::vector<std::string> out;
    LONG n = Length(list);
    for (LONG i = 0; i < n; ++i) {
        ComPtr<IXMLDOMNode> item;
        EXPECT_EQ(list->get_item(i, item.GetAddressOf()), S_OK);
        out.push_back(AttrOf(item, attr));
    }
    return out;
}

}  // namespace

TEST(DomSelect, PathsAndPredicatesOfTheLibrary) {
    auto doc = Load(kProtocolDoc);
    auto root = Root(doc);
    EXPECT_EQ(AttrOf(Select(root, "EXT/BLPR5"), "V"), "a");  // the first in document order
    EXPECT_EQ(AttrOf(Select(doc, "TDDOCEX/EXT/BLPR5"), "V"), "a");
    EXPECT_EQ(AttrOf(Select(root, "./DAYS"), "D"), "31");
    EXPECT_EQ(Values(SelectAll(root, "MAINPROT/Protocols[attribute::T0 = 22]"), "K"),
              (std::vector<std::string>{"y", "z"}));  // compared as numbers: "22.0" = 22
    auto mainprot = Select(root, "MAINPROT");
    ASSERT_TRUE(mainprot);
    EXPECT_EQ(AttrOf(Select(mainprot, "Protocol[attribute::AT = 1]"), "K"), "p1");
    EXPECT_EQ(AttrOf(Select(mainprot, "Protocol[@AT='0']"), "K"), "p0");
    EXPECT_EQ(Length(SelectAll(doc, "//BLPR5")), 2);
    EXPECT_EQ(AttrOf(Select(doc, "/TDDOCEX/EXT/BLPR5[last()]"), "V"), "b");
    EXPECT_EQ(Values(SelectAll(root, "MAINPROT/*[@K='p1'] | EXT/BLPR5"), "V"),
              (std::vector<std::string>{"a", "b", "<null>"}));  // document order
}

TEST(DomSelect, NoMatchGivesSFalseAndNull) {
    auto doc = Load(kProtocolDoc);
    ComPtr<IXMLDOMNode> n;
    EXPECT_EQ(doc->selectSingleNode(B("TDDOCEX/NOPE"), n.GetAddressOf()), S_FALSE);
    EXPECT_FALSE(n);
    EXPECT_EQ(doc->selectSingleNode(B("MAINPROT/Protocols[attribute::T0 = 99]"), n.GetAddressOf()), S_FALSE);
    EXPECT_EQ(Length(SelectAll(doc, "nothing/here")), 0);
}

TEST(DomSelect, InvalidQueriesFailWithoutHarm) {
    auto doc = Load(kProtocolDoc);
    for (const char* bad : {"", "EXT/[", "Protocol[@AT = ]", "count(EXT)", "'text'", "1 + 1", "@@x", "EXT/BLPR5)"}) {
        SCOPED_TRACE(bad);
        ComPtr<IXMLDOMNode> n;
        EXPECT_EQ(doc->selectSingleNode(B(bad), n.GetAddressOf()), E_FAIL);
        EXPECT_FALSE(n);
        ComPtr<IXMLDOMNodeList> list;
        EXPECT_EQ(doc->selectNodes(B(bad), list.GetAddressOf()), E_FAIL);
        EXPECT_FALSE(list);
    }
    // The reason travels through the error-information channel.
    ComPtr<IXMLDOMNode> n;
    ASSERT_EQ(doc->selectSingleNode(B("EXT/["), n.GetAddressOf()), E_FAIL);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.GetAddressOf()), S_OK);
    Bstr text;
    info->GetDescription(text.ReleaseAndGetAddressOf());
    EXPECT_NE(U8(text).find("XPath"), std::string::npos);
    // Nesting beyond the engine's limit is refused, not followed down the stack.
    std::string deep(20000, '(');
    deep += "EXT" + std::string(20000, ')');
    EXPECT_EQ(doc->selectNodes(B(deep), ComPtr<IXMLDOMNodeList>().GetAddressOf()), E_FAIL);
    EXPECT_EQ(doc->selectSingleNode(nullptr, n.GetAddressOf()), E_INVALIDARG);
}

TEST(DomSelect, AttributeResultsAndContextNodes) {
    auto doc = Load(kProtocolDoc);
    auto list = SelectAll(doc, "TDDOCEX/MAINPROT/Protocol/@AT");
    ASSERT_EQ(Length(list), 2);
    ComPtr<IXMLDOMNode> at;
    ASSERT_EQ(list->get_item(1, at.GetAddressOf()), S_OK);
    DOMNodeType type;
    at->get_nodeType(&type);
    EXPECT_EQ(type, NODE_ATTRIBUTE);
    auto attr = As<IXMLDOMAttribute>(at);
    ASSERT_TRUE(attr);
    orv::Variant v;
    ASSERT_EQ(attr->get_value(v.Out()), S_OK);
    EXPECT_EQ(U8(v.bstrVal), "1");
    EXPECT_EQ(Xml(at), "AT=\"1\"");
    // An attribute as context: ".." is its element.
    EXPECT_EQ(AttrOf(Select(at, ".."), "K"), "p1");
    // Changing the attribute through its node changes the element.
    orv::Variant nine(LONG(9));
    ASSERT_EQ(attr->put_value(nine), S_OK);
    EXPECT_EQ(AttrOf(Select(doc, "//Protocol[@AT=9]"), "K"), "p1");
    // "/" from an element is the document itself.
    auto top = Select(Root(doc), "/");
    EXPECT_EQ(Identity(top), Identity(doc));
}

TEST(DomSelect, ListsWalkWithNextNodeAndReset) {
    auto doc = Load(kProtocolDoc);
    auto list = SelectAll(doc, "//Protocols");
    std::vector<std::string> seen;
    ComPtr<IXMLDOMNode> n;
    while (list->nextNode(n.ReleaseAndGetAddressOf()) == S_OK) seen.push_back(AttrOf(n, "K"));
    EXPECT_EQ(seen, (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_FALSE(n);
    ASSERT_EQ(list->reset(), S_OK);
    ASSERT_EQ(list->nextNode(n.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(AttrOf(n, "K"), "x");
    EXPECT_EQ(list->get_item(3, n.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(list->get_item(-1, n.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(list->get_length(nullptr), E_POINTER);

    // childNodes is live: it sees children added and removed after it was taken.
    auto mainprot = Select(doc, "//MAINPROT");
    ComPtr<IXMLDOMNodeList> kids;
    ASSERT_EQ(mainprot->get_childNodes(kids.GetAddressOf()), S_OK);
    EXPECT_EQ(Length(kids), 5);
    ComPtr<IXMLDOMNode> third;
    ASSERT_EQ(kids->get_item(2, third.GetAddressOf()), S_OK);
    ASSERT_EQ(mainprot->removeChild(third.Get(), nullptr), S_OK);
    EXPECT_EQ(Length(kids), 4);
    ComPtr<IXMLDOMNode> now;
    ASSERT_EQ(kids->get_item(2, now.GetAddressOf()), S_OK);
    EXPECT_EQ(AttrOf(now, "K"), "p0");
    ASSERT_EQ(mainprot->appendChild(third.Get(), nullptr), S_OK);
    ASSERT_EQ(kids->get_item(4, now.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Identity(now), Identity(third));

    // getElementsByTagName finds descendants in document order.
    ComPtr<IXMLDOMNodeList> byTag;
    ASSERT_EQ(doc->getElementsByTagName(B("BLPR5"), byTag.GetAddressOf()), S_OK);
    EXPECT_EQ(Values(byTag, "V"), (std::vector<std::string>{"a", "b"}));
}

// A selection hands out node objects as they are asked for; whatever happens
// to the document afterwards, the list still gives the nodes it found.
TEST(DomSelect, AListKeepsItsNodesThroughRemovalReloadAndMoves) {
    auto doc = Load(kProtocolDoc);
    auto root = Root(doc);
    auto protocols = SelectAll(root, "MAINPROT/Protocols");
    auto attributes = SelectAll(root, "MAINPROT/Protocol/@K");
    ASSERT_EQ(Length(protocols), 3);
    ASSERT_EQ(Length(attributes), 2);

    // The first item asked for before any change is the same object later.
    ComPtr<IXMLDOMNode> first;
    ASSERT_EQ(protocols->nextNode(first.GetAddressOf()), S_OK);

    // Remove the second and third found nodes from the tree, then replace the
    // whole document: the list still walks all three, with their attributes.
    auto mainprot = Select(root, "MAINPROT");
    ComPtr<IXMLDOMNode> second = Select(mainprot, "Protocols[@K='y']"), removed;
    ASSERT_EQ(mainprot->removeChild(second.Get(), removed.GetAddressOf()), S_OK);
    second.Reset();
    removed.Reset();
    auto old = Select(mainprot, "Protocols[@K='z']");
    ASSERT_TRUE(old);
    ASSERT_EQ(mainprot->removeChild(old.Get(), nullptr), S_OK);
    old.Reset();
    mainprot.Reset();
    root.Reset();
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(doc->loadXML(B("<OTHER/>"), &ok), S_OK);
    ASSERT_EQ(ok, VARIANT_TRUE);

    EXPECT_EQ(Values(protocols, "K"), (std::vector<std::string>{"x", "y", "z"}));
    ComPtr<IXMLDOMNode> again;
    ASSERT_EQ(protocols->get_item(0, again.GetAddressOf()), S_OK);
    EXPECT_EQ(Identity(again), Identity(first));
    ComPtr<IXMLDOMNode> next;
    std::vector<std::string> walked;
    while (protocols->nextNode(next.ReleaseAndGetAddressOf()) == S_OK) walked.push_back(AttrOf(next, "K"));
    EXPECT_EQ(walked, (std::vector<std::string>{"y", "z"}));  // the cursor went on from the first
    EXPECT_EQ(Length(protocols), 3);

    std::vector<std::string> values;
    for (LONG i = 0; i < Length(attributes); ++i) {
        ComPtr<IXMLDOMNode> a;
        ASSERT_EQ(attributes->get_item(i, a.GetAddressOf()), S_OK);
        values.push_back(Text(a));
    }
    EXPECT_EQ(values, (std::vector<std::string>{"p0", "p1"}));
    EXPECT_EQ(Xml(doc), "<OTHER/>");
}

TEST(DomSelect, AListFromANodeMovedToAnotherDocumentStillWalks) {
    auto source = Load(kProtocolDoc);
    auto ext = Select(source, "TDDOCEX/EXT");
    ASSERT_TRUE(ext);
    auto found = SelectAll(ext, "BLPR5");
    auto target = Load("<HOLDER/>");
    auto holder = Root(target);
    ASSERT_EQ(holder->appendChild(ext.Get(), nullptr), S_OK);
    EXPECT_EQ(Values(found, "V"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Xml(target), "<HOLDER><EXT><BLPR5 AT=\"0\" V=\"a\"/><BLPR5 AT=\"1\" V=\"b\"/></EXT></HOLDER>");
    // A list dropped before it was walked leaves nothing behind (the leak
    // check of the sanitizer build), and one dropped mid-walk too.
    SelectAll(source, "//*");
    auto half = SelectAll(target, "//*");
    ComPtr<IXMLDOMNode> n;
    ASSERT_EQ(half->nextNode(n.GetAddressOf()), S_OK);
    half.Reset();
    EXPECT_EQ(Xml(n).substr(0, 8), "<HOLDER>");
}
