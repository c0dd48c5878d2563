// The collections of the DOM service: node lists, the attribute map and the
// parse error report.
#pragma once

#include "domnode.h"

#include <vector>

namespace orv::dom {

// A fixed list (selectNodes, getElementsByTagName). Takes over the references
// in `nodes`.
HRESULT NewSnapshotList(std::vector<DomNode*>&& nodes, IXMLDOMNodeList** out);
// The result of selectNodes: the nodes found from `context` in document d
// (locked by the caller), given node objects as they are asked for. Until then
// the list is pending with d, which has it pin its nodes before any change
// that would free or move them.
HRESULT NewSelectionList(DomNode* context, DomDoc& d, std::vector<pugi::xpath_node>&& found, IXMLDOMNodeList** out);
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
// The serialised form as a new BSTR (get_xml); throws std::bad_alloc.
BSTR SerializeToBstr(DomDoc& d, const DomNode& node);

}  // namespace orv::dom
