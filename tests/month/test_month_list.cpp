// The month list: months by date, loading from the month source, the walk,
// the list component's face, and the tax bases of a year worked out by hand.
#include "month_fakes.h"

#include <limits>

namespace monthtest {
namespace {

ComPtr<IOrvMonth> MonthOn(DATE date) {
    auto m = NewMonth();
    EXPECT_EQ(m->put_MonthDate(date), S_OK);
    return m;
}

// A month whose year-to-date base of the tax is total and whose relieved part
// of it is relieved (kopecks), held in its sum collectors.
ComPtr<IOrvMonth> MonthWithBase(DATE date, LONG taxId, LONGLONG total, LONGLONG relieved) {
    auto m = MonthOn(date);
    EXPECT_EQ(m->put_MTraceList(NewList().Get()), S_OK);
    auto fields = As<IOrvM>(m.Get());
    EXPECT_EQ(fields->put_SumCollector(orv::OrvMonthList::CollectorIndex(0, taxId), Kop(total)), S_OK);
    EXPECT_EQ(fields->put_SumCollector(orv::OrvMonthList::CollectorIndex(6, taxId), Kop(relieved)), S_OK);
    return m;
}

struct ListSetup {
    ComPtr<IOrvMonthList> list;
    Fake<FakeMonthSource> source;
    Fake<FakeEmployee> employee;
    ListSetup() { EXPECT_EQ(orv::CreateObject<orv::OrvMonthList>(&list), S_OK); }
    HRESULT Build(DATE start, DATE stop) {
        return list->BuildList(3, start, stop, employee.unknown.Get(), source.unknown.Get());
    }
    std::vector<DATE> Walk() {
        std::vector<DATE> dates;
        EXPECT_EQ(list->Reset2(), S_OK);
        for (;;) {
            ComPtr<IUnknown> month;
            HRESULT hr = list->get_Next2(month.GetAddressOf());
            if (hr == S_FALSE) {
                EXPECT_FALSE(month);
                break;
            }
            EXPECT_EQ(hr, S_OK);
            DATE d = 0;
            As<IOrvMonth>(month.Get())->get_MonthDate(&d);
            dates.push_back(d);
        }
        return dates;
    }
    LONG Size() {
        LONG n = -1;
        EXPECT_EQ(list->Size(&n), S_OK);
        return n;
    }
};

TEST(MonthList, LoadsTheWindowAcrossAYearBoundaryInDateOrder) {
    ListSetup s;
    // The source holds its months out of order.
    for (auto [y, mo] : {std::pair{2026, 2}, {2025, 11}, {2026, 1}, {2025, 12}, {2025, 10}})
        s.source->months.push_back(MonthOn(Day(static_cast<WORD>(y), static_cast<WORD>(mo), 1)));
    ASSERT_EQ(s.Build(Day(2025, 11, 1), Day(2026, 2, 28)), S_OK);
    ASSERT_EQ(s.source->asked.size(), 1u);
    EXPECT_EQ(s.source->asked[0].pipe, 3);
    EXPECT_EQ(s.source->asked[0].employee, s.employee.unknown.Get());
    EXPECT_EQ(s.source->asked[0].from, Day(2025, 11, 1));
    EXPECT_EQ(s.source->asked[0].to, Day(2026, 2, 28));
    const std::vector<DATE> expected = {Day(2025, 11, 1), Day(2025, 12, 1), Day(2026, 1, 1), Day(2026, 2, 1)};
    EXPECT_EQ(s.Walk(), expected);
    EXPECT_EQ(s.Size(), 4);

    ComPtr<IUnknown> first, last, found;
    ASSERT_EQ(s.list->get_FirstMonth(first.GetAddressOf()), S_OK);
    ASSERT_EQ(s.list->get_LastMonth(last.GetAddressOf()), S_OK);
    EXPECT_EQ(first.Get(), As<IUnknown>(s.source->months[1].Get()).Get());
    EXPECT_EQ(last.Get(), As<IUnknown>(s.source->months[0].Get()).Get());
    ASSERT_EQ(s.list->FindMonth(Day(2025, 12, 1), found.GetAddressOf()), S_OK);
    EXPECT_EQ(found.Get(), As<IUnknown>(s.source->months[3].Get()).Get());
    // Only the exact date finds a month.
    EXPECT_EQ(s.list->FindMonth(Day(2025, 12, 2), found.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_FALSE(found);
}

TEST(MonthList, LoadsOnlyWhatIsMissing) {
    ListSetup s;
    for (WORD mo = 1; mo <= 9; ++mo) s.source->months.push_back(MonthOn(Day(2026, mo, 1)));
    ASSERT_EQ(s.Build(Day(2026, 1, 1), Day(2026, 6, 30)), S_OK);
    EXPECT_EQ(s.Size(), 6);
    // The same start again: nothing is asked.
    ASSERT_EQ(s.Build(Day(2026, 1, 1), Day(2026, 6, 30)), S_OK);
    EXPECT_EQ(s.source->asked.size(), 1u);
    // A start inside the loaded months: the months after the last one, without end.
    ASSERT_EQ(s.Build(Day(2026, 3, 15), Day(2026, 4, 30)), S_OK);
    ASSERT_EQ(s.source->asked.size(), 2u);
    EXPECT_EQ(s.source->asked[1].from, Day(2026, 6, 1) + 10.0);
    EXPECT_EQ(s.source->asked[1].to, 0.0);
    EXPECT_EQ(s.Size(), 9);
    // A start before the first month: the months up to the first one.
    s.source->months.push_back(MonthOn(Day(2025, 12, 1)));
    s.source->months.push_back(MonthOn(Day(2026, 1, 1)));  // a second month of a date held
    ASSERT_EQ(s.Build(Day(2025, 12, 1), Day(2026, 12, 31)), S_OK);
    EXPECT_EQ(s.source->asked[2].from, Day(2025, 12, 1));
    EXPECT_EQ(s.source->asked[2].to, Day(2026, 1, 1));
    EXPECT_EQ(s.Size(), 10);
    ComPtr<IUnknown> january;
    ASSERT_EQ(s.list->FindMonth(Day(2026, 1, 1), january.GetAddressOf()), S_OK);
    EXPECT_EQ(january.Get(), As<IUnknown>(s.source->months[0].Get()).Get());  // the first one stays
}

TEST(MonthList, LoadingStopsAtAnObjectThatIsNotAMonth) {
    ListSetup s;
    s.source->months.push_back(MonthOn(Day(2026, 1, 1)));
    Fake<FakeConfig> notMonth;
    s.source->extra = notMonth.unknown.Get();
    s.source->months.push_back(MonthOn(Day(2026, 2, 1)));
    ASSERT_EQ(s.Build(Day(2026, 1, 1), 0.0), S_OK);
    // Both months come before the stranger in the answer.
    EXPECT_EQ(s.Size(), 2);
    ListSetup t;
    t.source->answerNull = true;
    EXPECT_EQ(t.Build(Day(2026, 1, 1), 0.0), S_OK);
    EXPECT_EQ(t.Size(), 0);
}

TEST(MonthList, RefusalsOfTheSourceAndArguments) {
    ListSetup s;
    EXPECT_EQ(s.list->BuildList(0, 1.0, 2.0, nullptr, nullptr), E_POINTER);
    Fake<FakeConfig> notDatabase;
    EXPECT_EQ(s.list->BuildList(0, 1.0, 2.0, nullptr, notDatabase.unknown.Get()), E_POINTER);
    s.source->failWith = E_ACCESSDENIED;
    EXPECT_EQ(s.Build(1.0, 2.0), E_ACCESSDENIED);
    EXPECT_EQ(TakeErrorInfo().guid, IID_IOrvMonthSource);
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.list->Size(nullptr), E_POINTER);
    EXPECT_EQ(s.list->FindMonth(1.0, nullptr), E_POINTER);
    EXPECT_EQ(s.list->get_Next2(nullptr), E_POINTER);
    EXPECT_EQ(s.list->get_FirstMonth(nullptr), E_POINTER);
    CY tax = Kop(5);
    EXPECT_EQ(s.list->CalcSnTaxOnDate(1.0, 2.0, nullptr, 1, 2, 1980, &tax), S_OK);
    EXPECT_EQ(tax.int64, 0);
    EXPECT_EQ(s.list->CalcSnTaxOnDate(1.0, 2.0, nullptr, 1, 2, 1980, nullptr), E_POINTER);
}

TEST(MonthList, WalkOfAnEmptyListAndOfThreeMonths) {
    ListSetup s;
    ComPtr<IUnknown> month;
    EXPECT_EQ(s.list->get_Next2(month.GetAddressOf()), S_FALSE);
    EXPECT_EQ(s.list->Reset2(), S_OK);
    EXPECT_EQ(s.list->get_Next2(month.GetAddressOf()), S_FALSE);
    ComPtr<IUnknown> first;
    EXPECT_EQ(s.list->get_FirstMonth(first.GetAddressOf()), S_OK);
    EXPECT_FALSE(first);
    EXPECT_EQ(s.list->get_LastMonth(first.GetAddressOf()), S_OK);
    EXPECT_FALSE(first);

    auto unknownList = As<IOrvUnknownList>(s.list.Get());
    for (WORD mo : {3, 1, 2}) ASSERT_EQ(unknownList->Add(MonthOn(Day(2026, mo, 1)).Get()), S_OK);
    EXPECT_EQ(unknownList->Add(MonthOn(Day(2026, 2, 1)).Get()), S_FALSE);  // date held
    Fake<FakeConfig> notMonth;
    EXPECT_EQ(unknownList->Add(notMonth.unknown.Get()), E_NOINTERFACE);
    EXPECT_EQ(unknownList->Add(nullptr), E_POINTER);
    const std::vector<DATE> expected = {Day(2026, 1, 1), Day(2026, 2, 1), Day(2026, 3, 1)};
    EXPECT_EQ(s.Walk(), expected);
    // The list component's walk is the same walk.
    ASSERT_EQ(unknownList->Reset(), S_OK);
    ComPtr<IUnknown> a;
    ASSERT_EQ(unknownList->Next(a.GetAddressOf()), S_OK);
    DATE d = 0;
    As<IOrvMonth>(a.Get())->get_MonthDate(&d);
    EXPECT_EQ(d, Day(2026, 1, 1));
    LONG count = 0;
    ASSERT_EQ(unknownList->get_Count(&count), S_OK);
    EXPECT_EQ(count, 3);
    ASSERT_EQ(unknownList->RemoveAll(), S_OK);
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(unknownList->Next(a.ReleaseAndGetAddressOf()), S_FALSE);
}

// ---------------------------------------------------------------- tax bases

struct TaxBases {
    LONGLONG normal, relieved;
};

struct TaxCase {
    ListSetup s;
    HRESULT Ask(DATE yearStart, DATE excluded, LONGLONG givenTotal, LONGLONG givenRelieved, LONGLONG limit,
                LONG taxId, TaxBases* out) {
        CY normal = Kop(-1), relieved = Kop(-1);
        HRESULT hr = s.list->GetTaxBasesBeforeLimiting(yearStart, excluded, Kop(givenTotal), Kop(givenRelieved),
                                                      Kop(limit), taxId, &normal, &relieved);
        out->normal = normal.int64 / 100;
        out->relieved = relieved.int64 / 100;
        EXPECT_EQ(normal.int64 % 100, 0);
        return hr;
    }
    void Add(WORD year, WORD month, LONG taxId, LONGLONG total, LONGLONG relieved) {
        ASSERT_EQ(As<IOrvUnknownList>(s.list.Get())->Add(MonthWithBase(Day(year, month, 1), taxId, total, relieved).Get()),
                  S_OK);
    }
};

TEST(MonthListTaxBases, BelowTheLimitTheWalkEndsWithTheExcludedMonth) {
    TaxCase c;
    c.Add(2026, 1, 0, 100, 10);
    c.Add(2026, 2, 0, 250, 30);
    c.Add(2026, 3, 0, 400, 30);
    c.Add(2026, 4, 0, 9999, 0);  // the excluded month's own sums are not read
    TaxBases r{};
    ASSERT_EQ(c.Ask(Day(2026, 1, 1), Day(2026, 4, 1), 600, 50, 1000, 0, &r), S_OK);
    // 90 + 130 + 150 + 180 normal, 10 + 20 + 0 + 20 relieved.
    EXPECT_EQ(r.normal, 550);
    EXPECT_EQ(r.relieved, 50);
}

TEST(MonthListTaxBases, LimitReachedFillsTheNormalBaseFirst) {
    TaxCase c;
    c.Add(2026, 1, 0, 100, 10);
    c.Add(2026, 2, 0, 250, 30);
    c.Add(2026, 3, 0, 400, 30);
    TaxBases r{};
    // March passes 300: room 300 - 220 - 30 = 50, all of it normal.
    ASSERT_EQ(c.Ask(Day(2026, 1, 1), Day(2026, 4, 1), 600, 50, 300, 0, &r), S_OK);
    EXPECT_EQ(r.normal, 270);
    EXPECT_EQ(r.relieved, 30);

    // Room left after the normal step goes to the relieved base.
    TaxCase d;
    d.Add(2026, 1, 2, 100, 0);
    d.Add(2026, 2, 2, 400, 200);
    ASSERT_EQ(d.Ask(Day(2026, 1, 1), Day(2026, 3, 1), 0, 0, 250, 2, &r), S_OK);
    EXPECT_EQ(r.normal, 200);   // 100, then min(100, 150)
    EXPECT_EQ(r.relieved, 50);  // min(50, 200)

    // A negative normal step takes nothing; the room goes to the relieved base.
    TaxCase e;
    e.Add(2026, 1, 5, 100, 0);
    e.Add(2026, 2, 5, 300, 250);
    ASSERT_EQ(e.Ask(Day(2026, 1, 1), Day(2026, 3, 1), 0, 0, 200, 5, &r), S_OK);
    EXPECT_EQ(r.normal, 100);
    EXPECT_EQ(r.relieved, 100);
}

TEST(MonthListTaxBases, MissingMonthTakesTheGivenTotalsAndEndsTheWalk) {
    TaxCase c;
    c.Add(2026, 1, 6, 100, 10);
    c.Add(2026, 3, 6, 800, 80);  // after the gap: not read
    TaxBases r{};
    ASSERT_EQ(c.Ask(Day(2026, 1, 1), Day(2026, 6, 1), 500, 40, 1000, 6, &r), S_OK);
    EXPECT_EQ(r.normal, 460);
    EXPECT_EQ(r.relieved, 40);
}

TEST(MonthListTaxBases, TheYearIsThatOfTheExcludedMonth) {
    TaxCase c;
    // Months of two years in one list; the walk reads January and February 2026 only.
    c.Add(2025, 11, 1, 5000, 500);
    c.Add(2025, 12, 1, 6000, 600);
    c.Add(2026, 1, 1, 100, 0);
    c.Add(2026, 2, 1, 300, 100);
    TaxBases r{};
    ASSERT_EQ(c.Ask(Day(2026, 1, 1), Day(2026, 3, 1), 450, 100, 10000, 1, &r), S_OK);
    EXPECT_EQ(r.normal, 350);
    EXPECT_EQ(r.relieved, 100);
    // A year started in February (the year-start's month, the excluded month's year).
    ASSERT_EQ(c.Ask(Day(2025, 2, 1), Day(2026, 3, 1), 450, 100, 10000, 1, &r), S_OK);
    EXPECT_EQ(r.normal, 350);  // February: 200 normal, 100 relieved; March given: 150, 0
    EXPECT_EQ(r.relieved, 100);
}

TEST(MonthListTaxBases, RefusedArguments) {
    TaxCase c;
    CY a{}, b{};
    EXPECT_EQ(c.s.list->GetTaxBasesBeforeLimiting(Day(2026, 1, 1), Day(2026, 2, 1), a, a, a, 7, &a, &b),
              E_INVALIDARG);
    EXPECT_EQ(c.s.list->GetTaxBasesBeforeLimiting(Day(2026, 1, 1), Day(2026, 2, 1), a, a, a, -1, &a, &b),
              E_INVALIDARG);
    EXPECT_EQ(c.s.list->GetTaxBasesBeforeLimiting(Day(2026, 1, 1), Day(2026, 2, 1), a, a, a, 0, nullptr, &b),
              E_POINTER);
    EXPECT_EQ(c.s.list->GetTaxBasesBeforeLimiting(std::numeric_limits<double>::quiet_NaN(), Day(2026, 2, 1), a, a, a, 0, &a, &b), E_INVALIDARG);
    // A month of the list without sum collectors (no trace list) ends the walk with its status.
    ASSERT_EQ(As<IOrvUnknownList>(c.s.list.Get())->Add(MonthOn(Day(2026, 1, 1)).Get()), S_OK);
    EXPECT_EQ(c.s.list->GetTaxBasesBeforeLimiting(Day(2026, 1, 1), Day(2026, 2, 1), a, a, a, 0, &a, &b), E_POINTER);
    // The month's own report (message 1012) is handed on.
    EXPECT_EQ(TakeErrorInfo().guid, IID_IOrvMonthDisp);
}

TEST(MonthListTaxBases, CollectorTable) {
    using orv::OrvMonthList;
    EXPECT_EQ(OrvMonthList::CollectorIndex(0, 0), 25);
    EXPECT_EQ(OrvMonthList::CollectorIndex(0, 6), 37);
    EXPECT_EQ(OrvMonthList::CollectorIndex(1, 3), 32);
    EXPECT_EQ(OrvMonthList::CollectorIndex(2, 0), 48);
    EXPECT_EQ(OrvMonthList::CollectorIndex(2, 1), 42);
    EXPECT_EQ(OrvMonthList::CollectorIndex(4, 0), 106);
    EXPECT_EQ(OrvMonthList::CollectorIndex(5, 6), 112);
    EXPECT_EQ(OrvMonthList::CollectorIndex(6, 0), 120);
    EXPECT_EQ(OrvMonthList::CollectorIndex(6, 1), 114);
    EXPECT_EQ(OrvMonthList::CollectorIndex(3, 0), -1);
    EXPECT_EQ(OrvMonthList::CollectorIndex(0, 7), -1);
}

}  // namespace
}  // namespace monthtest
