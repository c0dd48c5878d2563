#include "host/OrvItemList.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

namespace orv::host {
namespace {

constexpr const char16_t* kItem = u"ITEM";
constexpr const char16_t* kAccountRoot = u"ORVACCLIST";
constexpr const char16_t* kAddressRoot = u"ORVADDRLIST";

template <const CLSID* Clsid>
constexpr const char16_t* RootName() {
    return Clsid == &CLSID_OrvAccountList ? kAccountRoot : kAddressRoot;
}

ComPtr<IOrvObjAsXmlString> XmlFormOf(IUnknown* object) {
    ComPtr<IOrvObjAsXmlString> form;
    Check(object->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())),
          IID_IOrvObjAsXmlString);
    return form;
}

ComPtr<IXMLDOMElement> ElementOf(IUnknown* node) {
    ComPtr<IXMLDOMElement> element;
    Check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.GetAddressOf())),
          IID_IXMLDOMElement);
    return element;
}

ComPtr<IXMLDOMDocument> NewXml() {
    ComPtr<IXMLDOMDocument> xml;
    Check(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                           reinterpret_cast<void**>(xml.GetAddressOf())),
          IID_IXMLDOMDocument);
    return xml;
}

// The class an "ITEM" element names in its "CLSID" attribute; the host's
// reference item when it names none.
CLSID ClassOf(IXMLDOMElement* item) {
    Variant v;
    Check(item->getAttribute(Bstr(u"CLSID"), v.Out()), IID_IXMLDOMElement);
    if (v.vt != VT_BSTR || SysStringLen(v.bstrVal) == 0) return CLSID_OrvRefItem;
    CLSID clsid{};
    Check(CLSIDFromString(v.bstrVal, &clsid), IID_IOrvObjAsXmlString);
    return clsid;
}

}  // namespace

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::Reset() {
    return this->Locked([&] {
        cursor_ = 0;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::Add(IUnknown* punk) {
    if (!punk) return E_INVALIDARG;
    return this->Locked([&] {
        items_.emplace_back(punk);
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::Next(IUnknown** ppunk) {
    if (!ppunk) return E_POINTER;
    *ppunk = nullptr;
    return this->Locked([&] {
        if (cursor_ >= items_.size()) return S_FALSE;
        return items_[cursor_++].CopyTo(ppunk);
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return this->Locked([&] {
        *pVal = static_cast<LONG>(items_.size());
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::RemoveAll() {
    std::vector<ComPtr<IUnknown>> gone;
    return this->Locked([&] {
        gone.swap(items_);
        cursor_ = 0;
        return S_OK;
    });  // the entries go after the lock is left, so a destructor may call back in
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::get_ShortString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return this->Locked([&] {
        std::u16string joined;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            Bstr part;
            Check(XmlFormOf(items_[i].Get())->get_ShortString(part.ReleaseAndGetAddressOf()), IID_IOrvObjAsXmlString);
            if (i) joined += u';';
            if (part.Get()) joined.append(part.Get(), SysStringLen(part.Get()));
        }
        return Bstr(joined).CopyTo(pVal);
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::put_ShortString(BSTR) {
    return E_NOTIMPL;
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::ParseIn(IUnknown* spRoot, LONG lMode) {
    if (!spRoot) return E_POINTER;
    return this->Locked([&] {
        ComPtr<IXMLDOMElement> root = ElementOf(spRoot);
        ComPtr<IXMLDOMDocument> owner;
        Check(root->get_ownerDocument(owner.GetAddressOf()), IID_IXMLDOMElement);
        if (!owner) return E_INVALIDARG;
        for (const ComPtr<IUnknown>& entry : items_) {
            ComPtr<IOrvObjAsXmlString> form = XmlFormOf(entry.Get());
            ComPtr<IXMLDOMElement> child;
            Check(owner->createElement(Bstr(kItem), child.GetAddressOf()), IID_IXMLDOMDocument);
            Check(form->ParseIn(child.Get(), lMode), IID_IOrvObjAsXmlString);
            ComPtr<IXMLDOMNode> added;
            Check(root->appendChild(child.Get(), added.GetAddressOf()), IID_IXMLDOMElement);
        }
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::ParseFrom(IUnknown* pRoot, LONG lMode) {
    if (!pRoot) return E_POINTER;
    return this->Locked([&] {
        ComPtr<IXMLDOMElement> root = ElementOf(pRoot);
        ComPtr<IXMLDOMNodeList> nodes;
        Check(root->selectNodes(Bstr(kItem), nodes.GetAddressOf()), IID_IXMLDOMElement);
        LONG count = 0;
        if (nodes) Check(nodes->get_length(&count), IID_IXMLDOMNodeList);
        // Everything is read aside first: a failing entry leaves the list as it was.
        std::vector<ComPtr<IUnknown>> read;
        for (LONG i = 0; i < count; ++i) {
            ComPtr<IXMLDOMNode> node;
            Check(nodes->get_item(i, node.GetAddressOf()), IID_IXMLDOMNodeList);
            ComPtr<IXMLDOMElement> element = ElementOf(node.Get());
            const CLSID clsid = ClassOf(element.Get());
            ComPtr<IUnknown> entry;
            Check(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                   reinterpret_cast<void**>(entry.GetAddressOf())),
                  IID_IOrvObjAsXmlString);
            Check(XmlFormOf(entry.Get())->ParseFrom(element.Get(), lMode), IID_IOrvObjAsXmlString);
            read.push_back(std::move(entry));
        }
        read.swap(items_);
        cursor_ = 0;
        return S_OK;
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return this->Guarded([&] {
        ComPtr<IXMLDOMDocument> xml = NewXml();
        ComPtr<IXMLDOMElement> root;
        Check(xml->createElement(Bstr(RootName<Clsid>()), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(xml->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        Check(ParseIn(root.Get(), 0), IID_IOrvObjAsXmlString);
        return root->get_xml(pVal);
    });
}

template <const CLSID* Clsid>
HRESULT OrvItemListT<Clsid>::put_FullString(BSTR newVal) {
    return this->Guarded([&] {
        ComPtr<IXMLDOMDocument> xml = NewXml();
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(xml->loadXML(newVal, &ok), IID_IXMLDOMDocument);
        if (ok != VARIANT_TRUE) return E_INVALIDARG;
        ComPtr<IXMLDOMElement> root;
        if (Check(xml->get_documentElement(root.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !root)
            return E_INVALIDARG;
        return ParseFrom(root.Get(), 0);
    });
}

template class OrvItemListT<&CLSID_OrvAccountList>;
template class OrvItemListT<&CLSID_OrvAddressList>;

}  // namespace orv::host
