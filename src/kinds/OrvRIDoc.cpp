#include "kinds/OrvRIDoc.h"

#include "kinds/OrvS1Doc.h"

namespace orv {

HRESULT OrvRIDoc::get_DistributionAsString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        Load();
        return ext::CopyText(list_.ToLine(), pVal);
    });
}

HRESULT OrvRIDoc::put_DistributionAsString(BSTR newVal) {
    return Locked([&]() -> HRESULT {
        sums::CodedSums read;
        if (!sums::CodedSums::FromLine(ext::TextOf(newVal), &read)) return E_INVALIDARG;
        return Replace(std::move(read));
    });
}

HRESULT OrvRIDoc::CreateDistributionInPays(BSTR xml, IUnknown** ppSumList) {
    if (!ppSumList) return E_POINTER;
    *ppSumList = nullptr;
    return Locked([&]() -> HRESULT {
        sums::CodedSums source;
        const std::u16string text = ext::TextOf(xml);
        if (text.empty()) {
            Load();
            source = list_;
        } else {
            ComPtr<IXMLDOMDocument> parsed = sums::ParseXml(text);
            if (!parsed) return E_INVALIDARG;
            if (ComPtr<IXMLDOMElement> root = sums::SelectElement(parsed.Get(), kRoot)) source.Merge(root.Get(), kItem);
        }
        ComPtr<IOrvS1Doc> list;
        Check(CreateObject<OrvS1Doc>(&list), IID_IOrvS1Doc);
        for (const auto& [code, sum] : source.Entries()) {
            if (code == 0) continue;  // a pay code of 0 would end the list
            LONG result = 0;
            if (Check(list->AddSum(code, 0, sum, 0, 0, &result), IID_IOrvS1Doc) != S_OK) break;
        }
        return list->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppSumList));
    });
}

}  // namespace orv
