// Creation through the runtime, size and depth extremes, several threads.
#include "dom_test_util.h"

#include <atomic>
#include <thread>

using namespace domtest;

TEST(DomService, CreatedByClassIdentifierAndProgId) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"Msxml2.DOMDocument.4.0", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_DOMDocument40);
    ComPtr<IXMLDOMDocument2> doc;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument2,
                               reinterpret_cast<void**>(doc.GetAddressOf())),
              S_OK);
    // Each creation is a new, empty document.
    auto other = NewDoc();
    EXPECT_NE(Identity(doc), Identity(other));
    EXPECT_EQ(Xml(doc), "");
    orv::Variant lang;
    ASSERT_EQ(doc->getProperty(B("SelectionLanguage"), lang.Out()), S_OK);
    EXPECT_EQ(U8(lang.bstrVal), "XPath");
    // Aggregation is not offered; unknown interfaces are refused.
    ComPtr<IUnknown> agg;
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument40, other.Get(), CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(agg.GetAddressOf())),
              CLASS_E_NOAGGREGATION);
    ComPtr<IClassFactory> notThere;
    EXPECT_EQ(doc->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(notThere.GetAddressOf())),
              E_NOINTERFACE);
}

TEST(DomLimits, NestedOneHundredThousandLevels) {
    constexpr int kDepth = 100000;
    std::string text;
    text.reserve(kDepth * 7 + 16);
    for (int i = 0; i < kDepth; ++i) text += "<a>";
    text += "дно";
    for (int i = 0; i < kDepth; ++i) text += "</a>";
    auto doc = NewDoc();
    VARIANT_BOOL ok = VARIANT_FALSE;
    HRESULT hr = doc->loadXML(B(text), &ok);
    // Either answer is allowed; this service loads it. Whatever is loaded must
    // then be usable without exhausting the stack.
    ASSERT_TRUE(hr == S_OK || hr == S_FALSE);
    if (ok != VARIANT_TRUE) return;
    EXPECT_EQ(Xml(doc), text);
    EXPECT_EQ(Text(doc), "дно");
    EXPECT_EQ(Length(SelectAll(doc, "//a")), kDepth);
    auto deepest = Select(doc, "//a[not(a)]");
    ASSERT_TRUE(deepest);
    EXPECT_EQ(Text(deepest), "дно");
    // Detaching, cloning and moving the whole depth.
    auto inner = Select(doc, "a/a");
    ComPtr<IXMLDOMNode> copy;
    ASSERT_EQ(inner->cloneNode(VARIANT_TRUE, copy.GetAddressOf()), S_OK);
    ASSERT_EQ(Root(doc)->removeChild(inner.Get(), nullptr), S_OK);
    EXPECT_EQ(Xml(doc), "<a/>");
    auto other = Load("<r/>");
    ASSERT_EQ(Root(other)->appendChild(inner.Get(), nullptr), S_OK);
    EXPECT_EQ(Length(SelectAll(other, "//a")), kDepth - 1);
    ASSERT_EQ(Root(other)->put_text(B("x")), S_OK);
    EXPECT_EQ(Xml(other), "<r>x</r>");
}

TEST(DomLimits, TenMegabyteDocument) {
    std::string text = "<LIST>";
    const std::string record(200, 'F');
    int count = 0;
    while (text.size() < 10u * 1024 * 1024) {
        text += "<ITEM N=\"" + std::to_string(count) + "\" R=\"" + record + "\">Запись " + std::to_string(count) +
                "</ITEM>";
        ++count;
    }
    text += "</LIST>";
    auto doc = Load(text);
    EXPECT_EQ(Length(SelectAll(doc, "LIST/ITEM")), count);
    auto last = As<IXMLDOMElement>(Select(doc, "LIST/ITEM[last()]"));
    ASSERT_TRUE(last);
    EXPECT_EQ(Attr(last, "N"), std::to_string(count - 1));
    EXPECT_EQ(Xml(doc), text);
    // Held nodes survive a reload of a large document.
    VARIANT_BOOL ok;
    ASSERT_EQ(doc->loadXML(B("<small/>"), &ok), S_OK);
    EXPECT_EQ(Attr(last, "N"), std::to_string(count - 1));
}

TEST(DomLimits, SeveralThreadsOnSharedDocuments) {
    auto a = Load("<A/>");
    auto b = Load("<B/>");
    auto rootA = Root(a);
    auto rootB = Root(b);
    constexpr int kPerThread = 300;
    std::atomic<int> failures{0};
    auto writer = [&](int id) {
        for (int i = 0; i < kPerThread; ++i) {
            auto e = NewElement(a, "E");
            if (SetAttr(e, "T", std::to_string(id)) != S_OK) ++failures;
            if (rootA->appendChild(e.Get(), nullptr) != S_OK) ++failures;
            ComPtr<IXMLDOMNodeList> list;
            if (a->selectNodes(B("A/E"), list.GetAddressOf()) != S_OK) ++failures;
        }
    };
    // Two threads move nodes between the same two documents in opposite
    // directions: each move locks both documents.
    auto mover = [&](const ComPtr<IXMLDOMElement>& to, const ComPtr<IXMLDOMDocument>& from) {
        for (int i = 0; i < kPerThread; ++i) {
            auto e = NewElement(from, "M");
            ComPtr<IXMLDOMElement> fromRoot = Root(from);
            if (!fromRoot || fromRoot->appendChild(e.Get(), nullptr) != S_OK) ++failures;
            if (to->appendChild(e.Get(), nullptr) != S_OK) ++failures;
            Bstr s;
            if (e->get_xml(s.ReleaseAndGetAddressOf()) != S_OK) ++failures;
        }
    };
    std::thread t1(writer, 1), t2(writer, 2);
    std::thread t3(mover, rootB, a), t4(mover, rootA, b);
    t1.join();
    t2.join();
    t3.join();
    t4.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(Length(SelectAll(a, "A/E")), 2 * kPerThread);
    EXPECT_EQ(Length(SelectAll(a, "A/M")), kPerThread);
    EXPECT_EQ(Length(SelectAll(b, "B/M")), kPerThread);
    EXPECT_EQ(Length(SelectAll(a, "A/E[@T='1']")), kPerThread);
}
