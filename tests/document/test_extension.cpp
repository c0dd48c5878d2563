// The extension object alone and inside its document, and the document's
// extension operations through the database service: the store slots called
// with their arguments, the service filling the extension through the
// document while the document's lock is held, new and skipped records, and
// the refusal without a database service.
#include "doc_test_util.h"
#include "fake_services.h"

#include "document/OrvDocExtension.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace doctest;

std::string BodyBytes(IOrvDocExtension* ext) {
    Bstr b;
    EXPECT_EQ(ext->get_Body(b.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_NE(b.Get(), nullptr);
    return std::string(reinterpret_cast<const char*>(b.Get()), b.ByteLength());
}

LONG LengthOf(IOrvDocExtension* ext) {
    LONG n = -1;
    EXPECT_EQ(ext->get_Length(&n), S_OK);
    return n;
}

Bstr Bytes(const std::string& s) {
    return Bstr::Attach(SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size())));
}

TEST(DocumentExtension, BodyIsKeptByteForByteAndLengthIsWhatWasLastPut) {
    // Also creatable alone, by its class identifier.
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_OrvDocExtension, nullptr, CLSCTX_ALL, IID_IOrvDocExtension,
                               reinterpret_cast<void**>(ext.GetAddressOf())),
              S_OK);
    EXPECT_EQ(BodyBytes(ext.Get()), "");
    EXPECT_EQ(LengthOf(ext.Get()), 0);

    // A ten-character text is twenty bytes; a Length put leaves the body alone.
    ASSERT_EQ(ext->put_Body(Bstr(u"0123456789")), S_OK);
    EXPECT_EQ(LengthOf(ext.Get()), 20);
    ASSERT_EQ(ext->put_Length(10), S_OK);
    EXPECT_EQ(LengthOf(ext.Get()), 10);
    EXPECT_EQ(BodyBytes(ext.Get()).size(), 20u);

    // Odd byte counts and embedded NULs survive.
    std::string raw("\x01\x00\xFF\x7F\x00", 5);
    ASSERT_EQ(ext->put_Body(Bytes(raw)), S_OK);
    EXPECT_EQ(BodyBytes(ext.Get()), raw);
    EXPECT_EQ(LengthOf(ext.Get()), 5);

    ASSERT_EQ(ext->Clear(), S_OK);
    EXPECT_EQ(BodyBytes(ext.Get()), "");
    EXPECT_EQ(LengthOf(ext.Get()), 0);
    ASSERT_EQ(ext->put_Body(Bytes(raw)), S_OK);
    ASSERT_EQ(ext->put_Body(nullptr), S_OK);  // a null string empties it as well
    EXPECT_EQ(LengthOf(ext.Get()), 0);
    EXPECT_EQ(ext->get_Body(nullptr), E_POINTER);
    EXPECT_EQ(ext->get_Length(nullptr), E_POINTER);

    ComPtr<ISupportErrorInfo> sei;
    ASSERT_EQ(ext.As(&sei), S_OK);
    EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID_IOrvDocExtension), S_OK);
    EXPECT_EQ(sei->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST(DocumentExtension, TheDocumentsExtensionAnswersForTheDocumentAndDiesWithIt) {
    LONG baseline = orv::ModuleLockCount();
    {
        auto doc = NewDocument();
        ComPtr<IOrvDocExtension> ext;
        ASSERT_EQ(doc.As(&ext), S_OK);
        ComPtr<IUnknown> a, b;
        ASSERT_EQ(doc.As(&a), S_OK);
        ASSERT_EQ(ext.As(&b), S_OK);
        EXPECT_EQ(a.Get(), b.Get());  // one identity
        ComPtr<IOrvDocument> back;
        ASSERT_EQ(ext.As(&back), S_OK);
        doc.Reset();
        // The extension keeps its document alive and still works.
        ASSERT_EQ(ext->put_Body(Bstr(u"x")), S_OK);
        ASSERT_EQ(back->put_lDcType(5), S_OK);
    }
    EXPECT_EQ(orv::ModuleLockCount(), baseline);
}

class ExtensionOperations : public ::testing::Test {
protected:
    void SetUp() override {
        holder_ = Make(&db_);
        doc_ = NewDocument();
        ASSERT_EQ(doc_->put_OrvBD(holder_.Get()), S_OK);
        ASSERT_EQ(doc_.As(&ext_), S_OK);
    }
    IUnknown* Identity() {
        ComPtr<IUnknown> id;
        doc_.As(&id);
        return id.Get();
    }
    VARIANT_BOOL Initialized() {
        VARIANT_BOOL b = 1;
        EXPECT_EQ(doc_->get_ExtensionInitialized(&b), S_OK);
        return b;
    }

    FakeDatabase* db_ = nullptr;
    ComPtr<IUnknown> holder_;
    ComPtr<IOrvDocument> doc_;
    ComPtr<IOrvDocExtension> ext_;
};

TEST_F(ExtensionOperations, ServiceFillsTheExtensionThroughTheDocumentWhileItsLockIsHeld) {
    db_->body = "<TCDOCEX NORMA_TOTAL=\"40\"/>";
    // Inside the fill the service calls the document again on the same thread
    // (re-entering its lock), and another thread's call waits until the
    // operation is over.
    std::atomic<bool> fillDone{false}, otherSawFillDone{false};
    std::thread other;
    db_->whileFilling = [&](IOrvDocument* d) {
        LONG type = -1;
        EXPECT_EQ(d->get_lDcType(&type), S_OK);
        EXPECT_EQ(d->put_AT(1), S_OK);
        other = std::thread([&] {
            LONG at = 0;
            doc_->get_AT(&at);
            otherSawFillDone = fillDone.load();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        fillDone = true;
    };
    LONG result = 0;
    ASSERT_EQ(doc_->InitInnerDocExtension(7, &result), S_OK);
    other.join();
    EXPECT_TRUE(otherSawFillDone.load());
    EXPECT_EQ(result, 42);
    EXPECT_EQ(db_->calls[4], 1);
    EXPECT_EQ(db_->calls[6], 0);
    EXPECT_EQ(db_->lastPipe, 7);
    EXPECT_EQ(db_->lastDocument, Identity());
    EXPECT_EQ(BodyBytes(ext_.Get()), db_->body);
    EXPECT_EQ(LengthOf(ext_.Get()), static_cast<LONG>(db_->body.size()));
    EXPECT_EQ(Initialized(), VARIANT_TRUE);
}

TEST_F(ExtensionOperations, NegativePipeUsesTheSlotWithoutAPipe) {
    LONG result = 0;
    ASSERT_EQ(doc_->InitInnerDocExtension(-1, &result), S_OK);
    EXPECT_EQ(db_->calls[6], 1);
    EXPECT_EQ(db_->calls[4], 0);
    EXPECT_EQ(result, 42);
}

TEST_F(ExtensionOperations, NewAndSkippedRecordsReadNothing) {
    LONG result = 5;
    ASSERT_EQ(doc_->MakeAsNew(), S_OK);
    ASSERT_EQ(doc_->InitInnerDocExtension(1, &result), S_OK);
    EXPECT_EQ(db_->calls[4] + db_->calls[6], 0);
    EXPECT_EQ(Initialized(), VARIANT_TRUE);

    auto stored = NewDocument();
    ASSERT_EQ(stored->put_OrvBD(holder_.Get()), S_OK);
    ASSERT_EQ(stored->put_SkipReadingDocExt(1), S_OK);
    ASSERT_EQ(stored->InitInnerDocExtension(1, &result), S_OK);
    EXPECT_EQ(db_->calls[4] + db_->calls[6], 0);
    VARIANT_BOOL b = 1;
    ASSERT_EQ(stored->get_ExtensionInitialized(&b), S_OK);
    EXPECT_EQ(b, VARIANT_FALSE);
    EXPECT_EQ(stored->InitInnerDocExtension(1, nullptr), E_POINTER);
}

TEST_F(ExtensionOperations, FailingStoreCallEndsTheOperationAndChangesNothing) {
    db_->failWith = E_ACCESSDENIED;
    LONG result = 0;
    EXPECT_EQ(doc_->InitInnerDocExtension(3, &result), E_ACCESSDENIED);
    EXPECT_EQ(Initialized(), VARIANT_FALSE);
    EXPECT_EQ(doc_->Update(3), E_ACCESSDENIED);
    IUnknown* ext = nullptr;
    EXPECT_EQ(doc_->GetDocExtension(3, &ext, &result), E_ACCESSDENIED);
    ComPtr<IErrorInfo> info;
    EXPECT_EQ(GetErrorInfo(0, info.GetAddressOf()), S_OK);  // the failure is described
}

TEST_F(ExtensionOperations, UpdateAndGetDocExtensionCallTheirSlots) {
    ASSERT_EQ(doc_->Update(11), S_OK);
    EXPECT_EQ(db_->calls[5], 1);
    EXPECT_EQ(db_->lastPipe, 11);
    EXPECT_EQ(db_->lastDocument, Identity());

    ComPtr<IOrvDocExtension> loose;
    ASSERT_EQ(orv::CreateObject<orv::OrvDocExtension>(&loose), S_OK);
    db_->extensionToGive = loose;
    db_->result = 9;
    IUnknown* got = nullptr;
    LONG result = 0;
    ASSERT_EQ(doc_->GetDocExtension(12, &got, &result), S_OK);
    EXPECT_EQ(result, 9);
    ComPtr<IUnknown> gotHolder;
    gotHolder.Attach(got);
    ComPtr<IUnknown> looseId;
    loose.As(&looseId);
    EXPECT_EQ(got, looseId.Get());
    EXPECT_EQ(db_->calls[3], 1);
    EXPECT_EQ(doc_->GetDocExtension(12, nullptr, &result), E_POINTER);
    EXPECT_EQ(doc_->GetDocExtension(12, &got, nullptr), E_POINTER);
    EXPECT_EQ(db_->calls[3], 1);
}

TEST(DocumentExtensionWithoutService, InitIsRefusedWithTheMessageOthersWithEPointer) {
    HostEnvironment host;
    auto doc = NewDocument();
    SetErrorInfo(0, nullptr);
    LONG result = 0;
    EXPECT_EQ(doc->InitInnerDocExtension(1, &result), E_FAIL);
    ErrorReport r = TakeErrorInfo();
    ASSERT_TRUE(r.present);
    EXPECT_EQ(r.description, u"Документ не подсоединен к базе данных, запрос расширения невзможен");
    EXPECT_TRUE(IsEqualGUID(r.guid, IID_IOrvDocumentDisp));
    EXPECT_EQ(r.source, u"OrvDocs.OrvDocument.1");
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(doc->Update(1), E_POINTER);
    IUnknown* ext = nullptr;
    EXPECT_EQ(doc->GetDocExtension(1, &ext, &result), E_POINTER);
    VARIANT_BOOL b = 1;
    ASSERT_EQ(doc->get_ExtensionInitialized(&b), S_OK);
    EXPECT_EQ(b, VARIANT_FALSE);
}

}  // namespace
