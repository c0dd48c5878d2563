#include "kinds/OrvS3Doc.h"

#include "xml/dom.h"

#include "frame/values.h"
#include "kinds/RecordFields.h"

#include <orvdocs/platform/combase.h>

#include <algorithm>
#include <set>

namespace orv {
namespace {

constexpr const OLECHAR* kItem = u"S3SUM";
constexpr LONG kDefaultTaxCode = 83;  // a tax code of 0 is the ordinary income tax

bool CarriesMoney(const S3Item& item) {
    return item.income.int64 != 0 || item.allowance.int64 != 0 || item.taxCalculated.int64 != 0 ||
           item.taxTaken.int64 != 0;
}

}  // namespace

S3Item OrvS3Doc::Read(IXMLDOMElement* x) {
    S3Item item;
    item.month = ext::ReadDouble(x, u"MN");
    item.incomeCode = ext::ReadLong(x, u"ICODE");
    item.payCode = ext::ReadLong(x, u"CODE");
    item.income = sums::ReadCurrency(x, u"SUM");
    item.allowance = sums::ReadCurrency(x, u"LGSM");
    item.allowanceCode = ext::ReadLong(x, u"LGCODE");
    item.taxCalculated = sums::ReadCurrency(x, u"TXCLC");
    item.taxTaken = sums::ReadCurrency(x, u"TXTKN");
    item.taxCode = ext::ReadLong(x, u"TXCD");
    item.finRoot = ext::ReadLong(x, u"FR");
    return item;
}

void OrvS3Doc::Insert(S3Item item) {
    auto at = std::upper_bound(items_.begin(), items_.end(), item.month,
                               [](DATE m, const S3Item& i) { return m < i.month; });
    items_.insert(at, std::move(item));
}

void OrvS3Doc::Decode(IXMLDOMElement* root) {
    std::vector<S3Item> read;
    for (const ComPtr<IXMLDOMElement>& el : ext::ChildElements(root, kItem)) read.push_back(Read(el.Get()));
    items_.clear();
    for (S3Item& item : read) Insert(std::move(item));
}

void OrvS3Doc::Merge(IXMLDOMElement* root) {
    std::vector<S3Item> read;
    for (const ComPtr<IXMLDOMElement>& el : ext::ChildElements(root, kItem)) read.push_back(Read(el.Get()));
    for (S3Item& item : read) Insert(std::move(item));
}

void OrvS3Doc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    for (const S3Item& item : items_) {
        ComPtr<IXMLDOMElement> el = ext::AppendElement(xml, root, kItem);
        IXMLDOMElement* x = el.Get();
        ext::WriteDouble(x, u"MN", item.month);
        ext::WriteLong(x, u"ICODE", item.incomeCode);
        ext::WriteLong(x, u"CODE", item.payCode);
        sums::WriteCurrency(x, u"SUM", item.income);
        sums::WriteCurrency(x, u"LGSM", item.allowance);
        ext::WriteLong(x, u"LGCODE", item.allowanceCode);
        sums::WriteCurrency(x, u"TXCLC", item.taxCalculated);
        sums::WriteCurrency(x, u"TXTKN", item.taxTaken);
        ext::WriteLong(x, u"TXCD", item.taxCode);
        ext::WriteLong(x, u"FR", item.finRoot);
    }
}

IOrvDateService* OrvS3Doc::Dates() {
    if (!dates_) {
        Check(CoCreateInstance(CLSID_OrvDateService, nullptr, CLSCTX_ALL, IID_IOrvDateService,
                               reinterpret_cast<void**>(dates_.ReleaseAndGetAddressOf())),
              IID_IOrvDateService);
    }
    return dates_.Get();
}

DATE OrvS3Doc::BoundOf(DATE date, Bound bound) {
    if (bound == Bound::Date) return date;
    const LONG day = DateToDayNumber(date);
    SHORT result = 0;
    IOrvDateService* dates = Dates();
    switch (bound) {
        case Bound::YearStart: Check(dates->YearStart(day, &result), IID_IOrvDateService); break;
        case Bound::MonthEnd: Check(dates->MonthEnd(day, &result), IID_IOrvDateService); break;
        case Bound::MonthStart: Check(dates->MonthStart(day, &result), IID_IOrvDateService); break;
        case Bound::YearEnd: Check(dates->YearEnd(day, &result), IID_IOrvDateService); break;
        case Bound::Date: break;
    }
    return DayNumberToDate(result);
}

DATE OrvS3Doc::DocumentDate(HRESULT (IOrvDocument::*member)(DATE*)) {
    if (!document_) return 0.0;
    return record::Get<DATE>(document_.Get(), member);
}

template <class Keep>
HRESULT OrvS3Doc::SumOver(DATE date, Bound lower, Bound upper, CY S3Item::*field, CY* out, Keep keep) {
    if (!out) return E_POINTER;
    out->int64 = 0;
    return Locked([&] {
        const DATE from = BoundOf(date, lower);
        const DATE to = BoundOf(date, upper);
        const bool needStart = std::any_of(items_.begin(), items_.end(), [](const S3Item& i) { return i.month == 0.0; });
        const DATE start = needStart ? DocumentDate(&IOrvDocument::get_dtDn) : 0.0;
        LONGLONG total = 0;
        for (const S3Item& item : items_) {
            const DATE m = MonthOf(item, start);
            if (m >= from && m < to && keep(item)) total += (item.*field).int64;
        }
        out->int64 = total;
        return S_OK;
    });
}

HRESULT OrvS3Doc::GetTotalIncomeOnMonth(DATE dtrDate, CY* pcy) {
    return SumOver(dtrDate, Bound::YearStart, Bound::MonthEnd, &S3Item::income, pcy, [](const S3Item&) { return true; });
}

HRESULT OrvS3Doc::GetTotalIncomeOneMonth(DATE dtrDate, CY* pcy) {
    return SumOver(dtrDate, Bound::Date, Bound::MonthEnd, &S3Item::income, pcy, [](const S3Item&) { return true; });
}

HRESULT OrvS3Doc::GetYearIncome(DATE dtDate, LONG lCode, CY* pcy) {
    return SumOver(dtDate, Bound::YearStart, Bound::YearEnd, &S3Item::income, pcy,
                   [lCode](const S3Item& i) { return i.incomeCode == lCode; });
}

HRESULT OrvS3Doc::GetYearPrivilages(DATE dtDate, CY* pcy) {
    return SumOver(dtDate, Bound::YearStart, Bound::YearEnd, &S3Item::allowance, pcy,
                   [](const S3Item&) { return true; });
}

HRESULT OrvS3Doc::GetDiscountSum(DATE dt, LONG lLgCode, CY* pcy) {
    return SumOver(dt, Bound::MonthStart, Bound::MonthEnd, &S3Item::allowance, pcy,
                   [lLgCode](const S3Item& i) { return i.allowanceCode == lLgCode; });
}

HRESULT OrvS3Doc::GetTakenTax(DATE dtDate, LONG lTxCode, CY* pcy) {
    return SumOver(dtDate, Bound::YearStart, Bound::MonthEnd, &S3Item::taxTaken, pcy, [lTxCode](const S3Item& i) {
        return (i.taxCode == 0 ? kDefaultTaxCode : i.taxCode) == lTxCode;
    });
}

HRESULT OrvS3Doc::GetIncCodes(DATE dtDate, BSTR* pXml) {
    if (!pXml) return E_POINTER;
    *pXml = nullptr;
    return Locked([&] {
        // The income codes of the date's year (every item for a date of 0),
        // each once, in ascending order; code 0 is no income code.
        DATE from = 0.0, to = 0.0;
        if (dtDate != 0.0) {
            from = BoundOf(dtDate, Bound::YearStart);
            to = BoundOf(dtDate, Bound::YearEnd);
        }
        const DATE start = DocumentDate(&IOrvDocument::get_dtDn);
        std::set<LONG> codes;
        for (const S3Item& item : items_) {
            const DATE m = MonthOf(item, start);
            if (item.incomeCode != 0 && (dtDate == 0.0 || (m >= from && m < to))) codes.insert(item.incomeCode);
        }
        ComPtr<IXMLDOMDocument> xml = orv::xml::NewXmlDocument();
        ComPtr<IXMLDOMElement> root;
        Check(xml->createElement(Bstr(u"INCODES"), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(xml->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        for (LONG code : codes) ext::WriteLong(ext::AppendElement(xml.Get(), root.Get(), u"INC").Get(), u"ID", code);
        return ext::CopyText(sums::XmlOf(root.Get()), pXml);
    });
}

HRESULT OrvS3Doc::get_ActualStartDate(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        const DATE start = DocumentDate(&IOrvDocument::get_dtDn);
        bool found = false;
        DATE first = 0.0;
        for (const S3Item& item : items_) {
            if (!CarriesMoney(item)) continue;
            const DATE m = MonthOf(item, start);
            if (!found || m < first) first = m;
            found = true;
        }
        *pVal = found ? first : start;
        return S_OK;
    });
}

HRESULT OrvS3Doc::get_ActualEndDate(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return Locked([&] {
        const DATE start = DocumentDate(&IOrvDocument::get_dtDn);
        bool found = false;
        DATE last = 0.0;
        for (const S3Item& item : items_) {
            if (!CarriesMoney(item)) continue;
            const DATE m = MonthOf(item, start);
            if (!found || m > last) last = m;
            found = true;
        }
        *pVal = found ? last : DocumentDate(&IOrvDocument::get_dtDk);
        return S_OK;
    });
}

}  // namespace orv
