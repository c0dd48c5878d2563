// Paid-month bookkeeping of the vacation protocol: intervals added out of
// order, erasing from a date on, indexation factors, the two access types,
// and the exchange of the two protocols. The paid months are read back from
// the XML form, and the totals are worked out by hand.
#include "vacation_test_util.h"

#include "kinds/ExtensionFields.h"
#include "xml/attributes.h"

#include <orvdocs/platform/combase.h>

#include <vector>

namespace {

using vactest::ComPtr;
using vactest::Cy;

struct Month {
    double dt = 0, factor = 0;
    std::vector<LONGLONG> sums;  // raw currency, in interval order
    LONGLONG Total() const {
        LONGLONG t = 0;
        for (auto s : sums) t += s;
        return t;
    }
};

// The "PMONTH" elements of protocol 0 (or 1) of an access type in the text.
std::vector<Month> PaidMonthsIn(const std::u16string& xmlText, LONG at, bool second = false) {
    std::vector<Month> out;
    ComPtr<IXMLDOMDocument> xml;
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(xml.GetAddressOf())),
              S_OK);
    VARIANT_BOOL ok = 0;
    EXPECT_EQ(xml->loadXML(orv::Bstr(xmlText), &ok), S_OK);
    ComPtr<IXMLDOMElement> root;
    EXPECT_EQ(xml->get_documentElement(root.GetAddressOf()), S_OK);
    std::u16string path = u"Protocols/Protocol[@AT=" + std::u16string(at ? u"1" : u"0") + u"]/OTPROTOCOL";
    if (second) path += u"/OTPROTOCOL2";
    ComPtr<IXMLDOMElement> protocol = orv::ext::ChildElement(root.Get(), path.c_str());
    EXPECT_TRUE(protocol);
    if (!protocol) return out;
    for (const auto& pm : orv::ext::ChildElements(protocol.Get(), u"PMONTH")) {
        Month m;
        orv::GetAttributeDouble(pm.Get(), u"DT", &m.dt);
        orv::GetAttributeDouble(pm.Get(), u"FAC", &m.factor);
        for (const auto& i : orv::ext::ChildElements(pm.Get(), u"INTRVL")) {
            CY sum{};
            orv::GetAttributeCurrency(i.Get(), u"SUM", &sum);
            m.sums.push_back(sum.int64 / 100);  // hundredths
        }
        out.push_back(m);
    }
    return out;
}

struct PaidMonthsTest : ::testing::Test {
    void SetUp() override {
        doc = vactest::NewDocument(22);
        service = std::make_unique<vactest::AccessTypeService>(doc.Get(), 0);
        p = vactest::Vacation(doc.Get());
        ASSERT_TRUE(p);
    }
    void Add(DATE month, LONGLONG hundredths, LONG type = 1) {
        ASSERT_EQ(p->AddPaiedInterval(month, month, month + 1, type, 2, 16, Cy(hundredths * 100), VARIANT_FALSE),
                  S_OK);
    }
    std::vector<Month> Months(LONG at = 0, bool second = false) {
        return PaidMonthsIn(vactest::ProtocolXml(p.Get()), at, second);
    }
    ComPtr<IOrvDocument> doc;
    std::unique_ptr<vactest::AccessTypeService> service;
    ComPtr<IOrvOTProtocol> p;
};

TEST_F(PaidMonthsTest, IntervalsAddedOutOfOrderAreSortedByMonthAndKeptInCallOrderWithin) {
    Add(vactest::kFeb1, 10000);          // 100.00
    Add(vactest::kJan15, 20000);         // 200.00
    Add(vactest::kFeb1 + 0.3, 5000);     // same day as the first: same month
    Add(vactest::kDec1, 1000);
    Add(vactest::kJan15 + 0.99, 500);
    auto months = Months();
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(months[0].dt, vactest::kDec1);
    EXPECT_EQ(months[1].dt, vactest::kJan15);
    EXPECT_EQ(months[2].dt, vactest::kFeb1);
    EXPECT_EQ(months[1].sums, (std::vector<LONGLONG>{20000, 500}));
    EXPECT_EQ(months[2].sums, (std::vector<LONGLONG>{10000, 5000}));
    EXPECT_EQ(months[0].Total() + months[1].Total() + months[2].Total(), 36500);
    EXPECT_EQ(months[1].factor, 0.0);
    // Both protocols of the access type carry the same paid months.
    auto second = Months(0, true);
    ASSERT_EQ(second.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(second[i].dt, months[i].dt);
        EXPECT_EQ(second[i].sums, months[i].sums);
    }
}

TEST_F(PaidMonthsTest, EraseTakesTheFirstMonthNotBeforeTheDateAndAllAfterIt) {
    Add(vactest::kDec1, 1000);
    Add(vactest::kJan15, 20000);
    Add(vactest::kFeb1, 10000);
    Add(vactest::kMar1, 7);
    ASSERT_EQ(p->ErasePaiedMonthsAfter(vactest::kMar1 + 40), S_OK);  // later than every month
    EXPECT_EQ(Months().size(), 4u);
    // The date is not floored: the month of Jan 15 lies before Jan 15 at noon.
    ASSERT_EQ(p->ErasePaiedMonthsAfter(vactest::kJan15 + 0.5), S_OK);
    auto months = Months();
    ASSERT_EQ(months.size(), 2u);
    EXPECT_EQ(months[0].Total() + months[1].Total(), 21000);
    ASSERT_EQ(p->ErasePaiedMonthsAfter(vactest::kJan15), S_OK);  // equal: erased
    months = Months();
    ASSERT_EQ(months.size(), 1u);
    EXPECT_EQ(months[0].dt, vactest::kDec1);
    Add(vactest::kMar1, 300);
    ASSERT_EQ(p->ErasePaiedMonthsAfter(vactest::kDec1 - 100), S_OK);  // earlier than every month
    EXPECT_TRUE(Months().empty());
}

TEST_F(PaidMonthsTest, IndexationOfAMonthThatDoesNotExistYet) {
    double f = -1;
    ASSERT_EQ(p->get_PaiedMonthIndexation(vactest::kMar1, &f), S_OK);
    EXPECT_EQ(f, 0.0);
    EXPECT_TRUE(Months().empty());  // the get created nothing
    ASSERT_EQ(p->put_PaiedMonthIndexation(vactest::kMar1 + 0.7, 1.05), S_OK);
    auto months = Months();
    ASSERT_EQ(months.size(), 1u);
    EXPECT_EQ(months[0].dt, vactest::kMar1);
    EXPECT_DOUBLE_EQ(months[0].factor, 1.05);
    EXPECT_TRUE(months[0].sums.empty());
    // Intervals added later join that month and keep its factor.
    Add(vactest::kMar1, 4000);
    Add(vactest::kMar1, 2550);
    ASSERT_EQ(p->put_PaiedMonthIndexation(vactest::kMar1, 1.1), S_OK);
    months = Months();
    ASSERT_EQ(months.size(), 1u);
    EXPECT_DOUBLE_EQ(months[0].factor, 1.1);
    EXPECT_EQ(months[0].Total(), 6550);
    ASSERT_EQ(p->get_PaiedMonthIndexation(vactest::kMar1 + 0.2, &f), S_OK);
    EXPECT_DOUBLE_EQ(f, 1.1);
}

TEST_F(PaidMonthsTest, TheTwoAccessTypesAreKeptApart) {
    Add(vactest::kJan15, 100);
    ASSERT_EQ(p->put_PaiedMonthIndexation(vactest::kJan15, 2.0), S_OK);
    ASSERT_EQ(p->put_MesCount(11), S_OK);
    service->Set(5);  // any non-zero answer is access type 1
    ASSERT_EQ(p->CheckAccessType(), S_OK);
    double f = -1;
    ASSERT_EQ(p->get_PaiedMonthIndexation(vactest::kJan15, &f), S_OK);
    EXPECT_EQ(f, 0.0);
    SHORT n = -1;
    ASSERT_EQ(p->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 0);
    Add(vactest::kFeb1, 300);
    Add(vactest::kFeb1, 400);
    ASSERT_EQ(p->ErasePaiedMonthsAfter(vactest::kJan1), S_OK);  // only this access type
    Add(vactest::kMar1, 900);
    auto at0 = Months(0), at1 = Months(1);
    ASSERT_EQ(at0.size(), 1u);
    EXPECT_EQ(at0[0].dt, vactest::kJan15);
    EXPECT_EQ(at0[0].Total(), 100);
    ASSERT_EQ(at1.size(), 1u);
    EXPECT_EQ(at1[0].dt, vactest::kMar1);
    EXPECT_EQ(at1[0].Total(), 900);
    service->Set(0);
    ASSERT_EQ(p->CheckAccessType(), S_OK);
    ASSERT_EQ(p->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 11);
}

TEST_F(PaidMonthsTest, ReplaceProtocolsExchangesTheRecordsAndTwiceIsTheIdentity) {
    ASSERT_EQ(p->put_SumOt1(Cy(1110000)), S_OK);
    ASSERT_EQ(p->put_MonSum2(3, Cy(30000)), S_OK);
    ASSERT_EQ(p->put_CurrentProtocol(1), S_OK);
    ASSERT_EQ(p->put_SumOt1(Cy(2220000)), S_OK);
    ASSERT_EQ(p->put_CurrentProtocol(0), S_OK);
    Add(vactest::kFeb1, 123);
    service->Set(1);
    ASSERT_EQ(p->CheckAccessType(), S_OK);
    ASSERT_EQ(p->put_SumOt1(Cy(9990000)), S_OK);
    service->Set(0);  // ReplaceProtocols takes the access type afresh
    const std::u16string before = vactest::ProtocolXml(p.Get());

    ASSERT_EQ(p->ReplaceProtocols(), S_OK);
    CY v{};
    ASSERT_EQ(p->get_SumOt1(&v), S_OK);
    EXPECT_EQ(v.int64, 2220000);
    ASSERT_EQ(p->get_MonSum2(3, &v), S_OK);
    EXPECT_EQ(v.int64, 0);
    ASSERT_EQ(p->put_CurrentProtocol(1), S_OK);
    ASSERT_EQ(p->get_SumOt1(&v), S_OK);
    EXPECT_EQ(v.int64, 1110000);
    ASSERT_EQ(p->get_MonSum2(3, &v), S_OK);
    EXPECT_EQ(v.int64, 30000);
    EXPECT_EQ(Months().size(), 1u);  // paid months stay
    auto at1 = vactest::ProtocolXml(p.Get());
    EXPECT_NE(at1.find(u"<DSUMOT1 VAL=\"999\"/>"), std::u16string::npos);  // the other access type untouched

    ASSERT_EQ(p->ReplaceProtocols(), S_OK);
    EXPECT_EQ(vactest::Utf8(vactest::ProtocolXml(p.Get())), vactest::Utf8(before));
}

TEST_F(PaidMonthsTest, CleanEmptiesOnlyTheCurrentAccessTypeAndWritesNothing) {
    vactest::SetBodyText(doc.Get(), u"<OTDOCEX/>");
    ASSERT_EQ(p->put_TotSum1(Cy(10000)), S_OK);
    Add(vactest::kJan15, 100);
    service->Set(1);
    ASSERT_EQ(p->CheckAccessType(), S_OK);
    ASSERT_EQ(p->put_TotSum1(Cy(20000)), S_OK);
    ASSERT_EQ(p->put_CurrentProtocol(1), S_OK);
    ASSERT_EQ(p->put_TotSum1(Cy(30000)), S_OK);
    Add(vactest::kFeb1, 200);
    ASSERT_EQ(p->Clean(), S_OK);
    CY v{};
    ASSERT_EQ(p->get_TotSum1(&v), S_OK);
    EXPECT_EQ(v.int64, 0);
    ASSERT_EQ(p->put_CurrentProtocol(0), S_OK);
    ASSERT_EQ(p->get_TotSum1(&v), S_OK);
    EXPECT_EQ(v.int64, 0);
    EXPECT_TRUE(Months(1).empty());
    EXPECT_EQ(Months(0).size(), 1u);
    service->Set(0);
    ASSERT_EQ(p->CheckAccessType(), S_OK);
    ASSERT_EQ(p->get_TotSum1(&v), S_OK);
    EXPECT_EQ(v.int64, 10000);
    EXPECT_EQ(vactest::BodyText(doc.Get()), u"<OTDOCEX/>");
}

TEST_F(PaidMonthsTest, BadArgumentsChangeNothing) {
    Add(vactest::kJan15, 100);
    const std::u16string before = vactest::ProtocolXml(p.Get());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(p->AddPaiedInterval(nan, 0, 0, 0, 0, 0, Cy(0), 0), E_INVALIDARG);
    EXPECT_EQ(p->put_PaiedMonthIndexation(std::numeric_limits<double>::infinity(), 1.0), E_INVALIDARG);
    EXPECT_EQ(p->ErasePaiedMonthsAfter(nan), E_INVALIDARG);
    EXPECT_EQ(p->put_CurrentProtocol(2), E_INVALIDARG);
    EXPECT_EQ(p->put_CurrentProtocol(-1), E_INVALIDARG);
    DATE d = 0;
    EXPECT_EQ(p->get_MonDate(12, &d), E_INVALIDARG);
    EXPECT_EQ(p->get_MonDate(-1, &d), E_INVALIDARG);
    EXPECT_EQ(p->put_MonSum1(12, Cy(1)), E_INVALIDARG);
    EXPECT_EQ(p->put_NormDaysCommon(-5, 1), E_INVALIDARG);
    EXPECT_EQ(p->get_MonDate(0, nullptr), E_POINTER);
    EXPECT_EQ(p->get_Flag(nullptr), E_POINTER);
    EXPECT_EQ(p->get_PaiedMonthIndexation(vactest::kJan15, nullptr), E_POINTER);
    EXPECT_EQ(p->get_TabNum(nullptr), E_POINTER);
    EXPECT_EQ(vactest::ProtocolXml(p.Get()), before);
}

TEST(ProtocolAccessType, WithoutADatabaseServiceTheAccessTypeStays) {
    auto doc = vactest::NewDocument(22);
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_MesCount(1), S_OK);
    ASSERT_EQ(p->CheckAccessType(), S_OK);
    ASSERT_EQ(p->ReplaceProtocols(), S_OK);
    ASSERT_EQ(p->put_CurrentProtocol(1), S_OK);
    SHORT n = 0;
    ASSERT_EQ(p->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 1);
}

}  // namespace
