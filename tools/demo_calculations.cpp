// Demonstration step: calculations of the library. A loan's interest at three
// quarters of the central bank rate, month by month for a year, and a
// salary-grade amount on a date. The option objects the calculations ask
// (the central bank rate, the settings in force on a date) are built here in
// memory; the grade tariff and currency tables of a real store are not wired
// into the demonstration's database service yet, so the grade amount shown
// is the document's own amount after the document's multiplier and percentage.
#include "demo.h"

#include "frame/com.h"
#include "host/OrvMemoryDatabase.h"

#include <cstdio>
#include <iterator>
#include <map>

namespace orv::demo {
namespace {

inline constexpr CLSID CLSID_DemoRate = {0x3F1D2A01, 0x5B6C, 0x4D7E, {0x8F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0x01}};
inline constexpr CLSID CLSID_DemoShortSetting = {0x3F1D2A02, 0x5B6C, 0x4D7E, {0x8F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0x02}};
inline constexpr CLSID CLSID_DemoSettings = {0x3F1D2A03, 0x5B6C, 0x4D7E, {0x8F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0x03}};

// A value in force from each date on (0 before the first).
template <class T>
T InForce(const std::map<DATE, T>& steps, DATE date) {
    auto it = steps.upper_bound(date);
    return it == steps.begin() ? T{} : std::prev(it)->second;
}

// The central bank rate, a percentage in force from each date on.
class DemoRate : public CoClass<DemoRate, &CLSID_DemoRate, IOrvDatedOption, IDispatch> {
public:
    std::map<DATE, double> steps;
    HRESULT get_Id(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = 1;
        return S_OK;
    }
    HRESULT get_Value(DATE date, VARIANT* pVal) override {
        if (!pVal) return E_POINTER;
        VariantInit(pVal);
        pVal->vt = VT_R8;
        pVal->dblVal = InForce(steps, date);
        return S_OK;
    }
};

class DemoShortSetting : public CoClass<DemoShortSetting, &CLSID_DemoShortSetting, IOrvShortSetting, IDispatch> {
public:
    LONG id = 0;
    std::map<DATE, SHORT> steps;
    HRESULT get_Id(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = id;
        return S_OK;
    }
    HRESULT get_Value(DATE date, SHORT* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = InForce(steps, date);
        return S_OK;
    }
};

// The settings object: 475 (the grade tariff applies) and 647 (the currency mode).
class DemoSettings : public CoClass<DemoSettings, &CLSID_DemoSettings, IOrvSettings, IDispatch> {
public:
    std::map<LONG, ComPtr<IUnknown>> settings;
    HRESULT get_Count(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = static_cast<LONG>(settings.size());
        return S_OK;
    }
    HRESULT get_Setting(LONG id, IUnknown** pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        auto it = settings.find(id);
        return it == settings.end() ? S_OK : it->second.CopyTo(pVal);
    }
};

template <class T>
ComPtr<IUnknown> Make(T** object) {
    ComPtr<IUnknown> unknown;
    Must(CreateObjectWithAccess<T>(&unknown, object), "creating an option object");
    return unknown;
}

template <class I>
ComPtr<I> Specific(IOrvDocument* doc, const char* what) {
    ComPtr<IUnknown> specific;
    Must(doc->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
    ComPtr<I> kind;
    Must(specific.As(&kind), what);
    return kind;
}

double Units(CY value) { return static_cast<double>(value.int64) / 10000.0; }

void LoanInterest(Context& ctx) {
    DemoRate* rate = nullptr;
    ComPtr<IUnknown> rateOption = Make(&rate);
    rate->steps[Day(2024, 10, 28)] = 21.0;
    rate->steps[Day(2025, 6, 9)] = 20.0;
    rate->steps[Day(2025, 7, 28)] = 18.0;
    rate->steps[Day(2025, 9, 15)] = 17.0;

    auto doc = NewDocument(ctx.db, ctx.pipe, 301);
    doc->put_dtDn(Day(2025, 1, 1));
    doc->put_Dcsum1(Money(600000.00));
    auto loan = Specific<IOrvZMDoc>(doc.Get(), "IOrvZMDoc");
    Must(loan->InitFromExtension(), "InitFromExtension");
    Must(loan->put_Loaned(Day(2025, 1, 1), Money(400000.00)), "Loaned");
    Must(loan->put_Loaned(Day(2025, 7, 1), Money(200000.00)), "Loaned");
    for (WORD m = 2; m <= 12; ++m) Must(loan->put_Remitted(Day(2025, m, 1), Money(25000.00)), "Remitted");

    std::printf("Loan of 400000.00 (January) and 200000.00 (July 2025), 25000.00 repaid monthly from February:\n");
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

    // Without a rate the calculation is refused with the reason kept.
    DemoRate* none = nullptr;
    ComPtr<IUnknown> noRate = Make(&none);
    CY refused{};
    if (loan->CalcInterest(Day(2025, 5, 1), noRate.Get(), &refused) == S_FALSE) {
        Bstr reason;
        loan->get_LastError(reason.ReleaseAndGetAddressOf());
        std::printf("  without a rate: %s\n", reason.Utf8().c_str());
    }
}

void SalaryGrade(Context& ctx) {
    DemoSettings* settings = nullptr;
    ComPtr<IUnknown> settingsObject = Make(&settings);
    DemoShortSetting* applies = nullptr;
    settings->settings[475] = Make(&applies);
    applies->id = 475;
    applies->steps[Day(2020, 1, 1)] = 1;
    DemoShortSetting* mode = nullptr;
    settings->settings[647] = Make(&mode);
    mode->id = 647;
    ComPtr<IOrvMemoryDatabase> store;
    Must(ctx.db->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(store.GetAddressOf())),
         "IOrvMemoryDatabase");
    Must(store->SetSettings(settingsObject.Get()), "SetSettings");

    auto doc = NewDocument(ctx.db, ctx.pipe, 1);
    auto grade = Specific<IOrvOKDoc>(doc.Get(), "IOrvOKDoc");
    Must(grade->put_Amount(Money(85000.00)), "Amount");
    Must(grade->put_Razryad(12), "Razryad");
    Must(grade->put_CurrencyId(1), "CurrencyId");
    Must(doc->put_dcLong(4, 11500), "dcLong");  // the amount's multiplier x 10000: 1.15
    Must(doc->put_DcDat1(75), "DcDat1");         // three quarters of the rate
    Must(doc->Update(ctx.pipe), "Update");
    CY amount{};
    Must(grade->GetAmountBeSmart(ctx.pipe, Day(2025, 11, 17), ctx.db, &amount), "GetAmountBeSmart");
    std::printf("Salary grade 12 on 17.11.2025: 85000.00 x 1.15 at 75 %% = %.2f\n", Units(amount));

    // The grade tariff itself needs the store's tariff table.
    Must(grade->put_Amount(Money(0)), "Amount");
    const HRESULT hr = grade->GetAmountBeSmart(ctx.pipe, Day(2025, 11, 17), ctx.db, &amount);
    if (FAILED(hr)) ShowErrorReport("the grade tariff without a tariff table", hr);
    Must(store->SetSettings(nullptr), "SetSettings");
}

void Calculations(Context& ctx) {
    LoanInterest(ctx);
    SalaryGrade(ctx);
}

}  // namespace

ORV_DEMO_STEP(60, "Calculations: a loan's interest for a year and a salary-grade amount", Calculations);

}  // namespace orv::demo
