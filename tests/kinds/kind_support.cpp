#include "kind_support.h"

namespace kinds_test {

orv::ComPtr<IOrvDocument> NewDocumentWithoutExtension() {
    kindtest::FakeDocument* fake = nullptr;
    return kindtest::NewFakeDocument(&fake, false);
}

void SetBody(IOrvDocument* doc, std::u16string_view xml) {
    orv::ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    ASSERT_TRUE(ext);
    if (xml.empty()) {
        ASSERT_EQ(ext->Clear(), S_OK);
        return;
    }
    ASSERT_EQ(ext->put_Body(orv::Bstr(xml)), S_OK);
}

std::u16string Body(IOrvDocument* doc) {
    orv::ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    if (!ext) return {};
    BSTR body = nullptr;
    EXPECT_EQ(ext->get_Body(&body), S_OK);
    return Take(body);
}

LONG BodyLength(IOrvDocument* doc) {
    orv::ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    return ext ? kindtest::LengthOf(ext.Get()) : -1;
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

std::u16string RootXml(IOrvDocument* doc, std::u16string_view root) {
    orv::ComPtr<IXMLDOMElement> element = BodyRoot(doc, root);
    if (!element) return {};
    BSTR text = nullptr;
    EXPECT_EQ(element->get_xml(&text), S_OK);
    return Take(text);
}

std::optional<std::u16string> Attr(IXMLDOMElement* element, const char16_t* name) {
    orv::Variant value;
    EXPECT_TRUE(SUCCEEDED(element->getAttribute(orv::Bstr(name), &value)));
    if (value.vt != VT_BSTR) return std::nullopt;
    return std::u16string(value.bstrVal, SysStringLen(value.bstrVal));
}

std::u16string Take(BSTR text) { return std::u16string(orv::Bstr::Attach(text).View()); }

std::string Utf8(std::u16string_view text) { return orv::Utf16ToUtf8(text); }

}  // namespace kinds_test
