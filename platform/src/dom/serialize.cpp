// The written form of nodes and documents (get_xml).
//
// pugixml writes each node with format_raw: no indentation, no line breaks,
// attributes in the order they were set, empty elements as <a/>, and &, <, >
// escaped in text (and " in attribute values). The XML declaration is written
// here: the text handed out is UTF-16, so an encoding named in the declaration
// would no longer describe it and is left out.
#include "domnode.h"
#include "domutil.h"
#include "nodelist.h"

#include <cstring>

namespace orv::dom {

namespace {

struct StringWriter final : pugi::xml_writer {
    explicit StringWriter(std::string& s) : out(s) {}
    void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
    std::string& out;
};

void AppendDeclaration(std::string& out, pugi::xml_node decl, bool keepEncoding) {
    out += "<?xml";
    for (pugi::xml_attribute a = decl.first_attribute(); a; a = a.next_attribute()) {
        if (!keepEncoding && std::strcmp(a.name(), "encoding") == 0) continue;
        out += ' ';
        out += a.name();
        out += "=\"";
        AppendEscapedAttribute(out, a.value());
        out += '"';
    }
    out += "?>";
}

void AppendNode(std::string& out, pugi::xml_node n, bool keepEncoding = false) {
    if (n.type() == pugi::node_declaration) {
        AppendDeclaration(out, n, keepEncoding);
        return;
    }
    StringWriter w(out);
    n.print(w, "", pugi::format_raw, pugi::encoding_utf8);
}

// pugixml writes a control character as a two-digit character reference
// ("&#03;"); XML allows references only to tab, line feed and carriage return,
// so any other would make the text unreadable, here and everywhere else. Such
// a character (put by a host; a load never yields one) is written as U+FFFD
// instead, and so is one written as it is, in a comment, a CDATA section or a
// processing instruction. A "&#" in the written text comes only from pugixml's references:
// an ampersand of the text itself is written as "&amp;".
void ReplaceControlReferences(std::string& out, std::size_t from) {
    std::size_t w = from;
    for (std::size_t r = from; r < out.size();) {
        if (out[r] == '&' && r + 4 < out.size() && out[r + 1] == '#' && out[r + 4] == ';' && out[r + 2] >= '0' &&
            out[r + 2] <= '3' && out[r + 3] >= '0' && out[r + 3] <= '9') {
            const int code = (out[r + 2] - '0') * 10 + (out[r + 3] - '0');
            if (code != 9 && code != 10 && code != 13) {
                out[w++] = '\xEF';
                out[w++] = '\xBF';
                out[w++] = '\xBD';
                r += 5;
                continue;
            }
        }
        const auto u = static_cast<unsigned char>(out[r]);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') {
            // Written as it is (comments, CDATA sections, processing instructions).
            out.replace(w, 1, "\xEF\xBF\xBD");  // w <= r: grows the text by two bytes
            r += 3;
            w += 3;
            continue;
        }
        out[w++] = out[r++];
    }
    out.resize(w);
}

}  // namespace

static void SerializeRaw(DomDoc& d, const DomNode& node, std::string& out, bool keepEncoding) {
    switch (node.Kind()) {
        case NodeKind::Document:
            for (pugi::xml_node c = d.MainRoot().first_child(); c; c = c.next_sibling()) AppendNode(out, c, keepEncoding);
            break;
        case NodeKind::Attribute:
            out += node.Attr().name();
            out += "=\"";
            AppendEscapedAttribute(out, node.Attr().value());
            out += '"';
            break;
        case NodeKind::Node:
            AppendNode(out, node.Node(d));
            break;
    }
}

void Serialize(DomDoc& d, const DomNode& node, std::string& out, bool keepEncoding) {
    const std::size_t start = out.size();
    SerializeRaw(d, node, out, keepEncoding);
    if (d.controlChars) ReplaceControlReferences(out, start);
}

}  // namespace orv::dom
