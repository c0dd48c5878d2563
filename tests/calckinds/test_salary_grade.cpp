// The salary-grade document (types 1 and 48): its record fields and the
// amount GetAmountBeSmart finds from the document, the grade tariff, the
// currency service and the rounding rules. Scaled figures come from
// reference_values.py.
#include "calckinds/calc_support.h"

#include "kinds/OrvOKDoc.h"

#include <gtest/gtest.h>

#include <climits>

namespace calc_test {
namespace {

// The database service with its settings and tariff table, as a fixture.
class Grade : public ::testing::Test {
protected:
    void SetUp() override {
        dbUnknown = Make(&db);
        settingsUnknown = Make(&settings);
        tariffUnknown = Make(&tariff);
        applies = AddShort(475);
        currencyMode = AddShort(647);
        auto unknown = Make(&wholeUnitsFrom);
        settings->settings[506] = unknown;
        db->settings = settingsUnknown;
        db->tariff = tariffUnknown;
        applies->steps[Day(2000, 1, 1)] = 1;
        tariff->nominals[Day(2000, 1, 1)] = Money(10000).int64;
        AddGrade(5, 12345, 0, 0);
        settings->rates[2] = 1000000;  // 100 units of the base currency per unit

        auto k = NewKind<IOrvOKDoc>(1);
        doc = k.doc;
        ok = k.kind;
        ASSERT_TRUE(ok);
        ok->put_Razryad(5);
    }

    FakeShortSetting* AddShort(LONG id) {
        FakeShortSetting* s = nullptr;
        settings->settings[id] = Make(&s);
        return s;
    }
    FakeGrade* AddGrade(LONG grade, LONGLONG coefficient, LONG roundUp, LONGLONG fixed) {
        FakeGrade* g = nullptr;
        tariff->grades[grade] = Make(&g);
        g->coefficient = Cy(coefficient);
        g->roundUp = roundUp;
        g->fixedSum = Cy(fixed);
        return g;
    }
    HRESULT Amount(DATE date, LONGLONG* out, LONG pipe = 7) {
        CY result = Cy(-1);
        HRESULT hr = ok->GetAmountBeSmart(pipe, date, dbUnknown.Get(), &result);
        *out = result.int64;
        return hr;
    }
    LONGLONG AmountOk(DATE date) {
        LONGLONG out = 0;
        EXPECT_EQ(Amount(date, &out), S_OK);
        return out;
    }

    FakeCalcDatabase* db = nullptr;
    FakeCalcSettings* settings = nullptr;
    FakeTariff* tariff = nullptr;
    FakeShortSetting* applies = nullptr;
    FakeShortSetting* currencyMode = nullptr;
    FakeDateSetting* wholeUnitsFrom = nullptr;
    ComPtr<IUnknown> dbUnknown, settingsUnknown, tariffUnknown;
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvOKDoc> ok;
};

TEST_F(Grade, AnAmountOnTheDocumentNeverConsultsTheTariff) {
    ok->put_Amount(Money(25000, 55));
    EXPECT_EQ(AmountOk(Day(2024, 3, 15)), Money(25000, 55).int64);
    EXPECT_TRUE(tariff->nominalAsked.empty());
    EXPECT_TRUE(db->tariffPipes.empty());

    // Type 48 keeps the amount x 100; the record holds whole hundredths.
    auto k48 = NewKind<IOrvOKDoc>(48);
    k48.kind->put_Amount(Cy(1234500));
    CY r{};
    ASSERT_EQ(k48.kind->GetAmountBeSmart(0, Day(2024, 3, 15), dbUnknown.Get(), &r), S_OK);
    EXPECT_EQ(r.int64, 12345);
    k48.kind->put_Amount(Cy(-19900));
    ASSERT_EQ(k48.kind->GetAmountBeSmart(0, Day(2024, 3, 15), dbUnknown.Get(), &r), S_OK);
    EXPECT_EQ(r.int64, -199);

    ok->put_Amount(Cy(LLONG_MAX));
    EXPECT_EQ(AmountOk(Day(2024, 3, 15)), LLONG_MAX);
}

TEST_F(Grade, NoGradeOrSettingOffGivesZero) {
    ok->put_Razryad(0);
    EXPECT_EQ(AmountOk(Day(2024, 3, 15)), 0);
    ok->put_Razryad(5);
    applies->steps[Day(2024, 3, 10)] = 0;  // 475 off from the 10th: asked on the date itself
    EXPECT_EQ(AmountOk(Day(2024, 3, 15)), 0);
    EXPECT_EQ(applies->asked.back(), Day(2024, 3, 15));
    EXPECT_EQ(AmountOk(Day(2024, 3, 9) + 0.25), Money(12345).int64);
}

TEST_F(Grade, TariffAmountOnTheMonthsFirstDay) {
    // 10000.00 x 1.2345 = 12345.00, asked on the first of the month with the time kept.
    EXPECT_EQ(AmountOk(Day(2024, 3, 15) + 0.5), Money(12345).int64);
    ASSERT_EQ(tariff->nominalAsked.size(), 1u);
    EXPECT_EQ(tariff->nominalAsked[0], Day(2024, 3, 1) + 0.5);
    EXPECT_EQ(tariff->gradeAsked[0].second, 5);
    EXPECT_EQ(db->tariffPipes, std::vector<LONG>{7});
    // A nominal change inside a month counts from the next month.
    tariff->nominals[Day(2024, 4, 10)] = Money(20000).int64;
    EXPECT_EQ(AmountOk(Day(2024, 4, 30)), Money(12345).int64);
    EXPECT_EQ(AmountOk(Day(2024, 5, 1)), Money(24690).int64);
}

TEST_F(Grade, RoundingToWholeUnitsByTheGradesFlag) {
    tariff->nominals[Day(2000, 1, 1)] = Money(12345, 1).int64;
    AddGrade(6, 10000, 1, 0);   // round up
    AddGrade(7, 10000, 0, 0);   // round to nearest
    struct Case {
        LONG grade;
        DATE roundFrom;  // setting 506
        LONGLONG nominal;
        LONGLONG amount;
    };
    const Case cases[] = {
        {6, 0.0, Money(12345, 1).int64, Money(12346).int64},
        {7, 0.0, Money(12345, 1).int64, Money(12345).int64},
        {7, 0.0, Money(12345, 50).int64, Money(12346).int64},    // half a unit rounds up
        {7, 0.0, Money(12345, 49).int64, Money(12345).int64},
        {6, 0.0, Money(12345).int64, Money(12345).int64},        // already whole
        {6, Day(2024, 3, 1), Money(12345, 1).int64, Money(12346).int64},   // from this month on
        {6, Day(2024, 3, 2), Money(12345, 1).int64, Money(12345, 1).int64},  // later: not yet
        {7, Day(2024, 4, 1), Money(12345, 1).int64, Money(12345, 1).int64},
    };
    for (const Case& c : cases) {
        ok->put_Razryad(c.grade);
        tariff->nominals[Day(2000, 1, 1)] = c.nominal;
        wholeUnitsFrom->steps.clear();
        if (c.roundFrom != 0.0) wholeUnitsFrom->steps[Day(2000, 1, 1)] = c.roundFrom;
        EXPECT_EQ(AmountOk(Day(2024, 3, 20)), c.amount) << c.grade << " " << c.roundFrom << " " << c.nominal;
    }
    EXPECT_EQ(wholeUnitsFrom->asked.back(), Day(2024, 3, 1));
}

TEST_F(Grade, AFixedSumReplacesTheProductAndIsNotRounded) {
    AddGrade(8, 30000, 1, Money(777, 77).int64);
    ok->put_Razryad(8);
    EXPECT_EQ(AmountOk(Day(2024, 3, 20)), Money(777, 77).int64);
}

TEST_F(Grade, NominalOrGradeMissingIsReportedWithItsMessage) {
    ok->put_Razryad(9);  // no such grade
    LONGLONG out = 1;
    EXPECT_EQ(Amount(Day(2024, 3, 20), &out), orv::OrvOKDoc::kGradeNotFound);
    EXPECT_EQ(static_cast<unsigned>(orv::OrvOKDoc::kGradeNotFound), 0x800455F1u);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(ErrorDescription(), u"[OK] Не найден разряд 9 на дату 01.03.2024");

    tariff->nominals.clear();  // no nominal: reported first
    EXPECT_EQ(Amount(Day(2024, 3, 20), &out), orv::OrvOKDoc::kGradeNotFound);
    EXPECT_EQ(ErrorDescription(), u"[OK] Не найден разрядный номинал  на дату 01.03.2024");
}

TEST_F(Grade, CurrencyByTheServiceInBothModes) {
    ok->put_CurrencyId(2);
    ok->put_Amount(Money(100));
    // Mode 0: converted at the month's first day, day 0.
    EXPECT_EQ(AmountOk(Day(2024, 3, 20)), Money(10000).int64);
    ASSERT_EQ(settings->conversions.size(), 1u);
    auto c = settings->conversions[0];
    EXPECT_EQ(c.pipe, 7);
    EXPECT_EQ(c.rateDate, Day(2024, 3, 1));
    EXPECT_EQ(c.amount, Money(100).int64);
    EXPECT_EQ(c.currency, 2);
    EXPECT_EQ(c.mode, 0);
    EXPECT_EQ(c.day, 0);

    // Mode 1: a 25 % reduction first, then converted with the end date's day
    // number; the rate date shifted by dcLong(3) months through the date service.
    currencyMode->steps[Day(2024, 3, 1)] = 1;
    doc->put_dcLong(2, 2500);
    doc->put_dcLong(3, -2);
    doc->put_dtDk(Day(2024, 12, 31));
    ok->put_Amount(Cy(123456789));
    EXPECT_EQ(AmountOk(Day(2024, 3, 20)), 9259260000);  // 9259.2600 x 100
    c = settings->conversions.back();
    EXPECT_EQ(c.amount, 92592600);  // scaled by 0.75: reference_values.py
    EXPECT_EQ(c.mode, 1);
    EXPECT_EQ(c.day, static_cast<LONG>(Day(2024, 12, 31)) - 22281);
    EXPECT_EQ(c.rateDate, Day(2024, 1, 1));
    // In the month before the mode was set it is mode 0 again (the record
    // keeps 12345.68, whole hundredths).
    EXPECT_EQ(AmountOk(Day(2024, 2, 20)), 12345680000);
    EXPECT_EQ(settings->conversions.back().mode, 0);
}

TEST_F(Grade, CurrencyByTheDocumentsMultiplierRoundsHalfAway) {
    ok->put_CurrencyId(2);
    ok->put_Razryad(0);
    doc->put_dcLong(4, 5000);  // x 0.5: whole hundredths give exact halves
    struct Case {
        LONGLONG amount;
        LONGLONG result;
    };
    const Case cases[] = {
        {100, 100},      // 0.01 x 0.5 = 0.005 -> 0.01
        {-100, -100},    // -0.005 -> -0.01
        {300, 200},      // 0.015 -> 0.02
        {200, 100},      // 0.01 exact
        {0, 0},
        {Money(1000000000).int64, Money(500000000).int64},
    };
    for (const Case& c : cases) {
        ok->put_Amount(Cy(c.amount));
        EXPECT_EQ(AmountOk(Day(2024, 3, 20)), c.result) << c.amount;
    }
    EXPECT_TRUE(settings->conversions.empty());
}

TEST(GradeScaled, RoundsToAUnitThenToHundredthsHalfAway) {
    // Figures from reference_values.py.
    struct Case {
        LONGLONG amount;
        double factor;
        LONGLONG result;
    };
    const Case cases[] = {
        {12350, 1.0, 12400}, {-12350, 1.0, -12400}, {12349, 1.0, 12300},
        {12345, 1.5, 18500}, {123456789, 0.75, 92592600}, {1, 0.5, 0},
        {49, 1.0, 0},       {50, 1.0, 100},         {-50, 1.0, -100},
        {LLONG_MAX / 4, 2.0, 4611686018427387900},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orv::OrvOKDoc::Scaled(c.amount, c.factor), c.result) << c.amount << " x " << c.factor;
}

TEST_F(Grade, PercentageAppliedLast) {
    auto k48 = NewKind<IOrvOKDoc>(48);  // raw amount 3: 0.03 kept x 100
    k48.kind->put_Amount(Cy(300));
    k48.doc->put_DcDat1(50);
    CY r{};
    ASSERT_EQ(k48.kind->GetAmountBeSmart(0, Day(2024, 3, 20), dbUnknown.Get(), &r), S_OK);
    EXPECT_EQ(r.int64, 2);  // (3 x 50 + 50) / 100

    ok->put_Amount(Money(1000));
    doc->put_DcDat1(150);
    EXPECT_EQ(AmountOk(Day(2024, 3, 20)), Money(1500).int64);
    ok->put_Amount(Cy(0));
    doc->put_DcDat1(50);  // after the tariff and its rounding
    EXPECT_EQ(AmountOk(Day(2024, 3, 20)), Money(6172, 50).int64);
}

TEST_F(Grade, MissingServicesGiveEPointer) {
    CY r = Cy(5);
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), nullptr), E_POINTER);
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), nullptr, &r), E_POINTER);
    EXPECT_EQ(r.int64, 0);
    db->settings.Reset();
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), E_POINTER);
    db->settings = settingsUnknown;
    settings->settings.erase(475);
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), E_POINTER);
    AddShort(475)->steps[Day(2000, 1, 1)] = 1;
    db->answersReferences = false;  // no tariff source: fails only when it is needed
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), E_POINTER);
    ok->put_Amount(Money(1));
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), S_OK);
    EXPECT_EQ(r.int64, Money(1).int64);
    ok->put_CurrencyId(3);  // a currency the service refuses
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), E_INVALIDARG);
    settings->answersCurrency = false;
    EXPECT_EQ(ok->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), E_POINTER);
    EXPECT_EQ(r.int64, 0);

    ComPtr<IOrvOKDoc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvOKDoc>(&alone), S_OK);
    EXPECT_EQ(alone->GetAmountBeSmart(0, Day(2024, 3, 1), dbUnknown.Get(), &r), E_POINTER);
    LONG n = 0;
    EXPECT_EQ(alone->get_Razryad(&n), E_POINTER);
}

// ------------------------------------------------------------ the fields

TEST(GradeFields, PackedFieldsOfTheRecord) {
    auto k = NewKind<IOrvOKDoc>(1);
    IOrvOKDoc* ok = k.kind.Get();
    IOrvDocument* doc = k.doc.Get();

    ok->put_PersonalNormStart(3);
    ok->put_PersonalNorm(40);
    CY ms{};
    doc->get_Dcms(2, &ms);
    EXPECT_EQ(ms.int64, (3LL * 65536 + 40) * 100);
    LONG n = 0;
    ok->get_PersonalNorm(&n);
    EXPECT_EQ(n, 40);
    ok->get_PersonalNormStart(&n);
    EXPECT_EQ(n, 3);
    ok->put_PersonalNorm(0x12345);  // only 16 bits are kept
    ok->get_PersonalNorm(&n);
    EXPECT_EQ(n, 0x2345);
    ok->get_PersonalNormStart(&n);
    EXPECT_EQ(n, 3);

    ok->put_WorkDayLength(7.5f);
    float f = 0;
    ok->get_WorkDayLength(&f);
    EXPECT_EQ(f, 7.5f);

    ok->put_Razryad(12);
    CY sum3{};
    doc->get_DcSum3(&sum3);
    EXPECT_EQ(sum3.int64, 1200);

    ok->put_Shpz(70000);
    ok->get_Shpz(&n);
    EXPECT_EQ(n, 70000 - 65536);
    ok->put_Shpz(-2);
    ok->get_Shpz(&n);
    EXPECT_EQ(n, -2);

    VARIANT_BOOL b = 0;
    ok->get_BolnFromCurMonth(&b);
    EXPECT_EQ(b, VARIANT_TRUE);
    ok->put_BolnFromCurMonth(VARIANT_FALSE);
    doc->get_Dcms(0, &ms);
    EXPECT_EQ(ms.int64, -100);
    ok->get_BolnFromCurMonth(&b);
    EXPECT_EQ(b, VARIANT_FALSE);

    ok->put_OnTrainingContract(VARIANT_TRUE);
    ok->put_OnResultsBased(VARIANT_TRUE);
    ok->put_OnResultsBased(VARIANT_FALSE);
    LONG flags = 0;
    doc->get_Dfl(&flags);
    EXPECT_EQ(flags & 0x60, 0x40);
    ok->get_OnTrainingContract(&b);
    EXPECT_EQ(b, VARIANT_TRUE);

    ok->put_FullAmount(Money(1234, 56));
    doc->get_lDcRsrv(0, &n);
    EXPECT_EQ(n, 123456);
    ok->put_AdditionUpToSum(Cy(-50));  // -0.005 -> -0.01
    CY cy{};
    ok->get_AdditionUpToSum(&cy);
    EXPECT_EQ(cy.int64, -100);

    ok->put_WeekInHours(40.5f);
    doc->get_lDcRsrv(1, &n);
    EXPECT_EQ(n, 405000);
    ok->get_WeekInHours(&f);
    EXPECT_EQ(f, 40.5f);
    ok->put_WeekInHours(100.0f);  // 1000000 is beyond what the get shows
    ok->get_WeekInHours(&f);
    EXPECT_EQ(f, 0.0f);

    ok->put_WorkWeekLength(5);
    doc->get_lDcProc(&n);
    EXPECT_EQ(n, 5);
    ok->put_Category(3);
    doc->get_lDcdpod(&n);
    EXPECT_EQ(n, 3);
    ok->put_SUNorma(41);
    doc->get_lDcRsrv(2, &n);
    EXPECT_EQ(n, 41);
    ok->put_CurrencyId(840);
    doc->get_Dcms(1, &ms);
    EXPECT_EQ(ms.int64, 84000);
    EXPECT_EQ(ok->get_Amount(nullptr), E_POINTER);
}

}  // namespace
}  // namespace calc_test
