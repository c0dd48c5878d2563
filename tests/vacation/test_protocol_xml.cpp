// The XML form of the vacation protocols: the tree written for each root,
// the round trip through the extension, and what Load does with bodies that
// are damaged or missing.
#include "vacation_test_util.h"

namespace {

using vactest::ComPtr;
using vactest::Cy;

// Hand-written pieces of the expected texts.
constexpr char16_t kZeroHead[] =
    u"<FLAG VAL=\"0\"/><MESCOUNT VAL=\"0\"/><MESCOUNT0 VAL=\"0\"/><NEWEND VAL=\"0\"/><STARTFMP VAL=\"0\"/>"
    u"<FSREDN1 VAL=\"0\"/><FSREDN2 VAL=\"0\"/><DTOTSUM1 VAL=\"0\"/><DTOTSUM2 VAL=\"0\"/><DSUMOT1 VAL=\"0\"/>"
    u"<DSUMOT2 VAL=\"0\"/><DSUMOT VAL=\"0\"/>";
constexpr char16_t kEmptyProtocolAt1[] =
    u"<Protocol Type=\"OT\" AT=\"1\"><OTPROTOCOL>"
    u"<FLAG VAL=\"0\"/><MESCOUNT VAL=\"0\"/><MESCOUNT0 VAL=\"0\"/><NEWEND VAL=\"0\"/><STARTFMP VAL=\"0\"/>"
    u"<FSREDN1 VAL=\"0\"/><FSREDN2 VAL=\"0\"/><DTOTSUM1 VAL=\"0\"/><DTOTSUM2 VAL=\"0\"/><DSUMOT1 VAL=\"0\"/>"
    u"<DSUMOT2 VAL=\"0\"/><DSUMOT VAL=\"0\"/><HISTORY COUNT=\"0\"/>"
    u"<OTPROTOCOL2>"
    u"<FLAG VAL=\"0\"/><MESCOUNT VAL=\"0\"/><MESCOUNT0 VAL=\"0\"/><NEWEND VAL=\"0\"/><STARTFMP VAL=\"0\"/>"
    u"<FSREDN1 VAL=\"0\"/><FSREDN2 VAL=\"0\"/><DTOTSUM1 VAL=\"0\"/><DTOTSUM2 VAL=\"0\"/><DSUMOT1 VAL=\"0\"/>"
    u"<DSUMOT2 VAL=\"0\"/><DSUMOT VAL=\"0\"/><HISTORY COUNT=\"0\"/>"
    u"</OTPROTOCOL2></OTPROTOCOL></Protocol>";

// One month of history, one paid month with one interval, on access type 0.
void FillOneMonth(IOrvOTProtocol* p) {
    ASSERT_EQ(p->put_MesCount(1), S_OK);
    ASSERT_EQ(p->put_NewEnd(vactest::kJan15), S_OK);
    ASSERT_EQ(p->put_fSredn1(1234.56), S_OK);
    ASSERT_EQ(p->put_TotSum1(Cy(1005000)), S_OK);  // 100.50
    ASSERT_EQ(p->put_HistoryCount(1), S_OK);
    ASSERT_EQ(p->put_MonDate(0, vactest::kDec1), S_OK);
    ASSERT_EQ(p->put_MonSum1(0, Cy(20000000)), S_OK);  // 2000.00
    ASSERT_EQ(p->put_MonInFactor(0, 1.25f), S_OK);
    ASSERT_EQ(p->put_NormDaysCommon(0, 21), S_OK);
    ASSERT_EQ(p->AddPaiedInterval(vactest::kJan15 + 0.5, vactest::kJan15, vactest::kJan15 + 13, 1, 14, 0,
                                  Cy(15002500), VARIANT_TRUE),
              S_OK);
}

TEST(ProtocolXml, SaveWritesTheTreeInItsOrder) {
    auto doc = vactest::NewDocument(349);
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_TabNum(orv::Bstr(u"0042")), S_OK);
    ASSERT_EQ(p->put_DocumentId(7), S_OK);
    FillOneMonth(p.Get());
    ASSERT_EQ(p->Save(), S_OK);

    const std::u16string paid =
        u"<PMONTH DT=\"46037\" FAC=\"0\"><INTRVL INDAYS=\"-1\" SUM=\"1500.25\" DN=\"46037\" DK=\"46050\" D=\"14\" "
        u"H=\"0\" ITYPE=\"1\"/></PMONTH>";
    const std::u16string expected =
        u"<VVDOCEX><Protocols TabNum=\"0042\" DocId=\"7\" T0=\"22\">"
        u"<Protocol Type=\"OT\" AT=\"0\"><OTPROTOCOL TabNum=\"0042\" DocId=\"7\">"
        u"<FLAG VAL=\"0\"/><MESCOUNT VAL=\"1\"/><MESCOUNT0 VAL=\"0\"/><NEWEND VAL=\"46037\"/><STARTFMP VAL=\"0\"/>"
        u"<FSREDN1 VAL=\"12.3456001281738\"/><FSREDN2 VAL=\"0\"/><DTOTSUM1 VAL=\"100.5\"/><DTOTSUM2 VAL=\"0\"/>"
        u"<DSUMOT1 VAL=\"0\"/><DSUMOT2 VAL=\"0\"/><DSUMOT VAL=\"0\"/>"
        u"<HISTORY COUNT=\"1\"><HDATE VAL=\"45992\"><HFLAG VAL=\"0\"/><DSUM1 VAL=\"2000\"/><DSUM2 VAL=\"0\"/>"
        u"<DSUM3 VAL=\"0\"/><DSUM4 VAL=\"0\"/><DS1CL VAL=\"0\"/><FCUSED VAL=\"1.25\"/><NDC VAL=\"21\"/>"
        u"<FDC VAL=\"0\"/><NDE VAL=\"0\"/><FDE VAL=\"0\"/><NDCEX VAL=\"0\"/><FDCEX VAL=\"0\"/></HDATE></HISTORY>" +
        paid + u"<OTPROTOCOL2 TabNum=\"0042\" DocId=\"7\">" + kZeroHead + u"<HISTORY COUNT=\"0\"/>" + paid +
        u"</OTPROTOCOL2></OTPROTOCOL></Protocol>"
        u"<Protocol Type=\"OT\" AT=\"1\"><OTPROTOCOL TabNum=\"0042\" DocId=\"7\">" +
        kZeroHead + u"<HISTORY COUNT=\"0\"/><OTPROTOCOL2 TabNum=\"0042\" DocId=\"7\">" + kZeroHead +
        u"<HISTORY COUNT=\"0\"/></OTPROTOCOL2></OTPROTOCOL></Protocol></Protocols></VVDOCEX>";
    const std::u16string body = vactest::BodyText(doc.Get());
    EXPECT_EQ(vactest::Utf8(body), vactest::Utf8(expected));
    EXPECT_EQ(kindtest::LengthOf(vactest::Extension(doc.Get()).Get()), static_cast<LONG>(body.size() * 2));
    // ProtocolAsXml answers the same text without writing.
    EXPECT_EQ(vactest::ProtocolXml(p.Get()), body);
}

TEST(ProtocolXml, RootFollowsTheDocumentType) {
    const std::pair<SHORT, const char16_t*> cases[] = {
        {22, u"<OTDOCEX><Protocols T0=\"22\">"}, {93, u"<UVDOCEX><Protocols T0=\"22\">"},
        {349, u"<VVDOCEX><Protocols T0=\"22\">"}, {336, u"<OTDOCEX><Protocols T0=\"22\">"},
        {304, u"<TDDOCEX><MAINPROT><Protocols T0=\"22\">"}};
    for (auto [type, start] : cases) {
        auto doc = vactest::NewDocument(type);
        auto p = vactest::Vacation(doc.Get());
        ASSERT_EQ(p->Save(), S_OK);
        const std::u16string body = vactest::BodyText(doc.Get());
        EXPECT_EQ(body.rfind(start, 0), 0u) << type << ": " << vactest::Utf8(body);
        EXPECT_NE(body.find(kEmptyProtocolAt1), std::u16string::npos) << type;
    }
}

TEST(ProtocolXml, ContractKeepsItsOtherContentAndReplacesOnlyTheProtocols) {
    auto doc = vactest::NewDocument(304, false);
    vactest::SetBodyText(doc.Get(),
                         u"<TDDOCEX JOBPOS=\"5\"><MAINPROT><BLPR5 X=\"1\"/><Protocols T0=\"22\"><Old/></Protocols>"
                         u"</MAINPROT></TDDOCEX>");
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_MesCount(4), S_OK);
    ASSERT_EQ(p->Save(), S_OK);
    ASSERT_EQ(p->Save(), S_OK);  // twice: still one protocols element
    const std::u16string body = vactest::BodyText(doc.Get());
    EXPECT_EQ(body.rfind(u"<TDDOCEX JOBPOS=\"5\"><MAINPROT><BLPR5 X=\"1\"/><Protocols T0=\"22\">", 0), 0u)
        << vactest::Utf8(body);
    EXPECT_EQ(body.find(u"<Old/>"), std::u16string::npos);
    EXPECT_EQ(body.find(u"<Protocols"), body.rfind(u"<Protocols"));

    auto again = vactest::Vacation(doc.Get());
    ASSERT_EQ(again->Load(), S_OK);
    SHORT n = 0;
    ASSERT_EQ(again->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 4);
}

TEST(ProtocolXml, SaveAndLoadGiveBackEveryFieldOfAllFourRecords) {
    auto doc = vactest::NewDocument(22);
    vactest::AccessTypeService service(doc.Get());
    auto p = vactest::Vacation(doc.Get());
    for (LONG at = 0; at < 2; ++at) {
        service.Set(at);
        ASSERT_EQ(p->CheckAccessType(), S_OK);
        for (LONG cur = 0; cur < 2; ++cur) {
            ASSERT_EQ(p->put_CurrentProtocol(cur), S_OK);
            const SHORT k = static_cast<SHORT>(10 * at + cur + 1);
            ASSERT_EQ(p->put_Flag(0xFFFF0000u | static_cast<ULONG>(k)), S_OK);
            ASSERT_EQ(p->put_MesCount0(k), S_OK);
            ASSERT_EQ(p->put_StartFMP(vactest::kFeb1 + k), S_OK);
            ASSERT_EQ(p->put_fSredn2(-k * 10.25), S_OK);
            ASSERT_EQ(p->put_TotSum2(Cy(-k * 12345LL * 100)), S_OK);
            ASSERT_EQ(p->put_SumOt(Cy(k * 100)), S_OK);  // 0.01 x k
            ASSERT_EQ(p->put_HistoryCount(12), S_OK);
            for (LONG i = 0; i < 12; ++i) {
                ASSERT_EQ(p->put_MonFlag(i, static_cast<SHORT>(k + i)), S_OK);
                ASSERT_EQ(p->put_MonDirectPrem(i, Cy((k + i) * 10000LL)), S_OK);
                ASSERT_EQ(p->put_MonCleanSum(i, Cy(-(k + i) * 100LL)), S_OK);
                ASSERT_EQ(p->put_FactDaysCommonExtra(i, static_cast<SHORT>(-k)), S_OK);
                ASSERT_EQ(p->put_MonInFactor(i, 1.0f / static_cast<float>(k + i)), S_OK);
            }
        }
        ASSERT_EQ(p->AddPaiedInterval(vactest::kMar1, 1, 2, at, 3, 4, Cy(5), VARIANT_FALSE), S_OK);
    }
    ASSERT_EQ(p->Save(), S_OK);
    const std::u16string written = vactest::BodyText(doc.Get());

    auto q = vactest::Vacation(doc.Get());
    ASSERT_EQ(q->Load(), S_OK);
    for (LONG at = 0; at < 2; ++at) {
        service.Set(at);
        ASSERT_EQ(q->CheckAccessType(), S_OK);
        for (LONG cur = 0; cur < 2; ++cur) {
            ASSERT_EQ(q->put_CurrentProtocol(cur), S_OK);
            const SHORT k = static_cast<SHORT>(10 * at + cur + 1);
            ULONG flag = 0;
            ASSERT_EQ(q->get_Flag(&flag), S_OK);
            EXPECT_EQ(flag, static_cast<ULONG>(k));
            DATE d = 0;
            ASSERT_EQ(q->get_StartFMP(&d), S_OK);
            EXPECT_EQ(d, vactest::kFeb1 + k);
            double avg = 0;
            ASSERT_EQ(q->get_fSredn2(&avg), S_OK);
            EXPECT_EQ(avg, static_cast<double>(static_cast<float>(-k * 10.25 / 100.0)) * 100.0);
            CY sum{};
            ASSERT_EQ(q->get_TotSum2(&sum), S_OK);
            EXPECT_EQ(sum.int64, -k * 12345LL * 100);
            for (LONG i = 0; i < 12; ++i) {
                ASSERT_EQ(q->get_MonDirectPrem(i, &sum), S_OK);
                EXPECT_EQ(sum.int64, (k + i) * 10000LL);
                ASSERT_EQ(q->get_MonCleanSum(i, &sum), S_OK);
                EXPECT_EQ(sum.int64, -(k + i) * 100LL);
                float f = 0;
                ASSERT_EQ(q->get_MonInFactor(i, &f), S_OK);
                EXPECT_EQ(f, 1.0f / static_cast<float>(k + i));
                SHORT s = 0;
                ASSERT_EQ(q->get_FactDaysCommonExtra(i, &s), S_OK);
                EXPECT_EQ(s, -k);
            }
        }
    }
    // Written, read and written again: the same text.
    ASSERT_EQ(q->Save(), S_OK);
    EXPECT_EQ(vactest::Utf8(vactest::BodyText(doc.Get())), vactest::Utf8(written));
}

TEST(ProtocolXml, HistoryBeyondTwelveWritesTwelveMonthsAndTheCount) {
    auto doc = vactest::NewDocument(22);
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_HistoryCount(15), S_OK);
    ASSERT_EQ(p->Save(), S_OK);
    const std::u16string body = vactest::BodyText(doc.Get());
    const std::u16string first = body.substr(0, body.find(u"<OTPROTOCOL2"));
    EXPECT_NE(first.find(u"<HISTORY COUNT=\"15\">"), std::u16string::npos);
    std::size_t n = 0;
    for (std::size_t at = first.find(u"<HDATE"); at != std::u16string::npos; at = first.find(u"<HDATE", at + 1)) ++n;
    EXPECT_EQ(n, 12u);
    auto q = vactest::Vacation(doc.Get());
    ASSERT_EQ(q->Load(), S_OK);
    SHORT count = 0;
    ASSERT_EQ(q->get_HistoryCount(&count), S_OK);
    EXPECT_EQ(count, 15);
}

TEST(ProtocolXml, DontAlterExtensionKeepsTheBody) {
    auto doc = vactest::NewDocument(22);
    vactest::SetBodyText(doc.Get(), u"<OTDOCEX/>");
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_MesCount(2), S_OK);
    ASSERT_EQ(p->put_DontAlterExtension(VARIANT_TRUE), S_OK);
    ASSERT_EQ(p->Save(), S_OK);
    EXPECT_EQ(vactest::BodyText(doc.Get()), u"<OTDOCEX/>");
    ASSERT_EQ(p->put_DontAlterExtension(VARIANT_FALSE), S_OK);
    ASSERT_EQ(p->Save(), S_OK);
    EXPECT_NE(vactest::BodyText(doc.Get()).find(u"<MESCOUNT VAL=\"2\"/>"), std::u16string::npos);
}

TEST(ProtocolXml, LoadOfDamagedOrForeignBodiesGivesEmptyProtocols) {
    const std::u16string bodies[] = {
        u"<OTDOCEX><Protocols T0=\"22\"><Protocol AT=\"0\"><OTPROTOCOL><MESCOUNT VAL=\"3\"/>",  // cut short
        u"<VVDOCEX><Protocols T0=\"22\"/></VVDOCEX>",                                         // other root
        u"<OTDOCEX><Protocols T0=\"21\"><Protocol AT=\"0\"><OTPROTOCOL><MESCOUNT VAL=\"3\"/>"
        u"</OTPROTOCOL></Protocol></Protocols></OTDOCEX>",  // not the vacation protocols
        u"",
    };
    for (const auto& body : bodies) {
        auto doc = vactest::NewDocument(22);
        if (!body.empty()) vactest::SetBodyText(doc.Get(), body);
        auto p = vactest::Vacation(doc.Get());
        ASSERT_EQ(p->put_MesCount(9), S_OK);
        ASSERT_EQ(p->Load(), S_OK) << vactest::Utf8(body);
        SHORT n = -1;
        ASSERT_EQ(p->get_MesCount(&n), S_OK);
        EXPECT_EQ(n, 0) << vactest::Utf8(body);
    }
}

TEST(ProtocolXml, LenientTextsAndMissingElementsReadAsZero) {
    auto doc = vactest::NewDocument(22);
    vactest::SetBodyText(doc.Get(),
                         u"<OTDOCEX><Protocols T0=\"22\"><Protocol AT=\"0\"><OTPROTOCOL>"
                         u"<DSUMOT VAL=\"1234,5\"/><MESCOUNT VAL=\"x\"/>"
                         u"<PMONTH DT=\"46054.9\" FAC=\"1,1\"><INTRVL SUM=\"7\"/></PMONTH>"
                         u"</OTPROTOCOL></Protocol></Protocols></OTDOCEX>");
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->Load(), S_OK);
    CY sum{};
    ASSERT_EQ(p->get_SumOt(&sum), S_OK);
    EXPECT_EQ(sum.int64, 12345000);
    SHORT n = -1;
    ASSERT_EQ(p->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 0);
    double fac = 0;
    ASSERT_EQ(p->get_PaiedMonthIndexation(vactest::kFeb1, &fac), S_OK);
    EXPECT_DOUBLE_EQ(fac, 1.1);
    ASSERT_EQ(p->put_CurrentProtocol(1), S_OK);  // no OTPROTOCOL2: protocol 1 stays empty
    ASSERT_EQ(p->get_SumOt(&sum), S_OK);
    EXPECT_EQ(sum.int64, 0);
}

TEST(ProtocolXml, AFailingDocumentLeavesTheProtocolAsItWas) {
    kindtest::FakeDocument* fake = nullptr;
    auto doc = kindtest::NewFakeDocument(&fake);  // its IOrvDocument members are not built
    auto p = vactest::Vacation(doc.Get());
    ASSERT_EQ(p->put_MesCount(5), S_OK);
    EXPECT_EQ(p->Load(), E_NOTIMPL);
    EXPECT_EQ(p->Save(), E_NOTIMPL);
    SHORT n = 0;
    ASSERT_EQ(p->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(fake->body.empty());
}

}  // namespace
