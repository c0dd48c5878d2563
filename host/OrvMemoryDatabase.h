// The host's database service: the object a host hands to documents as
// OrvBD. It keeps document records (304 bytes), extension bodies and sum
// collectors by database address, numbering tables, and the reference data the
// library asks for (settings, access type, tariff table, reference lists,
// employees, months and traces) in a store (host/store/Store.h): SQLite, in a
// file or in memory. Two classes share this one implementation:
//   CLSID_OrvMemoryDatabase  starts open on a new in-memory store ("memory");
//                            Open(any name) opens a new, empty one;
//   CLSID_OrvDatabase        starts closed; Open(path) opens (creating when
//                            missing) the store file at path, ":memory:" a new
//                            in-memory store.
//
// Interfaces: IOrvDatabase (main, dual), IOrvDocStore (the document store),
// IOrvNumbering (number lookup, dual), IOrvReferenceSource (reference lists and
// the tariff table, served by an aggregated OrvStoreReference) and
// IOrvMemoryDatabase (the host's own view: attaching settings and session,
// looking at what is stored, history, loading and exporting).
//
// Storing (IOrvDocStore::UpdateDocument, reached through a document's Update)
// follows the document's record condition:
//   1, or a database address of 0  new: the store gives it the next address
//                                  (1, 2, ...), time stamp 1;
//   2  changed: the record at the document's address is replaced when the
//      document's time stamp equals the stored one (else
//      ORV_E_DOCUMENT_CHANGED: someone stored it since it was read), and the
//      time stamp goes up by one; an address the store does not hold is
//      taken as given (a document from elsewhere, e.g. read from XML);
//   0  unchanged: nothing is stored;
//   3  delete: the stored document goes; the document's address and time
//      stamp become 0;
//   other values are refused with E_INVALIDARG.
// Each store is one transaction of the store (a savepoint inside an open
// transaction of the host), and the version it replaces or deletes is kept in
// the history. After a store the document gets its address and time stamp
// and its record condition is cleared. The extension body and its length are
// stored for a new document always, for a changed one only when its
// ExtensionInitialized is set (an extension never read is not written over the
// stored one). The sum collectors the document holds replace the stored ones;
// each is kept as its "SMS" element (IOrvObjAsXmlString), so later changes of
// the document's collectors do not reach the store before the next Update.
// Walking the collectors moves the document's collector enumeration.
//
// Filling (slots 3, 4, 6): a document stored here gets the stored body and
// length (Body put, then Length put), or an empty extension (Clear) when none
// was stored; the result long is 1. A document the store does not hold (address
// 0 or unknown) keeps its extension and the result long is 0. Slot 7 attaches
// a new collector (CLSID_OrvSumCollector, filled from the kept element) for
// every stored one through AddSumCollector; collectors the document already
// holds under other identifiers stay.
//
// Channels and transactions: OpenPipe gives channel numbers 1, 2, ...; the
// document operations accept any channel number (the library passes the
// host's on unchanged, negative ones included). One transaction at a time:
// BeginTransaction on an open channel opens a write transaction of the store,
// which every store of the service joins until CommitTransaction or
// RollbackTransaction; closing the channel rolls an open transaction back.
// Addresses given out are never given again by the process, rolled back or not.
//
// Every failure the service decides itself sets LastError and the thread's
// error information. Thread-safe: the service holds its lock only around its
// own state and never while it calls into a document, so documents may call
// it while holding their own locks, from any thread.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/document.h>

#include <memory>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

inline constexpr CLSID CLSID_OrvMemoryDatabase = {0x1C5FB0B6, 0xFC90, 0x47E6, {0x90, 0x38, 0x86, 0xF9, 0xF3, 0x5C, 0x25, 0xFD}};
inline constexpr CLSID CLSID_OrvDatabase = {0x5D85BF58, 0x5471, 0x4325, {0xAF, 0x4D, 0xFB, 0xB2, 0x7F, 0xFE, 0x83, 0xDA}};
inline constexpr IID IID_IOrvMemoryDatabase = {0x6E885C7F, 0x76E4, 0x4DB4, {0x8E, 0x9E, 0xBD, 0xA7, 0x84, 0x13, 0xB1, 0x64}};

// A changed document whose stored copy was stored again since it was read.
inline constexpr HRESULT ORV_E_DOCUMENT_CHANGED = MAKE_HRESULT(1, FACILITY_ITF, 0x0201);

// The host's view of the database service (custom).
struct IOrvMemoryDatabase : IUnknown {
    // slot 3: the object IOrvDatabase::get_Settings gives (null: the
    // service's own store-backed settings object).
    virtual HRESULT SetSettings(IUnknown* punkSettings) = 0;
    // slot 4: the object IOrvDatabase::get_Session gives (null: the service's
    // own store-backed session).
    virtual HRESULT SetSession(IUnknown* punkSession) = 0;
    // slot 5: the number of stored documents.
    virtual HRESULT get_DocumentCount(LONG* pVal) = 0;
    // slot 6: the address of the lIndex-th stored document in ascending
    // address order; E_INVALIDARG past the end.
    virtual HRESULT GetAddress(LONG lIndex, ULONG* pulDbAddr) = 0;
    // slot 7: what is stored at an address: the 304-byte record, the extension
    // body (a byte string, null when none), its length and the time stamp;
    // S_FALSE with nulls and zeros when nothing is stored there. Any out-pointer
    // may be null.
    virtual HRESULT GetStored(ULONG ulDbAddr, BSTR* pbstrRecord, BSTR* pbstrBody, LONG* plLength,
                              ULONG* pulTimeStamp) = 0;
    // slot 8: the number of collectors stored with the document at an address.
    virtual HRESULT GetStoredCollectorCount(ULONG ulDbAddr, LONG* plCount) = 0;
    // slot 9: removes every stored document (numbering tables and reference
    // data stay; the history keeps the documents).
    virtual HRESULT RemoveAll() = 0;
    // slot 10: loads the store's text form ("ORVSTORE", docs/store.md) into
    // the store, in one transaction: nothing is loaded when any part fails.
    virtual HRESULT ImportText(BSTR bstrXml) = 0;
    // slot 11: the whole store (without history) in the text form ImportText reads.
    virtual HRESULT ExportText(BSTR* pbstrXml) = 0;
    // slot 12: the number of kept earlier versions of the document at an address.
    virtual HRESULT GetVersionCount(ULONG ulDbAddr, LONG* plCount) = 0;
    // slot 13: kept version lIndex (0 the oldest): its time stamp, when it was
    // replaced, by which operating-system user and process, what replaced it
    // ("change", "delete", "restore") and its record. E_INVALIDARG past the
    // end; any out-pointer may be null.
    virtual HRESULT GetVersion(ULONG ulDbAddr, LONG lIndex, ULONG* pulTimeStamp, DATE* pdtReplaced, BSTR* pbstrUser,
                               LONG* plProcessId, BSTR* pbstrOperation, BSTR* pbstrRecord) = 0;
    // slot 14: makes the kept version with the time stamp the latest again
    // under a new time stamp (what it replaces is kept); S_FALSE when no
    // version with that stamp is kept.
    virtual HRESULT RestoreVersion(ULONG ulDbAddr, ULONG ulTimeStamp, ULONG* pulNewTimeStamp) = 0;
    // slot 15: the bytes the store takes.
    virtual HRESULT GetStoreSize(LONGLONG* pllBytes) = 0;
    // slot 16: the storage engine's integrity check: "ok" or its findings.
    virtual HRESULT CheckIntegrity(BSTR* pbstrResult) = 0;
    // slot 17: the extension of kept version lIndex (0 the oldest) as it was
    // stored: its body (a byte string, null when it had none) and length.
    // E_INVALIDARG past the end; any out-pointer may be null.
    virtual HRESULT GetVersionExtension(ULONG ulDbAddr, LONG lIndex, BSTR* pbstrBody, LONG* plLength) = 0;
};
ORV_DECLARE_IID(IOrvMemoryDatabase);

namespace orv::host {

class StoreSlot;
class OrvStoreNumberTable;

// The service, one class per starting behaviour (see above).
template <const CLSID* Clsid>
class OrvDatabaseService
    : public CoClass<OrvDatabaseService<Clsid>, Clsid, IOrvDatabase, IDispatch, IOrvDocStore, IOrvNumbering,
                     IOrvMemoryDatabase, Aggregated<IOrvReferenceSource>, Aggregated<IOrvMonthSource>, ISupportErrorInfo> {
    using Base = CoClass<OrvDatabaseService<Clsid>, Clsid, IOrvDatabase, IDispatch, IOrvDocStore, IOrvNumbering,
                         IOrvMemoryDatabase, Aggregated<IOrvReferenceSource>, Aggregated<IOrvMonthSource>, ISupportErrorInfo>;

public:
    static bool SupportsErrorInfo(REFIID riid) {
        return riid == IID_IOrvDatabase || riid == IID_IOrvDocStore || riid == IID_IOrvNumbering ||
               riid == IID_IOrvMemoryDatabase;
    }
    HRESULT FinalConstruct();
    void FinalRelease();
    IUnknown* InnerUnknown(REFIID riid) noexcept {
        return riid == IID_IOrvMonthSource ? months_.Get() : reference_.Get();
    }

    // ------------------------------------------------ IOrvDatabase (main)
    // The in-memory class opens a new, empty store under any source name; the
    // file class opens the store file named (":memory:" for one in memory).
    // An open store is closed first. A file that is not a store, a store
    // from a newer build or a read-only file is refused with its own status
    // and text (host/store/Store.h) and the service stays closed.
    HRESULT Open(BSTR bstrSource) override;
    // Closes the store (an open transaction is rolled back).
    HRESULT Close() override;
    HRESULT get_IsOpen(VARIANT_BOOL* pVal) override;
    HRESULT get_Source(BSTR* pVal) override;
    HRESULT OpenPipe(LONG* plPipeId) override;
    // E_INVALIDARG for a channel that is not open.
    HRESULT ClosePipe(LONG lPipeId) override;
    HRESULT BeginTransaction(LONG lPipeId) override;
    HRESULT CommitTransaction(LONG lPipeId) override;
    HRESULT RollbackTransaction(LONG lPipeId) override;
    // The text of the last failure this service decided (empty when none).
    HRESULT get_LastError(BSTR* pVal) override;
    // The attached settings object, or the service's own (OrvStoreSettings).
    HRESULT get_Settings(IUnknown** ppunkSettings) override;
    // A new document (class OrvDocument) of the type code, marked new
    // (MakeAsNew) and connected to this service.
    HRESULT NewDocument(LONG lPipeId, LONG lDcType, IUnknown** ppunkDoc) override;
    // A new document object holding the record stored at address lDocId,
    // with that address and time stamp, connected to this service; its
    // extension and collectors come with InitInnerDocExtension and
    // InitCollectors. Null and S_FALSE when nothing is stored there.
    HRESULT GetDocument(LONG lPipeId, LONG lDocId, IUnknown** ppunkDoc) override;
    // S_FALSE when nothing is stored at the address; the history keeps it.
    HRESULT DeleteDocument(LONG lPipeId, LONG lDocId) override;
    // The stored documents of type lDcType (0: every type) whose period meets
    // dtFrom..dtTo, in address order, as an IOrvUnknownList of documents made
    // as by GetDocument. A date of 0 leaves that side open, on the window and
    // on a document's period alike. An employee object (IOrvEmployee) limits
    // the list to its documents and those tied to no employee.
    HRESULT GetDocuments(LONG lPipeId, IUnknown* punkSotr, LONG lDcType, DATE dtFrom, DATE dtTo,
                         IUnknown** ppunkList) override;
    // The stored employee as an OrvStoreEmployee; null and S_FALSE when none.
    HRESULT GetEmployee(LONG lPipeId, LONG lEmployeeId, IUnknown** ppunkSotr) override;
    HRESULT FindEmployee(LONG lPipeId, BSTR bstrTabNum, IUnknown** ppunkSotr) override;
    // 1, 2, 3, ... over the store's life.
    HRESULT NewId(LONG lPipeId, LONG* plId) override;
    HRESULT get_WorkMonth(DATE* pVal) override;
    HRESULT put_WorkMonth(DATE newVal) override;
    // Always false: a store that cannot be written is not opened.
    HRESULT get_ReadOnly(VARIANT_BOOL* pVal) override;
    // The attached session object, or the service's own (OrvStoreSession).
    HRESULT get_Session(IUnknown** ppunkSession) override;

    // --------------------------------------------------------- IOrvDocStore
    HRESULT GetDocExtension(LONG lPipeId, IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult) override;
    HRESULT InitDocExtension(LONG lPipeId, IOrvDocument* pDoc, LONG* plResult) override;
    HRESULT UpdateDocument(LONG lPipeId, IUnknown* punkDoc) override;
    HRESULT InitDocExtensionNoPipe(IOrvDocument* pDoc, LONG* plResult) override;
    HRESULT InitCollectors(LONG lPipeId, IUnknown* punkDoc) override;

    // -------------------------------------------------------- IOrvNumbering
    // Numbering tables by identifier; table 0 exists from the start and is
    // the default. GetTable makes a missing table. The same table object is
    // handed out for an identifier while the service lives.
    HRESULT get_Count(LONG* pVal) override;
    HRESULT GetTable(LONG lTableId, IUnknown** ppunkTable) override;
    HRESULT get_DefaultTableId(LONG* pVal) override;
    HRESULT put_DefaultTableId(LONG newVal) override;
    HRESULT get_NumberTable(IUnknown** ppunkTable) override;

    // --------------------------------------------------- IOrvMemoryDatabase
    HRESULT SetSettings(IUnknown* punkSettings) override;
    HRESULT SetSession(IUnknown* punkSession) override;
    HRESULT get_DocumentCount(LONG* pVal) override;
    HRESULT GetAddress(LONG lIndex, ULONG* pulDbAddr) override;
    HRESULT GetStored(ULONG ulDbAddr, BSTR* pbstrRecord, BSTR* pbstrBody, LONG* plLength,
                      ULONG* pulTimeStamp) override;
    HRESULT GetStoredCollectorCount(ULONG ulDbAddr, LONG* plCount) override;
    HRESULT RemoveAll() override;
    HRESULT ImportText(BSTR bstrXml) override;
    HRESULT ExportText(BSTR* pbstrXml) override;
    HRESULT GetVersionCount(ULONG ulDbAddr, LONG* plCount) override;
    HRESULT GetVersion(ULONG ulDbAddr, LONG lIndex, ULONG* pulTimeStamp, DATE* pdtReplaced, BSTR* pbstrUser,
                       LONG* plProcessId, BSTR* pbstrOperation, BSTR* pbstrRecord) override;
    HRESULT RestoreVersion(ULONG ulDbAddr, ULONG ulTimeStamp, ULONG* pulNewTimeStamp) override;
    HRESULT GetStoreSize(LONGLONG* pllBytes) override;
    HRESULT CheckIntegrity(BSTR* pbstrResult) override;
    HRESULT GetVersionExtension(ULONG ulDbAddr, LONG lIndex, BSTR* pbstrBody, LONG* plLength) override;

private:
    // Sets LastError and the error information; returns hr.
    HRESULT Fail(HRESULT hr, const char16_t* text, REFIID iid) noexcept;
    // Runs a body that uses the store: store failures set LastError too.
    template <class F>
    HRESULT Serve(REFIID iid, F&& body) noexcept;
    // Fills a document's extension from the store (slots 3, 4, 6).
    HRESULT FillExtension(IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult, REFIID iid) noexcept;
    // A new document object connected to this service holding a stored record.
    ComPtr<IUnknown> MakeDocument(ULONG address, const std::array<unsigned char, 304>& record, ULONG timeStamp);
    // The numbering table object of an identifier (made when missing).
    ComPtr<IUnknown> Table(LONG id);
    // The store-backed settings or session object, made on first need.
    ComPtr<IUnknown> Own(ComPtr<IUnknown>& cache, bool settings);

    std::shared_ptr<StoreSlot> slot_;
    ComPtr<IUnknown> reference_;  // the aggregated OrvStoreReference
    ComPtr<IUnknown> months_;     // the aggregated OrvStoreMonths

    // Everything below is guarded by the object's lock.
    std::u16string source_;
    std::u16string lastError_;
    LONG nextPipe_ = 1;
    std::set<LONG> pipes_;
    LONG transactionPipe_ = 0;  // 0: no transaction of the host is open
    ComPtr<IUnknown> settings_, session_;        // attached by the host
    ComPtr<IUnknown> ownSettings_, ownSession_;  // the service's own
    std::map<LONG, ComPtr<IUnknown>> tables_;
};

extern template class OrvDatabaseService<&CLSID_OrvMemoryDatabase>;
extern template class OrvDatabaseService<&CLSID_OrvDatabase>;

// Starts open on a new in-memory store.
using OrvMemoryDatabase = OrvDatabaseService<&CLSID_OrvMemoryDatabase>;
// Starts closed; Open(path) opens a store file.
using OrvDatabase = OrvDatabaseService<&CLSID_OrvDatabase>;

// A database service (CLSID_OrvDatabase) open on the store at path; the
// status and text of a refused store come back through the error information.
HRESULT OpenDatabase(const std::u16string& path, IOrvDatabase** ppDatabase) noexcept;

}  // namespace orv::host
