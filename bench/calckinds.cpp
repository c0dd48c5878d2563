// The calculating kinds: a loan's interest over a ten-year month table with
// a rate change every year, the piece-work order's sum over its ten rows, and
// the timesheet's summary of a five-week month.
#include "frame/com.h"
#include "host/registration.h"
#include "kinds/OrvTCDoc.h"
#include "kinds/OrvXLDoc.h"
#include "kinds/OrvZMDoc.h"
#include "kinds/selection.h"
#include "document/OrvDocument.h"

#include <orvdocs/orvdocs.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iterator>
#include <map>

namespace {

inline constexpr CLSID CLSID_BenchRate = {0x3F1D2B01, 0x5B6C, 0x4D7E, {0x8F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0x11}};

// The central bank rate: 10 % from 2010, one point more each year.
class BenchRate : public orv::CoClass<BenchRate, &CLSID_BenchRate, IOrvDatedOption, IDispatch> {
public:
    HRESULT get_Id(LONG* p) override {
        *p = 0;
        return S_OK;
    }
    HRESULT get_Value(DATE date, VARIANT* v) override {
        v->vt = VT_R8;
        v->dblVal = date < 40179.0 ? 0.0 : 10.0 + static_cast<int>((date - 40179.0) / 365.25);
        return S_OK;
    }
};

struct Host {
    Host() {
        if (FAILED(orv::host::RegisterHostComponents(&registration))) std::abort();
    }
    ~Host() { registration.Revoke(); }
    orv::host::Registration registration;
};

template <class I>
orv::ComPtr<I> Kind(SHORT type) {
    static Host host;
    orv::ComPtr<IOrvDocument> doc;
    if (FAILED(orv::CreateObject<orv::OrvDocument>(&doc))) std::abort();
    doc->put_lDcType(type);
    orv::ComPtr<IUnknown> object;
    if (FAILED(orv::CreateSpecificObject(type, doc.Get(), object.GetAddressOf()))) std::abort();
    orv::ComPtr<I> kind;
    object.As(&kind);
    return kind;
}

CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

void BM_LoanInterestTenYears(benchmark::State& state) {
    auto loan = Kind<IOrvZMDoc>(301);
    for (int m = 0; m < 120; ++m) {
        const DATE month = 40179.0 + m * 30.4375;  // about one a month from 2010
        loan->put_Loaned(month, Cy(10000000));
        loan->put_Remitted(month, Cy(4000000));
    }
    orv::ComPtr<IUnknown> rate;
    BenchRate* object = nullptr;
    if (FAILED(orv::CreateObjectWithAccess<BenchRate>(&rate, &object))) std::abort();
    for (auto _ : state) {
        CY sum{};
        loan->CalcInterest(43831.0, rate.Get(), &sum);  // January 2020
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_LoanInterestTenYears);

void BM_PieceWorkSum(benchmark::State& state) {
    auto order = Kind<IOrvXLDoc>(334);
    order->put_IsInitialised(-1);
    for (LONG i = 0; i < 7; ++i) order->put_Coeff(i, 1.0f + 0.25f * static_cast<float>(i));
    for (LONG row = 0; row < 10; ++row) {
        order->put_Value(row, Cy(123457 + row));
        order->put_MadeByDayTime(row, 100 + row);
        order->put_MadeByNightTime(row, 7);
        order->put_MadeByCoeff3(row, 3);
    }
    for (auto _ : state) {
        CY sum{};
        order->get_CalculatedSum(&sum);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PieceWorkSum);

void BM_TimesheetMonthSummary(benchmark::State& state) {
    auto sheet = Kind<IOrvTCDoc>(336);
    sheet->put_IsInitialized(VARIANT_TRUE);
    sheet->put_NormWDStart(1, 9.0f);
    sheet->put_NormWDEnd(1, 18.0f);
    sheet->put_Hour150(18.0f);
    sheet->put_Hour200(22.0f);
    for (LONG week = 0; week < 5; ++week) {
        sheet->put_WeekStart(week, 45348.0 + 7 * week);
        sheet->put_WeekEnd(week, 45354.0 + 7 * week);
        for (LONG day = 0; day < 7; ++day) {
            sheet->put_WDStart(week, day, 9.0f);
            sheet->put_WDEnd(week, day, day == 4 ? 23.30f : 18.0f);
            sheet->put_LunchStart(week, day, 13.0f);
            sheet->put_LunchEnd(week, day, 14.0f);
            sheet->put_DayType(week, day, static_cast<SHORT>(day < 5 ? 0 : 1));
        }
    }
    for (auto _ : state) {
        BSTR xml = nullptr;
        sheet->GetTotalHours(&xml, 45352.0, 45382.0);  // March 2024
        SysFreeString(xml);
    }
}
BENCHMARK(BM_TimesheetMonthSummary);

}  // namespace

BENCHMARK_MAIN();
