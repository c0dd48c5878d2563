// Legacy protocol records in a sick-leave document's body, built here byte
// by byte and read field by field: both layouts, signed and unsigned
// fields, the float and hundredths money forms, the end of the pay months,
// the history walk held to the record, and records too short to read.
#include "sickleave_test_util.h"

#include <bit>
#include <cstdint>

namespace {

using namespace bltest;

// A record under construction: little-endian values at byte offsets.
struct Record {
    std::vector<unsigned char> bytes;
    explicit Record(std::size_t size) : bytes(size, 0) {}
    template <class T>
    void Put(std::size_t offset, T value) {
        using U = std::make_unsigned_t<T>;
        const U raw = static_cast<U>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) bytes.at(offset + i) = static_cast<unsigned char>(raw >> (8 * i));
    }
    void PutFloat(std::size_t offset, float value) { Put(offset, std::bit_cast<std::uint32_t>(value)); }
};

ComPtr<IOrvBLDocProtocol> ProtocolOf(IOrvBLDoc* bl, HRESULT expected = S_OK) {
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(bl->get_BlProtocol(unknown.GetAddressOf()), expected);
    ComPtr<IOrvBLDocProtocol> protocol;
    if (unknown) {
        EXPECT_EQ(unknown.As(&protocol), S_OK);
    }
    return protocol;
}

LONGLONG Raw(HRESULT (IOrvBLDocProtocol::*get)(CY*), IOrvBLDocProtocol* p) {
    CY v{};
    EXPECT_EQ((p->*get)(&v), S_OK);
    return v.int64;
}
LONG Long(HRESULT (IOrvBLDocProtocol::*get)(LONG*), IOrvBLDocProtocol* p) {
    LONG v = -12345;
    EXPECT_EQ((p->*get)(&v), S_OK);
    return v;
}
VARIANT_BOOL Bool(HRESULT (IOrvBLDocProtocol::*get)(VARIANT_BOOL*), IOrvBLDocProtocol* p) {
    VARIANT_BOOL v = 7;
    EXPECT_EQ((p->*get)(&v), S_OK);
    return v;
}

// The header fields (offsets 0 to 43) every layout shares.
void PutHeader(Record& r, std::uint8_t flags, std::int16_t historyCount) {
    r.Put<std::uint8_t>(0, flags);
    r.Put<std::uint8_t>(1, 0xEE);  // not read
    r.PutFloat(2, 12345.0f);        // 123.45
    r.PutFloat(6, -250.0f);         // -2.5: x 100 + 0.5 cut towards zero
    r.Put<std::int32_t>(10, -150);
    r.Put<std::int32_t>(14, 0x7FFFFFFF);
    r.Put<std::int32_t>(18, 1000000);
    r.Put<std::int32_t>(22, 4500);
    r.Put<std::int32_t>(26, -7);
    r.Put<std::uint16_t>(30, 0xFFFF);
    r.Put<std::uint16_t>(32, 5);
    r.Put<std::uint16_t>(34, 60);
    r.Put<std::uint16_t>(36, 0x8001);
    r.Put<std::uint16_t>(38, 14);
    r.Put<std::uint16_t>(40, 112);
    r.Put<std::int16_t>(42, historyCount);
}

void ExpectHeader(IOrvBLDocProtocol* p) {
    using P = IOrvBLDocProtocol;
    EXPECT_EQ(Raw(&P::get_FirstFactSredn, p), 1234500);
    EXPECT_EQ(Raw(&P::get_SecondSredn, p), -24999);
    EXPECT_EQ(Raw(&P::get_SumFromHighProc, p), -15000);
    EXPECT_EQ(Raw(&P::get_SumFromLowProc, p), 214748364700);
    EXPECT_EQ(Raw(&P::get_TotSumForSredn, p), 100000000);
    EXPECT_EQ(Raw(&P::get_TotBlSum, p), 450000);
    EXPECT_EQ(Raw(&P::get_LimitSum, p), -699);
    EXPECT_EQ(Long(&P::get_LengthBeforeLoweringProc, p), 65535);
    EXPECT_EQ(Long(&P::get_LengthAfterLoweringProc, p), 5);
    EXPECT_EQ(Long(&P::get_BlUsedProcent, p), 60);
    EXPECT_EQ(Long(&P::get_StagYears, p), 0x8001);
    EXPECT_EQ(Long(&P::get_BlUsedDays, p), 14);
    EXPECT_EQ(Long(&P::get_BlUsedHours, p), 112);
}

// Pay-month entry i of a layout whose area starts at start.
void PutPayMonth(Record& r, std::size_t start, std::size_t i, std::uint16_t days, std::uint16_t hours,
                 std::int16_t dayNumber) {
    const std::size_t at = start + 52 * i;
    r.Put<std::uint16_t>(at, days);
    r.Put<std::uint16_t>(at + 2, hours);
    r.Put<std::uint16_t>(at + 4, 65534);
    r.Put<std::int16_t>(at + 6, dayNumber);
    r.Put<std::int32_t>(at + 8, 450000 + static_cast<std::int32_t>(i));
    r.Put<std::int32_t>(at + 12, -3000000);
    r.Put<std::int32_t>(at + 16, 3500000);
    r.PutFloat(at + 20, 1234.0f);
    r.PutFloat(at + 24, 0.5f);
    r.PutFloat(at + 28, -1.0f);
    r.PutFloat(at + 32, 99999.0f);
    r.Put<std::int16_t>(at + 36, -3);
    for (std::size_t b = 38; b < 52; ++b) r.bytes[at + b] = 0xAB;  // not read
}

void ExpectPayMonth(IOrvBlProtPayMonthItem* m, LONG days, LONG hours, DATE month, LONGLONG sumRaw) {
    LONG l = 0;
    CY c{};
    DATE d = 0;
    m->get_Days(&l);
    EXPECT_EQ(l, days);
    m->get_Hours(&l);
    EXPECT_EQ(l, hours);
    m->get_NormHours(&l);
    EXPECT_EQ(l, 65534);
    m->get_Month(&d);
    EXPECT_EQ(d, month);
    m->get_Sum(&c);
    EXPECT_EQ(c.int64, sumRaw);
    m->get_Oklad(&c);
    EXPECT_EQ(c.int64, -300000000);
    m->get_OkladWithNadb(&c);
    EXPECT_EQ(c.int64, 350000000);
    m->get_FirstSredn(&c);
    EXPECT_EQ(c.int64, 123400);
    m->get_SecondSredn(&c);
    EXPECT_EQ(c.int64, 50);
    m->get_ProcSredn(&c);
    EXPECT_EQ(c.int64, -99);
    m->get_MonthLimit(&c);
    EXPECT_EQ(c.int64, 9999900);
    m->get_NormDays(&l);
    EXPECT_EQ(l, -3);
    // Fields the record does not have stay 0.
    m->get_Sum2(&c);
    EXPECT_EQ(c.int64, 0);
    m->get_WorkedHours(&l);
    EXPECT_EQ(l, 0);
}

TEST(LegacyRecord, LongLayoutFieldByField) {
    HostEnvironment host;
    auto s = NewSickLeave();
    Record r(686);
    PutHeader(r, 0x02 | 0x04 | 0x20, 3);
    // History entries at 44, ten bytes each.
    const std::int16_t days[] = {20, 0, 23};
    const std::int16_t dayNumbers[] = {23742, -5, 1};
    const std::int32_t sums[] = {5000050, -1, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        r.Put<std::uint16_t>(44 + 10 * i, static_cast<std::uint16_t>(days[i]));
        r.Put<std::uint16_t>(46 + 10 * i, static_cast<std::uint16_t>(40000 + i));
        r.Put<std::int16_t>(48 + 10 * i, dayNumbers[i]);
        r.Put<std::int32_t>(50 + 10 * i, sums[i]);
    }
    // Pay months at 166: two, a third with only hours, an empty one that
    // ends the list, and one after it that is not read.
    PutPayMonth(r, 166, 0, 10, 80, 23742);
    PutPayMonth(r, 166, 1, 40000, 0, 23773);
    PutPayMonth(r, 166, 2, 0, 7, 0);
    PutPayMonth(r, 166, 4, 9, 9, 9);
    SetBodyBytes(s.doc.Get(), r.bytes);

    auto p = ProtocolOf(s.bl.Get());
    ASSERT_TRUE(p);
    using P = IOrvBLDocProtocol;
    ExpectHeader(p.Get());
    EXPECT_EQ(Bool(&P::get_CalcFromOkladOrTarif, p.Get()), 0);
    EXPECT_EQ(Bool(&P::get_CalcInDays, p.Get()), 0);
    EXPECT_EQ(Bool(&P::get_If32TypeAndProcHBChanged, p.Get()), VARIANT_TRUE);
    EXPECT_EQ(Bool(&P::get_IfSrednHBEntered, p.Get()), 0);
    EXPECT_EQ(Bool(&P::get_If1p12PremHBEntered, p.Get()), 0);
    EXPECT_EQ(Bool(&P::get_IfProcentHBEntered, p.Get()), VARIANT_TRUE);
    EXPECT_EQ(Long(&P::get_HistoryCount, p.Get()), 3);

    auto history = HistoryOf(p.Get());
    ASSERT_EQ(history.size(), 3u);
    const DATE months[] = {23742 + 22281.0, -5 + 22281.0, 1 + 22281.0};
    for (std::size_t i = 0; i < 3; ++i) {
        LONG l = 0;
        DATE d = 0;
        CY c{};
        history[i]->get_Days(&l);
        EXPECT_EQ(l, days[i]);
        history[i]->get_Hours(&l);
        EXPECT_EQ(l, LONG(40000 + i));
        history[i]->get_Month(&d);
        EXPECT_EQ(d, months[i]);
        history[i]->get_SumForSredn(&c);
        EXPECT_EQ(c.int64, LONGLONG(sums[i]) * 100);
    }

    auto pay = PayMonthsOf(p.Get());
    ASSERT_EQ(pay.size(), 3u);
    ExpectPayMonth(pay[0].Get(), 10, 80, 23742 + 22281.0, 45000000);
    ExpectPayMonth(pay[1].Get(), 40000, 0, 23773 + 22281.0, 45000100);
    ExpectPayMonth(pay[2].Get(), 0, 7, 0.0, 45000200);
    // The body is left as it was.
    Bstr body;
    ExtensionOf(s.doc.Get())->get_Body(body.ReleaseAndGetAddressOf());
    EXPECT_EQ(body.ByteLength(), 686u);
}

TEST(LegacyRecord, ShortLayoutAndTheHistoryRule) {
    HostEnvironment host;
    auto s = NewSickLeave();
    // Below 686 bytes the pay months start at 66; history entries are read
    // only when bit 0x01 is clear.
    for (std::size_t size : {std::size_t(586), std::size_t(685)}) {
        Record r(size);
        PutHeader(r, 0x01 | 0x08 | 0x10, 2);
        r.Put<std::uint16_t>(44, 31);
        r.Put<std::uint16_t>(54, 28);
        PutPayMonth(r, 66, 0, 3, 24, 100);
        PutPayMonth(r, 66, 9, 4, 32, 200);  // the tenth: read when the others are not empty
        SetBodyBytes(s.doc.Get(), r.bytes);
        auto p = ProtocolOf(s.bl.Get());
        ASSERT_TRUE(p);
        using P = IOrvBLDocProtocol;
        ExpectHeader(p.Get());
        EXPECT_EQ(Bool(&P::get_CalcFromOkladOrTarif, p.Get()), VARIANT_TRUE);
        EXPECT_EQ(Bool(&P::get_CalcInDays, p.Get()), VARIANT_TRUE);
        EXPECT_EQ(Bool(&P::get_IfSrednHBEntered, p.Get()), VARIANT_TRUE);
        EXPECT_EQ(Bool(&P::get_If1p12PremHBEntered, p.Get()), VARIANT_TRUE);
        EXPECT_EQ(Bool(&P::get_If32TypeAndProcHBChanged, p.Get()), 0);
        EXPECT_EQ(Long(&P::get_HistoryCount, p.Get()), 2);
        EXPECT_TRUE(HistoryOf(p.Get()).empty());
        auto pay = PayMonthsOf(p.Get());
        ASSERT_EQ(pay.size(), 1u);  // the second entry is empty
        ExpectPayMonth(pay[0].Get(), 3, 24, 100 + 22281.0, 45000000);

        // Bit 0x01 clear: the two history entries.
        r.Put<std::uint8_t>(0, 0);
        for (std::size_t i = 1; i < 9; ++i) PutPayMonth(r, 66, i, 1, 1, 1);
        SetBodyBytes(s.doc.Get(), r.bytes);
        p = ProtocolOf(s.bl.Get());
        ASSERT_TRUE(p);
        auto history = HistoryOf(p.Get());
        ASSERT_EQ(history.size(), 2u);
        LONG d = 0;
        history[1]->get_Days(&d);
        EXPECT_EQ(d, 28);
        EXPECT_EQ(PayMonthsOf(p.Get()).size(), 10u);
    }
}

// A count that runs past the record reads the entries the record holds and
// nothing beyond it; a negative count reads none.
TEST(LegacyRecord, HistoryCountHeldToTheRecord) {
    HostEnvironment host;
    auto s = NewSickLeave();
    Record r(586);
    PutHeader(r, 0, 32767);
    SetBodyBytes(s.doc.Get(), r.bytes);
    auto p = ProtocolOf(s.bl.Get());
    ASSERT_TRUE(p);
    EXPECT_EQ(Long(&IOrvBLDocProtocol::get_HistoryCount, p.Get()), 32767);
    EXPECT_EQ(HistoryOf(p.Get()).size(), (586u - 44u) / 10u);

    r.Put<std::int16_t>(42, -2);
    SetBodyBytes(s.doc.Get(), r.bytes);
    p = ProtocolOf(s.bl.Get());
    ASSERT_TRUE(p);
    EXPECT_EQ(Long(&IOrvBLDocProtocol::get_HistoryCount, p.Get()), -2);
    EXPECT_TRUE(HistoryOf(p.Get()).empty());
}

// A body shorter than the short layout is refused: no protocol, the body
// and the document unchanged.
TEST(LegacyRecord, TruncatedRecordsAreRefused) {
    HostEnvironment host;
    auto s = NewSickLeave();
    for (std::size_t size : {std::size_t(1), std::size_t(44), std::size_t(585)}) {
        Record r(size);
        for (auto& b : r.bytes) b = 0x11;
        SetBodyBytes(s.doc.Get(), r.bytes);
        SetErrorInfo(0, nullptr);
        auto p = ProtocolOf(s.bl.Get(), E_INVALIDARG);
        EXPECT_FALSE(p);
        EXPECT_TRUE(IsEqualGUID(TakeErrorInfo().guid, IID_IOrvBLDoc));
        Bstr body;
        ExtensionOf(s.doc.Get())->get_Body(body.ReleaseAndGetAddressOf());
        EXPECT_EQ(body.ByteLength(), size);
    }
    // An empty body holds no protocol.
    ASSERT_EQ(ExtensionOf(s.doc.Get())->Clear(), S_OK);
    IUnknown* none = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(s.bl->get_BlProtocol(&none), S_OK);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(s.bl->get_BlProtocol(nullptr), E_POINTER);
}

}  // namespace
