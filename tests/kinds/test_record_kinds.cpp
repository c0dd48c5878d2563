// Record-field kinds on a real generic document: every property writes its own
// bytes of the 304-byte record and no others, reads back what the packing rule
// keeps, and works the same on a document of another type code.
#include "kinds_test_util.h"

#include "kinds/OrvAVDoc.h"
#include "kinds/OrvDOutsSovm.h"
#include "kinds/OrvDRDoc.h"
#include "kinds/OrvINDoc.h"
#include "kinds/OrvNLDoc.h"
#include "kinds/OrvSBDoc.h"
#include "kinds/OrvSTDoc.h"
#include "kinds/OrvTNDoc.h"
#include "kinds/OrvUVDoc.h"
#include "kinds/OrvVlDoc.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace kindtest;

using Bytes = std::vector<unsigned char>;
using Changes = std::vector<std::pair<std::size_t, Bytes>>;
using Creator = HRESULT (*)(IOrvDocument*, IUnknown**) noexcept;

Bytes Le(std::int64_t v, int width) {
    Bytes b;
    for (int i = 0; i < width; ++i) b.push_back(static_cast<unsigned char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF));
    return b;
}
Bytes Le16(std::int64_t v) { return Le(v, 2); }
Bytes Le32(std::int64_t v) { return Le(v, 4); }
// An OEM field of the given width: the bytes, then NULs.
Bytes Field(Bytes oem, std::size_t width) {
    oem.resize(width, 0);
    return oem;
}

bool Same(CY a, CY b) { return a.int64 == b.int64; }
bool Same(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }
template <class T>
bool Same(T a, T b) {
    return a == b;
}
std::string Show(CY v) { return std::to_string(v.int64) + " raw"; }
std::string Show(float v) { return std::to_string(v) + " bits " + std::to_string(std::bit_cast<std::uint32_t>(v)); }
template <class T>
std::string Show(T v) {
    return std::to_string(v);
}

struct FieldCase {
    std::string name;
    SHORT type;
    Creator create;
    std::function<HRESULT(IUnknown*)> put;
    std::function<void(IUnknown*)> expectGet;
    Changes changes;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

template <class T, class I, class V>
FieldCase Prop(std::string name, SHORT type, HRESULT (I::*put)(V), HRESULT (I::*get)(V*), V value, V expected,
               Changes changes) {
    FieldCase c;
    c.name = name;
    c.type = type;
    c.create = &orv::CreateSpecific<T>;
    c.put = [=](IUnknown* obj) {
        ComPtr<I> kind;
        EXPECT_EQ(obj->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(kind.GetAddressOf())), S_OK);
        return (kind.Get()->*put)(value);
    };
    c.expectGet = [=](IUnknown* obj) {
        ComPtr<I> kind;
        obj->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(kind.GetAddressOf()));
        V got{};
        ASSERT_EQ((kind.Get()->*get)(&got), S_OK);
        EXPECT_TRUE(Same(got, expected)) << "got " << Show(got) << ", expected " << Show(expected);
    };
    c.changes = std::move(changes);
    return c;
}

template <class T, class I>
FieldCase TextProp(std::string name, SHORT type, HRESULT (I::*put)(BSTR), HRESULT (I::*get)(BSTR*),
                   std::u16string value, std::u16string expected, Changes changes) {
    FieldCase c;
    c.name = name;
    c.type = type;
    c.create = &orv::CreateSpecific<T>;
    c.put = [=](IUnknown* obj) {
        ComPtr<I> kind;
        EXPECT_EQ(obj->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(kind.GetAddressOf())), S_OK);
        return (kind.Get()->*put)(Bstr(value));
    };
    c.expectGet = [=](IUnknown* obj) {
        ComPtr<I> kind;
        obj->QueryInterface(uuidof<I>(), reinterpret_cast<void**>(kind.GetAddressOf()));
        Bstr got;
        ASSERT_EQ((kind.Get()->*get)(got.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(Text(got), expected);
    };
    c.changes = std::move(changes);
    return c;
}

// Offsets of the record fields the kinds use.
constexpr std::size_t kDcDat1 = 14, kDcsum1 = 16, kDcSum2 = 20, kDcDolg = 24, kLDcdpod = 30, kDcOsn = 35,
                      kDolgOld = 68, kDcSum3 = 72, kDcms = 76, kLReserv2 = 88, kDcShort = 102, kDcLong = 106,
                      kMemo = 130, kLDcRsrv = 242, kDcsum1High = 262;

// CP866 bytes of the Cyrillic texts below.
const Bytes kOemPerevod = {0x8F, 0xA5, 0xE0, 0xA5, 0xA2, 0xAE, 0xA4};                           // "Перевод"
const Bytes kOemSpravka = {0x91, 0xAF, 0xE0, 0xA0, 0xA2, 0xAA, 0xA0, 0x20, 0xFC, 0x31, 0x32};  // "Справка №12"
const Bytes kOemOtd = {0x8E, 0xE2, 0xA4, 0x2E, 0x20, 0x35};                                     // "Отд. 5"

// One row per property: kind, its type code, property, value put, value read
// back, and the bytes of the record it sets ({offset, bytes}, ...).
#define FIELD(K, type, prop, value, expected, ...)                                                             \
    Prop<orv::Orv##K##Doc>(#K "_" #prop, type, &IOrv##K##Doc::put_##prop, &IOrv##K##Doc::get_##prop, value, \
                           expected, Changes{__VA_ARGS__})
#define TEXT(K, type, prop, value, expected, ...)                                                                 \
    TextProp<orv::Orv##K##Doc>(#K "_" #prop, type, &IOrv##K##Doc::put_##prop, &IOrv##K##Doc::get_##prop, value, \
                               expected, Changes{__VA_ARGS__})

std::vector<FieldCase> Cases() {
    const std::u16string digits40 = u"0123456789012345678901234567890123456789";
    const Bytes digits32(digits40.begin(), digits40.begin() + 32);
    const VARIANT_BOOL yes = VARIANT_TRUE, no = VARIANT_FALSE;
    std::vector<FieldCase> cases = {
        // Dismissal (93).
        TEXT(UV, 93, Reason, u"АБ", u"АБ", {kDolgOld, {0x80, 0x81, 0, 0}}),
        TEXT(UV, 93, Reason, u"УВОЛН", u"УВО", {kDolgOld, {0x93, 0x82, 0x8E, 0}}),
        TEXT(UV, 93, Osn, u"Перевод", u"Перевод", {kDcOsn, Field(kOemPerevod, 33)}),
        TEXT(UV, 93, Osn, digits40, digits40.substr(0, 32), {kDcOsn, Field(digits32, 33)}),
        FIELD(UV, 93, UnderWorkedOtDays, 0.75f, 0.75f, {kDcSum3, {0x00, 0x00, 0x40, 0x3F}}),
        FIELD(UV, 93, UnderWorkedOtDaysSredn, Cy(-1), Cy(-1), {kDcms, Le32(-1)}),
        FIELD(UV, 93, OtDaysCompensation, -3.25f, -3.25f, {kDcSum2, {0x00, 0x00, 0x50, 0xC0}}),
        FIELD(UV, 93, OtDaysCompensationSredn, Cy(12345678), Cy(12345678), {kDcms + 4, Le32(12345678)}),
        FIELD(UV, 93, FiredCompensationDays, 12.5f, 12.5f, {kDcsum1, Le32(1095237632)}, {kDcsum1High, Le32(0)}),
        FIELD(UV, 93, FiredCompensationSredn, Cy(2147483647), Cy(2147483647), {kDcms + 8, Le32(2147483647)}),
        FIELD(UV, 93, SumPremSredn, Cy(123450), Cy(123500), {kDcDolg, Le32(1235)}),  // rounded to hundredths
        FIELD(UV, 93, PayAfterFireing, yes, yes, {kDcDat1, Le16(1)}),
        FIELD(UV, 93, PayAfterFireing, no, no, {kDcDat1, Le16(0)}),
        FIELD(UV, 93, ResignDate, DATE{45000.75}, DATE{45000.0}, {kDcShort + 2, Le16(22719)}),  // the time goes
        FIELD(UV, 93, MonthsForSredn, LONG{12}, LONG{12}, {kDcLong + 16, Le32(12)}),
        // Income certificate (260); the two dates share Dcms(2), one half each.
        TEXT(NL, 260, SpravkaNum, u"Справка №12", u"Справка №12", {kMemo, Field(kOemSpravka, 46)}),
        FIELD(NL, 260, SpravkaFirstDate, DATE{40000.0}, DATE{40000.0}, {kDcms + 8, Le16(17719)}),
        FIELD(NL, 260, SpravkaLastDate, DATE{20000.0}, DATE{20000.0}, {kDcms + 10, Le16(-2281)}),
        FIELD(NL, 260, SpravkaLastDate, DATE{0.0}, DATE{0.0}, {kDcms + 10, Le16(0)}),
        FIELD(NL, 260, SpravkaIssueDate, DATE{44561.0}, DATE{44561.0}, {kLDcdpod, Le16(22280)}),
        FIELD(NL, 260, SumOfIncome, Cy(300000000000), Cy(300000000000), {kDcsum1, Le32(300000000000 & 0xFFFFFFFF)},
              {kDcsum1High, Le32(300000000000 >> 32)}),  // beyond 32 bits: the raw value whole
        FIELD(NL, 260, IncomeTaxPayed, Cy(999900), Cy(999900), {kDcSum2, Le32(9999)}),
        FIELD(NL, 260, PensionTaxPayed, Cy(-55000), Cy(-55000), {kDcSum3, Le32(-550)}),
        FIELD(NL, 260, IncomeTax3ProcPayed, Cy(10100), Cy(10100), {kDcms + 4, Le32(101)}),
        FIELD(NL, 260, AccumulatedDiscount, Cy(4000000), Cy(4000000), {kDcms, Le32(40000)}),
        FIELD(NL, 260, IncomeType, LONG{7}, LONG{7}, {kDcDat1, Le16(7)}),
        // Transfer (91).
        FIELD(DR, 91, OldPositionId, LONG{123456}, LONG{123456}, {kDcLong, Le32(123456)}),
        FIELD(DR, 91, NewPositionId, LONG{-2}, LONG{-2}, {kDcLong + 4, Le32(-2)}),
        FIELD(DR, 91, OldProfRazryad, LONG{3}, LONG{3}, {kDcLong + 8, Le32(3)}),
        FIELD(DR, 91, NewProfRazryad, LONG{4}, LONG{4}, {kDcLong + 12, Le32(4)}),
        FIELD(DR, 91, OldDriverClassnost, LONG{1}, LONG{1}, {kLDcRsrv, Le32(1)}),
        FIELD(DR, 91, NewDriverClassnost, LONG{2}, LONG{2}, {kLDcRsrv + 4, Le32(2)}),
        FIELD(DR, 91, OldStaffPositionID, LONG{777}, LONG{777}, {kLReserv2, Le32(777)}),
        FIELD(DR, 91, NewStaffPositionID, LONG{1000000}, LONG{1000000}, {kDcSum3, Le32(1000000)}),
        // Advance (7), savings bank (10), address and account (14).
        FIELD(AV, 7, Sum, Cy(123400), Cy(123400), {kDcsum1, Le32(1234)}, {kDcsum1High, Le32(0)}),
        FIELD(AV, 7, SumToTransfer, Cy(100), Cy(100), {kDcSum3, Le32(1)}),
        FIELD(AV, 7, AccountId, LONG{4242}, LONG{4242}, {kLDcdpod, Le16(4242)}),
        FIELD(AV, 7, BankDepNum, LONG{17}, LONG{17}, {kDcLong, Le32(17)}),
        FIELD(SB, 10, AccountId, LONG{-7}, LONG{-7}, {kLDcdpod, Le16(-7)}),
        TEXT(SB, 10, BankDepartment, u"Отд. 5", u"Отд. 5", {kDcOsn, Field(kOemOtd, 33)}),
        FIELD(IN, 14, AccountId, LONG{99}, LONG{99}, {kLDcRsrv, Le32(99)}),
        // Absence (51), personnel numbers (68).
        TEXT(TN, 51, AbsenceCode, u"Ув", u"Ув", {kDcSum3, {0x93, 0xA2, 0, 0}}),
        FIELD(TN, 51, NewAbsenceCode, LONG{21}, LONG{21}, {kDcDat1, Le16(21)}),
        FIELD(TN, 51, NotInAveList, LONG{1}, LONG{1}, {kLDcdpod, Le16(1)}),
        TEXT(Vl, 68, MainTabNumber, u"1234", u"1234", {kDcOsn, Field({'1', '2', '3', '4'}, 33)}),
    };
    for (std::size_t i = 0; i < cases.size(); ++i) cases[i].name += "_" + std::to_string(i);
    return cases;
}

// A type code of another kind: none of the kinds checks the code it is given.
constexpr SHORT kOtherType = 336;

class RecordKindField : public ::testing::TestWithParam<std::tuple<FieldCase, bool>> {};

TEST_P(RecordKindField, WritesItsOwnBytesOnlyAndReadsBack) {
    const FieldCase& c = std::get<0>(GetParam());
    const bool ownType = std::get<1>(GetParam());
    const unsigned seed = static_cast<unsigned>(std::hash<std::string>{}(c.name));
    ComPtr<IOrvDocument> doc = NewDocument(RandomRecord(seed, ownType ? c.type : kOtherType));
    ASSERT_TRUE(doc);
    const Record before = RecordOf(doc.Get());

    ComPtr<IUnknown> kind;
    if (ownType)
        ASSERT_EQ(orv::CreateSpecificObject(c.type, doc.Get(), kind.GetAddressOf()), S_OK);
    else
        ASSERT_EQ(c.create(doc.Get(), kind.GetAddressOf()), S_OK);
    ASSERT_EQ(c.put(kind.Get()), S_OK);

    Record expected = before;
    for (const auto& [offset, bytes] : c.changes) std::copy(bytes.begin(), bytes.end(), expected.begin() + offset);
    const Record after = RecordOf(doc.Get());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i], expected[i]) << "byte " << i << " (before " << int(before[i]) << ")";
    c.expectGet(kind.Get());
}

INSTANTIATE_TEST_SUITE_P(Kinds, RecordKindField, ::testing::Combine(::testing::ValuesIn(Cases()), ::testing::Bool()),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + (std::get<1>(info.param) ? "_own" : "_other");
                         });

// ------------------------------------------------------------ round trips

TEST(RecordKindPacking, FloatBitsComeBackBitForBitAndAreTheFieldsHundredths) {
    ComPtr<IOrvDocument> doc = NewDocument(RandomRecord(7, 93));
    ComPtr<IOrvUVDoc> uv = KindOf<IOrvUVDoc>(doc.Get());
    ASSERT_TRUE(uv);
    struct Prop {
        HRESULT (IOrvUVDoc::*put)(float);
        HRESULT (IOrvUVDoc::*get)(float*);
        HRESULT (IOrvDocument::*field)(CY*);
    };
    const Prop props[] = {
        {&IOrvUVDoc::put_UnderWorkedOtDays, &IOrvUVDoc::get_UnderWorkedOtDays, &IOrvDocument::get_DcSum3},
        {&IOrvUVDoc::put_OtDaysCompensation, &IOrvUVDoc::get_OtDaysCompensation, &IOrvDocument::get_DcSum2},
        {&IOrvUVDoc::put_FiredCompensationDays, &IOrvUVDoc::get_FiredCompensationDays, &IOrvDocument::get_Dcsum1},
    };
    const float values[] = {0.0f,
                            -0.0f,
                            0.1f,
                            12.5f,
                            -3.25f,
                            123456.789f,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::lowest(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::bit_cast<float>(0x7FC12345u)};
    for (const Prop& p : props)
        for (float v : values) {
            ASSERT_EQ((uv.Get()->*p.put)(v), S_OK);
            float got = 1.0f;
            ASSERT_EQ((uv.Get()->*p.get)(&got), S_OK);
            EXPECT_EQ(std::bit_cast<std::uint32_t>(got), std::bit_cast<std::uint32_t>(v)) << v;
            CY field{};
            ASSERT_EQ((doc.Get()->*p.field)(&field), S_OK);
            EXPECT_EQ(field.int64, std::int64_t{std::bit_cast<std::int32_t>(v)} * 100) << v;
        }
}

TEST(RecordKindPacking, ScaledCurrenciesKeepFourDecimalsAndWrapBeyond32Bits) {
    ComPtr<IOrvDocument> doc = NewDocument(RandomRecord(8, 93));
    ComPtr<IOrvUVDoc> uv = KindOf<IOrvUVDoc>(doc.Get());
    ASSERT_TRUE(uv);
    using Put = HRESULT (IOrvUVDoc::*)(CY);
    using Get = HRESULT (IOrvUVDoc::*)(CY*);
    const std::pair<Put, Get> props[] = {
        {&IOrvUVDoc::put_UnderWorkedOtDaysSredn, &IOrvUVDoc::get_UnderWorkedOtDaysSredn},
        {&IOrvUVDoc::put_OtDaysCompensationSredn, &IOrvUVDoc::get_OtDaysCompensationSredn},
        {&IOrvUVDoc::put_FiredCompensationSredn, &IOrvUVDoc::get_FiredCompensationSredn},
    };
    const std::pair<LONGLONG, LONGLONG> values[] = {
        {0, 0},           {1, 1},
        {-1, -1},         {12345678, 12345678},
        {2147483647, 2147483647}, {-2147483647 - 1LL, -2147483647 - 1LL},
        {2147483648LL, -2147483648LL},  // beyond 214 748.3647 only the low 32 bits are kept
    };
    for (auto [put, get] : props)
        for (auto [value, expected] : values) {
            ASSERT_EQ((uv.Get()->*put)(Cy(value)), S_OK);
            CY got = Cy(99);
            ASSERT_EQ((uv.Get()->*get)(&got), S_OK);
            EXPECT_EQ(got.int64, expected) << value;
        }
    // The worked example: 1 234.5678 makes Dcms(1) read 123 456.78.
    ASSERT_EQ(uv->put_OtDaysCompensationSredn(Cy(12345678)), S_OK);
    CY dcms1{};
    ASSERT_EQ(doc->get_Dcms(1, &dcms1), S_OK);
    EXPECT_EQ(dcms1.int64, 1234567800);
}

TEST(RecordKindPacking, DayHalvesKeepEachOther) {
    ComPtr<IOrvDocument> doc = NewDocument(RandomRecord(9, 260));
    ComPtr<IOrvNLDoc> nl = KindOf<IOrvNLDoc>(doc.Get());
    ASSERT_TRUE(nl);
    const DATE dates[] = {0.0, 22282.0, 40000.0, 20000.0, 55048.0, 22281.0 - 32768.0};
    for (DATE first : dates)
        for (DATE last : dates) {
            ASSERT_EQ(nl->put_SpravkaFirstDate(first), S_OK);
            ASSERT_EQ(nl->put_SpravkaLastDate(last), S_OK);
            DATE f = -1, l = -1;
            ASSERT_EQ(nl->get_SpravkaFirstDate(&f), S_OK);
            ASSERT_EQ(nl->get_SpravkaLastDate(&l), S_OK);
            EXPECT_EQ(f, first) << first << " / " << last;
            EXPECT_EQ(l, last) << first << " / " << last;
        }
}

TEST(RecordKindPacking, FlagIsAnyNonZeroFieldAndStoresOne) {
    ComPtr<IOrvDocument> doc = NewDocument(SHORT{93});
    ComPtr<IOrvUVDoc> uv = KindOf<IOrvUVDoc>(doc.Get());
    ASSERT_TRUE(uv);
    for (LONG field : {7L, -1L, 1L, 0L}) {
        ASSERT_EQ(doc->put_DcDat1(field), S_OK);
        VARIANT_BOOL flag = 5;
        ASSERT_EQ(uv->get_PayAfterFireing(&flag), S_OK);
        EXPECT_EQ(flag, field ? VARIANT_TRUE : VARIANT_FALSE) << field;
    }
    ASSERT_EQ(uv->put_PayAfterFireing(VARIANT_BOOL{5}), S_OK);
    LONG dat1 = 0;
    ASSERT_EQ(doc->get_DcDat1(&dat1), S_OK);
    EXPECT_EQ(dat1, 1);
}

TEST(RecordKindPacking, KindsFollowTheDocumentsSumArea) {
    // With AT set, a document of type 93 keeps its sums in the secondary area:
    // the kind writes there through the document's own property.
    Record r = RandomRecord(10, 93);
    ComPtr<IOrvDocument> doc = NewDocument(r);
    ASSERT_EQ(doc->put_AT(1), S_OK);
    const Record before = RecordOf(doc.Get());
    ComPtr<IOrvUVDoc> uv = KindOf<IOrvUVDoc>(doc.Get());
    ASSERT_EQ(uv->put_FiredCompensationDays(12.5f), S_OK);
    Record expected = before;
    const Bytes pattern = Le32(1095237632);
    std::copy(pattern.begin(), pattern.end(), expected.begin() + 178);
    EXPECT_EQ(RecordOf(doc.Get()), expected);
}

// ------------------------------------------------------- computed answers

TEST(AbsenceKind, DismissalAndAverageListAnswers) {
    struct Row {
        std::u16string code;
        LONG newCode, notInAve;
        bool dismissed, outOfAve;
    };
    const Row rows[] = {
        {u"у", 0, 0, true, true},    {u"У12", 0, 0, true, true}, {u"Б", 0, 0, false, false},
        {u"y", 0, 0, false, false},  // a Latin letter is not the dismissal mark
        {u"ау", 0, 0, false, false}, {u"", 10, 0, true, true},   {u"", 21, 0, false, true},
        {u"", 22, 0, false, false},  {u"", 5, 0, false, true},   {u"", 6, 0, false, true},
        {u"", 0, 1, false, true},    {u"", 0, -1, false, true},  {u"", 11, 0, false, false},
    };
    ComPtr<IOrvDocument> doc = NewDocument(RandomRecord(11, 51));
    ComPtr<IOrvTNDoc> tn = KindOf<IOrvTNDoc>(doc.Get());
    ASSERT_TRUE(tn);
    for (const Row& row : rows) {
        ASSERT_EQ(tn->put_AbsenceCode(Bstr(row.code)), S_OK);
        ASSERT_EQ(tn->put_NewAbsenceCode(row.newCode), S_OK);
        ASSERT_EQ(tn->put_NotInAveList(row.notInAve), S_OK);
        VARIANT_BOOL dismissed = 1, out = 1;
        ASSERT_EQ(tn->get_IsDissmised(&dismissed), S_OK);
        ASSERT_EQ(tn->get_IsOutOfAveList(&out), S_OK);
        const std::string what = orv::Utf16ToUtf8(row.code) + " " + std::to_string(row.newCode) + " " +
                                 std::to_string(row.notInAve);
        EXPECT_EQ(dismissed, row.dismissed ? VARIANT_TRUE : VARIANT_FALSE) << what;
        EXPECT_EQ(out, row.outOfAve ? VARIANT_TRUE : VARIANT_FALSE) << what;
    }
}

TEST(OutsideJobKind, FlagsFromLDcProcAndRefusedPuts) {
    ComPtr<IOrvDocument> doc = NewDocument(RandomRecord(12, 71));
    ComPtr<IOrvDOutsSovm> kind = KindOf<IOrvDOutsSovm>(doc.Get());
    ASSERT_TRUE(kind);
    const std::tuple<LONG, bool, bool> rows[] = {{100, true, false}, {90, true, false},  {101, false, false},
                                                 {-90, false, false}, {-100, false, true}, {0, false, false}};
    for (auto [proc, outer, military] : rows) {
        ASSERT_EQ(doc->put_lDcProc(proc), S_OK);
        VARIANT_BOOL o = 1, m = 1;
        ASSERT_EQ(kind->get_OuterSovm(&o), S_OK);
        ASSERT_EQ(kind->get_MilitaryMan(&m), S_OK);
        EXPECT_EQ(o, outer ? VARIANT_TRUE : VARIANT_FALSE) << proc;
        EXPECT_EQ(m, military ? VARIANT_TRUE : VARIANT_FALSE) << proc;
    }
    const Record before = RecordOf(doc.Get());
    EXPECT_EQ(kind->put_OuterSovm(VARIANT_TRUE), E_NOTIMPL);
    EXPECT_EQ(kind->put_MilitaryMan(VARIANT_TRUE), E_NOTIMPL);
    EXPECT_EQ(RecordOf(doc.Get()), before);
}

TEST(OutsideJobKind, ObjectCreatedByClassTakesItsDocumentOnce) {
    ComPtr<IOrvDOutsSovm> kind;
    ASSERT_EQ(orv::CreateObject<orv::OrvDOutsSovm>(&kind), S_OK);
    VARIANT_BOOL flag = 0;
    EXPECT_EQ(kind->get_OuterSovm(&flag), E_POINTER);  // no document yet

    ComPtr<IOrvDocument> doc = NewDocument(SHORT{71}), other = NewDocument(SHORT{71});
    ASSERT_EQ(doc->put_lDcProc(90), S_OK);
    EXPECT_EQ(kind->put_OrvDocument(nullptr), E_POINTER);
    EXPECT_EQ(kind->put_OrvDocument(kind.Get()), E_NOINTERFACE);
    ASSERT_EQ(kind->put_OrvDocument(doc.Get()), S_OK);
    ASSERT_EQ(kind->get_OuterSovm(&flag), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
    EXPECT_EQ(kind->put_OrvDocument(doc.Get()), S_OK);
    EXPECT_EQ(kind->put_OrvDocument(other.Get()), E_UNEXPECTED);

    ComPtr<IUnknown> held, expected;
    ASSERT_EQ(kind->get_OrvDocument(held.GetAddressOf()), S_OK);
    doc.As(&expected);
    ComPtr<IUnknown> heldIdentity;
    held.As(&heldIdentity);
    EXPECT_EQ(heldIdentity.Get(), expected.Get());
}

// ------------------------------------------------------ refused arguments

TEST(RecordKindFrame, WithoutDocumentOrOutPointerTheMembersRefuse) {
    // Created alone by class identifier: no generic document to work on.
    ComPtr<IOrvUVDoc> uv;
    ComPtr<IOrvDRDoc> dr;
    ComPtr<IOrvSTDoc> st;
    ComPtr<IOrvVlDoc> vl;
    ASSERT_EQ(orv::CreateObject<orv::OrvUVDoc>(&uv), S_OK);
    ASSERT_EQ(orv::CreateObject<orv::OrvDRDoc>(&dr), S_OK);
    ASSERT_EQ(orv::CreateObject<orv::OrvSTDoc>(&st), S_OK);
    ASSERT_EQ(orv::CreateObject<orv::OrvVlDoc>(&vl), S_OK);
    float f = 0;
    BSTR text = nullptr;
    IUnknown* list = nullptr;
    EXPECT_EQ(uv->get_FiredCompensationDays(&f), E_POINTER);
    EXPECT_EQ(uv->put_MonthsForSredn(3), E_POINTER);
    EXPECT_EQ(dr->get_NewPosition(&text), E_POINTER);
    EXPECT_EQ(dr->put_NewPosition(nullptr), E_POINTER);
    EXPECT_EQ(st->put_Address(nullptr), E_POINTER);
    EXPECT_EQ(vl->get_OtherTabNumbers(0, &list), E_POINTER);
    // With a document, a null out-pointer.
    ComPtr<IOrvDocument> doc = NewDocument(SHORT{93});
    uv = KindOf<IOrvUVDoc>(doc.Get());
    EXPECT_EQ(uv->get_FiredCompensationDays(nullptr), E_POINTER);
    EXPECT_EQ(uv->get_Reason(nullptr), E_POINTER);
    vl = Attach<orv::OrvVlDoc, IOrvVlDoc>(doc.Get());
    EXPECT_EQ(vl->get_OtherTabNumbers(0, nullptr), E_POINTER);
}

}  // namespace
