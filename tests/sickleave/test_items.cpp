// The protocol's items: created by class identifier and program identifier,
// zero at creation, and every property kept apart from every other.
#include "sickleave_test_util.h"

namespace {

using namespace bltest;

TEST(ProtocolItems, CreatedByClassAndProgramIdentifier) {
    HostEnvironment host;
    struct Case {
        const char16_t* progId;
        const char16_t* independent;
        const CLSID* clsid;
        const IID* iid;
    };
    const Case cases[] = {
        {u"OrvDocs.OrvBLProtHistoryItem.1", u"OrvDocs.OrvBLProtHistoryItem", &CLSID_OrvBLProtHistoryItem,
         &IID_IOrvBLProtHistoryItem},
        {u"OrvDocs.OrvBlProtPayMonthItem.1", u"OrvDocs.OrvBlProtPayMonthItem", &CLSID_OrvBlProtPayMonthItem,
         &IID_IOrvBlProtPayMonthItem},
        {u"OrvDocs.OrvBLDocProtocol.1", u"OrvDocs.OrvBLDocProtocol", &CLSID_OrvBLDocProtocol, &IID_IOrvBLDocProtocol},
    };
    for (const Case& c : cases) {
        for (const char16_t* name : {c.progId, c.independent}) {
            CLSID clsid{};
            ASSERT_EQ(CLSIDFromProgID(name, &clsid), S_OK);
            EXPECT_TRUE(IsEqualGUID(clsid, *c.clsid));
        }
        ComPtr<IUnknown> object;
        ASSERT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_ALL, *c.iid, reinterpret_cast<void**>(object.GetAddressOf())),
                  S_OK);
        ComPtr<IDispatch> dispatch;
        EXPECT_EQ(object.As(&dispatch), S_OK);
    }
}

// Every property of a new item answers 0; each put lands in its own
// property only (distinct values read back through their own getters).
TEST(ProtocolItems, PayMonthPropertiesStartAtZeroAndStayApart) {
    ComPtr<IOrvBlProtPayMonthItem> item;
    ASSERT_EQ(orv::CreateObject<orv::OrvBlProtPayMonthItem>(&item), S_OK);
    using I = IOrvBlProtPayMonthItem;
    struct LongProp {
        HRESULT (I::*get)(LONG*);
        HRESULT (I::*put)(LONG);
    };
    struct CyProp {
        HRESULT (I::*get)(CY*);
        HRESULT (I::*put)(CY);
    };
    const LongProp longs[] = {{&I::get_Days, &I::put_Days},
                              {&I::get_Hours, &I::put_Hours},
                              {&I::get_NormHours, &I::put_NormHours},
                              {&I::get_NormDays, &I::put_NormDays},
                              {&I::get_CompanyDays, &I::put_CompanyDays},
                              {&I::get_CompanyHours, &I::put_CompanyHours},
                              {&I::get_CompanySimpleDays, &I::put_CompanySimpleDays},
                              {&I::get_CompanySimpleHours, &I::put_CompanySimpleHours},
                              {&I::get_WorkedHours, &I::put_WorkedHours}};
    const CyProp cys[] = {{&I::get_Sum, &I::put_Sum},
                          {&I::get_Oklad, &I::put_Oklad},
                          {&I::get_OkladWithNadb, &I::put_OkladWithNadb},
                          {&I::get_FirstSredn, &I::put_FirstSredn},
                          {&I::get_SecondSredn, &I::put_SecondSredn},
                          {&I::get_ProcSredn, &I::put_ProcSredn},
                          {&I::get_MonthLimit, &I::put_MonthLimit},
                          {&I::get_Sum2, &I::put_Sum2},
                          {&I::get_CompanySum, &I::put_CompanySum},
                          {&I::get_CompanySimpleSum, &I::put_CompanySimpleSum},
                          {&I::get_VipSredn, &I::put_VipSredn},
                          {&I::get_VipBase, &I::put_VipBase}};
    ASSERT_EQ(std::size(longs) + std::size(cys) + 1, 22u);
    DATE month = -1;
    ASSERT_EQ(item->get_Month(&month), S_OK);
    EXPECT_EQ(month, 0.0);
    for (const auto& p : longs) {
        LONG v = -1;
        ASSERT_EQ((item.Get()->*p.get)(&v), S_OK);
        EXPECT_EQ(v, 0);
        EXPECT_EQ((item.Get()->*p.get)(nullptr), E_POINTER);
    }
    for (const auto& p : cys) {
        CY v = Cy(-1);
        ASSERT_EQ((item.Get()->*p.get)(&v), S_OK);
        EXPECT_EQ(v.int64, 0);
        EXPECT_EQ((item.Get()->*p.get)(nullptr), E_POINTER);
    }
    EXPECT_EQ(item->get_Month(nullptr), E_POINTER);

    LONG n = 100;
    for (const auto& p : longs) ASSERT_EQ((item.Get()->*p.put)(n++), S_OK);
    LONGLONG c = 5000;
    for (const auto& p : cys) ASSERT_EQ((item.Get()->*p.put)(Cy(c++)), S_OK);
    ASSERT_EQ(item->put_Month(46000.5), S_OK);
    n = 100;
    for (const auto& p : longs) {
        LONG v = 0;
        (item.Get()->*p.get)(&v);
        EXPECT_EQ(v, n++);
    }
    c = 5000;
    for (const auto& p : cys) {
        CY v{};
        (item.Get()->*p.get)(&v);
        EXPECT_EQ(v.int64, c++);
    }
    item->get_Month(&month);
    EXPECT_EQ(month, 46000.5);
}

TEST(ProtocolItems, HistoryPropertiesStartAtZeroAndStayApart) {
    ComPtr<IOrvBLProtHistoryItem> item;
    ASSERT_EQ(orv::CreateObject<orv::OrvBLProtHistoryItem>(&item), S_OK);
    using I = IOrvBLProtHistoryItem;
    struct LongProp {
        HRESULT (I::*get)(LONG*);
        HRESULT (I::*put)(LONG);
    };
    const LongProp longs[] = {{&I::get_Days, &I::put_Days},
                              {&I::get_Hours, &I::put_Hours},
                              {&I::get_NormDays, &I::put_NormDays},
                              {&I::get_NormHours, &I::put_NormHours},
                              {&I::get_Year, &I::put_Year}};
    for (const auto& p : longs) {
        LONG v = -1;
        ASSERT_EQ((item.Get()->*p.get)(&v), S_OK);
        EXPECT_EQ(v, 0);
    }
    CY c = Cy(-1);
    for (auto get : {&I::get_SumForSredn, &I::get_SumForSredn2, &I::get_YearLimit}) {
        ASSERT_EQ((item.Get()->*get)(&c), S_OK);
        EXPECT_EQ(c.int64, 0);
        EXPECT_EQ((item.Get()->*get)(nullptr), E_POINTER);
    }
    LONG n = 10;
    for (const auto& p : longs) (item.Get()->*p.put)(n++);
    item->put_SumForSredn(Cy(1));
    item->put_SumForSredn2(Cy(2));
    item->put_YearLimit(Cy(3));
    item->put_Month(44197.0);
    n = 10;
    for (const auto& p : longs) {
        LONG v = 0;
        (item.Get()->*p.get)(&v);
        EXPECT_EQ(v, n++);
    }
    item->get_SumForSredn(&c);
    EXPECT_EQ(c.int64, 1);
    item->get_SumForSredn2(&c);
    EXPECT_EQ(c.int64, 2);
    item->get_YearLimit(&c);
    EXPECT_EQ(c.int64, 3);
    DATE month = 0;
    item->get_Month(&month);
    EXPECT_EQ(month, 44197.0);
}

}  // namespace
