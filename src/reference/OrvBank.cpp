#include "reference/OrvBank.h"

#include "xml/dom.h"

#include "kinds/ExtensionFields.h"

#include <orvdocs/frame/itemlists.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

namespace orv {
namespace {

constexpr const OLECHAR* kRoot = u"ORVBANK";
constexpr const OLECHAR* kAccountsElement = u"ORVACCLIST";
constexpr const OLECHAR* kAddressesElement = u"ORVADDRLIST";
constexpr const OLECHAR* kTextNames[] = {u"BIK",         u"BCMT", u"NVSCODE", u"CORRACCOUNT", u"CORRSUBACCOUNT",
                                         u"INN",         u"NAME", u"OFFICENAME"};

ComPtr<IUnknown> NewList(REFCLSID clsid) {
    ComPtr<IUnknown> list;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(list.GetAddressOf())),
          IID_IUnknown);
    return list;
}

ComPtr<IOrvObjAsXmlString> XmlFormOf(IUnknown* object) {
    ComPtr<IOrvObjAsXmlString> form;
    Check(object->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())),
          IID_IOrvObjAsXmlString);
    return form;
}

ComPtr<IXMLDOMElement> NewRoot(IXMLDOMDocument* xml) {
    ComPtr<IXMLDOMElement> root;
    Check(xml->createElement(Bstr(kRoot), root.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check(xml->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    return root;
}

ComPtr<IXMLDOMElement> ElementOf(IUnknown* node) {
    if (!node) throw ComError{E_POINTER, IID_IXMLDOMElement};
    ComPtr<IXMLDOMElement> element;
    Check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.GetAddressOf())),
          IID_IXMLDOMElement);
    return element;
}

// A new list of class clsid holding the entries of list (written into a
// scratch element by the list and read back by the new one).
ComPtr<IUnknown> CopyList(IUnknown* list, REFCLSID clsid) {
    if (!list) return {};
    ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
    ComPtr<IXMLDOMElement> scratch = NewRoot(xml.Get());
    Check(XmlFormOf(list)->ParseIn(scratch.Get(), 0), IID_IOrvObjAsXmlString);
    ComPtr<IUnknown> copy = NewList(clsid);
    Check(XmlFormOf(copy.Get())->ParseFrom(scratch.Get(), 0), IID_IOrvObjAsXmlString);
    return copy;
}

}  // namespace

HRESULT OrvBank::FinalConstruct() {
    // Lists are optional: a host without the list component still gets banks.
    CoCreateInstance(CLSID_OrvAccountList, nullptr, CLSCTX_ALL, IID_IUnknown,
                     reinterpret_cast<void**>(f_.accounts.GetAddressOf()));
    CoCreateInstance(CLSID_OrvAddressList, nullptr, CLSCTX_ALL, IID_IUnknown,
                     reinterpret_cast<void**>(f_.addresses.GetAddressOf()));
    return S_OK;
}

HRESULT OrvBank::GetText(Text field, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(f_.texts[field], pVal); });
}

HRESULT OrvBank::PutText(Text field, BSTR newVal) {
    return Locked([&] {
        f_.texts[field] = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvBank::GetList(ComPtr<IUnknown>& list, IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return list ? list.CopyTo(pVal) : S_OK; });
}

HRESULT OrvBank::PutList(ComPtr<IUnknown>& list, IUnknown* newVal) {
    return Locked([&] {
        list = newVal;
        return S_OK;
    });
}

HRESULT OrvBank::get_KeyVal(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = f_.keyVal;
        return S_OK;
    });
}

HRESULT OrvBank::put_KeyVal(LONG newVal) {
    return Locked([&] {
        f_.keyVal = newVal;
        return S_OK;
    });
}

HRESULT OrvBank::get_ExportFileFormat(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = f_.exportFormat;
        return S_OK;
    });
}

HRESULT OrvBank::put_ExportFileFormat(LONG newVal) {
    return Locked([&] {
        f_.exportFormat = static_cast<SHORT>(static_cast<uint16_t>(newVal & 0xFFFF));
        return S_OK;
    });
}

HRESULT OrvBank::get_DisplayName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        const std::u16string& comment = f_.texts[kComment];
        const std::u16string& office = f_.texts[kOfficeName];
        const std::u16string& name = f_.texts[kName];
        std::u16string text;
        if (!comment.empty())
            text = comment + u" : " + name;
        else if (!office.empty())
            text = name + u" Ф-л:" + office;
        else
            text = name;
        return ext::CopyText(text, pVal);
    });
}

HRESULT OrvBank::Clone(IUnknown** ppunkBank) {
    if (!ppunkBank) return E_POINTER;
    *ppunkBank = nullptr;
    return Locked([&] {
        ComPtr<IUnknown> unknown;
        OrvBank* copy = nullptr;
        Check(CreateObjectWithAccess<OrvBank>(&unknown, &copy), IID_IOrvBank);
        Fields fields;
        fields.texts = f_.texts;
        fields.keyVal = f_.keyVal;
        fields.exportFormat = f_.exportFormat;
        fields.accounts = CopyList(f_.accounts.Get(), CLSID_OrvAccountList);
        fields.addresses = CopyList(f_.addresses.Get(), CLSID_OrvAddressList);
        copy->f_ = std::move(fields);
        *ppunkBank = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvBank::get_ShortString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    return E_NOTIMPL;
}

HRESULT OrvBank::put_ShortString(BSTR) { return E_NOTIMPL; }

void OrvBank::WriteInto(IXMLDOMElement* root) {
    OLECHAR clsid[64];
    if (StringFromGUID2(CLSID_OrvBank, clsid, 64) == 0) throw ComError{E_UNEXPECTED, IID_IOrvBank};
    ext::WriteText(root, u"CLSID", clsid);
    for (int i = 0; i < kTextCount; ++i) ext::WriteText(root, kTextNames[i], f_.texts[static_cast<std::size_t>(i)]);
    ext::WriteLong(root, u"KEYVAL", f_.keyVal);
    if (f_.exportFormat != 0) ext::WriteLong(root, u"EXPFF", f_.exportFormat);
    ComPtr<IXMLDOMDocument> xml;
    Check(root->get_ownerDocument(xml.GetAddressOf()), IID_IXMLDOMElement);
    if (!xml) throw ComError{E_UNEXPECTED, IID_IXMLDOMElement};
    if (f_.accounts) {
        ComPtr<IXMLDOMElement> child = ext::AppendElement(xml.Get(), root, kAccountsElement);
        Check(XmlFormOf(f_.accounts.Get())->ParseIn(child.Get(), 0), IID_IOrvObjAsXmlString);
    }
    if (f_.addresses) {
        ComPtr<IXMLDOMElement> child = ext::AppendElement(xml.Get(), root, kAddressesElement);
        Check(XmlFormOf(f_.addresses.Get())->ParseIn(child.Get(), 0), IID_IOrvObjAsXmlString);
    }
}

OrvBank::Fields OrvBank::ReadFrom(IXMLDOMElement* root) {
    Fields fields;
    for (int i = 0; i < kTextCount; ++i) fields.texts[static_cast<std::size_t>(i)] = ext::ReadText(root, kTextNames[i]);
    fields.keyVal = ext::ReadLong(root, u"KEYVAL");
    fields.exportFormat = static_cast<SHORT>(static_cast<uint16_t>(ext::ReadLong(root, u"EXPFF") & 0xFFFF));
    fields.accounts = NewList(CLSID_OrvAccountList);
    if (ComPtr<IXMLDOMElement> child = ext::ChildElement(root, kAccountsElement))
        Check(XmlFormOf(fields.accounts.Get())->ParseFrom(child.Get(), 0), IID_IOrvObjAsXmlString);
    fields.addresses = NewList(CLSID_OrvAddressList);
    if (ComPtr<IXMLDOMElement> child = ext::ChildElement(root, kAddressesElement))
        Check(XmlFormOf(fields.addresses.Get())->ParseFrom(child.Get(), 0), IID_IOrvObjAsXmlString);
    return fields;
}

HRESULT OrvBank::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
        WriteInto(NewRoot(xml.Get()).Get());
        Check(xml->get_xml(pVal), IID_IXMLDOMDocument);
        return S_OK;
    });
}

HRESULT OrvBank::put_FullString(BSTR newVal) {
    return Locked([&]() -> HRESULT {
        ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(xml->loadXML(newVal ? newVal : Bstr(u"").Get(), &ok), IID_IXMLDOMDocument);
        if (ok != VARIANT_TRUE) return E_INVALIDARG;
        ComPtr<IXMLDOMNode> node;
        if (Check(xml->selectSingleNode(Bstr(kRoot), node.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !node)
            return E_INVALIDARG;
        f_ = ReadFrom(ElementOf(node.Get()).Get());
        return S_OK;
    });
}

HRESULT OrvBank::ParseIn(IUnknown* spRoot, LONG) {
    return Locked([&] {
        WriteInto(ElementOf(spRoot).Get());
        return S_OK;
    });
}

HRESULT OrvBank::ParseFrom(IUnknown* pRoot, LONG) {
    return Locked([&] {
        f_ = ReadFrom(ElementOf(pRoot).Get());
        return S_OK;
    });
}

}  // namespace orv
