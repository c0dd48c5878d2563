// The well-formedness rules of XML 1.0 that pugixml does not check, checked
// in one pass over the UTF-8 text before pugixml parses it.
#pragma once

#include <cstddef>

namespace orv::dom {

struct WellFormedness {
    const char* reason = nullptr;  // null: nothing found
    std::size_t offset = 0;        // byte offset of the fault in the text
    bool hasDoctype = false;       // the text has a document type declaration: not checked further
    bool whiteSpaceReference = false;  // character data holds a reference to a white-space character
};

// Scans `size` bytes of UTF-8 text (NUL-terminated; the characters themselves
// are already known to be ones XML allows). Checks, outside a DOCTYPE:
//  - the XML declaration: only at the very start, its pseudo-attributes in
//    order (version, then encoding, then standalone), with their value syntax;
//  - names of elements, attributes and processing instruction targets (the
//    NameStartChar/NameChar classes), and no processing instruction named
//    "xml" in any case other than the declaration;
//  - white space between attributes, '=' and quotes, no '<' in an attribute
//    value, no attribute twice in one tag, end tags of a name and white space;
//  - comments without "--" inside (and not ending in "--->"), closed CDATA
//    sections, no "]]>" in text;
//  - every reference in text or an attribute value well-formed: a character
//    reference to a character XML allows, or one of lt, gt, amp, quot, apos;
//  - no markup declaration ("<!...") other than a comment, a CDATA section or
//    the DOCTYPE.
// What pugixml itself refuses (unclosed or crossed tags, truncated text) is
// left to it. Stops at a DOCTYPE: such a document is read by the full
// processor, which knows its declarations. Returns false with reason and
// offset at the first fault.
bool CheckWellFormed(const char* text, std::size_t size, WellFormedness& out);

// True for a code point of the NameStartChar (first) or NameChar class.
bool IsNameStartChar(char32_t c);
bool IsNameChar(char32_t c);

}  // namespace orv::dom
