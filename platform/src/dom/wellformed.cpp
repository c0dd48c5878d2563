// One pass over the UTF-8 text for the rules pugixml lets pass. Runs of
// ordinary text and attribute values are skipped sixteen bytes at a time; only
// markup characters are looked at one by one.
#include "wellformed.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::dom {

namespace {

// Space, tab, line feed, carriage return: one compare and one bit test.
inline bool IsSpace(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= 0x20 && ((0x100002600ull >> u) & 1) != 0;
}

inline bool IsXmlChar(char32_t c) {
    if (c >= 0x20) return c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
    return c == 0x9 || c == 0xA || c == 0xD;
}

// The first of three bytes at or after p, or end.
inline const char* FindAny(const char* p, const char* end, char a, char b, char c) {
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b), vc = _mm_set1_epi8(c);
    // Long runs (attribute values of a few hundred characters) go 32 bytes a
    // step with one branch.
    while (end - p >= 32) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i hv = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                        _mm_cmpeq_epi8(v, vc));
        const __m128i hw = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(w, va), _mm_cmpeq_epi8(w, vb)),
                                        _mm_cmpeq_epi8(w, vc));
        const unsigned m = static_cast<unsigned>(_mm_movemask_epi8(hv)) |
                           (static_cast<unsigned>(_mm_movemask_epi8(hw)) << 16);
        if (m) return p + __builtin_ctz(m);
        p += 32;
    }
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                         _mm_cmpeq_epi8(v, vc));
        const int m = _mm_movemask_epi8(hit);
        if (m) return p + __builtin_ctz(static_cast<unsigned>(m));
        p += 16;
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b || *p == c) return p;
    return end;
}

inline const char* Find(const char* p, const char* end, std::string_view what) {
    const void* r = ::memmem(p, static_cast<std::size_t>(end - p), what.data(), what.size());
    return r ? static_cast<const char*>(r) : nullptr;
}

inline bool StartsWith(const char* p, const char* end, std::string_view what) {
    return static_cast<std::size_t>(end - p) >= what.size() && std::memcmp(p, what.data(), what.size()) == 0;
}

// Decodes the UTF-8 sequence at p (valid: the text came from UTF-16).
inline char32_t Decode(const char*& p, const char* end) {
    const auto c = static_cast<unsigned char>(*p);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
    char32_t v = c & (0x3F >> extra);
    if (end - p <= extra) {
        p = end;
        return 0;
    }
    for (int i = 1; i <= extra; ++i) v = (v << 6) | (static_cast<unsigned char>(p[i]) & 0x3F);
    p += extra + 1;
    return v;
}

// Name characters by byte: 1 may start a name, 2 may only continue one, 4
// begins a multi-byte character (decoded and classified on its own); 0 ends a
// name. ASCII runs of a name then cost one table look-up per byte.
struct NameTable {
    std::uint8_t t[256] = {};
    constexpr NameTable() {
        for (int c = 'a'; c <= 'z'; ++c) t[c] = 1;
        for (int c = 'A'; c <= 'Z'; ++c) t[c] = 1;
        t[int('_')] = t[int(':')] = 1;
        for (int c = '0'; c <= '9'; ++c) t[c] = 2;
        t[int('-')] = t[int('.')] = 2;
        for (int c = 0x80; c < 0x100; ++c) t[c] = 4;
    }
};
constexpr NameTable kNames;

// The first byte at or after p that is not an ASCII name character (a
// letter, digit, '_', ':', '-' or '.'), or end. Names are short (a few
// bytes): a loop over the table beats comparing them sixteen bytes a step,
// which was tried and measured slower.
inline const char* SkipAsciiNameChars(const char* p, const char* end) {
    while (p < end && (kNames.t[static_cast<unsigned char>(*p)] & 3)) ++p;
    return p;
}

// The end of the name at p (p itself when none starts there).
inline const char* ScanName(const char* p, const char* end) {
    if (p >= end) return p;
    const auto first = static_cast<unsigned char>(*p);
    if (kNames.t[first] == 1) {
        ++p;
    } else if (kNames.t[first] == 4) {
        const char* q = p;
        if (!IsNameStartChar(Decode(q, end))) return p;
        p = q;
    } else {
        return p;
    }
    for (;;) {
        p = SkipAsciiNameChars(p, end);
        if (p >= end || kNames.t[static_cast<unsigned char>(*p)] != 4) return p;
        const char* q = p;
        if (!IsNameChar(Decode(q, end))) return p;
        p = q;
    }
}

inline const char* SkipSpace(const char* p, const char* end) {
    while (p < end && IsSpace(*p)) ++p;
    return p;
}

// The attribute names of one tag: compared by length and hash first. The
// usual tag needs no allocation; one with very many attributes uses a hash set.
class NameSet {
public:
    void Clear() {
        n_ = 0;
        if (!many_.empty()) many_.clear();
    }
    // False when the name is already there. Names are told apart by their
    // length and first eight bytes before they are compared whole.
    // `end` bounds the text, so that the first eight bytes are read as one word
    // where the text goes on that far.
    bool Add(const char* p, std::size_t len, const char* end) {
        std::uint64_t head = 0;
        if (end - p >= 8) {
            std::memcpy(&head, p, 8);
            if (len < 8) head &= (std::uint64_t(1) << (8 * len)) - 1;
        } else {
            for (std::size_t i = 0; i < len && i < 8; ++i) head |= std::uint64_t(static_cast<unsigned char>(p[i])) << (8 * i);
        }
        if (n_ < kMax) {
            for (std::size_t i = 0; i < n_; ++i)
                if (heads_[i] == head && lens_[i] == len && std::memcmp(names_[i], p, len) == 0) return false;
            heads_[n_] = head;
            lens_[n_] = len;
            names_[n_] = p;
            ++n_;
            return true;
        }
        if (many_.empty())
            for (std::size_t i = 0; i < n_; ++i) many_.emplace(names_[i], lens_[i]);
        return many_.emplace(p, len).second;
    }

private:
    static constexpr std::size_t kMax = 32;
    std::uint64_t heads_[kMax];
    std::size_t lens_[kMax];
    const char* names_[kMax];
    std::size_t n_ = 0;
    std::unordered_set<std::string_view> many_;
};

class Scanner {
public:
    Scanner(const char* text, std::size_t size) : begin_(text), end_(text + size) {}

    bool Run(WellFormedness& out) {
        const char* p = begin_;
        if (StartsWith(p, end_, "<?xml") && p + 5 < end_ && IsSpace(p[5])) {
            p = Declaration(p);
            if (!p) return Report(out);
        }
        while (p < end_) {
            const char* q = NextInText(p);
            if (q == end_) break;
            if (*q == ']') {
                if (StartsWith(q, end_, "]]>")) return Fail(out, "The sequence ']]>' is not allowed in text", q);
                p = q + 1;
                continue;
            }
            if (*q == '&') {
                p = Reference(q);
                if (!p) return Report(out);
                if (lastCharacter_ == ' ' || lastCharacter_ == '\t' || lastCharacter_ == '\n' || lastCharacter_ == '\r')
                    out.whiteSpaceReference = true;
                continue;
            }
            p = Markup(q, out);
            if (!p) return out.hasDoctype ? true : Report(out);
        }
        return true;
    }

private:
    // The first '<', ']' or '&' at or after p in character data, or end_,
    // stepping over the references &lt; &gt; &amp; on the way. Text with
    // escaped markup in it (a reference every few bytes) is common in the
    // library's documents; here such a run costs no branch per reference:
    // each sixteen bytes are compared as a block, with the bytes one to four
    // places further on telling a known reference from any other '&'.
    const char* NextInText(const char* p) const {
#if defined(__SSE2__)
        const __m128i lt = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'), rb = _mm_set1_epi8(']');
        const __m128i cl = _mm_set1_epi8('l'), cg = _mm_set1_epi8('g'), ct = _mm_set1_epi8('t');
        const __m128i semi = _mm_set1_epi8(';'), ca = _mm_set1_epi8('a'), cm = _mm_set1_epi8('m');
        const __m128i cp = _mm_set1_epi8('p');
        // The loads reach 19 bytes past p.
        while (end_ - p >= 32) {
            const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const unsigned stop = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v0, lt), _mm_cmpeq_epi8(v0, rb))));
            unsigned refs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v0, amp)));
            if (refs) {
                const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
                const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
                const __m128i v3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3));
                const __m128i v4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4));
                // "lt;" or "gt;" after the '&'
                const __m128i ltgt = _mm_and_si128(
                    _mm_or_si128(_mm_cmpeq_epi8(v1, cl), _mm_cmpeq_epi8(v1, cg)),
                    _mm_and_si128(_mm_cmpeq_epi8(v2, ct), _mm_cmpeq_epi8(v3, semi)));
                // "amp;" after the '&'
                const __m128i ampr = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(v1, ca), _mm_cmpeq_epi8(v2, cm)),
                                                   _mm_and_si128(_mm_cmpeq_epi8(v3, cp), _mm_cmpeq_epi8(v4, semi)));
                refs &= ~static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ltgt, ampr)));
            }
            if (const unsigned m = stop | refs) return p + __builtin_ctz(m);
            p += 16;
        }
#endif
        for (; p < end_; ++p) {
            if (*p == '<' || *p == ']') return p;
            if (*p == '&') {
                if (end_ - p >= 4 && (p[1] == 'l' || p[1] == 'g') && p[2] == 't' && p[3] == ';') {
                    p += 3;
                    continue;
                }
                if (end_ - p >= 5 && p[1] == 'a' && p[2] == 'm' && p[3] == 'p' && p[4] == ';') {
                    p += 4;
                    continue;
                }
                return p;
            }
        }
        return end_;
    }

    bool Fail(WellFormedness& out, const char* reason, const char* at) {
        reason_ = reason;
        at_ = at;
        return Report(out);
    }
    bool Report(WellFormedness& out) {
        out.reason = reason_;
        out.offset = static_cast<std::size_t>((at_ ? at_ : end_) - begin_);
        return false;
    }
    const char* Error(const char* reason, const char* at) {
        reason_ = reason;
        at_ = at;
        return nullptr;
    }

    // "&...;" in text or an attribute value; the position after it. The
    // character a character reference stands for is left in lastCharacter_
    // (0 for an entity reference).
    const char* Reference(const char* at) {
        lastCharacter_ = 0;
        const char* p = at + 1;
        if (p < end_ && *p == '#') {
            ++p;
            const bool hex = p < end_ && *p == 'x';
            if (hex) ++p;
            const char* digits = p;
            char32_t cp = 0;
            for (; p < end_ && *p != ';'; ++p) {
                int v;
                if (*p >= '0' && *p <= '9')
                    v = *p - '0';
                else if (hex && *p >= 'a' && *p <= 'f')
                    v = *p - 'a' + 10;
                else if (hex && *p >= 'A' && *p <= 'F')
                    v = *p - 'A' + 10;
                else
                    return Error("Invalid character reference", at);
                cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(v);
                if (cp > 0x10FFFF) return Error("Invalid character reference", at);
            }
            if (p == end_ || p == digits) return Error("Invalid character reference", at);
            if (!IsXmlChar(cp)) return Error("Character reference to a character XML does not allow", at);
            lastCharacter_ = cp;
            return p + 1;
        }
        // The five predefined entities, which are nearly all there is.
        if (end_ - p >= 5) {
            if ((p[0] == 'l' || p[0] == 'g') && p[1] == 't' && p[2] == ';') return p + 3;
            if (p[0] == 'a' && p[1] == 'm' && p[2] == 'p' && p[3] == ';') return p + 4;
        }
        const char* e = ScanName(p, end_);
        if (e == p || e == end_ || *e != ';') return Error("Invalid entity reference", at);
        std::string_view name(p, static_cast<std::size_t>(e - p));
        if (name != "lt" && name != "gt" && name != "amp" && name != "quot" && name != "apos")
            return Error("Reference to an undeclared entity", at);
        return e + 1;
    }

    // Markup starting with '<'; the position after it.
    const char* Markup(const char* at, WellFormedness& out) {
        const char* p = at + 1;
        if (p >= end_) return Error("Unexpected end of the text after '<'", at);
        switch (*p) {
            case '!':
                if (StartsWith(p, end_, "!--")) {
                    const char* dashes = Find(p + 3, end_, "--");
                    if (!dashes) return Error("A comment is not closed", at);
                    if (dashes + 2 >= end_ || dashes[2] != '>')
                        return Error("A comment may not contain '--'", dashes);
                    return dashes + 3;
                }
                if (StartsWith(p, end_, "![CDATA[")) {
                    const char* close = Find(p + 8, end_, "]]>");
                    if (!close) return Error("A CDATA section is not closed", at);
                    return close + 3;
                }
                if (StartsWith(p, end_, "!DOCTYPE")) {
                    out.hasDoctype = true;
                    return nullptr;
                }
                return Error("Invalid markup: only comments, CDATA sections and the DOCTYPE start with '<!'", at);
            case '?':
                return Pi(at);
            case '/': {
                const char* e = ScanName(p + 1, end_);
                if (e == p + 1) return Error("Invalid name in an end tag", p + 1);
                e = SkipSpace(e, end_);
                if (e >= end_ || *e != '>') return Error("An end tag holds only its name", e);
                return e + 1;
            }
            default:
                return StartTag(at);
        }
    }

    const char* Pi(const char* at) {
        const char* name = at + 2;
        const char* e = ScanName(name, end_);
        if (e == name) return Error("A processing instruction needs a target name", name);
        const std::size_t len = static_cast<std::size_t>(e - name);
        if (len == 3 && (name[0] | 0x20) == 'x' && (name[1] | 0x20) == 'm' && (name[2] | 0x20) == 'l')
            return Error(at == begin_ ? "Malformed XML declaration"
                                      : "The XML declaration is allowed only at the start of the document; "
                                        "processing instruction targets named 'xml' are reserved",
                         at);
        const char* close = Find(e, end_, "?>");
        if (!close) return Error("A processing instruction is not closed", at);
        if (close != e && !IsSpace(*e)) return Error("Invalid character in a processing instruction target", e);
        return close + 2;
    }

    const char* StartTag(const char* at) {
        const char* p = ScanName(at + 1, end_);
        if (p == at + 1) return Error("Invalid name at the start of a tag", at + 1);
        names_.Clear();
        while (true) {
            const char* afterName = p;
            p = SkipSpace(p, end_);
            if (p >= end_) return Error("The tag is not closed", at);
            if (*p == '>') return p + 1;
            if (*p == '/') {
                if (p + 1 < end_ && p[1] == '>') return p + 2;
                return Error("Expected '>' after '/' in a tag", p);
            }
            if (p == afterName) return Error("Attributes must be separated by white space", p);
            const char* name = p;
            p = ScanName(p, end_);
            if (p == name) return Error("Invalid attribute name", name);
            if (!names_.Add(name, static_cast<std::size_t>(p - name), end_)) return Error("Duplicate attribute", name);
            p = SkipSpace(p, end_);
            if (p >= end_ || *p != '=') return Error("Expected '=' after an attribute name", p);
            p = SkipSpace(p + 1, end_);
            if (p >= end_ || (*p != '"' && *p != '\'')) return Error("An attribute value must be in quotes", p);
            const char quote = *p++;
            while (true) {
                const char* q = FindAny(p, end_, quote, '<', '&');
                if (q == end_) return Error("An attribute value is not closed", name);
                if (*q == quote) {
                    p = q + 1;
                    break;
                }
                if (*q == '<') return Error("'<' is not allowed in an attribute value", q);
                p = Reference(q);
                if (!p) return nullptr;
            }
        }
    }

    // <?xml version="1.x" encoding="..." standalone="yes|no"?> at the start.
    const char* Declaration(const char* at) {
        const char* p = at + 5;
        struct Pseudo {
            std::string_view name;
            bool required;
        };
        static constexpr Pseudo kOrder[] = {{"version", true}, {"encoding", false}, {"standalone", false}};
        std::size_t next = 0;
        while (true) {
            const char* afterLast = p;
            p = SkipSpace(p, end_);
            if (StartsWith(p, end_, "?>")) {
                if (next == 0) return Error("The XML declaration must give the version", p);
                return p + 2;
            }
            if (p == afterLast) return Error("Malformed XML declaration", p);
            const char* name = p;
            while (p < end_ && *p >= 'a' && *p <= 'z') ++p;
            std::string_view n(name, static_cast<std::size_t>(p - name));
            std::size_t k = next;
            while (k < 3 && kOrder[k].name != n) {
                if (kOrder[k].required) return Error("The XML declaration must give the version first", name);
                ++k;
            }
            if (k == 3) return Error("Unknown or misplaced pseudo-attribute in the XML declaration", name);
            next = k + 1;
            p = SkipSpace(p, end_);
            if (p >= end_ || *p != '=') return Error("Malformed XML declaration", p);
            p = SkipSpace(p + 1, end_);
            if (p >= end_ || (*p != '"' && *p != '\'')) return Error("Malformed XML declaration", p);
            const char quote = *p++;
            const char* value = p;
            while (p < end_ && *p != quote && *p != '<' && *p != '?') ++p;
            if (p >= end_ || *p != quote) return Error("Malformed XML declaration", value);
            std::string_view v(value, static_cast<std::size_t>(p - value));
            ++p;
            bool good = true;
            if (k == 0) {
                good = v.size() > 2 && v[0] == '1' && v[1] == '.';
                for (std::size_t i = 2; good && i < v.size(); ++i) good = v[i] >= '0' && v[i] <= '9';
                if (!good) return Error("Unsupported or malformed XML version", value);
            } else if (k == 1) {
                good = !v.empty() && ((v[0] | 0x20) >= 'a' && (v[0] | 0x20) <= 'z');
                for (std::size_t i = 1; good && i < v.size(); ++i) {
                    const char c = v[i];
                    good = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '_' || c == '-';
                }
                if (!good) return Error("Malformed encoding name in the XML declaration", value);
            } else {
                if (v != "yes" && v != "no") return Error("standalone must be 'yes' or 'no'", value);
            }
        }
    }

    const char* begin_;
    const char* end_;
    const char* reason_ = nullptr;
    const char* at_ = nullptr;
    char32_t lastCharacter_ = 0;
    NameSet names_;
};

}  // namespace

bool IsNameStartChar(char32_t c) {
    if (c < 0x80) return kNames.t[c] == 1;
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    if (c < 0x80) return kNames.t[c] != 0;  // 1 or 2
    return IsNameStartChar(c) || c == 0xB7 || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool CheckWellFormed(const char* text, std::size_t size, WellFormedness& out) {
    out = WellFormedness{};
    return Scanner(text, size).Run(out);
}

}  // namespace orv::dom
