#include "host/OrvSumCollector.h"

#include "xml/attributes.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

#include <limits>
#include <string>

namespace orv::host {
namespace {

constexpr const char16_t* kElement = u"SMS";

// "SUM" for index 0, "SUM1", "SUM2", ... after it.
std::u16string SumName(std::size_t index) {
    std::u16string name = u"SUM";
    if (index > 0) {
        const std::string digits = std::to_string(index);
        name.append(digits.begin(), digits.end());
    }
    return name;
}

HRESULT AsElement(IUnknown* node, ComPtr<IXMLDOMElement>* element) {
    return node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element->ReleaseAndGetAddressOf()));
}

// A currency amount from its text by the platform's locale-free conversion.
HRESULT ParseAmount(std::u16string_view text, CY* out) {
    Variant v(text);
    HRESULT hr = VariantChangeType(&v, &v, 0, VT_CY);
    if (FAILED(hr)) return hr;
    *out = v.cyVal;
    return S_OK;
}

HRESULT CreateDom(ComPtr<IXMLDOMDocument>* doc) {
    return CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                            reinterpret_cast<void**>(doc->ReleaseAndGetAddressOf()));
}

}  // namespace

HRESULT OrvSumCollector::get_Id(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = id_;
        return S_OK;
    });
}

HRESULT OrvSumCollector::put_Id(LONG newVal) {
    return Locked([&] {
        id_ = newVal;
        return S_OK;
    });
}

HRESULT OrvSumCollector::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(sums_.size());
        return S_OK;
    });
}

HRESULT OrvSumCollector::get_Sum(LONG lIndex, CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    if (lIndex < 0 || lIndex >= kMaxSums) return E_INVALIDARG;
    return Locked([&] {
        if (static_cast<std::size_t>(lIndex) >= sums_.size()) return S_FALSE;
        *pVal = sums_[static_cast<std::size_t>(lIndex)];
        return S_OK;
    });
}

HRESULT OrvSumCollector::put_Sum(LONG lIndex, CY newVal) {
    if (lIndex < 0 || lIndex >= kMaxSums) return E_INVALIDARG;
    return Locked([&] {
        const auto index = static_cast<std::size_t>(lIndex);
        if (index >= sums_.size()) sums_.resize(index + 1, CY{});
        sums_[index] = newVal;
        return S_OK;
    });
}

HRESULT OrvSumCollector::get_Total(CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    return Locked([&] {
        LONGLONG total = 0;
        for (const CY& s : sums_) {
            if (__builtin_add_overflow(total, s.int64, &total)) return DISP_E_OVERFLOW;
        }
        pVal->int64 = total;
        return S_OK;
    });
}

HRESULT OrvSumCollector::Clear() {
    return Locked([&] {
        sums_.clear();
        return S_OK;
    });
}

HRESULT OrvSumCollector::Clone(IUnknown** ppunkCopy) {
    if (!ppunkCopy) return E_POINTER;
    *ppunkCopy = nullptr;
    return Locked([&] {
        ComPtr<IUnknown> unknown;
        OrvSumCollector* copy = nullptr;
        HRESULT hr = CreateObjectWithAccess<OrvSumCollector>(&unknown, &copy);
        if (FAILED(hr)) return hr;
        copy->id_ = id_;
        copy->sums_ = sums_;
        *ppunkCopy = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvSumCollector::get_ShortString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        std::u16string text;
        for (std::size_t i = 0; i < sums_.size(); ++i) {
            if (i > 0) text += u';';
            Variant v;
            v.vt = VT_CY;
            v.cyVal = sums_[i];
            Check(VariantChangeType(&v, &v, 0, VT_BSTR));
            text.append(v.bstrVal, SysStringLen(v.bstrVal));
        }
        *pVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvSumCollector::put_ShortString(BSTR newVal) {
    const std::u16string_view text = newVal ? std::u16string_view(newVal, SysStringLen(newVal)) : u"";
    return Locked([&] {
        std::vector<CY> sums;
        if (!text.empty()) {
            std::size_t start = 0;
            for (;;) {
                const std::size_t end = text.find(u';', start);
                if (sums.size() >= static_cast<std::size_t>(kMaxSums)) return E_INVALIDARG;
                CY amount{};
                HRESULT hr = ParseAmount(text.substr(start, end == text.npos ? text.npos : end - start), &amount);
                if (FAILED(hr)) return hr;
                sums.push_back(amount);
                if (end == text.npos) break;
                start = end + 1;
            }
        }
        sums_ = std::move(sums);
        return S_OK;
    });
}

HRESULT OrvSumCollector::ParseIn(IUnknown* spRoot, LONG) {
    if (!spRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMElement> e;
        Check(AsElement(spRoot, &e), IID_IXMLDOMElement);
        Variant present;
        Check(e->getAttribute(Bstr(u"ID"), present.Out()), IID_IXMLDOMElement);
        if (present.vt == VT_NULL || present.vt == VT_EMPTY) Check(SetAttribute(e.Get(), u"ID", id_), IID_IXMLDOMElement);
        for (std::size_t i = 0; i < sums_.size(); ++i)
            Check(SetAttribute(e.Get(), SumName(i).c_str(), sums_[i]), IID_IXMLDOMElement);
        return S_OK;
    });
}

HRESULT OrvSumCollector::ParseFrom(IUnknown* pRoot, LONG) {
    if (!pRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMElement> e;
        Check(AsElement(pRoot, &e), IID_IXMLDOMElement);
        LONG id = 0;
        const bool hasId = Check(GetAttributeLong(e.Get(), u"ID", &id), IID_IXMLDOMElement) == S_OK;
        std::vector<CY> sums;
        for (std::size_t i = 0; i < static_cast<std::size_t>(kMaxSums); ++i) {
            CY amount{};
            if (Check(GetAttributeCurrency(e.Get(), SumName(i).c_str(), &amount), IID_IXMLDOMElement) != S_OK) break;
            sums.push_back(amount);
        }
        if (hasId) id_ = id;
        sums_ = std::move(sums);
        return S_OK;
    });
}

HRESULT OrvSumCollector::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Guarded([&] {
        ComPtr<IXMLDOMDocument> doc;
        Check(CreateDom(&doc), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMElement> root;
        Check(doc->createElement(Bstr(kElement), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(doc->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        Check(ParseIn(root.Get(), 0), IID_IOrvObjAsXmlString);
        Check(root->get_xml(pVal), IID_IXMLDOMElement);
        return S_OK;
    });
}

HRESULT OrvSumCollector::put_FullString(BSTR newVal) {
    return Guarded([&] {
        ComPtr<IXMLDOMDocument> doc;
        Check(CreateDom(&doc), IID_IXMLDOMDocument);
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(doc->loadXML(newVal, &ok), IID_IXMLDOMDocument);
        if (ok != VARIANT_TRUE) return E_INVALIDARG;
        ComPtr<IXMLDOMElement> root;
        if (Check(doc->get_documentElement(root.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !root)
            return E_INVALIDARG;
        Bstr name;
        Check(root->get_tagName(name.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
        if (name.View() != kElement) return E_INVALIDARG;
        return ParseFrom(root.Get(), 0);
    });
}

}  // namespace orv::host
