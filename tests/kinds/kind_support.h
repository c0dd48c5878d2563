// Helpers of the pattern-kind tests, on top of kinds_test_util.h: the
// extension body as text, and a look into the tree a kind wrote.
#pragma once

#include "kinds_test_util.h"

#include <optional>
#include <string>
#include <string_view>

namespace kinds_test {

// A generic document of the given type code (0: no type), and one that
// answers no IOrvDocExtension.
inline orv::ComPtr<IOrvDocument> NewDocument(SHORT typeCode = 0) { return kindtest::NewDocument(typeCode); }
orv::ComPtr<IOrvDocument> NewDocumentWithoutExtension();

// A specific object of class T on the document, asked for interface I.
template <class T, class I>
orv::ComPtr<I> NewKind(IOrvDocument* doc) {
    return kindtest::Attach<T, I>(doc);
}

// The extension's body as UTF-16 text, and a new body (an empty text clears it).
void SetBody(IOrvDocument* doc, std::u16string_view xml);
std::u16string Body(IOrvDocument* doc);
LONG BodyLength(IOrvDocument* doc);

// The body parsed on its own; null (and a test failure) when it does not
// parse or its top element is not named root.
orv::ComPtr<IXMLDOMElement> BodyRoot(IOrvDocument* doc, std::u16string_view root);
// The written form of the body's root (empty when BodyRoot fails).
std::u16string RootXml(IOrvDocument* doc, std::u16string_view root);
// An attribute's text, or nothing when absent.
std::optional<std::u16string> Attr(IXMLDOMElement* element, const char16_t* name);

// The text of a BSTR out-argument, freed.
std::u16string Take(BSTR text);
std::string Utf8(std::u16string_view text);

}  // namespace kinds_test
