// The employment contract (TD): its attributes, the severance-pay protocol
// kept under "MAINPROT", and the vacation object it hands out.
#include "document/doc_test_util.h"
#include "fake_protocol.h"
#include "kind_support.h"

#include "kinds/all_kinds.h"

namespace {

using kindtest::FakeProtocol;
using kindtest::NewFakeProtocol;
using kinds_test::Body;
using kinds_test::Utf8;
using orv::Bstr;
using orv::ComPtr;

struct ContractTest : ::testing::Test {
    doctest::HostEnvironment host;
    void SetUp() override {
        doc = kinds_test::NewDocument(304);
        td = kindtest::KindOf<IOrvTDDoc>(doc.Get());
        ASSERT_TRUE(td);
    }
    void SetBody(std::u16string_view xml) {
        kinds_test::SetBody(doc.Get(), xml);
        ASSERT_EQ(kindtest::ExtensionOf(doc.Get())->put_Length(static_cast<LONG>(xml.size() * 2)), S_OK);
    }
    static std::size_t Count(const std::u16string& text, std::u16string_view what) {
        std::size_t n = 0;
        for (auto at = text.find(what); at != std::u16string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvTDDoc> td;
};

TEST_F(ContractTest, OnlyTheFieldsThatAreSetAreWrittenInTheirOrder) {
    ASSERT_EQ(td->put_JobPositionId(5), S_OK);
    ASSERT_EQ(td->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())), "<TDDOCEX JOBPOS=\"5\"/>");

    ASSERT_EQ(td->put_Note(Bstr(u"n")), S_OK);
    ASSERT_EQ(td->put_AveCompensation(kindtest::Cy(12345000)), S_OK);
    ASSERT_EQ(td->put_DaysCompensation(2.5), S_OK);
    ASSERT_EQ(td->put_ExtraDays2(3), S_OK);
    ASSERT_EQ(td->put_Memo(Bstr(u"m")), S_OK);
    ASSERT_EQ(td->put_CarType(Bstr(u"B")), S_OK);
    ASSERT_EQ(td->put_VipPosobieType(-2), S_OK);
    ASSERT_EQ(td->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())),
              "<TDDOCEX CART=\"B\" MEMO=\"m\" DOD2=\"3\" DCMP=\"2.5\" AVECMP=\"1234.5\" JOBPOS=\"5\" NOTE=\"n\" "
              "VIPTP=\"-2\"/>");
}

TEST_F(ContractTest, EveryFieldReadsBackFromItsAttribute) {
    SetBody(u"<TDDOCEX CART=\"C\" DB=\"13:00-14:00\" STA=\"9:00\" STP=\"18:00\" DLN=\"1 year\" MEMO=\"x\" DOD2=\"4\" "
            u"DOD2RSN=\"2\" DSVR=\"12.5\" DNCMP=\"1,25\" DCMP=\"-3\" AVESVR=\"1234,56\" AVENCMP=\"10\" AVECMP=\"0.01\" "
            u"VIPCMP=\"99.99\" JOBPOS=\"77\" PREVDKS=\"p\" NOTE=\"q\" VIPTP=\"8\"/>");
    ASSERT_EQ(td->InitFromExtension(), S_OK);
    auto text = [&](HRESULT (IOrvTDDoc::*get)(BSTR*)) {
        BSTR t = nullptr;
        EXPECT_EQ((td.Get()->*get)(&t), S_OK);
        return Utf8(kinds_test::Take(t));
    };
    EXPECT_EQ(text(&IOrvTDDoc::get_CarType), "C");
    EXPECT_EQ(text(&IOrvTDDoc::get_DinnerBreakTime), "13:00-14:00");
    EXPECT_EQ(text(&IOrvTDDoc::get_WDayStartTime), "9:00");
    EXPECT_EQ(text(&IOrvTDDoc::get_WDayEndTime), "18:00");
    EXPECT_EQ(text(&IOrvTDDoc::get_DgvLength), "1 year");
    EXPECT_EQ(text(&IOrvTDDoc::get_PreviousDks), "p");
    LONG l = 0;
    ASSERT_EQ(td->get_ExtraDays2Reason(&l), S_OK);
    EXPECT_EQ(l, 2);
    ASSERT_EQ(td->get_JobPositionId(&l), S_OK);
    EXPECT_EQ(l, 77);
    double d = 0;
    ASSERT_EQ(td->get_DaysNotCompensation(&d), S_OK);
    EXPECT_DOUBLE_EQ(d, 1.25);
    ASSERT_EQ(td->get_DaysCompensation(&d), S_OK);
    EXPECT_DOUBLE_EQ(d, -3);
    CY c{};
    ASSERT_EQ(td->get_AveSeverancePay(&c), S_OK);
    EXPECT_EQ(c.int64, 12345600);
    ASSERT_EQ(td->get_VipCompensation(&c), S_OK);
    EXPECT_EQ(c.int64, 999900);
    // Written back unchanged field for field (the lenient texts in their own form).
    ASSERT_EQ(td->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())),
              "<TDDOCEX CART=\"C\" DB=\"13:00-14:00\" STA=\"9:00\" STP=\"18:00\" DLN=\"1 year\" MEMO=\"x\" DOD2=\"4\" "
              "DOD2RSN=\"2\" DSVR=\"12.5\" DNCMP=\"1.25\" DCMP=\"-3\" AVESVR=\"1234.56\" AVENCMP=\"10\" AVECMP=\"0.01\" "
              "VIPCMP=\"99.99\" JOBPOS=\"77\" PREVDKS=\"p\" NOTE=\"q\" VIPTP=\"8\"/>");
    // A body without the root leaves the fields as they were.
    SetBody(u"<OTHER JOBPOS=\"1\"/>");
    ASSERT_EQ(td->InitFromExtension(), S_OK);
    ASSERT_EQ(td->get_JobPositionId(&l), S_OK);
    EXPECT_EQ(l, 77);
}

TEST_F(ContractTest, ResignPosobiePutKeepsExactlyOneProtocolThatUpdateExtensionKeeps) {
    SetBody(u"<TDDOCEX JOBPOS=\"3\"/>");
    FakeProtocol* fake = nullptr;
    auto protocol = NewFakeProtocol(u"<BLPR5 V=\"1\"/>", &fake);
    ASSERT_EQ(td->put_ResignPosobie(protocol.Get()), S_OK);
    EXPECT_EQ(fake->originatorType, 304);
    fake->text = u"<BLPR5 V=\"2\"/>";
    ASSERT_EQ(td->put_ResignPosobie(protocol.Get()), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())), "<TDDOCEX JOBPOS=\"3\"><MAINPROT><BLPR5 V=\"2\"/></MAINPROT></TDDOCEX>");
    ASSERT_EQ(td->put_ExtraDays2(1), S_OK);
    ASSERT_EQ(td->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())),
              "<TDDOCEX DOD2=\"1\" JOBPOS=\"3\"><MAINPROT><BLPR5 V=\"2\"/></MAINPROT></TDDOCEX>");
    BSTR all = nullptr;
    ASSERT_EQ(td->GetAllProtocols(&all), S_OK);
    EXPECT_EQ(Utf8(kinds_test::Take(all)), "<MAINPROT><BLPR5 V=\"2\"/></MAINPROT>");
    // Something that is not a protocol is refused and changes nothing.
    EXPECT_EQ(td->put_ResignPosobie(nullptr), E_INVALIDARG);
    EXPECT_EQ(Count(Body(doc.Get()), u"<BLPR5"), 1u);
}

TEST_F(ContractTest, ResignPosobieGetReadsACopy) {
    // No body yet: there is no XML document to read from.
    IDispatch* got = nullptr;
    EXPECT_EQ(td->get_ResignPosobie(&got), E_POINTER);
    EXPECT_EQ(got, nullptr);

    SetBody(u"<TDDOCEX/>");
    ASSERT_EQ(td->InitFromExtension(), S_OK);
    ComPtr<IDispatch> empty;
    ASSERT_EQ(td->get_ResignPosobie(empty.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDocProtocol> p;
    ASSERT_EQ(empty.As(&p), S_OK);
    LONG type = -1;
    ASSERT_EQ(p->get_SType(&type), S_OK);
    EXPECT_EQ(type, 0);

    ASSERT_EQ(p->put_SType(31), S_OK);  // a copy: nothing changes until it is put back
    EXPECT_EQ(Body(doc.Get()), u"<TDDOCEX/>");
    ASSERT_EQ(td->put_ResignPosobie(empty.Get()), S_OK);
    ComPtr<IDispatch> again;
    ASSERT_EQ(td->get_ResignPosobie(again.GetAddressOf()), S_OK);
    EXPECT_NE(again.Get(), empty.Get());
    ComPtr<IOrvBLDocProtocol> q;
    ASSERT_EQ(again.As(&q), S_OK);
    ASSERT_EQ(q->get_SType(&type), S_OK);
    EXPECT_EQ(type, 31);
}

TEST_F(ContractTest, TheVacationObjectSharesTheDocumentAndItsProtocolsLiveInMainprot) {
    ComPtr<IUnknown> a, b;
    ASSERT_EQ(td->get_OtProtocol(a.GetAddressOf()), S_OK);
    ASSERT_EQ(td->get_OtProtocol(b.GetAddressOf()), S_OK);
    EXPECT_EQ(a.Get(), b.Get());
    ComPtr<IOrvOTProtocol> vacation;
    ASSERT_EQ(a.As(&vacation), S_OK);

    ASSERT_EQ(td->put_ResignPosobie(NewFakeProtocol(u"<BLPR5/>").Get()), S_OK);
    ASSERT_EQ(vacation->put_MesCount(6), S_OK);
    ASSERT_EQ(vacation->Save(), S_OK);
    const std::u16string body = Body(doc.Get());
    EXPECT_EQ(body.rfind(u"<TDDOCEX><MAINPROT><BLPR5/><Protocols T0=\"22\">", 0), 0u) << Utf8(body);

    // Read again and written by the contract, both protocols stay.
    auto fresh = kindtest::KindOf<IOrvTDDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    ASSERT_EQ(fresh->put_JobPositionId(9), S_OK);
    ASSERT_EQ(fresh->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(u"<TDDOCEX JOBPOS=\"9\">" + body.substr(9)));
    ComPtr<IUnknown> other;
    ASSERT_EQ(fresh->get_OtProtocol(other.GetAddressOf()), S_OK);
    ComPtr<IOrvOTProtocol> reread;
    ASSERT_EQ(other.As(&reread), S_OK);
    ASSERT_EQ(reread->Load(), S_OK);
    SHORT n = 0;
    ASSERT_EQ(reread->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 6);
}

TEST_F(ContractTest, OverTimeFrequencyIsTheSecondShortOfTheRecord) {
    ASSERT_EQ(td->put_OverTimeFrequency(0x12345), S_OK);
    SHORT s = 0;
    ASSERT_EQ(doc->get_dcShort(1, &s), S_OK);
    EXPECT_EQ(s, 0x2345);
    ASSERT_EQ(td->put_OverTimeFrequency(-7), S_OK);
    LONG v = 0;
    ASSERT_EQ(td->get_OverTimeFrequency(&v), S_OK);
    EXPECT_EQ(v, -7);
    EXPECT_EQ(td->get_OverTimeFrequency(nullptr), E_POINTER);
    EXPECT_EQ(td->get_Memo(nullptr), E_POINTER);
    EXPECT_EQ(td->get_AveCompensation(nullptr), E_POINTER);
    EXPECT_EQ(td->GetAllProtocols(nullptr), E_POINTER);
}

TEST_F(ContractTest, GetAllProtocolsLeavesNullWithoutMainprot) {
    SetBody(u"<TDDOCEX JOBPOS=\"1\"/>");
    BSTR all = reinterpret_cast<BSTR>(0x1);
    ASSERT_EQ(td->GetAllProtocols(&all), S_OK);
    EXPECT_EQ(all, nullptr);
    VARIANT_BOOL init = 0;
    ASSERT_EQ(td->get_IsInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_TRUE);
}

}  // namespace
