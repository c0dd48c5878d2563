// The month trace: its record views at their offsets, the 64-bit sums split
// over a trace and its high-words trace, the record condition, the
// department period and the employee call.
#include "month_fakes.h"

#include <functional>
#include <string>

namespace monthtest {
namespace {

using TraceBytes = Bytes<84>;

struct TraceField {
    const char* name;
    std::size_t offset, width;
    // Puts the stored value v through the property; reads the stored value back.
    std::function<HRESULT(IOrvMTrace*, IOrvDepPeriod*, LONG)> put;
    std::function<LONG(IOrvMTrace*, IOrvDepPeriod*)> get;
};

#define LONG_VIEW(itf, prop, off)                                                                   \
    TraceField {                                                                                    \
        #itf "." #prop, off, 4, []([[maybe_unused]] IOrvMTrace* t, [[maybe_unused]] IOrvDepPeriod* d, LONG v) { return itf->put_##prop(v); }, \
            []([[maybe_unused]] IOrvMTrace* t, [[maybe_unused]] IOrvDepPeriod* d) {                                                 \
                LONG v = 0;                                                                         \
                EXPECT_EQ(itf->get_##prop(&v), S_OK);                                               \
                return v;                                                                           \
            }                                                                                       \
    }
#define SHORT_VIEW(itf, prop, off)                                                                  \
    TraceField {                                                                                    \
        #itf "." #prop, off, 2, []([[maybe_unused]] IOrvMTrace* t, [[maybe_unused]] IOrvDepPeriod* d, LONG v) { return itf->put_##prop(v); }, \
            []([[maybe_unused]] IOrvMTrace* t, [[maybe_unused]] IOrvDepPeriod* d) {                                                 \
                LONG v = 0;                                                                         \
                EXPECT_EQ(itf->get_##prop(&v), S_OK);                                               \
                return v;                                                                           \
            }                                                                                       \
    }
#define MONEY_VIEW(prop, off)                                                                       \
    TraceField {                                                                                    \
        "t." #prop, off, 4, [](IOrvMTrace* t, IOrvDepPeriod*, LONG v) { return t->put_##prop(Kop(v)); }, \
            [](IOrvMTrace* t, IOrvDepPeriod*) {                                                     \
                CY v{};                                                                             \
                EXPECT_EQ(t->get_##prop(&v), S_OK);                                                 \
                return static_cast<LONG>(v.int64 / 100);                                            \
            }                                                                                       \
    }
#define DAY_VIEW(prop, off)                                                                         \
    TraceField {                                                                                    \
        "d." #prop, off, 2, [](IOrvMTrace*, IOrvDepPeriod* d, LONG v) { return d->put_##prop(v + 22281.0); }, \
            [](IOrvMTrace*, IOrvDepPeriod* d) {                                                     \
                DATE v = 0;                                                                         \
                EXPECT_EQ(d->get_##prop(&v), S_OK);                                                 \
                return static_cast<LONG>(v - 22281.0);                                              \
            }                                                                                       \
    }

std::vector<TraceField> TraceFields() {
    std::vector<TraceField> f = {
        SHORT_VIEW(t, Id, 0), SHORT_VIEW(t, T0, 2), SHORT_VIEW(t, T1, 4),
        SHORT_VIEW(d, Id, 0), SHORT_VIEW(d, T0, 2), SHORT_VIEW(d, T1, 4),
        MONEY_VIEW(trSum1, 6), MONEY_VIEW(trSum2Reset, 10), MONEY_VIEW(trSum2Revers, 14),
        MONEY_VIEW(trSum3Reset, 18), MONEY_VIEW(trSum3Revers, 22),
        SHORT_VIEW(t, trDatReserv1, 34), SHORT_VIEW(t, trDatReserv2, 36),
        DAY_VIEW(dtDn, 34), DAY_VIEW(dtDk, 36),
        LONG_VIEW(d, Days5, 6), LONG_VIEW(d, Hours5, 10), LONG_VIEW(d, Days6, 14), LONG_VIEW(d, Hours6, 18),
        LONG_VIEW(d, Days, 22), LONG_VIEW(d, Hours, 26), LONG_VIEW(d, CalendarDays, 30),
        LONG_VIEW(d, NormDays5, 38), LONG_VIEW(d, NormHours5, 42), LONG_VIEW(d, NormDays6, 46),
        LONG_VIEW(d, NormHours, 50), LONG_VIEW(d, NormDays, 54), LONG_VIEW(d, NormHours6, 58),
        LONG_VIEW(d, NormCalendarDays, 62),
    };
    for (LONG i = 0; i < 19; ++i)
        f.push_back({"Sum", 6 + 4 * static_cast<std::size_t>(i), 4,
                     [i](IOrvMTrace* t, IOrvDepPeriod*, LONG v) { return t->put_Sum(i, Kop(v)); },
                     [i](IOrvMTrace* t, IOrvDepPeriod*) { return static_cast<LONG>(SumOf(t, i) / 100); }});
    for (LONG k = 0; k < 9; ++k)
        f.push_back({"trLong", 38 + 4 * static_cast<std::size_t>(k), 4,
                     [k](IOrvMTrace* t, IOrvDepPeriod*, LONG v) { return t->put_trLong(k, v); },
                     [k](IOrvMTrace* t, IOrvDepPeriod*) {
                         LONG v = 0;
                         EXPECT_EQ(t->get_trLong(k, &v), S_OK);
                         return v;
                     }});
    return f;
}

TEST(MonthTrace, EveryViewWritesItsOwnBytesOnly) {
    for (const TraceField& field : TraceFields()) {
        SCOPED_TRACE(std::string(field.name) + " at " + std::to_string(field.offset));
        auto t = NewTrace();
        auto d = As<IOrvDepPeriod>(t.Get());
        const TraceBytes before = PatternBytes<84>(static_cast<unsigned>(field.offset));
        ASSERT_EQ(t->put_MTraceRecord(RecordBstr(before)), S_OK);
        // A value whose every byte differs from the pattern's.
        const LONG value = field.width == 2 ? -1234 : -987654321;
        ASSERT_EQ(field.put(t.Get(), d.Get(), value), S_OK);
        Bstr rec;
        ASSERT_EQ(t->get_MTraceRecord(rec.ReleaseAndGetAddressOf()), S_OK);
        const TraceBytes after = BytesOf<84>(rec);
        for (std::size_t i = 0; i < 84; ++i) {
            if (i >= field.offset && i < field.offset + field.width) {
                const auto expected = static_cast<unsigned char>((static_cast<std::uint32_t>(value) >> (8 * (i - field.offset))) & 0xFF);
                EXPECT_EQ(after[i], expected) << "byte " << i;
            } else {
                EXPECT_EQ(after[i], before[i]) << "byte " << i;
            }
        }
        EXPECT_EQ(field.get(t.Get(), d.Get()), value);
    }
}

TEST(MonthTrace, NewTraceIsZeroAndRecordTravelsWhole) {
    auto t = NewTrace();
    Bstr rec;
    ASSERT_EQ(t->get_MTraceRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(BytesOf<84>(rec), TraceBytes{});
    ULONG dbk = 7;
    LONG condition = 7;
    EXPECT_EQ(t->get_dbk(&dbk), S_OK);
    EXPECT_EQ(t->get_RecordCondition(&condition), S_OK);
    EXPECT_EQ(dbk, 0u);
    EXPECT_EQ(condition, 0);
    ComPtr<IUnknown> partner;
    EXPECT_EQ(t->get_HiWordsTrace(partner.GetAddressOf()), S_OK);
    EXPECT_FALSE(partner);

    const TraceBytes bytes = PatternBytes<84>(3);
    ASSERT_EQ(t->put_MTraceRecord(RecordBstr(bytes)), S_OK);
    ASSERT_EQ(t->get_MTraceRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(BytesOf<84>(rec), bytes);
}

TEST(MonthTrace, ShortRecordIsRefusedAndLongerGivesItsFirstBytes) {
    auto t = NewTrace();
    const TraceBytes bytes = PatternBytes<84>(9);
    ASSERT_EQ(t->put_MTraceRecord(RecordBstr(bytes)), S_OK);
    Bstr shorter = Bstr::Attach(SysAllocStringByteLen("\x01\x02\x03", 3));
    EXPECT_EQ(t->put_MTraceRecord(shorter), E_INVALIDARG);
    EXPECT_EQ(t->put_MTraceRecord(nullptr), E_INVALIDARG);
    Bstr rec;
    ASSERT_EQ(t->get_MTraceRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(BytesOf<84>(rec), bytes);

    std::array<unsigned char, 90> longer{};
    for (std::size_t i = 0; i < longer.size(); ++i) longer[i] = static_cast<unsigned char>(200 - i);
    ASSERT_EQ(t->put_MTraceRecord(RecordBstr(longer)), S_OK);
    ASSERT_EQ(t->get_MTraceRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    const TraceBytes got = BytesOf<84>(rec);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), longer.begin()));
}

TEST(MonthTrace, DescribedExamples) {
    auto t = NewTrace(1000);
    auto d = As<IOrvDepPeriod>(t.Get());
    // 1234.56 into slot 0: 123456 in bytes 6 to 9, read through three views.
    ASSERT_EQ(t->put_Sum(0, Cy(12345600)), S_OK);
    Bstr rec;
    t->get_MTraceRecord(rec.ReleaseAndGetAddressOf());
    const TraceBytes bytes = BytesOf<84>(rec);
    EXPECT_EQ(bytes[6], 0x40);
    EXPECT_EQ(bytes[7], 0xE2);
    EXPECT_EQ(bytes[8], 0x01);
    EXPECT_EQ(bytes[9], 0x00);
    CY sum1{};
    LONG days5 = 0;
    EXPECT_EQ(t->get_trSum1(&sum1), S_OK);
    EXPECT_EQ(d->get_Days5(&days5), S_OK);
    EXPECT_EQ(sum1.int64, 12345600);
    EXPECT_EQ(days5, 123456);

    // trLong: 9 is out of range; 0 is NormDays5.
    LONG v = 0;
    EXPECT_EQ(t->get_trLong(9, &v), E_INVALIDARG);
    EXPECT_EQ(t->put_trLong(9, 1), E_INVALIDARG);
    EXPECT_EQ(t->get_trLong(-1, &v), E_INVALIDARG);
    ASSERT_EQ(d->put_NormDays5(21), S_OK);
    EXPECT_EQ(t->get_trLong(0, &v), S_OK);
    EXPECT_EQ(v, 21);

    // RecordCondition: 1 then 2 leaves 1; then 3 is stored.
    ASSERT_EQ(t->put_RecordCondition(1), S_OK);
    ASSERT_EQ(t->put_RecordCondition(2), S_OK);
    EXPECT_EQ(ConditionOf(t.Get()), 1);
    ASSERT_EQ(t->put_RecordCondition(3), S_OK);
    EXPECT_EQ(ConditionOf(t.Get()), 3);
    ASSERT_EQ(t->put_RecordCondition(2), S_OK);
    EXPECT_EQ(ConditionOf(t.Get()), 2);
}

TEST(MonthTrace, ConversionsAndRefusals) {
    auto t = NewTrace();
    auto d = As<IOrvDepPeriod>(t.Get());
    CY v{};
    ASSERT_EQ(t->put_trSum2Reset(Cy(12345650)), S_OK);  // 1234.565: halves away from zero
    EXPECT_EQ(t->get_trSum2Reset(&v), S_OK);
    EXPECT_EQ(v.int64, 12345700);
    LONG n = 0;
    ASSERT_EQ(t->put_T0(0x1A345), S_OK);  // low 16 bits, read sign-extended
    EXPECT_EQ(t->get_T0(&n), S_OK);
    EXPECT_EQ(n, -0x5CBB);
    DATE date = 0;
    ASSERT_EQ(d->put_dtDk(45000.75), S_OK);  // the time of day is dropped
    EXPECT_EQ(d->get_dtDk(&date), S_OK);
    EXPECT_EQ(date, 45000.0);
    EXPECT_EQ(t->get_Sum(0, nullptr), E_POINTER);
    EXPECT_EQ(t->get_Sum(19, &v), E_INVALIDARG);
    EXPECT_EQ(t->get_Sum(-1, &v), E_INVALIDARG);
    EXPECT_EQ(t->put_Sum(19, v), E_INVALIDARG);
    EXPECT_EQ(t->get_MTraceRecord(nullptr), E_POINTER);
    EXPECT_EQ(d->get_NormCalendarDays(nullptr), E_POINTER);
}

// ------------------------------------------------------------- 64-bit sums

struct Boundary {
    const char* what;
    LONGLONG raw;
    bool split;  // kept as raw currency across the pair
};

TEST(MonthTraceHighWords, SumsAroundTheBoundariesReadBackExactly) {
    const LONGLONG two31 = LONGLONG{1} << 31, two32 = LONGLONG{1} << 32;
    const Boundary cases[] = {
        {"2^31 - 1 hundredths", (two31 - 1) * 100, false},
        {"2^31 hundredths", two31 * 100, true},
        {"2^31 hundredths and a bit", two31 * 100 + 1, true},
        {"2^32 - 1 hundredths", (two32 - 1) * 100, true},
        {"2^32 hundredths", two32 * 100, true},
        {"2^32 + 1 hundredths", (two32 + 1) * 100, true},
        {"30 000 000.00", 300000000000LL, true},
        {"largest currency", INT64_MAX, true},
        {"-2^31 hundredths", -two31 * 100, false},
    };
    for (const Boundary& c : cases) {
        SCOPED_TRACE(c.what);
        auto t = NewTrace(1005);
        ASSERT_EQ(t->put_Id(77), S_OK);
        ASSERT_EQ(t->put_Sum(4, Cy(c.raw)), S_OK);
        ComPtr<IUnknown> partnerUnknown;
        ASSERT_EQ(t->get_HiWordsTrace(partnerUnknown.GetAddressOf()), S_OK);
        EXPECT_EQ(static_cast<bool>(partnerUnknown), c.split);
        EXPECT_EQ(SumOf(t.Get(), 4), c.split ? c.raw : c.raw / 100 * 100);
        if (!c.split) continue;
        auto partner = As<IOrvMTrace>(partnerUnknown.Get());
        EXPECT_EQ(T0Of(partner.Get()), -1005);
        LONG id = 0;
        partner->get_Id(&id);
        EXPECT_EQ(id, 77);
        EXPECT_EQ(ConditionOf(partner.Get()), 1);
        // The two words: the low word here, the high word in hundredths there.
        LONG low = 0;
        auto d = As<IOrvDepPeriod>(t.Get());
        d->get_Days(&low);  // slot 4
        EXPECT_EQ(static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(c.raw));
        EXPECT_EQ(SumOf(partner.Get(), 4), (c.raw >> 32) * 100);
    }
}

TEST(MonthTraceHighWords, SmallAmountAfterLargeClearsThePartnerSlot) {
    auto t = NewTrace(1000);
    ASSERT_EQ(t->put_Sum(2, Cy(300000000000LL)), S_OK);
    ASSERT_EQ(t->put_Sum(3, Cy(500000000000LL)), S_OK);
    ComPtr<IUnknown> unknown;
    t->get_HiWordsTrace(unknown.GetAddressOf());
    auto partner = As<IOrvMTrace>(unknown.Get());
    ASSERT_EQ(t->put_Sum(2, Cy(1250000)), S_OK);  // 125.00
    EXPECT_EQ(SumOf(t.Get(), 2), 1250000);
    EXPECT_EQ(SumOf(partner.Get(), 2), 0);
    EXPECT_EQ(SumOf(t.Get(), 3), 500000000000LL);  // the other slot keeps its pair
    // Partner marked changed stays new until stored.
    EXPECT_EQ(ConditionOf(partner.Get()), 1);
    ASSERT_EQ(partner->put_RecordCondition(0), S_OK);
    ASSERT_EQ(t->put_Sum(2, Cy(100)), S_OK);
    EXPECT_EQ(ConditionOf(partner.Get()), 2);
}

TEST(MonthTraceHighWords, AttachedPartnerGivesTheHighWord) {
    auto t = NewTrace(1001);
    auto partner = NewTrace(-1001);
    auto d = As<IOrvDepPeriod>(t.Get());
    ASSERT_EQ(d->put_Hours6(static_cast<LONG>(0x89ABCDEF)), S_OK);  // slot 3, low word
    ASSERT_EQ(partner->put_Sum(3, Kop(5)), S_OK);                       // high word 5
    // Alone, the slot is hundredths (negative as a 32-bit value).
    EXPECT_EQ(SumOf(t.Get(), 3), LONGLONG{static_cast<std::int32_t>(0x89ABCDEF)} * 100);
    ASSERT_EQ(t->put_HiWordsTrace(partner.Get()), S_OK);
    EXPECT_EQ(SumOf(t.Get(), 3), (LONGLONG{5} << 32) | 0x89ABCDEF);
    ComPtr<IUnknown> got;
    ASSERT_EQ(t->get_HiWordsTrace(got.GetAddressOf()), S_OK);
    ComPtr<IUnknown> identity = As<IUnknown>(partner.Get());
    EXPECT_EQ(got.Get(), identity.Get());
    // A zero high word leaves the slot in hundredths.
    EXPECT_EQ(SumOf(t.Get(), 4), 0);
    // An object that is not a trace detaches.
    auto month = NewMonth();
    ASSERT_EQ(t->put_HiWordsTrace(month.Get()), S_OK);
    ASSERT_EQ(t->get_HiWordsTrace(got.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_FALSE(got);
    ASSERT_EQ(t->put_HiWordsTrace(nullptr), S_OK);
}

TEST(MonthTraceHighWords, RecordConditionReachesThePartner) {
    auto t = NewTrace(1000);
    auto partner = NewTrace(-1000);
    ASSERT_EQ(t->put_HiWordsTrace(partner.Get()), S_OK);
    ASSERT_EQ(t->put_RecordCondition(3), S_OK);
    EXPECT_EQ(ConditionOf(partner.Get()), 3);
    ASSERT_EQ(t->put_RecordCondition(1), S_OK);
    ASSERT_EQ(t->put_RecordCondition(2), S_OK);  // ignored, also for the partner
    EXPECT_EQ(ConditionOf(partner.Get()), 1);
}

TEST(MonthTraceHighWords, PairingLoopsAreRefusedNotRecursed) {
    auto a = NewTrace(1000);
    ASSERT_EQ(a->put_HiWordsTrace(a.Get()), S_OK);
    CY v{};
    EXPECT_EQ(a->get_Sum(0, &v), E_UNEXPECTED);
    EXPECT_EQ(a->put_Sum(0, Kop(1)), E_UNEXPECTED);
    EXPECT_EQ(a->put_RecordCondition(3), E_UNEXPECTED);

    auto b = NewTrace(-1000);
    ASSERT_EQ(a->put_HiWordsTrace(b.Get()), S_OK);
    ASSERT_EQ(b->put_HiWordsTrace(a.Get()), S_OK);
    EXPECT_EQ(a->get_Sum(0, &v), E_UNEXPECTED);
    // Break the loop so that both can go.
    ASSERT_EQ(b->put_HiWordsTrace(nullptr), S_OK);
    EXPECT_EQ(a->get_Sum(0, &v), S_OK);
    ASSERT_EQ(a->put_HiWordsTrace(nullptr), S_OK);
}

TEST(MonthTraceHighWords, FailingPartnerLeavesTheSlotAsItWas) {
    // A partner that refuses its sum: this trace keeps its old slot.
    auto t = NewTrace(1000);
    auto partner = NewTrace(-1000);
    ASSERT_EQ(t->put_Sum(1, Kop(42)), S_OK);
    ASSERT_EQ(t->put_HiWordsTrace(partner.Get()), S_OK);
    ASSERT_EQ(partner->put_HiWordsTrace(t.Get()), S_OK);  // makes the partner's own calls fail
    EXPECT_EQ(t->put_Sum(1, Cy(300000000000LL)), E_UNEXPECTED);
    ASSERT_EQ(partner->put_HiWordsTrace(nullptr), S_OK);
    EXPECT_EQ(SumOf(t.Get(), 1), Kop(42).int64);
    ASSERT_EQ(t->put_HiWordsTrace(nullptr), S_OK);
}

// ------------------------------------------------------- department period

TEST(MonthTraceDepPeriod, AsksTheEmployeeOnTheEndDate) {
    auto t = NewTrace();
    auto d = As<IOrvDepPeriod>(t.Get());
    ASSERT_EQ(d->put_dtDk(Day(2026, 3, 31)), S_OK);
    Fake<FakeEmployee> employee;
    employee->dep = 12, employee->position = 34, employee->grade = 5;
    LONG dep = -1, position = -1, grade = -1;
    BSTR name = reinterpret_cast<BSTR>(0x1);
    DATE on = -1;
    ASSERT_EQ(d->GetDepAndPosition(7, employee.unknown.Get(), &dep, &position, &grade, &name, &on), S_OK);
    EXPECT_EQ(dep, 12);
    EXPECT_EQ(position, 34);
    EXPECT_EQ(grade, 5);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(on, Day(2026, 3, 31));
    ASSERT_EQ(employee->asked.size(), 1u);
    EXPECT_EQ(employee->asked[0].first, 7);
    EXPECT_EQ(employee->asked[0].second, Day(2026, 3, 31));

    // No end date: the date 0.0 is asked and handed out.
    ASSERT_EQ(d->put_dtDk(0.0), S_OK);
    ASSERT_EQ(d->GetDepAndPosition(7, employee.unknown.Get(), &dep, &position, &grade, &name, &on), S_OK);
    EXPECT_EQ(employee->asked.back().second, 0.0);
    EXPECT_EQ(on, 0.0);
}

TEST(MonthTraceDepPeriod, RefusalsLeaveResultsEmpty) {
    auto t = NewTrace();
    auto d = As<IOrvDepPeriod>(t.Get());
    LONG dep = -1, position = -1, grade = -1;
    BSTR name = nullptr;
    DATE on = -1;
    Fake<FakeEmployee> employee;
    EXPECT_EQ(d->GetDepAndPosition(0, employee.unknown.Get(), nullptr, &position, &grade, &name, &on), E_POINTER);
    EXPECT_EQ(d->GetDepAndPosition(0, employee.unknown.Get(), &dep, &position, &grade, &name, nullptr), E_POINTER);
    // Without an employee, or one without its place of work.
    EXPECT_EQ(d->GetDepAndPosition(0, nullptr, &dep, &position, &grade, &name, &on), E_POINTER);
    EXPECT_EQ(dep, 0);
    EXPECT_EQ(on, 0.0);
    auto notEmployee = NewMonth();
    EXPECT_EQ(d->GetDepAndPosition(0, notEmployee.Get(), &dep, &position, &grade, &name, &on), E_POINTER);
    // A failing employee: its status, nothing it left behind.
    employee->failWith = E_ACCESSDENIED;
    EXPECT_EQ(d->GetDepAndPosition(0, employee.unknown.Get(), &dep, &position, &grade, &name, &on), E_ACCESSDENIED);
    EXPECT_EQ(dep, 0);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(grade, 0);
}

}  // namespace
}  // namespace monthtest
