// The database service on a store file: storing 10 000 new documents with
// extensions through their own Update, each in its own transaction and all in
// one transaction of the host, and reading them back (record and extension)
// into new document objects; the store's size for 10 000 documents with five
// versions each. Counters: documents per second and the file's size in bytes
// after the service closed it.
#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using orv::Bstr;
using orv::ComPtr;

constexpr int kDocuments = 10000;

void RegisterOnce() {
    static orv::host::Registration reg;
    static const bool done = [] {
        DllRegisterServer();
        orv::host::RegisterHostComponents(&reg);
        return true;
    }();
    (void)done;
}

std::string FreshPath(const char* name) {
    const auto path = std::filesystem::temp_directory_path() / name;
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
    return path.string();
}

ComPtr<IOrvDatabase> Open(const std::string& path) {
    ComPtr<IOrvDatabase> db;
    if (FAILED(orv::host::OpenDatabase(orv::Utf8ToUtf16(path), db.GetAddressOf()))) std::abort();
    return db;
}

// A timesheet-like extension body of about 150 characters.
Bstr Body(int i) {
    return Bstr::FromUtf8("<TCDOCEX NORMA_TOTAL=\"" + std::to_string(160 + i % 8) +
                          "\"><DAY N=\"1\" H=\"8\"/><DAY N=\"2\" H=\"8\"/><DAY N=\"3\" H=\"7.5\"/><DAY N=\"4\" H=\"8\"/></TCDOCEX>");
}

ULONG StoreNew(IOrvDatabase* db, int i) {
    ComPtr<IUnknown> unknown;
    db->NewDocument(0, 336, unknown.GetAddressOf());
    ComPtr<IOrvDocument> doc;
    unknown.As(&doc);
    CY sum;
    sum.int64 = 10000LL * (i + 1);
    doc->put_Dcsum1(sum);
    ComPtr<IOrvDocExtension> ext;
    doc.As(&ext);
    Bstr body = Body(i);
    ext->put_Body(body.Get());
    ext->put_Length(static_cast<LONG>(body.Length()));
    if (FAILED(doc->Update(0))) std::abort();
    ULONG address = 0;
    doc->get_DB_ADDR(&address);
    return address;
}

void ReadBack(IOrvDatabase* db, const std::vector<ULONG>& addresses) {
    for (ULONG address : addresses) {
        ComPtr<IUnknown> unknown;
        if (db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()) != S_OK) std::abort();
        ComPtr<IOrvDocument> doc;
        unknown.As(&doc);
        LONG result = 0;
        doc->InitInnerDocExtension(0, &result);
        if (result != 1) std::abort();
        benchmark::DoNotOptimize(doc.Get());
    }
}

double FileSize(const std::string& path) { return static_cast<double>(std::filesystem::file_size(path)); }

// range(0): 1 stores every document in its own transaction, 0 all in one.
void BM_UpdateOnAFile(benchmark::State& state) {
    RegisterOnce();
    const bool each = state.range(0) != 0;
    std::string path;
    for (auto _ : state) {
        state.PauseTiming();
        path = FreshPath(each ? "orv-bench-each.db" : "orv-bench-one.db");
        auto db = Open(path);
        LONG pipe = 0;
        db->OpenPipe(&pipe);
        state.ResumeTiming();
        if (!each) db->BeginTransaction(pipe);
        for (int i = 0; i < kDocuments; ++i) StoreNew(db.Get(), i);
        if (!each) db->CommitTransaction(pipe);
        state.PauseTiming();
        db->Close();
        state.ResumeTiming();
    }
    state.counters["docs_per_s"] = benchmark::Counter(static_cast<double>(kDocuments) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["file_bytes"] = FileSize(path);
}
BENCHMARK(BM_UpdateOnAFile)->Arg(1)->Arg(0)->ArgNames({"tx_each"})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBackFromAFile(benchmark::State& state) {
    RegisterOnce();
    const std::string path = FreshPath("orv-bench-read.db");
    std::vector<ULONG> addresses;
    {
        auto db = Open(path);
        LONG pipe = 0;
        db->OpenPipe(&pipe);
        db->BeginTransaction(pipe);
        for (int i = 0; i < kDocuments; ++i) addresses.push_back(StoreNew(db.Get(), i));
        db->CommitTransaction(pipe);
    }
    auto db = Open(path);
    for (auto _ : state) ReadBack(db.Get(), addresses);
    state.counters["docs_per_s"] = benchmark::Counter(static_cast<double>(kDocuments) * state.iterations(), benchmark::Counter::kIsRate);
    db->Close();
    state.counters["file_bytes"] = FileSize(path);
}
BENCHMARK(BM_ReadBackFromAFile)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10 000 documents stored, then each changed four times: five versions each,
// the latest in the documents' table and four in the history.
void BM_FiveVersionsEach(benchmark::State& state) {
    RegisterOnce();
    std::string path;
    for (auto _ : state) {
        path = FreshPath("orv-bench-history.db");
        auto db = Open(path);
        LONG pipe = 0;
        db->OpenPipe(&pipe);
        db->BeginTransaction(pipe);
        std::vector<ULONG> addresses;
        for (int i = 0; i < kDocuments; ++i) addresses.push_back(StoreNew(db.Get(), i));
        for (int version = 2; version <= 5; ++version) {
            for (ULONG address : addresses) {
                ComPtr<IUnknown> unknown;
                db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf());
                ComPtr<IOrvDocument> doc;
                unknown.As(&doc);
                LONG result = 0;
                doc->InitInnerDocExtension(0, &result);
                CY sum;
                doc->get_Dcsum1(&sum);
                sum.int64 += 10000;
                doc->put_Dcsum1(sum);
                doc->put_RecordCondition(2);
                if (FAILED(doc->Update(0))) std::abort();
            }
        }
        db->CommitTransaction(pipe);
        db->Close();
    }
    state.counters["docs_per_s"] =
        benchmark::Counter(5.0 * kDocuments * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["file_bytes"] = FileSize(path);
}
BENCHMARK(BM_FiveVersionsEach)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
