#include "xml/attributes.h"

#include "xml/lenient.h"

#include <orvdocs/platform/strings.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

// A BSTR for an in-parameter: laid out on the stack (length prefix, text,
// NUL) when the text fits, on the heap otherwise. A callee must not free an
// in-parameter, so the stack form is safe to hand over.
class InBstr {
public:
    explicit InBstr(std::u16string_view text) noexcept {
        if (text.size() <= kCapacity) {
            block_.bytes = static_cast<std::uint32_t>(text.size() * sizeof(OLECHAR));
            std::memcpy(block_.text, text.data(), text.size() * sizeof(OLECHAR));
            block_.text[text.size()] = 0;
            bstr_ = block_.text;
        } else {
            heap_ = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            bstr_ = heap_;
        }
    }
    explicit InBstr(const OLECHAR* text) noexcept : InBstr(text ? std::u16string_view(text) : std::u16string_view()) {}
    ~InBstr() { SysFreeString(heap_); }
    InBstr(const InBstr&) = delete;
    InBstr& operator=(const InBstr&) = delete;

    BSTR Get() const noexcept { return bstr_; }

private:
    static constexpr std::size_t kCapacity = 63;
    struct Block {
        std::uint32_t bytes;
        OLECHAR text[kCapacity + 1];
    };
    static_assert(offsetof(Block, text) == sizeof(std::uint32_t));
    Block block_;
    BSTR heap_ = nullptr;
    BSTR bstr_ = nullptr;
};

HRESULT Put(IXMLDOMElement* element, const OLECHAR* name, const VARIANT& value) noexcept {
    if (!element || !name) return E_POINTER;
    InBstr bname(name);
    if (!bname.Get()) return E_OUTOFMEMORY;
    return element->setAttribute(bname.Get(), value);
}

// Reads the attribute's value into v (VT_NULL when absent). Returns the DOM's
// status: S_OK present, S_FALSE absent, a failure otherwise.
HRESULT Fetch(IXMLDOMElement* element, const OLECHAR* name, VARIANT& v) noexcept {
    VariantInit(&v);
    if (!element || !name) return E_POINTER;
    InBstr bname(name);
    if (!bname.Get()) return E_OUTOFMEMORY;
    HRESULT hr = element->getAttribute(bname.Get(), &v);
    if (FAILED(hr)) {
        VariantClear(&v);
        return hr;
    }
    return v.vt == VT_NULL || v.vt == VT_EMPTY ? S_FALSE : S_OK;
}

template <class T, class Convert>
HRESULT Read(IXMLDOMElement* element, const OLECHAR* name, T* out, T zero, Convert convert) noexcept {
    if (!out) return E_POINTER;
    *out = zero;
    VARIANT v;
    const HRESULT hr = Fetch(element, name, v);
    if (FAILED(hr)) return hr;
    *out = convert(v);
    VariantClear(&v);
    return hr;
}

}  // namespace

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, LONG value) noexcept {
    return Put(element, name, Variant(value));  // VT_I4
}

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, SHORT value) noexcept {
    return Put(element, name, Variant(value));  // VT_I2
}

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, float value) noexcept {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_R4;
    v.fltVal = value;
    return Put(element, name, v);
}

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, double value) noexcept {
    return Put(element, name, Variant(value));  // VT_R8
}

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, CY value) noexcept {
    return Put(element, name, Variant(value));  // VT_CY
}

HRESULT SetAttribute(IXMLDOMElement* element, const OLECHAR* name, std::u16string_view text) noexcept {
    InBstr btext(text);
    if (!btext.Get()) return E_OUTOFMEMORY;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = btext.Get();
    return Put(element, name, v);
}

HRESULT SetAttributeVariant(IXMLDOMElement* element, const OLECHAR* name, const VARIANT& value) noexcept {
    return Put(element, name, value);
}

HRESULT GetAttributeCurrency(IXMLDOMElement* element, const OLECHAR* name, CY* value) noexcept {
    CY zero{};
    return Read(element, name, value, zero, [](const VARIANT& v) { return VariantToCurrencyLenient(v); });
}

HRESULT GetAttributeDouble(IXMLDOMElement* element, const OLECHAR* name, double* value) noexcept {
    return Read(element, name, value, 0.0, [](const VARIANT& v) { return VariantToDoubleLenient(v); });
}

HRESULT GetAttributeLong(IXMLDOMElement* element, const OLECHAR* name, LONG* value) noexcept {
    return Read(element, name, value, LONG{0}, [](const VARIANT& v) { return VariantToLongLenient(v); });
}

HRESULT GetAttributeText(IXMLDOMElement* element, const OLECHAR* name, BSTR* value) noexcept {
    if (!value) return E_POINTER;
    *value = nullptr;
    VARIANT v;
    HRESULT hr = Fetch(element, name, v);
    if (hr != S_OK) return hr;  // failure, or absent: the empty text
    if (v.vt == VT_BSTR) {
        *value = v.bstrVal;  // the variant's string is handed over, not copied
        return S_OK;
    }
    VARIANT text;
    VariantInit(&text);
    hr = VariantChangeType(&text, &v, 0, VT_BSTR);
    VariantClear(&v);
    if (FAILED(hr)) return hr;
    *value = text.bstrVal;
    return S_OK;
}

}  // namespace orv
