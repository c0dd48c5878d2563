// The document as a whole: its specific object by type code (with the
// sick-leave document's own hand-over step and the benefit type tables),
// Clone, Compare field by field, and the display text of every type code.
#include "doc_test_util.h"
#include "fake_services.h"

#include "host/OrvDateService.h"
#include "host/OrvOutsideDoc.h"
#include "sickleave/OrvBLDoc.h"
#include "support/stubs.h"
#include "document/OrvDocExtension.h"
#include "frame/values.h"

#include <algorithm>
#include <functional>

namespace {

using namespace doctest;

ComPtr<IOrvDocument> DocumentOfType(LONG type) {
    auto doc = NewDocument();
    EXPECT_EQ(doc->put_lDcType(type), S_OK);
    return doc;
}

IUnknown* IdentityOf(IUnknown* p) {
    ComPtr<IUnknown> id;
    p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(id.GetAddressOf()));
    return id.Get();  // still held by p
}

DATE DateOf(WORD y, WORD m, WORD d) {
    SYSTEMTIME st{};
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    DATE out = 0;
    EXPECT_TRUE(SystemTimeToVariantTime(&st, &out));
    return out;
}

// ------------------------------------------------------------ specific objects

TEST(SpecificObject, TypeCodeSelectsTheClassAndEveryCallGivesANewObject) {
    struct Case {
        LONG type;
        const IID* iid;
    };
    const Case cases[] = {{1, &IID_IOrvOKDoc},  {48, &IID_IOrvOKDoc}, {7, &IID_IOrvAVDoc},  {21, &IID_IOrvBLDoc},
                          {22, &IID_IOrvOTDoc}, {93, &IID_IOrvUVDoc}, {250, &IID_IOrvTVDoc}, {336, &IID_IOrvTCDoc},
                          {368, &IID_IOrvVODoc}, {424, &IID_IOrvJBDoc}};
    for (const Case& c : cases) {
        auto doc = DocumentOfType(c.type);
        ComPtr<IUnknown> a, b;
        ASSERT_EQ(doc->GetSpecificObj(a.GetAddressOf()), S_OK) << c.type;
        ASSERT_EQ(doc->GetSpecificObj(b.GetAddressOf()), S_OK) << c.type;
        EXPECT_NE(a.Get(), b.Get()) << c.type;
        ComPtr<IUnknown> typed;
        EXPECT_EQ(a.AsIID(*c.iid, &typed), S_OK) << c.type;
    }
}

TEST(SpecificObject, TheObjectHoldsItsDocumentAndGivesItBack) {
    auto doc = DocumentOfType(7);
    ComPtr<IUnknown> object;
    ASSERT_EQ(doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    ComPtr<IOrvAVDoc> advance;
    ASSERT_EQ(object.As(&advance), S_OK);
    IUnknown* docId = IdentityOf(doc.Get());
    doc.Reset();  // the specific object keeps the document alive
    ComPtr<IUnknown> back;
    ASSERT_EQ(advance->get_OrvDocument(back.GetAddressOf()), S_OK);
    EXPECT_EQ(IdentityOf(back.Get()), docId);

    // The dispatch form gives the same kind of object.
    ComPtr<IOrvDocument> again;
    ASSERT_EQ(back.As(&again), S_OK);
    ComPtr<IDispatch> disp;
    ASSERT_EQ(again->GetSpecificObj2(disp.GetAddressOf()), S_OK);
    ComPtr<IOrvAVDoc> viaDisp;
    EXPECT_EQ(disp.As(&viaDisp), S_OK);
}

TEST(SpecificObject, CodesWithoutAKindCreateNothing) {
    for (LONG type : {0, 2, 66 - 35, 409, 500, -1}) {
        auto doc = NewDocument();
        ASSERT_EQ(doc->put_lDcType(type), S_OK);
        IUnknown* out = reinterpret_cast<IUnknown*>(1);
        EXPECT_EQ(doc->GetSpecificObj(&out), E_NOINTERFACE) << type;
        EXPECT_EQ(out, nullptr);
        IDispatch* disp = reinterpret_cast<IDispatch*>(1);
        EXPECT_EQ(doc->GetSpecificObj2(&disp), E_NOINTERFACE) << type;
        EXPECT_EQ(disp, nullptr);
    }
    auto doc = NewDocument();
    EXPECT_EQ(doc->GetSpecificObj(nullptr), E_POINTER);
    EXPECT_EQ(doc->GetSpecificObj2(nullptr), E_POINTER);
}

HRESULT CreateOutsideDoc(IUnknown* outer, REFIID riid, void** ppv) {
    return orv::CreateInstance<orv::host::OrvOutsideDoc>(outer, riid, ppv);
}

TEST(SpecificObject, TypeFourHundredTenIsTheOutsideComponent) {
    auto doc = DocumentOfType(410);
    ComPtr<IUnknown> object;
    EXPECT_EQ(doc->GetSpecificObj(object.GetAddressOf()), REGDB_E_CLASSNOTREG);  // no host component yet
    ClassRegistration outside(CLSID_OrvOutsideDoc, &CreateOutsideDoc);
    ASSERT_EQ(doc->put_Memo(Bstr(u"Иванова Мария")), S_OK);
    ASSERT_EQ(doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    ComPtr<IOrvOutsideDoc> child;
    ASSERT_EQ(object.As(&child), S_OK);
    Bstr name;
    ASSERT_EQ(child->get_Name(name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"Иванова Мария");
}

// The sick-leave document takes its access type from the database service
// when it receives its document.
class SickLeaveHandOver : public ::testing::Test {
protected:
    void SetUp() override {
        dbHolder_ = Make(&db_);
        sessionHolder_ = Make(&session_);
        db_->session = sessionHolder_;
    }
    LONG AccessTypeOf(IOrvDocument* doc, HRESULT expected = S_OK) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(doc->GetSpecificObj(object.GetAddressOf()), expected);
        if (!object) return -1;
        ComPtr<IOrvBLDoc> bl;
        EXPECT_EQ(object.As(&bl), S_OK);
        auto* cls = static_cast<orv::OrvBLDoc*>(static_cast<orv::ComObject<orv::OrvBLDoc>*>(bl.Get()));
        return cls->AccessType();
    }
    FakeDatabase* db_ = nullptr;
    FakeSession* session_ = nullptr;
    ComPtr<IUnknown> dbHolder_, sessionHolder_;
};

TEST_F(SickLeaveHandOver, AccessTypeFollowsTheSession) {
    auto doc = DocumentOfType(21);
    EXPECT_EQ(AccessTypeOf(doc.Get()), 0);  // no database service: nothing asked
    ASSERT_EQ(doc->put_OrvBD(dbHolder_.Get()), S_OK);
    session_->accessType = 7;
    EXPECT_EQ(AccessTypeOf(doc.Get()), 1);
    session_->accessType = 0;
    EXPECT_EQ(AccessTypeOf(doc.Get()), 0);
    EXPECT_EQ(session_->calls, 2);
    // The vacation document has no such step.
    ASSERT_EQ(doc->put_lDcType(0), E_INVALIDARG);
    auto vacation = DocumentOfType(22);
    ASSERT_EQ(vacation->put_OrvBD(dbHolder_.Get()), S_OK);
    ComPtr<IUnknown> object;
    ASSERT_EQ(vacation->GetSpecificObj(object.GetAddressOf()), S_OK);
    EXPECT_EQ(session_->calls, 2);
}

TEST_F(SickLeaveHandOver, AFailingSessionFailsTheHandOver) {
    auto doc = DocumentOfType(21);
    ASSERT_EQ(doc->put_OrvBD(dbHolder_.Get()), S_OK);
    db_->session = nullptr;  // get_Session answers E_NOTIMPL
    EXPECT_EQ(AccessTypeOf(doc.Get(), E_NOTIMPL), -1);
}

// ------------------------------------------------------- benefit type tables

ComPtr<IOrvENUMBlTypes> TypesOf(LONG type) {
    auto doc = DocumentOfType(type);
    ComPtr<IUnknown> object;
    EXPECT_EQ(doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    ComPtr<IOrvENUMBlTypes> types;
    EXPECT_EQ(object.As(&types), S_OK);
    return types;
}

std::vector<std::pair<LONG, std::u16string>> Walk(IOrvENUMBlTypes* types) {
    std::vector<std::pair<LONG, std::u16string>> rows;
    for (int guard = 0; guard < 100; ++guard) {
        Bstr name;
        LONG code = -1;
        HRESULT hr = types->Next(name.ReleaseAndGetAddressOf(), &code);
        if (hr == S_FALSE) {
            EXPECT_EQ(name.Get(), nullptr);
            EXPECT_EQ(code, 0);
            break;
        }
        EXPECT_EQ(hr, S_OK);
        rows.emplace_back(code, std::u16string(name.View()));
    }
    return rows;
}

TEST(BenefitTypes, SickLeaveTableInCodeOrderWithoutThirtyAndThirtyFive) {
    auto types = TypesOf(21);
    auto rows = Walk(types.Get());
    ASSERT_EQ(rows.size(), 40u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // Every text begins with its code and a blank.
        std::u16string prefix = orv::Utf8ToUtf16(std::to_string(rows[i].first) + " ");
        EXPECT_EQ(rows[i].second.substr(0, prefix.size()), prefix) << rows[i].first;
        if (i > 0) {
            EXPECT_GT(rows[i].first, rows[i - 1].first);
        }
        EXPECT_NE(rows[i].first, 30);
        EXPECT_NE(rows[i].first, 35);
    }
    EXPECT_EQ(rows[0].second, u"0 Без оплаты");
    EXPECT_EQ(rows[1].second, u"1 Кишечные  ");  // two trailing blanks
    EXPECT_EQ(rows[21].second, u"21 Гинекологичесекие заболевания");
    EXPECT_EQ(rows[33].second, u"34 Долечивание в Санаторно-курортном учреждении");
    EXPECT_EQ(rows[39].second, u"41 Протезирование в стационаре");

    // After the end every Next answers S_FALSE until Reset.
    Bstr name;
    LONG code = 0;
    EXPECT_EQ(types->Next(name.ReleaseAndGetAddressOf(), &code), S_FALSE);
    ASSERT_EQ(types->Reset(), S_OK);
    ASSERT_EQ(types->Next(name.ReleaseAndGetAddressOf(), &code), S_OK);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(types->Next(nullptr, &code), E_POINTER);
    EXPECT_EQ(types->Next(name.ReleaseAndGetAddressOf(), nullptr), E_POINTER);

    for (LONG missing : {30, 35, 42, -1}) {
        BSTR n = reinterpret_cast<BSTR>(1);
        EXPECT_EQ(types->TypeToName(missing, &n), S_FALSE) << missing;
        EXPECT_EQ(n, nullptr);
    }
    ASSERT_EQ(types->TypeToName(41, name.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(name.View(), u"41 Протезирование в стационаре");

    Bstr piped;
    ASSERT_EQ(types->GetPipedString(piped.ReleaseAndGetAddressOf()), S_OK);
    std::u16string joined;
    for (auto& [c, t] : rows) joined += (joined.empty() ? u"" : u"|") + t;
    EXPECT_EQ(piped.View(), joined);
}

TEST(BenefitTypes, FilterFromTheDatabaseServiceKeepsTheAllowedCodes) {
    FakeDatabase* db = nullptr;
    FakeSettings* settings = nullptr;
    FakeListSetting* allowed = nullptr;
    auto dbHolder = Make(&db);
    auto settingsHolder = Make(&settings);
    auto allowedHolder = Make(&allowed);
    db->settings = settingsHolder;
    settings->settings[773] = allowedHolder;
    // Only 32-bit integers count; codes without a row just filter everything else out.
    allowed->values.emplace_back(LONG(41));
    allowed->values.emplace_back(std::u16string_view(u"1"));
    allowed->values.emplace_back(SHORT(3));
    allowed->values.emplace_back(LONG(12));
    allowed->values.emplace_back(LONG(99));

    auto types = TypesOf(21);
    ASSERT_EQ(types->ApplyFilter(dbHolder.Get()), S_OK);
    ASSERT_EQ(allowed->datesAsked.size(), 1u);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    DATE today = 0;
    SystemTimeToVariantTime(&now, &today);
    EXPECT_NEAR(allowed->datesAsked[0], today, 1.0);
    auto rows = Walk(types.Get());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].first, 12);
    EXPECT_EQ(rows[1].first, 41);
    Bstr piped;
    ASSERT_EQ(types->GetPipedString(piped.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(piped.View(), u"12 ОРВИ|41 Протезирование в стационаре");
    Bstr name;
    EXPECT_EQ(types->TypeToName(5, name.ReleaseAndGetAddressOf()), S_OK);  // the filter does not apply

    // A filter of unknown codes only lets nothing pass.
    allowed->values.clear();
    allowed->values.emplace_back(LONG(500));
    auto other = TypesOf(21);
    ASSERT_EQ(other->ApplyFilter(dbHolder.Get()), S_OK);
    EXPECT_TRUE(Walk(other.Get()).empty());
    BSTR none = reinterpret_cast<BSTR>(1);
    ASSERT_EQ(other->GetPipedString(&none), S_OK);
    EXPECT_EQ(none, nullptr);

    // Each query gives a fresh enumerator; a bad service is E_POINTER.
    auto fresh = TypesOf(21);
    EXPECT_EQ(Walk(fresh.Get()).size(), 40u);
    EXPECT_EQ(fresh->ApplyFilter(nullptr), E_POINTER);
    auto doc = NewDocument();
    EXPECT_EQ(fresh->ApplyFilter(doc.Get()), E_POINTER);  // not a database service
}

TEST(BenefitTypes, VacationTableHasTwelveRowsAndNoFilter) {
    auto types = TypesOf(22);
    ASSERT_EQ(types->ApplyFilter(nullptr), S_OK);
    auto rows = Walk(types.Get());
    ASSERT_EQ(rows.size(), 12u);
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].first, LONG(i + 1));
    EXPECT_EQ(rows[0].second, u"1 Ежегодный");
    EXPECT_EQ(rows[5].second, u"6 По уходу до 1.5");
    EXPECT_EQ(rows[11].second, u"12 Прочие типы отпусков");
    BSTR n = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(types->TypeToName(13, &n), S_FALSE);
    EXPECT_EQ(n, nullptr);
    Bstr piped;
    ASSERT_EQ(types->GetPipedString(piped.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(piped.View().substr(0, 26), u"1 Ежегодный|2 Уч. институт");
    EXPECT_EQ(std::count(piped.View().begin(), piped.View().end(), u'|'), 11);
}

// ------------------------------------------------------------------- Clone

TEST(Clone, CopiesTheDocumentAndStaysIndependent) {
    FakeDatabase* db = nullptr;
    auto dbHolder = Make(&db);
    auto doc = NewDocument();
    PutRecord(doc.Get(), RandomRecord(77, 10));
    ASSERT_EQ(doc->put_DB_ADDR(123), S_OK);
    ASSERT_EQ(doc->put_TimeStamp(9), S_OK);
    ASSERT_EQ(doc->put_AT(1), S_OK);
    ASSERT_EQ(doc->put_RecalculationDate(45000.5), S_OK);
    ASSERT_EQ(doc->put_OrvBD(dbHolder.Get()), S_OK);
    ASSERT_EQ(doc->put_RecordCondition(3), S_OK);
    ASSERT_EQ(doc->put_SkipReadingDocExt(1), S_OK);
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc.As(&ext), S_OK);
    ASSERT_EQ(ext->put_Body(Bstr(u"<EXT/>")), S_OK);
    ASSERT_EQ(ext->put_Length(4), S_OK);

    // Without ExtensionInitialized the extension stays behind.
    ComPtr<IUnknown> unk;
    ASSERT_EQ(doc->Clone(unk.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> clone;
    ASSERT_EQ(unk.As(&clone), S_OK);
    ComPtr<IOrvDocExtension> cloneExt;
    ASSERT_EQ(clone.As(&cloneExt), S_OK);
    LONG n = -1;
    ASSERT_EQ(cloneExt->get_Length(&n), S_OK);
    EXPECT_EQ(n, 0);

    ASSERT_EQ(doc->put_ExtensionInitialized(VARIANT_TRUE), S_OK);
    ASSERT_EQ(doc->Clone(unk.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(unk.As(&clone), S_OK);
    ASSERT_EQ(clone.As(&cloneExt), S_OK);
    EXPECT_NE(IdentityOf(clone.Get()), IdentityOf(doc.Get()));
    EXPECT_EQ(RecordOf(clone.Get()), RecordOf(doc.Get()));
    ULONG u = 0;
    LONG l = 0;
    DATE d = 0;
    VARIANT_BOOL b = 0;
    ASSERT_EQ(clone->get_DB_ADDR(&u), S_OK);
    EXPECT_EQ(u, 123u);
    ASSERT_EQ(clone->get_TimeStamp(&u), S_OK);
    EXPECT_EQ(u, 9u);
    ASSERT_EQ(clone->get_AT(&l), S_OK);
    EXPECT_EQ(l, 1);
    ASSERT_EQ(clone->get_RecalculationDate(&d), S_OK);
    EXPECT_EQ(d, 45000.5);
    ComPtr<IUnknown> cloneDb;
    ASSERT_EQ(clone->get_OrvBD(cloneDb.GetAddressOf()), S_OK);
    EXPECT_EQ(IdentityOf(cloneDb.Get()), dbHolder.Get());  // the same service
    ASSERT_EQ(clone->get_RecordCondition(&l), S_OK);
    EXPECT_EQ(l, 0);
    ASSERT_EQ(clone->get_SkipReadingDocExt(&l), S_OK);
    EXPECT_EQ(l, 0);
    ASSERT_EQ(clone->get_ExtensionInitialized(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
    Bstr body;
    ASSERT_EQ(cloneExt->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(body.View(), u"<EXT/>");
    ASSERT_EQ(cloneExt->get_Length(&n), S_OK);
    EXPECT_EQ(n, 4);

    // Changing the clone leaves the original as it was.
    Bytes before = RecordOf(doc.Get());
    ASSERT_EQ(clone->put_DcSum2(Cy(99900)), S_OK);
    ASSERT_EQ(clone->put_DB_ADDR(5), S_OK);
    ASSERT_EQ(cloneExt->put_Body(Bstr(u"changed")), S_OK);
    EXPECT_EQ(RecordOf(doc.Get()), before);
    ASSERT_EQ(doc->get_DB_ADDR(&u), S_OK);
    EXPECT_EQ(u, 123u);
    ASSERT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(body.View(), u"<EXT/>");
    EXPECT_EQ(doc->Clone(nullptr), E_POINTER);
}

// ----------------------------------------------------------------- Compare

TEST(Compare, EachComparedFieldAloneMakesADifferenceAndEachIgnoredOneDoesNot) {
    // Offsets of one byte inside each field, by name.
    struct Field {
        const char* name;
        std::size_t offset;
        bool compared;
    };
    const Field fields[] = {
        {"Dfl", 0, false},         {"type", 2, true},         {"T1", 5, true},
        {"lDcId", 6, false},       {"dtDn", 8, true},         {"dtDk", 11, true},
        {"EnteringDate", 12, false}, {"DcDat1", 14, true},     {"Dcsum1", 17, true},
        {"DcSum2", 20, true},      {"DcDolg", 27, true},      {"lDcProc", 28, true},
        {"lDcdpod", 31, true},     {"DcType", 32, false},     {"DcType end", 34, false},
        {"DolgOld", 68, true},     {"DcSum3", 75, true},      {"Dcms0", 76, true},
        {"Dcms2", 87, true},       {"LReserv2", 90, true},    {"CodeShpz", 92, true},
        {"CodeVidRab", 95, true},  {"ProjectCode", 96, true}, {"CodeFinRoot", 99, true},
        {"word 100", 100, true},   {"word 100 high", 101, true}, {"dcShort0", 102, false},
        {"dcShort0 high", 103, false}, {"dcShort1", 104, true}, {"dcLong0", 106, true},
        {"dcLong4", 125, true},    {"StaffOrderId", 129, true}, {"Memo", 130, false},
        {"Memo end", 175, false},  {"shAccsType", 176, true}, {"sec Dcsum1", 178, true},
        {"sec DcSum2", 185, true}, {"sec DcDolg", 186, true}, {"sec lDcProc", 191, true},
        {"sec lDcdpod", 192, true}, {"sec DolgOld", 194, true}, {"sec DcSum3", 201, true},
        {"sec Dcms", 202, true},   {"sec Dcms2", 213, true},  {"sec LReserv2", 214, true},
        {"sec dcShort0", 218, false}, {"sec dcShort1", 221, true}, {"sec dcLong0", 222, true},
        {"sec dcLong4", 241, true}, {"lDcRsrv0", 242, true},   {"lDcRsrv4", 261, true},
        {"Dcsum1 high", 262, true}, {"Dcsum1 high end", 265, true}, {"word 266", 266, false},
        {"word 270", 273, false},  {"xlNewReserv", 274, false}, {"tail", 303, false},
    };
    Bytes base = RandomRecord(91, 10);
    std::memcpy(&base[35], "GROUNDS\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 33);
    auto doc = NewDocument();
    PutRecord(doc.Get(), base);
    ComPtr<IUnknown> unk;
    ASSERT_EQ(doc->Clone(unk.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> other;
    ASSERT_EQ(unk.As(&other), S_OK);
    EXPECT_EQ(doc->Compare(other.Get()), S_OK);
    for (const Field& f : fields) {
        Bytes changed = base;
        changed[f.offset] ^= 0x5A;
        PutRecord(other.Get(), changed);
        EXPECT_EQ(doc->Compare(other.Get()), f.compared ? S_FALSE : S_OK) << f.name;
    }
    // The grounds text counts up to its NUL.
    Bytes text = base;
    text[36] = 'X';
    PutRecord(other.Get(), text);
    EXPECT_EQ(doc->Compare(other.Get()), S_FALSE);
    text = base;
    text[50] = 'Z';  // after the NUL
    PutRecord(other.Get(), text);
    EXPECT_EQ(doc->Compare(other.Get()), S_OK);
    // Fields beside the record do not count.
    PutRecord(other.Get(), base);
    ASSERT_EQ(other->put_DB_ADDR(77), S_OK);
    ASSERT_EQ(other->put_AT(1), S_OK);
    EXPECT_EQ(doc->Compare(other.Get()), S_OK);
}

inline constexpr CLSID CLSID_ShortRecordDocument = {0x7E1A0099, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};
class ShortRecordDocument
    : public orv::CoClass<ShortRecordDocument, &CLSID_ShortRecordDocument, orv::Stubbed<IOrvDocument>> {
public:
    HRESULT result = S_OK;
    UINT bytes = 10;
    HRESULT get_DocRecord(BSTR* p) override {
        *p = FAILED(result) ? nullptr : SysAllocStringByteLen(nullptr, bytes);
        return result;
    }
};

TEST(Compare, SomethingThatIsNotADocumentOrGivesNoRecordIsRefused) {
    auto doc = NewDocument();
    EXPECT_EQ(doc->Compare(nullptr), E_POINTER);
    ComPtr<IOrvDocExtension> loose;
    ASSERT_EQ(orv::CreateObject<orv::OrvDocExtension>(&loose), S_OK);
    EXPECT_EQ(doc->Compare(loose.Get()), E_NOINTERFACE);
    ShortRecordDocument* fake = nullptr;
    auto holder = Make(&fake);
    EXPECT_EQ(doc->Compare(holder.Get()), E_UNEXPECTED);
    fake->bytes = 304;
    EXPECT_EQ(doc->Compare(holder.Get()), S_OK);  // all zeros, as a new document
    fake->result = E_ACCESSDENIED;
    EXPECT_EQ(doc->Compare(holder.Get()), E_ACCESSDENIED);
}

// ------------------------------------------------------------ display text

HRESULT CreateDateService(IUnknown* outer, REFIID riid, void** ppv) {
    return orv::CreateInstance<orv::host::OrvDateService>(outer, riid, ppv);
}

struct DisplayCase {
    LONG type;
    std::function<void(IOrvDocument*)> fill;
    std::u16string expected;
    LONG at = 0;
};

std::vector<DisplayCase> DisplayCases() {
    using D = IOrvDocument;
    auto sums = [](LONGLONG s1, LONGLONG s2, LONGLONG s3) {
        return [=](D* d) {
            d->put_Dcsum1(Cy(s1 * 100));
            d->put_DcSum2(Cy(s2 * 100));
            d->put_DcSum3(Cy(s3 * 100));
        };
    };
    auto procPod = [](LONG proc, LONG pod) {
        return [=](D* d) {
            d->put_lDcProc(proc);
            d->put_lDcdpod(pod);
        };
    };
    auto none = [](D*) {};
    return {
        {1, sums(-12345, 0, 0), u"-123.45"},
        {1, sums(0, 0, 250), u"250"},
        {48, sums(12345, 0, 0), u"1.2345"},  // the stored hundredths read as a rate
        {48, sums(0, 0, 7), u"7"},
        {7, sums(-5, 0, 0), u"-0.05"},
        {300, sums(100, 0, 0), u"1.00"},
        {357, sums(0, 0, 0), u"0.00"},
        {10, sums(1, 2, 3), u"2"},
        {10, sums(150, 0, 3), u"1.50"},
        {10, sums(0, 0, 3), u"0.03"},
        {10, none, u""},
        {10, sums(0, 777, 0), u"777", 1},  // AT 1: the secondary area
        {14, sums(1, 0, 0), u"0.01"},
        {15, procPod(12, 3), u"12"},
        {17, procPod(0, 3), u"1/3"},
        {17, none, u""},
        {18, sums(0, 0, -100), u"-1.00"},
        {46, sums(0, 0, 1), u"0.01"},
        {26, procPod(1, 0), u"Да"},
        {31, procPod(0, 0), u"Нет"},
        {27, sums(250, 0, 0), u"2.50"},
        {61, procPod(-4, 0), u"-4"},
        {61, [](D* d) { d->put_DcDat1(9); }, u"9"},
        {30, [](D* d) { d->put_DcOsn(Bstr(u"Основание")); }, u"Основание"},
        {422, [](D* d) { d->put_DcOsn(Bstr(u"x")); }, u"x"},
        {40, sums(1234, 0, 0), u"12.34"},
        {40, [](D* d) { d->put_Dcsum1(Cy(1200)); d->put_lDcdpod(2); d->put_DcSum2(Cy(300)); d->put_DcDat1(-5); },
         u"0.12"},  // 2 + 3 - 5 = 0
        {40, [](D* d) { d->put_lDcdpod(2); d->put_DcSum2(Cy(300)); }, u"5"},
        {49, procPod(0, 8), u"8"},
        {69, sums(0, 0, 0), u""},
        {69, sums(0, 42, 0), u"0.42"},
        {69, procPod(0, 6), u"6"},
        {70, sums(5, 0, 0), u"0.05"},
        {342, sums(5, 6, 0), u"0.06"},
        {71, procPod(100, 0), u"Совместитель"},
        {71, procPod(101, 0), u"Внутренний совместитель"},
        {71, procPod(-1, 0), u"В"},
        {71, procPod(5, 0), u"Нет"},
        {92, [](D* d) { d->put_Dcsum1(Cy(300000000000)); }, u"30000000.00"},
        {260, [](D* d) { d->put_Dcsum1(Cy(-500)); }, u"-0.05"},
        {136, [](D* d) { d->put_Memo(Bstr(u"Примечание")); }, u"Примечание"},
        {409, [](D* d) { d->put_Memo(Bstr(u"m")); }, u"m"},
        {305, [](D* d) { d->put_DcDat1(1); }, u"Женат (замужем)"},
        {305, [](D* d) { d->put_DcDat1(2); }, u"Холост (не замужем)"},
        {305, none, u""},
        {310, [](D* d) { d->put_DcDat1(3); }, u"3"},
        {310, none, u""},
        {354, procPod(4, 2), u"2 : 4"},
        {354, none, u""},
        {355, procPod(0, 2), u"На изготовлении"},
        {355, procPod(0, 4), u""},
        {358, sums(72, 0, 0), u"0.0072"},
        {392, sums(-1, 0, 0), u"-0.0001"},
        {359, [](D* d) { d->put_Dcsum1(Cy(10000)); d->put_DcSum3(Cy(25000)); }, u"1.00,2.50"},
        {359, [](D* d) { d->put_DcSum2(Cy(100)); d->put_Dcms(0, Cy(-300)); }, u"0.01,-0.03"},
        {363, [](D* d) { d->put_lDcdpod(1); d->put_DcOsn(Bstr(u"А")); d->put_Memo(Bstr(u"Б")); }, u"А : Б"},
        {363, [](D* d) { d->put_lDcdpod(1); d->put_DcOsn(Bstr(u"А")); }, u"А"},
        {363, [](D* d) { d->put_lDcdpod(2); d->put_dcLong(0, 2019); d->put_dcLong(2, 2021); },
         u"Года 2019; 2021 включать в справку"},
        {363, [](D* d) { d->put_lDcdpod(2); }, u""},
        {363, [](D* d) { d->put_lDcdpod(3); }, u"Удерживать расходы на питание по карте"},
        {364, sums(0, 15, 0), u"0.15"},
        {390, procPod(1, 1), u"Резидент c пересчетом"},
        {390, procPod(0, 2), u"Не резидент без пересчета"},
        {393, procPod(0, 0), u"0"},
        {394, procPod(0, 0), u""},
        {394, procPod(0, 11), u"11"},
        {398, [](D* d) { d->put_DcOsn(Bstr(u"a")); d->put_Memo(Bstr(u"b")); }, u"a b"},
        {427, procPod(-250, 0), u"-2.50"},
        {2, sums(5, 5, 5), u""},
        {428, [](D* d) { d->put_DcOsn(Bstr(u"x")); }, u""},
        {-1, none, u""},
    };
}

TEST(DisplayString, EveryTypeOfTheTable) {
    for (const DisplayCase& c : DisplayCases()) {
        auto doc = NewDocument();
        ASSERT_EQ(doc->put_lDcType(c.type), S_OK);
        ASSERT_EQ(doc->put_AT(c.at), S_OK);
        c.fill(doc.Get());
        Bstr text;
        ASSERT_EQ(doc->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK) << c.type;
        ASSERT_NE(text.Get(), nullptr);
        EXPECT_EQ(text.View(), c.expected) << "type " << c.type << ": " << text.Utf8();
    }
}

TEST(DisplayString, NumberPrefixFromTheDatabaseService) {
    FakeDatabase* db = nullptr;
    FakeNumberTable* table = nullptr;
    auto dbHolder = Make(&db);
    auto tableHolder = Make(&table);
    db->numberTable = tableHolder;
    table->numbers[5] = 15;
    struct Case {
        LONG type;
        LONG t1;
        std::u16string expected;
    };
    const Case cases[] = {{27, 5, u"(15) 12.34"}, {61, 5, u"(15) 12.34"}, {69, 5, u"(15) 12.34"},
                          {364, 5, u"(15) 12.34"}, {92, 5, u"(15) 12.34"}, {260, 5, u"(15) 12.34"},
                          {27, 6, u"12.34"},        {27, 0, u"12.34"},      {7, 5, u"12.34"}};
    for (const Case& c : cases) {
        auto doc = DocumentOfType(c.type);
        ASSERT_EQ(doc->put_OrvBD(dbHolder.Get()), S_OK);
        ASSERT_EQ(doc->put_T1(c.t1), S_OK);
        ASSERT_EQ(doc->put_Dcsum1(Cy(123400)), S_OK);
        table->asked.clear();
        Bstr text;
        ASSERT_EQ(doc->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(text.View(), c.expected) << c.type << " T1 " << c.t1;
        // T1 0 asks nothing.
        EXPECT_EQ(table->asked.empty(), c.t1 == 0 || c.type == 7) << c.type;
    }
    // Without a database service there is no prefix.
    auto doc = DocumentOfType(27);
    ASSERT_EQ(doc->put_T1(5), S_OK);
    Bstr text;
    ASSERT_EQ(doc->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"0");  // no sum, no lDcProc: the number of DcDat1
    // A service whose lookup fails ends the operation without a text.
    db->numberTable = nullptr;
    ASSERT_EQ(doc->put_OrvBD(dbHolder.Get()), S_OK);
    BSTR none = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(doc->get_DisplayString(&none), E_NOTIMPL);
    EXPECT_EQ(none, nullptr);
}

TEST(DisplayString, DatesComeFromTheDateService) {
    auto dismissal = DocumentOfType(93);
    ASSERT_EQ(dismissal->put_dtDn(DateOf(2024, 3, 1)), S_OK);
    Bstr text;
    EXPECT_EQ(dismissal->get_DisplayString(text.ReleaseAndGetAddressOf()), REGDB_E_CLASSNOTREG);
    ClassRegistration dates(CLSID_OrvDateService, &CreateDateService);
    ASSERT_EQ(dismissal->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"Уволен: 29.02.2024");
    auto other = DocumentOfType(63);
    ASSERT_EQ(other->put_dtDn(DateOf(2025, 1, 1)), S_OK);
    ASSERT_EQ(other->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"Уволен: 31.12.2024");

    auto until = DocumentOfType(399);
    ASSERT_EQ(until->put_DcOsn(Bstr(u"Справка")), S_OK);
    ASSERT_EQ(until->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"Справка");
    ASSERT_EQ(until->put_lDcProc(orv::DateToDayNumber(DateOf(2023, 6, 30))), S_OK);
    ASSERT_EQ(until->put_lDcdpod(3), S_OK);
    ASSERT_EQ(until->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"Справка до 30.06.2023 3");
}

TEST(DisplayString, BenefitTypesByName) {
    auto sick = DocumentOfType(21);
    ASSERT_EQ(sick->put_lDcdpod(12), S_OK);
    Bstr text;
    ASSERT_EQ(sick->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"12 ОРВИ");
    auto vacation = DocumentOfType(22);
    ASSERT_EQ(vacation->put_lDcdpod(9), S_OK);
    ASSERT_EQ(vacation->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"9 Компенсация");
    ASSERT_EQ(vacation->put_lDcdpod(30), S_OK);
    ASSERT_EQ(vacation->get_DisplayString(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"");
}

}  // namespace
