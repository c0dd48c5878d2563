// UTF-16 <-> UTF-8 conversions of the DOM service.
//
// Text is handled in blocks of sixteen code units (SSE2, which every x86-64
// has). A block of ASCII is converted with two instructions; only blocks
// with other characters fall back to one code point at a time, and runs of
// two-byte characters (Cyrillic) have a short path of their own.
#include "textconv.h"

#include "bstr_internal.h"

#include <orvdocs/platform/strings.h>

#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ORV_DOM_AVX2 1
#endif

namespace orv::dom {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at p (p < end, *p >= 0x80). Returns the bytes
// consumed and the code point in cp; a malformed sequence consumes one byte
// and yields U+FFFD.
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

#if defined(ORV_DOM_AVX2)
// Processors with AVX2 take runs of ASCII 32 bytes at a time; the functions
// below return at the first block that holds anything else, which the
// sixteen-unit code then handles. Chosen once, at load time.
const bool kHasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

// The shuffles that keep, of eight 16-bit units, those whose bit is set in
// the index, packed to the front.
struct KeepTable {
    alignas(16) unsigned char shuffle[256][16] = {};
    constexpr KeepTable() {
        for (int m = 0; m < 256; ++m) {
            int j = 0;
            for (int i = 0; i < 8; ++i)
                if ((m >> i) & 1) {
                    shuffle[m][j++] = static_cast<unsigned char>(2 * i);
                    shuffle[m][j++] = static_cast<unsigned char>(2 * i + 1);
                }
            while (j < 16) shuffle[m][j++] = 0x80;
        }
    }
};
constexpr KeepTable kKeep;

// Sixteen bytes at p (seventeen readable) of ASCII and two-byte characters
// (Cyrillic with its spaces and punctuation) to w, which has room for
// sixteen units: every byte is widened to a unit, each lead byte's unit made
// from it and the byte after it, and the units of the continuation bytes
// dropped. A character that starts at the last byte is left for the next
// block. False, converting nothing, for bytes of longer characters or
// anything malformed, which the code point loop then takes.
__attribute__((target("avx2"))) inline bool DecodeTwoByte16(const unsigned char*& p, char16_t*& w) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const __m128i lead = _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xE0))), _mm_set1_epi8(static_cast<char>(0xC0)));
    const auto cont = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xC0))), _mm_set1_epi8(static_cast<char>(0x80)))));
    const auto leads = static_cast<unsigned>(_mm_movemask_epi8(lead));
    const auto ascii = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(v, _mm_set1_epi8(-1))));
    const auto overlong = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xFE))), _mm_set1_epi8(static_cast<char>(0xC0)))));
    if ((cont | leads | ascii) != 0xFFFF || overlong) return false;
    const unsigned take = (leads & 0x8000) ? 15 : 16;
    const unsigned in = (1u << take) - 1;
    if ((cont & in) != ((leads & in) << 1)) return false;  // each lead followed by one continuation byte
    const __m256i bytes = _mm256_cvtepu8_epi16(v);
    const __m256i two = _mm256_or_si256(_mm256_slli_epi16(_mm256_and_si256(bytes, _mm256_set1_epi16(0x1F)), 6),
                                        _mm256_and_si256(_mm256_cvtepu8_epi16(next), _mm256_set1_epi16(0x3F)));
    const __m256i units = _mm256_blendv_epi8(bytes, two, _mm256_cvtepi8_epi16(lead));
    const unsigned keep = ~cont & in;
    const unsigned k0 = keep & 0xFF, k1 = keep >> 8;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w),
                     _mm_shuffle_epi8(_mm256_castsi256_si128(units), _mm_load_si128(reinterpret_cast<const __m128i*>(kKeep.shuffle[k0]))));
    w += __builtin_popcount(k0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w),
                     _mm_shuffle_epi8(_mm256_extracti128_si256(units, 1), _mm_load_si128(reinterpret_cast<const __m128i*>(kKeep.shuffle[k1]))));
    w += __builtin_popcount(k1);
    p += take;
    return true;
}

// Blocks of 32 bytes: ASCII widened with two instructions, ASCII mixed with
// two-byte characters by DecodeTwoByte16, without leaving the loop. Returns
// at the first block with anything else.
__attribute__((target("avx2"))) void DecodeAsciiAvx2(const unsigned char*& p, const unsigned char* end, char16_t*& w,
                                                     char16_t* limit) {
    while (end - p >= 32 && limit - w >= 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        if (_mm256_movemask_epi8(v)) {
            if (!DecodeTwoByte16(p, w)) return;
            continue;
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(w), _mm256_cvtepu8_epi16(_mm256_castsi256_si128(v)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(w + 16), _mm256_cvtepu8_epi16(_mm256_extracti128_si256(v, 1)));
        p += 32;
        w += 32;
    }
}

// The shuffles that make eight units of ASCII and two-byte characters into
// their UTF-8: each unit is first made into its two bytes (the ASCII byte, or
// 110xxxxx 10xxxxxx), and the shuffle chosen by which units are ASCII drops
// the second byte of those.
struct CompactTable {
    alignas(16) unsigned char shuffle[256][16] = {};
    constexpr CompactTable() {
        for (int m = 0; m < 256; ++m) {
            int j = 0;
            for (int i = 0; i < 8; ++i) {
                shuffle[m][j++] = static_cast<unsigned char>(2 * i);
                if (!((m >> i) & 1)) shuffle[m][j++] = static_cast<unsigned char>(2 * i + 1);
            }
            while (j < 16) shuffle[m][j++] = 0x80;
        }
    }
};
constexpr CompactTable kCompact;

// Eight units of ASCII and two-byte characters (v, all below 0x800) to w.
__attribute__((target("avx2"))) inline void PutTwoByteLane(__m128i v, char*& w) {
    const __m128i ascii = _mm_cmplt_epi16(v, _mm_set1_epi16(0x80));
    const __m128i lead = _mm_blendv_epi8(_mm_or_si128(_mm_srli_epi16(v, 6), _mm_set1_epi16(0xC0)), v, ascii);
    const __m128i cont = _mm_or_si128(_mm_and_si128(v, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80));
    const __m128i pairs = _mm_or_si128(_mm_and_si128(lead, _mm_set1_epi16(0xFF)), _mm_slli_epi16(cont, 8));
    const auto m = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(ascii, _mm_setzero_si128()))) & 0xFF;
    const __m128i bytes = _mm_shuffle_epi8(pairs, _mm_load_si128(reinterpret_cast<const __m128i*>(kCompact.shuffle[m])));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(w), bytes);  // w has room for three bytes a unit
    w += 16 - __builtin_popcount(m);
}

// 0xFFFF for each unit (below 0x800) that is a control character other than
// tab, line feed and carriage return.
__attribute__((target("avx2"))) inline __m256i BadControls(__m256i v) {
    const __m256i ctl = _mm256_cmpgt_epi16(_mm256_set1_epi16(0x20), v);
    const __m256i fine = _mm256_or_si256(
        _mm256_or_si256(_mm256_cmpeq_epi16(v, _mm256_set1_epi16(9)), _mm256_cmpeq_epi16(v, _mm256_set1_epi16(10))),
        _mm256_cmpeq_epi16(v, _mm256_set1_epi16(13)));
    return _mm256_andnot_si256(fine, ctl);
}

// Blocks of 32 units: printable ASCII with two instructions of checking,
// other ASCII and two-byte characters (Cyrillic) by PutTwoByteLane, all
// without leaving the loop, so that a few Cyrillic words in ASCII markup cost
// little. Returns at the first block with anything else; with forParse also
// at a control character other than tab, line feed and carriage return.
template <bool forParse>
__attribute__((target("avx2"))) void EncodeAsciiAvx2(const char16_t*& s, const char16_t* end, char*& w) {
    const __m256i space = _mm256_set1_epi8(0x20);
    while (end - s >= 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 16));
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
        // One signed compare finds every unit that is not printable ASCII:
        // packing saturates units of 0x100 to 0x7FFF to 0xFF and those of
        // 0x8000 up to 0, and bytes of 0x80 up are negative.
        if (_mm256_movemask_epi8(_mm256_cmpgt_epi8(space, bytes))) {
            const __m256i both = _mm256_or_si256(a, b);
            if (!_mm256_testz_si256(both, _mm256_set1_epi16(static_cast<short>(0xF800)))) return;  // 0x800 and up
            if (forParse && !_mm256_testz_si256(_mm256_or_si256(BadControls(a), BadControls(b)), _mm256_set1_epi8(-1)))
                return;
            if (!_mm256_testz_si256(both, _mm256_set1_epi16(static_cast<short>(0xFF80)))) {
                PutTwoByteLane(_mm256_castsi256_si128(a), w);
                PutTwoByteLane(_mm256_extracti128_si256(a, 1), w);
                PutTwoByteLane(_mm256_castsi256_si128(b), w);
                PutTwoByteLane(_mm256_extracti128_si256(b, 1), w);
                s += 32;
                continue;
            }
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(w), bytes);
        s += 32;
        w += 32;
    }
}


#endif

// Decodes UTF-8 into w, which has room for exactly `room` units. Returns the
// units written, or room + 1 when the text needs more (malformed input).
std::size_t DecodeInto(const unsigned char* p, const unsigned char* end, char16_t* w, std::size_t room) {
    char16_t* const start = w;
    char16_t* const limit = w + room;
    while (p < end) {
#if defined(ORV_DOM_AVX2)
        if (kHasAvx2) {
            DecodeAsciiAvx2(p, end, w, limit);
            if (p >= end) break;
        }
#endif
#if defined(__SSE2__)
        if (end - p >= 16 && limit - w >= 16) {
            // Widen the whole block; keep the ASCII part before the first
            // other byte (what follows it is written again below).
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w), _mm_unpacklo_epi8(v, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w + 8), _mm_unpackhi_epi8(v, zero));
            const int other = _mm_movemask_epi8(v);
            const int ascii = other ? __builtin_ctz(static_cast<unsigned>(other)) : 16;
            p += ascii;
            w += ascii;
            if (ascii == 16) continue;
        }
#endif
        // A run of other characters, one code point at a time. ASCII inside
        // the run (the spaces and punctuation of Cyrillic text) is taken here
        // too: going back to the blocks is worth it only where sixteen ASCII
        // bytes follow, and going back and forth cost more than the text.
        do {
            const unsigned char c = *p;
            if (w >= limit) return room + 1;
            if (c < 0x80) {
                *w++ = c;
                ++p;
#if defined(__SSE2__)
                if (end - p >= 16 && !_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))) break;
                continue;
#else
                break;
#endif
            }
            if ((c & 0xE0) == 0xC0 && c >= 0xC2 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
                *w++ = static_cast<char16_t>(((c & 0x1F) << 6) | (p[1] & 0x3F));
                p += 2;
                continue;
            }
            char32_t cp;
            p += DecodeOne(p, end, cp);
            if (cp >= 0x10000) {
                if (limit - w < 2) return room + 1;
                cp -= 0x10000;
                *w++ = static_cast<char16_t>(0xD800 + (cp >> 10));
                *w++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            } else {
                *w++ = static_cast<char16_t>(cp);
            }
        } while (p < end);
    }
    return static_cast<std::size_t>(w - start);
}

template <bool forParse>
// Converts UTF-16 to UTF-8 into w (room for 3 bytes a unit). With forParse,
// stops at the first unit XML forbids (returns false, bad set).
bool EncodeInto(const char16_t* s, const char16_t* end, char*& wOut, const char16_t*& bad) {
    char* w = wOut;
    while (s < end) {
#if defined(ORV_DOM_AVX2)
        if (kHasAvx2) {
            EncodeAsciiAvx2<forParse>(s, end, w);
            if (s >= end) break;
        }
#endif
#if defined(__SSE2__)
        if (end - s >= 16) {
            // Narrow the whole block (w has room for three bytes a unit);
            // keep the part before the first unit that needs more care.
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8));
            const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
            const __m128i zero = _mm_setzero_si128();
            // 0xFF per unit of 0x80 or above (packed to one byte a unit).
            const __m128i wide = _mm_packs_epi16(_mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(a, high), zero), _mm_set1_epi32(-1)),
                                                 _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(b, high), zero), _mm_set1_epi32(-1)));
            const __m128i bytes = _mm_packus_epi16(a, b);
            int stop = _mm_movemask_epi8(wide);
            if (forParse) {
                // Control characters other than tab, line feed and carriage
                // return stop the block too; the code below refuses them.
                const __m128i ctl = _mm_andnot_si128(wide, _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20)));
                const __m128i fine = _mm_or_si128(
                    _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(9)), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(10))),
                    _mm_cmpeq_epi8(bytes, _mm_set1_epi8(13)));
                stop |= _mm_movemask_epi8(_mm_andnot_si128(fine, ctl));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(w), bytes);
            const int ascii = stop ? __builtin_ctz(static_cast<unsigned>(stop)) : 16;
            s += ascii;
            w += ascii;
            if (ascii == 16) continue;
        }
#endif
        // One unit at a time: the unit that stopped the block and the
        // non-ASCII units right after it.
        do {
            char32_t cp = *s;
            if (cp < 0x80) {
                if (forParse) {
                    if (cp < 0x20 && cp != 0x9 && cp != 0xA && cp != 0xD) {
                        bad = s;
                        return false;
                    }
                }
                *w++ = static_cast<char>(cp);
                ++s;
                break;
            }
            if (cp < 0x800) {
                *w++ = static_cast<char>(0xC0 | (cp >> 6));
                *w++ = static_cast<char>(0x80 | (cp & 0x3F));
                ++s;
                continue;
            }
            if (cp >= 0xD800 && cp <= 0xDBFF && s + 1 < end && s[1] >= 0xDC00 && s[1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (s[1] - 0xDC00);
                s += 2;
            } else {
                if (cp >= 0xD800 && cp <= 0xDFFF) {
                    if (forParse) {
                        bad = s;
                        return false;
                    }
                    cp = kReplacement;
                } else if (forParse && (cp == 0xFFFE || cp == 0xFFFF)) {
                    bad = s;
                    return false;
                }
                ++s;
            }
            w = PutUtf8(w, cp);
        } while (s < end && *s >= 0x80);
    }
    wOut = w;
    return true;
}

}  // namespace

BSTR BstrFromUtf8(std::string_view utf8) {
    const auto* begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = begin + utf8.size();
    // A UTF-8 text never has more UTF-16 units than bytes: convert straight
    // into a block of that size and set the length found.
    if (utf8.size() <= 0x7FFFFFF0u) {
        BSTR out = detail::BstrAllocUninitialized(utf8.size());
        if (!out) return nullptr;
        const std::size_t units = DecodeInto(begin, end, out, utf8.size());
        if (units <= utf8.size()) return detail::BstrSetLength(out, units);
        SysFreeString(out);
    }
    // Malformed UTF-8: the general converter knows the exact length.
    const std::u16string text = orv::Utf8ToUtf16(utf8);
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

std::size_t Utf8ToUtf16Into(const char* p, std::size_t n, char16_t* w, std::size_t room) {
    const auto* begin = reinterpret_cast<const unsigned char*>(p);
    return DecodeInto(begin, begin + n, w, room);
}

void AppendUtf8(std::string& out, std::u16string_view utf16) {
    const std::size_t start = out.size();
    out.resize(start + utf16.size() * 3);
    char* w = out.data() + start;
    const char16_t* bad = nullptr;
    EncodeInto<false>(utf16.data(), utf16.data() + utf16.size(), w, bad);
    out.resize(static_cast<std::size_t>(w - out.data()));
}

Utf8Name::Utf8Name(std::u16string_view s) {
    if (s.size() < sizeof(small_)) {
        // Names are nearly always ASCII: copy them byte by byte.
        std::size_t i = 0;
        for (; i < s.size() && s[i] < 0x80; ++i) small_[i] = static_cast<char>(s[i]);
        if (i == s.size()) {
            small_[i] = 0;
            p_ = small_;
            return;
        }
    }
    if (s.size() * 3 < sizeof(small_)) {
        char* w = small_;
        const char16_t* bad = nullptr;
        EncodeInto<false>(s.data(), s.data() + s.size(), w, bad);
        *w = 0;
        p_ = small_;
    } else {
        AppendUtf8(big_, s);
        p_ = big_.c_str();
    }
}

bool Utf8ForParse(std::u16string_view text, ParseSource& out, std::size_t& badIndex) {
    std::size_t skipped = 0;
    if (!text.empty() && text.front() == 0xFEFF) skipped = 1;
    const char16_t* begin = text.data();
    const std::size_t capacity = (text.size() - skipped) * 3 + 1;
    std::unique_ptr<char[]> bytes(new char[capacity]);
    char* w = bytes.get();
    const char16_t* bad = nullptr;
    if (!EncodeInto<true>(begin + skipped, begin + text.size(), w, bad)) {
        badIndex = static_cast<std::size_t>(bad - begin);
        return false;
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
