// The shared state of one DOM document: its pugixml trees, its lock and the
// table of node objects.
//
// A DOM document owns one main tree (what the document holds) and any number
// of holding trees. A holding tree keeps nodes that belong to the document but
// sit in no tree of it: nodes just created, removed, cloned, or the old content
// after a reload that the host still holds nodes of. pugixml cannot move a node
// between two of its documents, so a node that changes trees is copied and the
// node object that stands for it is pointed at the copy (see Rehome).
//
// Every node object (DomNode) holds the DomDoc through a shared pointer, so the
// document lives while any of its nodes does. All state here is guarded by
// `mutex`, which every member of every node of the document takes.
#pragma once

#include <orvdocs/platform/msxml.h>

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orv::dom {

class DomNode;
enum class NodeKind : std::uint8_t;

// The node objects of a document by node (or attribute) address: open
// addressing with linear probing, so that looking up, adding and removing an
// entry allocates nothing.
class NodeTable {
public:
    DomNode* Find(const void* key) const {
        if (slots_.empty()) return nullptr;
        for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
            if (slots_[i].key == key) return slots_[i].node;
            if (!slots_[i].key) return nullptr;
        }
    }
    // Sets the entry of key (adding it when absent).
    void Set(const void* key, DomNode* node);
    // Removes the entry of key if it holds `node`.
    void Remove(const void* key, const DomNode* node);
    bool Contains(const void* key) const { return Find(key) != nullptr; }
    std::size_t Size() const { return size_; }

private:
    struct Slot {
        const void* key = nullptr;
        DomNode* node = nullptr;
    };
    std::size_t Home(const void* key) const {
        auto h = reinterpret_cast<std::uintptr_t>(key);
        h ^= h >> 17;
        h *= 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> 20) & mask_;
    }
    void Grow();

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::size_t size_ = 0;
};

// One pugixml document.
struct Tree {
    pugi::xml_document doc;
    std::unique_ptr<char[]> source;  // the text parsed in place; the tree's strings point into it
    std::size_t sourceSize = 0;      // its length in bytes
    std::size_t wrappers = 0;        // node objects whose node lives here
    bool isMain = false;
    const void* Key() const { return doc.internal_object(); }
};

// What the last load reported; errorCode 0 after a successful load.
struct ParseErrorInfo {
    LONG errorCode = 0;
    std::u16string reason;
    std::u16string srcText;
    LONG line = 0;
    LONG linepos = 0;
    LONG filepos = 0;
};

class DomDoc;

// A selection that still holds plain nodes rather than node objects (a node
// list handed out by selectNodes). Before anything frees or moves nodes of the
// document, the document has each one take node objects for its nodes (Pin),
// which keep standing for them wherever they go.
class PendingSelection {
public:
    // Called with the document locked; on failure throws and changes nothing.
    virtual void Pin(DomDoc& d) = 0;

protected:
    ~PendingSelection() = default;
};

class DomDoc : public std::enable_shared_from_this<DomDoc> {
public:
    DomDoc();
    ~DomDoc();
    DomDoc(const DomDoc&) = delete;
    DomDoc& operator=(const DomDoc&) = delete;

    std::recursive_mutex mutex;

    // ---- everything below is guarded by mutex
    pugi::xml_node MainRoot() const { return main_->doc; }
    Tree& Main() { return *main_; }
    // The tree that holds n (n not null).
    Tree* TreeOf(pugi::xml_node n);
    // True for the root of a holding tree: never shown to a host.
    bool IsHoldingRoot(pugi::xml_node n) const {
        return n && n.type() == pugi::node_document && n != MainRoot();
    }
    Tree& NewHoldingTree();
    // Makes `fresh` the main tree. The old one is freed, or kept as a holding
    // tree while node objects still stand for its nodes.
    void ReplaceMain(std::unique_ptr<Tree> fresh);
    // Frees t if it is a holding tree that no node object refers to any more.
    void Collect(Tree* t);

    // The one node object of n (a new reference): the document object for the
    // main root, null for a holding root or a null node.
    DomNode* Wrap(pugi::xml_node n);
    DomNode* WrapAttribute(pugi::xml_attribute a, pugi::xml_node owner);
    DomNode* DocumentObject();
    // A new node in a holding tree of its own, with its node object.
    DomNode* CreateOrphan(pugi::xml_node_type type, const char* name, const char* value);
    DomNode* Find(const void* key) const { return cache_.Find(key); }
    bool HasWrappers(const Tree& t) const { return t.wrappers != 0; }
    // True when a node object stands for n or anything inside it.
    bool SubtreeHasWrappers(pugi::xml_node n);
    // Called by a node object whose last reference went.
    void Forget(DomNode* node);

    void AddPending(PendingSelection* s) { pending_.push_back(s); }
    void RemovePending(PendingSelection* s);
    // Pins every pending selection; called first by whatever frees or moves
    // nodes of this document.
    void PinPending() {
        if (!pending_.empty()) PinAll();
    }

    // Moves the node objects of the subtree `from` (in this document) to the
    // matching nodes of its copy `to` (in document `target`, a copy made with
    // pugixml so the two have the same shape). Trees left without node
    // objects are added to `emptied` for collection.
    void Rehome(pugi::xml_node from, DomDoc& target, pugi::xml_node to, std::vector<Tree*>& emptied);
    void RehomeAttribute(pugi::xml_attribute from, DomDoc& target, pugi::xml_attribute to,
                         pugi::xml_node toOwner, std::vector<Tree*>& emptied);
    // Takes n out of its tree. Node objects inside it keep working: the
    // subtree moves to a new holding tree first when any exist.
    void Detach(pugi::xml_node n);
    // Makes `target` the document of node object w (a move between documents).
    void Adopt(DomNode* w, DomDoc& target);
    void DetachAttribute(pugi::xml_node owner, pugi::xml_attribute a);

    // Notes text a host puts into the document: a control character other
    // than tab, line feed and carriage return cannot be written as XML, and
    // the written form then carries U+FFFD in its place (see serialize.cpp).
    void NoteText(std::string_view utf8) {
        if (!controlChars) controlChars = HoldsControlChar(utf8);
    }
    static bool HoldsControlChar(std::string_view utf8);

        std::uint64_t version = 0;  // changes with every change of structure (live child lists)
    bool controlChars = false;  // text put by a host may hold characters XML cannot

    bool preserveWhiteSpace = false;
    bool async = true;
    bool validateOnParse = true;
    bool resolveExternals = false;
    std::u16string selectionNamespaces;
    std::u16string url;  // the file or URL of the last load; empty after loadXML
    ParseErrorInfo parseError;

private:
    DomNode* Lookup(const void* key, NodeKind kind, pugi::xml_node n, pugi::xml_attribute a);
    void PinAll();

    std::vector<PendingSelection*> pending_;

    Tree* main_ = nullptr;
    std::unordered_map<const void*, std::unique_ptr<Tree>> trees_;  // by root node
    NodeTable cache_;                                               // by node or attribute
    DomNode* documentObject_ = nullptr;
    friend class DomNode;
};

// Removes n and its subtree from its parent, deepest nodes first, so that no
// recursion grows with the depth of the tree.
void DestroySubtree(pugi::xml_node n);

}  // namespace orv::dom
