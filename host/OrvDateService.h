// The date service: calendar operations on day numbers (days after
// 1960-12-31, automation date = day number + 22281) and automation dates, on
// the proleptic Gregorian calendar of <chrono>.
//
// Conventions of every member (docs/host.md has the full table):
// - day number 0 (and the date 0.0) is "no date": it gives 0, 0.0 or the
//   empty text and S_OK;
// - inputs are accepted from 0100-01-01 to 9999-12-31 (the automation date
//   range); outside it, or a date that is not a number: E_INVALIDARG;
// - a day-number result handed back as SHORT that does not fit 16 bits gives
//   DISP_E_OVERFLOW and 0;
// - month and year ends are exclusive bounds: MonthEnd (slot 16) is the first
//   day of the next month, YearEnd (slot 18) the first day of the next year,
//   so that "lower <= day < upper" selects a month or a year;
// - texts are "dd.mm.yyyy" (a day) and "mm.yyyy" (a month), whatever the
//   process locale.
// The object keeps no state, so its members take no lock.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>

namespace orv::host {

class OrvDateService : public CoClass<OrvDateService, &CLSID_OrvDateService, IOrvDateService, IDispatch> {
public:
    // slot 7: the day number of a date (its time of day ignored).
    HRESULT DateToDay(DATE dt, LONG* plDay) override;
    // slot 8: the automation date of a day number.
    HRESULT DayToDate(LONG lDay, DATE* pdt) override;
    // slot 9: the day number of today in the local time zone.
    HRESULT get_Today(LONG* plDay) override;
    // slot 10: the day number of a calendar date; an invalid date is E_INVALIDARG.
    HRESULT MakeDay(SHORT shYear, SHORT shMonth, SHORT shDay, LONG* plDay) override;
    // slot 11: year, month (1-12) and day of a day number; all 0 for no date.
    HRESULT SplitDay(LONG lDay, SHORT* pshYear, SHORT* pshMonth, SHORT* pshDay) override;
    // slot 12: 1 (Monday) to 7 (Sunday); 0 for no date.
    HRESULT DayOfWeek(LONG lDay, SHORT* pshWeekDay) override;
    // slot 13: "dd.mm.yyyy".
    HRESULT DayToText(LONG lDay, BSTR* pbstrText) override;
    // slot 14: the first day of the day's year.
    HRESULT YearStart(LONG lDay, SHORT* pshDay) override;
    // slot 15: year x 12 + month - 1; consecutive months have consecutive ordinals.
    HRESULT MonthOrdinal(LONG lDay, LONG* plOrdinal) override;
    // slot 16: the first day of the next month (the day's month ends before it).
    HRESULT MonthEnd(LONG lDay, SHORT* pshDay) override;
    // slot 17: the first day of the day's month.
    HRESULT MonthStart(LONG lDay, SHORT* pshDay) override;
    // slot 18: the first day of the next year.
    HRESULT YearEnd(LONG lDay, SHORT* pshDay) override;
    // slot 19: the number of days of the day's month.
    HRESULT DaysInMonth(LONG lDay, SHORT* pshDays) override;
    // slot 20: reads "d.m.yyyy" (one or two digits for day and month) or
    // "yyyy-mm-dd", blanks around it allowed; the empty text is no date.
    HRESULT TextToDay(BSTR bstrText, LONG* plDay) override;
    // slot 21: "mm.yyyy".
    HRESULT MonthToText(LONG lDay, BSTR* pbstrText) override;
    // slot 22: the same day lMonths months later (earlier when negative),
    // moved back to the month's last day when the month is shorter.
    HRESULT AddMonthsToDay(LONG lDay, LONG lMonths, LONG* plDay) override;
    // slot 23: lDayTo - lDayFrom; 0 and S_FALSE when either is no date.
    HRESULT DaysBetween(LONG lDayFrom, LONG lDayTo, LONG* plDays) override;
    // slot 24: the first day of the month that the date closes, that is of
    // the month holding the day before the date: for a month's exclusive end
    // (a first day, as MonthEnd gives) the month just ended, for any other
    // day its own month. Time of day dropped.
    HRESULT MonthStartDate(DATE dt, DATE* pdtResult) override;
    // slot 25: the date moved by lShift whole months (the day moved back to
    // the month's last day when needed), its time of day kept.
    HRESULT ShiftDate(DATE dt, LONG lShift, DATE* pdtResult) override;
};

}  // namespace orv::host
