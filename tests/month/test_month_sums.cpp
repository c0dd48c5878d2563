// The month's sums: the sum index over the trace slots, the high-words
// traces met on the way, and CalculateMonthSums on months worked out by hand.
#include "month_fakes.h"

#include "frame/messages.h"

#include <initializer_list>

namespace monthtest {
namespace {

constexpr HRESULT kNoTraceList = static_cast<HRESULT>(0x80040077);
constexpr HRESULT kNoWageTable = static_cast<HRESULT>(0x8004006C);

// A trace of the code with amounts (in kopecks) in its slots.
ComPtr<IOrvMTrace> TraceWith(LONG code, std::initializer_list<std::pair<LONG, LONGLONG>> kopecks) {
    auto t = NewTrace(code);
    for (auto [slot, value] : kopecks) EXPECT_EQ(t->put_Sum(slot, Kop(value)), S_OK);
    return t;
}

struct MonthWithTraces {
    ComPtr<IOrvMonth> month = NewMonth();
    ComPtr<IOrvM> fields = As<IOrvM>(month.Get());
    ComPtr<IOrvUnknownList> list = NewList();

    explicit MonthWithTraces(DATE date = 0.0) {
        EXPECT_EQ(month->put_MonthDate(date), S_OK);
        EXPECT_EQ(month->put_MTraceList(list.Get()), S_OK);
    }
    void Add(const ComPtr<IOrvMTrace>& t) { EXPECT_EQ(list->Add(t.Get()), S_OK); }
    CY Collector(LONG index, HRESULT expected = S_OK) {
        CY v{};
        EXPECT_EQ(fields->get_SumCollector(index, &v), expected);
        return v;
    }
    LONGLONG Total(HRESULT (IOrvMonth::*get)(CY*)) {
        CY v{};
        EXPECT_EQ((month.Get()->*get)(&v), S_OK);
        return v.int64;
    }
};

// ------------------------------------------------------------ sum collector

TEST(MonthSumCollector, IndexNamesTraceAndSlot) {
    MonthWithTraces m;
    m.Add(TraceWith(1000, {{0, 1}, {18, 2}}));
    m.Add(TraceWith(1001, {{0, 3}, {1, 4}}));
    m.Add(TraceWith(1026, {{5, 5}}));
    EXPECT_EQ(m.Collector(0).int64, Kop(1).int64);
    EXPECT_EQ(m.Collector(18).int64, Kop(2).int64);
    EXPECT_EQ(m.Collector(19).int64, Kop(3).int64);
    EXPECT_EQ(m.Collector(20).int64, Kop(4).int64);  // trace 1001 slot 1
    EXPECT_EQ(m.Collector(499).int64, Kop(5).int64);  // trace 1026 slot 5
    // A code without a trace: 0 and S_FALSE.
    EXPECT_EQ(m.Collector(40, S_FALSE).int64, 0);
}

TEST(MonthSumCollector, IndicesOutsideTheRange) {
    auto m = NewMonth();
    auto r = As<IOrvM>(m.Get());
    CY v = Kop(9);
    // -1 names no sum: 0 without looking at the traces (there is no list).
    EXPECT_EQ(r->get_SumCollector(-1, &v), S_OK);
    EXPECT_EQ(v.int64, 0);
    EXPECT_EQ(r->get_SumCollector(500, &v), E_INVALIDARG);
    EXPECT_EQ(r->get_SumCollector(-2, &v), E_INVALIDARG);
    EXPECT_EQ(r->put_SumCollector(-1, v), E_INVALIDARG);
    EXPECT_EQ(r->put_SumCollector(500, v), E_INVALIDARG);
    EXPECT_EQ(r->get_SumCollector(0, nullptr), E_POINTER);
}

TEST(MonthSumCollector, WithoutTraceListTheMessageIsShown) {
    HostEnvironment host;
    auto m = NewMonth();
    auto r = As<IOrvM>(m.Get());
    CY v = Kop(9);
    EXPECT_EQ(r->get_SumCollector(3, &v), E_POINTER);
    EXPECT_EQ(v.int64, 0);
    ErrorReport report = TakeErrorInfo();
    EXPECT_TRUE(report.present);
    EXPECT_EQ(report.description, u"The list of additional remarks for the month is not initialized");
    EXPECT_EQ(report.guid, IID_IOrvMonthDisp);
    EXPECT_EQ(r->put_SumCollector(3, v), E_POINTER);
    const auto messages = host.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"The list of additional remarks for the month is not initialized");
}

TEST(MonthSumCollector, ReadingAttachesTheHighWordsTrace) {
    MonthWithTraces m;
    auto main = NewTrace(1000);
    auto d = As<IOrvDepPeriod>(main.Get());
    d->put_Hours6(7);  // slot 3, low word
    auto high = TraceWith(-1000, {{3, 2}});
    m.Add(high);  // the partner may come first
    m.Add(main);
    EXPECT_EQ(m.Collector(3).int64, (LONGLONG{2} << 32) | 7);
    ComPtr<IUnknown> attached;
    ASSERT_EQ(main->get_HiWordsTrace(attached.GetAddressOf()), S_OK);
    EXPECT_EQ(attached.Get(), As<IUnknown>(high.Get()).Get());

    // Without a partner in the list, none is attached: a stale one goes.
    MonthWithTraces other;
    auto lone = TraceWith(1000, {{3, 11}});
    ASSERT_EQ(lone->put_HiWordsTrace(high.Get()), S_OK);
    other.Add(lone);
    EXPECT_EQ(other.Collector(3).int64, Kop(11).int64);
    ASSERT_EQ(lone->get_HiWordsTrace(attached.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_FALSE(attached);
}

TEST(MonthSumCollector, DeletedTracesAreNotFound) {
    MonthWithTraces m;
    auto gone = TraceWith(1000, {{0, 5}});
    gone->put_RecordCondition(3);
    auto goneHigh = TraceWith(-1001, {{0, 1}});
    goneHigh->put_RecordCondition(3);
    m.Add(gone);
    m.Add(goneHigh);
    m.Add(TraceWith(1001, {{0, 6}}));
    EXPECT_EQ(m.Collector(0, S_FALSE).int64, 0);
    EXPECT_EQ(m.Collector(19).int64, Kop(6).int64);  // the deleted high words are not used
    // The first trace of a code wins over later ones.
    m.Add(TraceWith(1001, {{0, 99}}));
    EXPECT_EQ(m.Collector(19).int64, Kop(6).int64);
}

TEST(MonthSumCollector, WritingCreatesMissingTraces) {
    MonthWithTraces m;
    ASSERT_EQ(m.fields->put_SumCollector(45, Cy(123456)), S_OK);  // 12.3456 -> 12.35 in trace 1002 slot 7
    auto traces = TracesOf(m.list.Get());
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(T0Of(traces[0].Get()), 1002);
    EXPECT_EQ(ConditionOf(traces[0].Get()), 1);
    EXPECT_EQ(SumOf(traces[0].Get(), 7), Kop(1235).int64);
    EXPECT_EQ(m.Collector(45).int64, Kop(1235).int64);

    // An amount beyond 32-bit hundredths brings its high-words trace into the list, first.
    ASSERT_EQ(m.fields->put_SumCollector(60, Cy(300000000000LL)), S_OK);  // trace 1003 slot 3
    traces = TracesOf(m.list.Get());
    ASSERT_EQ(traces.size(), 3u);
    EXPECT_EQ(T0Of(traces[1].Get()), -1003);
    EXPECT_EQ(T0Of(traces[2].Get()), 1003);
    EXPECT_EQ(ConditionOf(traces[1].Get()), 1);
    EXPECT_EQ(ConditionOf(traces[2].Get()), 1);
    EXPECT_EQ(m.Collector(60).int64, 300000000000LL);
}

TEST(MonthSumCollector, WritingAnExistingTraceMarksItChanged) {
    MonthWithTraces m;
    auto main = TraceWith(1000, {{1, 10}});
    auto high = TraceWith(-1000, {});
    auto extra = TraceWith(-1000, {});
    m.Add(main);
    m.Add(high);
    m.Add(extra);
    ASSERT_EQ(m.fields->put_SumCollector(1, Cy(500000000000LL)), S_OK);
    EXPECT_EQ(ConditionOf(main.Get()), 2);
    EXPECT_EQ(ConditionOf(high.Get()), 2);
    EXPECT_EQ(ConditionOf(extra.Get()), 3);  // a second high-words trace is deleted
    EXPECT_EQ(TracesOf(m.list.Get()).size(), 3u);  // nothing added: the partner was found
    EXPECT_EQ(SumOf(high.Get(), 1), (500000000000LL >> 32) * 100);
    EXPECT_EQ(m.Collector(1).int64, 500000000000LL);

    // A main trace without a partner in the list gets one, added to the list.
    MonthWithTraces other;
    auto alone = TraceWith(1000, {});
    other.Add(alone);
    ASSERT_EQ(other.fields->put_SumCollector(2, Cy(300000000000LL)), S_OK);
    auto traces = TracesOf(other.list.Get());
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(T0Of(traces[1].Get()), -1000);
    EXPECT_EQ(ConditionOf(traces[1].Get()), 1);
    EXPECT_EQ(ConditionOf(alone.Get()), 2);
}

// ------------------------------------------------------------ calculation

struct CalcSetup {
    HostEnvironment host;
    Fake<FakeWageTable> table;
    Fake<FakeConfig> config;
    orv::Variant previous;  // empty: no previous month
    HRESULT Run(MonthWithTraces& m) {
        return m.month->CalculateMonthSums(table.unknown.Get(), config.unknown.Get(), previous);
    }
};

TEST(MonthCalculation, CapsNotReachedWithoutPreviousMonth) {
    CalcSetup s;
    s.table->wages[Day(2026, 1, 1)] = Kop(433000).int64;  // 4330.00
    MonthWithTraces m(Day(2026, 3, 1));
    m.Add(TraceWith(1000, {{3, 111}, {4, 150000}, {5, 30000}, {9, 200000}, {10, 50000}, {11, 4000000},
                           {12, 520000}, {13, 140000}, {14, 70000}, {17, 3480000}, {18, 10000}}));
    m.Add(TraceWith(1001, {{0, 100}, {1, 101}, {2, 102}, {3, 103}, {4, 104}, {5, 105}}));
    m.Add(TraceWith(1003, {{0, 7}, {3, 203}, {4, 204}, {5, 205}}));
    ASSERT_EQ(s.Run(m), S_OK);
    const std::pair<HRESULT (IOrvMonth::*)(CY*), LONGLONG> expected[] = {
        {&IOrvMonth::get_AllowedSumDiscount, 140000}, {&IOrvMonth::get_AlwaysTaxedSum, 70000},
        {&IOrvMonth::get_SumForTax, 3480000},        {&IOrvMonth::get_CurrentDiscounts, 30000},
        {&IOrvMonth::get_TotalDiscounts, 30000},     {&IOrvMonth::get_RestOfSumDiscount, 0},
        {&IOrvMonth::get_TotalIncomeTax, 150000},    {&IOrvMonth::get_TotalCleared, 3480000},
        {&IOrvMonth::get_TotalTaxable, 4000000},     {&IOrvMonth::get_TotalPensTax, 520000},
        {&IOrvMonth::get_TotalMaterialka, 200000},   {&IOrvMonth::get_TotalMaterialkaDiscounts, 200000},
        {&IOrvMonth::get_CurMaterialkaDiscount, 200000}, {&IOrvMonth::get_TotalPodarki, 50000},
        {&IOrvMonth::get_TotalPodarkiDiscounts, 50000},  {&IOrvMonth::get_CurPodarkiDiscount, 50000},
        {&IOrvMonth::get_TotalMedicine, 10000},      {&IOrvMonth::get_TotalMedicineDiscount, 10000},
        {&IOrvMonth::get_CurMedicineDiscount, 10000}, {&IOrvMonth::get_TotalSumDiscount, 140000},
        {&IOrvMonth::get_CurSumDiscount, 140000},    {&IOrvMonth::get_TotalIncome2, 100},
        {&IOrvMonth::get_TotalTax2, 101},            {&IOrvMonth::get_CurrentTax2, 102},
        {&IOrvMonth::get_TotalIncome3, 103},         {&IOrvMonth::get_TotalTax3, 104},
        {&IOrvMonth::get_CurrentTax3, 105},          {&IOrvMonth::get_TotalIncome4, 203},
        {&IOrvMonth::get_TotalTax4, 204},            {&IOrvMonth::get_CurrentTax4, 205},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(m.Total(expected[i].first), Kop(expected[i].second).int64) << "row " << i;
    // The minimum wage was asked once, on the month's date; the configuration not at all.
    ASSERT_EQ(s.table->asked.size(), 1u);
    EXPECT_EQ(s.table->asked[0], Day(2026, 3, 1));
    EXPECT_TRUE(s.config->asked.empty());
}

TEST(MonthCalculation, CapsReachedAndCascadeAgainstThePreviousMonth) {
    CalcSetup s;
    s.table->wages[Day(2026, 1, 1)] = Kop(450000).int64;  // 4500.00 in February
    s.table->wages[Day(2026, 3, 1)] = Kop(500000).int64;  // 5000.00 from March
    MonthWithTraces before(Day(2026, 2, 1));
    before.Add(TraceWith(1000, {{5, 25000}, {9, 480000}, {10, 100000}, {11, 500000}, {12, 120000}, {13, 40000}}));
    MonthWithTraces m(Day(2026, 3, 1));
    m.Add(TraceWith(1000, {{5, 90000}, {9, 600000}, {10, 700000}, {11, 1200000}, {12, 400000}, {13, 100000},
                           {18, 300000}}));
    s.previous = orv::Variant();
    s.previous.vt = VT_UNKNOWN;
    s.previous.punkVal = before.month.Get();
    s.previous.punkVal->AddRef();
    ASSERT_EQ(s.Run(m), S_OK);
    // Current: A = B = 5000 (capped), C = 3000; rest 12000 - 4000 - 5000 = 3000 cuts B to 3000 and C to 0.
    // Previous: pA = 4500 (capped); rest 5000 - 1200 = 3800 cuts pA to 3800, pB to 0.
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalPensTax), Kop(400000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMaterialkaDiscounts), Kop(500000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurMaterialkaDiscount), Kop(500000 - 380000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalPodarkiDiscounts), Kop(300000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurPodarkiDiscount), Kop(300000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMedicineDiscount), 0);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurMedicineDiscount), 0);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMaterialka), Kop(600000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalPodarki), Kop(700000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMedicine), Kop(300000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurrentDiscounts), Kop(90000 - 25000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurSumDiscount), Kop(100000 - 40000).int64);
    // Each month's minimum wage on its own date.
    ASSERT_EQ(s.table->asked.size(), 2u);
    EXPECT_EQ(s.table->asked[0], Day(2026, 3, 1));
    EXPECT_EQ(s.table->asked[1], Day(2026, 2, 1));
}

TEST(MonthCalculation, PensionTaxCutToTheTaxableBaseAndWageFromConfiguration) {
    CalcSetup s;
    s.config->wage = Kop(400000).int64;  // the table has nothing: 4000.00 from the configuration
    MonthWithTraces m(Day(2026, 4, 1));
    m.Add(TraceWith(1000, {{9, 10000}, {11, 100000}, {12, 150000}}));
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalPensTax), Kop(100000).int64);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMaterialkaDiscounts), 0);  // nothing left after the tax
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMaterialka), Kop(10000).int64);
    ASSERT_EQ(s.config->asked.size(), 1u);
    EXPECT_EQ(s.config->asked[0], Day(2026, 4, 1));

    // A table answer that is not a value (a text) counts as 0 as well.
    s.table->wages[0.0] = Kop(1).int64;
    s.table->answerType = VT_BSTR;
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(s.config->asked.size(), 2u);
}

TEST(MonthCalculation, NoRoundingOfTheCappedAmounts) {
    CalcSetup s;
    s.table->wages[0.0] = 43301234;  // 4330.1234: not whole hundredths
    MonthWithTraces m(Day(2026, 5, 1));
    m.Add(TraceWith(1000, {{9, 500000}, {11, 10000000}}));
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalMaterialkaDiscounts), 43301234);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurMaterialkaDiscount), 43301234);
}

TEST(MonthCalculation, SixtyFourBitSumsFromHighWordsTraces) {
    CalcSetup s;
    s.table->wages[0.0] = Kop(100).int64;
    MonthWithTraces m(Day(2026, 6, 1));
    // The month built through its sum collector: 30 000 000.00 taxable
    // (above 32-bit hundredths) and the 1001 income at exactly 2^32 kopecks.
    ASSERT_EQ(m.fields->put_SumCollector(11, Cy(300000000000LL)), S_OK);
    ASSERT_EQ(m.fields->put_SumCollector(19, Kop(LONGLONG{1} << 32)), S_OK);
    // Detach the partners: the calculation finds them in the list itself.
    for (auto& t : TracesOf(m.list.Get())) t->put_HiWordsTrace(nullptr);
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalTaxable), 300000000000LL);
    EXPECT_EQ(m.Total(&IOrvMonth::get_TotalIncome2), Kop(LONGLONG{1} << 32).int64);
}

TEST(MonthCalculation, RefusalsChangeNoTotal) {
    CalcSetup s;
    s.table->wages[0.0] = Kop(100).int64;
    MonthWithTraces m(Day(2026, 7, 1));
    m.Add(TraceWith(1000, {{13, 5000}}));
    ASSERT_EQ(m.month->put_AllowedSumDiscount(Kop(1)), S_OK);
    auto unchanged = [&] { EXPECT_EQ(m.Total(&IOrvMonth::get_AllowedSumDiscount), Kop(1).int64); };

    // No trace list: its own code, no message.
    auto bare = NewMonth();
    EXPECT_EQ(bare->CalculateMonthSums(s.table.unknown.Get(), s.config.unknown.Get(), s.previous), kNoTraceList);
    EXPECT_TRUE(s.host.Messages().empty());

    // No minimum-wage table: message 1013 and its code.
    EXPECT_EQ(m.month->CalculateMonthSums(nullptr, s.config.unknown.Get(), s.previous), kNoWageTable);
    unchanged();
    ErrorReport report = TakeErrorInfo();
    EXPECT_EQ(report.description, u"(1013) OrvDocs System error, MROT table is not initialized.");
    EXPECT_EQ(report.guid, IID_IOrvMonthDisp);
    ASSERT_EQ(s.host.Messages().size(), 1u);

    // No configuration object; a table that is not one; a failing table.
    EXPECT_EQ(m.month->CalculateMonthSums(s.table.unknown.Get(), nullptr, s.previous), E_POINTER);
    unchanged();
    EXPECT_EQ(m.month->CalculateMonthSums(s.config.unknown.Get(), s.config.unknown.Get(), s.previous), E_NOINTERFACE);
    unchanged();
    s.table->failWith = E_ACCESSDENIED;
    EXPECT_EQ(s.Run(m), E_ACCESSDENIED);
    unchanged();
    report = TakeErrorInfo();
    EXPECT_EQ(report.guid, IID_IOrvDatedOption);

    // A trace that cannot be read (a pairing loop) ends the calculation.
    s.table->failWith = S_OK;
    auto loop = TraceWith(1001, {});
    loop->put_HiWordsTrace(loop.Get());
    m.Add(loop);
    EXPECT_EQ(s.Run(m), E_UNEXPECTED);
    unchanged();
    loop->put_HiWordsTrace(nullptr);
}

TEST(MonthCalculation, WhatCountsAsAPreviousMonth) {
    CalcSetup s;
    s.table->wages[0.0] = Kop(100000).int64;
    MonthWithTraces before(Day(2026, 1, 1));
    before.Add(TraceWith(1000, {{5, 400}}));
    MonthWithTraces m(Day(2026, 2, 1));
    m.Add(TraceWith(1000, {{5, 1000}}));
    // A number, or an object that is not a month: no previous month.
    s.previous = orv::Variant(LONG{5});
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurrentDiscounts), Kop(1000).int64);
    s.previous = orv::Variant();
    s.previous.vt = VT_UNKNOWN;
    s.previous.punkVal = As<IUnknown>(s.config.unknown.Get()).Detach();
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurrentDiscounts), Kop(1000).int64);
    // A month through its dispatch face.
    s.previous = orv::Variant();
    s.previous.vt = VT_DISPATCH;
    s.previous.pdispVal = As<IDispatch>(before.month.Get()).Detach();
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurrentDiscounts), Kop(600).int64);
    // A previous month without a trace list reads as zeros.
    ASSERT_EQ(before.month->put_MTraceList(nullptr), S_OK);
    ASSERT_EQ(s.Run(m), S_OK);
    EXPECT_EQ(m.Total(&IOrvMonth::get_CurrentDiscounts), Kop(1000).int64);
}

}  // namespace
}  // namespace monthtest
