// A document's life with the host's database service: stored with Update,
// read back as a new object whose extension and collectors the service fills
// through the document itself (re-entering its lock); on a store file, read
// back by another service after the first one closed.
#include "doc_test_util.h"

#include "host/OrvMemoryDatabase.h"
#include "host/OrvSumCollector.h"

#include <orvdocs/platform/strings.h>

#include <cstdlib>
#include <filesystem>

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

TEST(WithHostDatabase, ADocumentStoredInAFileComesBackInTheNextService) {
    HostEnvironment host;
    std::string folder = (std::filesystem::temp_directory_path() / "orvdoc-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::u16string path = orv::Utf8ToUtf16(folder + "/docs.db");
    ULONG address = 0;
    Bstr record;
    {
        ComPtr<IOrvDatabase> db;
        ASSERT_EQ(orv::host::OpenDatabase(path, db.GetAddressOf()), S_OK);
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(db->NewDocument(0, 336, unknown.GetAddressOf()), S_OK);
        ComPtr<IOrvDocument> doc;
        ASSERT_EQ(unknown.As(&doc), S_OK);
        ASSERT_EQ(doc->put_DcSum2(Cy(1234500)), S_OK);
        ComPtr<IOrvDocExtension> ext;
        ASSERT_EQ(doc.As(&ext), S_OK);
        ASSERT_EQ(ext->put_Body(Bstr(u"<TCDOCEX NORMA_TOTAL=\"38\"/>")), S_OK);
        ComPtr<IOrvSumCollector> sums;
        ASSERT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&sums), S_OK);
        ASSERT_EQ(sums->put_Sum(1, Cy(50000)), S_OK);
        ASSERT_EQ(doc->AddSumCollector(8, sums.Get()), S_OK);
        ASSERT_EQ(doc->Update(0), S_OK);
        ASSERT_EQ(doc->get_DB_ADDR(&address), S_OK);
        ASSERT_EQ(doc->get_DocRecord(record.ReleaseAndGetAddressOf()), S_OK);
        ASSERT_EQ(db->Close(), S_OK);
    }
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(orv::host::OpenDatabase(path, db.GetAddressOf()), S_OK);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> back;
    ASSERT_EQ(unknown.As(&back), S_OK);
    Bstr backRecord;
    ASSERT_EQ(back->get_DocRecord(backRecord.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(backRecord.Get()), backRecord.ByteLength()),
              std::string(reinterpret_cast<const char*>(record.Get()), record.ByteLength()));
    LONG result = 0;
    ASSERT_EQ(back->InitInnerDocExtension(-1, &result), S_OK);  // slot 6, without a channel
    EXPECT_EQ(result, 1);
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(back.As(&ext), S_OK);
    Bstr body;
    ASSERT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(body.View(), u"<TCDOCEX NORMA_TOTAL=\"38\"/>");
    ASSERT_EQ(back->InitCollectors(0), S_OK);
    ComPtr<IUnknown> collector;
    ASSERT_EQ(back->get_ExSum(8, collector.GetAddressOf()), S_OK);
    ComPtr<IOrvSumCollector> sums;
    ASSERT_EQ(collector.As(&sums), S_OK);
    CY v{};
    ASSERT_EQ(sums->get_Sum(1, &v), S_OK);
    EXPECT_EQ(v.int64, 50000);
    db.Reset();
    std::filesystem::remove_all(folder);
}

}  // namespace
