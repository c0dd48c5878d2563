// The sum collectors a document carries, and the year-based sum.
#include "document/OrvDocument.h"

#include "frame/values.h"

#include <orvdocs/platform/strings.h>

#include <algorithm>

namespace orv {

HRESULT OrvDocument::AddSumCollector(LONG lId, IUnknown* pUnk) {
    if (!pUnk) return S_OK;
    ComPtr<IUnknown> replaced;  // released after the lock
    return Locked([&] {
        ComPtr<IUnknown>& slot = collectors_[lId];
        replaced.Swap(slot);
        slot = pUnk;
        return S_OK;
    });
}

HRESULT OrvDocument::put_ExSum(LONG lId, IUnknown* newVal) { return AddSumCollector(lId, newVal); }

HRESULT OrvDocument::get_ExSum(LONG lId, IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        auto it = collectors_.find(lId);
        if (it == collectors_.end()) return S_FALSE;
        return it->second.CopyTo(pVal);
    });
}

HRESULT OrvDocument::ResetSumCollectors() {
    return LockedPut([&] { position_ = collectors_.begin(); });
}

HRESULT OrvDocument::NextSumCollector(LONG* plId, IUnknown** ppUnk) {
    if (!plId || !ppUnk) return E_POINTER;
    *plId = 0;
    *ppUnk = nullptr;
    return Locked([&] {
        if (position_ == collectors_.end()) return S_FALSE;
        if (!position_->second) return E_UNEXPECTED;
        *plId = position_->first;
        position_->second.CopyTo(ppUnk);
        ++position_;
        return S_OK;
    });
}

HRESULT OrvDocument::CleanSumCollectors() {
    CollectorMap removed;  // released after the lock
    return LockedPut([&] {
        removed.swap(collectors_);
        position_ = collectors_.end();
    });
}

HRESULT OrvDocument::InitCollectors(LONG lPipeId) {
    return Locked([&] {
        if (recordCondition_ == 1) return S_OK;  // a new record has no stored collectors
        ComPtr<IOrvDocStore> store = Store();
        if (!store) return E_POINTER;
        // The service attaches the collectors through this document (re-entering its lock).
        Check(store->InitCollectors(lPipeId, ControllingUnknown()), IID_IOrvDocStore);
        return S_OK;
    });
}

// ------------------------------------------------------------ year-based sum

namespace {

// 1 January of a year as an automation date; false outside the date range.
bool NewYear(int year, DATE* out) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = 1;
    st.wDay = 1;
    return year >= 100 && year <= 9999 && SystemTimeToVariantTime(&st, out);
}

}  // namespace

double OrvDocument::CoveredMonths(LONG first, LONG last) {
    IOrvDateService* dates = Dates();
    auto monthStart = [&](LONG day) {
        SHORT d = 0;
        Check(dates->MonthStart(day, &d), IID_IOrvDateService);
        return LONG(d);
    };
    auto nextMonthStart = [&](LONG day) {
        SHORT d = 0;
        Check(dates->MonthEnd(day, &d), IID_IOrvDateService);
        return LONG(d);
    };
    auto ordinal = [&](LONG day) {
        LONG n = 0;
        Check(dates->MonthOrdinal(day, &n), IID_IOrvDateService);
        return n;
    };

    const LONG firstMonth = monthStart(first), afterFirstMonth = nextMonthStart(first);
    const LONG lastMonth = monthStart(last), afterLastMonth = nextMonthStart(last);
    // Both ends in one month: the share of its days.
    if (firstMonth == lastMonth) return double(last - first + 1) / double(afterFirstMonth - firstMonth);

    // A partial first month counts the share of its days from `first` on; a
    // partial last month the share of its days up to `last`.
    double part = 0.0;
    LONG firstWhole = first;
    if (first != firstMonth) {
        part += double(afterFirstMonth - first) / double(afterFirstMonth - firstMonth);
        firstWhole = afterFirstMonth;
    }
    LONG lastWhole = last;
    if (last != afterLastMonth - 1) {
        part += double(last - lastMonth + 1) / double(afterLastMonth - lastMonth);
        lastWhole = lastMonth - 1;
    }
    // Whole months between, one each.
    double whole = firstWhole <= lastWhole ? double(1 - ordinal(firstWhole) + ordinal(lastWhole)) : 0.0;
    return whole + part;
}

HRESULT OrvDocument::CalculateYearBasedSumOnDate(DATE dtOnDate, CY cyBaseSum, CY* pcyResult) {
    if (!pcyResult) return E_POINTER;
    *pcyResult = MakeCurrency(0);
    return Locked([&] {
        const DATE start = DayNumberToDate(record_.Dn());
        const DATE end = DayNumberToDate(record_.Dk());
        SYSTEMTIME onDate{};
        DATE yearStart = 0.0, nextYearStart = 0.0;
        if (!VariantTimeToSystemTime(dtOnDate, &onDate) || !NewYear(onDate.wYear, &yearStart) ||
            !NewYear(onDate.wYear + 1, &nextYearStart))
            return E_INVALIDARG;

        // The period runs from dtDn up to dtDk; it must meet the year.
        if (!(yearStart < end && start < nextYearStart)) return S_OK;
        if (start <= yearStart && end >= nextYearStart) {
            *pcyResult = cyBaseSum;  // the whole year
            return S_OK;
        }
        const DATE a = std::max(start, yearStart);
        const DATE b = std::min(end, nextYearStart) - 1.0;
        if (a > b) return S_OK;

        double months = CoveredMonths(static_cast<LONG>(a - kDayNumberEpoch), static_cast<LONG>(b - kDayNumberEpoch));
        Variant value;
        value.vt = VT_R8;
        value.dblVal = static_cast<double>(cyBaseSum.int64) / 10000.0 / 12.0 * months;
        Check(VariantChangeType(&value, &value, 0, VT_CY));
        *pcyResult = RoundCurrencyToHundredths(value.cyVal);
        return S_OK;
    });
}

}  // namespace orv
