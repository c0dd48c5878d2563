// The document list: the documents of one employee in a fixed order, found by
// identifier, removed, replaced and copied; its own cursor and the tear-off
// enumerators that select documents by type and period; the XML forms; and
// the personnel answers worked out from the documents it holds.
//
// The members are defined by topic:
//   OrvDocList.cpp           entries, finding, removing, replacing, copying, cursor steps
//   OrvDocListXml.cpp        ShortString, FullString, ParseIn, ParseFrom
//   OrvDocListPersonnel.cpp  hire and resignation dates, disability, tax status,
//                            children, percentage, accounts to hide
#pragma once

#include "frame/com.h"
#include "lists/DocSequence.h"
#include "lists/Selection.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/document.h>
#include <orvdocs/typelib/lists.h>
#include <orvdocs/typelib/xmlstring.h>


namespace orv {

class OrvENUMDocuments;

class OrvDocList
    : public CoClass<OrvDocList, &CLSID_OrvDocList, IOrvDocList, IDispatch, ISupportErrorInfo, IOrvObjAsXmlString,
                     IOrvObjAsXmlStringD, TearOff<IOrvENUMDocuments, OrvENUMDocuments>> {
public:
    void FinalRelease();

    // ------------------------------------------------- entries and finding
    HRESULT AddItem(IUnknown* punkDocument, LONG* plResult) override;
    HRESULT AddItemToFront(IUnknown* punkDocument, LONG* plResult) override;
    HRESULT get_DocumentOnId(LONG lDocId, IUnknown** pVal) override;
    HRESULT get_DocumentOnSOId(LONG Index, IUnknown** pVal) override;
    HRESULT RemoveDocument(IUnknown* punkDocument) override;
    HRESULT Replace(IUnknown* punkOldDoc, IUnknown* pUnkNewDoc) override;
    HRESULT Clone(IUnknown** ppunkDocList) override;
    HRESULT CreateNewList(IUnknown** ppunkDocList) override;
    HRESULT LockList() override;
    HRESULT UnlockList() override;

    // ------------------------------------------------- the list's cursor
    HRESULT Reset() override;
    HRESULT Next(IUnknown** ppunkDocument, LONG* plResult) override;
    HRESULT Next2(IUnknown** ppunkDocument) override;
    HRESULT NextT0OnDate(LONG lT0, DATE dtDate, IUnknown** ppunkDocument, LONG* plResult) override;
    HRESULT NextT0InPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) override;
    HRESULT NextT0CoveredByPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) override;
    HRESULT NextT0CoveringPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) override;
    HRESULT NextT0InPeriod2(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IDispatch** ppdispDocument) override;
    HRESULT NextT0InPeriod3(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IDispatch** ppdispDocument) override;

    // ------------------------------------------------- personnel answers
    HRESULT GetChildrenPipedString(BSTR* pbstrChildren) override;
    HRESULT GetFirstEnterDate(IUnknown* punkSotr, DATE* pdtEnterDate) override;
    HRESULT GetResignationDate(IUnknown* punkSotr, DATE* pdtResDate) override;
    HRESULT GetEnterDateFromTds(DATE dtOnDate, DATE* pdtEnterDate) override;
    HRESULT IsInvalidOnDate(DATE dtInDate, LONG* pLongInvalidStatus) override;
    HRESULT GetResignationDateOnDate(IUnknown* punkSotr, DATE dtOnDate, DATE* pdtResDate) override;
    HRESULT GetNdflStatusInPeriod(IUnknown* punkSotr, DATE dtMonth, DATE dtIncludedEnd, LONG Param, LONG* pResignMask,
                                  LONG* res) override;
    HRESULT IsInvalidOnDate2(IUnknown* punkSotr, DATE dtInDate, VARIANT_BOOL CheckResignationInMonth,
                             LONG* pLongInvalidStatus) override;
    HRESULT CorrectDateWithResignationInMonth(IUnknown* punkSotr, DATE dtInDate, DATE* pdtNewInDate) override;
    HRESULT GetAccountsToHide(IUnknown* pOrvSotr, IUnknown* pAccountList, DATE dtOnDate, LONG lPipe,
                              IDispatch** pHiddedAccounts) override;
    HRESULT GetFrgnStatusOnDate(LONG iPipe, DATE dtOnDate, LONG papam, LONG* pStatus) override;
    HRESULT GetPercentFromDocWithId(LONG Id, CY* pPercent) override;

    // ------------------------------------------------------- the XML forms
    // The short form is written only (put: E_NOTIMPL). Reading the full form
    // replaces the entries only when every document was read; a text that is
    // not XML leaves the list as it was.
    HRESULT get_ShortString(BSTR* pVal) override;
    HRESULT put_ShortString(BSTR newVal) override;
    HRESULT get_FullString(BSTR* pVal) override;
    HRESULT put_FullString(BSTR newVal) override;
    HRESULT ParseIn(IUnknown* spRoot, LONG lMode) override;
    HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) override;

    // ------------------------------------------- for the enumerators
    // A cursor at the first entry (the end for an empty list).
    lists::EntryRef FirstEntry();
    // One step of a cursor under the list's lock: the next entry from the
    // cursor that passes the selection is handed out (one counted reference)
    // and the cursor moved past it; S_FALSE and the cursor at the end when
    // none is left. An empty entry gives E_UNEXPECTED and a failing document
    // its status, with the cursor on that entry.
    HRESULT Step(lists::EntryRef* cursor, const lists::Selection& selection, IUnknown** found);

private:
    // Caller holds the lock.
    HRESULT StepLocked(lists::EntryRef* cursor, const lists::Selection& selection, IUnknown** found);
    HRESULT Add(IUnknown* punkDocument, LONG* plResult, bool front);
    HRESULT Find(HRESULT (IOrvDocument::*field)(LONG*), LONG value, IUnknown** pVal);
    // The filtered step of the list's own cursor.
    HRESULT StepFiltered(lists::PeriodTest test, LONG type, DATE start, DATE end, IUnknown** found);
    // The document interface of an entry, raising when it has none.
    static IOrvDocument* DocumentOf(const lists::DocEntry* entry);
    // Calls visit(document) for each entry in order while it returns true
    // (caller holds the lock).
    template <class F>
    void ForEachDocument(F&& visit) {
        for (lists::DocEntry* entry = sequence_.First(); entry; entry = entry->next)
            if (!visit(DocumentOf(entry))) return;
    }
    // The first entry whose field equals value (caller holds the lock).
    lists::DocEntry* FindEntry(HRESULT (IOrvDocument::*field)(LONG*), LONG value);
    // Appends a new entry; for the list's own copies and reading.
    void Push(ComPtr<IUnknown> identity, ComPtr<IOrvDocument> document) {
        sequence_.PushBack(std::move(identity), std::move(document));
    }

    // Personnel steps (caller holds the lock).
    DATE ResignationDate(IUnknown* punkSotr, bool onDate, DATE dtOnDate);
    DATE EnterDateFromContracts(DATE dtOnDate);
    DATE FirstEnterDate(IUnknown* punkSotr);
    IOrvDateService* Dates();

    lists::DocSequence sequence_;
    lists::EntryRef cursor_;           // the list's own cursor; null at the end
    ComPtr<IOrvDateService> dates_;    // created on first need
    LONG lockHolds_ = 0;               // LockList calls not yet undone
};

}  // namespace orv

#include "lists/OrvENUMDocuments.h"
