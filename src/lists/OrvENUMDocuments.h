// An enumerator over a document list with a cursor of its own. It is created
// anew each time the list is asked for IOrvENUMDocuments, starts at the list's
// first entry and keeps the list alive.
#pragma once

#include "lists/OrvDocList.h"

#include <orvdocs/platform/kernel.h>

namespace orv {

class OrvENUMDocuments final : public TearOffOf<OrvDocList, IOrvENUMDocuments> {
public:
    explicit OrvENUMDocuments(OrvDocList* list);
    ~OrvENUMDocuments() override;

    HRESULT Reset() override;
    HRESULT Next(IUnknown** punkDocument) override;
    HRESULT NextT0InPeriod(LONG lT0, DATE dtStart, DATE dtIncludedEnd, IUnknown** ppunkDocument) override;
    HRESULT NextT0OnDate(LONG lT0, DATE dtDate, IUnknown** pUnk, LONG* plResult) override;

private:
    // Reads the cursor under the enumerator's lock, searches under the list's
    // lock and stores the moved cursor under its own again: never both locks
    // at once.
    HRESULT Step(const lists::Selection& selection, IUnknown** found);

    CRITICAL_SECTION cs_;
    lists::EntryRef cursor_;
};

}  // namespace orv
