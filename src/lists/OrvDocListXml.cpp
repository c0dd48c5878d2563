// The document list's XML forms: the short "DOCLIST" overview and the full
// "ORVDOCLIST" form, in which every document writes its own "ORVDOCUMENT".
#include "lists/OrvDocList.h"

#include "xml/dom.h"

#include "document/OrvDocument.h"
#include "frame/values.h"
#include "kinds/RecordFields.h"
#include "lists/ListXml.h"
#include "xml/attributes.h"

#include <charconv>

namespace orv {

using lists::DocEntry;
using lists::EntryRef;

namespace {

constexpr const OLECHAR* kShortRoot = u"DOCLIST";
constexpr const OLECHAR* kShortItem = u"DOC";
constexpr const OLECHAR* kFullRoot = u"ORVDOCLIST";
constexpr const OLECHAR* kFullItem = u"ORVDOCUMENT";

// Names of the staff orders (type 91) that the short form shows, by lDcRsrv(2).
const OLECHAR* StaffOrderName(LONG kind) {
    switch (kind) {
        case 1: return u"Прием";
        case 3: return u"Перенос из(в) уволенные";
        default: return nullptr;
    }
}

void Set(IXMLDOMElement* element, const OLECHAR* name, auto value) {
    Check(SetAttribute(element, name, value), IID_IXMLDOMElement);
}

std::u16string Decimal(unsigned long long value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::u16string(digits, end);
}

}  // namespace

HRESULT OrvDocList::get_ShortString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvDocList, &dom);
    if (FAILED(hr)) return hr;
    return Locked([&] {
        using record::Get;
        ComPtr<IXMLDOMElement> root = lists::AppendElement(dom.Get(), dom.Get(), kShortRoot);
        for (DocEntry* entry = sequence_.First(); entry; entry = entry->next) {
            IOrvDocument* doc = DocumentOf(entry);
            ComPtr<IXMLDOMElement> item = lists::AppendElement(dom.Get(), root.Get(), kShortItem);
            const LONG type = Get<LONG>(doc, &IOrvDocument::get_lDcType);
            Set(item.Get(), u"T0", type);
            Set(item.Get(), u"ID", Get<LONG>(doc, &IOrvDocument::get_lDcId));
            Set(item.Get(), u"T1", Get<LONG>(doc, &IOrvDocument::get_T1));
            Set(item.Get(), u"DN", Get<DATE>(doc, &IOrvDocument::get_dtDn));
            Set(item.Get(), u"DK", Get<DATE>(doc, &IOrvDocument::get_dtDk));
            Set(item.Get(), u"DS", record::GetText(doc, &IOrvDocument::get_DisplayString).View());
            Set(item.Get(), u"CKI", std::u16string_view(Decimal(Get<ULONG>(doc, &IOrvDocument::get_DB_ADDR))));
            if (type == 1 || type == 48) {
                Set(item.Get(), u"XFR", Get<SHORT>(doc, &IOrvDocument::get_CodeFinRoot));
                Set(item.Get(), u"XCI", CurrencyToHundredths(Get<CY>(doc, &IOrvDocument::get_Dcms, SHORT(1))));
            }
            if (type == 91) {
                if (const OLECHAR* name = StaffOrderName(Get<LONG>(doc, &IOrvDocument::get_lDcRsrv, LONG(2))))
                    Set(item.Get(), u"NAME", std::u16string_view(name));
            }
        }
        Check(dom->get_xml(pVal), IID_IXMLDOMDocument);
        return S_OK;
    });
}

HRESULT OrvDocList::put_ShortString(BSTR) { return E_NOTIMPL; }

HRESULT OrvDocList::ParseIn(IUnknown* spRoot, LONG) {
    if (!spRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMNode> root;
        Check(spRoot->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(root.GetAddressOf())), IID_IXMLDOMNode);
        ComPtr<IXMLDOMDocument> owner = lists::OwnerOf(root.Get());
        for (DocEntry* entry = sequence_.First(); entry; entry = entry->next) {
            if (!entry->identity) throw ComError{E_UNEXPECTED, IID_IOrvDocList};
            ComPtr<IOrvObjAsXmlString> form;
            Check(entry->identity.As(&form), IID_IOrvObjAsXmlString);
            ComPtr<IXMLDOMElement> item = lists::AppendElement(owner.Get(), root.Get(), kFullItem);
            Check(form->ParseIn(item.Get(), 0), IID_IOrvObjAsXmlString);
        }
        return S_OK;
    });
}

HRESULT OrvDocList::ParseFrom(IUnknown* pRoot, LONG) {
    if (!pRoot) {
        // Nothing to read from: the list is emptied and the call refused.
        Locked([&] {
            sequence_.Clear();
            cursor_ = EntryRef();
            return S_OK;
        });
        return E_POINTER;
    }
    return Locked([&] {
        ComPtr<IXMLDOMNode> root;
        Check(pRoot->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(root.GetAddressOf())), IID_IXMLDOMNode);
        // Every document is read first; the entries change only when all were read.
        lists::DocSequence read;
        for (ComPtr<IXMLDOMNode> child = lists::FirstChild(root.Get()); child;
             child = lists::NextSibling(child.Get())) {
            if (!lists::IsElementNamed(child.Get(), kFullItem)) continue;
            ComPtr<IOrvObjAsXmlString> form;
            Check(CreateObject<OrvDocument>(&form), IID_IOrvDocument);
            Check(form->ParseFrom(child.Get(), 0), IID_IOrvObjAsXmlString);
            ComPtr<IOrvDocument> document;
            ComPtr<IUnknown> identity;
            Check(form.As(&document), IID_IOrvDocument);
            Check(form.As(&identity), IID_IOrvDocument);
            read.PushBack(std::move(identity), std::move(document));
        }
        sequence_.Clear();
        sequence_.Append(read);
        cursor_ = EntryRef();
        return S_OK;
    });
}

HRESULT OrvDocList::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvDocList, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        ComPtr<IXMLDOMElement> root = lists::AppendElement(dom.Get(), dom.Get(), kFullRoot);
        HRESULT written = ParseIn(root.Get(), 0);
        if (FAILED(written)) return written;
        Check(dom->get_xml(pVal), IID_IXMLDOMDocument);
        return S_OK;
    });
}

HRESULT OrvDocList::put_FullString(BSTR newVal) {
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvDocList, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        VARIANT_BOOL loaded = VARIANT_FALSE;
        const HRESULT load = dom->loadXML(newVal, &loaded);
        if (FAILED(load)) return load;  // out of memory, not a text that does not load
        // A text that is not XML changes nothing; a text without the list's
        // element empties the list (ParseFrom of no element).
        if (loaded != VARIANT_TRUE) return E_POINTER;
        ComPtr<IXMLDOMNode> node;
        Check(dom->selectSingleNode(Bstr(kFullRoot), node.GetAddressOf()), IID_IXMLDOMDocument);
        return ParseFrom(node.Get(), 0);
    });
}

}  // namespace orv
