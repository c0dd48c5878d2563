// Texts that record-field kinds keep in the document's extension as plain
// OEM bytes rather than XML: the extension body is the text itself.
//
// Two forms exist:
//   NUL-terminated   the body is the text's OEM bytes and a NUL; its length
//                    is whatever the body holds (recipients, addresses);
//   length-limited   the body's first Length bytes are the text, Length
//                    counting the NUL as well (the other personnel numbers).
// A failing call on the extension raises with IID_IOrvDocExtension.
#pragma once

#include "frame/com.h"

#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/document.h>

namespace orv::exttext {

// The document's extension, or null when the document has none.
ComPtr<IOrvDocExtension> Find(IOrvDocument* doc);

// The extension's body, owned (null when empty).
Bstr Body(IOrvDocExtension* ext);

// NUL-terminated form. Read: the body's bytes up to the first NUL, as text;
// a null string when there is no extension or the body is empty.
Bstr ReadNulText(IOrvDocument* doc);
// Write: a non-empty text sets Length to its byte count plus one, then Body
// to its bytes and the NUL; an empty text clears the extension. Returns the
// status of the Body put (S_OK after a Clear); E_UNEXPECTED without an
// extension.
HRESULT WriteNulText(IOrvDocument* doc, BSTR text);

// Length-limited form. Read: null when Length is 0 (or below); otherwise the
// body's first Length bytes (never more than the body holds) up to the first
// NUL, as text; null when the body is empty.
Bstr ReadLengthText(IOrvDocExtension* ext);
// Write: a non-empty text becomes the body (its bytes and a NUL) and Length
// its length plus one; an empty text clears the extension.
void WriteLengthText(IOrvDocExtension* ext, BSTR text);

}  // namespace orv::exttext
