// The month's sums: the flat sum index over the trace slots (SumCollector),
// the trace index rebuilt at MTraceList put, and CalculateMonthSums with its
// capped deductions.
//
// A sum index n (0 to 499) names slot n mod 19 of the trace with code
// 1000 + n div 19; the trace with the negated code, when the list holds one,
// carries the high words of that trace's sums. Traces whose RecordCondition
// is 3 are passed over by every lookup.
#include "month/OrvMonth.h"

#include "frame/messages.h"
#include "frame/values.h"
#include "month/MonthMath.h"
#include "month/OrvMTrace.h"

#include <orvdocs/platform/strings.h>

#include <cstring>
#include <vector>

namespace orv {
namespace {

constexpr LONG kFirstCode = 1000;
constexpr LONG kSlots = tracerec::kSlotCount;
constexpr LONG kIndexCount = 500;
constexpr LONG kConditionNew = 1;
constexpr LONG kConditionChanged = 2;
constexpr LONG kConditionDeleted = 3;

ComPtr<IOrvUnknownList> ListOf(IUnknown* list) {
    ComPtr<IOrvUnknownList> walk;
    Check(list->QueryInterface(IID_IOrvUnknownList, reinterpret_cast<void**>(walk.GetAddressOf())),
          IID_IOrvUnknownList);
    if (!walk) throw ComError{E_NOINTERFACE, IID_IOrvUnknownList};
    return walk;
}

// Calls f(trace, code) for every trace of the list from its start, passing
// over elements that are not traces and traces marked deleted, until f
// answers false or the list ends.
template <class F>
void ForEachLiveTrace(IOrvUnknownList* list, F&& f) {
    Check(list->Reset(), IID_IOrvUnknownList);
    for (;;) {
        ComPtr<IUnknown> item;
        Check(list->Next(item.GetAddressOf()), IID_IOrvUnknownList);
        if (!item) return;
        ComPtr<IOrvMTrace> trace;
        if (FAILED(item->QueryInterface(IID_IOrvMTrace, reinterpret_cast<void**>(trace.GetAddressOf()))) || !trace)
            continue;
        LONG condition = 0, code = 0;
        Check(trace->get_RecordCondition(&condition), IID_IOrvMTrace);
        if (condition == kConditionDeleted) continue;
        Check(trace->get_T0(&code), IID_IOrvMTrace);
        if (!f(trace, code)) return;
    }
}

// A trace and its high-words partner as a lookup found them.
struct TracePair {
    ComPtr<IOrvMTrace> main, high;
};

// Finds, in one walk, the first trace with each code and the first with its
// negated code; the walk stops once all are found.
template <std::size_t N>
void FindTraces(IOrvUnknownList* list, const LONG (&codes)[N], TracePair (&found)[N]) {
    std::size_t missing = 2 * N;
    ForEachLiveTrace(list, [&](const ComPtr<IOrvMTrace>& trace, LONG code) {
        for (std::size_t i = 0; i < N; ++i) {
            if (code == codes[i] && !found[i].main) {
                found[i].main = trace;
                --missing;
            } else if (code == -codes[i] && !found[i].high) {
                found[i].high = trace;
                --missing;
            }
        }
        return missing != 0;
    });
}

void Attach(const TracePair& pair) {
    Check(pair.main->put_HiWordsTrace(pair.high.Get()), IID_IOrvMTrace);
}

LONGLONG SumOf(const TracePair& pair, LONG slot) {
    if (!pair.main) return 0;
    CY value{};
    Check(pair.main->get_Sum(slot, &value), IID_IOrvMTrace);
    return value.int64;
}

// The minimum wage on a date: the table's value, or the configuration's when
// the table gives 0. The table's answer is read as the 8 bytes of the
// variant's value taken as a currency; variants that carry a pointer (texts,
// objects, references) have no such value and count as 0.
LONGLONG MinimumWage(IOrvDatedOption* table, IUnknown* config, DATE date) {
    VARIANT answer;
    std::memset(&answer, 0, sizeof answer);
    VariantInit(&answer);
    Check(table->get_Value(date, &answer), IID_IOrvDatedOption);
    const VARTYPE vt = answer.vt;
    const bool pointer = (vt & VT_BYREF) || vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH;
    LONGLONG wage = pointer ? 0 : answer.cyVal.int64;
    VariantClear(&answer);
    if (wage == 0) {
        ComPtr<IOrvConfig> configuration;
        Check(config->QueryInterface(IID_IOrvConfig, reinterpret_cast<void**>(configuration.GetAddressOf())),
              IID_IOrvConfig);
        if (!configuration) throw ComError{E_NOINTERFACE, IID_IOrvConfig};
        CY value{};
        Check(configuration->get_MinimumWage(date, &value), IID_IOrvConfig);
        wage = value.int64;
    }
    return wage;
}

// A deduction held to the minimum wage; nothing when its sum is 0.
constexpr LONGLONG Capped(LONGLONG sum, LONGLONG wage) noexcept {
    return sum == 0 ? 0 : monthmath::Min(sum, wage);
}

// The running rest starts at the base; each value in turn takes what is left
// of it, and is cut to that rest when it would take more.
template <std::size_t N>
void Cascade(LONGLONG base, LONGLONG* const (&values)[N]) {
    LONGLONG rest = base;
    for (LONGLONG* v : values) {
        if (monthmath::Sub(rest, *v) < 0) {
            *v = rest;
            rest = 0;
        } else {
            rest = monthmath::Sub(rest, *v);
        }
    }
}

}  // namespace

// ------------------------------------------------------------ trace index

void OrvMonth::RebuildTraceIndex() {
    traceIndex_.clear();
    const ComPtr<IUnknown>& list = lists_[kTraceList];
    if (!list) return;
    // The index is a convenience over the list: a list that cannot be walked
    // leaves it with what was found so far, and the put stands.
    try {
        ComPtr<IOrvUnknownList> walk = ListOf(list.Get());
        ForEachLiveTrace(walk.Get(), [&](const ComPtr<IOrvMTrace>& trace, LONG code) {
            traceIndex_.emplace(code, trace);  // the first trace of a code stays
            return true;
        });
    } catch (const ComError&) {
    }
}

// ------------------------------------------------------------ sum collector

HRESULT OrvMonth::SumCollectorGet(LONG index, CY* value) {
    *value = MakeCurrency(0);
    const LONG codes[] = {kFirstCode + index / kSlots};
    TracePair found[1];
    FindTraces(ListOf(lists_[kTraceList].Get()).Get(), codes, found);
    if (!found[0].main) return S_FALSE;
    Attach(found[0]);
    *value = MakeCurrency(SumOf(found[0], index % kSlots));
    return S_OK;
}

HRESULT OrvMonth::get_SumCollector(LONG nIndex, CY* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = MakeCurrency(0);
    if (nIndex == -1) return S_OK;
    if (nIndex < 0 || nIndex >= kIndexCount) return E_INVALIDARG;
    bool noList = false;
    HRESULT hr = Locked([&] {
        if (!lists_[kTraceList]) {
            noList = true;
            return E_POINTER;
        }
        CY value{};
        HRESULT found = SumCollectorGet(nIndex, &value);
        *pVal = value;
        return found;
    });
    if (noList) return ReportWithMessage(CLSID_OrvMonth, IDS_MONTH_LIST_NOT_READY, IID_IOrvMonthDisp, E_POINTER);
    return hr;
}

bool OrvMonth::SumCollectorPut(LONG index, CY value) {
    if (!lists_[kTraceList]) return false;
    ComPtr<IOrvUnknownList> list = ListOf(lists_[kTraceList].Get());
    const LONG code = kFirstCode + index / kSlots;
    const LONG slot = index % kSlots;

    // The first trace of the code is the main trace, the first of the
    // negated code its high words; later high-words traces of the same code
    // are marked deleted, so that no lookup meets them again.
    TracePair pair;
    std::vector<ComPtr<IOrvMTrace>> surplus;
    ForEachLiveTrace(list.Get(), [&](const ComPtr<IOrvMTrace>& trace, LONG t0) {
        if (t0 == code && !pair.main) {
            pair.main = trace;
        } else if (t0 == -code) {
            if (pair.high) surplus.push_back(trace);
            else pair.high = trace;
        }
        return true;
    });
    for (const auto& trace : surplus) Check(trace->put_RecordCondition(kConditionDeleted), IID_IOrvMTrace);

    auto addCreatedPartner = [&](IOrvMTrace* trace) {
        ComPtr<IUnknown> partner;
        Check(trace->get_HiWordsTrace(partner.GetAddressOf()), IID_IOrvMTrace);
        if (partner) Check(list->Add(partner.Get()), IID_IOrvUnknownList);
    };

    if (!pair.main) {
        ComPtr<IOrvMTrace> trace;
        Check(CreateObject<OrvMTrace>(&trace), IID_IOrvMTrace);
        Check(trace->put_T0(code), IID_IOrvMTrace);
        Check(trace->put_Sum(slot, value), IID_IOrvMTrace);
        addCreatedPartner(trace.Get());
        Check(trace->put_RecordCondition(kConditionNew), IID_IOrvMTrace);
        Check(list->Add(trace.Get()), IID_IOrvUnknownList);
        return true;
    }

    Attach(pair);
    Check(pair.main->put_Sum(slot, value), IID_IOrvMTrace);
    if (!pair.high) addCreatedPartner(pair.main.Get());
    Check(pair.main->put_RecordCondition(kConditionChanged), IID_IOrvMTrace);
    ComPtr<IUnknown> partner;
    Check(pair.main->get_HiWordsTrace(partner.GetAddressOf()), IID_IOrvMTrace);
    if (partner) {
        ComPtr<IOrvMTrace> high;
        Check(partner.As(&high), IID_IOrvMTrace);
        Check(high->put_RecordCondition(kConditionChanged), IID_IOrvMTrace);
    }
    return true;
}

HRESULT OrvMonth::put_SumCollector(LONG nIndex, CY newVal) {
    if (nIndex < 0 || nIndex >= kIndexCount) return E_INVALIDARG;
    bool noList = false;
    HRESULT hr = Locked([&] {
        noList = !SumCollectorPut(nIndex, newVal);
        return noList ? E_POINTER : S_OK;
    });
    if (noList) return ReportWithMessage(CLSID_OrvMonth, IDS_MONTH_LIST_NOT_READY, IID_IOrvMonthDisp, E_POINTER);
    return hr;
}

// ------------------------------------------------------------ calculation

HRESULT OrvMonth::CalculateMonthSums(IUnknown* punkMrotTable, IUnknown* punkOrvConfig, VARIANT vtPrevMonth) {
    // The previous month, when the variant holds one.
    ComPtr<IOrvMonth> previous;
    if ((vtPrevMonth.vt == VT_UNKNOWN || vtPrevMonth.vt == VT_DISPATCH) && vtPrevMonth.punkVal)
        vtPrevMonth.punkVal->QueryInterface(IID_IOrvMonth, reinterpret_cast<void**>(previous.GetAddressOf()));

    bool noTable = false;
    HRESULT hr = Locked([&]() -> HRESULT {
        if (!lists_[kTraceList]) return ORV_E_MONTH_NO_TRACE_LIST;
        if (!punkMrotTable) {
            noTable = true;
            return ORV_E_MONTH_NO_MROT_TABLE;
        }
        // The calculation does not run without a configuration object.
        if (!punkOrvConfig) return E_POINTER;
        ComPtr<IOrvDatedOption> table;
        Check(punkMrotTable->QueryInterface(IID_IOrvDatedOption, reinterpret_cast<void**>(table.GetAddressOf())),
              IID_IOrvDatedOption);
        if (!table) throw ComError{E_NOINTERFACE, IID_IOrvDatedOption};

        // The traces of this month and of the previous one, each with its partner.
        const LONG codes[] = {1000, 1001, 1003};
        TracePair own[3], before[3];
        FindTraces(ListOf(lists_[kTraceList].Get()).Get(), codes, own);
        for (const auto& pair : own)
            if (pair.main && pair.high) Attach(pair);
        DATE previousDate = 0.0;
        if (previous) {
            ComPtr<IUnknown> previousList;
            Check(previous->get_MTraceList(previousList.GetAddressOf()), IID_IOrvMonth);
            Check(previous->get_MonthDate(&previousDate), IID_IOrvMonth);
            if (previousList) {
                FindTraces(ListOf(previousList.Get()).Get(), codes, before);
                for (const auto& pair : before)
                    if (pair.main && pair.high) Attach(pair);
            }
        }

        // The values read: sN from this month's trace 1000, pN from the
        // previous month's (0 without one).
        const TracePair& t1000 = own[0];
        LONGLONG s[19] = {};
        for (LONG slot : {3, 4, 5, 9, 10, 11, 12, 13, 14, 17, 18}) s[slot] = SumOf(t1000, slot);
        LONGLONG t1001[6], t1003[6] = {};
        for (LONG slot = 0; slot < 6; ++slot) t1001[slot] = SumOf(own[1], slot);
        for (LONG slot = 3; slot < 6; ++slot) t1003[slot] = SumOf(own[2], slot);
        LONGLONG p[19] = {};
        for (LONG slot : {4, 5, 9, 10, 11, 12, 13, 17, 18}) p[slot] = SumOf(before[0], slot);

        // The minimum wages and the capped deductions.
        const LONGLONG wage = MinimumWage(table.Get(), punkOrvConfig, DayNumberToDate(record_.Short(monthrec::kDate)));
        LONGLONG a = Capped(s[9], wage), b = Capped(s[10], wage), c = Capped(s[18], wage);
        LONGLONG pa = 0, pb = 0, pc = 0;
        LONGLONG p12 = p[12], s12 = s[12];
        if (previous) {
            const LONGLONG previousWage = MinimumWage(table.Get(), punkOrvConfig, previousDate);
            pa = Capped(p[9], previousWage);
            pb = Capped(p[10], previousWage);
            pc = Capped(p[18], previousWage);
            Cascade(p[11], {&p12, &pa, &pb, &pc});
        }
        Cascade(s[11], {&s12, &a, &b, &c});

        CY sumForTax{};
        SumCollectorGet(17, &sumForTax);

        // Everything is read: the totals change together.
        using monthmath::Sub;
        totals_[kAllowedSumDiscount] = MakeCurrency(s[13]);
        totals_[kAlwaysTaxedSum] = MakeCurrency(s[14]);
        totals_[kSumForTax] = sumForTax;
        totals_[kCurrentDiscounts] = MakeCurrency(Sub(s[5], p[5]));
        totals_[kTotalDiscounts] = MakeCurrency(s[5]);
        totals_[kRestOfSumDiscount] = MakeCurrency(0);
        totals_[kTotalIncomeTax] = MakeCurrency(s[4]);
        totals_[kTotalCleared] = MakeCurrency(s[17]);
        totals_[kTotalTaxable] = MakeCurrency(s[11]);
        totals_[kTotalPensTax] = MakeCurrency(s12);
        totals_[kTotalMaterialka] = MakeCurrency(s[9]);
        totals_[kTotalMaterialkaDiscounts] = MakeCurrency(a);
        totals_[kCurMaterialkaDiscount] = MakeCurrency(Sub(a, pa));
        totals_[kTotalPodarki] = MakeCurrency(s[10]);
        totals_[kTotalPodarkiDiscounts] = MakeCurrency(b);
        totals_[kCurPodarkiDiscount] = MakeCurrency(Sub(b, pb));
        totals_[kTotalMedicine] = MakeCurrency(s[18]);
        totals_[kTotalMedicineDiscount] = MakeCurrency(c);
        totals_[kCurMedicineDiscount] = MakeCurrency(Sub(c, pc));
        totals_[kTotalSumDiscount] = MakeCurrency(s[13]);
        totals_[kCurSumDiscount] = MakeCurrency(Sub(s[13], p[13]));
        totals_[kTotalIncome2] = MakeCurrency(t1001[0]);
        totals_[kTotalTax2] = MakeCurrency(t1001[1]);
        totals_[kCurrentTax2] = MakeCurrency(t1001[2]);
        totals_[kTotalIncome3] = MakeCurrency(t1001[3]);
        totals_[kTotalTax3] = MakeCurrency(t1001[4]);
        totals_[kCurrentTax3] = MakeCurrency(t1001[5]);
        totals_[kTotalIncome4] = MakeCurrency(t1003[3]);
        totals_[kTotalTax4] = MakeCurrency(t1003[4]);
        totals_[kCurrentTax4] = MakeCurrency(t1003[5]);
        return S_OK;
    });
    if (noTable)
        return ReportWithMessage(CLSID_OrvMonth, IDS_MROT_NOT_READY, IID_IOrvMonthDisp, ORV_E_MONTH_NO_MROT_TABLE);
    return hr;
}

}  // namespace orv
