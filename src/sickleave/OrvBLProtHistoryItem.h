// One month of the earnings history of a sick-leave protocol: a value object
// with nine properties, all zero at creation. The protocol writes it as a
// "HISTORYITEM" element and creates it again when it reads one.
#pragma once

#include "frame/com.h"

#include <orvdocs/platform/msxml.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/sickleave.h>

namespace orv {

class OrvBLProtHistoryItem
    : public CoClass<OrvBLProtHistoryItem, &CLSID_OrvBLProtHistoryItem, IOrvBLProtHistoryItem, IDispatch> {
public:
    HRESULT get_Days(LONG* pVal) override { return Get(days_, pVal); }
    HRESULT put_Days(LONG newVal) override { return Put(days_, newVal); }
    HRESULT get_Hours(LONG* pVal) override { return Get(hours_, pVal); }
    HRESULT put_Hours(LONG newVal) override { return Put(hours_, newVal); }
    HRESULT get_Month(DATE* pVal) override { return Get(month_, pVal); }
    HRESULT put_Month(DATE newVal) override { return Put(month_, newVal); }
    HRESULT get_SumForSredn(CY* pVal) override { return Get(sumForSredn_, pVal); }
    HRESULT put_SumForSredn(CY newVal) override { return Put(sumForSredn_, newVal); }
    HRESULT get_SumForSredn2(CY* pVal) override { return Get(sumForSredn2_, pVal); }
    HRESULT put_SumForSredn2(CY newVal) override { return Put(sumForSredn2_, newVal); }
    HRESULT get_NormDays(LONG* pVal) override { return Get(normDays_, pVal); }
    HRESULT put_NormDays(LONG newVal) override { return Put(normDays_, newVal); }
    HRESULT get_NormHours(LONG* pVal) override { return Get(normHours_, pVal); }
    HRESULT put_NormHours(LONG newVal) override { return Put(normHours_, newVal); }
    HRESULT get_Year(LONG* pVal) override { return Get(year_, pVal); }
    HRESULT put_Year(LONG newVal) override { return Put(year_, newVal); }
    HRESULT get_YearLimit(CY* pVal) override { return Get(yearLimit_, pVal); }
    HRESULT put_YearLimit(CY newVal) override { return Put(yearLimit_, newVal); }

    // Appends a "HISTORYITEM" element for item to parent, its children in
    // the order DAYS, HOURS, MONTH, YEAR, YEARLIM, SUMFORSREDN, SUMFORSREDN2,
    // NDAYS, NHOURS. The values are read through the interface, so any object
    // serving it is written.
    static void WriteElement(IXMLDOMDocument* xml, IXMLDOMElement* parent, IOrvBLProtHistoryItem* item);
    // A new item filled from a "HISTORYITEM" element.
    static ComPtr<IOrvBLProtHistoryItem> ReadElement(IXMLDOMElement* element);

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

    CY sumForSredn2_{};
    CY sumForSredn_{};
    DATE month_ = 0.0;
    LONG hours_ = 0;
    LONG days_ = 0;
    LONG normHours_ = 0;
    LONG normDays_ = 0;
    LONG year_ = 0;
    CY yearLimit_{};
};

}  // namespace orv
