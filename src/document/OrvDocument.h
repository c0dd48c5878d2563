// The generic payroll document: the 304-byte record with its typed
// properties, the fields kept beside it, the aggregated extension, the
// database service, the sum collectors and the XML form.
//
// IOrvDocument (custom) and IOrvDocumentDisp (dual) carry the same members:
// each override below implements both. The members are defined by topic:
//   record.cpp      record properties, the area rule and the type change rule
//   operations.cpp  OrvBD, specific objects, Clone, Compare, record condition
//   display.cpp     DisplayString
//   extension.cpp   the extension object and InitInnerDocExtension, GetDocExtension, Update
//   collectors.cpp  sum collectors and the year-based sum
//   xmlform.cpp     ParseIn, ParseFrom, FullString
#pragma once

#include "document/DocRecord.h"
#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/document.h>
#include <orvdocs/typelib/xmlstring.h>

#include <map>
#include <string>

namespace orv {

class OrvDocument
    : public CoClass<OrvDocument, &CLSID_OrvDocument, IOrvDocument, ISupportErrorInfo, Aggregated<IOrvDocExtension>,
                     IDispatch, IOrvDocumentDisp, IOrvObjAsXmlString> {
public:
    // Creates the document's extension object, aggregated with the document,
    // and starts with an all-zero record.
    HRESULT FinalConstruct();
    // Releases the date service, the collectors, the database service and the
    // extension, in this order.
    void FinalRelease();
    IUnknown* InnerUnknown(REFIID) noexcept { return extension_.Get(); }

    // ------------------------------------------------------- record fields
    HRESULT get_DocRecord(BSTR* pVal) override;
    HRESULT put_DocRecord(BSTR newVal) override;
    HRESULT get_lDcType(LONG* pVal) override;
    HRESULT put_lDcType(LONG newVal) override;
    HRESULT get_DcType(BSTR* pVal) override;
    HRESULT put_DcType(BSTR newVal) override;
    HRESULT get_dtDn(DATE* pVal) override;
    HRESULT put_dtDn(DATE newVal) override;
    HRESULT get_dtDk(DATE* pVal) override;
    HRESULT put_dtDk(DATE newVal) override;
    HRESULT get_EnteringDate(DATE* pVal) override;
    HRESULT put_EnteringDate(DATE newVal) override;
    HRESULT get_T1(LONG* pVal) override;
    HRESULT put_T1(LONG newVal) override;
    HRESULT get_lDcId(LONG* pVal) override;
    HRESULT put_lDcId(LONG newVal) override;
    HRESULT get_DcDat1(LONG* pVal) override;
    HRESULT put_DcDat1(LONG newVal) override;
    HRESULT get_Dfl(LONG* pVal) override;
    HRESULT put_Dfl(LONG newVal) override;
    HRESULT get_CodeShpz(SHORT* pVal) override;
    HRESULT put_CodeShpz(SHORT newVal) override;
    HRESULT get_CodeVidRab(SHORT* pVal) override;
    HRESULT put_CodeVidRab(SHORT newVal) override;
    HRESULT get_ProjectCode(SHORT* pVal) override;
    HRESULT put_ProjectCode(SHORT newVal) override;
    HRESULT get_CodeFinRoot(SHORT* pVal) override;
    HRESULT put_CodeFinRoot(SHORT newVal) override;
    HRESULT get_shAccsType(LONG* pVal) override;
    HRESULT put_shAccsType(LONG newVal) override;
    HRESULT get_StaffOrderId(LONG* pVal) override;
    HRESULT put_StaffOrderId(LONG newVal) override;
    HRESULT get_xlNewReserv(LONG* pVal) override;
    HRESULT put_xlNewReserv(LONG newVal) override;
    HRESULT get_DcOsn(BSTR* pVal) override;
    HRESULT put_DcOsn(BSTR newVal) override;
    HRESULT get_Memo(BSTR* pVal) override;
    HRESULT put_Memo(BSTR newVal) override;
    HRESULT get_Dcsum1(CY* pVal) override;
    HRESULT put_Dcsum1(CY newVal) override;
    HRESULT get_DcSum2(CY* pVal) override;
    HRESULT put_DcSum2(CY newVal) override;
    HRESULT get_DcSum3(CY* pVal) override;
    HRESULT put_DcSum3(CY newVal) override;
    HRESULT get_DcDolg(CY* pVal) override;
    HRESULT put_DcDolg(CY newVal) override;
    HRESULT get_DolgOld(CY* pVal) override;
    HRESULT put_DolgOld(CY newVal) override;
    HRESULT get_Dcms(SHORT shIndex, CY* pVal) override;
    HRESULT put_Dcms(SHORT shIndex, CY newVal) override;
    HRESULT get_lDcProc(LONG* pVal) override;
    HRESULT put_lDcProc(LONG newVal) override;
    HRESULT get_lDcdpod(LONG* pVal) override;
    HRESULT put_lDcdpod(LONG newVal) override;
    HRESULT get_LReserv2(LONG* pVal) override;
    HRESULT put_LReserv2(LONG newVal) override;
    HRESULT get_dcLong(LONG nIndex, LONG* pVal) override;
    HRESULT put_dcLong(LONG nIndex, LONG newVal) override;
    HRESULT get_dcShort(LONG nIndex, SHORT* pVal) override;
    HRESULT put_dcShort(LONG nIndex, SHORT newVal) override;
    HRESULT get_lDcRsrv(LONG nIndex, LONG* pVal) override;
    HRESULT put_lDcRsrv(LONG nIndex, LONG newVal) override;
    HRESULT get_LastModificationDate(DATE* pVal) override;
    HRESULT put_LastModificationDate(DATE newVal) override;
    HRESULT get_TemporaryEnd(DATE* pVal) override;
    HRESULT put_TemporaryEnd(DATE newVal) override;
    HRESULT get_AbsenteeTabno(BSTR* pVal) override;
    HRESULT put_AbsenteeTabno(BSTR newVal) override;
    HRESULT get_IsTemporary(VARIANT_BOOL* pVal) override;
    HRESULT put_IsTemporary(VARIANT_BOOL newVal) override;
    HRESULT get_RecalculationBlocked(VARIANT_BOOL* pVal) override;
    HRESULT put_RecalculationBlocked(VARIANT_BOOL newVal) override;
    HRESULT get_CurrencyId(LONG* pVal) override;
    HRESULT put_CurrencyId(LONG newVal) override;
    HRESULT get_Rate(CY* pVal) override;
    HRESULT put_Rate(CY newVal) override;

    // ------------------------------------------- fields beside the record
    HRESULT get_DB_ADDR(ULONG* pVal) override;
    HRESULT put_DB_ADDR(ULONG newVal) override;
    HRESULT get_TimeStamp(ULONG* pVal) override;
    HRESULT put_TimeStamp(ULONG newVal) override;
    HRESULT get_AT(LONG* pVal) override;
    HRESULT put_AT(LONG newVal) override;
    HRESULT get_RecalculationDate(DATE* pVal) override;
    HRESULT put_RecalculationDate(DATE newVal) override;
    HRESULT get_RecordCondition(LONG* pVal) override;
    HRESULT put_RecordCondition(LONG newVal) override;
    HRESULT get_SkipReadingDocExt(LONG* pVal) override;
    HRESULT put_SkipReadingDocExt(LONG newVal) override;
    HRESULT get_ExtensionInitialized(VARIANT_BOOL* pVal) override;
    HRESULT put_ExtensionInitialized(VARIANT_BOOL newVal) override;
    HRESULT get_IsConnectedToDB(VARIANT_BOOL* pVal) override;

    // --------------------------------------------- the document as a whole
    HRESULT get_OrvBD(IUnknown** pVal) override;
    HRESULT put_OrvBD(IUnknown* newVal) override;
    HRESULT GetSpecificObj(IUnknown** punkDocument) override;
    HRESULT GetSpecificObj2(IDispatch** pdispDocument) override;
    HRESULT Clone(IUnknown** ppunkDocument) override;
    HRESULT Compare(IUnknown* punkDocument) override;
    HRESULT get_DisplayString(BSTR* pVal) override;
    HRESULT MakeAsNew() override;
    HRESULT ClearRecordCondition() override;

    // ------------------------------------------------------- the extension
    HRESULT InitInnerDocExtension(LONG lPipeId, LONG* plResult) override;
    HRESULT GetDocExtension(LONG lPipeId, IUnknown** ppunkOrvDocExtension, LONG* plResult) override;
    HRESULT Update(LONG lPipeId) override;

    // ------------------------------------- sum collectors, year-based sum
    HRESULT AddSumCollector(LONG lId, IUnknown* pUnk) override;
    HRESULT get_ExSum(LONG lId, IUnknown** pVal) override;
    HRESULT put_ExSum(LONG lId, IUnknown* newVal) override;
    HRESULT ResetSumCollectors() override;
    HRESULT NextSumCollector(LONG* plId, IUnknown** ppUnk) override;
    HRESULT CleanSumCollectors() override;
    HRESULT InitCollectors(LONG lPipeId) override;
    HRESULT CalculateYearBasedSumOnDate(DATE dtOnDate, CY cyBaseSum, CY* pcyResult) override;

    // ------------------------------------------------------- the XML form
    // The short form does not exist (E_NOTIMPL); the full form is a stand-alone
    // "ORVDOCUMENT" element. A "DOCRECORD" of other than 608 characters is
    // refused with E_INVALIDARG and the document left as it was.
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

private:
    using CollectorMap = std::map<LONG, ComPtr<IUnknown>>;

    // Getter and setter bodies: check the out-pointer, hold the lock.
    template <class T, class F>
    HRESULT LockedGet(T* out, F&& read) noexcept {
        if (!out) return E_POINTER;
        return Locked([&] {
            *out = read();
            return S_OK;
        });
    }
    template <class F>
    HRESULT LockedPut(F&& write) noexcept {
        return Locked([&] {
            write();
            return S_OK;
        });
    }

    // The area the sum-like properties use now (caller holds the lock).
    SumArea Area() const noexcept { return AreaFor(at_, record_.TypeCode()); }
    // Dcsum1 as CURRENCY, its 64-bit form included (caller holds the lock).
    CY Dcsum1Value() const noexcept;
    // The extension object's interface (raises when it has none).
    ComPtr<IOrvDocExtension> Extension();
    // The document store of the database service, or null without a database
    // service; raises when the service does not answer it (caller holds the lock).
    ComPtr<IOrvDocStore> Store();
    // The date service, created on first need and kept (caller holds the lock).
    IOrvDateService* Dates();
    // The months, whole and partial, that the days first..last (day numbers,
    // both included) cover, counted with the date service.
    double CoveredMonths(LONG first, LONG last);
    // The text of a day number from the date service.
    std::u16string DayText(LONG dayNumber);
    // "(n) " for the number the database service keeps for T1, or nothing.
    std::u16string NumberPrefix();
    // The display text for the record's type (caller holds the lock).
    std::u16string BuildDisplayString();
    // Refuses a type change: reports the message and returns E_INVALIDARG.
    // Called without the lock.
    static HRESULT RefuseTypeChange() noexcept;

    ComPtr<IUnknown> extension_;  // the extension's own (inner) IUnknown
    ULONG dbAddr_ = 0;
    DATE recalculationDate_ = 0.0;
    LONG at_ = 0;
    DocRecord record_;
    ComPtr<IOrvDatabase> database_;
    ULONG timeStamp_ = 0;
    VARIANT_BOOL extensionInitialized_ = VARIANT_FALSE;
    SHORT skipReadingDocExt_ = 0;
    CollectorMap collectors_;
    CollectorMap::iterator position_ = collectors_.end();
    ComPtr<IOrvDateService> dates_;
    LONG recordCondition_ = 0;
};

}  // namespace orv
