// The vacation parameters of IOrvOTDoc: each is a few bits of a reserve field
// of the generic document. Records start with random bytes, so a put that
// touches bits it does not own shows up in the record comparison.
#include "vacation_test_util.h"

#include <cstdint>

namespace {

using kindtest::Record;
using kindtest::RecordOf;
using vactest::ComPtr;

struct VacationDocTest : ::testing::Test {
    void SetUp() override {
        doc = kindtest::NewDocument(kindtest::RandomRecord(1234, 22));
        ot = vactest::Vacation<IOrvOTDoc>(doc.Get());
        ASSERT_TRUE(ot);
        before = RecordOf(doc.Get());
    }
    // The number of record bytes a put changed.
    int Changed() {
        Record after = RecordOf(doc.Get());
        int n = 0;
        for (std::size_t i = 0; i < after.size(); ++i) n += after[i] != before[i];
        return n;
    }
    LONG DcLong(LONG i) {
        LONG v = 0;
        EXPECT_EQ(doc->get_dcLong(i, &v), S_OK);
        return v;
    }
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvOTDoc> ot;
    Record before{};
};

TEST_F(VacationDocTest, HalvesOfTheFirstLongAreKeptApart) {
    const auto old = static_cast<uint32_t>(DcLong(0));
    ASSERT_EQ(ot->put_ExtraDays2(0x12345), S_OK);  // only the low 16 bits fit
    EXPECT_EQ(static_cast<uint32_t>(DcLong(0)), (old & 0xFFFF0000u) | 0x2345u);
    ASSERT_EQ(ot->put_ExtraDays3(40000), S_OK);
    EXPECT_EQ(static_cast<uint32_t>(DcLong(0)), (40000u << 16) | 0x2345u);
    LONG v = -1;
    ASSERT_EQ(ot->get_ExtraDays2(&v), S_OK);
    EXPECT_EQ(v, 0x2345);
    ASSERT_EQ(ot->get_ExtraDays3(&v), S_OK);
    EXPECT_EQ(v, 40000);  // unsigned: not sign-extended
    EXPECT_LE(Changed(), 4);
}

TEST_F(VacationDocTest, ExtraTypeAndOutOfAccountShareTheirBits) {
    const auto low = static_cast<uint32_t>(DcLong(2)) & 0xFFFFu;
    ASSERT_EQ(ot->put_ExtraType(-1), S_OK);
    VARIANT_BOOL out = 0;
    ASSERT_EQ(ot->get_OutOfAccount(&out), S_OK);
    EXPECT_EQ(out, VARIANT_TRUE);
    LONG type = 0;
    ASSERT_EQ(ot->get_ExtraType(&type), S_OK);
    EXPECT_EQ(type, -1);  // sign-extended
    ASSERT_EQ(ot->put_ExtraType(0), S_OK);
    ASSERT_EQ(ot->get_OutOfAccount(&out), S_OK);
    EXPECT_EQ(out, VARIANT_FALSE);
    ASSERT_EQ(ot->put_OutOfAccount(VARIANT_TRUE), S_OK);
    ASSERT_EQ(ot->get_ExtraType(&type), S_OK);
    EXPECT_EQ(type, -1);
    EXPECT_EQ(static_cast<uint32_t>(DcLong(2)) & 0xFFFFu, low);
}

TEST_F(VacationDocTest, MonthsForSrednAndLastDCurShareLReserv2) {
    LONG old = 0;
    ASSERT_EQ(doc->get_LReserv2(&old), S_OK);
    ASSERT_EQ(ot->put_MonthsForSredn(12), S_OK);
    SHORT months = 0;
    ASSERT_EQ(ot->get_MonthsForSredn(&months), S_OK);
    EXPECT_EQ(months, 12);
    // A date with a time of day keeps the day only; bits 16-31 stay.
    ASSERT_EQ(ot->put_LastDCur(vactest::kJan15 + 0.75), S_OK);
    DATE last = 0;
    ASSERT_EQ(ot->get_LastDCur(&last), S_OK);
    EXPECT_EQ(last, vactest::kJan15);
    LONG now = 0;
    ASSERT_EQ(doc->get_LReserv2(&now), S_OK);
    EXPECT_EQ(static_cast<uint32_t>(now),
              (static_cast<uint32_t>(old) & 0xFF000000u) | (12u << 16) | static_cast<uint32_t>(46037 - 22281));
    ASSERT_EQ(ot->put_LastDCur(0.0), S_OK);
    ASSERT_EQ(ot->get_LastDCur(&last), S_OK);
    EXPECT_EQ(last, 0.0);
    ASSERT_EQ(ot->get_MonthsForSredn(&months), S_OK);
    EXPECT_EQ(months, 12);
}

TEST_F(VacationDocTest, DaysOfCompensationKeepsFourDecimals) {
    ASSERT_EQ(ot->put_DaysOfCompensation(2.33333), S_OK);
    double days = 0;
    ASSERT_EQ(ot->get_DaysOfCompensation(&days), S_OK);
    EXPECT_DOUBLE_EQ(days, 2.3333);
    EXPECT_EQ(DcLong(4), 23333);
    ASSERT_EQ(ot->put_DaysOfCompensation(-1.5), S_OK);
    EXPECT_EQ(DcLong(4), -15000);
    EXPECT_LE(Changed(), 4);
}

TEST_F(VacationDocTest, DopOtpCalcTypeOwnsOneNibblePerLeave) {
    SHORT v = 0;
    EXPECT_EQ(ot->get_DopOtpCalcType(5, &v), E_INVALIDARG);
    EXPECT_EQ(ot->get_DopOtpCalcType(0, &v), E_INVALIDARG);
    EXPECT_EQ(ot->put_DopOtpCalcType(5, 1), E_INVALIDARG);
    EXPECT_EQ(Changed(), 0);
    LONG old = 0;
    ASSERT_EQ(doc->get_lDcRsrv(1, &old), S_OK);
    ASSERT_EQ(ot->put_DopOtpCalcType(2, 3), S_OK);
    LONG now = 0;
    ASSERT_EQ(doc->get_lDcRsrv(1, &now), S_OK);
    EXPECT_EQ(static_cast<uint32_t>(now), (static_cast<uint32_t>(old) & ~0x00000F00u) | 0x300u);
    ASSERT_EQ(ot->get_DopOtpCalcType(2, &v), S_OK);
    EXPECT_EQ(v, 3);
    ASSERT_EQ(ot->get_DopOtpCalcType(4, &v), S_OK);
    EXPECT_EQ(v, static_cast<SHORT>((static_cast<uint32_t>(old) >> 24) & 0x0F));
}

TEST_F(VacationDocTest, FlagsOfDcShortOneStartFromTheUnsetState) {
    ASSERT_EQ(doc->put_dcShort(1, -1), S_OK);
    VARIANT_BOOL b = 0;
    ASSERT_EQ(ot->get_OnlyExtraDays(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
    ASSERT_EQ(ot->get_IsNotMome(&b), S_OK);
    EXPECT_EQ(b, VARIANT_FALSE);
    ASSERT_EQ(ot->put_IsNotMome(VARIANT_TRUE), S_OK);
    SHORT s = 0;
    ASSERT_EQ(doc->get_dcShort(1, &s), S_OK);
    EXPECT_EQ(s, 3);
    ASSERT_EQ(ot->put_OnlyExtraDays(VARIANT_FALSE), S_OK);
    ASSERT_EQ(doc->get_dcShort(1, &s), S_OK);
    EXPECT_EQ(s, 2);
    ASSERT_EQ(ot->get_IsNotMome(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
}

TEST_F(VacationDocTest, NullOutPointersAndTheUnbuiltMembers) {
    EXPECT_EQ(ot->get_MonthsForSredn(nullptr), E_POINTER);
    EXPECT_EQ(ot->get_LastDCur(nullptr), E_POINTER);
    EXPECT_EQ(ot->get_DopOtpCalcType(1, nullptr), E_POINTER);
    EXPECT_EQ(ot->get_ProtocolAsXml(nullptr), E_POINTER);
    EXPECT_EQ(ot->put_ProtocolAsXml(nullptr), E_NOTIMPL);
    DATE untouched = 123.0;
    EXPECT_EQ(ot->CalcAllDates(nullptr, vactest::kJan1, 28, 1, 2, 3, &untouched, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(untouched, 123.0);
    EXPECT_EQ(Changed(), 0);
}

TEST_F(VacationDocTest, TheVacationTypesAreTwelveRowsWithoutAFilter) {
    ComPtr<IOrvENUMBlTypes> types;
    ASSERT_EQ(ot->QueryInterface(IID_IOrvENUMBlTypes, reinterpret_cast<void**>(types.GetAddressOf())), S_OK);
    ASSERT_EQ(types->ApplyFilter(nullptr), S_OK);
    ASSERT_EQ(types->Reset(), S_OK);
    BSTR name = nullptr;
    LONG code = 0, rows = 0;
    while (types->Next(&name, &code) == S_OK) {
        EXPECT_EQ(code, rows + 1);
        SysFreeString(name);
        name = nullptr;
        ++rows;
    }
    EXPECT_EQ(rows, 12);
    EXPECT_EQ(types->TypeToName(13, &name), S_FALSE);
    EXPECT_EQ(name, nullptr);
    ASSERT_EQ(types->TypeToName(9, &name), S_OK);
    EXPECT_EQ(vactest::Utf8(kindtest::Text(name)), "9 Компенсация");
    SysFreeString(name);
}

TEST(VacationDocAlone, WithoutADocumentEveryViewFailsWithEPointer) {
    ComPtr<IOrvOTDoc> ot;
    ASSERT_EQ(orv::CreateObject<orv::OrvOTDoc>(&ot), S_OK);
    LONG v = 0;
    EXPECT_EQ(ot->get_ExtraDays2(&v), E_POINTER);
    EXPECT_EQ(ot->put_ExtraType(1), E_POINTER);
    ComPtr<IOrvOTProtocol> p;
    ASSERT_EQ(ot->QueryInterface(IID_IOrvOTProtocol, reinterpret_cast<void**>(p.GetAddressOf())), S_OK);
    EXPECT_EQ(p->Load(), E_POINTER);
    EXPECT_EQ(p->Save(), E_POINTER);
    // The protocol fields themselves need no document.
    ASSERT_EQ(p->put_MesCount(3), S_OK);
    SHORT n = 0;
    ASSERT_EQ(p->get_MesCount(&n), S_OK);
    EXPECT_EQ(n, 3);
}

}  // namespace
