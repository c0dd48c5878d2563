// The income certificate from a former employer (type code 260): number,
// period and issue date, income and the taxes paid, all in record fields.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvNLDoc : public RecordKind<OrvNLDoc, &CLSID_OrvNLDoc, IOrvNLDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_SpravkaNum(BSTR* pVal) override;
    HRESULT put_SpravkaNum(BSTR newVal) override;
    HRESULT get_SpravkaFirstDate(DATE* pVal) override;
    HRESULT put_SpravkaFirstDate(DATE newVal) override;
    HRESULT get_SpravkaLastDate(DATE* pVal) override;
    HRESULT put_SpravkaLastDate(DATE newVal) override;
    HRESULT get_SpravkaIssueDate(DATE* pVal) override;
    HRESULT put_SpravkaIssueDate(DATE newVal) override;
    HRESULT get_SumOfIncome(CY* pVal) override;
    HRESULT put_SumOfIncome(CY newVal) override;
    HRESULT get_IncomeTaxPayed(CY* pVal) override;
    HRESULT put_IncomeTaxPayed(CY newVal) override;
    HRESULT get_PensionTaxPayed(CY* pVal) override;
    HRESULT put_PensionTaxPayed(CY newVal) override;
    HRESULT get_IncomeTax3ProcPayed(CY* pVal) override;
    HRESULT put_IncomeTax3ProcPayed(CY newVal) override;
    HRESULT get_AccumulatedDiscount(CY* pVal) override;
    HRESULT put_AccumulatedDiscount(CY newVal) override;
    HRESULT get_IncomeType(LONG* pVal) override;
    HRESULT put_IncomeType(LONG newVal) override;

private:
    HRESULT GetSum(record::Sum field, CY* pVal);
    HRESULT PutSum(record::Sum field, CY value);
    HRESULT GetHalf(record::Half half, DATE* pVal);
    HRESULT PutHalf(record::Half half, DATE value);
};

}  // namespace orv
