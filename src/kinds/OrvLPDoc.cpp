#include "kinds/OrvLPDoc.h"

#include "frame/oemtext.h"
#include "kinds/SumLists.h"

#include <orvdocs/frame/database.h>
#include <orvdocs/frame/lists.h>

#include <cstdint>

namespace orv {
namespace {

constexpr LONG kDiscountTypeTable = 8;    // the allowance-type table of the database service
constexpr ULONG kCancelDiscountMask = 0x20;  // Dfl bit 5

// The codes of allowance types that count each child once for two
// (the allowance is shared: the count is halved).
bool HalvesCount(std::u16string_view code) { return code == u"45" || code == u"102"; }

uint32_t Replace(uint32_t word, int shift, int width, uint32_t value) {
    const uint32_t mask = (width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u)) << shift;
    return (word & ~mask) | ((value << shift) & mask);
}

}  // namespace

// ------------------------------------------------------------ record fields

HRESULT OrvLPDoc::get_DiscountInSum(CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    return Locked([&] {
        *pVal = record::ReadSum(Document(), record::Sum::Dcsum1);
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_DiscountInSum(CY newVal) {
    return Locked([&] {
        record::WriteSum(Document(), record::Sum::Dcsum1, newVal);
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_SuperMrot(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::ReadHundredths(Document(), record::Sum::DcSum2);
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_SuperMrot(LONG newVal) {
    return Locked([&] {
        record::WriteHundredths(Document(), record::Sum::DcSum2, newVal);
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_AdditionalMrot(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_DcDat1);
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_AdditionalMrot(LONG newVal) {
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_DcDat1, newVal);
        return S_OK;
    });
}

HRESULT OrvLPDoc::GetSumBits(record::Sum field, int shift, int width, ULONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), field));
        *pVal = (h >> shift) & ((1u << width) - 1u);
        return S_OK;
    });
}

HRESULT OrvLPDoc::PutSumBits(record::Sum field, int shift, int width, ULONG value) {
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), field));
        record::WriteHundredths(Document(), field, static_cast<LONG>(Replace(h, shift, width, value)));
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_ChildType(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::ReadHundredths(Document(), record::Sum::Dcms0);
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_ChildType(LONG newVal) {
    return Locked([&] {
        record::WriteHundredths(Document(), record::Sum::Dcms0, newVal);
        return S_OK;
    });
}

HRESULT OrvLPDoc::GetSumFlag(int bit, VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), record::Sum::Dcms1));
        *pVal = (h >> bit) & 1u ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvLPDoc::PutSumFlag(int bit, VARIANT_BOOL value) {
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), record::Sum::Dcms1));
        record::WriteHundredths(Document(), record::Sum::Dcms1, static_cast<LONG>(Replace(h, bit, 1, value ? 1u : 0u)));
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_CancelDiscount(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return Locked([&] {
        const auto dfl = static_cast<ULONG>(record::Get<LONG>(Document(), &IOrvDocument::get_Dfl));
        *pVal = dfl & kCancelDiscountMask ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_CancelDiscount(VARIANT_BOOL newVal) {
    return Locked([&] {
        auto dfl = static_cast<ULONG>(record::Get<LONG>(Document(), &IOrvDocument::get_Dfl));
        dfl = newVal ? (dfl | kCancelDiscountMask) : (dfl & ~kCancelDiscountMask);
        record::Call(Document(), &IOrvDocument::put_Dfl, static_cast<LONG>(dfl));
        return S_OK;
    });
}

HRESULT OrvLPDoc::GetHalf(LONG index, int shift, SHORT* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        const auto word = static_cast<uint32_t>(record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, index));
        *pVal = static_cast<SHORT>(static_cast<uint16_t>(word >> shift));
        return S_OK;
    });
}

HRESULT OrvLPDoc::PutHalf(LONG index, int shift, SHORT value) {
    return Locked([&] {
        const auto word = static_cast<uint32_t>(record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, index));
        const uint32_t next = Replace(word, shift, 16, static_cast<uint16_t>(value));
        record::Call(Document(), &IOrvDocument::put_dcLong, index, static_cast<LONG>(next));
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_TaxTableNumber(SHORT* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<SHORT>(Document(), &IOrvDocument::get_dcShort, 1);
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_TaxTableNumber(SHORT newVal) {
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_dcShort, 1, newVal);
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_Version(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, 3);
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_Version(LONG newVal) {
    return Locked([&] {
        SetVersion(newVal);
        return S_OK;
    });
}

void OrvLPDoc::SetVersion(LONG version) { record::Call(Document(), &IOrvDocument::put_dcLong, 3, version); }

// ------------------------------------------------------------------ counts

HRESULT OrvLPDoc::Count(LONG pipeId, bool dependants, LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&]() -> HRESULT {
        IOrvDocument* doc = Document();
        const LONG n = record::Get<LONG>(doc, &IOrvDocument::get_lDcdpod);
        const LONG type = record::ReadHundredths(doc, record::Sum::Dcms0) & 3;
        if ((type == 2) != dependants || n == 0) return S_OK;
        const auto k = (static_cast<uint32_t>(record::ReadHundredths(doc, kDiscountTypes)) >> 8) & 0xFFu;
        if (k == 0) {
            *pVal = n;
            return S_OK;
        }
        // Without a database service the table cannot be asked: the
        // document's refusal (E_UNEXPECTED) ends the count.
        ComPtr<IUnknown> database;
        Check(doc->get_OrvBD(database.GetAddressOf()), IID_IOrvDocument);
        if (!database) throw ComError{E_UNEXPECTED, IID_IOrvDocument};
        ComPtr<IOrvReferenceSource> source;
        Check(database->QueryInterface(IID_IOrvReferenceSource, reinterpret_cast<void**>(source.GetAddressOf())),
              IID_IOrvReferenceSource);
        ComPtr<IUnknown> entry;
        Check(source->GetEntryPiped(pipeId, static_cast<LONG>(k), kDiscountTypeTable, entry.GetAddressOf()),
              IID_IOrvReferenceSource);
        *pVal = n;
        if (!entry) return S_OK;
        ComPtr<IOrvRefItem> item;
        Check(entry->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf())), IID_IOrvRefItem);
        Bstr code;
        Check(item->get_Code(code.ReleaseAndGetAddressOf()), IID_IOrvRefItem);
        if (HalvesCount(code.View())) *pVal = n / 2;
        return S_OK;
    });
}

// --------------------------------------------------------------- extension

void OrvLPDoc::Decode(IXMLDOMElement* root) {
    std::u16string address = ext::ReadText(root, u"ADDRESS");
    std::u16string number = ext::ReadText(root, u"UN");
    std::u16string office = ext::ReadText(root, u"UC");
    const DATE date = ext::ReadDouble(root, u"UD");
    address_ = std::move(address);
    uvedomNumber_ = std::move(number);
    uvedomGniCode_ = std::move(office);
    uvedomDate_ = date;
}

void OrvLPDoc::Encode(IXMLDOMDocument*, IXMLDOMElement* root) {
    ext::WriteText(root, u"ADDRESS", address_);
    ext::WriteText(root, u"UN", uvedomNumber_);
    ext::WriteText(root, u"UC", uvedomGniCode_);
    ext::WriteDouble(root, u"UD", uvedomDate_);
}

void OrvLPDoc::Load() {
    if (initialized_) return;
    if (record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, 3) != 0) {
        Check(InitFromExtensionImpl());
        return;
    }
    if (ComPtr<IOrvDocExtension> ext = sums::ExtensionOf(Document())) {
        std::string bytes = sums::BodyBytes(ext.Get());
        if (!bytes.empty()) {
            for (char& c : bytes)
                if (c == '\n') c = ' ';
            address_ = COemToWChar(bytes.data(), bytes.size()).Text();
        }
    }
    initialized_ = VARIANT_TRUE;
}

HRESULT OrvLPDoc::InitFromExtension() {
    return Locked([&] {
        Load();
        return S_OK;
    });
}

HRESULT OrvLPDoc::UpdateExtension() {
    return Locked([&] {
        SetVersion(1);
        Check(UpdateExtensionImpl());
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_Address(LONG lPipeId, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!initialized_) {
            // The address is read once: the database service (when the
            // document has one) fills the extension first, then the body is
            // decoded. A document without a service is read as it stands.
            ComPtr<IUnknown> database;
            if (SUCCEEDED(Document()->get_OrvBD(database.GetAddressOf())) && database) {
                LONG result = 0;
                Check(Document()->InitInnerDocExtension(lPipeId, &result), IID_IOrvDocument);
            }
            Load();
        }
        return ext::CopyText(address_, pVal);
    });
}

HRESULT OrvLPDoc::put_Address(BSTR newVal) {
    return Locked([&] {
        Document();
        std::u16string text = ext::TextOf(newVal);
        SetVersion(1);
        address_ = std::move(text);
        return S_OK;
    });
}

// The notification fields live in the object, but like every property of
// this kind they answer E_POINTER when the object has no document.
HRESULT OrvLPDoc::GetText(const std::u16string& field, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        Document();
        return ext::CopyText(field, pVal);
    });
}

HRESULT OrvLPDoc::PutText(std::u16string& field, BSTR value) {
    return Locked([&] {
        Document();
        field = ext::TextOf(value);
        return S_OK;
    });
}

HRESULT OrvLPDoc::get_UvedomDate(DATE* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        Document();
        *pVal = uvedomDate_;
        return S_OK;
    });
}

HRESULT OrvLPDoc::put_UvedomDate(DATE newVal) {
    return Locked([&] {
        Document();
        uvedomDate_ = newVal;
        return S_OK;
    });
}

}  // namespace orv
