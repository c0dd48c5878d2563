// One payroll month called from several threads at once: whole months put
// through the short XML form and the month record, single totals put beside
// them, and CalculateMonthSums run while its result is read; every read is
// one whole state (or one whole value), never a mixture.
#include "concurrency/race_util.h"

#include "month/month_fakes.h"

#include <array>
#include <map>

namespace racetest {
namespace {

constexpr int kSeeds = 6;

using TotalGet = HRESULT (IOrvMonth::*)(CY*);
using TotalPut = HRESULT (IOrvMonth::*)(CY);
#define ORV_TOTAL_GET(name, tag) &IOrvMonth::get_##name,
#define ORV_TOTAL_PUT(name, tag) &IOrvMonth::put_##name,
const TotalGet kTotalGets[] = {ORV_MONTH_TOTALS(ORV_TOTAL_GET)};
const TotalPut kTotalPuts[] = {ORV_MONTH_TOTALS(ORV_TOTAL_PUT)};
#undef ORV_TOTAL_GET
#undef ORV_TOTAL_PUT
constexpr int kTotals = static_cast<int>(std::size(kTotalGets));
// The k-th accessors, copied out of the tables before they are called: GCC's
// bounds check otherwise reads the member pointer's bits as the index.
TotalGet GetOf(int k) { return kTotalGets[k]; }
TotalPut PutOf(int k) { return kTotalPuts[k]; }

// The values of state s.
CY TotalOf(int s, int k) { return Cy((s + 1) * 1000000LL + k * 100); }
std::string RecordOf(int s) {
    const auto bytes = monthtest::PatternBytes<144>(static_cast<unsigned>(s));
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}
Bstr RecordBstr(const std::string& bytes) {
    return Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
}

ComPtr<IOrvMonth> MonthInState(int s) {
    ComPtr<IOrvMonth> month = monthtest::NewMonth();
    EXPECT_EQ(month->put_MonthRecord(RecordBstr(RecordOf(s)).Get()), S_OK);
    for (int k = 0; k < kTotals; ++k) EXPECT_EQ((month.Get()->*PutOf(k))(TotalOf(s, k)), S_OK);
    EXPECT_EQ(monthtest::As<IOrvM>(month.Get())->put_dbk(900u + static_cast<ULONG>(s)), S_OK);
    return month;
}

std::u16string ShortStringOf(IOrvMonth* month) {
    ComPtr<IOrvObjAsXmlString> xml;
    EXPECT_EQ(month->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf())), S_OK);
    Bstr text;
    EXPECT_EQ(xml->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    return Text(text.Get());
}

std::string RecordBytesOf(IOrvMonth* month) {
    Bstr rec;
    EXPECT_EQ(month->get_MonthRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    return Bytes(rec.Get());
}

bool IsTotal(int k, CY v) {
    for (int s = 0; s < kSeeds; ++s)
        if (TotalOf(s, k).int64 == v.int64) return true;
    return false;
}

struct States {
    std::map<std::u16string, int> shortSeed;
    std::map<std::string, int> recordSeed;
    std::array<std::u16string, kSeeds> shortForm;
    std::array<std::string, kSeeds> record;
    States() {
        for (int s = 0; s < kSeeds; ++s) {
            ComPtr<IOrvMonth> m = MonthInState(s);
            shortForm[s] = ShortStringOf(m.Get());
            record[s] = RecordBytesOf(m.Get());
            shortSeed[shortForm[s]] = s;
            recordSeed[record[s]] = s;
        }
    }
};

class ConcurrentMonth : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(states_.shortSeed.size(), static_cast<std::size_t>(kSeeds)) << "every state has its own text";
        ASSERT_EQ(states_.recordSeed.size(), static_cast<std::size_t>(kSeeds)) << "every state has its own record";
    }
    monthtest::HostEnvironment host_;
    States states_;
};

// Writers put whole months through the short form; readers take the short
// form, the record and single totals, and each read is one state.
TEST_F(ConcurrentMonth, ShortStringPutsAreReadAsWholeStates) {
    ComPtr<IOrvMonth> month = monthtest::NewMonth();
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(month.As(&xml), S_OK);
    ASSERT_EQ(xml->put_ShortString(Bstr(states_.shortForm[0])), S_OK);
    ASSERT_EQ(ShortStringOf(month.Get()), states_.shortForm[0]) << "the short form reads back as it was put";
    Findings found;
    RunTogether(
        2, 60,
        [&](int w, int i) {
            found.Expect(xml->put_ShortString(Bstr(states_.shortForm[(w * 3 + i) % kSeeds])) == S_OK,
                         "put_ShortString failed");
        },
        3,
        [&](int r) {
            thread_local int turn = 0;
            const int t = turn++;
            switch ((t + r) % 3) {
                case 0: {
                    Bstr text;
                    found.Expect(xml->get_ShortString(text.ReleaseAndGetAddressOf()) == S_OK &&
                                     states_.shortSeed.count(Text(text.Get())) == 1,
                                 "ShortString mixes states");
                    break;
                }
                case 1: {
                    Bstr rec;
                    found.Expect(month->get_MonthRecord(rec.ReleaseAndGetAddressOf()) == S_OK &&
                                     states_.recordSeed.count(Bytes(rec.Get())) == 1,
                                 "MonthRecord mixes states");
                    break;
                }
                default: {
                    const int k = t % kTotals;
                    CY v{};
                    found.Expect((month.Get()->*GetOf(k))(&v) == S_OK && IsTotal(k, v),
                                 "total " + std::to_string(k) + " is no state's: " + std::to_string(v.int64));
                    break;
                }
            }
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
}

// One writer replaces the record whole while another puts single totals of
// other states: the record read is always one state's record, and every
// total in a short form read is one state's value for that total.
TEST_F(ConcurrentMonth, RecordAndTotalPutsNeverTearAValue) {
    ComPtr<IOrvMonth> month = MonthInState(0);
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(month.As(&xml), S_OK);
    // Each reader reads the short forms into a month of its own.
    std::array<ComPtr<IOrvMonth>, 2> scratches = {monthtest::NewMonth(), monthtest::NewMonth()};
    Findings found;
    RunTogether(
        2, 300,
        [&](int w, int i) {
            const int s = (i * 5 + w) % kSeeds;
            if (w == 0)
                found.Expect(month->put_MonthRecord(RecordBstr(states_.record[s]).Get()) == S_OK, "put_MonthRecord failed");
            else
                found.Expect((month.Get()->*PutOf(i % kTotals))(TotalOf(s, i % kTotals)) == S_OK, "a total put failed");
        },
        2,
        [&](int r) {
            Bstr text;
            if (!found.Expect(xml->get_ShortString(text.ReleaseAndGetAddressOf()) == S_OK, "get_ShortString failed")) return;
            ComPtr<IOrvObjAsXmlString> scratchXml;
            scratches[r].As(&scratchXml);
            if (!found.Expect(scratchXml->put_ShortString(text.Get()) == S_OK, "the short form does not read back")) return;
            found.Expect(states_.recordSeed.count(RecordBytesOf(scratches[r].Get())) == 1, "the record mixes states");
            for (int k = 0; k < kTotals; ++k) {
                CY v{};
                (scratches[r].Get()->*GetOf(k))(&v);
                found.Expect(IsTotal(k, v), "total " + std::to_string(k) + " is torn: " + std::to_string(v.int64));
            }
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
}

// CalculateMonthSums (against a previous month, with test doubles for the
// minimum-wage table and configuration) run again and again while another
// thread puts the month back as it was before: every read of the month is
// either the state before the calculation or its whole result.
TEST_F(ConcurrentMonth, CalculationResultsAreReadWhole) {
    using monthtest::Kop;
    monthtest::Fake<monthtest::FakeWageTable> table;
    monthtest::Fake<monthtest::FakeConfig> config;
    table->wages[monthtest::Day(2026, 1, 1)] = Kop(450000).int64;
    table->wages[monthtest::Day(2026, 3, 1)] = Kop(500000).int64;
    auto withTraces = [](DATE date, std::initializer_list<std::pair<LONG, LONGLONG>> slots) {
        ComPtr<IOrvMonth> m = monthtest::NewMonth();
        ComPtr<IOrvUnknownList> traces = monthtest::NewList();
        EXPECT_EQ(m->put_MonthDate(date), S_OK);
        EXPECT_EQ(m->put_MTraceList(traces.Get()), S_OK);
        ComPtr<IOrvMTrace> t = monthtest::NewTrace(1000);
        for (auto [slot, kop] : slots) EXPECT_EQ(t->put_Sum(slot, Kop(kop)), S_OK);
        EXPECT_EQ(traces->Add(t.Get()), S_OK);
        return m;
    };
    ComPtr<IOrvMonth> before = withTraces(monthtest::Day(2026, 2, 1), {{5, 25000}, {9, 480000}, {10, 100000},
                                                                       {11, 500000}, {12, 120000}, {13, 40000}});
    ComPtr<IOrvMonth> month = withTraces(monthtest::Day(2026, 3, 1), {{5, 90000}, {9, 600000}, {10, 700000},
                                                                      {11, 1200000}, {12, 400000}, {13, 100000},
                                                                      {18, 300000}});
    orv::Variant previous;
    previous.vt = VT_UNKNOWN;
    previous.punkVal = before.Get();
    previous.punkVal->AddRef();
    auto calculate = [&] { return month->CalculateMonthSums(table.unknown.Get(), config.unknown.Get(), previous); };

    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(month.As(&xml), S_OK);
    const std::u16string initial = ShortStringOf(month.Get());
    ASSERT_EQ(calculate(), S_OK);
    const std::u16string result = ShortStringOf(month.Get());
    ASSERT_NE(result, initial) << "the calculation changes the month";
    ASSERT_EQ(xml->put_ShortString(Bstr(initial)), S_OK);
    ASSERT_EQ(calculate(), S_OK);
    ASSERT_EQ(ShortStringOf(month.Get()), result) << "the calculation gives the same result from the same state";
    CY pensionTax{};
    ASSERT_EQ(month->get_TotalPensTax(&pensionTax), S_OK);
    ASSERT_EQ(pensionTax.int64, Kop(400000).int64);

    Findings found;
    RunTogether(
        2, 40,
        [&](int w, int) {
            if (w == 0)
                found.Expect(calculate() == S_OK, "CalculateMonthSums failed");
            else
                found.Expect(xml->put_ShortString(Bstr(initial)) == S_OK, "put_ShortString failed");
        },
        2,
        [&](int r) {
            if (r == 0) {
                Bstr text;
                found.Expect(xml->get_ShortString(text.ReleaseAndGetAddressOf()) == S_OK &&
                                 (Text(text.Get()) == initial || Text(text.Get()) == result),
                             "the month is neither before nor after the calculation");
            } else {
                // The previous month is read by the calculation and by this reader alike.
                CY v{};
                found.Expect(before->get_TotalPensTax(&v) == S_OK, "the previous month cannot be read");
            }
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
}

}  // namespace
}  // namespace racetest
