// The timesheet (type 336): time arithmetic in hours.minutes, the week and
// shift accessors, the "TCDOCEX" body and the summary of hours by kind of
// day and shift. Month figures (weekdays and Saturdays of months of 28 to 31
// days) come from reference_values.py.
#include "calckinds/calc_support.h"

#include "kinds/OrvTCDoc.h"

#include <gtest/gtest.h>

#include <chrono>

namespace calc_test {
namespace {

namespace clk = orv::clock;

Kind<IOrvTCDoc> NewSheet() {
    auto k = NewKind<IOrvTCDoc>(336);
    EXPECT_TRUE(k.kind);
    return k;
}

void SetDay(IOrvTCDoc* tc, LONG week, LONG day, float s, float e, float ls, float le, SHORT type) {
    ASSERT_EQ(tc->put_WDStart(week, day, s), S_OK);
    ASSERT_EQ(tc->put_WDEnd(week, day, e), S_OK);
    ASSERT_EQ(tc->put_LunchStart(week, day, ls), S_OK);
    ASSERT_EQ(tc->put_LunchEnd(week, day, le), S_OK);
    ASSERT_EQ(tc->put_DayType(week, day, type), S_OK);
}

void SetShift(IOrvTCDoc* tc, LONG n, float s, float e, float ls, float le) {
    ASSERT_EQ(tc->put_NormWDStart(n, s), S_OK);
    ASSERT_EQ(tc->put_NormWDEnd(n, e), S_OK);
    ASSERT_EQ(tc->put_NormLunchStart(n, ls), S_OK);
    ASSERT_EQ(tc->put_NormLunchEnd(n, le), S_OK);
}

std::u16string Summary(IOrvTCDoc* tc, DATE from, DATE to) {
    BSTR xml = nullptr;
    EXPECT_EQ(tc->GetTotalHours(&xml, from, to), S_OK);
    return Take(xml);
}

std::u16string Protocol(const char16_t* k0, const char16_t* k1, const char16_t* k2) {
    return std::u16string(u"<PROTOCOL>") + k0 + k1 + k2 + u"</PROTOCOL>";
}

TEST(TimeArithmetic, HoursAndMinutes) {
    struct Case {
        float a, b, difference, sum;
    };
    const Case cases[] = {
        {17.00f, 8.00f, 9.00f, 25.00f},
        {9.00f, 0.45f, 8.15f, 9.45f},
        {17.30f, 22.00f, -4.70f, 39.30f},   // -5 h + 30 min, as the rule gives
        {8.00f, 8.30f, -0.70f, 16.30f},      // -1 h + 30 min, as the rule gives
        {0.45f, 0.30f, 0.15f, 1.15f},
        {23.59f, 0.01f, 23.58f, 24.00f},
        {0.0f, 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(clk::Difference(c.a, c.b), c.difference) << c.a << " - " << c.b;
        EXPECT_FLOAT_EQ(clk::Sum(c.a, c.b), c.sum) << c.a << " + " << c.b;
    }
    EXPECT_EQ(clk::Split(8.30f).hours, 8);
    EXPECT_EQ(clk::Split(8.30f).minutes, 30);
    EXPECT_EQ(clk::Split(17.45f).minutes, 45);  // 1744.99.. rounds to 1745
}

TEST(TimesheetMembers, WeeksGrowOneAtATimeAndIndicesAreChecked) {
    auto k = NewSheet();
    IOrvTCDoc* tc = k.kind.Get();
    LONG weeks = -1;
    ASSERT_EQ(tc->put_WeekStart(5, Day(2024, 3, 4)), S_OK);  // creates week 0
    tc->get_Weeks(&weeks);
    EXPECT_EQ(weeks, 1);
    DATE d = 0;
    EXPECT_EQ(tc->get_WeekStart(0, &d), S_OK);
    EXPECT_EQ(d, Day(2024, 3, 4));
    EXPECT_EQ(tc->get_WeekStart(5, &d), E_POINTER);
    float f = 0;
    EXPECT_EQ(tc->get_WDStart(1, 0, &f), E_POINTER);  // nWeek equal to Weeks
    EXPECT_EQ(tc->put_WDStart(0, 7, 8.0f), E_POINTER);
    EXPECT_EQ(tc->put_WDStart(0, -1, 8.0f), E_POINTER);
    EXPECT_EQ(tc->put_WDStart(-1, 0, 8.0f), E_POINTER);
    EXPECT_EQ(tc->put_WeekEnd(-1, 1.0), E_POINTER);
    tc->get_Weeks(&weeks);
    EXPECT_EQ(weeks, 1);  // the refused puts added nothing
    for (LONG n : {0, 4}) {
        EXPECT_EQ(tc->get_NormWDStart(n, &f), E_POINTER);
        EXPECT_EQ(tc->put_NormLunchEnd(n, 1.0f), E_POINTER);
    }
    ASSERT_EQ(tc->put_DayType(3, 6, 2), S_OK);  // appends week 1
    SHORT type = 0;
    EXPECT_EQ(tc->get_DayType(1, 6, &type), S_OK);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(tc->get_DayType(1, 5, &type), S_OK);
    EXPECT_EQ(type, 0);
    ASSERT_EQ(tc->put_Weeks(10), S_OK);
    tc->get_Weeks(&weeks);
    EXPECT_EQ(weeks, 2);
    EXPECT_EQ(tc->get_Weeks(nullptr), E_POINTER);
    EXPECT_EQ(tc->get_Memo(nullptr), E_POINTER);
    ASSERT_EQ(tc->put_Memo(Bstr(u"памятка")), S_OK);
    BSTR memo = nullptr;
    tc->get_Memo(&memo);
    EXPECT_EQ(Take(memo), u"памятка");
}

TEST(TimesheetBody, ElementAndAttributeOrderAndRoundTrip) {
    auto k = NewSheet();
    IOrvTCDoc* tc = k.kind.Get();
    tc->put_NormTotalHours(40.0f);
    tc->put_Hour150(18.0f);
    tc->put_Hour200(22.0f);
    SetShift(tc, 1, 9.0f, 18.0f, 13.0f, 14.0f);
    SetShift(tc, 2, 18.5f, 23.0f, 0.0f, 0.0f);
    tc->put_WeekStart(0, 45355.0);
    tc->put_WeekEnd(0, 45361.0);
    SetDay(tc, 0, 0, 9.0f, 18.5f, 13.0f, 14.0f, 0);
    SetDay(tc, 0, 6, 0.0f, 0.0f, 0.0f, 0.0f, 3);
    tc->put_Weeks(10);
    tc->put_Memo(Bstr(u"not written"));
    ASSERT_EQ(tc->UpdateExtension(), S_OK);
    const std::u16string body = BodyText(k.doc.Get());
    const std::u16string head =
        u"<TCDOCEX NORMA_TOTAL=\"40\" HOUR_150=\"18\" HOUR_200=\"22\" WEEKS=\"10\">"
        u"<SMENA NWD=\"9\" EWD=\"18\" NL=\"13\" EL=\"14\"/>"
        u"<SMENA NWD=\"18.5\" EWD=\"23\" NL=\"0\" EL=\"0\"/>"
        u"<SMENA NWD=\"0\" EWD=\"0\" NL=\"0\" EL=\"0\"/>"
        u"<WEEK WS=\"45355\" WE=\"45361\"><DAY NWD=\"9\" EWD=\"18.5\" NL=\"13\" EL=\"14\" DT=\"0\"/>";
    EXPECT_EQ(body.rfind(head, 0), 0u) << Utf8(body);
    EXPECT_EQ(body.find(u"not written"), std::u16string::npos);
    std::size_t days = 0;
    for (std::size_t at = body.find(u"<DAY"); at != std::u16string::npos; at = body.find(u"<DAY", at + 1)) ++days;
    EXPECT_EQ(days, 7u);

    auto again = kindtest::Attach<orv::OrvTCDoc, IOrvTCDoc>(k.doc.Get());
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    LONG weeks = 0;
    again->get_Weeks(&weeks);
    EXPECT_EQ(weeks, 1);
    float f = 0;
    again->get_NormWDStart(2, &f);
    EXPECT_EQ(f, 18.5f);
    again->get_WDEnd(0, 0, &f);
    EXPECT_EQ(f, 18.5f);
    SHORT type = 0;
    again->get_DayType(0, 6, &type);
    EXPECT_EQ(type, 3);
    ASSERT_EQ(again->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(k.doc.Get()), body);  // WEEKS stays the declared 10
}

TEST(TimesheetBody, ReadingKeepsTheFirstThreeShiftsAndOverwritesWeeksByPosition) {
    auto k = NewSheet();
    IOrvTCDoc* tc = k.kind.Get();
    tc->put_WeekStart(0, 1.0);
    tc->put_WeekStart(1, 2.0);
    tc->put_WeekStart(2, 3.0);  // beyond the body's weeks: stays
    SetBodyText(k.doc.Get(),
                u"<TCDOCEX WEEKS=\"7\"><SMENA NWD=\"1\"/><SMENA NWD=\"2\"/><SMENA NWD=\"3\"/><SMENA NWD=\"4\"/>"
                u"<WEEK WS=\"100\"><DAY NWD=\"8\" DT=\"1\"/></WEEK><WEEK WS=\"200\"/></TCDOCEX>");
    ASSERT_EQ(tc->InitFromExtension(), S_OK);
    float f = 0;
    tc->get_NormWDStart(3, &f);
    EXPECT_EQ(f, 3.0f);
    DATE d = 0;
    tc->get_WeekStart(0, &d);
    EXPECT_EQ(d, 100.0);
    tc->get_WeekStart(1, &d);
    EXPECT_EQ(d, 200.0);
    tc->get_WeekStart(2, &d);
    EXPECT_EQ(d, 3.0);
    tc->get_WDStart(0, 0, &f);
    EXPECT_EQ(f, 8.0f);
    LONG weeks = 0;
    tc->get_Weeks(&weeks);
    EXPECT_EQ(weeks, 3);
    // A body that does not parse changes nothing.
    SetBodyText(k.doc.Get(), u"<TCDOCEX WEEKS=\"1\"><WEEK WS=\"5\"");
    ASSERT_EQ(tc->InitFromExtension(), S_OK);
    tc->get_WeekStart(0, &d);
    EXPECT_EQ(d, 100.0);
}

TEST(TimesheetSummary, WorkedExampleWithOvertime) {
    auto k = NewSheet();
    IOrvTCDoc* tc = k.kind.Get();
    SetShift(tc, 1, 8.0f, 17.0f, 12.0f, 12.45f);
    tc->put_Hour150(17.0f);
    tc->put_Hour200(22.0f);
    const DATE monday = Day(2024, 3, 4);
    tc->put_WeekStart(0, monday);
    tc->put_WeekEnd(0, monday + 6);
    SetDay(tc, 0, 0, 8.0f, 17.30f, 12.0f, 12.45f, 0);
    SetDay(tc, 0, 1, 8.0f, 17.30f, 12.0f, 12.45f, 3);  // kind 3 counts nowhere

    BSTR untouched = SysAllocString(u"marker");
    BSTR out = untouched;
    EXPECT_EQ(tc->GetTotalHours(&out, monday, monday + 6), S_OK);  // not initialised
    EXPECT_EQ(out, untouched);
    SysFreeString(untouched);
    EXPECT_EQ(tc->GetTotalHours(nullptr, monday, monday), E_POINTER);

    tc->put_IsInitialized(VARIANT_TRUE);
    EXPECT_EQ(Summary(tc, monday, monday + 6),
              Protocol(u"<SMENATYPE DAY=\"8.15\" ST1=\"0.3\" ST2=\"0\"/>", u"<SMENATYPE DAY=\"0\" ST1=\"0\" ST2=\"0\"/>",
                       u"<SMENATYPE DAY=\"0\" ST1=\"0\" ST2=\"0\"/>"));
}

TEST(TimesheetSummary, ShiftsByStartAndWorkAfterTheShift) {
    auto k = NewSheet();
    IOrvTCDoc* tc = k.kind.Get();
    tc->put_IsInitialized(VARIANT_TRUE);
    SetShift(tc, 1, 8.0f, 17.0f, 12.0f, 13.0f);
    SetShift(tc, 2, 16.0f, 24.0f, 19.0f, 19.30f);
    SetShift(tc, 3, 20.0f, 23.0f, 0.0f, 0.0f);
    tc->put_Hour150(17.0f);
    tc->put_Hour200(22.0f);
    const DATE monday = Day(2024, 3, 4);
    tc->put_WeekStart(0, monday);
    tc->put_WeekEnd(0, monday + 6);
    // Shift 2 (starts at 16.00): 16.00-23.00 with 0.30 lunch -> 6.30 in ST1.
    SetDay(tc, 0, 0, 16.0f, 23.0f, 19.0f, 19.30f, 1);
    // Shift 3 (starts at 20.30): 20.30-23.30 -> 2.30 in ST2 within the shift;
    // after it 1.30 past 22.00 in ST2 (4.00 in all) and 5.00 from 17.00 to
    // 22.00 in ST1.
    SetDay(tc, 0, 1, 20.30f, 23.30f, 0.0f, 0.0f, 2);
    // Shift 1 ending early: 8.00-16.00, lunch 12.00-13.00 -> 7.00 in DAY.
    SetDay(tc, 0, 2, 8.0f, 16.0f, 12.0f, 13.0f, 2);
    // A day that ends before it starts counts nothing (raised to 0).
    SetDay(tc, 0, 3, 10.0f, 9.0f, 0.0f, 0.0f, 0);
    EXPECT_EQ(Summary(tc, monday, monday + 6),
              Protocol(u"<SMENATYPE DAY=\"0\" ST1=\"0\" ST2=\"0\"/>", u"<SMENATYPE DAY=\"0\" ST1=\"6.3\" ST2=\"0\"/>",
                       u"<SMENATYPE DAY=\"7\" ST1=\"5\" ST2=\"4\"/>"));
    // Only the days inside the period count.
    EXPECT_EQ(Summary(tc, monday + 1, monday + 1),
              Protocol(u"<SMENATYPE DAY=\"0\" ST1=\"0\" ST2=\"0\"/>", u"<SMENATYPE DAY=\"0\" ST1=\"0\" ST2=\"0\"/>",
                       u"<SMENATYPE DAY=\"0\" ST1=\"5\" ST2=\"4\"/>"));
}

// A schedule for every week that meets the month: Monday to Friday 9.00 to
// 18.00 with lunch 13.00 to 14.00 (8 hours, kind 0), Saturday 10.00 to 14.00
// (4 hours, kind 1), Sunday kind 3; the month's last weekday runs to 23.30.
void FillMonth(IOrvTCDoc* tc, int y, unsigned m) {
    using namespace std::chrono;
    SetShift(tc, 1, 9.0f, 18.0f, 13.0f, 14.0f);
    tc->put_Hour150(18.0f);
    tc->put_Hour200(22.0f);
    const year_month_day first{year{y} / month{m} / 1};
    const year_month_day last{year{y} / month{m} / std::chrono::last};
    sys_days monday = sys_days{first} - (weekday{sys_days{first}} - Monday);
    sys_days lastWeekday = sys_days{last};
    while (weekday{lastWeekday} == Saturday || weekday{lastWeekday} == Sunday) lastWeekday -= days{1};
    const DATE epoch = Day(1899, 12, 30);
    LONG week = 0;
    for (; monday <= sys_days{last}; monday += days{7}, ++week) {
        const DATE start = epoch + (monday - sys_days{year{1899} / December / 30}).count();
        tc->put_WeekStart(week, start);
        tc->put_WeekEnd(week, start + 6);
        for (LONG d = 0; d < 5; ++d) {
            const bool late = monday + days{d} == lastWeekday;
            SetDay(tc, week, d, 9.0f, late ? 23.30f : 18.0f, 13.0f, 14.0f, 0);
        }
        SetDay(tc, week, 5, 10.0f, 14.0f, 0.0f, 0.0f, 1);
        SetDay(tc, week, 6, 9.0f, 18.0f, 0.0f, 0.0f, 3);
    }
}

TEST(TimesheetSummary, MonthsOf28To31Days) {
    struct Case {
        int y;
        unsigned m, days;
        const char16_t* weekdays;   // 8 hours each
        const char16_t* saturdays;  // 4 hours each
    };
    // Weekdays and Saturdays: reference_values.py.
    const Case cases[] = {
        {2023, 2, 28, u"160", u"16"},  // 20 weekdays, 4 Saturdays
        {2024, 2, 29, u"168", u"16"},  // 21, 4
        {2024, 4, 30, u"176", u"16"},  // 22, 4
        {2024, 3, 31, u"168", u"20"},  // 21, 5
        {2024, 1, 31, u"184", u"16"},  // 23, 4
    };
    for (const Case& c : cases) {
        auto k = NewSheet();
        IOrvTCDoc* tc = k.kind.Get();
        tc->put_IsInitialized(VARIANT_TRUE);
        FillMonth(tc, c.y, c.m);
        const DATE first = Day(c.y, c.m, 1);
        const DATE last = Day(c.y, c.m, c.days);
        // The late weekday adds 4.00 after 18.00 in ST1 and 1.30 after 22.00 in ST2.
        const std::u16string expected =
            Protocol((u"<SMENATYPE DAY=\"" + std::u16string(c.weekdays) + u"\" ST1=\"4\" ST2=\"1.3\"/>").c_str(),
                     (u"<SMENATYPE DAY=\"" + std::u16string(c.saturdays) + u"\" ST1=\"0\" ST2=\"0\"/>").c_str(),
                     u"<SMENATYPE DAY=\"0\" ST1=\"0\" ST2=\"0\"/>");
        EXPECT_EQ(Summary(tc, first, last + 0.75), expected) << c.y << "-" << c.m;
        // The same schedule read back from its body sums the same.
        ASSERT_EQ(tc->UpdateExtension(), S_OK);
        auto again = kindtest::Attach<orv::OrvTCDoc, IOrvTCDoc>(k.doc.Get());
        ASSERT_EQ(again->InitFromExtension(), S_OK);
        EXPECT_EQ(Summary(again.Get(), first, last), expected) << c.y << "-" << c.m;
    }
}

}  // namespace
}  // namespace calc_test
