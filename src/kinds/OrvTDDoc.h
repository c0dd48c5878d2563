// The employment contract (type code 304): the contract's terms and the
// figures of its termination, kept as attributes of the extension root
// "TDDOCEX"; the severance-pay protocol ("MAINPROT/BLPR5") kept with them;
// and the vacation object bound to the same document for the vacation
// compensation (its protocols live in "MAINPROT" as well).
#pragma once

#include "kinds/KindBase.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_grade_timesheet.h>

#include <string>

namespace orv {

// The contract fields, in the order of their attributes.
struct ContractTerms {
    std::u16string carType, dinnerBreak, dayStart, dayEnd, length, memo;
    LONG extraDays2 = 0, extraDays2Reason = 0;
    double daysSeverancePay = 0, daysNotCompensation = 0, daysCompensation = 0;
    CY aveSeverancePay{}, aveNotCompensation{}, aveCompensation{}, vipCompensation{};
    LONG jobPositionId = 0;
    std::u16string previousDks, note;
    LONG vipPosobieType = 0;
};

class OrvTDDoc : public ExtensionKind<OrvTDDoc, &CLSID_OrvTDDoc, IOrvTDDoc, IDispatch> {
public:
    static constexpr const char16_t* kRoot = u"TDDOCEX";
    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    // Writes the attributes anew and keeps the "MAINPROT" element of the
    // object's XML document unchanged.
    HRESULT UpdateExtension() override;
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }

    HRESULT get_CarType(BSTR* p) override { return Get(&ContractTerms::carType, p); }
    HRESULT put_CarType(BSTR v) override { return Put(&ContractTerms::carType, v); }
    HRESULT get_DinnerBreakTime(BSTR* p) override { return Get(&ContractTerms::dinnerBreak, p); }
    HRESULT put_DinnerBreakTime(BSTR v) override { return Put(&ContractTerms::dinnerBreak, v); }
    HRESULT get_WDayStartTime(BSTR* p) override { return Get(&ContractTerms::dayStart, p); }
    HRESULT put_WDayStartTime(BSTR v) override { return Put(&ContractTerms::dayStart, v); }
    HRESULT get_WDayEndTime(BSTR* p) override { return Get(&ContractTerms::dayEnd, p); }
    HRESULT put_WDayEndTime(BSTR v) override { return Put(&ContractTerms::dayEnd, v); }
    HRESULT get_DgvLength(BSTR* p) override { return Get(&ContractTerms::length, p); }
    HRESULT put_DgvLength(BSTR v) override { return Put(&ContractTerms::length, v); }
    HRESULT get_Memo(BSTR* p) override { return Get(&ContractTerms::memo, p); }
    HRESULT put_Memo(BSTR v) override { return Put(&ContractTerms::memo, v); }
    HRESULT get_ExtraDays2(LONG* p) override { return Get(&ContractTerms::extraDays2, p); }
    HRESULT put_ExtraDays2(LONG v) override { return Put(&ContractTerms::extraDays2, v); }
    HRESULT get_ExtraDays2Reason(LONG* p) override { return Get(&ContractTerms::extraDays2Reason, p); }
    HRESULT put_ExtraDays2Reason(LONG v) override { return Put(&ContractTerms::extraDays2Reason, v); }
    HRESULT get_DaysSeverancePay(double* p) override { return Get(&ContractTerms::daysSeverancePay, p); }
    HRESULT put_DaysSeverancePay(double v) override { return Put(&ContractTerms::daysSeverancePay, v); }
    HRESULT get_DaysNotCompensation(double* p) override { return Get(&ContractTerms::daysNotCompensation, p); }
    HRESULT put_DaysNotCompensation(double v) override { return Put(&ContractTerms::daysNotCompensation, v); }
    HRESULT get_DaysCompensation(double* p) override { return Get(&ContractTerms::daysCompensation, p); }
    HRESULT put_DaysCompensation(double v) override { return Put(&ContractTerms::daysCompensation, v); }
    HRESULT get_AveSeverancePay(CY* p) override { return Get(&ContractTerms::aveSeverancePay, p); }
    HRESULT put_AveSeverancePay(CY v) override { return Put(&ContractTerms::aveSeverancePay, v); }
    HRESULT get_AveNotCompensation(CY* p) override { return Get(&ContractTerms::aveNotCompensation, p); }
    HRESULT put_AveNotCompensation(CY v) override { return Put(&ContractTerms::aveNotCompensation, v); }
    HRESULT get_AveCompensation(CY* p) override { return Get(&ContractTerms::aveCompensation, p); }
    HRESULT put_AveCompensation(CY v) override { return Put(&ContractTerms::aveCompensation, v); }
    HRESULT get_VipCompensation(CY* p) override { return Get(&ContractTerms::vipCompensation, p); }
    HRESULT put_VipCompensation(CY v) override { return Put(&ContractTerms::vipCompensation, v); }
    HRESULT get_JobPositionId(LONG* p) override { return Get(&ContractTerms::jobPositionId, p); }
    HRESULT put_JobPositionId(LONG v) override { return Put(&ContractTerms::jobPositionId, v); }
    HRESULT get_PreviousDks(BSTR* p) override { return Get(&ContractTerms::previousDks, p); }
    HRESULT put_PreviousDks(BSTR v) override { return Put(&ContractTerms::previousDks, v); }
    HRESULT get_Note(BSTR* p) override { return Get(&ContractTerms::note, p); }
    HRESULT put_Note(BSTR v) override { return Put(&ContractTerms::note, v); }
    HRESULT get_VipPosobieType(LONG* p) override { return Get(&ContractTerms::vipPosobieType, p); }
    HRESULT put_VipPosobieType(LONG v) override { return Put(&ContractTerms::vipPosobieType, v); }

    // The generic document's dcShort(1), widened on get and cut on put.
    HRESULT get_OverTimeFrequency(LONG* pVal) override;
    HRESULT put_OverTimeFrequency(LONG newVal) override;

    // The vacation object on the same document, created on the first call
    // and kept; every call adds a reference.
    HRESULT get_OtProtocol(IUnknown** pVal) override;
    // A new severance-pay protocol read from "TDDOCEX/MAINPROT/BLPR5".
    HRESULT get_ResignPosobie(IDispatch** pVal) override;
    // Puts the protocol's "BLPR5" into "MAINPROT" in place of the old one
    // and writes the extension at once.
    HRESULT put_ResignPosobie(IDispatch* newVal) override;
    // The text of "TDDOCEX/MAINPROT"; pXml stays null when there is none.
    HRESULT GetAllProtocols(BSTR* pXml) override;
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }

private:
    template <class T>
    HRESULT Get(T ContractTerms::*field, T* pVal) {
        if (!pVal) return E_POINTER;
        return Locked([&] {
            *pVal = terms_.*field;
            return S_OK;
        });
    }
    template <class T>
    HRESULT Put(T ContractTerms::*field, T value) {
        return Locked([&] {
            terms_.*field = value;
            return S_OK;
        });
    }
    HRESULT Get(std::u16string ContractTerms::*field, BSTR* pVal);
    HRESULT Put(std::u16string ContractTerms::*field, BSTR value);

    ContractTerms terms_;
    ComPtr<IUnknown> vacation_;
};

}  // namespace orv
