// Fields of the address and account document: AccountId lDcRsrv(0); Address is
// the extension's NUL-terminated text.
#include "kinds/OrvINDoc.h"

#include "kinds/ExtensionText.h"

namespace orv {

using namespace record;

HRESULT OrvINDoc::get_Address(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return exttext::ReadNulText(d); });
}
HRESULT OrvINDoc::put_Address(BSTR newVal) {
    return Locked([&] { return exttext::WriteNulText(Document(), newVal); });
}
HRESULT OrvINDoc::get_AccountId(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcRsrv, LONG{0}); });
}
HRESULT OrvINDoc::put_AccountId(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcRsrv, LONG{0}, newVal); });
}

}  // namespace orv
