// The month's record properties, totals, lists and bookkeeping values.
#include "month/OrvMonth.h"

#include "frame/oemtext.h"
#include "frame/values.h"

#include <cstdint>

namespace orv {
namespace {

constexpr LONG kConditionNew = 1;
constexpr LONG kConditionChanged = 2;

}  // namespace

void OrvMonth::FinalRelease() {
    traceIndex_.clear();
    for (auto& list : lists_) list.Reset();
}

// ------------------------------------------------------------- field views

HRESULT OrvMonth::GetHundredths(std::size_t offset, CY* pVal) noexcept {
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.Long(offset)); });
}
HRESULT OrvMonth::PutHundredths(std::size_t offset, CY v) noexcept {
    return LockedPut([&] { record_.SetLong(offset, CurrencyToHundredths(v)); });
}
HRESULT OrvMonth::GetShortAsLong(std::size_t offset, LONG* pVal) noexcept {
    return LockedGet(pVal, [&] { return LONG{record_.Short(offset)}; });
}
HRESULT OrvMonth::PutLongAsShort(std::size_t offset, LONG v) noexcept {
    return LockedPut([&] { record_.SetShort(offset, static_cast<std::int16_t>(v)); });
}
HRESULT OrvMonth::GetShort(std::size_t offset, SHORT* pVal) noexcept {
    return LockedGet(pVal, [&] { return record_.Short(offset); });
}
HRESULT OrvMonth::PutShort(std::size_t offset, SHORT v) noexcept {
    return LockedPut([&] { record_.SetShort(offset, v); });
}
HRESULT OrvMonth::GetLong(std::size_t offset, LONG* pVal) noexcept {
    return LockedGet(pVal, [&] { return record_.Long(offset); });
}
HRESULT OrvMonth::PutLong(std::size_t offset, LONG v) noexcept {
    return LockedPut([&] { record_.SetLong(offset, v); });
}
HRESULT OrvMonth::GetDate(DATE* pVal) noexcept {
    return LockedGet(pVal, [&] { return DayNumberToDate(record_.Short(monthrec::kDate)); });
}
HRESULT OrvMonth::PutDate(DATE v) noexcept {
    return LockedPut([&] { record_.SetShort(monthrec::kDate, DateToDayNumber(v)); });
}
HRESULT OrvMonth::GetTotal(Total t, CY* pVal) noexcept {
    return LockedGet(pVal, [&] { return totals_[t]; });
}
HRESULT OrvMonth::PutTotal(Total t, CY v) noexcept {
    return LockedPut([&] { totals_[t] = v; });
}

// ------------------------------------------------------------------ totals

#define ORV_MONTH_TOTAL_DEF(name, tag)                                             \
    HRESULT OrvMonth::get_##name(CY* pVal) { return GetTotal(k##name, pVal); }     \
    HRESULT OrvMonth::put_##name(CY newVal) { return PutTotal(k##name, newVal); }
ORV_MONTH_TOTALS(ORV_MONTH_TOTAL_DEF)
#undef ORV_MONTH_TOTAL_DEF

// ------------------------------------------------------------------ record

HRESULT OrvMonth::get_MonthRecord(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = RecordToBstr(record_.Data(), MonthRecord::kSize);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvMonth::put_MonthRecord(BSTR newVal) {
    // Replaced whole or not at all: a shorter string would leave a record
    // that is part new, part old.
    if (SysStringByteLen(newVal) < MonthRecord::kSize) return E_INVALIDARG;
    return LockedPut([&] { BstrToRecord(newVal, record_.Data(), MonthRecord::kSize); });
}

HRESULT OrvMonth::get_FactDays(SHORT* pVal) { return GetShort(monthrec::kFactDays, pVal); }
HRESULT OrvMonth::put_FactDays(SHORT newVal) { return PutShort(monthrec::kFactDays, newVal); }
HRESULT OrvMonth::get_msday(LONG* pVal) { return GetShortAsLong(monthrec::kFactDays, pVal); }
HRESULT OrvMonth::put_msday(LONG newVal) { return PutLongAsShort(monthrec::kFactDays, newVal); }
HRESULT OrvMonth::get_NormDays(LONG* pVal) { return GetShortAsLong(monthrec::kNormDays, pVal); }
HRESULT OrvMonth::put_NormDays(LONG newVal) { return PutLongAsShort(monthrec::kNormDays, newVal); }
HRESULT OrvMonth::get_msdayf(LONG* pVal) { return GetShortAsLong(monthrec::kNormDays, pVal); }
HRESULT OrvMonth::put_msdayf(LONG newVal) { return PutLongAsShort(monthrec::kNormDays, newVal); }
HRESULT OrvMonth::get_NormHours(LONG* pVal) { return GetLong(monthrec::kNormHours, pVal); }
HRESULT OrvMonth::put_NormHours(LONG newVal) { return PutLong(monthrec::kNormHours, newVal); }
HRESULT OrvMonth::get_msres3(LONG* pVal) { return GetLong(monthrec::kNormHours, pVal); }
HRESULT OrvMonth::put_msres3(LONG newVal) { return PutLong(monthrec::kNormHours, newVal); }
HRESULT OrvMonth::get_FactHours(LONG* pVal) { return GetLong(monthrec::kFactHours, pVal); }
HRESULT OrvMonth::put_FactHours(LONG newVal) { return PutLong(monthrec::kFactHours, newVal); }
HRESULT OrvMonth::get_msres4(LONG* pVal) { return GetLong(monthrec::kFactHours, pVal); }
HRESULT OrvMonth::put_msres4(LONG newVal) { return PutLong(monthrec::kFactHours, newVal); }
HRESULT OrvMonth::get_NormOtDays(SHORT* pVal) { return GetShort(monthrec::kNormOtDays, pVal); }
HRESULT OrvMonth::put_NormOtDays(SHORT newVal) { return PutShort(monthrec::kNormOtDays, newVal); }
HRESULT OrvMonth::get_mfl2(LONG* pVal) { return GetShortAsLong(monthrec::kNormOtDays, pVal); }
HRESULT OrvMonth::put_mfl2(LONG newVal) { return PutLongAsShort(monthrec::kNormOtDays, newVal); }
HRESULT OrvMonth::get_MonthDate(DATE* pVal) { return GetDate(pVal); }
HRESULT OrvMonth::put_MonthDate(DATE newVal) { return PutDate(newVal); }
HRESULT OrvMonth::get_MDate(DATE* pVal) { return GetDate(pVal); }
HRESULT OrvMonth::put_MDate(DATE newVal) { return PutDate(newVal); }
HRESULT OrvMonth::get_mfl(LONG* pVal) { return GetShortAsLong(monthrec::kMfl, pVal); }
HRESULT OrvMonth::put_mfl(LONG newVal) { return PutLongAsShort(monthrec::kMfl, newVal); }
HRESULT OrvMonth::get_msbl(CY* pVal) { return GetHundredths(monthrec::kMsbl, pVal); }
HRESULT OrvMonth::put_msbl(CY newVal) { return PutHundredths(monthrec::kMsbl, newVal); }
HRESULT OrvMonth::get_msot(CY* pVal) { return GetHundredths(monthrec::kMsot, pVal); }
HRESULT OrvMonth::put_msot(CY newVal) { return PutHundredths(monthrec::kMsot, newVal); }
HRESULT OrvMonth::get_msor(CY* pVal) { return GetHundredths(monthrec::kMsor, pVal); }
HRESULT OrvMonth::put_msor(CY newVal) { return PutHundredths(monthrec::kMsor, newVal); }
HRESULT OrvMonth::get_msxx(CY* pVal) { return GetHundredths(monthrec::kMsxx, pVal); }
HRESULT OrvMonth::put_msxx(CY newVal) { return PutHundredths(monthrec::kMsxx, newVal); }
HRESULT OrvMonth::get_msyy(CY* pVal) { return GetHundredths(monthrec::kMsyy, pVal); }
HRESULT OrvMonth::put_msyy(CY newVal) { return PutHundredths(monthrec::kMsyy, newVal); }
HRESULT OrvMonth::get_msres1(CY* pVal) { return GetHundredths(monthrec::kMsres1, pVal); }
HRESULT OrvMonth::put_msres1(CY newVal) { return PutHundredths(monthrec::kMsres1, newVal); }
HRESULT OrvMonth::get_msres2(CY* pVal) { return GetHundredths(monthrec::kMsres2, pVal); }
HRESULT OrvMonth::put_msres2(CY newVal) { return PutHundredths(monthrec::kMsres2, newVal); }
HRESULT OrvMonth::get_NormDaysOnOkPeriods(LONG* pVal) { return GetShortAsLong(monthrec::kNormDaysOnOkPeriods, pVal); }
HRESULT OrvMonth::put_NormDaysOnOkPeriods(LONG newVal) { return PutLongAsShort(monthrec::kNormDaysOnOkPeriods, newVal); }
HRESULT OrvMonth::get_NormHoursOnOkPeriods(LONG* pVal) { return GetLong(monthrec::kNormHoursOnOkPeriods, pVal); }
HRESULT OrvMonth::put_NormHoursOnOkPeriods(LONG newVal) { return PutLong(monthrec::kNormHoursOnOkPeriods, newVal); }
HRESULT OrvMonth::get_HolHours2Deduct(LONG* pVal) { return GetLong(monthrec::kHolHours2Deduct, pVal); }
HRESULT OrvMonth::put_HolHours2Deduct(LONG newVal) { return PutLong(monthrec::kHolHours2Deduct, newVal); }
HRESULT OrvMonth::get_ScLgType(SHORT* pVal) { return GetShort(monthrec::kScLgType, pVal); }
HRESULT OrvMonth::put_ScLgType(SHORT newVal) { return PutShort(monthrec::kScLgType, newVal); }
HRESULT OrvMonth::get_FrgnStatus(LONG* pVal) { return GetLong(monthrec::kFrgnStatus, pVal); }
HRESULT OrvMonth::put_FrgnStatus(LONG newVal) { return PutLong(monthrec::kFrgnStatus, newVal); }

// The exchange rate keeps the low 32 bits of a raw currency.
HRESULT OrvMonth::get_Rate(CY* pVal) {
    return LockedGet(pVal, [&] { return MakeCurrency(record_.Long(monthrec::kRate)); });
}
HRESULT OrvMonth::put_Rate(CY newVal) {
    return LockedPut([&] {
        record_.SetLong(monthrec::kRate, static_cast<std::int32_t>(static_cast<std::uint32_t>(newVal.int64)));
    });
}

// --------------------------------------------------- beside the record

HRESULT OrvMonth::get_RecordCondition(LONG* pVal) {
    return LockedGet(pVal, [&] { return recordCondition_; });
}
HRESULT OrvMonth::put_RecordCondition(LONG newVal) {
    return LockedPut([&] {
        // A new month stays new until it is stored, whatever changes it.
        if (newVal == kConditionChanged && recordCondition_ == kConditionNew) return;
        recordCondition_ = newVal;
    });
}
HRESULT OrvMonth::get_dbk(ULONG* pVal) {
    return LockedGet(pVal, [&] { return dbk_; });
}
HRESULT OrvMonth::put_dbk(ULONG newVal) {
    return LockedPut([&] { dbk_ = newVal; });
}

// ------------------------------------------------------------------- lists

HRESULT OrvMonth::GetList(List l, IUnknown** pVal) noexcept {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return lists_[l].CopyTo(pVal); });
}

HRESULT OrvMonth::PutList(List l, IUnknown* v) noexcept {
    ComPtr<IUnknown> previous;  // released after the lock is left
    std::map<LONG, ComPtr<IOrvMTrace>> previousIndex;
    return Locked([&] {
        previous = lists_[l];
        lists_[l] = v;
        if (l == kTraceList) {
            previousIndex.swap(traceIndex_);
            RebuildTraceIndex();
        }
        return S_OK;
    });
}

HRESULT OrvMonth::get_SumList(IUnknown** pVal) { return GetList(kSumList, pVal); }
HRESULT OrvMonth::put_SumList(IUnknown* newVal) { return PutList(kSumList, newVal); }
HRESULT OrvMonth::get_PayList(IUnknown** pVal) { return GetList(kPayList, pVal); }
HRESULT OrvMonth::put_PayList(IUnknown* newVal) { return PutList(kPayList, newVal); }
HRESULT OrvMonth::get_MTraceList(IUnknown** pVal) { return GetList(kTraceList, pVal); }
HRESULT OrvMonth::put_MTraceList(IUnknown* newVal) { return PutList(kTraceList, newVal); }
HRESULT OrvMonth::get_CurPhotoPayList(IUnknown** pVal) { return GetList(kCurPhotoPayList, pVal); }
HRESULT OrvMonth::put_CurPhotoPayList(IUnknown* newVal) { return PutList(kCurPhotoPayList, newVal); }
HRESULT OrvMonth::get_PhotoPayList(IUnknown** pVal) { return GetList(kPhotoPayList, pVal); }
HRESULT OrvMonth::put_PhotoPayList(IUnknown* newVal) { return PutList(kPhotoPayList, newVal); }

HRESULT OrvMonth::WriteTraceSum(LONG, CY) { return E_NOTIMPL; }

std::size_t OrvMonth::IndexedTraceCount() noexcept {
    ObjectLock lock(&cs_);
    return traceIndex_.size();
}

}  // namespace orv
