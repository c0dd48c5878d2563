// Fields of the advance payment: Sum Dcsum1, SumToTransfer DcSum3, AccountId
// lDcdpod, BankDepNum dcLong(0); Recipient is the extension's NUL-terminated text.
#include "kinds/OrvAVDoc.h"

#include "kinds/ExtensionText.h"

namespace orv {

using namespace record;

HRESULT OrvAVDoc::get_Sum(CY* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadSum(d, Sum::Dcsum1); });
}
HRESULT OrvAVDoc::put_Sum(CY newVal) {
    return PutField([&](IOrvDocument* d) { WriteSum(d, Sum::Dcsum1, newVal); });
}
HRESULT OrvAVDoc::get_SumToTransfer(CY* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadSum(d, Sum::DcSum3); });
}
HRESULT OrvAVDoc::put_SumToTransfer(CY newVal) {
    return PutField([&](IOrvDocument* d) { WriteSum(d, Sum::DcSum3, newVal); });
}
HRESULT OrvAVDoc::get_AccountId(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcdpod); });
}
HRESULT OrvAVDoc::put_AccountId(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcdpod, newVal); });
}
HRESULT OrvAVDoc::get_BankDepNum(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_dcLong, LONG{0}); });
}
HRESULT OrvAVDoc::put_BankDepNum(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_dcLong, LONG{0}, newVal); });
}
HRESULT OrvAVDoc::get_Recipient(BSTR* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return exttext::ReadNulText(d); });
}
HRESULT OrvAVDoc::put_Recipient(BSTR newVal) {
    return Locked([&] { return exttext::WriteNulText(Document(), newVal); });
}

}  // namespace orv
