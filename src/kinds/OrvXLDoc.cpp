#include "kinds/OrvXLDoc.h"

#include "frame/values.h"
#include "xml/attributes.h"

#include <cmath>
#include <cstdint>

namespace orv {
namespace {

constexpr const OLECHAR* kRow = u"COL";
constexpr const OLECHAR* kName = u"NAME";
constexpr const OLECHAR* kPrice = u"VALUE";
// Attribute names of the quantities, in the order of OrvXLDoc::Quantity.
constexpr const OLECHAR* kMade[] = {u"DT", u"ET", u"NT", u"WE", u"HO", u"C1", u"C2", u"C3"};
constexpr const OLECHAR* kCode = u"CD";
// Attribute names of the coefficients on the root.
constexpr const OLECHAR* kCoefficient[] = {u"C1", u"C2", u"C3", u"C4", u"C5", u"C6", u"C7"};

}  // namespace

LONGLONG OrvXLDoc::RowPay(const Row& row, const std::array<float, kCoefficients>& coefficients) noexcept {
    const LONGLONG price = row.price.int64;
    LONGLONG pay = WrapMul(row.made[Day], price);
    for (int k = 0; k < kCoefficients; ++k) {
        const LONGLONG product = WrapMul(row.made[Evening + k], price);
        const float term = static_cast<float>(static_cast<double>(product)) * coefficients[k];
        pay = WrapAdd(pay, TruncateToRawUnits(static_cast<double>(term) + 0.5));
    }
    return pay;
}

void OrvXLDoc::Decode(IXMLDOMElement* root) {
    // Everything is read first, so a failing DOM call leaves the order as it was.
    std::array<float, kCoefficients> coefficients = coefficients_;
    for (int k = 0; k < kCoefficients; ++k)
        coefficients[k] = static_cast<float>(ext::ReadDouble(root, kCoefficient[k]));
    std::array<Row, kRows> rows = rows_;
    std::size_t next = 0;
    for (const ComPtr<IXMLDOMElement>& element : ext::ChildElements(root, u"*")) {
        if (next == rows.size()) break;
        Row& row = rows[next++];
        row.name = ext::ReadText(element.Get(), kName);
        Check(GetAttributeCurrency(element.Get(), kPrice, &row.price), IID_IXMLDOMElement);
        for (int q = 0; q < kQuantities; ++q) row.made[q] = ext::ReadLong(element.Get(), kMade[q]);
        row.code = ext::ReadLong(element.Get(), kCode);
    }
    coefficients_ = coefficients;
    rows_ = std::move(rows);
}

void OrvXLDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    for (int k = 0; k < kCoefficients; ++k)
        Check(SetAttribute(root, kCoefficient[k], coefficients_[k]), IID_IXMLDOMElement);
    for (const Row& row : rows_) {
        ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, root, kRow);
        ext::WriteText(element.Get(), kName, row.name);
        Check(SetAttribute(element.Get(), kPrice, row.price), IID_IXMLDOMElement);
        for (int q = 0; q < kQuantities; ++q) ext::WriteLong(element.Get(), kMade[q], row.made[q]);
        ext::WriteLong(element.Get(), kCode, row.code);
    }
}

HRESULT OrvXLDoc::get_Value(LONG Row, CY* pVal) {
    if (!pVal) return E_POINTER;
    if (!IsRow(Row)) return E_INVALIDARG;
    return Locked([&] {
        *pVal = rows_[Row].price;
        return S_OK;
    });
}

HRESULT OrvXLDoc::put_Value(LONG Row, CY newVal) {
    if (!IsRow(Row)) return E_INVALIDARG;
    return Locked([&] {
        rows_[Row].price = newVal;
        return S_OK;
    });
}

HRESULT OrvXLDoc::GetMade(LONG row, Quantity which, LONG* pVal) {
    if (!pVal) return E_POINTER;
    if (!IsRow(row)) return E_INVALIDARG;
    return Locked([&] {
        *pVal = rows_[row].made[which];
        return S_OK;
    });
}

HRESULT OrvXLDoc::PutMade(LONG row, Quantity which, LONG value) {
    if (!IsRow(row)) return E_INVALIDARG;
    return Locked([&] {
        rows_[row].made[which] = value;
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_IsInitialised(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = initialized_;  // the 16-bit flag widened with its sign: 0 or -1
        return S_OK;
    });
}

HRESULT OrvXLDoc::put_IsInitialised(LONG newVal) {
    return Locked([&] {
        initialized_ = static_cast<VARIANT_BOOL>(static_cast<std::uint16_t>(newVal));
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_CalculatedSum(CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    return Locked([&] {
        if (!initialized_) {
            const HRESULT hr = InitFromExtension();
            if (FAILED(hr)) return hr;
        }
        LONGLONG total = 0;
        for (const Row& row : rows_) total = WrapAdd(total, RowPay(row, coefficients_));
        pVal->int64 = total;
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_Coeff(LONG nIndex, float* pVal) {
    if (!pVal) return E_POINTER;
    if (static_cast<ULONG>(nIndex) >= static_cast<ULONG>(kCoefficients)) return E_INVALIDARG;
    return Locked([&] {
        *pVal = coefficients_[nIndex];
        return S_OK;
    });
}

HRESULT OrvXLDoc::put_Coeff(LONG nIndex, float newVal) {
    if (static_cast<ULONG>(nIndex) >= static_cast<ULONG>(kCoefficients)) return E_INVALIDARG;
    return Locked([&] {
        coefficients_[nIndex] = newVal;
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_ProductName(LONG nRow, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    if (!IsRow(nRow)) return E_INVALIDARG;
    return Locked([&] { return ext::CopyText(rows_[nRow].name, pVal); });
}

HRESULT OrvXLDoc::put_ProductName(LONG nRow, BSTR newVal) {
    if (!IsRow(nRow)) return E_INVALIDARG;
    return Locked([&] {
        rows_[nRow].name = ext::TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_PaymentCode(LONG Row, LONG* pVal) {
    if (!pVal) return E_POINTER;
    if (!IsRow(Row)) return E_INVALIDARG;
    return Locked([&] {
        *pVal = rows_[Row].code;
        return S_OK;
    });
}

HRESULT OrvXLDoc::put_PaymentCode(LONG Row, LONG newVal) {
    if (!IsRow(Row)) return E_INVALIDARG;
    return Locked([&] {
        rows_[Row].code = newVal;
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_Margin(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = kRows;
    return S_OK;
}

HRESULT OrvXLDoc::GetCalculatedSumByCode(LONG nIndex, LONG* pCode, CY* pcySum) {
    if (!pCode || !pcySum) return E_POINTER;
    if (!IsRow(nIndex)) return E_INVALIDARG;
    return Locked([&] {
        pcySum->int64 = RowPay(rows_[nIndex], coefficients_);
        *pCode = rows_[nIndex].code;
        return S_OK;
    });
}

HRESULT OrvXLDoc::get_MadeTotal(LONG Row, LONG* pVal) {
    if (!pVal) return E_POINTER;
    if (!IsRow(Row)) return E_INVALIDARG;
    return Locked([&] {
        std::uint32_t total = 0;  // wraps like the 32-bit sum it is
        for (LONG q : rows_[Row].made) total += static_cast<std::uint32_t>(q);
        *pVal = static_cast<LONG>(total);
        return S_OK;
    });
}

}  // namespace orv
