// The loan document (type code 301): the sums of a loan month by month and
// the interest that the debt earns at three quarters of the central bank rate.
//
// The month table is kept under "ORIG", one "M" per month in ascending order:
//
//   <ORIG><M MD="month" TL=".." LN=".." TR=".." TRC=".." RT=".." IT=".." PR=".." DB=".."/>...</ORIG>
//
// A month key is the automation date exactly as the host passes it (no
// normalisation to the first of the month). "DB" is written from the debt
// computed at the month, not from the stored debt.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/frame/services.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_loan_piece.h>

#include <map>
#include <string>

namespace orv {

class OrvZMDoc : public ExtensionKind<OrvZMDoc, &CLSID_OrvZMDoc, IOrvZMDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"ORIG";

    // The eight sums of a month, in the order of the stored entry.
    struct Month {
        CY toLoan{};
        CY loaned{};
        CY toRemit{};
        CY remitted{};
        CY storedDebt{};
        CY interest{};
        CY toRemitCor{};
        CY premium{};
    };
    using Table = std::map<DATE, Month>;

    // Loans count from 1 January 2002 on, repayments from 1 January 2003 on.
    static constexpr DATE kLoansFrom = 37257.0;    // 2002-01-01
    static constexpr DATE kRepaidFrom = 37622.0;   // 2003-01-01

    // The debt at date: loans minus repayments of the months before it,
    // the repayment of month excluded (when not 0) left out.
    static LONGLONG DebtAt(const Table& table, DATE date, DATE excluded) noexcept;

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override;
    HRESULT UpdateExtension() override;
    HRESULT get_ToLoan(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::toLoan, pVal); }
    HRESULT put_ToLoan(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::toLoan, newVal); }
    HRESULT get_Loaned(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::loaned, pVal); }
    HRESULT put_Loaned(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::loaned, newVal); }
    HRESULT get_ToRemit(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::toRemit, pVal); }
    HRESULT put_ToRemit(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::toRemit, newVal); }
    HRESULT get_Remitted(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::remitted, pVal); }
    HRESULT put_Remitted(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::remitted, newVal); }
    HRESULT get_Debt(DATE dtMonth, CY* pVal) override;
    HRESULT put_Debt(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::storedDebt, newVal); }
    HRESULT GetSumsInXml(BSTR* pXml) override;
    HRESULT PutSumsXml(BSTR xmlSums) override;
    HRESULT GetSumToLoan(DATE dtMonth, CY* pcySum) override;
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT get_Interest(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::interest, pVal); }
    HRESULT put_Interest(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::interest, newVal); }
    HRESULT get_ToRemitCor(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::toRemitCor, pVal); }
    HRESULT put_ToRemitCor(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::toRemitCor, newVal); }
    HRESULT TotalCleanUp() override;
    HRESULT CalcInterest(DATE dtRasMonth, IUnknown* punkCbPersentOption, CY* pcySum) override;
    HRESULT ClearLastError() override;
    HRESULT get_LastError(BSTR* pVal) override;
    HRESULT get_Premium(DATE dtMonth, CY* pVal) override { return GetSum(dtMonth, &Month::premium, pVal); }
    HRESULT put_Premium(DATE dtMonth, CY newVal) override { return PutSum(dtMonth, &Month::premium, newVal); }

private:
    HRESULT GetSum(DATE month, CY Month::*field, CY* pVal);
    HRESULT PutSum(DATE month, CY Month::*field, CY value);
    // Months of an "ORIG" element added to the table; months already in it
    // keep their sums. All are read before any is added.
    void Merge(IXMLDOMElement* root);
    // The body for the current table, in xml_ (created on first need).
    void WriteBody();
    // Writes the body into the extension, or clears it for an empty table.
    HRESULT WriteExtension();
    IOrvDateService* Dates();
    // Message 101 for the date's day, kept as the last error.
    void NoRate(DATE date);

    ComPtr<IOrvDateService> dates_;
    std::u16string lastError_;
    Table months_;
};

}  // namespace orv
