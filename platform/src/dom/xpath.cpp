// Selection: selectNodes and selectSingleNode with XPath 1.0 (pugixml's
// engine), getElementsByTagName.
#include "domnode.h"
#include "domutil.h"
#include "nodelist.h"

#include <cstring>

namespace orv::dom {

namespace {

pugi::xpath_node ContextOf(const DomNode& n, const DomDoc& d) {
    if (n.Kind() == NodeKind::Attribute) return pugi::xpath_node(n.Attr(), n.Node(d));
    return pugi::xpath_node(n.Node(d));
}

DomNode* WrapResult(DomDoc& d, const pugi::xpath_node& x) {
    if (x.attribute()) return d.WrapAttribute(x.attribute(), x.parent());
    return d.Wrap(x.node());  // null for the root of a holding tree
}

// Reports why a query failed through the error-information channel.
void ReportQueryError(const char* what) {
    ICreateErrorInfo* info = nullptr;
    if (FAILED(CreateErrorInfo(&info)) || !info) return;
    std::u16string text = u"XPath: ";
    BSTR b = BstrFromUtf8(what);
    if (b) text += View(b);
    SysFreeString(b);
    info->SetGUID(IID_IXMLDOMNode);
    info->SetSource(const_cast<LPOLESTR>(PROGID_DOMDocument40));
    info->SetDescription(text.data());
    IErrorInfo* err = nullptr;
    if (SUCCEEDED(info->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&err))) && err) {
        SetErrorInfo(0, err);
        err->Release();
    }
    info->Release();
}

template <class F>
HRESULT RunQuery(F&& f) {
    try {
        return f();
    } catch (const pugi::xpath_exception& e) {
        ReportQueryError(e.what());
        return E_FAIL;
    }
}

}  // namespace

HRESULT DomNode::selectNodes(BSTR queryString, IXMLDOMNodeList** resultList) {
    if (!resultList) return E_POINTER;
    *resultList = nullptr;
    if (!queryString) return E_INVALIDARG;
    const std::string query = ToUtf8(View(queryString));
    return Locked([&](DomDoc& d) -> HRESULT {
        return RunQuery([&]() -> HRESULT {
            pugi::xpath_query q(query.c_str());
            pugi::xpath_node_set set = q.evaluate_node_set(ContextOf(*this, d));
            set.sort();
            std::vector<pugi::xpath_node> found;
            found.reserve(set.size());
            // The root of a holding tree is never shown to a host.
            for (const pugi::xpath_node& x : set)
                if (x.attribute() || !d.IsHoldingRoot(x.node())) found.push_back(x);
            return NewSelectionList(this, d, std::move(found), resultList);
        });
    });
}

HRESULT DomNode::selectSingleNode(BSTR queryString, IXMLDOMNode** resultNode) {
    if (!resultNode) return E_POINTER;
    *resultNode = nullptr;
    if (!queryString) return E_INVALIDARG;
    const std::string query = ToUtf8(View(queryString));
    return Locked([&](DomDoc& d) -> HRESULT {
        return RunQuery([&]() -> HRESULT {
            pugi::xpath_query q(query.c_str());
            if (q.return_type() != pugi::xpath_type_node_set) {
                ReportQueryError("Expression does not evaluate to node set");
                return E_FAIL;
            }
            pugi::xpath_node_set set = q.evaluate_node_set(ContextOf(*this, d));
            set.sort();
            for (const pugi::xpath_node& x : set)
                if (DomNode* w = WrapResult(d, x)) return HandOutNode(w, resultNode);
            return S_FALSE;
        });
    });
}

HRESULT DomNode::getElementsByTagName(BSTR tagName, IXMLDOMNodeList** resultList) {
    if (!resultList) return E_POINTER;
    *resultList = nullptr;
    if (!tagName) return E_INVALIDARG;
    const std::string name = ToUtf8(View(tagName));
    const bool all = name == "*";
    std::vector<DomNode*> nodes;
    HRESULT hr = Locked([&](DomDoc& d) -> HRESULT {
        if (kind_ == NodeKind::Attribute) return S_OK;
        const pugi::xml_node top = Node(d);
        pugi::xml_node cur = top.first_child();
        while (cur && cur != top) {
            if (cur.type() == pugi::node_element && (all || name == cur.name())) {
                nodes.reserve(nodes.size() + 1);
                nodes.push_back(d.Wrap(cur));
            }
            if (cur.first_child()) {
                cur = cur.first_child();
                continue;
            }
            while (cur != top && !cur.next_sibling()) cur = cur.parent();
            if (cur == top) break;
            cur = cur.next_sibling();
        }
        return S_OK;
    });
    if (FAILED(hr)) {
        for (DomNode* n : nodes) n->Release();
        return hr;
    }
    return NewSnapshotList(std::move(nodes), resultList);
}

}  // namespace orv::dom
