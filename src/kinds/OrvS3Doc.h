// A year of monthly incomes, allowances and taxes (type 333):
//   <S3SUMS><S3SUM MN="month" ICODE=".." CODE=".." SUM=".." LGSM=".."
//                  LGCODE=".." TXCLC=".." TXTKN=".." TXCD=".." FR=".."/>...</S3SUMS>
// Items are kept ordered by month (items of one month in the order they
// came); a month of 0 stands for the generic document's dtDn.
//
// The sums add up one money field over the items whose month m lies in
// [lower, upper), the bounds asked from the date service (created by its
// class identifier on first need and kept): slot 14 the start of the date's
// year, 16 the end of its month (exclusive), 17 the start of its month, 18
// the end of its year (exclusive).
#pragma once

#include "kinds/SumLists.h"

#include <orvdocs/frame/services.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_sums.h>

#include <vector>

namespace orv {

struct S3Item {
    DATE month = 0.0;
    LONG incomeCode = 0;
    LONG payCode = 0;
    CY income{};
    CY allowance{};
    LONG allowanceCode = 0;
    CY taxCalculated{};
    CY taxTaken{};
    LONG taxCode = 0;
    LONG finRoot = 0;
};

class OrvS3Doc : public SumListKind<OrvS3Doc, &CLSID_OrvS3Doc, IOrvS3Doc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"S3SUMS";

    void Decode(IXMLDOMElement* root);
    void Merge(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);
    void ClearList() noexcept { items_.clear(); }

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT ClearSums() override { return ClearSumsImpl(); }
    HRESULT AddSumsXml(BSTR xmlStr) override { return AddSumsXmlImpl(xmlStr); }
    HRESULT GetSumsXml(BSTR* pstrXml) override { return GetSumsXmlImpl(pstrXml); }
    HRESULT GetTotalIncomeOnMonth(DATE dtrDate, CY* pcy) override;
    HRESULT GetTotalIncomeOneMonth(DATE dtrDate, CY* pcy) override;
    HRESULT GetYearIncome(DATE dtDate, LONG lCode, CY* pcy) override;
    HRESULT GetYearPrivilages(DATE dtDate, CY* pcy) override;
    HRESULT GetDiscountSum(DATE dt, LONG lLgCode, CY* pcy) override;
    HRESULT GetTakenTax(DATE dtDate, LONG lTxCode, CY* pcy) override;
    HRESULT GetIncCodes(DATE dtDate, BSTR* pXml) override;
    HRESULT get_ActualStartDate(DATE* pVal) override;
    HRESULT get_ActualEndDate(DATE* pVal) override;

private:
    enum class Bound { Date, YearStart, MonthEnd, MonthStart, YearEnd };
    // Adds field over the items accepted by keep whose month lies in the bounds.
    template <class Keep>
    HRESULT SumOver(DATE date, Bound lower, Bound upper, CY S3Item::*field, CY* out, Keep keep);
    DATE BoundOf(DATE date, Bound bound);
    IOrvDateService* Dates();
    // The item's month, 0 standing for the document's dtDn.
    DATE MonthOf(const S3Item& item, DATE start) const noexcept { return item.month != 0.0 ? item.month : start; }
    DATE DocumentDate(HRESULT (IOrvDocument::*member)(DATE*));
    void Insert(S3Item item);
    static S3Item Read(IXMLDOMElement* element);

    std::vector<S3Item> items_;
    ComPtr<IOrvDateService> dates_;
};

}  // namespace orv
