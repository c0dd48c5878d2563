// The value elements of the sick-leave protocol and its items: every value
// is an empty element named after the field whose attribute "VAL" holds the
// value as text, <BLUSEDDAYS VAL="12"/>.
//
// Writing hands the DOM a variant of the value's own type (CY as VT_CY, LONG
// as VT_I4, SHORT as VT_I2 for the booleans, double as VT_R8 for dates and
// fractions, text as it is), so the text is the platform's variant
// conversion. Reading takes the first child element of that name and reads
// its "VAL" with the library's lenient readers; a missing element or a
// missing "VAL" reads as the number 0 (for a text: "0"). A boolean is true
// when the number read is not 0; it is kept as VARIANT_TRUE.
//
// A failing DOM call raises with orv::Check.
#pragma once

#include "frame/com.h"
#include "frame/values.h"

#include <orvdocs/platform/msxml.h>

#include <span>
#include <string>
#include <variant>

namespace orv::blvalues {

// A value of one of the five kinds a value element carries.
using Value = std::variant<CY, LONG, SHORT, double, std::u16string>;

// Appends <name VAL="..."/> to parent.
void Write(IXMLDOMDocument* xml, IXMLDOMElement* parent, const OLECHAR* name, const Value& value);
// Reads the value of the first child element of parent called name into
// value, whose held kind says how the text is read.
void Read(IXMLDOMElement* parent, const OLECHAR* name, Value& value);
// The same from the value element itself (null: missing).
void ReadFrom(IXMLDOMElement* element, Value& value);

// ------------------------------------------- values behind an interface

template <class M>
struct MemberArg;
template <class I, class A>
struct MemberArg<HRESULT (I::*)(A)> {
    using type = A;
};

// A property of interface I holding a value of type T, by its get and put.
template <class I, class T>
struct Property {
    HRESULT (I::*get)(T*);
    HRESULT (I::*put)(T);
};

template <class I>
struct PropertyElement {
    const OLECHAR* name;
    std::variant<Property<I, CY>, Property<I, LONG>, Property<I, double>> property;
};

// One element per property, in table order, each holding what the get gives.
// A failing get raises with iid.
template <class I>
void WriteProperties(IXMLDOMDocument* xml, IXMLDOMElement* parent, I* object,
                     std::span<const PropertyElement<I>> table, REFIID iid) {
    for (const PropertyElement<I>& field : table) {
        std::visit(
            [&](const auto& p) {
                using T = std::remove_pointer_t<typename MemberArg<decltype(p.get)>::type>;
                T value{};
                Check((object->*p.get)(&value), iid);
                Write(xml, parent, field.name, Value(value));
            },
            field.property);
    }
}

// Every property put from its element (a missing one puts 0). A failing put
// raises with iid.
template <class I>
void ReadProperties(IXMLDOMElement* parent, I* object, std::span<const PropertyElement<I>> table, REFIID iid) {
    for (const PropertyElement<I>& field : table) {
        std::visit(
            [&](const auto& p) {
                using T = typename MemberArg<decltype(p.put)>::type;
                Value value{T{}};
                Read(parent, field.name, value);
                Check((object->*p.put)(std::get<T>(value)), iid);
            },
            field.property);
    }
}

}  // namespace orv::blvalues
