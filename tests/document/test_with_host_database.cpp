// A document's life with the host's in-memory database service: stored with
// Update, read back as a new object whose extension and collectors the
// service fills through the document itself (re-entering its lock).
#include "doc_test_util.h"

#include "host/OrvMemoryDatabase.h"
#include "host/OrvSumCollector.h"

namespace {

using namespace doctest;

TEST(WithHostDatabase, StoredDocumentComesBackWithItsExtensionAndCollectors) {
    HostEnvironment host;
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&db), S_OK);
    ComPtr<IOrvDocStore> store;
    ASSERT_EQ(db.As(&store), S_OK);

    auto doc = NewDocument();
    ASSERT_EQ(doc->put_OrvBD(db.Get()), S_OK);
    ASSERT_EQ(doc->put_lDcType(336), S_OK);
    ASSERT_EQ(doc->put_DcSum2(Cy(1234500)), S_OK);
    ASSERT_EQ(doc->MakeAsNew(), S_OK);
    LONG result = -1;
    ASSERT_EQ(doc->InitInnerDocExtension(1, &result), S_OK);  // new: nothing read
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc.As(&ext), S_OK);
    const std::u16string body = u"<TCDOCEX NORMA_TOTAL=\"40\"/>";
    ASSERT_EQ(ext->put_Body(Bstr(body)), S_OK);
    ComPtr<IOrvSumCollector> sums;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&sums), S_OK);
    ASSERT_EQ(sums->put_Sum(0, Cy(777700)), S_OK);
    ASSERT_EQ(doc->AddSumCollector(3, sums.Get()), S_OK);
    ASSERT_EQ(doc->Update(1), S_OK);
    ULONG address = 0;
    ASSERT_EQ(doc->get_DB_ADDR(&address), S_OK);
    ASSERT_NE(address, 0u);

    // A second document object for the stored record.
    auto again = NewDocument();
    ASSERT_EQ(again->put_OrvBD(db.Get()), S_OK);
    ASSERT_EQ(again->put_DocRecord(Bstr::Attach([&] {
        BSTR r = nullptr;
        doc->get_DocRecord(&r);
        return r;
    }())), S_OK);
    ASSERT_EQ(again->put_DB_ADDR(address), S_OK);
    ASSERT_EQ(again->InitInnerDocExtension(1, &result), S_OK);
    ComPtr<IOrvDocExtension> againExt;
    ASSERT_EQ(again.As(&againExt), S_OK);
    Bstr back;
    ASSERT_EQ(againExt->get_Body(back.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(back.View(), body);
    VARIANT_BOOL init = 0;
    ASSERT_EQ(again->get_ExtensionInitialized(&init), S_OK);
    EXPECT_EQ(init, VARIANT_TRUE);

    ASSERT_EQ(again->InitCollectors(1), S_OK);
    ComPtr<IUnknown> collector;
    ASSERT_EQ(again->get_ExSum(3, collector.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> againSums;
    ASSERT_EQ(collector.As(&againSums), S_OK);
    CY v{};
    ASSERT_EQ(againSums->get_Sum(0, &v), S_OK);
    EXPECT_EQ(v.int64, 777700);
    EXPECT_EQ(again->Compare(doc.Get()), S_OK);
}

}  // namespace
