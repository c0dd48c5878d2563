// The average-earnings protocol that several kinds keep under "MAINPROT" in
// their extension: the sick-leave protocol object in its "BLPR5" form. This
// is the one place where those kinds create a protocol object and turn one
// into text and back.
#pragma once

#include "frame/com.h"

#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

#include <string_view>

namespace orv::avgprot {

// A new protocol object carrying the access type. A non-empty text becomes
// its FullString (the protocol reads its fields and lists from it). Raises
// with the protocol's status when it refuses the text.
ComPtr<IDispatch> NewProtocol(LONG accessType, std::u16string_view text);

// The text of a protocol object for storing: its OriginatorType becomes
// originatorType, then its FullString is taken. Answers false, and does
// nothing, when the object is null or answers no IOrvBLDocProtocol.
bool TakeText(IUnknown* protocol, LONG originatorType, Bstr* text);

// Loads text into a separate document and appends its top-level nodes to
// parent: all of them in order, or only the first one that is not a
// processing instruction (the XML declaration is passed over). A text that
// does not parse appends nothing.
enum class Nodes : unsigned char { All, First };
void AppendText(IXMLDOMElement* parent, std::u16string_view text, Nodes which);

// The xml text of the node at path in xml, or an empty string when absent.
Bstr NodeText(IXMLDOMNode* context, const char16_t* path);

}  // namespace orv::avgprot
