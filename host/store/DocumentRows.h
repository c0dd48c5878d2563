// Moving a document's stored parts between a document object and a store row:
// the record, the extension body and length, and the sum collectors (each
// kept as its "SMS" element). Shared by the database service and by loading
// and exporting the store's text form.
#pragma once

#include "host/store/Store.h"

#include <orvdocs/typelib/document.h>

namespace orv::host {

// Reads the document's record, its extension (when takeExtension) and the
// "SMS" element of every collector it holds into row; the row's address,
// stamp and employee are left as they are. Returns S_OK, or a refusal status
// with *refusal set to its text (a short record, a collector that cannot be
// written); a failing call on the document is raised (ComError).
HRESULT ReadDocumentRow(IOrvDocument* doc, bool takeExtension, store::DocumentRow* row, const char16_t** refusal);

// Puts the stored body and then the length into an extension, or clears it
// when the row has no body.
void FillDocumentExtension(IOrvDocExtension* extension, const store::DocumentRow& row);

// Adds a new collector (the host's OrvSumCollector, filled from its element) to the
// document for every stored one, under its stored identifier.
void AttachCollectors(IOrvDocument* doc, const std::vector<store::CollectorRow>& collectors);

}  // namespace orv::host
