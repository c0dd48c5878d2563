// The host's sum collector: its row of amounts, independent copies, and its
// "SMS" element written and read back exactly, inside a document's element
// and alone.
#include "host/OrvSumCollector.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

using orv::Bstr;
using orv::ComPtr;

CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

ComPtr<IOrvSumCollector> NewCollector(LONG id, std::vector<LONGLONG> sums) {
    ComPtr<IOrvSumCollector> c;
    EXPECT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&c), S_OK);
    EXPECT_EQ(c->put_Id(id), S_OK);
    for (std::size_t i = 0; i < sums.size(); ++i) EXPECT_EQ(c->put_Sum(static_cast<LONG>(i), Cy(sums[i])), S_OK);
    return c;
}

// The identifier and the amounts, as raw currency units.
std::pair<LONG, std::vector<LONGLONG>> Contents(IOrvSumCollector* c) {
    LONG id = 0, count = 0;
    EXPECT_EQ(c->get_Id(&id), S_OK);
    EXPECT_EQ(c->get_Count(&count), S_OK);
    std::vector<LONGLONG> sums;
    for (LONG i = 0; i < count; ++i) {
        CY v{};
        EXPECT_EQ(c->get_Sum(i, &v), S_OK);
        sums.push_back(v.int64);
    }
    return {id, sums};
}

ComPtr<IOrvObjAsXmlString> Xml(IOrvSumCollector* c) {
    ComPtr<IOrvObjAsXmlString> x;
    EXPECT_EQ(c->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(x.GetAddressOf())), S_OK);
    return x;
}

// An element of a new DOM document, loaded from text.
ComPtr<IXMLDOMElement> Element(const char16_t* xml, ComPtr<IXMLDOMDocument>* keep) {
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(keep->ReleaseAndGetAddressOf())),
              S_OK);
    VARIANT_BOOL ok = VARIANT_FALSE;
    EXPECT_EQ((*keep)->loadXML(Bstr(xml), &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    ComPtr<IXMLDOMElement> e;
    EXPECT_EQ((*keep)->get_documentElement(e.GetAddressOf()), S_OK);
    return e;
}

std::u16string XmlOf(IXMLDOMElement* e) {
    Bstr text;
    EXPECT_EQ(e->get_xml(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

TEST(SumCollector, AmountsGrowWithZerosAndIndicesAreChecked) {
    auto c = NewCollector(5, {});
    ASSERT_EQ(c->put_Sum(3, Cy(25000)), S_OK);
    EXPECT_EQ(Contents(c.Get()), (std::pair<LONG, std::vector<LONGLONG>>{5, {0, 0, 0, 25000}}));
    CY v = Cy(1);
    EXPECT_EQ(c->get_Sum(4, &v), S_FALSE);
    EXPECT_EQ(v.int64, 0);
    EXPECT_EQ(c->get_Sum(-1, &v), E_INVALIDARG);
    EXPECT_EQ(c->get_Sum(orv::host::OrvSumCollector::kMaxSums, &v), E_INVALIDARG);
    EXPECT_EQ(c->put_Sum(orv::host::OrvSumCollector::kMaxSums, Cy(1)), E_INVALIDARG);
    EXPECT_EQ(c->get_Sum(0, nullptr), E_POINTER);
    ASSERT_EQ(c->put_Sum(0, Cy(-5000)), S_OK);
    ASSERT_EQ(c->get_Total(&v), S_OK);
    EXPECT_EQ(v.int64, 20000);
    // A total beyond the currency range is refused, not wrapped.
    ASSERT_EQ(c->put_Sum(1, Cy(std::numeric_limits<LONGLONG>::max() - 10)), S_OK);
    ASSERT_EQ(c->put_Sum(2, Cy(std::numeric_limits<LONGLONG>::max() - 10)), S_OK);
    EXPECT_EQ(c->get_Total(&v), DISP_E_OVERFLOW);
    ASSERT_EQ(c->Clear(), S_OK);
    EXPECT_EQ(Contents(c.Get()), (std::pair<LONG, std::vector<LONGLONG>>{5, {}}));
}

TEST(SumCollector, CopiesAreIndependent) {
    auto original = NewCollector(7, {100, 200});
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(original->Clone(unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> copy;
    ASSERT_EQ(unknown.As(&copy), S_OK);
    EXPECT_NE(copy.Get(), original.Get());
    EXPECT_EQ(Contents(copy.Get()), Contents(original.Get()));
    ASSERT_EQ(copy->put_Sum(0, Cy(999)), S_OK);
    ASSERT_EQ(copy->put_Id(8), S_OK);
    ASSERT_EQ(original->put_Sum(2, Cy(300)), S_OK);
    EXPECT_EQ(Contents(original.Get()), (std::pair<LONG, std::vector<LONGLONG>>{7, {100, 200, 300}}));
    EXPECT_EQ(Contents(copy.Get()), (std::pair<LONG, std::vector<LONGLONG>>{8, {999, 200}}));
    EXPECT_EQ(original->Clone(nullptr), E_POINTER);
}

TEST(SumCollector, FullStringWritesTheElementAndReadsItBackExactly) {
    auto c = NewCollector(7, {125000, 0, -30001});
    Bstr text;
    ASSERT_EQ(Xml(c.Get())->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"<SMS ID=\"7\" SUM=\"12.5\" SUM1=\"0\" SUM2=\"-3.0001\"/>");

    std::mt19937_64 rng(42);
    for (int round = 0; round < 200; ++round) {
        std::vector<LONGLONG> sums(rng() % 6);
        for (auto& s : sums) {
            // Small, fractional, negative and near the limits of CURRENCY.
            switch (rng() % 4) {
                case 0: s = static_cast<LONGLONG>(rng() % 2000001) - 1000000; break;
                case 1: s = static_cast<LONGLONG>(rng()); break;
                case 2: s = std::numeric_limits<LONGLONG>::min() + static_cast<LONGLONG>(rng() % 1000); break;
                default: s = static_cast<LONGLONG>(rng() % 100) * 10000; break;
            }
        }
        const LONG id = static_cast<LONG>(rng());
        auto source = NewCollector(id, sums);
        ASSERT_EQ(Xml(source.Get())->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
        auto target = NewCollector(0, {1, 2, 3, 4, 5, 6, 7});
        ASSERT_EQ(Xml(target.Get())->put_FullString(text), S_OK) << text.Utf8();
        ASSERT_EQ(Contents(target.Get()), (std::pair<LONG, std::vector<LONGLONG>>{id, sums})) << text.Utf8();
    }
}

TEST(SumCollector, InsideADocumentElementTheDocumentsIdentifierStays) {
    ComPtr<IXMLDOMDocument> dom;
    auto sms = Element(u"<SMS ID=\"9\"/>", &dom);
    auto c = NewCollector(4, {10000, 20000});
    ASSERT_EQ(Xml(c.Get())->ParseIn(sms.Get(), 0), S_OK);
    EXPECT_EQ(XmlOf(sms.Get()), u"<SMS ID=\"9\" SUM=\"1\" SUM1=\"2\"/>");

    // Reading takes the element's identifier and replaces every amount held.
    auto reader = NewCollector(1, {5, 5, 5, 5});
    ASSERT_EQ(Xml(reader.Get())->ParseFrom(sms.Get(), 0), S_OK);
    EXPECT_EQ(Contents(reader.Get()), (std::pair<LONG, std::vector<LONGLONG>>{9, {10000, 20000}}));

    // Amounts end at the first missing name; no identifier leaves the identifier.
    auto gap = Element(u"<SMS SUM=\"1.5\" SUM2=\"7\"/>", &dom);
    ASSERT_EQ(Xml(reader.Get())->ParseFrom(gap.Get(), 0), S_OK);
    EXPECT_EQ(Contents(reader.Get()), (std::pair<LONG, std::vector<LONGLONG>>{9, {15000}}));
    auto empty = Element(u"<SMS/>", &dom);
    ASSERT_EQ(Xml(reader.Get())->ParseFrom(empty.Get(), 0), S_OK);
    EXPECT_EQ(Contents(reader.Get()), (std::pair<LONG, std::vector<LONGLONG>>{9, {}}));
}

TEST(SumCollector, BadInputIsRefusedAndChangesNothing) {
    auto c = NewCollector(3, {10000});
    auto x = Xml(c.Get());
    const auto before = Contents(c.Get());
    EXPECT_EQ(x->put_FullString(Bstr(u"<SMS ID=\"4\" SUM=\"2\"")), E_INVALIDARG);
    EXPECT_EQ(x->put_FullString(Bstr(u"<OTHER ID=\"4\" SUM=\"2\"/>")), E_INVALIDARG);
    EXPECT_EQ(x->put_FullString(nullptr), E_INVALIDARG);
    EXPECT_EQ(x->ParseIn(nullptr, 0), E_POINTER);
    EXPECT_EQ(x->ParseFrom(nullptr, 0), E_POINTER);
    ComPtr<IXMLDOMDocument> dom;
    Element(u"<SMS/>", &dom);
    EXPECT_EQ(x->ParseFrom(dom.Get(), 0), E_NOINTERFACE);  // a document is not an element
    EXPECT_EQ(x->put_ShortString(Bstr(u"1.5;abc")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Contents(c.Get()), before);

    // The short form reads back.
    ASSERT_EQ(x->put_ShortString(Bstr(u"1.5;0;-2.25")), S_OK);
    Bstr text;
    ASSERT_EQ(x->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"1.5;0;-2.25");
    EXPECT_EQ(Contents(c.Get()), (std::pair<LONG, std::vector<LONGLONG>>{3, {15000, 0, -22500}}));
}

}  // namespace
