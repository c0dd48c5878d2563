#include "kinds/ExtensionFields.h"

#include "xml/attributes.h"
#include "xml/lenient.h"

#include <orvdocs/platform/oleauto.h>

namespace orv::ext {

std::u16string ReadText(IXMLDOMElement* element, const OLECHAR* name) {
    Bstr text;
    Check(GetAttributeText(element, name, text.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
    return std::u16string(text.View());
}

double ReadDouble(IXMLDOMElement* element, const OLECHAR* name) {
    double value = 0.0;
    Check(GetAttributeDouble(element, name, &value), IID_IXMLDOMElement);
    return value;
}

LONG ReadLong(IXMLDOMElement* element, const OLECHAR* name) {
    LONG value = 0;
    Check(GetAttributeLong(element, name, &value), IID_IXMLDOMElement);
    return value;
}

void WriteText(IXMLDOMElement* element, const OLECHAR* name, std::u16string_view text) {
    Check(SetAttribute(element, name, text), IID_IXMLDOMElement);
}

void WriteDouble(IXMLDOMElement* element, const OLECHAR* name, double value) {
    Check(SetAttribute(element, name, value), IID_IXMLDOMElement);
}

void WriteLong(IXMLDOMElement* element, const OLECHAR* name, LONG value) {
    Check(SetAttribute(element, name, value), IID_IXMLDOMElement);
}

std::vector<ComPtr<IXMLDOMElement>> ChildElements(IXMLDOMElement* parent, const OLECHAR* name) {
    std::vector<ComPtr<IXMLDOMElement>> found;
    ComPtr<IXMLDOMNodeList> list;
    Check(parent->selectNodes(Bstr(name), list.GetAddressOf()), IID_IXMLDOMElement);
    if (!list) return found;
    LONG count = 0;
    Check(list->get_length(&count), IID_IXMLDOMNodeList);
    found.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> node;
        Check(list->get_item(i, node.GetAddressOf()), IID_IXMLDOMNodeList);
        ComPtr<IXMLDOMElement> element;
        if (node && SUCCEEDED(node.As(&element)) && element) found.push_back(std::move(element));
    }
    return found;
}

ComPtr<IXMLDOMElement> ChildElement(IXMLDOMElement* parent, const OLECHAR* name) {
    ComPtr<IXMLDOMNode> node;
    if (Check(parent->selectSingleNode(Bstr(name), node.GetAddressOf()), IID_IXMLDOMElement) != S_OK || !node)
        return {};
    ComPtr<IXMLDOMElement> element;
    node.As(&element);
    return element;
}

ComPtr<IXMLDOMElement> AppendElement(IXMLDOMDocument* xml, IXMLDOMElement* parent, const OLECHAR* name) {
    ComPtr<IXMLDOMElement> element;
    Check(xml->createElement(Bstr(name), element.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check(parent->appendChild(element.Get(), added.GetAddressOf()), IID_IXMLDOMElement);
    return element;
}

double ReadElementNumber(IXMLDOMElement* element) {
    Bstr text;
    Check(element->get_text(text.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
    return ReadDoubleLenient(text.View());
}

void WriteElementNumber(IXMLDOMElement* element, double value) {
    Variant number;
    number.vt = VT_R8;
    number.dblVal = value;
    Variant text;
    Check(VariantChangeType(&text, &number, 0, VT_BSTR), IID_NULL);
    Check(element->put_text(text.bstrVal), IID_IXMLDOMElement);
}

HRESULT CopyText(std::u16string_view text, BSTR* out) noexcept {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void DecodeAttributes(IXMLDOMElement* root, std::span<const AttributeField> fields, FieldValue* values) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].type == FieldType::Text)
            values[i].text = ReadText(root, fields[i].name);
        else
            values[i].date = ReadDouble(root, fields[i].name);
    }
}

void EncodeAttributes(IXMLDOMElement* root, std::span<const AttributeField> fields, const FieldValue* values,
                      EmptyFields empty) {
    const bool omit = empty == EmptyFields::Omitted;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].type == FieldType::Text) {
            if (omit && values[i].text.empty()) continue;
            WriteText(root, fields[i].name, values[i].text);
        } else {
            if (omit && values[i].date == 0.0) continue;
            WriteDouble(root, fields[i].name, values[i].date);
        }
    }
}

}  // namespace orv::ext
