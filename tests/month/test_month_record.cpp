// The month record: every property at its field with the bytes around it
// unchanged, the two names of shared fields, the conversions, the totals,
// the lists, the bookkeeping values and the XML form.
#include "month_fakes.h"

#include <orvdocs/automation.h>

#include <random>
#include <thread>

#include <string>

namespace monthtest {
namespace {

using MonthBytes = Bytes<144>;

MonthBytes RecordOf(IOrvMonth* m) {
    Bstr rec;
    EXPECT_EQ(m->get_MonthRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    return BytesOf<144>(rec);
}

struct MonthField {
    const char* name;
    std::size_t offset, width;
    std::function<HRESULT(IOrvMonth*, IOrvM*, LONG)> put;  // puts the stored value v
    std::function<LONG(IOrvMonth*, IOrvM*)> get;           // reads the stored value back
};

template <class I, class T>
MonthField Plain(const char* name, std::size_t offset, std::size_t width, HRESULT (I::*put)(T),
                 HRESULT (I::*get)(T*)) {
    auto pick = [](IOrvMonth* m, IOrvM* r) -> I* {
        if constexpr (std::is_same_v<I, IOrvMonth>) return m;
        else return r;
    };
    return {name, offset, width,
            [=](IOrvMonth* m, IOrvM* r, LONG v) { return (pick(m, r)->*put)(static_cast<T>(v)); },
            [=](IOrvMonth* m, IOrvM* r) {
                T v{};
                EXPECT_EQ((pick(m, r)->*get)(&v), S_OK);
                return static_cast<LONG>(v);
            }};
}
MonthField Money(const char* name, std::size_t offset, HRESULT (IOrvM::*put)(CY), HRESULT (IOrvM::*get)(CY*)) {
    return {name, offset, 4, [=](IOrvMonth*, IOrvM* r, LONG v) { return (r->*put)(Kop(v)); },
            [=](IOrvMonth*, IOrvM* r) {
                CY v{};
                EXPECT_EQ((r->*get)(&v), S_OK);
                EXPECT_EQ(v.int64 % 100, 0);
                return static_cast<LONG>(v.int64 / 100);
            }};
}

std::vector<MonthField> MonthFields() {
    return {
        Plain("mfl", 0, 2, &IOrvM::put_mfl, &IOrvM::get_mfl),
        {"MDate", 2, 2, [](IOrvMonth*, IOrvM* r, LONG v) { return r->put_MDate(v + 22281.0); },
         [](IOrvMonth*, IOrvM* r) {
             DATE d = 0;
             EXPECT_EQ(r->get_MDate(&d), S_OK);
             return static_cast<LONG>(d - 22281.0);
         }},
        {"MonthDate", 2, 2, [](IOrvMonth* m, IOrvM*, LONG v) { return m->put_MonthDate(v + 22281.25); },
         [](IOrvMonth* m, IOrvM*) {
             DATE d = 0;
             EXPECT_EQ(m->get_MonthDate(&d), S_OK);
             return static_cast<LONG>(d - 22281.0);
         }},
        Money("msbl", 4, &IOrvM::put_msbl, &IOrvM::get_msbl),
        Money("msot", 8, &IOrvM::put_msot, &IOrvM::get_msot),
        Money("msor", 12, &IOrvM::put_msor, &IOrvM::get_msor),
        Money("msxx", 18, &IOrvM::put_msxx, &IOrvM::get_msxx),
        Money("msyy", 22, &IOrvM::put_msyy, &IOrvM::get_msyy),
        Plain("FactDays", 26, 2, &IOrvMonth::put_FactDays, &IOrvMonth::get_FactDays),
        Plain("msday", 26, 2, &IOrvM::put_msday, &IOrvM::get_msday),
        Plain("NormDays", 28, 2, &IOrvMonth::put_NormDays, &IOrvMonth::get_NormDays),
        Plain("msdayf", 28, 2, &IOrvM::put_msdayf, &IOrvM::get_msdayf),
        Money("msres1", 30, &IOrvM::put_msres1, &IOrvM::get_msres1),
        Money("msres2", 34, &IOrvM::put_msres2, &IOrvM::get_msres2),
        Plain("NormHours", 38, 4, &IOrvMonth::put_NormHours, &IOrvMonth::get_NormHours),
        Plain("msres3", 38, 4, &IOrvM::put_msres3, &IOrvM::get_msres3),
        Plain("FactHours", 42, 4, &IOrvMonth::put_FactHours, &IOrvMonth::get_FactHours),
        Plain("msres4", 42, 4, &IOrvM::put_msres4, &IOrvM::get_msres4),
        Plain("NormOtDays", 46, 2, &IOrvMonth::put_NormOtDays, &IOrvMonth::get_NormOtDays),
        Plain("mfl2", 46, 2, &IOrvM::put_mfl2, &IOrvM::get_mfl2),
        Plain("NormDaysOnOkPeriods", 48, 2, &IOrvM::put_NormDaysOnOkPeriods, &IOrvM::get_NormDaysOnOkPeriods),
        Plain("NormHoursOnOkPeriods", 54, 4, &IOrvM::put_NormHoursOnOkPeriods, &IOrvM::get_NormHoursOnOkPeriods),
        {"Rate", 58, 4, [](IOrvMonth*, IOrvM* r, LONG v) { return r->put_Rate(Cy(v)); },
         [](IOrvMonth*, IOrvM* r) {
             CY c{};
             EXPECT_EQ(r->get_Rate(&c), S_OK);
             return static_cast<LONG>(c.int64);
         }},
        Plain("HolHours2Deduct", 62, 4, &IOrvM::put_HolHours2Deduct, &IOrvM::get_HolHours2Deduct),
        Plain("ScLgType", 70, 2, &IOrvM::put_ScLgType, &IOrvM::get_ScLgType),
        Plain("FrgnStatus", 72, 4, &IOrvM::put_FrgnStatus, &IOrvM::get_FrgnStatus),
    };
}

TEST(MonthRecord, EveryPropertyWritesItsFieldOnly) {
    for (const MonthField& field : MonthFields()) {
        SCOPED_TRACE(std::string(field.name) + " at " + std::to_string(field.offset));
        auto m = NewMonth();
        auto r = As<IOrvM>(m.Get());
        const MonthBytes before = PatternBytes<144>(static_cast<unsigned>(field.offset));
        ASSERT_EQ(m->put_MonthRecord(RecordBstr(before)), S_OK);
        const LONG value = field.width == 2 ? -1234 : -987654321;
        ASSERT_EQ(field.put(m.Get(), r.Get(), value), S_OK);
        const MonthBytes after = RecordOf(m.Get());
        for (std::size_t i = 0; i < 144; ++i) {
            if (i >= field.offset && i < field.offset + field.width) {
                const auto expected =
                    static_cast<unsigned char>((static_cast<std::uint32_t>(value) >> (8 * (i - field.offset))) & 0xFF);
                EXPECT_EQ(after[i], expected) << "byte " << i;
            } else {
                EXPECT_EQ(after[i], before[i]) << "byte " << i;
            }
        }
        EXPECT_EQ(field.get(m.Get(), r.Get()), value);
    }
}

TEST(MonthRecord, TwoNamesOfOneFieldAndTheDualFace) {
    auto m = NewMonth();
    auto r = As<IOrvM>(m.Get());
    auto disp = As<IOrvMonthDisp>(m.Get());
    // FactDays 21 changes bytes 26 and 27 to 0x15 0x00; msday reads 21.
    ASSERT_EQ(m->put_FactDays(21), S_OK);
    MonthBytes b = RecordOf(m.Get());
    EXPECT_EQ(b[26], 0x15);
    EXPECT_EQ(b[27], 0x00);
    LONG n = 0;
    EXPECT_EQ(r->get_msday(&n), S_OK);
    EXPECT_EQ(n, 21);
    // The dual face reaches the same fields, from both custom faces.
    EXPECT_EQ(disp->get_msday(&n), S_OK);
    EXPECT_EQ(n, 21);
    ASSERT_EQ(disp->put_NormHours(168), S_OK);
    EXPECT_EQ(r->get_msres3(&n), S_OK);
    EXPECT_EQ(n, 168);
    ASSERT_EQ(disp->put_TotalTaxable(Kop(5)), S_OK);
    CY c{};
    EXPECT_EQ(m->get_TotalTaxable(&c), S_OK);
    EXPECT_EQ(c.int64, 500);
    // 16-bit fields as long keep the low 16 bits; as short they are as given.
    ASSERT_EQ(r->put_msdayf(0x10005), S_OK);
    EXPECT_EQ(m->get_NormDays(&n), S_OK);
    EXPECT_EQ(n, 5);
    ASSERT_EQ(r->put_mfl2(0xFFFF), S_OK);
    SHORT s = 0;
    EXPECT_EQ(m->get_NormOtDays(&s), S_OK);
    EXPECT_EQ(s, -1);
    EXPECT_EQ(r->get_mfl2(&n), S_OK);
    EXPECT_EQ(n, -1);
}

TEST(MonthRecord, LateBoundCallsReachTheSameMembers) {
    auto m = NewMonth();
    auto disp = As<IDispatch>(m.Get());
    orv::DispResult r = orv::PutProperty(disp.Get(), u"msbl", orv::Variant(Cy(12345650)));
    ASSERT_EQ(r.hr, S_OK);
    r = orv::GetProperty(disp.Get(), u"msbl");
    ASSERT_EQ(r.hr, S_OK);
    ASSERT_EQ(r.value.vt, VT_CY);
    EXPECT_EQ(r.value.cyVal.int64, 12345700);
    // An indexed member: the sum collector without a trace list fails with its report.
    r = orv::GetProperty(disp.Get(), u"SumCollector", {orv::Variant(LONG{3})});
    EXPECT_EQ(r.status, E_POINTER);
    EXPECT_EQ(r.description, u"The list of additional remarks for the month is not initialized");
    r = orv::PutProperty(disp.Get(), u"FactDays", orv::Variant(SHORT{17}));
    ASSERT_EQ(r.hr, S_OK);
    SHORT days = 0;
    m->get_FactDays(&days);
    EXPECT_EQ(days, 17);
}

TEST(MonthRecord, DescribedConversions) {
    auto m = NewMonth();
    auto r = As<IOrvM>(m.Get());
    CY c{};
    // msbl 1234.565 stores 123457 hundredths and reads 1234.57; -0.005 stores -1.
    ASSERT_EQ(r->put_msbl(Cy(12345650)), S_OK);
    MonthBytes b = RecordOf(m.Get());
    std::int32_t stored = 0;
    std::memcpy(&stored, &b[4], 4);
    EXPECT_EQ(stored, 123457);
    EXPECT_EQ(r->get_msbl(&c), S_OK);
    EXPECT_EQ(c.int64, 12345700);
    ASSERT_EQ(r->put_msbl(Cy(-50)), S_OK);
    b = RecordOf(m.Get());
    std::memcpy(&stored, &b[4], 4);
    EXPECT_EQ(stored, -1);
    // MDate 2024-03-01 (45352.0) stores day number 23071; day 0 reads 0.0.
    ASSERT_EQ(r->put_MDate(45352.0), S_OK);
    b = RecordOf(m.Get());
    std::int16_t day = 0;
    std::memcpy(&day, &b[2], 2);
    EXPECT_EQ(day, 23071);
    DATE d = 1;
    ASSERT_EQ(m->put_MonthDate(0.0), S_OK);
    EXPECT_EQ(r->get_MDate(&d), S_OK);
    EXPECT_EQ(d, 0.0);
    // Rate: the low 32 bits of the raw currency, read sign-extended.
    ASSERT_EQ(r->put_Rate(Cy(0x123456789LL)), S_OK);
    EXPECT_EQ(r->get_Rate(&c), S_OK);
    EXPECT_EQ(c.int64, 0x23456789LL);
    ASSERT_EQ(r->put_Rate(Cy(-25000)), S_OK);
    EXPECT_EQ(r->get_Rate(&c), S_OK);
    EXPECT_EQ(c.int64, -25000);
}

TEST(MonthRecord, RecordTravelsWholeOrNotAtAll) {
    auto m = NewMonth();
    EXPECT_EQ(RecordOf(m.Get()), MonthBytes{});
    const MonthBytes bytes = PatternBytes<144>(1);
    ASSERT_EQ(m->put_MonthRecord(RecordBstr(bytes)), S_OK);
    EXPECT_EQ(RecordOf(m.Get()), bytes);
    Bstr shorter = Bstr::Attach(SysAllocStringByteLen("\x07\x07\x07\x07", 4));
    EXPECT_EQ(m->put_MonthRecord(shorter), E_INVALIDARG);
    EXPECT_EQ(m->put_MonthRecord(nullptr), E_INVALIDARG);
    std::array<unsigned char, 143> almost{};
    EXPECT_EQ(m->put_MonthRecord(RecordBstr(almost)), E_INVALIDARG);
    EXPECT_EQ(RecordOf(m.Get()), bytes);
    std::array<unsigned char, 150> longer{};
    longer.fill(0x5A);
    ASSERT_EQ(m->put_MonthRecord(RecordBstr(longer)), S_OK);
    MonthBytes expected;
    expected.fill(0x5A);
    EXPECT_EQ(RecordOf(m.Get()), expected);
    EXPECT_EQ(m->get_MonthRecord(nullptr), E_POINTER);
}

TEST(MonthFields, BookkeepingValuesAndUnsupportedMembers) {
    auto m = NewMonth();
    auto r = As<IOrvM>(m.Get());
    LONG condition = -1;
    ULONG dbk = 1;
    EXPECT_EQ(r->get_RecordCondition(&condition), S_OK);
    EXPECT_EQ(condition, 0);
    EXPECT_EQ(r->get_dbk(&dbk), S_OK);
    EXPECT_EQ(dbk, 0u);
    ASSERT_EQ(r->put_RecordCondition(1), S_OK);
    ASSERT_EQ(r->put_RecordCondition(2), S_OK);
    r->get_RecordCondition(&condition);
    EXPECT_EQ(condition, 1);
    ASSERT_EQ(r->put_RecordCondition(3), S_OK);
    r->get_RecordCondition(&condition);
    EXPECT_EQ(condition, 3);
    ASSERT_EQ(r->put_dbk(0xFFFFFFF0u), S_OK);
    r->get_dbk(&dbk);
    EXPECT_EQ(dbk, 0xFFFFFFF0u);

    EXPECT_EQ(r->WriteTraceSum(0, Kop(1)), E_NOTIMPL);
    auto xml = As<IOrvObjAsXmlString>(m.Get());
    BSTR text = reinterpret_cast<BSTR>(0x1);
    EXPECT_EQ(xml->get_FullString(&text), E_NOTIMPL);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(xml->put_FullString(nullptr), E_NOTIMPL);
    EXPECT_EQ(r->get_RecordCondition(nullptr), E_POINTER);
    EXPECT_EQ(m->get_TotalCleared(nullptr), E_POINTER);
    EXPECT_EQ(m->get_SumList(nullptr), E_POINTER);
}

TEST(MonthFields, ListsAreHeldAndReplaced) {
    auto m = NewMonth();
    using Get = HRESULT (IOrvMonth::*)(IUnknown**);
    using Put = HRESULT (IOrvMonth::*)(IUnknown*);
    const std::pair<Get, Put> lists[] = {
        {&IOrvMonth::get_SumList, &IOrvMonth::put_SumList},
        {&IOrvMonth::get_PayList, &IOrvMonth::put_PayList},
        {&IOrvMonth::get_MTraceList, &IOrvMonth::put_MTraceList},
        {&IOrvMonth::get_CurPhotoPayList, &IOrvMonth::put_CurPhotoPayList},
        {&IOrvMonth::get_PhotoPayList, &IOrvMonth::put_PhotoPayList},
    };
    std::vector<ComPtr<IUnknown>> held;
    for (const auto& [get, put] : lists) {
        ComPtr<IUnknown> got;
        ASSERT_EQ((m.Get()->*get)(got.GetAddressOf()), S_OK);
        EXPECT_FALSE(got);
        held.push_back(As<IUnknown>(NewList().Get()));
        ASSERT_EQ((m.Get()->*put)(held.back().Get()), S_OK);
    }
    // Each list holds its own object; the month keeps a reference of its own.
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        ComPtr<IUnknown> got;
        const Get get = lists[i].first;
        EXPECT_EQ((m.Get()->*get)(got.GetAddressOf()), S_OK);
        EXPECT_EQ(got.Get(), held[i].Get());
    }
    IUnknown* raw = held[2].Get();
    raw->AddRef();
    held.clear();
    EXPECT_EQ(raw->Release(), 1u);  // only the month holds it now
    ASSERT_EQ(m->put_MTraceList(nullptr), S_OK);
    ComPtr<IUnknown> got;
    ASSERT_EQ(m->get_MTraceList(got.GetAddressOf()), S_OK);
    EXPECT_FALSE(got);
}

TEST(MonthFields, TraceIndexIsRebuiltAtEachTraceListPut) {
    Fake<orv::OrvMonth> month;
    auto m = As<IOrvMonth>(month.unknown.Get());
    auto list = NewList();
    auto a = NewTrace(1000), b = NewTrace(-1000), c = NewTrace(1001), gone = NewTrace(1002);
    gone->put_RecordCondition(3);
    for (auto* t : {a.Get(), b.Get(), c.Get(), gone.Get()}) list->Add(t);
    list->Add(m.Get());  // not a trace: passed over
    ASSERT_EQ(m->put_MTraceList(list.Get()), S_OK);
    EXPECT_EQ(month->IndexedTraceCount(), 3u);
    ASSERT_EQ(m->put_MTraceList(NewList().Get()), S_OK);
    EXPECT_EQ(month->IndexedTraceCount(), 0u);
    // Something that is not a list is held, and indexes nothing.
    ASSERT_EQ(m->put_MTraceList(a.Get()), S_OK);
    EXPECT_EQ(month->IndexedTraceCount(), 0u);
}

// ------------------------------------------------------------------- XML

// The totals by their XML tags, as the month's XML form names them.
struct TotalByTag {
    const char16_t* tag;
    HRESULT (IOrvMonth::*get)(CY*);
    HRESULT (IOrvMonth::*put)(CY);
};
#define TOTAL(tag, name) {tag, &IOrvMonth::get_##name, &IOrvMonth::put_##name}
const TotalByTag kTotalsInXmlOrder[] = {
    TOTAL(u"ALLSUMDISC", AllowedSumDiscount), TOTAL(u"ALWTAXED", AlwaysTaxedSum),
    TOTAL(u"CURDISC1", CurMaterialkaDiscount), TOTAL(u"CURDISC2", CurMedicineDiscount),
    TOTAL(u"CURDISC3", CurPodarkiDiscount), TOTAL(u"CUDISC", CurrentDiscounts),
    TOTAL(u"CURTAX2", CurrentTax2), TOTAL(u"CURTAX3", CurrentTax3), TOTAL(u"CURTAX4", CurrentTax4),
    TOTAL(u"CURDISC4", CurSumDiscount), TOTAL(u"RESTDISC4", RestOfSumDiscount), TOTAL(u"SFTAX", SumForTax),
    TOTAL(u"TOTCLEARED", TotalCleared), TOTAL(u"TOTDISC", TotalDiscounts), TOTAL(u"TOTINC2", TotalIncome2),
    TOTAL(u"TOTINC3", TotalIncome3), TOTAL(u"TOTINC4", TotalIncome4), TOTAL(u"TOTITAX", TotalIncomeTax),
    TOTAL(u"TOTMAT", TotalMaterialka), TOTAL(u"TOTDISC1", TotalMaterialkaDiscounts),
    TOTAL(u"TOTMED", TotalMedicine), TOTAL(u"TOTDISC2", TotalMedicineDiscount), TOTAL(u"TOTPTAX", TotalPensTax),
    TOTAL(u"TOTPOD", TotalPodarki), TOTAL(u"TOTDISC3", TotalPodarkiDiscounts),
    TOTAL(u"TOTDISC4", TotalSumDiscount), TOTAL(u"TOTTAX2", TotalTax2), TOTAL(u"TOTTAX3", TotalTax3),
    TOTAL(u"TOTTAX4", TotalTax4), TOTAL(u"TOTTXABLE", TotalTaxable),
};
#undef TOTAL

std::u16string ShortStringOf(IOrvMonth* m) {
    auto xml = As<IOrvObjAsXmlString>(m);
    Bstr text;
    EXPECT_EQ(xml->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
    return Text(text);
}
HRESULT PutShortString(IOrvMonth* m, const std::u16string& text) {
    return As<IOrvObjAsXmlString>(m)->put_ShortString(Bstr(text));
}
std::u16string Element(const std::u16string& tag, const std::u16string& value) {
    return u"<" + tag + u">" + value + u"</" + tag + u">";
}
std::u16string Replace(std::u16string text, const std::u16string& from, const std::u16string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::u16string::npos);
    if (at != std::u16string::npos) text.replace(at, from.size(), to);
    return text;
}

// The record bytes that FDAYS, NORMDAYS, NORMHOURS and FHOURS also carry.
constexpr std::size_t kFieldElementBytes[] = {26, 27, 28, 29, 38, 39, 40, 41, 42, 43, 44, 45};
MonthBytes WithoutFieldElements(unsigned char fill) {
    MonthBytes b;
    b.fill(fill);
    for (std::size_t i : kFieldElementBytes) b[i] = 0;
    return b;
}

TEST(MonthXml, NewMonthWritesZeros) {
    auto m = NewMonth();
    std::u16string expected = u"<ORVMONTH>" + Element(u"MESRECORD", std::u16string(288, u'0')) + Element(u"DBK", u"0");
    for (const auto& t : kTotalsInXmlOrder) expected += Element(t.tag, u"0");
    expected += Element(u"FHOURS", u"0") + Element(u"NORMDAYS", u"0") + Element(u"NORMHOURS", u"0") +
                Element(u"CONDITION", u"0") + Element(u"FDAYS", u"0") + u"</ORVMONTH>";
    EXPECT_EQ(ShortStringOf(m.Get()), expected);
}

TEST(MonthXml, EveryValueUnderItsOwnTagAndBack) {
    auto m = NewMonth();
    auto r = As<IOrvM>(m.Get());
    const MonthBytes bytes = PatternBytes<144>(4);
    ASSERT_EQ(m->put_MonthRecord(RecordBstr(bytes)), S_OK);
    for (std::size_t i = 0; i < std::size(kTotalsInXmlOrder); ++i) {
        const auto put = kTotalsInXmlOrder[i].put;
        EXPECT_EQ((m.Get()->*put)(Cy(static_cast<LONGLONG>(i + 1) * 12345 - 100000)), S_OK);
    }
    ASSERT_EQ(r->put_dbk(4000000000u), S_OK);
    ASSERT_EQ(r->put_RecordCondition(2), S_OK);
    const std::u16string text = ShortStringOf(m.Get());
    // Each total sits under its tag in the platform's currency text.
    for (std::size_t i = 0; i < std::size(kTotalsInXmlOrder); ++i) {
        orv::Variant v(Cy(static_cast<LONGLONG>(i + 1) * 12345 - 100000));
        ASSERT_EQ(v.ChangeType(VT_BSTR), S_OK);
        EXPECT_NE(text.find(Element(kTotalsInXmlOrder[i].tag, Text(v.bstrVal))), std::u16string::npos)
            << Bstr(kTotalsInXmlOrder[i].tag).Utf8();
    }
    EXPECT_NE(text.find(Element(u"DBK", u"4000000000")), std::u16string::npos);
    EXPECT_NE(text.find(Element(u"CONDITION", u"2")), std::u16string::npos);

    auto copy = NewMonth();
    ASSERT_EQ(PutShortString(copy.Get(), text), S_OK);
    EXPECT_EQ(RecordOf(copy.Get()), bytes);
    for (const auto& t : kTotalsInXmlOrder) {
        CY a{}, b{};
        (m.Get()->*t.get)(&a);
        (copy.Get()->*t.get)(&b);
        EXPECT_EQ(a.int64, b.int64) << Bstr(t.tag).Utf8();
    }
    ULONG dbk = 0;
    As<IOrvM>(copy.Get())->get_dbk(&dbk);
    EXPECT_EQ(dbk, 4000000000u);
    EXPECT_EQ(ShortStringOf(copy.Get()), text);
}

TEST(MonthXml, RecordFieldElementsWinOverTheRecordBytes) {
    auto m = NewMonth();
    ASSERT_EQ(m->put_FactDays(3), S_OK);
    ASSERT_EQ(m->put_FactHours(24), S_OK);
    std::u16string text = ShortStringOf(m.Get());
    text = Replace(text, Element(u"FDAYS", u"3"), Element(u"FDAYS", u"-2"));
    text = Replace(text, Element(u"FHOURS", u"24"), Element(u"FHOURS", u"70000"));
    text = Replace(text, Element(u"NORMDAYS", u"0"), Element(u"NORMDAYS", u"65557"));  // low 16 bits: 21
    auto copy = NewMonth();
    ASSERT_EQ(PutShortString(copy.Get(), text), S_OK);
    SHORT days = 0;
    LONG hours = 0, norm = 0;
    copy->get_FactDays(&days);
    copy->get_FactHours(&hours);
    copy->get_NormDays(&norm);
    EXPECT_EQ(days, -2);
    EXPECT_EQ(hours, 70000);
    EXPECT_EQ(norm, 21);
}

TEST(MonthXml, MissingElementsGiveZeroAndMissingRecordKeepsIt) {
    auto m = NewMonth();
    const MonthBytes bytes = PatternBytes<144>(8);
    ASSERT_EQ(m->put_MonthRecord(RecordBstr(bytes)), S_OK);
    ASSERT_EQ(m->put_AlwaysTaxedSum(Kop(999)), S_OK);
    ASSERT_EQ(m->put_TotalCleared(Kop(5)), S_OK);
    // Without "ALWTAXED" the total becomes 0; the others are read.
    ASSERT_EQ(PutShortString(m.Get(), u"<ORVMONTH>" + Element(u"TOTCLEARED", u"12.5") + u"</ORVMONTH>"), S_OK);
    CY c{};
    m->get_AlwaysTaxedSum(&c);
    EXPECT_EQ(c.int64, 0);
    m->get_TotalCleared(&c);
    EXPECT_EQ(c.int64, 125000);
    // No "MESRECORD": the record stays, but the field elements, absent, give 0.
    MonthBytes expected = bytes;
    for (std::size_t i : kFieldElementBytes) expected[i] = 0;
    EXPECT_EQ(RecordOf(m.Get()), expected);
    // An empty element counts as missing.
    ASSERT_EQ(PutShortString(m.Get(), u"<ORVMONTH><TOTCLEARED/><DBK></DBK></ORVMONTH>"), S_OK);
    m->get_TotalCleared(&c);
    EXPECT_EQ(c.int64, 0);
}

TEST(MonthXml, MonthHexDecoderReadsPairsByCharacterCodes) {
    auto m = NewMonth();
    std::u16string hex(288, u'0');
    hex.replace(0, 2, u"aF");   // 'a' gives 42: 42 x 16 + 15 keeps its low byte, 0xAF
    hex.replace(2, 2, u"Fa");   // 15 x 16 + 42 = 0x11A, low byte 0x1A
    hex.replace(4, 2, u"7G");   // 'G' gives 16: 7 x 16 + 16 = 0x80
    hex.replace(286, 2, u"FF");
    ASSERT_EQ(PutShortString(m.Get(), u"<ORVMONTH>" + Element(u"MESRECORD", hex) + u"</ORVMONTH>"), S_OK);
    const MonthBytes b = RecordOf(m.Get());
    EXPECT_EQ(b[0], 0xAF);
    EXPECT_EQ(b[1], 0x1A);
    EXPECT_EQ(b[2], 0x80);
    EXPECT_EQ(b[143], 0xFF);

    // Longer or odd texts give the first 144 bytes.
    std::u16string longer(288, u'1');
    longer += u"2345";
    ASSERT_EQ(PutShortString(m.Get(), u"<ORVMONTH>" + Element(u"MESRECORD", longer) + u"</ORVMONTH>"), S_OK);
    // (the absent FDAYS, NORMDAYS, NORMHOURS and FHOURS elements give 0)
    MonthBytes ones = WithoutFieldElements(0x11);
    EXPECT_EQ(RecordOf(m.Get()), ones);
    std::u16string odd(289, u'2');
    ASSERT_EQ(PutShortString(m.Get(), u"<ORVMONTH>" + Element(u"MESRECORD", odd) + u"</ORVMONTH>"), S_OK);
    MonthBytes twos = WithoutFieldElements(0x22);
    EXPECT_EQ(RecordOf(m.Get()), twos);
}

TEST(MonthXml, BadInputLeavesTheMonthAsItWas) {
    auto m = NewMonth();
    const MonthBytes bytes = PatternBytes<144>(5);
    ASSERT_EQ(m->put_MonthRecord(RecordBstr(bytes)), S_OK);
    ASSERT_EQ(m->put_TotalMedicine(Kop(777)), S_OK);
    const std::u16string before = ShortStringOf(m.Get());
    const std::u16string zeros288(288, u'0');
    const std::u16string bad[] = {
        u"",                                                                   // no element
        u"<ORVMONTH><TOTMED>1</TOTMED>",                                       // does not parse
        u"<OTHER>" + Element(u"MESRECORD", zeros288) + u"</OTHER>",           // no ORVMONTH
        u"<ORVMONTH>" + Element(u"MESRECORD", u"00FF") + u"</ORVMONTH>",      // short record
        u"<ORVMONTH>" + Element(u"MESRECORD", zeros288) + Element(u"TOTMED", u"lots") + u"</ORVMONTH>",
        u"<ORVMONTH>" + Element(u"FDAYS", u"40000") + u"</ORVMONTH>",         // beyond 16 bits
        u"<ORVMONTH>" + Element(u"DBK", u"1e99") + u"</ORVMONTH>",
    };
    for (const auto& text : bad) {
        SCOPED_TRACE(Bstr(text).Utf8());
        EXPECT_TRUE(FAILED(PutShortString(m.Get(), text)));
        EXPECT_EQ(ShortStringOf(m.Get()), before);
    }
    auto xml = As<IOrvObjAsXmlString>(m.Get());
    EXPECT_EQ(xml->ParseIn(nullptr, 0), E_POINTER);
    EXPECT_EQ(xml->ParseFrom(nullptr, 0), E_POINTER);
    EXPECT_EQ(xml->get_ShortString(nullptr), E_POINTER);
    // A node of another kind than a DOM node.
    EXPECT_EQ(xml->ParseFrom(m.Get(), 0), E_NOINTERFACE);
    EXPECT_EQ(ShortStringOf(m.Get()), before);
}

TEST(MonthXml, ParseInAppendsToTheGivenElement) {
    ComPtr<IXMLDOMDocument> dom;
    ASSERT_EQ(CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                               reinterpret_cast<void**>(dom.GetAddressOf())),
              S_OK);
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(dom->loadXML(Bstr(u"<MONTHS><M/></MONTHS>"), &ok), S_OK);
    ComPtr<IXMLDOMNode> node;
    ASSERT_EQ(dom->selectSingleNode(Bstr(u"MONTHS/M"), node.GetAddressOf()), S_OK);
    auto m = NewMonth();
    ASSERT_EQ(m->put_FactHours(-5), S_OK);
    auto xml = As<IOrvObjAsXmlString>(m.Get());
    ASSERT_EQ(xml->ParseIn(node.Get(), 12345), S_OK);
    ComPtr<IXMLDOMNode> fhours;
    ASSERT_EQ(dom->selectSingleNode(Bstr(u"MONTHS/M/FHOURS"), fhours.GetAddressOf()), S_OK);
    Bstr text;
    fhours->get_text(text.ReleaseAndGetAddressOf());
    EXPECT_EQ(Text(text), u"-5");
    auto copy = NewMonth();
    ASSERT_EQ(As<IOrvObjAsXmlString>(copy.Get())->ParseFrom(node.Get(), 0), S_OK);
    LONG hours = 0;
    copy->get_FactHours(&hours);
    EXPECT_EQ(hours, -5);
}

}  // namespace
}  // namespace monthtest

namespace monthtest {
namespace {

TEST(MonthXml, AnyRecordTravelsThroughTheShortFormUnchanged) {
    std::mt19937 rng(1612);
    for (int round = 0; round < 64; ++round) {
        MonthBytes bytes{};
        for (auto& b : bytes) b = static_cast<unsigned char>(rng());
        auto m = NewMonth();
        ASSERT_EQ(m->put_MonthRecord(RecordBstr(bytes)), S_OK);
        ASSERT_EQ(m->put_TotalIncome3(Cy(static_cast<LONGLONG>(rng()) * 977 - (LONGLONG{1} << 40))), S_OK);
        Bstr text;
        ASSERT_EQ(As<IOrvObjAsXmlString>(m.Get())->get_ShortString(text.ReleaseAndGetAddressOf()), S_OK);
        auto copy = NewMonth();
        ASSERT_EQ(As<IOrvObjAsXmlString>(copy.Get())->put_ShortString(text), S_OK);
        Bstr rec;
        ASSERT_EQ(copy->get_MonthRecord(rec.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(BytesOf<144>(rec), bytes) << "round " << round;
        CY a{}, b{};
        m->get_TotalIncome3(&a);
        copy->get_TotalIncome3(&b);
        EXPECT_EQ(a.int64, b.int64);
    }
}

TEST(MonthFields, CallsFromSeveralThreadsAreSerialised) {
    auto m = NewMonth();
    auto fields = As<IOrvM>(m.Get());
    ASSERT_EQ(m->put_MTraceList(NewList().Get()), S_OK);
    constexpr int kThreads = 4, kIndices = 40;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kIndices; ++i) {
                const LONG index = t * kIndices + i;
                fields->put_SumCollector(index, Kop(index * 3 + 1));
                CY v{};
                fields->get_SumCollector(index, &v);
            }
        });
    for (auto& th : threads) th.join();
    for (LONG index = 0; index < kThreads * kIndices; ++index) {
        CY v{};
        ASSERT_EQ(fields->get_SumCollector(index, &v), S_OK);
        EXPECT_EQ(v.int64, Kop(index * 3 + 1).int64) << index;
    }
    // One trace per code: no two threads created the same trace.
    ComPtr<IUnknown> list;
    m->get_MTraceList(list.GetAddressOf());
    EXPECT_EQ(TracesOf(As<IOrvUnknownList>(list.Get()).Get()).size(), static_cast<std::size_t>((kThreads * kIndices + 18) / 19));
}

}  // namespace
}  // namespace monthtest
