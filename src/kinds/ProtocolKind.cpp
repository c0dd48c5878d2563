#include "kinds/ProtocolKind.h"

#include "xml/dom.h"

#include "kinds/AverageProtocol.h"

#include <string>

namespace orv::avgprot {

namespace {

ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* document) {
    ComPtr<IOrvDocExtension> ext;
    document->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
    return ext;
}

}  // namespace

ComPtr<IDispatch> ReadProtocol(IOrvDocument* document, const char16_t* root) {
    ComPtr<IOrvDocExtension> ext = ExtensionOf(document);
    if (!ext) return {};
    LONG accessType = 0;
    Check(document->get_AT(&accessType), IID_IOrvDocument);
    LONG length = 0;
    Check(ext->get_Length(&length), IID_IOrvDocExtension);
    Bstr body;
    Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
    ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
    VARIANT_BOOL ok = VARIANT_FALSE;
    Check(xml->loadXML(body, &ok), IID_IXMLDOMDocument);  // a body that does not parse leaves xml empty
    ComPtr<IXMLDOMNode> context;
    Check(xml.As(&context), IID_IXMLDOMDocument);
    const std::u16string path = std::u16string(root) + u"/MAINPROT/BLPR5";
    Bstr text = NodeText(context.Get(), path.c_str());
    return NewProtocol(accessType, text.View());
}

void WriteProtocol(IOrvDocument* document, const char16_t* root, IDispatch* protocol) {
    LONG type = 0;
    Check(document->get_lDcType(&type), IID_IOrvDocument);
    Bstr text;
    if (!TakeText(protocol, type, &text)) return;
    ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
    ComPtr<IXMLDOMElement> rootElement;
    Check(xml->createElement(Bstr(root), rootElement.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check(xml->appendChild(rootElement.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    if (!text.Empty()) {
        ComPtr<IXMLDOMElement> mainprot;
        Check(xml->createElement(Bstr(u"MAINPROT"), mainprot.GetAddressOf()), IID_IXMLDOMDocument);
        Check(rootElement->appendChild(mainprot.Get(), added.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
        AppendText(mainprot.Get(), text.View(), Nodes::First);
    }
    Bstr out;
    Check(xml->get_xml(out.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IOrvDocExtension> ext = ExtensionOf(document);
    if (!ext) throw ComError{E_POINTER, IID_IOrvDocExtension};
    Check(ext->put_Body(out), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(out.ByteLength())), IID_IOrvDocExtension);
}

}  // namespace orv::avgprot
