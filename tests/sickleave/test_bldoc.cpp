// The sick-leave document: the flag word in Dcms(1), StartOfBulleten, the
// extension texts, the XML test, and the protocol kept in the extension.
#include "sickleave_test_util.h"

#include "support/stubs.h"

namespace {

using namespace bltest;

LONGLONG FlagsRaw(IOrvDocument* doc) {
    CY v{};
    EXPECT_EQ(doc->get_Dcms(1, &v), S_OK);
    return v.int64;
}

void SetFlags(IOrvDocument* doc, LONG word) { ASSERT_EQ(doc->put_Dcms(1, Cy(LONGLONG(word) * 100)), S_OK); }

using Getter = HRESULT (IOrvBLDoc::*)(VARIANT_BOOL*);
using Setter = HRESULT (IOrvBLDoc::*)(VARIANT_BOOL);
struct Flag {
    Getter get;
    Setter put;
    LONG mask;
    VARIANT_BOOL on;  // what get answers when set
};
const Flag kFlags[] = {
    {&IOrvBLDoc::get_CalDaysBased, &IOrvBLDoc::put_CalDaysBased, 0x64, VARIANT_TRUE},
    {&IOrvBLDoc::get_OverTimePlus, &IOrvBLDoc::put_OverTimePlus, 0x400, 1},
    {&IOrvBLDoc::get_xmlBasedProtocol, &IOrvBLDoc::put_xmlBasedProtocol, 0x800, VARIANT_TRUE},
    {&IOrvBLDoc::get_Vaccination, &IOrvBLDoc::put_Vaccination, 0x1000, 1},
    {&IOrvBLDoc::get_PainfulIllness, &IOrvBLDoc::put_PainfulIllness, 0x2000, 1},
    {&IOrvBLDoc::get_BabyInvalid, &IOrvBLDoc::put_BabyInvalid, 0x4000, 1},
    {&IOrvBLDoc::get_RegimeViolation, &IOrvBLDoc::put_RegimeViolation, 0x8000, 1},
    {&IOrvBLDoc::get_CompanyFullyPaid, &IOrvBLDoc::put_CompanyFullyPaid, 0x10000, 1},
};

TEST(SickLeaveFlags, EachFlagOwnsItsBitsAndKeepsTheOthers) {
    HostEnvironment host;
    auto s = NewSickLeave();
    // 40.96 is 4096 hundredths: Vaccination only.
    ASSERT_EQ(s.doc->put_Dcms(1, Cy(409600)), S_OK);
    for (const Flag& f : kFlags) {
        VARIANT_BOOL v = 5;
        ASSERT_EQ((s.bl.Get()->*f.get)(&v), S_OK);
        EXPECT_EQ(v, f.mask == 0x1000 ? VARIANT_BOOL(1) : VARIANT_BOOL(0)) << f.mask;
    }
    LONG hours = -1;
    ASSERT_EQ(s.bl->get_HoursBased(&hours), S_OK);
    EXPECT_EQ(hours, 2);

    const LONG others = 0x7FFE0000 | 0x3 | 0x80 | 0x100;
    for (const Flag& f : kFlags) {
        SetFlags(s.doc.Get(), others);
        ASSERT_EQ((s.bl.Get()->*f.put)(2), S_OK);  // any non-zero value is true
        EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(others | f.mask) * 100) << f.mask;
        VARIANT_BOOL v = 0;
        (s.bl.Get()->*f.get)(&v);
        EXPECT_EQ(v, f.on);
        ASSERT_EQ((s.bl.Get()->*f.put)(0), S_OK);
        EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(others) * 100) << f.mask;
        (s.bl.Get()->*f.get)(&v);
        EXPECT_EQ(v, 0);
        EXPECT_EQ((s.bl.Get()->*f.get)(nullptr), E_POINTER);
    }
    // One of the three calendar-day bits is enough.
    SetFlags(s.doc.Get(), 0x20);
    VARIANT_BOOL cal = 0;
    s.bl->get_CalDaysBased(&cal);
    EXPECT_EQ(cal, VARIANT_TRUE);
}

TEST(SickLeaveFlags, WordIsRoundedHundredthsOfDcms) {
    HostEnvironment host;
    auto s = NewSickLeave();
    // 0x400.5 hundredths rounds up to 0x401... the half goes away from zero.
    ASSERT_EQ(s.doc->put_Dcms(1, Cy(LONGLONG(0x400) * 100 + 50)), S_OK);
    ASSERT_EQ(s.bl->put_Vaccination(VARIANT_TRUE), S_OK);
    EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(0x1401) * 100);
    // Just below the half: cut.
    ASSERT_EQ(s.doc->put_Dcms(1, Cy(LONGLONG(0x400) * 100 + 49)), S_OK);
    ASSERT_EQ(s.bl->put_Vaccination(VARIANT_TRUE), S_OK);
    EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(0x1400) * 100);
    // A negative amount: its word keeps every bit through a put.
    SetFlags(s.doc.Get(), LONG(0x80000000u | 0x400));
    VARIANT_BOOL v = 0;
    s.bl->get_OverTimePlus(&v);
    EXPECT_EQ(v, 1);
    ASSERT_EQ(s.bl->put_PainfulIllness(VARIANT_TRUE), S_OK);
    EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(LONG(0x80000000u | 0x2400)) * 100);
}

TEST(SickLeaveFlags, HoursBasedHasThreeStates) {
    HostEnvironment host;
    auto s = NewSickLeave();
    SetFlags(s.doc.Get(), 0x300 | 0x1);
    LONG v = -1;
    s.bl->get_HoursBased(&v);
    EXPECT_EQ(v, 1);  // 0x100 wins
    ASSERT_EQ(s.bl->put_HoursBased(0), S_OK);
    EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(0x201) * 100);
    s.bl->get_HoursBased(&v);
    EXPECT_EQ(v, 0);
    ASSERT_EQ(s.bl->put_HoursBased(1), S_OK);
    EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(0x101) * 100);
    ASSERT_EQ(s.bl->put_HoursBased(5), S_OK);
    EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(0x1) * 100);
    s.bl->get_HoursBased(&v);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(s.bl->get_HoursBased(nullptr), E_POINTER);
}

// xmlBasedProtocol true marks both access-type views of the record and
// leaves the document's access type as it was.
TEST(SickLeaveFlags, XmlBasedProtocolIsWrittenInBothViews) {
    HostEnvironment host;
    for (LONG at : {0, 1}) {
        auto s = NewSickLeave();
        ASSERT_EQ(s.doc->put_AT(1), S_OK);
        SetFlags(s.doc.Get(), 0x10000);  // the secondary view's own word
        ASSERT_EQ(s.doc->put_AT(0), S_OK);
        SetFlags(s.doc.Get(), 0x400);
        ASSERT_EQ(s.doc->put_AT(at), S_OK);
        ASSERT_EQ(s.bl->put_xmlBasedProtocol(VARIANT_TRUE), S_OK);
        LONG after = -1;
        s.doc->get_AT(&after);
        EXPECT_EQ(after, at);
        const LONG word = (at == 0 ? 0x400 : 0x10000) | 0x800;
        for (LONG view : {0, 1}) {
            s.doc->put_AT(view);
            EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(word) * 100) << at << view;
        }
        // False clears the bit in the current view only.
        s.doc->put_AT(0);
        ASSERT_EQ(s.bl->put_xmlBasedProtocol(VARIANT_FALSE), S_OK);
        EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(word & ~0x800) * 100);
        s.doc->put_AT(1);
        EXPECT_EQ(FlagsRaw(s.doc.Get()), LONGLONG(word) * 100);
    }
}

TEST(SickLeaveFlags, StartOfBulletenIsDflBit20Inverted) {
    HostEnvironment host;
    auto s = NewSickLeave();
    ASSERT_EQ(s.doc->put_Dfl(0x41), S_OK);
    VARIANT_BOOL v = 0;
    ASSERT_EQ(s.bl->get_StartOfBulleten(&v), S_OK);
    EXPECT_EQ(v, VARIANT_TRUE);
    ASSERT_EQ(s.bl->put_StartOfBulleten(VARIANT_FALSE), S_OK);
    LONG dfl = 0;
    s.doc->get_Dfl(&dfl);
    EXPECT_EQ(dfl, 0x61);
    s.bl->get_StartOfBulleten(&v);
    EXPECT_EQ(v, 0);
    ASSERT_EQ(s.bl->put_StartOfBulleten(-1), S_OK);
    s.doc->get_Dfl(&dfl);
    EXPECT_EQ(dfl, 0x41);
}

TEST(SickLeaveFlags, WithoutDocumentEveryRecordMemberIsAReportedPointerError) {
    HostEnvironment host;
    ComPtr<IOrvBLDoc> loose;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvBLDoc, nullptr, CLSCTX_ALL, IID_IOrvBLDoc,
                               reinterpret_cast<void**>(loose.GetAddressOf())),
              S_OK);
    VARIANT_BOOL v = 0;
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(loose->get_Vaccination(&v), E_POINTER);
    EXPECT_TRUE(IsEqualGUID(TakeErrorInfo().guid, IID_IOrvDocument));
    EXPECT_EQ(loose->put_HoursBased(1), E_POINTER);
    EXPECT_EQ(loose->get_StartOfBulleten(&v), E_POINTER);
    EXPECT_EQ(loose->InitFromExtension(), E_POINTER);
    EXPECT_EQ(loose->UpdateExtension(), E_POINTER);
    ComPtr<IUnknown> p;
    EXPECT_EQ(loose->get_BlProtocol(p.GetAddressOf()), E_POINTER);
    // Plain fields need no document.
    EXPECT_EQ(loose->put_RelativeBirthYear(2010), S_OK);
}

// ----------------------------------------------------------------- extension

TEST(SickLeaveExtension, EmptyDocumentWritesExtWithAnEmptyProtocol) {
    HostEnvironment host;
    auto s = NewSickLeave();
    ASSERT_EQ(s.bl->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(s.doc.Get()), u"<EXT><BLPR5/></EXT>");
    EXPECT_EQ(BodyLength(s.doc.Get()), 19);  // characters, not bytes
}

TEST(SickLeaveExtension, TextsWrittenInOrderAndReadBack) {
    HostEnvironment host;
    auto s = NewSickLeave();
    VARIANT_BOOL init = -1;
    ASSERT_EQ(s.bl->get_IsInitialized(&init), S_OK);
    EXPECT_EQ(init, 0);
    s.bl->put_DoctorFIO(Bstr(u"Сидорова А. В."));
    s.bl->put_MedicalInstitution(Bstr(u"Поликлиника № 3 & Ко"));
    s.bl->put_RelativeBirthYear(2009);
    s.bl->put_RelativeBirthDay(40000.5);
    s.bl->put_RelativeName(Bstr(u"Иванов Пётр"));
    s.bl->put_YearsForAverage(Bstr(u"2023 2024"));
    ASSERT_EQ(s.bl->UpdateExtension(), S_OK);
    const std::u16string expected =
        u"<EXT><YEARS>2023 2024</YEARS><RLNAME>Иванов Пётр</RLNAME><RLBDAY>40000.5</RLBDAY>"
        u"<RLBYEAR>2009</RLBYEAR><MEDINST>Поликлиника № 3 &amp; Ко</MEDINST><DOCFIO>Сидорова А. В.</DOCFIO>"
        u"<BLPR5/></EXT>";
    EXPECT_EQ(BodyText(s.doc.Get()), expected);
    EXPECT_EQ(BodyLength(s.doc.Get()), LONG(expected.size()));

    // A second object on the same document reads them.
    ComPtr<IUnknown> object;
    ASSERT_EQ(s.doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDoc> again;
    ASSERT_EQ(object.As(&again), S_OK);
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    again->get_IsInitialized(&init);
    EXPECT_EQ(init, VARIANT_TRUE);
    Bstr text;
    again->get_MedicalInstitution(text.ReleaseAndGetAddressOf());
    EXPECT_EQ(text.View(), u"Поликлиника № 3 & Ко");
    again->get_RelativeName(text.ReleaseAndGetAddressOf());
    EXPECT_EQ(text.View(), u"Иванов Пётр");
    again->get_YearsForAverage(text.ReleaseAndGetAddressOf());
    EXPECT_EQ(text.View(), u"2023 2024");
    again->get_DoctorFIO(text.ReleaseAndGetAddressOf());
    EXPECT_EQ(text.View(), u"Сидорова А. В.");
    DATE day = 0;
    LONG year = 0;
    again->get_RelativeBirthDay(&day);
    again->get_RelativeBirthYear(&year);
    EXPECT_EQ(day, 40000.5);
    EXPECT_EQ(year, 2009);
    ASSERT_EQ(again->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(s.doc.Get()), expected);

    // An "EXT" without some children empties those fields.
    SetBodyText(s.doc.Get(), u"<EXT><RLNAME>Анна</RLNAME></EXT>");
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    BSTR none = reinterpret_cast<BSTR>(1);
    again->get_DoctorFIO(&none);
    EXPECT_EQ(none, nullptr);
    again->get_RelativeBirthYear(&year);
    EXPECT_EQ(year, 0);
    again->get_RelativeName(text.ReleaseAndGetAddressOf());
    EXPECT_EQ(text.View(), u"Анна");
}

// The body is XML when bit 0x800 is set or when it holds "<EXT>" and is
// longer than five characters; what does not parse changes nothing.
TEST(SickLeaveExtension, XmlTestAndBodiesThatChangeNothing) {
    HostEnvironment host;
    auto s = NewSickLeave();
    s.bl->put_RelativeName(Bstr(u"Было"));
    // Not recognised: the fields stay.
    SetBodyText(s.doc.Get(), u"<EXT/>");
    ASSERT_EQ(s.bl->InitFromExtension(), S_OK);
    Bstr name;
    s.bl->get_RelativeName(name.ReleaseAndGetAddressOf());
    EXPECT_EQ(name.View(), u"Было");
    // Neither XML nor a whole legacy record: no protocol.
    ComPtr<IUnknown> p;
    EXPECT_EQ(s.bl->get_BlProtocol(p.GetAddressOf()), E_INVALIDARG);
    EXPECT_EQ(p, nullptr);
    // With the bit the short form is XML: an empty (reset) protocol.
    ASSERT_EQ(s.bl->put_xmlBasedProtocol(VARIANT_TRUE), S_OK);
    ASSERT_EQ(s.bl->get_BlProtocol(p.GetAddressOf()), S_OK);
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(s.bl->put_xmlBasedProtocol(VARIANT_FALSE), S_OK);

    // Malformed XML with "<EXT>": recognised, refused, nothing changed.
    SetBodyText(s.doc.Get(), u"<EXT><RLNAME>Новое</RLNAME>");
    ASSERT_EQ(s.bl->InitFromExtension(), S_OK);
    s.bl->get_RelativeName(name.ReleaseAndGetAddressOf());
    EXPECT_EQ(name.View(), u"Было");
    p = nullptr;
    EXPECT_EQ(s.bl->get_BlProtocol(p.GetAddressOf()), E_INVALIDARG);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(BodyText(s.doc.Get()), u"<EXT><RLNAME>Новое</RLNAME>");
}

// The protocol through the extension: kept as an element by the put,
// written by UpdateExtension inside "EXT", read back by a new object.
TEST(SickLeaveExtension, ProtocolElementTravelsInsideExt) {
    HostEnvironment host;
    auto s = NewSickLeave();
    auto protocol = NewProtocol(0);
    protocol->put_BlUsedDays(9);
    protocol->AddHistoryItem(NewHistoryItem(20, 45658.0, 100).Get());
    protocol->AddPayMonthItem(NewPayMonth(46023.0, 900, 0).Get());
    const std::u16string text = FullStringOf(protocol.Get());
    s.bl->put_YearsForAverage(Bstr(u"2024 2025"));
    ASSERT_EQ(s.bl->put_BlProtocol(protocol.Get()), S_OK);
    EXPECT_EQ(BodyText(s.doc.Get()), u"");  // written only by UpdateExtension
    ASSERT_EQ(s.bl->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(s.doc.Get()), u"<EXT><YEARS>2024 2025</YEARS>" + text + u"</EXT>");
    // Written twice, the same text.
    ASSERT_EQ(s.bl->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(s.doc.Get()), u"<EXT><YEARS>2024 2025</YEARS>" + text + u"</EXT>");

    ComPtr<IUnknown> object;
    ASSERT_EQ(s.doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDoc> again;
    ASSERT_EQ(object.As(&again), S_OK);
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    ComPtr<IUnknown> got;
    ASSERT_EQ(again->get_BlProtocol(got.GetAddressOf()), S_OK);
    EXPECT_EQ(FullStringOf(got.Get()), text);
    ComPtr<IOrvBLDocProtocol> read;
    ASSERT_EQ(got.As(&read), S_OK);
    EXPECT_EQ(HistoryOf(read.Get()).size(), 1u);
    EXPECT_EQ(PayMonthsOf(read.Get()).size(), 1u);
    // Without InitFromExtension the body itself is read ("EXT/BLPR5").
    ComPtr<IUnknown> third;
    ASSERT_EQ(s.doc->GetSpecificObj(third.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDoc> fresh;
    ASSERT_EQ(third.As(&fresh), S_OK);
    ComPtr<IUnknown> fromBody;
    ASSERT_EQ(fresh->get_BlProtocol(fromBody.GetAddressOf()), S_OK);
    EXPECT_EQ(FullStringOf(fromBody.Get()), text);

    EXPECT_EQ(s.bl->put_BlProtocol(nullptr), E_POINTER);
    EXPECT_EQ(s.bl->put_BlProtocol(s.doc.Get()), E_POINTER);
}

// A protocol without an element of its own: its text becomes the body,
// a bare "BLPR5" document, and the bit 0x800 is set.
class ElementlessProtocol : public orv::CoClass<ElementlessProtocol, &CLSID_OrvBLDocProtocol,
                                                 orv::Stubbed<IOrvBLDocProtocol>, IOrvObjAsXmlString> {
public:
    HRESULT get_xmlProtocol(IUnknown** p) override {
        *p = nullptr;
        return S_OK;
    }
    HRESULT get_FullString(BSTR* p) override {
        *p = SysAllocString(u"<BLPR5><BLPROTOCOL AT=\"0\"><STYPE VAL=\"12\"/></BLPROTOCOL></BLPR5>");
        return S_OK;
    }
    HRESULT get_ShortString(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_ShortString(BSTR) override { return E_NOTIMPL; }
    HRESULT put_FullString(BSTR) override { return E_NOTIMPL; }
    HRESULT ParseIn(IUnknown*, LONG) override { return E_NOTIMPL; }
    HRESULT ParseFrom(IUnknown*, LONG) override { return E_NOTIMPL; }
};

TEST(SickLeaveExtension, ProtocolWithoutElementBecomesTheBody) {
    HostEnvironment host;
    auto s = NewSickLeave();
    ComPtr<IUnknown> fake;
    ASSERT_EQ(orv::CreateObject<ElementlessProtocol>(&fake), S_OK);
    ASSERT_EQ(s.bl->put_BlProtocol(fake.Get()), S_OK);
    const std::u16string body = u"<BLPR5><BLPROTOCOL AT=\"0\"><STYPE VAL=\"12\"/></BLPROTOCOL></BLPR5>";
    EXPECT_EQ(BodyText(s.doc.Get()), body);
    EXPECT_EQ(BodyLength(s.doc.Get()), LONG(body.size()));
    VARIANT_BOOL xml = 0;
    s.bl->get_xmlBasedProtocol(&xml);
    EXPECT_EQ(xml, VARIANT_TRUE);
    // Read back through the bit (the body has no "<EXT>").
    ComPtr<IUnknown> got;
    ASSERT_EQ(s.bl->get_BlProtocol(got.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDocProtocol> read;
    ASSERT_EQ(got.As(&read), S_OK);
    LONG type = 0;
    read->get_SType(&type);
    EXPECT_EQ(type, 12);
    // InitFromExtension finds the bare "BLPR5" too.
    ASSERT_EQ(s.bl->InitFromExtension(), S_OK);
    ASSERT_EQ(s.bl->UpdateExtension(), S_OK);
    EXPECT_EQ(BodyText(s.doc.Get()), u"<EXT>" + body + u"</EXT>");
}

// The document's access type goes to every protocol it hands out, which
// reads its own calculation of a body holding both.
TEST(SickLeaveExtension, ProtocolsFollowTheDocumentsAccessType) {
    HostEnvironment host;
    const std::u16string body =
        u"<EXT><BLPR5><BLPROTOCOL AT=\"0\"><STYPE VAL=\"4\"/></BLPROTOCOL>"
        u"<BLPROTOCOL AT=\"1\"><STYPE VAL=\"5\"/></BLPROTOCOL></BLPR5></EXT>";
    for (LONG at : {0, 1}) {
        Database db(at);
        auto s = NewSickLeave(db.db.Get());
        SetBodyText(s.doc.Get(), body);
        ComPtr<IUnknown> got;
        ASSERT_EQ(s.bl->get_BlProtocol(got.GetAddressOf()), S_OK);
        ComPtr<IOrvBLDocProtocol> read;
        ASSERT_EQ(got.As(&read), S_OK);
        LONG access = -1, type = 0;
        read->GetAccessType(&access);
        read->get_SType(&type);
        EXPECT_EQ(access, at);
        EXPECT_EQ(type, at == 0 ? 4 : 5);
    }
}

// A sick-leave document stored with the host's database service and read
// back as a new document object.
TEST(SickLeaveExtension, StoredAndReadBackThroughTheDatabaseService) {
    HostEnvironment host;
    Database db(0);
    auto s = NewSickLeave(db.db.Get());
    ASSERT_EQ(s.doc->MakeAsNew(), S_OK);
    s.bl->put_Vaccination(VARIANT_TRUE);
    s.bl->put_DoctorFIO(Bstr(u"Петров"));
    auto protocol = NewProtocol(0);
    protocol->put_TotBlSum(Cy(12345600));
    protocol->AddPayMonthItem(NewPayMonth(46023.0, 12345600, 0).Get());
    ASSERT_EQ(s.bl->put_BlProtocol(protocol.Get()), S_OK);
    ASSERT_EQ(s.bl->UpdateExtension(), S_OK);
    ASSERT_EQ(s.doc->Update(0), S_OK);
    ULONG address = 0;
    s.doc->get_DB_ADDR(&address);

    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db.db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    LONG result = 0;
    ASSERT_EQ(doc->InitInnerDocExtension(0, &result), S_OK);
    ComPtr<IUnknown> object;
    ASSERT_EQ(doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    ComPtr<IOrvBLDoc> bl;
    ASSERT_EQ(object.As(&bl), S_OK);
    ASSERT_EQ(bl->InitFromExtension(), S_OK);
    VARIANT_BOOL v = 0;
    bl->get_Vaccination(&v);
    EXPECT_EQ(v, 1);
    Bstr doctor;
    bl->get_DoctorFIO(doctor.ReleaseAndGetAddressOf());
    EXPECT_EQ(doctor.View(), u"Петров");
    ComPtr<IUnknown> got;
    ASSERT_EQ(bl->get_BlProtocol(got.GetAddressOf()), S_OK);
    EXPECT_EQ(FullStringOf(got.Get()), FullStringOf(protocol.Get()));
}

}  // namespace
