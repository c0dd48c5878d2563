// Fields of the income certificate:
//   SpravkaNum      Memo       text          SpravkaIssueDate  lDcdpod  day number
//   SpravkaFirstDate Dcms(2)   low day half  SpravkaLastDate   Dcms(2)  high day half
//   SumOfIncome     Dcsum1     IncomeTaxPayed DcSum2   PensionTaxPayed DcSum3
//   IncomeTax3ProcPayed Dcms(1)  AccumulatedDiscount Dcms(0)  (currencies)
//   IncomeType      DcDat1     long
#include "kinds/OrvNLDoc.h"

#include "frame/values.h"

namespace orv {

using namespace record;

HRESULT OrvNLDoc::GetSum(Sum field, CY* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) { return ReadSum(d, field); });
}
HRESULT OrvNLDoc::PutSum(Sum field, CY value) {
    return PutField([&](IOrvDocument* d) { WriteSum(d, field, value); });
}
HRESULT OrvNLDoc::GetHalf(Half half, DATE* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) { return ReadDayHalf(d, Sum::Dcms2, half); });
}
HRESULT OrvNLDoc::PutHalf(Half half, DATE value) {
    return PutField([&](IOrvDocument* d) { WriteDayHalf(d, Sum::Dcms2, half, value); });
}

HRESULT OrvNLDoc::get_SpravkaNum(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return GetText(d, &IOrvDocument::get_Memo); });
}
HRESULT OrvNLDoc::put_SpravkaNum(BSTR newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_Memo, newVal); });
}

HRESULT OrvNLDoc::get_SpravkaFirstDate(DATE* pVal) { return GetHalf(Half::Low, pVal); }
HRESULT OrvNLDoc::put_SpravkaFirstDate(DATE newVal) { return PutHalf(Half::Low, newVal); }
HRESULT OrvNLDoc::get_SpravkaLastDate(DATE* pVal) { return GetHalf(Half::High, pVal); }
HRESULT OrvNLDoc::put_SpravkaLastDate(DATE newVal) { return PutHalf(Half::High, newVal); }

HRESULT OrvNLDoc::get_SpravkaIssueDate(DATE* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        return DayNumberToDate(static_cast<SHORT>(Get<LONG>(d, &IOrvDocument::get_lDcdpod)));
    });
}
HRESULT OrvNLDoc::put_SpravkaIssueDate(DATE newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcdpod, LONG{DateToDayNumber(newVal)}); });
}

HRESULT OrvNLDoc::get_SumOfIncome(CY* pVal) { return GetSum(Sum::Dcsum1, pVal); }
HRESULT OrvNLDoc::put_SumOfIncome(CY newVal) { return PutSum(Sum::Dcsum1, newVal); }
HRESULT OrvNLDoc::get_IncomeTaxPayed(CY* pVal) { return GetSum(Sum::DcSum2, pVal); }
HRESULT OrvNLDoc::put_IncomeTaxPayed(CY newVal) { return PutSum(Sum::DcSum2, newVal); }
HRESULT OrvNLDoc::get_PensionTaxPayed(CY* pVal) { return GetSum(Sum::DcSum3, pVal); }
HRESULT OrvNLDoc::put_PensionTaxPayed(CY newVal) { return PutSum(Sum::DcSum3, newVal); }
HRESULT OrvNLDoc::get_IncomeTax3ProcPayed(CY* pVal) { return GetSum(Sum::Dcms1, pVal); }
HRESULT OrvNLDoc::put_IncomeTax3ProcPayed(CY newVal) { return PutSum(Sum::Dcms1, newVal); }
HRESULT OrvNLDoc::get_AccumulatedDiscount(CY* pVal) { return GetSum(Sum::Dcms0, pVal); }
HRESULT OrvNLDoc::put_AccumulatedDiscount(CY newVal) { return PutSum(Sum::Dcms0, newVal); }

HRESULT OrvNLDoc::get_IncomeType(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_DcDat1); });
}
HRESULT OrvNLDoc::put_IncomeType(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_DcDat1, newVal); });
}

}  // namespace orv
