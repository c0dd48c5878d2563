#include "lists/DocSequence.h"

namespace orv::lists {

DocEntry* DocSequence::PushBack(ComPtr<IUnknown> identity, ComPtr<IOrvDocument> document) {
    auto* entry = new DocEntry;
    entry->identity = std::move(identity);
    entry->document = std::move(document);
    entry->prev = last_;
    if (last_)
        last_->next = entry;
    else
        first_ = entry;
    last_ = entry;
    ++size_;
    return entry;
}

DocEntry* DocSequence::PushFront(ComPtr<IUnknown> identity, ComPtr<IOrvDocument> document) {
    auto* entry = new DocEntry;
    entry->identity = std::move(identity);
    entry->document = std::move(document);
    entry->next = first_;
    if (first_)
        first_->prev = entry;
    else
        last_ = entry;
    first_ = entry;
    ++size_;
    return entry;
}

void DocSequence::Remove(DocEntry* entry) noexcept {
    if (!entry || entry->removed) return;
    if (entry->prev)
        entry->prev->next = entry->next;
    else
        first_ = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    else
        last_ = entry->prev;
    entry->prev = entry->next = nullptr;
    entry->removed = true;
    entry->identity.Reset();
    entry->document.Reset();
    --size_;
    EntryRef::Drop(entry);  // the chain's reference
}

void DocSequence::Clear() noexcept {
    while (first_) Remove(first_);
}

void DocSequence::Append(DocSequence& other) noexcept {
    if (!other.first_) return;
    if (last_) {
        last_->next = other.first_;
        other.first_->prev = last_;
    } else {
        first_ = other.first_;
    }
    last_ = other.last_;
    size_ += other.size_;
    other.first_ = other.last_ = nullptr;
    other.size_ = 0;
}

}  // namespace orv::lists
