// The kinds with indexed fields or a content of their own: hours by day (SR),
// schedules by financing source (MG), vaccinations by index (IJ), the job
// record's periods text (JB), the two names of each schedule text (TV) and
// the vacation object of VV.
#include "kind_support.h"

#include "kinds/all_kinds.h"

#include <orvdocs/automation.h>

#include <optional>

namespace {

using kinds_test::Body;
using kinds_test::NewKind;
using kinds_test::RootXml;
using kinds_test::SetBody;
using kinds_test::Take;
using kinds_test::Utf8;
using orv::Bstr;

TEST(HoursByDay, DaysWithHoursAreWrittenInDayOrderAndOtherDaysRefused) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto sr = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    for (auto [day, hours] : {std::pair{31, 7.25}, {1, 8.0}, {15, -2.5}, {2, 4.0}, {2, 0.0}})
        ASSERT_EQ(sr->put_Hours(day, hours), S_OK);
    ASSERT_EQ(sr->put_PayType(-170), S_OK);
    for (LONG day : {LONG{0}, LONG{32}, LONG{-1}, LONG{INT32_MIN}}) {
        double h = 99.0;
        EXPECT_EQ(sr->get_Hours(day, &h), E_INVALIDARG) << day;
        EXPECT_EQ(h, 0.0);
        EXPECT_EQ(sr->put_Hours(day, 5.0), E_INVALIDARG) << day;
    }
    EXPECT_EQ(sr->get_Hours(1, nullptr), E_POINTER);
    ASSERT_EQ(sr->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(RootXml(doc.Get(), u"SRDOCEX")),
              "<SRDOCEX ID=\"-170\"><D ID=\"1\">8</D><D ID=\"15\">-2.5</D><D ID=\"31\">7.25</D></SRDOCEX>");

    auto fresh = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    for (LONG d = 1; d <= 31; ++d) {
        double h = -1.0;
        ASSERT_EQ(fresh->get_Hours(d, &h), S_OK);
        EXPECT_EQ(h, d == 1 ? 8.0 : d == 15 ? -2.5 : d == 31 ? 7.25 : 0.0) << d;
    }
    LONG payType = 0;
    ASSERT_EQ(fresh->get_PayType(&payType), S_OK);
    EXPECT_EQ(payType, -170);
}

TEST(HoursByDay, HandWrittenBodiesUseLenientNumbersSkipStrayDaysAndClearOldHours) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(),
            u"<SRDOCEX ID='12,0'><D ID='3'>7,5</D><D ID='0'>9</D><D ID='32'>9</D><D>9</D>"
            u"<D ID='5'> 1 234.5 </D><D ID='3'>6</D><X ID='4'>9</X></SRDOCEX>");
    auto sr = NewKind<orv::OrvSRDoc, IOrvSRDoc>(doc.Get());
    ASSERT_EQ(sr->put_Hours(10, 3.0), S_OK);  // not in the body: cleared
    ASSERT_EQ(sr->InitFromExtension(), S_OK);
    const std::pair<LONG, double> expected[] = {{3, 6.0}, {5, 1234.5}, {4, 0.0}, {10, 0.0}, {1, 0.0}, {31, 0.0}};
    for (auto [day, hours] : expected) {
        double h = -1.0;
        ASSERT_EQ(sr->get_Hours(day, &h), S_OK);
        EXPECT_EQ(h, hours) << day;
    }
    LONG payType = 0;
    ASSERT_EQ(sr->get_PayType(&payType), S_OK);
    EXPECT_EQ(payType, 12);
}

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
    ASSERT_EQ(mg->put_Grafic(7, Bstr(u"8 8 В")), S_OK);
    ASSERT_EQ(mg->put_GrTotal(-1, 0.5), S_OK);
    ASSERT_EQ(mg->put_GrTotal(7, 168.75), S_OK);
    ASSERT_EQ(mg->put_Grafic(0, Bstr(u"<x & \"y\"")), S_OK);
    ASSERT_EQ(mg->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(RootXml(doc.Get(), u"MGGRAFICS")),
              Utf8(u"<MGGRAFICS><LINE FR=\"-1\" GRTOTAL=\"0.5\" GRAFIC=\"\"/>"
                   u"<LINE FR=\"0\" GRTOTAL=\"0\" GRAFIC=\"&lt;x &amp; &quot;y&quot;\"/>"
                   u"<LINE FR=\"7\" GRTOTAL=\"168.75\" GRAFIC=\"8 8 В\"/></MGGRAFICS>"));

    auto fresh = NewKind<orv::OrvMGDoc, IOrvMGDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    EXPECT_EQ(Utf8(Grafic(fresh.Get(), 7)), Utf8(u"8 8 В"));
    EXPECT_EQ(Total(fresh.Get(), 7), 168.75);
    EXPECT_EQ(Utf8(Grafic(fresh.Get(), 0)), "<x & \"y\"");
    EXPECT_EQ(Total(fresh.Get(), -1), 0.5);
    // A source without a line reads empty, and reading it creates no line.
    EXPECT_EQ(Grafic(fresh.Get(), 3), u"");
    EXPECT_EQ(Total(fresh.Get(), 3), 0.0);
    const std::u16string before = Body(doc.Get());
    ASSERT_EQ(fresh->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(Body(doc.Get())), Utf8(before));
    EXPECT_EQ(fresh->get_GrTotal(1, nullptr), E_POINTER);
}

TEST(SchedulesBySource, HandWrittenLinesReplaceTheOldOnesAndTheLaterLineWins) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(),
            u"<MGGRAFICS><LINE GRAFIC='a' GRTOTAL='1 000,25' FR='2'/><LINE GRTOTAL='5'/>"
            u"<LINE FR='4' GRTOTAL='1 000,25'/><LINE FR='2' GRAFIC='b'/></MGGRAFICS>");
    auto mg = NewKind<orv::OrvMGDoc, IOrvMGDoc>(doc.Get());
    ASSERT_EQ(mg->put_Grafic(9, Bstr(u"old")), S_OK);
    ASSERT_EQ(mg->InitFromExtension(), S_OK);
    EXPECT_EQ(Grafic(mg.Get(), 9), u"") << "lines the body does not name are dropped";
    EXPECT_EQ(Grafic(mg.Get(), 2), u"b");
    EXPECT_EQ(Total(mg.Get(), 2), 0.0) << "the later line replaces the earlier one whole";
    EXPECT_EQ(Total(mg.Get(), 4), 1000.25);
    EXPECT_EQ(Total(mg.Get(), 0), 5.0) << "a line without FR is source 0";
}

struct Vaccination {
    std::u16string name, seria;
    DATE date = -1.0;
};

Vaccination Entry(IOrvIJDoc* ij, LONG index) {
    Vaccination v;
    BSTR text = nullptr;
    EXPECT_EQ(ij->get_IJName(index, &text), S_OK);
    v.name = Take(text);
    EXPECT_EQ(ij->get_IJSeria(index, &text), S_OK);
    v.seria = Take(text);
    EXPECT_EQ(ij->get_IJDate(index, &v.date), S_OK);
    return v;
}

TEST(Vaccinations, EntriesByIndexAreWrittenInOrderAndReadBack) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto ij = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    ASSERT_EQ(ij->put_IJSeria(3, Bstr(u"AB-17")), S_OK);  // creates entry 3
    ASSERT_EQ(ij->put_IJName(1, Bstr(u"Против гриппа")), S_OK);
    ASSERT_EQ(ij->put_IJDate(1, 44927.5), S_OK);
    ASSERT_EQ(ij->put_IJName(1, Bstr(u"Против кори")), S_OK);  // replaces one field only
    ASSERT_EQ(ij->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(RootXml(doc.Get(), u"IJDOCEX")),
              Utf8(u"<IJDOCEX><IJ NDX=\"1\" SER=\"\" NAME=\"Против кори\" DT=\"44927.5\"/>"
                   u"<IJ NDX=\"3\" SER=\"AB-17\" NAME=\"\" DT=\"0\"/></IJDOCEX>"));

    auto fresh = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    ASSERT_EQ(fresh->InitFromExtension(), S_OK);
    Vaccination first = Entry(fresh.Get(), 1), third = Entry(fresh.Get(), 3), absent = Entry(fresh.Get(), 2);
    EXPECT_EQ(Utf8(first.name + u"|" + first.seria), Utf8(u"Против кори|"));
    EXPECT_EQ(first.date, 44927.5);
    EXPECT_EQ(third.name + u"|" + third.seria, u"|AB-17");
    EXPECT_EQ(third.date, 0.0);
    EXPECT_EQ(absent.name + u"|" + absent.seria, u"|");
    EXPECT_EQ(absent.date, 0.0);
}

TEST(Vaccinations, IndicesBelowOneAreRefusedAndSkippedInBodies) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto ij = NewKind<orv::OrvIJDoc, IOrvIJDoc>(doc.Get());
    for (LONG index : {LONG{0}, LONG{-1}, LONG{INT32_MIN}}) {
        BSTR text = nullptr;
        DATE date = 5.0;
        EXPECT_EQ(ij->get_IJName(index, &text), E_INVALIDARG);
        EXPECT_EQ(ij->get_IJSeria(index, &text), E_INVALIDARG);
        EXPECT_EQ(text, nullptr);
        EXPECT_EQ(ij->get_IJDate(index, &date), E_INVALIDARG);
        EXPECT_EQ(date, 0.0);
        EXPECT_EQ(ij->put_IJName(index, Bstr(u"x")), E_INVALIDARG);
        EXPECT_EQ(ij->put_IJSeria(index, Bstr(u"x")), E_INVALIDARG);
        EXPECT_EQ(ij->put_IJDate(index, 1.0), E_INVALIDARG);
    }
    EXPECT_EQ(ij->get_IJDate(1, nullptr), E_POINTER);
    ASSERT_EQ(ij->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(RootXml(doc.Get(), u"IJDOCEX")), "<IJDOCEX/>") << "the refused puts created nothing";

    SetBody(doc.Get(),
            u"<IJDOCEX><IJ DT='44 927,25' NAME='БЦЖ' NDX='2'/><IJ NDX='0' NAME='zero'/><IJ NAME='none'/>"
            u"<IJ NDX='-4' NAME='minus'/><IJ NDX='7.9' SER='s7'/></IJDOCEX>");
    ASSERT_EQ(ij->put_IJName(5, Bstr(u"old")), S_OK);
    ASSERT_EQ(ij->InitFromExtension(), S_OK);
    Vaccination second = Entry(ij.Get(), 2);
    EXPECT_EQ(Utf8(second.name), Utf8(u"БЦЖ"));
    EXPECT_EQ(second.date, 44927.25);
    EXPECT_EQ(Entry(ij.Get(), 7).seria, u"s7") << "an index is cut towards zero";
    EXPECT_EQ(Entry(ij.Get(), 5).name, u"") << "entries the body does not name are dropped";
    ASSERT_EQ(ij->UpdateExtension(), S_OK);
    EXPECT_EQ(RootXml(doc.Get(), u"IJDOCEX").find(u"NDX=\"0\""), std::u16string::npos);
}

std::u16string Periods(IOrvJBDoc* jb) {
    BSTR text = nullptr;
    EXPECT_EQ(jb->get_StagFullBeforePeriods(&text), S_OK);
    EXPECT_NE(text, nullptr);
    return Take(text);
}

TEST(JobRecord, PeriodsTextIsKeptAsTheContentOfItsElement) {
    struct Case {
        std::u16string text, readBack;
    } cases[] = {
        // One document: its top element goes under "SFPR".
        {u"<PERIODS><P FROM=\"36526\" TO=\"37000\"/></PERIODS>", u"<PERIODS><P FROM=\"36526\" TO=\"37000\"/></PERIODS>"},
        // A declaration stays out; the written form is the DOM's own.
        {u"<?xml version=\"1.0\"?>\n<P A='1'></P>", u"<P A=\"1\"/>"},
        // Several top-level nodes, in order, with text between them.
        {u"<P N=\"1\"/>с &amp; по<P N=\"2\">x</P>", u"<P N=\"1\"/>с &amp; по<P N=\"2\">x</P>"},
        // Plain text is a text node; empty gives an empty element.
        {u"с 01.01.2000 по 01.02.2001", u"с 01.01.2000 по 01.02.2001"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
        auto jb = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc.Get());
        ASSERT_EQ(jb->put_Name(Bstr(u"Петров")), S_OK);
        ASSERT_EQ(jb->put_StagFullBeforePeriods(Bstr(c.text)), S_OK);
        ASSERT_EQ(jb->UpdateExtension(), S_OK) << Utf8(c.text);
        const std::u16string content = c.readBack.empty() ? u"<SFPR/>" : u"<SFPR>" + c.readBack + u"</SFPR>";
        EXPECT_EQ(Utf8(RootXml(doc.Get(), u"JBDOCEX")),
                  Utf8(u"<JBDOCEX NM=\"Петров\" POSI=\"\" KURS=\"\" SFB=\"\" SCB=\"\" LS=\"\" MCS=\"\">" + content +
                       u"</JBDOCEX>"));
        auto fresh = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc.Get());
        ASSERT_EQ(fresh->put_StagFullBeforePeriods(Bstr(u"<OLD/>")), S_OK);
        ASSERT_EQ(fresh->InitFromExtension(), S_OK);
        EXPECT_EQ(Utf8(Periods(fresh.Get())), Utf8(c.readBack));
    }
}

TEST(JobRecord, PeriodsThatAreNotXmlFailTheWriteAndKeepTheExtension) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    SetBody(doc.Get(), u"<JBDOCEX NM='x'><SFPR><P/></SFPR></JBDOCEX>");
    auto jb = NewKind<orv::OrvJBDoc, IOrvJBDoc>(doc.Get());
    ASSERT_EQ(jb->put_Name(Bstr(u"Сидоров")), S_OK);
    for (const char16_t* bad : {u"<P>", u"1 < 2", u"<P/></Q>", u"&unknown;"}) {
        ASSERT_EQ(jb->put_StagFullBeforePeriods(Bstr(bad)), S_OK);
        EXPECT_EQ(jb->UpdateExtension(), E_INVALIDARG) << Utf8(bad);
        EXPECT_EQ(Utf8(Body(doc.Get())), "<JBDOCEX NM='x'><SFPR><P/></SFPR></JBDOCEX>");
        EXPECT_EQ(Utf8(Periods(jb.Get())), Utf8(bad));
    }
    ASSERT_EQ(jb->put_StagFullBeforePeriods(Bstr(u"<Q/>")), S_OK);
    ASSERT_EQ(jb->UpdateExtension(), S_OK);
    ASSERT_EQ(jb->InitFromExtension(), S_OK);
    EXPECT_EQ(Periods(jb.Get()), u"<Q/>");
    EXPECT_EQ(jb->get_StagFullBeforePeriods(nullptr), E_POINTER);
}

TEST(Schedules, EachTextHasTwoNames) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument();
    auto tv = NewKind<orv::OrvTVDoc, IOrvTVDoc>(doc.Get());
    ASSERT_EQ(tv->put_NormGrafic2(Bstr(u"norm")), S_OK);
    ASSERT_EQ(tv->put_FactGrafic(Bstr(u"fact")), S_OK);
    BSTR text = nullptr;
    ASSERT_EQ(tv->get_NormGrafic(&text), S_OK);
    EXPECT_EQ(Take(text), u"norm");
    ASSERT_EQ(tv->get_FactGrafic2(&text), S_OK);
    EXPECT_EQ(Take(text), u"fact");
    ASSERT_EQ(tv->put_FactGrafic2(Bstr(u"fact 2")), S_OK);
    ASSERT_EQ(tv->UpdateExtension(), S_OK);
    EXPECT_EQ(Utf8(RootXml(doc.Get(), u"TVEXT")), "<TVEXT NR=\"norm\" FT=\"fact 2\"/>");
}

TEST(VacationProtocolHolder, KeepsOneVacationObjectUntilReplaced) {
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument(349);
    auto vv = NewKind<orv::OrvVVDoc, IOrvVVDoc>(doc.Get());
    orv::ComPtr<IUnknown> first, again, protocol;
    ASSERT_EQ(vv->get_OtProtocol(first.GetAddressOf()), S_OK);
    ASSERT_EQ(vv->get_OtProtocol(again.GetAddressOf()), S_OK);
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), again.Get());
    EXPECT_EQ(first->QueryInterface(IID_IOrvOTProtocol, reinterpret_cast<void**>(protocol.GetAddressOf())), S_OK);

    // Another vacation object replaces it; an object without the protocol is refused.
    orv::ComPtr<IUnknown> other, now, created;
    ASSERT_EQ(orv::CreateSpecific<orv::OrvOTDoc>(doc.Get(), other.GetAddressOf()), S_OK);
    orv::ComPtr<IOrvOTDoc> otherItf;
    ASSERT_EQ(other.As(&otherItf), S_OK);
    ASSERT_EQ(vv->put_OtProtocol(otherItf.Get()), S_OK);
    EXPECT_EQ(vv->put_OtProtocol(doc.Get()), E_NOINTERFACE);
    ASSERT_EQ(vv->get_OtProtocol(now.GetAddressOf()), S_OK);
    EXPECT_EQ(now.Get(), other.Get()) << "the identity of the object put";

    // Forgotten, the next get creates a new one.
    ASSERT_EQ(vv->put_OtProtocol(nullptr), S_OK);
    ASSERT_EQ(vv->get_OtProtocol(created.GetAddressOf()), S_OK);
    ASSERT_TRUE(created);
    EXPECT_NE(created.Get(), other.Get());
    EXPECT_NE(created.Get(), first.Get());

    // Created alone, the holder has no document to bind a vacation object to.
    orv::ComPtr<IOrvVVDoc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvVVDoc>(&alone), S_OK);
    orv::ComPtr<IUnknown> none;
    EXPECT_EQ(alone->get_OtProtocol(none.GetAddressOf()), E_POINTER);
    EXPECT_FALSE(none);
}

// As a host does it: the document hands out the kind for its type code, and
// every member is reached by name.
TEST(PatternKindsByName, EachTypeCodeGivesItsKindWhoseFieldsSurviveTheExtension) {
    struct Case {
        SHORT typeCode;
        const char16_t* property;
        std::optional<LONG> index;
        orv::Variant value;
    };
    auto date = [](DATE d) {
        orv::Variant v(d);
        v.vt = VT_DATE;
        return v;
    };
    const Case cases[] = {
        {332, u"AddressString", {}, orv::Variant(std::u16string_view(u"ул. Мира, 5"))},
        {361, u"SanGigienEdu", {}, orv::Variant(std::u16string_view(u"2023"))},
        {407, u"SprIssueDate", {}, date(45000.5)},
        {250, u"FactGrafic2", {}, orv::Variant(std::u16string_view(u"8 8 8"))},
        {424, u"StagFullBeforePeriods", {}, orv::Variant(std::u16string_view(u"<P A=\"1\"/>"))},
        {408, u"ServiceEnd", {}, date(39000.25)},
        {136, u"Hours", 31, orv::Variant(7.5)},
        {356, u"GrTotal", -3, orv::Variant(12.25)},
        {362, u"IJSeria", 2, orv::Variant(std::u16string_view(u"AB"))},
    };
    auto specific = [](IOrvDocument* doc) {
        orv::ComPtr<IDispatch> disp;
        EXPECT_EQ(doc->GetSpecificObj2(disp.GetAddressOf()), S_OK);
        return disp;
    };
    auto put = [](IDispatch* disp, const Case& c) {
        return c.index ? orv::PutProperty(disp, c.property, {orv::Variant(*c.index)}, c.value)
                       : orv::PutProperty(disp, c.property, c.value);
    };
    auto get = [](IDispatch* disp, const Case& c) {
        return c.index ? orv::GetProperty(disp, c.property, {orv::Variant(*c.index)}) : orv::GetProperty(disp, c.property);
    };
    for (const Case& c : cases) {
        orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument(c.typeCode);
        orv::ComPtr<IDispatch> writer = specific(doc.Get());
        ASSERT_TRUE(writer) << c.typeCode;
        ASSERT_EQ(put(writer.Get(), c).hr, S_OK) << c.typeCode;
        ASSERT_EQ(orv::Invoke(writer.Get(), u"UpdateExtension").hr, S_OK) << c.typeCode;

        orv::ComPtr<IDispatch> reader = specific(doc.Get());
        ASSERT_EQ(orv::Invoke(reader.Get(), u"InitFromExtension").hr, S_OK) << c.typeCode;
        orv::DispResult got = get(reader.Get(), c);
        ASSERT_EQ(got.hr, S_OK) << c.typeCode;
        ASSERT_EQ(got.value.vt, c.value.vt) << c.typeCode;
        if (c.value.vt == VT_BSTR)
            EXPECT_EQ(Utf8(got.value.bstrVal), Utf8(c.value.bstrVal)) << c.typeCode;
        else
            EXPECT_EQ(got.value.dblVal, c.value.dblVal) << c.typeCode;  // date shares the double
    }
    // A refused index reaches the host as the member's status.
    orv::ComPtr<IOrvDocument> doc = kinds_test::NewDocument(136);
    EXPECT_EQ(orv::GetProperty(specific(doc.Get()).Get(), u"Hours", {orv::Variant(LONG{32})}).status, E_INVALIDARG);
}

}  // namespace
