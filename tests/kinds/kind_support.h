// Shared helpers of the specific-kind tests: documents with and without an
// extension, the extension body as text, and a look into the written tree.
#pragma once

#include "kinds/SpecificObject.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace kinds_test {

// A generic document of the given type code (0: no type).
orv::ComPtr<IOrvDocument> NewDocument(LONG typeCode = 0);
// A document that answers no IOrvDocExtension.
orv::ComPtr<IOrvDocument> NewDocumentWithoutExtension();
// A document whose extension fails every call with hr.
orv::ComPtr<IOrvDocument> NewDocumentWithFailingExtension(HRESULT hr);

// The extension's body as UTF-16 text, and a new body (its length in bytes).
void SetBody(IOrvDocument* doc, std::u16string_view xml);
std::u16string Body(IOrvDocument* doc);
LONG BodyLength(IOrvDocument* doc);

// A specific object of class T on the document, asked for interface I.
template <class T, class I>
orv::ComPtr<I> NewKind(IOrvDocument* doc) {
    orv::ComPtr<IUnknown> unknown;
    EXPECT_EQ(orv::CreateSpecific<T>(doc, unknown.GetAddressOf()), S_OK);
    orv::ComPtr<I> itf;
    if (unknown) {
        EXPECT_EQ(unknown.As(&itf), S_OK);
    }
    return itf;
}

// The body parsed on its own; null (and a test failure) when it does not
// parse or its top element is not named root.
orv::ComPtr<IXMLDOMElement> BodyRoot(IOrvDocument* doc, std::u16string_view root);
// An attribute's text, or nothing when absent.
std::optional<std::u16string> Attr(IXMLDOMElement* element, const char16_t* name);
// The written form of a node.
std::u16string Xml(IXMLDOMNode* node);

// The text of a BSTR out-argument, freed.
std::u16string Take(BSTR text);
std::string Utf8(std::u16string_view text);

}  // namespace kinds_test
