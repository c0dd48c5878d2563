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

}  // namespace

void Serialize(DomDoc& d, const DomNode& node, std::string& out, bool keepEncoding) {
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

}  // namespace orv::dom
