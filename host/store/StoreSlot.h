// The store a database service works on, shared with the store-backed
// components it hands out (settings, session, reference source, employees,
// numbering tables). Closing the service empties the slot; a component asked
// afterwards answers E_UNEXPECTED.
#pragma once

#include "host/store/Store.h"

#include <memory>
#include <mutex>

namespace orv::host {

class StoreSlot {
public:
    // The open store; StoreError E_UNEXPECTED when the service is closed.
    std::shared_ptr<store::Store> Get() const {
        std::lock_guard lock(m_);
        if (!store_) throw store::StoreError(E_UNEXPECTED, "The database is not open");
        return store_;
    }
    std::shared_ptr<store::Store> Peek() const {
        std::lock_guard lock(m_);
        return store_;
    }
    void Set(std::shared_ptr<store::Store> s) {
        std::shared_ptr<store::Store> old;
        {
            std::lock_guard lock(m_);
            old = std::exchange(store_, std::move(s));
        }
    }

private:
    mutable std::mutex m_;
    std::shared_ptr<store::Store> store_;
};

using SharedSlot = std::shared_ptr<StoreSlot>;

// Day numbers of the store and automation dates (0 stays 0).
LONG DayOf(DATE date) noexcept;
DATE DateOf(LONG day) noexcept;

}  // namespace orv::host
