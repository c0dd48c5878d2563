#include "host/OrvMemoryDatabase.h"

#include "frame/values.h"
#include "host/OrvStoreComponents.h"
#include "host/OrvStoreMonths.h"
#include "host/OrvUnknownList.h"
#include "host/store/DocumentRows.h"
#include "host/store/StoreText.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

#include <cstring>
#include <cstdio>

namespace orv::host {
namespace {

// The numbering tables of the service; made only by the service, so their
// class identifier serves error reports alone.
constexpr CLSID CLSID_OrvNumberTable = {0x37C54566, 0x6945, 0x4DEE, {0xA0, 0x3A, 0x3C, 0x14, 0xD0, 0xCD, 0x4D, 0x75}};

// One numbering table of the store: a number for each key; 0 is no number.
class OrvNumberTable : public CoClass<OrvNumberTable, &CLSID_OrvNumberTable, IOrvNumberTable> {
public:
    void Init(SharedSlot slot, LONG id) {
        slot_ = std::move(slot);
        id_ = id;
    }
    HRESULT get_Count(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = 0;
        return ServeStore(CLSID_OrvNumberTable, IID_IOrvNumberTable, [&] {
            *pVal = static_cast<LONG>(slot_->Get()->Numbers(id_).size());
            return S_OK;
        });
    }
    // The lIndex-th entry in ascending key order.
    HRESULT GetEntry(LONG lIndex, LONG* plKey, LONG* plNumber) override {
        if (!plKey || !plNumber) return E_POINTER;
        *plKey = *plNumber = 0;
        return ServeStore(CLSID_OrvNumberTable, IID_IOrvNumberTable, [&] {
            const auto numbers = slot_->Get()->Numbers(id_);
            if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= numbers.size()) return E_INVALIDARG;
            *plKey = numbers[static_cast<std::size_t>(lIndex)].first;
            *plNumber = numbers[static_cast<std::size_t>(lIndex)].second;
            return S_OK;
        });
    }
    // A number of 0 removes the key's entry.
    HRESULT SetNumber(LONG lKey, LONG lNumber) override {
        return ServeStore(CLSID_OrvNumberTable, IID_IOrvNumberTable, [&] {
            slot_->Get()->SetNumber(id_, lKey, lNumber);
            return S_OK;
        });
    }
    HRESULT GetNumber(LONG lKey, LONG* plNumber) override {
        if (!plNumber) return E_POINTER;
        *plNumber = 0;
        return ServeStore(CLSID_OrvNumberTable, IID_IOrvNumberTable, [&] {
            *plNumber = slot_->Get()->Number(id_, lKey);
            return S_OK;
        });
    }

private:
    SharedSlot slot_;
    LONG id_ = 0;
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

std::string NarrowSource(BSTR s) { return s ? Utf16ToUtf8(std::u16string_view(s, SysStringLen(s))) : std::string(); }

}  // namespace

// ------------------------------------------------------------- helpers

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::FinalConstruct() {
    try {
        slot_ = std::make_shared<StoreSlot>();
        if (*Clsid == CLSID_OrvMemoryDatabase) {
            slot_->Set(store::OpenSqliteStore(":memory:"));
            slot_->Get()->AddNumberTable(0);
            source_ = u"memory";
        }
    } catch (const store::StoreError& e) {
        return ReportStoreError(*Clsid, IID_IOrvDatabase, e);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    IUnknown* inner = nullptr;
    HRESULT hr = CreateInstance<OrvStoreReference>(this->ControllingUnknown(), IID_IUnknown, reinterpret_cast<void**>(&inner));
    if (FAILED(hr)) return hr;
    reference_.Attach(inner);
    static_cast<AggObject<OrvStoreReference>*>(inner)->Object().Init(slot_);
    inner = nullptr;
    hr = CreateInstance<OrvStoreMonths>(this->ControllingUnknown(), IID_IUnknown, reinterpret_cast<void**>(&inner));
    if (FAILED(hr)) return hr;
    months_.Attach(inner);
    static_cast<AggObject<OrvStoreMonths>*>(inner)->Object().Init(slot_);
    return S_OK;
}

template <const CLSID* Clsid>
void OrvDatabaseService<Clsid>::FinalRelease() {
    reference_.Reset();
    months_.Reset();
    if (slot_) slot_->Set(nullptr);
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::Fail(HRESULT hr, const char16_t* text, REFIID iid) noexcept {
    {
        auto lock = this->Lock();
        try {
            lastError_ = text;
        } catch (...) {
        }
    }
    return ReportError(*Clsid, text, 0, nullptr, iid, hr);
}

template <const CLSID* Clsid>
template <class F>
HRESULT OrvDatabaseService<Clsid>::Serve(REFIID iid, F&& body) noexcept {
    try {
        return body();
    } catch (const store::StoreError& e) {
        try {
            const std::u16string text = Utf8ToUtf16(e.what());
            return Fail(e.hr, text.c_str(), iid);
        } catch (...) {
            return e.hr;
        }
    } catch (const ComError& e) {
        return ReportComError(*Clsid, e);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

template <const CLSID* Clsid>
ComPtr<IUnknown> OrvDatabaseService<Clsid>::MakeDocument(ULONG address, const std::array<unsigned char, 304>& record,
                                                        ULONG timeStamp) {
    ComPtr<IOrvDocument> doc;
    Check(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                           reinterpret_cast<void**>(doc.GetAddressOf())),
          IID_IOrvDocument);
    Check(doc->put_DocRecord(ByteString(record.data(), record.size())), IID_IOrvDocument);
    Check(doc->put_DB_ADDR(address), IID_IOrvDocument);
    Check(doc->put_TimeStamp(timeStamp), IID_IOrvDocument);
    Check(doc->put_OrvBD(this->ControllingUnknown()), IID_IOrvDocument);
    ComPtr<IUnknown> unknown;
    Check(Ask(doc.Get(), &unknown), IID_IOrvDocument);
    return unknown;
}

template <const CLSID* Clsid>
ComPtr<IUnknown> OrvDatabaseService<Clsid>::Table(LONG id) {
    slot_->Get()->AddNumberTable(id);
    auto lock = this->Lock();
    auto it = tables_.find(id);
    if (it != tables_.end()) return it->second;
    OrvNumberTable* table = nullptr;
    ComPtr<IUnknown> unknown;
    Check(CreateObjectWithAccess<OrvNumberTable>(&unknown, &table), IID_IOrvNumberTable);
    table->Init(slot_, id);
    tables_.emplace(id, unknown);
    return unknown;
}

template <const CLSID* Clsid>
ComPtr<IUnknown> OrvDatabaseService<Clsid>::Own(ComPtr<IUnknown>& cache, bool settings) {
    auto lock = this->Lock();
    if (!cache) {
        if (settings) {
            OrvStoreSettings* s = nullptr;
            Check(CreateObjectWithAccess<OrvStoreSettings>(&cache, &s), IID_IOrvSettings);
            s->Init(slot_);
        } else {
            OrvStoreSession* s = nullptr;
            Check(CreateObjectWithAccess<OrvStoreSession>(&cache, &s), IID_IOrvSession);
            s->Init(slot_);
        }
    }
    return cache;
}

// ------------------------------------------------------ IOrvDatabase

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::Open(BSTR bstrSource) {
    const std::string name = NarrowSource(bstrSource);
    if (*Clsid != CLSID_OrvMemoryDatabase && name.empty())
        return Fail(E_INVALIDARG, u"No store file was named", IID_IOrvDatabase);
    Close();
    return Serve(IID_IOrvDatabase, [&] {
        const bool memory = *Clsid == CLSID_OrvMemoryDatabase || name == ":memory:";
        auto opened = store::OpenSqliteStore(memory ? ":memory:" : name);
        opened->AddNumberTable(0);
        slot_->Set(std::move(opened));
        auto lock = this->Lock();
        source_.assign(bstrSource ? bstrSource : u"", SysStringLen(bstrSource));
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::Close() {
    return this->Guarded([&] {
        {
            auto lock = this->Lock();
            transactionPipe_ = 0;
        }
        slot_->Set(nullptr);  // closing the store's connection rolls an open transaction back
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_IsOpen(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = slot_->Peek() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_Source(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return this->Locked([&] {
        *pVal = SysAllocStringLen(source_.data(), static_cast<UINT>(source_.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::OpenPipe(LONG* plPipeId) {
    if (!plPipeId) return E_POINTER;
    *plPipeId = 0;
    return this->Locked([&] {
        const LONG id = nextPipe_++;
        pipes_.insert(id);
        *plPipeId = id;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::ClosePipe(LONG lPipeId) {
    bool open = false, rollBack = false;
    {
        auto lock = this->Lock();
        open = pipes_.erase(lPipeId) != 0;
        if (open && transactionPipe_ == lPipeId) {
            rollBack = true;
            transactionPipe_ = 0;
        }
    }
    if (!open) return Fail(E_INVALIDARG, u"The channel is not open", IID_IOrvDatabase);
    if (!rollBack) return S_OK;
    return Serve(IID_IOrvDatabase, [&] {
        slot_->Get()->Rollback();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::BeginTransaction(LONG lPipeId) {
    {
        auto lock = this->Lock();
        if (!pipes_.count(lPipeId)) return Fail(E_INVALIDARG, u"The channel is not open", IID_IOrvDatabase);
        if (transactionPipe_ != 0) return Fail(E_UNEXPECTED, u"A transaction is already open", IID_IOrvDatabase);
        transactionPipe_ = lPipeId;
    }
    HRESULT hr = Serve(IID_IOrvDatabase, [&] {
        slot_->Get()->Begin();
        return S_OK;
    });
    if (FAILED(hr)) {
        auto lock = this->Lock();
        transactionPipe_ = 0;
    }
    return hr;
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::CommitTransaction(LONG lPipeId) {
    {
        auto lock = this->Lock();
        if (transactionPipe_ == 0 || transactionPipe_ != lPipeId)
            return Fail(E_UNEXPECTED, u"No transaction is open on the channel", IID_IOrvDatabase);
        transactionPipe_ = 0;
    }
    return Serve(IID_IOrvDatabase, [&] {
        slot_->Get()->Commit();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::RollbackTransaction(LONG lPipeId) {
    {
        auto lock = this->Lock();
        if (transactionPipe_ == 0 || transactionPipe_ != lPipeId)
            return Fail(E_UNEXPECTED, u"No transaction is open on the channel", IID_IOrvDatabase);
        transactionPipe_ = 0;
    }
    return Serve(IID_IOrvDatabase, [&] {
        slot_->Get()->Rollback();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_LastError(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return this->Locked([&] {
        *pVal = SysAllocStringLen(lastError_.data(), static_cast<UINT>(lastError_.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_Settings(IUnknown** ppunkSettings) {
    if (!ppunkSettings) return E_POINTER;
    *ppunkSettings = nullptr;
    return this->Guarded([&] {
        ComPtr<IUnknown> attached;
        {
            auto lock = this->Lock();
            attached = settings_;
        }
        if (!attached) attached = Own(ownSettings_, true);
        *ppunkSettings = attached.Detach();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::NewDocument(LONG, LONG lDcType, IUnknown** ppunkDoc) {
    if (!ppunkDoc) return E_POINTER;
    *ppunkDoc = nullptr;
    return Serve(IID_IOrvDatabase, [&] {
        slot_->Get();
        ComPtr<IOrvDocument> doc;
        Check(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                               reinterpret_cast<void**>(doc.GetAddressOf())),
              IID_IOrvDocument);
        if (lDcType != 0) Check(doc->put_lDcType(lDcType), IID_IOrvDocument);
        Check(doc->MakeAsNew(), IID_IOrvDocument);
        Check(doc->put_OrvBD(this->ControllingUnknown()), IID_IOrvDocument);
        Check(doc->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkDoc)), IID_IOrvDocument);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetDocument(LONG, LONG lDocId, IUnknown** ppunkDoc) {
    if (!ppunkDoc) return E_POINTER;
    *ppunkDoc = nullptr;
    return Serve(IID_IOrvDatabase, [&] {
        auto row = slot_->Get()->ReadDocument(static_cast<ULONG>(lDocId), false);
        if (!row) return S_FALSE;
        *ppunkDoc = MakeDocument(row->address, row->record, row->stamp).Detach();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::DeleteDocument(LONG, LONG lDocId) {
    return Serve(IID_IOrvDatabase,
                 [&] { return slot_->Get()->DeleteDocument(static_cast<ULONG>(lDocId)) ? S_OK : S_FALSE; });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetDocuments(LONG, IUnknown* punkSotr, LONG lDcType, DATE dtFrom, DATE dtTo,
                                                IUnknown** ppunkList) {
    if (!ppunkList) return E_POINTER;
    *ppunkList = nullptr;
    return Serve(IID_IOrvDatabase, [&] {
        LONG employee = 0;
        ComPtr<IOrvEmployee> who;
        if (punkSotr && SUCCEEDED(Ask(punkSotr, &who))) Check(who->get_Id(&employee), IID_IOrvEmployee);
        const auto rows = slot_->Get()->FindDocuments(lDcType, employee, DateToDayNumber(dtFrom), DateToDayNumber(dtTo));
        ComPtr<IOrvUnknownList> list;
        Check(CreateObject<OrvUnknownList>(&list), IID_IOrvUnknownList);
        for (const auto& row : rows)
            Check(list->Add(MakeDocument(row.address, row.record, row.stamp).Get()), IID_IOrvUnknownList);
        Check(list->Reset(), IID_IOrvUnknownList);
        Check(list->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkList)), IID_IOrvUnknownList);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetEmployee(LONG, LONG lEmployeeId, IUnknown** ppunkSotr) {
    if (!ppunkSotr) return E_POINTER;
    *ppunkSotr = nullptr;
    return Serve(IID_IOrvDatabase, [&] {
        *ppunkSotr = MakeEmployee(slot_, lEmployeeId).Detach();
        return *ppunkSotr ? S_OK : S_FALSE;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::FindEmployee(LONG, BSTR bstrTabNum, IUnknown** ppunkSotr) {
    if (!ppunkSotr) return E_POINTER;
    *ppunkSotr = nullptr;
    return Serve(IID_IOrvDatabase, [&] {
        auto row = slot_->Get()->EmployeeByTabNum(NarrowSource(bstrTabNum));
        if (!row) return S_FALSE;
        *ppunkSotr = MakeEmployee(slot_, row->id).Detach();
        return *ppunkSotr ? S_OK : S_FALSE;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::NewId(LONG, LONG* plId) {
    if (!plId) return E_POINTER;
    *plId = 0;
    return Serve(IID_IOrvDatabase, [&] {
        *plId = slot_->Get()->NextId();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_WorkMonth(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Serve(IID_IOrvDatabase, [&] {
        if (auto v = slot_->Get()->Value("work_month")) *pVal = std::stod(*v);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::put_WorkMonth(DATE newVal) {
    return Serve(IID_IOrvDatabase, [&] {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", newVal);
        slot_->Get()->SetValue("work_month", text);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_ReadOnly(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return S_OK;
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_Session(IUnknown** ppunkSession) {
    if (!ppunkSession) return E_POINTER;
    *ppunkSession = nullptr;
    return this->Guarded([&] {
        ComPtr<IUnknown> attached;
        {
            auto lock = this->Lock();
            attached = session_;
        }
        if (!attached) attached = Own(ownSession_, false);
        *ppunkSession = attached.Detach();
        return S_OK;
    });
}

// ------------------------------------------------------ IOrvDocStore

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::FillExtension(IOrvDocument* pDoc, IUnknown** ppunkExtension, LONG* plResult,
                                                 REFIID iid) noexcept {
    if (!pDoc || !plResult) return E_POINTER;
    *plResult = 0;
    return Serve(iid, [&] {
        auto s = slot_->Get();
        ULONG address = 0;
        Check(pDoc->get_DB_ADDR(&address), IID_IOrvDocument);
        std::optional<store::DocumentRow> row;
        if (address != 0) row = s->ReadDocument(address, false);
        // The target: the document's own extension, or a new extension object.
        ComPtr<IOrvDocExtension> target;
        if (ppunkExtension) {
            Check(CoCreateInstance(CLSID_OrvDocExtension, nullptr, CLSCTX_ALL, IID_IOrvDocExtension,
                                   reinterpret_cast<void**>(target.GetAddressOf())),
                  IID_IOrvDocExtension);
        } else {
            Check(Ask(pDoc, &target), IID_IOrvDocument);
        }
        if (row) FillDocumentExtension(target.Get(), *row);
        if (ppunkExtension) Check(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkExtension)));
        *plResult = row ? 1 : 0;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetDocExtension(LONG, IOrvDocument* pDoc, IUnknown** ppunkExtension,
                                                   LONG* plResult) {
    if (!ppunkExtension) return E_POINTER;
    *ppunkExtension = nullptr;
    return FillExtension(pDoc, ppunkExtension, plResult, IID_IOrvDocStore);
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::InitDocExtension(LONG, IOrvDocument* pDoc, LONG* plResult) {
    return FillExtension(pDoc, nullptr, plResult, IID_IOrvDocStore);
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::InitDocExtensionNoPipe(IOrvDocument* pDoc, LONG* plResult) {
    return FillExtension(pDoc, nullptr, plResult, IID_IOrvDocStore);
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::UpdateDocument(LONG, IUnknown* punkDoc) {
    if (!punkDoc) return E_POINTER;
    const char16_t* refusal = nullptr;
    HRESULT hr = Serve(IID_IOrvDocStore, [&] {
        auto s = slot_->Get();
        ComPtr<IOrvDocument> doc;
        Check(Ask(punkDoc, &doc), IID_IOrvDocument);
        LONG condition = 0;
        ULONG address = 0, stamp = 0;
        Check(doc->get_RecordCondition(&condition), IID_IOrvDocument);
        Check(doc->get_DB_ADDR(&address), IID_IOrvDocument);
        Check(doc->get_TimeStamp(&stamp), IID_IOrvDocument);

        if (condition == 3) {  // delete
            if (address != 0) s->DeleteDocument(address);
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
        VARIANT_BOOL initialized = VARIANT_FALSE;
        Check(doc->get_ExtensionInitialized(&initialized), IID_IOrvDocument);
        const bool takeExtension = isNew || initialized != VARIANT_FALSE;
        store::DocumentRow incoming;
        incoming.address = address;
        incoming.stamp = stamp;
        if (HRESULT read = ReadDocumentRow(doc.Get(), takeExtension, &incoming, &refusal); read != S_OK) return read;

        const store::WriteResult written =
            s->WriteDocument(incoming, isNew ? store::WriteMode::New : store::WriteMode::Changed, takeExtension);
        if (written.stale) {
            refusal = u"The document was stored again since it was read";
            return ORV_E_DOCUMENT_CHANGED;
        }
        Check(doc->put_DB_ADDR(written.address), IID_IOrvDocument);
        Check(doc->put_TimeStamp(written.stamp), IID_IOrvDocument);
        Check(doc->ClearRecordCondition(), IID_IOrvDocument);
        return S_OK;
    });
    return refusal ? Fail(hr, refusal, IID_IOrvDocStore) : hr;
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::InitCollectors(LONG, IUnknown* punkDoc) {
    if (!punkDoc) return E_POINTER;
    return Serve(IID_IOrvDocStore, [&] {
        auto s = slot_->Get();
        ComPtr<IOrvDocument> doc;
        Check(Ask(punkDoc, &doc), IID_IOrvDocument);
        ULONG address = 0;
        Check(doc->get_DB_ADDR(&address), IID_IOrvDocument);
        if (address == 0) return S_OK;
        auto row = s->ReadDocument(address, true);
        if (!row) return S_OK;
        AttachCollectors(doc.Get(), row->collectors);
        return S_OK;
    });
}

// ----------------------------------------------------- IOrvNumbering

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Serve(IID_IOrvNumbering, [&] {
        *pVal = static_cast<LONG>(slot_->Get()->NumberTables().size());
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetTable(LONG lTableId, IUnknown** ppunkTable) {
    if (!ppunkTable) return E_POINTER;
    *ppunkTable = nullptr;
    return Serve(IID_IOrvNumbering, [&] {
        *ppunkTable = Table(lTableId).Detach();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_DefaultTableId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Serve(IID_IOrvNumbering, [&] {
        if (auto v = slot_->Get()->Value("default_number_table")) *pVal = static_cast<LONG>(std::stol(*v));
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::put_DefaultTableId(LONG newVal) {
    return Serve(IID_IOrvNumbering, [&] {
        Table(newVal);
        slot_->Get()->SetValue("default_number_table", std::to_string(newVal));
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_NumberTable(IUnknown** ppunkTable) {
    if (!ppunkTable) return E_POINTER;
    *ppunkTable = nullptr;
    LONG id = 0;
    if (HRESULT hr = get_DefaultTableId(&id); FAILED(hr)) return hr;
    return GetTable(id, ppunkTable);
}

// ------------------------------------------------ IOrvMemoryDatabase

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::SetSettings(IUnknown* punkSettings) {
    ComPtr<IUnknown> previous(punkSettings);
    return this->Locked([&] {
        settings_.Swap(previous);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::SetSession(IUnknown* punkSession) {
    ComPtr<IUnknown> previous(punkSession);
    return this->Locked([&] {
        session_.Swap(previous);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::get_DocumentCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        if (auto s = slot_->Peek()) *pVal = s->DocumentCount();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetAddress(LONG lIndex, ULONG* pulDbAddr) {
    if (!pulDbAddr) return E_POINTER;
    *pulDbAddr = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        const auto addresses = slot_->Get()->Addresses();
        if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= addresses.size()) return E_INVALIDARG;
        *pulDbAddr = addresses[static_cast<std::size_t>(lIndex)];
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetStored(ULONG ulDbAddr, BSTR* pbstrRecord, BSTR* pbstrBody, LONG* plLength,
                                             ULONG* pulTimeStamp) {
    if (pbstrRecord) *pbstrRecord = nullptr;
    if (pbstrBody) *pbstrBody = nullptr;
    if (plLength) *plLength = 0;
    if (pulTimeStamp) *pulTimeStamp = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        auto row = slot_->Get()->ReadDocument(ulDbAddr, false);
        if (!row) return S_FALSE;
        Bstr record = ByteString(row->record.data(), row->record.size());
        Bstr body;
        if (row->hasBody && !(row->body.empty() && row->length == 0))
            body = ByteString(row->body.data(), row->body.size());
        if (pbstrRecord) *pbstrRecord = record.Detach();
        if (pbstrBody) *pbstrBody = body.Detach();
        if (plLength) *plLength = row->length;
        if (pulTimeStamp) *pulTimeStamp = row->stamp;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetStoredCollectorCount(ULONG ulDbAddr, LONG* plCount) {
    if (!plCount) return E_POINTER;
    *plCount = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        auto row = slot_->Get()->ReadDocument(ulDbAddr, true);
        if (!row) return S_FALSE;
        *plCount = static_cast<LONG>(row->collectors.size());
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::RemoveAll() {
    return Serve(IID_IOrvMemoryDatabase, [&] {
        slot_->Get()->RemoveAllDocuments();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::ImportText(BSTR bstrXml) {
    return Serve(IID_IOrvMemoryDatabase, [&] {
        ImportStoreText(*slot_->Get(), NarrowSource(bstrXml));
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::ExportText(BSTR* pbstrXml) {
    if (!pbstrXml) return E_POINTER;
    *pbstrXml = nullptr;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        *pbstrXml = Bstr::FromUtf8(ExportStoreText(*slot_->Get())).Detach();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetVersionCount(ULONG ulDbAddr, LONG* plCount) {
    if (!plCount) return E_POINTER;
    *plCount = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        *plCount = static_cast<LONG>(slot_->Get()->Versions(ulDbAddr).size());
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetVersion(ULONG ulDbAddr, LONG lIndex, ULONG* pulTimeStamp, DATE* pdtReplaced,
                                              BSTR* pbstrUser, LONG* plProcessId, BSTR* pbstrOperation,
                                              BSTR* pbstrRecord) {
    if (pulTimeStamp) *pulTimeStamp = 0;
    if (pdtReplaced) *pdtReplaced = 0.0;
    if (pbstrUser) *pbstrUser = nullptr;
    if (plProcessId) *plProcessId = 0;
    if (pbstrOperation) *pbstrOperation = nullptr;
    if (pbstrRecord) *pbstrRecord = nullptr;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        const auto versions = slot_->Get()->Versions(ulDbAddr);
        if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= versions.size()) return E_INVALIDARG;
        const store::VersionRow& v = versions[static_cast<std::size_t>(lIndex)];
        Bstr user = Bstr::FromUtf8(v.user), operation = Bstr::FromUtf8(v.operation);
        Bstr record = ByteString(v.document.record.data(), v.document.record.size());
        if (pulTimeStamp) *pulTimeStamp = v.document.stamp;
        // Seconds since 1970 as an automation date (UTC).
        if (pdtReplaced) *pdtReplaced = static_cast<DATE>(v.replacedAt) / 86400.0 + 25569.0;
        if (pbstrUser) *pbstrUser = user.Detach();
        if (plProcessId) *plProcessId = v.pid;
        if (pbstrOperation) *pbstrOperation = operation.Detach();
        if (pbstrRecord) *pbstrRecord = record.Detach();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetVersionExtension(ULONG ulDbAddr, LONG lIndex, BSTR* pbstrBody, LONG* plLength) {
    if (pbstrBody) *pbstrBody = nullptr;
    if (plLength) *plLength = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        const auto versions = slot_->Get()->Versions(ulDbAddr);
        if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= versions.size()) return E_INVALIDARG;
        const store::DocumentRow& d = versions[static_cast<std::size_t>(lIndex)].document;
        // The same rule as GetStored: an empty body of length 0 is no body.
        Bstr body;
        if (d.hasBody && !(d.body.empty() && d.length == 0)) body = ByteString(d.body.data(), d.body.size());
        if (pbstrBody) *pbstrBody = body.Detach();
        if (plLength) *plLength = d.length;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::RestoreVersion(ULONG ulDbAddr, ULONG ulTimeStamp, ULONG* pulNewTimeStamp) {
    if (pulNewTimeStamp) *pulNewTimeStamp = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        const store::WriteResult r = slot_->Get()->RestoreVersion(ulDbAddr, ulTimeStamp);
        if (r.address == 0) return S_FALSE;
        if (pulNewTimeStamp) *pulNewTimeStamp = r.stamp;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::GetStoreSize(LONGLONG* pllBytes) {
    if (!pllBytes) return E_POINTER;
    *pllBytes = 0;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        *pllBytes = slot_->Get()->SizeBytes();
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvDatabaseService<Clsid>::CheckIntegrity(BSTR* pbstrResult) {
    if (!pbstrResult) return E_POINTER;
    *pbstrResult = nullptr;
    return Serve(IID_IOrvMemoryDatabase, [&] {
        *pbstrResult = Bstr::FromUtf8(slot_->Get()->IntegrityCheck()).Detach();
        return S_OK;
    });
}

template class OrvDatabaseService<&CLSID_OrvMemoryDatabase>;
template class OrvDatabaseService<&CLSID_OrvDatabase>;

HRESULT OpenDatabase(const std::u16string& path, IOrvDatabase** ppDatabase) noexcept {
    if (!ppDatabase) return E_POINTER;
    *ppDatabase = nullptr;
    ComPtr<IOrvDatabase> db;
    HRESULT hr = CreateObject<OrvDatabase>(&db);
    if (FAILED(hr)) return hr;
    try {
        hr = db->Open(Bstr(path));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (FAILED(hr)) return hr;
    *ppDatabase = db.Detach();
    return S_OK;
}

}  // namespace orv::host
