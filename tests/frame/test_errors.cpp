// The reporting routine and the message-service pattern: texts by id with
// their codes, the source ProgID, and a host with and without a message service.
#include "frame/errors.h"
#include "frame/messages.h"
#include "host/OrvMessageService.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

using orv::Bstr;
using orv::ComPtr;

inline constexpr CLSID CLSID_NotRegistered = {0x0BADC0DE, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
inline constexpr IID IID_Failing = {0x12345678, 0x9, 0xA, {1, 2, 3, 4, 5, 6, 7, 8}};

struct Report {
    bool present = false;
    std::u16string description, source;
    GUID guid{};
};
Report Take() {
    Report r;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return r;
    r.present = true;
    Bstr d, s;
    info->GetDescription(d.ReleaseAndGetAddressOf());
    info->GetSource(s.ReleaseAndGetAddressOf());
    info->GetGUID(&r.guid);
    r.description = std::u16string(d.View());
    r.source = std::u16string(s.View());
    return r;
}

// A class object whose objects cannot be created.
class FailingFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG n = --refs_;
        if (n == 0) delete this;
        return n;
    }
    HRESULT CreateInstance(IUnknown*, REFIID, void** ppv) override {
        if (ppv) *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }

private:
    std::atomic<ULONG> refs_{0};
};

class ErrorReporting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DllRegisterServer(), S_OK);
        SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
        SetErrorInfo(0, nullptr);
    }
    void TearDown() override { SetThreadUILanguage(LANG_NEUTRAL); }
};

TEST_F(ErrorReporting, StringIdsGiveTheirTextAndTheInterfaceCode) {
    struct Case {
        UINT id;
        HRESULT expected;
        const char16_t* text;
    };
    const Case cases[] = {
        {1000, HRESULT(0x800403E8), u"The component operating the database is not switched on"},
        {1010, HRESULT(0x800403F2), u"The index for property MS can be from 0 to 2"},
        {117, HRESULT(0x80040075), u"Ioeaea i?e iiaee??aiee e MS XML"},
        {9999, HRESULT(0x8004270F), u"Unknown Error"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(orv::ReportError(CLSID_OrvDocument, c.id, 0, nullptr, IID_Failing, 0), c.expected) << c.id;
        Report r = Take();
        ASSERT_TRUE(r.present) << c.id;
        EXPECT_EQ(r.description, c.text) << c.id;
        EXPECT_EQ(r.source, u"OrvDocs.OrvDocument.1");
        EXPECT_TRUE(IsEqualGUID(r.guid, IID_Failing));
    }
    // A status given is reported as it is; no id and no status is DISP_E_EXCEPTION.
    EXPECT_EQ(orv::ReportError(CLSID_OrvDocument, 1000u, 0, nullptr, IID_NULL, E_UNEXPECTED), E_UNEXPECTED);
    EXPECT_EQ(orv::ReportError(CLSID_OrvDocument, 0u, 0, nullptr, IID_NULL, 0), DISP_E_EXCEPTION);
    EXPECT_EQ(orv::ReportError(CLSID_OrvDocument, u"text", 0, nullptr, IID_NULL, 0), DISP_E_EXCEPTION);
    EXPECT_EQ(Take().description, u"text");
}

TEST_F(ErrorReporting, RussianTextsAndTheTextWithoutAnEnglishTwin) {
    SetThreadUILanguage(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
    orv::ReportError(CLSID_OrvDocument, 1013u, 0, nullptr, IID_NULL, 0);
    EXPECT_EQ(Take().description, u"(1013) OrvDocs Системная ошибка, таблица МРОТ не проинициализирована");
    orv::ReportError(CLSID_OrvDocument, 117u, 0, nullptr, IID_NULL, 0);
    EXPECT_EQ(Take().description, u"Ошибка при подключении к MS XML");
    SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT));
    orv::ReportError(CLSID_OrvDocument, 101u, 0, nullptr, IID_NULL, 0);
    EXPECT_EQ(Take().description.substr(0, 12), u"Нет ставки Ц");
}

TEST_F(ErrorReporting, SourceIsEmptyForAClassThatIsNotRegistered) {
    EXPECT_EQ(orv::ReportError(CLSID_NotRegistered, 1000u, 0, nullptr, IID_NULL, 0), HRESULT(0x800403E8));
    Report r = Take();
    ASSERT_TRUE(r.present);
    EXPECT_EQ(r.source, u"");
    EXPECT_EQ(r.description, u"The component operating the database is not switched on");
}

TEST_F(ErrorReporting, TextGoesToTheMessageServiceBeforeTheErrorInformation) {
    orv::host::Registration reg;
    ASSERT_EQ(orv::host::RegisterHostComponents(&reg), S_OK);
    auto sink = std::make_shared<orv::host::MemoryMessageSink>();
    auto previous = orv::host::SetMessageSink(sink);

    EXPECT_EQ(orv::ReportWithMessage(CLSID_OrvDocument, orv::kMsgNoDatabaseForExtension, IID_IOrvDocumentDisp, E_FAIL),
              E_FAIL);
    Report r = Take();
    EXPECT_EQ(r.description, orv::kMsgNoDatabaseForExtension);
    EXPECT_TRUE(IsEqualGUID(r.guid, IID_IOrvDocumentDisp));
    EXPECT_EQ(orv::ReportWithMessage(CLSID_OrvDocument, 117u, IID_NULL, 0), HRESULT(0x80040075));
    ASSERT_EQ(sink->Messages().size(), 2u);
    EXPECT_EQ(sink->Messages()[0], orv::kMsgNoDatabaseForExtension);
    EXPECT_EQ(sink->Messages()[1], u"Ioeaea i?e iiaee??aiee e MS XML");

    // A message service that cannot be created changes nothing else: the error
    // information and the status stand. (The newest registration answers.)
    DWORD cookie = 0;
    ComPtr<IClassFactory> failing(new FailingFactory);
    ASSERT_EQ(CoRegisterClassObject(CLSID_OrvMessageService, failing.Get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                    &cookie),
              S_OK);
    EXPECT_EQ(orv::ReportWithMessage(CLSID_OrvDocument, u"no service", IID_NULL, E_INVALIDARG), E_INVALIDARG);
    EXPECT_EQ(Take().description, u"no service");
    EXPECT_EQ(sink->Messages().size(), 2u);
    CoRevokeClassObject(cookie);
    reg.Revoke();
    orv::host::SetMessageSink(previous);
}

}  // namespace
