// The DOM service against raw pugixml on the same document list text (about
// 1 MB): load, walk with a selection, write back. The DOM side takes and
// gives UTF-16 BSTRs, so its figures include the conversions; the raw side
// works on the UTF-8 text directly.
#include <orvdocs/platform/platform.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A list of 1000 documents: a 608-character record in upper-case hex, a few
// numeric attributes and an extension whose body is escaped XML text.
std::string MakeDocumentList() {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = "<ORVDOCLIST>";
    unsigned seed = 12345;
    for (int i = 0; i < 1000; ++i) {
        std::string record;
        for (int k = 0; k < 608; ++k) {
            seed = seed * 1103515245u + 12345u;
            record += kHex[(seed >> 16) & 15];
        }
        text += "<ORVDOCUMENT DOCRECORD=\"" + record + "\" DBK=\"" + std::to_string(100000 + i) +
                "\" RCLDATE=\"45000.5\" CONDITION=\"1\" TIMESTAMP=\"" + std::to_string(700000 + i * 7) + "\"" +
                (i % 3 == 0 ? " AT=\"1\"" : "") + ">";
        text += "<DOCEXTENSION LEN=\"212\">&lt;TCDOCEX NORMA_TOTAL=\"40\" WEEKS=\"4\" HOUR_150=\"2\"&gt;"
                "&lt;SMENA N=\"1\" ST1=\"8\" ST2=\"17\"/&gt;&lt;WEEK N=\"1\"&gt;&lt;DAY D=\"1\" H=\"8\"/&gt;"
                "&lt;DAY D=\"2\" H=\"8\"/&gt;&lt;/WEEK&gt;&lt;MEMO T=\"Оплата по графику\"/&gt;&lt;/TCDOCEX&gt;"
                "</DOCEXTENSION></ORVDOCUMENT>";
    }
    text += "</ORVDOCLIST>";
    return text;
}

const std::string& Utf8Text() {
    static const std::string text = MakeDocumentList();
    return text;
}

BSTR Utf16Text() {
    static const orv::Bstr text = orv::Bstr::FromUtf8(Utf8Text());
    return text.Get();
}

orv::ComPtr<IXMLDOMDocument> NewDoc() {
    orv::ComPtr<IXMLDOMDocument> doc;
    if (FAILED(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(doc.GetAddressOf()))))
        std::abort();
    return doc;
}

// ------------------------------------------------------------------ DOM service

void DomLoad(IXMLDOMDocument* doc) {
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (doc->loadXML(Utf16Text(), &ok) != S_OK || ok != VARIANT_TRUE) std::abort();
}

std::size_t DomWalk(IXMLDOMDocument* doc) {
    static const orv::Bstr query(u"ORVDOCLIST/ORVDOCUMENT");
    static const orv::Bstr record(u"DOCRECORD");
    static const orv::Bstr dbk(u"DBK");
    orv::ComPtr<IXMLDOMNodeList> list;
    if (doc->selectNodes(query, list.GetAddressOf()) != S_OK) std::abort();
    std::size_t total = 0;
    orv::ComPtr<IXMLDOMNode> node;
    while (list->nextNode(node.ReleaseAndGetAddressOf()) == S_OK) {
        orv::ComPtr<IXMLDOMElement> e;
        node.As(&e);
        orv::Variant v;
        e->getAttribute(record, v.Out());
        total += SysStringLen(v.bstrVal);
        e->getAttribute(dbk, v.Out());
        total += SysStringLen(v.bstrVal);
    }
    return total;
}

std::size_t DomSave(IXMLDOMDocument* doc) {
    BSTR xml = nullptr;
    if (doc->get_xml(&xml) != S_OK) std::abort();
    std::size_t n = SysStringLen(xml);
    SysFreeString(xml);
    return n;
}

void BM_Dom_Load(benchmark::State& state) {
    auto doc = NewDoc();
    for (auto _ : state) DomLoad(doc.Get());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Utf8Text().size()));
}

void BM_Dom_Walk(benchmark::State& state) {
    auto doc = NewDoc();
    DomLoad(doc.Get());
    for (auto _ : state) benchmark::DoNotOptimize(DomWalk(doc.Get()));
}

void BM_Dom_Save(benchmark::State& state) {
    auto doc = NewDoc();
    DomLoad(doc.Get());
    for (auto _ : state) benchmark::DoNotOptimize(DomSave(doc.Get()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Utf8Text().size()));
}

void BM_Dom_All(benchmark::State& state) {
    for (auto _ : state) {
        auto doc = NewDoc();
        DomLoad(doc.Get());
        benchmark::DoNotOptimize(DomWalk(doc.Get()));
        benchmark::DoNotOptimize(DomSave(doc.Get()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Utf8Text().size()));
}

// ------------------------------------------------------------------ raw pugixml

struct StringWriter final : pugi::xml_writer {
    std::string out;
    void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void RawLoad(pugi::xml_document& doc) {
    const std::string& text = Utf8Text();
    if (!doc.load_buffer(text.data(), text.size())) std::abort();
}

std::size_t RawWalk(pugi::xml_document& doc) {
    std::size_t total = 0;
    for (const pugi::xpath_node& x : doc.select_nodes("ORVDOCLIST/ORVDOCUMENT")) {
        total += std::strlen(x.node().attribute("DOCRECORD").value());
        total += std::strlen(x.node().attribute("DBK").value());
    }
    return total;
}

std::size_t RawSave(pugi::xml_document& doc) {
    StringWriter w;
    doc.save(w, "", pugi::format_raw | pugi::format_no_declaration);
    return w.out.size();
}

void BM_Raw_Load(benchmark::State& state) {
    pugi::xml_document doc;
    for (auto _ : state) RawLoad(doc);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Utf8Text().size()));
}

void BM_Raw_Walk(benchmark::State& state) {
    pugi::xml_document doc;
    RawLoad(doc);
    for (auto _ : state) benchmark::DoNotOptimize(RawWalk(doc));
}

void BM_Raw_Save(benchmark::State& state) {
    pugi::xml_document doc;
    RawLoad(doc);
    for (auto _ : state) benchmark::DoNotOptimize(RawSave(doc));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Utf8Text().size()));
}

void BM_Raw_All(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document doc;
        RawLoad(doc);
        benchmark::DoNotOptimize(RawWalk(doc));
        benchmark::DoNotOptimize(RawSave(doc));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Utf8Text().size()));
}

}  // namespace

BENCHMARK(BM_Dom_Load)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_Load)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dom_Walk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_Walk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dom_Save)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_Save)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dom_All)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_All)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    std::printf("document list: %zu bytes of UTF-8, %u UTF-16 units\n", Utf8Text().size(),
                SysStringLen(Utf16Text()));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
