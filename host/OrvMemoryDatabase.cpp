#include "host/OrvMemoryDatabase.h"

#include "frame/values.h"
#include "host/OrvUnknownList.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

#include <cstring>

namespace orv::host {
namespace {

// The numbering tables of the service; made only by the service, so their
// class identifier serves error reports alone.
constexpr CLSID CLSID_OrvNumberTable = {0xEAD3FA07, 0xBA41, 0x4987, {0x90, 0xAB, 0x82, 0x16, 0xF6, 0x0E, 0xDC, 0x70}};

// One numbering table: a number for each key; 0 is no number.
class OrvNumberTable : public CoClass<OrvNumberTable, &CLSID_OrvNumberTable, IOrvNumberTable> {
public:
    HRESULT get_Count(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        return Locked([&] {
            *pVal = static_cast<LONG>(numbers_.size());
            return S_OK;
        });
    }
    // The lIndex-th entry in ascending key order.
    HRESULT GetEntry(LONG lIndex, LONG* plKey, LONG* plNumber) override {
        if (!plKey || !plNumber) return E_POINTER;
        *plKey = *plNumber = 0;
        return Locked([&] {
            if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= numbers_.size()) return E_INVALIDARG;
            auto it = std::next(numbers_.begin(), lIndex);
            *plKey = it->first;
            *plNumber = it->second;
            return S_OK;
        });
    }
    // A number of 0 removes the key's entry.
    HRESULT SetNumber(LONG lKey, LONG lNumber) override {
        return Locked([&] {
            if (lNumber == 0)
                numbers_.erase(lKey);
            else
                numbers_[lKey] = lNumber;
            return S_OK;
        });
    }
    HRESULT GetNumber(LONG lKey, LONG* plNumber) override {
        if (!plNumber) return E_POINTER;
        return Locked([&] {
            auto it = numbers_.find(lKey);
            *plNumber = it == numbers_.end() ? 0 : it->second;
            return S_OK;
        });
    }

private:
    std::map<LONG, LONG> numbers_;
};

template <class I>
HRESULT Ask(IUnknown* from, ComPtr<I>* out) {
    return from->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
}

// A byte string of exactly the given bytes.
Bstr ByteString(const void* data, std::size_t size) {
    BSTR s = SysAllocStringByteLen(static_cast<const char*>(data), static_cast<UINT>(size));
    if (!s) throw std::bad_alloc();
    return Bstr::Attach(s);
}

// Little-endian 16-bit field of a record.
SHORT Field16(const std::array<unsigned char, 304>& r, std::size_t offset) {
    return static_cast<SHORT>(r[offset] | (r[offset + 1] << 8));
}

}  // namespace

// ------------------------------------------------------------- helpers

HRESULT OrvMemoryDatabase::Fail(HRESULT hr, const char16_t* text, REFIID iid) noexcept {
    {
        auto lock = Lock();
        try {
            lastError_ = text;
        } catch (...) {
        }
    }
    return ReportError(CLSID_OrvMemoryDatabase, text, 0, nullptr, iid, hr);
}

HRESULT OrvMemoryDatabase::CheckOpen(REFIID iid) noexcept {
    bool open;
    {
        auto lock = Lock();
        open = open_;
    }
    return open ? S_OK : Fail(E_UNEXPECTED, u"The database is not open", iid);
}

ComPtr<IUnknown> OrvMemoryDatabase::MakeDocument(ULONG address, const Record& record, ULONG timeStamp) {
    ComPtr<IOrvDocument> doc;
    Check(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                           reinterpret_cast<void**>(doc.GetAddressOf())),
          IID_IOrvDocument);
    Check(doc->put_DocRecord(ByteString(record.data(), record.size())), IID_IOrvDocument);
    Check(doc->put_DB_ADDR(address), IID_IOrvDocument);
    Check(doc->put_TimeStamp(timeStamp), IID_IOrvDocument);
    Check(doc->put_OrvBD(ControllingUnknown()), IID_IOrvDocument);
    ComPtr<IUnknown> unknown;
    Check(Ask(doc.Get(), &unknown), IID_IOrvDocument);
    return unknown;
}

ComPtr<IUnknown> OrvMemoryDatabase::Table(LONG id) {
    auto it = tables_.find(id);
    if (it != tables_.end()) return it->second;
    ComPtr<IOrvNumberTable> table;
    Check(CreateObject<OrvNumberTable>(&table), IID_IOrvNumberTable);
    ComPtr<IUnknown> unknown;
    Check(Ask(table.Get(), &unknown), IID_IOrvNumberTable);
    tables_.emplace(id, unknown);
    return unknown;
}

// ------------------------------------------------------ IOrvDatabase

HRESULT OrvMemoryDatabase::Open(BSTR bstrSource) {
    return Locked([&] {
        if (!open_) {
            store_.clear();
            snapshot_.reset();
            transactionPipe_ = 0;
        }
        open_ = true;
        source_.assign(bstrSource ? bstrSource : u"", SysStringLen(bstrSource));
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::Close() {
    Store dropped;  // released after the lock
    return Locked([&] {
        dropped.swap(store_);
        snapshot_.reset();
        transactionPipe_ = 0;
        open_ = false;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_IsOpen(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = open_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_Source(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = SysAllocStringLen(source_.data(), static_cast<UINT>(source_.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvMemoryDatabase::OpenPipe(LONG* plPipeId) {
    if (!plPipeId) return E_POINTER;
    *plPipeId = 0;
    return Locked([&] {
        const LONG id = nextPipe_++;
        pipes_.insert(id);
        *plPipeId = id;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::ClosePipe(LONG lPipeId) {
    std::optional<Store> dropped;
    HRESULT hr = Locked([&] {
        if (!pipes_.erase(lPipeId)) return E_INVALIDARG;
        if (snapshot_ && transactionPipe_ == lPipeId) {
            dropped.emplace(std::move(store_));
            store_ = std::move(*snapshot_);
            snapshot_.reset();
            transactionPipe_ = 0;
        }
        return S_OK;
    });
    if (hr == E_INVALIDARG) return Fail(hr, u"The channel is not open", IID_IOrvDatabase);
    return hr;
}

HRESULT OrvMemoryDatabase::BeginTransaction(LONG lPipeId) {
    const char16_t* refusal = nullptr;
    HRESULT hr = Locked([&] {
        if (!pipes_.count(lPipeId)) {
            refusal = u"The channel is not open";
            return E_INVALIDARG;
        }
        if (snapshot_) {
            refusal = u"A transaction is already open";
            return E_UNEXPECTED;
        }
        snapshot_.emplace(store_);
        transactionPipe_ = lPipeId;
        return S_OK;
    });
    return refusal ? Fail(hr, refusal, IID_IOrvDatabase) : hr;
}

HRESULT OrvMemoryDatabase::CommitTransaction(LONG lPipeId) {
    std::optional<Store> dropped;
    HRESULT hr = Locked([&] {
        if (!snapshot_ || transactionPipe_ != lPipeId) return E_UNEXPECTED;
        dropped = std::move(snapshot_);
        snapshot_.reset();
        transactionPipe_ = 0;
        return S_OK;
    });
    if (hr == E_UNEXPECTED) return Fail(hr, u"No transaction is open on the channel", IID_IOrvDatabase);
    return hr;
}

HRESULT OrvMemoryDatabase::RollbackTransaction(LONG lPipeId) {
    std::optional<Store> dropped;
    HRESULT hr = Locked([&] {
        if (!snapshot_ || transactionPipe_ != lPipeId) return E_UNEXPECTED;
        dropped.emplace(std::move(store_));
        store_ = std::move(*snapshot_);
        snapshot_.reset();
        transactionPipe_ = 0;
        return S_OK;
    });
    if (hr == E_UNEXPECTED) return Fail(hr, u"No transaction is open on the channel", IID_IOrvDatabase);
    return hr;
}

HRESULT OrvMemoryDatabase::get_LastError(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = SysAllocStringLen(lastError_.data(), static_cast<UINT>(lastError_.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvMemoryDatabase::get_Settings(IUnknown** ppunkSettings) {
    if (!ppunkSettings) return E_POINTER;
    *ppunkSettings = nullptr;
    return Locked([&] {
        settings_.CopyTo(ppunkSettings);
        return settings_ ? S_OK : S_FALSE;
    });
}

HRESULT OrvMemoryDatabase::NewDocument(LONG, LONG lDcType, IUnknown** ppunkDoc) {
    if (!ppunkDoc) return E_POINTER;
    *ppunkDoc = nullptr;
    if (HRESULT hr = CheckOpen(IID_IOrvDatabase); FAILED(hr)) return hr;
    return Guarded([&] {
        ComPtr<IOrvDocument> doc;
        Check(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                               reinterpret_cast<void**>(doc.GetAddressOf())),
              IID_IOrvDocument);
        if (lDcType != 0) Check(doc->put_lDcType(lDcType), IID_IOrvDocument);
        Check(doc->MakeAsNew(), IID_IOrvDocument);
        Check(doc->put_OrvBD(ControllingUnknown()), IID_IOrvDocument);
        Check(doc->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkDoc)), IID_IOrvDocument);
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetDocument(LONG, LONG lDocId, IUnknown** ppunkDoc) {
    if (!ppunkDoc) return E_POINTER;
    *ppunkDoc = nullptr;
    if (HRESULT hr = CheckOpen(IID_IOrvDatabase); FAILED(hr)) return hr;
    return Guarded([&] {
        const ULONG address = static_cast<ULONG>(lDocId);
        Record record;
        ULONG stamp;
        {
            auto lock = Lock();
            auto it = store_.find(address);
            if (it == store_.end()) return S_FALSE;
            record = it->second.record;
            stamp = it->second.timeStamp;
        }
        *ppunkDoc = MakeDocument(address, record, stamp).Detach();
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::DeleteDocument(LONG, LONG lDocId) {
    if (HRESULT hr = CheckOpen(IID_IOrvDatabase); FAILED(hr)) return hr;
    std::optional<Stored> dropped;
    return Locked([&] {
        auto it = store_.find(static_cast<ULONG>(lDocId));
        if (it == store_.end()) return S_FALSE;
        dropped.emplace(std::move(it->second));
        store_.erase(it);
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetDocuments(LONG, IUnknown*, LONG lDcType, DATE dtFrom, DATE dtTo,
                                        IUnknown** ppunkList) {
    if (!ppunkList) return E_POINTER;
    *ppunkList = nullptr;
    if (HRESULT hr = CheckOpen(IID_IOrvDatabase); FAILED(hr)) return hr;
    return Guarded([&] {
        const LONG from = DateToDayNumber(dtFrom);
        const LONG to = DateToDayNumber(dtTo);
        struct Found {
            ULONG address;
            Record record;
            ULONG stamp;
        };
        std::vector<Found> found;
        {
            auto lock = Lock();
            for (const auto& [address, stored] : store_) {
                const Record& r = stored.record;
                const LONG type = Field16(r, 2), dn = Field16(r, 8), dk = Field16(r, 10);
                if (lDcType != 0 && type != lDcType) continue;
                if (to != 0 && dn != 0 && dn > to) continue;
                if (from != 0 && dk != 0 && dk < from) continue;
                found.push_back({address, r, stored.timeStamp});
            }
        }
        ComPtr<IOrvUnknownList> list;
        Check(CreateObject<OrvUnknownList>(&list), IID_IOrvUnknownList);
        for (const Found& f : found)
            Check(list->Add(MakeDocument(f.address, f.record, f.stamp).Get()), IID_IOrvUnknownList);
        Check(list->Reset(), IID_IOrvUnknownList);
        Check(list->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkList)), IID_IOrvUnknownList);
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetEmployee(LONG, LONG, IUnknown** ppunkSotr) {
    if (!ppunkSotr) return E_POINTER;
    *ppunkSotr = nullptr;
    return S_FALSE;
}

HRESULT OrvMemoryDatabase::FindEmployee(LONG, BSTR, IUnknown** ppunkSotr) {
    if (!ppunkSotr) return E_POINTER;
    *ppunkSotr = nullptr;
    return S_FALSE;
}

HRESULT OrvMemoryDatabase::NewId(LONG, LONG* plId) {
    if (!plId) return E_POINTER;
    return Locked([&] {
        *plId = nextId_++;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_WorkMonth(DATE* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = workMonth_;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::put_WorkMonth(DATE newVal) {
    return Locked([&] {
        workMonth_ = newVal;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_ReadOnly(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return S_OK;
}

HRESULT OrvMemoryDatabase::get_Session(IUnknown** ppunkSession) {
    if (!ppunkSession) return E_POINTER;
    *ppunkSession = nullptr;
    return Locked([&] {
        session_.CopyTo(ppunkSession);
        return session_ ? S_OK : S_FALSE;
    });
}

// ------------------------------------------------------ IOrvDocStore

HRESULT OrvMemoryDatabase::FillExtension(IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult,
                                         REFIID iid) noexcept {
    if (!pDoc || !plResult) return E_POINTER;
    *plResult = 0;
    if (HRESULT hr = CheckOpen(iid); FAILED(hr)) return hr;
    return Guarded([&] {
        ULONG address = 0;
        Check(pDoc->get_DB_ADDR(&address), IID_IOrvDocument);
        bool stored = false;
        Extension extension;
        if (address != 0) {
            auto lock = Lock();
            auto it = store_.find(address);
            if (it != store_.end()) {
                stored = true;
                extension = it->second.extension;
            }
        }
        // The target: the document's own extension, or a new extension object.
        ComPtr<IOrvDocExtension> target;
        if (ppunkExtension) {
            Check(CoCreateInstance(CLSID_OrvDocExtension, nullptr, CLSCTX_ALL, IID_IOrvDocExtension,
                                   reinterpret_cast<void**>(target.GetAddressOf())),
                  IID_IOrvDocExtension);
        } else {
            Check(Ask(pDoc, &target), IID_IOrvDocument);
        }
        if (stored) {
            if (extension.Empty()) {
                Check(target->Clear(), IID_IOrvDocExtension);
            } else {
                Check(target->put_Body(ByteString(extension.bytes.data(), extension.bytes.size())),
                      IID_IOrvDocExtension);
                Check(target->put_Length(extension.length), IID_IOrvDocExtension);
            }
        }
        if (ppunkExtension) Check(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkExtension)));
        *plResult = stored ? 1 : 0;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetDocExtension(LONG, IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult) {
    if (!ppunkExtension) return E_POINTER;
    *ppunkExtension = nullptr;
    return FillExtension(pDoc, ppunkExtension, plResult, IID_IOrvDocStore);
}

HRESULT OrvMemoryDatabase::InitDocExtension(LONG, IOrvDocument* pDoc, LONG* plResult) {
    return FillExtension(pDoc, nullptr, plResult, IID_IOrvDocStore);
}

HRESULT OrvMemoryDatabase::InitDocExtensionNoPipe(IOrvDocument* pDoc, LONG* plResult) {
    return FillExtension(pDoc, nullptr, plResult, IID_IOrvDocStore);
}

HRESULT OrvMemoryDatabase::UpdateDocument(LONG, IUnknown* punkDoc) {
    if (!punkDoc) return E_POINTER;
    if (HRESULT hr = CheckOpen(IID_IOrvDocStore); FAILED(hr)) return hr;
    const char16_t* refusal = nullptr;
    HRESULT hr = Guarded([&] {
        ComPtr<IOrvDocument> doc;
        Check(Ask(punkDoc, &doc), IID_IOrvDocument);
        LONG condition = 0;
        ULONG address = 0, stamp = 0;
        Check(doc->get_RecordCondition(&condition), IID_IOrvDocument);
        Check(doc->get_DB_ADDR(&address), IID_IOrvDocument);
        Check(doc->get_TimeStamp(&stamp), IID_IOrvDocument);

        if (condition == 3) {  // delete
            std::optional<Stored> dropped;
            if (address != 0) {
                auto lock = Lock();
                auto it = store_.find(address);
                if (it != store_.end()) {
                    dropped.emplace(std::move(it->second));
                    store_.erase(it);
                }
            }
            Check(doc->put_DB_ADDR(0), IID_IOrvDocument);
            Check(doc->put_TimeStamp(0), IID_IOrvDocument);
            Check(doc->ClearRecordCondition(), IID_IOrvDocument);
            return S_OK;
        }
        if (condition < 0 || condition > 3) {
            refusal = u"Unknown record condition";
            return E_INVALIDARG;
        }
        const bool isNew = condition == 1 || address == 0;
        if (!isNew && condition == 0) return S_OK;  // unchanged: nothing to store

        // Everything is read from the document before the store changes.
        Stored incoming;
        {
            Bstr record;
            Check(doc->get_DocRecord(record.ReleaseAndGetAddressOf()), IID_IOrvDocument);
            if (record.ByteLength() < incoming.record.size()) {
                refusal = u"The document gave a record shorter than 304 bytes";
                return E_UNEXPECTED;
            }
            std::memcpy(incoming.record.data(), record.Get(), incoming.record.size());
        }
        VARIANT_BOOL initialized = VARIANT_FALSE;
        Check(doc->get_ExtensionInitialized(&initialized), IID_IOrvDocument);
        const bool takeExtension = isNew || initialized != VARIANT_FALSE;
        if (takeExtension) {
            ComPtr<IOrvDocExtension> extension;
            Check(Ask(doc.Get(), &extension), IID_IOrvDocument);
            Bstr body;
            Check(extension->get_Length(&incoming.extension.length), IID_IOrvDocExtension);
            Check(extension->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
            incoming.extension.bytes.assign(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
        }
        Check(doc->ResetSumCollectors(), IID_IOrvDocument);
        for (;;) {
            LONG id = 0;
            ComPtr<IUnknown> held;
            if (Check(doc->NextSumCollector(&id, held.GetAddressOf()), IID_IOrvDocument) != S_OK) break;
            ComPtr<IOrvSumCollector> collector;
            if (!held || FAILED(Ask(held.Get(), &collector))) {
                refusal = u"A sum collector of the document cannot be copied";
                return E_NOINTERFACE;
            }
            ComPtr<IUnknown> copy;
            Check(collector->Clone(copy.GetAddressOf()), IID_IOrvSumCollector);
            if (!copy) {
                refusal = u"A sum collector of the document gave no copy";
                return E_UNEXPECTED;
            }
            incoming.collectors.emplace_back(id, std::move(copy));
        }

        Stored replaced;  // released after the lock
        {
            auto lock = Lock();
            auto it = isNew ? store_.end() : store_.find(address);
            if (isNew) {
                address = nextAddress_++;
                if (nextAddress_ == 0) nextAddress_ = 1;
                incoming.timeStamp = 1;
                it = store_.emplace(address, std::move(incoming)).first;
            } else if (it == store_.end()) {
                incoming.timeStamp = stamp != 0 ? stamp : 1;
                if (address >= nextAddress_) nextAddress_ = address + 1 != 0 ? address + 1 : 1;
                it = store_.emplace(address, std::move(incoming)).first;
            } else {
                Stored& stored = it->second;
                if (stored.timeStamp != stamp) {
                    refusal = u"The document was stored again since it was read";
                    return ORV_E_DOCUMENT_CHANGED;
                }
                incoming.timeStamp = stamp + 1 != 0 ? stamp + 1 : 1;
                if (!takeExtension) incoming.extension = std::move(stored.extension);
                replaced = std::move(stored);
                stored = std::move(incoming);
            }
            stamp = it->second.timeStamp;
        }
        Check(doc->put_DB_ADDR(address), IID_IOrvDocument);
        Check(doc->put_TimeStamp(stamp), IID_IOrvDocument);
        Check(doc->ClearRecordCondition(), IID_IOrvDocument);
        return S_OK;
    });
    return refusal ? Fail(hr, refusal, IID_IOrvDocStore) : hr;
}

HRESULT OrvMemoryDatabase::InitCollectors(LONG, IUnknown* punkDoc) {
    if (!punkDoc) return E_POINTER;
    if (HRESULT hr = CheckOpen(IID_IOrvDocStore); FAILED(hr)) return hr;
    return Guarded([&] {
        ComPtr<IOrvDocument> doc;
        Check(Ask(punkDoc, &doc), IID_IOrvDocument);
        ULONG address = 0;
        Check(doc->get_DB_ADDR(&address), IID_IOrvDocument);
        Collectors stored;
        if (address != 0) {
            auto lock = Lock();
            auto it = store_.find(address);
            if (it != store_.end()) stored = it->second.collectors;
        }
        for (const auto& [id, collector] : stored) {
            ComPtr<IOrvSumCollector> source;
            Check(Ask(collector.Get(), &source), IID_IOrvSumCollector);
            ComPtr<IUnknown> copy;
            Check(source->Clone(copy.GetAddressOf()), IID_IOrvSumCollector);
            Check(doc->AddSumCollector(id, copy.Get()), IID_IOrvDocument);
        }
        return S_OK;
    });
}

// ----------------------------------------------------- IOrvNumbering

HRESULT OrvMemoryDatabase::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        Table(0);
        *pVal = static_cast<LONG>(tables_.size());
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetTable(LONG lTableId, IUnknown** ppunkTable) {
    if (!ppunkTable) return E_POINTER;
    *ppunkTable = nullptr;
    return Locked([&] {
        *ppunkTable = Table(lTableId).Detach();
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_DefaultTableId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = defaultTable_;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::put_DefaultTableId(LONG newVal) {
    return Locked([&] {
        Table(newVal);
        defaultTable_ = newVal;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_NumberTable(IUnknown** ppunkTable) {
    if (!ppunkTable) return E_POINTER;
    *ppunkTable = nullptr;
    return Locked([&] {
        *ppunkTable = Table(defaultTable_).Detach();
        return S_OK;
    });
}

// ------------------------------------------------ IOrvMemoryDatabase

HRESULT OrvMemoryDatabase::SetSettings(IUnknown* punkSettings) {
    ComPtr<IUnknown> previous(punkSettings);
    return Locked([&] {
        settings_.Swap(previous);
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::SetSession(IUnknown* punkSession) {
    ComPtr<IUnknown> previous(punkSession);
    return Locked([&] {
        session_.Swap(previous);
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::get_DocumentCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(store_.size());
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetAddress(LONG lIndex, ULONG* pulDbAddr) {
    if (!pulDbAddr) return E_POINTER;
    *pulDbAddr = 0;
    return Locked([&] {
        if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= store_.size()) return E_INVALIDARG;
        *pulDbAddr = std::next(store_.begin(), lIndex)->first;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetStored(ULONG ulDbAddr, BSTR* pbstrRecord, BSTR* pbstrBody, LONG* plLength,
                                     ULONG* pulTimeStamp) {
    if (pbstrRecord) *pbstrRecord = nullptr;
    if (pbstrBody) *pbstrBody = nullptr;
    if (plLength) *plLength = 0;
    if (pulTimeStamp) *pulTimeStamp = 0;
    return Locked([&] {
        auto it = store_.find(ulDbAddr);
        if (it == store_.end()) return S_FALSE;
        const Stored& s = it->second;
        Bstr record = ByteString(s.record.data(), s.record.size());
        Bstr body;
        if (!s.extension.Empty()) body = ByteString(s.extension.bytes.data(), s.extension.bytes.size());
        if (pbstrRecord) *pbstrRecord = record.Detach();
        if (pbstrBody) *pbstrBody = body.Detach();
        if (plLength) *plLength = s.extension.length;
        if (pulTimeStamp) *pulTimeStamp = s.timeStamp;
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::GetStoredCollectorCount(ULONG ulDbAddr, LONG* plCount) {
    if (!plCount) return E_POINTER;
    *plCount = 0;
    return Locked([&] {
        auto it = store_.find(ulDbAddr);
        if (it == store_.end()) return S_FALSE;
        *plCount = static_cast<LONG>(it->second.collectors.size());
        return S_OK;
    });
}

HRESULT OrvMemoryDatabase::RemoveAll() {
    Store dropped;
    return Locked([&] {
        dropped.swap(store_);
        return S_OK;
    });
}

}  // namespace orv::host
