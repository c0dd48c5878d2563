// Members of elements, attributes, character data and processing instructions.
#include "domnode.h"
#include "domutil.h"
#include "nodelist.h"

#include <string>

namespace orv::dom {

namespace {

bool IsElement(const DomNode& n) { return n.Kind() == NodeKind::Node && n.Type() == pugi::node_element; }

bool IsTextLike(const DomNode& n) {
    return n.Kind() == NodeKind::Node &&
           (n.Type() == pugi::node_pcdata || n.Type() == pugi::node_cdata || n.Type() == pugi::node_comment);
}

}  // namespace

// ------------------------------------------------------------- IXMLDOMElement

HRESULT DomNode::get_tagName(BSTR* tagName) {
    if (!tagName) return E_POINTER;
    *tagName = nullptr;
    if (!IsElement(*this)) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT { return OutBstr(node_.name(), tagName); });
}

HRESULT DomNode::getAttribute(BSTR name, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (!name) return E_INVALIDARG;
    if (!IsElement(*this)) return E_FAIL;
    const Utf8Name key(View(name));
    return Locked([&](DomDoc&) -> HRESULT {
        pugi::xml_attribute a = node_.attribute(key.c_str());
        if (!a) {
            value->vt = VT_NULL;
            return S_FALSE;
        }
        return OutVariantText(a.value(), value);
    });
}

HRESULT DomNode::setAttribute(BSTR name, VARIANT value) {
    if (!name) return E_INVALIDARG;
    if (!IsElement(*this)) return E_FAIL;
    if (!IsXmlName(View(name))) return E_FAIL;
    const Utf8Name key(View(name));
    std::string text;
    // Converted before the lock: a converted object may call back.
    if (HRESULT hr = VariantText(value, text); FAILED(hr)) return hr;
    return Locked([&](DomDoc& d) -> HRESULT {
        d.NoteText(text);
        pugi::xml_attribute a = node_.attribute(key.c_str());
        if (!a) a = node_.append_attribute(key.c_str());
        if (!a || !a.set_value(text.c_str())) return E_OUTOFMEMORY;
        return S_OK;
    });
}

HRESULT DomNode::removeAttribute(BSTR name) {
    if (!name) return E_INVALIDARG;
    if (!IsElement(*this)) return E_FAIL;
    const Utf8Name key(View(name));
    return Locked([&](DomDoc& d) -> HRESULT {
        pugi::xml_attribute a = node_.attribute(key.c_str());
        if (!a) return S_FALSE;
        d.DetachAttribute(node_, a);
        return S_OK;
    });
}

HRESULT DomNode::getAttributeNode(BSTR name, IXMLDOMAttribute** attributeNode) {
    if (!attributeNode) return E_POINTER;
    *attributeNode = nullptr;
    if (!name) return E_INVALIDARG;
    if (!IsElement(*this)) return E_FAIL;
    const Utf8Name key(View(name));
    return Locked([&](DomDoc& d) -> HRESULT {
        return HandOut(d.WrapAttribute(node_.attribute(key.c_str()), node_), attributeNode);
    });
}

HRESULT DomNode::setAttributeNode(IXMLDOMAttribute*, IXMLDOMAttribute** attributeNode) {
    if (attributeNode) *attributeNode = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::removeAttributeNode(IXMLDOMAttribute* DOMAttribute, IXMLDOMAttribute** attributeNode) {
    if (attributeNode) *attributeNode = nullptr;
    if (!DOMAttribute) return E_INVALIDARG;
    if (!IsElement(*this)) return E_FAIL;
    NodeRef attr(From(DOMAttribute));
    if (!attr || attr->kind_ != NodeKind::Attribute) return E_INVALIDARG;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (attr->doc_.load(std::memory_order_acquire) != &d || attr->node_ != node_) return E_INVALIDARG;
        d.DetachAttribute(node_, attr->attr_);
        if (attributeNode) {
            attr->AddRef();
            *attributeNode = static_cast<IXMLDOMAttribute*>(attr.p);
        }
        return S_OK;
    });
}

HRESULT DomNode::normalize() { return E_NOTIMPL; }

// ----------------------------------------------------------- IXMLDOMAttribute

HRESULT DomNode::get_name(BSTR* attributeName) {
    if (!attributeName) return E_POINTER;
    *attributeName = nullptr;
    if (kind_ != NodeKind::Attribute) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT { return OutBstr(attr_.name(), attributeName); });
}

HRESULT DomNode::get_value(VARIANT* attributeValue) {
    if (!attributeValue) return E_POINTER;
    VariantInit(attributeValue);
    if (kind_ != NodeKind::Attribute) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT { return OutVariantText(attr_.value(), attributeValue); });
}

HRESULT DomNode::put_value(VARIANT attributeValue) {
    if (kind_ != NodeKind::Attribute) return E_FAIL;
    return put_nodeValue(attributeValue);
}

// ------------------------------------------------ character data, instructions

HRESULT DomNode::get_data(BSTR* data) {
    if (!data) return E_POINTER;
    *data = nullptr;
    if (kind_ != NodeKind::Node) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT {
        if (type_ == pugi::node_declaration) return OutBstr(DeclarationData(node_), data);
        if (IsTextLike(*this) || type_ == pugi::node_pi) return OutBstr(node_.value(), data);
        return E_FAIL;
    });
}

HRESULT DomNode::put_data(BSTR data) {
    if (kind_ != NodeKind::Node || !(IsTextLike(*this) || type_ == pugi::node_pi)) return E_FAIL;
    const std::string text = ToUtf8(View(data));
    return Locked([&](DomDoc& d) -> HRESULT {
        d.NoteText(text);
        return node_.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT DomNode::get_length(LONG* dataLength) {
    if (!dataLength) return E_POINTER;
    *dataLength = 0;
    if (!IsTextLike(*this)) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT {
        // UTF-16 units: one per code point, two for those beyond U+FFFF.
        LONG n = 0;
        for (const char* p = node_.value(); *p; ++p) {
            const auto c = static_cast<unsigned char>(*p);
            if ((c & 0xC0) != 0x80) ++n;
            if (c >= 0xF0) ++n;
        }
        *dataLength = n;
        return S_OK;
    });
}

// Edits the UTF-16 form of the data: removes `count` units at `offset` (all
// that follow with replaceAll) and puts `insert` there.
HRESULT DomNode::EditData(LONG offset, LONG count, const std::u16string_view* insert, bool replaceAll) {
    if (!IsTextLike(*this)) return E_FAIL;
    return Locked([&](DomDoc& d) -> HRESULT {
        BSTR current = BstrFromUtf8(node_.value());
        if (!current) return E_OUTOFMEMORY;
        std::u16string text(View(current));
        SysFreeString(current);
        if (offset < 0 || count < 0 || static_cast<std::size_t>(offset) > text.size()) return E_INVALIDARG;
        std::size_t n = replaceAll ? text.size() : static_cast<std::size_t>(count);
        text.erase(static_cast<std::size_t>(offset), n);
        if (insert) text.insert(static_cast<std::size_t>(offset), *insert);
        const std::string utf8 = ToUtf8(text);
        d.NoteText(utf8);
        return node_.set_value(utf8.c_str()) ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT DomNode::substringData(LONG offset, LONG count, BSTR* data) {
    if (!data) return E_POINTER;
    *data = nullptr;
    if (!IsTextLike(*this)) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT {
        BSTR current = BstrFromUtf8(node_.value());
        if (!current) return E_OUTOFMEMORY;
        std::u16string_view text = View(current);
        HRESULT hr = E_INVALIDARG;
        if (offset >= 0 && count >= 0 && static_cast<std::size_t>(offset) <= text.size())
            hr = OutBstr16(text.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(count)), data);
        SysFreeString(current);
        return hr;
    });
}

HRESULT DomNode::appendData(BSTR data) {
    if (!IsTextLike(*this)) return E_FAIL;
    const std::string tail = ToUtf8(View(data));
    return Locked([&](DomDoc& d) -> HRESULT {
        d.NoteText(tail);
        std::string text = node_.value();
        text += tail;
        return node_.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT DomNode::insertData(LONG offset, BSTR data) {
    std::u16string_view v = View(data);
    return EditData(offset, 0, &v, false);
}

HRESULT DomNode::deleteData(LONG offset, LONG count) { return EditData(offset, count, nullptr, false); }

HRESULT DomNode::replaceData(LONG offset, LONG count, BSTR data) {
    std::u16string_view v = View(data);
    return EditData(offset, count, &v, false);
}

HRESULT DomNode::splitText(LONG offset, IXMLDOMText** rightHandTextNode) {
    if (rightHandTextNode) *rightHandTextNode = nullptr;
    if (kind_ != NodeKind::Node || (type_ != pugi::node_pcdata && type_ != pugi::node_cdata)) return E_FAIL;
    return Locked([&](DomDoc& d) -> HRESULT {
        BSTR current = BstrFromUtf8(node_.value());
        if (!current) return E_OUTOFMEMORY;
        std::u16string text(View(current));
        SysFreeString(current);
        if (offset < 0 || static_cast<std::size_t>(offset) > text.size()) return E_INVALIDARG;
        const std::string head = ToUtf8(std::u16string_view(text).substr(0, static_cast<std::size_t>(offset)));
        const std::string tail = ToUtf8(std::u16string_view(text).substr(static_cast<std::size_t>(offset)));
        pugi::xml_node right = node_.parent().insert_child_after(type_, node_);
        if (!right || !right.set_value(tail.c_str()) || !node_.set_value(head.c_str())) return E_OUTOFMEMORY;
        ++d.version;
        DomNode* w = d.Wrap(right);
        if (!rightHandTextNode) {
            if (w) w->Release();
            return S_OK;
        }
        return HandOut(w, rightHandTextNode);
    });
}

HRESULT DomNode::get_target(BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (kind_ != NodeKind::Node) return E_FAIL;
    if (type_ == pugi::node_declaration) return OutBstr("xml", name);
    if (type_ != pugi::node_pi) return E_FAIL;
    return Locked([&](DomDoc&) -> HRESULT { return OutBstr(node_.name(), name); });
}

}  // namespace orv::dom
