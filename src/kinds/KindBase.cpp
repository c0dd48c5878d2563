#include "kinds/KindBase.h"

#include "xml/dom.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

namespace orv::detail {

void EnsureXml(ComPtr<IXMLDOMDocument>* xml) {
    if (*xml) return;
    *xml = orv::xml::NewXmlDocument();
}

namespace {

ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* document) {
    ComPtr<IOrvDocExtension> ext;
    document->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
    return ext;
}

}  // namespace

ComPtr<IXMLDOMElement> LoadExtensionRoot(IOrvDocument* document, ComPtr<IXMLDOMDocument>* xml, const char16_t* root) {
    ComPtr<IOrvDocExtension> ext = ExtensionOf(document);
    if (!ext) return {};
    LONG length = 0;
    Check(ext->get_Length(&length), IID_IOrvDocExtension);
    Bstr body;
    Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
    if (body.Empty()) return {};
    EnsureXml(xml);
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check((*xml)->loadXML(body, &ok), IID_IXMLDOMDocument);
    if (ok != VARIANT_TRUE) return {};
    ComPtr<IXMLDOMNode> node;
    if (Check((*xml)->selectSingleNode(Bstr(root), node.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !node)
        return {};
    ComPtr<IXMLDOMElement> element;
    node.As(&element);
    return element;
}

ComPtr<IXMLDOMElement> StartExtension(IOrvDocument* document, ComPtr<IXMLDOMDocument>* xml, const char16_t* root) {
    if (!ExtensionOf(document)) return {};
    EnsureXml(xml);
    VARIANT_BOOL ok = VARIANT_FALSE;
    (*xml)->loadXML(Bstr(u""), &ok);  // empties the document; empty text does not parse
    ComPtr<IXMLDOMElement> element;
    Check((*xml)->createElement(Bstr(root), element.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check((*xml)->appendChild(element.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    return element;
}

void FinishExtension(IOrvDocument* document, IXMLDOMDocument* xml) {
    ComPtr<IOrvDocExtension> ext = ExtensionOf(document);
    if (!ext) return;
    Bstr text;
    Check(xml->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
    if (text.Empty()) {
        Check(ext->Clear(), IID_IOrvDocExtension);
        return;
    }
    Check(ext->put_Body(text), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(text.ByteLength())), IID_IOrvDocExtension);
}

}  // namespace orv::detail
