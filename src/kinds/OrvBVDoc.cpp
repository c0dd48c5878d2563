#include "kinds/OrvBVDoc.h"

#include "kinds/SumLists.h"

#include <iterator>
#include <vector>

namespace orv {
namespace {
constexpr const OLECHAR* kYear = u"Year";
}  // namespace

HRESULT OrvBVDoc::InitFromExtension() {
    return Locked([&] {
        initialized_ = VARIANT_TRUE;
        years_.clear();
        ComPtr<IXMLDOMElement> root = detail::LoadExtensionRoot(Document(), &xml_, kRoot);
        if (!root) return S_OK;
        std::vector<ComPtr<IXMLDOMElement>> elements = ext::ChildElements(root.Get(), kYear);
        if (elements.empty()) return S_OK;  // the texts stay as they were
        std::u16string inn = ext::ReadText(root.Get(), u"INN");
        std::u16string name = ext::ReadText(root.Get(), u"CNAME");
        std::u16string pfr = ext::ReadText(root.Get(), u"PFR");
        std::map<LONG, Entry> years;
        for (const ComPtr<IXMLDOMElement>& el : elements) {
            Entry& e = years[ext::ReadLong(el.Get(), u"ID")];
            e.sum = sums::ReadCurrency(el.Get(), u"SUM");
            e.period = ext::ReadText(el.Get(), u"PERIOD");
        }
        inn_ = std::move(inn);
        companyName_ = std::move(name);
        pfrNum_ = std::move(pfr);
        years_ = std::move(years);
        return S_OK;
    });
}

HRESULT OrvBVDoc::UpdateExtension() {
    return Locked([&]() -> HRESULT {
        ComPtr<IXMLDOMElement> root = detail::StartExtension(Document(), &xml_, kRoot);
        if (!root) return S_OK;
        ext::WriteText(root.Get(), u"INN", inn_);
        ext::WriteText(root.Get(), u"CNAME", companyName_);
        ext::WriteText(root.Get(), u"PFR", pfrNum_);
        for (const auto& [year, entry] : years_) {
            ComPtr<IXMLDOMElement> el = ext::AppendElement(xml_.Get(), root.Get(), kYear);
            ext::WriteLong(el.Get(), u"ID", year);
            sums::WriteCurrency(el.Get(), u"SUM", entry.sum);
            if (!entry.period.empty()) ext::WriteText(el.Get(), u"PERIOD", entry.period);
        }
        Bstr text;
        Check(xml_->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
        // Only the body is set; its length is left to the extension.
        return Check(sums::ExtensionOf(Document())->put_Body(text), IID_IOrvDocExtension);
    });
}

HRESULT OrvBVDoc::Clear() {
    return Locked([&] {
        years_.clear();
        return S_OK;
    });
}

HRESULT OrvBVDoc::get_Size(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(years_.size());
        return S_OK;
    });
}

HRESULT OrvBVDoc::get_Year(LONG nIndex, LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = 0;
        if (nIndex >= 1 && static_cast<std::size_t>(nIndex) <= years_.size())
            *pVal = std::next(years_.begin(), nIndex - 1)->first;
        return S_OK;
    });
}

HRESULT OrvBVDoc::put_Year(LONG, LONG newVal) {
    return Locked([&] {
        years_[newVal].sum.int64 = 0;
        return S_OK;
    });
}

HRESULT OrvBVDoc::get_Sum(LONG nIndex, CY* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        auto it = years_.find(nIndex);
        pVal->int64 = it == years_.end() ? 0 : it->second.sum.int64;
        return S_OK;
    });
}

HRESULT OrvBVDoc::put_Sum(LONG nIndex, CY newVal) {
    return Locked([&] {
        years_[nIndex].sum = newVal;
        return S_OK;
    });
}

HRESULT OrvBVDoc::GetSumForYear(LONG Year, CY* pSum) { return get_Sum(Year, pSum); }

HRESULT OrvBVDoc::get_Period(LONG nIndex, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        auto it = years_.find(nIndex);
        return ext::CopyText(it == years_.end() ? std::u16string_view() : it->second.period, pVal);
    });
}

HRESULT OrvBVDoc::put_Period(LONG nIndex, BSTR newVal) {
    return Locked([&] {
        years_[nIndex].period = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvBVDoc::GetText(const std::u16string& field, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(field, pVal); });
}

HRESULT OrvBVDoc::PutText(std::u16string& field, BSTR value) {
    return Locked([&] {
        field = ext::TextOf(value);
        return S_OK;
    });
}

}  // namespace orv
