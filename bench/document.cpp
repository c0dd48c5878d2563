// The generic document's record properties through the interface: numeric
// gets and puts (which must not allocate: every benchmark counts the C++ heap
// allocations made while it runs and reports them per call), the area rule
// and the 64-bit Dcsum1, and the whole record as a byte string. BSTRs come
// from the platform's string allocator, not from operator new, so the one
// string DocRecord get hands out is not in the count.
#include "document/OrvDocument.h"
#include "frame/values.h"

#include <orvdocs/orvdocs.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The replacements below pair malloc with free; GCC cannot see that through
// the standard containers' inlined calls.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long long> g_allocations{0};
}  // namespace

// Every allocation of the process, the library's included, passes here.
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

orv::ComPtr<IOrvDocument> NewDocument(LONG type, LONG at) {
    orv::ComPtr<IOrvDocument> doc;
    if (FAILED(orv::CreateObject<orv::OrvDocument>(&doc))) std::abort();
    doc->put_lDcType(type);
    doc->put_AT(at);
    return doc;
}

// Counts allocations over the timed loop and reports them per iteration.
class AllocationCounter {
public:
    explicit AllocationCounter(benchmark::State& state) : state_(state), start_(g_allocations.load()) {}
    ~AllocationCounter() {
        double n = static_cast<double>(g_allocations.load() - start_);
        state_.counters["allocs/call"] = state_.iterations() ? n / static_cast<double>(state_.iterations()) : 0;
    }

private:
    benchmark::State& state_;
    long long start_;
};

void BM_GetDcSum2(benchmark::State& state) {
    auto doc = NewDocument(10, state.range(0));
    doc->put_DcSum2(orv::MakeCurrency(12345));
    AllocationCounter count(state);
    for (auto _ : state) {
        CY v;
        doc->get_DcSum2(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_GetDcSum2)->Arg(0)->Arg(1)->ArgName("AT");

void BM_PutDcSum2(benchmark::State& state) {
    auto doc = NewDocument(10, state.range(0));
    AllocationCounter count(state);
    LONGLONG raw = 0;
    for (auto _ : state) {
        CY v;
        v.int64 = raw += 50;
        doc->put_DcSum2(v);
    }
}
BENCHMARK(BM_PutDcSum2)->Arg(0)->Arg(1)->ArgName("AT");

void BM_PutGetDcsum1Large(benchmark::State& state) {
    auto doc = NewDocument(10, 0);
    AllocationCounter count(state);
    LONGLONG raw = 3000000000000;
    for (auto _ : state) {
        CY v;
        v.int64 = ++raw;
        doc->put_Dcsum1(v);
        doc->get_Dcsum1(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_PutGetDcsum1Large);

void BM_PutGetDcmsIndexed(benchmark::State& state) {
    auto doc = NewDocument(10, 1);
    AllocationCounter count(state);
    SHORT i = 0;
    for (auto _ : state) {
        CY v{};
        doc->put_Dcms(i, v);
        doc->get_Dcms(i, &v);
        benchmark::DoNotOptimize(v);
        i = static_cast<SHORT>((i + 1) % 3);
    }
}
BENCHMARK(BM_PutGetDcmsIndexed);

void BM_GetPutDates(benchmark::State& state) {
    auto doc = NewDocument(10, 0);
    AllocationCounter count(state);
    DATE d = 45000.5;
    for (auto _ : state) {
        doc->put_dtDn(d);
        doc->get_dtDn(&d);
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_GetPutDates);

void BM_GetDcSum2ThroughDualInterface(benchmark::State& state) {
    auto doc = NewDocument(10, 0);
    orv::ComPtr<IOrvDocumentDisp> disp;
    doc.As(&disp);
    AllocationCounter count(state);
    for (auto _ : state) {
        CY v;
        disp->get_DcSum2(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_GetDcSum2ThroughDualInterface);

void BM_DocRecordGet(benchmark::State& state) {
    auto doc = NewDocument(10, 0);
    AllocationCounter count(state);
    for (auto _ : state) {
        BSTR rec = nullptr;
        doc->get_DocRecord(&rec);
        benchmark::DoNotOptimize(rec);
        SysFreeString(rec);
    }
}
BENCHMARK(BM_DocRecordGet);

void BM_DocRecordPut(benchmark::State& state) {
    auto doc = NewDocument(10, 0);
    unsigned char bytes[304] = {};
    bytes[2] = 10;
    orv::Bstr rec = orv::Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(bytes), 304));
    AllocationCounter count(state);
    for (auto _ : state) doc->put_DocRecord(rec);
}
BENCHMARK(BM_DocRecordPut);

}  // namespace

BENCHMARK_MAIN();
