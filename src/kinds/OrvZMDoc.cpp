#include "kinds/OrvZMDoc.h"

#include "frame/messages.h"
#include "frame/module.h"
#include "frame/values.h"
#include "kinds/ExtensionText.h"
#include "kinds/RecordFields.h"
#include "xml/attributes.h"
#include "xml/lenient.h"

#include <orvdocs/frame/options.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/text.h>

#include <cstdint>
#include <vector>

namespace orv {
namespace {

constexpr const OLECHAR* kMonth = u"M";
constexpr const OLECHAR* kKey = u"MD";

// The sums of a month with their attributes, in the order they are written.
struct SumAttribute {
    const OLECHAR* name;
    CY OrvZMDoc::Month::*field;
};
constexpr SumAttribute kWritten[] = {
    {u"TL", &OrvZMDoc::Month::toLoan},   {u"LN", &OrvZMDoc::Month::loaned},
    {u"TR", &OrvZMDoc::Month::toRemit},  {u"TRC", &OrvZMDoc::Month::toRemitCor},
    {u"RT", &OrvZMDoc::Month::remitted}, {u"IT", &OrvZMDoc::Month::interest},
    {u"PR", &OrvZMDoc::Month::premium},
};
constexpr const OLECHAR* kDebt = u"DB";

CY ReadSum(IXMLDOMElement* element, const OLECHAR* name) {
    CY value{};
    Check(GetAttributeCurrency(element, name, &value), IID_IXMLDOMElement);
    return value;
}

// The central bank rate in force on a date, as a fraction (8 % is 0.08).
double RateOn(IOrvDatedOption* option, DATE date) {
    Variant value;
    Check(option->get_Value(date, &value), IID_IOrvDatedOption);
    return VariantToDoubleLenient(value) / 100.0;
}

// Interest of one tranche: amount x rate x 3/4 x days / 365 in double on the
// raw ten-thousandths, cut toward zero (beyond 64 bits: INT64_MIN).
LONGLONG TrancheInterest(LONGLONG amount, double rate, double days) noexcept {
    return TruncateToRawUnits(static_cast<double>(amount) * rate * 3.0 * 0.25 * days / 365.0);
}

}  // namespace

LONGLONG OrvZMDoc::DebtAt(const Table& table, DATE date, DATE excluded) noexcept {
    LONGLONG loaned = 0;
    LONGLONG repaid = 0;
    for (auto it = table.begin(); it != table.end() && it->first < date; ++it) {
        if (it->first >= kLoansFrom) loaned = WrapAdd(loaned, it->second.loaned.int64);
        if (it->first >= kRepaidFrom && (excluded == 0.0 || it->first != excluded))
            repaid = WrapAdd(repaid, it->second.remitted.int64);
    }
    return WrapSub(loaned, repaid);
}

void OrvZMDoc::Merge(IXMLDOMElement* root) {
    std::vector<std::pair<DATE, Month>> read;
    for (const ComPtr<IXMLDOMElement>& element : ext::ChildElements(root, kMonth)) {
        const DATE key = ext::ReadDouble(element.Get(), kKey);
        if (key == 0.0) continue;
        Month month;
        for (const SumAttribute& sum : kWritten) month.*sum.field = ReadSum(element.Get(), sum.name);
        month.storedDebt = ReadSum(element.Get(), kDebt);
        read.emplace_back(key, month);
    }
    for (const auto& [key, month] : read) months_.emplace(key, month);  // never replaces
}

void OrvZMDoc::Decode(IXMLDOMElement* root) { Merge(root); }

void OrvZMDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    for (const auto& [key, month] : months_) {
        ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, root, kMonth);
        ext::WriteDouble(element.Get(), kKey, key);
        for (const SumAttribute& sum : kWritten)
            Check(SetAttribute(element.Get(), sum.name, month.*sum.field), IID_IXMLDOMElement);
        Check(SetAttribute(element.Get(), kDebt, MakeCurrency(DebtAt(months_, key, 0.0))), IID_IXMLDOMElement);
    }
}

void OrvZMDoc::WriteBody() {
    detail::EnsureXml(&xml_);
    VARIANT_BOOL ok = VARIANT_FALSE;
    xml_->loadXML(Bstr(u""), &ok);  // empties the document
    ComPtr<IXMLDOMElement> root;
    Check(xml_->createElement(Bstr(kRoot), root.GetAddressOf()), IID_IXMLDOMDocument);
    ComPtr<IXMLDOMNode> added;
    Check(xml_->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
    Encode(xml_.Get(), root.Get());
}

HRESULT OrvZMDoc::WriteExtension() {
    ComPtr<IOrvDocExtension> ext = exttext::Find(Document());
    if (!ext) return S_OK;
    if (months_.empty()) return Check(ext->Clear(), IID_IOrvDocExtension);
    WriteBody();
    Bstr text;
    Check(xml_->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
    const HRESULT hr = Check(ext->put_Body(text), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(text.ByteLength())), IID_IOrvDocExtension);
    return hr;
}

HRESULT OrvZMDoc::InitFromExtension() { return InitFromExtensionImpl(); }

HRESULT OrvZMDoc::UpdateExtension() {
    return Locked([&] { return WriteExtension(); });
}

HRESULT OrvZMDoc::GetSum(DATE month, CY Month::*field, CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    return Locked([&] {
        auto it = months_.find(month);
        if (it == months_.end()) return S_FALSE;
        *pVal = it->second.*field;
        return S_OK;
    });
}

HRESULT OrvZMDoc::PutSum(DATE month, CY Month::*field, CY value) {
    return Locked([&] {
        months_[month].*field = value;
        return S_OK;
    });
}

HRESULT OrvZMDoc::get_Debt(DATE dtMonth, CY* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        pVal->int64 = DebtAt(months_, dtMonth, 0.0);
        return S_FALSE;
    });
}

HRESULT OrvZMDoc::GetSumsInXml(BSTR* pXml) {
    if (!pXml) return E_POINTER;
    *pXml = nullptr;
    return Locked([&] {
        WriteBody();
        return Check(xml_->get_xml(pXml), IID_IXMLDOMDocument);
    });
}

HRESULT OrvZMDoc::PutSumsXml(BSTR xmlSums) {
    return Locked([&] {
        detail::EnsureXml(&xml_);
        VARIANT_BOOL ok = VARIANT_FALSE;
        Check(xml_->loadXML(xmlSums, &ok), IID_IXMLDOMDocument);
        if (ok != VARIANT_TRUE) return S_OK;
        ComPtr<IXMLDOMNode> node;
        if (Check(xml_->selectSingleNode(Bstr(kRoot), node.GetAddressOf()), IID_IXMLDOMDocument) != S_OK || !node)
            return S_OK;
        ComPtr<IXMLDOMElement> root;
        if (SUCCEEDED(node.As(&root)) && root) Merge(root.Get());
        return S_OK;
    });
}

HRESULT OrvZMDoc::GetSumToLoan(DATE dtMonth, CY* pcySum) {
    if (!pcySum) return E_POINTER;
    pcySum->int64 = 0;
    return Locked([&] {
        IOrvDocument* doc = Document();
        auto it = months_.find(dtMonth);
        const LONGLONG own = it == months_.end() ? 0 : it->second.toLoan.int64;
        if (own < 0) return S_OK;
        if (own > 0) {
            pcySum->int64 = own;
            return S_OK;
        }
        const CY sum2 = record::ReadSum(doc, record::Sum::DcSum2);
        if (sum2.int64 > 0) {
            *pcySum = sum2;
            return S_OK;
        }
        const CY sum1 = record::ReadSum(doc, record::Sum::Dcsum1);
        if (sum1.int64 > 0) *pcySum = MultiplyCurrency(sum1, 1.0 / 12.0);
        return S_OK;
    });
}

HRESULT OrvZMDoc::TotalCleanUp() {
    return Locked([&] {
        for (auto& [key, month] : months_) {
            month.loaned = month.toRemit = month.remitted = month.storedDebt = month.interest = CY{};
        }
        return WriteExtension();
    });
}

IOrvDateService* OrvZMDoc::Dates() {
    if (!dates_)
        Check(CoCreateInstance(CLSID_OrvDateService, nullptr, CLSCTX_ALL, IID_IOrvDateService,
                               reinterpret_cast<void**>(dates_.ReleaseAndGetAddressOf())),
              IID_IOrvDateService);
    return dates_.Get();
}

void OrvZMDoc::NoRate(DATE date) {
    Bstr day;
    Check(Dates()->DayToText(DateToDayNumber(date), day.ReleaseAndGetAddressOf()), IID_IOrvDateService);
    RegisterMessages();
    OLECHAR format[1024];
    if (LoadStringW(ThisModule(), IDS_NO_CB_RATE, format, 1024) <= 0) format[0] = 0;
    OLECHAR text[1024];
    const std::u16string dayText(day.View());
    const int length = wsprintfW(text, format, dayText.c_str());
    lastError_.assign(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

HRESULT OrvZMDoc::CalcInterest(DATE dtRasMonth, IUnknown* punkCbPersentOption, CY* pcySum) {
    if (!pcySum) return E_POINTER;
    pcySum->int64 = 0;
    return Locked([&] {
        // The month ends before E, the first day of the next month.
        SHORT endDay = 0;
        Check(Dates()->MonthEnd(DateToDayNumber(dtRasMonth), &endDay), IID_IOrvDateService);
        const DATE end = endDay ? DayNumberToDate(endDay) : 0.0;
        DATE excluded = 0.0;
        Check(Dates()->MonthStartDate(end, &excluded), IID_IOrvDateService);
        const LONGLONG debt = DebtAt(months_, end, excluded);

        ComPtr<IOrvDatedOption> option;
        if (!punkCbPersentOption ||
            FAILED(punkCbPersentOption->QueryInterface(IID_IOrvDatedOption, reinterpret_cast<void**>(option.GetAddressOf()))) ||
            !option)
            return E_POINTER;
        double rate = RateOn(option.Get(), end);
        if (rate == 0.0) {
            NoRate(end);
            return S_FALSE;
        }

        // The debt split into tranches, from the latest loan backwards, each
        // charged at the rate in force on its loan's month.
        struct Tranche {
            LONGLONG amount;
            double rate;
        };
        std::map<DATE, Tranche> tranches;
        LONGLONG rest = debt;
        LONGLONG gathered = 0;
        DATE current = dtRasMonth;
        for (auto it = months_.rbegin(); it != months_.rend() && rest > 0; ++it) {
            if (it->first >= end) continue;
            const double entryRate = RateOn(option.Get(), it->first);
            if (entryRate == 0.0) {
                NoRate(it->first);
                return S_FALSE;
            }
            if (entryRate != rate) {
                if (gathered > 0) {
                    tranches.emplace(current, Tranche{gathered, rate});
                    gathered = 0;
                }
                rate = entryRate;
            }
            const LONGLONG taken = rest >= it->second.loaned.int64 ? it->second.loaned.int64 : rest;
            gathered = WrapAdd(gathered, taken);
            rest = WrapSub(rest, taken);
            current = it->first;
        }
        if (gathered > 0 || rest > 0) tranches.emplace(current, Tranche{WrapAdd(gathered, rest), rate});

        const double days = end - dtRasMonth;
        LONGLONG interest = 0;
        for (const auto& [date, tranche] : tranches) {
            if (days > 0.0 && tranche.rate != 0.0 && tranche.amount != 0)
                interest = WrapAdd(interest, TrancheInterest(tranche.amount, tranche.rate, days));
        }
        *pcySum = RoundCurrencyToHundredths(MakeCurrency(interest));
        return S_OK;
    });
}

HRESULT OrvZMDoc::ClearLastError() {
    return Locked([&] {
        lastError_.clear();
        return S_OK;
    });
}

HRESULT OrvZMDoc::get_LastError(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(lastError_, pVal); });
}

}  // namespace orv
