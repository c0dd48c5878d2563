// Earnings certificate from another employer (type 369): the employer's
// taxpayer number, pension fund number and name, and the earnings by
// calendar year, each with a free-text period:
//   <Years INN=".." CNAME=".." PFR=".."><Year ID="2014" SUM="1500.5" PERIOD=".."/>...</Years>
// one "Year" per year in ascending order, "PERIOD" only when not empty.
//
// Year(n) get takes a position counted from 1 in year order; Sum, Period
// and GetSumForYear take the year itself.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_loan_piece.h>

#include <map>
#include <string>

namespace orv {

class OrvBVDoc : public ExtensionKind<OrvBVDoc, &CLSID_OrvBVDoc, IOrvBVDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"Years";

    HRESULT UpdateExtension() override;
    HRESULT InitFromExtension() override;
    HRESULT Clear() override;
    HRESULT get_Size(LONG* pVal) override;
    HRESULT get_Year(LONG nIndex, LONG* pVal) override;
    HRESULT put_Year(LONG nIndex, LONG newVal) override;
    HRESULT get_Sum(LONG nIndex, CY* pVal) override;
    HRESULT put_Sum(LONG nIndex, CY newVal) override;
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT GetSumForYear(LONG Year, CY* pSum) override;
    HRESULT get_Inn(BSTR* pVal) override { return GetText(inn_, pVal); }
    HRESULT put_Inn(BSTR newVal) override { return PutText(inn_, newVal); }
    HRESULT get_PfrNum(BSTR* pVal) override { return GetText(pfrNum_, pVal); }
    HRESULT put_PfrNum(BSTR newVal) override { return PutText(pfrNum_, newVal); }
    HRESULT get_CompanyName(BSTR* pVal) override { return GetText(companyName_, pVal); }
    HRESULT put_CompanyName(BSTR newVal) override { return PutText(companyName_, newVal); }
    HRESULT get_Period(LONG nIndex, BSTR* pVal) override;
    HRESULT put_Period(LONG nIndex, BSTR newVal) override;

private:
    struct Entry {
        CY sum{};
        std::u16string period;
    };
    HRESULT GetText(const std::u16string& field, BSTR* pVal);
    HRESULT PutText(std::u16string& field, BSTR value);

    std::u16string inn_, pfrNum_, companyName_;
    std::map<LONG, Entry> years_;
};

}  // namespace orv
