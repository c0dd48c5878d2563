// Reading XML text into a tree (loadXML).
//
// pugixml parses; it is lenient where XML is strict, so the parse runs with
// options that keep what it would otherwise let pass, and a check of the tree
// afterwards refuses it:
//  - the text is converted to UTF-8 first, refusing characters XML forbids;
//    the conversion also checks every '&' for a well-formed reference;
//  - parse_fragment keeps text outside the top element and a second top
//    element, which a document may not have;
//  - pugixml keeps unknown references as they are. When every '&' of the
//    text is a good reference, pugixml decodes them; otherwise it leaves them
//    alone and they are decoded here, where a bad one in text or in an
//    attribute value fails the load (in a comment, CDATA section or
//    processing instruction an '&' is just a character);
//  - pugixml keeps an attribute given twice in one tag; it is refused here,
//    as XML requires.
// One leniency is kept: a raw '<' inside an attribute value is accepted (and
// written back as "&lt;"), since after the parse it cannot be told from "&lt;".
// The source text is parsed in place and kept with the tree.
#include "load.h"

#include "domutil.h"
#include "textconv.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <string>

namespace orv::dom {

namespace {

struct Failure {
    const char* reason = nullptr;
    std::size_t offset = 0;  // byte offset in the UTF-8 source
};

inline bool IsXmlChar(char32_t c) {
    if (c >= 0x20) return c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
    return c == 0x9 || c == 0xA || c == 0xD;
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

// Decodes the references of a NUL-terminated text in place. A decoded
// character is never longer than its reference, so the text only shrinks.
// Returns null on success, else the position of the bad reference.
char* DecodeReferences(char* s) {
    char* r = std::strchr(s, '&');
    if (!r) return nullptr;
    char* w = r;
    while (*r) {
        if (*r != '&') {
            *w++ = *r++;
            continue;
        }
        char* const at = r;
        char* semi = r + 1;
        while (*semi && *semi != ';' && semi - r < 12) ++semi;
        if (*semi != ';') return at;
        std::string_view ref(r + 1, static_cast<std::size_t>(semi - r - 1));
        if (!ref.empty() && ref[0] == '#') {
            const bool hex = ref.size() > 1 && ref[1] == 'x';
            std::string_view digits = ref.substr(hex ? 2 : 1);
            if (digits.empty()) return at;
            char32_t cp = 0;
            for (char c : digits) {
                int v;
                if (c >= '0' && c <= '9')
                    v = c - '0';
                else if (hex && c >= 'a' && c <= 'f')
                    v = c - 'a' + 10;
                else if (hex && c >= 'A' && c <= 'F')
                    v = c - 'A' + 10;
                else
                    return at;
                cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(v);
                if (cp > 0x10FFFF) return at;
            }
            if (!IsXmlChar(cp)) return at;
            w = PutUtf8(w, cp);
        } else if (ref == "lt") {
            *w++ = '<';
        } else if (ref == "gt") {
            *w++ = '>';
        } else if (ref == "amp") {
            *w++ = '&';
        } else if (ref == "quot") {
            *w++ = '"';
        } else if (ref == "apos") {
            *w++ = '\'';
        } else {
            return at;
        }
        r = semi + 1;
    }
    *w = 0;
    return nullptr;
}

class Checker {
public:
    Checker(char* begin, std::size_t size) : begin_(begin), end_(begin + size) {}

    // With `decode` the references in text and attribute values are still
    // undecoded: they are decoded here, and a bad one fails.
    bool Check(pugi::xml_node root, bool preserveWhiteSpace, bool decode, Failure& f) {
        if (!CheckTopLevel(root, preserveWhiteSpace, f)) return false;
        pugi::xml_node cur = root.first_child();
        while (cur) {
            switch (cur.type()) {
                case pugi::node_element:
                    if (!CheckAttributes(cur, f)) return false;
                    if (decode && !CheckElement(cur, f)) return false;
                    break;
                case pugi::node_declaration:  // its pseudo-attributes are attribute values too
                    if (decode && !CheckElement(cur, f)) return false;
                    break;
                case pugi::node_pcdata:
                    if (decode && !Decode(cur, f)) return false;
                    break;
                default:
                    break;
            }
            if (cur.first_child()) {
                cur = cur.first_child();
                continue;
            }
            while (cur && !cur.next_sibling()) {
                cur = cur.parent();
                if (cur == root) return true;
            }
            if (!cur) return true;
            cur = cur.next_sibling();
        }
        return true;
    }

private:
    std::size_t OffsetOf(const char* p) const {
        return p >= begin_ && p < end_ ? static_cast<std::size_t>(p - begin_) : 0;
    }
    bool Fail(Failure& f, const char* reason, const char* at) {
        f.reason = reason;
        f.offset = OffsetOf(at);
        return false;
    }

    static bool IsBlank(const char* s) {
        for (; *s; ++s)
            if (*s != ' ' && *s != '\t' && *s != '\r' && *s != '\n') return false;
        return true;
    }

    bool CheckTopLevel(pugi::xml_node root, bool preserveWhiteSpace, Failure& f) {
        int elements = 0;
        for (pugi::xml_node c = root.first_child(), next; c; c = next) {
            next = c.next_sibling();
            switch (c.type()) {
                case pugi::node_declaration:
                    if (c != root.first_child())
                        return Fail(f, "The XML declaration is allowed only at the start of the document", c.name());
                    break;
                case pugi::node_doctype:
                    if (elements > 0)
                        return Fail(f, "The document type declaration must come before the top level element",
                                    c.value());
                    break;
                case pugi::node_element:
                    if (++elements > 1) return Fail(f, "Only one top level element is allowed", c.name());
                    break;
                case pugi::node_pcdata:
                    if (preserveWhiteSpace && IsBlank(c.value())) {
                        root.remove_child(c);
                        break;
                    }
                    return Fail(f, "Text is not allowed at the top level of the document", c.value());
                case pugi::node_cdata:
                    return Fail(f, "Text is not allowed at the top level of the document", c.value());
                default:
                    break;
            }
        }
        if (elements == 0) {
            f.reason = "XML document must have a top level element";
            f.offset = static_cast<std::size_t>(end_ - begin_);
            return false;
        }
        return true;
    }

    // Attribute names are unique within a tag.
    bool CheckAttributes(pugi::xml_node e, Failure& f) {
        std::size_t count = 0;
        for (pugi::xml_attribute a = e.first_attribute(); a && count < 2; a = a.next_attribute()) ++count;
        if (count < 2) return true;
        for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) ++count;
        if (count <= 18) {  // the usual tag: a few names compared pairwise
            for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute())
                for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute())
                    if (std::strcmp(a.name(), b.name()) == 0) return Fail(f, "Duplicate attribute", b.name());
            return true;
        }
        names_.clear();
        for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) names_.push_back(a.name());
        std::sort(names_.begin(), names_.end(), [](const char* x, const char* y) { return std::strcmp(x, y) < 0; });
        for (std::size_t i = 1; i < names_.size(); ++i)
            if (std::strcmp(names_[i - 1], names_[i]) == 0) return Fail(f, "Duplicate attribute", names_[i]);
        return true;
    }

    bool CheckElement(pugi::xml_node e, Failure& f) {
        for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
            char* v = const_cast<char*>(a.value());
            if (std::strchr(v, '&') && !DecodeText(v, f, [&](const char* decoded) { return a.set_value(decoded); }))
                return false;
        }
        return true;
    }

    bool Decode(pugi::xml_node text, Failure& f) {
        char* v = const_cast<char*>(text.value());
        if (!std::strchr(v, '&')) return true;
        return DecodeText(v, f, [&](const char* decoded) { return text.set_value(decoded); });
    }

    // Decodes in place when the text lies in the parsed source (it always
    // does after an in-place parse), else through a copy.
    template <class Set>
    bool DecodeText(char* v, Failure& f, Set&& set) {
        if (v >= begin_ && v < end_) {
            if (char* bad = DecodeReferences(v)) return Fail(f, "Invalid or undefined entity reference", bad);
            return true;
        }
        std::string copy(v);
        if (char* bad = DecodeReferences(copy.data())) {
            (void)bad;
            return Fail(f, "Invalid or undefined entity reference", v);
        }
        if (!set(copy.c_str())) throw std::bad_alloc();
        return true;
    }

    char* begin_;
    char* end_;
    std::vector<const char*> names_;
};

void Locate(std::u16string_view text, std::size_t index, ParseErrorInfo& e) {
    if (index > text.size()) index = text.size();
    std::size_t line = 1, lineStart = 0;
    for (std::size_t i = 0; i < index; ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++line;
            lineStart = i + 1;
        }
    }
    std::size_t lineEnd = lineStart;
    while (lineEnd < text.size() && text[lineEnd] != u'\n' && text[lineEnd] != u'\r' && lineEnd - lineStart < 4096)
        ++lineEnd;
    e.line = static_cast<LONG>(line);
    e.linepos = static_cast<LONG>(index - lineStart + 1);
    e.filepos = static_cast<LONG>(index);
    e.srcText.assign(text.substr(lineStart, lineEnd - lineStart));
}

void Report(std::u16string_view text, std::size_t index, const char* reason, ParseErrorInfo& e) {
    e = ParseErrorInfo{};
    e.errorCode = kParseFailed;
    BSTR b = BstrFromUtf8(reason);
    if (b) e.reason.assign(View(b));
    SysFreeString(b);
    Locate(text, index, e);
}

}  // namespace

bool ParseXml(std::u16string_view text, bool preserveWhiteSpace, Tree& into, ParseErrorInfo& error) {
    error = ParseErrorInfo{};
    ParseSource src;
    std::size_t bad = 0;
    if (!Utf8ForParse(text, src, bad)) {
        Report(text, bad, "Invalid character in the text", error);
        return false;
    }
    unsigned flags = pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol | pugi::parse_declaration |
                     pugi::parse_pi | pugi::parse_comments | pugi::parse_doctype | pugi::parse_fragment;
    if (preserveWhiteSpace) flags |= pugi::parse_ws_pcdata;
    const bool decodeHere = !src.referencesGood;
    if (!decodeHere) flags |= pugi::parse_escapes;
    char* const bytes = src.bytes.get();
    pugi::xml_parse_result r = into.doc.load_buffer_inplace(bytes, src.size, flags, pugi::encoding_utf8);
    if (!r) {
        std::size_t at = Utf16IndexOfUtf8Offset(text, src.skipped, static_cast<std::size_t>(r.offset));
        Report(text, at, r.description(), error);
        return false;
    }
    into.source = std::move(src.bytes);
    Failure f;
    if (!Checker(bytes, src.size).Check(into.doc, preserveWhiteSpace, decodeHere, f)) {
        Report(text, Utf16IndexOfUtf8Offset(text, src.skipped, f.offset), f.reason, error);
        return false;
    }
    return true;
}

}  // namespace orv::dom
