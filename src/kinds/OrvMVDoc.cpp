#include "kinds/OrvMVDoc.h"

#include "xml/dom.h"

namespace orv {
namespace {
constexpr const OLECHAR* kRoot = u"MVDOC";
constexpr const OLECHAR* kRecipient = u"RCPNT";
}  // namespace

IXMLDOMElement* MvdocBody::Root() {
    if (root_) return root_.Get();
    if (!xml_) xml_ = orv::xml::NewXmlDocument();
    root_ = sums::SelectElement(xml_.Get(), kRoot);
    if (root_) return root_.Get();
    // No "MVDOC": start an empty body (a foreign root is not kept).
    VARIANT_BOOL ok = VARIANT_FALSE;
    xml_->loadXML(Bstr(u""), &ok);
    ComPtr<IXMLDOMElement> element;
    Check(xml_->createElement(Bstr(kRoot), element.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check(xml_->appendChild(element.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    root_ = element;
    return root_.Get();
}

std::u16string MvdocBody::Load(IOrvDocument* document) {
    ComPtr<IOrvDocExtension> ext = sums::ExtensionOf(document);
    Bstr body;
    if (ext) Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
    if (!body.Empty()) {
        ComPtr<IXMLDOMDocument> parsed = sums::ParseXml(body.View());
        if (parsed && sums::SelectElement(parsed.Get(), kRoot)) {
            xml_ = parsed;
            root_.Reset();
        }
    }
    return ext::ReadText(Root(), kRecipient);
}

void MvdocBody::Store(IOrvDocument* document, const std::u16string* recipient) {
    IXMLDOMElement* root = Root();
    if (recipient) ext::WriteText(root, kRecipient, *recipient);
    ComPtr<IOrvDocExtension> ext = sums::ExtensionOf(document);
    if (!ext) return;
    Bstr text;
    Check(xml_->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
    if (text.Empty()) {
        Check(ext->Clear(), IID_IOrvDocExtension);
        return;
    }
    Check(ext->put_Body(text), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(text.ByteLength())), IID_IOrvDocExtension);
}

CY MvdocBody::GetMoney(const OLECHAR* name) { return sums::ReadCurrency(Root(), name); }
void MvdocBody::PutMoney(const OLECHAR* name, CY value) { sums::WriteCurrency(Root(), name, value); }
std::u16string MvdocBody::GetText(const OLECHAR* name) { return ext::ReadText(Root(), name); }
void MvdocBody::PutText(const OLECHAR* name, std::u16string_view value) { ext::WriteText(Root(), name, value); }
DATE MvdocBody::GetDate(const OLECHAR* name) { return ext::ReadDouble(Root(), name); }
void MvdocBody::PutDate(const OLECHAR* name, DATE value) { ext::WriteDouble(Root(), name, value); }

ComPtr<IXMLDOMElement> MvdocBody::Sums(bool create) {
    ComPtr<IXMLDOMElement> sums = ext::ChildElement(Root(), u"SUMS");
    if (!sums && create) sums = ext::AppendElement(xml_.Get(), Root(), u"SUMS");
    return sums;
}

std::u16string MvdocBody::SumsXml() {
    ComPtr<IXMLDOMElement> list = sums::SelectElement(Root(), u"SUMS/SUMLIST");
    return list ? sums::XmlOf(list.Get()) : std::u16string();
}

HRESULT MvdocBody::PutSumsXml(std::u16string_view text) {
    ComPtr<IXMLDOMElement> top;
    if (!text.empty()) {
        ComPtr<IXMLDOMDocument> parsed = sums::ParseXml(text);
        if (!parsed) return E_INVALIDARG;
        Check(parsed->get_documentElement(top.GetAddressOf()), IID_IXMLDOMDocument);
        if (!top) return E_INVALIDARG;
    }
    ClearSums();
    if (!top) return S_OK;
    ComPtr<IXMLDOMNode> added;
    Check(Sums(true)->appendChild(top.Get(), added.GetAddressOf()), IID_IXMLDOMElement);
    return S_OK;
}

void MvdocBody::ClearSums() {
    ComPtr<IXMLDOMElement> sums = Sums(false);
    if (!sums) return;
    for (;;) {
        ComPtr<IXMLDOMNode> child;
        if (Check(sums->get_firstChild(child.GetAddressOf()), IID_IXMLDOMElement) != S_OK || !child) break;
        ComPtr<IXMLDOMNode> removed;
        Check(sums->removeChild(child.Get(), removed.GetAddressOf()), IID_IXMLDOMElement);
    }
}

HRESULT OrvMVDoc::InitFromExtension() {
    return Locked([&] {
        body_.Load(document_.Get());
        return S_OK;
    });
}

HRESULT OrvMVDoc::UpdateExtension() {
    return Locked([&] {
        body_.Store(document_.Get(), nullptr);
        return S_OK;
    });
}

}  // namespace orv
