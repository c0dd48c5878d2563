// The document list's entries, finding, removing, replacing and copying, and
// the steps of its own cursor.
#include "lists/OrvDocList.h"

#include "document/OrvDocument.h"
#include "frame/messages.h"
#include "frame/module.h"
#include "kinds/RecordFields.h"

#include <orvdocs/platform/text.h>

namespace orv {

using lists::DocEntry;
using lists::EntryRef;
using lists::PeriodTest;
using lists::Selection;

void OrvDocList::FinalRelease() {
    // A host that ends with a LockList still held gives the lock back here.
    while (lockHolds_ > 0) {
        --lockHolds_;
        LeaveCriticalSection(&cs_);
    }
    cursor_ = EntryRef();
    sequence_.Clear();
    dates_.Reset();
}

IOrvDocument* OrvDocList::DocumentOf(const DocEntry* entry) {
    if (!entry->identity) throw ComError{E_UNEXPECTED, IID_IOrvDocList};
    if (!entry->document) throw ComError{E_NOINTERFACE, IID_IOrvDocument};
    return entry->document.Get();
}

// ------------------------------------------------------------- entries

HRESULT OrvDocList::Add(IUnknown* punkDocument, LONG* plResult, bool front) {
    if (!plResult) return E_POINTER;
    *plResult = 0;
    if (!punkDocument) {
        *plResult = -1;
        return E_POINTER;
    }
    ComPtr<IOrvDocument> document;
    HRESULT hr = punkDocument->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(document.GetAddressOf()));
    if (FAILED(hr) || !document) {
        *plResult = -1;
        return E_NOINTERFACE;
    }
    ComPtr<IUnknown> identity;
    hr = document->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf()));
    if (FAILED(hr) || !identity) {
        *plResult = -1;
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    hr = Locked([&] {
        if (front)
            sequence_.PushFront(std::move(identity), std::move(document));
        else
            sequence_.PushBack(std::move(identity), std::move(document));
        return S_OK;
    });
    if (FAILED(hr)) *plResult = -1;
    return hr;
}

HRESULT OrvDocList::AddItem(IUnknown* punkDocument, LONG* plResult) { return Add(punkDocument, plResult, false); }

HRESULT OrvDocList::AddItemToFront(IUnknown* punkDocument, LONG* plResult) {
    return Add(punkDocument, plResult, true);
}

DocEntry* OrvDocList::FindEntry(HRESULT (IOrvDocument::*field)(LONG*), LONG value) {
    for (DocEntry* entry = sequence_.First(); entry; entry = entry->next)
        if (record::Get<LONG>(DocumentOf(entry), field) == value) return entry;
    return nullptr;
}

HRESULT OrvDocList::Find(HRESULT (IOrvDocument::*field)(LONG*), LONG value, IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        DocEntry* entry = FindEntry(field, value);
        if (!entry) return S_FALSE;
        return entry->identity.CopyTo(pVal);
    });
}

HRESULT OrvDocList::get_DocumentOnId(LONG lDocId, IUnknown** pVal) {
    return Find(&IOrvDocument::get_lDcId, lDocId, pVal);
}

HRESULT OrvDocList::get_DocumentOnSOId(LONG Index, IUnknown** pVal) {
    return Find(&IOrvDocument::get_StaffOrderId, Index, pVal);
}

HRESULT OrvDocList::RemoveDocument(IUnknown* punkDocument) {
    if (!punkDocument) return E_INVALIDARG;
    OLECHAR message[1024];
    bool mismatch = false;
    HRESULT hr = Locked([&] {
        ComPtr<IOrvDocument> given;
        Check(punkDocument->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(given.GetAddressOf())),
              IID_IOrvDocument);
        const LONG type = record::Get<LONG>(given.Get(), &IOrvDocument::get_lDcType);
        const LONG id = record::Get<LONG>(given.Get(), &IOrvDocument::get_lDcId);
        DocEntry* entry = FindEntry(&IOrvDocument::get_lDcId, id);
        if (!entry) return S_OK;
        IOrvDocument* found = DocumentOf(entry);
        if (record::Get<LONG>(found, &IOrvDocument::get_lDcType) == type) {
            sequence_.Remove(entry);
            return S_OK;
        }
        // Same identifier, another type: nothing is removed; the caller is told.
        Bstr givenKind = record::GetText(given.Get(), &IOrvDocument::get_DcType);
        Bstr foundKind = record::GetText(found, &IOrvDocument::get_DcType);
        RegisterMessages();
        OLECHAR format[1024];
        if (LoadStringW(ThisModule(), IDS_UNEXPECTED_TYPE, format, 1024) <= 0) format[0] = 0;
        wsprintfW(message, format, id, givenKind.Get() ? givenKind.Get() : u"", foundKind.Get() ? foundKind.Get() : u"");
        mismatch = true;
        return S_OK;
    });
    if (mismatch) ReportWithMessage(CLSID_OrvDocList, message, IID_IOrvDocList, E_UNEXPECTED);
    return hr;
}

HRESULT OrvDocList::Replace(IUnknown* punkOldDoc, IUnknown* pUnkNewDoc) {
    // The new object's document interface is taken before the lock; an object
    // without one is stored all the same and fails when it is read.
    ComPtr<IOrvDocument> document;
    if (pUnkNewDoc)
        pUnkNewDoc->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(document.GetAddressOf()));
    return Locked([&] {
        for (DocEntry* entry = sequence_.First(); entry; entry = entry->next) {
            if (entry->identity.Get() != punkOldDoc) continue;
            entry->identity = pUnkNewDoc;
            entry->document = document;
            break;
        }
        return S_OK;
    });
}

HRESULT OrvDocList::Clone(IUnknown** ppunkDocList) {
    if (!ppunkDocList) return E_POINTER;
    *ppunkDocList = nullptr;
    return Locked([&] {
        ComPtr<IUnknown> unknown;
        OrvDocList* copy = nullptr;
        Check(CreateObjectWithAccess<OrvDocList>(&unknown, &copy), IID_IOrvDocList);
        for (DocEntry* entry = sequence_.First(); entry; entry = entry->next) {
            ComPtr<IUnknown> cloned;
            Check(DocumentOf(entry)->Clone(cloned.GetAddressOf()), IID_IOrvDocument);
            ComPtr<IOrvDocument> document;
            if (cloned) cloned.As(&document);
            if (!document) throw ComError{E_NOINTERFACE, IID_IOrvDocument};
            ComPtr<IUnknown> identity;
            Check(document.As(&identity), IID_IOrvDocument);
            copy->Push(std::move(identity), std::move(document));
        }
        copy->cursor_.MoveTo(copy->sequence_.First());
        *ppunkDocList = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvDocList::CreateNewList(IUnknown** ppunkDocList) {
    if (!ppunkDocList) return E_POINTER;
    *ppunkDocList = nullptr;
    return Locked([&] {
        ComPtr<IUnknown> unknown;
        OrvDocList* copy = nullptr;
        Check(CreateObjectWithAccess<OrvDocList>(&unknown, &copy), IID_IOrvDocList);
        for (DocEntry* entry = sequence_.First(); entry; entry = entry->next)
            copy->Push(entry->identity, entry->document);
        copy->cursor_.MoveTo(copy->sequence_.First());
        *ppunkDocList = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvDocList::LockList() {
    EnterCriticalSection(&cs_);
    ++lockHolds_;
    return S_OK;
}

HRESULT OrvDocList::UnlockList() {
    // Inside the lock a positive count can only be this thread's own holds.
    ObjectLock lock(&cs_);
    if (lockHolds_ <= 0) return E_UNEXPECTED;
    --lockHolds_;
    LeaveCriticalSection(&cs_);
    return S_OK;
}

// ------------------------------------------------------------ cursor steps

EntryRef OrvDocList::FirstEntry() {
    ObjectLock lock(&cs_);
    return EntryRef(sequence_.First());
}

HRESULT OrvDocList::Step(EntryRef* cursor, const Selection& selection, IUnknown** found) {
    return Locked([&] { return StepLocked(cursor, selection, found); });
}

HRESULT OrvDocList::StepLocked(EntryRef* cursor, const Selection& selection, IUnknown** found) {
    DocEntry* entry = cursor->Position();
    if (selection.test == PeriodTest::Any) {
        if (!entry) {
            *cursor = EntryRef();
            return S_FALSE;
        }
        if (!entry->identity) return E_UNEXPECTED;
        entry->identity.CopyTo(found);
        cursor->MoveTo(entry->next);
        return S_OK;
    }
    // The cursor is parked where the walk stops, on every path: past the
    // document found, at the end, or on an entry whose reading failed.
    struct Park {
        EntryRef* cursor;
        DocEntry** at;
        ~Park() {
            if (cursor->Get() != *at) cursor->MoveTo(*at);
        }
    } park{cursor, &entry};
    for (; entry; entry = entry->next) {
        IOrvDocument* document = DocumentOf(entry);
        if (!lists::TypeMatches(selection.type, record::Get<LONG>(document, &IOrvDocument::get_lDcType))) continue;
        if (!lists::StartMatches(selection, record::Get<DATE>(document, &IOrvDocument::get_dtDn))) continue;
        if (!lists::EndMatches(selection, record::Get<DATE>(document, &IOrvDocument::get_dtDk))) continue;
        entry->identity.CopyTo(found);
        entry = entry->next;
        return S_OK;
    }
    return S_FALSE;
}

HRESULT OrvDocList::Reset() {
    return Locked([&] {
        cursor_.MoveTo(sequence_.First());
        return S_OK;
    });
}

HRESULT OrvDocList::Next(IUnknown** ppunkDocument, LONG* plResult) {
    if (!ppunkDocument || !plResult) return E_POINTER;
    *ppunkDocument = nullptr;
    *plResult = -1;
    return Locked([&] {
        HRESULT hr = StepLocked(&cursor_, Selection{}, ppunkDocument);
        if (hr == S_OK) *plResult = 0;
        return hr;
    });
}

HRESULT OrvDocList::Next2(IUnknown** ppunkDocument) {
    LONG result = 0;
    if (!ppunkDocument) return E_POINTER;
    return Next(ppunkDocument, &result);
}

HRESULT OrvDocList::StepFiltered(PeriodTest test, LONG type, DATE start, DATE end, IUnknown** found) {
    if (!found) return E_POINTER;
    *found = nullptr;
    return Locked([&] { return StepLocked(&cursor_, Selection{test, type, start, end}, found); });
}

HRESULT OrvDocList::NextT0OnDate(LONG lT0, DATE dtDate, IUnknown** ppunkDocument, LONG* plResult) {
    if (!ppunkDocument || !plResult) return E_POINTER;
    *plResult = 1;
    HRESULT hr = StepFiltered(PeriodTest::OnDate, lT0, dtDate, dtDate, ppunkDocument);
    if (hr == S_OK) *plResult = 0;
    return hr;
}

HRESULT OrvDocList::NextT0InPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) {
    return StepFiltered(PeriodTest::Overlaps, lT0, dtStart, dtIncludedEnd, ppunkDocument);
}

HRESULT OrvDocList::NextT0CoveredByPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) {
    return StepFiltered(PeriodTest::Inside, lT0, dtStart, dtIncludedEnd, ppunkDocument);
}

HRESULT OrvDocList::NextT0CoveringPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) {
    return StepFiltered(PeriodTest::Covers, lT0, dtStart, dtIncludedEnd, ppunkDocument);
}

HRESULT OrvDocList::NextT0InPeriod2(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IDispatch** ppdispDocument) {
    if (!ppdispDocument) return E_POINTER;
    *ppdispDocument = nullptr;
    ComPtr<IUnknown> found;
    HRESULT hr = NextT0InPeriod(lT0, dtStart, dtIncludedEnd, found.GetAddressOf());
    if (hr != S_OK) return hr;
    if (!found) return E_POINTER;
    return found->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ppdispDocument));
}

HRESULT OrvDocList::NextT0InPeriod3(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IDispatch** ppdispDocument) {
    if (!ppdispDocument) return E_POINTER;
    HRESULT hr = NextT0InPeriod2(lT0, dtStart, dtIncludedEnd, ppdispDocument);
    if (*ppdispDocument || FAILED(hr)) return hr;
    // The host always receives a document: a blank one at the end.
    ComPtr<IDispatch> blank;
    HRESULT created = CreateObject<OrvDocument>(&blank);
    if (FAILED(created)) return created;
    *ppdispDocument = blank.Detach();
    return hr;
}

}  // namespace orv
