// Collections: the document list with its enumerator, and the numbered list
// of reference entries.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvDocList = {0x4EAF7A63, 0xAFB4, 0x11D3, {0xB8, 0xF1, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvENUMDocuments = {0xEFB73BA5, 0x615C, 0x4DEC, {0xA1, 0xDD, 0x1A, 0xB2, 0xA4, 0xCA, 0xD9, 0x20}};
inline constexpr IID IID_IOrvInstanceList = {0x76576C49, 0xCBEF, 0x11D3, {0xB8, 0xFB, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The documents of one employee, in insertion order (dual, dispids in brackets).
struct IOrvDocList : IDispatch {
    virtual HRESULT AddItem(IUnknown* punkDocument, LONG* plResult) = 0;                                     // [1]
    virtual HRESULT Next(IUnknown** ppunkDocument, LONG* plResult) = 0;                                      // [2]
    virtual HRESULT Reset() = 0;                                                                             // [3]
    virtual HRESULT NextT0OnDate(LONG lT0, DATE dtDate, IUnknown** ppunkDocument, LONG* plResult) = 0;        // [4]
    virtual HRESULT LockList() = 0;                                                                          // [5]
    virtual HRESULT UnlockList() = 0;                                                                        // [6]
    virtual HRESULT get_DocumentOnId(LONG lDocId, IUnknown** pVal) = 0;                                      // [7]
    virtual HRESULT NextT0InPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) = 0; // [8]
    virtual HRESULT NextT0CoveredByPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd,
                                          IUnknown** ppunkDocument) = 0;                                     // [9]
    virtual HRESULT AddItemToFront(IUnknown* punkDocument, LONG* plResult) = 0;                              // [10]
    virtual HRESULT RemoveDocument(IUnknown* punkDocument) = 0;                                              // [11]
    virtual HRESULT NextT0CoveringPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd,
                                         IUnknown** ppunkDocument) = 0;                                      // [12]
    virtual HRESULT Replace(IUnknown* punkOldDoc, IUnknown* pUnkNewDoc) = 0;                                 // [13]
    virtual HRESULT get_DocumentOnSOId(LONG Index, IUnknown** pVal) = 0;                                     // [14]
    virtual HRESULT Clone(IUnknown** ppunkDocList) = 0;                                                      // [15]
    virtual HRESULT CreateNewList(IUnknown** ppunkDocList) = 0;                                              // [16]
    virtual HRESULT Next2(IUnknown** ppunkDocument) = 0;                                                     // [17]
    virtual HRESULT NextT0InPeriod2(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IDispatch** ppdispDocument) = 0; // [18]
    virtual HRESULT NextT0InPeriod3(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IDispatch** ppdispDocument) = 0; // [19]
    virtual HRESULT GetChildrenPipedString(BSTR* pbstrChildren) = 0;                                         // [20]
    virtual HRESULT GetFirstEnterDate(IUnknown* punkSotr, DATE* pdtEnterDate) = 0;                           // [21]
    virtual HRESULT GetResignationDate(IUnknown* punkSotr, DATE* pdtResDate) = 0;                            // [22]
    virtual HRESULT GetEnterDateFromTds(DATE dtOnDate, DATE* pdtEnterDate) = 0;                              // [23]
    virtual HRESULT IsInvalidOnDate(DATE dtInDate, LONG* pLongInvalidStatus) = 0;                            // [24]
    virtual HRESULT GetResignationDateOnDate(IUnknown* punkSotr, DATE dtOnDate, DATE* pdtResDate) = 0;       // [25]
    virtual HRESULT GetNdflStatusInPeriod(IUnknown* punkSotr, DATE dtMonth, DATE dtIncludedEnd, LONG Param,
                                          LONG* pResignMask, LONG* res) = 0;                                 // [26]
    virtual HRESULT IsInvalidOnDate2(IUnknown* punkSotr, DATE dtInDate, VARIANT_BOOL CheckResignationInMonth,
                                     LONG* pLongInvalidStatus) = 0;                                          // [27]
    virtual HRESULT CorrectDateWithResignationInMonth(IUnknown* punkSotr, DATE dtInDate,
                                                      DATE* pdtNewInDate) = 0;                               // [28]
    virtual HRESULT GetAccountsToHide(IUnknown* pOrvSotr, IUnknown* pAccountList, DATE dtOnDate, LONG lPipe,
                                      IDispatch** pHiddedAccounts) = 0;                                      // [29]
    virtual HRESULT GetFrgnStatusOnDate(LONG iPipe, DATE dtOnDate, LONG papam, LONG* pStatus) = 0;           // [30]
    virtual HRESULT GetPercentFromDocWithId(LONG Id, CY* pPercent) = 0;                                      // [31]
};
ORV_DECLARE_IID(IOrvDocList);
ORV_TYPEINFO_DECL(IOrvDocList);

// An enumerator over a document list with its own cursor (custom, slots 3 to 6).
struct IOrvENUMDocuments : IUnknown {
    virtual HRESULT Reset() = 0;
    virtual HRESULT Next(IUnknown** punkDocument) = 0;
    virtual HRESULT NextT0InPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) = 0;
    virtual HRESULT NextT0OnDate(LONG lT0, DATE dtDate, IUnknown** pUnk, LONG* plResult) = 0;
};
ORV_DECLARE_IID(IOrvENUMDocuments);

// A numbered list of reference entries of one table (dual, dispids in brackets).
struct IOrvInstanceList : IDispatch {
    virtual HRESULT Reset() = 0;                                                          // [1]
    virtual HRESULT AddItem(IUnknown* punkItem) = 0;                                      // [2]
    virtual HRESULT Next(IUnknown** ppunkItem) = 0;                                       // [3]
    virtual HRESULT get_Item(LONG lItemCode, IUnknown** pVal) = 0;                        // [4]
    virtual HRESULT FindItem(BSTR Name, IUnknown** ppunkItem) = 0;                        // [5]
    virtual HRESULT GetMaxIndex(LONG* plIndex) = 0;                                       // [6]
    virtual HRESULT FindByCode(BSTR Code, IUnknown** ppunkItem) = 0;                      // [7]
    virtual HRESULT get_ListID(LONG* pVal) = 0;                                           // [8]
    virtual HRESULT put_ListID(LONG newVal) = 0;                                          // [8]
    virtual HRESULT StoreEntry(IUnknown* punkOrvBD, BSTR bstrName, BSTR bstrCode, LONG* pIndex) = 0; // [9]
    virtual HRESULT FindByCodeAndName(BSTR Name, BSTR Code, IUnknown** ppunkItem) = 0;    // [10]
    virtual HRESULT GetPipedString(LONG lParam, BSTR* pResult) = 0;                       // [11]
    virtual HRESULT StoreEntryPiped(LONG lPipeId, IUnknown* punkOrvBD, BSTR bstrName, BSTR bstrCode,
                                    LONG* pIndex) = 0;                                    // [12]
    virtual HRESULT Next2(IDispatch** pItem) = 0;                                         // [13]
    virtual HRESULT FindByCode2(BSTR Code, IDispatch** pItem) = 0;                        // [14]
};
ORV_DECLARE_IID(IOrvInstanceList);
ORV_TYPEINFO_DECL(IOrvInstanceList);
