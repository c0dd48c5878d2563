// IUnknown, IDispatch and IXMLDOMNode members of the DOM node object.
#include "domnode.h"
#include "domutil.h"
#include "nodelist.h"

#include <cstring>

namespace orv::dom {

namespace {

constexpr bool IsCharacterData(pugi::xml_node_type t) {
    return t == pugi::node_pcdata || t == pugi::node_cdata || t == pugi::node_comment;
}

// The node a VARIANT argument refers to: none for empty, null or a missing
// argument; E_INVALIDARG for anything that is not a node of this service.
HRESULT NodeFromVariant(const VARIANT& v, DomNode** out) {
    *out = nullptr;
    const VARIANT* p = &v;
    if (p->vt == (VT_VARIANT | VT_BYREF)) {
        if (!p->pvarVal) return E_INVALIDARG;
        p = p->pvarVal;
    }
    IUnknown* unk = nullptr;
    switch (p->vt) {
        case VT_EMPTY:
        case VT_NULL:
        case VT_ERROR:
            return S_OK;
        case VT_UNKNOWN: unk = p->punkVal; break;
        case VT_DISPATCH: unk = p->pdispVal; break;
        case VT_UNKNOWN | VT_BYREF: unk = p->ppunkVal ? *p->ppunkVal : nullptr; break;
        case VT_DISPATCH | VT_BYREF: unk = p->ppdispVal ? *p->ppdispVal : nullptr; break;
        default: return E_INVALIDARG;
    }
    if (!unk) return S_OK;
    *out = DomNode::From(unk);
    return *out ? S_OK : E_INVALIDARG;
}

}  // namespace

DomNode* DomNode::From(IUnknown* p) {
    if (!p) return nullptr;
    void* self = nullptr;
    if (FAILED(p->QueryInterface(IID_DomNodeImpl, &self))) return nullptr;
    return static_cast<DomNode*>(self);
}

// ------------------------------------------------------------------ IUnknown

HRESULT DomNode::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    void* p = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IXMLDOMNode) {
        p = AsNode();
    } else if (riid == IID_DomNodeImpl) {
        p = this;
    } else if (kind_ == NodeKind::Document) {
        if (riid == IID_IXMLDOMDocument || riid == IID_IXMLDOMDocument2) p = static_cast<IXMLDOMDocument2*>(this);
    } else if (kind_ == NodeKind::Attribute) {
        if (riid == IID_IXMLDOMAttribute) p = static_cast<IXMLDOMAttribute*>(this);
    } else {
        switch (type_) {
            case pugi::node_element:
                if (riid == IID_IXMLDOMElement) p = static_cast<IXMLDOMElement*>(this);
                break;
            case pugi::node_cdata:
                if (riid == IID_IXMLDOMCDATASection) p = static_cast<IXMLDOMCDATASection*>(this);
                [[fallthrough]];
            case pugi::node_pcdata:
                if (riid == IID_IXMLDOMText)
                    p = static_cast<IXMLDOMText*>(static_cast<IXMLDOMCDATASection*>(this));
                else if (riid == IID_IXMLDOMCharacterData)
                    p = static_cast<IXMLDOMCharacterData*>(static_cast<IXMLDOMCDATASection*>(this));
                break;
            case pugi::node_comment:
                if (riid == IID_IXMLDOMComment)
                    p = static_cast<IXMLDOMComment*>(this);
                else if (riid == IID_IXMLDOMCharacterData)
                    p = static_cast<IXMLDOMCharacterData*>(static_cast<IXMLDOMComment*>(this));
                break;
            case pugi::node_pi:
            case pugi::node_declaration:
                if (riid == IID_IXMLDOMProcessingInstruction) p = static_cast<IXMLDOMProcessingInstruction*>(this);
                break;
            default:
                break;
        }
    }
    if (!p) return E_NOINTERFACE;
    AddRef();
    *ppv = p;
    return S_OK;
}

ULONG DomNode::Release() {
    const ULONG n = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (n == 0) {
        const HRESULT hr = Locked([this](DomDoc& d) {
            d.Forget(this);
            return S_OK;
        });
        // Deleted after the lock is gone (the last node of a document takes
        // the document with it). Should the lock fail, the table still knows
        // the object, so it stays.
        if (SUCCEEDED(hr)) delete this;
    }
    return n;
}

void DomNode::ReleaseAll(const std::vector<DomNode*>& nodes) noexcept {
    std::vector<DomNode*> dying;
    try {
        dying.reserve(nodes.size());
    } catch (...) {
        for (DomNode* n : nodes) n->Release();
        return;
    }
    for (DomNode* n : nodes)
        if (n->refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) dying.push_back(n);
    // Forget the dying ones document by document: a run of nodes of one
    // document shares one lock.
    std::size_t i = 0;
    while (i < dying.size()) {
        const std::size_t first = i;
        dying[first]->Locked([&](DomDoc& d) {
            for (; i < dying.size() && dying[i]->doc_.load(std::memory_order_acquire) == &d; ++i) d.Forget(dying[i]);
            return S_OK;
        });
        if (i == first) dying[i++] = nullptr;  // the lock failed: the table still knows it, so it stays
    }
    // Deleted after the locks are gone: the last node of a document takes
    // the document with it.
    for (DomNode* n : dying) delete n;
}

// ------------------------------------------------------------------ IDispatch

HRESULT DomNode::GetTypeInfoCount(UINT* pctinfo) {
    if (!pctinfo) return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}
HRESULT DomNode::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
    if (!ppTInfo) return E_POINTER;
    *ppTInfo = nullptr;
    return E_NOTIMPL;
}
HRESULT DomNode::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT DomNode::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }

// ---------------------------------------------------------------- IXMLDOMNode

HRESULT DomNode::get_nodeName(BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ == NodeKind::Document) return OutBstr("#document", name);
        if (kind_ == NodeKind::Attribute) return OutBstr(attr_.name(), name);
        switch (type_) {
            case pugi::node_pcdata: return OutBstr("#text", name);
            case pugi::node_cdata: return OutBstr("#cdata-section", name);
            case pugi::node_comment: return OutBstr("#comment", name);
            case pugi::node_declaration: return OutBstr("xml", name);
            case pugi::node_doctype: {
                std::string_view v = node_.value();
                return OutBstr(v.substr(0, v.find_first_of(" \t\r\n[")), name);
            }
            default: return OutBstr(Node(d).name(), name);
        }
    });
}

HRESULT DomNode::get_nodeValue(VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    return Locked([&](DomDoc&) -> HRESULT {
        if (kind_ == NodeKind::Attribute) return OutVariantText(attr_.value(), value);
        if (kind_ == NodeKind::Document) {
            value->vt = VT_NULL;
            return S_FALSE;
        }
        switch (type_) {
            case pugi::node_pcdata:
            case pugi::node_cdata:
            case pugi::node_comment:
            case pugi::node_pi: return OutVariantText(node_.value(), value);
            case pugi::node_declaration: return OutVariantText(DeclarationData(node_), value);
            default: value->vt = VT_NULL; return S_FALSE;
        }
    });
}

HRESULT DomNode::put_nodeValue(VARIANT value) {
    std::string text;
    if (HRESULT hr = VariantText(value, text); FAILED(hr)) return hr;
    return Locked([&](DomDoc& d) -> HRESULT {
        d.NoteText(text);
        if (kind_ == NodeKind::Attribute) return attr_.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
        if (kind_ == NodeKind::Document) return E_FAIL;
        if (IsCharacterData(type_) || type_ == pugi::node_pi)
            return node_.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
        return E_FAIL;
    });
}

HRESULT DomNode::get_nodeType(DOMNodeType* type) {
    if (!type) return E_POINTER;
    *type = kind_ == NodeKind::Attribute ? NODE_ATTRIBUTE : DomTypeOf(type_);
    return S_OK;
}

HRESULT DomNode::get_parentNode(IXMLDOMNode** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ != NodeKind::Node) return S_FALSE;
        return HandOutNode(d.Wrap(node_.parent()), parent);
    });
}

HRESULT DomNode::get_childNodes(IXMLDOMNodeList** childList) {
    if (!childList) return E_POINTER;
    *childList = nullptr;
    return NewChildList(this, childList);
}

HRESULT DomNode::get_firstChild(IXMLDOMNode** firstChild) {
    if (!firstChild) return E_POINTER;
    *firstChild = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ == NodeKind::Attribute) return S_FALSE;
        return HandOutNode(d.Wrap(Node(d).first_child()), firstChild);
    });
}

HRESULT DomNode::get_lastChild(IXMLDOMNode** lastChild) {
    if (!lastChild) return E_POINTER;
    *lastChild = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ == NodeKind::Attribute) return S_FALSE;
        return HandOutNode(d.Wrap(Node(d).last_child()), lastChild);
    });
}

HRESULT DomNode::get_previousSibling(IXMLDOMNode** previousSibling) {
    if (!previousSibling) return E_POINTER;
    *previousSibling = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ != NodeKind::Node) return S_FALSE;
        return HandOutNode(d.Wrap(node_.previous_sibling()), previousSibling);
    });
}

HRESULT DomNode::get_nextSibling(IXMLDOMNode** nextSibling) {
    if (!nextSibling) return E_POINTER;
    *nextSibling = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ != NodeKind::Node) return S_FALSE;
        return HandOutNode(d.Wrap(node_.next_sibling()), nextSibling);
    });
}

HRESULT DomNode::get_attributes(IXMLDOMNamedNodeMap** attributeMap) {
    if (!attributeMap) return E_POINTER;
    *attributeMap = nullptr;
    if (kind_ != NodeKind::Node || type_ != pugi::node_element) return S_FALSE;
    return NewAttributeMap(this, attributeMap);
}

HRESULT DomNode::Place(DomDoc& d, DomDoc& cd, pugi::xml_node before, pugi::xml_node replacing, DomNode& child) {
    if (kind_ == NodeKind::Attribute || child.kind_ != NodeKind::Node) return E_FAIL;
    pugi::xml_node parent = Node(d);
    if (parent.type() != pugi::node_element && parent.type() != pugi::node_document) return E_FAIL;
    pugi::xml_node c = child.node_;
    if (before && before.parent() != parent) return E_INVALIDARG;
    if (c == before) return S_OK;
    if (parent == d.MainRoot()) {
        // A document holds one element and no text.
        switch (c.type()) {
            case pugi::node_pcdata:
            case pugi::node_cdata: return E_FAIL;
            case pugi::node_element:
                for (pugi::xml_node e = parent.first_child(); e; e = e.next_sibling())
                    if (e.type() == pugi::node_element && e != c && e != replacing) return E_FAIL;
                break;
            case pugi::node_declaration:
                if (before != parent.first_child()) return E_FAIL;
                break;
            default: break;
        }
    }
    if (d.TreeOf(parent) == cd.TreeOf(c)) {
        // pugixml refuses to move a node into itself or its own subtree.
        pugi::xml_node moved = before ? parent.insert_move_before(c, before) : parent.append_move(c);
        if (!moved) return E_FAIL;
        ++d.version;
        return S_OK;
    }
    // Another tree: pugixml copies, the node objects follow the copy, the
    // original goes.
    cd.PinPending();
    d.controlChars = d.controlChars || cd.controlChars;
    pugi::xml_node copy = before ? parent.insert_copy_before(c, before) : parent.append_copy(c);
    if (!copy) return E_OUTOFMEMORY;  // the checks above leave only memory to fail
    std::vector<Tree*> emptied;
    cd.Rehome(c, d, copy, emptied);
    DestroySubtree(c);
    ++d.version;
    ++cd.version;
    for (Tree* t : emptied) cd.Collect(t);
    return S_OK;
}

HRESULT DomNode::insertBefore(IXMLDOMNode* newChild, VARIANT refChild, IXMLDOMNode** outNewChild) {
    if (outNewChild) *outNewChild = nullptr;
    if (!newChild) return E_INVALIDARG;
    NodeRef child(From(newChild));
    if (!child) return E_INVALIDARG;
    DomNode* refRaw = nullptr;
    if (HRESULT hr = NodeFromVariant(refChild, &refRaw); FAILED(hr)) return hr;
    NodeRef ref(refRaw);
    return LockedWith(*child.p, [&](DomDoc& d, DomDoc& cd) -> HRESULT {
        pugi::xml_node before;
        if (ref) {
            if (ref->doc_.load(std::memory_order_acquire) != &d || ref->kind_ != NodeKind::Node)
                return E_INVALIDARG;
            before = ref->node_;
        }
        HRESULT hr = Place(d, cd, before, {}, *child.p);
        if (FAILED(hr)) return hr;
        if (outNewChild) {
            child->AddRef();
            *outNewChild = child->AsNode();
        }
        return S_OK;
    });
}

HRESULT DomNode::appendChild(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) {
    if (outNewChild) *outNewChild = nullptr;
    if (!newChild) return E_INVALIDARG;
    NodeRef child(From(newChild));
    if (!child) return E_INVALIDARG;
    return LockedWith(*child.p, [&](DomDoc& d, DomDoc& cd) -> HRESULT {
        HRESULT hr = Place(d, cd, {}, {}, *child.p);
        if (FAILED(hr)) return hr;
        if (outNewChild) {
            child->AddRef();
            *outNewChild = child->AsNode();
        }
        return S_OK;
    });
}

HRESULT DomNode::replaceChild(IXMLDOMNode* newChild, IXMLDOMNode* oldChild, IXMLDOMNode** outOldChild) {
    if (outOldChild) *outOldChild = nullptr;
    if (!newChild || !oldChild) return E_INVALIDARG;
    NodeRef fresh(From(newChild));
    NodeRef old(From(oldChild));
    if (!fresh || !old) return E_INVALIDARG;
    return LockedWith(*fresh.p, [&](DomDoc& d, DomDoc& cd) -> HRESULT {
        if (old->doc_.load(std::memory_order_acquire) != &d || old->kind_ != NodeKind::Node ||
            kind_ == NodeKind::Attribute || old->node_.parent() != Node(d))
            return E_INVALIDARG;
        if (fresh.p != old.p) {
            HRESULT hr = Place(d, cd, old->node_, old->node_, *fresh.p);
            if (FAILED(hr)) return hr;
            d.Detach(old->node_);
        }
        if (outOldChild) {
            old->AddRef();
            *outOldChild = old->AsNode();
        }
        return S_OK;
    });
}

HRESULT DomNode::removeChild(IXMLDOMNode* childNode, IXMLDOMNode** oldChild) {
    if (oldChild) *oldChild = nullptr;
    if (!childNode) return E_INVALIDARG;
    NodeRef child(From(childNode));
    if (!child) return E_INVALIDARG;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (child->doc_.load(std::memory_order_acquire) != &d || child->kind_ != NodeKind::Node ||
            kind_ == NodeKind::Attribute || child->node_.parent() != Node(d))
            return E_INVALIDARG;
        d.Detach(child->node_);
        if (oldChild) {
            child->AddRef();
            *oldChild = child->AsNode();
        }
        return S_OK;
    });
}

HRESULT DomNode::hasChildNodes(VARIANT_BOOL* hasChild) {
    if (!hasChild) return E_POINTER;
    *hasChild = VARIANT_FALSE;
    return Locked([&](DomDoc& d) -> HRESULT {
        const bool any = kind_ != NodeKind::Attribute && Node(d).first_child();
        *hasChild = any ? VARIANT_TRUE : VARIANT_FALSE;
        return any ? S_OK : S_FALSE;
    });
}

HRESULT DomNode::get_ownerDocument(IXMLDOMDocument** XMLDOMDocument) {
    if (!XMLDOMDocument) return E_POINTER;
    *XMLDOMDocument = nullptr;
    if (kind_ == NodeKind::Document) return S_FALSE;
    return Locked([&](DomDoc& d) -> HRESULT { return HandOut(d.DocumentObject(), XMLDOMDocument); });
}

HRESULT DomNode::cloneNode(VARIANT_BOOL deep, IXMLDOMNode** cloneRoot) {
    if (!cloneRoot) return E_POINTER;
    *cloneRoot = nullptr;
    if (kind_ == NodeKind::Document) try {
        // A new document with a copy of this one's content and settings.
        if (OrvAllocationFails()) return E_OUTOFMEMORY;
        auto fresh = std::make_shared<DomDoc>();
        HRESULT hr = Locked([&](DomDoc& d) -> HRESULT {
            fresh->preserveWhiteSpace = d.preserveWhiteSpace;
            fresh->async = d.async;
            fresh->validateOnParse = d.validateOnParse;
            fresh->resolveExternals = d.resolveExternals;
            fresh->selectionNamespaces = d.selectionNamespaces;
            if (deep != VARIANT_FALSE)
                for (pugi::xml_node c = d.MainRoot().first_child(); c; c = c.next_sibling())
                    if (!fresh->MainRoot().append_copy(c)) return E_OUTOFMEMORY;
            return S_OK;
        });
        if (FAILED(hr)) return hr;
        std::lock_guard lock(fresh->mutex);
        return HandOutNode(fresh->DocumentObject(), cloneRoot);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return Locked([&](DomDoc& d) -> HRESULT {
        Tree& t = d.NewHoldingTree();
        if (kind_ == NodeKind::Attribute) {
            pugi::xml_node holder = t.doc.append_child(pugi::node_element);
            pugi::xml_attribute a = holder ? holder.append_copy(attr_) : pugi::xml_attribute();
            if (!a) {
                d.Collect(&t);
                return E_OUTOFMEMORY;
            }
            return HandOutNode(d.WrapAttribute(a, holder), cloneRoot);
        }
        pugi::xml_node copy;
        if (deep != VARIANT_FALSE || type_ != pugi::node_element) {
            copy = t.doc.append_copy(node_);
        } else {
            copy = t.doc.append_child(pugi::node_element);
            if (copy && copy.set_name(node_.name()))
                for (pugi::xml_attribute a = node_.first_attribute(); a; a = a.next_attribute())
                    if (!copy.append_copy(a)) return E_OUTOFMEMORY;
        }
        if (!copy) {
            d.Collect(&t);
            return E_OUTOFMEMORY;
        }
        return HandOutNode(d.Wrap(copy), cloneRoot);
    });
}

HRESULT DomNode::get_nodeTypeString(BSTR* nodeType) {
    if (!nodeType) return E_POINTER;
    if (kind_ == NodeKind::Attribute) return OutBstr("attribute", nodeType);
    switch (DomTypeOf(type_)) {
        case NODE_ELEMENT: return OutBstr("element", nodeType);
        case NODE_TEXT: return OutBstr("text", nodeType);
        case NODE_CDATA_SECTION: return OutBstr("cdatasection", nodeType);
        case NODE_PROCESSING_INSTRUCTION: return OutBstr("processinginstruction", nodeType);
        case NODE_COMMENT: return OutBstr("comment", nodeType);
        case NODE_DOCUMENT: return OutBstr("document", nodeType);
        case NODE_DOCUMENT_TYPE: return OutBstr("documenttype", nodeType);
        default: *nodeType = nullptr; return E_FAIL;
    }
}

HRESULT DomNode::get_text(BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ == NodeKind::Attribute) return OutBstr(attr_.value(), text);
        pugi::xml_node n = Node(d);
        switch (type_) {
            case pugi::node_pcdata:
            case pugi::node_cdata:
            case pugi::node_comment:
            case pugi::node_pi: return OutBstr(n.value(), text);
            case pugi::node_declaration: return OutBstr(DeclarationData(n), text);
            case pugi::node_doctype: return OutBstr("", text);
            default: return OutBstr(InnerText(n), text);
        }
    });
}

HRESULT DomNode::put_text(BSTR text) {
    const std::string utf8 = ToUtf8(View(text));
    return Locked([&](DomDoc& d) -> HRESULT { return SetValueText(d, utf8); });
}

HRESULT DomNode::SetValueText(DomDoc& d, const std::string& text) {
    d.NoteText(text);
    if (kind_ == NodeKind::Attribute) return attr_.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
    if (kind_ == NodeKind::Document) return E_FAIL;
    if (IsCharacterData(type_) || type_ == pugi::node_pi)
        return node_.set_value(text.c_str()) ? S_OK : E_OUTOFMEMORY;
    if (type_ != pugi::node_element) return E_FAIL;
    // An element's text replaces all its children with one text node.
    while (pugi::xml_node c = node_.first_child()) d.Detach(c);
    if (!text.empty()) {
        pugi::xml_node t = node_.append_child(pugi::node_pcdata);
        if (!t || !t.set_value(text.c_str())) return E_OUTOFMEMORY;
    }
    ++d.version;
    return S_OK;
}

HRESULT DomNode::get_specified(VARIANT_BOOL* isSpecified) {
    if (!isSpecified) return E_POINTER;
    *isSpecified = VARIANT_TRUE;
    return S_OK;
}

HRESULT DomNode::get_definition(IXMLDOMNode** definitionNode) {
    if (!definitionNode) return E_POINTER;
    *definitionNode = nullptr;
    return S_FALSE;
}

HRESULT DomNode::get_nodeTypedValue(VARIANT* typedValue) {
    if (!typedValue) return E_POINTER;
    VariantInit(typedValue);
    if (kind_ == NodeKind::Node && type_ == pugi::node_element) {
        return Locked([&](DomDoc&) -> HRESULT { return OutVariantText(InnerText(node_), typedValue); });
    }
    return get_nodeValue(typedValue);
}

HRESULT DomNode::put_nodeTypedValue(VARIANT typedValue) {
    if (kind_ == NodeKind::Node && type_ == pugi::node_element) {
        std::string text;
        if (HRESULT hr = VariantText(typedValue, text); FAILED(hr)) return hr;
        return Locked([&](DomDoc& d) -> HRESULT { return SetValueText(d, text); });
    }
    return put_nodeValue(typedValue);
}

HRESULT DomNode::get_dataType(VARIANT* dataTypeName) {
    if (!dataTypeName) return E_POINTER;
    VariantInit(dataTypeName);
    dataTypeName->vt = VT_NULL;
    return S_FALSE;
}

HRESULT DomNode::put_dataType(BSTR) { return E_NOTIMPL; }

HRESULT DomNode::get_xml(BSTR* xmlString) {
    if (!xmlString) return E_POINTER;
    *xmlString = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        *xmlString = SerializeToBstr(d, *this);
        return S_OK;
    });
}

HRESULT DomNode::transformNode(IXMLDOMNode*, BSTR* xmlString) {
    if (!xmlString) return E_POINTER;
    *xmlString = nullptr;
    return E_NOTIMPL;
}

HRESULT DomNode::get_parsed(VARIANT_BOOL* isParsed) {
    if (!isParsed) return E_POINTER;
    *isParsed = VARIANT_TRUE;
    return S_OK;
}

namespace {

std::string_view QualifiedName(const DomNode& n, const DomDoc& d) {
    if (n.Kind() == NodeKind::Attribute) return n.Attr().name();
    if (n.Type() == pugi::node_element) return n.Node(d).name();
    return {};
}

}  // namespace

HRESULT DomNode::get_prefix(BSTR* prefixString) {
    if (!prefixString) return E_POINTER;
    *prefixString = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        std::string_view q = QualifiedName(*this, d);
        auto colon = q.find(':');
        return OutBstr(colon == std::string_view::npos ? std::string_view() : q.substr(0, colon), prefixString);
    });
}

HRESULT DomNode::get_baseName(BSTR* nameString) {
    if (!nameString) return E_POINTER;
    *nameString = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        std::string_view q = QualifiedName(*this, d);
        auto colon = q.find(':');
        return OutBstr(colon == std::string_view::npos ? q : q.substr(colon + 1), nameString);
    });
}

HRESULT DomNode::get_namespaceURI(BSTR* namespaceURI) {
    if (!namespaceURI) return E_POINTER;
    *namespaceURI = nullptr;
    return Locked([&](DomDoc& d) -> HRESULT {
        std::string_view q = QualifiedName(*this, d);
        if (q.empty()) return OutBstr("", namespaceURI);
        auto colon = q.find(':');
        std::string_view prefix = colon == std::string_view::npos ? std::string_view() : q.substr(0, colon);
        if (prefix == "xmlns" || (kind_ == NodeKind::Attribute && q == "xmlns"))
            return OutBstr("http://www.w3.org/2000/xmlns/", namespaceURI);
        if (prefix == "xml") return OutBstr("http://www.w3.org/XML/1998/namespace", namespaceURI);
        // An unprefixed attribute is in no namespace.
        if (kind_ == NodeKind::Attribute && prefix.empty()) return OutBstr("", namespaceURI);
        std::string decl = prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix);
        for (pugi::xml_node e = kind_ == NodeKind::Attribute ? node_ : Node(d); e; e = e.parent())
            if (e.type() == pugi::node_element)
                if (pugi::xml_attribute a = e.attribute(decl.c_str())) return OutBstr(a.value(), namespaceURI);
        return OutBstr("", namespaceURI);
    });
}

HRESULT DomNode::transformNodeToObject(IXMLDOMNode*, VARIANT) { return E_NOTIMPL; }

}  // namespace orv::dom
