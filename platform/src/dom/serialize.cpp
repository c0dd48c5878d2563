// The written form of nodes and documents (get_xml, save).
//
// The form is the one pugixml writes with format_raw: no indentation, no line
// breaks, attributes in the order they were set, an element without children
// as <a/>, & < > escaped in text, & < " and tab, line feed, carriage return
// (as &#09; &#10; &#13;) in attribute values, "--" in a comment written "- -",
// "]]>" in a CDATA section split over two sections, "?>" in a processing
// instruction written "? >". A control character XML cannot hold (put by a
// host; a load never yields one) is written as U+FFFD wherever it is. One
// departure from pugixml's form: a carriage return in text is written as
// &#13;, since written as it stands a load would read it as a line feed.
//
// The tree is written here rather than by pugixml's printer: that one goes
// through its own buffer a byte at a time, and its UTF-8 then had to be read
// again to make the UTF-16 text handed out. Here runs of ordinary text go
// sixteen bytes a step into a small buffer that is handed on as it fills,
// converted to UTF-16 while it is still in the cache (get_xml) or appended to
// a string (save). The XML declaration is written here too: the text handed
// out is UTF-16, so an encoding named in it would no longer describe it and is
// left out (save keeps it).
#include "domnode.h"
#include "domutil.h"
#include "nodelist.h"

#include "bstr_internal.h"

#include <cstdint>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orv::dom {

namespace {

// Receives the written form a piece at a time; every piece ends on a whole
// UTF-8 character.
class Sink {
public:
    virtual void Take(const char* p, std::size_t n) = 0;

protected:
    ~Sink() = default;
};

class StringSink final : public Sink {
public:
    explicit StringSink(std::string& out) : out_(out) {}
    void Take(const char* p, std::size_t n) override { out_.append(p, n); }

private:
    std::string& out_;
};

// Converts each piece into a BSTR that grows as needed.
class BstrSink final : public Sink {
public:
    explicit BstrSink(std::size_t expected) : expected_(expected) {}
    BstrSink(const BstrSink&) = delete;
    BstrSink& operator=(const BstrSink&) = delete;
    ~BstrSink() { SysFreeString(buf_); }

    void Take(const char* p, std::size_t n) override {
        // A piece of n bytes never needs more than n UTF-16 units.
        if (room_ - len_ < n) Grow(len_ + n);
        len_ += Utf8ToUtf16Into(p, n, buf_ + len_, room_ - len_);
    }
    // The finished text; the sink is empty afterwards.
    BSTR Release() {
        if (!buf_) Grow(0);
        BSTR out = detail::BstrSetLength(buf_, len_);
        buf_ = nullptr;
        len_ = room_ = 0;
        return out;
    }

private:
    void Grow(std::size_t need) {
        std::size_t room = room_ ? room_ * 2 : (expected_ > 256 ? expected_ : 256);
        if (room < need) room = need;
        BSTR grown = buf_ ? detail::BstrGrow(buf_, room) : detail::BstrAllocUninitialized(room);
        if (!grown) throw std::bad_alloc();
        buf_ = grown;
        room_ = room;
    }

    std::size_t expected_;
    BSTR buf_ = nullptr;
    std::size_t len_ = 0;
    std::size_t room_ = 0;
};

// What a run of a node's text is written as: which bytes stop a run and what
// is written in their place.
enum class Part {
    Text,       // & < > and carriage return escaped
    Attribute,  // & < " and tab, line feed, carriage return escaped
    Comment,    // "--" and a final '-' get a space after the '-'
    CData,      // "]]>" ends the section and starts another
    Pi,         // "?>" written "? >"
    Plain,      // as it is (a DOCTYPE's text)
};

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// What a byte that stops a run of text or of an attribute value is written
// as, looked up rather than branched on: such text often has a reference
// every few bytes (markup kept as text).
struct Escape {
    char bytes[7];
    std::uint8_t length;
};
struct EscapeTable {
    Escape e[256] = {};
    constexpr explicit EscapeTable(bool attribute) {
        for (int c = 0; c < 256; ++c) e[c] = {{static_cast<char>(c)}, 1};
        for (int c = 0; c < 0x20; ++c) e[c] = {{'\xEF', '\xBF', '\xBD'}, 3};
        e[int('&')] = {{'&', 'a', 'm', 'p', ';'}, 5};
        e[int('<')] = {{'&', 'l', 't', ';'}, 4};
        if (attribute) {
            e[int('"')] = {{'&', 'q', 'u', 'o', 't', ';'}, 6};
            e[int('\t')] = {{'&', '#', '0', '9', ';'}, 5};
            e[int('\n')] = {{'&', '#', '1', '0', ';'}, 5};
            e[int('\r')] = {{'&', '#', '1', '3', ';'}, 5};
        } else {
            e[int('>')] = {{'&', 'g', 't', ';'}, 4};
            e[int('\r')] = {{'&', '#', '1', '3', ';'}, 5};  // raw, a load would make it a line feed
        }
    }
};
constexpr EscapeTable kTextEscapes(false);
constexpr EscapeTable kAttributeEscapes(true);

// Control characters a part writes as they stand: tab and line feed outside
// attribute values, and a carriage return where no reference can be written
// (comments, CDATA sections, instructions); every other one stops a run.
template <Part P>
constexpr bool KeepsTabAndLineFeed = P != Part::Attribute;
template <Part P>
constexpr bool KeepsCarriageReturn = P != Part::Attribute && P != Part::Text;

template <Part P>
constexpr bool Stops(unsigned char c) {
    if (c < 0x20)
        return !((KeepsTabAndLineFeed<P> && (c == '\t' || c == '\n')) || (KeepsCarriageReturn<P> && c == '\r'));
    switch (P) {
        case Part::Text: return c == '&' || c == '<' || c == '>';
        case Part::Attribute: return c == '&' || c == '<' || c == '"';
        case Part::Comment: return c == '-';
        case Part::CData: return c == ']';
        case Part::Pi: return c == '?';
        case Part::Plain: return false;
    }
    return false;
}

#if defined(__SSE2__)
// One bit per byte of v that stops a run.
template <Part P>
inline unsigned StopMask(__m128i v) {
    __m128i hit = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x1F)), v);  // bytes below 0x20
    if constexpr (KeepsTabAndLineFeed<P>) {
        __m128i kept = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        if constexpr (KeepsCarriageReturn<P>) kept = _mm_or_si128(kept, _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
        hit = _mm_andnot_si128(kept, hit);
    }
    auto is = [&](char c) { hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(c))); };
    switch (P) {
        case Part::Text: is('&'), is('<'), is('>'); break;
        case Part::Attribute: is('&'), is('<'), is('"'); break;
        case Part::Comment: is('-'); break;
        case Part::CData: is(']'); break;
        case Part::Pi: is('?'); break;
        case Part::Plain: break;
    }
    return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

class Writer {
public:
    explicit Writer(Sink& sink) : sink_(sink) {}
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // n and everything inside it (a document node: its children).
    void Subtree(pugi::xml_node top) {
        pugi::xml_node n = top;
        for (;;) {
            if (Open(n)) {
                n = n.first_child();
                continue;
            }
            for (;;) {
                if (n == top) return;
                if (pugi::xml_node next = n.next_sibling()) {
                    n = next;
                    break;
                }
                n = n.parent();
                Close(n);
            }
        }
    }

    void Declaration(pugi::xml_node decl, bool keepEncoding) {
        Lit("<?xml");
        for (pugi::xml_attribute a = decl.first_attribute(); a; a = a.next_attribute()) {
            if (!keepEncoding && std::strcmp(a.name(), "encoding") == 0) continue;
            Lit(" ");
            AttributeForm(a);
        }
        Lit("?>");
    }

    // An attribute node on its own: name="value", with > and tab written as
    // &gt; and &#9; as well.
    void AttributeForm(pugi::xml_attribute a) {
        std::string text = a.name();
        text += "=\"";
        AppendEscapedAttribute(text, a.value());
        text += '"';
        Bytes(text.data(), text.size());
    }

    // Hands what is left to the sink.
    void Finish() {
        sink_.Take(buf_, n_);
        n_ = 0;
    }

private:
    static constexpr std::size_t kSize = 16 * 1024;

    // Writes the node, or only its start when it has children to be written
    // next (then returns true).
    bool Open(pugi::xml_node n) {
        switch (n.type()) {
            case pugi::node_document:
                return static_cast<bool>(n.first_child());
            case pugi::node_element: {
                Lit("<");
                Name(n.name());
                for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute()) {
                    Lit(" ");
                    Name(a.name());
                    Lit("=\"");
                    Run<Part::Attribute>(a.value());
                    Lit("\"");
                }
                if (n.first_child()) {
                    Lit(">");
                    return true;
                }
                Lit("/>");
                return false;
            }
            case pugi::node_pcdata:
                Run<Part::Text>(n.value());
                return false;
            case pugi::node_cdata:
                Lit("<![CDATA[");
                Run<Part::CData>(n.value());
                Lit("]]>");
                return false;
            case pugi::node_comment:
                Lit("<!--");
                Run<Part::Comment>(n.value());
                Lit("-->");
                return false;
            case pugi::node_pi:
                Lit("<?");
                Name(n.name());
                if (*n.value()) {
                    Lit(" ");
                    Run<Part::Pi>(n.value());
                }
                Lit("?>");
                return false;
            case pugi::node_declaration:
                Declaration(n, false);
                return false;
            case pugi::node_doctype:
                Lit("<!DOCTYPE");
                if (*n.value()) {
                    Lit(" ");
                    Run<Part::Plain>(n.value());
                }
                Lit(">");
                return false;
            case pugi::node_null:
                return false;
        }
        return false;
    }

    void Close(pugi::xml_node n) {
        if (n.type() != pugi::node_element) return;
        Lit("</");
        Name(n.name());
        Lit(">");
    }

    void Name(const char* s) {
        if (!*s) s = ":anonymous";  // as pugixml names a node that has none
        Bytes(s, std::strlen(s));
    }

    // Makes room for k more bytes (k small).
    void Room(std::size_t k) {
        if (n_ + k > kSize) Flush();
    }
    template <std::size_t N>
    void Lit(const char (&s)[N]) {
        Room(N - 1);
        std::memcpy(buf_ + n_, s, N - 1);
        n_ += N - 1;
    }
    void Bytes(const char* p, std::size_t k) {
        while (k) {
            Room(1);
            const std::size_t take = k < kSize - n_ ? k : kSize - n_;
            std::memcpy(buf_ + n_, p, take);
            n_ += take;
            p += take;
            k -= take;
        }
    }

    // Hands on the buffer up to its last whole character; a character cut
    // short by the end of the buffer moves to its start.
    void Flush() {
        std::size_t cut = n_;
        std::size_t lead = n_;
        while (lead > 0 && n_ - lead < 4 && (static_cast<unsigned char>(buf_[lead - 1]) & 0xC0) == 0x80) --lead;
        if (lead > 0) {
            const auto c = static_cast<unsigned char>(buf_[lead - 1]);
            const std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            if (c >= 0xC0 && lead - 1 + len > n_) cut = lead - 1;
        }
        sink_.Take(buf_, cut);
        std::memmove(buf_, buf_ + cut, n_ - cut);
        n_ -= cut;
    }

    // Writes a node's text, replacing what the part requires. The position in
    // the buffer is kept in a local: stores through char pointers could alias
    // the member, which the compiler would then reload for every block.
    template <Part P>
    void Run(const char* s) {
        const char* p = s;
        const char* const end = s + std::strlen(s);
        if constexpr (P == Part::Text || P == Part::Attribute) p = Escaped<P>(p, end);
        while (p < end) {
            Room(16);
            std::size_t n = n_;
#if defined(__SSE2__)
            while (end - p >= 16 && n + 16 <= kSize) {
                // Copy the whole block, keep the part before the first byte
                // that stops the run.
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(buf_ + n), v);
                const unsigned stop = StopMask<P>(v);
                if (stop) {
                    const auto plain = static_cast<std::size_t>(__builtin_ctz(stop));
                    p += plain;
                    n += plain;
                    goto stopped;
                }
                p += 16;
                n += 16;
            }
            if (n + 16 > kSize) {  // the blocks filled the buffer: make room again first
                n_ = n;
                continue;
            }
#endif
            while (p < end && n < kSize && !Stops<P>(static_cast<unsigned char>(*p))) buf_[n++] = *p++;
#if defined(__SSE2__)
        stopped:
#endif
            n_ = n;
            if (p == end) break;
            if (!Stops<P>(static_cast<unsigned char>(*p))) continue;  // the buffer is full
            if constexpr (P == Part::Text || P == Part::Attribute) {
                Room(sizeof(Escape));
                const Escape& e = Escapes<P>().e[static_cast<unsigned char>(*p++)];
                std::memcpy(buf_ + n_, &e, sizeof(Escape));  // eight bytes, whatever the length
                n_ += e.length;
            } else {
                p = Stop<P>(p, end);
            }
        }
    }

    template <Part P>
    static const EscapeTable& Escapes() {
        return P == Part::Text ? kTextEscapes : kAttributeEscapes;
    }

    // Text or an attribute value, sixteen bytes a step while 32 are left
    // (the copies below read up to 31 bytes on): each block is copied, and
    // for every byte in it that needs a reference the rest of the block is
    // copied again after the reference. Text with markup kept in it has a
    // reference every few bytes; this way they cost no branch each. Returns
    // where it stopped; Run does the rest.
    template <Part P>
    const char* Escaped(const char* p, const char* end) {
#if defined(__SSE2__)
        constexpr std::size_t kMost = 16 * sizeof(Escape) + 16;  // sixteen references and one copy
        std::size_t n = n_;
        while (end - p >= 32) {
            if (n + kMost > kSize) {
                n_ = n;
                Flush();
                n = n_;
            }
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(buf_ + n), v);
            unsigned stop = StopMask<P>(v);
            if (!stop) {
                p += 16;
                n += 16;
                continue;
            }
            unsigned from = 0;
            do {
                const unsigned at = static_cast<unsigned>(__builtin_ctz(stop));
                n += at - from;
                const Escape& e = Escapes<P>().e[static_cast<unsigned char>(p[at])];
                std::memcpy(buf_ + n, &e, sizeof(Escape));
                n += e.length;
                from = at + 1;
                _mm_storeu_si128(reinterpret_cast<__m128i*>(buf_ + n), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from)));
                stop &= stop - 1;
            } while (stop);
            n += 16 - from;
            p += 16;
        }
        n_ = n;
#endif
        return p;
    }

    // Writes what stands for the byte at p, one that stops a run of a
    // comment, CDATA section, processing instruction or DOCTYPE; returns the
    // position after what it stood for.
    template <Part P>
    const char* Stop(const char* p, const char* end) {
        if (static_cast<unsigned char>(*p) < 0x20) {
            Lit(kReplacement);
            return p + 1;
        }
        switch (P) {
            case Part::Comment:
                if (p + 1 == end || p[1] == '-')
                    Lit("- ");
                else
                    Lit("-");
                return p + 1;
            case Part::CData:
                if (end - p >= 3 && p[1] == ']' && p[2] == '>') {
                    Lit("]]]]><![CDATA[>");
                    return p + 3;
                }
                Lit("]");
                return p + 1;
            case Part::Pi:
                if (p + 1 < end && p[1] == '>') {
                    Lit("? >");
                    return p + 2;
                }
                Lit("?");
                return p + 1;
            default:
                return p + 1;
        }
    }

    Sink& sink_;
    std::size_t n_ = 0;
    char buf_[kSize];
};

void Write(DomDoc& d, const DomNode& node, Sink& sink, bool keepEncoding) {
    Writer w(sink);
    switch (node.Kind()) {
        case NodeKind::Document:
            for (pugi::xml_node c = d.MainRoot().first_child(); c; c = c.next_sibling()) {
                if (c.type() == pugi::node_declaration)
                    w.Declaration(c, keepEncoding);
                else
                    w.Subtree(c);
            }
            break;
        case NodeKind::Attribute:
            w.AttributeForm(node.Attr());
            break;
        case NodeKind::Node:
            w.Subtree(node.Node(d));
            break;
    }
    w.Finish();
}

}  // namespace

void Serialize(DomDoc& d, const DomNode& node, std::string& out, bool keepEncoding) {
    StringSink sink(out);
    Write(d, node, sink, keepEncoding);
}

BSTR SerializeToBstr(DomDoc& d, const DomNode& node) {
    // A document's written form is about as long as the text it was read
    // from: made that size, the block seldom has to grow.
    BstrSink sink(node.Kind() == NodeKind::Document ? d.Main().sourceSize : 0);
    Write(d, node, sink, false);
    return sink.Release();
}

}  // namespace orv::dom
