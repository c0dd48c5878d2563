#include "host/OrvDateService.h"

#include <orvdocs/platform/oleauto.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <limits>
#include <string_view>

namespace orv::host {
namespace {

using namespace std::chrono;

// Day number 0 is 1960-12-31; automation date 0.0 is 1899-12-30.
constexpr sys_days kDayEpoch = sys_days{year{1960} / December / 31};
constexpr sys_days kDateEpoch = sys_days{year{1899} / December / 30};
constexpr sys_days kFirstDay = sys_days{year{100} / January / 1};
constexpr sys_days kLastDay = sys_days{year{9999} / December / 31};
constexpr LONG kMinDay = static_cast<LONG>((kFirstDay - kDayEpoch).count());
constexpr LONG kMaxDay = static_cast<LONG>((kLastDay - kDayEpoch).count());

constexpr sys_days DayToSys(LONG day) noexcept { return kDayEpoch + days{day}; }
constexpr LONG SysToDay(sys_days d) noexcept { return static_cast<LONG>((d - kDayEpoch).count()); }

bool InRange(LONG day) noexcept { return day >= kMinDay && day <= kMaxDay; }
bool InRange(sys_days d) noexcept { return d >= kFirstDay && d <= kLastDay; }

// The calendar date of a day number inside the accepted range.
bool Calendar(LONG day, year_month_day* out) noexcept {
    if (!InRange(day)) return false;
    *out = year_month_day{DayToSys(day)};
    return true;
}

// A day number handed back in 16 bits.
HRESULT StoreShort(sys_days d, SHORT* out) noexcept {
    const LONG day = SysToDay(d);
    if (day < std::numeric_limits<SHORT>::min() || day > std::numeric_limits<SHORT>::max()) {
        *out = 0;
        return DISP_E_OVERFLOW;
    }
    *out = static_cast<SHORT>(day);
    return S_OK;
}

// The whole day of an automation date and its time of day (a fraction of a
// day; for dates before 1899-12-30 the fraction counts forward from the day
// as well, as automation dates encode it).
bool SplitDate(DATE dt, sys_days* day, double* time) noexcept {
    if (!std::isfinite(dt)) return false;
    const double whole = std::trunc(dt);
    if (whole < static_cast<double>((kFirstDay - kDateEpoch).count()) ||
        whole > static_cast<double>((kLastDay - kDateEpoch).count()))
        return false;
    *day = kDateEpoch + days{static_cast<int>(whole)};
    *time = std::fabs(dt - whole);
    return true;
}

DATE JoinDate(sys_days day, double time) noexcept {
    const double whole = static_cast<double>((day - kDateEpoch).count());
    return whole < 0 ? whole - time : whole + time;
}

// Moves a date by whole months, keeping the day where the month has it.
bool AddMonths(year_month_day ymd, LONG months, year_month_day* out) noexcept {
    const long long index = static_cast<long long>(static_cast<int>(ymd.year())) * 12 +
                            static_cast<unsigned>(ymd.month()) - 1 + months;
    const long long y = index >= 0 ? index / 12 : -((-index + 11) / 12);
    const long long m = index - y * 12 + 1;
    if (y < 100 || y > 9999) return false;
    const year_month ym{year{static_cast<int>(y)}, month{static_cast<unsigned>(m)}};
    const day last = year_month_day_last{ym.year(), month_day_last{ym.month()}}.day();
    *out = year_month_day{ym.year(), ym.month(), ymd.day() > last ? last : ymd.day()};
    return true;
}

HRESULT NewText(std::u16string_view text, BSTR* out) noexcept {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// Writes n as exactly `width` decimal digits.
void Digits(char16_t* at, unsigned n, int width) noexcept {
    for (int i = width - 1; i >= 0; --i) {
        at[i] = static_cast<char16_t>(u'0' + n % 10);
        n /= 10;
    }
}

// Reads an unsigned decimal of minDigits to maxDigits digits at text[pos].
bool Number(std::u16string_view text, std::size_t* pos, int minDigits, int maxDigits, int* value) noexcept {
    int n = 0, count = 0;
    while (*pos < text.size() && text[*pos] >= u'0' && text[*pos] <= u'9' && count < maxDigits) {
        n = n * 10 + (text[*pos] - u'0');
        ++*pos;
        ++count;
    }
    *value = n;
    return count >= minDigits && (*pos >= text.size() || text[*pos] < u'0' || text[*pos] > u'9');
}

bool Expect(std::u16string_view text, std::size_t* pos, char16_t c) noexcept {
    if (*pos >= text.size() || text[*pos] != c) return false;
    ++*pos;
    return true;
}

// "d.m.yyyy" or "yyyy-mm-dd"; the whole text must be used.
bool ParseDate(std::u16string_view text, year_month_day* out) noexcept {
    int y = 0, m = 0, d = 0;
    std::size_t pos = 0;
    const std::size_t dash = text.find(u'-');
    bool ok;
    if (dash != std::u16string_view::npos) {
        ok = Number(text, &pos, 4, 4, &y) && Expect(text, &pos, u'-') && Number(text, &pos, 2, 2, &m) &&
             Expect(text, &pos, u'-') && Number(text, &pos, 2, 2, &d);
    } else {
        ok = Number(text, &pos, 1, 2, &d) && Expect(text, &pos, u'.') && Number(text, &pos, 1, 2, &m) &&
             Expect(text, &pos, u'.') && Number(text, &pos, 4, 4, &y);
    }
    if (!ok || pos != text.size()) return false;
    const year_month_day ymd{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || !InRange(sys_days{ymd})) return false;
    *out = ymd;
    return true;
}

std::u16string_view Trim(std::u16string_view s) noexcept {
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
    return s;
}

// The members that map a day number onto another one in 16 bits.
template <class F>
HRESULT DayToShort(LONG lDay, SHORT* out, F&& bound) noexcept {
    if (!out) return E_POINTER;
    *out = 0;
    if (lDay == 0) return S_OK;
    year_month_day ymd;
    if (!Calendar(lDay, &ymd)) return E_INVALIDARG;
    return StoreShort(bound(ymd), out);
}

}  // namespace

HRESULT OrvDateService::DateToDay(DATE dt, LONG* plDay) {
    if (!plDay) return E_POINTER;
    *plDay = 0;
    if (dt == 0.0) return S_OK;
    sys_days d;
    double time;
    if (!SplitDate(dt, &d, &time)) return E_INVALIDARG;
    *plDay = SysToDay(d);
    return S_OK;
}

HRESULT OrvDateService::DayToDate(LONG lDay, DATE* pdt) {
    if (!pdt) return E_POINTER;
    *pdt = 0.0;
    if (lDay == 0) return S_OK;
    if (!InRange(lDay)) return E_INVALIDARG;
    *pdt = JoinDate(DayToSys(lDay), 0.0);
    return S_OK;
}

HRESULT OrvDateService::get_Today(LONG* plDay) {
    if (!plDay) return E_POINTER;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return E_FAIL;
    const year_month_day ymd{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                             day{static_cast<unsigned>(local.tm_mday)}};
    *plDay = SysToDay(sys_days{ymd});
    return S_OK;
}

HRESULT OrvDateService::MakeDay(SHORT shYear, SHORT shMonth, SHORT shDay, LONG* plDay) {
    if (!plDay) return E_POINTER;
    *plDay = 0;
    if (shMonth < 1 || shMonth > 12 || shDay < 1 || shDay > 31) return E_INVALIDARG;
    const year_month_day ymd{year{shYear}, month{static_cast<unsigned>(shMonth)}, day{static_cast<unsigned>(shDay)}};
    if (!ymd.ok() || !InRange(sys_days{ymd})) return E_INVALIDARG;
    *plDay = SysToDay(sys_days{ymd});
    return S_OK;
}

HRESULT OrvDateService::SplitDay(LONG lDay, SHORT* pshYear, SHORT* pshMonth, SHORT* pshDay) {
    if (!pshYear || !pshMonth || !pshDay) return E_POINTER;
    *pshYear = *pshMonth = *pshDay = 0;
    if (lDay == 0) return S_OK;
    year_month_day ymd;
    if (!Calendar(lDay, &ymd)) return E_INVALIDARG;
    *pshYear = static_cast<SHORT>(static_cast<int>(ymd.year()));
    *pshMonth = static_cast<SHORT>(static_cast<unsigned>(ymd.month()));
    *pshDay = static_cast<SHORT>(static_cast<unsigned>(ymd.day()));
    return S_OK;
}

HRESULT OrvDateService::DayOfWeek(LONG lDay, SHORT* pshWeekDay) {
    if (!pshWeekDay) return E_POINTER;
    *pshWeekDay = 0;
    if (lDay == 0) return S_OK;
    if (!InRange(lDay)) return E_INVALIDARG;
    *pshWeekDay = static_cast<SHORT>(weekday{DayToSys(lDay)}.iso_encoding());
    return S_OK;
}

HRESULT OrvDateService::DayToText(LONG lDay, BSTR* pbstrText) {
    if (!pbstrText) return E_POINTER;
    *pbstrText = nullptr;
    if (lDay == 0) return NewText(u"", pbstrText);
    year_month_day ymd;
    if (!Calendar(lDay, &ymd)) return E_INVALIDARG;
    char16_t text[10] = {0, 0, u'.', 0, 0, u'.'};
    Digits(text, static_cast<unsigned>(ymd.day()), 2);
    Digits(text + 3, static_cast<unsigned>(ymd.month()), 2);
    Digits(text + 6, static_cast<unsigned>(static_cast<int>(ymd.year())), 4);
    return NewText(std::u16string_view(text, 10), pbstrText);
}

HRESULT OrvDateService::YearStart(LONG lDay, SHORT* pshDay) {
    return DayToShort(lDay, pshDay, [](year_month_day d) { return sys_days{d.year() / January / 1}; });
}

HRESULT OrvDateService::MonthOrdinal(LONG lDay, LONG* plOrdinal) {
    if (!plOrdinal) return E_POINTER;
    *plOrdinal = 0;
    if (lDay == 0) return S_OK;
    year_month_day ymd;
    if (!Calendar(lDay, &ymd)) return E_INVALIDARG;
    *plOrdinal = static_cast<int>(ymd.year()) * 12 + static_cast<LONG>(static_cast<unsigned>(ymd.month())) - 1;
    return S_OK;
}

HRESULT OrvDateService::MonthEnd(LONG lDay, SHORT* pshDay) {
    return DayToShort(lDay, pshDay, [](year_month_day d) {
        return sys_days{(d.year() / d.month() + months{1}) / 1};
    });
}

HRESULT OrvDateService::MonthStart(LONG lDay, SHORT* pshDay) {
    return DayToShort(lDay, pshDay, [](year_month_day d) { return sys_days{d.year() / d.month() / 1}; });
}

HRESULT OrvDateService::YearEnd(LONG lDay, SHORT* pshDay) {
    return DayToShort(lDay, pshDay, [](year_month_day d) { return sys_days{(d.year() + years{1}) / January / 1}; });
}

HRESULT OrvDateService::DaysInMonth(LONG lDay, SHORT* pshDays) {
    if (!pshDays) return E_POINTER;
    *pshDays = 0;
    if (lDay == 0) return S_OK;
    year_month_day ymd;
    if (!Calendar(lDay, &ymd)) return E_INVALIDARG;
    *pshDays = static_cast<SHORT>(static_cast<unsigned>(year_month_day_last{ymd.year(), month_day_last{ymd.month()}}.day()));
    return S_OK;
}

HRESULT OrvDateService::TextToDay(BSTR bstrText, LONG* plDay) {
    if (!plDay) return E_POINTER;
    *plDay = 0;
    const std::u16string_view text = Trim(bstrText ? std::u16string_view(bstrText, SysStringLen(bstrText)) : u"");
    if (text.empty()) return S_OK;
    year_month_day ymd;
    if (!ParseDate(text, &ymd)) return E_INVALIDARG;
    *plDay = SysToDay(sys_days{ymd});
    return S_OK;
}

HRESULT OrvDateService::MonthToText(LONG lDay, BSTR* pbstrText) {
    if (!pbstrText) return E_POINTER;
    *pbstrText = nullptr;
    if (lDay == 0) return NewText(u"", pbstrText);
    year_month_day ymd;
    if (!Calendar(lDay, &ymd)) return E_INVALIDARG;
    char16_t text[7] = {0, 0, u'.'};
    Digits(text, static_cast<unsigned>(ymd.month()), 2);
    Digits(text + 3, static_cast<unsigned>(static_cast<int>(ymd.year())), 4);
    return NewText(std::u16string_view(text, 7), pbstrText);
}

HRESULT OrvDateService::AddMonthsToDay(LONG lDay, LONG lMonths, LONG* plDay) {
    if (!plDay) return E_POINTER;
    *plDay = 0;
    if (lDay == 0) return S_OK;
    year_month_day ymd, moved;
    if (!Calendar(lDay, &ymd) || !AddMonths(ymd, lMonths, &moved)) return E_INVALIDARG;
    *plDay = SysToDay(sys_days{moved});
    return S_OK;
}

HRESULT OrvDateService::DaysBetween(LONG lDayFrom, LONG lDayTo, LONG* plDays) {
    if (!plDays) return E_POINTER;
    *plDays = 0;
    if (lDayFrom == 0 || lDayTo == 0) return S_FALSE;
    if (!InRange(lDayFrom) || !InRange(lDayTo)) return E_INVALIDARG;
    *plDays = lDayTo - lDayFrom;
    return S_OK;
}

HRESULT OrvDateService::MonthStartDate(DATE dt, DATE* pdtResult) {
    if (!pdtResult) return E_POINTER;
    *pdtResult = 0.0;
    if (dt == 0.0) return S_OK;
    sys_days d;
    double time;
    if (!SplitDate(dt, &d, &time)) return E_INVALIDARG;
    const year_month_day before{d - days{1}};
    const sys_days first{before.year() / before.month() / 1};
    if (!InRange(first)) return E_INVALIDARG;
    *pdtResult = JoinDate(first, 0.0);
    return S_OK;
}

HRESULT OrvDateService::ShiftDate(DATE dt, LONG lShift, DATE* pdtResult) {
    if (!pdtResult) return E_POINTER;
    *pdtResult = 0.0;
    if (dt == 0.0) return S_OK;
    sys_days d;
    double time;
    year_month_day moved;
    if (!SplitDate(dt, &d, &time) || !AddMonths(year_month_day{d}, lShift, &moved)) return E_INVALIDARG;
    *pdtResult = JoinDate(sys_days{moved}, time);
    return S_OK;
}

}  // namespace orv::host
