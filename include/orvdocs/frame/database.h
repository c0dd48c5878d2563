// Interfaces of the database service: the object a host hands to documents,
// months and lists through their OrvBD property. The library asks it for the
// interfaces below with QueryInterface.
//
// Each member is commented with its vtable slot (0 to 2 are IUnknown's, 3 to
// 6 IDispatch's in a dual interface) and, where the library calls it, the byte
// offset of that slot in a 32-bit vtable and what the library relies on. The
// members the library does not call keep those slots filled; their meaning is
// this implementation's own (docs/outside.md).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

struct IOrvDocument;

inline constexpr IID IID_IOrvDatabase = {0xB98F10A5, 0x70BD, 0x11D3, {0xB8, 0xCF, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvDocStore = {0xF256D1B0, 0xBB76, 0x11D3, {0xB8, 0xF8, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvNumbering = {0x3D1591B0, 0x9910, 0x11D3, {0xB8, 0xE4, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvNumberTable = {0x0F21F930, 0x9FF1, 0x11D3, {0xB8, 0xE9, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvSession = {0x44EA52B4, 0x8B39, 0x4B7D, {0x91, 0x23, 0x18, 0x1D, 0x6D, 0x83, 0xA9, 0x13}};
inline constexpr IID IID_IOrvReferenceSource = {0xE4BDDBF1, 0x94EE, 0x11D3, {0xB8, 0xE3, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvMonthSource = {0x976F7D62, 0x7D94, 0x11D3, {0xB8, 0xD2, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The database service's main interface (dual). `lPipeId` everywhere is the
// host's channel number, which the library passes on unchanged.
struct IOrvDatabase : IDispatch {
    virtual HRESULT Open(BSTR bstrSource) = 0;                                    // slot 7
    virtual HRESULT Close() = 0;                                                  // slot 8
    virtual HRESULT get_IsOpen(VARIANT_BOOL* pVal) = 0;                           // slot 9
    virtual HRESULT get_Source(BSTR* pVal) = 0;                                   // slot 10
    virtual HRESULT OpenPipe(LONG* plPipeId) = 0;                                 // slot 11
    virtual HRESULT ClosePipe(LONG lPipeId) = 0;                                  // slot 12
    virtual HRESULT BeginTransaction(LONG lPipeId) = 0;                           // slot 13
    virtual HRESULT CommitTransaction(LONG lPipeId) = 0;                          // slot 14
    virtual HRESULT RollbackTransaction(LONG lPipeId) = 0;                        // slot 15
    virtual HRESULT get_LastError(BSTR* pVal) = 0;                                // slot 16
    // slot 17 (byte offset 0x44): the settings object; the library asks it
    // for IOrvSettings and IOrvCurrencyService.
    virtual HRESULT get_Settings(IUnknown** ppunkSettings) = 0;
    virtual HRESULT NewDocument(LONG lPipeId, LONG lDcType, IUnknown** ppunkDoc) = 0;   // slot 18
    virtual HRESULT GetDocument(LONG lPipeId, LONG lDocId, IUnknown** ppunkDoc) = 0;    // slot 19
    virtual HRESULT DeleteDocument(LONG lPipeId, LONG lDocId) = 0;                      // slot 20
    // slot 21: the employee's documents of one type code whose period meets dtFrom..dtTo.
    virtual HRESULT GetDocuments(LONG lPipeId, IUnknown* punkSotr, LONG lDcType, DATE dtFrom, DATE dtTo,
                                 IUnknown** ppunkList) = 0;
    virtual HRESULT GetEmployee(LONG lPipeId, LONG lEmployeeId, IUnknown** ppunkSotr) = 0;  // slot 22
    virtual HRESULT FindEmployee(LONG lPipeId, BSTR bstrTabNum, IUnknown** ppunkSotr) = 0; // slot 23
    virtual HRESULT NewId(LONG lPipeId, LONG* plId) = 0;                                   // slot 24
    virtual HRESULT get_WorkMonth(DATE* pVal) = 0;                                         // slot 25
    virtual HRESULT put_WorkMonth(DATE newVal) = 0;                                        // slot 26
    virtual HRESULT get_ReadOnly(VARIANT_BOOL* pVal) = 0;                                  // slot 27
    // slot 28 (byte offset 0x70): the user's session; the library asks it for
    // IOrvSession to learn the access type.
    virtual HRESULT get_Session(IUnknown** ppunkSession) = 0;
};
ORV_DECLARE_IID(IOrvDatabase);
ORV_TYPEINFO_DECL(IOrvDatabase);

// Storage of documents (custom). Every slot is called by the generic document.
struct IOrvDocStore : IUnknown {
    // slot 3: an extension object for the document in *ppunkExtension; the
    // long result goes back to the caller of GetDocExtension.
    virtual HRESULT GetDocExtension(LONG lPipeId, IOrvDocument* pDoc, IUnknown** ppunkExtension,
                                    LONG* plResult) = 0;
    // slot 4: fills the document's extension (InitInnerDocExtension, lPipeId >= 0).
    virtual HRESULT InitDocExtension(LONG lPipeId, IOrvDocument* pDoc, LONG* plResult) = 0;
    // slot 5: stores the document (Update).
    virtual HRESULT UpdateDocument(LONG lPipeId, IUnknown* punkDoc) = 0;
    // slot 6: as slot 4 without a channel (InitInnerDocExtension, lPipeId < 0).
    virtual HRESULT InitDocExtensionNoPipe(IOrvDocument* pDoc, LONG* plResult) = 0;
    // slot 7: attaches the document's sum collectors through AddSumCollector / ExSum.
    virtual HRESULT InitCollectors(LONG lPipeId, IUnknown* punkDoc) = 0;
};
ORV_DECLARE_IID(IOrvDocStore);

// Numbering tables of the database service (dual).
struct IOrvNumbering : IDispatch {
    virtual HRESULT get_Count(LONG* pVal) = 0;                                // slot 7: number of tables
    virtual HRESULT GetTable(LONG lTableId, IUnknown** ppunkTable) = 0;       // slot 8
    virtual HRESULT get_DefaultTableId(LONG* pVal) = 0;                       // slot 9
    virtual HRESULT put_DefaultTableId(LONG newVal) = 0;                      // slot 10
    // slot 11 (byte offset 0x2C): the default table; the library asks it for
    // IOrvNumberTable.
    virtual HRESULT get_NumberTable(IUnknown** ppunkTable) = 0;
};
ORV_DECLARE_IID(IOrvNumbering);
ORV_TYPEINFO_DECL(IOrvNumbering);

// One numbering table: a number for each key (custom).
struct IOrvNumberTable : IUnknown {
    virtual HRESULT get_Count(LONG* pVal) = 0;                                // slot 3
    virtual HRESULT GetEntry(LONG lIndex, LONG* plKey, LONG* plNumber) = 0;   // slot 4
    virtual HRESULT SetNumber(LONG lKey, LONG lNumber) = 0;                   // slot 5
    // slot 6 (byte offset 0x18): the number kept for a key (a document's T1);
    // 0 for none. A non-zero number prefixes the document's display text.
    virtual HRESULT GetNumber(LONG lKey, LONG* plNumber) = 0;
};
ORV_DECLARE_IID(IOrvNumberTable);

// The user's session with the database service (dual).
struct IOrvSession : IDispatch {
    virtual HRESULT get_UserId(LONG* pVal) = 0;                               // slot 7
    virtual HRESULT get_UserName(BSTR* pVal) = 0;                             // slot 8
    virtual HRESULT get_FullName(BSTR* pVal) = 0;                             // slot 9
    virtual HRESULT get_IsAdministrator(VARIANT_BOOL* pVal) = 0;              // slot 10
    virtual HRESULT CanRead(LONG lDcType, VARIANT_BOOL* pbAllowed) = 0;       // slot 11
    virtual HRESULT CanWrite(LONG lDcType, VARIANT_BOOL* pbAllowed) = 0;      // slot 12
    virtual HRESULT CanDelete(LONG lDcType, VARIANT_BOOL* pbAllowed) = 0;     // slot 13
    virtual HRESULT get_DepartmentFilter(BSTR* pVal) = 0;                     // slot 14
    virtual HRESULT put_DepartmentFilter(BSTR newVal) = 0;                    // slot 15
    virtual HRESULT IsDepartmentVisible(LONG lDepNum, VARIANT_BOOL* pbVisible) = 0;  // slot 16
    virtual HRESULT get_OrganizationId(LONG* pVal) = 0;                       // slot 17
    virtual HRESULT put_OrganizationId(LONG newVal) = 0;                      // slot 18
    virtual HRESULT get_OrganizationName(BSTR* pVal) = 0;                     // slot 19
    virtual HRESULT get_WorkMonth(DATE* pVal) = 0;                            // slot 20
    virtual HRESULT put_WorkMonth(DATE newVal) = 0;                           // slot 21
    virtual HRESULT get_LoginTime(DATE* pVal) = 0;                            // slot 22
    virtual HRESULT get_HostName(BSTR* pVal) = 0;                             // slot 23
    virtual HRESULT get_SessionId(LONG* pVal) = 0;                            // slot 24
    virtual HRESULT LockDocument(LONG lDocId, VARIANT_BOOL* pbLocked) = 0;    // slot 25
    virtual HRESULT UnlockDocument(LONG lDocId) = 0;                          // slot 26
    virtual HRESULT UnlockAll() = 0;                                          // slot 27
    virtual HRESULT get_ReadOnly(VARIANT_BOOL* pVal) = 0;                     // slot 28
    virtual HRESULT put_ReadOnly(VARIANT_BOOL newVal) = 0;                    // slot 29
    // slot 30 (byte offset 0x78): the calculation the user works on; non-zero
    // gives a protocol or sick-leave document the access type 1, zero 0.
    virtual HRESULT get_AccessType(LONG* pVal) = 0;
};
ORV_DECLARE_IID(IOrvSession);
ORV_TYPEINFO_DECL(IOrvSession);

// Reference tables of the database service (dual). A table is named by its
// list identifier; an entry answers IOrvRefItem. Most operations come in two
// forms, without a channel and with one ("Piped").
struct IOrvReferenceSource : IDispatch {
    virtual HRESULT get_ListCount(LONG* pVal) = 0;                                                // slot 7
    virtual HRESULT GetListName(LONG lListId, BSTR* pbstrName) = 0;                               // slot 8
    virtual HRESULT GetList(LONG lListId, IUnknown** ppunkList) = 0;                              // slot 9
    virtual HRESULT GetListPiped(LONG lPipeId, LONG lListId, IUnknown** ppunkList) = 0;           // slot 10
    virtual HRESULT GetEntry(LONG lIndex, LONG lListId, IUnknown** ppunkEntry) = 0;               // slot 11
    // slot 12 (byte offset 0x30): entry lIndex of table lListId, or null.
    virtual HRESULT GetEntryPiped(LONG lPipeId, LONG lIndex, LONG lListId, IUnknown** ppunkEntry) = 0;
    virtual HRESULT FindEntryByCode(LONG lListId, BSTR bstrCode, IUnknown** ppunkEntry) = 0;      // slot 13
    virtual HRESULT FindEntryByCodePiped(LONG lPipeId, LONG lListId, BSTR bstrCode,
                                         IUnknown** ppunkEntry) = 0;                              // slot 14
    virtual HRESULT FindEntryByName(LONG lListId, BSTR bstrName, IUnknown** ppunkEntry) = 0;      // slot 15
    virtual HRESULT FindEntryByNamePiped(LONG lPipeId, LONG lListId, BSTR bstrName,
                                         IUnknown** ppunkEntry) = 0;                              // slot 16
    virtual HRESULT GetMaxIndex(LONG lListId, LONG* plIndex) = 0;                                 // slot 17
    virtual HRESULT GetMaxIndexPiped(LONG lPipeId, LONG lListId, LONG* plIndex) = 0;              // slot 18
    virtual HRESULT UpdateEntry(IUnknown* punkEntry) = 0;                                         // slot 19
    virtual HRESULT UpdateEntryPiped(LONG lPipeId, IUnknown* punkEntry) = 0;                      // slot 20
    virtual HRESULT DeleteEntry(LONG lListId, LONG lIndex) = 0;                                   // slot 21
    virtual HRESULT DeleteEntryPiped(LONG lPipeId, LONG lListId, LONG lIndex) = 0;                // slot 22
    virtual HRESULT GetBank(LONG lBankId, IUnknown** ppunkBank) = 0;                              // slot 23
    virtual HRESULT GetBankPiped(LONG lPipeId, LONG lBankId, IUnknown** ppunkBank) = 0;           // slot 24
    virtual HRESULT StoreBank(IUnknown* punkBank, LONG* plBankId) = 0;                            // slot 25
    virtual HRESULT StoreBankPiped(LONG lPipeId, IUnknown* punkBank, LONG* plBankId) = 0;         // slot 26
    virtual HRESULT GetBankList(IUnknown** ppunkList) = 0;                                        // slot 27
    virtual HRESULT GetBankListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;                     // slot 28
    virtual HRESULT GetDepartment(LONG lDepNum, IUnknown** ppunkEntry) = 0;                       // slot 29
    virtual HRESULT GetDepartmentPiped(LONG lPipeId, LONG lDepNum, IUnknown** ppunkEntry) = 0;    // slot 30
    virtual HRESULT GetDepartmentList(IUnknown** ppunkList) = 0;                                  // slot 31
    virtual HRESULT GetDepartmentListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;               // slot 32
    virtual HRESULT GetPosition(LONG lPositionId, IUnknown** ppunkEntry) = 0;                     // slot 33
    virtual HRESULT GetPositionPiped(LONG lPipeId, LONG lPositionId, IUnknown** ppunkEntry) = 0;  // slot 34
    virtual HRESULT GetPositionList(IUnknown** ppunkList) = 0;                                    // slot 35
    virtual HRESULT GetPositionListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;                 // slot 36
    virtual HRESULT GetTariffTable(IUnknown** ppunkTariff) = 0;                                   // slot 37
    // slot 38 (byte offset 0x98): the salary-grade tariff table; the library
    // asks it for IOrvTariffTable.
    virtual HRESULT GetTariffTablePiped(LONG lPipeId, IUnknown** ppunkTariff) = 0;
    virtual HRESULT GetPayCode(LONG lCode, IUnknown** ppunkEntry) = 0;                            // slot 39
    virtual HRESULT GetPayCodePiped(LONG lPipeId, LONG lCode, IUnknown** ppunkEntry) = 0;         // slot 40
    // slot 41 (byte offset 164): creates and stores an entry of table lListId
    // and returns it (or null).
    virtual HRESULT CreateEntry(LONG lListId, BSTR bstrName, BSTR bstrCode, IUnknown** ppunkEntry) = 0;
    virtual HRESULT GetPayCodeList(IUnknown** ppunkList) = 0;                                     // slot 42
    virtual HRESULT GetPayCodeListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;                  // slot 43
    virtual HRESULT GetFinSource(LONG lFinSourceId, IUnknown** ppunkEntry) = 0;                   // slot 44
    virtual HRESULT GetFinSourcePiped(LONG lPipeId, LONG lFinSourceId, IUnknown** ppunkEntry) = 0;  // slot 45
    virtual HRESULT GetFinSourceList(IUnknown** ppunkList) = 0;                                   // slot 46
    virtual HRESULT GetFinSourceListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;                // slot 47
    virtual HRESULT GetCurrency(LONG lCurrencyId, IUnknown** ppunkEntry) = 0;                     // slot 48
    virtual HRESULT GetCurrencyPiped(LONG lPipeId, LONG lCurrencyId, IUnknown** ppunkEntry) = 0;  // slot 49
    virtual HRESULT GetCurrencyList(IUnknown** ppunkList) = 0;                                    // slot 50
    virtual HRESULT GetCurrencyListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;                 // slot 51
    virtual HRESULT GetAbsenceType(LONG lCode, IUnknown** ppunkEntry) = 0;                        // slot 52
    virtual HRESULT GetAbsenceTypePiped(LONG lPipeId, LONG lCode, IUnknown** ppunkEntry) = 0;     // slot 53
    virtual HRESULT GetAbsenceTypeList(IUnknown** ppunkList) = 0;                                 // slot 54
    virtual HRESULT GetAbsenceTypeListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;              // slot 55
    virtual HRESULT GetSchedule(LONG lScheduleId, IUnknown** ppunkEntry) = 0;                     // slot 56
    virtual HRESULT GetSchedulePiped(LONG lPipeId, LONG lScheduleId, IUnknown** ppunkEntry) = 0;  // slot 57
    virtual HRESULT GetScheduleList(IUnknown** ppunkList) = 0;                                    // slot 58
    virtual HRESULT GetScheduleListPiped(LONG lPipeId, IUnknown** ppunkList) = 0;                 // slot 59
    virtual HRESULT Refresh(LONG lListId) = 0;                                                    // slot 60
    virtual HRESULT RefreshPiped(LONG lPipeId, LONG lListId) = 0;                                 // slot 61
    virtual HRESULT get_CacheEnabled(VARIANT_BOOL* pVal) = 0;                                     // slot 62
    virtual HRESULT put_CacheEnabled(VARIANT_BOOL newVal) = 0;                                    // slot 63
    // slot 64 (byte offset 256): as slot 41 on a channel.
    virtual HRESULT CreateEntryPiped(LONG lPipeId, LONG lListId, BSTR bstrName, BSTR bstrCode,
                                     IUnknown** ppunkEntry) = 0;
};
ORV_DECLARE_IID(IOrvReferenceSource);
ORV_TYPEINFO_DECL(IOrvReferenceSource);

// Payroll months and their traces kept by the database service (dual). Lists
// come back as IOrvUnknownList objects; a date of 0 as an end means no end.
struct IOrvMonthSource : IDispatch {
    virtual HRESULT GetMonth(LONG lPipeId, IUnknown* punkSotr, DATE dtMonth, IUnknown** ppunkMonth) = 0;  // slot 7
    virtual HRESULT NewMonth(LONG lPipeId, IUnknown* punkSotr, DATE dtMonth, IUnknown** ppunkMonth) = 0;  // slot 8
    virtual HRESULT StoreMonth(LONG lPipeId, IUnknown* punkMonth) = 0;                                    // slot 9
    virtual HRESULT DeleteMonth(LONG lPipeId, IUnknown* punkMonth) = 0;                                   // slot 10
    virtual HRESULT GetMonthById(LONG lPipeId, LONG lMonthId, IUnknown** ppunkMonth) = 0;                 // slot 11
    virtual HRESULT GetFirstMonth(LONG lPipeId, IUnknown* punkSotr, IUnknown** ppunkMonth) = 0;           // slot 12
    virtual HRESULT GetLastMonth(LONG lPipeId, IUnknown* punkSotr, IUnknown** ppunkMonth) = 0;            // slot 13
    virtual HRESULT GetPreviousMonth(LONG lPipeId, IUnknown* punkMonth, IUnknown** ppunkPrevious) = 0;    // slot 14
    virtual HRESULT GetNextMonth(LONG lPipeId, IUnknown* punkMonth, IUnknown** ppunkNext) = 0;            // slot 15
    virtual HRESULT GetMonthCount(LONG lPipeId, IUnknown* punkSotr, LONG* plCount) = 0;                   // slot 16
    virtual HRESULT GetTraces(LONG lPipeId, IUnknown* punkMonth, IUnknown** ppunkList) = 0;               // slot 17
    virtual HRESULT GetTrace(LONG lPipeId, IUnknown* punkMonth, LONG lCode, IUnknown** ppunkTrace) = 0;   // slot 18
    virtual HRESULT NewTrace(LONG lPipeId, IUnknown* punkMonth, LONG lCode, IUnknown** ppunkTrace) = 0;   // slot 19
    virtual HRESULT StoreTrace(LONG lPipeId, IUnknown* punkTrace) = 0;                                    // slot 20
    virtual HRESULT DeleteTrace(LONG lPipeId, IUnknown* punkTrace) = 0;                                   // slot 21
    virtual HRESULT StoreTraces(LONG lPipeId, IUnknown* punkMonth, IUnknown* punkList) = 0;               // slot 22
    virtual HRESULT get_WorkMonth(DATE* pVal) = 0;                                                        // slot 23
    virtual HRESULT put_WorkMonth(DATE newVal) = 0;                                                       // slot 24
    virtual HRESULT IsMonthClosed(LONG lPipeId, DATE dtMonth, VARIANT_BOOL* pbClosed) = 0;                // slot 25
    virtual HRESULT CloseMonth(LONG lPipeId, DATE dtMonth) = 0;                                           // slot 26
    virtual HRESULT OpenMonth(LONG lPipeId, DATE dtMonth) = 0;                                            // slot 27
    virtual HRESULT GetDepartmentMonths(LONG lPipeId, LONG lDepNum, DATE dtMonth, IUnknown** ppunkList) = 0;  // slot 28
    virtual HRESULT GetYearMonths(LONG lPipeId, IUnknown* punkSotr, DATE dtYear, IUnknown** ppunkList) = 0;  // slot 29
    virtual HRESULT GetTaxTable(LONG lPipeId, DATE dtOnDate, IUnknown** ppunkTaxTable) = 0;               // slot 30
    virtual HRESULT GetMonthsWithoutTraces(LONG lPipeId, IUnknown* punkSotr, DATE dtFrom, DATE dtTo,
                                           IUnknown** ppunkList) = 0;                                     // slot 31
    // slot 32 (byte offset 128): the employee's months from dtFrom to dtTo
    // (0: no end), each with its traces, as a list of IOrvMonth objects.
    virtual HRESULT GetMonths(LONG lPipeId, IUnknown* punkSotr, DATE dtFrom, DATE dtTo, IUnknown** ppunkList) = 0;
};
ORV_DECLARE_IID(IOrvMonthSource);
ORV_TYPEINFO_DECL(IOrvMonthSource);
