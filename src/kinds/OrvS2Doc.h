// Coded sums (type 138) and the kinds built the same way: a list of sums by
// code kept under a list element of their own,
//   <S2SUMS><S2SUM CODE="101" VAL="1500.5"/>...</S2SUMS>
// The whole list travels as one text, xmlString. These kinds have no
// InitFromExtension or UpdateExtension of their own: the first use reads the
// list from the document's extension, and a put writes it there at once.
// An object created alone (without a document) keeps its list in itself.
#pragma once

#include "kinds/SumLists.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_sums.h>

namespace orv {

template <class Derived, const CLSID* Clsid, class... Entries>
class CodedListKind : public SumListKind<Derived, Clsid, Entries...> {
public:
    void Decode(IXMLDOMElement* root) {
        sums::CodedSums read;
        read.Merge(root, Derived::kItem);
        list_ = std::move(read);
    }
    void Merge(IXMLDOMElement* root) { list_.Merge(root, Derived::kItem); }
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) { list_.Encode(xml, root, Derived::kItem); }
    void ClearList() noexcept { list_.Clear(); }

    // Writes the list into the extension (nothing without a document).
    HRESULT UpdateExtension() { return this->document_ ? this->UpdateExtensionImpl() : S_OK; }

protected:
    // Reads the extension once, on the first use.
    void Load() {
        if (this->initialized_ || !this->document_) return;
        Check(this->InitFromExtensionImpl());
    }

    HRESULT GetXmlString(BSTR* pVal) {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        return this->Locked([&] {
            Load();
            return ext::CopyText(this->ListText(), pVal);
        });
    }
    // Replaces the list by the text's list: an empty text empties it; a text
    // that does not parse is E_INVALIDARG and changes nothing.
    HRESULT PutXmlString(BSTR newVal) {
        return this->Locked([&]() -> HRESULT {
            const std::u16string text = ext::TextOf(newVal);
            sums::CodedSums read;
            if (!text.empty()) {
                ComPtr<IXMLDOMDocument> xml = sums::ParseXml(text);
                if (!xml) return E_INVALIDARG;
                if (ComPtr<IXMLDOMElement> root = sums::SelectElement(xml.Get(), Derived::kRoot))
                    read.Merge(root.Get(), Derived::kItem);
            }
            return Replace(std::move(read));
        });
    }
    // Takes the new list and writes it into the extension; the list is kept
    // as it was when the write fails.
    HRESULT Replace(sums::CodedSums read) {
        sums::CodedSums old = std::move(list_);
        list_ = std::move(read);
        this->initialized_ = VARIANT_TRUE;
        HRESULT hr = UpdateExtension();
        if (FAILED(hr)) list_ = std::move(old);
        return hr;
    }

    sums::CodedSums list_;
};

class OrvS2Doc : public CodedListKind<OrvS2Doc, &CLSID_OrvS2Doc, IOrvS2Doc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"S2SUMS";
    static constexpr const OLECHAR* kItem = u"S2SUM";

    HRESULT get_xmlString(BSTR* pVal) override { return GetXmlString(pVal); }
    HRESULT put_xmlString(BSTR newVal) override { return PutXmlString(newVal); }
};

}  // namespace orv
