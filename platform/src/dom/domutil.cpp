// Small helpers shared by the members of the DOM service.
#include "domutil.h"

#include <orvdocs/platform/strings.h>

namespace orv::dom {

HRESULT VariantText(const VARIANT& v, std::string& utf8) {
    utf8.clear();
    if (v.vt == VT_BSTR) {
        AppendUtf8(utf8, View(v.bstrVal));
        return S_OK;
    }
    if (v.vt == (VT_BSTR | VT_BYREF)) {
        if (!v.pbstrVal) return E_INVALIDARG;
        AppendUtf8(utf8, View(*v.pbstrVal));
        return S_OK;
    }
    orv::Variant text;
    HRESULT hr = VariantChangeType(&text, &v, 0, VT_BSTR);
    if (FAILED(hr)) return hr;
    if (text.vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
    AppendUtf8(utf8, View(text.bstrVal));
    return S_OK;
}

namespace {

bool IsNameStart(char16_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
    // Outside ASCII: letters of every script; the few excluded ranges of the
    // name production that matter in practice are left out here.
    return c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F) && c != 0xFFFE && c != 0xFFFF;
}

bool IsNameChar(char16_t c) {
    if (IsNameStart(c)) return true;
    return (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7;
}

}  // namespace

bool IsXmlName(std::u16string_view name) {
    if (name.empty() || !IsNameStart(name[0])) return false;
    for (char16_t c : name.substr(1))
        if (!IsNameChar(c)) return false;
    return true;
}

DOMNodeType DomTypeOf(pugi::xml_node_type type) {
    switch (type) {
        case pugi::node_document: return NODE_DOCUMENT;
        case pugi::node_element: return NODE_ELEMENT;
        case pugi::node_pcdata: return NODE_TEXT;
        case pugi::node_cdata: return NODE_CDATA_SECTION;
        case pugi::node_comment: return NODE_COMMENT;
        case pugi::node_pi:
        case pugi::node_declaration: return NODE_PROCESSING_INSTRUCTION;
        case pugi::node_doctype: return NODE_DOCUMENT_TYPE;
        default: return NODE_INVALID;
    }
}

void AppendEscapedAttribute(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            case '\t': out += "&#9;"; break;
            default:
                // XML cannot hold other control characters, not even as references.
                if (static_cast<unsigned char>(c) < 0x20)
                    out += "\xEF\xBF\xBD";
                else
                    out += c;
        }
    }
}

std::string DeclarationData(pugi::xml_node decl) {
    std::string s;
    for (pugi::xml_attribute a = decl.first_attribute(); a; a = a.next_attribute()) {
        if (!s.empty()) s += ' ';
        s += a.name();
        s += "=\"";
        AppendEscapedAttribute(s, a.value());
        s += '"';
    }
    return s;
}

std::string InnerText(pugi::xml_node n) {
    std::string s;
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) return n.value();
    pugi::xml_node cur = n.first_child();
    if (!cur) return s;
    while (cur && cur != n) {
        if (cur.type() == pugi::node_pcdata || cur.type() == pugi::node_cdata) s += cur.value();
        if (cur.first_child()) {
            cur = cur.first_child();
            continue;
        }
        while (cur != n && !cur.next_sibling()) cur = cur.parent();
        if (cur == n) break;
        cur = cur.next_sibling();
    }
    return s;
}

}  // namespace orv::dom
