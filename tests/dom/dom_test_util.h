// Helpers of the DOM service tests: creation, loading and reading back as UTF-8.
#pragma once

#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace domtest {

using orv::Bstr;
using orv::ComPtr;

inline ComPtr<IXMLDOMDocument> NewDoc() {
    ComPtr<IXMLDOMDocument> doc;
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(doc.GetAddressOf()));
    EXPECT_EQ(hr, S_OK);
    return doc;
}

inline Bstr B(std::string_view utf8) { return Bstr::FromUtf8(utf8); }

inline std::string U8(BSTR s) { return orv::Utf16ToUtf8(s ? std::u16string_view(s, SysStringLen(s)) : u""); }

// Loads text that must parse.
inline ComPtr<IXMLDOMDocument> Load(std::string_view utf8) {
    ComPtr<IXMLDOMDocument> doc = NewDoc();
    VARIANT_BOOL ok = VARIANT_FALSE;
    EXPECT_EQ(doc->loadXML(B(utf8), &ok), S_OK) << utf8;
    EXPECT_EQ(ok, VARIANT_TRUE) << utf8;
    return doc;
}

template <class I>
std::string Xml(const ComPtr<I>& node) {
    Bstr s;
    EXPECT_EQ(node->get_xml(s.ReleaseAndGetAddressOf()), S_OK);
    return U8(s);
}

template <class I>
std::string Text(const ComPtr<I>& node) {
    Bstr s;
    EXPECT_EQ(node->get_text(s.ReleaseAndGetAddressOf()), S_OK);
    return U8(s);
}

template <class I>
ComPtr<IXMLDOMNode> Select(const ComPtr<I>& node, std::string_view xpath) {
    ComPtr<IXMLDOMNode> n;
    node->selectSingleNode(B(xpath), n.GetAddressOf());
    return n;
}

template <class I>
ComPtr<IXMLDOMNodeList> SelectAll(const ComPtr<I>& node, std::string_view xpath) {
    ComPtr<IXMLDOMNodeList> list;
    EXPECT_EQ(node->selectNodes(B(xpath), list.GetAddressOf()), S_OK) << xpath;
    return list;
}

inline LONG Length(const ComPtr<IXMLDOMNodeList>& list) {
    LONG n = -1;
    EXPECT_EQ(list->get_length(&n), S_OK);
    return n;
}

template <class Q, class I>
ComPtr<Q> As(const ComPtr<I>& p) {
    ComPtr<Q> q;
    if (p) p.As(&q);
    return q;
}

inline ComPtr<IXMLDOMElement> Root(const ComPtr<IXMLDOMDocument>& doc) {
    ComPtr<IXMLDOMElement> e;
    doc->get_documentElement(e.GetAddressOf());
    return e;
}

// The attribute's text, or "<null>" when it is absent.
inline std::string Attr(const ComPtr<IXMLDOMElement>& e, std::string_view name) {
    orv::Variant v;
    HRESULT hr = e->getAttribute(B(name), v.Out());
    if (hr == S_FALSE) return v.vt == VT_NULL ? "<null>" : "<bad>";
    return v.vt == VT_BSTR ? U8(v.bstrVal) : "<bad>";
}

inline HRESULT SetAttr(const ComPtr<IXMLDOMElement>& e, std::string_view name, std::string_view value) {
    orv::Variant v(std::u16string_view(orv::Utf8ToUtf16(value)));
    return e->setAttribute(B(name), v);
}

inline ComPtr<IXMLDOMElement> NewElement(const ComPtr<IXMLDOMDocument>& doc, std::string_view name) {
    ComPtr<IXMLDOMElement> e;
    EXPECT_EQ(doc->createElement(B(name), e.GetAddressOf()), S_OK);
    return e;
}

// The IUnknown identity of an object.
template <class I>
IUnknown* Identity(const ComPtr<I>& p) {
    ComPtr<IUnknown> u;
    p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(u.GetAddressOf()));
    return u.Get();  // still referenced by p
}

}  // namespace domtest
