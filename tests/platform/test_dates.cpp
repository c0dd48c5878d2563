// Automation dates against the C++20 calendar.
#include <orvdocs/platform/oleauto.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

SYSTEMTIME Make(int y, unsigned m, unsigned d, unsigned hh = 0, unsigned mm = 0, unsigned ss = 0) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y), st.wMonth = static_cast<WORD>(m), st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(hh), st.wMinute = static_cast<WORD>(mm), st.wSecond = static_cast<WORD>(ss);
    return st;
}

double ToDate(const SYSTEMTIME& st) {
    double d = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &d)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
    return d;
}

// Every day of four centuries, each at a different time of day: the day
// number, the fields, the day of the week and the sign convention all agree.
TEST(AutomationDates, EveryDayFrom1800To2100RoundTrips) {
    const sys_days first = sys_days{year{1800} / January / 1}, last = sys_days{year{2100} / December / 31};
    int checked = 0;
    for (sys_days day = first; day <= last; day += days{1}) {
        const year_month_day ymd{day};
        const int secs = static_cast<int>((day - first).count() * 7919 % 86400);
        const SYSTEMTIME in = Make(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()), secs / 3600,
                                   secs / 60 % 60, secs % 60);
        const double d = ToDate(in);
        const long long n = (day - kEpoch).count();
        // The integer part names the day; the fraction is the time, positive before the epoch too.
        ASSERT_EQ(static_cast<long long>(std::trunc(d)), n) << n;
        ASSERT_NEAR(std::fabs(d - std::trunc(d)), secs / 86400.0, 1e-9) << n;  // far below half a second
        SYSTEMTIME out;
        ASSERT_TRUE(VariantTimeToSystemTime(d, &out)) << d;
        ASSERT_EQ(out.wYear, in.wYear);
        ASSERT_EQ(out.wMonth, in.wMonth);
        ASSERT_EQ(out.wDay, in.wDay);
        ASSERT_EQ(out.wHour * 3600 + out.wMinute * 60 + out.wSecond, secs) << d;
        ASSERT_EQ(out.wMilliseconds, 0);
        ASSERT_EQ(out.wDayOfWeek, weekday{day}.c_encoding()) << d;
        ++checked;
    }
    EXPECT_EQ(checked, 109'938);
}

TEST(AutomationDates, AnchorsAndLeapDays) {
    EXPECT_EQ(ToDate(Make(1899, 12, 30)), 0.0);
    EXPECT_EQ(ToDate(Make(1899, 12, 31)), 1.0);
    EXPECT_EQ(ToDate(Make(1900, 1, 1)), 2.0);
    EXPECT_EQ(ToDate(Make(2000, 1, 1)), 36526.0);
    EXPECT_EQ(ToDate(Make(1960, 12, 31)), 22281.0);
    EXPECT_EQ(ToDate(Make(1900, 3, 1)) - ToDate(Make(1900, 2, 28)), 1.0);  // 1900 is no leap year
    EXPECT_EQ(ToDate(Make(2000, 3, 1)) - ToDate(Make(2000, 2, 28)), 2.0);  // 2000 is one
    double d;
    for (const SYSTEMTIME& st : {Make(1900, 2, 29), Make(2100, 2, 29), Make(2023, 2, 29)})
        EXPECT_FALSE(SystemTimeToVariantTime(&st, &d)) << st.wYear;
    for (const SYSTEMTIME& st : {Make(2000, 2, 29), Make(2024, 2, 29), Make(1600, 2, 29)})
        EXPECT_TRUE(SystemTimeToVariantTime(&st, &d)) << st.wYear;

    // Before the epoch the number is negative while the time stays a positive fraction.
    EXPECT_EQ(ToDate(Make(1899, 12, 28, 18)), -2.75);
    SYSTEMTIME st;
    ASSERT_TRUE(VariantTimeToSystemTime(-0.5, &st));  // day 0 at noon, like 0.5
    EXPECT_EQ(st.wDay, 30);
    EXPECT_EQ(st.wHour, 12);
}

TEST(AutomationDates, RoundsToTheNearestSecondAndRejectsTheOutOfRange) {
    SYSTEMTIME st;
    ASSERT_TRUE(VariantTimeToSystemTime(0.5 + 0.4 / 86400, &st));
    EXPECT_EQ(st.wSecond, 0);
    ASSERT_TRUE(VariantTimeToSystemTime(0.5 + 0.6 / 86400, &st));
    EXPECT_EQ(st.wSecond, 1);
    ASSERT_TRUE(VariantTimeToSystemTime(1.0 - 0.4 / 86400, &st));  // rounds into the next day
    EXPECT_EQ(st.wDay, 31);
    EXPECT_EQ(st.wHour, 0);
    EXPECT_EQ(st.wDayOfWeek, 0);  // 1899-12-31 was a Sunday

    ASSERT_TRUE(VariantTimeToSystemTime(-657434.0, &st));
    EXPECT_EQ(st.wYear, 100);
    ASSERT_TRUE(VariantTimeToSystemTime(2958465.999, &st));
    EXPECT_EQ(st.wYear, 9999);
    EXPECT_EQ(st.wHour, 23);
    for (double bad : {-657435.0, 2958466.0, 2958465.9999999, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(VariantTimeToSystemTime(bad, &st)) << bad;
    EXPECT_FALSE(VariantTimeToSystemTime(1.0, nullptr));
}

TEST(AutomationDates, InvalidFieldsAreRejectedAndMillisecondsIgnored) {
    double d;
    for (const SYSTEMTIME& st : {Make(2020, 0, 1), Make(2020, 13, 1), Make(2020, 1, 0), Make(2020, 4, 31),
                                 Make(2020, 1, 1, 24), Make(2020, 1, 1, 0, 60), Make(2020, 1, 1, 0, 0, 60),
                                 Make(99, 1, 1), Make(10000, 1, 1)})
        EXPECT_FALSE(SystemTimeToVariantTime(&st, &d)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
    SYSTEMTIME st = Make(2020, 1, 1, 12);
    st.wMilliseconds = 999;
    EXPECT_EQ(ToDate(st), ToDate(Make(2020, 1, 1, 12)));
    EXPECT_FALSE(SystemTimeToVariantTime(nullptr, &d));
}

TEST(AutomationDates, CurrentTimeIsConsistent) {
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    GetLocalTime(&local);
    const auto now = floor<seconds>(system_clock::now());
    auto instant = [](const SYSTEMTIME& st) {
        const year_month_day ymd{year{st.wYear}, month{st.wMonth}, day{st.wDay}};
        EXPECT_TRUE(ymd.ok());
        EXPECT_EQ(st.wDayOfWeek, weekday{sys_days{ymd}}.c_encoding());
        EXPECT_LT(st.wMilliseconds, 1000);
        return sys_days{ymd} + hours{st.wHour} + minutes{st.wMinute} + seconds{st.wSecond};
    };
    EXPECT_LE(abs(instant(utc) - now), seconds{5});
    EXPECT_LE(abs(instant(local) - now), hours{15});  // any time zone offset
}

}  // namespace
