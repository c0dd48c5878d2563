// One calendar month of the paid benefit period of a sick-leave protocol: a
// value object with 22 properties, all zero at creation. The protocol writes
// it as a "PAYMONTHITEM" element and creates it again when it reads one.
#pragma once

#include "frame/com.h"

#include <orvdocs/platform/msxml.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/sickleave.h>

namespace orv {

class OrvBlProtPayMonthItem
    : public CoClass<OrvBlProtPayMonthItem, &CLSID_OrvBlProtPayMonthItem, IOrvBlProtPayMonthItem, IDispatch> {
public:
    HRESULT get_Days(LONG* pVal) override { return Get(days_, pVal); }
    HRESULT put_Days(LONG newVal) override { return Put(days_, newVal); }
    HRESULT get_Hours(LONG* pVal) override { return Get(hours_, pVal); }
    HRESULT put_Hours(LONG newVal) override { return Put(hours_, newVal); }
    HRESULT get_NormHours(LONG* pVal) override { return Get(normHours_, pVal); }
    HRESULT put_NormHours(LONG newVal) override { return Put(normHours_, newVal); }
    HRESULT get_Month(DATE* pVal) override { return Get(month_, pVal); }
    HRESULT put_Month(DATE newVal) override { return Put(month_, newVal); }
    HRESULT get_Sum(CY* pVal) override { return Get(sum_, pVal); }
    HRESULT put_Sum(CY newVal) override { return Put(sum_, newVal); }
    HRESULT get_Oklad(CY* pVal) override { return Get(oklad_, pVal); }
    HRESULT put_Oklad(CY newVal) override { return Put(oklad_, newVal); }
    HRESULT get_OkladWithNadb(CY* pVal) override { return Get(okladWithNadb_, pVal); }
    HRESULT put_OkladWithNadb(CY newVal) override { return Put(okladWithNadb_, newVal); }
    HRESULT get_FirstSredn(CY* pVal) override { return Get(firstSredn_, pVal); }
    HRESULT put_FirstSredn(CY newVal) override { return Put(firstSredn_, newVal); }
    HRESULT get_SecondSredn(CY* pVal) override { return Get(secondSredn_, pVal); }
    HRESULT put_SecondSredn(CY newVal) override { return Put(secondSredn_, newVal); }
    HRESULT get_ProcSredn(CY* pVal) override { return Get(procSredn_, pVal); }
    HRESULT put_ProcSredn(CY newVal) override { return Put(procSredn_, newVal); }
    HRESULT get_MonthLimit(CY* pVal) override { return Get(monthLimit_, pVal); }
    HRESULT put_MonthLimit(CY newVal) override { return Put(monthLimit_, newVal); }
    HRESULT get_NormDays(LONG* pVal) override { return Get(normDays_, pVal); }
    HRESULT put_NormDays(LONG newVal) override { return Put(normDays_, newVal); }
    HRESULT get_Sum2(CY* pVal) override { return Get(sum2_, pVal); }
    HRESULT put_Sum2(CY newVal) override { return Put(sum2_, newVal); }
    HRESULT get_CompanyDays(LONG* pVal) override { return Get(companyDays_, pVal); }
    HRESULT put_CompanyDays(LONG newVal) override { return Put(companyDays_, newVal); }
    HRESULT get_CompanySum(CY* pVal) override { return Get(companySum_, pVal); }
    HRESULT put_CompanySum(CY newVal) override { return Put(companySum_, newVal); }
    HRESULT get_CompanyHours(LONG* pVal) override { return Get(companyHours_, pVal); }
    HRESULT put_CompanyHours(LONG newVal) override { return Put(companyHours_, newVal); }
    HRESULT get_CompanySimpleDays(LONG* pVal) override { return Get(companySimpleDays_, pVal); }
    HRESULT put_CompanySimpleDays(LONG newVal) override { return Put(companySimpleDays_, newVal); }
    HRESULT get_CompanySimpleHours(LONG* pVal) override { return Get(companySimpleHours_, pVal); }
    HRESULT put_CompanySimpleHours(LONG newVal) override { return Put(companySimpleHours_, newVal); }
    HRESULT get_CompanySimpleSum(CY* pVal) override { return Get(companySimpleSum_, pVal); }
    HRESULT put_CompanySimpleSum(CY newVal) override { return Put(companySimpleSum_, newVal); }
    HRESULT get_VipSredn(CY* pVal) override { return Get(vipSredn_, pVal); }
    HRESULT put_VipSredn(CY newVal) override { return Put(vipSredn_, newVal); }
    HRESULT get_VipBase(CY* pVal) override { return Get(vipBase_, pVal); }
    HRESULT put_VipBase(CY newVal) override { return Put(vipBase_, newVal); }
    HRESULT get_WorkedHours(LONG* pVal) override { return Get(workedHours_, pVal); }
    HRESULT put_WorkedHours(LONG newVal) override { return Put(workedHours_, newVal); }

    // Appends a "PAYMONTHITEM" element for item to parent, its children in
    // the order DAYS, FIRSTSREDN, HOURS, MONTH, MONTHLIMIT, NORMDAYS,
    // NORMHOURS, OKLAD, OKLADWITHNADB, PROCSREDN, SECONDSREDN, SUM, SUM2,
    // CSUM, CDAYS, CHOURS, SCSUM, SCDAYS, SCHOURS, VIPBASE, VIPSREDN, WHOURS.
    // The values are read through the interface, so any object serving it is
    // written.
    static void WriteElement(IXMLDOMDocument* xml, IXMLDOMElement* parent, IOrvBlProtPayMonthItem* item);
    // A new item filled from a "PAYMONTHITEM" element.
    static ComPtr<IOrvBlProtPayMonthItem> ReadElement(IXMLDOMElement* element);

private:
    template <class T>
    HRESULT Get(const T& field, T* pVal) {
        if (!pVal) return E_POINTER;
        auto lock = Lock();
        *pVal = field;
        return S_OK;
    }
    template <class T>
    HRESULT Put(T& field, T value) {
        auto lock = Lock();
        field = value;
        return S_OK;
    }

    CY sum2_{};
    CY sum_{};
    CY companySum_{};
    CY companySimpleSum_{};
    CY secondSredn_{};
    CY procSredn_{};
    CY okladWithNadb_{};
    CY oklad_{};
    CY vipSredn_{};
    CY vipBase_{};
    LONG workedHours_ = 0;
    LONG normHours_ = 0;
    CY monthLimit_{};
    DATE month_ = 0.0;
    LONG hours_ = 0;
    LONG companyHours_ = 0;
    LONG companySimpleHours_ = 0;
    CY firstSredn_{};
    LONG days_ = 0;
    LONG companyDays_ = 0;
    LONG companySimpleDays_ = 0;
    LONG normDays_ = 0;
};

}  // namespace orv
