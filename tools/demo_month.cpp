// Demonstration step: a payroll month. Its record is loaded as the database
// service hands it over, its traces are attached (one sum too large for 32
// bits, held with its high-words trace), its sums are calculated against the
// minimum wage and shown, with the sum collectors, the short XML form, a
// refusal, and the tax base of the months of a year.
#include "demo.h"

#include "frame/com.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace orv::demo {
namespace {

inline constexpr CLSID CLSID_DemoWageTable = {0x0D5E1601, 0x2A7C, 0x4E11, {0x9B, 0x31, 0, 0, 0, 0, 0x16, 0x01}};
inline constexpr CLSID CLSID_DemoConfig = {0x0D5E1602, 0x2A7C, 0x4E11, {0x9B, 0x31, 0, 0, 0, 0, 0x16, 0x02}};

// The host's minimum-wage table: 4330.00 until 2026-03-01, 5000.00 from then on.
class WageTable : public CoClass<WageTable, &CLSID_DemoWageTable, IOrvDatedOption, IDispatch> {
public:
    HRESULT get_Value(DATE date, VARIANT* out) override {
        VariantInit(out);
        out->vt = VT_CY;
        out->cyVal = Money(date < Day(2026, 3, 1) ? 4330.00 : 5000.00);
        return S_OK;
    }
    HRESULT get_Id(LONG* id) override {
        *id = 1;
        return S_OK;
    }
};

// The configuration object: asked only when the table has no value.
class Config : public CoClass<Config, &CLSID_DemoConfig, IOrvConfig, IDispatch> {
public:
    HRESULT get_MinimumWage(DATE, CY* out) override {
        *out = Money(4330.00);
        return S_OK;
    }
    HRESULT get_OrganizationName(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_OrganizationInn(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_DataPath(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_WorkMonth(DATE*) override { return E_NOTIMPL; }
    HRESULT put_WorkMonth(DATE) override { return E_NOTIMPL; }
};

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
ComPtr<IOrvMTrace> Trace(LONG code, std::initializer_list<std::pair<LONG, double>> sums) {
    auto trace = Create<IOrvMTrace>(CLSID_OrvMTrace, "creating a trace");
    Must(trace->put_T0(code), "T0");
    for (auto [slot, amount] : sums) Must(trace->put_Sum(slot, Money(amount)), "Sum");
    return trace;
}

// A month of 2026 with its traces, which hold the totals of the year so far;
// the record as the database hands it over.
ComPtr<IOrvMonth> LoadMonth(WORD monthNumber) {
    const double taxable = 17500.00 * monthNumber, pensionTax = 0.22 * taxable;
    // The 144-byte record: flag word, day number of the month, days and hours.
    unsigned char record[144] = {};
    const auto day = static_cast<std::int16_t>(Day(2026, monthNumber, 1) - 22281.0);
    std::memcpy(record + 2, &day, 2);
    const std::int16_t factDays = 20, normDays = 21;
    const std::int32_t normHours = 168, factHours = 160;
    std::memcpy(record + 26, &factDays, 2);
    std::memcpy(record + 28, &normDays, 2);
    std::memcpy(record + 38, &normHours, 4);
    std::memcpy(record + 42, &factHours, 4);
    Bstr bytes = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(record), sizeof record));
    auto month = Create<IOrvMonth>(CLSID_OrvMonth, "creating a month");
    Must(month->put_MonthRecord(bytes), "MonthRecord");

    auto traces = Create<IOrvUnknownList>(CLSID_OrvUnknownList, "creating the trace list");
    traces->Add(Trace(1000, {{4, 0.13 * taxable},
                             {5, 700.00 * monthNumber},
                             {9, 2000.00 * monthNumber},
                             {10, monthNumber >= 3 ? 2500.00 : 0.0},
                             {11, taxable},
                             {12, pensionTax},
                             {13, 700.00 * monthNumber},
                             {14, 350.00 * monthNumber},
                             {17, taxable * 0.87},
                             {18, 300.00}})
                    .Get());
    traces->Add(Trace(1001, {{0, taxable}, {1, 0.13 * taxable}, {2, 0.13 * taxable / monthNumber}, {6, taxable}})
                    .Get());
    traces->Add(Trace(1003, {{3, 1200.00}, {4, 156.00}, {5, 13.00}}).Get());
    Must(month->put_MTraceList(traces.Get()), "MTraceList");
    return month;
}

void Month(Context& ctx) {
    (void)ctx;  // the month is built here; no month source of the host is needed
    auto month = LoadMonth(3);
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
    auto previous = LoadMonth(2);
    // The host's own option objects, made directly (they are not registered classes).
    ComPtr<IOrvDatedOption> table;
    ComPtr<IOrvConfig> config;
    Must(CreateObject<WageTable>(&table), "creating the minimum-wage table");
    Must(CreateObject<Config>(&config), "creating the configuration");
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
    std::printf("sums calculated (minimum wage 5000.00, previous month 4330.00):\n");
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
    auto months = Create<IOrvMonthList>(CLSID_OrvMonthList, "creating a month list");
    ComPtr<IOrvUnknownList> adder;
    Must(months.As(&adder), "IOrvUnknownList");
    adder->Add(previous.Get());
    adder->Add(month.Get());
    adder->Add(LoadMonth(1).Get());
    LONG size = 0;
    months->Size(&size);
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
