// Demonstration step: a sick-leave document created, its calculation
// protocol filled with an earnings history and the paid months, stored in
// the database service, read back as a new document object and shown.
#include "demo.h"

#include <cstdio>
#include <string>

namespace orv::demo {
namespace {

template <class I>
ComPtr<I> Create(REFCLSID clsid, REFIID iid, const char* what) {
    ComPtr<I> object;
    Must(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid, reinterpret_cast<void**>(object.GetAddressOf())), what);
    return object;
}

ComPtr<IOrvBLDoc> SickLeaveOf(IOrvDocument* doc) {
    ComPtr<IUnknown> specific;
    Must(doc->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
    ComPtr<IOrvBLDoc> bl;
    Must(specific.As(&bl), "IOrvBLDoc");
    return bl;
}

std::string Amount(CY value) {
    char buf[48];
    const LONGLONG raw = value.int64;
    const long long magnitude = raw < 0 ? -static_cast<long long>(raw) : static_cast<long long>(raw);
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", raw < 0 ? "-" : "", magnitude / 10000, (magnitude % 10000) / 100);
    return buf;
}

std::string DateText(DATE date) {
    SYSTEMTIME st{};
    if (date == 0.0 || !VariantTimeToSystemTime(date, &st)) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u.%02u.%04u", unsigned(st.wDay), unsigned(st.wMonth), unsigned(st.wYear));
    return buf;
}

void ShowProtocol(IOrvBLDocProtocol* protocol) {
    LONG days = 0, percent = 0, type = 0, access = 0;
    CY average{}, total{};
    DATE from = 0, to = 0;
    Bstr number;
    protocol->get_BlUsedDays(&days);
    protocol->get_BlUsedProcent(&percent);
    protocol->get_SType(&type);
    protocol->get_FirstFactSredn(&average);
    protocol->get_TotBlSum(&total);
    protocol->get_Dn(&from);
    protocol->get_Dk(&to);
    protocol->get_Number(number.ReleaseAndGetAddressOf());
    protocol->GetAccessType(&access);
    std::printf("  protocol (access type %d): sheet %s, type %d, %s to %s, %d days at %d%%, average %s, benefit %s\n",
                access, number.Utf8().c_str(), type, DateText(from).c_str(), DateText(to).c_str(), days, percent,
                Amount(average).c_str(), Amount(total).c_str());

    ComPtr<IUnknown> listObject;
    ComPtr<IOrvUnknownList> list;
    Must(protocol->get_HistoryList(listObject.GetAddressOf()), "HistoryList");
    Must(listObject.As(&list), "IOrvUnknownList");
    list->Reset();
    for (ComPtr<IUnknown> element; list->Next(element.ReleaseAndGetAddressOf()) == S_OK && element;) {
        ComPtr<IOrvBLProtHistoryItem> item;
        if (FAILED(element.As(&item))) break;
        LONG year = 0;
        CY sum{}, limit{};
        item->get_Year(&year);
        item->get_SumForSredn(&sum);
        item->get_YearLimit(&limit);
        std::printf("    earnings %d: %s (limit %s)\n", year, Amount(sum).c_str(), Amount(limit).c_str());
    }
    Must(protocol->get_PayMonthList(listObject.ReleaseAndGetAddressOf()), "PayMonthList");
    Must(listObject.As(&list), "IOrvUnknownList");
    list->Reset();
    for (ComPtr<IUnknown> element; list->Next(element.ReleaseAndGetAddressOf()) == S_OK && element;) {
        ComPtr<IOrvBlProtPayMonthItem> item;
        if (FAILED(element.As(&item))) break;
        DATE month = 0;
        LONG paid = 0, company = 0;
        CY sum{};
        item->get_Month(&month);
        item->get_Days(&paid);
        item->get_CompanyDays(&company);
        item->get_Sum(&sum);
        std::printf("    paid month %s: %d days (%d by the employer), %s\n", DateText(month).c_str(), paid, company,
                    Amount(sum).c_str());
    }
}

void SickLeave(Context& ctx) {
    ULONG address = 0;
    {
        auto doc = NewDocument(ctx.db, ctx.pipe, 21);
        doc->put_dtDn(Day(2026, 11, 24));
        doc->put_dtDk(Day(2026, 12, 8));
        doc->put_Memo(Bstr(u"Больничный лист 910123456789"));
        doc->put_lDcdpod(12);  // the sick-leave type, shown in the display text
        auto bl = SickLeaveOf(doc.Get());
        bl->put_CalDaysBased(VARIANT_TRUE);
        bl->put_HoursBased(0);
        bl->put_StartOfBulleten(VARIANT_TRUE);
        bl->put_YearsForAverage(Bstr(u"2024 2025"));
        bl->put_MedicalInstitution(Bstr(u"Городская поликлиника № 3"));
        bl->put_DoctorFIO(Bstr(u"Сидорова Анна Викторовна"));

        // The calculation the host made, recorded in a protocol.
        auto protocol = Create<IOrvBLDocProtocol>(CLSID_OrvBLDocProtocol, IID_IOrvBLDocProtocol, "protocol");
        protocol->put_Number(Bstr(u"910123456789"));
        protocol->put_SType(12);
        protocol->put_OriginatorType(21);
        protocol->put_Dn(Day(2026, 11, 24));
        protocol->put_Dk(Day(2026, 12, 8));
        protocol->put_CalcInDays(VARIANT_TRUE);
        protocol->put_CalcType2011(VARIANT_TRUE);
        protocol->put_BlUsedDays(15);
        protocol->put_BlUsedProcent(80);
        protocol->put_UsedProcent(0.8);
        protocol->put_StagYears(7);
        protocol->put_TotSumForSredn(Money(1440000.00));
        protocol->put_FirstFactSredn(Money(1972.60));
        const struct {
            WORD year;
            double sum, limit;
        } years[] = {{2024, 690000.00, 2225000.00}, {2025, 750000.00, 2759000.00}};
        for (const auto& y : years) {
            auto item = Create<IOrvBLProtHistoryItem>(CLSID_OrvBLProtHistoryItem, IID_IOrvBLProtHistoryItem, "history item");
            item->put_Year(y.year);
            item->put_Month(Day(y.year, 1, 1));
            item->put_SumForSredn(Money(y.sum));
            item->put_YearLimit(Money(y.limit));
            Must(protocol->AddHistoryItem(item.Get()), "AddHistoryItem");
        }
        protocol->put_HistoryCount(2);
        const struct {
            WORD month;
            LONG days, company;
            double sum;
        } months[] = {{11, 7, 3, 11046.56}, {12, 8, 0, 12624.64}};
        CY total{};
        for (const auto& m : months) {
            auto item = Create<IOrvBlProtPayMonthItem>(CLSID_OrvBlProtPayMonthItem, IID_IOrvBlProtPayMonthItem, "pay month");
            item->put_Month(Day(2026, m.month, 1));
            item->put_Days(m.days);
            item->put_CompanyDays(m.company);
            item->put_Sum(Money(m.sum));
            item->put_FirstSredn(Money(1972.60));
            total.int64 += Money(m.sum).int64;
            Must(protocol->AddPayMonthItem(item.Get()), "AddPayMonthItem");
        }
        protocol->put_PayMonthCount(2);
        protocol->put_TotBlSum(total);

        Must(bl->put_BlProtocol(protocol.Get()), "BlProtocol");
        Must(bl->UpdateExtension(), "UpdateExtension");
        Must(doc->Update(ctx.pipe), "Update");
        doc->get_DB_ADDR(&address);
        std::printf("sick-leave document stored at address %u\n", address);
    }

    // Read back as a new document object.
    ComPtr<IUnknown> unknown;
    Must(ctx.db->GetDocument(ctx.pipe, static_cast<LONG>(address), unknown.GetAddressOf()), "GetDocument");
    ComPtr<IOrvDocument> doc;
    Must(unknown.As(&doc), "IOrvDocument");
    LONG result = 0;
    Must(doc->InitInnerDocExtension(ctx.pipe, &result), "InitInnerDocExtension");
    Show(doc.Get());
    auto bl = SickLeaveOf(doc.Get());
    Must(bl->InitFromExtension(), "InitFromExtension");
    VARIANT_BOOL calendar = 0, start = 0;
    LONG hours = 0;
    Bstr years, institution, doctor;
    bl->get_CalDaysBased(&calendar);
    bl->get_HoursBased(&hours);
    bl->get_StartOfBulleten(&start);
    bl->get_YearsForAverage(years.ReleaseAndGetAddressOf());
    bl->get_MedicalInstitution(institution.ReleaseAndGetAddressOf());
    bl->get_DoctorFIO(doctor.ReleaseAndGetAddressOf());
    std::printf("  calendar days: %s, hours based: %d, first sheet: %s\n", calendar ? "yes" : "no", hours,
                start ? "yes" : "no");
    std::printf("  years for the average: %s; issued by %s, doctor %s\n", years.Utf8().c_str(),
                institution.Utf8().c_str(), doctor.Utf8().c_str());

    ComPtr<IUnknown> protocolObject;
    Must(bl->get_BlProtocol(protocolObject.GetAddressOf()), "BlProtocol");
    ComPtr<IOrvBLDocProtocol> protocol;
    Must(protocolObject.As(&protocol), "IOrvBLDocProtocol");
    ShowProtocol(protocol.Get());

    // The benefit recalculated from December on: the later months go.
    Must(protocol->CleanUpPayMonthsAfter(Day(2026, 12, 1)), "CleanUpPayMonthsAfter");
    std::printf("  after dropping the months from 01.12.2026:\n");
    ShowProtocol(protocol.Get());

    ComPtr<IOrvENUMBlTypes> table;
    Must(bl->QueryInterface(IID_IOrvENUMBlTypes, reinterpret_cast<void**>(table.GetAddressOf())), "IOrvENUMBlTypes");
    Bstr name;
    if (table->TypeToName(12, name.ReleaseAndGetAddressOf()) == S_OK)
        std::printf("  sick-leave type 12: %s\n", name.Utf8().c_str());
    // The types allowed today by the store's setting 773.
    Must(table->ApplyFilter(ctx.db), "ApplyFilter");
    std::printf("  types allowed today by the stored setting 773:");
    table->Reset();
    for (LONG code = 0; table->Next(name.ReleaseAndGetAddressOf(), &code) == S_OK;) std::printf(" %d", code);
    std::printf("\n");
    // The access type of the store's session.
    Must(protocol->SetAccessType(ctx.db), "SetAccessType");
    LONG access = 0;
    protocol->GetAccessType(&access);
    std::printf("  access type of the stored session: %d\n", access);
}

ORV_DEMO_STEP(50, "sick leave", SickLeave);

}  // namespace
}  // namespace orv::demo
