// Which specific object a generic document hands out for its type code.
#pragma once

#include <orvdocs/typelib/document.h>

namespace orv {

// Creates the specific object for a type code and hands it the document (a
// counted reference it keeps for life). E_NOINTERFACE for a code without a
// kind; the creation's own status when it fails.
HRESULT CreateSpecificObject(LONG typeCode, IOrvDocument* document, IUnknown** out) noexcept;

// Whether a type code has a specific object.
bool HasSpecificObject(LONG typeCode) noexcept;

}  // namespace orv
