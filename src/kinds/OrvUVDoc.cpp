// Fields of the dismissal document:
//   Reason            DolgOld    code bits      Osn            DcOsn     text
//   UnderWorkedOtDays DcSum3     float bits     ...Sredn       Dcms(0)   scaled
//   OtDaysCompensation DcSum2    float bits     ...Sredn       Dcms(1)   scaled
//   FiredCompensationDays Dcsum1 float bits     ...Sredn       Dcms(2)   scaled
//   SumPremSredn      DcDolg     currency       PayAfterFireing DcDat1   flag
//   ResignDate        dcShort(1) day number     MonthsForSredn dcLong(4) long
#include "kinds/OrvUVDoc.h"

#include "frame/values.h"

namespace orv {

using namespace record;

HRESULT OrvUVDoc::GetFloat(Sum field, float* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) { return FloatFromBits(ReadHundredths(d, field)); });
}
HRESULT OrvUVDoc::PutFloat(Sum field, float value) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, field, BitsFromFloat(value)); });
}
HRESULT OrvUVDoc::GetScaled(Sum field, CY* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) { return ScaledFromHundredths(ReadHundredths(d, field)); });
}
HRESULT OrvUVDoc::PutScaled(Sum field, CY value) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, field, HundredthsFromScaled(value)); });
}

HRESULT OrvUVDoc::get_Reason(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadCode(d, Sum::DolgOld); });
}
HRESULT OrvUVDoc::put_Reason(BSTR newVal) {
    return PutField([&](IOrvDocument* d) { WriteCode(d, Sum::DolgOld, newVal); });
}

HRESULT OrvUVDoc::get_Osn(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return GetText(d, &IOrvDocument::get_DcOsn); });
}
HRESULT OrvUVDoc::put_Osn(BSTR newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_DcOsn, newVal); });
}

HRESULT OrvUVDoc::get_UnderWorkedOtDays(float* pVal) { return GetFloat(Sum::DcSum3, pVal); }
HRESULT OrvUVDoc::put_UnderWorkedOtDays(float newVal) { return PutFloat(Sum::DcSum3, newVal); }
HRESULT OrvUVDoc::get_UnderWorkedOtDaysSredn(CY* pVal) { return GetScaled(Sum::Dcms0, pVal); }
HRESULT OrvUVDoc::put_UnderWorkedOtDaysSredn(CY newVal) { return PutScaled(Sum::Dcms0, newVal); }
HRESULT OrvUVDoc::get_OtDaysCompensation(float* pVal) { return GetFloat(Sum::DcSum2, pVal); }
HRESULT OrvUVDoc::put_OtDaysCompensation(float newVal) { return PutFloat(Sum::DcSum2, newVal); }
HRESULT OrvUVDoc::get_OtDaysCompensationSredn(CY* pVal) { return GetScaled(Sum::Dcms1, pVal); }
HRESULT OrvUVDoc::put_OtDaysCompensationSredn(CY newVal) { return PutScaled(Sum::Dcms1, newVal); }
HRESULT OrvUVDoc::get_FiredCompensationDays(float* pVal) { return GetFloat(Sum::Dcsum1, pVal); }
HRESULT OrvUVDoc::put_FiredCompensationDays(float newVal) { return PutFloat(Sum::Dcsum1, newVal); }
HRESULT OrvUVDoc::get_FiredCompensationSredn(CY* pVal) { return GetScaled(Sum::Dcms2, pVal); }
HRESULT OrvUVDoc::put_FiredCompensationSredn(CY newVal) { return PutScaled(Sum::Dcms2, newVal); }

HRESULT OrvUVDoc::get_SumPremSredn(CY* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadSum(d, Sum::DcDolg); });
}
HRESULT OrvUVDoc::put_SumPremSredn(CY newVal) {
    return PutField([&](IOrvDocument* d) { WriteSum(d, Sum::DcDolg, newVal); });
}

HRESULT OrvUVDoc::get_PayAfterFireing(VARIANT_BOOL* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return FlagFromField(Get<LONG>(d, &IOrvDocument::get_DcDat1)); });
}
HRESULT OrvUVDoc::put_PayAfterFireing(VARIANT_BOOL newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_DcDat1, FieldFromFlag(newVal)); });
}

HRESULT OrvUVDoc::get_ResignDate(DATE* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        return DayNumberToDate(Get<SHORT>(d, &IOrvDocument::get_dcShort, LONG{1}));
    });
}
HRESULT OrvUVDoc::put_ResignDate(DATE newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_dcShort, LONG{1}, DateToDayNumber(newVal)); });
}

HRESULT OrvUVDoc::get_MonthsForSredn(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_dcLong, LONG{4}); });
}
HRESULT OrvUVDoc::put_MonthsForSredn(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_dcLong, LONG{4}, newVal); });
}

}  // namespace orv
