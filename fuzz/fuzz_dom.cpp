// The DOM document service under arbitrary text: loading, the written form,
// selection with fixed and fuzzed XPath, attribute and text values written
// and read back.
//
// Input: byte 0 chooses how the XML bytes are read (widened, UTF-16LE or
// UTF-8) and whether white space is preserved; byte 1 is the length of the
// XPath text (UTF-8) that follows; the rest is the XML.
//
// Besides "no crash, no leak, no sanitizer report", the target checks:
//  - loadXML answers S_OK with VARIANT_TRUE or S_FALSE with VARIANT_FALSE,
//    and a document that did not load writes nothing;
//  - the written form of a loaded document loads again and writes the same
//    text (a load has turned every literal carriage return into a line feed,
//    and one that came from a reference in text is written as one);
//  - an attribute value and a text set by the host are read back exactly
//    after the document is written and loaded again, when every character
//    of them is one XML allows (a carriage return in text is written as a
//    reference, so it survives the load).
#include "fuzz_input.h"

#include <orvdocs/platform/platform.h>

#include <algorithm>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orvfuzz::Input;
using orvfuzz::View;

ComPtr<IXMLDOMDocument> NewDoc(bool preserve) {
    ComPtr<IXMLDOMDocument> doc;
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(doc.GetAddressOf()));
    ORV_FUZZ_CHECK(hr == S_OK && doc);
    if (preserve) ORV_FUZZ_CHECK(doc->put_preserveWhiteSpace(VARIANT_TRUE) == S_OK);
    return doc;
}

bool Load(IXMLDOMDocument* doc, BSTR text) {
    VARIANT_BOOL ok = 1;  // neither true nor false: must be overwritten
    HRESULT hr = doc->loadXML(text, &ok);
    ORV_FUZZ_CHECK((hr == S_OK && ok == VARIANT_TRUE) || (hr == S_FALSE && ok == VARIANT_FALSE));
    return ok == VARIANT_TRUE;
}

template <class I>
Bstr XmlOf(I* node) {
    Bstr xml;
    ORV_FUZZ_CHECK(node->get_xml(xml.ReleaseAndGetAddressOf()) == S_OK);
    return xml;
}

// Visits what a list holds: by index, then with the cursor.
void Walk(IXMLDOMNodeList* list) {
    LONG length = -1;
    ORV_FUZZ_CHECK(list->get_length(&length) == S_OK && length >= 0);
    const LONG visit = std::min<LONG>(length, 32);
    for (LONG i = 0; i < visit; ++i) {
        ComPtr<IXMLDOMNode> node;
        ORV_FUZZ_CHECK(list->get_item(i, node.GetAddressOf()) == S_OK && node);
        XmlOf(node.Get());
        Bstr name, text;
        ORV_FUZZ_CHECK(node->get_nodeName(name.ReleaseAndGetAddressOf()) == S_OK);
        node->get_text(text.ReleaseAndGetAddressOf());
        DOMNodeType type;
        ORV_FUZZ_CHECK(node->get_nodeType(&type) == S_OK);
    }
    ComPtr<IXMLDOMNode> past;
    ORV_FUZZ_CHECK(list->get_item(length, past.GetAddressOf()) == S_FALSE && !past);
    for (LONG i = 0; i < visit; ++i) {
        ComPtr<IXMLDOMNode> node;
        ORV_FUZZ_CHECK(list->nextNode(node.GetAddressOf()) == S_OK && node);
    }
}

template <class I>
void Select(I* context, BSTR path) {
    ComPtr<IXMLDOMNodeList> list;
    HRESULT hr = context->selectNodes(path, list.GetAddressOf());
    ORV_FUZZ_CHECK(hr == S_OK || hr == E_FAIL);
    ORV_FUZZ_CHECK((hr == S_OK) == static_cast<bool>(list));
    if (list) Walk(list.Get());
    ComPtr<IXMLDOMNode> single;
    hr = context->selectSingleNode(path, single.GetAddressOf());
    ORV_FUZZ_CHECK(hr == S_OK || hr == S_FALSE || hr == E_FAIL);
    ORV_FUZZ_CHECK((hr == S_OK) == static_cast<bool>(single));
    if (single) XmlOf(single.Get());
}

constexpr const char16_t* kFixedPaths[] = {
    u"/*", u"//*", u"//@*", u"//text()", u"//node()", u"*/*[1]", u"//*[@*]", u"//comment()",
    u"//processing-instruction()", u"descendant-or-self::node()[last()]", u"count(//*)", u"..",
    u"ORVDOCUMENT/DOCEXTENSION", u"//*[name()='SMS']/@ID",
};

// Sets an attribute and a text value on the root, writes the document, loads
// it again and reads both back.
void ValuesComeBack(IXMLDOMDocument* doc, bool preserve, std::u16string_view value) {
    ComPtr<IXMLDOMElement> root;
    if (doc->get_documentElement(root.GetAddressOf()) != S_OK || !root) return;
    // pugixml strings end at a NUL, so a value is compared up to its first one.
    std::u16string_view upToNul = value.substr(0, value.find(u'\0'));
    orv::Variant attr(value);
    HRESULT hr = root->setAttribute(Bstr(u"fz"), attr);
    ORV_FUZZ_CHECK(hr == S_OK);
    hr = root->put_text(Bstr(value));
    ORV_FUZZ_CHECK(hr == S_OK);
    Bstr xml = XmlOf(doc);
    if (!orvfuzz::AllAllowed(upToNul)) return;  // written as it stands; not text XML allows

    ComPtr<IXMLDOMDocument> again = NewDoc(true);
    ORV_FUZZ_CHECK(Load(again.Get(), xml));
    ComPtr<IXMLDOMElement> root2;
    ORV_FUZZ_CHECK(again->get_documentElement(root2.GetAddressOf()) == S_OK && root2);
    orv::Variant read;
    ORV_FUZZ_CHECK(root2->getAttribute(Bstr(u"fz"), read.Out()) == S_OK && read.vt == VT_BSTR);
    ORV_FUZZ_CHECK(View(read.bstrVal) == upToNul);
    Bstr text;
    ORV_FUZZ_CHECK(root2->get_text(text.ReleaseAndGetAddressOf()) == S_OK);
    ORV_FUZZ_CHECK(View(text) == upToNul);
    (void)preserve;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t flags = in.Byte();
    const bool preserve = flags & 4;
    const std::string_view xpathBytes = in.Piece();
    const std::u16string xmlText = orvfuzz::AsText(in.Rest(), flags & 3);
    const std::u16string xpath = orv::Utf8ToUtf16(xpathBytes);

    ComPtr<IXMLDOMDocument> doc = NewDoc(preserve);
    const bool loaded = Load(doc.Get(), Bstr(xmlText));
    Bstr xml = XmlOf(doc.Get());
    if (!loaded) {
        ORV_FUZZ_CHECK(xml.Length() == 0);
        ComPtr<IXMLDOMParseError> error;
        ORV_FUZZ_CHECK(doc->get_parseError(error.GetAddressOf()) == S_OK && error);
        LONG code = 0, line = 0, pos = 0, filepos = -1;
        Bstr reason, src;
        error->get_errorCode(&code);
        error->get_line(&line);
        error->get_linepos(&pos);
        error->get_filepos(&filepos);
        error->get_reason(reason.ReleaseAndGetAddressOf());
        error->get_srcText(src.ReleaseAndGetAddressOf());
        ORV_FUZZ_CHECK(code == static_cast<LONG>(E_FAIL));
        ORV_FUZZ_CHECK(filepos >= 0 && static_cast<std::size_t>(filepos) <= xmlText.size());
        Select(doc.Get(), Bstr(xpath));
        return 0;
    }

    // The written form loads again to the same text.
    {
        ComPtr<IXMLDOMDocument> again = NewDoc(preserve);
        ORV_FUZZ_CHECK(Load(again.Get(), xml));
        ORV_FUZZ_CHECK(XmlOf(again.Get()).View() == xml.View());
    }

    for (const char16_t* path : kFixedPaths) Select(doc.Get(), Bstr(path));
    Bstr fuzzedPath(xpath);
    Select(doc.Get(), fuzzedPath);

    ComPtr<IXMLDOMElement> root;
    ORV_FUZZ_CHECK(doc->get_documentElement(root.GetAddressOf()) == S_OK && root);
    Select(root.Get(), fuzzedPath);
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    ORV_FUZZ_CHECK(root->get_attributes(attributes.GetAddressOf()) == S_OK && attributes);
    LONG count = 0;
    ORV_FUZZ_CHECK(attributes->get_length(&count) == S_OK && count >= 0);
    for (LONG i = 0; i < std::min<LONG>(count, 8); ++i) {
        ComPtr<IXMLDOMNode> attribute;
        ORV_FUZZ_CHECK(attributes->get_item(i, attribute.GetAddressOf()) == S_OK && attribute);
        Select(attribute.Get(), fuzzedPath);
    }

    ValuesComeBack(doc.Get(), preserve, xpath);
    return 0;
}
