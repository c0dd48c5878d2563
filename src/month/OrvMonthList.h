// The payroll months of one employee, ordered by month date: loaded from the
// database service's month source on request, walked in date order, and
// asked for the tax bases of a year.
//
// The list also serves the list component's interface (IOrvUnknownList), so
// that a host can walk it and fill it like any other list of objects.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/month.h>

#include <map>

namespace orv {

class OrvMonthList : public CoClass<OrvMonthList, &CLSID_OrvMonthList, IOrvMonthList, IDispatch, IOrvUnknownList> {
public:
    void FinalRelease();

    // ------------------------------------------------ IOrvMonthList
    HRESULT FindMonth(DATE dtMonthDate, IUnknown** ppunkMonth) override;
    HRESULT BuildList(LONG lPipeId, DATE dtStart, DATE dtStop, IUnknown* punkOrvSotr, IUnknown* punkOrvBD) override;
    HRESULT get_FirstMonth(IUnknown** pVal) override;
    HRESULT get_LastMonth(IUnknown** pVal) override;
    HRESULT Size(LONG* plSize) override;
    HRESULT Reset2() override;
    HRESULT get_Next2(IUnknown** pVal) override;
    HRESULT GetTaxBasesBeforeLimiting(DATE dtYearStart, DATE dtFirstExcludedMonth, CY cyTotalBaseWithExcludedMonth,
                                      CY cyTotalLgBaseWithExclMonth, CY cyLimit, LONG iTaxId, CY* pcyNormalBase,
                                      CY* pcyLgBase) override;
    HRESULT CalcSnTaxOnDate(DATE dtYearStart, DATE OnDate, IUnknown* pTaxTable, LONG lFundId, LONG lSex,
                            LONG lBithYear, CY* pcyTax) override;

    // ------------------------------------------------ IOrvUnknownList
    // Reset, Next and get_Count are Reset2, Next2 and Size; Add inserts a
    // month under its date (S_FALSE and nothing added when the date is held,
    // E_NOINTERFACE for an object that is not a month); RemoveAll empties the list.
    HRESULT Reset() override;
    HRESULT Add(IUnknown* punk) override;
    HRESULT Next(IUnknown** ppunk) override;
    HRESULT get_Count(LONG* pVal) override;
    HRESULT RemoveAll() override;

    // The sum collector index of a kind of month sum for a tax, or -1 when
    // the table has no such kind or tax.
    static LONG CollectorIndex(int kind, LONG taxId) noexcept;

private:
    using MonthMap = std::map<DATE, ComPtr<IOrvMonth>>;

    // Inserts a month under its date unless the date is held (caller holds
    // the lock); raises when the month cannot tell its date.
    bool Insert(const ComPtr<IOrvMonth>& month);
    HRESULT HandOut(MonthMap::const_iterator at, IUnknown** out) const noexcept;

    MonthMap months_;
    MonthMap::const_iterator cursor_ = months_.end();
};

}  // namespace orv
