// BSTR: a 32-bit byte length, then the data, then two NUL bytes. The pointer
// handed out points at the data, so the length sits 4 bytes before it.
#include <orvdocs/platform/oleauto.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Header, data and terminator; the block is kept 8-byte aligned like the platform's.
constexpr std::size_t kHeader = sizeof(std::uint32_t);
constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max() - 16;

void* BlockOf(BSTR s) { return reinterpret_cast<char*>(s) - kHeader; }

BSTR AllocBytes(const void* data, std::size_t bytes) {
    if (bytes > kMaxBytes) return nullptr;
    // An odd length gets a third NUL byte: the string read as wide characters
    // (wcslen, SysAllocString of it) then meets a whole NUL character inside
    // the block instead of reading one byte past it.
    const std::size_t terminator = sizeof(OLECHAR) + (bytes & 1);
    auto* block = static_cast<char*>(std::malloc(kHeader + bytes + terminator));
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
    if (bstr) std::free(BlockOf(bstr));
}
