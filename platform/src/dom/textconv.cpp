// UTF-16 <-> UTF-8 conversions of the DOM service.
#include "textconv.h"

#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::dom {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence starting at p (p < end, *p >= 0x80). Returns the
// number of bytes consumed and the code point in cp; a malformed sequence
// consumes one byte and yields U+FFFD.
inline std::size_t DecodeOne(const unsigned char* p, const unsigned char* end, char32_t& cp) {
    const unsigned char c = *p;
    int extra;
    char32_t v;
    if ((c & 0xE0) == 0xC0) {
        extra = 1, v = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2, v = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3, v = c & 0x07;
    } else {
        cp = kReplacement;
        return 1;
    }
    if (end - p <= extra) {
        cp = kReplacement;
        return 1;
    }
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            cp = kReplacement;
            return 1;
        }
        v = (v << 6) | (p[i] & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (v < kMin[extra] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) {
        cp = kReplacement;
        return 1;
    }
    cp = v;
    return static_cast<std::size_t>(extra) + 1;
}

// Length of the ASCII run at the start of [p, end), checked 16 bytes at a time.
inline std::size_t AsciiRun(const unsigned char* p, const unsigned char* end) {
    const unsigned char* q = p;
#if defined(__SSE2__)
    while (end - q >= 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        int mask = _mm_movemask_epi8(v);
        if (mask) return static_cast<std::size_t>(q - p) + static_cast<std::size_t>(__builtin_ctz(mask));
        q += 16;
    }
#endif
    while (q < end && *q < 0x80) ++q;
    return static_cast<std::size_t>(q - p);
}

// Widens n ASCII bytes to UTF-16.
inline void WidenAscii(const unsigned char* p, std::size_t n, char16_t* out) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(v, zero));
    }
#endif
    for (; i < n; ++i) out[i] = p[i];
}

inline char* PutUtf8(char* w, char32_t cp) {
    if (cp < 0x80) {
        *w++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *w++ = static_cast<char>(0xC0 | (cp >> 6));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *w++ = static_cast<char>(0xE0 | (cp >> 12));
        *w++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *w++ = static_cast<char>(0xF0 | (cp >> 18));
        *w++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *w++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *w++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return w;
}

// Narrows the run of UTF-16 units at the start of [s, end) that are printable
// ASCII (0x20-0x7F) into w, eight units at a time. With allowControls, units
// below 0x20 count as ASCII too. Returns the number of units written.
inline std::size_t NarrowAscii(const char16_t* s, const char16_t* end, char* w, bool allowControls) {
    const char16_t* q = s;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i zero = _mm_setzero_si128();
    while (end - q >= 8) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        __m128i notAscii = _mm_cmpeq_epi16(_mm_and_si128(v, high), zero);  // 0xFFFF where ASCII
        __m128i bad = _mm_xor_si128(notAscii, _mm_set1_epi32(-1));
        if (!allowControls) bad = _mm_or_si128(bad, _mm_cmplt_epi16(v, space));
        if (_mm_movemask_epi8(bad)) break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(w + (q - s)), _mm_packus_epi16(v, v));
        q += 8;
    }
#endif
    while (q < end && *q < 0x80 && (allowControls || *q >= 0x20)) {
        w[q - s] = static_cast<char>(*q);
        ++q;
    }
    return static_cast<std::size_t>(q - s);
}

inline bool IsXmlChar(char32_t c) {
    if (c >= 0x20) return c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
    return c == 0x9 || c == 0xA || c == 0xD;
}

}  // namespace

BSTR BstrFromUtf8(std::string_view utf8) {
    const auto* begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = begin + utf8.size();
    // First pass: the exact UTF-16 length.
    std::size_t units = 0;
    for (const unsigned char* p = begin; p < end;) {
        std::size_t run = AsciiRun(p, end);
        units += run;
        p += run;
        if (p >= end) break;
        char32_t cp;
        p += DecodeOne(p, end, cp);
        units += cp >= 0x10000 ? 2 : 1;
    }
    if (units > 0x7FFFFFF0u) return nullptr;
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (!out) return nullptr;
    char16_t* w = out;
    for (const unsigned char* p = begin; p < end;) {
        std::size_t run = AsciiRun(p, end);
        WidenAscii(p, run, w);
        w += run;
        p += run;
        if (p >= end) break;
        char32_t cp;
        p += DecodeOne(p, end, cp);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *w++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *w++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *w++ = static_cast<char16_t>(cp);
        }
    }
    return out;
}

void AppendUtf8(std::string& out, std::u16string_view utf16) {
    const std::size_t start = out.size();
    out.resize(start + utf16.size() * 3);
    char* w = out.data() + start;
    const char16_t* s = utf16.data();
    const char16_t* end = s + utf16.size();
    while (s < end) {
        std::size_t run = NarrowAscii(s, end, w, true);
        s += run;
        w += run;
        if (s >= end) break;
        char32_t cp = *s++;
        if (cp >= 0xD800 && cp <= 0xDBFF && s < end && *s >= 0xDC00 && *s <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*s++ - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        w = PutUtf8(w, cp);
    }
    out.resize(static_cast<std::size_t>(w - out.data()));
}

bool Utf8ForParse(std::u16string_view text, ParseSource& out, std::size_t& badIndex) {
    std::size_t skipped = 0;
    if (!text.empty() && text.front() == 0xFEFF) skipped = 1;
    const char16_t* begin = text.data();
    const char16_t* s = begin + skipped;
    const char16_t* end = begin + text.size();
    const std::size_t capacity = (text.size() - skipped) * 3 + 1;
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[capacity]);
    if (!bytes) throw std::bad_alloc();
    char* w = bytes.get();
    while (s < end) {
        std::size_t run = NarrowAscii(s, end, w, false);
        s += run;
        w += run;
        if (s >= end) break;
        char32_t cp = *s;
        if (cp >= 0xD800 && cp <= 0xDBFF && s + 1 < end && s[1] >= 0xDC00 && s[1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[1] - 0xDC00);
            s += 2;
        } else {
            if (!IsXmlChar(cp)) {
                badIndex = static_cast<std::size_t>(s - begin);
                return false;
            }
            ++s;
        }
        w = PutUtf8(w, cp);
    }
    *w = 0;
    out.size = static_cast<std::size_t>(w - bytes.get());
    out.bytes = std::move(bytes);
    out.skipped = skipped;
    return true;
}

std::size_t Utf16IndexOfUtf8Offset(std::u16string_view text, std::size_t skipped, std::size_t offset) {
    std::size_t bytes = 0;
    std::size_t i = skipped;
    while (i < text.size() && bytes < offset) {
        char32_t c = text[i];
        if (c < 0x80) {
            bytes += 1;
        } else if (c < 0x800) {
            bytes += 2;
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
        ++i;
    }
    return i;
}

}  // namespace orv::dom
