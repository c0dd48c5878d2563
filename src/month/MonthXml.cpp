// The month's XML form: an "ORVMONTH" element with one child element per
// value, each holding its value as text: "MESRECORD" (the record in
// hexadecimal), "DBK", the thirty totals, then "FHOURS", "NORMDAYS",
// "NORMHOURS", "CONDITION" and "FDAYS", which repeat record fields and win
// over the record bytes when read.
#include "month/OrvMonth.h"

#include "xml/dom.h"

#include "frame/messages.h"
#include "frame/values.h"
#include "xml/hextext.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

#include <cstdint>
#include <string>

namespace orv {
namespace {

constexpr const OLECHAR* kMonth = u"ORVMONTH";
constexpr const OLECHAR* kRecord = u"MESRECORD";
constexpr const OLECHAR* kDbk = u"DBK";
constexpr const OLECHAR* kFactHours = u"FHOURS";
constexpr const OLECHAR* kNormDays = u"NORMDAYS";
constexpr const OLECHAR* kNormHours = u"NORMHOURS";
constexpr const OLECHAR* kCondition = u"CONDITION";
constexpr const OLECHAR* kFactDays = u"FDAYS";

constexpr std::size_t kRecordHexLength = 2 * MonthRecord::kSize;

// The totals as the XML form writes them: tag and total, in this order.
struct TotalTag {
    const OLECHAR* tag;
    OrvMonth::Total total;
};
constexpr TotalTag kTotalTags[] = {
    {u"ALLSUMDISC", OrvMonth::kAllowedSumDiscount},
    {u"ALWTAXED", OrvMonth::kAlwaysTaxedSum},
    {u"CURDISC1", OrvMonth::kCurMaterialkaDiscount},
    {u"CURDISC2", OrvMonth::kCurMedicineDiscount},
    {u"CURDISC3", OrvMonth::kCurPodarkiDiscount},
    {u"CUDISC", OrvMonth::kCurrentDiscounts},
    {u"CURTAX2", OrvMonth::kCurrentTax2},
    {u"CURTAX3", OrvMonth::kCurrentTax3},
    {u"CURTAX4", OrvMonth::kCurrentTax4},
    {u"CURDISC4", OrvMonth::kCurSumDiscount},
    {u"RESTDISC4", OrvMonth::kRestOfSumDiscount},
    {u"SFTAX", OrvMonth::kSumForTax},
    {u"TOTCLEARED", OrvMonth::kTotalCleared},
    {u"TOTDISC", OrvMonth::kTotalDiscounts},
    {u"TOTINC2", OrvMonth::kTotalIncome2},
    {u"TOTINC3", OrvMonth::kTotalIncome3},
    {u"TOTINC4", OrvMonth::kTotalIncome4},
    {u"TOTITAX", OrvMonth::kTotalIncomeTax},
    {u"TOTMAT", OrvMonth::kTotalMaterialka},
    {u"TOTDISC1", OrvMonth::kTotalMaterialkaDiscounts},
    {u"TOTMED", OrvMonth::kTotalMedicine},
    {u"TOTDISC2", OrvMonth::kTotalMedicineDiscount},
    {u"TOTPTAX", OrvMonth::kTotalPensTax},
    {u"TOTPOD", OrvMonth::kTotalPodarki},
    {u"TOTDISC3", OrvMonth::kTotalPodarkiDiscounts},
    {u"TOTDISC4", OrvMonth::kTotalSumDiscount},
    {u"TOTTAX2", OrvMonth::kTotalTax2},
    {u"TOTTAX3", OrvMonth::kTotalTax3},
    {u"TOTTAX4", OrvMonth::kTotalTax4},
    {u"TOTTXABLE", OrvMonth::kTotalTaxable},
};
static_assert(std::size(kTotalTags) == OrvMonth::kTotalCount);

// Appends <name>text</name> to parent, made by the parent's document.
void AppendText(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name, BSTR text) {
    ComPtr<IXMLDOMElement> element;
    Check(owner->createElement(Bstr(name), element.GetAddressOf()), IID_IXMLDOMDocument);
    if (!element) throw ComError{E_POINTER, IID_IXMLDOMDocument};
    Check(element->put_text(text), IID_IXMLDOMElement);
    ComPtr<IXMLDOMNode> appended;
    Check(parent->appendChild(element.Get(), appended.GetAddressOf()), IID_IXMLDOMNode);
}

// A value in the platform's standard text form of its variant type.
void AppendValue(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name, Variant value) {
    Check(value.ChangeType(VT_BSTR), IID_IOrvObjAsXmlString);
    AppendText(owner, parent, name, value.bstrVal);
}

// The text of the child element name, or false when there is none.
bool ChildText(IXMLDOMNode* root, const OLECHAR* name, Bstr* text) {
    ComPtr<IXMLDOMNode> node;
    Check(root->selectSingleNode(Bstr(name), node.GetAddressOf()), IID_IXMLDOMNode);
    if (!node) return false;
    Check(node->get_text(text->ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
    return true;
}

// The child element's text converted to vt; a missing or empty element gives
// an empty variant (0). A text that does not convert fails the read.
Variant ChildValue(IXMLDOMNode* root, const OLECHAR* name, VARTYPE vt) {
    Variant value;
    Bstr text;
    if (!ChildText(root, name, &text) || text.Empty()) {
        Check(value.ChangeType(vt), IID_IOrvObjAsXmlString);
        return value;
    }
    value = Variant(text.View());
    Check(value.ChangeType(vt), IID_IOrvObjAsXmlString);
    return value;
}

}  // namespace

HRESULT OrvMonth::ParseIn(IUnknown* spRoot, LONG) {
    if (!spRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMNode> root;
        Check(spRoot->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(root.GetAddressOf())),
              IID_IXMLDOMNode);
        ComPtr<IXMLDOMDocument> owner;
        Check(root->get_ownerDocument(owner.GetAddressOf()), IID_IXMLDOMNode);
        if (!owner) throw ComError{E_POINTER, IID_IXMLDOMNode};

        Bstr hex = Bstr::Attach(EncodeHexBstr(record_.Data(), MonthRecord::kSize));
        if (!hex) throw std::bad_alloc();
        AppendText(owner.Get(), root.Get(), kRecord, hex);
        Variant dbk;
        dbk.vt = VT_UI4;
        dbk.ulVal = dbk_;
        AppendValue(owner.Get(), root.Get(), kDbk, dbk);
        for (const TotalTag& t : kTotalTags) AppendValue(owner.Get(), root.Get(), t.tag, Variant(totals_[t.total]));
        AppendValue(owner.Get(), root.Get(), kFactHours, Variant(LONG{record_.Long(monthrec::kFactHours)}));
        AppendValue(owner.Get(), root.Get(), kNormDays, Variant(LONG{record_.Short(monthrec::kNormDays)}));
        AppendValue(owner.Get(), root.Get(), kNormHours, Variant(LONG{record_.Long(monthrec::kNormHours)}));
        AppendValue(owner.Get(), root.Get(), kCondition, Variant(recordCondition_));
        AppendValue(owner.Get(), root.Get(), kFactDays, Variant(LONG{record_.Short(monthrec::kFactDays)}));
        return S_OK;
    });
}

HRESULT OrvMonth::ParseFrom(IUnknown* pRoot, LONG) {
    if (!pRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMNode> root;
        Check(pRoot->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(root.GetAddressOf())),
              IID_IXMLDOMNode);

        // Everything is read aside first, so that a value that does not
        // convert leaves the month as it was.
        MonthRecord record = record_;
        Bstr hex;
        if (ChildText(root.Get(), kRecord, &hex)) {
            // The record is replaced whole: a shorter text would leave it part
            // new, part old. A longer text gives its first 144 bytes.
            if (hex.Length() < kRecordHexLength) return E_INVALIDARG;
            DecodeMonthHex(hex.View().substr(0, kRecordHexLength), record.Data(), MonthRecord::kSize);
        }
        const Variant dbk = ChildValue(root.Get(), kDbk, VT_I8);
        std::array<CY, kTotalCount> totals{};
        for (const TotalTag& t : kTotalTags) totals[t.total] = ChildValue(root.Get(), t.tag, VT_CY).cyVal;
        const Variant factHours = ChildValue(root.Get(), kFactHours, VT_I4);
        const Variant normDays = ChildValue(root.Get(), kNormDays, VT_I4);
        const Variant normHours = ChildValue(root.Get(), kNormHours, VT_I4);
        const Variant condition = ChildValue(root.Get(), kCondition, VT_I4);
        const Variant factDays = ChildValue(root.Get(), kFactDays, VT_I2);

        record.SetLong(monthrec::kFactHours, factHours.lVal);
        record.SetShort(monthrec::kNormDays, static_cast<std::int16_t>(normDays.lVal));
        record.SetLong(monthrec::kNormHours, normHours.lVal);
        record.SetShort(monthrec::kFactDays, factDays.iVal);
        record_ = record;
        // Written as an unsigned number; a signed one is taken by its low 32 bits.
        dbk_ = static_cast<ULONG>(static_cast<std::uint64_t>(dbk.llVal));
        totals_ = totals;
        recordCondition_ = condition.lVal;
        return S_OK;
    });
}

HRESULT OrvMonth::get_ShortString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvMonth, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        ComPtr<IXMLDOMElement> element;
        Check(dom->createElement(Bstr(kMonth), element.GetAddressOf()), IID_IXMLDOMDocument);
        if (!element) throw ComError{E_POINTER, IID_IXMLDOMDocument};
        ComPtr<IXMLDOMNode> appended;
        Check(dom->appendChild(element.Get(), appended.GetAddressOf()), IID_IXMLDOMDocument);
        HRESULT parsed = ParseIn(element.Get(), 0);
        if (FAILED(parsed)) return parsed;
        Check(dom->get_xml(pVal), IID_IXMLDOMDocument);
        return S_OK;
    });
}

HRESULT OrvMonth::put_ShortString(BSTR newVal) {
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvMonth, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        // A text that does not load leaves no "ORVMONTH": ParseFrom then
        // refuses the null root with E_POINTER and the month stays as it was.
        VARIANT_BOOL loaded = VARIANT_FALSE;
        const HRESULT load = dom->loadXML(newVal, &loaded);
        if (FAILED(load)) return load;  // out of memory, not a text that does not load
        ComPtr<IXMLDOMNode> node;
        Check(dom->selectSingleNode(Bstr(kMonth), node.GetAddressOf()), IID_IXMLDOMDocument);
        return ParseFrom(node.Get(), 0);
    });
}

HRESULT OrvMonth::get_FullString(BSTR* pVal) {
    if (pVal) *pVal = nullptr;
    return E_NOTIMPL;
}

HRESULT OrvMonth::put_FullString(BSTR) { return E_NOTIMPL; }

}  // namespace orv
