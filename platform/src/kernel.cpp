// Kernel services on POSIX threads and the C++ atomics.
#include <orvdocs/platform/kernel.h>
#include <orvdocs/platform/strings.h>

#include <atomic>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <new>
#include <unistd.h>
#include <sys/syscall.h>

namespace {
static_assert(sizeof(std::recursive_mutex) <= sizeof(CRITICAL_SECTION::opaque));
static_assert(alignof(std::recursive_mutex) <= alignof(CRITICAL_SECTION));

std::recursive_mutex* MutexOf(LPCRITICAL_SECTION cs) {
    return std::launder(reinterpret_cast<std::recursive_mutex*>(cs->opaque));
}

static_assert(sizeof(std::atomic<LONG>) == sizeof(LONG) && std::atomic<LONG>::is_always_lock_free);
std::atomic<LONG>* AtomicOf(LONG volatile* p) {
    return reinterpret_cast<std::atomic<LONG>*>(const_cast<LONG*>(p));
}
}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) new (cs->opaque) std::recursive_mutex();
}
void EnterCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) MutexOf(cs)->lock();
}
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION cs) {
    return cs && MutexOf(cs)->try_lock() ? TRUE : FALSE;
}
void LeaveCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) MutexOf(cs)->unlock();
}
void DeleteCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) MutexOf(cs)->~recursive_mutex();
}

LONG InterlockedIncrement(LONG volatile* p) { return AtomicOf(p)->fetch_add(1) + 1; }
LONG InterlockedDecrement(LONG volatile* p) { return AtomicOf(p)->fetch_sub(1) - 1; }
LONG InterlockedExchange(LONG volatile* p, LONG v) { return AtomicOf(p)->exchange(v); }
LONG InterlockedCompareExchange(LONG volatile* p, LONG exchange, LONG comparand) {
    AtomicOf(p)->compare_exchange_strong(comparand, exchange);
    return comparand;
}

HMODULE GetModuleHandleFromAddress(const void* address) {
    Dl_info info{};
    if (!address || !dladdr(address, &info)) return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    std::string path;
    if (!module) {
        char buf[4096];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0) return 0;
        path.assign(buf, static_cast<size_t>(n));
    } else {
        Dl_info info{};
        // A module handle is the base address of the loaded object.
        if (!dladdr(module, &info) || info.dli_fbase != static_cast<void*>(module) || !info.dli_fname) return 0;
        char resolved[4096];
        path = realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
    }
    std::u16string w = orv::Utf8ToUtf16(path);
    DWORD n = static_cast<DWORD>(w.size());
    if (n >= size) {
        std::memcpy(buffer, w.data(), (size - 1) * sizeof(char16_t));
        buffer[size - 1] = 0;
        return size;  // cut, as the platform answers a short buffer
    }
    std::memcpy(buffer, w.data(), n * sizeof(char16_t));
    buffer[n] = 0;
    return n;
}

DWORD GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }
