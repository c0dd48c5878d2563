// The month trace: its record views, the 64-bit sums through the high-words
// trace, and the department period.
#include "month/OrvMTrace.h"

#include "frame/oemtext.h"
#include "frame/values.h"

#include <cstdint>

namespace orv {
namespace {

constexpr bool ValidSlot(LONG i) noexcept { return i >= 0 && i < tracerec::kSlotCount; }

// Record condition values the trace and the month give meaning to.
constexpr LONG kConditionNew = 1;
constexpr LONG kConditionChanged = 2;

}  // namespace

class OrvMTrace::CallingPartner {
public:
    explicit CallingPartner(OrvMTrace* trace) : trace_(trace) {
        // Back here on the same thread through the partner: a pairing loop.
        if (trace_->callingPartner_) throw ComError{E_UNEXPECTED, IID_IOrvMTrace};
        trace_->callingPartner_ = true;
    }
    ~CallingPartner() { trace_->callingPartner_ = false; }
    CallingPartner(const CallingPartner&) = delete;
    CallingPartner& operator=(const CallingPartner&) = delete;

private:
    OrvMTrace* trace_;
};

void OrvMTrace::FinalRelease() { hiWords_.Reset(); }

// ------------------------------------------------------------- field views

HRESULT OrvMTrace::GetLong(std::size_t offset, LONG* pVal) noexcept {
    return LockedGet(pVal, [&] { return record_.Long(offset); });
}
HRESULT OrvMTrace::PutLong(std::size_t offset, LONG v) noexcept {
    return LockedPut([&] { record_.SetLong(offset, v); });
}
HRESULT OrvMTrace::GetShort(std::size_t offset, LONG* pVal) noexcept {
    return LockedGet(pVal, [&] { return LONG{record_.Short(offset)}; });
}
HRESULT OrvMTrace::PutShort(std::size_t offset, LONG v) noexcept {
    return LockedPut([&] { record_.SetShort(offset, static_cast<std::int16_t>(v)); });
}
HRESULT OrvMTrace::GetHundredths(std::size_t offset, CY* pVal) noexcept {
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.Long(offset)); });
}
HRESULT OrvMTrace::PutHundredths(std::size_t offset, CY v) noexcept {
    return LockedPut([&] { record_.SetLong(offset, CurrencyToHundredths(v)); });
}
HRESULT OrvMTrace::GetDay(std::size_t offset, DATE* pVal) noexcept {
    return LockedGet(pVal, [&] { return DayNumberToDate(record_.Short(offset)); });
}
HRESULT OrvMTrace::PutDay(std::size_t offset, DATE v) noexcept {
    return LockedPut([&] { record_.SetShort(offset, DateToDayNumber(v)); });
}

// ------------------------------------------------------------------ record

HRESULT OrvMTrace::get_MTraceRecord(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = RecordToBstr(record_.Data(), TraceRecord::kSize);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvMTrace::put_MTraceRecord(BSTR newVal) {
    // Replaced whole or not at all.
    if (SysStringByteLen(newVal) < TraceRecord::kSize) return E_INVALIDARG;
    return LockedPut([&] { BstrToRecord(newVal, record_.Data(), TraceRecord::kSize); });
}

HRESULT OrvMTrace::get_T0(LONG* pVal) { return GetShort(tracerec::kT0, pVal); }
HRESULT OrvMTrace::put_T0(LONG newVal) { return PutShort(tracerec::kT0, newVal); }
HRESULT OrvMTrace::get_Id(LONG* pVal) { return GetShort(tracerec::kId, pVal); }
HRESULT OrvMTrace::put_Id(LONG newVal) { return PutShort(tracerec::kId, newVal); }
HRESULT OrvMTrace::get_T1(LONG* pVal) { return GetShort(tracerec::kT1, pVal); }
HRESULT OrvMTrace::put_T1(LONG newVal) { return PutShort(tracerec::kT1, newVal); }

HRESULT OrvMTrace::get_dbk(ULONG* pVal) {
    return LockedGet(pVal, [&] { return dbk_; });
}
HRESULT OrvMTrace::put_dbk(ULONG newVal) {
    return LockedPut([&] { dbk_ = newVal; });
}

HRESULT OrvMTrace::get_RecordCondition(LONG* pVal) {
    return LockedGet(pVal, [&] { return recordCondition_; });
}

HRESULT OrvMTrace::put_RecordCondition(LONG newVal) {
    return Locked([&] {
        // A new record stays new until it is stored, whatever changes it.
        if (newVal == kConditionChanged && recordCondition_ == kConditionNew) return S_OK;
        if (hiWords_) {
            CallingPartner guard(this);
            Check(hiWords_->put_RecordCondition(newVal), IID_IOrvMTrace);
        }
        recordCondition_ = newVal;
        return S_OK;
    });
}

// -------------------------------------------------------------------- sums

HRESULT OrvMTrace::get_Sum(LONG Index, CY* pVal) {
    if (!ValidSlot(Index)) return E_INVALIDARG;
    if (!pVal) return E_POINTER;
    return Locked([&] {
        const std::int32_t lo = record_.Slot(Index);
        CY value = HundredthsToCurrency(lo);
        if (hiWords_) {
            CallingPartner guard(this);
            CY high{};
            Check(hiWords_->get_Sum(Index, &high), IID_IOrvMTrace);
            if (const std::int32_t h = CurrencyToHundredths(high); h != 0) {
                // The pair holds the raw currency: high word there, low word here.
                const auto raw = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(h)) << 32) |
                                 static_cast<std::uint32_t>(lo);
                value = MakeCurrency(static_cast<LONGLONG>(raw));
            }
        }
        *pVal = value;
        return S_OK;
    });
}

HRESULT OrvMTrace::put_Sum(LONG Index, CY cySum) {
    if (!ValidSlot(Index)) return E_INVALIDARG;
    return Locked([&] {
        // Amounts that fit 32-bit hundredths are kept as hundredths; larger
        // ones as the raw currency split over this slot and the partner's.
        const LONGLONG raw = cySum.int64;
        std::int32_t low = 0, high = 0;
        if (raw / 100 < (LONGLONG{1} << 31)) {
            low = CurrencyToHundredths(cySum);
        } else {
            low = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
            high = static_cast<std::int32_t>(raw >> 32);
        }

        const LONG code = record_.Short(tracerec::kT0);
        const LONG id = record_.Short(tracerec::kId);
        ComPtr<IOrvMTrace> partner = hiWords_;
        LONG condition = kConditionChanged;
        if (high != 0 && !partner) {
            ComPtr<IOrvMTrace> created;
            Check(CreateObject<OrvMTrace>(&created), IID_IOrvMTrace);
            partner = created;
            condition = kConditionNew;
        }
        if (partner) {
            CallingPartner guard(this);
            Check(partner->put_RecordCondition(condition), IID_IOrvMTrace);
            Check(partner->put_T0(-code), IID_IOrvMTrace);
            Check(partner->put_Id(id), IID_IOrvMTrace);
            Check(partner->put_Sum(Index, HundredthsToCurrency(high)), IID_IOrvMTrace);
        }
        // This trace changes only once its partner holds its part.
        hiWords_ = partner;
        record_.SetSlot(Index, low);
        return S_OK;
    });
}

// ------------------------------------------------------------- named views

HRESULT OrvMTrace::get_trSum1(CY* pVal) { return GetHundredths(tracerec::Slot(0), pVal); }
HRESULT OrvMTrace::put_trSum1(CY newVal) { return PutHundredths(tracerec::Slot(0), newVal); }
HRESULT OrvMTrace::get_trSum2Reset(CY* pVal) { return GetHundredths(tracerec::Slot(1), pVal); }
HRESULT OrvMTrace::put_trSum2Reset(CY newVal) { return PutHundredths(tracerec::Slot(1), newVal); }
HRESULT OrvMTrace::get_trSum2Revers(CY* pVal) { return GetHundredths(tracerec::Slot(2), pVal); }
HRESULT OrvMTrace::put_trSum2Revers(CY newVal) { return PutHundredths(tracerec::Slot(2), newVal); }
HRESULT OrvMTrace::get_trSum3Reset(CY* pVal) { return GetHundredths(tracerec::Slot(3), pVal); }
HRESULT OrvMTrace::put_trSum3Reset(CY newVal) { return PutHundredths(tracerec::Slot(3), newVal); }
HRESULT OrvMTrace::get_trSum3Revers(CY* pVal) { return GetHundredths(tracerec::Slot(4), pVal); }
HRESULT OrvMTrace::put_trSum3Revers(CY newVal) { return PutHundredths(tracerec::Slot(4), newVal); }
HRESULT OrvMTrace::get_trDatReserv1(LONG* pVal) { return GetShort(tracerec::kDatReserv1, pVal); }
HRESULT OrvMTrace::put_trDatReserv1(LONG newVal) { return PutShort(tracerec::kDatReserv1, newVal); }
HRESULT OrvMTrace::get_trDatReserv2(LONG* pVal) { return GetShort(tracerec::kDatReserv2, pVal); }
HRESULT OrvMTrace::put_trDatReserv2(LONG newVal) { return PutShort(tracerec::kDatReserv2, newVal); }

HRESULT OrvMTrace::get_trLong(LONG nIndex, LONG* pVal) {
    if (nIndex < 0 || nIndex >= tracerec::kLongCount) return E_INVALIDARG;
    return GetLong(tracerec::LongAt(nIndex), pVal);
}
HRESULT OrvMTrace::put_trLong(LONG nIndex, LONG newVal) {
    if (nIndex < 0 || nIndex >= tracerec::kLongCount) return E_INVALIDARG;
    return PutLong(tracerec::LongAt(nIndex), newVal);
}

HRESULT OrvMTrace::get_HiWordsTrace(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!hiWords_) return S_OK;
        return hiWords_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pVal));
    });
}

HRESULT OrvMTrace::put_HiWordsTrace(IUnknown* newVal) {
    ComPtr<IOrvMTrace> trace, previous;
    // An object without IOrvMTrace leaves the trace without a partner.
    if (newVal) newVal->QueryInterface(IID_IOrvMTrace, reinterpret_cast<void**>(trace.GetAddressOf()));
    HRESULT hr = Locked([&] {
        previous.Swap(hiWords_);
        hiWords_ = trace;
        return S_OK;
    });
    previous.Reset();  // released after the lock is left
    return hr;
}

// ------------------------------------------------------- department period

HRESULT OrvMTrace::get_dtDn(DATE* pVal) { return GetDay(tracerec::kDatReserv1, pVal); }
HRESULT OrvMTrace::put_dtDn(DATE newVal) { return PutDay(tracerec::kDatReserv1, newVal); }
HRESULT OrvMTrace::get_dtDk(DATE* pVal) { return GetDay(tracerec::kDatReserv2, pVal); }
HRESULT OrvMTrace::put_dtDk(DATE newVal) { return PutDay(tracerec::kDatReserv2, newVal); }
HRESULT OrvMTrace::get_Days5(LONG* pVal) { return GetLong(tracerec::Slot(0), pVal); }
HRESULT OrvMTrace::put_Days5(LONG newVal) { return PutLong(tracerec::Slot(0), newVal); }
HRESULT OrvMTrace::get_Hours5(LONG* pVal) { return GetLong(tracerec::Slot(1), pVal); }
HRESULT OrvMTrace::put_Hours5(LONG newVal) { return PutLong(tracerec::Slot(1), newVal); }
HRESULT OrvMTrace::get_Days6(LONG* pVal) { return GetLong(tracerec::Slot(2), pVal); }
HRESULT OrvMTrace::put_Days6(LONG newVal) { return PutLong(tracerec::Slot(2), newVal); }
HRESULT OrvMTrace::get_Hours6(LONG* pVal) { return GetLong(tracerec::Slot(3), pVal); }
HRESULT OrvMTrace::put_Hours6(LONG newVal) { return PutLong(tracerec::Slot(3), newVal); }
HRESULT OrvMTrace::get_Days(LONG* pVal) { return GetLong(tracerec::Slot(4), pVal); }
HRESULT OrvMTrace::put_Days(LONG newVal) { return PutLong(tracerec::Slot(4), newVal); }
HRESULT OrvMTrace::get_Hours(LONG* pVal) { return GetLong(tracerec::Slot(5), pVal); }
HRESULT OrvMTrace::put_Hours(LONG newVal) { return PutLong(tracerec::Slot(5), newVal); }
HRESULT OrvMTrace::get_CalendarDays(LONG* pVal) { return GetLong(tracerec::Slot(6), pVal); }
HRESULT OrvMTrace::put_CalendarDays(LONG newVal) { return PutLong(tracerec::Slot(6), newVal); }
HRESULT OrvMTrace::get_NormDays5(LONG* pVal) { return GetLong(tracerec::LongAt(0), pVal); }
HRESULT OrvMTrace::put_NormDays5(LONG newVal) { return PutLong(tracerec::LongAt(0), newVal); }
HRESULT OrvMTrace::get_NormHours5(LONG* pVal) { return GetLong(tracerec::LongAt(1), pVal); }
HRESULT OrvMTrace::put_NormHours5(LONG newVal) { return PutLong(tracerec::LongAt(1), newVal); }
HRESULT OrvMTrace::get_NormDays6(LONG* pVal) { return GetLong(tracerec::LongAt(2), pVal); }
HRESULT OrvMTrace::put_NormDays6(LONG newVal) { return PutLong(tracerec::LongAt(2), newVal); }
HRESULT OrvMTrace::get_NormHours(LONG* pVal) { return GetLong(tracerec::LongAt(3), pVal); }
HRESULT OrvMTrace::put_NormHours(LONG newVal) { return PutLong(tracerec::LongAt(3), newVal); }
HRESULT OrvMTrace::get_NormDays(LONG* pVal) { return GetLong(tracerec::LongAt(4), pVal); }
HRESULT OrvMTrace::put_NormDays(LONG newVal) { return PutLong(tracerec::LongAt(4), newVal); }
HRESULT OrvMTrace::get_NormHours6(LONG* pVal) { return GetLong(tracerec::LongAt(5), pVal); }
HRESULT OrvMTrace::put_NormHours6(LONG newVal) { return PutLong(tracerec::LongAt(5), newVal); }
HRESULT OrvMTrace::get_NormCalendarDays(LONG* pVal) { return GetLong(tracerec::LongAt(6), pVal); }
HRESULT OrvMTrace::put_NormCalendarDays(LONG newVal) { return PutLong(tracerec::LongAt(6), newVal); }

HRESULT OrvMTrace::GetDepAndPosition(LONG lPipeId, IUnknown* punkSotr, LONG* pDepNum, LONG* pPositionId,
                                     LONG* pRazryad, BSTR* pPositionName, DATE* pOnDate) {
    if (!pDepNum || !pPositionId || !pRazryad || !pPositionName || !pOnDate) return E_POINTER;
    *pDepNum = *pPositionId = *pRazryad = 0;
    *pPositionName = nullptr;
    *pOnDate = 0.0;
    return Locked([&] {
        const DATE onDate = DayNumberToDate(record_.Short(tracerec::kDatReserv2));
        ComPtr<IOrvEmployeeJob> job;
        if (!punkSotr ||
            FAILED(punkSotr->QueryInterface(IID_IOrvEmployeeJob, reinterpret_cast<void**>(job.GetAddressOf()))) ||
            !job)
            return E_POINTER;
        // The results are handed out only when the employee answered.
        LONG dep = 0, position = 0, grade = 0;
        Check(job->GetDepAndPosition(lPipeId, onDate, &dep, &position, &grade), IID_IOrvEmployeeJob);
        *pDepNum = dep;
        *pPositionId = position;
        *pRazryad = grade;
        *pOnDate = onDate;
        return S_OK;
    });
}

}  // namespace orv
