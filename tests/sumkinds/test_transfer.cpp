// The pay transfer (types 8, 300) and its payment-order view: record fields,
// the "MVDOC" attributes read and written live, and the sum list element.
#include "sum_support.h"

#include "kinds/OrvMVDoc.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

namespace {

using namespace sumtest;

const char16_t* kBody = u"<MVDOC RCPNT=\"Сбербанк\" NdflPaid=\"130.5\" PlatPorNumber=\"17\" PlatPorDate=\"46023\" "
                        u"TotalNachis=\"1000\"><SUMS><SUMLIST N=\"2\"><I V=\"1\"/></SUMLIST></SUMS></MVDOC>";

// The text a get answers (S_OK expected).
template <class F>
std::u16string Str(F get) {
    BSTR t = nullptr;
    EXPECT_EQ(get(&t), S_OK);
    return Take(t);
}

TEST(Transfer, RecordFieldsActOnTheDocumentAtOnce) {
    ComPtr<IOrvDocument> doc = Document(300, 0);
    ComPtr<IOrvMPDoc> mp = kindtest::KindOf<IOrvMPDoc>(doc.Get());
    ASSERT_EQ(mp->put_SumToTransfer(Cy(12345600)), S_OK);
    ASSERT_EQ(mp->put_StavkaToDeduct(Cy(250000)), S_OK);
    ASSERT_EQ(mp->put_AccountId(77), S_OK);
    ASSERT_EQ(mp->put_BankDepNum(5), S_OK);
    ASSERT_EQ(mp->put_NumToBePaid(3.0), S_OK);
    CY c{};
    ASSERT_EQ(doc->get_Dcms(0, &c), S_OK);
    EXPECT_EQ(c.int64, 12345600);
    ASSERT_EQ(doc->get_Dcms(2, &c), S_OK);
    EXPECT_EQ(c.int64, 250000);
    LONG v = 0;
    ASSERT_EQ(doc->get_lDcdpod(&v), S_OK);
    EXPECT_EQ(v, 77);
    ASSERT_EQ(doc->get_dcLong(0, &v), S_OK);
    EXPECT_EQ(v, 5);
    ASSERT_EQ(doc->get_LReserv2(&v), S_OK);
    EXPECT_EQ(v, 3);
    double n = 0;
    ASSERT_EQ(mp->get_NumToBePaid(&n), S_OK);
    EXPECT_EQ(n, 3.0);
    EXPECT_EQ(mp->put_NumToBePaid(1e12), E_INVALIDARG);
}

TEST(Transfer, BodyAttributesAreReadAndWrittenLive) {
    ComPtr<IOrvDocument> doc = Document(8, 0);
    SetText(doc.Get(), kBody);
    ComPtr<IOrvMPDoc> mp = kindtest::KindOf<IOrvMPDoc>(doc.Get());
    ASSERT_EQ(mp->InitFromExtension(), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return mp->get_Recipient(p); }), u"Сбербанк");
    EXPECT_EQ(Str([&](BSTR* p) { return mp->get_PlatPorNumber(p); }), u"17");
    CY c{};
    ASSERT_EQ(mp->get_NdflPaid(&c), S_OK);
    EXPECT_EQ(c.int64, 1305000);
    DATE d = 0;
    ASSERT_EQ(mp->get_PlatPorDate(&d), S_OK);
    EXPECT_EQ(d, 46023.0);
    EXPECT_EQ(Str([&](BSTR* p) { return mp->get_SumsXml(p); }), u"<SUMLIST N=\"2\"><I V=\"1\"/></SUMLIST>");

    // Unchanged, the body is written back as it came.
    SetText(doc.Get(), u"");
    ASSERT_EQ(mp->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc.Get()), kBody);

    ASSERT_EQ(mp->put_TotalNachis(Cy(20000)), S_OK);
    ASSERT_EQ(mp->put_Recipient(Bstr(u"ВТБ")), S_OK);
    ASSERT_EQ(mp->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc.Get()), u"<MVDOC RCPNT=\"ВТБ\" NdflPaid=\"130.5\" PlatPorNumber=\"17\" PlatPorDate=\"46023\" "
                               u"TotalNachis=\"2\"><SUMS><SUMLIST N=\"2\"><I V=\"1\"/></SUMLIST></SUMS></MVDOC>");
}

TEST(Transfer, SumListIsReplacedClearedAndRefusedWhenNotXml) {
    ComPtr<IOrvDocument> doc = Document(8, 0);
    SetText(doc.Get(), kBody);
    ComPtr<IOrvMPDoc> mp = kindtest::KindOf<IOrvMPDoc>(doc.Get());
    ASSERT_EQ(mp->InitFromExtension(), S_OK);
    ASSERT_EQ(mp->put_SumsXml(Bstr(u"<SUMLIST N=\"3\"/>")), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return mp->get_SumsXml(p); }), u"<SUMLIST N=\"3\"/>");
    EXPECT_EQ(mp->put_SumsXml(Bstr(u"<SUMLIST")), E_INVALIDARG);
    EXPECT_EQ(Str([&](BSTR* p) { return mp->get_SumsXml(p); }), u"<SUMLIST N=\"3\"/>");
    ASSERT_EQ(mp->ClearSums(), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return mp->get_SumsXml(p); }), u"");
    ASSERT_EQ(mp->UpdateExtension(), S_OK);
    EXPECT_NE(Text(doc.Get()).find(u"<SUMS/>"), std::u16string::npos) << Utf8(Text(doc.Get()));
}

TEST(Transfer, ABodyWithoutMvdocStartsAnEmptyOne) {
    ComPtr<IOrvDocument> doc = Document(8, 0);
    SetText(doc.Get(), u"<OTHER A=\"1\"/>");
    ComPtr<IOrvMPDoc> mp = kindtest::KindOf<IOrvMPDoc>(doc.Get());
    ASSERT_EQ(mp->InitFromExtension(), S_OK);
    ASSERT_EQ(mp->put_PlatPorNumber(Bstr(u"5")), S_OK);
    ASSERT_EQ(mp->UpdateExtension(), S_OK);
    EXPECT_EQ(Text(doc.Get()), u"<MVDOC PlatPorNumber=\"5\" RCPNT=\"\"/>");
}

TEST(PaymentOrder, ReadsTheSameBodyOnADocumentAndKeepsItsOwnAlone) {
    ComPtr<IOrvDocument> doc = Document(8, 0);
    SetText(doc.Get(), kBody);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(orv::CreateSpecific<orv::OrvMVDoc>(doc.Get(), unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvMVDoc> mv;
    ASSERT_EQ(unknown.As(&mv), S_OK);
    ASSERT_EQ(mv->InitFromExtension(), S_OK);
    EXPECT_EQ(Str([&](BSTR* p) { return mv->get_PlatPorNumber(p); }), u"17");
    ASSERT_EQ(mv->put_PlatPorNumber(Bstr(u"18")), S_OK);
    ASSERT_EQ(mv->UpdateExtension(), S_OK);
    EXPECT_NE(Text(doc.Get()).find(u"PlatPorNumber=\"18\""), std::u16string::npos);
    EXPECT_NE(Text(doc.Get()).find(u"RCPNT=\"Сбербанк\""), std::u16string::npos);  // not its field, kept

    ComPtr<IOrvMVDoc> alone;
    ASSERT_EQ(orv::CreateObject<orv::OrvMVDoc>(&alone), S_OK);
    ASSERT_EQ(alone->InitFromExtension(), S_OK);
    ASSERT_EQ(alone->put_NdflPaid(Cy(10000)), S_OK);
    CY c{};
    ASSERT_EQ(alone->get_NdflPaid(&c), S_OK);
    EXPECT_EQ(c.int64, 10000);
    EXPECT_EQ(alone->UpdateExtension(), S_OK);
    EXPECT_EQ(alone->get_NdflPaid(nullptr), E_POINTER);
}

}  // namespace
