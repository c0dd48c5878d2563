// The failure hook itself: which allocation fails, what a failing one answers,
// and that nothing is counted or failed once it is off.
#include "oom_walk.h"

#include "document/doc_test_util.h"

namespace {

using orv::Bstr;
using orv::ComPtr;
using oomtest::HookOff;

TEST(OomHook, FailsExactlyTheNthStringAndCounts) {
    HookOff off;
    OrvFailAllocationAt(3);
    BSTR a = SysAllocString(u"one");
    BSTR b = SysAllocStringLen(u"two", 3);
    BSTR c = SysAllocStringByteLen("three", 5);
    BSTR d = SysAllocString(u"four");
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(c, nullptr);
    EXPECT_NE(d, nullptr);
    EXPECT_EQ(OrvCountedAllocations(), 4);
    // A failing reallocation answers FALSE and leaves the string as it was.
    OrvFailAllocationAt(1);
    EXPECT_EQ(SysReAllocString(&a, u"replaced"), FALSE);
    EXPECT_EQ(std::u16string(a, SysStringLen(a)), u"one");
    EXPECT_EQ(SysReAllocStringLen(&b, u"again", 5), TRUE);
    EXPECT_EQ(std::u16string(b, SysStringLen(b)), u"again");
    OrvFailAllocationAt(0);
    BSTR e = SysAllocString(u"five");
    EXPECT_NE(e, nullptr);
    EXPECT_EQ(OrvCountedAllocations(), 0);
    for (BSTR s : {a, b, d, e}) SysFreeString(s);
}

TEST(OomHook, BstrOwnerThrowsInsteadOfHoldingNull) {
    HookOff off;
    OrvFailAllocationAt(1);
    EXPECT_THROW(Bstr(u"text"), std::bad_alloc);
    OrvFailAllocationAt(0);
}

TEST(OomHook, ObjectCreationAnswersOutOfMemory) {
    HookOff off;
    OrvFailAllocationAt(1);
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), E_OUTOFMEMORY);
    EXPECT_EQ(doc.Get(), nullptr);
    OrvFailAllocationAt(0);
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
}

// Each allocation of the DOM service failing in turn: document creation,
// loadXML (pugixml's own allocations) and node creation answer E_OUTOFMEMORY
// and never crash.
TEST(OomHook, DomServiceFailsCleanly) {
    HookOff off;
    const Bstr text(u"<a x=\"1\"><b>text</b><c/></a>");
    const Bstr name(u"d");
    long failures = 0;
    for (long n = 1;; ++n) {
        OrvFailAllocationAt(n);
        ComPtr<IXMLDOMDocument> dom;
        HRESULT hr = CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                      reinterpret_cast<void**>(dom.GetAddressOf()));
        VARIANT_BOOL loaded = VARIANT_FALSE;
        if (SUCCEEDED(hr)) hr = dom->loadXML(text, &loaded);
        ComPtr<IXMLDOMElement> element;
        if (hr == S_OK) hr = dom->createElement(name, element.GetAddressOf());
        const long counted = OrvCountedAllocations();
        OrvFailAllocationAt(0);
        if (counted < n) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(loaded, VARIANT_TRUE);
            break;
        }
        if (hr == S_OK) {
            // Every step succeeded although one allocation failed (a retried
            // or spare one): the document must then be whole.
            Bstr xml;
            ASSERT_EQ(dom->get_xml(xml.ReleaseAndGetAddressOf()), S_OK);
            EXPECT_NE(xml.View().find(u"<b>text</b>"), std::u16string_view::npos) << n;
            continue;
        }
        ++failures;
        EXPECT_EQ(hr, E_OUTOFMEMORY) << "failure injected at " << n;
        EXPECT_EQ(element.Get(), nullptr);
        ASSERT_LT(n, 10000);
    }
    EXPECT_GT(failures, 2);
}

// A load that runs out of memory is not a text that does not parse: it
// answers E_OUTOFMEMORY and the document keeps what it held.
TEST(OomHook, LoadOutOfMemoryKeepsTheDocument) {
    HookOff off;
    ComPtr<IXMLDOMDocument> dom;
    ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(dom.GetAddressOf())),
              S_OK);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(dom->loadXML(Bstr(u"<old a=\"1\"><x/></old>"), &loaded), S_OK);
    Bstr before;
    ASSERT_EQ(dom->get_xml(before.ReleaseAndGetAddressOf()), S_OK);
    const Bstr text(u"<new><b>text</b><c d=\"e\"/></new>");
    long failures = 0;
    for (long n = 1; n < 10000; ++n) {
        OrvFailAllocationAt(n);
        const HRESULT hr = dom->loadXML(text, &loaded);
        const long counted = OrvCountedAllocations();
        OrvFailAllocationAt(0);
        Bstr now;
        ASSERT_EQ(dom->get_xml(now.ReleaseAndGetAddressOf()), S_OK);
        if (hr == S_OK) {
            EXPECT_NE(now.View().find(u"<b>text</b>"), std::u16string_view::npos);
            if (counted < n) break;
            ASSERT_EQ(dom->loadXML(Bstr(before.View()), &loaded), S_OK);  // back to the old text
            continue;
        }
        ++failures;
        EXPECT_EQ(hr, E_OUTOFMEMORY) << n;
        EXPECT_EQ(loaded, VARIANT_FALSE);
        EXPECT_EQ(now.View(), before.View()) << n;
    }
    EXPECT_GT(failures, 0);
}

// A deep clone of a whole document: a new document and its node object, then
// the copy. Every failure answers E_OUTOFMEMORY and hands out nothing.
TEST(OomHook, DocumentCloneFailsCleanly) {
    HookOff off;
    ComPtr<IXMLDOMDocument> dom;
    ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(dom.GetAddressOf())),
              S_OK);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    ASSERT_EQ(dom->loadXML(Bstr(u"<a x=\"1\"><b>text</b><c/></a>"), &loaded), S_OK);
    Bstr expected;
    ASSERT_EQ(dom->get_xml(expected.ReleaseAndGetAddressOf()), S_OK);
    long failures = 0;
    for (long n = 1; n < 10000; ++n) {
        ComPtr<IXMLDOMNode> clone;
        OrvFailAllocationAt(n);
        const HRESULT hr = dom->cloneNode(VARIANT_TRUE, clone.GetAddressOf());
        const long counted = OrvCountedAllocations();
        OrvFailAllocationAt(0);
        if (hr == S_OK) {
            ASSERT_TRUE(clone);
            Bstr xml;
            ASSERT_EQ(clone->get_xml(xml.ReleaseAndGetAddressOf()), S_OK);
            EXPECT_EQ(xml.View(), expected.View()) << n;
            if (counted < n) break;
            continue;
        }
        ++failures;
        EXPECT_EQ(hr, E_OUTOFMEMORY) << n;
        EXPECT_EQ(clone.Get(), nullptr);
    }
    EXPECT_GE(failures, 2);  // the document and its node object
}

}  // namespace
