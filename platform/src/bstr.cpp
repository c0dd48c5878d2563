// BSTR: a 32-bit byte length, then the data, then two NUL bytes. The pointer
// handed out points at the data, so the length sits 4 bytes before it.
#include "bstr_internal.h"

#include <orvdocs/platform/oleauto.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Header, data and terminator; the block is kept 8-byte aligned like the platform's.
constexpr std::size_t kHeader = sizeof(std::uint32_t);
constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max() - 16;

void* BlockOf(BSTR s) { return reinterpret_cast<char*>(s) - kHeader; }

// Freed blocks of up to kCacheLimit bytes are kept per thread, a few of each
// size, and handed out again, as the original platform's string cache does: a
// host that reads a value, uses it and frees it in a loop then allocates
// nothing. Block sizes are rounded up to the cache's steps, so a kept block is
// big enough for every string of its step. Not in sanitizer builds, where a
// reused block would hide a use after free.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUseCache = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUseCache = false;
#else
constexpr bool kUseCache = true;
#endif
#else
constexpr bool kUseCache = true;
#endif
constexpr std::size_t kStep = 64;
constexpr std::size_t kCacheLimit = 4096;
constexpr std::size_t kBuckets = kCacheLimit / kStep;
constexpr std::size_t kPerBucket = 2;

struct BlockCache {
    void* blocks[kBuckets][kPerBucket] = {};
    unsigned char count[kBuckets] = {};
};

// The thread's cache: null until first used, kDead once the thread is ending.
thread_local BlockCache* t_cache = nullptr;
BlockCache* const kDead = reinterpret_cast<BlockCache*>(alignof(BlockCache));

struct CacheOwner {
    BlockCache cache;
    CacheOwner() { t_cache = &cache; }
    ~CacheOwner() {
        t_cache = kDead;
        for (std::size_t b = 0; b < kBuckets; ++b)
            for (unsigned i = 0; i < cache.count[b]; ++i) std::free(cache.blocks[b][i]);
    }
};

BlockCache* Cache() {
    if (!kUseCache) return nullptr;
    BlockCache* c = t_cache;
    if (c == kDead) return nullptr;
    if (!c) {
        thread_local CacheOwner owner;
        c = t_cache;
    }
    return c;
}

// The size a block of `need` bytes is given.
std::size_t Rounded(std::size_t need) { return need <= kCacheLimit ? (need + kStep - 1) / kStep * kStep : need; }

void* TakeBlock(std::size_t need) {
    const std::size_t size = Rounded(need);
    if (size <= kCacheLimit) {
        if (BlockCache* c = Cache()) {
            const std::size_t b = size / kStep - 1;
            if (c->count[b]) return c->blocks[b][--c->count[b]];
        }
    }
    return std::malloc(size);
}

// The block of a string whose length is `bytes`: it holds at least
// Rounded(kHeader + bytes + terminator) bytes.
void GiveBlock(void* block, std::size_t bytes) {
    const std::size_t size = Rounded(kHeader + bytes + sizeof(OLECHAR) + (bytes & 1));
    if (size <= kCacheLimit) {
        if (BlockCache* c = Cache()) {
            const std::size_t b = size / kStep - 1;
            if (c->count[b] < kPerBucket) {
                c->blocks[b][c->count[b]++] = block;
                return;
            }
        }
    }
    std::free(block);
}

BSTR AllocBytes(const void* data, std::size_t bytes) {
    if (bytes > kMaxBytes) return nullptr;
    if (OrvAllocationFails()) return nullptr;
    // An odd length gets a third NUL byte: the string read as wide characters
    // (wcslen, SysAllocString of it) then meets a whole NUL character inside
    // the block instead of reading one byte past it.
    const std::size_t terminator = sizeof(OLECHAR) + (bytes & 1);
    auto* block = static_cast<char*>(TakeBlock(kHeader + bytes + terminator));
    if (!block) return nullptr;
    const auto len = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &len, kHeader);
    char* body = block + kHeader;
    if (data)
        std::memcpy(body, data, bytes);
    else
        std::memset(body, 0, bytes);
    std::memset(body + bytes, 0, terminator);
    return reinterpret_cast<BSTR>(body);
}

std::size_t WLen(const OLECHAR* s) {
    std::size_t n = 0;
    while (s[n]) ++n;
    return n;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (!psz) return nullptr;
    return AllocBytes(psz, WLen(psz) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    if (ui > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    return AllocBytes(strIn, std::size_t(ui) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) { return AllocBytes(psz, len); }

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
    if (!pbstr) return FALSE;
    BSTR fresh = SysAllocStringLen(psz, len);  // psz may point into *pbstr
    if (!fresh) return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (!pbstr) return FALSE;
    if (!psz) {
        SysFreeString(*pbstr);
        *pbstr = nullptr;
        return TRUE;
    }
    return SysReAllocStringLen(pbstr, psz, static_cast<UINT>(WLen(psz)));
}

UINT SysStringByteLen(BSTR bstr) {
    if (!bstr) return 0;
    std::uint32_t len;
    std::memcpy(&len, BlockOf(bstr), kHeader);
    return len;
}

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }

void SysFreeString(BSTR bstr) {
    if (bstr) GiveBlock(BlockOf(bstr), SysStringByteLen(bstr));
}

namespace orv::detail {

BSTR BstrAllocUninitialized(std::size_t units) {
    if (units > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    if (OrvAllocationFails()) return nullptr;
    const std::size_t bytes = units * sizeof(OLECHAR);
    auto* block = static_cast<char*>(TakeBlock(kHeader + bytes + sizeof(OLECHAR)));
    if (!block) return nullptr;
    const auto len = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &len, kHeader);
    return reinterpret_cast<BSTR>(block + kHeader);
}

BSTR BstrGrow(BSTR s, std::size_t units) {
    if (units > kMaxBytes / sizeof(OLECHAR)) return nullptr;
    if (OrvAllocationFails()) return nullptr;
    const std::size_t bytes = units * sizeof(OLECHAR);
    // Every block comes from malloc (the cache only keeps them), so a large
    // one grows in place where it can. Sized as the cache rounds, since the
    // block may end up there when freed.
    void* grown = std::realloc(BlockOf(s), Rounded(kHeader + bytes + sizeof(OLECHAR)));
    if (!grown) return nullptr;
    const auto len = static_cast<std::uint32_t>(bytes);
    std::memcpy(grown, &len, kHeader);
    return reinterpret_cast<BSTR>(static_cast<char*>(grown) + kHeader);
}

BSTR BstrSetLength(BSTR s, std::size_t units) {
    const std::size_t bytes = units * sizeof(OLECHAR);
    std::uint32_t room;
    std::memcpy(&room, BlockOf(s), kHeader);
    const auto len = static_cast<std::uint32_t>(bytes);
    std::memcpy(BlockOf(s), &len, kHeader);
    std::memset(reinterpret_cast<char*>(s) + bytes, 0, sizeof(OLECHAR));
    // Give back the unused part of a large block (text of many multi-byte
    // characters was sized by its bytes).
    if (room - bytes > 4096 && room - bytes > bytes / 4) {
        if (void* smaller = std::realloc(BlockOf(s), Rounded(kHeader + bytes + sizeof(OLECHAR))))
            s = reinterpret_cast<BSTR>(static_cast<char*>(smaller) + kHeader);
    }
    return s;
}

}  // namespace orv::detail
