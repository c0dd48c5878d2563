// The entries of a document list: a doubly linked chain in insertion order.
//
// Each entry holds one counted reference to a document's identity and, beside
// it, the document's IOrvDocument pointer taken when the entry was stored, so
// that walks over many documents read their properties without asking each
// one for the interface again. Entries are counted themselves: the chain holds
// one reference to each, and every cursor (the list's own, an enumerator's)
// holds one to the entry it stands on. An entry taken out of the chain drops
// its document references at once and is marked removed; a cursor still on
// it stands at the end from then on, and the entry's memory goes with the
// last cursor.
//
// The chain and the entries' links and marks are read and changed only under
// the owning list's lock; the entry counts are atomic, so cursors may be
// copied and dropped outside it.
#pragma once

#include <orvdocs/platform/comptr.h>
#include <orvdocs/typelib/document.h>

#include <atomic>
#include <cstddef>
#include <utility>

namespace orv::lists {

struct DocEntry {
    std::atomic<LONG> refs{1};
    DocEntry* prev = nullptr;
    DocEntry* next = nullptr;
    bool removed = false;
    ComPtr<IUnknown> identity;     // null when a Replace stored null
    ComPtr<IOrvDocument> document; // null when the identity does not serve it
};

// A counted reference to an entry; null is the end of the list.
class EntryRef {
public:
    EntryRef() noexcept = default;
    explicit EntryRef(DocEntry* entry) noexcept : entry_(entry) {
        if (entry_) entry_->refs.fetch_add(1, std::memory_order_relaxed);
    }
    EntryRef(const EntryRef& other) noexcept : EntryRef(other.entry_) {}
    EntryRef(EntryRef&& other) noexcept : entry_(std::exchange(other.entry_, nullptr)) {}
    EntryRef& operator=(EntryRef other) noexcept {
        std::swap(entry_, other.entry_);
        return *this;
    }
    ~EntryRef() { Drop(entry_); }

    DocEntry* Get() const noexcept { return entry_; }
    // The entry the cursor stands on, or null at the end (a removed entry
    // counts as the end). Under the list's lock.
    DocEntry* Position() const noexcept { return entry_ && !entry_->removed ? entry_ : nullptr; }
    void MoveTo(DocEntry* entry) noexcept { *this = EntryRef(entry); }

    static void Drop(DocEntry* entry) noexcept {
        if (entry && entry->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete entry;
    }

private:
    DocEntry* entry_ = nullptr;
};

class DocSequence {
public:
    DocSequence() noexcept = default;
    DocSequence(const DocSequence&) = delete;
    DocSequence& operator=(const DocSequence&) = delete;
    ~DocSequence() { Clear(); }

    DocEntry* First() const noexcept { return first_; }
    std::size_t Size() const noexcept { return size_; }

    // Appends or prepends an entry (may throw std::bad_alloc, leaving the chain as it was).
    DocEntry* PushBack(ComPtr<IUnknown> identity, ComPtr<IOrvDocument> document);
    DocEntry* PushFront(ComPtr<IUnknown> identity, ComPtr<IOrvDocument> document);
    // Takes the entry out: its references are released and it is marked removed.
    void Remove(DocEntry* entry) noexcept;
    // Takes every entry out.
    void Clear() noexcept;
    // Moves other's entries to the end of this chain; other is left empty.
    void Append(DocSequence& other) noexcept;

private:
    DocEntry* first_ = nullptr;
    DocEntry* last_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace orv::lists
