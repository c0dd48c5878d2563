// Node lists, the attribute map and the parse error report.
#include "nodelist.h"

#include "domutil.h"

#include <atomic>
#include <mutex>

namespace orv::dom {

namespace {

// Reference counting, QueryInterface and the (not yet supported) dispatch
// members of the small objects here.
template <class I>
class Simple : public I {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == uuidof<I>()) {
            AddRef();
            *ppv = static_cast<I*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override {
        const ULONG n = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (n == 0) delete this;
        return n;
    }
    HRESULT GetTypeInfoCount(UINT* pctinfo) override {
        if (!pctinfo) return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override {
        if (!ppTInfo) return E_POINTER;
        *ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

protected:
    virtual ~Simple() = default;

private:
    std::atomic<ULONG> refs_{1};
};

template <class F>
HRESULT Guarded(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// ------------------------------------------------------------ fixed lists

class SnapshotList final : public Simple<IXMLDOMNodeList> {
public:
    explicit SnapshotList(std::vector<DomNode*>&& nodes) : nodes_(std::move(nodes)) {}

    HRESULT get_item(LONG index, IXMLDOMNode** listItem) override {
        if (!listItem) return E_POINTER;
        *listItem = nullptr;
        if (index < 0 || static_cast<std::size_t>(index) >= nodes_.size()) return S_FALSE;
        nodes_[static_cast<std::size_t>(index)]->AddRef();
        *listItem = nodes_[static_cast<std::size_t>(index)]->AsNode();
        return S_OK;
    }
    HRESULT get_length(LONG* listLength) override {
        if (!listLength) return E_POINTER;
        *listLength = static_cast<LONG>(nodes_.size());
        return S_OK;
    }
    HRESULT nextNode(IXMLDOMNode** nextItem) override {
        if (!nextItem) return E_POINTER;
        *nextItem = nullptr;
        std::size_t i = cursor_.load(std::memory_order_relaxed);
        do {
            if (i >= nodes_.size()) return S_FALSE;
        } while (!cursor_.compare_exchange_weak(i, i + 1, std::memory_order_relaxed));
        DomNode* n = nodes_[i];
        n->AddRef();
        *nextItem = n->AsNode();
        return S_OK;
    }
    HRESULT reset() override {
        cursor_.store(0, std::memory_order_relaxed);
        return S_OK;
    }
    HRESULT get__newEnum(IUnknown** ppUnk) override {
        if (!ppUnk) return E_POINTER;
        *ppUnk = nullptr;
        return E_NOTIMPL;
    }

private:
    ~SnapshotList() override { DomNode::ReleaseAll(nodes_); }

    const std::vector<DomNode*> nodes_;
    std::atomic<std::size_t> cursor_{0};
};

// ------------------------------------------------------------ selections

// A node is wrapped when it is asked for, so that a walk over a large
// selection holds one node object at a time and touches each node once. The
// list keeps its context node (and with it the tree the nodes are in) and the
// document; until pinned it is registered with the document as pending.
class SelectionList final : public Simple<IXMLDOMNodeList>, private PendingSelection {
public:
    SelectionList(DomNode* context, DomDoc& d, std::vector<pugi::xpath_node>&& found)
        : context_(context), home_(d.shared_from_this()), found_(std::move(found)), count_(found_.size()) {
        context_->AddRef();
        if (count_) d.AddPending(this);
    }

    HRESULT get_item(LONG index, IXMLDOMNode** listItem) override {
        if (!listItem) return E_POINTER;
        *listItem = nullptr;
        if (index < 0 || static_cast<std::size_t>(index) >= count_) return S_FALSE;
        return Guarded([&]() -> HRESULT {
            std::lock_guard<std::recursive_mutex> lock(home_->mutex);
            return At(static_cast<std::size_t>(index), listItem);
        });
    }
    HRESULT get_length(LONG* listLength) override {
        if (!listLength) return E_POINTER;
        *listLength = static_cast<LONG>(count_);
        return S_OK;
    }
    HRESULT nextNode(IXMLDOMNode** nextItem) override {
        if (!nextItem) return E_POINTER;
        *nextItem = nullptr;
        return Guarded([&]() -> HRESULT {
            std::lock_guard<std::recursive_mutex> lock(home_->mutex);
            if (cursor_ >= count_) return S_FALSE;
            const HRESULT hr = At(cursor_, nextItem);
            if (SUCCEEDED(hr)) ++cursor_;
            return hr;
        });
    }
    HRESULT reset() override {
        std::lock_guard<std::recursive_mutex> lock(home_->mutex);
        cursor_ = 0;
        return S_OK;
    }
    HRESULT get__newEnum(IUnknown** ppUnk) override {
        if (!ppUnk) return E_POINTER;
        *ppUnk = nullptr;
        return E_NOTIMPL;
    }

private:
    ~SelectionList() override {
        {
            std::lock_guard<std::recursive_mutex> lock(home_->mutex);
            if (pinned_.empty() && count_) home_->RemovePending(this);
        }
        DomNode::ReleaseAll(pinned_);
        context_->Release();
    }

    static DomNode* Wrap(DomDoc& d, const pugi::xpath_node& x) {
        if (x.attribute()) return d.WrapAttribute(x.attribute(), x.parent());
        return d.Wrap(x.node());
    }

    // The index-th node (a new reference); the document's lock is held.
    HRESULT At(std::size_t index, IXMLDOMNode** out) {
        if (!pinned_.empty()) {
            pinned_[index]->AddRef();
            *out = pinned_[index]->AsNode();
            return S_OK;
        }
        DomNode* w = Wrap(*home_, found_[index]);
        if (!w) return E_OUTOFMEMORY;
        *out = w->AsNode();
        return S_OK;
    }

    void Pin(DomDoc& d) override {
        std::vector<DomNode*> pinned;
        pinned.reserve(count_);
        try {
            for (const pugi::xpath_node& x : found_) {
                DomNode* w = Wrap(d, x);
                if (!w) throw std::bad_alloc();
                pinned.push_back(w);
            }
        } catch (...) {
            for (DomNode* w : pinned) w->Release();
            throw;
        }
        pinned_ = std::move(pinned);
        std::vector<pugi::xpath_node>().swap(found_);
    }

    DomNode* const context_;
    const std::shared_ptr<DomDoc> home_;
    // Guarded by home_'s lock.
    std::vector<pugi::xpath_node> found_;
    std::vector<DomNode*> pinned_;
    const std::size_t count_;
    std::size_t cursor_ = 0;
};

// ------------------------------------------------------------ live children

// Reads the parent's children as they are at each call. The last position
// reached is remembered so that walking the list in order stays linear; it
// is trusted only while the document's structure is unchanged.
class ChildList final : public Simple<IXMLDOMNodeList> {
public:
    explicit ChildList(DomNode* parent) : parent_(parent) { parent_->AddRef(); }

    HRESULT get_item(LONG index, IXMLDOMNode** listItem) override {
        if (!listItem) return E_POINTER;
        *listItem = nullptr;
        if (index < 0) return S_FALSE;
        return parent_->Locked([&](DomDoc& d) -> HRESULT { return HandOutNode(d.Wrap(At(d, index)), listItem); });
    }
    HRESULT get_length(LONG* listLength) override {
        if (!listLength) return E_POINTER;
        *listLength = 0;
        return parent_->Locked([&](DomDoc& d) -> HRESULT {
            LONG n = 0;
            if (parent_->Kind() != NodeKind::Attribute)
                for (pugi::xml_node c = parent_->Node(d).first_child(); c; c = c.next_sibling()) ++n;
            *listLength = n;
            return S_OK;
        });
    }
    HRESULT nextNode(IXMLDOMNode** nextItem) override {
        if (!nextItem) return E_POINTER;
        *nextItem = nullptr;
        return parent_->Locked([&](DomDoc& d) -> HRESULT {
            pugi::xml_node n = At(d, cursor_);
            if (!n) return S_FALSE;
            ++cursor_;
            return HandOutNode(d.Wrap(n), nextItem);
        });
    }
    HRESULT reset() override {
        return parent_->Locked([&](DomDoc&) -> HRESULT {
            cursor_ = 0;
            return S_OK;
        });
    }
    HRESULT get__newEnum(IUnknown** ppUnk) override {
        if (!ppUnk) return E_POINTER;
        *ppUnk = nullptr;
        return E_NOTIMPL;
    }

private:
    ~ChildList() override { parent_->Release(); }

    // The index-th child; the document's lock is held.
    pugi::xml_node At(DomDoc& d, LONG index) {
        if (parent_->Kind() == NodeKind::Attribute) return {};
        pugi::xml_node c;
        LONG i = 0;
        if (seenDoc_ == &d && seenVersion_ == d.version && seenNode_ && seenIndex_ <= index) {
            c = seenNode_;
            i = seenIndex_;
        } else {
            c = parent_->Node(d).first_child();
        }
        for (; c && i < index; c = c.next_sibling()) ++i;
        if (c) {
            seenDoc_ = &d;
            seenVersion_ = d.version;
            seenNode_ = c;
            seenIndex_ = i;
        }
        return c;
    }

    DomNode* const parent_;
    // Guarded by the parent's document lock.
    LONG cursor_ = 0;
    const DomDoc* seenDoc_ = nullptr;
    std::uint64_t seenVersion_ = 0;
    pugi::xml_node seenNode_;
    LONG seenIndex_ = 0;
};

// ------------------------------------------------------------ attributes

class AttributeMap final : public Simple<IXMLDOMNamedNodeMap> {
public:
    explicit AttributeMap(DomNode* element) : element_(element) { element_->AddRef(); }

    HRESULT getNamedItem(BSTR name, IXMLDOMNode** namedItem) override {
        if (!namedItem) return E_POINTER;
        *namedItem = nullptr;
        if (!name) return E_INVALIDARG;
        const Utf8Name key(View(name));
        return element_->Locked([&](DomDoc& d) -> HRESULT {
            pugi::xml_node e = element_->Node(d);
            return HandOutNode(d.WrapAttribute(e.attribute(key.c_str()), e), namedItem);
        });
    }
    HRESULT setNamedItem(IXMLDOMNode*, IXMLDOMNode** nameItem) override {
        if (nameItem) *nameItem = nullptr;
        return E_NOTIMPL;
    }
    HRESULT removeNamedItem(BSTR name, IXMLDOMNode** namedItem) override {
        if (namedItem) *namedItem = nullptr;
        if (!name) return E_INVALIDARG;
        const Utf8Name key(View(name));
        return element_->Locked([&](DomDoc& d) -> HRESULT {
            pugi::xml_node e = element_->Node(d);
            pugi::xml_attribute a = e.attribute(key.c_str());
            if (!a) return S_FALSE;
            if (!namedItem) {
                d.DetachAttribute(e, a);
                return S_OK;
            }
            DomNode* w = d.WrapAttribute(a, e);  // the object follows the attribute out
            d.DetachAttribute(e, a);
            return HandOutNode(w, namedItem);
        });
    }
    HRESULT get_item(LONG index, IXMLDOMNode** listItem) override {
        if (!listItem) return E_POINTER;
        *listItem = nullptr;
        return element_->Locked([&](DomDoc& d) -> HRESULT {
            pugi::xml_node e = element_->Node(d);
            return HandOutNode(d.WrapAttribute(At(e, index), e), listItem);
        });
    }
    HRESULT get_length(LONG* listLength) override {
        if (!listLength) return E_POINTER;
        *listLength = 0;
        return element_->Locked([&](DomDoc& d) -> HRESULT {
            LONG n = 0;
            for (pugi::xml_attribute a = element_->Node(d).first_attribute(); a; a = a.next_attribute()) ++n;
            *listLength = n;
            return S_OK;
        });
    }
    HRESULT getQualifiedItem(BSTR, BSTR, IXMLDOMNode** qualifiedItem) override {
        if (!qualifiedItem) return E_POINTER;
        *qualifiedItem = nullptr;
        return E_NOTIMPL;
    }
    HRESULT removeQualifiedItem(BSTR, BSTR, IXMLDOMNode** qualifiedItem) override {
        if (qualifiedItem) *qualifiedItem = nullptr;
        return E_NOTIMPL;
    }
    HRESULT nextNode(IXMLDOMNode** nextItem) override {
        if (!nextItem) return E_POINTER;
        *nextItem = nullptr;
        return element_->Locked([&](DomDoc& d) -> HRESULT {
            pugi::xml_node e = element_->Node(d);
            pugi::xml_attribute a = At(e, cursor_);
            if (!a) return S_FALSE;
            ++cursor_;
            return HandOutNode(d.WrapAttribute(a, e), nextItem);
        });
    }
    HRESULT reset() override {
        return element_->Locked([&](DomDoc&) -> HRESULT {
            cursor_ = 0;
            return S_OK;
        });
    }
    HRESULT get__newEnum(IUnknown** ppUnk) override {
        if (!ppUnk) return E_POINTER;
        *ppUnk = nullptr;
        return E_NOTIMPL;
    }

private:
    ~AttributeMap() override { element_->Release(); }

    static pugi::xml_attribute At(pugi::xml_node e, LONG index) {
        if (index < 0) return {};
        pugi::xml_attribute a = e.first_attribute();
        for (LONG i = 0; a && i < index; ++i) a = a.next_attribute();
        return a;
    }

    DomNode* const element_;
    LONG cursor_ = 0;  // guarded by the element's document lock
};

// ------------------------------------------------------------ parse error

class ParseError final : public Simple<IXMLDOMParseError> {
public:
    explicit ParseError(const ParseErrorInfo& info) : info_(info) {}

    HRESULT get_errorCode(LONG* errorCode) override {
        if (!errorCode) return E_POINTER;
        *errorCode = info_.errorCode;
        return info_.errorCode ? S_OK : S_FALSE;
    }
    HRESULT get_url(BSTR* urlString) override {
        if (!urlString) return E_POINTER;
        *urlString = nullptr;
        return S_FALSE;
    }
    HRESULT get_reason(BSTR* reasonString) override {
        if (!reasonString) return E_POINTER;
        *reasonString = nullptr;
        if (!info_.errorCode) return S_FALSE;
        return OutBstr16(info_.reason, reasonString);
    }
    HRESULT get_srcText(BSTR* sourceString) override {
        if (!sourceString) return E_POINTER;
        *sourceString = nullptr;
        if (!info_.errorCode) return S_FALSE;
        return OutBstr16(info_.srcText, sourceString);
    }
    HRESULT get_line(LONG* lineNumber) override {
        if (!lineNumber) return E_POINTER;
        *lineNumber = info_.line;
        return S_OK;
    }
    HRESULT get_linepos(LONG* linePosition) override {
        if (!linePosition) return E_POINTER;
        *linePosition = info_.linepos;
        return S_OK;
    }
    HRESULT get_filepos(LONG* filePosition) override {
        if (!filePosition) return E_POINTER;
        *filePosition = info_.filepos;
        return S_OK;
    }

private:
    const ParseErrorInfo info_;
};

}  // namespace

HRESULT NewSnapshotList(std::vector<DomNode*>&& nodes, IXMLDOMNodeList** out) {
    *out = nullptr;
    return Guarded([&]() -> HRESULT {
        SnapshotList* list;
        try {
            list = new SnapshotList(std::move(nodes));
        } catch (...) {
            for (DomNode* n : nodes) n->Release();
            throw;
        }
        *out = list;
        return S_OK;
    });
}

HRESULT NewSelectionList(DomNode* context, DomDoc& d, std::vector<pugi::xpath_node>&& found, IXMLDOMNodeList** out) {
    *out = nullptr;
    *out = new SelectionList(context, d, std::move(found));
    return S_OK;
}

HRESULT NewChildList(DomNode* parent, IXMLDOMNodeList** out) {
    *out = nullptr;
    return Guarded([&]() -> HRESULT {
        *out = new ChildList(parent);
        return S_OK;
    });
}

HRESULT NewAttributeMap(DomNode* element, IXMLDOMNamedNodeMap** out) {
    *out = nullptr;
    return Guarded([&]() -> HRESULT {
        *out = new AttributeMap(element);
        return S_OK;
    });
}

HRESULT NewParseError(const ParseErrorInfo& info, IXMLDOMParseError** out) {
    *out = nullptr;
    return Guarded([&]() -> HRESULT {
        *out = new ParseError(info);
        return S_OK;
    });
}

}  // namespace orv::dom
