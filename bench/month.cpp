// The payroll month: CalculateMonthSums on a month with a full set of traces
// (codes 1000 to 1026 with their high-words traces, a previous month alike),
// one sum collector read, the tax base of a year over twelve loaded months,
// and the month's short XML form. Every benchmark counts the C++ heap
// allocations made while it runs and reports them per call.
#include "host/OrvUnknownList.h"
#include "month/OrvMTrace.h"
#include "month/OrvMonth.h"
#include "month/OrvMonthList.h"

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

using orv::ComPtr;

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

inline constexpr CLSID CLSID_BenchWage = {0x7E1A1691, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 16}};
inline constexpr CLSID CLSID_BenchConfig = {0x7E1A1692, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 16}};

// A minimum-wage table with one value for every date.
class Wage : public orv::CoClass<Wage, &CLSID_BenchWage, IOrvDatedOption, IDispatch> {
public:
    HRESULT get_Value(DATE, VARIANT* out) override {
        VariantInit(out);
        out->vt = VT_CY;
        out->cyVal.int64 = 433000000;  // 43300.00
        return S_OK;
    }
    HRESULT get_Id(LONG*) override { return E_NOTIMPL; }
};
class Config : public orv::CoClass<Config, &CLSID_BenchConfig, IOrvConfig, IDispatch> {
public:
    HRESULT get_MinimumWage(DATE, CY* out) override {
        out->int64 = 0;
        return S_OK;
    }
    HRESULT get_OrganizationName(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_OrganizationInn(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_DataPath(BSTR*) override { return E_NOTIMPL; }
    HRESULT get_WorkMonth(DATE*) override { return E_NOTIMPL; }
    HRESULT put_WorkMonth(DATE) override { return E_NOTIMPL; }
};

template <class T, class I>
ComPtr<I> Make() {
    ComPtr<I> p;
    if (FAILED(orv::CreateObject<T>(&p))) std::abort();
    return p;
}

// A month on date with every sum 0 to 499 set, half of them above 32-bit
// hundredths, so that all 27 traces have their high-words traces.
ComPtr<IOrvMonth> FullMonth(DATE date) {
    auto month = Make<orv::OrvMonth, IOrvMonth>();
    auto list = Make<orv::host::OrvUnknownList, IOrvUnknownList>();
    month->put_MonthDate(date);
    month->put_MTraceList(list.Get());
    ComPtr<IOrvM> fields;
    month.As(&fields);
    for (LONG i = 0; i < 500; ++i) {
        CY v{};
        v.int64 = (i % 2 ? 300000000000LL : 1000000LL) + i * 100;
        fields->put_SumCollector(i, v);
    }
    return month;
}

DATE Day(WORD year, WORD month) {
    SYSTEMTIME st{};
    st.wYear = year, st.wMonth = month, st.wDay = 1;
    DATE d = 0;
    SystemTimeToVariantTime(&st, &d);
    return d;
}

void BM_CalculateMonthSums(benchmark::State& state) {
    auto previous = FullMonth(Day(2026, 2));
    auto month = FullMonth(Day(2026, 3));
    auto wage = Make<Wage, IOrvDatedOption>();
    auto config = Make<Config, IOrvConfig>();
    VARIANT prev;
    VariantInit(&prev);
    if (state.range(0)) {
        prev.vt = VT_UNKNOWN;
        prev.punkVal = previous.Get();
    }
    AllocationCounter count(state);
    for (auto _ : state) {
        HRESULT hr = month->CalculateMonthSums(wage.Get(), config.Get(), prev);
        if (hr != S_OK) state.SkipWithError("CalculateMonthSums failed");
        benchmark::DoNotOptimize(hr);
    }
}
BENCHMARK(BM_CalculateMonthSums)->Arg(0)->Arg(1)->ArgName("previous");

void BM_SumCollectorGet(benchmark::State& state) {
    auto month = FullMonth(Day(2026, 3));
    ComPtr<IOrvM> fields;
    month.As(&fields);
    const LONG index = static_cast<LONG>(state.range(0));
    AllocationCounter count(state);
    for (auto _ : state) {
        CY v{};
        fields->get_SumCollector(index, &v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_SumCollectorGet)->Arg(0)->Arg(499);

void BM_TaxBaseOfYear(benchmark::State& state) {
    auto list = Make<orv::OrvMonthList, IOrvMonthList>();
    ComPtr<IOrvUnknownList> adder;
    list.As(&adder);
    for (WORD m = 1; m <= 12; ++m) adder->Add(FullMonth(Day(2026, m)).Get());
    CY given{}, limit{};
    given.int64 = 5000000000LL;
    limit.int64 = 9000000000000000LL;  // never reached: every month is read
    AllocationCounter count(state);
    for (auto _ : state) {
        CY normal{}, relieved{};
        HRESULT hr = list->GetTaxBasesBeforeLimiting(Day(2026, 1), Day(2026, 12), given, given, limit, 0, &normal,
                                                     &relieved);
        if (hr != S_OK) state.SkipWithError("GetTaxBasesBeforeLimiting failed");
        benchmark::DoNotOptimize(normal);
    }
}
BENCHMARK(BM_TaxBaseOfYear);

void BM_MonthShortString(benchmark::State& state) {
    auto month = FullMonth(Day(2026, 3));
    ComPtr<IOrvObjAsXmlString> xml;
    month.As(&xml);
    AllocationCounter count(state);
    for (auto _ : state) {
        BSTR text = nullptr;
        xml->get_ShortString(&text);
        benchmark::DoNotOptimize(text);
        SysFreeString(text);
    }
}
BENCHMARK(BM_MonthShortString);

}  // namespace

BENCHMARK_MAIN();
