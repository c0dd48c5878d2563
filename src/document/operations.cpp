// The document as a whole: its specific object, copies and comparison.
#include "document/OrvDocument.h"

#include "kinds/selection.h"

#include <orvdocs/platform/strings.h>

#include <cstring>

namespace orv {
namespace {

// The byte ranges of the record that Compare looks at; DcOsn (35, 33 bytes)
// is compared as text. Not compared: Dfl (0), lDcId (6), EnteringDate (12),
// DcType (32), dcShort 0 of both areas (102, 218), Memo (130), the two words
// without a property at 266 and 270, and everything from 274 on.
struct ByteRange {
    std::uint16_t offset, size;
};
constexpr ByteRange kCompared[] = {
    {2, 4},      // type code, T1
    {8, 4},      // dtDn, dtDk
    {14, 18},    // DcDat1; primary Dcsum1, DcSum2, DcDolg, lDcProc, lDcdpod
    {68, 34},    // primary DolgOld, DcSum3, Dcms 0..2, LReserv2; the four codes; the word at 100
    {104, 26},   // primary dcShort 1, dcLong 0..4; StaffOrderId
    {176, 42},   // shAccsType; secondary Dcsum1 .. LReserv2
    {220, 46},   // secondary dcShort 1, dcLong 0..4; lDcRsrv 0..4; the Dcsum1 high word
};

}  // namespace

HRESULT OrvDocument::GetSpecificObj(IUnknown** punkDocument) {
    if (!punkDocument) return E_POINTER;
    *punkDocument = nullptr;
    // The new object receives this document and may call back into it (the
    // sick-leave document does) while the lock is held: it is recursive.
    return Locked(
        [&] { return CreateSpecificObject(record_.TypeCode(), static_cast<IOrvDocument*>(this), punkDocument); });
}

HRESULT OrvDocument::GetSpecificObj2(IDispatch** pdispDocument) {
    if (!pdispDocument) return E_POINTER;
    *pdispDocument = nullptr;
    ComPtr<IUnknown> object;
    HRESULT hr = GetSpecificObj(object.GetAddressOf());
    if (FAILED(hr)) return hr;
    if (object) object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(pdispDocument));
    return hr;
}

HRESULT OrvDocument::Clone(IUnknown** ppunkDocument) {
    if (!ppunkDocument) return E_POINTER;
    *ppunkDocument = nullptr;
    return Locked([&] {
        ComPtr<IUnknown> cloneUnknown;
        OrvDocument* clone = nullptr;
        Check(CreateObjectWithAccess<OrvDocument>(&cloneUnknown, &clone));
        {
            // The new document is not shared yet; its lock keeps the copy tidy.
            auto cloneLock = clone->Lock();
            clone->dbAddr_ = dbAddr_;
            clone->record_ = record_;
            clone->database_ = database_;
            clone->timeStamp_ = timeStamp_;
            clone->at_ = at_;
            clone->recalculationDate_ = recalculationDate_;
        }
        if (extensionInitialized_) {
            ComPtr<IOrvDocExtension> from = Extension();
            ComPtr<IOrvDocExtension> to = clone->Extension();
            Bstr body;
            LONG length = 0;
            Check(from->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
            Check(to->put_Body(body), IID_IOrvDocExtension);
            Check(from->get_Length(&length), IID_IOrvDocExtension);
            Check(to->put_Length(length), IID_IOrvDocExtension);
            Check(clone->put_ExtensionInitialized(extensionInitialized_));
        }
        for (const auto& [id, collector] : collectors_) {
            ComPtr<IOrvSumCollector> sums;
            if (!collector || FAILED(collector.As(&sums))) throw ComError{E_POINTER, IID_IOrvSumCollector};
            ComPtr<IUnknown> copy;
            Check(sums->Clone(copy.GetAddressOf()), IID_IOrvSumCollector);
            if (!copy) throw ComError{E_POINTER, IID_IOrvSumCollector};
            auto cloneLock = clone->Lock();
            clone->collectors_.emplace(id, copy);
        }
        *ppunkDocument = cloneUnknown.Detach();
        return S_OK;
    });
}

HRESULT OrvDocument::Compare(IUnknown* punkDocument) {
    if (!punkDocument) return E_POINTER;
    // The other record is read before this document's lock is taken: holding
    // it while the other document takes its own would order the two locks one
    // way here and the other way in the same call made on the other document.
    Bstr image;
    HRESULT hr = Guarded([&] {
        ComPtr<IOrvDocument> other;
        Check(punkDocument->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(other.GetAddressOf())),
              IID_IOrvDocument);
        Check(other->get_DocRecord(image.ReleaseAndGetAddressOf()), IID_IOrvDocument);
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    return Locked([&] {
        // A record that is missing or shorter than a record is not a record.
        if (!image || image.ByteLength() < DocRecord::kSize) return E_UNEXPECTED;
        const auto* theirs = reinterpret_cast<const unsigned char*>(image.Get());
        const unsigned char* ours = record_.Data();
        for (const ByteRange& r : kCompared)
            if (std::memcmp(ours + r.offset, theirs + r.offset, r.size) != 0) return S_FALSE;
        // The grounds text: its characters up to the NUL within the field.
        const char* a = record_.DcOsnField();
        const char* b = reinterpret_cast<const char*>(theirs + docrec::kDcOsn);
        if (std::strncmp(a, b, docrec::kDcOsnWidth) != 0) return S_FALSE;
        return S_OK;
    });
}

}  // namespace orv
