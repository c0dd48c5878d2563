// The sick-leave protocol's XML form: a full protocol (12 history items, 10
// paid months, a kept calculation of the other access type) written with
// FullString get and read with FullString put, against raw pugixml parsing
// and writing the same text.
#include "host/registration.h"
#include "sickleave/OrvBLDocProtocol.h"
#include "sickleave/OrvBLProtItems.h"

#include <orvdocs/orvdocs.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;

struct Host {
    orv::host::Registration registration;
    Host() {
        if (FAILED(orv::host::RegisterHostComponents(&registration))) std::abort();
    }
};
Host& TheHost() {
    static Host host;
    return host;
}

ComPtr<IOrvBLDocProtocol> FullProtocol() {
    TheHost();
    ComPtr<IOrvBLDocProtocol> p;
    if (FAILED(orv::CreateObject<orv::OrvBLDocProtocol>(&p))) std::abort();
    p->put_BlUsedDays(15);
    p->put_TotBlSum(orv::MakeCurrency(236712000));
    p->put_Number(Bstr(u"910123456789"));
    for (int i = 0; i < 12; ++i) {
        ComPtr<IOrvBLProtHistoryItem> h;
        orv::CreateObject<orv::OrvBLProtHistoryItem>(&h);
        h->put_Days(20 + i);
        h->put_Month(45658.0 + 31 * i);
        h->put_SumForSredn(orv::MakeCurrency(500005000 + i));
        p->AddHistoryItem(h.Get());
    }
    for (int i = 0; i < 10; ++i) {
        ComPtr<IOrvBlProtPayMonthItem> m;
        orv::CreateObject<orv::OrvBlProtPayMonthItem>(&m);
        m->put_Days(7 + i);
        m->put_Month(46023.0 + 31 * i);
        m->put_Sum(orv::MakeCurrency(110465600 + i));
        p->AddPayMonthItem(m.Get());
    }
    // A calculation of access type 1 carried along.
    ComPtr<IOrvObjAsXmlString> form;
    p.As(&form);
    Bstr text;
    form->get_FullString(text.ReleaseAndGetAddressOf());
    std::u16string both(text.View());
    both.insert(both.size() - 8, u"<BLPROTOCOL AT=\"1\"><BLUSEDDAYS VAL=\"3\"/></BLPROTOCOL>");
    form->put_FullString(Bstr(both));
    return p;
}

void BM_ProtocolWrite(benchmark::State& state) {
    auto p = FullProtocol();
    ComPtr<IOrvObjAsXmlString> form;
    p.As(&form);
    for (auto _ : state) {
        Bstr text;
        form->get_FullString(text.ReleaseAndGetAddressOf());
        benchmark::DoNotOptimize(text.Get());
    }
}
BENCHMARK(BM_ProtocolWrite);

void BM_ProtocolRead(benchmark::State& state) {
    auto p = FullProtocol();
    ComPtr<IOrvObjAsXmlString> form;
    p.As(&form);
    Bstr text;
    form->get_FullString(text.ReleaseAndGetAddressOf());
    state.counters["chars"] = static_cast<double>(text.Length());
    for (auto _ : state) {
        if (form->put_FullString(text) != S_OK) state.SkipWithError("refused");
    }
}
BENCHMARK(BM_ProtocolRead);

// Raw pugixml: parse the same text (UTF-8) and write it back.
void BM_RawPugixmlParseAndWrite(benchmark::State& state) {
    auto p = FullProtocol();
    ComPtr<IOrvObjAsXmlString> form;
    p.As(&form);
    Bstr text;
    form->get_FullString(text.ReleaseAndGetAddressOf());
    const std::string utf8 = text.Utf8();
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(utf8.data(), utf8.size());
        std::string out;
        struct Writer : pugi::xml_writer {
            std::string* s;
            void write(const void* data, size_t size) override { s->append(static_cast<const char*>(data), size); }
        } writer;
        writer.s = &out;
        doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_RawPugixmlParseAndWrite);

}  // namespace

BENCHMARK_MAIN();
