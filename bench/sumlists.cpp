// The sum lists: a full pay-sum table (51 entries) written to and read back
// from the extension in both body formats, merging a list text into it, and
// a year-of-incomes question over a list of 120 items (date-service bounds
// included).
#include "document/OrvDocument.h"
#include "host/registration.h"
#include "kinds/selection.h"

#include <orvdocs/orvdocs.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;

template <class I>
ComPtr<I> Kind(SHORT type, LONG dcdpod, ComPtr<IOrvDocument>* doc) {
    if (FAILED(orv::CreateObject<orv::OrvDocument>(doc))) std::abort();
    (*doc)->put_lDcType(type);
    (*doc)->put_lDcdpod(dcdpod);
    ComPtr<IUnknown> unknown;
    if (FAILED(orv::CreateSpecificObject(type, doc->Get(), unknown.GetAddressOf()))) std::abort();
    ComPtr<I> kind;
    unknown.As(&kind);
    return kind;
}

ComPtr<IOrvS1Doc> FullTable(LONG dcdpod, ComPtr<IOrvDocument>* doc) {
    ComPtr<IOrvS1Doc> s1 = Kind<IOrvS1Doc>(137, dcdpod, doc);
    LONG r = 0;
    for (LONG code = 1; code <= 51; ++code) {
        CY sum;
        sum.int64 = code * 1234500;
        s1->AddSumMSM(code, code % 3, sum, code % 31, code * 8, code % 4, &r);
    }
    return s1;
}

void BM_PaySumsWriteAndRead(benchmark::State& state) {
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvS1Doc> s1 = FullTable(static_cast<LONG>(state.range(0)), &doc);
    ComPtr<IUnknown> unknown;
    for (auto _ : state) {
        s1->UpdateExtension();
        orv::CreateSpecificObject(137, doc.Get(), unknown.ReleaseAndGetAddressOf());
        ComPtr<IOrvS1Doc> reader;
        unknown.As(&reader);
        reader->InitFromExtension();
        benchmark::DoNotOptimize(reader);
    }
}
BENCHMARK(BM_PaySumsWriteAndRead)->Arg(0)->Arg(1)->ArgNames({"xml"});

void BM_PaySumsMergeText(benchmark::State& state) {
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvS1Doc> s1 = FullTable(1, &doc);
    BSTR text = nullptr;
    s1->GetSumsXml(&text);
    Bstr list = Bstr::Attach(text);
    for (auto _ : state) s1->AddSumsXml(list);  // every element matches an entry: 51 merges
}
BENCHMARK(BM_PaySumsMergeText);

void BM_YearIncome(benchmark::State& state) {
    orv::host::Registration registration;
    if (FAILED(orv::host::RegisterHostComponents(&registration))) std::abort();
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvS3Doc> s3 = Kind<IOrvS3Doc>(333, 1, &doc);
    std::u16string body = u"<S3SUMS>";
    for (int i = 0; i < 120; ++i) {
        const std::string month = std::to_string(45292 + 30 * (i / 10));  // ten items a month for a year
        const std::string code = std::to_string(2000 + i % 3);
        body += u"<S3SUM MN=\"" + std::u16string(month.begin(), month.end()) + u"\" ICODE=\"" +
                std::u16string(code.begin(), code.end()) + u"\" SUM=\"1000.5\" TXTKN=\"130\"/>";
    }
    body += u"</S3SUMS>";
    if (FAILED(s3->AddSumsXml(Bstr(body)))) std::abort();
    for (auto _ : state) {
        CY sum;
        s3->GetYearIncome(45500.0, 2001, &sum);
        benchmark::DoNotOptimize(sum);
    }
    registration.Revoke();
}
BENCHMARK(BM_YearIncome);

}  // namespace

BENCHMARK_MAIN();
