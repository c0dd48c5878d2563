#include "kind_support.h"

#include "document/OrvDocument.h"

#include <orvdocs/platform/strings.h>

namespace kinds_test {
namespace {

constexpr CLSID kBareDocument = {0x5E1F0C11, 0x7A2B, 0x4C3D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x01}};
constexpr CLSID kFailingDocument = {0x5E1F0C11, 0x7A2B, 0x4C3D, {0x9E, 0x01, 0x11, 0x22, 0x33, 0x44, 0x55, 0x02}};

// Answers IOrvDocument (every member E_NOTIMPL) and nothing else.
class BareDocument : public orv::CoClass<BareDocument, &kBareDocument, orv::Pending<IOrvDocument>> {};

// Answers IOrvDocExtension, failing every call.
class FailingDocument
    : public orv::CoClass<FailingDocument, &kFailingDocument, orv::Pending<IOrvDocument>, IOrvDocExtension> {
public:
    HRESULT status = E_FAIL;
    HRESULT get_Length(LONG*) override { return status; }
    HRESULT put_Length(LONG) override { return status; }
    HRESULT get_Body(BSTR*) override { return status; }
    HRESULT put_Body(BSTR) override { return status; }
    HRESULT Clear() override { return status; }
};

orv::ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* doc) {
    orv::ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    return ext;
}

}  // namespace

orv::ComPtr<IOrvDocument> NewDocument(LONG typeCode) {
    orv::ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    if (doc && typeCode) {
        EXPECT_EQ(doc->put_lDcType(typeCode), S_OK);
    }
    return doc;
}

orv::ComPtr<IOrvDocument> NewDocumentWithoutExtension() {
    orv::ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<BareDocument>(&doc), S_OK);
    return doc;
}

orv::ComPtr<IOrvDocument> NewDocumentWithFailingExtension(HRESULT hr) {
    orv::ComPtr<IUnknown> unknown;
    FailingDocument* object = nullptr;
    EXPECT_EQ(orv::CreateObjectWithAccess<FailingDocument>(&unknown, &object), S_OK);
    if (object) object->status = hr;
    orv::ComPtr<IOrvDocument> doc;
    if (unknown) {
        EXPECT_EQ(unknown.As(&doc), S_OK);
    }
    return doc;
}

void SetBody(IOrvDocument* doc, std::u16string_view xml) {
    orv::ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
    ASSERT_TRUE(ext);
    if (xml.empty()) {
        ASSERT_EQ(ext->Clear(), S_OK);
        return;
    }
    orv::Bstr body(xml);
    ASSERT_EQ(ext->put_Body(body), S_OK);
}

std::u16string Body(IOrvDocument* doc) {
    orv::ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
    if (!ext) return {};
    BSTR body = nullptr;
    EXPECT_EQ(ext->get_Body(&body), S_OK);
    return Take(body);
}

LONG BodyLength(IOrvDocument* doc) {
    orv::ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
    LONG length = -1;
    if (ext) {
        EXPECT_EQ(ext->get_Length(&length), S_OK);
    }
    return length;
}

orv::ComPtr<IXMLDOMElement> BodyRoot(IOrvDocument* doc, std::u16string_view root) {
    orv::ComPtr<IXMLDOMDocument> xml;
    EXPECT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(xml.GetAddressOf())),
              S_OK);
    if (!xml) return {};
    const std::u16string body = Body(doc);
    VARIANT_BOOL ok = VARIANT_FALSE;
    EXPECT_EQ(xml->loadXML(orv::Bstr(body), &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE) << Utf8(body);
    orv::ComPtr<IXMLDOMElement> top;
    xml->get_documentElement(top.GetAddressOf());
    if (!top) return {};
    BSTR name = nullptr;
    EXPECT_EQ(top->get_tagName(&name), S_OK);
    const std::u16string tag = Take(name);
    EXPECT_EQ(Utf8(tag), Utf8(root)) << Utf8(body);
    return tag == root ? top : orv::ComPtr<IXMLDOMElement>();
}

std::optional<std::u16string> Attr(IXMLDOMElement* element, const char16_t* name) {
    orv::Variant value;
    EXPECT_TRUE(SUCCEEDED(element->getAttribute(orv::Bstr(name), &value)));
    if (value.vt != VT_BSTR) return std::nullopt;
    return std::u16string(value.bstrVal, SysStringLen(value.bstrVal));
}

std::u16string Xml(IXMLDOMNode* node) {
    BSTR text = nullptr;
    EXPECT_EQ(node->get_xml(&text), S_OK);
    return Take(text);
}

std::u16string Take(BSTR text) {
    orv::Bstr owned = orv::Bstr::Attach(text);
    return std::u16string(owned.View());
}

std::string Utf8(std::u16string_view text) { return orv::Utf16ToUtf8(text); }

}  // namespace kinds_test
