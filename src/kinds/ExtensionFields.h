// Fields of the extension kinds: reading and writing them in the kind's XML
// tree, and the property bodies most kinds share.
//
// Attribute values are written as variants of the field's own type (texts as
// they are, LONG as VT_I4, doubles and dates as VT_R8) and read back by the
// lenient readers; an absent attribute reads as 0 or as the empty text. A
// failing DOM call raises with orv::Check, so a member ends with its status.
//
// AttributeKind is the base of a kind whose fields are a fixed list of texts
// and dates, each kept in one attribute of the root: the kind names its
// attributes once in a table and its properties forward to GetText / PutText /
// GetDate / PutDate with the field's position in that table.
#pragma once

#include "kinds/KindBase.h"

#include <orvdocs/platform/strings.h>

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv::ext {

// ------------------------------------------------------------ attributes

std::u16string ReadText(IXMLDOMElement* element, const OLECHAR* name);
double ReadDouble(IXMLDOMElement* element, const OLECHAR* name);  // dates too
LONG ReadLong(IXMLDOMElement* element, const OLECHAR* name);

void WriteText(IXMLDOMElement* element, const OLECHAR* name, std::u16string_view text);
void WriteDouble(IXMLDOMElement* element, const OLECHAR* name, double value);  // VT_R8
void WriteLong(IXMLDOMElement* element, const OLECHAR* name, LONG value);      // VT_I4

// ------------------------------------------------------------- elements

// The child elements of parent named name, in document order.
std::vector<ComPtr<IXMLDOMElement>> ChildElements(IXMLDOMElement* parent, const OLECHAR* name);
// The first child element of parent named name, or null.
ComPtr<IXMLDOMElement> ChildElement(IXMLDOMElement* parent, const OLECHAR* name);
// A new element named name, appended to parent.
ComPtr<IXMLDOMElement> AppendElement(IXMLDOMDocument* xml, IXMLDOMElement* parent, const OLECHAR* name);

// The element's text content read as a number by the lenient double reader.
double ReadElementNumber(IXMLDOMElement* element);
// Sets the element's text content to the number's text, in the form a VT_R8
// attribute takes.
void WriteElementNumber(IXMLDOMElement* element, double value);

// ------------------------------------------------------ property values

// A text held by a field: the BSTR's characters (a null BSTR is empty).
inline std::u16string TextOf(BSTR text) { return text ? std::u16string(text, SysStringLen(text)) : std::u16string(); }
// A new BSTR with the text; never null, so an empty field reads as "".
HRESULT CopyText(std::u16string_view text, BSTR* out) noexcept;

// ------------------------------------------------------ attribute tables

enum class FieldType : unsigned char { Text, Date };

struct AttributeField {
    const OLECHAR* name;
    FieldType type;
};

struct FieldValue {
    std::u16string text;
    DATE date = 0.0;
};

// Whether empty texts and zero dates are written at all.
enum class EmptyFields : unsigned char { Written, Omitted };

// Every field from its attribute (absent: empty or 0.0).
void DecodeAttributes(IXMLDOMElement* root, std::span<const AttributeField> fields, FieldValue* values);
// Every field into its attribute, in table order.
void EncodeAttributes(IXMLDOMElement* root, std::span<const AttributeField> fields, const FieldValue* values,
                      EmptyFields empty);

}  // namespace orv::ext

namespace orv {

// An extension kind whose fields are the attributes listed in Fields. The
// derived class gives kRoot and kEmptyFields.
template <class Derived, const CLSID* Clsid, const auto& Fields, class... Entries>
class AttributeKind : public ExtensionKind<Derived, Clsid, Entries...> {
public:
    void Decode(IXMLDOMElement* root) { ext::DecodeAttributes(root, Fields, values_.data()); }
    void Encode(IXMLDOMDocument*, IXMLDOMElement* root) {
        ext::EncodeAttributes(root, Fields, values_.data(), Derived::kEmptyFields);
    }

protected:
    HRESULT GetText(std::size_t field, BSTR* pVal) {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        return this->Locked([&] { return ext::CopyText(values_[field].text, pVal); });
    }
    HRESULT PutText(std::size_t field, BSTR newVal) {
        return this->Locked([&] {
            values_[field].text = ext::TextOf(newVal);
            return S_OK;
        });
    }
    HRESULT GetDate(std::size_t field, DATE* pVal) {
        if (!pVal) return E_POINTER;
        return this->Locked([&] {
            *pVal = values_[field].date;
            return S_OK;
        });
    }
    HRESULT PutDate(std::size_t field, DATE newVal) {
        return this->Locked([&] {
            values_[field].date = newVal;
            return S_OK;
        });
    }

    std::array<ext::FieldValue, std::size(Fields)> values_{};
};

}  // namespace orv
