// The document record through the properties: every field lands at its byte
// offset and nowhere else, the area rule and the both-areas rule, the 64-bit
// Dcsum1, the type change rule with its report, index checks, OEM texts,
// record condition, and the same behaviour through the dual interface.
#include "doc_test_util.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>

namespace {

using namespace doctest;

constexpr DATE kEpoch = 22281.0;

// Expects `after` to equal `before` outside [offset, offset + expected.size())
// and to hold `expected` inside.
void ExpectOnlyChanged(const Bytes& before, const Bytes& after, std::size_t offset,
                       const std::vector<unsigned char>& expected, const char* what) {
    for (std::size_t i = 0; i < 304; ++i) {
        bool inside = i >= offset && i < offset + expected.size();
        unsigned char want = inside ? expected[i - offset] : before[i];
        ASSERT_EQ(after[i], want) << what << ": byte " << i << (inside ? " (in the field)" : " (outside the field)");
    }
}

template <class T>
std::vector<unsigned char> Le(T v) {
    std::vector<unsigned char> out(sizeof(T));
    std::memcpy(out.data(), &v, sizeof(T));
    return out;
}

struct Placement {
    const char* name;
    std::function<HRESULT(IOrvDocument*)> put;
    std::size_t offset;
    std::vector<unsigned char> bytes;
    std::function<HRESULT(IOrvDocument*, double*)> get;  // reads the property back as a number
    double value;                                       // what it must read
};

template <class T, class G>
std::function<HRESULT(IOrvDocument*, double*)> Getter(G g) {
    return [g](IOrvDocument* d, double* out) {
        T v{};
        HRESULT hr = (d->*g)(&v);
        *out = static_cast<double>(v);
        return hr;
    };
}
std::function<HRESULT(IOrvDocument*, double*)> CyGetter(HRESULT (IOrvDocument::*g)(CY*)) {
    return [g](IOrvDocument* d, double* out) {
        CY v{};
        HRESULT hr = (d->*g)(&v);
        *out = static_cast<double>(v.int64);
        return hr;
    };
}

// Fields kept once: the same offsets whatever AT is.
std::vector<Placement> SingleFields() {
    using D = IOrvDocument;
    return {
        {"T1", [](D* d) { return d->put_T1(0x1234); }, 4, Le<int16_t>(0x1234), Getter<LONG>(&D::get_T1), 0x1234},
        {"lDcId", [](D* d) { return d->put_lDcId(-2); }, 6, Le<int16_t>(-2), Getter<LONG>(&D::get_lDcId), -2},
        {"dtDn", [](D* d) { return d->put_dtDn(kEpoch + 1000.75); }, 8, Le<int16_t>(1000), Getter<DATE>(&D::get_dtDn),
         kEpoch + 1000},
        {"dtDk", [](D* d) { return d->put_dtDk(kEpoch + 1001); }, 10, Le<int16_t>(1001), Getter<DATE>(&D::get_dtDk),
         kEpoch + 1001},
        {"EnteringDate", [](D* d) { return d->put_EnteringDate(kEpoch - 3); }, 12, Le<int16_t>(-3),
         Getter<DATE>(&D::get_EnteringDate), kEpoch - 3},
        {"DcDat1", [](D* d) { return d->put_DcDat1(0x12345678); }, 14, Le<int16_t>(0x5678),
         Getter<LONG>(&D::get_DcDat1), 0x5678},
        {"Dfl", [](D* d) { return d->put_Dfl(0xFFFF8001); }, 0, Le<int16_t>(-32767), Getter<LONG>(&D::get_Dfl), -32767},
        {"CodeShpz", [](D* d) { return d->put_CodeShpz(0x1111); }, 92, Le<int16_t>(0x1111),
         Getter<SHORT>(&D::get_CodeShpz), 0x1111},
        {"CodeVidRab", [](D* d) { return d->put_CodeVidRab(0x2222); }, 94, Le<int16_t>(0x2222),
         Getter<SHORT>(&D::get_CodeVidRab), 0x2222},
        {"ProjectCode", [](D* d) { return d->put_ProjectCode(0x3333); }, 96, Le<int16_t>(0x3333),
         Getter<SHORT>(&D::get_ProjectCode), 0x3333},
        {"CodeFinRoot", [](D* d) { return d->put_CodeFinRoot(-4); }, 98, Le<int16_t>(-4),
         Getter<SHORT>(&D::get_CodeFinRoot), -4},
        {"StaffOrderId", [](D* d) { return d->put_StaffOrderId(0x12345678); }, 126, Le<int32_t>(0x12345678),
         Getter<LONG>(&D::get_StaffOrderId), 0x12345678},
        {"shAccsType", [](D* d) { return d->put_shAccsType(0x18000); }, 176, Le<int16_t>(-32768),
         Getter<LONG>(&D::get_shAccsType), -32768},
        {"xlNewReserv", [](D* d) { return d->put_xlNewReserv(-123456789); }, 274, Le<int32_t>(-123456789),
         Getter<LONG>(&D::get_xlNewReserv), -123456789},
        {"lDcRsrv(0)", [](D* d) { return d->put_lDcRsrv(0, 0x01020304); }, 242, Le<int32_t>(0x01020304),
         [](D* d, double* o) { LONG v = 0; HRESULT hr = d->get_lDcRsrv(0, &v); *o = v; return hr; }, 0x01020304},
        {"lDcRsrv(4)", [](D* d) { return d->put_lDcRsrv(4, -7); }, 258, Le<int32_t>(-7),
         [](D* d, double* o) { LONG v = 0; HRESULT hr = d->get_lDcRsrv(4, &v); *o = v; return hr; }, -7},
    };
}

// Fields kept in both areas: offset in the primary area, offset in the secondary one.
struct AreaPlacement {
    const char* name;
    std::function<HRESULT(IOrvDocument*)> put;
    std::size_t primary, secondary;
    std::vector<unsigned char> bytes;
    std::function<HRESULT(IOrvDocument*, double*)> get;
    double value;
};

std::vector<AreaPlacement> AreaFields() {
    using D = IOrvDocument;
    auto indexedCy = [](SHORT i) {
        return [i](D* d, double* o) { CY v{}; HRESULT hr = d->get_Dcms(i, &v); *o = double(v.int64); return hr; };
    };
    return {
        {"Dcsum1", [](D* d) { return d->put_Dcsum1(Cy(123456)); }, 16, 178, Le<int32_t>(1235), CyGetter(&D::get_Dcsum1),
         123500},
        {"DcSum2", [](D* d) { return d->put_DcSum2(Cy(-123450)); }, 20, 182, Le<int32_t>(-1235),
         CyGetter(&D::get_DcSum2), -123500},
        {"DcDolg", [](D* d) { return d->put_DcDolg(Cy(700)); }, 24, 186, Le<int32_t>(7), CyGetter(&D::get_DcDolg), 700},
        {"lDcProc", [](D* d) { return d->put_lDcProc(0x10005); }, 28, 190, Le<int16_t>(5), Getter<LONG>(&D::get_lDcProc),
         5},
        {"lDcdpod", [](D* d) { return d->put_lDcdpod(-9); }, 30, 192, Le<int16_t>(-9), Getter<LONG>(&D::get_lDcdpod), -9},
        {"DolgOld", [](D* d) { return d->put_DolgOld(Cy(99)); }, 68, 194, Le<int32_t>(1), CyGetter(&D::get_DolgOld), 100},
        {"DcSum3", [](D* d) { return d->put_DcSum3(Cy(250000)); }, 72, 198, Le<int32_t>(2500), CyGetter(&D::get_DcSum3),
         250000},
        {"Dcms(0)", [](D* d) { return d->put_Dcms(0, Cy(100)); }, 76, 202, Le<int32_t>(1), indexedCy(0), 100},
        {"Dcms(2)", [](D* d) { return d->put_Dcms(2, Cy(-49)); }, 84, 210, Le<int32_t>(0), indexedCy(2), 0},
        {"LReserv2", [](D* d) { return d->put_LReserv2(0x7FFFFFFF); }, 88, 214, Le<int32_t>(0x7FFFFFFF),
         Getter<LONG>(&D::get_LReserv2), 0x7FFFFFFF},
        {"dcShort(0)", [](D* d) { return d->put_dcShort(0, 300); }, 102, 218, Le<int16_t>(300),
         [](D* d, double* o) { SHORT v = 0; HRESULT hr = d->get_dcShort(0, &v); *o = v; return hr; }, 300},
        {"dcShort(1)", [](D* d) { return d->put_dcShort(1, -300); }, 104, 220, Le<int16_t>(-300),
         [](D* d, double* o) { SHORT v = 0; HRESULT hr = d->get_dcShort(1, &v); *o = v; return hr; }, -300},
        {"dcLong(0)", [](D* d) { return d->put_dcLong(0, 11); }, 106, 222, Le<int32_t>(11),
         [](D* d, double* o) { LONG v = 0; HRESULT hr = d->get_dcLong(0, &v); *o = v; return hr; }, 11},
        {"dcLong(4)", [](D* d) { return d->put_dcLong(4, -44); }, 122, 238, Le<int32_t>(-44),
         [](D* d, double* o) { LONG v = 0; HRESULT hr = d->get_dcLong(4, &v); *o = v; return hr; }, -44},
        {"LastModificationDate", [](D* d) { return d->put_LastModificationDate(kEpoch + 22719.5); }, 102, 218,
         Le<int16_t>(22719), Getter<DATE>(&D::get_LastModificationDate), kEpoch + 22719},
    };
}

TEST(DocumentRecord, NewDocumentIsAllZeros) {
    auto doc = NewDocument();
    Bytes zero{};
    EXPECT_EQ(RecordOf(doc.Get()), zero);
}

TEST(DocumentRecord, EachSingleFieldLandsAtItsOffsetAndNowhereElse) {
    for (LONG at : {0, 1}) {
        for (const auto& f : SingleFields()) {
            auto doc = NewDocument();
            Bytes base = RandomRecord(17, 10);
            PutRecord(doc.Get(), base);
            ASSERT_EQ(doc->put_AT(at), S_OK);
            ASSERT_EQ(f.put(doc.Get()), S_OK) << f.name;
            ExpectOnlyChanged(base, RecordOf(doc.Get()), f.offset, f.bytes, f.name);
            double got = 0;
            ASSERT_EQ(f.get(doc.Get(), &got), S_OK) << f.name;
            EXPECT_EQ(got, f.value) << f.name;
        }
    }
}

TEST(DocumentRecord, EachAreaFieldLandsInTheAreaThatAtAndTheTypeChoose) {
    struct Case {
        SHORT type;
        LONG at;
        bool secondary;
    };
    // Secondary exactly when AT is non-zero and the type is not primary-only.
    const Case cases[] = {{10, 0, false},  {10, 1, true},   {10, -5, true},  {400, 1, true},  {418, 1, true},
                          {0, 1, true},    {51, 1, false},  {139, 1, false}, {250, 1, false}, {304, 1, false},
                          {305, 1, false}, {310, 1, false}, {392, 1, false}, {401, 1, false}, {409, 1, false},
                          {417, 1, false}, {51, 0, false}};
    for (const Case& c : cases) {
        for (const auto& f : AreaFields()) {
            auto doc = NewDocument();
            Bytes base = RandomRecord(c.type * 7 + 3, c.type);
            PutRecord(doc.Get(), base);
            ASSERT_EQ(doc->put_AT(c.at), S_OK);
            ASSERT_EQ(f.put(doc.Get()), S_OK) << f.name;
            std::string what = std::string(f.name) + " type " + std::to_string(c.type) + " AT " + std::to_string(c.at);
            ExpectOnlyChanged(base, RecordOf(doc.Get()), c.secondary ? f.secondary : f.primary, f.bytes, what.c_str());
            double got = 0;
            ASSERT_EQ(f.get(doc.Get(), &got), S_OK) << what;
            EXPECT_EQ(got, f.value) << what;
        }
    }
}

TEST(DocumentRecord, SickLeaveAndVacationBenefitTypeIsWrittenToBothAreas) {
    for (SHORT type : {21, 22, 23, 30}) {
        for (LONG at : {0, 1}) {
            auto doc = NewDocument();
            Bytes base = RandomRecord(5, type);
            PutRecord(doc.Get(), base);
            ASSERT_EQ(doc->put_AT(at), S_OK);
            ASSERT_EQ(doc->put_lDcdpod(0x4321), S_OK);
            Bytes after = RecordOf(doc.Get());
            bool both = type == 21 || type == 22;
            EXPECT_EQ(ReadLe<int16_t>(after, 30), (both || at == 0) ? 0x4321 : ReadLe<int16_t>(base, 30));
            EXPECT_EQ(ReadLe<int16_t>(after, 192), (both || at != 0) ? 0x4321 : ReadLe<int16_t>(base, 192));
        }
    }
}

TEST(DocumentRecord, TypeThirtyKeepsDcShortOneInBothAreasButNotDcShortZero) {
    for (LONG at : {0, 1}) {
        auto doc = NewDocument();
        Bytes base = RandomRecord(9, 30);
        PutRecord(doc.Get(), base);
        ASSERT_EQ(doc->put_AT(at), S_OK);
        ASSERT_EQ(doc->put_dcShort(1, 0x0707), S_OK);
        ASSERT_EQ(doc->put_dcShort(0, 0x0505), S_OK);
        Bytes after = RecordOf(doc.Get());
        EXPECT_EQ(ReadLe<int16_t>(after, 104), 0x0707);
        EXPECT_EQ(ReadLe<int16_t>(after, 220), 0x0707);
        EXPECT_EQ(ReadLe<int16_t>(after, at ? 218 : 102), 0x0505);
        EXPECT_EQ(ReadLe<int16_t>(after, at ? 102 : 218), ReadLe<int16_t>(base, at ? 102 : 218));
    }
}

TEST(DocumentRecord, Dcsum1KeepsLargeAmountsWholeAcrossTheTwoToTheThirtyFirstBoundary) {
    auto doc = NewDocument();
    struct Case {
        LONGLONG raw;   // the CURRENCY put
        int32_t low;    // offset 16
        uint32_t high;  // offset 262
        LONGLONG back;  // what Dcsum1 reads
    };
    const LONGLONG b = LONGLONG(1) << 31;  // hundredths
    const Case cases[] = {
        {(b - 1) * 100, int32_t(b - 1), 0, (b - 1) * 100},                  // 21 474 836.47: fits
        {b * 100, int32_t(uint32_t(b * 100)), uint32_t((b * 100) >> 32), b * 100},  // 21 474 836.48: kept whole
        {3000000000000, int32_t(uint32_t(3000000000000)), uint32_t(3000000000000 >> 32), 3000000000000},
        {3000000000001, int32_t(uint32_t(3000000000001)), uint32_t(3000000000001 >> 32), 3000000000001},  // exact
        {-b * 100, int32_t(-b), 0, -b * 100},                               // -21 474 836.48: fits
        {-(b - 1) * 100 - 49, int32_t(-(b - 1)), 0, -(b - 1) * 100},       // rounds to hundredths
        {-(b + 1) * 100, int32_t(b - 1), 0, (b - 1) * 100},               // beyond: wraps in 32 bits
        {50000, 500, 0, 50000},                                             // a later small amount clears the high word
    };
    for (const Case& c : cases) {
        ASSERT_EQ(doc->put_Dcsum1(Cy(c.raw)), S_OK);
        Bytes r = RecordOf(doc.Get());
        EXPECT_EQ(ReadLe<int32_t>(r, 16), c.low) << c.raw;
        EXPECT_EQ(ReadLe<uint32_t>(r, 262), c.high) << c.raw;
        CY back{};
        ASSERT_EQ(doc->get_Dcsum1(&back), S_OK);
        EXPECT_EQ(back.int64, c.back) << c.raw;
    }
}

TEST(DocumentRecord, Dcsum1InTheSecondaryAreaIsHundredthsOnlyAndIgnoresTheHighWord) {
    auto doc = NewDocument();
    ASSERT_EQ(doc->put_lDcType(10), S_OK);
    ASSERT_EQ(doc->put_Dcsum1(Cy(3000000000000)), S_OK);  // primary: high word set
    ASSERT_EQ(doc->put_AT(1), S_OK);
    ASSERT_EQ(doc->put_Dcsum1(Cy(3000000000000)), S_OK);  // secondary: wraps in 32 bits
    Bytes r = RecordOf(doc.Get());
    EXPECT_EQ(ReadLe<int32_t>(r, 178), int32_t(uint32_t(30000000000LL)));
    EXPECT_EQ(ReadLe<uint32_t>(r, 262), uint32_t(3000000000000 >> 32));  // untouched
    CY v{};
    ASSERT_EQ(doc->get_Dcsum1(&v), S_OK);
    EXPECT_EQ(v.int64, LONGLONG(int32_t(uint32_t(30000000000LL))) * 100);
    ASSERT_EQ(doc->put_AT(0), S_OK);
    ASSERT_EQ(doc->get_Dcsum1(&v), S_OK);
    EXPECT_EQ(v.int64, 3000000000000);
}

TEST(DocumentRecord, DocRecordPutRewritesSixtySixAndRefusesShortStrings) {
    auto doc = NewDocument();
    Bytes rec = RandomRecord(3, 66);
    PutRecord(doc.Get(), rec);
    LONG type = 0;
    ASSERT_EQ(doc->get_lDcType(&type), S_OK);
    EXPECT_EQ(type, 31);
    Bytes back = RecordOf(doc.Get());
    EXPECT_EQ(ReadLe<int16_t>(back, 2), 31);
    rec[2] = 31;
    EXPECT_EQ(back, rec);

    // A string that is too short is refused and changes nothing.
    Bstr shortRec = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(RandomRecord(4, 1).data()), 303));
    EXPECT_EQ(doc->put_DocRecord(shortRec), E_INVALIDARG);
    EXPECT_EQ(doc->put_DocRecord(nullptr), E_INVALIDARG);
    EXPECT_EQ(RecordOf(doc.Get()), rec);

    // A longer one gives its first 304 bytes.
    std::vector<unsigned char> longer(310, 0xEE);
    Bytes other = RandomRecord(8, 7);
    std::memcpy(longer.data(), other.data(), 304);
    Bstr longRec = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(longer.data()), 310));
    ASSERT_EQ(doc->put_DocRecord(longRec), S_OK);
    EXPECT_EQ(RecordOf(doc.Get()), other);
}

TEST(DocumentRecord, TypeCodeChangesFollowTheRule) {
    struct Case {
        LONG stored, put;
        bool allowed;
        LONG after;
    };
    const Case cases[] = {
        {0, 2, true, 2},    {0, 66, true, 31},  {1, 48, true, 48},  {48, 1, true, 1},   {1, 1, true, 1},
        {31, 31, true, 31}, {1, 2, false, 1},   {2, 1, false, 2},   {48, 2, false, 48}, {2, 48, false, 2},
        {31, 66, false, 31}, {5, 0, false, 5},  {1, 65537, false, 1},
    };
    HostEnvironment host;
    for (const Case& c : cases) {
        auto doc = NewDocument();
        ASSERT_EQ(doc->put_lDcType(c.stored), S_OK);
        Bytes before = RecordOf(doc.Get());
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(doc->put_lDcType(c.put), c.allowed ? S_OK : E_INVALIDARG) << c.stored << " -> " << c.put;
        LONG now = 0;
        ASSERT_EQ(doc->get_lDcType(&now), S_OK);
        EXPECT_EQ(now, c.after) << c.stored << " -> " << c.put;
        ErrorReport report = TakeErrorInfo();
        EXPECT_EQ(report.present, !c.allowed) << c.stored << " -> " << c.put;
        if (!c.allowed) {
            EXPECT_EQ(RecordOf(doc.Get()), before);
        }
    }
}

TEST(DocumentRecord, RefusedTypeChangeIsReportedToTheMessageServiceAndThisThreadOnly) {
    HostEnvironment host;
    auto doc = NewDocument();
    ASSERT_EQ(doc->put_lDcType(1), S_OK);
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(doc->put_lDcType(2), E_INVALIDARG);

    // Another thread sees no error information of this refusal.
    bool otherHasInfo = true;
    std::thread([&] {
        ComPtr<IErrorInfo> info;
        otherHasInfo = GetErrorInfo(0, info.GetAddressOf()) == S_OK && info;
    }).join();
    EXPECT_FALSE(otherHasInfo);

    ErrorReport report = TakeErrorInfo();
    ASSERT_TRUE(report.present);
    EXPECT_EQ(report.description, u"Запрещено менять тип документа");
    EXPECT_EQ(report.source, u"OrvDocs.OrvDocument.1");
    EXPECT_TRUE(IsEqualGUID(report.guid, IID_IOrvDocumentDisp));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], u"Запрещено менять тип документа");

    // The kind code is refused the same way.
    Bstr ok(u"OK"), ab(u"AB");
    ASSERT_EQ(doc->put_DcType(ok), S_OK);
    EXPECT_EQ(doc->put_DcType(ab), E_INVALIDARG);
    EXPECT_EQ(TakeErrorInfo().description, u"Запрещено менять тип документа");
    EXPECT_EQ(host.Messages().size(), 2u);
}

TEST(DocumentRecord, RefusalWithoutAMessageServiceStillReportsTheError) {
    HostEnvironment host;
    host.RevokeHostComponents();
    auto doc = NewDocument();
    ASSERT_EQ(doc->put_lDcType(7), S_OK);
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(doc->put_lDcType(8), E_INVALIDARG);
    ErrorReport report = TakeErrorInfo();
    ASSERT_TRUE(report.present);
    EXPECT_EQ(report.description, u"Запрещено менять тип документа");
    EXPECT_TRUE(host.Messages().empty());
}

TEST(DocumentRecord, KindCodeChangesFollowTheRuleAndStoreTwoCharacters) {
    HostEnvironment host;
    struct Case {
        const char16_t* stored;
        const char16_t* put;
        bool allowed;
        const char* bytes;  // offset 32..34 afterwards
    };
    const Case cases[] = {
        {u"", u"TRX", true, "TR\0"}, {u"", u"Z", true, "Z\0\0"},  {u"OK", u"TR", true, "TR\0"},
        {u"TR", u"OK", true, "OK\0"}, {u"OK", u"OK", true, "OK\0"}, {u"OK", u"AB", false, "OK\0"},
        {u"AB", u"OK", false, "AB\0"}, {u"OK", u"OKX", false, "OK\0"},
    };
    for (const Case& c : cases) {
        auto doc = NewDocument();
        if (*c.stored) {
            ASSERT_EQ(doc->put_DcType(Bstr(c.stored)), S_OK);
        }
        EXPECT_EQ(doc->put_DcType(Bstr(c.put)), c.allowed ? S_OK : E_INVALIDARG);
        Bytes r = RecordOf(doc.Get());
        EXPECT_EQ(std::memcmp(&r[32], c.bytes, 3), 0) << orv::Utf16ToUtf8(c.stored) << " -> " << orv::Utf16ToUtf8(c.put);
        Bstr back;
        ASSERT_EQ(doc->get_DcType(back.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(back.View(), orv::Utf8ToUtf16(c.bytes));
    }
}

TEST(DocumentRecord, IndexOutsideItsRangeIsRefusedAndOnlyDcmsDescribesIt) {
    auto doc = NewDocument();
    PutRecord(doc.Get(), RandomRecord(21, 10));
    Bytes before = RecordOf(doc.Get());
    CY c{};
    LONG l = 0;
    SHORT s = 0;
    SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    for (SHORT bad : {SHORT(3), SHORT(-1), SHORT(-32768)}) {
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(doc->get_Dcms(bad, &c), E_INVALIDARG);
        ErrorReport r = TakeErrorInfo();
        ASSERT_TRUE(r.present) << bad;
        EXPECT_EQ(r.description, u"The index for property MS can be from 0 to 2");
        EXPECT_EQ(doc->put_Dcms(bad, Cy(100)), E_INVALIDARG);
        EXPECT_TRUE(TakeErrorInfo().present) << bad;
    }
    for (LONG bad : {5, -1, 0x7FFFFFFF}) {
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(doc->get_dcLong(bad, &l), E_INVALIDARG);
        EXPECT_EQ(doc->put_dcLong(bad, 1), E_INVALIDARG);
        EXPECT_EQ(doc->get_lDcRsrv(bad, &l), E_INVALIDARG);
        EXPECT_EQ(doc->put_lDcRsrv(bad, 1), E_INVALIDARG);
        EXPECT_FALSE(TakeErrorInfo().present) << bad;
    }
    for (LONG bad : {2, -1}) {
        EXPECT_EQ(doc->get_dcShort(bad, &s), E_INVALIDARG);
        EXPECT_EQ(doc->put_dcShort(bad, 1), E_INVALIDARG);
    }
    SetThreadUILanguage(LANG_NEUTRAL);
    EXPECT_EQ(RecordOf(doc.Get()), before);
    // The last valid indices work.
    EXPECT_EQ(doc->put_Dcms(2, Cy(100)), S_OK);
    EXPECT_EQ(doc->put_dcLong(4, 1), S_OK);
    EXPECT_EQ(doc->put_dcShort(1, 1), S_OK);
    EXPECT_EQ(doc->put_lDcRsrv(4, 1), S_OK);
}

TEST(DocumentRecord, OemTextFieldsHoldCyrillicInCodePage866AndCutAtTheirWidth) {
    auto doc = NewDocument();
    PutRecord(doc.Get(), RandomRecord(33, 27));
    Bytes before = RecordOf(doc.Get());
    // "Приказ №5": П=0x8F р=0xE0 и=0xA8 к=0xAA а=0xA0 з=0xA7, № = 0xFC in 866.
    ASSERT_EQ(doc->put_DcOsn(Bstr(u"Приказ №5")), S_OK);
    const unsigned char osn[] = {0x8F, 0xE0, 0xA8, 0xAA, 0xA0, 0xA7, 0x20, 0xFC, 0x35};
    std::vector<unsigned char> field(33, 0);
    std::memcpy(field.data(), osn, sizeof(osn));
    ExpectOnlyChanged(before, RecordOf(doc.Get()), 35, field, "DcOsn");
    Bstr back;
    ASSERT_EQ(doc->get_DcOsn(back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(back.View(), u"Приказ №5");

    // 50 characters: Memo keeps 45, DcOsn 32, AbsenteeTabno (type 27) 19.
    std::u16string fifty;
    for (int i = 0; i < 50; ++i) fifty.push_back(i % 2 ? u'ж' : u'Q');
    ASSERT_EQ(doc->put_Memo(Bstr(fifty)), S_OK);
    ASSERT_EQ(doc->put_DcOsn(Bstr(fifty)), S_OK);
    ASSERT_EQ(doc->put_AbsenteeTabno(Bstr(fifty)), S_OK);
    Bytes r = RecordOf(doc.Get());
    EXPECT_EQ(r[175], 0);
    EXPECT_EQ(r[67], 0);
    EXPECT_EQ(r[261], 0);
    EXPECT_EQ(r[173], 0xA6);  // 'ж' at position 43
    EXPECT_EQ(r[174], 'Q');   // the 45th character, the last one kept
    ASSERT_EQ(doc->get_Memo(back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(back.View(), fifty.substr(0, 45));
    ASSERT_EQ(doc->get_DcOsn(back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(back.View(), fifty.substr(0, 32));
    ASSERT_EQ(doc->get_AbsenteeTabno(back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(back.View(), fifty.substr(0, 19));
    EXPECT_EQ(r[274], before[274]);  // beyond every text field: untouched

    // A null text empties the field.
    ASSERT_EQ(doc->put_Memo(nullptr), S_OK);
    r = RecordOf(doc.Get());
    for (int i = 130; i < 176; ++i) ASSERT_EQ(r[i], 0) << i;
}

TEST(DocumentRecord, TemporaryEndAndAbsenteeExistForTypeTwentySevenOnly) {
    auto doc = NewDocument();
    PutRecord(doc.Get(), RandomRecord(44, 10));
    Bytes before = RecordOf(doc.Get());
    DATE d = 1.0;
    ASSERT_EQ(doc->get_TemporaryEnd(&d), S_OK);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(doc->put_TemporaryEnd(45000.0), S_OK);
    BSTR tab = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(doc->get_AbsenteeTabno(&tab), S_FALSE);
    EXPECT_EQ(tab, nullptr);
    EXPECT_EQ(doc->put_AbsenteeTabno(Bstr(u"123")), S_OK);
    EXPECT_EQ(RecordOf(doc.Get()), before);

    auto t27 = NewDocument();
    ASSERT_EQ(t27->put_lDcType(27), S_OK);
    // Before the epoch the day number is negative; the date is cut towards zero first.
    ASSERT_EQ(t27->put_TemporaryEnd(kEpoch - 100.5), S_OK);
    Bytes r = RecordOf(t27.Get());
    EXPECT_EQ(ReadLe<int32_t>(r, 88), -101);  // widened with its sign
    ASSERT_EQ(t27->get_TemporaryEnd(&d), S_OK);
    EXPECT_EQ(d, kEpoch - 101);
    ASSERT_EQ(t27->put_AT(1), S_OK);
    ASSERT_EQ(t27->put_TemporaryEnd(kEpoch + 5), S_OK);
    EXPECT_EQ(ReadLe<int32_t>(RecordOf(t27.Get()), 214), 5);
    ASSERT_EQ(t27->put_TemporaryEnd(0.0), S_OK);
    ASSERT_EQ(t27->get_TemporaryEnd(&d), S_OK);
    EXPECT_EQ(d, 0.0);
}

TEST(DocumentRecord, CurrencyAndRateLiveInTheFieldsOfTheirType) {
    struct Case {
        SHORT type;
        LONG at;
        std::size_t idOffset;  // 0: no currency
        bool idIsShort;
        std::size_t rateOffset;
    };
    const Case cases[] = {{1, 0, 80, false, 122},  {48, 1, 206, false, 238}, {27, 0, 104, true, 122},
                          {61, 1, 220, true, 238}, {92, 0, 104, true, 122},  {334, 0, 104, true, 122},
                          {10, 0, 0, false, 0},    {30, 0, 0, false, 0}};
    for (const Case& c : cases) {
        auto doc = NewDocument();
        Bytes base = RandomRecord(c.type, c.type);
        PutRecord(doc.Get(), base);
        ASSERT_EQ(doc->put_AT(c.at), S_OK);
        ASSERT_EQ(doc->put_CurrencyId(840), S_OK);
        ASSERT_EQ(doc->put_Rate(Cy(723456)), S_OK);  // 72.3456
        LONG id = -1;
        CY rate{};
        ASSERT_EQ(doc->get_CurrencyId(&id), S_OK);
        ASSERT_EQ(doc->get_Rate(&rate), S_OK);
        Bytes r = RecordOf(doc.Get());
        if (c.idOffset == 0) {
            EXPECT_EQ(id, 0) << c.type;
            EXPECT_EQ(rate.int64, 0) << c.type;
            EXPECT_EQ(r, base) << c.type;
            continue;
        }
        EXPECT_EQ(id, 840) << c.type;
        EXPECT_EQ(rate.int64, 723456) << c.type;
        // dcShort holds the identifier; Dcms holds hundredths equal to it.
        LONG stored = c.idIsShort ? ReadLe<int16_t>(r, c.idOffset) : ReadLe<int32_t>(r, c.idOffset);
        EXPECT_EQ(stored, 840) << c.type;
        EXPECT_EQ(ReadLe<int32_t>(r, c.rateOffset), 723456) << c.type;
    }
}

TEST(DocumentRecord, FlagBitsOfDflAnswerTrueAsMinusOne) {
    auto doc = NewDocument();
    ASSERT_EQ(doc->put_Dfl(0x0101), S_OK);
    VARIANT_BOOL b = 5;
    ASSERT_EQ(doc->get_IsTemporary(&b), S_OK);
    EXPECT_EQ(b, VARIANT_FALSE);
    ASSERT_EQ(doc->put_IsTemporary(7), S_OK);  // any non-zero value sets
    ASSERT_EQ(doc->put_RecalculationBlocked(VARIANT_TRUE), S_OK);
    LONG dfl = 0;
    ASSERT_EQ(doc->get_Dfl(&dfl), S_OK);
    EXPECT_EQ(dfl, 0x0101 | 0x80 | 0x10);
    ASSERT_EQ(doc->get_IsTemporary(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
    ASSERT_EQ(doc->get_RecalculationBlocked(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
    ASSERT_EQ(doc->put_IsTemporary(VARIANT_FALSE), S_OK);
    ASSERT_EQ(doc->get_Dfl(&dfl), S_OK);
    EXPECT_EQ(dfl, 0x0101 | 0x10);
    ASSERT_EQ(doc->put_ExtensionInitialized(3), S_OK);
    ASSERT_EQ(doc->get_ExtensionInitialized(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
}

TEST(DocumentRecord, RecordConditionKeepsANewRecordNewAndMakeAsNewTouchesOnlyItsFields) {
    auto doc = NewDocument();
    Bytes base = RandomRecord(55, 10);
    PutRecord(doc.Get(), base);
    ASSERT_EQ(doc->put_DB_ADDR(0xFFFFFFF0u), S_OK);
    ASSERT_EQ(doc->put_TimeStamp(77), S_OK);
    ASSERT_EQ(doc->put_AT(1), S_OK);
    ASSERT_EQ(doc->put_RecalculationDate(45000.25), S_OK);
    ASSERT_EQ(doc->MakeAsNew(), S_OK);
    ExpectOnlyChanged(base, RecordOf(doc.Get()), 6, {0, 0}, "MakeAsNew");
    ULONG u = 1;
    LONG l = 0;
    DATE d = 0;
    ASSERT_EQ(doc->get_DB_ADDR(&u), S_OK);
    EXPECT_EQ(u, 0u);
    ASSERT_EQ(doc->get_TimeStamp(&u), S_OK);
    EXPECT_EQ(u, 0u);
    ASSERT_EQ(doc->get_AT(&l), S_OK);
    EXPECT_EQ(l, 1);
    ASSERT_EQ(doc->get_RecalculationDate(&d), S_OK);
    EXPECT_EQ(d, 45000.25);
    ASSERT_EQ(doc->get_RecordCondition(&l), S_OK);
    EXPECT_EQ(l, 1);
    ASSERT_EQ(doc->put_RecordCondition(2), S_OK);
    ASSERT_EQ(doc->get_RecordCondition(&l), S_OK);
    EXPECT_EQ(l, 1);
    ASSERT_EQ(doc->put_RecordCondition(3), S_OK);
    ASSERT_EQ(doc->get_RecordCondition(&l), S_OK);
    EXPECT_EQ(l, 3);
    ASSERT_EQ(doc->ClearRecordCondition(), S_OK);
    ASSERT_EQ(doc->put_RecordCondition(2), S_OK);
    ASSERT_EQ(doc->get_RecordCondition(&l), S_OK);
    EXPECT_EQ(l, 2);
    ASSERT_EQ(doc->put_SkipReadingDocExt(0x12345), S_OK);
    ASSERT_EQ(doc->get_SkipReadingDocExt(&l), S_OK);
    EXPECT_EQ(l, 0x2345);
}

TEST(DocumentRecord, TheDualInterfaceIsTheSameDocument) {
    auto doc = NewDocument();
    ComPtr<IOrvDocumentDisp> disp;
    ASSERT_EQ(doc.As(&disp), S_OK);
    ASSERT_EQ(disp->put_lDcType(10), S_OK);
    ASSERT_EQ(disp->put_AT(1), S_OK);
    ASSERT_EQ(disp->put_DcSum2(Cy(12345)), S_OK);
    Bytes r = RecordOf(doc.Get());
    EXPECT_EQ(ReadLe<int32_t>(r, 182), 123);
    EXPECT_EQ(disp->put_lDcType(2), E_INVALIDARG);

    // A late-bound read by name gives the same amount.
    ComPtr<IDispatch> d;
    ASSERT_EQ(doc.As(&d), S_OK);
    Bstr name(u"DcSum2");
    LPOLESTR names[] = {name.Get()};
    DISPID id = 0;
    ASSERT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    orv::Variant result;
    ASSERT_EQ(d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.Out(), nullptr, nullptr), S_OK);
    ASSERT_EQ(result.vt, VT_CY);
    EXPECT_EQ(result.cyVal.int64, 12300);

    ComPtr<ISupportErrorInfo> sei;
    ASSERT_EQ(doc.As(&sei), S_OK);
    EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID_IOrvDocument), S_OK);
    EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID_IOrvDocumentDisp), S_FALSE);
}

TEST(DocumentRecord, ConcurrentPutsLeaveAConsistentRecord) {
    auto doc = NewDocument();
    // Writers put whole records of one repeated byte and 64-bit Dcsum1 values;
    // readers must never see a record mixing two writes, nor a Dcsum1 made of
    // the low word of one value and the high word of another.
    const LONGLONG amounts[] = {3000000000000, 500, 9000000000000, -700};
    std::atomic<bool> torn{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w) {
        threads.emplace_back([&, w] {
            ComPtr<IOrvDocument> d = doc;
            for (int i = 0; i < 2000; ++i) {
                Bytes b;
                b.fill(static_cast<unsigned char>(w * 16 + i % 8));
                b[2] = b[3] = 0;
                std::memset(&b[262], 0, 4);
                Bstr rec = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(b.data()), 304));
                d->put_DocRecord(rec);
                d->put_Dcsum1(Cy(amounts[(i + w) % 4]));
            }
        });
    }
    for (int r = 0; r < 2; ++r) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                Bytes b = RecordOf(doc.Get());
                // Outside the type, Dcsum1 and its high word every byte comes from one record.
                for (int k = 4; k < 262; ++k)
                    if (k >= 20 && b[k] != b[20]) torn = true;
                CY v{};
                doc->get_Dcsum1(&v);
                bool known = false;
                for (LONGLONG a : amounts) known |= v.int64 == a;
                // A record put between the two halves is also whole (its bytes at 16..19).
                if (!known && (v.int64 % 100 != 0 || std::llabs(v.int64) >= (LONGLONG(1) << 31) * 100)) torn = true;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_FALSE(torn.load());
}

}  // namespace
