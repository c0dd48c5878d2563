#include "lists/OrvENUMDocuments.h"

namespace orv {

using lists::EntryRef;
using lists::PeriodTest;
using lists::Selection;

OrvENUMDocuments::OrvENUMDocuments(OrvDocList* list) : TearOffOf(list), cursor_(list->FirstEntry()) {
    InitializeCriticalSection(&cs_);
}

OrvENUMDocuments::~OrvENUMDocuments() { DeleteCriticalSection(&cs_); }

HRESULT OrvENUMDocuments::Reset() {
    EntryRef first = owner_->FirstEntry();
    ObjectLock lock(&cs_);
    cursor_ = std::move(first);
    return S_OK;
}

HRESULT OrvENUMDocuments::Step(const Selection& selection, IUnknown** found) {
    *found = nullptr;
    EntryRef cursor;
    {
        ObjectLock lock(&cs_);
        cursor = cursor_;
    }
    HRESULT hr = owner_->Step(&cursor, selection, found);
    {
        ObjectLock lock(&cs_);
        cursor_ = std::move(cursor);
    }
    return hr;
}

HRESULT OrvENUMDocuments::Next(IUnknown** punkDocument) {
    if (!punkDocument) return E_POINTER;
    return Step(Selection{}, punkDocument);
}

HRESULT OrvENUMDocuments::NextT0InPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) {
    if (!ppunkDocument) return E_POINTER;
    return Step(Selection{PeriodTest::Overlaps, lT0, dtStart, dtIncludedEnd}, ppunkDocument);
}

HRESULT OrvENUMDocuments::NextT0OnDate(LONG lT0, DATE dtDate, IUnknown** pUnk, LONG* plResult) {
    if (!pUnk || !plResult) return E_POINTER;
    *plResult = 1;
    HRESULT hr = Step(Selection{PeriodTest::OnDate, lT0, dtDate, dtDate}, pUnk);
    if (hr == S_OK) *plResult = 0;
    return hr;
}

}  // namespace orv
