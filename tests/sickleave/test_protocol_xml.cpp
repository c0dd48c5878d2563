// The protocol's XML form: written byte for byte as the hand-written texts
// below, read back with its lists, per access type, and refused input that
// changes nothing.
#include "sickleave_test_util.h"

namespace {

using namespace bltest;

// The scalars of a protocol whose fields are all zero, in their order.
const std::u16string kZeroScalars =
    u"<BLUSEDDAYS VAL=\"0\"/><BLUSEDHOURS VAL=\"0\"/><BLUSEDPERCENT VAL=\"0\"/><CALCFROMKLADORTARIF VAL=\"0\"/>"
    u"<CALCINDAYS VAL=\"0\"/><CALVALUES VAL=\"0\"/><FIRSTFACTSREDN VAL=\"0\"/><HISTORYCOUNT VAL=\"0\"/>"
    u"<IF1P12PREMHBENTERED VAL=\"0\"/><IF32TYPEANDPROCHBCHANGED VAL=\"0\"/><IFPERCENTHBENTERED VAL=\"0\"/>"
    u"<IFSREDNHBENTERED VAL=\"0\"/><LENGTHAFTERLOWERINGPROC VAL=\"0\"/><LENGTHBEFORELOWERINGPROC VAL=\"0\"/>"
    u"<LIMITSUM VAL=\"0\"/><PAYMONTHCOUNT VAL=\"0\"/><SECONDSREDN VAL=\"0\"/><STAGYEARS VAL=\"0\"/>"
    u"<SUMFROMHIGHPROC VAL=\"0\"/><SUMFROMLOWPROC VAL=\"0\"/><TOTBLSUM VAL=\"0\"/><TOTSUMFORSREDN VAL=\"0\"/>"
    u"<ENTEREDPREMIUM VAL=\"0\"/><USEDPERCENT VAL=\"0\"/><TOTSUMFORSREDN2 VAL=\"0\"/><TOTBLSUM2 VAL=\"0\"/>"
    u"<T0 VAL=\"0\"/><SREDNFROMPREM VAL=\"0\"/><DN VAL=\"0\"/><DK VAL=\"0\"/><STYPE VAL=\"0\"/><NUM VAL=\"\"/>"
    u"<CALC2011 VAL=\"0\"/>";

const std::u16string kEmptyAt0 = u"<BLPR5><BLPROTOCOL AT=\"0\">" + kZeroScalars + u"</BLPROTOCOL></BLPR5>";

// A protocol with every scalar set, one embedded text, one history item and
// one pay month; and its text.
void Fill(IOrvBLDocProtocol* p) {
    p->put_BlUsedDays(12);
    p->put_BlUsedHours(96);
    p->put_BlUsedProcent(60);
    p->put_CalcFromOkladOrTarif(VARIANT_TRUE);
    p->put_CalcInDays(VARIANT_TRUE);
    p->put_FirstFactSredn(Cy(12345678));
    p->put_HistoryCount(1);
    p->put_If32TypeAndProcHBChanged(VARIANT_TRUE);
    p->put_IfSrednHBEntered(VARIANT_TRUE);
    p->put_LengthAfterLoweringProc(5);
    p->put_LengthBeforeLoweringProc(10);
    p->put_LimitSum(Cy(15000000));
    p->put_PayMonthCount(1);
    p->put_SecondSredn(Cy(9875000));
    p->put_StagYears(8);
    p->put_SumFromHighProc(Cy(3002500));
    p->put_SumFromLowProc(Cy(-100));
    p->put_TotBlSum(Cy(45000000));
    p->put_TotSumForSredn(Cy(7200007500));
    p->put_UsedProcent(0.6);
    p->put_TotSumForSredn2(Cy(10000));
    p->put_TotBlSum2(Cy(25000));
    p->put_OriginatorType(21);
    p->put_Dn(46023.0);
    p->put_Dk(46030.5);
    p->put_SType(12);
    p->put_Number(Bstr(u"ЛН 123"));
    p->put_CalcType2011(VARIANT_TRUE);
    p->put_XmlPremProtocol(Bstr(u"<PREMPROT Q=\"1\"><P S=\"10\"/></PREMPROT>"));

    auto history = NewHistoryItem(20, 45658.0, 500005000);
    history->put_Hours(160);
    history->put_Year(2025);
    history->put_YearLimit(Cy(22250000000));
    history->put_NormDays(20);
    history->put_NormHours(160);
    ASSERT_EQ(p->AddHistoryItem(history.Get()), S_OK);
    auto month = NewPayMonth(46023.0, 45000000, 25000);
    month->put_Days(10);
    month->put_Hours(80);
    month->put_NormDays(21);
    month->put_WorkedHours(8);
    ASSERT_EQ(p->AddPayMonthItem(month.Get()), S_OK);
}

const std::u16string kFilledCalculation =
    u"<PREMPROT Q=\"1\"><P S=\"10\"/></PREMPROT>"
    u"<BLUSEDDAYS VAL=\"12\"/><BLUSEDHOURS VAL=\"96\"/><BLUSEDPERCENT VAL=\"60\"/><CALCFROMKLADORTARIF VAL=\"-1\"/>"
    u"<CALCINDAYS VAL=\"-1\"/><CALVALUES VAL=\"0\"/><FIRSTFACTSREDN VAL=\"1234.5678\"/><HISTORYCOUNT VAL=\"1\"/>"
    u"<IF1P12PREMHBENTERED VAL=\"0\"/><IF32TYPEANDPROCHBCHANGED VAL=\"-1\"/><IFPERCENTHBENTERED VAL=\"0\"/>"
    u"<IFSREDNHBENTERED VAL=\"-1\"/><LENGTHAFTERLOWERINGPROC VAL=\"5\"/><LENGTHBEFORELOWERINGPROC VAL=\"10\"/>"
    u"<LIMITSUM VAL=\"1500\"/><PAYMONTHCOUNT VAL=\"1\"/><SECONDSREDN VAL=\"987.5\"/><STAGYEARS VAL=\"8\"/>"
    u"<SUMFROMHIGHPROC VAL=\"300.25\"/><SUMFROMLOWPROC VAL=\"-0.01\"/><TOTBLSUM VAL=\"4500\"/>"
    u"<TOTSUMFORSREDN VAL=\"720000.75\"/><ENTEREDPREMIUM VAL=\"0\"/><USEDPERCENT VAL=\"0.6\"/>"
    u"<TOTSUMFORSREDN2 VAL=\"1\"/><TOTBLSUM2 VAL=\"2.5\"/><T0 VAL=\"21\"/><SREDNFROMPREM VAL=\"0\"/>"
    u"<DN VAL=\"46023\"/><DK VAL=\"46030.5\"/><STYPE VAL=\"12\"/><NUM VAL=\"ЛН 123\"/><CALC2011 VAL=\"-1\"/>"
    u"<HISTORYITEM><DAYS VAL=\"20\"/><HOURS VAL=\"160\"/><MONTH VAL=\"45658\"/><YEAR VAL=\"2025\"/>"
    u"<YEARLIM VAL=\"2225000\"/><SUMFORSREDN VAL=\"50000.5\"/><SUMFORSREDN2 VAL=\"0\"/><NDAYS VAL=\"20\"/>"
    u"<NHOURS VAL=\"160\"/></HISTORYITEM>"
    u"<PAYMONTHITEM><DAYS VAL=\"10\"/><FIRSTSREDN VAL=\"0\"/><HOURS VAL=\"80\"/><MONTH VAL=\"46023\"/>"
    u"<MONTHLIMIT VAL=\"0\"/><NORMDAYS VAL=\"21\"/><NORMHOURS VAL=\"0\"/><OKLAD VAL=\"0\"/>"
    u"<OKLADWITHNADB VAL=\"0\"/><PROCSREDN VAL=\"0\"/><SECONDSREDN VAL=\"0\"/><SUM VAL=\"4500\"/>"
    u"<SUM2 VAL=\"2.5\"/><CSUM VAL=\"0\"/><CDAYS VAL=\"0\"/><CHOURS VAL=\"0\"/><SCSUM VAL=\"0\"/>"
    u"<SCDAYS VAL=\"0\"/><SCHOURS VAL=\"0\"/><VIPBASE VAL=\"0\"/><VIPSREDN VAL=\"0\"/><WHOURS VAL=\"8\"/>"
    u"</PAYMONTHITEM>";

TEST(ProtocolXml, NewProtocolWritesEveryScalarAsZero) {
    HostEnvironment host;
    EXPECT_EQ(FullStringOf(NewProtocol(0).Get()), kEmptyAt0);
    EXPECT_EQ(FullStringOf(NewProtocol(1).Get()),
              u"<BLPR5><BLPROTOCOL AT=\"1\">" + kZeroScalars + u"</BLPROTOCOL></BLPR5>");
}

TEST(ProtocolXml, FilledProtocolWritesItsValuesItemsAndEmbeddedText) {
    HostEnvironment host;
    auto p = NewProtocol(1);
    Fill(p.Get());
    const std::u16string expected = u"<BLPR5><BLPROTOCOL AT=\"1\">" + kFilledCalculation + u"</BLPROTOCOL></BLPR5>";
    EXPECT_EQ(FullStringOf(p.Get()), expected);

    // xmlProtocol hands out the same "BLPR5" element; serialising changes no field.
    ComPtr<IUnknown> element;
    ASSERT_EQ(p->get_xmlProtocol(element.GetAddressOf()), S_OK);
    ComPtr<IXMLDOMNode> node;
    ASSERT_EQ(element.As(&node), S_OK);
    Bstr xml;
    ASSERT_EQ(node->get_xml(xml.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(xml.View(), expected);
    EXPECT_EQ(FullStringOf(p.Get()), expected);
}

// Read back into a new protocol: every value, both lists with their items in
// order, and the same text written again.
TEST(ProtocolXml, FullStringOutAndInKeepsValuesAndLists) {
    HostEnvironment host;
    auto p = NewProtocol(0);
    Fill(p.Get());
    p->AddHistoryItem(NewHistoryItem(21, 45689.0, 100).Get());
    p->AddHistoryItem(NewHistoryItem(22, 45717.0, 200).Get());
    const std::u16string text = FullStringOf(p.Get());

    auto q = NewProtocol(0);
    ASSERT_EQ(PutFullString(q.Get(), text), S_OK);
    EXPECT_EQ(FullStringOf(q.Get()), text);
    auto history = HistoryOf(q.Get());
    ASSERT_EQ(history.size(), 3u);
    const LONG days[] = {20, 21, 22};
    const DATE months[] = {45658.0, 45689.0, 45717.0};
    const LONGLONG sums[] = {500005000, 100, 200};
    for (std::size_t i = 0; i < 3; ++i) {
        LONG d = 0;
        DATE m = 0;
        CY s{};
        history[i]->get_Days(&d);
        history[i]->get_Month(&m);
        history[i]->get_SumForSredn(&s);
        EXPECT_EQ(d, days[i]);
        EXPECT_EQ(m, months[i]);
        EXPECT_EQ(s.int64, sums[i]);
    }
    auto months2 = PayMonthsOf(q.Get());
    ASSERT_EQ(months2.size(), 1u);
    CY sum2{};
    months2[0]->get_Sum2(&sum2);
    EXPECT_EQ(sum2.int64, 25000);

    VARIANT_BOOL b = 0;
    q->get_CalcType2011(&b);
    EXPECT_EQ(b, VARIANT_TRUE);
    q->get_CalendarValues(&b);
    EXPECT_EQ(b, 0);
    double used = 0;
    q->get_UsedProcent(&used);
    EXPECT_EQ(used, 0.6);
    Bstr number, prem;
    q->get_Number(number.ReleaseAndGetAddressOf());
    EXPECT_EQ(number.View(), u"ЛН 123");
    q->get_XmlPremProtocol(prem.ReleaseAndGetAddressOf());
    EXPECT_EQ(prem.View(), u"<PREMPROT Q=\"1\"><P S=\"10\"/></PREMPROT>");
    CY low{};
    q->get_SumFromLowProc(&low);
    EXPECT_EQ(low.int64, -100);
}

TEST(ProtocolXml, ExtWrappedProtocolReadsAsTheBareOne) {
    HostEnvironment host;
    auto p = NewProtocol(0);
    Fill(p.Get());
    const std::u16string bare = FullStringOf(p.Get());
    auto q = NewProtocol(0);
    ASSERT_EQ(PutFullString(q.Get(), u"<EXT><YEARS>2024 2025</YEARS>" + bare + u"</EXT>"), S_OK);
    EXPECT_EQ(FullStringOf(q.Get()), bare);
}

// Values written by hand: booleans true for any non-zero number, numbers in
// either decimal form; a missing element reads 0, a missing "NUM" "0".
TEST(ProtocolXml, HandWrittenValuesAndMissingElements) {
    HostEnvironment host;
    auto p = NewProtocol(0);
    ASSERT_EQ(PutFullString(p.Get(), u"<BLPR5><BLPROTOCOL AT=\"0\"><CALCINDAYS VAL=\"5\"/><TOTBLSUM VAL=\"12,5\"/>"
                                     u"<BLUSEDDAYS VAL=\"7.9\"/></BLPROTOCOL></BLPR5>"),
              S_OK);
    VARIANT_BOOL inDays = 0;
    p->get_CalcInDays(&inDays);
    EXPECT_EQ(inDays, VARIANT_TRUE);
    CY total{};
    p->get_TotBlSum(&total);
    EXPECT_EQ(total.int64, 125000);
    LONG days = 0;
    p->get_BlUsedDays(&days);
    EXPECT_EQ(days, 7);
    Bstr number;
    p->get_Number(number.ReleaseAndGetAddressOf());
    EXPECT_EQ(number.View(), u"0");
    EXPECT_TRUE(HistoryOf(p.Get()).empty());
}

// One protocol per access type in one "BLPR5": each object reads its own and
// writes the other back unchanged after its own.
TEST(ProtocolXml, AccessTypesAreKeptApart) {
    HostEnvironment host;
    auto first = NewProtocol(0);
    Fill(first.Get());
    std::u16string zero = FullStringOf(first.Get());
    const std::u16string zeroCalc = zero.substr(7, zero.size() - 7 - 8);  // without <BLPR5>, </BLPR5>
    const std::u16string oneCalc = u"<BLPROTOCOL AT=\"1\">" + kZeroScalars + u"</BLPROTOCOL>";
    std::u16string oneCalcWithDays = oneCalc;
    oneCalcWithDays.replace(oneCalcWithDays.find(u"<BLUSEDDAYS VAL=\"0\"/>"), 21, u"<BLUSEDDAYS VAL=\"99\"/>");
    const std::u16string both = u"<BLPR5>" + zeroCalc + oneCalcWithDays + u"</BLPR5>";

    auto atZero = NewProtocol(0);
    ASSERT_EQ(PutFullString(atZero.Get(), both), S_OK);
    LONG days = 0;
    atZero->get_BlUsedDays(&days);
    EXPECT_EQ(days, 12);
    EXPECT_EQ(HistoryOf(atZero.Get()).size(), 1u);
    EXPECT_EQ(FullStringOf(atZero.Get()), both);

    auto atOne = NewProtocol(1);
    ASSERT_EQ(PutFullString(atOne.Get(), both), S_OK);
    atOne->get_BlUsedDays(&days);
    EXPECT_EQ(days, 99);
    EXPECT_TRUE(HistoryOf(atOne.Get()).empty());
    EXPECT_TRUE(PayMonthsOf(atOne.Get()).empty());
    // Its own first, then the kept one of access type 0, as it was read.
    EXPECT_EQ(FullStringOf(atOne.Get()), u"<BLPR5>" + oneCalcWithDays + zeroCalc + u"</BLPR5>");

    // Only a calculation of access type 0: an object of access type 1 stays
    // reset and writes that calculation back after its own.
    auto onlyZero = NewProtocol(1);
    onlyZero->put_BlUsedDays(3);
    ASSERT_EQ(PutFullString(onlyZero.Get(), zero), S_OK);
    onlyZero->get_BlUsedDays(&days);
    EXPECT_EQ(days, 0);
    EXPECT_EQ(FullStringOf(onlyZero.Get()), u"<BLPR5>" + oneCalc + zeroCalc + u"</BLPR5>");
}

// Text that is not XML is refused and changes nothing; XML without a
// calculation leaves the object reset.
TEST(ProtocolXml, BadTextIsRefusedWithoutChange) {
    HostEnvironment host;
    auto p = NewProtocol(0);
    Fill(p.Get());
    const std::u16string before = FullStringOf(p.Get());
    for (std::u16string_view bad : {std::u16string_view(u"not xml"), std::u16string_view(u"<BLPR5><BLPROTOCOL AT=\"0\">"),
                                    std::u16string_view(u""), std::u16string_view(u"<BLPR5 a=\"1\" a=\"2\"/>")}) {
        EXPECT_EQ(PutFullString(p.Get(), bad), E_INVALIDARG);
        EXPECT_EQ(FullStringOf(p.Get()), before);
        EXPECT_EQ(HistoryOf(p.Get()).size(), 1u);
    }
    EXPECT_EQ(FormOf(p.Get())->put_FullString(nullptr), E_INVALIDARG);
    EXPECT_EQ(FullStringOf(p.Get()), before);

    ASSERT_EQ(PutFullString(p.Get(), u"<OTHER><BLPROTOCOL AT=\"0\"/></OTHER>"), S_OK);
    std::u16string reset = kEmptyAt0;
    // Clean keeps the originator's type and the number.
    reset.replace(reset.find(u"<T0 VAL=\"0\"/>"), 13, u"<T0 VAL=\"21\"/>");
    reset.replace(reset.find(u"<NUM VAL=\"\"/>"), 13, u"<NUM VAL=\"ЛН 123\"/>");
    EXPECT_EQ(FullStringOf(p.Get()), reset);
    EXPECT_TRUE(HistoryOf(p.Get()).empty());
}

// An embedded text that is not XML makes writing fail with the DOM's code.
TEST(ProtocolXml, EmbeddedTextThatIsNotXmlFailsSerialisation) {
    HostEnvironment host;
    auto p = NewProtocol(0);
    ASSERT_EQ(p->put_XmlSrednFromPrem(Bstr(u"<SREDNFROMPREM>")), S_OK);
    BSTR text = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(FormOf(p.Get())->get_FullString(&text), E_FAIL);
    EXPECT_EQ(text, nullptr);
    ComPtr<IUnknown> element;
    EXPECT_EQ(p->get_xmlProtocol(element.GetAddressOf()), E_FAIL);
    EXPECT_EQ(element, nullptr);
}

TEST(ProtocolXml, MembersThatDoNothing) {
    HostEnvironment host;
    auto p = NewProtocol(0);
    Fill(p.Get());
    const std::u16string before = FullStringOf(p.Get());
    auto form = FormOf(p.Get());
    EXPECT_EQ(p->put_xmlProtocol(nullptr), E_NOTIMPL);
    EXPECT_EQ(form->ParseIn(nullptr, 0), S_OK);
    EXPECT_EQ(form->ParseFrom(nullptr, 0), S_OK);
    BSTR s = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(form->get_ShortString(&s), E_NOTIMPL);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(form->get_ShortString(nullptr), E_POINTER);
    EXPECT_EQ(form->put_ShortString(Bstr(u"x")), E_NOTIMPL);
    EXPECT_EQ(form->get_FullString(nullptr), E_POINTER);
    EXPECT_EQ(p->get_xmlProtocol(nullptr), E_POINTER);
    EXPECT_EQ(FullStringOf(p.Get()), before);
}

// A class object whose objects cannot be created.
HRESULT CannotCreate(IUnknown*, REFIID, void** ppv) {
    if (ppv) *ppv = nullptr;
    return E_OUTOFMEMORY;
}

TEST(ProtocolXml, MissingXmlServiceIsMessage117) {
    HostEnvironment host;
    SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    auto p = NewProtocol(0);
    {
        doctest::ClassRegistration broken(CLSID_DOMDocument40, &CannotCreate);
        SetErrorInfo(0, nullptr);
        BSTR text = reinterpret_cast<BSTR>(1);
        EXPECT_EQ(FormOf(p.Get())->get_FullString(&text), E_FAIL);
        EXPECT_EQ(text, nullptr);
        auto report = TakeErrorInfo();
        EXPECT_EQ(report.description, u"Ioeaea i?e iiaee??aiee e MS XML");
        EXPECT_TRUE(IsEqualGUID(report.guid, IID_IOrvBLDocProtocol));
        EXPECT_EQ(PutFullString(p.Get(), kEmptyAt0), E_FAIL);
        ComPtr<IUnknown> element;
        EXPECT_EQ(p->get_xmlProtocol(element.GetAddressOf()), E_FAIL);
        ASSERT_EQ(host.Messages().size(), 3u);
        EXPECT_EQ(host.Messages()[0], u"Ioeaea i?e iiaee??aiee e MS XML");
    }
    SetThreadUILanguage(LANG_NEUTRAL);
    EXPECT_EQ(FullStringOf(p.Get()), kEmptyAt0);
}

}  // namespace
