// One payroll month of one employee: the 144-byte month record with its
// typed properties, the thirty running totals, dbk and RecordCondition, the
// five lists the host hands in, the month's XML form ("ORVMONTH"), the sum
// collectors over the month traces and CalculateMonthSums.
//
// IOrvMonthDisp carries every member of IOrvMonth and IOrvM under the same
// names and signatures, so each override below serves both faces at once.
//   OrvMonth.cpp    record properties, totals, lists, RecordCondition
//   MonthXml.cpp    ShortString, ParseIn, ParseFrom
//   MonthSums.cpp   SumCollector, the trace index, CalculateMonthSums
#pragma once

#include "frame/com.h"
#include "month/MonthRecords.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/month.h>
#include <orvdocs/typelib/xmlstring.h>

#include <array>
#include <map>

// The thirty totals: property name and XML tag, in the order the month keeps them.
#define ORV_MONTH_TOTALS(X)                                  \
    X(AlwaysTaxedSum, u"ALWTAXED")                           \
    X(SumForTax, u"SFTAX")                                   \
    X(TotalIncome2, u"TOTINC2")                              \
    X(TotalTax2, u"TOTTAX2")                                 \
    X(CurrentTax2, u"CURTAX2")                               \
    X(TotalIncome3, u"TOTINC3")                              \
    X(TotalTax3, u"TOTTAX3")                                 \
    X(CurrentTax3, u"CURTAX3")                               \
    X(TotalIncome4, u"TOTINC4")                              \
    X(TotalTax4, u"TOTTAX4")                                 \
    X(CurrentTax4, u"CURTAX4")                               \
    X(AllowedSumDiscount, u"ALLSUMDISC")                     \
    X(CurPodarkiDiscount, u"CURDISC3")                       \
    X(CurMedicineDiscount, u"CURDISC2")                      \
    X(CurMaterialkaDiscount, u"CURDISC1")                    \
    X(CurSumDiscount, u"CURDISC4")                           \
    X(TotalSumDiscount, u"TOTDISC4")                         \
    X(TotalPodarkiDiscounts, u"TOTDISC3")                    \
    X(TotalMedicineDiscount, u"TOTDISC2")                    \
    X(TotalMaterialkaDiscounts, u"TOTDISC1")                 \
    X(RestOfSumDiscount, u"RESTDISC4")                       \
    X(TotalPensTax, u"TOTPTAX")                              \
    X(TotalIncomeTax, u"TOTITAX")                            \
    X(CurrentDiscounts, u"CUDISC")                           \
    X(TotalDiscounts, u"TOTDISC")                            \
    X(TotalPodarki, u"TOTPOD")                               \
    X(TotalMedicine, u"TOTMED")                              \
    X(TotalMaterialka, u"TOTMAT")                            \
    X(TotalCleared, u"TOTCLEARED")                           \
    X(TotalTaxable, u"TOTTXABLE")

namespace orv {

// Failures of the month calculation that have codes of their own.
inline constexpr HRESULT ORV_E_MONTH_NO_TRACE_LIST = static_cast<HRESULT>(0x80040077);
inline constexpr HRESULT ORV_E_MONTH_NO_MROT_TABLE = static_cast<HRESULT>(0x8004006C);

class OrvMonth : public CoClass<OrvMonth, &CLSID_OrvMonth, IOrvMonth, ISupportErrorInfo, IDispatch, IOrvM,
                                IOrvMonthDisp, IOrvObjAsXmlString> {
public:
    // Error information is described for both faces of the month.
    static bool SupportsErrorInfo(REFIID riid) { return riid == IID_IOrvMonth || riid == IID_IOrvMonthDisp; }

    void FinalRelease();

    enum Total : int {
#define ORV_MONTH_TOTAL_ENUM(name, tag) k##name,
        ORV_MONTH_TOTALS(ORV_MONTH_TOTAL_ENUM)
#undef ORV_MONTH_TOTAL_ENUM
        kTotalCount
    };

    // ------------------------------------------------ the thirty totals
#define ORV_MONTH_TOTAL_DECL(name, tag)      \
    HRESULT get_##name(CY* pVal) override;   \
    HRESULT put_##name(CY newVal) override;
    ORV_MONTH_TOTALS(ORV_MONTH_TOTAL_DECL)
#undef ORV_MONTH_TOTAL_DECL

    // ------------------------------------------------ record fields
    // MonthRecord put of fewer than 144 bytes (a null string included) is
    // refused with E_INVALIDARG and the record kept; a longer string gives
    // its first 144 bytes.
    HRESULT get_MonthRecord(BSTR* pVal) override;
    HRESULT put_MonthRecord(BSTR newVal) override;
    HRESULT get_FactDays(SHORT* pVal) override;
    HRESULT put_FactDays(SHORT newVal) override;
    HRESULT get_FactHours(LONG* pVal) override;
    HRESULT put_FactHours(LONG newVal) override;
    HRESULT get_MonthDate(DATE* pVal) override;
    HRESULT put_MonthDate(DATE newVal) override;
    HRESULT get_NormDays(LONG* pVal) override;
    HRESULT put_NormDays(LONG newVal) override;
    HRESULT get_NormHours(LONG* pVal) override;
    HRESULT put_NormHours(LONG newVal) override;
    HRESULT get_NormOtDays(SHORT* pVal) override;
    HRESULT put_NormOtDays(SHORT newVal) override;
    HRESULT get_MDate(DATE* pVal) override;
    HRESULT put_MDate(DATE newVal) override;
    HRESULT get_msbl(CY* pVal) override;
    HRESULT put_msbl(CY newVal) override;
    HRESULT get_msot(CY* pVal) override;
    HRESULT put_msot(CY newVal) override;
    HRESULT get_msor(CY* pVal) override;
    HRESULT put_msor(CY newVal) override;
    HRESULT get_msxx(CY* pVal) override;
    HRESULT put_msxx(CY newVal) override;
    HRESULT get_msyy(CY* pVal) override;
    HRESULT put_msyy(CY newVal) override;
    HRESULT get_msres1(CY* pVal) override;
    HRESULT put_msres1(CY newVal) override;
    HRESULT get_msres2(CY* pVal) override;
    HRESULT put_msres2(CY newVal) override;
    HRESULT get_msdayf(LONG* pVal) override;
    HRESULT put_msdayf(LONG newVal) override;
    HRESULT get_msday(LONG* pVal) override;
    HRESULT put_msday(LONG newVal) override;
    HRESULT get_msres3(LONG* pVal) override;
    HRESULT put_msres3(LONG newVal) override;
    HRESULT get_msres4(LONG* pVal) override;
    HRESULT put_msres4(LONG newVal) override;
    HRESULT get_mfl2(LONG* pVal) override;
    HRESULT put_mfl2(LONG newVal) override;
    HRESULT get_mfl(LONG* pVal) override;
    HRESULT put_mfl(LONG newVal) override;
    HRESULT get_NormDaysOnOkPeriods(LONG* pVal) override;
    HRESULT put_NormDaysOnOkPeriods(LONG newVal) override;
    HRESULT get_NormHoursOnOkPeriods(LONG* pVal) override;
    HRESULT put_NormHoursOnOkPeriods(LONG newVal) override;
    HRESULT get_Rate(CY* pVal) override;
    HRESULT put_Rate(CY newVal) override;
    HRESULT get_HolHours2Deduct(LONG* pVal) override;
    HRESULT put_HolHours2Deduct(LONG newVal) override;
    HRESULT get_ScLgType(SHORT* pVal) override;
    HRESULT put_ScLgType(SHORT newVal) override;
    HRESULT get_FrgnStatus(LONG* pVal) override;
    HRESULT put_FrgnStatus(LONG newVal) override;

    // ------------------------------------------------ fields beside the record
    HRESULT get_RecordCondition(LONG* pVal) override;
    HRESULT put_RecordCondition(LONG newVal) override;
    HRESULT get_dbk(ULONG* pVal) override;
    HRESULT put_dbk(ULONG newVal) override;

    // ------------------------------------------------ the five lists
    HRESULT get_SumList(IUnknown** pVal) override;
    HRESULT put_SumList(IUnknown* newVal) override;
    HRESULT get_PayList(IUnknown** pVal) override;
    HRESULT put_PayList(IUnknown* newVal) override;
    HRESULT get_MTraceList(IUnknown** pVal) override;
    HRESULT put_MTraceList(IUnknown* newVal) override;
    HRESULT get_CurPhotoPayList(IUnknown** pVal) override;
    HRESULT put_CurPhotoPayList(IUnknown* newVal) override;
    HRESULT get_PhotoPayList(IUnknown** pVal) override;
    HRESULT put_PhotoPayList(IUnknown* newVal) override;

    // ------------------------------------------------ sums and calculation
    HRESULT get_SumCollector(LONG nIndex, CY* pVal) override;
    HRESULT put_SumCollector(LONG nIndex, CY newVal) override;
    HRESULT WriteTraceSum(LONG nIndex, CY cySum) override;
    HRESULT CalculateMonthSums(IUnknown* punkMrotTable, IUnknown* punkOrvConfig, VARIANT vtPrevMonth) override;

    // ------------------------------------------------ the XML form
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

    // The number of traces in the index built at the last MTraceList put.
    std::size_t IndexedTraceCount() noexcept;

private:
    enum List : int { kSumList, kPayList, kTraceList, kCurPhotoPayList, kPhotoPayList, kListCount };

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
    // The field views every record property is one of.
    HRESULT GetHundredths(std::size_t offset, CY* pVal) noexcept;
    HRESULT PutHundredths(std::size_t offset, CY v) noexcept;
    HRESULT GetShortAsLong(std::size_t offset, LONG* pVal) noexcept;
    HRESULT PutLongAsShort(std::size_t offset, LONG v) noexcept;
    HRESULT GetShort(std::size_t offset, SHORT* pVal) noexcept;
    HRESULT PutShort(std::size_t offset, SHORT v) noexcept;
    HRESULT GetLong(std::size_t offset, LONG* pVal) noexcept;
    HRESULT PutLong(std::size_t offset, LONG v) noexcept;
    HRESULT GetDate(DATE* pVal) noexcept;
    HRESULT PutDate(DATE v) noexcept;
    HRESULT GetTotal(Total t, CY* pVal) noexcept;
    HRESULT PutTotal(Total t, CY v) noexcept;
    HRESULT GetList(List l, IUnknown** pVal) noexcept;
    HRESULT PutList(List l, IUnknown* v) noexcept;

    // Sum collector bodies (caller holds the lock; they raise on failures).
    // Return S_FALSE / false when the list is missing, before anything is done.
    HRESULT SumCollectorGet(LONG index, CY* value);
    bool SumCollectorPut(LONG index, CY value);
    // Rebuilds the trace index from the trace list (caller holds the lock).
    void RebuildTraceIndex();

    MonthRecord record_;
    ULONG dbk_ = 0;
    LONG recordCondition_ = 0;
    std::array<CY, kTotalCount> totals_{};
    std::array<ComPtr<IUnknown>, kListCount> lists_;
    // The traces of the list by their code, as the last MTraceList put found them.
    std::map<LONG, ComPtr<IOrvMTrace>> traceIndex_;
};

}  // namespace orv
