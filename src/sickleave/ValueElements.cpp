#include "sickleave/ValueElements.h"

#include "kinds/ExtensionFields.h"
#include "xml/attributes.h"
#include "xml/lenient.h"

namespace orv::blvalues {
namespace {

constexpr const OLECHAR* kVal = u"VAL";

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

void Write(IXMLDOMDocument* xml, IXMLDOMElement* parent, const OLECHAR* name, const Value& value) {
    ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, parent, name);
    HRESULT hr = std::visit(
        Overloaded{[&](const std::u16string& text) { return SetAttribute(element.Get(), kVal, std::u16string_view(text)); },
                   [&](const auto& number) { return SetAttribute(element.Get(), kVal, number); }},
        value);
    Check(hr, IID_IXMLDOMElement);
}

void Read(IXMLDOMElement* parent, const OLECHAR* name, Value& value) {
    ReadFrom(ext::ChildElement(parent, name).Get(), value);
}

void ReadFrom(IXMLDOMElement* element, Value& value) {
    std::visit(Overloaded{[&](CY& v) {
                              v = MakeCurrency(0);
                              if (element) Check(GetAttributeCurrency(element, kVal, &v), IID_IXMLDOMElement);
                          },
                          [&](LONG& v) {
                              v = 0;
                              if (element) Check(GetAttributeLong(element, kVal, &v), IID_IXMLDOMElement);
                          },
                          [&](SHORT& v) {
                              LONG number = 0;
                              if (element) Check(GetAttributeLong(element, kVal, &number), IID_IXMLDOMElement);
                              v = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
                          },
                          [&](double& v) {
                              v = 0.0;
                              if (element) Check(GetAttributeDouble(element, kVal, &v), IID_IXMLDOMElement);
                          },
                          [&](std::u16string& v) {
                              Bstr text;
                              HRESULT hr = S_FALSE;
                              if (element)
                                  hr = Check(GetAttributeText(element, kVal, text.ReleaseAndGetAddressOf()),
                                             IID_IXMLDOMElement);
                              v = hr == S_OK ? std::u16string(text.View()) : std::u16string(u"0");
                          }},
               value);
}

}  // namespace orv::blvalues
