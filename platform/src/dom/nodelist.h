// The collections of the DOM service: node lists, the attribute map and the
// parse error report.
#pragma once

#include "domnode.h"

#include <vector>

namespace orv::dom {

// A fixed list (selectNodes, getElementsByTagName). Takes over the references
// in `nodes`.
HRESULT NewSnapshotList(std::vector<DomNode*>&& nodes, IXMLDOMNodeList** out);
// The live list of parent's children (childNodes).
HRESULT NewChildList(DomNode* parent, IXMLDOMNodeList** out);
// The live map of an element's attributes.
HRESULT NewAttributeMap(DomNode* element, IXMLDOMNamedNodeMap** out);
// A report of what the last load found.
HRESULT NewParseError(const ParseErrorInfo& info, IXMLDOMParseError** out);

// Appends the serialised form of a node (get_xml), UTF-8. With keepEncoding
// the XML declaration keeps its encoding pseudo-attribute (save to a file,
// which is written in that encoding).
void Serialize(DomDoc& d, const DomNode& node, std::string& out, bool keepEncoding = false);

}  // namespace orv::dom
