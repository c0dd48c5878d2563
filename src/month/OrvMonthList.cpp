// The month list: months by date, loading from the month source, the walk,
// and the tax bases of a year.
#include "month/OrvMonthList.h"

#include "month/MonthMath.h"

#include <orvdocs/platform/oleauto.h>

#include <iterator>
#include <optional>
#include <vector>

namespace orv {
namespace {

// After the latest month held, the next load starts this many days on, so
// that it begins in the month after it.
constexpr DATE kNextMonthOffset = 10.0;

// Sum collector indices of the kinds of month sums, by tax (0 to 6).
struct CollectorRow {
    int kind;
    LONG index[7];
};
constexpr CollectorRow kCollectorTable[] = {
    {0, {25, 27, 29, 31, 33, 35, 37}},
    {1, {26, 28, 30, 32, 34, 36, 38}},
    {2, {48, 42, 43, 44, 45, 46, 47}},
    {4, {106, 100, 101, 102, 103, 104, 105}},
    {5, {113, 107, 108, 109, 110, 111, 112}},
    {6, {120, 114, 115, 116, 117, 118, 119}},
};
// The kinds the tax bases read: the year-to-date total base and the relieved part of it.
constexpr int kTotalBaseKind = 0;
constexpr int kRelievedBaseKind = 6;

// The date with its month number replaced by month; nothing when that day
// does not exist in that month.
std::optional<DATE> WithMonth(const SYSTEMTIME& date, WORD month) {
    SYSTEMTIME st = date;
    st.wMonth = month;
    DATE result = 0;
    if (!SystemTimeToVariantTime(&st, &result)) return std::nullopt;
    return result;
}

}  // namespace

void OrvMonthList::FinalRelease() {
    cursor_ = months_.end();
    months_.clear();
}

LONG OrvMonthList::CollectorIndex(int kind, LONG taxId) noexcept {
    if (taxId < 0 || taxId > 6) return -1;
    for (const CollectorRow& row : kCollectorTable)
        if (row.kind == kind) return row.index[taxId];
    return -1;
}

bool OrvMonthList::Insert(const ComPtr<IOrvMonth>& month) {
    DATE date = 0;
    Check(month->get_MonthDate(&date), IID_IOrvMonth);
    return months_.emplace(date, month).second;
}

HRESULT OrvMonthList::HandOut(MonthMap::const_iterator at, IUnknown** out) const noexcept {
    if (at == months_.end()) return S_FALSE;
    return at->second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

// ------------------------------------------------------------------ finding

HRESULT OrvMonthList::FindMonth(DATE dtMonthDate, IUnknown** ppunkMonth) {
    if (!ppunkMonth) return E_POINTER;
    *ppunkMonth = nullptr;
    return Locked([&] { return HandOut(months_.find(dtMonthDate), ppunkMonth); });
}

HRESULT OrvMonthList::get_FirstMonth(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        HRESULT hr = HandOut(months_.begin(), pVal);
        return hr == S_FALSE ? S_OK : hr;
    });
}

HRESULT OrvMonthList::get_LastMonth(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (months_.empty()) return S_OK;
        return HandOut(std::prev(months_.end()), pVal);
    });
}

HRESULT OrvMonthList::Size(LONG* plSize) {
    if (!plSize) return E_POINTER;
    return Locked([&] {
        *plSize = static_cast<LONG>(months_.size());
        return S_OK;
    });
}

HRESULT OrvMonthList::Reset2() {
    return Locked([&] {
        cursor_ = months_.begin();
        return S_OK;
    });
}

HRESULT OrvMonthList::get_Next2(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        HRESULT hr = HandOut(cursor_, pVal);
        if (hr == S_OK) ++cursor_;
        return hr;
    });
}

// ------------------------------------------------------------------ loading

HRESULT OrvMonthList::BuildList(LONG lPipeId, DATE dtStart, DATE dtStop, IUnknown* punkOrvSotr, IUnknown* punkOrvBD) {
    return Locked([&] {
        if (months_.count(dtStart)) return S_OK;
        ComPtr<IOrvMonthSource> source;
        if (!punkOrvBD ||
            FAILED(punkOrvBD->QueryInterface(IID_IOrvMonthSource, reinterpret_cast<void**>(source.GetAddressOf()))) ||
            !source)
            return E_POINTER;

        // An empty list loads the period asked for; otherwise the months
        // before the first one held, or those after the last one (no end).
        DATE from = dtStart, to = dtStop;
        if (!months_.empty()) {
            const DATE first = months_.begin()->first;
            const DATE last = std::prev(months_.end())->first;
            if (first > dtStart) {
                to = first;
            } else {
                from = last + kNextMonthOffset;
                to = 0.0;
            }
        }

        ComPtr<IUnknown> loaded;
        Check(source->GetMonths(lPipeId, punkOrvSotr, from, to, loaded.GetAddressOf()), IID_IOrvMonthSource);
        if (!loaded) return S_OK;
        ComPtr<IOrvUnknownList> list;
        Check(loaded.As(&list), IID_IOrvUnknownList);
        Check(list->Reset(), IID_IOrvUnknownList);
        for (;;) {
            ComPtr<IUnknown> item;
            Check(list->Next(item.GetAddressOf()), IID_IOrvUnknownList);
            ComPtr<IOrvMonth> month;
            if (!item || FAILED(item.As(&month)) || !month) break;
            Insert(month);  // a month whose date is held already is not added
        }
        return S_OK;
    });
}

// ---------------------------------------------------------------- tax bases

HRESULT OrvMonthList::GetTaxBasesBeforeLimiting(DATE dtYearStart, DATE dtFirstExcludedMonth,
                                                CY cyTotalBaseWithExcludedMonth, CY cyTotalLgBaseWithExclMonth,
                                                CY cyLimit, LONG iTaxId, CY* pcyNormalBase, CY* pcyLgBase) {
    if (!pcyNormalBase || !pcyLgBase) return E_POINTER;
    const LONG totalIndex = CollectorIndex(kTotalBaseKind, iTaxId);
    const LONG relievedIndex = CollectorIndex(kRelievedBaseKind, iTaxId);
    if (totalIndex < 0 || relievedIndex < 0) return E_INVALIDARG;
    pcyNormalBase->int64 = 0;
    pcyLgBase->int64 = 0;
    SYSTEMTIME yearStart{}, excluded{};
    if (!VariantTimeToSystemTime(dtYearStart, &yearStart) || !VariantTimeToSystemTime(dtFirstExcludedMonth, &excluded))
        return E_INVALIDARG;

    using monthmath::Min;
    using monthmath::Sub;
    constexpr auto Plus = monthmath::Add;
    return Locked([&] {
        const LONGLONG limit = cyLimit.int64;
        LONGLONG normal = 0, relieved = 0, previousTotal = 0, previousRelieved = 0;
        for (WORD k = yearStart.wMonth; k <= 12; ++k) {
            const std::optional<DATE> date = WithMonth(excluded, k);
            const auto found = date ? months_.find(*date) : months_.end();
            // The excluded month and a month not loaded take the totals given
            // with the excluded month; the walk ends with them.
            const bool given = !date || *date == dtFirstExcludedMonth || found == months_.end();
            LONGLONG total = cyTotalBaseWithExcludedMonth.int64, part = cyTotalLgBaseWithExclMonth.int64;
            if (!given) {
                ComPtr<IOrvM> sums;
                Check(found->second.As(&sums), IID_IOrvM);
                CY value{};
                Check(sums->get_SumCollector(totalIndex, &value), IID_IOrvM);
                total = value.int64;
                Check(sums->get_SumCollector(relievedIndex, &value), IID_IOrvM);
                part = value.int64;
            }
            const LONGLONG normalStep = Sub(Sub(total, part), Sub(previousTotal, previousRelieved));
            const LONGLONG relievedStep = Sub(part, previousRelieved);
            if (total <= limit) {
                normal = Plus(normal, normalStep);
                relieved = Plus(relieved, relievedStep);
                previousTotal = total;
                previousRelieved = part;
                if (given) break;
                continue;
            }
            // The limit is reached in this month: what room is left goes to
            // the normal base first, then to the relieved base.
            LONGLONG room = Sub(Sub(limit, normal), relieved);
            if (normalStep > 0) {
                const LONGLONG taken = Min(normalStep, room);
                normal = Plus(normal, taken);
                room = Sub(room, taken);
            }
            if (room > 0) relieved = Plus(relieved, Min(room, relievedStep));
            break;
        }
        pcyNormalBase->int64 = normal;
        pcyLgBase->int64 = relieved;
        return S_OK;
    });
}

HRESULT OrvMonthList::CalcSnTaxOnDate(DATE, DATE, IUnknown*, LONG, LONG, LONG, CY* pcyTax) {
    if (!pcyTax) return E_POINTER;
    pcyTax->int64 = 0;
    return S_OK;
}

// --------------------------------------------------------- IOrvUnknownList

HRESULT OrvMonthList::Reset() { return Reset2(); }
HRESULT OrvMonthList::Next(IUnknown** ppunk) { return get_Next2(ppunk); }
HRESULT OrvMonthList::get_Count(LONG* pVal) { return Size(pVal); }

HRESULT OrvMonthList::Add(IUnknown* punk) {
    if (!punk) return E_POINTER;
    ComPtr<IOrvMonth> month;
    if (FAILED(punk->QueryInterface(IID_IOrvMonth, reinterpret_cast<void**>(month.GetAddressOf()))) || !month)
        return E_NOINTERFACE;
    return Locked([&] { return Insert(month) ? S_OK : S_FALSE; });
}

HRESULT OrvMonthList::RemoveAll() {
    MonthMap gone;  // released after the lock is left
    return Locked([&] {
        gone.swap(months_);
        cursor_ = months_.end();
        return S_OK;
    });
}

}  // namespace orv
