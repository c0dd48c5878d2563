// The dismissal document (type code 93): reason and grounds, unused vacation
// days, compensation days and their averages, all packed into record fields.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvUVDoc : public RecordKind<OrvUVDoc, &CLSID_OrvUVDoc, IOrvUVDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT get_Reason(BSTR* pVal) override;
    HRESULT put_Reason(BSTR newVal) override;
    HRESULT get_Osn(BSTR* pVal) override;
    HRESULT put_Osn(BSTR newVal) override;
    HRESULT get_UnderWorkedOtDays(float* pVal) override;
    HRESULT put_UnderWorkedOtDays(float newVal) override;
    HRESULT get_UnderWorkedOtDaysSredn(CY* pVal) override;
    HRESULT put_UnderWorkedOtDaysSredn(CY newVal) override;
    HRESULT get_OtDaysCompensation(float* pVal) override;
    HRESULT put_OtDaysCompensation(float newVal) override;
    HRESULT get_OtDaysCompensationSredn(CY* pVal) override;
    HRESULT put_OtDaysCompensationSredn(CY newVal) override;
    HRESULT get_FiredCompensationDays(float* pVal) override;
    HRESULT put_FiredCompensationDays(float newVal) override;
    HRESULT get_FiredCompensationSredn(CY* pVal) override;
    HRESULT put_FiredCompensationSredn(CY newVal) override;
    HRESULT get_SumPremSredn(CY* pVal) override;
    HRESULT put_SumPremSredn(CY newVal) override;
    HRESULT get_PayAfterFireing(VARIANT_BOOL* pVal) override;
    HRESULT put_PayAfterFireing(VARIANT_BOOL newVal) override;
    HRESULT get_ResignDate(DATE* pVal) override;
    HRESULT put_ResignDate(DATE newVal) override;
    HRESULT get_MonthsForSredn(LONG* pVal) override;
    HRESULT put_MonthsForSredn(LONG newVal) override;

private:
    HRESULT GetFloat(record::Sum field, float* pVal);
    HRESULT PutFloat(record::Sum field, float value);
    HRESULT GetScaled(record::Sum field, CY* pVal);
    HRESULT PutScaled(record::Sum field, CY value);
};

}  // namespace orv
