// orvdocs month and year: an employee's payroll months read from the store
// with their traces, calculated by the library and shown.
//
// The months come from the store's text form (IOrvMemoryDatabase::ExportText,
// its MONTH and TRACE elements under the employee): the database service does
// not hand out months through IOrvMonthSource yet. Each MONTH becomes an
// OrvMonth with its record and date, its TRACEs OrvMTrace objects in a list
// component set as the month's trace list.
#include "cli.h"

#include "frame/com.h"

#include <orvdocs/frame/options.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace orv::cli {

namespace {

// The minimum-wage table and configuration a month calculation is handed:
// the minimum wage given on the command line, on every date (it serves only
// the calculation's minimum-wage fallback).
inline constexpr CLSID CLSID_ToolMinimumWage = {0x8A0C2E51, 0x3F7B, 0x4D21, {0x9C, 0x44, 0x51, 0x0E, 0x6B, 0x2A, 0x77, 0x13}};
class MinimumWage : public orv::CoClass<MinimumWage, &CLSID_ToolMinimumWage, IOrvDatedOption, IOrvConfig> {
public:
    CY wage{};
    HRESULT get_Id(LONG* pVal) override { return pVal ? (*pVal = 0, S_OK) : E_POINTER; }
    HRESULT get_Value(DATE, VARIANT* pVal) override {
        if (!pVal) return E_POINTER;
        VariantInit(pVal);
        pVal->vt = VT_CY;
        pVal->cyVal = wage;
        return S_OK;
    }
    HRESULT get_OrganizationName(BSTR* pVal) override { return pVal ? (*pVal = SysAllocString(u""), S_OK) : E_POINTER; }
    HRESULT get_OrganizationInn(BSTR* pVal) override { return pVal ? (*pVal = SysAllocString(u""), S_OK) : E_POINTER; }
    HRESULT get_DataPath(BSTR* pVal) override { return pVal ? (*pVal = SysAllocString(u""), S_OK) : E_POINTER; }
    HRESULT get_WorkMonth(DATE* pVal) override { return pVal ? (*pVal = 0, S_OK) : E_POINTER; }
    HRESULT put_WorkMonth(DATE) override { return S_OK; }
    HRESULT get_MinimumWage(DATE, CY* pVal) override { return pVal ? (*pVal = wage, S_OK) : E_POINTER; }
};

BSTR Bytes(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
}

struct LoadedMonth {
    DATE date = 0;
    ComPtr<IOrvMonth> month;
};

// The employee's months from first to last (both counted), by date.
std::vector<LoadedMonth> LoadMonths(const Store& store, LONG employeeId, DATE first, DATE last) {
    Bstr text;
    Check(store.View()->ExportText(text.ReleaseAndGetAddressOf()), Tr("reading the store", "чтение хранилища"));
    const std::string xml = text.Utf8();
    pugi::xml_document dom;
    if (!dom.load_buffer(xml.data(), xml.size())) throw Refused{Tr("the store's text does not parse", "текст хранилища не разбирается")};
    std::vector<LoadedMonth> out;
    for (pugi::xml_node e : dom.document_element().children("EMPLOYEE")) {
        if (e.attribute("ID").as_int() != employeeId) continue;
        for (pugi::xml_node m : e.children("MONTH")) {
            const DATE date = ParseDate(m.attribute("MONTH").value());
            if (date < first || date > last) continue;
            LoadedMonth lm;
            lm.date = date;
            Check(CoCreateInstance(CLSID_OrvMonth, nullptr, CLSCTX_ALL, IID_IOrvMonth, reinterpret_cast<void**>(lm.month.GetAddressOf())),
                  "OrvMonth");
            Bstr record = Bstr::Attach(Bytes(m.attribute("RECORD").value()));
            Check(lm.month->put_MonthRecord(record.Get()), "MonthRecord");
            Check(lm.month->put_MonthDate(date), "MonthDate");
            ComPtr<IOrvUnknownList> traces;
            Check(CoCreateInstance(CLSID_OrvUnknownList, nullptr, CLSCTX_ALL, IID_IOrvUnknownList,
                                   reinterpret_cast<void**>(traces.GetAddressOf())),
                  "OrvUnknownList");
            for (pugi::xml_node t : m.children("TRACE")) {
                ComPtr<IOrvMTrace> trace;
                Check(CoCreateInstance(CLSID_OrvMTrace, nullptr, CLSCTX_ALL, IID_IOrvMTrace, reinterpret_cast<void**>(trace.GetAddressOf())),
                      "OrvMTrace");
                Bstr tr = Bstr::Attach(Bytes(t.attribute("RECORD").value()));
                Check(trace->put_MTraceRecord(tr.Get()), "MTraceRecord");
                Check(traces->Add(trace.Get()), "Add");
            }
            Check(lm.month->put_MTraceList(traces.Get()), "MTraceList");
            out.push_back(std::move(lm));
        }
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.date < b.date; });
    return out;
}

LONG EmployeeId(const Store& store, const std::string& key) {
    ComPtr<IUnknown> employee = store.Employee(key);
    ComPtr<IOrvEmployee> who;
    LONG id = 0;
    if (SUCCEEDED(employee.As(&who))) who->get_Id(&id);
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
    CY wage{};
    if (a.Has("minimum-wage")) wage.int64 = static_cast<LONGLONG>(ParseLong(a.Get("minimum-wage"), Tr("not a sum", "это не сумма"))) * 10000;
    Runtime rt;
    Store store(path, false);
    const LONG employeeId = EmployeeId(store, a.Get("employee"));
    // The month asked for and the one before it (the calculation carries the year's totals on).
    const auto months = LoadMonths(store, employeeId, first - 40, last);
    const LoadedMonth* current = nullptr;
    const LoadedMonth* previous = nullptr;
    for (const auto& m : months) {
        if (m.date >= first && m.date <= last) current = &m;
        else previous = &m;
    }
    if (!current)
        throw Refused{std::string(Tr("no month ", "нет месяца ")) + a.Get("month") + Tr(" for employee ", " у сотрудника ") + a.Get("employee")};
    ComPtr<IUnknown> table;
    Check(orv::CreateObject<MinimumWage>(&table), "MinimumWage");
    Variant prev;
    if (previous) {
        prev.vt = VT_UNKNOWN;
        previous->month->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&prev.punkVal));
    }
    Check(current->month->CalculateMonthSums(table.Get(), table.Get(), prev), Tr("calculating the month", "расчёт месяца"));
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
    const LONG employeeId = EmployeeId(store, a.Get("employee"));
    const auto months = LoadMonths(store, employeeId, start, end);
    ComPtr<IOrvMonthList> list;
    Check(CoCreateInstance(CLSID_OrvMonthList, nullptr, CLSCTX_ALL, IID_IOrvMonthList, reinterpret_cast<void**>(list.GetAddressOf())),
          "OrvMonthList");
    ComPtr<IOrvUnknownList> adder;
    Check(list.As(&adder), "IOrvUnknownList");
    for (const auto& m : months) Check(adder->Add(m.month.Get()), "Add");
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
