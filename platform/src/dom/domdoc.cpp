// The shared state of one DOM document: trees, node objects, detaching and
// re-homing nodes.
#include "domdoc.h"

#include "domnode.h"

namespace orv::dom {

// ------------------------------------------------------------------ NodeTable

void NodeTable::Set(const void* key, DomNode* node) {
    if ((size_ + 1) * 2 > slots_.size()) Grow();
    for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
        if (slots_[i].key == key) {
            slots_[i].node = node;
            return;
        }
        if (!slots_[i].key) {
            slots_[i] = {key, node};
            ++size_;
            return;
        }
    }
}

void NodeTable::Remove(const void* key, const DomNode* node) {
    if (slots_.empty()) return;
    std::size_t i = Home(key);
    for (;; i = (i + 1) & mask_) {
        if (!slots_[i].key) return;
        if (slots_[i].key == key) break;
    }
    if (slots_[i].node != node) return;
    // Backward-shift deletion: later entries of the same probe run move up.
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask_; slots_[j].key; j = (j + 1) & mask_) {
        const std::size_t home = Home(slots_[j].key);
        const bool between = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (!between) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot{};
    --size_;
}

void NodeTable::Grow() {
    std::vector<Slot> old = std::move(slots_);
    const std::size_t capacity = old.empty() ? 64 : old.size() * 2;
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    size_ = 0;
    for (const Slot& s : old)
        if (s.key) Set(s.key, s.node);
}

// ------------------------------------------------------------------ DomDoc

DomDoc::DomDoc() {
    auto t = std::make_unique<Tree>();
    t->isMain = true;
    main_ = t.get();
    trees_.emplace(t->Key(), std::move(t));
}

// Every node object holds the DomDoc, so none is left when it goes.
DomDoc::~DomDoc() = default;

Tree* DomDoc::TreeOf(pugi::xml_node n) {
    const pugi::xml_node root = n.root();
    if (root == main_->doc) return main_;
    auto it = trees_.find(root.internal_object());
    return it == trees_.end() ? nullptr : it->second.get();
}

Tree& DomDoc::NewHoldingTree() {
    auto t = std::make_unique<Tree>();
    Tree& ref = *t;
    trees_.emplace(t->Key(), std::move(t));
    return ref;
}

void DomDoc::ReplaceMain(std::unique_ptr<Tree> fresh) {
    PinPending();
    Tree* old = main_;
    old->isMain = false;
    fresh->isMain = true;
    main_ = fresh.get();
    trees_.emplace(fresh->Key(), std::move(fresh));
    Collect(old);
    ++version;
}

void DomDoc::Collect(Tree* t) {
    if (t && !t->isMain && t->wrappers == 0) trees_.erase(t->Key());
}

DomNode* DomDoc::DocumentObject() {
    if (documentObject_ && documentObject_->TryAddRef()) return documentObject_;
    if (OrvAllocationFails()) throw std::bad_alloc();
    documentObject_ = new DomNode(shared_from_this(), NodeKind::Document, {}, {}, nullptr);
    return documentObject_;
}

DomNode* DomDoc::Wrap(pugi::xml_node n) {
    if (!n) return nullptr;
    if (n == MainRoot()) return DocumentObject();
    if (n.type() == pugi::node_document) return nullptr;  // a holding root
    return Lookup(n.internal_object(), NodeKind::Node, n, {});
}

DomNode* DomDoc::WrapAttribute(pugi::xml_attribute a, pugi::xml_node owner) {
    if (!a || !owner) return nullptr;
    return Lookup(a.internal_object(), NodeKind::Attribute, owner, a);
}

DomNode* DomDoc::Lookup(const void* key, NodeKind kind, pugi::xml_node n, pugi::xml_attribute a) {
    if (DomNode* found = cache_.Find(key); found && found->TryAddRef()) return found;
    // A new object; an entry left by an object on its way out is taken over
    // (that object then leaves the entry alone).
    if (OrvAllocationFails()) throw std::bad_alloc();
    Tree* t = TreeOf(n);
    auto* w = new DomNode(shared_from_this(), kind, n, a, t);
    try {
        cache_.Set(key, w);
    } catch (...) {
        delete w;
        throw;
    }
    ++t->wrappers;
    return w;
}

DomNode* DomDoc::CreateOrphan(pugi::xml_node_type type, const char* name, const char* value) {
    if (value) NoteText(value);
    Tree& t = NewHoldingTree();
    pugi::xml_node n = t.doc.append_child(type);
    bool ok = n && (!name || n.set_name(name)) && (!value || n.set_value(value));
    DomNode* w = nullptr;
    if (ok) {
        try {
            w = Wrap(n);
        } catch (...) {
            Collect(&t);
            throw;
        }
    }
    if (!w) {
        Collect(&t);
        throw std::bad_alloc();
    }
    return w;
}

void DomDoc::Forget(DomNode* node) {
    if (node->kind_ == NodeKind::Document) {
        if (documentObject_ == node) documentObject_ = nullptr;
        return;
    }
    cache_.Remove(node->Key(), node);
    Tree* t = node->tree_;
    --t->wrappers;
    Collect(t);
}

bool DomDoc::HoldsControlChar(std::string_view utf8) {
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') return true;
    }
    return false;
}

void DomDoc::RemovePending(PendingSelection* s) {
    for (std::size_t i = pending_.size(); i-- > 0;)
        if (pending_[i] == s) {
            pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void DomDoc::PinAll() {
    // A selection that fails to pin stays pending, and so do those after it.
    while (!pending_.empty()) {
        pending_.back()->Pin(*this);
        pending_.pop_back();
    }
}

bool DomDoc::SubtreeHasWrappers(pugi::xml_node n) {
    Tree* t = TreeOf(n);
    if (!t || t->wrappers == 0) return false;
    pugi::xml_node cur = n;
    for (;;) {
        if (cache_.Contains(cur.internal_object())) return true;
        for (pugi::xml_attribute a = cur.first_attribute(); a; a = a.next_attribute())
            if (cache_.Contains(a.internal_object())) return true;
        if (cur.first_child()) {
            cur = cur.first_child();
            continue;
        }
        while (cur != n && !cur.next_sibling()) cur = cur.parent();
        if (cur == n) return false;
        cur = cur.next_sibling();
    }
}

namespace {

// Moves one node object's count from its old tree to its new one.
void Retarget(Tree*& tree, Tree* toTree, std::vector<Tree*>& emptied) {
    if (--tree->wrappers == 0) emptied.push_back(tree);
    tree = toTree;
    ++toTree->wrappers;
}

}  // namespace

void DomDoc::Adopt(DomNode* w, DomDoc& target) {
    if (&target == this) return;
    w->former_.push_back(std::move(w->owner_));
    w->owner_ = target.shared_from_this();
    w->doc_.store(&target, std::memory_order_release);
}

void DomDoc::RehomeAttribute(pugi::xml_attribute from, DomDoc& target, pugi::xml_attribute to,
                             pugi::xml_node toOwner, std::vector<Tree*>& emptied) {
    DomNode* w = cache_.Find(from.internal_object());
    if (!w) return;
    target.cache_.Set(to.internal_object(), w);
    cache_.Remove(from.internal_object(), w);
    Retarget(w->tree_, target.TreeOf(toOwner), emptied);
    w->node_ = toOwner;
    w->attr_ = to;
    Adopt(w, target);
}

void DomDoc::Rehome(pugi::xml_node from, DomDoc& target, pugi::xml_node to, std::vector<Tree*>& emptied) {
    Tree* fromTree = TreeOf(from);
    if (!fromTree || fromTree->wrappers == 0) return;
    Tree* toTree = target.TreeOf(to);
    pugi::xml_node a = from, b = to;
    for (;;) {
        if (DomNode* w = cache_.Find(a.internal_object())) {
            target.cache_.Set(b.internal_object(), w);
            cache_.Remove(a.internal_object(), w);
            Retarget(w->tree_, toTree, emptied);
            w->node_ = b;
            Adopt(w, target);
        }
        if (a.first_attribute()) {
            pugi::xml_attribute x = a.first_attribute(), y = b.first_attribute();
            for (; x && y; x = x.next_attribute(), y = y.next_attribute())
                if (cache_.Contains(x.internal_object())) RehomeAttribute(x, target, y, b, emptied);
        }
        if (a.first_child()) {
            a = a.first_child();
            b = b.first_child();
            continue;
        }
        while (a != from && !a.next_sibling()) {
            a = a.parent();
            b = b.parent();
        }
        if (a == from) break;
        a = a.next_sibling();
        b = b.next_sibling();
    }
}

void DomDoc::Detach(pugi::xml_node n) {
    PinPending();
    std::vector<Tree*> emptied;
    if (SubtreeHasWrappers(n)) {
        Tree& t = NewHoldingTree();
        pugi::xml_node copy = t.doc.append_copy(n);
        if (!copy) throw std::bad_alloc();
        Rehome(n, *this, copy, emptied);
    }
    DestroySubtree(n);
    ++version;
    for (Tree* t : emptied) Collect(t);
}

void DomDoc::DetachAttribute(pugi::xml_node owner, pugi::xml_attribute a) {
    PinPending();
    std::vector<Tree*> emptied;
    if (cache_.Contains(a.internal_object())) {
        Tree& t = NewHoldingTree();
        pugi::xml_node holder = t.doc.append_child(pugi::node_element);
        pugi::xml_attribute copy = holder ? holder.append_copy(a) : pugi::xml_attribute();
        if (!copy) throw std::bad_alloc();
        RehomeAttribute(a, *this, copy, holder, emptied);
    }
    owner.remove_attribute(a);
    for (Tree* t : emptied) Collect(t);
}

void DestroySubtree(pugi::xml_node n) {
    pugi::xml_node cur = n;
    for (;;) {
        while (cur.first_child()) cur = cur.first_child();
        if (cur == n) break;
        pugi::xml_node parent = cur.parent();
        parent.remove_child(cur);
        cur = parent;
    }
    if (pugi::xml_node parent = n.parent()) parent.remove_child(n);
}

}  // namespace orv::dom
