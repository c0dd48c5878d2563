// The allocation failure hook of the tests (oleauto.h): counts allocations
// while armed and makes the chosen one fail.
#include <orvdocs/platform/oleauto.h>

#include <pugixml.hpp>

#include <atomic>
#include <mutex>

namespace {

std::atomic<long> g_failAt{0};  // 0: not counting
std::atomic<long> g_count{0};

// pugixml's allocations are counted through its memory management functions,
// installed the first time the hook is armed. They pass on to the functions
// installed before (the plain heap unless a host set its own), so blocks taken
// before and after the switch are freed alike.
pugi::allocation_function g_nextAllocate = nullptr;
pugi::deallocation_function g_nextDeallocate = nullptr;

void* CountedAllocate(size_t size) {
    if (OrvAllocationFails()) return nullptr;
    return g_nextAllocate(size);
}

void CountedDeallocate(void* p) { g_nextDeallocate(p); }

void InstallPugixmlFunctions() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_nextAllocate = pugi::get_memory_allocation_function();
        g_nextDeallocate = pugi::get_memory_deallocation_function();
        pugi::set_memory_management_functions(&CountedAllocate, &CountedDeallocate);
    });
}

}  // namespace

void OrvFailAllocationAt(long n) {
    if (n > 0) InstallPugixmlFunctions();
    g_failAt.store(0, std::memory_order_relaxed);
    g_count.store(0, std::memory_order_relaxed);
    if (n > 0) g_failAt.store(n, std::memory_order_relaxed);
}

long OrvCountedAllocations() { return g_count.load(std::memory_order_relaxed); }

bool OrvAllocationFails() noexcept {
    const long at = g_failAt.load(std::memory_order_relaxed);
    if (at <= 0) return false;
    return g_count.fetch_add(1, std::memory_order_relaxed) + 1 == at;
}
