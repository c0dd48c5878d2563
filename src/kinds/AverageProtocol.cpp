#include "kinds/AverageProtocol.h"

#include "xml/dom.h"

#include "sickleave/OrvBLDocProtocol.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/typelib/sickleave.h>
#include <orvdocs/typelib/xmlstring.h>

#include <vector>

namespace orv::avgprot {

ComPtr<IDispatch> NewProtocol(LONG accessType, std::u16string_view text) {
    // The protocol's interfaces have no setter for a plain access type (its
    // SetAccessType asks a database service), so the object is created
    // through its class and handed the value the document carries.
    ComPtr<IUnknown> unknown;
    OrvBLDocProtocol* protocol = nullptr;
    Check(CreateObjectWithAccess<OrvBLDocProtocol>(&unknown, &protocol), IID_IOrvBLDocProtocol);
    protocol->SetAccess(accessType);
    if (!text.empty()) {
        ComPtr<IOrvObjAsXmlString> asText;
        Check(unknown.As(&asText), IID_IOrvObjAsXmlString);
        Check(asText->put_FullString(Bstr(text)), IID_IOrvObjAsXmlString);
    }
    ComPtr<IDispatch> dispatch;
    Check(unknown.As(&dispatch), IID_IDispatch);
    return dispatch;
}

bool TakeText(IUnknown* protocol, LONG originatorType, Bstr* text) {
    if (!protocol) return false;
    ComPtr<IOrvBLDocProtocol> calc;
    if (FAILED(protocol->QueryInterface(IID_IOrvBLDocProtocol, reinterpret_cast<void**>(calc.GetAddressOf()))) ||
        !calc)
        return false;
    Check(calc->put_OriginatorType(originatorType), IID_IOrvBLDocProtocol);
    ComPtr<IOrvObjAsXmlString> asText;
    Check(protocol->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(asText.GetAddressOf())),
          IID_IOrvObjAsXmlString);
    Check(asText->get_FullString(text->ReleaseAndGetAddressOf()), IID_IOrvObjAsXmlString);
    return true;
}

void AppendText(IXMLDOMElement* parent, std::u16string_view text, Nodes which) {
    ComPtr<IXMLDOMDocument> scratch = orv::xml::NewXmlDocument();
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(scratch->loadXML(Bstr(text), &ok), IID_IXMLDOMDocument);
    if (ok != VARIANT_TRUE) return;
    // The nodes are collected first: appending one elsewhere takes it out of
    // the scratch document.
    std::vector<ComPtr<IXMLDOMNode>> nodes;
    ComPtr<IXMLDOMNode> node;
    Check(scratch->get_firstChild(node.GetAddressOf()), IID_IXMLDOMDocument);
    while (node) {
        DOMNodeType type = NODE_INVALID;
        Check(node->get_nodeType(&type), IID_IXMLDOMNode);
        if (which == Nodes::All || type != NODE_PROCESSING_INSTRUCTION) {
            nodes.push_back(node);
            if (which == Nodes::First) break;
        }
        ComPtr<IXMLDOMNode> next;
        Check(node->get_nextSibling(next.GetAddressOf()), IID_IXMLDOMNode);
        node = std::move(next);
    }
    for (auto& n : nodes) {
        ComPtr<IXMLDOMNode> added;
        Check(parent->appendChild(n.Get(), added.GetAddressOf()), IID_IXMLDOMElement);
    }
}

Bstr NodeText(IXMLDOMNode* context, const char16_t* path) {
    Bstr text;
    ComPtr<IXMLDOMNode> node;
    if (Check(context->selectSingleNode(Bstr(path), node.GetAddressOf()), IID_IXMLDOMNode) != S_OK || !node)
        return text;
    Check(node->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
    return text;
}

}  // namespace orv::avgprot
