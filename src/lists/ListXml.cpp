#include "lists/ListXml.h"

#include "frame/messages.h"

#include <orvdocs/platform/combase.h>

namespace orv::lists {

ComPtr<IXMLDOMElement> AsElement(IUnknown* node) {
    if (!node) throw ComError{E_POINTER, IID_IXMLDOMElement};
    ComPtr<IXMLDOMElement> element;
    Check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.GetAddressOf())),
          IID_IXMLDOMElement);
    return element;
}

ComPtr<IXMLDOMDocument> OwnerOf(IXMLDOMNode* node) {
    ComPtr<IXMLDOMDocument> owner;
    Check(node->get_ownerDocument(owner.GetAddressOf()), IID_IXMLDOMNode);
    if (!owner) throw ComError{E_POINTER, IID_IXMLDOMNode};
    return owner;
}

ComPtr<IXMLDOMElement> AppendElement(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name) {
    ComPtr<IXMLDOMElement> element;
    Check(owner->createElement(Bstr(name), element.GetAddressOf()), IID_IXMLDOMDocument);
    if (!element) throw ComError{E_POINTER, IID_IXMLDOMDocument};
    ComPtr<IXMLDOMNode> appended;
    Check(parent->appendChild(element.Get(), appended.GetAddressOf()), IID_IXMLDOMNode);
    return element;
}

void AppendTextElement(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name, std::u16string_view text) {
    ComPtr<IXMLDOMElement> element = AppendElement(owner, parent, name);
    Check(element->put_text(Bstr(text)), IID_IXMLDOMElement);
}

bool IsElementNamed(IXMLDOMNode* node, std::u16string_view name) {
    DOMNodeType type = NODE_INVALID;
    Check(node->get_nodeType(&type), IID_IXMLDOMNode);
    if (type != NODE_ELEMENT) return false;
    Bstr tag;
    Check(node->get_nodeName(tag.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
    return tag.View() == name;
}

ComPtr<IXMLDOMNode> FirstChild(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> child;
    Check(node->get_firstChild(child.GetAddressOf()), IID_IXMLDOMNode);
    return child;
}

ComPtr<IXMLDOMNode> NextSibling(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNode> next;
    Check(node->get_nextSibling(next.GetAddressOf()), IID_IXMLDOMNode);
    return next;
}

bool ChildText(IXMLDOMNode* node, const OLECHAR* name, Bstr* text) {
    for (ComPtr<IXMLDOMNode> child = FirstChild(node); child; child = NextSibling(child.Get())) {
        if (!IsElementNamed(child.Get(), name)) continue;
        Check(child->get_text(text->ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
        return true;
    }
    return false;
}

}  // namespace orv::lists
