// The year of incomes (type 333): the body read and written back, and the
// income and tax questions over periods that the host's date service bounds,
// on a list that spans the turn of a year.
#include "sum_support.h"

#include "host/registration.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace sumtest;
using namespace std::chrono;

DATE Day(int y, unsigned m, unsigned d) {
    return static_cast<DATE>((sys_days{year{y} / month{m} / day{d}} - sys_days{year{1899} / December / 30}).count());
}

// One "S3SUM" element in the written form.
std::u16string Item(DATE month, int icode, int code, const char16_t* sum, const char16_t* lgsm, int lgcode,
                    const char16_t* txclc, const char16_t* txtkn, int txcd, int fr) {
    auto n = [](double v) {
        std::string s = std::to_string(static_cast<long long>(v));
        return std::u16string(s.begin(), s.end());
    };
    return u"<S3SUM MN=\"" + n(month) + u"\" ICODE=\"" + n(icode) + u"\" CODE=\"" + n(code) + u"\" SUM=\"" + sum +
           u"\" LGSM=\"" + lgsm + u"\" LGCODE=\"" + n(lgcode) + u"\" TXCLC=\"" + txclc + u"\" TXTKN=\"" + txtkn +
           u"\" TXCD=\"" + n(txcd) + u"\" FR=\"" + n(fr) + u"\"/>";
}

class YearIncomes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK);
        doc_ = Document(333, 1);
        ASSERT_EQ(doc_->put_dtDn(Day(2025, 11, 1)), S_OK);
        ASSERT_EQ(doc_->put_dtDk(Day(2026, 2, 28)), S_OK);
        s3_ = kindtest::KindOf<IOrvS3Doc>(doc_.Get());
        ASSERT_TRUE(s3_);
        // November 2025 to February 2026; the first item's month 0 stands for dtDn.
        body_ = u"<S3SUMS>" +
                Item(0, 2000, 101, u"1000", u"0", 0, u"130", u"130", 0, 0) +
                Item(Day(2025, 12, 1), 2000, 101, u"2000", u"400", 103, u"208", u"200", 83, 0) +
                Item(Day(2025, 12, 1), 2010, 102, u"500.5", u"0", 0, u"65", u"65", 84, 1) +
                Item(Day(2026, 1, 1), 2000, 101, u"3000", u"1400", 103, u"208", u"208", 0, 0) +
                Item(Day(2026, 1, 20), 2000, 101, u"250", u"0", 0, u"0", u"0", 0, 0) +
                Item(Day(2026, 2, 1), 2010, 102, u"700", u"1400", 104, u"91", u"90", 83, 0) +
                u"</S3SUMS>";
        SetText(doc_.Get(), body_);
        ASSERT_EQ(s3_->InitFromExtension(), S_OK);
    }
    void TearDown() override { registration_.Revoke(); }

    LONGLONG Sum(HRESULT hr, CY cy) {
        EXPECT_EQ(hr, S_OK);
        return cy.int64 / 100;  // in hundredths
    }
    LONGLONG OnMonth(DATE d) {
        CY c = Cy(-1);
        return Sum(s3_->GetTotalIncomeOnMonth(d, &c), c);
    }
    LONGLONG OneMonth(DATE d) {
        CY c = Cy(-1);
        return Sum(s3_->GetTotalIncomeOneMonth(d, &c), c);
    }
    LONGLONG YearIncome(DATE d, LONG code) {
        CY c = Cy(-1);
        return Sum(s3_->GetYearIncome(d, code, &c), c);
    }
    LONGLONG Privileges(DATE d) {
        CY c = Cy(-1);
        return Sum(s3_->GetYearPrivilages(d, &c), c);
    }
    LONGLONG Discount(DATE d, LONG code) {
        CY c = Cy(-1);
        return Sum(s3_->GetDiscountSum(d, code, &c), c);
    }
    LONGLONG Taken(DATE d, LONG code) {
        CY c = Cy(-1);
        return Sum(s3_->GetTakenTax(d, code, &c), c);
    }

    orv::host::Registration registration_;
    ComPtr<IOrvDocument> doc_;
    ComPtr<IOrvS3Doc> s3_;
    std::u16string body_;
};

TEST_F(YearIncomes, BodyIsReadAndWrittenBackIdentically) {
    VARIANT_BOOL init = VARIANT_FALSE;
    ASSERT_EQ(s3_->IsInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_TRUE);
    BSTR text = nullptr;
    ASSERT_EQ(s3_->GetSumsXml(&text), S_OK);
    EXPECT_EQ(Take(text), body_);
    SetText(doc_.Get(), u"");
    ASSERT_EQ(s3_->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc_.Get()), body_);
}

TEST_F(YearIncomes, IncomeUpToAMonthCountsFromTheStartOfItsYearOnly) {
    // December 2025: November (month 0 = dtDn) and December, not January.
    EXPECT_EQ(OnMonth(Day(2025, 12, 15)), 100000 + 200000 + 50050);
    // January 2026 starts a new year: the December items fall out.
    EXPECT_EQ(OnMonth(Day(2026, 1, 31)), 300000 + 25000);
    EXPECT_EQ(OnMonth(Day(2026, 2, 1)), 300000 + 25000 + 70000);
    EXPECT_EQ(OnMonth(0.0), 0);
}

TEST_F(YearIncomes, IncomeOfOneMonthCountsFromTheDateItself) {
    EXPECT_EQ(OneMonth(Day(2026, 1, 1)), 300000 + 25000);
    EXPECT_EQ(OneMonth(Day(2026, 1, 2)), 25000);  // the item of the 1st lies before the date
    EXPECT_EQ(OneMonth(Day(2026, 1, 21)), 0);
}

TEST_F(YearIncomes, YearQuestionsStopAtTheEndOfTheDatesYear) {
    EXPECT_EQ(YearIncome(Day(2025, 3, 1), 2000), 100000 + 200000);
    EXPECT_EQ(YearIncome(Day(2025, 3, 1), 2010), 50050);
    EXPECT_EQ(YearIncome(Day(2026, 6, 30), 2000), 300000 + 25000);
    EXPECT_EQ(YearIncome(Day(2026, 6, 30), 2010), 70000);
    EXPECT_EQ(YearIncome(Day(2026, 6, 30), 9999), 0);
    EXPECT_EQ(Privileges(Day(2025, 12, 31)), 40000);
    EXPECT_EQ(Privileges(Day(2026, 1, 1)), 140000 + 140000);
}

TEST_F(YearIncomes, DiscountsCountWithinTheMonthAndTaxCodeZeroCountsAs83) {
    EXPECT_EQ(Discount(Day(2026, 1, 10), 103), 140000);
    EXPECT_EQ(Discount(Day(2025, 12, 10), 103), 40000);
    EXPECT_EQ(Discount(Day(2026, 2, 10), 103), 0);
    EXPECT_EQ(Discount(Day(2026, 2, 10), 104), 140000);

    EXPECT_EQ(Taken(Day(2025, 12, 1), 83), 13000 + 20000);  // code 0 and code 83
    EXPECT_EQ(Taken(Day(2025, 12, 1), 84), 6500);
    EXPECT_EQ(Taken(Day(2026, 2, 1), 83), 20800 + 0 + 9000);
    EXPECT_EQ(Taken(Day(2026, 2, 1), 0), 0);
}

TEST_F(YearIncomes, IncomeCodesAndTheActualPeriod) {
    BSTR codes = nullptr;
    ASSERT_EQ(s3_->GetIncCodes(Day(2025, 6, 1), &codes), S_OK);
    EXPECT_EQ(Take(codes), u"<INCODES><INC ID=\"2000\"/><INC ID=\"2010\"/></INCODES>");
    ASSERT_EQ(s3_->GetIncCodes(Day(2024, 6, 1), &codes), S_OK);
    EXPECT_EQ(Take(codes), u"<INCODES/>");

    DATE start = 0, end = 0;
    ASSERT_EQ(s3_->get_ActualStartDate(&start), S_OK);
    ASSERT_EQ(s3_->get_ActualEndDate(&end), S_OK);
    EXPECT_EQ(start, Day(2025, 11, 1));
    EXPECT_EQ(end, Day(2026, 2, 1));
}

TEST_F(YearIncomes, ReadingReplacesTheItemsAndMergingInsertsByMonth) {
    ASSERT_EQ(s3_->AddSumsXml(Bstr(u"<S3SUMS>" + Item(Day(2025, 12, 1), 2000, 101, u"1", u"0", 0, u"0", u"0", 0, 0) +
                                   u"</S3SUMS>")),
              S_OK);
    EXPECT_EQ(OnMonth(Day(2025, 12, 15)), 100000 + 200000 + 50050 + 100);
    ASSERT_EQ(s3_->InitFromExtension(), S_OK);  // back to the body alone
    EXPECT_EQ(OnMonth(Day(2025, 12, 15)), 100000 + 200000 + 50050);

    ASSERT_EQ(s3_->ClearSums(), S_OK);
    EXPECT_EQ(Text(doc_.Get()), u"<S3SUMS/>");
    EXPECT_EQ(OnMonth(Day(2026, 1, 31)), 0);
    DATE start = 0, end = 0;
    ASSERT_EQ(s3_->get_ActualStartDate(&start), S_OK);
    ASSERT_EQ(s3_->get_ActualEndDate(&end), S_OK);
    EXPECT_EQ(start, Day(2025, 11, 1));  // no items: the document's own period
    EXPECT_EQ(end, Day(2026, 2, 28));
}

TEST_F(YearIncomes, BadInputIsRefusedOrIgnoredWithoutChangingTheItems) {
    EXPECT_EQ(s3_->AddSumsXml(Bstr(u"<S3SUMS><S3SUM")), E_INVALIDARG);
    EXPECT_EQ(s3_->GetTotalIncomeOnMonth(Day(2026, 1, 1), nullptr), E_POINTER);
    EXPECT_EQ(s3_->GetIncCodes(0.0, nullptr), E_POINTER);
    SetText(doc_.Get(), u"not xml");
    ASSERT_EQ(s3_->InitFromExtension(), S_OK);
    EXPECT_EQ(OnMonth(Day(2026, 1, 31)), 300000 + 25000);
}

}  // namespace
