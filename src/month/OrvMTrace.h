// One additional record of a payroll month: the 84-byte trace record, read
// through IOrvMTrace as nineteen sum slots with named views and through
// IOrvDepPeriod as a period of work in a department. A trace may be paired
// with a high-words trace that holds the high 32 bits of its sums, so that a
// slot carries a full 64-bit amount.
//
// IOrvMTrace and IOrvDepPeriod share T0, RecordCondition, Id and T1 under the
// same signatures: one override serves both.
#pragma once

#include "frame/com.h"
#include "month/MonthRecords.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/month.h>

namespace orv {

class OrvMTrace : public CoClass<OrvMTrace, &CLSID_OrvMTrace, IOrvMTrace, IDispatch, ISupportErrorInfo, IOrvDepPeriod> {
public:
    void FinalRelease();

    // ------------------------------------------------ IOrvMTrace
    HRESULT get_MTraceRecord(BSTR* pVal) override;
    // Fewer than 84 bytes (a null string included) are refused with
    // E_INVALIDARG and the record kept; a longer string gives its first 84.
    HRESULT put_MTraceRecord(BSTR newVal) override;
    HRESULT get_T0(LONG* pVal) override;
    HRESULT put_T0(LONG newVal) override;
    HRESULT get_Sum(LONG Index, CY* pVal) override;
    HRESULT put_Sum(LONG Index, CY cySum) override;
    HRESULT get_dbk(ULONG* pVal) override;
    HRESULT put_dbk(ULONG newVal) override;
    HRESULT get_RecordCondition(LONG* pVal) override;
    HRESULT put_RecordCondition(LONG newVal) override;
    HRESULT get_Id(LONG* pVal) override;
    HRESULT put_Id(LONG newVal) override;
    HRESULT get_T1(LONG* pVal) override;
    HRESULT put_T1(LONG newVal) override;
    HRESULT get_trSum1(CY* pVal) override;
    HRESULT put_trSum1(CY newVal) override;
    HRESULT get_trSum2Reset(CY* pVal) override;
    HRESULT put_trSum2Reset(CY newVal) override;
    HRESULT get_trSum2Revers(CY* pVal) override;
    HRESULT put_trSum2Revers(CY newVal) override;
    HRESULT get_trSum3Reset(CY* pVal) override;
    HRESULT put_trSum3Reset(CY newVal) override;
    HRESULT get_trDatReserv1(LONG* pVal) override;
    HRESULT put_trDatReserv1(LONG newVal) override;
    HRESULT get_trDatReserv2(LONG* pVal) override;
    HRESULT put_trDatReserv2(LONG newVal) override;
    HRESULT get_trLong(LONG nIndex, LONG* pVal) override;
    HRESULT put_trLong(LONG nIndex, LONG newVal) override;
    HRESULT get_trSum3Revers(CY* pVal) override;
    HRESULT put_trSum3Revers(CY newVal) override;
    HRESULT get_HiWordsTrace(IUnknown** pVal) override;
    HRESULT put_HiWordsTrace(IUnknown* newVal) override;

    // ------------------------------------------------ IOrvDepPeriod
    HRESULT get_dtDn(DATE* pVal) override;
    HRESULT put_dtDn(DATE newVal) override;
    HRESULT get_dtDk(DATE* pVal) override;
    HRESULT put_dtDk(DATE newVal) override;
    HRESULT get_Days5(LONG* pVal) override;
    HRESULT put_Days5(LONG newVal) override;
    HRESULT get_Hours5(LONG* pVal) override;
    HRESULT put_Hours5(LONG newVal) override;
    HRESULT get_Days6(LONG* pVal) override;
    HRESULT put_Days6(LONG newVal) override;
    HRESULT get_Hours6(LONG* pVal) override;
    HRESULT put_Hours6(LONG newVal) override;
    HRESULT get_Days(LONG* pVal) override;
    HRESULT put_Days(LONG newVal) override;
    HRESULT get_Hours(LONG* pVal) override;
    HRESULT put_Hours(LONG newVal) override;
    HRESULT get_CalendarDays(LONG* pVal) override;
    HRESULT put_CalendarDays(LONG newVal) override;
    HRESULT get_NormDays5(LONG* pVal) override;
    HRESULT put_NormDays5(LONG newVal) override;
    HRESULT get_NormHours5(LONG* pVal) override;
    HRESULT put_NormHours5(LONG newVal) override;
    HRESULT get_NormDays6(LONG* pVal) override;
    HRESULT put_NormDays6(LONG newVal) override;
    HRESULT get_NormHours(LONG* pVal) override;
    HRESULT put_NormHours(LONG newVal) override;
    HRESULT get_NormDays(LONG* pVal) override;
    HRESULT put_NormDays(LONG newVal) override;
    HRESULT get_NormHours6(LONG* pVal) override;
    HRESULT put_NormHours6(LONG newVal) override;
    HRESULT get_NormCalendarDays(LONG* pVal) override;
    HRESULT put_NormCalendarDays(LONG newVal) override;
    HRESULT GetDepAndPosition(LONG lPipeId, IUnknown* punkSotr, LONG* pDepNum, LONG* pPositionId, LONG* pRazryad,
                              BSTR* pPositionName, DATE* pOnDate) override;

private:
    template <class T, class F>
    HRESULT LockedGet(T* out, F&& read) noexcept {
        if (!out) return E_POINTER;
        return Locked([&] {
            *out = read();
            return S_OK;
        });
    }
    template <class F>
    HRESULT LockedPut(F&& write) noexcept {
        return Locked([&] {
            write();
            return S_OK;
        });
    }
    // The field views every property is one of.
    HRESULT GetLong(std::size_t offset, LONG* pVal) noexcept;
    HRESULT PutLong(std::size_t offset, LONG v) noexcept;
    HRESULT GetShort(std::size_t offset, LONG* pVal) noexcept;
    HRESULT PutShort(std::size_t offset, LONG v) noexcept;
    HRESULT GetHundredths(std::size_t offset, CY* pVal) noexcept;
    HRESULT PutHundredths(std::size_t offset, CY v) noexcept;
    HRESULT GetDay(std::size_t offset, DATE* pVal) noexcept;
    HRESULT PutDay(std::size_t offset, DATE v) noexcept;

    // Guards the calls into the high-words trace against a pairing that leads
    // back to this trace (which would otherwise recurse without end on the
    // same thread, the lock being recursive). Caller holds the lock.
    class CallingPartner;
    bool callingPartner_ = false;

    TraceRecord record_;
    ULONG dbk_ = 0;
    LONG recordCondition_ = 0;
    ComPtr<IOrvMTrace> hiWords_;
};

}  // namespace orv
