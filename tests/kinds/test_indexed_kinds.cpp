// The kinds with indexed fields or a content of their own: hours by day (SR),
// schedules by financing source (MG), vaccinations by index (IJ), the job
// record's periods text (JB), the two names of each schedule text (TV) and
// the vacation object of VV.
#include "kind_support.h"

#include "kinds/pending_kinds.h"

#include <string>
#include <vector>

namespace {

using kinds_test::Attr;
using kinds_test::Body;
using kinds_test::BodyRoot;
using kinds_test::NewKind;
using kinds_test::SetBody;
using kinds_test::Take;
using kinds_test::Utf8;
using kinds_test::Xml;

std::vector<orv::ComPtr<IXMLDOMElement>> Children(IXMLDOMElement* parent, const char16_t* name) {
    std::vector<orv::ComPtr<IXMLDOMElement>> found;
    orv::ComPtr<IXMLDOMNodeList> list;
    EXPECT_EQ(parent->selectNodes(orv::Bstr(name), list.GetAddressOf()), S_OK);
    LONG n = 0;
    if (list) list->get_length(&n);
    for (LONG i = 0; i < n; ++i) {
        orv::ComPtr<IXMLDOMNode> node;
        list->get_item(i, node.GetAddressOf());
        orv::ComPtr<IXMLDOMElement> e;
        if (node && SUCCEEDED(node.As(&e))) found.push_back(e);
    }
    return found;
}

std::u16string Text(IXMLDOMNode* node) {
    BSTR text = nullptr;
    EXPECT_EQ(node->get_text(&text), S_OK);
    return Take(text);
}

// ------------------------------------------------------------------- SR

double Hours(IOrvSRDoc* sr, LONG day) {
    double h = -1.0;
    EXPECT_EQ(sr->get_Hours(day, &h), S_OK) << day;
    return h;
}

TEST(HoursByDay, DaysWithHoursAreWrittenInOrderAndReadBack) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto sr = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    ASSERT_EQ(sr->put_Hours(31, 7.25), S_OK);
    ASSERT_EQ(sr->put_Hours(1, 8.0), S_OK);
    ASSERT_EQ(sr->put_Hours(15, -2.5), S_OK);
    ASSERT_EQ(sr->put_Hours(2, 4.0), S_OK);
    ASSERT_EQ(sr->put_Hours(2, 0.0), S_OK);  // back to none: not written
    ASSERT_EQ(sr->put_PayType(-170), S_OK);
    ASSERT_EQ(sr->UpdateExtension(), S_OK);

    orv::ComPtr<IXMLDOMElement> root = BodyRoot(doc.Get(), u"SRDOCEX");
    ASSERT_TRUE(root);
    EXPECT_EQ(Attr(root.Get(), u"ID"), u"-170");
    std::vector<orv::ComPtr<IXMLDOMElement>> days = Children(root.Get(), u"D");
    ASSERT_EQ(days.size(), 3u) << Utf8(Body(doc.Get()));
    const char16_t* ids[] = {u"1", u"15", u"31"};
    const char16_t* texts[] = {u"8", u"-2.5", u"7.25"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Attr(days[i].Get(), u"ID"), ids[i]);
        EXPECT_EQ(Utf8(Text(days[i].Get())), Utf8(texts[i]));
    }

    auto fresh = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    for (LONG d = 1; d <= 31; ++d) {
        const double expected = d == 1 ? 8.0 : d == 15 ? -2.5 : d == 31 ? 7.25 : 0.0;
        EXPECT_EQ(Hours(fresh.Get(), d), expected) << d;
    }
    LONG payType = 0;
    ASSERT_EQ(fresh->get_PayType(&payType), S_OK);
    EXPECT_EQ(payType, -170);
}

TEST(HoursByDay, DaysOutsideTheMonthAreRefusedAndChangeNothing) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto sr = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    ASSERT_EQ(sr->put_Hours(31, 1.0), S_OK);
    for (LONG day : {LONG{0}, LONG{32}, LONG{-1}, LONG{INT32_MIN}, LONG{INT32_MAX}}) {
        double h = 99.0;
        EXPECT_EQ(sr->get_Hours(day, &h), E_INVALIDARG) << day;
        EXPECT_EQ(h, 0.0);
        EXPECT_EQ(sr->put_Hours(day, 5.0), E_INVALIDARG) << day;
    }
    for (LONG d = 1; d <= 30; ++d) EXPECT_EQ(Hours(sr.Get(), d), 0.0) << d;
    EXPECT_EQ(Hours(sr.Get(), 31), 1.0);
    EXPECT_EQ(sr->get_Hours(1, nullptr), E_POINTER);
    EXPECT_EQ(sr->get_PayType(nullptr), E_POINTER);
}

TEST(HoursByDay, HandWrittenBodiesUseLenientNumbersSkipStrayDaysAndClearOldHours) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(),
            u"<SRDOCEX ID='12,0'>"
            u"<D ID='3'>7,5</D><D ID='0'>9</D><D ID='32'>9</D><D>9</D>"
            u"<D ID='5'> 1 234.5 </D><D ID='3'>6</D><X ID='4'>9</X></SRDOCEX>");
    auto sr = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    ASSERT_EQ(sr->put_Hours(10, 3.0), S_OK);  // not in the body: cleared
    ASSERT_EQ(sr->InitFromExtension(), S_OK);
    EXPECT_EQ(Hours(sr.Get(), 3), 6.0) << "a later element for a day wins";
    EXPECT_EQ(Hours(sr.Get(), 5), 1234.5);
    EXPECT_EQ(Hours(sr.Get(), 4), 0.0);
    EXPECT_EQ(Hours(sr.Get(), 10), 0.0);
    LONG payType = 0;
    ASSERT_EQ(sr->get_PayType(&payType), S_OK);
    EXPECT_EQ(payType, 12);
    VARIANT_BOOL flag = VARIANT_FALSE;
    ASSERT_EQ(sr->get_IsInitialized(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    // The host may set the flag back.
    ASSERT_EQ(sr->put_IsInitialized(VARIANT_FALSE), S_OK);
    ASSERT_EQ(sr->get_IsInitialized(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_FALSE);
}

// ------------------------------------------------------------------- MG

std::u16string Grafic(IOrvMGDoc* mg, LONG source) {
    BSTR text = nullptr;
    EXPECT_EQ(mg->get_Grafic(source, &text), S_OK);
    EXPECT_NE(text, nullptr);
    return Take(text);
}

double Total(IOrvMGDoc* mg, LONG source) {
    double total = -1.0;
    EXPECT_EQ(mg->get_GrTotal(source, &total), S_OK);
    return total;
}

TEST(SchedulesBySource, OneLinePerSourceInSourceOrderReadBackWhole) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto mg = NewKind<orv::OrvMGDoc, IOrvMGDoc>(doc.Get());
    ASSERT_EQ(mg->put_Grafic(7, orv::Bstr(u"8 8 8 8 8 В В")), S_OK);
    ASSERT_EQ(mg->put_GrTotal(-1, 0.5), S_OK);  // a line with a total only
    ASSERT_EQ(mg->put_GrTotal(7, 168.75), S_OK);
    ASSERT_EQ(mg->put_Grafic(0, orv::Bstr(u"<пятидневка> & \"смена\"")), S_OK);
    ASSERT_EQ(mg->UpdateExtension(), S_OK);

    orv::ComPtr<IXMLDOMElement> root = BodyRoot(doc.Get(), u"MGGRAFICS");
    ASSERT_TRUE(root);
    std::vector<orv::ComPtr<IXMLDOMElement>> lines = Children(root.Get(), u"LINE");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Utf8(Xml(lines[0].Get())), "<LINE FR=\"-1\" GRTOTAL=\"0.5\" GRAFIC=\"\"/>");
    EXPECT_EQ(Attr(lines[1].Get(), u"FR"), u"0");
    EXPECT_EQ(Attr(lines[1].Get(), u"GRTOTAL"), u"0");
    EXPECT_EQ(Attr(lines[2].Get(), u"FR"), u"7");
    EXPECT_EQ(Attr(lines[2].Get(), u"GRTOTAL"), u"168.75");

    auto fresh = NewKind<orv::OrvMGDoc, IOrvMGDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    EXPECT_EQ(Utf8(Grafic(fresh.Get(), 7)), Utf8(u"8 8 8 8 8 В В"));
    EXPECT_EQ(Total(fresh.Get(), 7), 168.75);
    EXPECT_EQ(Utf8(Grafic(fresh.Get(), 0)), Utf8(u"<пятидневка> & \"смена\""));
    EXPECT_EQ(Total(fresh.Get(), 0), 0.0);
    EXPECT_EQ(Grafic(fresh.Get(), -1), u"");
    EXPECT_EQ(Total(fresh.Get(), -1), 0.5);
    // A source without a line reads empty, and reading it creates no line.
    EXPECT_EQ(Grafic(fresh.Get(), 3), u"");
    EXPECT_EQ(Total(fresh.Get(), 3), 0.0);
    ASSERT_EQ(fresh->UpdateExtension(), S_OK);
    EXPECT_EQ(Children(BodyRoot(doc.Get(), u"MGGRAFICS").Get(), u"LINE").size(), 3u);
    EXPECT_EQ(fresh->get_Grafic(1, nullptr), E_POINTER);
    EXPECT_EQ(fresh->get_GrTotal(1, nullptr), E_POINTER);
}

TEST(SchedulesBySource, HandWrittenLinesReplaceTheOldOnesAndTheLaterLineWins) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(),
            u"<MGGRAFICS><LINE GRAFIC='a' GRTOTAL='1 000,25' FR='2'/><LINE GRTOTAL='5'/>"
            u"<LINE FR='2' GRAFIC='b'/></MGGRAFICS>");
    auto mg = NewKind<orv::OrvMGDoc, IOrvMGDoc>(doc.Get());
    ASSERT_EQ(mg->put_Grafic(9, orv::Bstr(u"old")), S_OK);
    ASSERT_EQ(mg->InitFromExtension(), S_OK);
    EXPECT_EQ(Grafic(mg.Get(), 9), u"") << "lines the body does not name are dropped";
    EXPECT_EQ(Grafic(mg.Get(), 2), u"b");
    EXPECT_EQ(Total(mg.Get(), 2), 0.0) << "the later line has no total";
    EXPECT_EQ(Total(mg.Get(), 0), 5.0) << "a line without FR is source 0";
}

// ------------------------------------------------------------------- IJ

struct Vaccination {
    std::u16string name, seria;
    DATE date = -1.0;
};

Vaccination Entry(IOrvIJDoc* ij, LONG index) {
    Vaccination v;
    BSTR text = nullptr;
    EXPECT_EQ(ij->get_IJName(index, &text), S_OK);
    v.name = Take(text);
    text = nullptr;
    EXPECT_EQ(ij->get_IJSeria(index, &text), S_OK);
    v.seria = Take(text);
    EXPECT_EQ(ij->get_IJDate(index, &v.date), S_OK);
    return v;
}

TEST(Vaccinations, EntriesByIndexAreWrittenInOrderAndReadBack) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto ij = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    ASSERT_EQ(ij->put_IJSeria(3, orv::Bstr(u"AB-17")), S_OK);  // creates entry 3
    ASSERT_EQ(ij->put_IJName(1, orv::Bstr(u"Против гриппа")), S_OK);
    ASSERT_EQ(ij->put_IJDate(1, 44927.5), S_OK);
    ASSERT_EQ(ij->put_IJName(1, orv::Bstr(u"Против кори")), S_OK);  // replaces one field only
    ASSERT_EQ(ij->UpdateExtension(), S_OK);

    orv::ComPtr<IXMLDOMElement> root = BodyRoot(doc.Get(), u"IJDOCEX");
    ASSERT_TRUE(root);
    std::vector<orv::ComPtr<IXMLDOMElement>> entries = Children(root.Get(), u"IJ");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(Utf8(Xml(entries[0].Get())), Utf8(u"<IJ NDX=\"1\" SER=\"\" NAME=\"Против кори\" DT=\"44927.5\"/>"));
    EXPECT_EQ(Utf8(Xml(entries[1].Get())), "<IJ NDX=\"3\" SER=\"AB-17\" NAME=\"\" DT=\"0\"/>");

    auto fresh = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    Vaccination first = Entry(fresh.Get(), 1);
    EXPECT_EQ(Utf8(first.name), Utf8(u"Против кори"));
    EXPECT_EQ(first.seria, u"");
    EXPECT_EQ(first.date, 44927.5);
    Vaccination third = Entry(fresh.Get(), 3);
    EXPECT_EQ(third.name, u"");
    EXPECT_EQ(third.seria, u"AB-17");
    EXPECT_EQ(third.date, 0.0);
    Vaccination absent = Entry(fresh.Get(), 2);
    EXPECT_EQ(absent.name, u"");
    EXPECT_EQ(absent.seria, u"");
    EXPECT_EQ(absent.date, 0.0);
}

TEST(Vaccinations, IndicesBelowOneAreRefusedOnEveryMember) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto ij = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    for (LONG index : {LONG{0}, LONG{-1}, LONG{INT32_MIN}}) {
        BSTR text = nullptr;
        DATE date = 5.0;
        EXPECT_EQ(ij->get_IJName(index, &text), E_INVALIDARG);
        EXPECT_EQ(text, nullptr);
        EXPECT_EQ(ij->get_IJSeria(index, &text), E_INVALIDARG);
        EXPECT_EQ(ij->get_IJDate(index, &date), E_INVALIDARG);
        EXPECT_EQ(date, 0.0);
        EXPECT_EQ(ij->put_IJName(index, orv::Bstr(u"x")), E_INVALIDARG);
        EXPECT_EQ(ij->put_IJSeria(index, orv::Bstr(u"x")), E_INVALIDARG);
        EXPECT_EQ(ij->put_IJDate(index, 1.0), E_INVALIDARG);
    }
    EXPECT_EQ(ij->get_IJName(1, nullptr), E_POINTER);
    EXPECT_EQ(ij->get_IJSeria(1, nullptr), E_POINTER);
    EXPECT_EQ(ij->get_IJDate(1, nullptr), E_POINTER);
    // Nothing was created by the refused puts.
    ASSERT_EQ(ij->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Xml(BodyRoot(doc.Get(), u"IJDOCEX").Get())), "<IJDOCEX/>");
}

TEST(Vaccinations, HandWrittenEntriesSkipBadIndicesAndReplaceTheOldList) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(),
            u"<IJDOCEX><IJ DT='44 927,25' NAME='БЦЖ' NDX='2'/><IJ NDX='0' NAME='zero'/><IJ NAME='none'/>"
            u"<IJ NDX='-4' NAME='minus'/><IJ NDX='7.9' SER='s7'/></IJDOCEX>");
    auto ij = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    ASSERT_EQ(ij->put_IJName(5, orv::Bstr(u"old")), S_OK);
    ASSERT_EQ(ij->InitFromExtension(), S_OK);
    Vaccination second = Entry(ij.Get(), 2);
    EXPECT_EQ(Utf8(second.name), Utf8(u"БЦЖ"));
    EXPECT_EQ(second.date, 44927.25);
    EXPECT_EQ(Entry(ij.Get(), 7).seria, u"s7") << "an index is cut towards zero";
    EXPECT_EQ(Entry(ij.Get(), 5).name, u"");
    ASSERT_EQ(ij->UpdateExtension(), S_OK);
    EXPECT_EQ(Children(BodyRoot(doc.Get(), u"IJDOCEX").Get(), u"IJ").size(), 2u);
}

// ------------------------------------------------------------------- JB

std::u16string Periods(IOrvJBDoc* jb) {
    BSTR text = nullptr;
    EXPECT_EQ(jb->get_StagFullBeforePeriods(&text), S_OK);
    EXPECT_NE(text, nullptr);
    return Take(text);
}

// Writes the periods text through one object and reads it through another.
std::u16string PeriodsRoundTrip(IOrvDocument* doc, std::u16string_view text) {
    auto jb = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc);
    EXPECT_EQ(jb->put_Name(orv::Bstr(u"Петров")), S_OK);
    EXPECT_EQ(jb->put_StagFullBeforePeriods(orv::Bstr(text)), S_OK);
    EXPECT_EQ(jb->UpdateExtension(), S_OK) << Utf8(text);
    auto fresh = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc);
    EXPECT_EQ(fresh->InitFromExtension(), S_OK);
    return Periods(fresh.Get());
}

TEST(JobRecord, PeriodsTextIsKeptAsTheContentOfItsElement) {
    struct Case {
        std::u16string text, readBack, content;
    } cases[] = {
        // One document: its top element goes under "SFPR".
        {u"<PERIODS><P FROM=\"36526\" TO=\"37000\"/></PERIODS>", u"<PERIODS><P FROM=\"36526\" TO=\"37000\"/></PERIODS>",
         u"<SFPR><PERIODS><P FROM=\"36526\" TO=\"37000\"/></PERIODS></SFPR>"},
        // A declaration stays out; the written form is the DOM's own.
        {u"<?xml version=\"1.0\"?>\n<P A='1'></P>", u"<P A=\"1\"/>", u"<SFPR><P A=\"1\"/></SFPR>"},
        // Several top-level nodes, in order, with text between them.
        {u"<P N=\"1\"/>с &amp; по<P N=\"2\">x</P>", u"<P N=\"1\"/>с &amp; по<P N=\"2\">x</P>",
         u"<SFPR><P N=\"1\"/>с &amp; по<P N=\"2\">x</P></SFPR>"},
        // Plain text is a text node.
        {u"с 01.01.2000 по 01.02.2001", u"с 01.01.2000 по 01.02.2001", u"<SFPR>с 01.01.2000 по 01.02.2001</SFPR>"},
        // Empty: an empty element.
        {u"", u"", u"<SFPR/>"},
    };
    for (const Case& c : cases) {
        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
        EXPECT_EQ(Utf8(PeriodsRoundTrip(doc.Get(), c.text)), Utf8(c.readBack));
        orv::ComPtr<IXMLDOMElement> root = BodyRoot(doc.Get(), u"JBDOCEX");
        ASSERT_TRUE(root);
        EXPECT_EQ(Attr(root.Get(), u"NM"), u"Петров");
        std::vector<orv::ComPtr<IXMLDOMElement>> sfpr = Children(root.Get(), u"SFPR");
        ASSERT_EQ(sfpr.size(), 1u);
        EXPECT_EQ(Utf8(Xml(sfpr[0].Get())), Utf8(c.content));
    }
}

TEST(JobRecord, PeriodsThatAreNotXmlFailTheWriteAndKeepTheExtension) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    PeriodsRoundTrip(doc.Get(), u"<P/>");
    const std::u16string before = Body(doc.Get());
    auto jb = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc.Get());
    ASSERT_EQ(jb->put_Name(orv::Bstr(u"Сидоров")), S_OK);
    for (const char16_t* bad : {u"<P>", u"1 < 2", u"<P/></Q>", u"&unknown;"}) {
        ASSERT_EQ(jb->put_StagFullBeforePeriods(orv::Bstr(bad)), S_OK);
        EXPECT_EQ(jb->UpdateExtension(), E_INVALIDARG) << Utf8(bad);
        EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(before));
        EXPECT_EQ(Utf8(Periods(jb.Get())), Utf8(bad));
    }
    // A later valid text is written as usual.
    ASSERT_EQ(jb->put_StagFullBeforePeriods(orv::Bstr(u"<Q/>")), S_OK);
    ASSERT_EQ(jb->UpdateExtension(), S_OK);
    auto fresh = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    EXPECT_EQ(Periods(fresh.Get()), u"<Q/>");
}

TEST(JobRecord, ABodyWithoutPeriodsClearsThem) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(), u"<JBDOCEX NM='x'/>");
    auto jb = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc.Get());
    ASSERT_EQ(jb->put_StagFullBeforePeriods(orv::Bstr(u"<P/>")), S_OK);
    ASSERT_EQ(jb->InitFromExtension(), S_OK);
    EXPECT_EQ(Periods(jb.Get()), u"");
    EXPECT_EQ(jb->get_StagFullBeforePeriods(nullptr), E_POINTER);
}

// ------------------------------------------------------------------- TV

TEST(Schedules, EachTextHasTwoNames) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto tv = NewKind<orv::OrvTVDoc, IOrvTVDoc>(doc.Get());
    ASSERT_EQ(tv->put_NormGrafic2(orv::Bstr(u"norm")), S_OK);
    ASSERT_EQ(tv->put_FactGrafic(orv::Bstr(u"fact")), S_OK);
    BSTR text = nullptr;
    ASSERT_EQ(tv->get_NormGrafic(&text), S_OK);
    EXPECT_EQ(Take(text), u"norm");
    ASSERT_EQ(tv->get_FactGrafic2(&text), S_OK);
    EXPECT_EQ(Take(text), u"fact");
    ASSERT_EQ(tv->put_FactGrafic2(orv::Bstr(u"fact 2")), S_OK);
    ASSERT_EQ(tv->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Xml(BodyRoot(doc.Get(), u"TVEXT").Get())), "<TVEXT NR=\"norm\" FT=\"fact 2\"/>");
    EXPECT_EQ(tv->get_NormGrafic2(nullptr), E_POINTER);
    EXPECT_EQ(tv->get_FactGrafic2(nullptr), E_POINTER);
}

TEST(Schedules, OrvDocumentIsTheCreatingDocumentAndCannotBeReplaced) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto tv = NewKind<orv::OrvTVDoc, IOrvTVDoc>(doc.Get());
    orv::ComPtr<IUnknown> got;
    ASSERT_EQ(tv->get_OrvDocument(got.GetAddressOf()), S_OK);
    orv::ComPtr<IUnknown> identity;
    ASSERT_EQ(doc.As(&identity), S_OK);
    orv::ComPtr<IUnknown> gotIdentity;
    ASSERT_EQ(got.As(&gotIdentity), S_OK);
    EXPECT_EQ(gotIdentity.Get(), identity.Get());
    orv::ComPtr<IOrvDocument> other = kinds_test::NewDocument();
    EXPECT_EQ(tv->put_OrvDocument(other.Get()), E_NOTIMPL);
    EXPECT_EQ(tv->get_OrvDocument(nullptr), E_POINTER);
}

// ------------------------------------------------------------------- VV

TEST(VacationProtocolHolder, KeepsOneVacationObjectUntilReplaced) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument(349);
    auto vv = NewKind<orv::OrvVVDoc, IOrvVVDoc>(doc.Get());
    orv::ComPtr<IUnknown> first, again;
    ASSERT_EQ(vv->get_OtProtocol(first.GetAddressOf()), S_OK);
    ASSERT_TRUE(first);
    ASSERT_EQ(vv->get_OtProtocol(again.GetAddressOf()), S_OK);
    EXPECT_EQ(first.Get(), again.Get());
    orv::ComPtr<IUnknown> vacation;
    EXPECT_EQ(first->QueryInterface(IID_IOrvOTDoc, reinterpret_cast<void**>(vacation.GetAddressOf())), S_OK);
    EXPECT_EQ(first->QueryInterface(IID_IOrvOTProtocol, reinterpret_cast<void**>(vacation.ReleaseAndGetAddressOf())),
              S_OK);

    // Another vacation object replaces it; one without the protocol is refused.
    orv::ComPtr<IUnknown> other;
    ASSERT_EQ(orv::CreateSpecific<orv::OrvOTDoc>(doc.Get(), other.GetAddressOf()), S_OK);
    orv::ComPtr<IOrvOTDoc> otherItf;
    ASSERT_EQ(other.As(&otherItf), S_OK);
    ASSERT_EQ(vv->put_OtProtocol(otherItf.Get()), S_OK);
    EXPECT_EQ(vv->put_OtProtocol(doc.Get()), E_NOINTERFACE);
    orv::ComPtr<IUnknown> now;
    ASSERT_EQ(vv->get_OtProtocol(now.GetAddressOf()), S_OK);
    EXPECT_EQ(now.Get(), other.Get()) << "the identity of the object put";

    // Forgotten, the next get creates a new one.
    ASSERT_EQ(vv->put_OtProtocol(nullptr), S_OK);
    orv::ComPtr<IUnknown> created;
    ASSERT_EQ(vv->get_OtProtocol(created.GetAddressOf()), S_OK);
    ASSERT_TRUE(created);
    EXPECT_NE(created.Get(), other.Get());
    EXPECT_NE(created.Get(), first.Get());
    EXPECT_EQ(vv->get_OtProtocol(nullptr), E_POINTER);
}

TEST(VacationProtocolHolder, WithoutADocumentThereIsNoVacationObject) {
    orv::ComPtr<IUnknown> alone;
    ASSERT_EQ(orv::CreateInstance<orv::OrvVVDoc>(nullptr, IID_IUnknown, reinterpret_cast<void**>(alone.GetAddressOf())),
              S_OK);
    orv::ComPtr<IOrvVVDoc> vv;
    ASSERT_EQ(alone.As(&vv), S_OK);
    orv::ComPtr<IUnknown> protocol;
    EXPECT_EQ(vv->get_OtProtocol(protocol.GetAddressOf()), E_POINTER);
    EXPECT_FALSE(protocol);
}

}  // namespace
