#include "kinds/OrvSTDoc.h"

#include "kinds/ExtensionText.h"

namespace orv {

HRESULT OrvSTDoc::get_Address(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return exttext::ReadNulText(d); });
}
HRESULT OrvSTDoc::put_Address(BSTR newVal) {
    return Locked([&] { return exttext::WriteNulText(Document(), newVal); });
}

}  // namespace orv
