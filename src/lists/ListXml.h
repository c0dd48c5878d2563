// DOM steps shared by the two lists' XML forms. Every function raises a
// failing DOM call as a ComError naming the DOM interface.
#pragma once

#include "frame/errors.h"

#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

#include <string_view>

namespace orv::lists {

// The node as an element; a null node raises E_POINTER.
ComPtr<IXMLDOMElement> AsElement(IUnknown* node);
// The document that owns the node.
ComPtr<IXMLDOMDocument> OwnerOf(IXMLDOMNode* node);
// A new element of owner's document, appended to parent.
ComPtr<IXMLDOMElement> AppendElement(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name);
// The same with a text content.
void AppendTextElement(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name, std::u16string_view text);
// Whether the node is an element with that tag name.
bool IsElementNamed(IXMLDOMNode* node, std::u16string_view name);
// The node's first child and next sibling (null at the end).
ComPtr<IXMLDOMNode> FirstChild(IXMLDOMNode* node);
ComPtr<IXMLDOMNode> NextSibling(IXMLDOMNode* node);
// The text of the first child element with that name; false without one.
bool ChildText(IXMLDOMNode* node, const OLECHAR* name, Bstr* text);

}  // namespace orv::lists
