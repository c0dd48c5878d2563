#include "kinds/OrvMGDoc.h"

namespace orv {
namespace {
constexpr const OLECHAR* kLine = u"LINE";
constexpr const OLECHAR* kFinRoot = u"FR";
constexpr const OLECHAR* kTotal = u"GRTOTAL";
constexpr const OLECHAR* kGrafic = u"GRAFIC";
}  // namespace

void OrvMGDoc::Decode(IXMLDOMElement* root) {
    lines_.clear();
    for (const ComPtr<IXMLDOMElement>& element : ext::ChildElements(root, kLine)) {
        Line& line = lines_[ext::ReadLong(element.Get(), kFinRoot)];
        line.total = ext::ReadDouble(element.Get(), kTotal);
        line.grafic = ext::ReadText(element.Get(), kGrafic);
    }
}

void OrvMGDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    for (const auto& [finRoot, line] : lines_) {
        ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, root, kLine);
        ext::WriteLong(element.Get(), kFinRoot, finRoot);
        ext::WriteDouble(element.Get(), kTotal, line.total);
        ext::WriteText(element.Get(), kGrafic, line.grafic);
    }
}

HRESULT OrvMGDoc::get_Grafic(LONG lFinRoot, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        auto it = lines_.find(lFinRoot);
        return ext::CopyText(it == lines_.end() ? std::u16string_view() : it->second.grafic, pVal);
    });
}

HRESULT OrvMGDoc::put_Grafic(LONG lFinRoot, BSTR newVal) {
    return Locked([&] {
        lines_[lFinRoot].grafic = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvMGDoc::get_GrTotal(LONG lFinRoot, double* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        auto it = lines_.find(lFinRoot);
        *pVal = it == lines_.end() ? 0.0 : it->second.total;
        return S_OK;
    });
}

HRESULT OrvMGDoc::put_GrTotal(LONG lFinRoot, double newVal) {
    return Locked([&] {
        lines_[lFinRoot].total = newVal;
        return S_OK;
    });
}

}  // namespace orv
