// Nodes as objects: interfaces, identity, lifetime, moving, cloning, text.
#include "dom_test_util.h"

using namespace domtest;

TEST(DomNodes, InterfacesFollowTheKindOfNode) {
    auto doc = Load("<a x=\"1\">t<![CDATA[c]]><!--m--><?p d?></a>");
    auto root = Root(doc);
    EXPECT_TRUE(As<IXMLDOMDocument>(doc));
    EXPECT_TRUE(As<IXMLDOMDocument2>(doc));
    EXPECT_FALSE(As<IXMLDOMElement>(doc));
    EXPECT_TRUE(As<IXMLDOMElement>(As<IXMLDOMNode>(root)));
    EXPECT_FALSE(As<IXMLDOMDocument>(root));
    EXPECT_FALSE(As<IXMLDOMText>(root));

    ComPtr<IXMLDOMNode> text, cdata, comment, pi;
    root->get_firstChild(text.GetAddressOf());
    text->get_nextSibling(cdata.GetAddressOf());
    cdata->get_nextSibling(comment.GetAddressOf());
    comment->get_nextSibling(pi.GetAddressOf());
    EXPECT_TRUE(As<IXMLDOMText>(text));
    EXPECT_FALSE(As<IXMLDOMCDATASection>(text));
    EXPECT_TRUE(As<IXMLDOMCDATASection>(cdata));
    EXPECT_TRUE(As<IXMLDOMText>(cdata));
    EXPECT_TRUE(As<IXMLDOMComment>(comment));
    EXPECT_FALSE(As<IXMLDOMText>(comment));
    EXPECT_TRUE(As<IXMLDOMProcessingInstruction>(pi));
    EXPECT_FALSE(As<IXMLDOMElement>(pi));
    const std::pair<ComPtr<IXMLDOMNode>, std::pair<DOMNodeType, const char*>> expected[] = {
        {text, {NODE_TEXT, "#text"}},
        {cdata, {NODE_CDATA_SECTION, "#cdata-section"}},
        {comment, {NODE_COMMENT, "#comment"}},
        {pi, {NODE_PROCESSING_INSTRUCTION, "p"}},
        {As<IXMLDOMNode>(doc), {NODE_DOCUMENT, "#document"}},
    };
    for (const auto& [node, want] : expected) {
        DOMNodeType type;
        Bstr name;
        node->get_nodeType(&type);
        node->get_nodeName(name.ReleaseAndGetAddressOf());
        EXPECT_EQ(type, want.first);
        EXPECT_EQ(U8(name), want.second);
    }
    // Every interface of one node leads back to the same identity.
    auto asNode = As<IXMLDOMNode>(root);
    auto asDispatch = As<IDispatch>(root);
    EXPECT_EQ(Identity(asNode), Identity(root));
    EXPECT_EQ(Identity(asDispatch), Identity(root));
}

TEST(DomNodes, TheSameNodeIsTheSameObject) {
    auto doc = Load("<a><b k=\"1\"/><c/></a>");
    auto r1 = Root(doc);
    auto r2 = Root(doc);
    EXPECT_EQ(Identity(r1), Identity(r2));
    auto b1 = Select(doc, "a/b");
    ComPtr<IXMLDOMNode> b2;
    r1->get_firstChild(b2.GetAddressOf());
    EXPECT_EQ(Identity(b1), Identity(b2));
    ComPtr<IXMLDOMNode> parent;
    b1->get_parentNode(parent.GetAddressOf());
    EXPECT_EQ(Identity(parent), Identity(r1));
    ComPtr<IXMLDOMDocument> owner;
    b1->get_ownerDocument(owner.GetAddressOf());
    EXPECT_EQ(Identity(owner), Identity(doc));
    ComPtr<IXMLDOMNode> top;
    r1->get_parentNode(top.GetAddressOf());
    EXPECT_EQ(Identity(top), Identity(doc));
    ComPtr<IXMLDOMAttribute> k1, k2;
    As<IXMLDOMElement>(b1)->getAttributeNode(B("k"), k1.GetAddressOf());
    As<IXMLDOMElement>(b2)->getAttributeNode(B("k"), k2.GetAddressOf());
    EXPECT_EQ(Identity(k1), Identity(k2));
    EXPECT_NE(Identity(k1), Identity(b1));
}

TEST(DomNodes, NodesKeepTheirDocumentAlive) {
    ComPtr<IXMLDOMNode> b;
    {
        auto doc = Load("<a><b>текст</b></a>");
        b = Select(doc, "a/b");
    }  // the document's own object is gone; the node still works
    EXPECT_EQ(Xml(b), "<b>текст</b>");
    ASSERT_EQ(SetAttr(As<IXMLDOMElement>(b), "n", "1"), S_OK);
    ComPtr<IXMLDOMDocument> owner;
    ASSERT_EQ(b->get_ownerDocument(owner.GetAddressOf()), S_OK);
    EXPECT_EQ(Xml(owner), "<a><b n=\"1\">текст</b></a>");
    ComPtr<IXMLDOMNode> parent;
    ASSERT_EQ(b->get_parentNode(parent.GetAddressOf()), S_OK);
    EXPECT_EQ(Xml(parent), "<a><b n=\"1\">текст</b></a>");
}

TEST(DomNodes, RemovedAndReloadedNodesStayUsable) {
    auto doc = Load("<a><b><c/></b><d/></a>");
    auto b = Select(doc, "a/b");
    auto c = Select(doc, "a/b/c");
    ComPtr<IXMLDOMNode> out;
    ASSERT_EQ(Root(doc)->removeChild(b.Get(), out.GetAddressOf()), S_OK);
    EXPECT_EQ(Identity(out), Identity(b));
    EXPECT_EQ(Xml(doc), "<a><d/></a>");
    ComPtr<IXMLDOMNode> parent;
    EXPECT_EQ(b->get_parentNode(parent.GetAddressOf()), S_FALSE);
    EXPECT_FALSE(parent);
    // The removed subtree still hangs together, and its nodes still are theirs.
    ASSERT_EQ(c->get_parentNode(parent.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Identity(parent), Identity(b));
    ASSERT_EQ(SetAttr(As<IXMLDOMElement>(c), "z", "1"), S_OK);
    EXPECT_EQ(Xml(b), "<b><c z=\"1\"/></b>");
    // Removing a node that is not a child is refused.
    EXPECT_EQ(Root(doc)->removeChild(c.Get(), nullptr), E_INVALIDARG);

    // A reload leaves held nodes of the old content working, outside the document.
    auto d = Select(doc, "a/d");
    VARIANT_BOOL ok;
    ASSERT_EQ(doc->loadXML(B("<new/>"), &ok), S_OK);
    EXPECT_EQ(Xml(doc), "<new/>");
    EXPECT_EQ(Xml(d), "<d/>");
    ASSERT_EQ(d->get_parentNode(parent.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(Xml(parent), "<a><d/></a>");
    ComPtr<IXMLDOMNode> grand;
    EXPECT_EQ(parent->get_parentNode(grand.GetAddressOf()), S_FALSE);
    // ... and can be put back into the new content.
    ASSERT_EQ(Root(doc)->appendChild(d.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(doc), "<new><d/></new>");
}

TEST(DomNodes, MovingBetweenDocumentsAdoptsTheNode) {
    auto from = Load("<src><item n=\"1\"><sub>я</sub></item><other/></src>");
    auto to = Load("<dst><first/></dst>");
    auto item = Select(from, "src/item");
    auto sub = Select(from, "src/item/sub");
    ComPtr<IXMLDOMAttribute> n;
    As<IXMLDOMElement>(item)->getAttributeNode(B("n"), n.GetAddressOf());

    ComPtr<IXMLDOMNode> placed;
    ASSERT_EQ(Root(to)->appendChild(item.Get(), placed.GetAddressOf()), S_OK);
    EXPECT_EQ(Identity(placed), Identity(item));
    EXPECT_EQ(Xml(from), "<src><other/></src>");
    EXPECT_EQ(Xml(to), "<dst><first/><item n=\"1\"><sub>я</sub></item></dst>");
    // The objects held before the move now stand for the nodes in their new home.
    ComPtr<IXMLDOMDocument> owner;
    sub->get_ownerDocument(owner.GetAddressOf());
    EXPECT_EQ(Identity(owner), Identity(to));
    EXPECT_EQ(Identity(Select(to, "dst/item/sub")), Identity(sub));
    ASSERT_EQ(sub->put_text(B("ты")), S_OK);
    orv::Variant two(LONG(2));
    ASSERT_EQ(n->put_value(two), S_OK);
    EXPECT_EQ(Xml(to), "<dst><first/><item n=\"2\"><sub>ты</sub></item></dst>");
    // insertBefore from the other direction, with a reference child.
    auto other = Select(from, "src/other");
    orv::Variant ref;
    ref.vt = VT_UNKNOWN;
    ref.punkVal = Select(to, "dst/first").Detach();
    ASSERT_EQ(Root(to)->insertBefore(other.Get(), ref, nullptr), S_OK);
    EXPECT_EQ(Xml(to), "<dst><other/><first/><item n=\"2\"><sub>ты</sub></item></dst>");
    EXPECT_EQ(Xml(from), "<src/>");
    // A reference child that is not a child of the parent is refused.
    orv::Variant wrong;
    wrong.vt = VT_UNKNOWN;
    wrong.punkVal = Root(from).Detach();
    EXPECT_EQ(Root(to)->insertBefore(NewElement(to, "x").Get(), wrong, nullptr), E_INVALIDARG);
}

TEST(DomNodes, NewNodesAndTreeRules) {
    auto doc = NewDoc();
    auto root = NewElement(doc, "r");
    auto child = NewElement(doc, "c");
    ASSERT_EQ(root->appendChild(child.Get(), nullptr), S_OK);  // built before it is placed
    ComPtr<IXMLDOMText> text;
    ASSERT_EQ(doc->createTextNode(B("т"), text.GetAddressOf()), S_OK);
    ASSERT_EQ(child->appendChild(text.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(doc), "");
    ASSERT_EQ(doc->appendChild(root.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(doc), "<r><c>т</c></r>");
    // A document has one element and no text; a node cannot go into itself.
    EXPECT_EQ(doc->appendChild(NewElement(doc, "second").Get(), nullptr), E_FAIL);
    ComPtr<IXMLDOMText> loose;
    doc->createTextNode(B("x"), loose.GetAddressOf());
    EXPECT_EQ(doc->appendChild(loose.Get(), nullptr), E_FAIL);
    EXPECT_EQ(child->appendChild(root.Get(), nullptr), E_FAIL);
    EXPECT_EQ(root->appendChild(root.Get(), nullptr), E_FAIL);
    EXPECT_EQ(text->appendChild(NewElement(doc, "x").Get(), nullptr), E_FAIL);
    EXPECT_EQ(Xml(doc), "<r><c>т</c></r>");
    // Moving inside the document reorders; replacing swaps a child out.
    auto last = NewElement(doc, "last");
    ASSERT_EQ(root->appendChild(last.Get(), nullptr), S_OK);
    orv::Variant before;
    before.vt = VT_DISPATCH;
    before.pdispVal = As<IDispatch>(child).Detach();
    ASSERT_EQ(root->insertBefore(last.Get(), before, nullptr), S_OK);
    EXPECT_EQ(Xml(doc), "<r><last/><c>т</c></r>");
    ComPtr<IXMLDOMNode> old;
    ASSERT_EQ(root->replaceChild(NewElement(doc, "new").Get(), child.Get(), old.GetAddressOf()), S_OK);
    EXPECT_EQ(Identity(old), Identity(child));
    EXPECT_EQ(Xml(doc), "<r><last/><new/></r>");
    // The document element can be replaced as a whole.
    ASSERT_EQ(doc->putref_documentElement(NewElement(doc, "other").Get()), S_OK);
    EXPECT_EQ(Xml(doc), "<other/>");
    EXPECT_EQ(Xml(root), "<r><last/><new/></r>");
}

TEST(DomNodes, CloneDeepAndShallow) {
    auto doc = Load("<a k=\"1\" m=\"2\"><b>т</b><c/></a>");
    auto root = Root(doc);
    ComPtr<IXMLDOMNode> deep, shallow;
    ASSERT_EQ(root->cloneNode(VARIANT_TRUE, deep.GetAddressOf()), S_OK);
    ASSERT_EQ(root->cloneNode(VARIANT_FALSE, shallow.GetAddressOf()), S_OK);
    EXPECT_EQ(Xml(deep), "<a k=\"1\" m=\"2\"><b>т</b><c/></a>");
    EXPECT_EQ(Xml(shallow), "<a k=\"1\" m=\"2\"/>");
    EXPECT_NE(Identity(deep), Identity(root));
    ComPtr<IXMLDOMNode> parent;
    EXPECT_EQ(deep->get_parentNode(parent.GetAddressOf()), S_FALSE);
    ComPtr<IXMLDOMDocument> owner;
    deep->get_ownerDocument(owner.GetAddressOf());
    EXPECT_EQ(Identity(owner), Identity(doc));
    // A clone is independent of its original.
    ASSERT_EQ(SetAttr(As<IXMLDOMElement>(deep), "k", "changed"), S_OK);
    EXPECT_EQ(Attr(root, "k"), "1");
    // A cloned document is a new document with the same content.
    ComPtr<IXMLDOMNode> docCopy;
    ASSERT_EQ(doc->cloneNode(VARIANT_TRUE, docCopy.GetAddressOf()), S_OK);
    auto copyDoc = As<IXMLDOMDocument>(docCopy);
    ASSERT_TRUE(copyDoc);
    EXPECT_NE(Identity(copyDoc), Identity(doc));
    EXPECT_EQ(Xml(copyDoc), Xml(doc));
    ASSERT_EQ(Root(copyDoc)->put_text(B("")), S_OK);
    EXPECT_EQ(Xml(copyDoc), "<a k=\"1\" m=\"2\"/>");
    EXPECT_EQ(Xml(doc), "<a k=\"1\" m=\"2\"><b>т</b><c/></a>");
    // Clones may be placed, in this document or another.
    ASSERT_EQ(root->appendChild(shallow.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(doc), "<a k=\"1\" m=\"2\"><b>т</b><c/><a k=\"1\" m=\"2\"/></a>");
}

TEST(DomNodes, TextOfElementsAndCharacterData) {
    auto doc = Load("<a>один <b>два</b><![CDATA[ три]]><!--не текст--></a>");
    auto root = Root(doc);
    EXPECT_EQ(Text(root), "один два три");
    EXPECT_EQ(Text(doc), "один два три");
    auto b = Select(doc, "a/b");
    ASSERT_EQ(root->put_text(B("новый & <текст>")), S_OK);
    EXPECT_EQ(Xml(doc), "<a>новый &amp; &lt;текст&gt;</a>");
    EXPECT_EQ(Xml(b), "<b>два</b>");  // the replaced child lives on, detached
    ComPtr<IXMLDOMNode> textNode;
    ASSERT_EQ(root->get_firstChild(textNode.GetAddressOf()), S_OK);
    auto data = As<IXMLDOMText>(textNode);
    ASSERT_TRUE(data);
    LONG length = 0;
    ASSERT_EQ(data->get_length(&length), S_OK);
    EXPECT_EQ(length, 15);
    ASSERT_EQ(data->replaceData(0, 5, B("старый")), S_OK);
    ASSERT_EQ(data->appendData(B("!")), S_OK);
    Bstr part;
    ASSERT_EQ(data->substringData(0, 6, part.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(U8(part), "старый");
    EXPECT_EQ(data->substringData(99, 1, part.ReleaseAndGetAddressOf()), E_INVALIDARG);
    ComPtr<IXMLDOMText> right;
    ASSERT_EQ(data->splitText(6, right.GetAddressOf()), S_OK);
    EXPECT_EQ(Text(right), " & <текст>!");
    EXPECT_EQ(Xml(doc), "<a>старый &amp; &lt;текст&gt;!</a>");
    ComPtr<IXMLDOMNodeList> kids;
    root->get_childNodes(kids.GetAddressOf());
    EXPECT_EQ(Length(kids), 2);
    // nodeValue: text for character data, null for elements.
    orv::Variant v;
    EXPECT_EQ(root->get_nodeValue(v.Out()), S_FALSE);
    EXPECT_EQ(v.vt, VT_NULL);
    ASSERT_EQ(textNode->get_nodeValue(v.Out()), S_OK);
    EXPECT_EQ(U8(v.bstrVal), "старый");
}

namespace {

// An IXMLDOMNode that is not one of the service's own nodes.
struct ForeignNode : IUnknown {
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid == IID_IUnknown) {
            *ppv = this;
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
};

}  // namespace

TEST(DomNodes, ForeignObjectsAreRefused) {
    auto doc = Load("<a/>");
    ForeignNode foreign;
    EXPECT_EQ(Root(doc)->appendChild(reinterpret_cast<IXMLDOMNode*>(&foreign), nullptr), E_INVALIDARG);
    orv::Variant ref;
    ref.vt = VT_UNKNOWN;
    ref.punkVal = &foreign;
    foreign.AddRef();
    EXPECT_EQ(Root(doc)->insertBefore(NewElement(doc, "x").Get(), ref, nullptr), E_INVALIDARG);
    orv::Variant number(LONG(5));
    EXPECT_EQ(Root(doc)->insertBefore(NewElement(doc, "x").Get(), number, nullptr), E_INVALIDARG);
    EXPECT_EQ(Xml(doc), "<a/>");
}

TEST(DomNodes, AttributesAreFoundByTheirWholeName) {
    auto doc = Load("<a DB=\"1\" DBK=\"2\" DBKX=\"3\" dbk=\"4\" знак=\"5\" x\xC3\xA9=\"6\"/>");
    auto a = Root(doc);
    EXPECT_EQ(Attr(a, "DB"), "1");
    EXPECT_EQ(Attr(a, "DBK"), "2");
    EXPECT_EQ(Attr(a, "DBKX"), "3");
    EXPECT_EQ(Attr(a, "dbk"), "4");
    EXPECT_EQ(Attr(a, "знак"), "5");
    EXPECT_EQ(Attr(a, "x\xC3\xA9"), "6");
    EXPECT_EQ(Attr(a, "D"), "<null>");
    EXPECT_EQ(Attr(a, "DBKXY"), "<null>");
    EXPECT_EQ(Attr(a, "Dbk"), "<null>");
    EXPECT_EQ(Attr(a, "зна"), "<null>");
    EXPECT_EQ(Attr(a, "x"), "<null>");
    EXPECT_EQ(Attr(a, "xe"), "<null>");
    EXPECT_EQ(Attr(a, ""), "<null>");
    // A name read up to its first NUL unit, as in its UTF-8 form.
    EXPECT_EQ(Attr(a, std::string_view("DBK\0Z", 5)), "2");
    EXPECT_EQ(Attr(a, std::string_view("\0DBK", 4)), "<null>");
    // Names set later are found the same way.
    ASSERT_EQ(SetAttr(a, "late", "7"), S_OK);
    EXPECT_EQ(Attr(a, "late"), "7");
    EXPECT_EQ(Attr(a, "lat"), "<null>");
}
