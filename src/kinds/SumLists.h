// What the sum-list kinds (S1, S2, S3, RI, ER, MP, MV, ZG) share.
//
// A sum list lives in the object and reaches the document's extension only
// through UpdateExtension (or ClearSums, which calls it). Lists travel as XML
// texts whose root names the list ("S1SUMS", "S2SUMS", ...): GetSumsXml writes
// the list as such a text, AddSumsXml merges one into the list.
//
// SumListKind<Derived, ...> is the base of a list kind. The kind gives
//     static constexpr const OLECHAR* kRoot;              // the list element
//     void Decode(IXMLDOMElement* root);                  // body read (Part of Init)
//     void Merge(IXMLDOMElement* root);                   // AddSumsXml
//     void Encode(IXMLDOMDocument*, IXMLDOMElement* root);// list written
//     void ClearList();                                   // ClearSums
// and the base gives the member bodies (ClearSumsImpl, AddSumsXmlImpl,
// GetSumsXmlImpl). Merge reads every element it takes before changing the
// list, so a failing DOM call leaves the list as it was.
#pragma once

#include "kinds/ExtensionFields.h"

#include "xml/dom.h"

#include <orvdocs/platform/strings.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::sums {

// Loads the text into a new document; null when the text is empty or does not parse.
ComPtr<IXMLDOMDocument> ParseXml(std::u16string_view text);
// The element at path below node, or null.
ComPtr<IXMLDOMElement> SelectElement(IXMLDOMNode* node, const OLECHAR* path);
// The written form of a node.
std::u16string XmlOf(IXMLDOMNode* node);

// Money attributes: VT_CY on writing, the lenient currency reader on reading.
CY ReadCurrency(IXMLDOMElement* element, const OLECHAR* name);
void WriteCurrency(IXMLDOMElement* element, const OLECHAR* name, CY value);

// The document's extension, or null when it has none.
ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* document);
// The extension's body as bytes, at most Length of them (never more than the
// body holds; a Length below 0 counts as 0).
std::string BodyBytes(IOrvDocExtension* ext);
// Sets the body to the bytes and Length to their count; no bytes clear it.
void PutBodyBytes(IOrvDocExtension* ext, const std::string& bytes);

// A list of sums by code ("CODE", "VAL"), in the order the codes first came.
// A code occurs once: a sum for a code already held is added to it.
class CodedSums {
public:
    using Entry = std::pair<LONG, CY>;

    const std::vector<Entry>& Entries() const noexcept { return entries_; }
    void Clear() noexcept { entries_.clear(); }
    void Add(LONG code, CY sum);
    // Reads every element named item under root (CODE and VAL) and adds them.
    void Merge(IXMLDOMElement* root, const OLECHAR* item);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root, const OLECHAR* item) const;

    // One line: "code value" pairs joined by "; " ("101 1500.5; 102 200").
    std::u16string ToLine() const;
    // Reads such a line: pieces split at ";", each piece a code and a value
    // separated by blanks; empty pieces are skipped. False (and nothing
    // read into out) when a piece is not a whole number and an amount.
    static bool FromLine(std::u16string_view line, CodedSums* out);

private:
    std::vector<Entry> entries_;
};

}  // namespace orv::sums

namespace orv {

template <class Derived, const CLSID* Clsid, class... Entries>
class SumListKind : public ExtensionKind<Derived, Clsid, Entries...> {
protected:
    Derived* Self() noexcept { return static_cast<Derived*>(this); }

    // The list as an XML text with the kind's root.
    std::u16string ListText() {
        ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
        ComPtr<IXMLDOMElement> root;
        Check(xml->createElement(Bstr(Derived::kRoot), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(xml->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        Self()->Encode(xml.Get(), root.Get());
        return sums::XmlOf(root.Get());
    }

    // Merges a list text: an empty text or one without the root merges
    // nothing; a text that does not parse is E_INVALIDARG.
    HRESULT MergeText(std::u16string_view text) {
        if (text.empty()) return S_OK;
        ComPtr<IXMLDOMDocument> xml = sums::ParseXml(text);
        if (!xml) return E_INVALIDARG;
        ComPtr<IXMLDOMElement> root = sums::SelectElement(xml.Get(), Derived::kRoot);
        if (root) Self()->Merge(root.Get());
        return S_OK;
    }

    HRESULT ClearSumsImpl() {
        return this->Locked([&] {
            Self()->ClearList();
            return Self()->UpdateExtension();
        });
    }
    HRESULT AddSumsXmlImpl(BSTR text) {
        return this->Locked([&] { return MergeText(ext::TextOf(text)); });
    }
    HRESULT GetSumsXmlImpl(BSTR* out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return this->Locked([&] { return ext::CopyText(ListText(), out); });
    }
};

}  // namespace orv
