#include "kinds/OrvIJDoc.h"

namespace orv {
namespace {
constexpr const OLECHAR* kEntry = u"IJ";
constexpr const OLECHAR* kIndex = u"NDX";
constexpr const OLECHAR* kSeria = u"SER";
constexpr const OLECHAR* kName = u"NAME";
constexpr const OLECHAR* kDate = u"DT";
}  // namespace

void OrvIJDoc::Decode(IXMLDOMElement* root) {
    entries_.clear();
    for (const ComPtr<IXMLDOMElement>& element : ext::ChildElements(root, kEntry)) {
        const LONG index = ext::ReadLong(element.Get(), kIndex);
        if (!IsIndex(index)) continue;
        Entry& entry = entries_[index];
        entry.seria = ext::ReadText(element.Get(), kSeria);
        entry.name = ext::ReadText(element.Get(), kName);
        entry.date = ext::ReadDouble(element.Get(), kDate);
    }
}

void OrvIJDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    for (const auto& [index, entry] : entries_) {
        ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, root, kEntry);
        ext::WriteLong(element.Get(), kIndex, index);
        ext::WriteText(element.Get(), kSeria, entry.seria);
        ext::WriteText(element.Get(), kName, entry.name);
        ext::WriteDouble(element.Get(), kDate, entry.date);
    }
}

HRESULT OrvIJDoc::GetText(LONG index, std::u16string Entry::*field, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    if (!IsIndex(index)) return E_INVALIDARG;
    return Locked([&] {
        auto it = entries_.find(index);
        return ext::CopyText(it == entries_.end() ? std::u16string_view() : it->second.*field, pVal);
    });
}

HRESULT OrvIJDoc::PutText(LONG index, std::u16string Entry::*field, BSTR newVal) {
    if (!IsIndex(index)) return E_INVALIDARG;
    return Locked([&] {
        entries_[index].*field = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvIJDoc::get_IJDate(LONG lIndex, DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    if (!IsIndex(lIndex)) return E_INVALIDARG;
    return Locked([&] {
        auto it = entries_.find(lIndex);
        *pVal = it == entries_.end() ? 0.0 : it->second.date;
        return S_OK;
    });
}

HRESULT OrvIJDoc::put_IJDate(LONG lIndex, DATE newVal) {
    if (!IsIndex(lIndex)) return E_INVALIDARG;
    return Locked([&] {
        entries_[lIndex].date = newVal;
        return S_OK;
    });
}

}  // namespace orv
