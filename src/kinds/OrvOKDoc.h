// The salary-grade document (type codes 1 and 48): a typed view of record
// fields of the generic document, and GetAmountBeSmart, the amount due for a
// month from the document, the grade tariff, the currency service and the
// rounding rules.
//
// Field mapping (h: the hundredths of a sum field, record::ReadHundredths):
//   Amount              Dcsum1 as is
//   Razryad             h of DcSum3
//   WorkWeekLength      lDcProc
//   WorkDayLength       h of DcSum2 holds the float's bit pattern
//   Category            lDcdpod
//   Shpz                CodeShpz, widened / cut to 16 bits
//   OnResultsBased      Dfl bit 0x20
//   OnTrainingContract  Dfl bit 0x40
//   BolnFromCurMonth    true while h of Dcms(0) is 0; false stores -1
//   CurrencyId          h of Dcms(1)
//   PersonalNorm        low 16 bits of h of Dcms(2)
//   PersonalNormStart   high 16 bits of h of Dcms(2)
//   FullAmount          lDcRsrv(0) in hundredths
//   WeekInHours         lDcRsrv(1) in ten-thousandths (0 when above 999999)
//   SUNorma             lDcRsrv(2)
//   AdditionUpToSum     lDcRsrv(3) in hundredths
#pragma once

#include "kinds/RecordFields.h"

#include <orvdocs/typelib/kinds_grade_timesheet.h>

#include <string>

namespace orv {

class OrvOKDoc : public RecordKind<OrvOKDoc, &CLSID_OrvOKDoc, IOrvOKDoc, IDispatch, ISupportErrorInfo> {
public:
    // The status of a grade or nominal missing from the tariff table.
    static constexpr HRESULT kGradeNotFound = static_cast<HRESULT>(0x800455F1);

    // a x f on the raw units, rounded half away from zero to a whole unit,
    // then to whole hundredths half away from zero.
    static LONGLONG Scaled(LONGLONG amount, double factor) noexcept;

    HRESULT get_Amount(CY* pVal) override;
    HRESULT put_Amount(CY newVal) override;
    HRESULT get_Razryad(LONG* pVal) override;
    HRESULT put_Razryad(LONG newVal) override;
    HRESULT get_WorkWeekLength(LONG* pVal) override;
    HRESULT put_WorkWeekLength(LONG newVal) override;
    HRESULT get_WorkDayLength(float* pVal) override;
    HRESULT put_WorkDayLength(float newVal) override;
    HRESULT get_Category(LONG* pVal) override;
    HRESULT put_Category(LONG newVal) override;
    HRESULT get_Shpz(LONG* pVal) override;
    HRESULT put_Shpz(LONG newVal) override;
    HRESULT get_OnResultsBased(VARIANT_BOOL* pVal) override { return GetFlag(0x20, pVal); }
    HRESULT put_OnResultsBased(VARIANT_BOOL newVal) override { return PutFlag(0x20, newVal); }
    HRESULT get_OnTrainingContract(VARIANT_BOOL* pVal) override { return GetFlag(0x40, pVal); }
    HRESULT put_OnTrainingContract(VARIANT_BOOL newVal) override { return PutFlag(0x40, newVal); }
    HRESULT get_BolnFromCurMonth(VARIANT_BOOL* pVal) override;
    HRESULT put_BolnFromCurMonth(VARIANT_BOOL newVal) override;
    HRESULT get_CurrencyId(LONG* pVal) override;
    HRESULT put_CurrencyId(LONG newVal) override;
    HRESULT get_PersonalNorm(LONG* pVal) override;
    HRESULT put_PersonalNorm(LONG newVal) override;
    HRESULT get_PersonalNormStart(LONG* pVal) override;
    HRESULT put_PersonalNormStart(LONG newVal) override;
    HRESULT get_FullAmount(CY* pVal) override { return GetReserveSum(0, pVal); }
    HRESULT put_FullAmount(CY newVal) override { return PutReserveSum(0, newVal); }
    HRESULT get_WeekInHours(float* pVal) override;
    HRESULT put_WeekInHours(float newVal) override;
    HRESULT get_SUNorma(LONG* pVal) override;
    HRESULT put_SUNorma(LONG newVal) override;
    HRESULT get_AdditionUpToSum(CY* pVal) override { return GetReserveSum(3, pVal); }
    HRESULT put_AdditionUpToSum(CY newVal) override { return PutReserveSum(3, newVal); }
    HRESULT GetAmountBeSmart(LONG lPipeId, DATE dtDate, IUnknown* punkOrvBD, CY* pResult) override;

private:
    HRESULT GetFlag(LONG bit, VARIANT_BOOL* pVal);
    HRESULT PutFlag(LONG bit, VARIANT_BOOL value);
    HRESULT GetReserveSum(LONG index, CY* pVal);
    HRESULT PutReserveSum(LONG index, CY value);
    // The amount of GetAmountBeSmart; a grade or nominal not found leaves its
    // message in *message and gives kGradeNotFound.
    HRESULT Amount(LONG pipe, DATE date, IUnknown* database, CY* result, std::u16string* message);
};

}  // namespace orv
