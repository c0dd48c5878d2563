// The node object of the DOM service: one class for every kind of node.
//
// A DomNode answers IXMLDOMNode for every node and, by the kind of its node,
// IXMLDOMElement, IXMLDOMDocument/IXMLDOMDocument2, IXMLDOMText (and
// IXMLDOMCDATASection), IXMLDOMComment, IXMLDOMProcessingInstruction or
// IXMLDOMAttribute. Its IUnknown identity is its IXMLDOMElement base.
//
// The document keeps at most one live DomNode per node (DomDoc's table), so a
// node asked for twice gives the same object. The table holds no reference: a
// DomNode removes itself when its last reference goes.
#pragma once

#include "domdoc.h"

#include <atomic>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace orv::dom {

// Asked through QueryInterface to recognise this service's own nodes among
// IXMLDOMNode pointers; answers the DomNode itself (with a reference).
inline constexpr IID IID_DomNodeImpl = {0x6B0E2A51, 0x3C1D, 0x4F7A, {0x9E, 0x42, 0x1D, 0x77, 0x0B, 0xC4, 0x58, 0x13}};

enum class NodeKind : std::uint8_t { Document, Node, Attribute };  // declared in domdoc.h

class DomNode final : public IXMLDOMElement,
                      public IXMLDOMDocument2,
                      public IXMLDOMCDATASection,
                      public IXMLDOMComment,
                      public IXMLDOMProcessingInstruction,
                      public IXMLDOMAttribute {
public:
    DomNode(std::shared_ptr<DomDoc> doc, NodeKind kind, pugi::xml_node node, pugi::xml_attribute attr, Tree* tree)
        : doc_(doc.get()),
          owner_(std::move(doc)),
          kind_(kind),
          type_(kind == NodeKind::Document ? pugi::node_document
                : kind == NodeKind::Attribute ? pugi::node_null
                                              : node.type()),
          node_(node),
          attr_(attr),
          tree_(tree) {}

    // The DomNode behind an interface pointer of this service (a new
    // reference), or null for anything else.
    static DomNode* From(IUnknown* p);

    IXMLDOMNode* AsNode() { return static_cast<IXMLDOMElement*>(this); }
    IUnknown* Identity() { return static_cast<IXMLDOMElement*>(this); }
    // Adds a reference unless the last one is already gone.
    bool TryAddRef() {
        ULONG n = refs_.load(std::memory_order_relaxed);
        while (n != 0)
            if (refs_.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel)) return true;
        return false;
    }

    // Locks this node's document (following it if the node moves to another
    // document meanwhile) and runs f(doc); exceptions become status codes.
    template <class F>
    HRESULT Locked(F&& f) noexcept;
    // The same with the documents of this node and `other` both locked.
    template <class F>
    HRESULT LockedWith(DomNode& other, F&& f) noexcept;

    // ---- state, guarded by the lock of the document
    NodeKind Kind() const { return kind_; }
    // The pugixml type of the node (node_null for an attribute); it never changes.
    pugi::xml_node_type Type() const { return type_; }
    pugi::xml_node Node(const DomDoc& d) const { return kind_ == NodeKind::Document ? d.MainRoot() : node_; }
    pugi::xml_attribute Attr() const { return attr_; }
    const void* Key() const {
        return kind_ == NodeKind::Attribute ? static_cast<const void*>(attr_.internal_object())
                                            : static_cast<const void*>(node_.internal_object());
    }

    // Releases one reference of each node, taking each document's lock once
    // for a run of nodes of the same document that go.
    static void ReleaseAll(const std::vector<DomNode*>& nodes) noexcept;

    // IUnknown
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override;

    // IDispatch
    HRESULT GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IXMLDOMNode
    HRESULT get_nodeName(BSTR* name) override;
    HRESULT get_nodeValue(VARIANT* value) override;
    HRESULT put_nodeValue(VARIANT value) override;
    HRESULT get_nodeType(DOMNodeType* type) override;
    HRESULT get_parentNode(IXMLDOMNode** parent) override;
    HRESULT get_childNodes(IXMLDOMNodeList** childList) override;
    HRESULT get_firstChild(IXMLDOMNode** firstChild) override;
    HRESULT get_lastChild(IXMLDOMNode** lastChild) override;
    HRESULT get_previousSibling(IXMLDOMNode** previousSibling) override;
    HRESULT get_nextSibling(IXMLDOMNode** nextSibling) override;
    HRESULT get_attributes(IXMLDOMNamedNodeMap** attributeMap) override;
    HRESULT insertBefore(IXMLDOMNode* newChild, VARIANT refChild, IXMLDOMNode** outNewChild) override;
    HRESULT replaceChild(IXMLDOMNode* newChild, IXMLDOMNode* oldChild, IXMLDOMNode** outOldChild) override;
    HRESULT removeChild(IXMLDOMNode* childNode, IXMLDOMNode** oldChild) override;
    HRESULT appendChild(IXMLDOMNode* newChild, IXMLDOMNode** outNewChild) override;
    HRESULT hasChildNodes(VARIANT_BOOL* hasChild) override;
    HRESULT get_ownerDocument(IXMLDOMDocument** XMLDOMDocument) override;
    HRESULT cloneNode(VARIANT_BOOL deep, IXMLDOMNode** cloneRoot) override;
    HRESULT get_nodeTypeString(BSTR* nodeType) override;
    HRESULT get_text(BSTR* text) override;
    HRESULT put_text(BSTR text) override;
    HRESULT get_specified(VARIANT_BOOL* isSpecified) override;
    HRESULT get_definition(IXMLDOMNode** definitionNode) override;
    HRESULT get_nodeTypedValue(VARIANT* typedValue) override;
    HRESULT put_nodeTypedValue(VARIANT typedValue) override;
    HRESULT get_dataType(VARIANT* dataTypeName) override;
    HRESULT put_dataType(BSTR dataTypeName) override;
    HRESULT get_xml(BSTR* xmlString) override;
    HRESULT transformNode(IXMLDOMNode* stylesheet, BSTR* xmlString) override;
    HRESULT selectNodes(BSTR queryString, IXMLDOMNodeList** resultList) override;
    HRESULT selectSingleNode(BSTR queryString, IXMLDOMNode** resultNode) override;
    HRESULT get_parsed(VARIANT_BOOL* isParsed) override;
    HRESULT get_namespaceURI(BSTR* namespaceURI) override;
    HRESULT get_prefix(BSTR* prefixString) override;
    HRESULT get_baseName(BSTR* nameString) override;
    HRESULT transformNodeToObject(IXMLDOMNode* stylesheet, VARIANT outputObject) override;

    // IXMLDOMDocument
    HRESULT get_doctype(IXMLDOMDocumentType** documentType) override;
    HRESULT get_implementation(IXMLDOMImplementation** impl) override;
    HRESULT get_documentElement(IXMLDOMElement** DOMElement) override;
    HRESULT putref_documentElement(IXMLDOMElement* DOMElement) override;
    HRESULT createElement(BSTR tagName, IXMLDOMElement** element) override;
    HRESULT createDocumentFragment(IXMLDOMDocumentFragment** docFrag) override;
    HRESULT createTextNode(BSTR data, IXMLDOMText** text) override;
    HRESULT createComment(BSTR data, IXMLDOMComment** comment) override;
    HRESULT createCDATASection(BSTR data, IXMLDOMCDATASection** cdata) override;
    HRESULT createProcessingInstruction(BSTR target, BSTR data, IXMLDOMProcessingInstruction** pi) override;
    HRESULT createAttribute(BSTR name, IXMLDOMAttribute** attribute) override;
    HRESULT createEntityReference(BSTR name, IXMLDOMEntityReference** entityRef) override;
    HRESULT getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) override;
    HRESULT createNode(VARIANT Type, BSTR name, BSTR namespaceURI, IXMLDOMNode** node) override;
    HRESULT nodeFromID(BSTR idString, IXMLDOMNode** node) override;
    HRESULT load(VARIANT xmlSource, VARIANT_BOOL* isSuccessful) override;
    HRESULT get_readyState(LONG* value) override;
    HRESULT get_parseError(IXMLDOMParseError** errorObj) override;
    HRESULT get_url(BSTR* urlString) override;
    HRESULT get_async(VARIANT_BOOL* isAsync) override;
    HRESULT put_async(VARIANT_BOOL isAsync) override;
    HRESULT abort() override;
    HRESULT loadXML(BSTR bstrXML, VARIANT_BOOL* isSuccessful) override;
    HRESULT save(VARIANT destination) override;
    HRESULT get_validateOnParse(VARIANT_BOOL* isValidating) override;
    HRESULT put_validateOnParse(VARIANT_BOOL isValidating) override;
    HRESULT get_resolveExternals(VARIANT_BOOL* isResolving) override;
    HRESULT put_resolveExternals(VARIANT_BOOL isResolving) override;
    HRESULT get_preserveWhiteSpace(VARIANT_BOOL* isPreserving) override;
    HRESULT put_preserveWhiteSpace(VARIANT_BOOL isPreserving) override;
    HRESULT put_onreadystatechange(VARIANT readystatechangeSink) override;
    HRESULT put_ondataavailable(VARIANT ondataavailableSink) override;
    HRESULT put_ontransformnode(VARIANT ontransformnodeSink) override;

    // IXMLDOMDocument2
    HRESULT get_namespaces(IXMLDOMSchemaCollection** namespaceCollection) override;
    HRESULT get_schemas(VARIANT* otherCollection) override;
    HRESULT putref_schemas(VARIANT otherCollection) override;
    HRESULT validate(IXMLDOMParseError** errorObj) override;
    HRESULT setProperty(BSTR name, VARIANT value) override;
    HRESULT getProperty(BSTR name, VARIANT* value) override;

    // IXMLDOMElement (getElementsByTagName is shared with the document)
    HRESULT get_tagName(BSTR* tagName) override;
    HRESULT getAttribute(BSTR name, VARIANT* value) override;
    HRESULT setAttribute(BSTR name, VARIANT value) override;
    HRESULT removeAttribute(BSTR name) override;
    HRESULT getAttributeNode(BSTR name, IXMLDOMAttribute** attributeNode) override;
    HRESULT setAttributeNode(IXMLDOMAttribute* DOMAttribute, IXMLDOMAttribute** attributeNode) override;
    HRESULT removeAttributeNode(IXMLDOMAttribute* DOMAttribute, IXMLDOMAttribute** attributeNode) override;
    HRESULT normalize() override;

    // IXMLDOMCharacterData, IXMLDOMText (get_data and put_data serve the
    // processing instruction as well)
    HRESULT get_data(BSTR* data) override;
    HRESULT put_data(BSTR data) override;
    HRESULT get_length(LONG* dataLength) override;
    HRESULT substringData(LONG offset, LONG count, BSTR* data) override;
    HRESULT appendData(BSTR data) override;
    HRESULT insertData(LONG offset, BSTR data) override;
    HRESULT deleteData(LONG offset, LONG count) override;
    HRESULT replaceData(LONG offset, LONG count, BSTR data) override;
    HRESULT splitText(LONG offset, IXMLDOMText** rightHandTextNode) override;

    // IXMLDOMProcessingInstruction
    HRESULT get_target(BSTR* name) override;

    // IXMLDOMAttribute
    HRESULT get_name(BSTR* attributeName) override;
    HRESULT get_value(VARIANT* attributeValue) override;
    HRESULT put_value(VARIANT attributeValue) override;

private:
    friend class DomDoc;
    ~DomNode() = default;

    // Puts child (a node of this service) under parent before `before` (null:
    // at the end). Both documents are locked by the caller.
    // `replacing` is a child that is about to go and does not count against
    // the document's single element.
    HRESULT Place(DomDoc& d, DomDoc& childDoc, pugi::xml_node before, pugi::xml_node replacing, DomNode& child);
    // Sets the text of the node (put_text): an element's children give way to one text node.
    HRESULT SetValueText(DomDoc& d, const std::string& utf8);
    HRESULT EditData(LONG offset, LONG count, const std::u16string_view* insert, bool replaceAll);

    // The node's document. It changes only when the node moves to another
    // document, with both documents locked. owner_ keeps it alive; former_
    // keeps the documents the node left alive as long as the node, since a
    // call that read doc_ just before a move may still lock the old one.
    std::atomic<DomDoc*> doc_;
    std::shared_ptr<DomDoc> owner_;
    std::vector<std::shared_ptr<DomDoc>> former_;
    std::atomic<ULONG> refs_{1};
    const NodeKind kind_;
    const pugi::xml_node_type type_;
    pugi::xml_node node_;        // the node; for an attribute its element
    pugi::xml_attribute attr_;   // attributes only
    Tree* tree_;                 // the tree holding node_; null for the document object
};

// ---------------------------------------------------------------- locking

template <class F>
HRESULT DomNode::Locked(F&& f) noexcept {
    try {
        DomDoc* d;
        for (;;) {
            d = doc_.load(std::memory_order_acquire);
            d->mutex.lock();
            if (doc_.load(std::memory_order_acquire) == d) break;
            d->mutex.unlock();
        }
        std::lock_guard<std::recursive_mutex> guard(d->mutex, std::adopt_lock);
        return f(*d);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

template <class F>
HRESULT DomNode::LockedWith(DomNode& other, F&& f) noexcept {
    try {
        DomDoc *a, *b;
        for (;;) {
            a = doc_.load(std::memory_order_acquire);
            b = other.doc_.load(std::memory_order_acquire);
            if (a == b)
                a->mutex.lock();
            else
                std::lock(a->mutex, b->mutex);
            if (doc_.load(std::memory_order_acquire) == a && other.doc_.load(std::memory_order_acquire) == b) break;
            a->mutex.unlock();
            if (a != b) b->mutex.unlock();
        }
        std::lock_guard<std::recursive_mutex> ga(a->mutex, std::adopt_lock);
        if (a == b) return f(*a, *a);
        std::lock_guard<std::recursive_mutex> gb(b->mutex, std::adopt_lock);
        // Both stay alive after f even if `other` moves to a: a node keeps
        // the documents it left (former_).
        return f(*a, *b);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// Hands a node to an out-argument: S_FALSE and null when there is none.
template <class I>
HRESULT HandOut(DomNode* n, I** out) {
    *out = nullptr;
    if (!n) return S_FALSE;
    HRESULT hr = n->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(out));
    n->Release();
    return hr;
}
inline HRESULT HandOutNode(DomNode* n, IXMLDOMNode** out) {
    *out = n ? n->AsNode() : nullptr;  // the reference of n passes to the caller
    return n ? S_OK : S_FALSE;
}

// Releases a DomNode reference at the end of a scope.
struct NodeRef {
    DomNode* p = nullptr;
    NodeRef() = default;
    explicit NodeRef(DomNode* n) : p(n) {}
    NodeRef(const NodeRef&) = delete;
    NodeRef& operator=(const NodeRef&) = delete;
    ~NodeRef() {
        if (p) p->Release();
    }
    DomNode* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// Creates a new document object (the class factory's work).
HRESULT CreateDomDocument(IUnknown* outer, REFIID riid, void** ppv);

}  // namespace orv::dom
