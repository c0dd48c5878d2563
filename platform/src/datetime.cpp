// Automation dates on the C++20 calendar.
//
// An automation date counts days from 1899-12-30. Its integer part (truncated
// toward zero) names the day, the absolute value of its fraction the time of
// day, so -1.25 is 1899-12-29 06:00 and -0.5 is 1899-12-30 12:00 like 0.5.
// Valid dates run from 0100-01-01 to 9999-12-31.
#include <orvdocs/platform/oleauto.h>

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};
constexpr int kSecondsPerDay = 86400;
// First and last whole day numbers of the valid range (0100-01-01, 9999-12-31).
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;

void FillFromDays(sys_days day, int secondsOfDay, SYSTEMTIME& st) {
    const year_month_day ymd{day};
    st.wYear = static_cast<WORD>(static_cast<int>(ymd.year()));
    st.wMonth = static_cast<WORD>(static_cast<unsigned>(ymd.month()));
    st.wDay = static_cast<WORD>(static_cast<unsigned>(ymd.day()));
    st.wDayOfWeek = static_cast<WORD>(weekday{day}.c_encoding());
    st.wHour = static_cast<WORD>(secondsOfDay / 3600);
    st.wMinute = static_cast<WORD>(secondsOfDay / 60 % 60);
    st.wSecond = static_cast<WORD>(secondsOfDay % 60);
    st.wMilliseconds = 0;
}

}  // namespace

INT SystemTimeToVariantTime(const SYSTEMTIME* st, DOUBLE* pvtime) {
    if (!st || !pvtime) return FALSE;
    if (st->wYear < 100 || st->wYear > 9999) return FALSE;
    if (st->wMonth < 1 || st->wMonth > 12) return FALSE;
    if (st->wHour > 23 || st->wMinute > 59 || st->wSecond > 59) return FALSE;
    const year_month_day ymd{year{st->wYear}, month{st->wMonth}, day{st->wDay}};
    if (!ymd.ok()) return FALSE;  // day 0 or past the month's last day
    // Milliseconds are not part of an automation date built from fields.
    const double days = static_cast<double>((sys_days{ymd} - kEpoch).count());
    const double fraction =
        static_cast<double>(st->wHour * 3600 + st->wMinute * 60 + st->wSecond) / kSecondsPerDay;
    *pvtime = days >= 0 ? days + fraction : days - fraction;
    return TRUE;
}

INT VariantTimeToSystemTime(DOUBLE vtime, LPSYSTEMTIME st) {
    if (!st) return FALSE;
    // NaN fails both comparisons' complements, so it is rejected here too.
    if (!(vtime > kFirstDay - 1.0 && vtime < kLastDay + 1.0)) return FALSE;
    const double whole = std::trunc(vtime);
    const double fraction = std::fabs(vtime - whole);  // exact for a double
    long long dayNumber = static_cast<long long>(whole);
    auto seconds = static_cast<int>(std::lround(fraction * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {  // rounded up to the next midnight
        seconds -= kSecondsPerDay;
        ++dayNumber;
    }
    if (dayNumber < kFirstDay || dayNumber > kLastDay) return FALSE;
    FillFromDays(kEpoch + days{dayNumber}, seconds, *st);
    return TRUE;
}

void GetSystemTime(LPSYSTEMTIME st) {
    if (!st) return;
    const auto now = floor<milliseconds>(system_clock::now());
    const auto today = floor<days>(now);
    const auto ms = (now - today).count();
    FillFromDays(today, static_cast<int>(ms / 1000), *st);
    st->wMilliseconds = static_cast<WORD>(ms % 1000);
}

void GetLocalTime(LPSYSTEMTIME st) {
    if (!st) return;
    const auto now = floor<milliseconds>(system_clock::now());
    const std::time_t secs = system_clock::to_time_t(now);
    std::tm local{};
    if (!localtime_r(&secs, &local)) {
        GetSystemTime(st);
        return;
    }
    const sys_days day{year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                       static_cast<unsigned>(local.tm_mday)};
    // tm_sec may be 60 during a leap second; keep the fields in range.
    const int sec = local.tm_sec > 59 ? 59 : local.tm_sec;
    FillFromDays(day, local.tm_hour * 3600 + local.tm_min * 60 + sec, *st);
    st->wMilliseconds = static_cast<WORD>((now.time_since_epoch() % seconds{1}).count());
}
