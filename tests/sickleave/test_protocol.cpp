// The protocol's bookkeeping: its lists hold the host's own items, Clean and
// the two clean-ups, and the access type from the database service.
#include "sickleave_test_util.h"

namespace {

using namespace bltest;

TEST(Protocol, ListsHoldTheHostsItemsWithoutTouchingTheCounts) {
    HostEnvironment host;
    auto p = NewProtocol();
    auto item = NewHistoryItem(5, 45658.0, 100);
    ASSERT_EQ(p->AddHistoryItem(item.Get()), S_OK);
    LONG count = -1;
    p->get_HistoryCount(&count);
    EXPECT_EQ(count, 0);
    // The very object: a change made afterwards shows in the protocol's text.
    item->put_Days(17);
    EXPECT_NE(FullStringOf(p.Get()).find(u"<HISTORYITEM><DAYS VAL=\"17\"/>"), std::u16string::npos);
    // The live list: what the host adds there is the protocol's.
    ComPtr<IUnknown> listObject;
    ASSERT_EQ(p->get_HistoryList(listObject.GetAddressOf()), S_OK);
    ComPtr<IOrvUnknownList> list;
    ASSERT_EQ(listObject.As(&list), S_OK);
    ASSERT_EQ(list->Add(NewHistoryItem(6, 0.0, 0).Get()), S_OK);
    EXPECT_EQ(HistoryOf(p.Get()).size(), 2u);
    EXPECT_EQ(p->get_HistoryList(nullptr), E_POINTER);
    EXPECT_EQ(p->get_PayMonthList(nullptr), E_POINTER);
}

// The walk of a list ends at its first element that is not an item.
TEST(Protocol, WritingStopsAtTheFirstForeignElement) {
    HostEnvironment host;
    auto p = NewProtocol();
    p->AddPayMonthItem(NewPayMonth(46023.0, 100, 0).Get());
    auto stranger = NewHistoryItem(1, 0.0, 0);  // not a pay month
    p->AddPayMonthItem(stranger.Get());
    p->AddPayMonthItem(NewPayMonth(46054.0, 200, 0).Get());
    const std::u16string text = FullStringOf(p.Get());
    std::size_t n = 0;
    for (std::size_t at = text.find(u"<PAYMONTHITEM>"); at != std::u16string::npos;
         at = text.find(u"<PAYMONTHITEM>", at + 1))
        ++n;
    EXPECT_EQ(n, 1u);
}

TEST(Protocol, CleanKeepsOriginatorNumberAccessTypeAndKeptCalculations) {
    HostEnvironment host;
    auto p = NewProtocol(1);
    ASSERT_EQ(PutFullString(p.Get(), u"<BLPR5><BLPROTOCOL AT=\"0\"><BLUSEDDAYS VAL=\"4\"/></BLPROTOCOL></BLPR5>"), S_OK);
    p->put_OriginatorType(21);
    p->put_Number(Bstr(u"77"));
    p->put_TotBlSum(Cy(10));
    p->put_Dn(46000.0);
    p->put_XmlPremProtocol(Bstr(u"<PREMPROT/>"));
    p->put_CalcType2011(VARIANT_TRUE);
    p->AddHistoryItem(NewHistoryItem(1, 0.0, 0).Get());
    p->AddPayMonthItem(NewPayMonth(0.0, 0, 0).Get());
    ASSERT_EQ(p->Clean(), S_OK);
    LONG originator = 0, access = 0;
    p->get_OriginatorType(&originator);
    EXPECT_EQ(originator, 21);
    p->GetAccessType(&access);
    EXPECT_EQ(access, 1);
    Bstr number, prem;
    p->get_Number(number.ReleaseAndGetAddressOf());
    EXPECT_EQ(number.View(), u"77");
    p->get_XmlPremProtocol(prem.ReleaseAndGetAddressOf());
    EXPECT_EQ(prem.Get(), nullptr);
    CY total = Cy(1);
    p->get_TotBlSum(&total);
    EXPECT_EQ(total.int64, 0);
    DATE dn = 1;
    p->get_Dn(&dn);
    EXPECT_EQ(dn, 0.0);
    VARIANT_BOOL b = -1;
    p->get_CalcType2011(&b);
    EXPECT_EQ(b, 0);
    EXPECT_TRUE(HistoryOf(p.Get()).empty());
    EXPECT_TRUE(PayMonthsOf(p.Get()).empty());
    // The calculation of access type 0 is still written after this one.
    EXPECT_NE(FullStringOf(p.Get()).find(u"<BLPROTOCOL AT=\"0\"><BLUSEDDAYS VAL=\"4\"/></BLPROTOCOL></BLPR5>"),
              std::u16string::npos);
}

TEST(Protocol, CleanUpHistoryEmptiesTheListAndTheCount) {
    HostEnvironment host;
    auto p = NewProtocol();
    p->AddHistoryItem(NewHistoryItem(1, 0.0, 0).Get());
    p->put_HistoryCount(1);
    p->put_PayMonthCount(1);
    p->AddPayMonthItem(NewPayMonth(0.0, 0, 0).Get());
    ASSERT_EQ(p->CleanUpHistory(), S_OK);
    LONG count = -1;
    p->get_HistoryCount(&count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(HistoryOf(p.Get()).empty());
    EXPECT_EQ(PayMonthsOf(p.Get()).size(), 1u);
    p->get_PayMonthCount(&count);
    EXPECT_EQ(count, 1);
}

TEST(Protocol, CleanUpPayMonthsAfterDropsLaterMonthsAndTheirSums) {
    HostEnvironment host;
    auto p = NewProtocol();
    const DATE jan = 46023.0, feb = 46054.0, mar = 46082.0;
    p->AddPayMonthItem(NewPayMonth(jan, 10000, 1000).Get());
    p->AddPayMonthItem(NewPayMonth(feb, 20000, 2000).Get());
    p->AddPayMonthItem(NewPayMonth(mar, 40000, 4000).Get());
    p->put_TotBlSum(Cy(100000));
    p->put_TotBlSum2(Cy(10000));
    p->put_PayMonthCount(3);

    // The cut-off day itself is dropped: only months before it stay.
    ASSERT_EQ(p->CleanUpPayMonthsAfter(feb), S_OK);
    auto kept = PayMonthsOf(p.Get());
    ASSERT_EQ(kept.size(), 1u);
    DATE month = 0;
    kept[0]->get_Month(&month);
    EXPECT_EQ(month, jan);
    LONG count = 0;
    p->get_PayMonthCount(&count);
    EXPECT_EQ(count, 1);
    CY total{}, total2{};
    p->get_TotBlSum(&total);
    p->get_TotBlSum2(&total2);
    EXPECT_EQ(total.int64, 100000 - 20000 - 40000);
    EXPECT_EQ(total2.int64, 10000 - 2000 - 4000);

    // A date before every month empties the list.
    ASSERT_EQ(p->CleanUpPayMonthsAfter(1.0), S_OK);
    EXPECT_TRUE(PayMonthsOf(p.Get()).empty());
    p->get_PayMonthCount(&count);
    EXPECT_EQ(count, 0);
    p->get_TotBlSum(&total);
    p->get_TotBlSum2(&total2);
    EXPECT_EQ(total.int64, 100000 - 20000 - 40000 - 10000);
    EXPECT_EQ(total2.int64, 10000 - 2000 - 4000 - 1000);
}

TEST(Protocol, AccessTypeFromTheDatabaseService) {
    HostEnvironment host;
    auto p = NewProtocol();
    Database one(5), zero(0);
    ASSERT_EQ(p->SetAccessType(one.db.Get()), S_OK);
    LONG access = -1;
    ASSERT_EQ(p->GetAccessType(&access), S_OK);
    EXPECT_EQ(access, 1);
    EXPECT_EQ(FullStringOf(p.Get()).substr(0, 26), u"<BLPR5><BLPROTOCOL AT=\"1\">");
    ASSERT_EQ(p->SetAccessType(zero.db.Get()), S_OK);
    p->GetAccessType(&access);
    EXPECT_EQ(access, 0);

    // Not a database service, none at all, or one without a session.
    EXPECT_EQ(p->SetAccessType(nullptr), E_POINTER);
    EXPECT_EQ(p->SetAccessType(p.Get()), E_POINTER);
    ComPtr<IOrvDatabase> bare;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&bare), S_OK);
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(p->SetAccessType(p.Get()), E_POINTER);
    EXPECT_TRUE(IsEqualGUID(TakeErrorInfo().guid, IID_IOrvDatabase));
    // A service without a session: the first calculation.
    ASSERT_EQ(p->SetAccessType(one.db.Get()), S_OK);
    ASSERT_EQ(p->SetAccessType(bare.Get()), S_OK);
    p->GetAccessType(&access);
    EXPECT_EQ(access, 0);
    EXPECT_EQ(p->GetAccessType(nullptr), E_POINTER);
}

TEST(Protocol, TextsReadNullWhenEmptyAndCopyOtherwise) {
    HostEnvironment host;
    auto p = NewProtocol();
    BSTR text = reinterpret_cast<BSTR>(1);
    ASSERT_EQ(p->get_Number(&text), S_OK);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(p->get_XmlDirectPremProtocol(nullptr), E_POINTER);
    ASSERT_EQ(p->put_XmlDirectPremProtocol(Bstr(u"<DRPREMPROT A=\"1\"/>")), S_OK);
    Bstr back;
    ASSERT_EQ(p->get_XmlDirectPremProtocol(back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(back.View(), u"<DRPREMPROT A=\"1\"/>");
    ASSERT_EQ(p->put_XmlDirectPremProtocol(nullptr), S_OK);
    ASSERT_EQ(p->get_XmlDirectPremProtocol(&text), S_OK);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(p->get_TotBlSum(nullptr), E_POINTER);
    EXPECT_EQ(p->get_Dn(nullptr), E_POINTER);
    EXPECT_EQ(p->get_CalcInDays(nullptr), E_POINTER);
}

}  // namespace
