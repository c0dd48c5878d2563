// Rates by month and financing source (type 335), and the empty rate list (338).
#include "sum_support.h"

#include "host/registration.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

namespace {

using namespace sumtest;

constexpr DATE kJan = 46023.0, kFeb = 46054.0, kMar = 46082.0;

class Rates : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK); }
    void TearDown() override { registration_.Revoke(); }
    ComPtr<IOrvERDoc> NewList(std::u16string_view body) {
        ComPtr<IOrvDocument> doc = Document(335, 1);
        docs_.push_back(doc);
        if (!body.empty()) SetText(doc.Get(), body);
        ComPtr<IOrvERDoc> er = kindtest::KindOf<IOrvERDoc>(doc.Get());
        EXPECT_EQ(er->InitFromExtension(), S_OK);
        return er;
    }
    DATE Recalculation(IOrvERDoc* a, IOrvERDoc* b) {
        DATE d = -1;
        EXPECT_EQ(a->CalculateRecalculationDate(b, &d), S_OK);
        return d;
    }
    orv::host::Registration registration_;
    std::vector<ComPtr<IOrvDocument>> docs_;
};

const char16_t* kBody = u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"92.5\"/><ERSUM MH=\"46023\" FR=\"3\" VAL=\"90\"/>"
                        u"<ERSUM MH=\"46054\" FR=\"0\" VAL=\"95.1234\"/></ERSUMS>";

TEST_F(Rates, BodyIsReadInMonthAndSourceOrderAndWrittenBackIdentically) {
    // Written out of order on purpose: the list orders itself.
    ComPtr<IOrvERDoc> er = NewList(u"<ERSUMS><ERSUM MH=\"46054\" FR=\"0\" VAL=\"95.1234\"/>"
                                   u"<ERSUM MH=\"46023\" FR=\"3\" VAL=\"90\"/><ERSUM MH=\"46023\" FR=\"0\" VAL=\"92.5\"/></ERSUMS>");
    LONG n = 0;
    ASSERT_EQ(er->GetElemCount(&n), S_OK);
    EXPECT_EQ(n, 3);
    DATE d = 0;
    LONG fr = -1;
    CY rate{};
    ASSERT_EQ(er->GetItem(1, &d, &fr, &rate), S_OK);
    EXPECT_EQ(d, kJan);
    EXPECT_EQ(fr, 3);
    EXPECT_EQ(rate.int64, 900000);
    EXPECT_EQ(er->GetItem(3, &d, &fr, &rate), S_FALSE);
    EXPECT_EQ(er->GetItem(-1, &d, &fr, &rate), S_FALSE);
    ASSERT_EQ(er->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(docs_.back().Get()), kBody);
}

TEST_F(Rates, ASourceWithoutItsOwnRateTakesTheRateOfSourceZero) {
    ComPtr<IOrvERDoc> er = NewList(kBody);
    CY rate{};
    ASSERT_EQ(er->GetRate(kJan, 3, &rate), S_OK);
    EXPECT_EQ(rate.int64, 900000);
    ASSERT_EQ(er->GetRate(kJan, 7, &rate), S_OK);
    EXPECT_EQ(rate.int64, 925000);
    EXPECT_EQ(er->GetRate(kMar, 0, &rate), S_FALSE);
    EXPECT_EQ(rate.int64, -1);
    EXPECT_EQ(er->GetRate(kMar, 0, nullptr), E_POINTER);
}

TEST_F(Rates, SetRateNeedsTheDocumentsExtensionInitialised) {
    ComPtr<IOrvDocument> doc = Document(335, 1);
    SetText(doc.Get(), kBody);
    ComPtr<IOrvERDoc> er = kindtest::KindOf<IOrvERDoc>(doc.Get());
    ASSERT_EQ(doc->put_ExtensionInitialized(VARIANT_FALSE), S_OK);
    EXPECT_EQ(er->SetRate(kMar, 0, Cy(1000000)), E_UNEXPECTED);
    LONG n = -1;
    ASSERT_EQ(er->GetElemCount(&n), S_OK);
    EXPECT_EQ(n, 0);

    // Once the extension is there, the first SetRate reads the body before adding.
    ASSERT_EQ(doc->put_ExtensionInitialized(VARIANT_TRUE), S_OK);
    ASSERT_EQ(er->SetRate(kMar, 0, Cy(1000000)), S_OK);
    ASSERT_EQ(er->SetRate(kJan, 3, Cy(910000)), S_OK);  // replaces
    ASSERT_EQ(er->GetElemCount(&n), S_OK);
    EXPECT_EQ(n, 4);
    CY rate{};
    ASSERT_EQ(er->GetRate(kJan, 3, &rate), S_OK);
    EXPECT_EQ(rate.int64, 910000);
}

TEST_F(Rates, RecalculationDateIsTheFirstMonthWhereTheListsDiffer) {
    ComPtr<IOrvERDoc> a = NewList(kBody);
    ComPtr<IOrvERDoc> same = NewList(kBody);
    EXPECT_EQ(Recalculation(a.Get(), same.Get()), 0.0);

    ComPtr<IOrvERDoc> changed = NewList(u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"92.5\"/>"
                                        u"<ERSUM MH=\"46023\" FR=\"3\" VAL=\"90\"/><ERSUM MH=\"46054\" FR=\"0\" VAL=\"95\"/></ERSUMS>");
    EXPECT_EQ(Recalculation(a.Get(), changed.Get()), kFeb);

    ComPtr<IOrvERDoc> earlier = NewList(u"<ERSUMS><ERSUM MH=\"46000\" FR=\"0\" VAL=\"1\"/></ERSUMS>");
    EXPECT_EQ(Recalculation(a.Get(), earlier.Get()), 46000.0);

    ComPtr<IOrvERDoc> shorter = NewList(u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"92.5\"/></ERSUMS>");
    EXPECT_EQ(Recalculation(a.Get(), shorter.Get()), kJan);   // this list goes on: its month at that index
    EXPECT_EQ(Recalculation(shorter.Get(), a.Get()), kJan);   // the other goes on: its first unmatched month

    DATE d = 0;
    EXPECT_EQ(a->CalculateRecalculationDate(nullptr, &d), E_POINTER);
    EXPECT_EQ(a->CalculateRecalculationDate(a.Get(), nullptr), E_POINTER);
    ComPtr<IOrvDocument> notRates = Document(335, 1);
    EXPECT_EQ(a->CalculateRecalculationDate(notRates.Get(), &d), E_NOINTERFACE);
}

TEST_F(Rates, ClearSumsEmptiesTheListAndItsBody) {
    ComPtr<IOrvERDoc> er = NewList(kBody);
    ASSERT_EQ(er->ClearSums(), S_OK);
    LONG n = -1;
    ASSERT_EQ(er->GetElemCount(&n), S_OK);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(Text(docs_.back().Get()), u"<ERSUMS/>");
}

TEST(EmptyRateList, EveryMemberDoesNothing) {
    ComPtr<IOrvDocument> doc = Document(338, 1);
    SetText(doc.Get(), u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"1\"/></ERSUMS>");
    ComPtr<IOrvZGDoc> zg = kindtest::KindOf<IOrvZGDoc>(doc.Get());
    ASSERT_TRUE(zg);
    EXPECT_EQ(zg->InitFromExtension(), S_OK);
    EXPECT_EQ(zg->ClearSums(), S_OK);
    EXPECT_EQ(zg->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc.Get()), u"<ERSUMS><ERSUM MH=\"46023\" FR=\"0\" VAL=\"1\"/></ERSUMS>");
    LONG n = -1;
    ASSERT_EQ(zg->GetElemCount(&n), S_OK);
    EXPECT_EQ(n, 0);
    DATE d = -1;
    ASSERT_EQ(zg->CalculateRecalculationDate(zg.Get(), &d), S_OK);
    EXPECT_EQ(d, 0.0);
    VARIANT_BOOL init = VARIANT_TRUE;
    ASSERT_EQ(zg->get_IsInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_FALSE);
    ASSERT_EQ(zg->put_IsInitialized(VARIANT_TRUE), S_OK);
    ASSERT_EQ(zg->get_IsInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_TRUE);
    ComPtr<IUnknown> owner;
    ASSERT_EQ(zg->get_OrvDocument(owner.GetAddressOf()), S_OK);
    ComPtr<IUnknown> docId;
    doc->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(docId.GetAddressOf()));
    ComPtr<IUnknown> ownerId;
    owner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ownerId.GetAddressOf()));
    EXPECT_EQ(ownerId.Get(), docId.Get());
}

}  // namespace
