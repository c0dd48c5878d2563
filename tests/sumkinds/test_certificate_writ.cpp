// The earnings certificate of another employer (type 369) and the writ of
// execution (type 15).
#include "sum_support.h"

#include "kinds/OrvILDoc.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

namespace {

using namespace sumtest;

template <class F>
std::u16string Str(F get) {
    BSTR t = nullptr;
    EXPECT_EQ(get(&t), S_OK);
    return Take(t);
}

// ------------------------------------------------------ earnings certificate

const char16_t* kYears = u"<Years INN=\"7701\" CNAME=\"ООО Ромашка\" PFR=\"087-1\">"
                         u"<Year ID=\"2013\" SUM=\"1000.5\"/><Year ID=\"2014\" SUM=\"-2\" PERIOD=\"01.01-30.06\"/></Years>";

TEST(Certificate, BodyIsReadAndWrittenBackIdentically) {
    ComPtr<IOrvDocument> doc = Document(369, 0);
    // Written out of order and with a repeated year: the last occurrence counts.
    SetText(doc.Get(), u"<Years INN=\"7701\" CNAME=\"ООО Ромашка\" PFR=\"087-1\"><Year ID=\"2014\" SUM=\"5\"/>"
                       u"<Year ID=\"2013\" SUM=\"1000.5\"/><Year ID=\"2014\" SUM=\"-2\" PERIOD=\"01.01-30.06\"/></Years>");
    ComPtr<IOrvBVDoc> bv = kindtest::KindOf<IOrvBVDoc>(doc.Get());
    ASSERT_EQ(bv->InitFromExtension(), S_OK);
    LONG n = 0;
    ASSERT_EQ(bv->get_Size(&n), S_OK);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(Str([&](BSTR* p) { return bv->get_CompanyName(p); }), u"ООО Ромашка");
    EXPECT_EQ(Str([&](BSTR* p) { return bv->get_Period(2014, p); }), u"01.01-30.06");
    EXPECT_EQ(Str([&](BSTR* p) { return bv->get_Period(2013, p); }), u"");
    SetText(doc.Get(), u"");
    ASSERT_EQ(bv->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc.Get()), kYears);
}

TEST(Certificate, PositionsYearsAndSumsAnswerAsTheirArgumentsMean) {
    ComPtr<IOrvDocument> doc = Document(369, 0);
    ComPtr<IOrvBVDoc> bv = kindtest::KindOf<IOrvBVDoc>(doc.Get());
    ASSERT_EQ(bv->put_Sum(2014, Cy(70000)), S_OK);
    ASSERT_EQ(bv->put_Year(5, 2013), S_OK);  // the index plays no part
    LONG y = -1;
    ASSERT_EQ(bv->get_Year(1, &y), S_OK);
    EXPECT_EQ(y, 2013);
    ASSERT_EQ(bv->get_Year(2, &y), S_OK);
    EXPECT_EQ(y, 2014);
    for (LONG pos : {0L, 3L, -1L}) {
        ASSERT_EQ(bv->get_Year(pos, &y), S_OK);
        EXPECT_EQ(y, 0);
    }
    CY c = Cy(1);
    ASSERT_EQ(bv->GetSumForYear(2014, &c), S_OK);
    EXPECT_EQ(c.int64, 70000);
    ASSERT_EQ(bv->get_Sum(2016, &c), S_OK);
    EXPECT_EQ(c.int64, 0);
    // A Year put on an existing year zeroes its sum and keeps its period.
    ASSERT_EQ(bv->put_Period(2014, Bstr(u"весь год")), S_OK);
    ASSERT_EQ(bv->put_Year(1, 2014), S_OK);
    ASSERT_EQ(bv->get_Sum(2014, &c), S_OK);
    EXPECT_EQ(c.int64, 0);
    EXPECT_EQ(Str([&](BSTR* p) { return bv->get_Period(2014, p); }), u"весь год");
    ASSERT_EQ(bv->Clear(), S_OK);
    LONG n = -1;
    ASSERT_EQ(bv->get_Size(&n), S_OK);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(bv->get_Year(1, nullptr), E_POINTER);
}

TEST(Certificate, ABodyWithoutYearsKeepsTheTextsAndNoExtensionLeavesAnEmptyTable) {
    ComPtr<IOrvDocument> doc = Document(369, 0);
    ComPtr<IOrvBVDoc> bv = kindtest::KindOf<IOrvBVDoc>(doc.Get());
    ASSERT_EQ(bv->put_Inn(Bstr(u"1234")), S_OK);
    ASSERT_EQ(bv->put_Sum(2000, Cy(1)), S_OK);
    SetText(doc.Get(), u"<Years INN=\"9999\"/>");
    ASSERT_EQ(bv->InitFromExtension(), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bv->get_Inn(p); }), u"1234");
    LONG n = -1;
    ASSERT_EQ(bv->get_Size(&n), S_OK);
    EXPECT_EQ(n, 0);
    VARIANT_BOOL init = VARIANT_FALSE;
    ASSERT_EQ(bv->get_IsInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_TRUE);
    SetText(doc.Get(), u"<Years><Year");  // unreadable: nothing but the table is touched
    ASSERT_EQ(bv->InitFromExtension(), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return bv->get_Inn(p); }), u"1234");
}

// --------------------------------------------------------------------- writ

TEST(Writ, RecipientAndPassportAreTakenFromTheFullText) {
    const orv::WritRecipient cyr = orv::SplitRecipient(u"Иванова Мария ПСП№ (45 03 123456)");
    EXPECT_EQ(cyr.name, u"Иванова Мария ");
    EXPECT_EQ(cyr.series, u"45 03");
    EXPECT_EQ(cyr.number, u"123456");

    const orv::WritRecipient lat = orv::SplitRecipient(u"Ivanova M. ПСП# (4503 123456)");
    EXPECT_EQ(lat.name, u"IVANOVA M. ");
    EXPECT_EQ(lat.series, u"4503");
    EXPECT_EQ(lat.number, u"123456");

    const orv::WritRecipient lower = orv::SplitRecipient(u"Петров псп№ (45 03 123456)");
    EXPECT_EQ(lower.name, u"Петров псп№ (45 03 123456)");  // the marker is matched only as written
    EXPECT_EQ(lower.series, u"");
    EXPECT_EQ(lower.number, u"");

    EXPECT_EQ(orv::SplitRecipient(u"Сидоров ПСП№ без скобок").series, u"");
    EXPECT_EQ(orv::SplitRecipient(u"Сидоров ПСП№ (4503)").number, u"");
}

TEST(Writ, FullTextTravelsInTheXmlBodyAndSwitchesOlderDocumentsToIt) {
    ComPtr<IOrvDocument> doc = Document(15, 0);
    // Older record: recipient at byte 0, an addition at byte 76 ("Петров" and "2026" in code page 866).
    std::string record(100, '\0');
    const std::string name = "\x8F\xA5\xE2\xE0\xAE\xA2";
    record.replace(0, name.size(), name);
    record.replace(76, 4, "2026");
    SetBytes(doc.Get(), record);
    ComPtr<IOrvILDoc> il = kindtest::KindOf<IOrvILDoc>(doc.Get());
    EXPECT_EQ(Str([&](BSTR* p) { return il->get_FullRecipient(p); }), u"Петров до 2026");
    ASSERT_EQ(il->put_RecipientCode(Bstr(u"R1")), S_OK);
    ASSERT_EQ(il->put_Recipient(Bstr(u"Petrov ПСП№ (45 03 1)")), S_OK);
    ASSERT_EQ(il->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc.Get()), u"<ILDOCEX RCPNT=\"Petrov ПСП№ (45 03 1)\" RCODE=\"R1\"/>");
    LONG flag = 0;
    ASSERT_EQ(doc->get_dcLong(1, &flag), S_OK);
    EXPECT_EQ(flag, 1);

    ComPtr<IOrvILDoc> again = kindtest::KindOf<IOrvILDoc>(doc.Get());
    EXPECT_EQ(Str([&](BSTR* p) { return again->get_Recipient(p); }), u"PETROV ");
    EXPECT_EQ(Str([&](BSTR* p) { return again->get_RecipientPassNumber(p); }), u"1");
    EXPECT_EQ(Str([&](BSTR* p) { return again->get_RecipientCode(p); }), u"R1");
    EXPECT_EQ(Str([&](BSTR* p) { return again->get_RecipientPassType(p); }), u"21");
    EXPECT_EQ(again->put_FullRecipient(Bstr(u"x")), E_NOTIMPL);
}

TEST(Writ, AccountAndBankDepartmentShareTheHundredthsOfDcSum3) {
    ComPtr<IOrvDocument> doc = Document(15, 0);
    ASSERT_EQ(doc->put_DcSum3(Cy(12345600)), S_OK);  // 1 234.56: h = 123456
    ComPtr<IOrvILDoc> il = kindtest::KindOf<IOrvILDoc>(doc.Get());
    LONG account = 0;
    ASSERT_EQ(il->get_AccountId(&account), S_OK);
    EXPECT_EQ(account, 57920 - 65536);
    ASSERT_EQ(il->put_AccountId(7), S_OK);
    CY sum{};
    ASSERT_EQ(doc->get_DcSum3(&sum), S_OK);
    EXPECT_EQ(sum.int64, 6554300);  // h = 65543
    EXPECT_EQ(Str([&](BSTR* p) { return il->get_BankDepartment(p); }), u"1");

    ASSERT_EQ(il->put_BankDepartment(Bstr(u" 12 ")), S_OK);
    ASSERT_EQ(il->get_AccountId(&account), S_OK);
    EXPECT_EQ(account, 7);
    EXPECT_EQ(Str([&](BSTR* p) { return il->get_BankDepartment(p); }), u"12");
    EXPECT_EQ(il->put_BankDepartment(Bstr(u"12a")), E_INVALIDARG);
    EXPECT_EQ(Str([&](BSTR* p) { return il->get_BankDepartment(p); }), u"12");
    ASSERT_EQ(il->put_BankDepartment(nullptr), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return il->get_BankDepartment(p); }), u"");
}

TEST(Writ, PostalTermsAndListNumber) {
    ComPtr<IOrvDocument> doc = Document(15, 0);
    ComPtr<IOrvILDoc> il = kindtest::KindOf<IOrvILDoc>(doc.Get());
    ASSERT_EQ(il->put_PostProc(1.5), S_OK);
    LONG raw = 0;
    ASSERT_EQ(doc->get_dcLong(0, &raw), S_OK);
    EXPECT_EQ(raw, 15000);
    double proc = 0;
    ASSERT_EQ(il->get_PostProc(&proc), S_OK);
    EXPECT_EQ(proc, 1.5);
    EXPECT_EQ(il->put_PostProc(1e9), E_INVALIDARG);
    ASSERT_EQ(il->put_OutsidePost(-2), S_OK);
    LONG post = 0;
    ASSERT_EQ(il->get_OutsidePost(&post), S_OK);
    EXPECT_EQ(post, -2);
    ASSERT_EQ(il->put_ListNumber(44), S_OK);
    ASSERT_EQ(doc->get_LReserv2(&raw), S_OK);
    EXPECT_EQ(raw, 44);
}

}  // namespace
