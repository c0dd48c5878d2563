#include "kinds/OrvSRDoc.h"

namespace orv {
namespace {
constexpr const OLECHAR* kDay = u"D";
constexpr const OLECHAR* kId = u"ID";
}  // namespace

void OrvSRDoc::Decode(IXMLDOMElement* root) {
    payType_ = ext::ReadLong(root, kId);
    hours_.fill(0.0);
    for (const ComPtr<IXMLDOMElement>& day : ext::ChildElements(root, kDay)) {
        const LONG d = ext::ReadLong(day.Get(), kId);
        if (IsDay(d)) hours_[static_cast<std::size_t>(d - 1)] = ext::ReadElementNumber(day.Get());
    }
}

void OrvSRDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    ext::WriteLong(root, kId, payType_);
    for (LONG d = 1; d <= kDays; ++d) {
        const double hours = hours_[static_cast<std::size_t>(d - 1)];
        if (hours == 0.0) continue;
        ComPtr<IXMLDOMElement> day = ext::AppendElement(xml, root, kDay);
        ext::WriteLong(day.Get(), kId, d);
        ext::WriteElementNumber(day.Get(), hours);
    }
}

HRESULT OrvSRDoc::get_Hours(LONG nIndex, double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    if (!IsDay(nIndex)) return E_INVALIDARG;
    return Locked([&] {
        *pVal = hours_[static_cast<std::size_t>(nIndex - 1)];
        return S_OK;
    });
}

HRESULT OrvSRDoc::put_Hours(LONG nIndex, double newVal) {
    if (!IsDay(nIndex)) return E_INVALIDARG;
    return Locked([&] {
        hours_[static_cast<std::size_t>(nIndex - 1)] = newVal;
        return S_OK;
    });
}

HRESULT OrvSRDoc::get_PayType(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = payType_;
        return S_OK;
    });
}

HRESULT OrvSRDoc::put_PayType(LONG newVal) {
    return Locked([&] {
        payType_ = newVal;
        return S_OK;
    });
}

}  // namespace orv
