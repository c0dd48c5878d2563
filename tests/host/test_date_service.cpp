// The host's date service: day numbers against the platform's own date
// conversion, the month and year bounds the document kinds rely on, the
// 16-bit results, texts both ways, and moving dates by months.
#include "host/OrvDateService.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;

class DateServiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(orv::CreateObject<orv::host::OrvDateService>(&ds_), S_OK); }

    LONG Make(int y, int m, int d) {
        LONG day = 0;
        EXPECT_EQ(ds_->MakeDay(static_cast<SHORT>(y), static_cast<SHORT>(m), static_cast<SHORT>(d), &day), S_OK);
        return day;
    }
    std::u16string Text(LONG day) {
        Bstr text;
        EXPECT_EQ(ds_->DayToText(day, text.ReleaseAndGetAddressOf()), S_OK);
        return std::u16string(text.View());
    }
    SHORT Bound(HRESULT (IOrvDateService::*slot)(LONG, SHORT*), LONG day) {
        SHORT out = -1;
        EXPECT_EQ((ds_.Get()->*slot)(day, &out), S_OK);
        return out;
    }

    ComPtr<IOrvDateService> ds_;
};

TEST_F(DateServiceTest, DayNumbersAgreeWithThePlatformCalendar) {
    // Day 1 is 1961-01-01, automation date 22282.
    EXPECT_EQ(Make(1961, 1, 1), 1);
    EXPECT_EQ(Text(1), u"01.01.1961");
    DATE dt = 0;
    ASSERT_EQ(ds_->DayToDate(1, &dt), S_OK);
    EXPECT_EQ(dt, 22282.0);
    // Every 13th day from 1900 to 2100 (negative day numbers included): the
    // platform's conversion of the date gives the same year, month, day and weekday.
    for (LONG day = Make(1900, 1, 1); day <= Make(2100, 12, 31); day += 13) {
        if (day == 0) continue;
        ASSERT_EQ(ds_->DayToDate(day, &dt), S_OK);
        SYSTEMTIME st{};
        ASSERT_TRUE(VariantTimeToSystemTime(dt, &st)) << day;
        SHORT y, m, d, wd;
        ASSERT_EQ(ds_->SplitDay(day, &y, &m, &d), S_OK);
        ASSERT_EQ(ds_->DayOfWeek(day, &wd), S_OK);
        ASSERT_EQ(y, st.wYear) << day;
        ASSERT_EQ(m, st.wMonth) << day;
        ASSERT_EQ(d, st.wDay) << day;
        ASSERT_EQ(wd, (st.wDayOfWeek + 6) % 7 + 1) << day;
        LONG back = 0;
        ASSERT_EQ(ds_->DateToDay(dt + 0.75, &back), S_OK);  // the time of day is dropped
        ASSERT_EQ(back, day);
        ASSERT_EQ(ds_->MakeDay(y, m, d, &back), S_OK);
        ASSERT_EQ(back, day);
    }
    // Before 1899-12-30 an automation date's fraction still counts forward from its day.
    LONG back = 0;
    ASSERT_EQ(ds_->DateToDay(-1.25, &back), S_OK);
    EXPECT_EQ(back, Make(1899, 12, 29));
}

TEST_F(DateServiceTest, MonthAndYearBoundsAreExclusiveEnds) {
    for (LONG day = Make(1995, 11, 3); day <= Make(2030, 3, 1); day += 11) {
        const SHORT first = Bound(&IOrvDateService::MonthStart, day);
        const SHORT next = Bound(&IOrvDateService::MonthEnd, day);
        SHORT days = 0;
        ASSERT_EQ(ds_->DaysInMonth(day, &days), S_OK);
        ASSERT_LE(first, day);
        ASSERT_LT(day, next);
        ASSERT_EQ(next - first, days) << day;
        // The bound is the first day of the next month, the ordinal one higher.
        SHORT y, m, d;
        ASSERT_EQ(ds_->SplitDay(next, &y, &m, &d), S_OK);
        ASSERT_EQ(d, 1);
        LONG ordinal = 0, nextOrdinal = 0;
        ASSERT_EQ(ds_->MonthOrdinal(day, &ordinal), S_OK);
        ASSERT_EQ(ds_->MonthOrdinal(next, &nextOrdinal), S_OK);
        ASSERT_EQ(nextOrdinal, ordinal + 1);

        const SHORT yearFirst = Bound(&IOrvDateService::YearStart, day);
        const SHORT yearNext = Bound(&IOrvDateService::YearEnd, day);
        ASSERT_LE(yearFirst, day);
        ASSERT_LT(day, yearNext);
        ASSERT_EQ(ds_->SplitDay(yearFirst, &y, &m, &d), S_OK);
        ASSERT_EQ(m * 100 + d, 101);
        ASSERT_TRUE(yearNext - yearFirst == 365 || yearNext - yearFirst == 366);
    }
    SHORT days = 0;
    ASSERT_EQ(ds_->DaysInMonth(Make(2024, 2, 10), &days), S_OK);
    EXPECT_EQ(days, 29);
    ASSERT_EQ(ds_->DaysInMonth(Make(1900, 2, 10), &days), S_OK);
    EXPECT_EQ(days, 28);
    ASSERT_EQ(ds_->DaysInMonth(Make(2000, 2, 10), &days), S_OK);
    EXPECT_EQ(days, 29);
    EXPECT_EQ(Bound(&IOrvDateService::YearEnd, Make(2025, 12, 31)), Make(2026, 1, 1));
    EXPECT_EQ(Bound(&IOrvDateService::MonthEnd, Make(2025, 12, 31)), Make(2026, 1, 1));
    // Dates before 1961 have negative day numbers and bounds like any other.
    EXPECT_EQ(Bound(&IOrvDateService::MonthEnd, Make(1960, 11, 5)), Make(1960, 12, 1));
    EXPECT_EQ(Bound(&IOrvDateService::YearEnd, Make(1960, 5, 5)), 1);
}

TEST_F(DateServiceTest, NoDateGivesNoDateAndOutOfRangeIsRefused) {
    for (auto slot : {&IOrvDateService::YearStart, &IOrvDateService::MonthEnd, &IOrvDateService::MonthStart,
                      &IOrvDateService::YearEnd, &IOrvDateService::DaysInMonth}) {
        SHORT out = 7;
        EXPECT_EQ((ds_.Get()->*slot)(0, &out), S_OK);
        EXPECT_EQ(out, 0);
        EXPECT_EQ((ds_.Get()->*slot)(9000000, &out), E_INVALIDARG);
        EXPECT_EQ((ds_.Get()->*slot)(1, nullptr), E_POINTER);
    }
    EXPECT_EQ(Text(0), u"");
    LONG out = 5;
    EXPECT_EQ(ds_->MonthOrdinal(0, &out), S_OK);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(ds_->DaysBetween(0, 10, &out), S_FALSE);
    EXPECT_EQ(out, 0);
    DATE dt = 1;
    EXPECT_EQ(ds_->MonthStartDate(0.0, &dt), S_OK);
    EXPECT_EQ(dt, 0.0);
    EXPECT_EQ(ds_->ShiftDate(0.0, 5, &dt), S_OK);
    EXPECT_EQ(dt, 0.0);
    EXPECT_EQ(ds_->DateToDay(std::nan(""), &out), E_INVALIDARG);
    EXPECT_EQ(ds_->DateToDay(1e12, &out), E_INVALIDARG);
    EXPECT_EQ(ds_->MakeDay(2025, 2, 29, &out), E_INVALIDARG);
    EXPECT_EQ(ds_->MakeDay(2025, 13, 1, &out), E_INVALIDARG);
    EXPECT_EQ(ds_->MakeDay(99, 12, 31, &out), E_INVALIDARG);
}

TEST_F(DateServiceTest, SixteenBitResultsThatDoNotFitOverflow) {
    // 2050-09-01 is day 32751, 2050-10-01 day 32781: past the 16-bit range.
    const LONG september = Make(2050, 9, 15);
    EXPECT_EQ(Bound(&IOrvDateService::MonthStart, september), 32751);
    SHORT out = 7;
    EXPECT_EQ(ds_->MonthEnd(september, &out), DISP_E_OVERFLOW);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(ds_->YearEnd(september, &out), DISP_E_OVERFLOW);
    // The 32-bit members still answer.
    LONG ordinal = 0;
    EXPECT_EQ(ds_->MonthOrdinal(Make(2200, 1, 1), &ordinal), S_OK);
    EXPECT_EQ(ordinal, 2200 * 12);
}

TEST_F(DateServiceTest, TextsReadBackAndMalformedTextsAreRefused) {
    EXPECT_EQ(Text(Make(2026, 12, 5)), u"05.12.2026");
    Bstr month;
    ASSERT_EQ(ds_->MonthToText(Make(2026, 3, 31), month.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(month.View(), u"03.2026");
    for (LONG day = Make(1901, 3, 1); day < Make(2099, 1, 1); day += 97) {
        LONG back = 0;
        ASSERT_EQ(ds_->TextToDay(Bstr(Text(day)), &back), S_OK);
        ASSERT_EQ(back, day);
    }
    LONG day = -1;
    ASSERT_EQ(ds_->TextToDay(Bstr(u" 5.1.2026\t"), &day), S_OK);
    EXPECT_EQ(day, Make(2026, 1, 5));
    ASSERT_EQ(ds_->TextToDay(Bstr(u"2026-01-05"), &day), S_OK);
    EXPECT_EQ(day, Make(2026, 1, 5));
    ASSERT_EQ(ds_->TextToDay(nullptr, &day), S_OK);
    EXPECT_EQ(day, 0);
    for (const char16_t* bad : {u"31.02.2025", u"1.1.25", u"01.01.2025x", u"2025-1-01", u"abc", u"1..2025",
                                u"001.01.2025", u"01.01.20250", u"-1.01.2025", u"2025-01-01-"}) {
        day = 9;
        EXPECT_EQ(ds_->TextToDay(Bstr(bad), &day), E_INVALIDARG) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
        EXPECT_EQ(day, 0);
    }
}

TEST_F(DateServiceTest, DatesMoveByWholeMonths) {
    DATE dt = 0, out = 0;
    // Shift: the day moves back to the month's end when needed; the time of day stays.
    ASSERT_EQ(ds_->DayToDate(Make(2025, 1, 31), &dt), S_OK);
    ASSERT_EQ(ds_->ShiftDate(dt + 0.5, 1, &out), S_OK);
    DATE expected = 0;
    ASSERT_EQ(ds_->DayToDate(Make(2025, 2, 28), &expected), S_OK);
    EXPECT_EQ(out, expected + 0.5);
    ASSERT_EQ(ds_->ShiftDate(dt, 13, &out), S_OK);
    ASSERT_EQ(ds_->DayToDate(Make(2026, 2, 28), &expected), S_OK);
    EXPECT_EQ(out, expected);
    ASSERT_EQ(ds_->ShiftDate(dt, -11, &out), S_OK);
    ASSERT_EQ(ds_->DayToDate(Make(2024, 2, 29), &expected), S_OK);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(ds_->ShiftDate(dt, 200000, &out), E_INVALIDARG);

    LONG day = 0;
    ASSERT_EQ(ds_->AddMonthsToDay(Make(2024, 3, 31), -1, &day), S_OK);
    EXPECT_EQ(day, Make(2024, 2, 29));
    ASSERT_EQ(ds_->AddMonthsToDay(Make(2024, 12, 15), 1, &day), S_OK);
    EXPECT_EQ(day, Make(2025, 1, 15));
    ASSERT_EQ(ds_->DaysBetween(Make(2024, 1, 1), Make(2025, 1, 1), &day), S_OK);
    EXPECT_EQ(day, 366);
}

TEST_F(DateServiceTest, MonthStartDateGivesTheMonthAnEndCloses) {
    DATE first = 0, out = 0, mid = 0;
    ASSERT_EQ(ds_->DayToDate(Make(2026, 3, 1), &first), S_OK);
    ASSERT_EQ(ds_->MonthStartDate(first, &out), S_OK);  // an exclusive end: the month just ended
    DATE expected = 0;
    ASSERT_EQ(ds_->DayToDate(Make(2026, 2, 1), &expected), S_OK);
    EXPECT_EQ(out, expected);
    ASSERT_EQ(ds_->DayToDate(Make(2026, 3, 17), &mid), S_OK);
    ASSERT_EQ(ds_->MonthStartDate(mid + 0.3, &out), S_OK);  // any other day: its own month
    EXPECT_EQ(out, first);
    // Together with MonthEnd: the month of a day, as the loan interest asks for it.
    for (LONG day = Make(2001, 1, 1); day < Make(2004, 1, 1); day += 5) {
        DATE end = 0, start = 0;
        ASSERT_EQ(ds_->DayToDate(Bound(&IOrvDateService::MonthEnd, day), &end), S_OK);
        ASSERT_EQ(ds_->DayToDate(Bound(&IOrvDateService::MonthStart, day), &start), S_OK);
        ASSERT_EQ(ds_->MonthStartDate(end, &out), S_OK);
        ASSERT_EQ(out, start) << day;
    }
}

TEST_F(DateServiceTest, TodayIsTheLocalDate) {
    LONG today = 0;
    ASSERT_EQ(ds_->get_Today(&today), S_OK);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(today, Make(now.wYear, now.wMonth, now.wDay));
}

}  // namespace
