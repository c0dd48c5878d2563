// Fields of the savings-bank payment: AccountId lDcdpod, BankDepartment DcOsn;
// Recipient is the extension's NUL-terminated text.
#include "kinds/OrvSBDoc.h"

#include "kinds/ExtensionText.h"

namespace orv {

using namespace record;

HRESULT OrvSBDoc::get_Recipient(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return exttext::ReadNulText(d); });
}
HRESULT OrvSBDoc::put_Recipient(BSTR newVal) {
    return Locked([&] { return exttext::WriteNulText(Document(), newVal); });
}
HRESULT OrvSBDoc::get_AccountId(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcdpod); });
}
HRESULT OrvSBDoc::put_AccountId(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcdpod, newVal); });
}
HRESULT OrvSBDoc::get_BankDepartment(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return GetText(d, &IOrvDocument::get_DcOsn); });
}
HRESULT OrvSBDoc::put_BankDepartment(BSTR newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_DcOsn, newVal); });
}

}  // namespace orv
