// The document list's XML forms: the short "DOCLIST" overview attribute by
// attribute, the full form written and read back equal, and malformed or
// partial texts that leave the list as it was.
#include "lists/lists_test_util.h"
#include "frame/values.h"
#include "xml/attributes.h"

namespace liststest {
namespace {

ComPtr<IXMLDOMDocument> Load(BSTR text) {
    ComPtr<IXMLDOMDocument> dom;
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(dom.ReleaseAndGetAddressOf())),
              S_OK);
    VARIANT_BOOL ok = VARIANT_FALSE;
    EXPECT_EQ(dom->loadXML(text, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    return dom;
}

std::vector<ComPtr<IXMLDOMElement>> Children(IXMLDOMNode* node) {
    std::vector<ComPtr<IXMLDOMElement>> out;
    ComPtr<IXMLDOMNode> child;
    node->get_firstChild(child.ReleaseAndGetAddressOf());
    while (child) {
        ComPtr<IXMLDOMElement> element;
        if (SUCCEEDED(child.As(&element))) out.push_back(element);
        ComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.ReleaseAndGetAddressOf());
        child = next;
    }
    return out;
}

std::vector<std::u16string> AttributeNames(IXMLDOMElement* element) {
    std::vector<std::u16string> names;
    ComPtr<IXMLDOMNamedNodeMap> map;
    element->get_attributes(map.ReleaseAndGetAddressOf());
    LONG n = 0;
    map->get_length(&n);
    for (LONG i = 0; i < n; ++i) {
        ComPtr<IXMLDOMNode> a;
        map->get_item(i, a.ReleaseAndGetAddressOf());
        Bstr name;
        a->get_nodeName(name.ReleaseAndGetAddressOf());
        names.emplace_back(name.View());
    }
    return names;
}

std::u16string Attr(IXMLDOMElement* element, const char16_t* name) {
    Bstr value;
    orv::GetAttributeText(element, name, value.ReleaseAndGetAddressOf());
    return std::u16string(value.View());
}

std::u16string DoubleText(double value) {
    orv::Variant v(value);
    EXPECT_EQ(VariantChangeType(&v, &v, 0, VT_BSTR), S_OK);
    return std::u16string(v.bstrVal, SysStringLen(v.bstrVal));
}

Bstr FullString(IUnknown* list) {
    ComPtr<IOrvObjAsXmlString> xml;
    EXPECT_EQ(list->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.ReleaseAndGetAddressOf())), S_OK);
    Bstr text;
    EXPECT_EQ(xml->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    return text;
}

HRESULT PutFullString(IUnknown* list, std::u16string_view text) {
    ComPtr<IOrvObjAsXmlString> xml;
    EXPECT_EQ(list->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.ReleaseAndGetAddressOf())), S_OK);
    return xml->put_FullString(Bstr(text));
}

class XmlForm : public ::testing::Test {
protected:
    ListsEnvironment env;
};

TEST_F(XmlForm, ShortFormOfAnEmptyListIsTheBareElement) {
    ComPtr<IOrvDocList> list = NewList();
    ComPtr<IOrvObjAsXmlStringD> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    Bstr text;
    ASSERT_EQ(xml->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IXMLDOMDocument> dom = Load(text);
    ComPtr<IXMLDOMElement> root;
    dom->get_documentElement(root.ReleaseAndGetAddressOf());
    ASSERT_TRUE(root);
    Bstr name;
    root->get_tagName(name.ReleaseAndGetAddressOf());
    EXPECT_EQ(name.View(), u"DOCLIST");
    EXPECT_TRUE(Children(root.Get()).empty());
    EXPECT_EQ(xml->put_ShortString(text), E_NOTIMPL);
    EXPECT_EQ(xml->get_ShortString(nullptr), E_POINTER);
}

TEST_F(XmlForm, ShortFormWritesTheFieldsInOrderAndTheExtrasOfTheirTypes) {
    const DATE dn = Day(2024, 5, 1), dk = Day(2024, 5, 31);
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list =
        ListOf({{1, 11, dn, dk}, {48, 12, dn, dk}, {91, 13, dn, dk}, {91, 14, dn, dk}, {91, 15, dn, dk}, {5, 16, dn, 0.0}},
               &docs);
    docs[0]->put_CodeFinRoot(7);
    docs[0]->put_Dcms(1, orv::MakeCurrency(123450));  // 12.345 -> 1235 hundredths
    docs[0]->put_T1(321);
    docs[0]->put_DB_ADDR(4000000000u);
    docs[1]->put_Dcms(1, orv::MakeCurrency(-123450));
    docs[2]->put_lDcRsrv(2, 1);
    docs[3]->put_lDcRsrv(2, 3);
    docs[4]->put_lDcRsrv(2, 2);
    docs[5]->put_Memo(Bstr(u"заметка"));

    Bstr text;
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    ASSERT_EQ(xml->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IXMLDOMDocument> dom = Load(text);
    ComPtr<IXMLDOMElement> root;
    dom->get_documentElement(root.ReleaseAndGetAddressOf());
    auto items = Children(root.Get());
    ASSERT_EQ(items.size(), docs.size());

    const std::vector<std::u16string> common = {u"T0", u"ID", u"T1", u"DN", u"DK", u"DS", u"CKI"};
    auto with = [&](std::initializer_list<const char16_t*> extra) {
        std::vector<std::u16string> names = common;
        for (auto* e : extra) names.emplace_back(e);
        return names;
    };
    EXPECT_EQ(AttributeNames(items[0].Get()), with({u"XFR", u"XCI"}));
    EXPECT_EQ(AttributeNames(items[1].Get()), with({u"XFR", u"XCI"}));
    EXPECT_EQ(AttributeNames(items[2].Get()), with({u"NAME"}));
    EXPECT_EQ(AttributeNames(items[3].Get()), with({u"NAME"}));
    EXPECT_EQ(AttributeNames(items[4].Get()), with({})) << "a staff order of kind 2 gets no name";
    EXPECT_EQ(AttributeNames(items[5].Get()), with({}));

    EXPECT_EQ(Attr(items[0].Get(), u"T0"), u"1");
    EXPECT_EQ(Attr(items[0].Get(), u"ID"), u"11");
    EXPECT_EQ(Attr(items[0].Get(), u"T1"), u"321");
    EXPECT_EQ(Attr(items[0].Get(), u"DN"), DoubleText(dn));
    EXPECT_EQ(Attr(items[0].Get(), u"DK"), DoubleText(dk));
    EXPECT_EQ(Attr(items[5].Get(), u"DK"), u"0");
    EXPECT_EQ(Attr(items[0].Get(), u"CKI"), u"4000000000");
    EXPECT_EQ(Attr(items[0].Get(), u"XFR"), u"7");
    EXPECT_EQ(Attr(items[0].Get(), u"XCI"), u"1235");
    EXPECT_EQ(Attr(items[1].Get(), u"XCI"), u"-1235");
    EXPECT_EQ(Attr(items[2].Get(), u"NAME"), u"Прием");
    EXPECT_EQ(Attr(items[3].Get(), u"NAME"), u"Перенос из(в) уволенные");
    for (std::size_t i = 0; i < docs.size(); ++i) {
        Bstr display;
        ASSERT_EQ(docs[i]->get_DisplayString(display.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(Attr(items[i].Get(), u"DS"), display.View());
    }
    // AddItemToFront puts the new document first.
    Add(list.Get(), MakeDoc({5, 17}).Get());
    LONG result = 0;
    ASSERT_EQ(list->AddItemToFront(MakeDoc({5, 18}).Get(), &result), S_OK);
    ASSERT_EQ(xml->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    dom = Load(text);
    dom->get_documentElement(root.ReleaseAndGetAddressOf());
    items = Children(root.Get());
    ASSERT_EQ(items.size(), docs.size() + 2);
    EXPECT_EQ(Attr(items.front().Get(), u"ID"), u"18");
    EXPECT_EQ(Attr(items.back().Get(), u"ID"), u"17");
}

// A list of documents with arbitrary records, addresses and extension bodies.
ComPtr<IOrvDocList> MixedList(int count) {
    ComPtr<IOrvDocList> list = NewList();
    for (int i = 0; i < count; ++i) {
        ComPtr<IOrvDocument> doc = MakeDoc({});
        doctest::PutRecord(doc.Get(), doctest::RandomRecord(1000 + i, static_cast<SHORT>(1 + i % 40)));
        doc->put_DB_ADDR(static_cast<ULONG>(i * 7 + 1));
        if (i % 3 == 0) {
            ComPtr<IOrvDocExtension> ext;
            EXPECT_EQ(doc.As(&ext), S_OK);
            const char body[] = "body\0bytes";
            Bstr bytes = Bstr::Attach(SysAllocStringByteLen(body, sizeof body - 1));
            ext->put_Body(bytes);
            ext->put_Length(sizeof body - 1);
        }
        Add(list.Get(), doc.Get());
    }
    return list;
}

TEST_F(XmlForm, TheFullFormReadBackEqualsTheListWritten) {
    ComPtr<IOrvDocList> list = MixedList(25);
    Bstr written = FullString(list.Get());
    ComPtr<IOrvDocList> copy = ListOf({{3, 1}});  // whatever it held goes
    ASSERT_EQ(PutFullString(copy.Get(), written.View()), S_OK);
    EXPECT_EQ(FullString(copy.Get()).View(), written.View());

    list->Reset();
    copy->Reset();
    for (int i = 0; i < 25; ++i) {
        ComPtr<IUnknown> a, b;
        LONG r = 0;
        ASSERT_EQ(list->Next(a.ReleaseAndGetAddressOf(), &r), S_OK);
        ASSERT_EQ(copy->Next(b.ReleaseAndGetAddressOf(), &r), S_OK);
        ComPtr<IOrvDocument> da, db;
        ASSERT_EQ(a.As(&da), S_OK);
        ASSERT_EQ(b.As(&db), S_OK);
        EXPECT_EQ(doctest::RecordOf(da.Get()), doctest::RecordOf(db.Get())) << i;
        ULONG addrA = 0, addrB = 1;
        da->get_DB_ADDR(&addrA);
        db->get_DB_ADDR(&addrB);
        EXPECT_EQ(addrA, addrB);
        EXPECT_NE(a.Get(), b.Get()) << "reading makes new documents";
    }
    EXPECT_EQ(ListNext(copy.Get()), 0);
}

TEST_F(XmlForm, ParseInAppendsToTheCallersElementAndParseFromSkipsOtherElements) {
    ComPtr<IOrvDocList> list = MixedList(2);
    ComPtr<IXMLDOMDocument> dom = Load(Bstr(u"<HOLDER><KEEP/></HOLDER>"));
    ComPtr<IXMLDOMElement> root;
    dom->get_documentElement(root.ReleaseAndGetAddressOf());
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    ASSERT_EQ(xml->ParseIn(root.Get(), 5), S_OK);
    auto children = Children(root.Get());
    ASSERT_EQ(children.size(), 3u);
    Bstr tag;
    children[2]->get_tagName(tag.ReleaseAndGetAddressOf());
    EXPECT_EQ(tag.View(), u"ORVDOCUMENT");

    ComPtr<IOrvDocList> copy = NewList();
    ComPtr<IOrvObjAsXmlString> copyXml;
    ASSERT_EQ(copy.As(&copyXml), S_OK);
    ASSERT_EQ(copyXml->ParseFrom(root.Get(), 9), S_OK);
    copy->Reset();
    EXPECT_EQ(DrainIds(copy.Get()).size(), 2u) << "the KEEP element is passed over";
    EXPECT_EQ(xml->ParseIn(nullptr, 0), E_POINTER);
}

TEST_F(XmlForm, MalformedTextsLeaveTheListAsItWas) {
    ComPtr<IOrvDocList> list = MixedList(4);
    const Bstr before = FullString(list.Get());
    const std::u16string good(before.View());

    // Not XML at all, and every cut of a good text.
    EXPECT_EQ(PutFullString(list.Get(), u"not xml <"), E_POINTER);
    EXPECT_EQ(PutFullString(list.Get(), u""), E_POINTER);
    for (std::size_t cut = 1; cut < good.size(); cut += 53) {
        HRESULT hr = PutFullString(list.Get(), good.substr(0, cut));
        EXPECT_TRUE(FAILED(hr)) << cut;
        ASSERT_EQ(FullString(list.Get()).View(), good) << "cut at " << cut;
    }
    // A document whose record is damaged: refused, and nothing read is kept.
    std::u16string damaged = good;
    const std::size_t record = damaged.rfind(u"DOCRECORD=\"");
    ASSERT_NE(record, std::u16string::npos);
    damaged.erase(record + 11, 2);
    EXPECT_EQ(PutFullString(list.Get(), damaged), E_INVALIDARG);
    EXPECT_EQ(FullString(list.Get()).View(), good);
}

TEST_F(XmlForm, ATextWithoutTheListElementEmptiesTheListAndFails) {
    ComPtr<IOrvDocList> list = MixedList(3);
    EXPECT_EQ(PutFullString(list.Get(), u"<OTHER><ORVDOCUMENT/></OTHER>"), E_POINTER);
    list->Reset();
    EXPECT_TRUE(DrainIds(list.Get()).empty());

    ComPtr<IOrvDocList> again = MixedList(3);
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(again.As(&xml), S_OK);
    EXPECT_EQ(xml->ParseFrom(nullptr, 0), E_POINTER);
    again->Reset();
    EXPECT_TRUE(DrainIds(again.Get()).empty());
}

}  // namespace
}  // namespace liststest
