#include "kinds/OrvJBDoc.h"

#include "xml/dom.h"

#include <orvdocs/platform/combase.h>

namespace orv {
namespace {

constexpr const OLECHAR* kPeriods = u"SFPR";

bool Load(IXMLDOMDocument* xml, std::u16string_view text) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(xml->loadXML(Bstr(text), &ok), IID_IXMLDOMDocument);
    return ok == VARIANT_TRUE;
}

// The XML declaration travels with a document, never inside an element.
bool IsDeclaration(IXMLDOMNode* node) {
    DOMNodeType type = NODE_INVALID;
    Check(node->get_nodeType(&type), IID_IXMLDOMNode);
    if (type != NODE_PROCESSING_INSTRUCTION) return false;
    Bstr name;
    Check(node->get_nodeName(name.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
    return name.View() == u"xml";
}

// Moves every child of `from` (except a declaration) to the end of `to`.
void MoveChildren(IXMLDOMNode* from, IXMLDOMElement* to) {
    ComPtr<IXMLDOMNode> child;
    Check(from->get_firstChild(child.GetAddressOf()), IID_IXMLDOMNode);
    while (child) {
        ComPtr<IXMLDOMNode> next;
        Check(child->get_nextSibling(next.GetAddressOf()), IID_IXMLDOMNode);
        if (!IsDeclaration(child.Get())) {
            ComPtr<IXMLDOMNode> added;
            Check(to->appendChild(child.Get(), added.GetAddressOf()), IID_IXMLDOMElement);
        }
        child = std::move(next);
    }
}

}  // namespace

void OrvJBDoc::Decode(IXMLDOMElement* root) {
    Base::Decode(root);
    periods_.clear();
    ComPtr<IXMLDOMElement> periods = ext::ChildElement(root, kPeriods);
    if (!periods) return;
    ComPtr<IXMLDOMNode> child;
    Check(periods->get_firstChild(child.GetAddressOf()), IID_IXMLDOMElement);
    while (child) {
        Bstr text;
        Check(child->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
        periods_ += text.View();
        ComPtr<IXMLDOMNode> next;
        Check(child->get_nextSibling(next.GetAddressOf()), IID_IXMLDOMNode);
        child = std::move(next);
    }
}

void OrvJBDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    Base::Encode(xml, root);
    ComPtr<IXMLDOMElement> periods = ext::AppendElement(xml, root, kPeriods);
    if (periods_.empty()) return;
    // A whole document (one top element, perhaps with a declaration), or else
    // a sequence of elements and text, read inside an element of its own.
    ComPtr<IXMLDOMDocument> parsed = orv::xml::NewXmlDocument();
    if (Load(parsed.Get(), periods_)) {
        MoveChildren(parsed.Get(), periods.Get());
        return;
    }
    std::u16string wrapped;
    wrapped.reserve(periods_.size() + 13);
    wrapped.append(u"<SFPR>").append(periods_).append(u"</SFPR>");
    if (!Load(parsed.Get(), wrapped)) throw ComError{E_INVALIDARG, IID_IOrvJBDoc};
    ComPtr<IXMLDOMElement> top;
    Check(parsed->get_documentElement(top.GetAddressOf()), IID_IXMLDOMDocument);
    MoveChildren(top.Get(), periods.Get());
}

HRESULT OrvJBDoc::get_StagFullBeforePeriods(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(periods_, pVal); });
}

HRESULT OrvJBDoc::put_StagFullBeforePeriods(BSTR newVal) {
    return Locked([&] {
        periods_ = ext::TextOf(newVal);
        return S_OK;
    });
}

}  // namespace orv
