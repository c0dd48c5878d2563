// Demonstration step: a payroll month. The first quarter of 2026 of the
// store's employee 1 is loaded through the database service's month source
// (each month with its record and traces), a sum too large for 32 bits is put
// and read back over its high-words trace, March's sums are calculated against
// the stored minimum wage and shown, with the short XML form, a refusal, and
// the tax base of the months loaded.
#include "demo.h"

#include "frame/com.h"

#include <cstdio>
#include <string>

namespace orv::demo {
namespace {

template <class I>
ComPtr<I> Create(REFCLSID clsid, const char* what) {
    ComPtr<I> out;
    Must(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, uuidof<I>(), reinterpret_cast<void**>(out.GetAddressOf())), what);
    return out;
}

std::string Amount(CY c) {
    char buf[40];
    const long long raw = c.int64;
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", raw < 0 && raw > -10000 ? "-" : "", raw / 10000,
                  (raw < 0 ? -raw : raw) % 10000 / 100);
    return buf;
}

// A trace as the database service stores it: code, then amounts in slots.
// The month of the date from the list (loaded from the store).
ComPtr<IOrvMonth> MonthOf(IOrvMonthList* months, DATE date) {
    ComPtr<IUnknown> found;
    Must(months->FindMonth(date, found.GetAddressOf()), "FindMonth");
    ComPtr<IOrvMonth> month;
    if (!found || FAILED(found.As(&month))) throw Failed{"the store holds no month for the step", E_FAIL};
    return month;
}

void Month(Context& ctx) {
    // The first quarter of 2026 of employee 1, through the service's month
    // source, each month with its record and traces.
    ComPtr<IUnknown> employee;
    Must(ctx.db->GetEmployee(ctx.pipe, 1, employee.GetAddressOf()), "GetEmployee");
    if (!employee) throw Failed{"the store holds no employee 1", E_FAIL};
    auto months = Create<IOrvMonthList>(CLSID_OrvMonthList, "creating a month list");
    Must(months->BuildList(ctx.pipe, Day(2026, 1, 1), Day(2026, 3, 1), employee.Get(), ctx.db), "BuildList");
    LONG size = 0;
    months->Size(&size);
    std::printf("months of 01.2026 to 03.2026 loaded from the store: %d\n", size);
    auto month = MonthOf(months.Get(), Day(2026, 3, 1));
    ComPtr<IOrvM> fields;
    Must(month.As(&fields), "IOrvM");
    DATE date = 0;
    SHORT factDays = 0;
    LONG normDays = 0, factHours = 0, normHours = 0;
    month->get_MonthDate(&date);
    month->get_FactDays(&factDays);
    month->get_NormDays(&normDays);
    month->get_FactHours(&factHours);
    month->get_NormHours(&normHours);
    SYSTEMTIME st{};
    VariantTimeToSystemTime(date, &st);
    std::printf("month %02u.%04u loaded: %d of %d days, %d of %d hours\n", st.wMonth, st.wYear, factDays, normDays,
                factHours, normHours);

    // A sum beyond 32-bit hundredths, written through the sum collector: the
    // month adds the high-words trace to its trace list.
    Must(fields->put_SumCollector(19 + 7, Money(30000000.00)), "SumCollector put");  // trace 1001 slot 7
    ComPtr<IUnknown> listUnknown;
    month->get_MTraceList(listUnknown.GetAddressOf());
    ComPtr<IOrvUnknownList> list;
    Must(listUnknown.As(&list), "IOrvUnknownList");
    LONG traceCount = 0;
    list->get_Count(&traceCount);
    std::printf("traces attached: %d (codes:", traceCount);
    list->Reset();
    for (ComPtr<IUnknown> item; list->Next(item.ReleaseAndGetAddressOf()) == S_OK && item;) {
        ComPtr<IOrvMTrace> trace;
        LONG code = 0;
        if (SUCCEEDED(item.As(&trace))) trace->get_T0(&code);
        std::printf(" %d", code);
    }
    std::printf(")\n");
    CY large{};
    Must(fields->get_SumCollector(26, &large), "SumCollector get");
    std::printf("sum 26 read back over its two traces: %s\n", Amount(large).c_str());

    // The previous month and the calculation.
    auto previous = MonthOf(months.Get(), Day(2026, 2, 1));
    // The minimum wage as the store keeps it: setting 901 as a dated option,
    // and the settings object as the configuration.
    ComPtr<IUnknown> settingsObject;
    Must(ctx.db->get_Settings(settingsObject.GetAddressOf()), "get_Settings");
    ComPtr<IOrvSettings> settings;
    Must(settingsObject.As(&settings), "IOrvSettings");
    ComPtr<IUnknown> wage;
    Must(settings->get_Setting(901, wage.GetAddressOf()), "get_Setting(901)");
    ComPtr<IOrvDatedOption> table;
    ComPtr<IOrvConfig> config;
    Must(wage.As(&table), "IOrvDatedOption");
    Must(settingsObject.As(&config), "IOrvConfig");
    VARIANT prev;
    VariantInit(&prev);
    prev.vt = VT_UNKNOWN;
    prev.punkVal = previous.Get();
    Must(month->CalculateMonthSums(table.Get(), config.Get(), prev), "CalculateMonthSums");
    const std::pair<const char*, HRESULT (IOrvMonth::*)(CY*)> shown[] = {
        {"taxable income", &IOrvMonth::get_TotalTaxable},
        {"pension tax", &IOrvMonth::get_TotalPensTax},
        {"income tax", &IOrvMonth::get_TotalIncomeTax},
        {"material aid", &IOrvMonth::get_TotalMaterialka},
        {"  deduction (capped)", &IOrvMonth::get_TotalMaterialkaDiscounts},
        {"  deduction this month", &IOrvMonth::get_CurMaterialkaDiscount},
        {"gifts", &IOrvMonth::get_TotalPodarki},
        {"  deduction (capped)", &IOrvMonth::get_TotalPodarkiDiscounts},
        {"  deduction this month", &IOrvMonth::get_CurPodarkiDiscount},
        {"medicine deduction", &IOrvMonth::get_TotalMedicineDiscount},
        {"deductions this month", &IOrvMonth::get_CurrentDiscounts},
        {"income, table 2", &IOrvMonth::get_TotalIncome2},
        {"tax this month, table 2", &IOrvMonth::get_CurrentTax2},
        {"income, table 4", &IOrvMonth::get_TotalIncome4},
        {"sum for tax", &IOrvMonth::get_SumForTax},
    };
    CY minimumWage{};
    config->get_MinimumWage(Day(2026, 3, 1), &minimumWage);
    std::printf("sums calculated (stored minimum wage %s):\n", Amount(minimumWage).c_str());
    for (const auto& [label, get] : shown) {
        CY value{};
        (month.Get()->*get)(&value);
        std::printf("  %-26s %14s\n", label, Amount(value).c_str());
    }

    ComPtr<IOrvObjAsXmlString> xml;
    Must(month.As(&xml), "IOrvObjAsXmlString");
    Bstr text;
    Must(xml->get_ShortString(text.ReleaseAndGetAddressOf()), "ShortString");
    std::string s = text.Utf8();
    // The 288 hex digits of the record are shortened for the screen.
    const std::string mark = "<MESRECORD>";
    if (std::size_t at = s.find(mark); at != std::string::npos) s.replace(at + mark.size() + 16, 288 - 16, "...");
    std::printf("XML: %.400s...\n", s.c_str());

    HRESULT hr = month->CalculateMonthSums(nullptr, config.Get(), prev);
    ShowErrorReport("calculating without a minimum-wage table", hr);

    // The months of a year in a month list, and the tax base of the year.
    CY normal{}, relieved{};
    Must(months->GetTaxBasesBeforeLimiting(Day(2026, 1, 1), Day(2026, 4, 1), Money(70000.00), Money(0), Money(60000.00),
                                           0, &normal, &relieved),
         "GetTaxBasesBeforeLimiting");
    std::printf("month list of %d months; base of the year up to the limit 60000.00: normal %s, relieved %s\n", size,
                Amount(normal).c_str(), Amount(relieved).c_str());
}

ORV_DEMO_STEP(40, "payroll month", Month);

}  // namespace
}  // namespace orv::demo
