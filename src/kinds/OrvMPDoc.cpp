#include "kinds/OrvMPDoc.h"

#include <cmath>

namespace orv {

HRESULT OrvMPDoc::InitFromExtension() {
    return Locked([&] {
        recipient_ = body_.Load(Document());
        return S_OK;
    });
}

HRESULT OrvMPDoc::UpdateExtension() {
    return Locked([&] {
        body_.Store(Document(), &recipient_);
        return S_OK;
    });
}

HRESULT OrvMPDoc::GetSum(record::Sum field, CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    return Locked([&] {
        *pVal = record::ReadSum(Document(), field);
        return S_OK;
    });
}

HRESULT OrvMPDoc::PutSum(record::Sum field, CY value) {
    return Locked([&] {
        record::WriteSum(Document(), field, value);
        return S_OK;
    });
}

HRESULT OrvMPDoc::get_AccountId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_lDcdpod);
        return S_OK;
    });
}

HRESULT OrvMPDoc::put_AccountId(LONG newVal) {
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_lDcdpod, newVal);
        return S_OK;
    });
}

HRESULT OrvMPDoc::get_BankDepNum(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, 0);
        return S_OK;
    });
}

HRESULT OrvMPDoc::put_BankDepNum(LONG newVal) {
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_dcLong, 0, newVal);
        return S_OK;
    });
}

HRESULT OrvMPDoc::get_NumToBePaid(double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_LReserv2);
        return S_OK;
    });
}

HRESULT OrvMPDoc::put_NumToBePaid(double newVal) {
    // The field holds a whole 32-bit number; other values are refused.
    if (!(newVal > -2147483648.5 && newVal < 2147483647.5)) return E_INVALIDARG;
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_LReserv2, static_cast<LONG>(std::lround(newVal)));
        return S_OK;
    });
}

HRESULT OrvMPDoc::get_Recipient(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(recipient_, pVal); });
}

HRESULT OrvMPDoc::put_Recipient(BSTR newVal) {
    return Locked([&] {
        recipient_ = ext::TextOf(newVal);
        return S_OK;
    });
}

}  // namespace orv
