// Fields of the transfer document:
//   Old/NewPositionId       dcLong(0), dcLong(1)
//   Old/NewProfRazryad      dcLong(2), dcLong(3)
//   Old/NewDriverClassnost  lDcRsrv(0), lDcRsrv(1)
//   OldStaffPositionID      LReserv2
//   NewStaffPositionID      DcSum3 as h (its hundredths hold the identifier)
// and the four texts in the 42-byte extension body:
//   bytes 0-9 OldDepNum, 10-20 OldPosition, 21-30 NewDepNum, 31-41 NewPosition.
#include "kinds/OrvDRDoc.h"

#include "frame/oemtext.h"
#include "kinds/ExtensionText.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orv {

using namespace record;

HRESULT OrvDRDoc::GetDcLong(LONG index, LONG* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_dcLong, index); });
}
HRESULT OrvDRDoc::PutDcLong(LONG index, LONG value) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_dcLong, index, value); });
}
HRESULT OrvDRDoc::GetReserve(LONG index, LONG* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcRsrv, index); });
}
HRESULT OrvDRDoc::PutReserve(LONG index, LONG value) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcRsrv, index, value); });
}

HRESULT OrvDRDoc::get_OldPositionId(LONG* pVal) { return GetDcLong(0, pVal); }
HRESULT OrvDRDoc::put_OldPositionId(LONG newVal) { return PutDcLong(0, newVal); }
HRESULT OrvDRDoc::get_NewPositionId(LONG* pVal) { return GetDcLong(1, pVal); }
HRESULT OrvDRDoc::put_NewPositionId(LONG newVal) { return PutDcLong(1, newVal); }
HRESULT OrvDRDoc::get_OldProfRazryad(LONG* pVal) { return GetDcLong(2, pVal); }
HRESULT OrvDRDoc::put_OldProfRazryad(LONG newVal) { return PutDcLong(2, newVal); }
HRESULT OrvDRDoc::get_NewProfRazryad(LONG* pVal) { return GetDcLong(3, pVal); }
HRESULT OrvDRDoc::put_NewProfRazryad(LONG newVal) { return PutDcLong(3, newVal); }
HRESULT OrvDRDoc::get_OldDriverClassnost(LONG* pVal) { return GetReserve(0, pVal); }
HRESULT OrvDRDoc::put_OldDriverClassnost(LONG newVal) { return PutReserve(0, newVal); }
HRESULT OrvDRDoc::get_NewDriverClassnost(LONG* pVal) { return GetReserve(1, pVal); }
HRESULT OrvDRDoc::put_NewDriverClassnost(LONG newVal) { return PutReserve(1, newVal); }

HRESULT OrvDRDoc::get_OldStaffPositionID(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_LReserv2); });
}
HRESULT OrvDRDoc::put_OldStaffPositionID(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_LReserv2, newVal); });
}

HRESULT OrvDRDoc::get_NewStaffPositionID(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadHundredths(d, Sum::DcSum3); });
}
HRESULT OrvDRDoc::put_NewStaffPositionID(LONG newVal) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, Sum::DcSum3, newVal); });
}

// A slot reads only when the body holds all 42 bytes and Length says so;
// otherwise the text is empty (null) and the status S_FALSE. A document
// without an extension reads as one with an empty body.
HRESULT OrvDRDoc::GetSlot(Slot slot, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&]() -> HRESULT {
        ComPtr<IOrvDocExtension> ext = exttext::Find(Document());
        if (!ext) return S_FALSE;
        Bstr body = exttext::Body(ext.Get());
        LONG length = 0;
        Check(ext->get_Length(&length), IID_IOrvDocExtension);
        if (body.ByteLength() < kBodySize || length < static_cast<LONG>(kBodySize)) return S_FALSE;
        // The text ends at its NUL and never runs into the next slot.
        *pVal = COemToWChar(reinterpret_cast<const char*>(body.Get()) + slot.offset, slot.width).AllocBstr();
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

// Writes one slot of the body, starting from 42 zero bytes when the body is
// shorter (or Length below 42) and keeping the other slots as they were.
HRESULT OrvDRDoc::PutSlot(Slot slot, BSTR value) {
    return Locked([&]() -> HRESULT {
        ComPtr<IOrvDocExtension> ext = exttext::Find(Document());
        if (!ext) return E_UNEXPECTED;
        unsigned char bytes[kBodySize] = {};
        Bstr body = exttext::Body(ext.Get());
        LONG length = 0;
        Check(ext->get_Length(&length), IID_IOrvDocExtension);
        if (body.ByteLength() >= kBodySize && length >= static_cast<LONG>(kBodySize))
            std::memcpy(bytes, body.Get(), kBodySize);
        CTCharToOem oem(value);
        std::memset(bytes + slot.offset, 0, slot.width);
        std::memcpy(bytes + slot.offset, oem.Text(), std::min(oem.Length(), slot.width - 1));
        Bstr updated = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<LPCSTR>(bytes), kBodySize));
        if (!updated) throw std::bad_alloc();
        Check(ext->put_Length(static_cast<LONG>(kBodySize)), IID_IOrvDocExtension);
        return Check(ext->put_Body(updated), IID_IOrvDocExtension);
    });
}

HRESULT OrvDRDoc::get_OldDepNum(BSTR* pVal) { return GetSlot(kOldDepNum, pVal); }
HRESULT OrvDRDoc::put_OldDepNum(BSTR newVal) { return PutSlot(kOldDepNum, newVal); }
HRESULT OrvDRDoc::get_OldPosition(BSTR* pVal) { return GetSlot(kOldPosition, pVal); }
HRESULT OrvDRDoc::put_OldPosition(BSTR newVal) { return PutSlot(kOldPosition, newVal); }
HRESULT OrvDRDoc::get_NewDepNum(BSTR* pVal) { return GetSlot(kNewDepNum, pVal); }
HRESULT OrvDRDoc::put_NewDepNum(BSTR newVal) { return PutSlot(kNewDepNum, newVal); }
HRESULT OrvDRDoc::get_NewPosition(BSTR* pVal) { return GetSlot(kNewPosition, pVal); }
HRESULT OrvDRDoc::put_NewPosition(BSTR newVal) { return PutSlot(kNewPosition, newVal); }

}  // namespace orv
