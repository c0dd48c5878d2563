// The document list over 100 000 documents of mixed types and periods: one
// whole selection walk with each of the four period tests (the list's own
// cursor and an enumerator), and the full XML form of a 10 000-document list
// written and read back. Every benchmark counts the C++ heap allocations and
// the XML parser's allocations made while it runs and reports them per
// document visited; BSTRs come from the platform's string allocator and are
// not in the count.
#include "document/OrvDocument.h"
#include "frame/values.h"
#include "lists/OrvDocList.h"

#include <orvdocs/orvdocs.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::atomic<long long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

void* CountedXmlAllocate(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size);
}

constexpr LONG kTypes[] = {1, 48, 2, 5, 10, 27, 40, 41, 91, 304, 390, 410};
constexpr DATE kMarch2024 = 45352.0;  // 2024-03-01
constexpr DATE kMarchEnd = 45382.0;   // 2024-03-31

// A list of documents of the mixed types with periods from 2020 to 2025: some
// a day long, some open-ended (2049-12-31), some without an end date.
orv::ComPtr<IOrvDocList> MakeList(int count) {
    orv::ComPtr<IOrvDocList> list;
    if (FAILED(orv::CreateObject<orv::OrvDocList>(&list))) std::abort();
    std::mt19937 rng(20240301);
    for (int i = 0; i < count; ++i) {
        orv::ComPtr<IOrvDocument> doc;
        if (FAILED(orv::CreateObject<orv::OrvDocument>(&doc))) std::abort();
        const DATE start = 43831.0 + static_cast<double>(rng() % 2190);  // 2020-01-01 + up to 6 years
        DATE end = start + static_cast<double>(rng() % 400);
        if (i % 17 == 0) end = 54788.0;
        if (i % 23 == 0) end = 0.0;
        doc->put_lDcType(kTypes[rng() % std::size(kTypes)]);
        doc->put_lDcId(i + 1);
        doc->put_dtDn(start);
        doc->put_dtDk(end);
        doc->put_Dcsum1(orv::MakeCurrency(static_cast<LONGLONG>(rng() % 10000000) * 100));
        LONG result = 0;
        list->AddItem(doc.Get(), &result);
    }
    return list;
}

IOrvDocList* BigList() {
    static orv::ComPtr<IOrvDocList> list = MakeList(100000);
    return list.Get();
}

class AllocationCounter {
public:
    AllocationCounter(benchmark::State& state, double perIteration)
        : state_(state), perIteration_(perIteration), start_(g_allocations.load()) {}
    ~AllocationCounter() {
        const double n = static_cast<double>(g_allocations.load() - start_);
        const double visited = perIteration_ * static_cast<double>(state_.iterations());
        state_.counters["allocs/doc"] = visited ? n / visited : 0;
        state_.SetItemsProcessed(static_cast<int64_t>(visited));
    }

private:
    benchmark::State& state_;
    double perIteration_;
    long long start_;
};

using Test = HRESULT (IOrvDocList::*)(LONG, DATE, DATE, IUnknown**);

void Walk(benchmark::State& state, Test test, LONG type) {
    IOrvDocList* list = BigList();
    long long found = 0;
    {
        AllocationCounter count(state, 100000);
        for (auto _ : state) {
            list->Reset();
            for (;;) {
                IUnknown* doc = nullptr;
                if ((list->*test)(type, kMarch2024, kMarchEnd, &doc) != S_OK) break;
                doc->Release();
                ++found;
            }
        }
    }
    state.counters["found/walk"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

void BM_WalkInPeriod(benchmark::State& state) { Walk(state, &IOrvDocList::NextT0InPeriod, 304); }
void BM_WalkCoveredByPeriod(benchmark::State& state) { Walk(state, &IOrvDocList::NextT0CoveredByPeriod, 304); }
void BM_WalkCoveringPeriod(benchmark::State& state) { Walk(state, &IOrvDocList::NextT0CoveringPeriod, 304); }
// Types 1 and 48 together: a sixth of the documents pass the type test.
void BM_WalkInPeriodFamilyOne(benchmark::State& state) { Walk(state, &IOrvDocList::NextT0InPeriod, 1); }

void BM_WalkOnDate(benchmark::State& state) {
    IOrvDocList* list = BigList();
    AllocationCounter count(state, 100000);
    for (auto _ : state) {
        list->Reset();
        for (;;) {
            IUnknown* doc = nullptr;
            LONG result = 0;
            if (list->NextT0OnDate(304, kMarch2024 + 14, &doc, &result) != S_OK) break;
            doc->Release();
        }
    }
}

void BM_WalkEnumeratorInPeriod(benchmark::State& state) {
    IOrvDocList* list = BigList();
    orv::ComPtr<IOrvENUMDocuments> en;
    if (FAILED(list->QueryInterface(IID_IOrvENUMDocuments, reinterpret_cast<void**>(en.GetAddressOf())))) std::abort();
    AllocationCounter count(state, 100000);
    for (auto _ : state) {
        en->Reset();
        for (;;) {
            IUnknown* doc = nullptr;
            if (en->NextT0InPeriod(304, kMarch2024, kMarchEnd, &doc) != S_OK) break;
            doc->Release();
        }
    }
}

void BM_PlainWalk(benchmark::State& state) {
    IOrvDocList* list = BigList();
    AllocationCounter count(state, 100000);
    for (auto _ : state) {
        list->Reset();
        for (;;) {
            IUnknown* doc = nullptr;
            if (list->Next2(&doc) != S_OK) break;
            doc->Release();
        }
    }
}

orv::ComPtr<IOrvObjAsXmlString> XmlOf(IOrvDocList* list) {
    orv::ComPtr<IOrvObjAsXmlString> xml;
    if (FAILED(list->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf()))))
        std::abort();
    return xml;
}

void BM_FullStringOut(benchmark::State& state) {
    static orv::ComPtr<IOrvDocList> list = MakeList(10000);
    auto xml = XmlOf(list.Get());
    AllocationCounter count(state, 10000);
    for (auto _ : state) {
        BSTR text = nullptr;
        if (xml->get_FullString(&text) != S_OK) std::abort();
        SysFreeString(text);
    }
}

void BM_ParseFromBack(benchmark::State& state) {
    static orv::ComPtr<IOrvDocList> source = MakeList(10000);
    BSTR text = nullptr;
    if (XmlOf(source.Get())->get_FullString(&text) != S_OK) std::abort();
    orv::ComPtr<IOrvDocList> target;
    if (FAILED(orv::CreateObject<orv::OrvDocList>(&target))) std::abort();
    auto xml = XmlOf(target.Get());
    {
        AllocationCounter count(state, 10000);
        for (auto _ : state)
            if (xml->put_FullString(text) != S_OK) std::abort();
    }
    state.counters["bytes/doc"] = static_cast<double>(SysStringByteLen(text)) / 10000.0;
    SysFreeString(text);
}

void BM_RoundTrip(benchmark::State& state) {
    static orv::ComPtr<IOrvDocList> list = MakeList(10000);
    auto xml = XmlOf(list.Get());
    orv::ComPtr<IOrvDocList> target;
    if (FAILED(orv::CreateObject<orv::OrvDocList>(&target))) std::abort();
    auto back = XmlOf(target.Get());
    AllocationCounter count(state, 10000);
    for (auto _ : state) {
        BSTR text = nullptr;
        if (xml->get_FullString(&text) != S_OK) std::abort();
        if (back->put_FullString(text) != S_OK) std::abort();
        SysFreeString(text);
    }
}

const bool kCountXml = [] {
    pugi::set_memory_management_functions(CountedXmlAllocate, std::free);
    return true;
}();

}  // namespace

BENCHMARK(BM_WalkInPeriod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkCoveredByPeriod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkCoveringPeriod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkOnDate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkInPeriodFamilyOne)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkEnumeratorInPeriod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullStringOut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFromBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
