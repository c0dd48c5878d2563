// Demonstration step: a vacation document with its protocol, its paid months
// and their intervals, stored through the database service and read back.
#include "demo.h"

#include <cstdio>
#include <string>

namespace orv::demo {
namespace {

double AsDouble(CY c) { return static_cast<double>(c.int64) / 10000.0; }

void Vacation(Context& ctx) {
    ULONG address = 0;
    {
        auto doc = NewDocument(ctx.db, ctx.pipe, 22);
        doc->put_dtDn(Day(2026, 7, 6));
        doc->put_dtDk(Day(2026, 8, 2));
        doc->put_Dfl(0x04);  // the protocols are kept as XML
        ComPtr<IUnknown> specific;
        Must(doc->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
        ComPtr<IOrvOTDoc> vacation;
        Must(specific.As(&vacation), "IOrvOTDoc");
        Must(vacation->put_MonthsForSredn(12), "MonthsForSredn");
        Must(vacation->put_ExtraDays2(3), "ExtraDays2");

        ComPtr<IOrvOTProtocol> protocol;
        Must(specific.As(&protocol), "IOrvOTProtocol");
        Must(protocol->CheckAccessType(), "CheckAccessType");
        Must(protocol->put_TabNum(Bstr(u"00127")), "TabNum");
        Must(protocol->put_MesCount(3), "MesCount");
        Must(protocol->put_HistoryCount(3), "HistoryCount");
        const double earned[3] = {61200.00, 58950.50, 63010.25};
        for (LONG i = 0; i < 3; ++i) {
            Must(protocol->put_MonDate(i, Day(2026, static_cast<WORD>(4 + i), 1)), "MonDate");
            Must(protocol->put_MonSum1(i, Money(earned[i])), "MonSum1");
            Must(protocol->put_NormDaysCommon(i, 21), "NormDaysCommon");
            Must(protocol->put_FactDaysCommon(i, 21), "FactDaysCommon");
        }
        Must(protocol->put_fSredn1(2080.12), "fSredn1");
        Must(protocol->put_TotSum1(Money(58243.36)), "TotSum1");
        // The vacation falls into July and August; the intervals are added
        // August first, and the months come out in their order.
        Must(protocol->AddPaiedInterval(Day(2026, 8, 1), Day(2026, 8, 1), Day(2026, 8, 2), 1, 2, 0, Money(4160.24),
                                        VARIANT_TRUE),
             "AddPaiedInterval");
        Must(protocol->AddPaiedInterval(Day(2026, 7, 1), Day(2026, 7, 6), Day(2026, 7, 31), 1, 26, 0,
                                        Money(54083.12), VARIANT_TRUE),
             "AddPaiedInterval");
        Must(protocol->put_PaiedMonthIndexation(Day(2026, 8, 1), 1.05), "PaiedMonthIndexation");
        Must(protocol->Save(), "Save");
        Must(doc->Update(ctx.pipe), "Update");
        Must(doc->get_DB_ADDR(&address), "DB_ADDR");
    }

    // Read back through the database service into new objects.
    ComPtr<IUnknown> unknown;
    Must(ctx.db->GetDocument(ctx.pipe, static_cast<LONG>(address), unknown.GetAddressOf()), "GetDocument");
    ComPtr<IOrvDocument> doc;
    Must(unknown.As(&doc), "IOrvDocument");
    LONG result = 0;
    Must(doc->InitInnerDocExtension(ctx.pipe, &result), "InitInnerDocExtension");
    ComPtr<IUnknown> specific;
    Must(doc->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
    ComPtr<IOrvOTProtocol> protocol;
    Must(specific.As(&protocol), "IOrvOTProtocol");
    Must(protocol->Load(), "Load");

    SHORT months = 0;
    protocol->get_HistoryCount(&months);
    double average = 0;
    protocol->get_fSredn1(&average);
    CY total{};
    protocol->get_TotSum1(&total);
    std::printf("vacation document %u: %d months for the average, average %.2f, total %.2f\n", address, months,
                average, AsDouble(total));
    for (LONG i = 0; i < months; ++i) {
        CY sum{};
        SHORT days = 0;
        protocol->get_MonSum1(i, &sum);
        protocol->get_FactDaysCommon(i, &days);
        std::printf("  month %d: %.2f earned, %d days\n", i + 1, AsDouble(sum), days);
    }
    for (WORD m : {7, 8}) {
        double factor = 0;
        protocol->get_PaiedMonthIndexation(Day(2026, m, 1), &factor);
        std::printf("  paid month 2026-%02u: indexation %.2f\n", m, factor);
    }
    // The paid months as the protocol writes them.
    ComPtr<IOrvOTDoc> vacation;
    Must(specific.As(&vacation), "IOrvOTDoc");
    Bstr xml;
    Must(vacation->get_ProtocolAsXml(xml.ReleaseAndGetAddressOf()), "ProtocolAsXml");
    const std::string text = xml.Utf8();
    const auto from = text.find("<PMONTH");
    const auto to = text.find("<OTPROTOCOL2", from);
    if (from != std::string::npos && to != std::string::npos)
        std::printf("  %s\n", text.substr(from, to - from).c_str());
}

ORV_DEMO_STEP(40, "vacation", Vacation);

}  // namespace
}  // namespace orv::demo
