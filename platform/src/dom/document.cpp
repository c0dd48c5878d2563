// IXMLDOMDocument and IXMLDOMDocument2 members, the class's creation and its
// registration as a built-in class of the platform.
#include "domnode.h"
#include "domutil.h"
#include "files.h"
#include "load.h"
#include "nodelist.h"

#include <orvdocs/platform/builtin.h>
#include <orvdocs/platform/strings.h>

#include <cerrno>

namespace orv::dom {

namespace {

bool IsDocument(const DomNode& n) { return n.Kind() == NodeKind::Document; }

VARIANT_BOOL Bool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

bool EqualsAscii(std::u16string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char16_t>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != static_cast<unsigned char>(y)) return false;
    }
    return true;
}

}  // namespace

HRESULT CreateDomDocument(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
        if (OrvAllocationFails()) return E_OUTOFMEMORY;
        auto doc = std::make_shared<DomDoc>();
        DomNode* node;
        {
            std::lock_guard lock(doc->mutex);
            node = doc->DocumentObject();
        }
        HRESULT hr = node->QueryInterface(riid, ppv);
        node->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

namespace {
// Every process that loads the platform can create the document by class
// identifier or ProgID without a registration step.
const bool registered = [] {
    RegisterBuiltinClass(CLSID_DOMDocument40, PROGID_DOMDocument40, &CreateDomDocument);
    return true;
}();
}  // namespace

// ----------------------------------------------------------- IXMLDOMDocument

HRESULT DomNode::get_doctype(IXMLDOMDocumentType** documentType) {
    if (!documentType) return E_POINTER;
    *documentType = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::get_implementation(IXMLDOMImplementation** impl) {
    if (!impl) return E_POINTER;
    *impl = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::get_documentElement(IXMLDOMElement** DOMElement) {
    if (!DOMElement) return E_POINTER;
    *DOMElement = nullptr;
    if (!IsDocument(*this)) return E_FAIL;
    return Locked([&](DomDoc& d) -> HRESULT {
        for (pugi::xml_node c = d.MainRoot().first_child(); c; c = c.next_sibling())
            if (c.type() == pugi::node_element) return HandOut(d.Wrap(c), DOMElement);
        return S_FALSE;
    });
}

HRESULT DomNode::putref_documentElement(IXMLDOMElement* DOMElement) {
    if (!IsDocument(*this)) return E_FAIL;
    if (!DOMElement) return E_INVALIDARG;
    NodeRef element(From(DOMElement));
    if (!element || element->Kind() != NodeKind::Node || element->Type() != pugi::node_element) return E_INVALIDARG;
    return LockedWith(*element.p, [&](DomDoc& d, DomDoc& ed) -> HRESULT {
        pugi::xml_node current;
        for (pugi::xml_node c = d.MainRoot().first_child(); c && !current; c = c.next_sibling())
            if (c.type() == pugi::node_element) current = c;
        if (current && current == element->node_) return S_OK;
        HRESULT hr = Place(d, ed, current, current, *element.p);
        if (FAILED(hr)) return hr;
        if (current) d.Detach(current);
        return S_OK;
    });
}

HRESULT DomNode::createElement(BSTR tagName, IXMLDOMElement** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    if (!IsXmlName(View(tagName))) return E_FAIL;
    const std::string name = ToUtf8(View(tagName));
    return Locked([&](DomDoc& d) -> HRESULT {
        return HandOut(d.CreateOrphan(pugi::node_element, name.c_str(), nullptr), element);
    });
}

HRESULT DomNode::createDocumentFragment(IXMLDOMDocumentFragment** docFrag) {
    if (!docFrag) return E_POINTER;
    *docFrag = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::createTextNode(BSTR data, IXMLDOMText** text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    const std::string value = ToUtf8(View(data));
    return Locked([&](DomDoc& d) -> HRESULT {
        return HandOut(d.CreateOrphan(pugi::node_pcdata, nullptr, value.c_str()), text);
    });
}

HRESULT DomNode::createComment(BSTR data, IXMLDOMComment** comment) {
    if (!comment) return E_POINTER;
    *comment = nullptr;
    const std::string value = ToUtf8(View(data));
    return Locked([&](DomDoc& d) -> HRESULT {
        return HandOut(d.CreateOrphan(pugi::node_comment, nullptr, value.c_str()), comment);
    });
}

HRESULT DomNode::createCDATASection(BSTR data, IXMLDOMCDATASection** cdata) {
    if (!cdata) return E_POINTER;
    *cdata = nullptr;
    const std::string value = ToUtf8(View(data));
    return Locked([&](DomDoc& d) -> HRESULT {
        return HandOut(d.CreateOrphan(pugi::node_cdata, nullptr, value.c_str()), cdata);
    });
}

HRESULT DomNode::createProcessingInstruction(BSTR target, BSTR data, IXMLDOMProcessingInstruction** pi) {
    if (!pi) return E_POINTER;
    *pi = nullptr;
    if (!IsXmlName(View(target))) return E_FAIL;
    const std::string name = ToUtf8(View(target));
    const std::string value = ToUtf8(View(data));
    if (name == "xml") {
        // The XML declaration: its pseudo-attributes are read by pugixml.
        pugi::xml_document scratch;
        const std::string text = "<?xml " + value + "?><r/>";
        if (!scratch.load_string(text.c_str(), pugi::parse_declaration) ||
            scratch.first_child().type() != pugi::node_declaration)
            return E_FAIL;
        return Locked([&](DomDoc& d) -> HRESULT {
            DomNode* w = d.CreateOrphan(pugi::node_declaration, nullptr, nullptr);
            for (pugi::xml_attribute a = scratch.first_child().first_attribute(); a; a = a.next_attribute())
                if (!w->node_.append_copy(a)) {
                    w->Release();
                    return E_OUTOFMEMORY;
                }
            return HandOut(w, pi);
        });
    }
    return Locked([&](DomDoc& d) -> HRESULT {
        return HandOut(d.CreateOrphan(pugi::node_pi, name.c_str(), value.c_str()), pi);
    });
}

HRESULT DomNode::createAttribute(BSTR, IXMLDOMAttribute** attribute) {
    if (!attribute) return E_POINTER;
    *attribute = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::createEntityReference(BSTR, IXMLDOMEntityReference** entityRef) {
    if (!entityRef) return E_POINTER;
    *entityRef = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::createNode(VARIANT Type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) {
    if (!node) return E_POINTER;
    *node = nullptr;
    LONG type = NODE_INVALID;
    if (Type.vt == VT_BSTR) {
        static constexpr std::pair<std::string_view, DOMNodeType> kNames[] = {
            {"element", NODE_ELEMENT}, {"text", NODE_TEXT}, {"cdatasection", NODE_CDATA_SECTION},
            {"comment", NODE_COMMENT}, {"processinginstruction", NODE_PROCESSING_INSTRUCTION},
            {"attribute", NODE_ATTRIBUTE}, {"document", NODE_DOCUMENT}, {"documentfragment", NODE_DOCUMENT_FRAGMENT},
            {"entityreference", NODE_ENTITY_REFERENCE}};
        for (const auto& [text, t] : kNames)
            if (EqualsAscii(View(Type.bstrVal), text)) type = t;
    } else {
        orv::Variant v;
        if (FAILED(VariantChangeType(&v, &Type, 0, VT_I4))) return E_INVALIDARG;
        type = v.lVal;
    }
    if (!View(namespaceURI).empty()) return E_NOTIMPL;
    HRESULT hr;
    switch (type) {
        case NODE_ELEMENT: {
            IXMLDOMElement* e = nullptr;
            hr = createElement(name, &e);
            *node = e;
            return hr;
        }
        case NODE_TEXT: {
            IXMLDOMText* t = nullptr;
            hr = createTextNode(nullptr, &t);
            *node = t;
            return hr;
        }
        case NODE_CDATA_SECTION: {
            IXMLDOMCDATASection* c = nullptr;
            hr = createCDATASection(nullptr, &c);
            *node = c;
            return hr;
        }
        case NODE_COMMENT: {
            IXMLDOMComment* c = nullptr;
            hr = createComment(nullptr, &c);
            *node = c;
            return hr;
        }
        case NODE_PROCESSING_INSTRUCTION: {
            IXMLDOMProcessingInstruction* p = nullptr;
            hr = createProcessingInstruction(name, nullptr, &p);
            *node = p;
            return hr;
        }
        case NODE_ATTRIBUTE:
        case NODE_DOCUMENT:
        case NODE_DOCUMENT_FRAGMENT:
        case NODE_ENTITY_REFERENCE:
            return E_NOTIMPL;
        default:
            return E_INVALIDARG;
    }
}

HRESULT DomNode::nodeFromID(BSTR, IXMLDOMNode** node) {
    if (!node) return E_POINTER;
    *node = nullptr;
    return E_NOTIMPL;
}

// A string argument naming a file: VT_BSTR, or a VARIANT by reference to one.
static const VARIANT* StringArgument(const VARIANT& v) {
    const VARIANT* p = &v;
    if (p->vt == (VT_BYREF | VT_VARIANT) && p->pvarVal) p = p->pvarVal;
    return p->vt == VT_BSTR ? p : nullptr;
}

HRESULT DomNode::load(VARIANT xmlSource, VARIANT_BOOL* isSuccessful) {
    if (!isSuccessful) return E_POINTER;
    *isSuccessful = VARIANT_FALSE;
    if (!IsDocument(*this)) return E_FAIL;
    const VARIANT* source = StringArgument(xmlSource);
    if (!source) return E_INVALIDARG;
    const std::u16string name(View(source->bstrVal));
    // The file is read and decoded before the lock is taken.
    std::string path, why;
    std::u16string text;
    std::size_t bad = 0;
    bool read = LocalPath(name, path, why) && ReadXmlFile(path, text, why, bad);
    return Locked([&](DomDoc& d) -> HRESULT {
        auto fresh = std::make_unique<Tree>();
        ParseErrorInfo error;
        bool ok = false;
        if (!read)
            ReportParseFailure(text, bad, why.c_str(), error);
        else
            ok = ParseXml(text, d.preserveWhiteSpace, *fresh, error);
        if (!ok) fresh = std::make_unique<Tree>();  // a failed load leaves an empty document
        d.ReplaceMain(std::move(fresh));
        d.parseError = std::move(error);
        d.url = name;
        *isSuccessful = Bool(ok);
        return ok ? S_OK : S_FALSE;
    });
}

HRESULT DomNode::get_readyState(LONG* value) {
    if (!value) return E_POINTER;
    *value = 4;  // loading is synchronous: always complete
    return S_OK;
}

HRESULT DomNode::get_parseError(IXMLDOMParseError** errorObj) {
    if (!errorObj) return E_POINTER;
    *errorObj = nullptr;
    if (!IsDocument(*this)) return E_FAIL;
    return Locked([&](DomDoc& d) -> HRESULT { return NewParseError(d.parseError, errorObj); });
}

HRESULT DomNode::get_url(BSTR* urlString) {
    if (!urlString) return E_POINTER;
    *urlString = nullptr;
    if (!IsDocument(*this)) return S_FALSE;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (d.url.empty()) return S_FALSE;  // loaded from text, or not loaded
        return OutBstr16(d.url, urlString);
    });
}

HRESULT DomNode::get_async(VARIANT_BOOL* isAsync) {
    if (!isAsync) return E_POINTER;
    return Locked([&](DomDoc& d) -> HRESULT {
        *isAsync = Bool(d.async);
        return S_OK;
    });
}

HRESULT DomNode::put_async(VARIANT_BOOL isAsync) {
    return Locked([&](DomDoc& d) -> HRESULT {
        d.async = isAsync != VARIANT_FALSE;
        return S_OK;
    });
}

// Loads are synchronous, so there is never a load in progress to stop.
HRESULT DomNode::abort() { return S_OK; }

HRESULT DomNode::loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) {
    if (!isSuccessful) return E_POINTER;
    *isSuccessful = VARIANT_FALSE;
    if (!IsDocument(*this)) return E_FAIL;
    return Locked([&](DomDoc& d) -> HRESULT {
        auto fresh = std::make_unique<Tree>();
        ParseErrorInfo error;
        const bool ok = ParseXml(View(bstrXML), d.preserveWhiteSpace, *fresh, error);
        if (!ok) fresh = std::make_unique<Tree>();  // text that does not parse leaves an empty document
        d.ReplaceMain(std::move(fresh));
        d.parseError = std::move(error);
        d.url.clear();
        *isSuccessful = Bool(ok);
        return ok ? S_OK : S_FALSE;
    });
}

HRESULT DomNode::save(VARIANT destination) {
    if (!IsDocument(*this)) return E_FAIL;
    const VARIANT* target = StringArgument(destination);
    if (!target) return E_INVALIDARG;
    std::string path, why;
    if (!LocalPath(View(target->bstrVal), path, why)) return E_INVALIDARG;
    std::string text, encoding;
    HRESULT hr = Locked([&](DomDoc& d) -> HRESULT {
        Serialize(d, *this, text, true);
        pugi::xml_node first = d.MainRoot().first_child();
        if (first.type() == pugi::node_declaration) encoding = first.attribute("encoding").value();
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    // Written outside the lock: the text is complete.
    const int err = WriteXmlFile(path, text, encoding);
    if (err == 0) return S_OK;
    if (err == EACCES || err == EPERM || err == EROFS) return E_ACCESSDENIED;
    if (err == ENOENT || err == ENOTDIR) return HRESULT_FROM_WIN32(3);  // ERROR_PATH_NOT_FOUND
    if (err == ENOSPC || err == EFBIG || err == EDQUOT) return HRESULT_FROM_WIN32(112);  // ERROR_DISK_FULL
    return E_FAIL;
}

HRESULT DomNode::get_validateOnParse(VARIANT_BOOL* isValidating) {
    if (!isValidating) return E_POINTER;
    return Locked([&](DomDoc& d) -> HRESULT {
        *isValidating = Bool(d.validateOnParse);
        return S_OK;
    });
}

HRESULT DomNode::put_validateOnParse(VARIANT_BOOL isValidating) {
    return Locked([&](DomDoc& d) -> HRESULT {
        d.validateOnParse = isValidating != VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT DomNode::get_resolveExternals(VARIANT_BOOL* isResolving) {
    if (!isResolving) return E_POINTER;
    return Locked([&](DomDoc& d) -> HRESULT {
        *isResolving = Bool(d.resolveExternals);
        return S_OK;
    });
}

HRESULT DomNode::put_resolveExternals(VARIANT_BOOL isResolving) {
    return Locked([&](DomDoc& d) -> HRESULT {
        d.resolveExternals = isResolving != VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT DomNode::get_preserveWhiteSpace(VARIANT_BOOL* isPreserving) {
    if (!isPreserving) return E_POINTER;
    return Locked([&](DomDoc& d) -> HRESULT {
        *isPreserving = Bool(d.preserveWhiteSpace);
        return S_OK;
    });
}

HRESULT DomNode::put_preserveWhiteSpace(VARIANT_BOOL isPreserving) {
    return Locked([&](DomDoc& d) -> HRESULT {
        d.preserveWhiteSpace = isPreserving != VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT DomNode::put_onreadystatechange(VARIANT) { return E_NOTIMPL; }
HRESULT DomNode::put_ondataavailable(VARIANT) { return E_NOTIMPL; }
HRESULT DomNode::put_ontransformnode(VARIANT) { return E_NOTIMPL; }

// ---------------------------------------------------------- IXMLDOMDocument2

HRESULT DomNode::get_namespaces(IXMLDOMSchemaCollection** namespaceCollection) {
    if (!namespaceCollection) return E_POINTER;
    *namespaceCollection = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::get_schemas(VARIANT* otherCollection) {
    if (!otherCollection) return E_POINTER;
    VariantInit(otherCollection);
    return E_NOTIMPL;
}

HRESULT DomNode::putref_schemas(VARIANT) { return E_NOTIMPL; }

HRESULT DomNode::validate(IXMLDOMParseError** errorObj) {
    if (errorObj) *errorObj = nullptr;
    return E_NOTIMPL;
}

// Selections always use XPath. Namespace prefixes for selections are kept as
// given but not used: pugixml matches qualified names as they are written.
HRESULT DomNode::setProperty(BSTR name, VARIANT value) {
    std::u16string_view n = View(name);
    if (EqualsAscii(n, "SelectionLanguage")) {
        if (value.vt != VT_BSTR) return E_INVALIDARG;
        return EqualsAscii(View(value.bstrVal), "XPath") ? S_OK : E_NOTIMPL;
    }
    if (EqualsAscii(n, "SelectionNamespaces")) {
        if (value.vt != VT_BSTR) return E_INVALIDARG;
        std::u16string text(View(value.bstrVal));
        return Locked([&](DomDoc& d) -> HRESULT {
            d.selectionNamespaces = std::move(text);
            return S_OK;
        });
    }
    return E_INVALIDARG;
}

HRESULT DomNode::getProperty(BSTR name, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    std::u16string_view n = View(name);
    if (EqualsAscii(n, "SelectionLanguage")) {
        value->bstrVal = SysAllocString(u"XPath");
        if (!value->bstrVal) return E_OUTOFMEMORY;
        value->vt = VT_BSTR;
        return S_OK;
    }
    if (EqualsAscii(n, "SelectionNamespaces")) {
        return Locked([&](DomDoc& d) -> HRESULT {
            BSTR b = nullptr;
            HRESULT hr = OutBstr16(d.selectionNamespaces, &b);
            if (SUCCEEDED(hr)) value->vt = VT_BSTR, value->bstrVal = b;
            return hr;
        });
    }
    return E_INVALIDARG;
}

}  // namespace orv::dom
