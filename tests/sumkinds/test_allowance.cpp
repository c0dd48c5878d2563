// Tax allowances (type 40): packed record fields, the counts that the
// allowance-type table can halve, and the address in both body formats.
#include "fake_reference_db.h"
#include "sum_support.h"

#include "kinds/OrvLPDoc.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

namespace {

using namespace sumtest;

class Allowance : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK);
        doc_ = Document(40, 0);
        lp_ = kindtest::KindOf<IOrvLPDoc>(doc_.Get());
        ASSERT_TRUE(lp_);
    }
    void TearDown() override { registration_.Revoke(); }

    LONG DcLong(LONG i) {
        LONG v = 0;
        EXPECT_EQ(doc_->get_dcLong(i, &v), S_OK);
        return v;
    }
    LONG Dcms(SHORT i) {
        CY c{};
        EXPECT_EQ(doc_->get_Dcms(i, &c), S_OK);
        return static_cast<LONG>(c.int64 / 100);
    }
    LONG Hundredths(HRESULT (IOrvDocument::*get)(CY*)) {
        CY c{};
        EXPECT_EQ((doc_.Get()->*get)(&c), S_OK);
        return static_cast<LONG>(c.int64 / 100);
    }
    // Connects a database service whose table 8 holds the given entry code at index 5.
    FakeReferenceDatabase* Connect(std::u16string code) {
        ComPtr<IOrvDatabase> db;
        EXPECT_EQ(orv::CreateObject<FakeReferenceDatabase>(&db), S_OK);
        auto* fake = static_cast<FakeReferenceDatabase*>(static_cast<orv::ComObject<FakeReferenceDatabase>*>(db.Get()));
        fake->entries[{8, 5}] = std::move(code);
        EXPECT_EQ(doc_->put_OrvBD(db.Get()), S_OK);
        return fake;
    }
    LONG Children(LONG pipe = 3) {
        LONG n = -1;
        EXPECT_EQ(lp_->get_NumChildren(pipe, &n), S_OK);
        return n;
    }
    LONG Dependants(LONG pipe = 3) {
        LONG n = -1;
        EXPECT_EQ(lp_->get_NumDependant(pipe, &n), S_OK);
        return n;
    }

    orv::host::Registration registration_;
    ComPtr<IOrvDocument> doc_;
    ComPtr<IOrvLPDoc> lp_;
};

TEST_F(Allowance, PackedHalvesAndBytesReplaceOnlyTheirOwnBits) {
    ASSERT_EQ(lp_->put_ChildMrotDiscountBase(7), S_OK);
    ASSERT_EQ(lp_->put_MrotDiscountBase(3), S_OK);
    EXPECT_EQ(DcLong(0), 3 * 65536 + 7);
    ASSERT_EQ(lp_->put_ChildMrotDiscountBase(-1), S_OK);
    EXPECT_EQ(DcLong(0), 3 * 65536 + 0xFFFF);
    SHORT s = 0;
    ASSERT_EQ(lp_->get_ChildMrotDiscountBase(&s), S_OK);
    EXPECT_EQ(s, -1);

    ASSERT_EQ(lp_->put_IndexMrotDiscountType(0x11), S_OK);
    ASSERT_EQ(lp_->put_IndexChildMrotDiscountType(0x22), S_OK);
    ASSERT_EQ(lp_->put_IndexSuperMrotDiscountType(0x33), S_OK);
    ASSERT_EQ(lp_->put_IndexSumDiscountType(200), S_OK);
    EXPECT_EQ(static_cast<ULONG>(Hundredths(&IOrvDocument::get_DcSum3)), (200u << 24) | 0x332211u);
    ASSERT_EQ(lp_->put_IndexChildMrotDiscountType(0x1FF), S_OK);  // only the low byte is kept
    ULONG u = 0;
    ASSERT_EQ(lp_->get_IndexChildMrotDiscountType(&u), S_OK);
    EXPECT_EQ(u, 0xFFu);
    ASSERT_EQ(lp_->get_IndexSumDiscountType(&u), S_OK);
    EXPECT_EQ(u, 200u);

    ASSERT_EQ(lp_->put_SuperMrotDiscountBase(9), S_OK);
    ASSERT_EQ(lp_->put_AllowanceOrdered(4), S_OK);
    ASSERT_EQ(lp_->put_ProfessionalPercent(20), S_OK);
    ASSERT_EQ(lp_->put_IndexProfessionDiscountType(6), S_OK);
    EXPECT_EQ(DcLong(1), 9 * 65536);
    EXPECT_EQ(DcLong(2), 4 * 65536);
    EXPECT_EQ(DcLong(4), 6 * 65536 + 20);
}

TEST_F(Allowance, FlagsSetAndClearSingleBits) {
    ASSERT_EQ(lp_->put_Chernobyl(VARIANT_TRUE), S_OK);
    ASSERT_EQ(lp_->put_CancelPersonalOnly(VARIANT_TRUE), S_OK);
    EXPECT_EQ(Dcms(1), 3);  // Dcms(1)
    ASSERT_EQ(lp_->put_CancelPersonalOnly(VARIANT_FALSE), S_OK);
    EXPECT_EQ(Dcms(1), 2);
    VARIANT_BOOL b = 0;
    ASSERT_EQ(lp_->get_Chernobyl(&b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);

    ASSERT_EQ(doc_->put_Dfl(0x41), S_OK);
    ASSERT_EQ(lp_->put_CancelDiscount(VARIANT_TRUE), S_OK);
    LONG dfl = 0;
    ASSERT_EQ(doc_->get_Dfl(&dfl), S_OK);
    EXPECT_EQ(dfl, 0x61);
    ASSERT_EQ(lp_->put_CancelDiscount(VARIANT_FALSE), S_OK);
    ASSERT_EQ(doc_->get_Dfl(&dfl), S_OK);
    EXPECT_EQ(dfl, 0x41);
}

TEST_F(Allowance, CountsAreHalvedOnlyForTheSharedAllowanceCodes) {
    FakeReferenceDatabase* db = Connect(u"45");
    ASSERT_EQ(doc_->put_lDcdpod(4), S_OK);
    ASSERT_EQ(lp_->put_ChildType(0), S_OK);
    ASSERT_EQ(lp_->put_IndexChildMrotDiscountType(5), S_OK);
    EXPECT_EQ(Children(), 2);
    EXPECT_EQ(db->lastPipe, 3);
    EXPECT_EQ(Dependants(), 0);

    db->entries[{8, 5}] = u"102";
    ASSERT_EQ(doc_->put_lDcdpod(5), S_OK);
    EXPECT_EQ(Children(), 2);  // 5 / 2, cut
    db->entries[{8, 5}] = u"44";
    EXPECT_EQ(Children(), 5);

    // Dependants: the same rule with the child type 2.
    db->entries[{8, 5}] = u"45";
    ASSERT_EQ(lp_->put_ChildType(6), S_OK);  // bits 0-1 give 2
    EXPECT_EQ(Children(), 0);
    EXPECT_EQ(Dependants(), 2);

    // No entry in the table, or no type index: the count as held.
    ASSERT_EQ(lp_->put_IndexChildMrotDiscountType(9), S_OK);
    EXPECT_EQ(Dependants(), 5);
    const int asked = db->asked;
    ASSERT_EQ(lp_->put_IndexChildMrotDiscountType(0), S_OK);
    EXPECT_EQ(Dependants(), 5);
    EXPECT_EQ(db->asked, asked);

    // A failing table ends the count with its status.
    ASSERT_EQ(lp_->put_IndexChildMrotDiscountType(5), S_OK);
    db->failWith = E_ACCESSDENIED;
    LONG n = 0;
    EXPECT_EQ(lp_->get_NumDependant(1, &n), E_ACCESSDENIED);
    EXPECT_EQ(lp_->get_NumChildren(1, nullptr), E_POINTER);
}

TEST_F(Allowance, OlderBodyIsTheOemAddressWithLineFeedsAsBlanks) {
    // "Москва\nул. Ленина, 1" in code page 866.
    const std::string oem = "\x8C\xAE\xE1\xAA\xA2\xA0\n\xE3\xAB. \x8B\xA5\xAD\xA8\xAD\xA0, 1";
    SetBytes(doc_.Get(), oem);
    BSTR t = nullptr;
    ASSERT_EQ(lp_->get_Address(0, &t), S_OK);
    EXPECT_EQ(Take(t), u"Москва ул. Ленина, 1");

    // Writing turns the document into the XML form.
    ASSERT_EQ(lp_->put_UvedomNumber(Bstr(u"12/3")), S_OK);
    ASSERT_EQ(lp_->put_UvedomDate(46023.0), S_OK);
    ASSERT_EQ(lp_->UpdateExtension(), S_OK);
    EXPECT_EQ(DcLong(3), 1);
    EXPECT_EQ(Text(doc_.Get()), u"<LPDOCEX ADDRESS=\"Москва ул. Ленина, 1\" UN=\"12/3\" UC=\"\" UD=\"46023\"/>");

    ComPtr<IOrvLPDoc> again = kindtest::KindOf<IOrvLPDoc>(doc_.Get());
    ASSERT_EQ(again->InitFromExtension(), S_OK);
    ASSERT_EQ(again->get_UvedomNumber(&t), S_OK);
    EXPECT_EQ(Take(t), u"12/3");
    DATE d = 0;
    ASSERT_EQ(again->get_UvedomDate(&d), S_OK);
    EXPECT_EQ(d, 46023.0);
}

// An older body is OEM text taken as it is, control bytes included. XML
// cannot hold those: the written body carries U+FFFD in their place (the DOM
// service's written form), and reads back, and every later write gives the
// same body. (Written as references the body was refused and the address lost.)
TEST_F(Allowance, ControlBytesOfAnOlderBodyReadBackAsReplacementCharacters) {
    SetBytes(doc_.Get(), std::string("\x03\x02\x8C", 3));
    BSTR t = nullptr;
    ASSERT_EQ(lp_->get_Address(0, &t), S_OK);
    EXPECT_EQ(Take(t), u"\u0003\u0002М");
    ASSERT_EQ(lp_->UpdateExtension(), S_OK);
    const std::u16string written = Text(doc_.Get());
    EXPECT_EQ(written, u"<LPDOCEX ADDRESS=\"\uFFFD\uFFFDМ\" UN=\"\" UC=\"\" UD=\"0\"/>");

    ComPtr<IOrvDocument> second = Document(40, 0);
    ASSERT_EQ(second->put_dcLong(3, 1), S_OK);  // the XML form, as the write marked it
    SetText(second.Get(), written);
    ComPtr<IOrvLPDoc> reader = kindtest::KindOf<IOrvLPDoc>(second.Get());
    ASSERT_EQ(reader->InitFromExtension(), S_OK);
    ASSERT_EQ(reader->get_Address(0, &t), S_OK);
    EXPECT_EQ(Take(t), u"\uFFFD\uFFFDМ");
    ASSERT_EQ(reader->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(second.Get()), written);
}

TEST_F(Allowance, AddressPutSwitchesToTheXmlFormAndReadsOnce) {
    ASSERT_EQ(lp_->put_Address(Bstr(u"Тверь")), S_OK);
    LONG version = 0;
    ASSERT_EQ(lp_->get_Version(&version), S_OK);
    EXPECT_EQ(version, 1);
    // A later read does not overwrite what the host put.
    SetText(doc_.Get(), u"<LPDOCEX ADDRESS=\"Омск\"/>");
    ASSERT_EQ(lp_->InitFromExtension(), S_OK);
    BSTR t = nullptr;
    ASSERT_EQ(lp_->get_Address(0, &t), S_OK);
    EXPECT_EQ(Take(t), u"Омск");  // first read: the body's address
    ASSERT_EQ(lp_->put_Address(Bstr(u"Тверь")), S_OK);
    ASSERT_EQ(lp_->InitFromExtension(), S_OK);  // initialised already: nothing re-read
    ASSERT_EQ(lp_->get_Address(0, &t), S_OK);
    EXPECT_EQ(Take(t), u"Тверь");
}

TEST_F(Allowance, WithoutADocumentEveryPropertyIsRefused) {
    ComPtr<IOrvLPDoc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvLPDoc>(&alone), S_OK);
    LONG v = 0;
    SHORT s = 0;
    EXPECT_EQ(alone->get_SuperMrot(&v), E_POINTER);
    EXPECT_EQ(alone->put_MrotDiscountBase(1), E_POINTER);
    EXPECT_EQ(alone->get_TaxTableNumber(&s), E_POINTER);
    EXPECT_EQ(alone->get_NumChildren(0, &v), E_POINTER);
    BSTR t = nullptr;
    EXPECT_EQ(alone->get_UvedomNumber(&t), E_POINTER);
    EXPECT_EQ(alone->put_Address(Bstr(u"x")), E_POINTER);
    EXPECT_EQ(alone->get_Address(0, &t), E_POINTER);
    EXPECT_EQ(t, nullptr);
}

}  // namespace
