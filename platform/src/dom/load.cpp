// Reading XML text into a tree (loadXML).
//
// pugixml parses; it is lenient where XML is strict, so every document is
// checked on the way:
//  - the text is converted to UTF-8 first, refusing characters XML forbids;
//  - one pass over the UTF-8 text (wellformed.cpp) checks the rules pugixml
//    lets pass: names, the XML declaration, comments, "]]>" in text, '<' in
//    attribute values, references, white space in tags, attributes given
//    twice. After it every reference in text and attribute values is known to
//    be good, so pugixml decodes them;
//  - parse_fragment keeps text outside the top element and a second top
//    element, which a document may not have: the top level is checked after
//    the parse (it is short).
// A document with a DOCTYPE may declare entities and attribute defaults and
// has the rules of its declarations: it is read by libxml2 first
// (fullparse.cpp), and what libxml2 makes of it is parsed as above.
// The source text is parsed in place and kept with the tree.
#include "load.h"

#include "domutil.h"
#include "fullparse.h"
#include "textconv.h"
#include "wellformed.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>
#include <string>

namespace orv::dom {

namespace {

bool IsBlankText(const char* s) {
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t' && *s != '\r' && *s != '\n') return false;
    return true;
}

struct Failure {
    const char* reason = nullptr;
    std::size_t offset = 0;  // byte offset in the UTF-8 source
};

class Checker {
public:
    Checker(char* begin, std::size_t size) : begin_(begin), end_(begin + size) {}

    bool Check(pugi::xml_node root, bool preserveWhiteSpace, Failure& f) {
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
                    if (preserveWhiteSpace && IsBlankText(c.value())) {
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

private:
    std::size_t OffsetOf(const char* p) const {
        return p >= begin_ && p < end_ ? static_cast<std::size_t>(p - begin_) : 0;
    }
    bool Fail(Failure& f, const char* reason, const char* at) {
        f.reason = reason;
        f.offset = OffsetOf(at);
        return false;
    }
    char* begin_;
    char* end_;
};

// Drops the text nodes inside elements that hold nothing but white space.
// pugixml drops white space between tags as it reads, but it tells white space
// by the text as written, so "<a>&#9;</a>" kept a tab that the written form
// ("<a>\t</a>") then lost on the next load. Needed only where a reference to
// a white-space character was seen.
void DropBlankText(pugi::xml_node root) {
    for (pugi::xml_node top = root.first_child(); top; top = top.next_sibling()) {
        if (top.type() != pugi::node_element) continue;
        pugi::xml_node n = top.first_child();
        while (n) {
            pugi::xml_node next;
            if (n.first_child()) {
                next = n.first_child();
            } else {
                for (pugi::xml_node up = n; up && up != top; up = up.parent())
                    if ((next = up.next_sibling())) break;
            }
            if (n.type() == pugi::node_pcdata && IsBlankText(n.value())) n.parent().remove_child(n);
            n = next;
        }
    }
}

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

// A fault the full processor found, at a line and column.
void ReportAtLine(std::u16string_view text, std::size_t skipped, const FullParseError& fe, ParseErrorInfo& e) {
    std::size_t i = skipped, line = 1;
    while (i < text.size() && line < static_cast<std::size_t>(fe.line)) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) ++line;
        ++i;
    }
    for (int col = 1; col < fe.column && i < text.size() && text[i] != u'\n' && text[i] != u'\r'; ++col) ++i;
    Report(text, i, fe.reason.c_str(), e);
}

}  // namespace

void ReportParseFailure(std::u16string_view text, std::size_t index, const char* reason, ParseErrorInfo& error) {
    Report(text, index, reason, error);
}

bool ParseXml(std::u16string_view text, bool preserveWhiteSpace, Tree& into, ParseErrorInfo& error) {
    error = ParseErrorInfo{};
    ParseSource src;
    std::size_t bad = 0;
    if (!Utf8ForParse(text, src, bad)) {
        Report(text, bad, "Invalid character in the text", error);
        return false;
    }
    WellFormedness wf;
    if (!CheckWellFormed(src.bytes.get(), src.size, wf)) {
        Report(text, Utf16IndexOfUtf8Offset(text, src.skipped, wf.offset), wf.reason, error);
        return false;
    }
    // Offsets of later faults are in the text pugixml parses; for a document
    // read by the full processor that is its output, so they point at the start.
    bool mapped = true;
    if (wf.hasDoctype) {
        std::string expanded;
        FullParseError fe;
        if (!ReadWithDoctype(src.bytes.get(), src.size, expanded, fe)) {
            ReportAtLine(text, src.skipped, fe, error);
            return false;
        }
        std::unique_ptr<char[]> copy(new char[expanded.size() + 1]);
        std::memcpy(copy.get(), expanded.c_str(), expanded.size() + 1);
        src.bytes = std::move(copy);
        src.size = expanded.size();
        mapped = false;
    }
    unsigned flags = pugi::parse_cdata | pugi::parse_wconv_attribute | pugi::parse_eol | pugi::parse_declaration |
                     pugi::parse_pi | pugi::parse_comments | pugi::parse_doctype | pugi::parse_fragment |
                     pugi::parse_escapes;
    if (preserveWhiteSpace) flags |= pugi::parse_ws_pcdata;
    char* const bytes = src.bytes.get();
    pugi::xml_parse_result r = into.doc.load_buffer_inplace(bytes, src.size, flags, pugi::encoding_utf8);
    if (r.status == pugi::status_out_of_memory) throw std::bad_alloc();  // not a fault of the text
    if (!r) {
        std::size_t at = mapped ? Utf16IndexOfUtf8Offset(text, src.skipped, static_cast<std::size_t>(r.offset)) : 0;
        Report(text, at, r.description(), error);
        return false;
    }
    into.source = std::move(src.bytes);
    into.sourceSize = src.size;
    Failure f;
    if (!Checker(bytes, src.size).Check(into.doc, preserveWhiteSpace, f)) {
        Report(text, mapped ? Utf16IndexOfUtf8Offset(text, src.skipped, f.offset) : 0, f.reason, error);
        return false;
    }
    if (!preserveWhiteSpace && (wf.whiteSpaceReference || wf.hasDoctype)) DropBlankText(into.doc);
    return true;
}

}  // namespace orv::dom
