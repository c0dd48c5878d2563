// The record of one sick-leave benefit calculation (OrvBLDocProtocol): the
// averages, limits and percentages the host used, the days and hours paid,
// the earnings history and the paid months (two lists of the outside list
// component holding IOrvBLProtHistoryItem and IOrvBlProtPayMonthItem
// objects), and, carried through unchanged, the calculations of the other
// access type.
//
// XML form (FullString, xmlProtocol; embedded by other kinds under
// "MAINPROT"):
//   <BLPR5>
//     <BLPROTOCOL AT="0|1">   this object's calculation
//       the roots of XmlPremProtocol, XmlDirectPremProtocol, XmlSrednFromPrem
//       <BLUSEDDAYS VAL=".."/> ... <CALC2011 VAL=".."/>   the scalars
//       <HISTORYITEM>..</HISTORYITEM>...  <PAYMONTHITEM>..</PAYMONTHITEM>...
//     </BLPROTOCOL>
//     the kept calculation of AT 0, then the one of the other access type
//   </BLPR5>
// Reading accepts the same under "EXT" (the sick-leave document's body).
//
// The object also reads the legacy binary protocol record the sick-leave
// document may still hold (FillFromLegacyRecord).
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/lists.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/sickleave.h>
#include <orvdocs/typelib/xmlstring.h>

#include <cstddef>
#include <string>

namespace orv {

class OrvBLDocProtocol : public CoClass<OrvBLDocProtocol, &CLSID_OrvBLDocProtocol, IOrvBLDocProtocol, IDispatch,
                                        ISupportErrorInfo, IOrvObjAsXmlString> {
public:
    // The scalars and embedded texts of one calculation. Clean resets all of
    // them except originatorType and number.
    struct Values {
        CY srednFromPrem{};
        LONG originatorType = 0;
        CY totBlSum2{};
        CY totSumForSredn2{};
        double usedProcent = 0.0;
        CY enteredPremiumSumm{};
        std::u16string xmlSrednFromPrem;
        std::u16string xmlPremProtocol;
        std::u16string xmlDirectPremProtocol;
        CY totSumForSredn{};
        CY totBlSum{};
        CY sumFromLowProc{};
        CY sumFromHighProc{};
        LONG stagYears = 0;
        CY secondSredn{};
        LONG payMonthCount = 0;
        CY limitSum{};
        LONG lengthBeforeLoweringProc = 0;
        LONG lengthAfterLoweringProc = 0;
        VARIANT_BOOL ifSrednHBEntered = VARIANT_FALSE;
        VARIANT_BOOL ifProcentHBEntered = VARIANT_FALSE;
        VARIANT_BOOL if32TypeAndProcHBChanged = VARIANT_FALSE;
        VARIANT_BOOL if1p12PremHBEntered = VARIANT_FALSE;
        LONG historyCount = 0;
        CY firstFactSredn{};
        VARIANT_BOOL calcInDays = VARIANT_FALSE;
        VARIANT_BOOL calendarValues = VARIANT_FALSE;
        LONG blUsedHours = 0;
        VARIANT_BOOL calcFromOkladOrTarif = VARIANT_FALSE;
        LONG blUsedDays = 0;
        DATE dn = 0.0;
        DATE dk = 0.0;
        LONG sType = 0;
        std::u16string number;
        LONG blUsedProcent = 0;
        VARIANT_BOOL calcType2011 = VARIANT_FALSE;
    };

    // Creates the history and pay-month lists (the outside list component);
    // without it the object cannot be created.
    HRESULT FinalConstruct();
    static bool SupportsErrorInfo(REFIID riid) {
        return riid == IID_IOrvBLDocProtocol || riid == IID_IOrvObjAsXmlString;
    }

    // ---------------------------------------------------- IOrvBLDocProtocol
    HRESULT get_CalcFromOkladOrTarif(VARIANT_BOOL* pVal) override { return Get(&Values::calcFromOkladOrTarif, pVal); }
    HRESULT put_CalcFromOkladOrTarif(VARIANT_BOOL newVal) override { return Put(&Values::calcFromOkladOrTarif, newVal); }
    HRESULT get_CalcInDays(VARIANT_BOOL* pVal) override { return Get(&Values::calcInDays, pVal); }
    HRESULT put_CalcInDays(VARIANT_BOOL newVal) override { return Put(&Values::calcInDays, newVal); }
    HRESULT get_If32TypeAndProcHBChanged(VARIANT_BOOL* pVal) override { return Get(&Values::if32TypeAndProcHBChanged, pVal); }
    HRESULT put_If32TypeAndProcHBChanged(VARIANT_BOOL newVal) override { return Put(&Values::if32TypeAndProcHBChanged, newVal); }
    HRESULT get_IfSrednHBEntered(VARIANT_BOOL* pVal) override { return Get(&Values::ifSrednHBEntered, pVal); }
    HRESULT put_IfSrednHBEntered(VARIANT_BOOL newVal) override { return Put(&Values::ifSrednHBEntered, newVal); }
    HRESULT get_If1p12PremHBEntered(VARIANT_BOOL* pVal) override { return Get(&Values::if1p12PremHBEntered, pVal); }
    HRESULT put_If1p12PremHBEntered(VARIANT_BOOL newVal) override { return Put(&Values::if1p12PremHBEntered, newVal); }
    HRESULT get_IfProcentHBEntered(VARIANT_BOOL* pVal) override { return Get(&Values::ifProcentHBEntered, pVal); }
    HRESULT put_IfProcentHBEntered(VARIANT_BOOL newVal) override { return Put(&Values::ifProcentHBEntered, newVal); }
    HRESULT get_FirstFactSredn(CY* pVal) override { return Get(&Values::firstFactSredn, pVal); }
    HRESULT put_FirstFactSredn(CY newVal) override { return Put(&Values::firstFactSredn, newVal); }
    HRESULT get_SecondSredn(CY* pVal) override { return Get(&Values::secondSredn, pVal); }
    HRESULT put_SecondSredn(CY newVal) override { return Put(&Values::secondSredn, newVal); }
    HRESULT get_SumFromHighProc(CY* pVal) override { return Get(&Values::sumFromHighProc, pVal); }
    HRESULT put_SumFromHighProc(CY newVal) override { return Put(&Values::sumFromHighProc, newVal); }
    HRESULT get_SumFromLowProc(CY* pVal) override { return Get(&Values::sumFromLowProc, pVal); }
    HRESULT put_SumFromLowProc(CY newVal) override { return Put(&Values::sumFromLowProc, newVal); }
    HRESULT get_TotSumForSredn(CY* pVal) override { return Get(&Values::totSumForSredn, pVal); }
    HRESULT put_TotSumForSredn(CY newVal) override { return Put(&Values::totSumForSredn, newVal); }
    HRESULT get_TotBlSum(CY* pVal) override { return Get(&Values::totBlSum, pVal); }
    HRESULT put_TotBlSum(CY newVal) override { return Put(&Values::totBlSum, newVal); }
    HRESULT get_LimitSum(CY* pVal) override { return Get(&Values::limitSum, pVal); }
    HRESULT put_LimitSum(CY newVal) override { return Put(&Values::limitSum, newVal); }
    HRESULT get_LengthBeforeLoweringProc(LONG* pVal) override { return Get(&Values::lengthBeforeLoweringProc, pVal); }
    HRESULT put_LengthBeforeLoweringProc(LONG newVal) override { return Put(&Values::lengthBeforeLoweringProc, newVal); }
    HRESULT get_LengthAfterLoweringProc(LONG* pVal) override { return Get(&Values::lengthAfterLoweringProc, pVal); }
    HRESULT put_LengthAfterLoweringProc(LONG newVal) override { return Put(&Values::lengthAfterLoweringProc, newVal); }
    HRESULT get_BlUsedProcent(LONG* pVal) override { return Get(&Values::blUsedProcent, pVal); }
    HRESULT put_BlUsedProcent(LONG newVal) override { return Put(&Values::blUsedProcent, newVal); }
    HRESULT get_StagYears(LONG* pVal) override { return Get(&Values::stagYears, pVal); }
    HRESULT put_StagYears(LONG newVal) override { return Put(&Values::stagYears, newVal); }
    HRESULT get_BlUsedDays(LONG* pVal) override { return Get(&Values::blUsedDays, pVal); }
    HRESULT put_BlUsedDays(LONG newVal) override { return Put(&Values::blUsedDays, newVal); }
    HRESULT get_BlUsedHours(LONG* pVal) override { return Get(&Values::blUsedHours, pVal); }
    HRESULT put_BlUsedHours(LONG newVal) override { return Put(&Values::blUsedHours, newVal); }
    HRESULT get_HistoryCount(LONG* pVal) override { return Get(&Values::historyCount, pVal); }
    HRESULT put_HistoryCount(LONG newVal) override { return Put(&Values::historyCount, newVal); }
    HRESULT get_PayMonthCount(LONG* pVal) override { return Get(&Values::payMonthCount, pVal); }
    HRESULT put_PayMonthCount(LONG newVal) override { return Put(&Values::payMonthCount, newVal); }
    HRESULT get_CalendarValues(VARIANT_BOOL* pVal) override { return Get(&Values::calendarValues, pVal); }
    HRESULT put_CalendarValues(VARIANT_BOOL newVal) override { return Put(&Values::calendarValues, newVal); }
    HRESULT get_XmlSrednFromPrem(BSTR* pVal) override { return GetText(&Values::xmlSrednFromPrem, pVal); }
    HRESULT put_XmlSrednFromPrem(BSTR newVal) override { return PutText(&Values::xmlSrednFromPrem, newVal); }
    HRESULT get_XmlPremProtocol(BSTR* pVal) override { return GetText(&Values::xmlPremProtocol, pVal); }
    HRESULT put_XmlPremProtocol(BSTR newVal) override { return PutText(&Values::xmlPremProtocol, newVal); }
    HRESULT get_EnteredPremiumSumm(CY* pVal) override { return Get(&Values::enteredPremiumSumm, pVal); }
    HRESULT put_EnteredPremiumSumm(CY newVal) override { return Put(&Values::enteredPremiumSumm, newVal); }
    HRESULT get_UsedProcent(double* pVal) override { return Get(&Values::usedProcent, pVal); }
    HRESULT put_UsedProcent(double newVal) override { return Put(&Values::usedProcent, newVal); }
    HRESULT get_TotSumForSredn2(CY* pVal) override { return Get(&Values::totSumForSredn2, pVal); }
    HRESULT put_TotSumForSredn2(CY newVal) override { return Put(&Values::totSumForSredn2, newVal); }
    HRESULT get_TotBlSum2(CY* pVal) override { return Get(&Values::totBlSum2, pVal); }
    HRESULT put_TotBlSum2(CY newVal) override { return Put(&Values::totBlSum2, newVal); }
    HRESULT get_OriginatorType(LONG* pVal) override { return Get(&Values::originatorType, pVal); }
    HRESULT put_OriginatorType(LONG newVal) override { return Put(&Values::originatorType, newVal); }
    HRESULT get_SrednFromPrem(CY* pVal) override { return Get(&Values::srednFromPrem, pVal); }
    HRESULT put_SrednFromPrem(CY newVal) override { return Put(&Values::srednFromPrem, newVal); }
    HRESULT get_Dn(DATE* pVal) override { return Get(&Values::dn, pVal); }
    HRESULT put_Dn(DATE newVal) override { return Put(&Values::dn, newVal); }
    HRESULT get_Dk(DATE* pVal) override { return Get(&Values::dk, pVal); }
    HRESULT put_Dk(DATE newVal) override { return Put(&Values::dk, newVal); }
    HRESULT get_SType(LONG* pVal) override { return Get(&Values::sType, pVal); }
    HRESULT put_SType(LONG newVal) override { return Put(&Values::sType, newVal); }
    HRESULT get_Number(BSTR* pVal) override { return GetText(&Values::number, pVal); }
    HRESULT put_Number(BSTR newVal) override { return PutText(&Values::number, newVal); }
    HRESULT get_CalcType2011(VARIANT_BOOL* pVal) override { return Get(&Values::calcType2011, pVal); }
    HRESULT put_CalcType2011(VARIANT_BOOL newVal) override { return Put(&Values::calcType2011, newVal); }
    HRESULT get_XmlDirectPremProtocol(BSTR* pVal) override { return GetText(&Values::xmlDirectPremProtocol, pVal); }
    HRESULT put_XmlDirectPremProtocol(BSTR newVal) override { return PutText(&Values::xmlDirectPremProtocol, newVal); }

    HRESULT AddHistoryItem(IUnknown* punkHistoryItem) override;
    HRESULT AddPayMonthItem(IUnknown* punkPayMonthItem) override;
    HRESULT get_HistoryList(IUnknown** pVal) override;
    HRESULT get_PayMonthList(IUnknown** pVal) override;
    HRESULT Clean() override;
    HRESULT SetAccessType(IUnknown* punkOrvBD) override;
    HRESULT CleanUpHistory() override;
    HRESULT CleanUpPayMonthsAfter(DATE dtStartToClean) override;
    HRESULT get_xmlProtocol(IUnknown** pVal) override;
    HRESULT put_xmlProtocol(IUnknown* newVal) override;
    HRESULT GetAccessType(LONG* pVal) override;

    // --------------------------------------------------- IOrvObjAsXmlString
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

    // ------------------------------------------- for the sick-leave document
    // Sets the access type (0 or 1 as given; callers pass 0 or 1).
    void SetAccess(LONG accessType) noexcept;
    // FullString put with a DOM document to parse in: S_OK, or E_INVALIDARG
    // (nothing changed) for a text that is not XML. Raises on failing calls.
    HRESULT ParseText(IXMLDOMDocument* scratch, std::u16string_view text);
    // Makes node the protocol element, as if this object had written it.
    void SetElement(IXMLDOMNode* node);
    // Fills the object from a legacy protocol record (LegacyRecord.cpp): the
    // short layout below 686 bytes, the long one from 686 bytes on. A record
    // shorter than the short layout's 586 bytes is refused with E_INVALIDARG
    // and nothing changes.
    HRESULT FillFromLegacyRecord(const unsigned char* bytes, std::size_t size);

    // Sizes of the legacy protocol record.
    static constexpr std::size_t kShortRecordSize = 586;
    static constexpr std::size_t kLongRecordSize = 686;

private:
    template <class T>
    HRESULT Get(T Values::*member, T* pVal) {
        if (!pVal) return E_POINTER;
        auto lock = Lock();
        *pVal = values_.*member;
        return S_OK;
    }
    template <class T>
    HRESULT Put(T Values::*member, T value) {
        auto lock = Lock();
        values_.*member = value;
        return S_OK;
    }
    HRESULT GetText(std::u16string Values::*member, BSTR* pVal);
    HRESULT PutText(std::u16string Values::*member, BSTR newVal);

    // Writes the object into a new "BLPR5" element of xml (the protocol
    // element from then on).
    void Serialise(IXMLDOMDocument* xml);
    // Creates the DOM service; its failure is reported with message 117.
    static HRESULT NewXml(ComPtr<IXMLDOMDocument>* xml);
    // Empties a list of the list component.
    static void Empty(IOrvUnknownList* list);

    Values values_;
    LONG accessType_ = 0;
    ComPtr<IOrvUnknownList> history_;
    ComPtr<IOrvUnknownList> payMonths_;
    ComPtr<IXMLDOMNode> element_;  // the "BLPR5" of the last serialisation
    ComPtr<IXMLDOMNode> keptZero_;  // "BLPROTOCOL" of AT 0 when this is not ours
    ComPtr<IXMLDOMNode> keptOther_;  // "BLPROTOCOL" of another access type
};

}  // namespace orv
