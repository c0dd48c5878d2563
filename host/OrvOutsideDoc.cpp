#include "host/OrvOutsideDoc.h"

#include "frame/values.h"

#include <chrono>

namespace orv::host {

ComPtr<IOrvDocument> OrvOutsideDoc::Document() {
    auto lock = Lock();
    return document_;
}

HRESULT OrvOutsideDoc::get_Name(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return E_POINTER;
    return doc->get_Memo(pVal);
}

HRESULT OrvOutsideDoc::put_Name(BSTR newVal) {
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return E_POINTER;
    return doc->put_Memo(newVal);
}

HRESULT OrvOutsideDoc::get_BirthDate(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return E_POINTER;
    LONG day = 0;
    HRESULT hr = doc->get_DcDat1(&day);
    if (FAILED(hr)) return hr;
    *pVal = DayNumberToDate(static_cast<SHORT>(day));
    return S_OK;
}

HRESULT OrvOutsideDoc::put_BirthDate(DATE newVal) {
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return E_POINTER;
    return doc->put_DcDat1(DateToDayNumber(newVal));
}

HRESULT OrvOutsideDoc::get_BirthYear(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return E_POINTER;
    LONG year = 0;
    HRESULT hr = doc->get_dcLong(0, &year);
    if (FAILED(hr)) return hr;
    if (year == 0) {
        LONG day = 0;
        hr = doc->get_DcDat1(&day);
        if (FAILED(hr)) return hr;
        if (day != 0) {
            using namespace std::chrono;
            const year_month_day ymd{sys_days{std::chrono::year{1960} / December / 31} + days{static_cast<SHORT>(day)}};
            year = static_cast<int>(ymd.year());
        }
    }
    *pVal = year;
    return S_OK;
}

HRESULT OrvOutsideDoc::put_BirthYear(LONG newVal) {
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return E_POINTER;
    return doc->put_dcLong(0, newVal);
}

HRESULT OrvOutsideDoc::get_OrvDocument(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IOrvDocument> doc = Document();
    if (!doc) return S_FALSE;
    return doc->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(pVal));
}

HRESULT OrvOutsideDoc::put_OrvDocument(IUnknown* newVal) {
    ComPtr<IOrvDocument> doc;
    if (newVal) {
        HRESULT hr = newVal->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(doc.GetAddressOf()));
        if (FAILED(hr)) return hr;
    }
    {
        auto lock = Lock();
        document_.Swap(doc);
    }
    return S_OK;  // the previous document is released here, outside the lock
}

}  // namespace orv::host
