// Small helpers shared by the members of the DOM service.
#pragma once

#include "textconv.h"

#include <orvdocs/platform/msxml.h>

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace orv::dom {

// Hands UTF-8 text to a BSTR out-argument.
inline HRESULT OutBstr(std::string_view utf8, BSTR* out) {
    *out = BstrFromUtf8(utf8);
    return *out ? S_OK : E_OUTOFMEMORY;
}
inline HRESULT OutBstr16(std::u16string_view text, BSTR* out) {
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}
// Puts UTF-8 text into a VARIANT as VT_BSTR.
inline HRESULT OutVariantText(std::string_view utf8, VARIANT* out) {
    BSTR b = BstrFromUtf8(utf8);
    if (!b) return E_OUTOFMEMORY;
    out->vt = VT_BSTR;
    out->bstrVal = b;
    return S_OK;
}

// The text form of a VARIANT argument: a BSTR as it is, anything else through
// VariantChangeType(VT_BSTR).
HRESULT VariantText(const VARIANT& v, std::string& utf8);

// True for text that can serve as an element or attribute name.
bool IsXmlName(std::u16string_view name);

// The DOM node type of a pugixml node of the given type.
DOMNodeType DomTypeOf(pugi::xml_node_type type);

// The value of an XML declaration in the form a processing instruction has:
// version="1.0" standalone="yes".
std::string DeclarationData(pugi::xml_node decl);

// Writes text escaped for an attribute value in double quotes.
void AppendEscapedAttribute(std::string& out, std::string_view text);

// The concatenated character data inside n (text and CDATA nodes).
std::string InnerText(pugi::xml_node n);

}  // namespace orv::dom
