// A database service kept in memory, for small jobs and tests: the object a
// host hands to documents as OrvBD. It keeps document records (304 bytes),
// extension bodies and sum collectors by database address, and a set of
// numbering tables. Nothing is written to disk.
//
// Interfaces: IOrvDatabase (main, dual), IOrvDocStore (the document store),
// IOrvNumbering (number lookup, dual) and IOrvMemoryDatabase (the host's own
// view: attaching settings and session, looking at what is stored).
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
// After a store the document gets its address and time stamp and its record
// condition is cleared. The extension body and its length are stored for a
// new document always, for a changed one only when its ExtensionInitialized is
// set (an extension never read is not written over the stored one). The sum
// collectors the document holds replace the stored ones; each is kept as its
// own copy (IOrvSumCollector::Clone), so later changes of the document's
// collectors do not reach the store before the next Update. Walking the
// collectors moves the document's collector enumeration.
//
// Filling (slots 3, 4, 6): a document stored here gets the stored body and
// length (Body put, then Length put), or an empty extension (Clear) when none
// was stored; the result long is 1. A document the store does not hold (address
// 0 or unknown) keeps its extension and the result long is 0. Slot 7 attaches
// a copy of every stored collector through AddSumCollector; collectors the
// document already holds under other identifiers stay.
//
// Channels and transactions: OpenPipe gives channel numbers 1, 2, ...; the
// document operations accept any channel number (the library passes the
// host's on unchanged, negative ones included). One transaction at a time:
// BeginTransaction on an open channel keeps a copy of the store,
// RollbackTransaction puts it back, CommitTransaction drops it; closing the
// channel rolls an open transaction back. Addresses given out are never
// given again, rolled back or not.
//
// Open, Close: the service starts open with the source name "memory". Close
// empties it and every document operation then fails with E_UNEXPECTED until
// Open (any source name) opens it again, empty.
//
// It keeps one employee's documents: GetDocuments does not filter by the
// employee, and GetEmployee / FindEmployee find nobody (null, S_FALSE).
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

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

inline constexpr CLSID CLSID_OrvMemoryDatabase = {0x1C5FB0B6, 0xFC90, 0x47E6, {0x90, 0x38, 0x86, 0xF9, 0xF3, 0x5C, 0x25, 0xFD}};
inline constexpr IID IID_IOrvMemoryDatabase = {0x6E885C7F, 0x76E4, 0x4DB4, {0x8E, 0x9E, 0xBD, 0xA7, 0x84, 0x13, 0xB1, 0x64}};

// A changed document whose stored copy was stored again since it was read.
inline constexpr HRESULT ORV_E_DOCUMENT_CHANGED = MAKE_HRESULT(1, FACILITY_ITF, 0x0201);

// The host's view of the in-memory database service (custom).
struct IOrvMemoryDatabase : IUnknown {
    // slot 3: the object IOrvDatabase::get_Settings gives (null: none).
    virtual HRESULT SetSettings(IUnknown* punkSettings) = 0;
    // slot 4: the object IOrvDatabase::get_Session gives (null: none).
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
    // slot 9: forgets every stored document (numbering tables stay).
    virtual HRESULT RemoveAll() = 0;
};
ORV_DECLARE_IID(IOrvMemoryDatabase);

namespace orv::host {

class OrvMemoryDatabase
    : public CoClass<OrvMemoryDatabase, &CLSID_OrvMemoryDatabase, IOrvDatabase, IDispatch, IOrvDocStore, IOrvNumbering,
                     IOrvMemoryDatabase, ISupportErrorInfo> {
public:
    static bool SupportsErrorInfo(REFIID riid) {
        return riid == IID_IOrvDatabase || riid == IID_IOrvDocStore || riid == IID_IOrvNumbering;
    }

    // ------------------------------------------------ IOrvDatabase (main)
    // Opens the store again (empty when it was closed) under a source name.
    HRESULT Open(BSTR bstrSource) override;
    // Empties and closes the store.
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
    // The attached settings object, or null with S_FALSE.
    HRESULT get_Settings(IUnknown** ppunkSettings) override;
    // A new document (class OrvDocument) of the type code, marked new
    // (MakeAsNew) and connected to this service.
    HRESULT NewDocument(LONG lPipeId, LONG lDcType, IUnknown** ppunkDoc) override;
    // A new document object holding the record stored at address lDocId,
    // with that address and time stamp, connected to this service; its
    // extension and collectors come with InitInnerDocExtension and
    // InitCollectors. Null and S_FALSE when nothing is stored there.
    HRESULT GetDocument(LONG lPipeId, LONG lDocId, IUnknown** ppunkDoc) override;
    // S_FALSE when nothing is stored at the address.
    HRESULT DeleteDocument(LONG lPipeId, LONG lDocId) override;
    // The stored documents of type lDcType (0: every type) whose period meets
    // dtFrom..dtTo, in address order, as an IOrvUnknownList of documents made
    // as by GetDocument. A date of 0 leaves that side open, on the window and
    // on a document's period alike.
    HRESULT GetDocuments(LONG lPipeId, IUnknown* punkSotr, LONG lDcType, DATE dtFrom, DATE dtTo,
                         IUnknown** ppunkList) override;
    HRESULT GetEmployee(LONG lPipeId, LONG lEmployeeId, IUnknown** ppunkSotr) override;
    HRESULT FindEmployee(LONG lPipeId, BSTR bstrTabNum, IUnknown** ppunkSotr) override;
    // 1, 2, 3, ... for the life of the object.
    HRESULT NewId(LONG lPipeId, LONG* plId) override;
    HRESULT get_WorkMonth(DATE* pVal) override;
    HRESULT put_WorkMonth(DATE newVal) override;
    // Always false.
    HRESULT get_ReadOnly(VARIANT_BOOL* pVal) override;
    // The attached session object, or null with S_FALSE.
    HRESULT get_Session(IUnknown** ppunkSession) override;

    // --------------------------------------------------------- IOrvDocStore
    HRESULT GetDocExtension(LONG lPipeId, IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult) override;
    HRESULT InitDocExtension(LONG lPipeId, IOrvDocument* pDoc, LONG* plResult) override;
    HRESULT UpdateDocument(LONG lPipeId, IUnknown* punkDoc) override;
    HRESULT InitDocExtensionNoPipe(IOrvDocument* pDoc, LONG* plResult) override;
    HRESULT InitCollectors(LONG lPipeId, IUnknown* punkDoc) override;

    // -------------------------------------------------------- IOrvNumbering
    // Numbering tables by identifier; table 0 exists from the start and is
    // the default. GetTable makes a missing table.
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

private:
    using Record = std::array<unsigned char, 304>;
    struct Extension {
        std::string bytes;  // the body, byte for byte
        LONG length = 0;    // what the document's Length said
        bool Empty() const noexcept { return bytes.empty() && length == 0; }
    };
    using Collectors = std::vector<std::pair<LONG, ComPtr<IUnknown>>>;
    struct Stored {
        Record record{};
        Extension extension;
        ULONG timeStamp = 0;
        Collectors collectors;  // copies owned by the store, never handed out
    };
    using Store = std::map<ULONG, Stored>;

    // Sets LastError and the error information; returns hr.
    HRESULT Fail(HRESULT hr, const char16_t* text, REFIID iid) noexcept;
    // E_UNEXPECTED (with LastError) when the store is closed. Takes the lock.
    HRESULT CheckOpen(REFIID iid) noexcept;
    // Fills a document's extension from the store (slots 3, 4, 6).
    HRESULT FillExtension(IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult, REFIID iid) noexcept;
    // A new document object connected to this service holding a stored record.
    ComPtr<IUnknown> MakeDocument(ULONG address, const Record& record, ULONG timeStamp);
    // The numbering table with the identifier, made when missing (lock held).
    ComPtr<IUnknown> Table(LONG id);

    // Everything below is guarded by the object's lock.
    bool open_ = true;
    std::u16string source_ = u"memory";
    std::u16string lastError_;
    Store store_;
    ULONG nextAddress_ = 1;
    LONG nextId_ = 1;
    LONG nextPipe_ = 1;
    std::set<LONG> pipes_;
    std::optional<Store> snapshot_;  // the store before the open transaction
    LONG transactionPipe_ = 0;
    DATE workMonth_ = 0.0;
    ComPtr<IUnknown> settings_, session_;
    std::map<LONG, ComPtr<IUnknown>> tables_;
    LONG defaultTable_ = 0;
};

}  // namespace orv::host
