// orvdocs month and year: an employee's payroll months with their traces,
// from the database service's month source (IOrvMonthSource), calculated by
// the library and shown.
#include "cli.h"

#include <orvdocs/frame/options.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace orv::cli {

namespace {

// The minimum wage is the store's money setting 901 (a dated option).
constexpr LONG kMinimumWageSetting = 901;

struct LoadedMonth {
    DATE date = 0;
    ComPtr<IOrvMonth> month;
};

// The employee's months from first to last (both counted), with their
// traces, by date.
std::vector<LoadedMonth> LoadMonths(const Store& store, IUnknown* employee, DATE first, DATE last) {
    ComPtr<IOrvMonthSource> source;
    Check(store.Db()->QueryInterface(IID_IOrvMonthSource, reinterpret_cast<void**>(source.GetAddressOf())),
          "IOrvMonthSource");
    ComPtr<IUnknown> unknown;
    Check(source->GetMonths(store.Pipe(), employee, first, last, unknown.GetAddressOf()),
          Tr("reading the months", "чтение месяцев"));
    std::vector<LoadedMonth> out;
    ComPtr<IOrvUnknownList> list;
    if (!unknown || FAILED(unknown.As(&list))) return out;
    list->Reset();
    for (;;) {
        ComPtr<IUnknown> item;
        if (list->Next(item.GetAddressOf()) != S_OK || !item) break;
        LoadedMonth lm;
        if (FAILED(item.As(&lm.month))) continue;
        lm.month->get_MonthDate(&lm.date);
        out.push_back(std::move(lm));
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
    return out;
}

LONG EmployeeId(IUnknown* employee) {
    ComPtr<IOrvEmployee> who;
    LONG id = 0;
    if (employee && SUCCEEDED(employee->QueryInterface(IID_IOrvEmployee, reinterpret_cast<void**>(who.GetAddressOf()))))
        who->get_Id(&id);
    return id;
}

std::string MonthName(DATE d) {
    const std::string t = DateText(d);
    return t.size() == 10 ? t.substr(3) : t;
}

}  // namespace

int Month(const Args& a) {
    const std::string& path = a.words.empty() ? throw Usage{Tr("missing the store file", "не указан файл хранилища")} : a.words[0];
    if (a.words.size() > 1) throw Usage{std::string(Tr("unexpected argument: ", "лишний аргумент: ")) + a.words[1]};
    if (!a.Has("employee") || !a.Has("month")) throw Usage{Tr("missing --employee or --month", "не указан --employee или --month")};
    DATE first = 0, last = 0;
    ParseMonth(a.Get("month"), &first, &last);
    Runtime rt;
    Store store(path, false);
    ComPtr<IUnknown> employee = store.Employee(a.Get("employee"));
    const LONG employeeId = EmployeeId(employee.Get());
    // The month asked for and the one before it (the calculation carries the year's totals on).
    const auto months = LoadMonths(store, employee.Get(), first - 40, last);
    const LoadedMonth* current = nullptr;
    const LoadedMonth* previous = nullptr;
    for (const auto& m : months) {
        if (m.date >= first && m.date <= last) current = &m;
        else previous = &m;
    }
    if (!current)
        throw Refused{std::string(Tr("no month ", "нет месяца ")) + a.Get("month") + Tr(" for employee ", " у сотрудника ") + a.Get("employee")};
    // The minimum-wage table (the store's setting) and the configuration (the
    // settings object) the calculation asks for the minimum wage.
    ComPtr<IUnknown> settings, table;
    Check(store.Db()->get_Settings(settings.GetAddressOf()), "Settings");
    ComPtr<IOrvSettings> numbered;
    Check(settings.As(&numbered), "IOrvSettings");
    numbered->get_Setting(kMinimumWageSetting, table.GetAddressOf());
    Variant prev;
    if (previous) {
        prev.vt = VT_UNKNOWN;
        previous->month->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&prev.punkVal));
    }
    Check(current->month->CalculateMonthSums(table.Get(), settings.Get(), prev), Tr("calculating the month", "расчёт месяца"));
    ComPtr<IDispatch> disp;
    Check(current->month->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(disp.GetAddressOf())), "IDispatch");
    std::vector<Property> totals;
    for (auto& p : ReadProperties(disp.Get()))
        if (p.vt == VT_CY) totals.push_back(std::move(p));
    if (a.Has("json")) {
        std::printf("{\"employee\": %d, \"month\": %s, \"totals\": {", employeeId, JsonString(MonthName(current->date)).c_str());
        for (std::size_t i = 0; i < totals.size(); ++i)
            std::printf("%s%s: %s", i ? ", " : "", JsonString(totals[i].name).c_str(), totals[i].json.c_str());
        std::printf("}}\n");
        return 0;
    }
    std::printf(Tr("employee %d, month %s%s\n", "сотрудник %d, месяц %s%s\n"), employeeId, MonthName(current->date).c_str(),
                previous ? (std::string(Tr(" (after ", " (после ")) + MonthName(previous->date) + ")").c_str() : "");
    std::size_t width = 0;
    for (const auto& p : totals) width = std::max(width, p.name.size());
    for (const auto& p : totals) std::printf("  %-*s  %15s\n", static_cast<int>(width), p.name.c_str(), p.text.c_str());
    return 0;
}

int Year(const Args& a) {
    const std::string& path = a.words.empty() ? throw Usage{Tr("missing the store file", "не указан файл хранилища")} : a.words[0];
    if (a.words.size() > 1) throw Usage{std::string(Tr("unexpected argument: ", "лишний аргумент: ")) + a.words[1]};
    if (!a.Has("employee") || !a.Has("year")) throw Usage{Tr("missing --employee or --year", "не указан --employee или --year")};
    const LONG year = ParseLong(a.Get("year"), Tr("not a year", "это не год"));
    if (year < 1900 || year > 9999) throw Usage{std::string(Tr("not a year: ", "это не год: ")) + a.Get("year")};
    const DATE start = ParseDate(std::to_string(year) + "-01-01");
    const DATE december = ParseDate(std::to_string(year) + "-12-01");
    const DATE end = ParseDate(std::to_string(year) + "-12-31");
    CY limit{};
    limit.int64 = std::numeric_limits<LONGLONG>::max();
    if (a.Has("limit")) limit.int64 = static_cast<LONGLONG>(ParseLong(a.Get("limit"), Tr("not a sum", "это не сумма"))) * 10000;
    Runtime rt;
    Store store(path, false);
    ComPtr<IUnknown> employee = store.Employee(a.Get("employee"));
    const LONG employeeId = EmployeeId(employee.Get());
    // The month list loads the year's months from the database service.
    ComPtr<IOrvMonthList> list;
    Check(CoCreateInstance(CLSID_OrvMonthList, nullptr, CLSCTX_ALL, IID_IOrvMonthList, reinterpret_cast<void**>(list.GetAddressOf())),
          "OrvMonthList");
    Check(list->BuildList(store.Pipe(), start, end, employee.Get(), store.Db()), Tr("loading the months", "загрузка месяцев"));
    std::vector<LoadedMonth> months;
    Check(list->Reset2(), "Reset2");
    for (;;) {
        ComPtr<IUnknown> item;
        if (list->get_Next2(item.GetAddressOf()) != S_OK || !item) break;
        LoadedMonth lm;
        if (FAILED(item.As(&lm.month))) continue;
        lm.month->get_MonthDate(&lm.date);
        months.push_back(std::move(lm));
    }
    // December is the excluded month; its totals are the year-to-date ones
    // of the year's last month held (sum collectors of kinds 0 and 6 of the tax).
    const LoadedMonth* lastMonth = months.empty() ? nullptr : &months.back();
    std::printf(a.Has("json") ? "{\"employee\": %d, \"year\": %d, \"months\": %zu, \"taxes\": [" : Tr("employee %d, year %d: %zu month(s)\n", "сотрудник %d, год %d: месяцев %zu\n"),
                employeeId, year, months.size());
    if (!a.Has("json")) std::printf("  %-5s  %15s  %15s\n", Tr("tax", "налог"), Tr("normal base", "обычная база"), Tr("relieved base", "льготная база"));
    for (LONG tax = 0; tax <= 6; ++tax) {
        CY total{}, relieved{};
        if (lastMonth) {
            ComPtr<IOrvM> m;
            Check(lastMonth->month.As(&m), "IOrvM");
            Check(m->get_SumCollector(25 + 2 * tax, &total), "SumCollector");
            Check(m->get_SumCollector(tax == 0 ? 120 : 113 + tax, &relieved), "SumCollector");
        }
        CY normal{}, lg{};
        Check(list->GetTaxBasesBeforeLimiting(start, december, total, relieved, limit, tax, &normal, &lg),
              Tr("tax bases", "налоговые базы"));
        if (a.Has("json"))
            std::printf("%s{\"tax\": %d, \"normal\": %s, \"relieved\": %s}", tax ? ", " : "", tax, MoneyText(normal).c_str(), MoneyText(lg).c_str());
        else
            std::printf("  %-5d  %15s  %15s\n", tax, MoneyText(normal).c_str(), MoneyText(lg).c_str());
    }
    if (a.Has("json")) std::printf("]}\n");
    return 0;
}

}  // namespace orv::cli
