#include "kinds/OrvPSDoc.h"

#include "xml/dom.h"

#include "kinds/AverageProtocol.h"
#include "kinds/ExtensionFields.h"

namespace orv {

namespace {

ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* document) {
    ComPtr<IOrvDocExtension> ext;
    document->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
    return ext;
}

}  // namespace

void OrvPSDoc::EnsureInitialized() {
    if (initialized_) return;
    IOrvDocument* document = Document();
    ComPtr<IOrvDocExtension> ext = ExtensionOf(document);
    LONG accessType = 0;
    Check(document->get_AT(&accessType), IID_IOrvDocument);
    // Read aside; the object changes only when everything was read.
    std::u16string text = protocolText_, years = years_;
    if (ext) {
        LONG length = 0;
        Check(ext->get_Length(&length), IID_IOrvDocExtension);
        Bstr body;
        Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
        if (length != 0 && !body.Empty()) {
            ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
            VARIANT_BOOL ok = VARIANT_FALSE;
            Check(xml->loadXML(body, &ok), IID_IXMLDOMDocument);
            ComPtr<IXMLDOMNode> context;
            Check(xml.As(&context), IID_IXMLDOMDocument);
            if (Bstr found = avgprot::NodeText(context.Get(), u"PS/MAINPROT/BLPR5"); !found.Empty())
                text = std::u16string(found.View());
            ComPtr<IXMLDOMNode> node;
            if (Check(xml->selectSingleNode(Bstr(u"PS"), node.GetAddressOf()), IID_IXMLDOMDocument) == S_OK && node) {
                ComPtr<IXMLDOMElement> root;
                Check(node.As(&root), IID_IXMLDOMNode);
                years = ext::ReadText(root.Get(), u"YEARSFORAVE");
            }
        }
    }
    accessType_ = accessType;
    protocolText_ = std::move(text);
    years_ = std::move(years);
    initialized_ = VARIANT_TRUE;
}

void OrvPSDoc::Write() {
    IOrvDocument* document = Document();
    ComPtr<IOrvDocExtension> ext = ExtensionOf(document);
    if (!ext) throw ComError{E_POINTER, IID_IOrvDocExtension};
    ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
    ComPtr<IXMLDOMElement> root;
    Check(xml->createElement(Bstr(u"PS"), root.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check(xml->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    if (!years_.empty()) ext::WriteText(root.Get(), u"YEARSFORAVE", years_);
    if (!protocolText_.empty()) {
        ComPtr<IXMLDOMElement> mainprot = ext::AppendElement(xml.Get(), root.Get(), u"MAINPROT");
        avgprot::AppendText(mainprot.Get(), protocolText_, avgprot::Nodes::First);
    }
    Bstr text;
    Check(xml->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
    Check(ext->put_Body(text), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(text.ByteLength())), IID_IOrvDocExtension);
}

HRESULT OrvPSDoc::InitFromExtension() {
    return Locked([&] {
        EnsureInitialized();
        return S_OK;
    });
}

HRESULT OrvPSDoc::UpdateExtension() {
    return Locked([&] {
        Write();
        return S_OK;
    });
}

HRESULT OrvPSDoc::get_Protocol(IDispatch** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        EnsureInitialized();
        Check(Document()->get_AT(&accessType_), IID_IOrvDocument);
        *pVal = avgprot::NewProtocol(accessType_, protocolText_).Detach();
        return S_OK;
    });
}

HRESULT OrvPSDoc::put_Protocol(IDispatch* newVal) {
    return Locked([&] {
        EnsureInitialized();
        LONG type = 0;
        Check(Document()->get_lDcType(&type), IID_IOrvDocument);
        Bstr text;
        const std::u16string old = protocolText_;
        protocolText_ = avgprot::TakeText(newVal, type, &text) ? std::u16string(text.View()) : std::u16string();
        try {
            Write();
        } catch (...) {
            protocolText_ = old;  // a failed write keeps the object as it was
            throw;
        }
        return S_OK;
    });
}

HRESULT OrvPSDoc::get_YearsForAverage(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(years_, pVal); });
}

HRESULT OrvPSDoc::put_YearsForAverage(BSTR newVal) {
    return Locked([&] {
        years_ = ext::TextOf(newVal);
        return S_OK;
    });
}

}  // namespace orv
