// The piece-work order (type 334): rows, coefficients, the pay they give and
// the "XLDOCEX" body. Expected pay figures come from reference_values.py.
#include "calckinds/calc_support.h"

#include "kinds/OrvXLDoc.h"

#include <gtest/gtest.h>

#include <climits>

namespace calc_test {
namespace {

using Row = orv::OrvXLDoc::Row;
using Coefficients = std::array<float, orv::OrvXLDoc::kCoefficients>;

Kind<IOrvXLDoc> NewOrder() {
    auto k = NewKind<IOrvXLDoc>(334);
    EXPECT_TRUE(k.kind);
    return k;
}

TEST(PieceWorkPay, RowPayByKindOfTime) {
    struct Case {
        const char* what;
        LONGLONG price;
        std::array<LONG, 8> made;  // day, evening, night, weekend, holidays, premiums 1-3
        Coefficients coefficients;
        LONGLONG pay;
    };
    const Case cases[] = {
        {"day 2 and night 3 at 1.5 of 12.50", 125000, {2, 0, 3}, {0, 1.5f}, 812500},
        {"day time carries no coefficient", 125000, {4}, {9, 9, 9, 9, 9, 9, 9}, 500000},
        {"each premium with its own coefficient", 10000, {0, 1, 1, 1, 1, 1, 1, 1}, {1, 2, 3, 4, 5, 6, 7}, 280000},
        {"half a ten-thousandth rounds up", 1, {0, 1}, {0.5f}, 1},
        {"a negative half rounds toward zero", -1, {0, 1}, {0.5f}, 0},
        {"a negative one and a half gives -1", -3, {0, 1}, {0.5f}, -1},
        {"single precision loses the exact product", 123457, {0, 1000000}, {1.0f}, 123457003520},
        {"coefficient 1.15 on 7 of 99.9999", 999999, {0, 0, 0, 7}, {0, 0, 1.15f}, 8049992},
        {"a zero price pays nothing", 0, {5, 5, 5, 5, 5, 5, 5, 5}, {2, 2, 2, 2, 2, 2, 2}, 0},
        {"negative quantities are a negative pay", 10000, {-3}, {}, -30000},
        {"the largest price once in day time", LLONG_MAX, {1}, {}, LLONG_MAX},
    };
    for (const Case& c : cases) {
        Row row;
        row.price = Cy(c.price);
        for (int q = 0; q < 8; ++q) row.made[q] = c.made[q];
        EXPECT_EQ(orv::OrvXLDoc::RowPay(row, c.coefficients), c.pay) << c.what;
    }
}

TEST(PieceWorkPay, CalculatedSumAddsTheRowsAndByCodeGivesEachRow) {
    auto k = NewOrder();
    IOrvXLDoc* xl = k.kind.Get();
    ASSERT_EQ(xl->put_Coeff(1, 1.5f), S_OK);
    ASSERT_EQ(xl->put_Value(0, Money(12, 50)), S_OK);
    ASSERT_EQ(xl->put_MadeByDayTime(0, 2), S_OK);
    ASSERT_EQ(xl->put_MadeByNightTime(0, 3), S_OK);
    ASSERT_EQ(xl->put_PaymentCode(0, 101), S_OK);
    ASSERT_EQ(xl->put_Value(9, Money(1)), S_OK);
    ASSERT_EQ(xl->put_MadeByCoeff3(9, 2), S_OK);
    ASSERT_EQ(xl->put_Coeff(6, 2.0f), S_OK);
    ASSERT_EQ(xl->put_PaymentCode(9, 202), S_OK);
    ASSERT_EQ(xl->put_IsInitialised(-1), S_OK);  // nothing to read first

    CY total{};
    ASSERT_EQ(xl->get_CalculatedSum(&total), S_OK);
    EXPECT_EQ(total.int64, 812500 + 40000);

    LONG code = 0;
    CY sum{};
    ASSERT_EQ(xl->GetCalculatedSumByCode(0, &code, &sum), S_OK);
    EXPECT_EQ(code, 101);
    EXPECT_EQ(sum.int64, 812500);
    ASSERT_EQ(xl->GetCalculatedSumByCode(9, &code, &sum), S_OK);
    EXPECT_EQ(code, 202);
    EXPECT_EQ(sum.int64, 40000);
    ASSERT_EQ(xl->GetCalculatedSumByCode(5, &code, &sum), S_OK);
    EXPECT_EQ(sum.int64, 0);
}

TEST(PieceWorkPay, CalculatedSumOnAFreshObjectReadsTheExtensionFirst) {
    auto k = NewOrder();
    SetBodyText(k.doc.Get(), u"<XLDOCEX C2=\"1.5\"><COL VALUE=\"12.5\" DT=\"2\" NT=\"3\" CD=\"7\"/></XLDOCEX>");
    LONG code = -1;
    CY sum{};
    ASSERT_EQ(k.kind->GetCalculatedSumByCode(0, &code, &sum), S_OK);  // does not read
    EXPECT_EQ(sum.int64, 0);
    EXPECT_EQ(code, 0);
    CY total{};
    ASSERT_EQ(k.kind->get_CalculatedSum(&total), S_OK);
    EXPECT_EQ(total.int64, 812500);
    LONG initialised = 0;
    ASSERT_EQ(k.kind->get_IsInitialised(&initialised), S_OK);
    EXPECT_EQ(initialised, -1);
}

TEST(PieceWorkPay, TheLargestSumsWrapInsteadOfFailing) {
    auto k = NewOrder();
    ASSERT_EQ(k.kind->put_IsInitialised(-1), S_OK);
    ASSERT_EQ(k.kind->put_Value(0, Cy(LLONG_MAX)), S_OK);
    ASSERT_EQ(k.kind->put_MadeByDayTime(0, 1), S_OK);
    ASSERT_EQ(k.kind->put_Value(1, Cy(1)), S_OK);
    ASSERT_EQ(k.kind->put_MadeByDayTime(1, 1), S_OK);
    CY total{};
    ASSERT_EQ(k.kind->get_CalculatedSum(&total), S_OK);
    EXPECT_EQ(total.int64, LLONG_MIN);  // two's complement sum of the rows
}

TEST(PieceWorkMembers, IndicesOutsideTheRangeAreRefusedAndChangeNothing) {
    auto k = NewOrder();
    IOrvXLDoc* xl = k.kind.Get();
    CY value{};
    LONG n = 0;
    float c = 0;
    BSTR name = nullptr;
    for (LONG row : {LONG{-1}, LONG{10}, LONG{INT32_MIN}}) {
        EXPECT_EQ(xl->get_Value(row, &value), E_INVALIDARG);
        EXPECT_EQ(xl->put_Value(row, Money(1)), E_INVALIDARG);
        EXPECT_EQ(xl->get_MadeByHolidays(row, &n), E_INVALIDARG);
        EXPECT_EQ(xl->put_MadeByWeekend(row, 1), E_INVALIDARG);
        EXPECT_EQ(xl->get_ProductName(row, &name), E_INVALIDARG);
        EXPECT_EQ(xl->put_PaymentCode(row, 1), E_INVALIDARG);
        EXPECT_EQ(xl->get_MadeTotal(row, &n), E_INVALIDARG);
        EXPECT_EQ(xl->GetCalculatedSumByCode(row, &n, &value), E_INVALIDARG);
    }
    EXPECT_EQ(xl->put_Coeff(3, 2.5f), S_OK);
    EXPECT_EQ(xl->put_Coeff(7, 9.0f), E_INVALIDARG);
    EXPECT_EQ(xl->put_Coeff(-1, 9.0f), E_INVALIDARG);
    EXPECT_EQ(xl->get_Coeff(7, &c), E_INVALIDARG);
    for (LONG i = 0; i < 7; ++i) {
        ASSERT_EQ(xl->get_Coeff(i, &c), S_OK);
        EXPECT_EQ(c, i == 3 ? 2.5f : 0.0f) << i;
    }
    EXPECT_EQ(xl->get_Value(0, nullptr), E_POINTER);
    EXPECT_EQ(xl->GetCalculatedSumByCode(0, nullptr, &value), E_POINTER);
    EXPECT_EQ(xl->GetCalculatedSumByCode(0, &n, nullptr), E_POINTER);
    EXPECT_EQ(xl->get_Margin(&n), S_OK);
    EXPECT_EQ(n, 10);
}

TEST(PieceWorkMembers, MadeTotalAndTheInitialisedFlag) {
    auto k = NewOrder();
    IOrvXLDoc* xl = k.kind.Get();
    xl->put_MadeByDayTime(4, 1);
    xl->put_MadeByEveningTime(4, 2);
    xl->put_MadeByNightTime(4, 3);
    xl->put_MadeByWeekend(4, 4);
    xl->put_MadeByHolidays(4, 5);
    xl->put_MadeByCoeff1(4, 6);
    xl->put_MadeByCoeff2(4, 7);
    xl->put_MadeByCoeff3(4, -8);
    LONG total = 0;
    ASSERT_EQ(xl->get_MadeTotal(4, &total), S_OK);
    EXPECT_EQ(total, 20);

    LONG flag = 1;
    ASSERT_EQ(xl->get_IsInitialised(&flag), S_OK);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(xl->put_IsInitialised(0x10000), S_OK);  // low 16 bits are 0
    ASSERT_EQ(xl->get_IsInitialised(&flag), S_OK);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(xl->put_IsInitialised(0x1FFFF), S_OK);
    ASSERT_EQ(xl->get_IsInitialised(&flag), S_OK);
    EXPECT_EQ(flag, -1);
}

TEST(PieceWorkBody, WritesTheRootAndTenRowsInOrderAndReadsThemBack) {
    auto k = NewOrder();
    IOrvXLDoc* xl = k.kind.Get();
    xl->put_Coeff(0, 1.25f);
    xl->put_Coeff(6, 3.5f);
    xl->put_ProductName(0, Bstr(u"Деталь А"));
    xl->put_Value(0, Money(12, 50));
    xl->put_MadeByDayTime(0, 2);
    xl->put_MadeByCoeff1(0, 5);
    xl->put_PaymentCode(0, 301);
    xl->put_Value(9, Cy(LLONG_MIN));
    ASSERT_EQ(xl->UpdateExtension(), S_OK);

    const std::u16string body = BodyText(k.doc.Get());
    EXPECT_EQ(body.rfind(u"<XLDOCEX C1=\"1.25\" C2=\"0\" C3=\"0\" C4=\"0\" C5=\"0\" C6=\"0\" C7=\"3.5\">"
                         u"<COL NAME=\"Деталь А\" VALUE=\"12.5\" DT=\"2\" ET=\"0\" NT=\"0\" WE=\"0\" HO=\"0\" "
                         u"C1=\"5\" C2=\"0\" C3=\"0\" CD=\"301\"/>",
                         0),
              0u)
        << Utf8(body);
    std::size_t rows = 0;
    for (std::size_t at = body.find(u"<COL"); at != std::u16string::npos; at = body.find(u"<COL", at + 1)) ++rows;
    EXPECT_EQ(rows, 10u);

    ComPtr<IOrvXLDoc> again = kindtest::Attach<orv::OrvXLDoc, IOrvXLDoc>(k.doc.Get());
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    float c = 0;
    again->get_Coeff(6, &c);
    EXPECT_EQ(c, 3.5f);
    CY v{};
    again->get_Value(0, &v);
    EXPECT_EQ(v.int64, 125000);
    again->get_Value(9, &v);
    EXPECT_EQ(v.int64, LLONG_MIN);
    LONG n = 0;
    again->get_MadeByCoeff1(0, &n);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(Take([&] { BSTR s = nullptr; again->get_ProductName(0, &s); return s; }()), u"Деталь А");
    ASSERT_EQ(again->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(k.doc.Get()), body);
}

TEST(PieceWorkBody, TwelveRowsLoadTheFirstTenAndBadBodiesChangeNothing) {
    auto k = NewOrder();
    std::u16string xml = u"<XLDOCEX>";
    for (int i = 0; i < 12; ++i) xml += u"<COL CD=\"" + orv::Utf8ToUtf16(std::to_string(i + 1)) + u"\"/>";
    xml += u"</XLDOCEX>";
    SetBodyText(k.doc.Get(), xml);
    ASSERT_EQ(k.kind->InitFromExtension(), S_OK);
    for (LONG row = 0; row < 10; ++row) {
        LONG code = 0;
        k.kind->get_PaymentCode(row, &code);
        EXPECT_EQ(code, row + 1);
    }

    for (const char16_t* bad : {u"<XLDOCEX><COL CD=\"5\"", u"<OTHER/>", u"not xml at all"}) {
        SetBodyText(k.doc.Get(), bad);
        EXPECT_EQ(k.kind->InitFromExtension(), S_OK);
        LONG code = 0;
        k.kind->get_PaymentCode(9, &code);
        EXPECT_EQ(code, 10) << Utf8(bad);
    }
}

}  // namespace
}  // namespace calc_test
