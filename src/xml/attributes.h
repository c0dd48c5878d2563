// Typed attribute values on DOM elements.
//
// Writing hands the element a VARIANT of the value's own type (VT_I4, VT_I2,
// VT_R4, VT_R8, VT_CY or VT_BSTR); the DOM service writes it as text with the
// platform's variant conversion ("45000.75", "12.5", "-3").
//
// Reading takes the attribute's value and converts it by the lenient rules of
// xml/lenient.h. An absent attribute reads as 0 or as the empty text and the
// call answers S_FALSE; a present one answers S_OK. A failing DOM call passes
// its status on (the value is then 0 or empty). A null element or out-pointer
// gives E_POINTER.
//
// Names are taken up to their first NUL and handed to the DOM as BSTRs built
// on the stack when they are short, so typical calls allocate nothing of
// their own.
#pragma once

#include <orvdocs/platform/msxml.h>

#include <string_view>

namespace orv {

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, LONG value) noexcept;    // VT_I4
HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, SHORT value) noexcept;   // VT_I2
HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, float value) noexcept;   // VT_R4
HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, double value) noexcept;  // VT_R8
HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, CY value) noexcept;      // VT_CY
// VT_BSTR: the text as it is, embedded NULs included.
HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, std::u16string_view text) noexcept;
// Any variant, passed on unchanged.
HRESULT SetAttributeVariant(IXMLDOMElement* element, const OLECHAR* name, const VARIANT& value) noexcept;

HRESULT GetAttributeCurrency(IXMLDOMElement* element, const OLECHAR* name, CY* value) noexcept;
HRESULT GetAttributeDouble(IXMLDOMElement* element, const OLECHAR* name, double* value) noexcept;
HRESULT GetAttributeLong(IXMLDOMElement* element, const OLECHAR* name, LONG* value) noexcept;
// The text as a new BSTR; absent gives a null BSTR (the empty text).
HRESULT GetAttributeText(IXMLDOMElement* element, const OLECHAR* name, BSTR* value) noexcept;

}  // namespace orv
