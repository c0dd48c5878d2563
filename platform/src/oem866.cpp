// OEM code page 866 (Cyrillic DOS) conversions.
//
// The byte -> UTF-16 direction is one 256-entry table. The reverse direction is
// a two-level table built at compile time from the same data: the high byte of
// the UTF-16 unit picks one of a handful of 256-byte pages, the low byte picks
// the OEM byte inside it. Both directions are a few loads per character and
// never allocate; record fields are converted through them on hot paths.
//
// Every UTF-16 unit without a form in the code page becomes '?', one byte per
// unit (surrogate halves included), so a text of n units always gives n bytes.
#include <orvdocs/platform/text.h>

#include <array>
#include <cstdint>

namespace {

constexpr std::array<char16_t, 256> kOemToWide = [] {
    std::array<char16_t, 256> t{};
    for (int i = 0; i < 0x80; ++i) t[i] = static_cast<char16_t>(i);
    // 0x80-0x9F: А..Я, 0xA0-0xAF: а..п, 0xE0-0xEF: р..я
    for (int i = 0; i < 0x20; ++i) t[0x80 + i] = static_cast<char16_t>(0x0410 + i);
    for (int i = 0; i < 0x10; ++i) t[0xA0 + i] = static_cast<char16_t>(0x0430 + i);
    for (int i = 0; i < 0x10; ++i) t[0xE0 + i] = static_cast<char16_t>(0x0440 + i);
    // 0xB0-0xDF: shades and box drawing
    constexpr char16_t kBox[48] = {
        0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0
        0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8
        0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0
        0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8
        0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0
        0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8
    };
    for (int i = 0; i < 48; ++i) t[0xB0 + i] = kBox[i];
    // 0xF0-0xFF: Ё ё Є є Ї ї Ў ў, degree, bullet, middle dot, root, numero, currency, square, nbsp
    constexpr char16_t kTail[16] = {
        0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
        0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
    };
    for (int i = 0; i < 16; ++i) t[0xF0 + i] = kTail[i];
    return t;
}();

// Reverse table. Page 0 is all zeros ("no form"); a zero byte found for any
// unit other than U+0000 means the unit has no OEM form.
struct WideToOem {
    std::array<std::uint8_t, 256> pageOf{};  // high byte of the unit -> page number
    std::array<std::array<std::uint8_t, 256>, 8> pages{};
};

constexpr WideToOem kWideToOem = [] {
    WideToOem r{};
    int used = 1;
    for (int b = 1; b < 256; ++b) {
        const char16_t w = kOemToWide[b];
        const int hi = w >> 8;
        if (r.pageOf[hi] == 0) r.pageOf[hi] = static_cast<std::uint8_t>(used++);
        r.pages[r.pageOf[hi]][w & 0xFF] = static_cast<std::uint8_t>(b);
    }
    // More pages than reserved would fail the constant evaluation (out of range).
    return r;
}();

inline char ToOem(char16_t w) {
    if (w == 0) return 0;
    const std::uint8_t b = kWideToOem.pages[kWideToOem.pageOf[w >> 8]][w & 0xFF];
    return b ? static_cast<char>(b) : '?';
}

inline char16_t ToWide(char b) { return kOemToWide[static_cast<unsigned char>(b)]; }

}  // namespace

BOOL CharToOemW(LPCWSTR pSrc, LPSTR pDst) {
    if (!pSrc || !pDst) return FALSE;
    for (;; ++pSrc, ++pDst) {
        *pDst = ToOem(*pSrc);
        if (*pSrc == 0) break;
    }
    return TRUE;
}

BOOL CharToOemBuffW(LPCWSTR lpszSrc, LPSTR lpszDst, DWORD cchDstLength) {
    if (!lpszSrc || !lpszDst) return FALSE;
    for (DWORD i = 0; i < cchDstLength; ++i) lpszDst[i] = ToOem(lpszSrc[i]);
    return TRUE;
}

BOOL OemToCharW(LPCSTR pSrc, LPWSTR pDst) {
    if (!pSrc || !pDst) return FALSE;
    for (;; ++pSrc, ++pDst) {
        *pDst = ToWide(*pSrc);
        if (*pSrc == 0) break;
    }
    return TRUE;
}

BOOL OemToCharBuffW(LPCSTR lpszSrc, LPWSTR lpszDst, DWORD cchDstLength) {
    if (!lpszSrc || !lpszDst) return FALSE;
    for (DWORD i = 0; i < cchDstLength; ++i) lpszDst[i] = ToWide(lpszSrc[i]);
    return TRUE;
}

std::size_t OemStrLen(LPCSTR s) {
    if (!s) return 0;
    std::size_t n = 0;
    while (s[n]) ++n;
    return n;
}
