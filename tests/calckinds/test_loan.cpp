// The loan document (type 301): the month table, the debt, the sum to lend
// and the interest at three quarters of the central bank rate. Interest
// figures come from reference_values.py (same double arithmetic, in the
// order the rules state); the day counts are those of the calendar.
#include "calckinds/calc_support.h"

#include "kinds/OrvZMDoc.h"

#include <gtest/gtest.h>

#include <climits>

namespace calc_test {
namespace {

Kind<IOrvZMDoc> NewLoan() {
    auto k = NewKind<IOrvZMDoc>(301);
    EXPECT_TRUE(k.kind);
    return k;
}

ComPtr<IUnknown> Rates(std::initializer_list<std::pair<DATE, double>> steps, FakeRate** fake = nullptr) {
    FakeRate* rate = nullptr;
    ComPtr<IUnknown> unknown = Make(&rate);
    for (auto [from, percent] : steps) rate->steps[from] = percent;
    if (fake) *fake = rate;
    return unknown;
}

LONGLONG Interest(IOrvZMDoc* zm, DATE month, IUnknown* rates, HRESULT expect = S_OK) {
    CY sum = Cy(-1);
    EXPECT_EQ(zm->CalcInterest(month, rates, &sum), expect);
    return sum.int64;
}

TEST(LoanMonths, GettersSettersAndAbsentMonths) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    const DATE may = Day(2024, 5, 1);
    CY v = Cy(7);
    EXPECT_EQ(zm->get_Loaned(may, &v), S_FALSE);
    EXPECT_EQ(v.int64, 0);
    ASSERT_EQ(zm->put_ToRemit(may, Money(300)), S_OK);
    using Getter = HRESULT (IOrvZMDoc::*)(DATE, CY*);
    for (Getter get : {&IOrvZMDoc::get_ToLoan, &IOrvZMDoc::get_Loaned, &IOrvZMDoc::get_Remitted,
                       &IOrvZMDoc::get_Interest, &IOrvZMDoc::get_ToRemitCor, &IOrvZMDoc::get_Premium}) {
        v = Cy(7);
        EXPECT_EQ((zm->*get)(may, &v), S_OK);
        EXPECT_EQ(v.int64, 0);
    }
    EXPECT_EQ(zm->get_ToRemit(may, &v), S_OK);
    EXPECT_EQ(v.int64, Money(300).int64);
    // The key is the date exactly: the next day is another month entry.
    EXPECT_EQ(zm->get_ToRemit(may + 1, &v), S_FALSE);
    EXPECT_EQ(zm->get_ToRemit(may + 0.5, &v), S_FALSE);
    EXPECT_EQ(zm->get_ToLoan(may, nullptr), E_POINTER);
    EXPECT_EQ(zm->get_Debt(may, nullptr), E_POINTER);
}

TEST(LoanDebt, LoansCountFrom2002AndRepaymentsFrom2003) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    zm->put_Loaned(Day(2001, 12, 1), Money(1000));   // before 2002: not counted
    zm->put_Loaned(Day(2002, 1, 1), Money(20000));
    zm->put_Remitted(Day(2002, 6, 1), Money(500));   // before 2003: not counted
    zm->put_Remitted(Day(2003, 1, 1), Money(2000));
    zm->put_Loaned(Day(2003, 2, 1), Money(5000));
    zm->put_Remitted(Day(2003, 3, 1), Money(30000));  // more than lent: negative debt

    struct Case {
        DATE at;
        LONGLONG debt;
    };
    const Case cases[] = {
        {Day(2001, 12, 1), 0},               // months before the date only
        {Day(2002, 1, 1), 0},
        {Day(2002, 1, 2), Money(20000).int64},
        {Day(2003, 1, 1), Money(20000).int64},
        {Day(2003, 2, 1), Money(18000).int64},
        {Day(2003, 3, 1), Money(23000).int64},
        {Day(2003, 4, 1), Money(-7000).int64},
    };
    for (const Case& c : cases) {
        CY debt = Cy(1);
        EXPECT_EQ(zm->get_Debt(c.at, &debt), S_FALSE);
        EXPECT_EQ(debt.int64, c.debt) << c.at;
    }
    // The excluded month's repayment is left out.
    orv::OrvZMDoc::Table table;
    table[Day(2003, 1, 1)].remitted = Money(2000);
    table[Day(2002, 3, 1)].loaned = Money(9000);
    EXPECT_EQ(orv::OrvZMDoc::DebtAt(table, Day(2004, 1, 1), Day(2003, 1, 1)), Money(9000).int64);
    EXPECT_EQ(orv::OrvZMDoc::DebtAt(table, Day(2004, 1, 1), 0.0), Money(7000).int64);
}

TEST(LoanDebt, StoredDebtIsWrittenButNotRead) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    ASSERT_EQ(zm->put_Debt(Day(2024, 1, 1), Money(999)), S_OK);
    CY debt = Cy(5);
    EXPECT_EQ(zm->get_Debt(Day(2024, 2, 1), &debt), S_FALSE);
    EXPECT_EQ(debt.int64, 0);
}

TEST(LoanSumToLoan, OwnSumThenDcSum2ThenATwelfthOfDcsum1) {
    struct Case {
        const char* what;
        LONGLONG own;
        LONGLONG sum1;
        LONGLONG sum2;
        LONGLONG result;
    };
    // A twelfth by the currency-by-factor rule: figures from reference_values.py.
    const Case cases[] = {
        {"own sum", Money(700).int64, Money(1200).int64, Money(50).int64, Money(700).int64},
        {"negative own sum gives 0", Money(-700).int64, Money(1200).int64, Money(50).int64, 0},
        {"falls back to DcSum2", 0, Money(1200).int64, Money(50).int64, Money(50).int64},
        {"then a twelfth of Dcsum1", 0, Money(1200).int64, 0, Money(100).int64},
        {"a twelfth of 1.26 rounds half away", 0, 12600, 0, 1100},
        {"a twelfth of 100.00", 0, Money(100).int64, 0, 83300},
        {"negative DcSum2 is passed over", 0, Money(1200).int64, Money(-50).int64, Money(100).int64},
        {"nothing positive gives 0", 0, Money(-1200).int64, 0, 0},
        {"a twelfth of 0.0010 is 0", 0, 10, 0, 0},
    };
    for (const Case& c : cases) {
        auto k = NewLoan();
        k.doc->put_Dcsum1(Cy(c.sum1));
        k.doc->put_DcSum2(Cy(c.sum2));
        const DATE month = Day(2024, 3, 1);
        if (c.own) k.kind->put_ToLoan(month, Cy(c.own));
        CY sum = Cy(-1);
        EXPECT_EQ(k.kind->GetSumToLoan(month, &sum), S_OK) << c.what;
        EXPECT_EQ(sum.int64, c.result) << c.what;
    }
    ComPtr<IOrvZMDoc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvZMDoc>(&alone), S_OK);  // created alone, without a document
    CY sum{};
    EXPECT_EQ(alone->GetSumToLoan(Day(2024, 3, 1), &sum), E_POINTER);
}

TEST(LoanInterest, OneLoanOverAMonthOf31Days) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2024, 1, 1), Money(100000));
    FakeRate* fake = nullptr;
    auto rates = Rates({{Day(2023, 1, 1), 16.0}}, &fake);
    // 100000.00 x 0.16 x 3/4 x 31 / 365 = 1019.1780.. -> 1019.18
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 3, 1), rates.Get()), 10191800);
    // The rate is asked at the month's end (the first day of the next month)
    // and at the loan's month.
    ASSERT_GE(fake->asked.size(), 2u);
    EXPECT_EQ(fake->asked[0], Day(2024, 4, 1));
    EXPECT_EQ(fake->asked[1], Day(2024, 1, 1));
    // The result is not stored.
    CY stored = Cy(1);
    EXPECT_EQ(k.kind->get_Interest(Day(2024, 3, 1), &stored), S_FALSE);
}

TEST(LoanInterest, RateChangeSplitsTheDebtIntoTranchesInALeapFebruary) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2024, 1, 1), Money(50000));
    k.kind->put_Loaned(Day(2024, 2, 1), Money(30000));
    auto rates = Rates({{Day(2020, 1, 1), 8.0}, {Day(2024, 2, 1), 10.0}});
    // 30000.00 at 10 % and 50000.00 at 8 %, 29 days: 178.7671 + 238.3561 -> 417.12
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 2, 1), rates.Get()), 4171200);
}

TEST(LoanInterest, ANegativeLoanIsCarriedIntoTheEarlierTranche) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2024, 1, 1), Money(50000));
    k.kind->put_Loaned(Day(2024, 2, 1), Money(-10000));  // a correction
    auto rates = Rates({{Day(2020, 1, 1), 8.0}, {Day(2024, 2, 1), 10.0}});
    // No tranche at 10 % (its sum is not above 0); 40000.00 at 8 % for 29 days.
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 2, 1), rates.Get()), 1906800);
}

TEST(LoanInterest, ARateChangeInsideTheMonthLeavesTheLoanAtItsMonthsRate) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2024, 6, 1), Money(100000));
    FakeRate* fake = nullptr;
    auto rates = Rates({{Day(2020, 1, 1), 16.0}, {Day(2024, 6, 15), 18.0}}, &fake);
    // The end-of-month rate is 18 %, the loan's month has 16 %: 30 days at 16 %.
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 6, 1), rates.Get()), 9863000);
    EXPECT_EQ(fake->asked.front(), Day(2024, 7, 1));
}

TEST(LoanInterest, FebruaryOfACommonYearHas28Days) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2023, 1, 1), Money(50000));
    auto rates = Rates({{Day(2020, 1, 1), 8.0}});
    EXPECT_EQ(Interest(k.kind.Get(), Day(2023, 2, 1), rates.Get()), 2301400);
}

TEST(LoanInterest, ARestBeyondTheLoansIsChargedAtTheEarliestTranchesRate) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2002, 3, 1), Money(20000));
    k.kind->put_Remitted(Day(2003, 5, 1), Money(-5000));  // a correction raising the debt
    auto rates = Rates({{Day(2000, 1, 1), 20.0}, {Day(2003, 6, 1), 30.0}});
    // Debt 25000.00; the rate at the end of July is 30 %, but the whole debt
    // goes in the tranche of March 2002 at 20 %: 31 days -> 318.49
    EXPECT_EQ(Interest(k.kind.Get(), Day(2003, 7, 1), rates.Get()), 3184900);
}

TEST(LoanInterest, TheMonthsOwnRepaymentIsNotSubtracted) {
    auto k = NewLoan();
    k.kind->put_Loaned(Day(2024, 1, 1), Money(100000));
    k.kind->put_Remitted(Day(2024, 2, 1), Money(10000));
    k.kind->put_Remitted(Day(2024, 3, 1), Money(10000));
    k.kind->put_Loaned(Day(2024, 4, 1), Money(70000));  // after the month: skipped
    auto rates = Rates({{Day(2023, 1, 1), 16.0}});
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 3, 1), rates.Get()), 9172600);
    CY debt{};
    k.kind->get_Debt(Day(2024, 4, 1), &debt);
    EXPECT_EQ(debt.int64, Money(80000).int64);  // the plain debt does subtract it
}

TEST(LoanInterest, HalfAHundredthRoundsAwayFromZero) {
    auto k = NewLoan();
    // 100.1112 at 73 % for the 30 days of April: 4.5050 exactly after the cut -> 4.51
    k.kind->put_Loaned(Day(2024, 4, 1), Cy(1001112));
    auto rates = Rates({{Day(2020, 1, 1), 73.0}});
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 4, 1), rates.Get()), 45100);
}

TEST(LoanInterest, ZeroAndNegativeDebtsEarnNothing) {
    auto k = NewLoan();
    auto rates = Rates({{Day(2020, 1, 1), 10.0}});
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 4, 1), rates.Get()), 0);  // empty table
    k.kind->put_Loaned(Day(2024, 1, 1), Money(100));
    k.kind->put_Remitted(Day(2024, 2, 1), Money(100));
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 4, 1), rates.Get()), 0);
    k.kind->put_Remitted(Day(2024, 3, 1), Money(500));
    EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 4, 1), rates.Get()), 0);
}

TEST(LoanInterest, TheRateMayComeAsTextOrCurrency) {
    for (VARTYPE vt : {VT_BSTR, VT_CY}) {
        auto k = NewLoan();
        k.kind->put_Loaned(Day(2024, 1, 1), Money(100000));
        FakeRate* fake = nullptr;
        auto rates = Rates({{Day(2023, 1, 1), 16.0}}, &fake);
        fake->answerAs = vt;
        EXPECT_EQ(Interest(k.kind.Get(), Day(2024, 3, 1), rates.Get()), 10191800) << vt;
    }
}

TEST(LoanInterest, AMissingRateIsKeptAsTheLastError) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    zm->put_Loaned(Day(2024, 1, 1), Money(100000));
    // No rate at the month's end.
    auto none = Rates({});
    EXPECT_EQ(Interest(zm, Day(2024, 3, 1), none.Get(), S_FALSE), 0);
    BSTR text = nullptr;
    ASSERT_EQ(zm->get_LastError(&text), S_OK);
    EXPECT_EQ(Take(text),
              u"Нет ставки ЦВ для расчета материальной выгоды по займу для даты 01.04.2024. "
              u"Проверьте правило \"Ставка ЦБ для мат. выгоды\"");
    // A rate from February on: none at the loan's month.
    auto late = Rates({{Day(2024, 2, 1), 16.0}});
    EXPECT_EQ(Interest(zm, Day(2024, 3, 1), late.Get(), S_FALSE), 0);
    ASSERT_EQ(zm->get_LastError(&text), S_OK);
    EXPECT_NE(Take(text).find(u"01.01.2024"), std::u16string::npos);
    ASSERT_EQ(zm->ClearLastError(), S_OK);
    ASSERT_EQ(zm->get_LastError(&text), S_OK);
    EXPECT_EQ(Take(text), u"");
}

TEST(LoanInterest, BadArgumentsAndFailingOptions) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    zm->put_Loaned(Day(2024, 1, 1), Money(100000));
    EXPECT_EQ(zm->CalcInterest(Day(2024, 3, 1), nullptr, nullptr), E_POINTER);
    CY sum = Cy(5);
    EXPECT_EQ(zm->CalcInterest(Day(2024, 3, 1), nullptr, &sum), E_POINTER);
    EXPECT_EQ(sum.int64, 0);
    // An object that is no dated option.
    FakeTariff* other = nullptr;
    auto notAnOption = Make(&other);
    EXPECT_EQ(zm->CalcInterest(Day(2024, 3, 1), notAnOption.Get(), &sum), E_POINTER);
    // A failing option passes its status on.
    FakeRate* fake = nullptr;
    auto failing = Rates({{Day(2023, 1, 1), 16.0}}, &fake);
    fake->failWith = E_ACCESSDENIED;
    EXPECT_EQ(zm->CalcInterest(Day(2024, 3, 1), failing.Get(), &sum), E_ACCESSDENIED);
    EXPECT_EQ(sum.int64, 0);
    CY loaned{};
    EXPECT_EQ(zm->get_Loaned(Day(2024, 1, 1), &loaned), S_OK);
    EXPECT_EQ(loaned.int64, Money(100000).int64);
}

TEST(LoanBody, WritesMonthsInOrderWithTheComputedDebt) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    zm->put_Remitted(Day(2024, 2, 1), Money(100));
    zm->put_Loaned(Day(2024, 1, 1), Money(1000));
    zm->put_ToLoan(Day(2024, 1, 1), Money(1000));
    zm->put_Debt(Day(2024, 1, 1), Money(5));  // stored, not written
    zm->put_Premium(Day(2024, 2, 1), Money(1, 50));
    BSTR xml = nullptr;
    ASSERT_EQ(zm->GetSumsInXml(&xml), S_OK);
    EXPECT_EQ(Take(xml),
              u"<ORIG><M MD=\"45292\" TL=\"1000\" LN=\"1000\" TR=\"0\" TRC=\"0\" RT=\"0\" IT=\"0\" PR=\"0\" DB=\"0\"/>"
              u"<M MD=\"45323\" TL=\"0\" LN=\"0\" TR=\"0\" TRC=\"0\" RT=\"100\" IT=\"0\" PR=\"1.5\" DB=\"1000\"/></ORIG>");
    ASSERT_EQ(zm->UpdateExtension(), S_OK);
    const std::u16string body = BodyText(k.doc.Get());
    EXPECT_EQ(body.rfind(u"<ORIG><M MD=\"45292\"", 0), 0u);
    LONG length = 0;
    kindtest::ExtensionOf(k.doc.Get())->get_Length(&length);
    EXPECT_EQ(length, static_cast<LONG>(body.size() * 2));
}

TEST(LoanBody, ReadingMergesAndNeverReplaces) {
    auto k = NewLoan();
    SetBodyText(k.doc.Get(),
                u"<ORIG><M MD=\"45292\" LN=\"1000\" DB=\"77\"/><M MD=\"0\" LN=\"5\"/><M LN=\"6\"/>"
                u"<X MD=\"45300\" LN=\"7\"/><M MD=\"45323\" RT=\"1 000,5\" TL=\"-5\"/></ORIG>");
    IOrvZMDoc* zm = k.kind.Get();
    VARIANT_BOOL init = VARIANT_TRUE;
    zm->get_IsInitialized(&init);
    EXPECT_EQ(init, VARIANT_FALSE);
    ASSERT_EQ(zm->InitFromExtension(), S_OK);
    zm->get_IsInitialized(&init);
    EXPECT_EQ(init, VARIANT_TRUE);
    CY v{};
    EXPECT_EQ(zm->get_Loaned(Day(2024, 1, 1), &v), S_OK);
    EXPECT_EQ(v.int64, Money(1000).int64);
    EXPECT_EQ(zm->get_Remitted(Day(2024, 2, 1), &v), S_OK);
    EXPECT_EQ(v.int64, Money(1000, 50).int64);
    EXPECT_EQ(zm->get_ToLoan(Day(2024, 2, 1), &v), S_OK);
    EXPECT_EQ(v.int64, Money(-5).int64);
    EXPECT_EQ(zm->get_Loaned(45300.0, &v), S_FALSE);  // not an "M"

    zm->put_Loaned(Day(2024, 1, 1), Money(3));
    ASSERT_EQ(zm->InitFromExtension(), S_OK);  // does not overwrite or duplicate
    EXPECT_EQ(zm->get_Loaned(Day(2024, 1, 1), &v), S_OK);
    EXPECT_EQ(v.int64, Money(3).int64);
    ASSERT_EQ(zm->PutSumsXml(Bstr(u"<ORIG><M MD=\"45292\" LN=\"9\"/><M MD=\"45352\" LN=\"9\"/></ORIG>")), S_OK);
    EXPECT_EQ(zm->get_Loaned(Day(2024, 1, 1), &v), S_OK);
    EXPECT_EQ(v.int64, Money(3).int64);
    EXPECT_EQ(zm->get_Loaned(Day(2024, 3, 1), &v), S_OK);
    EXPECT_EQ(v.int64, Money(9).int64);
    BSTR xml = nullptr;
    zm->GetSumsInXml(&xml);
    std::u16string all = Take(xml);
    std::size_t months = 0;
    for (std::size_t at = all.find(u"<M "); at != std::u16string::npos; at = all.find(u"<M ", at + 1)) ++months;
    EXPECT_EQ(months, 3u);
    // Text that does not parse changes nothing.
    EXPECT_EQ(zm->PutSumsXml(Bstr(u"<ORIG><M MD=\"45400\"")), S_OK);
    EXPECT_EQ(zm->PutSumsXml(nullptr), S_OK);
    zm->GetSumsInXml(&xml);
    EXPECT_EQ(Take(xml), all);
}

TEST(LoanBody, LargestSumsSurviveTheRoundTrip) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    zm->put_Loaned(Day(2024, 1, 1), Cy(LLONG_MAX));
    zm->put_Interest(Day(2024, 1, 1), Cy(LLONG_MIN));
    zm->put_Premium(Day(2024, 1, 1), Cy(-1));
    ASSERT_EQ(zm->UpdateExtension(), S_OK);
    auto again = kindtest::Attach<orv::OrvZMDoc, IOrvZMDoc>(k.doc.Get());
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    CY v{};
    again->get_Loaned(Day(2024, 1, 1), &v);
    EXPECT_EQ(v.int64, LLONG_MAX);
    again->get_Interest(Day(2024, 1, 1), &v);
    EXPECT_EQ(v.int64, LLONG_MIN);
    again->get_Premium(Day(2024, 1, 1), &v);
    EXPECT_EQ(v.int64, -1);
    again->get_Debt(Day(2024, 2, 1), &v);
    EXPECT_EQ(v.int64, LLONG_MAX);
}

TEST(LoanBody, EmptyTableClearsAndCleanUpKeepsThePlannedSums) {
    auto k = NewLoan();
    IOrvZMDoc* zm = k.kind.Get();
    SetBodyText(k.doc.Get(), u"<ORIG/>");
    ASSERT_EQ(zm->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(k.doc.Get()), u"");

    const DATE jan = Day(2024, 1, 1);
    zm->put_ToLoan(jan, Money(1));
    zm->put_Loaned(jan, Money(2));
    zm->put_ToRemit(jan, Money(3));
    zm->put_Remitted(jan, Money(4));
    zm->put_Debt(jan, Money(5));
    zm->put_Interest(jan, Money(6));
    zm->put_ToRemitCor(jan, Money(7));
    zm->put_Premium(jan, Money(8));
    ASSERT_EQ(zm->TotalCleanUp(), S_OK);
    EXPECT_EQ(BodyText(k.doc.Get()),
              u"<ORIG><M MD=\"45292\" TL=\"1\" LN=\"0\" TR=\"0\" TRC=\"7\" RT=\"0\" IT=\"0\" PR=\"8\" DB=\"0\"/></ORIG>");
}

}  // namespace
}  // namespace calc_test
