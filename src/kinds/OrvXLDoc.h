// The piece-work order (type code 334): ten product rows of unit price,
// quantities made in eight kinds of time and pay code, and seven premium
// coefficients shared by all rows, kept under "XLDOCEX":
//
//   <XLDOCEX C1=".." ... C7="..">
//     <COL NAME=".." VALUE=".." DT=".." ET=".." NT=".." WE=".." HO=".."
//          C1=".." C2=".." C3=".." CD=".."/>   ten of them, rows 0 to 9
//   </XLDOCEX>
//
// The root's C1-C7 are the coefficients (floats); a row's C1-C3 are its
// quantities at premiums 1 to 3. The pay of a row is the day-time quantity
// times the price, exact, plus for each other kind of time the quantity
// times the price times its coefficient in single precision, rounded half up
// to whole ten-thousandths (RowPay).
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_loan_piece.h>

#include <array>
#include <string>

namespace orv {

class OrvXLDoc : public ExtensionKind<OrvXLDoc, &CLSID_OrvXLDoc, IOrvXLDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"XLDOCEX";
    static constexpr LONG kRows = 10;
    static constexpr LONG kCoefficients = 7;

    // Quantities of a row, in the order of their attributes after "VALUE".
    enum Quantity { Day, Evening, Night, Weekend, Holidays, Premium1, Premium2, Premium3, kQuantities };

    struct Row {
        CY price{};
        std::array<LONG, kQuantities> made{};
        LONG code = 0;
        std::u16string name;
    };

    // The pay of one row: the day-time term exact, each premium term
    // (quantity x price, to float, times the coefficient in float) plus 0.5
    // cut to whole ten-thousandths. Sums wrap in 64 bits rather than overflow.
    static LONGLONG RowPay(const Row& row, const std::array<float, kCoefficients>& coefficients) noexcept;

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT get_Value(LONG Row, CY* pVal) override;
    HRESULT put_Value(LONG Row, CY newVal) override;
    HRESULT get_MadeByDayTime(LONG Row, LONG* pVal) override { return GetMade(Row, Day, pVal); }
    HRESULT put_MadeByDayTime(LONG Row, LONG newVal) override { return PutMade(Row, Day, newVal); }
    HRESULT get_MadeByEveningTime(LONG Row, LONG* pVal) override { return GetMade(Row, Evening, pVal); }
    HRESULT put_MadeByEveningTime(LONG Row, LONG newVal) override { return PutMade(Row, Evening, newVal); }
    HRESULT get_MadeByNightTime(LONG Row, LONG* pVal) override { return GetMade(Row, Night, pVal); }
    HRESULT put_MadeByNightTime(LONG Row, LONG newVal) override { return PutMade(Row, Night, newVal); }
    HRESULT get_MadeByWeekend(LONG Row, LONG* pVal) override { return GetMade(Row, Weekend, pVal); }
    HRESULT put_MadeByWeekend(LONG Row, LONG newVal) override { return PutMade(Row, Weekend, newVal); }
    HRESULT get_MadeByHolidays(LONG Row, LONG* pVal) override { return GetMade(Row, Holidays, pVal); }
    HRESULT put_MadeByHolidays(LONG Row, LONG newVal) override { return PutMade(Row, Holidays, newVal); }
    HRESULT get_MadeByCoeff1(LONG Row, LONG* pVal) override { return GetMade(Row, Premium1, pVal); }
    HRESULT put_MadeByCoeff1(LONG Row, LONG newVal) override { return PutMade(Row, Premium1, newVal); }
    HRESULT get_MadeByCoeff2(LONG Row, LONG* pVal) override { return GetMade(Row, Premium2, pVal); }
    HRESULT put_MadeByCoeff2(LONG Row, LONG newVal) override { return PutMade(Row, Premium2, newVal); }
    HRESULT get_MadeByCoeff3(LONG Row, LONG* pVal) override { return GetMade(Row, Premium3, pVal); }
    HRESULT put_MadeByCoeff3(LONG Row, LONG newVal) override { return PutMade(Row, Premium3, newVal); }
    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialised(LONG* pVal) override;
    HRESULT put_IsInitialised(LONG newVal) override;
    HRESULT get_CalculatedSum(CY* pVal) override;
    HRESULT get_Coeff(LONG nIndex, float* pVal) override;
    HRESULT put_Coeff(LONG nIndex, float newVal) override;
    HRESULT get_ProductName(LONG nRow, BSTR* pVal) override;
    HRESULT put_ProductName(LONG nRow, BSTR newVal) override;
    HRESULT get_PaymentCode(LONG Row, LONG* pVal) override;
    HRESULT put_PaymentCode(LONG Row, LONG newVal) override;
    HRESULT get_Margin(LONG* pVal) override;
    HRESULT GetCalculatedSumByCode(LONG nIndex, LONG* pCode, CY* pcySum) override;
    HRESULT get_MadeTotal(LONG Row, LONG* pVal) override;

private:
    // Rows and coefficient indices are compared as unsigned, so a negative
    // index is out of range too.
    static bool IsRow(LONG row) noexcept { return static_cast<ULONG>(row) < static_cast<ULONG>(kRows); }
    HRESULT GetMade(LONG row, Quantity which, LONG* pVal);
    HRESULT PutMade(LONG row, Quantity which, LONG value);

    std::array<Row, kRows> rows_{};
    std::array<float, kCoefficients> coefficients_{};
};

}  // namespace orv
