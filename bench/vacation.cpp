// The vacation protocol: a field of the record in use, and Save / Load of a
// full set (four records of twelve months, paid months with intervals) next
// to pugixml parsing and writing the same text on its own.
#include "document/OrvDocument.h"
#include "frame/values.h"
#include "vacation/OrvOTDoc.h"
#include "kinds/KindBase.h"

#include <orvdocs/orvdocs.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

struct Fixture {
    orv::ComPtr<IOrvDocument> doc;
    orv::ComPtr<IOrvOTProtocol> protocol;

    Fixture() {
        if (FAILED(orv::CreateObject<orv::OrvDocument>(&doc))) std::abort();
        doc->put_lDcType(22);
        doc->put_Dfl(0x04);
        orv::ComPtr<IUnknown> obj;
        if (FAILED(orv::CreateSpecific<orv::OrvOTDoc>(doc.Get(), obj.GetAddressOf())) || FAILED(obj.As(&protocol)))
            std::abort();
        for (LONG cur = 0; cur < 2; ++cur) {
            protocol->put_CurrentProtocol(cur);
            protocol->put_HistoryCount(12);
            protocol->put_fSredn1(2080.12 + cur);
            for (LONG i = 0; i < 12; ++i) {
                protocol->put_MonDate(i, 46023.0 + 30 * i);
                protocol->put_MonSum1(i, orv::MakeCurrency(612000000 + i * 10000));
                protocol->put_NormDaysCommon(i, 21);
                protocol->put_MonInFactor(i, 1.05f);
            }
        }
        protocol->put_CurrentProtocol(0);
        for (int m = 0; m < 3; ++m)
            for (int k = 0; k < 3; ++k)
                protocol->AddPaiedInterval(46204.0 + 31 * m, 46204.0 + 31 * m + k, 46205.0 + 31 * m + k, 1, 1, 8,
                                           orv::MakeCurrency(20000000 + k), VARIANT_TRUE);
        protocol->Save();
    }
    std::string BodyUtf8() {
        orv::ComPtr<IOrvDocExtension> ext;
        doc.As(&ext);
        orv::Bstr body;
        ext->get_Body(body.ReleaseAndGetAddressOf());
        return body.Utf8();
    }
};

void BM_ProtocolMonthFieldGet(benchmark::State& state) {
    Fixture f;
    CY value{};
    LONG i = 0;
    for (auto _ : state) {
        f.protocol->get_MonSum1(i, &value);
        i = (i + 1) % 12;
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ProtocolMonthFieldGet);

void BM_ProtocolSave(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        if (FAILED(f.protocol->Save())) state.SkipWithError("Save failed");
    }
    state.counters["bytes"] = static_cast<double>(f.BodyUtf8().size());
}
BENCHMARK(BM_ProtocolSave);

void BM_ProtocolLoad(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        if (FAILED(f.protocol->Load())) state.SkipWithError("Load failed");
    }
}
BENCHMARK(BM_ProtocolLoad);

// The DOM service loading the same text, with no reading of values.
void BM_DomLoadSameText(benchmark::State& state) {
    Fixture f;
    orv::ComPtr<IOrvDocExtension> ext;
    f.doc.As(&ext);
    orv::Bstr body;
    ext->get_Body(body.ReleaseAndGetAddressOf());
    orv::ComPtr<IXMLDOMDocument> xml;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(xml.GetAddressOf()))))
        std::abort();
    for (auto _ : state) {
        VARIANT_BOOL ok = VARIANT_FALSE;
        xml->loadXML(body, &ok);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_DomLoadSameText);

// pugixml alone on the same text: parse it, and write it back.
void BM_PugixmlParseSameText(benchmark::State& state) {
    Fixture f;
    const std::string text = f.BodyUtf8();
    for (auto _ : state) {
        pugi::xml_document d;
        benchmark::DoNotOptimize(d.load_buffer(text.data(), text.size()));
    }
}
BENCHMARK(BM_PugixmlParseSameText);

void BM_PugixmlWriteSameText(benchmark::State& state) {
    Fixture f;
    const std::string text = f.BodyUtf8();
    pugi::xml_document d;
    d.load_buffer(text.data(), text.size());
    for (auto _ : state) {
        std::ostringstream out;
        d.save(out, "", pugi::format_raw | pugi::format_no_declaration);
        benchmark::DoNotOptimize(out.str());
    }
}
BENCHMARK(BM_PugixmlWriteSameText);

}  // namespace

BENCHMARK_MAIN();
