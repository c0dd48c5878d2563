#include "kinds/OrvILDoc.h"

#include "frame/oemtext.h"
#include "frame/values.h"
#include "kinds/SumLists.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {
namespace {

constexpr std::size_t kMaxCopy = 1023;       // the longest full text looked at
constexpr std::size_t kAdditionOffset = 76;  // the addition's field in the older record
constexpr std::u16string_view kMarkers[] = {u"ПСП№", u"ПСП#"};

// The copy that the markers are searched in: at most 1023 characters, Latin
// letters in capitals (other letters keep their case).
std::u16string UpperCopy(std::u16string_view full) {
    std::u16string copy(full.substr(0, kMaxCopy));
    for (char16_t& c : copy)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return copy;
}

std::size_t FindMarker(std::u16string_view text) {
    for (std::u16string_view marker : kMarkers) {
        std::size_t at = text.find(marker);
        if (at != std::u16string_view::npos) return at;
    }
    return std::u16string_view::npos;
}

// Pieces of text between the delimiters, empty pieces skipped.
std::vector<std::u16string_view> Tokens(std::u16string_view text, std::u16string_view delimiters) {
    std::vector<std::u16string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        i = text.find_first_not_of(delimiters, i);
        if (i == std::u16string_view::npos) break;
        std::size_t end = text.find_first_of(delimiters, i);
        if (end == std::u16string_view::npos) end = text.size();
        tokens.push_back(text.substr(i, end - i));
        i = end;
    }
    return tokens;
}

}  // namespace

WritRecipient SplitRecipient(std::u16string_view full) {
    WritRecipient out;
    const std::u16string copy = UpperCopy(full);
    const std::size_t marker = FindMarker(copy);
    if (marker == std::u16string::npos) {
        out.name = std::u16string(full);
        return out;
    }
    out.name = copy.substr(0, marker);
    std::vector<std::u16string_view> pieces = Tokens(std::u16string_view(copy).substr(marker), u"()");
    if (pieces.size() < 2) return out;
    std::vector<std::u16string_view> words = Tokens(pieces[1], u" \t\r\n\v\f");
    if (words.size() >= 3) {
        out.series = std::u16string(words[0]) + u" " + std::u16string(words[1]);
        out.number = std::u16string(words[2]);
    } else if (!words.empty()) {
        out.series = std::u16string(words[0]);
        if (words.size() == 2) out.number = std::u16string(words[1]);
    }
    return out;
}

// ------------------------------------------------------------ extension

void OrvILDoc::Decode(IXMLDOMElement* root) {
    std::u16string full = ext::ReadText(root, u"RCPNT");
    std::u16string code = ext::ReadText(root, u"RCODE");
    full_ = std::move(full);
    code_ = std::move(code);
}

void OrvILDoc::Encode(IXMLDOMDocument*, IXMLDOMElement* root) {
    ext::WriteText(root, u"RCPNT", full_);
    ext::WriteText(root, u"RCODE", code_);
}

void OrvILDoc::Load() {
    if (record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, 1) != 0) {
        Check(InitFromExtensionImpl());
        return;
    }
    if (ComPtr<IOrvDocExtension> ext = sums::ExtensionOf(Document())) {
        const std::string bytes = sums::BodyBytes(ext.Get());
        if (!bytes.empty()) {
            std::u16string full = COemToWChar(bytes.data(), std::min(bytes.size(), kAdditionOffset)).Text();
            if (bytes.size() > kAdditionOffset) {
                std::u16string addition =
                    COemToWChar(bytes.data() + kAdditionOffset, bytes.size() - kAdditionOffset).Text();
                if (!addition.empty()) full += u" до " + addition;
            }
            full_ = std::move(full);
        }
    }
    initialized_ = VARIANT_TRUE;
}

HRESULT OrvILDoc::InitFromExtension() {
    return Locked([&] {
        Load();
        return S_OK;
    });
}

HRESULT OrvILDoc::UpdateExtension() {
    return Locked([&] {
        Check(UpdateExtensionImpl());
        if (sums::ExtensionOf(Document())) record::Call(Document(), &IOrvDocument::put_dcLong, 1, 1);
        return S_OK;
    });
}

// ------------------------------------------------------------ recipient

HRESULT OrvILDoc::get_FullRecipient(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!initialized_) Load();
        return ext::CopyText(full_, pVal);
    });
}

HRESULT OrvILDoc::GetPart(std::u16string WritRecipient::*part, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!initialized_) Load();
        return ext::CopyText(SplitRecipient(full_).*part, pVal);
    });
}

HRESULT OrvILDoc::get_Recipient(BSTR* pVal) { return GetPart(&WritRecipient::name, pVal); }
HRESULT OrvILDoc::get_RecipientPassSeria(BSTR* pVal) { return GetPart(&WritRecipient::series, pVal); }
HRESULT OrvILDoc::get_RecipientPassNumber(BSTR* pVal) { return GetPart(&WritRecipient::number, pVal); }

HRESULT OrvILDoc::put_Recipient(BSTR newVal) {
    return Locked([&] {
        full_ = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvILDoc::get_RecipientPassType(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(u"21", pVal); });
}

HRESULT OrvILDoc::get_RecipientCode(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(code_, pVal); });
}

HRESULT OrvILDoc::put_RecipientCode(BSTR newVal) {
    return Locked([&] {
        code_ = ext::TextOf(newVal);
        return S_OK;
    });
}

// --------------------------------------------------------- record fields

HRESULT OrvILDoc::get_AccountId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), record::Sum::DcSum3));
        *pVal = static_cast<int16_t>(static_cast<uint16_t>(h & 0xFFFFu));
        return S_OK;
    });
}

HRESULT OrvILDoc::put_AccountId(LONG newVal) {
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), record::Sum::DcSum3));
        const uint32_t next = (h & 0xFFFF0000u) | (static_cast<uint32_t>(newVal) & 0xFFFFu);
        record::WriteHundredths(Document(), record::Sum::DcSum3, static_cast<LONG>(next));
        return S_OK;
    });
}

HRESULT OrvILDoc::get_BankDepartment(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), record::Sum::DcSum3));
        const auto high = static_cast<int16_t>(static_cast<uint16_t>(h >> 16));
        std::u16string text;
        if (high != 0) {
            const std::string digits = std::to_string(high);
            text.assign(digits.begin(), digits.end());
        }
        return ext::CopyText(text, pVal);
    });
}

HRESULT OrvILDoc::put_BankDepartment(BSTR newVal) {
    // The text is a decimal integer (blanks around it allowed); an empty
    // text is 0. Anything else is refused and changes nothing.
    const std::u16string text = ext::TextOf(newVal);
    std::size_t i = text.find_first_not_of(u" \t");
    std::size_t end = text.find_last_not_of(u" \t");
    LONG value = 0;
    if (i != std::u16string::npos) {
        bool negative = false;
        if (text[i] == u'-' || text[i] == u'+') negative = text[i++] == u'-';
        if (i > end) return E_INVALIDARG;
        long long v = 0;
        for (; i <= end; ++i) {
            if (text[i] < u'0' || text[i] > u'9') return E_INVALIDARG;
            v = v * 10 + (text[i] - u'0');
            if (v > 0xFFFFFFFFLL) return E_INVALIDARG;
        }
        value = static_cast<LONG>(negative ? -v : v);
    }
    return Locked([&] {
        const auto h = static_cast<uint32_t>(record::ReadHundredths(Document(), record::Sum::DcSum3));
        const uint32_t next = (h & 0xFFFFu) | ((static_cast<uint32_t>(value) & 0xFFFFu) << 16);
        record::WriteHundredths(Document(), record::Sum::DcSum3, static_cast<LONG>(next));
        return S_OK;
    });
}

HRESULT OrvILDoc::get_ListNumber(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_LReserv2);
        return S_OK;
    });
}

HRESULT OrvILDoc::put_ListNumber(LONG newVal) {
    return Locked([&] { return Document()->put_LReserv2(newVal); });
}

HRESULT OrvILDoc::get_OutsidePost(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = record::Get<SHORT>(Document(), &IOrvDocument::get_dcShort, 1);
        return S_OK;
    });
}

HRESULT OrvILDoc::put_OutsidePost(LONG newVal) {
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_dcShort, 1, static_cast<SHORT>(static_cast<uint16_t>(newVal)));
        return S_OK;
    });
}

HRESULT OrvILDoc::get_PostProc(double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        *pVal = record::Get<LONG>(Document(), &IOrvDocument::get_dcLong, 0) / 10000.0;
        return S_OK;
    });
}

HRESULT OrvILDoc::put_PostProc(double newVal) {
    // The currency value of the percentage, its raw ten-thousandths kept in
    // 32 bits; a value that does not fit is refused.
    Variant number(newVal);
    Variant converted;
    if (FAILED(VariantChangeType(&converted, &number, 0, VT_CY))) return E_INVALIDARG;
    const CY value = converted.cyVal;
    if (value.int64 < INT32_MIN || value.int64 > INT32_MAX) return E_INVALIDARG;
    return Locked([&] {
        record::Call(Document(), &IOrvDocument::put_dcLong, 0, static_cast<LONG>(value.int64));
        return S_OK;
    });
}

}  // namespace orv
