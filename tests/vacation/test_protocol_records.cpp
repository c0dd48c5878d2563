// The protocol record's fields through IOrvOTProtocol, and the older binary
// bodies of a vacation document, built here byte by byte.
#include "vacation_test_util.h"

#include <bit>
#include <cstdint>

namespace {

using vactest::ComPtr;
using vactest::Cy;

// A little-endian byte image under construction.
struct Bytes {
    std::string b;
    explicit Bytes(std::size_t n) : b(n, '\0') {}
    void U16(std::size_t at, uint16_t v) {
        b[at] = static_cast<char>(v & 0xFF);
        b[at + 1] = static_cast<char>(v >> 8);
    }
    void U32(std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    void F32(std::size_t at, float v) { U32(at, std::bit_cast<uint32_t>(v)); }
};

constexpr uint16_t kJan15Day = 46037 - 22281;
constexpr uint16_t kDec1Day = 45992 - 22281;

// The head every older form shares: flag, counts, dates, averages, sums.
void FillHead(Bytes& r, std::size_t base, uint16_t k) {
    r.U16(base + 0, 0xFFFE);
    r.U16(base + 2, k);
    r.U16(base + 4, 2);
    r.U16(base + 6, kJan15Day);
    r.F32(base + 10, 12.5f);
    r.U32(base + 18, 12345);
    r.U32(base + 34, static_cast<uint32_t>(-500));
}

void ExpectHead(IOrvOTProtocol* p, SHORT k) {
    ULONG flag = 0;
    ASSERT_EQ(p->get_Flag(&flag), S_OK);
    EXPECT_EQ(flag, 0xFFFFFFFEu);
    SHORT s = 0;
    ASSERT_EQ(p->get_MesCount(&s), S_OK);
    EXPECT_EQ(s, k);
    ASSERT_EQ(p->get_MesCount0(&s), S_OK);
    EXPECT_EQ(s, 2);
    DATE d = 0;
    ASSERT_EQ(p->get_NewEnd(&d), S_OK);
    EXPECT_EQ(d, vactest::kJan15);
    ASSERT_EQ(p->get_StartFMP(&d), S_OK);
    EXPECT_EQ(d, 0.0);
    double avg = 0;
    ASSERT_EQ(p->get_fSredn1(&avg), S_OK);
    EXPECT_EQ(avg, 1250.0);
    CY c{};
    ASSERT_EQ(p->get_TotSum1(&c), S_OK);
    EXPECT_EQ(c.int64, 1234500);  // 123.45
    ASSERT_EQ(p->get_SumOt(&c), S_OK);
    EXPECT_EQ(c.int64, -50000);  // -5.00
}

ComPtr<IOrvOTProtocol> LoadBody(const std::string& bytes, SHORT type = 22, bool xmlFlag = false,
                                ComPtr<IOrvDocument>* keep = nullptr) {
    auto doc = vactest::NewDocument(type, xmlFlag);
    vactest::SetBodyBytes(doc.Get(), bytes);
    auto p = vactest::Vacation(doc.Get());
    EXPECT_EQ(p->put_MesCount(99), S_OK);  // Load starts from empty records
    EXPECT_EQ(p->Load(), S_OK);
    if (keep) *keep = doc;
    return p;
}

TEST(OlderBodies, TheOldestRecordOf184Bytes) {
    Bytes r(184);
    FillHead(r, 0, 3);
    r.U16(38, 2);  // history count
    // month 0 at 40, month 1 at 52: flag, date, sum 1, sum 2
    r.U16(40, 1);
    r.U16(42, kDec1Day);
    r.U32(44, 100000);
    r.U32(48, 5);
    r.U16(52, 7);
    r.U32(60, 42);
    auto p = LoadBody(r.b);
    ExpectHead(p.Get(), 3);
    SHORT s = 0;
    ASSERT_EQ(p->get_HistoryCount(&s), S_OK);
    EXPECT_EQ(s, 2);
    DATE d = 0;
    ASSERT_EQ(p->get_MonDate(0, &d), S_OK);
    EXPECT_EQ(d, vactest::kDec1);
    CY c{};
    ASSERT_EQ(p->get_MonSum1(0, &c), S_OK);
    EXPECT_EQ(c.int64, 10000000);  // 1000.00
    ASSERT_EQ(p->get_MonSum2(0, &c), S_OK);
    EXPECT_EQ(c.int64, 500);  // 0.05
    ASSERT_EQ(p->get_MonFlag(1, &s), S_OK);
    EXPECT_EQ(s, 7);
    ASSERT_EQ(p->get_MonSum2(1, &c), S_OK);
    EXPECT_EQ(c.int64, 4200);
    ASSERT_EQ(p->get_MonPropPrem(0, &c), S_OK);  // not in this form
    EXPECT_EQ(c.int64, 0);
    ASSERT_EQ(p->get_NormDaysCommon(0, &s), S_OK);
    EXPECT_EQ(s, 0);
}

TEST(OlderBodies, TheOlderRecordOf344Bytes) {
    Bytes r(344);
    FillHead(r, 0, 4);
    r.U32(38, 0xDEADBEEF);  // the spare bytes of the head are carried
    r.U16(54, 12);
    // month 11 at 56 + 11 x 24 = 320
    r.U16(320, 3);
    r.U16(322, kDec1Day);
    r.U32(324, 1);
    r.U32(328, 2);
    r.U32(332, 300);
    r.U16(336, 21);
    r.U16(338, 20);
    r.U16(340, 22);
    r.U16(342, 19);
    auto p = LoadBody(r.b);
    ExpectHead(p.Get(), 4);
    SHORT s = 0;
    ASSERT_EQ(p->get_HistoryCount(&s), S_OK);
    EXPECT_EQ(s, 12);
    CY c{};
    ASSERT_EQ(p->get_MonPropPrem(11, &c), S_OK);
    EXPECT_EQ(c.int64, 30000);
    ASSERT_EQ(p->get_MonDirectPrem(11, &c), S_OK);
    EXPECT_EQ(c.int64, 0);
    const std::pair<HRESULT (IOrvOTProtocol::*)(LONG, SHORT*), SHORT> days[] = {
        {&IOrvOTProtocol::get_NormDaysCommon, 21},
        {&IOrvOTProtocol::get_FactDaysCommon, 20},
        {&IOrvOTProtocol::get_NormDaysEmployee, 22},
        {&IOrvOTProtocol::get_FactDaysEmployee, 19},
        {&IOrvOTProtocol::get_NormDaysCommonExtra, 0},
        {&IOrvOTProtocol::get_FactDaysCommonExtra, 0},
    };
    for (auto [get, want] : days) {
        ASSERT_EQ((p.Get()->*get)(11, &s), S_OK);
        EXPECT_EQ(s, want);
    }
    DATE d = 0;
    ASSERT_EQ(p->get_MonDate(11, &d), S_OK);
    EXPECT_EQ(d, vactest::kDec1);
}

TEST(OlderBodies, WholeRecordsFillTheProtocolsInTheirOrder) {
    Bytes r(4 * 632);
    for (uint16_t i = 0; i < 4; ++i) {
        FillHead(r, i * 632u, static_cast<uint16_t>(10 + i));
        r.U32(i * 632u + 56 + 48 * 5 + 32, std::bit_cast<uint32_t>(0.5f + i));  // MonInFactor(5)
    }
    ComPtr<IOrvDocument> doc;
    auto p = LoadBody(r.b, 22, false, &doc);
    vactest::AccessTypeService service(doc.Get());
    for (LONG at = 0; at < 2; ++at) {
        service.Set(at);
        ASSERT_EQ(p->CheckAccessType(), S_OK);
        for (LONG cur = 0; cur < 2; ++cur) {
            ASSERT_EQ(p->put_CurrentProtocol(cur), S_OK);
            const int i = 2 * at + cur;
            ExpectHead(p.Get(), static_cast<SHORT>(10 + i));
            float f = 0;
            ASSERT_EQ(p->get_MonInFactor(5, &f), S_OK);
            EXPECT_EQ(f, 0.5f + static_cast<float>(i));
        }
    }
}

TEST(OlderBodies, OneOrTwoRecordsLeaveTheRestEmpty) {
    for (int n : {1, 2}) {
        Bytes r(static_cast<std::size_t>(n) * 632);
        for (int i = 0; i < n; ++i) FillHead(r, static_cast<std::size_t>(i) * 632, static_cast<uint16_t>(20 + i));
        auto p = LoadBody(r.b);
        ExpectHead(p.Get(), 20);
        ASSERT_EQ(p->put_CurrentProtocol(1), S_OK);
        SHORT s = -1;
        ASSERT_EQ(p->get_MesCount(&s), S_OK);
        EXPECT_EQ(s, n == 2 ? 21 : 0);
    }
}

TEST(OlderBodies, OnlyTheKnownLengthsAndOnlyWithoutTheXmlMark) {
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{183}, std::size_t{633}, std::size_t{5000}}) {
        Bytes r(length);
        if (length >= 40) FillHead(r, 0, 3);
        auto p = LoadBody(r.b);
        SHORT s = -1;
        ASSERT_EQ(p->get_MesCount(&s), S_OK);
        EXPECT_EQ(s, 0) << length;
    }
    // A 632-byte body of a document marked as keeping XML is not a record.
    Bytes r(632);
    FillHead(r, 0, 3);
    auto p = LoadBody(r.b, 22, true);
    SHORT s = -1;
    ASSERT_EQ(p->get_MesCount(&s), S_OK);
    EXPECT_EQ(s, 0);
    // Other types always keep XML.
    p = LoadBody(r.b, 349, false);
    ASSERT_EQ(p->get_MesCount(&s), S_OK);
    EXPECT_EQ(s, 0);
}

TEST(OlderBodies, AnOlderBodyIsWrittenBackAsXml) {
    Bytes r(184);
    FillHead(r, 0, 6);
    ComPtr<IOrvDocument> doc;
    auto p = LoadBody(r.b, 22, false, &doc);
    const std::u16string xml = vactest::ProtocolXml(p.Get());
    EXPECT_EQ(xml.rfind(u"<OTDOCEX><Protocols T0=\"22\"><Protocol Type=\"OT\" AT=\"0\"><OTPROTOCOL><FLAG VAL=\"-2\"/>"
                        u"<MESCOUNT VAL=\"6\"/><MESCOUNT0 VAL=\"2\"/><NEWEND VAL=\"46037\"/><STARTFMP VAL=\"0\"/>"
                        u"<FSREDN1 VAL=\"12.5\"/>",
                        0),
              0u)
        << vactest::Utf8(xml);
    ASSERT_EQ(p->Save(), S_OK);
    ASSERT_EQ(doc->put_Dfl(0x04), S_OK);  // the host marks the document as keeping XML
    auto q = vactest::Vacation(doc.Get());
    ASSERT_EQ(q->Load(), S_OK);
    ExpectHead(q.Get(), 6);
}

TEST(ProtocolFields, StoredFormsOfTheValues) {
    auto doc = vactest::NewDocument(22);
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_fSredn1(1234.56), S_OK);
    double avg = 0;
    ASSERT_EQ(p->get_fSredn1(&avg), S_OK);
    EXPECT_EQ(avg, static_cast<double>(static_cast<float>(12.3456)) * 100.0);
    // Money is kept in hundredths, halves away from zero.
    ASSERT_EQ(p->put_SumOt2(Cy(12350)), S_OK);
    CY c{};
    ASSERT_EQ(p->get_SumOt2(&c), S_OK);
    EXPECT_EQ(c.int64, 12400);
    ASSERT_EQ(p->put_SumOt2(Cy(-50)), S_OK);
    ASSERT_EQ(p->get_SumOt2(&c), S_OK);
    EXPECT_EQ(c.int64, -100);
    // Dates keep the whole day; 0 is no date.
    ASSERT_EQ(p->put_MonDate(11, vactest::kFeb1 + 0.9), S_OK);
    DATE d = 0;
    ASSERT_EQ(p->get_MonDate(11, &d), S_OK);
    EXPECT_EQ(d, vactest::kFeb1);
    ASSERT_EQ(p->put_MonDate(11, 0.0), S_OK);
    ASSERT_EQ(p->get_MonDate(11, &d), S_OK);
    EXPECT_EQ(d, 0.0);
    // The flag keeps 16 bits and reads back sign-extended.
    ASSERT_EQ(p->put_Flag(0x12348001u), S_OK);
    ULONG flag = 0;
    ASSERT_EQ(p->get_Flag(&flag), S_OK);
    EXPECT_EQ(flag, 0xFFFF8001u);
    // Month entries do not overlap: a put of one leaves its neighbours.
    ASSERT_EQ(p->put_MonCleanSum(4, Cy(-1)), S_OK);  // rounds to 0
    ASSERT_EQ(p->put_MonCleanSum(5, Cy(7700)), S_OK);
    ASSERT_EQ(p->get_MonCleanSum(4, &c), S_OK);
    EXPECT_EQ(c.int64, 0);
    ASSERT_EQ(p->get_MonDirectPrem(5, &c), S_OK);
    EXPECT_EQ(c.int64, 0);
    ASSERT_EQ(p->get_MonCleanSum(5, &c), S_OK);
    EXPECT_EQ(c.int64, 7700);
    // Plain fields.
    ASSERT_EQ(p->put_TabNum(orv::Bstr(u"T-7")), S_OK);
    BSTR t = nullptr;
    ASSERT_EQ(p->get_TabNum(&t), S_OK);
    EXPECT_EQ(kindtest::Text(t), u"T-7");
    SysFreeString(t);
    LONG id = 0;
    ASSERT_EQ(p->put_DocumentId(-3), S_OK);
    ASSERT_EQ(p->get_DocumentId(&id), S_OK);
    EXPECT_EQ(id, -3);
}

TEST(ProtocolFields, TheVacationHolderHandsOutAWorkingProtocol) {
    auto doc = vactest::NewDocument(349);
    auto vv = kindtest::KindOf<IOrvVVDoc>(doc.Get());
    ASSERT_TRUE(vv);
    ComPtr<IUnknown> obj, again;
    ASSERT_EQ(vv->get_OtProtocol(obj.GetAddressOf()), S_OK);
    ASSERT_EQ(vv->get_OtProtocol(again.GetAddressOf()), S_OK);
    EXPECT_EQ(obj.Get(), again.Get());
    ComPtr<IOrvOTProtocol> p;
    ASSERT_EQ(obj.As(&p), S_OK);
    ASSERT_EQ(p->put_SumOt(Cy(50000)), S_OK);
    ASSERT_EQ(p->Save(), S_OK);
    EXPECT_EQ(vactest::BodyText(doc.Get()).rfind(u"<VVDOCEX><Protocols", 0), 0u);
    // A new holder on the same document reads the stored protocol back.
    auto vv2 = kindtest::KindOf<IOrvVVDoc>(doc.Get());
    ComPtr<IUnknown> obj2;
    ASSERT_EQ(vv2->get_OtProtocol(obj2.GetAddressOf()), S_OK);
    ComPtr<IOrvOTProtocol> p2;
    ASSERT_EQ(obj2.As(&p2), S_OK);
    ASSERT_EQ(p2->Load(), S_OK);
    CY c{};
    ASSERT_EQ(p2->get_SumOt(&c), S_OK);
    EXPECT_EQ(c.int64, 50000);
}

}  // namespace
