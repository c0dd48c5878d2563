#include "host/OrvRefItem.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

namespace orv::host {
namespace {

constexpr const char16_t* kElement = u"REFITEM";

HRESULT SetAttr(IXMLDOMElement* e, const char16_t* name, const Variant& value) {
    Bstr n(name);
    return e->setAttribute(n, value);
}

// Reads an attribute as a number or text; an absent attribute leaves the value.
HRESULT GetAttr(IXMLDOMElement* e, const char16_t* name, VARTYPE vt, Variant* out) {
    Bstr n(name);
    Variant v;
    HRESULT hr = e->getAttribute(n, v.Out());
    if (FAILED(hr)) return hr;
    if (v.vt == VT_NULL || v.vt == VT_EMPTY) return S_FALSE;
    hr = VariantChangeType(&v, &v, 0, vt);
    if (FAILED(hr)) return hr;
    *out = std::move(v);
    return S_OK;
}

}  // namespace

template <class T>
HRESULT OrvRefItem::Get(const T& field, T* out) {
    if (!out) return E_POINTER;
    return Locked([&] {
        *out = field;
        return S_OK;
    });
}

template <class T>
HRESULT OrvRefItem::Put(T& field, T value) {
    return Locked([&] {
        field = value;
        return S_OK;
    });
}

HRESULT OrvRefItem::GetText(const std::u16string& field, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Locked([&] { return Bstr(field).CopyTo(out); });
}

HRESULT OrvRefItem::PutText(std::u16string& field, BSTR value) {
    return Locked([&] {
        field.assign(value ? value : u"", SysStringLen(value));
        return S_OK;
    });
}

HRESULT OrvRefItem::get_Kind(LONG* p) { return Get(kind_, p); }
HRESULT OrvRefItem::put_Kind(LONG v) { return Put(kind_, v); }
HRESULT OrvRefItem::get_Index(LONG* p) { return Get(index_, p); }
HRESULT OrvRefItem::put_Index(LONG v) { return Put(index_, v); }
HRESULT OrvRefItem::get_Id(LONG* p) { return Get(id_, p); }
HRESULT OrvRefItem::put_Id(LONG v) { return Put(id_, v); }
HRESULT OrvRefItem::get_Flag1(SHORT* p) { return Get(flags_[0], p); }
HRESULT OrvRefItem::put_Flag1(SHORT v) { return Put(flags_[0], v); }
HRESULT OrvRefItem::get_Flag2(SHORT* p) { return Get(flags_[1], p); }
HRESULT OrvRefItem::put_Flag2(SHORT v) { return Put(flags_[1], v); }
HRESULT OrvRefItem::get_Flag3(SHORT* p) { return Get(flags_[2], p); }
HRESULT OrvRefItem::put_Flag3(SHORT v) { return Put(flags_[2], v); }
HRESULT OrvRefItem::get_Code(BSTR* p) { return GetText(code_, p); }
HRESULT OrvRefItem::put_Code(BSTR v) { return PutText(code_, v); }
HRESULT OrvRefItem::get_Name(BSTR* p) { return GetText(name_, p); }
HRESULT OrvRefItem::put_Name(BSTR v) { return PutText(name_, v); }
HRESULT OrvRefItem::get_ClassId(BSTR* p) { return GetText(classId_, p); }
HRESULT OrvRefItem::put_ClassId(BSTR v) { return PutText(classId_, v); }
HRESULT OrvRefItem::get_ShortString(BSTR* p) { return GetText(name_, p); }
HRESULT OrvRefItem::put_ShortString(BSTR v) { return PutText(name_, v); }

HRESULT OrvRefItem::ParseIn(IUnknown* spRoot, LONG) {
    if (!spRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMElement> e;
        Check(spRoot->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(e.GetAddressOf())),
              IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"KIND", Variant(kind_)), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"CLSID", Variant(std::u16string_view(classId_))), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"INDEX", Variant(index_)), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"CODE", Variant(std::u16string_view(code_))), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"NAME", Variant(std::u16string_view(name_))), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"ID", Variant(id_)), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"F1", Variant(flags_[0])), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"F2", Variant(flags_[1])), IID_IXMLDOMElement);
        Check(SetAttr(e.Get(), u"F3", Variant(flags_[2])), IID_IXMLDOMElement);
        return S_OK;
    });
}

HRESULT OrvRefItem::ParseFrom(IUnknown* pRoot, LONG) {
    if (!pRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMElement> e;
        Check(pRoot->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(e.GetAddressOf())),
              IID_IXMLDOMElement);
        Variant v;
        auto readLong = [&](const char16_t* name, LONG* field) {
            if (Check(GetAttr(e.Get(), name, VT_I4, &v), IID_IXMLDOMElement) == S_OK) *field = v.lVal;
        };
        auto readShort = [&](const char16_t* name, SHORT* field) {
            if (Check(GetAttr(e.Get(), name, VT_I2, &v), IID_IXMLDOMElement) == S_OK) *field = v.iVal;
        };
        auto readText = [&](const char16_t* name, std::u16string* field) {
            if (Check(GetAttr(e.Get(), name, VT_BSTR, &v), IID_IXMLDOMElement) == S_OK)
                field->assign(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
        };
        readLong(u"KIND", &kind_);
        readText(u"CLSID", &classId_);
        readLong(u"INDEX", &index_);
        readText(u"CODE", &code_);
        readText(u"NAME", &name_);
        readLong(u"ID", &id_);
        readShort(u"F1", &flags_[0]);
        readShort(u"F2", &flags_[1]);
        readShort(u"F3", &flags_[2]);
        return S_OK;
    });
}

HRESULT OrvRefItem::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Guarded([&] {
        ComPtr<IXMLDOMDocument> doc;
        Check(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(doc.GetAddressOf())),
              IID_IXMLDOMDocument);
        ComPtr<IXMLDOMElement> root;
        Check(doc->createElement(Bstr(kElement), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(doc->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        Check(ParseIn(root.Get(), 0), IID_IOrvObjAsXmlString);
        Check(root->get_xml(pVal), IID_IXMLDOMElement);
        return S_OK;
    });
}

HRESULT OrvRefItem::put_FullString(BSTR newVal) {
    return Guarded([&] {
        ComPtr<IXMLDOMDocument> doc;
        Check(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(doc.GetAddressOf())),
              IID_IXMLDOMDocument);
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(doc->loadXML(newVal, &ok), IID_IXMLDOMDocument);
        if (ok != VARIANT_TRUE) return E_INVALIDARG;
        ComPtr<IXMLDOMElement> root;
        if (Check(doc->get_documentElement(root.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !root)
            return E_INVALIDARG;
        return ParseFrom(root.Get(), 0);
    });
}

}  // namespace orv::host
