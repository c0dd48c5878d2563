// Demonstration step: calculations of the library from the reference data of
// the store (data/store/reference.xml). A loan's interest at three quarters of
// the central bank rate the store keeps as a dated option (setting 900), month
// by month for a year, and salary-grade amounts from the stored tariff table
// and settings 475, 647 and 506.
#include "demo.h"

#include <cstdio>
#include <string>

namespace orv::demo {
namespace {

template <class I>
ComPtr<I> Specific(IOrvDocument* doc, const char* what) {
    ComPtr<IUnknown> specific;
    Must(doc->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
    ComPtr<I> kind;
    Must(specific.As(&kind), what);
    return kind;
}

double Units(CY value) { return static_cast<double>(value.int64) / 10000.0; }

// A setting of the store's settings object (data/store/reference.xml).
ComPtr<IUnknown> StoredSetting(Context& ctx, LONG id) {
    ComPtr<IUnknown> settingsObject;
    Must(ctx.db->get_Settings(settingsObject.GetAddressOf()), "get_Settings");
    ComPtr<IOrvSettings> settings;
    Must(settingsObject.As(&settings), "IOrvSettings");
    ComPtr<IUnknown> setting;
    Must(settings->get_Setting(id, setting.GetAddressOf()), "get_Setting");
    if (!setting) throw Failed{"the store holds no setting " + std::to_string(id), E_FAIL};
    return setting;
}

void LoanInterest(Context& ctx) {
    // The central bank rate as the store keeps it: a dated option (setting 900).
    ComPtr<IUnknown> rateOption = StoredSetting(ctx, 900);

    auto doc = NewDocument(ctx.db, ctx.pipe, 301);
    doc->put_dtDn(Day(2025, 1, 1));
    doc->put_Dcsum1(Money(600000.00));
    auto loan = Specific<IOrvZMDoc>(doc.Get(), "IOrvZMDoc");
    Must(loan->InitFromExtension(), "InitFromExtension");
    Must(loan->put_Loaned(Day(2025, 1, 1), Money(400000.00)), "Loaned");
    Must(loan->put_Loaned(Day(2025, 7, 1), Money(200000.00)), "Loaned");
    for (WORD m = 2; m <= 12; ++m) Must(loan->put_Remitted(Day(2025, m, 1), Money(25000.00)), "Remitted");

    std::printf("Loan of 400000.00 (January) and 200000.00 (July 2025), 25000.00 repaid monthly from February,\n"
                "at the central bank rate of the store (21 %%, 20 %% from 09.06.2025, 18 %% from 28.07.2025):\n");
    CY total{};
    for (WORD m = 1; m <= 12; ++m) {
        const DATE month = Day(2025, m, 1);
        CY interest{}, debt{};
        Must(loan->CalcInterest(month, rateOption.Get(), &interest), "CalcInterest");
        loan->get_Debt(month, &debt);  // S_FALSE: a computed value
        Must(loan->put_Interest(month, interest), "Interest");
        total.int64 += interest.int64;
        std::printf("  %02u.2025  debt before the month %12.2f  interest %10.2f\n", m, Units(debt), Units(interest));
    }
    std::printf("  interest for the year %.2f\n", Units(total));
    CY toLend{};
    Must(loan->GetSumToLoan(Day(2025, 3, 1), &toLend), "GetSumToLoan");
    std::printf("  sum to lend in March (a twelfth of the loan's amount): %.2f\n", Units(toLend));
    Must(loan->UpdateExtension(), "UpdateExtension");
    Must(doc->Update(ctx.pipe), "Update");

    // Before the first stored rate the calculation is refused with the reason kept.
    CY refused{};
    auto early = NewDocument(ctx.db, ctx.pipe, 301);
    auto earlyLoan = Specific<IOrvZMDoc>(early.Get(), "IOrvZMDoc");
    Must(earlyLoan->put_Loaned(Day(2022, 1, 1), Money(1000.00)), "Loaned");
    if (earlyLoan->CalcInterest(Day(2022, 5, 1), rateOption.Get(), &refused) == S_FALSE) {
        Bstr reason;
        earlyLoan->get_LastError(reason.ReleaseAndGetAddressOf());
        std::printf("  a loan of 2022, before the first stored rate: %s\n", reason.Utf8().c_str());
    }
}

void SalaryGrade(Context& ctx) {
    // Settings 475, 647 and 506 and the tariff table all come from the store.
    auto doc = NewDocument(ctx.db, ctx.pipe, 1);
    auto grade = Specific<IOrvOKDoc>(doc.Get(), "IOrvOKDoc");
    Must(grade->put_Razryad(5), "Razryad");
    Must(doc->Update(ctx.pipe), "Update");
    CY amount{};
    Must(grade->GetAmountBeSmart(ctx.pipe, Day(2024, 11, 17), ctx.db, &amount), "GetAmountBeSmart");
    std::printf("Salary grade 5 on 17.11.2024 from the stored tariff table: nominal 10000.00 x 1.5 = %.2f\n",
                Units(amount));
    Must(grade->GetAmountBeSmart(ctx.pipe, Day(2025, 11, 17), ctx.db, &amount), "GetAmountBeSmart");
    std::printf("Salary grade 5 on 17.11.2025 (the 2025 table): 12000.00 x 1.4567 = 17480.40, rounded up to whole "
                "units by the grade's flag: %.2f\n",
                Units(amount));
    Must(doc->put_DcDat1(75), "DcDat1");  // three quarters of the rate
    Must(grade->GetAmountBeSmart(ctx.pipe, Day(2025, 11, 17), ctx.db, &amount), "GetAmountBeSmart");
    std::printf("  at 75 %%: %.2f\n", Units(amount));

    // The 2025 table has no grade 6: the amount is refused with the reason.
    Must(grade->put_Razryad(6), "Razryad");
    const HRESULT hr = grade->GetAmountBeSmart(ctx.pipe, Day(2025, 11, 17), ctx.db, &amount);
    if (FAILED(hr)) ShowErrorReport("grade 6 in 2025", hr);
}

void Calculations(Context& ctx) {
    LoanInterest(ctx);
    SalaryGrade(ctx);
}

}  // namespace

ORV_DEMO_STEP(60, "Calculations: a loan's interest for a year and a salary-grade amount", Calculations);

}  // namespace orv::demo
