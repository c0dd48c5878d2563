// Error information: the error object and the current error of each thread.
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using orv::Bstr;
using orv::ComPtr;

// An error object of the test's own, to watch the references the runtime keeps.
class CountedError final : public IErrorInfo {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }  // lives on the test's stack
    HRESULT GetGUID(GUID* g) override { return *g = GUID_NULL, S_OK; }
    HRESULT GetSource(BSTR* s) override { return *s = nullptr, S_OK; }
    HRESULT GetDescription(BSTR* s) override { return *s = nullptr, S_OK; }
    HRESULT GetHelpFile(BSTR* s) override { return *s = nullptr, S_OK; }
    HRESULT GetHelpContext(DWORD* n) override { return *n = 0, S_OK; }
    std::atomic<ULONG> refs{1};
};

TEST(ErrorInfo, OneObjectAnswersBothInterfacesAndKeepsWhatItIsTold) {
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.GetAddressOf()), S_OK);
    ASSERT_TRUE(create);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(create.As(&info), S_OK);

    // One identity whichever face is asked.
    ComPtr<IUnknown> u1, u2;
    ASSERT_EQ(create.As(&u1), S_OK);
    ASSERT_EQ(info.As(&u2), S_OK);
    EXPECT_EQ(u1.Get(), u2.Get());
    ComPtr<ICreateErrorInfo> back;
    ASSERT_EQ(info.As(&back), S_OK);
    EXPECT_EQ(back.Get(), create.Get());
    ComPtr<ISupportErrorInfo> none;
    EXPECT_EQ(info.As(&none), E_NOINTERFACE);

    // Texts not set come back null; set ones come back exact.
    Bstr text;
    EXPECT_EQ(info->GetDescription(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.Get(), nullptr);
    const std::u16string description = u"Не удалось создать объект XML";
    EXPECT_EQ(create->SetDescription(const_cast<LPOLESTR>(description.c_str())), S_OK);
    EXPECT_EQ(create->SetSource(const_cast<LPOLESTR>(u"OrvDocs.OrvDocument.1")), S_OK);
    EXPECT_EQ(create->SetHelpFile(const_cast<LPOLESTR>(u"orvdocs.chm")), S_OK);
    EXPECT_EQ(create->SetHelpContext(117), S_OK);
    EXPECT_EQ(create->SetGUID(IID_ISupportErrorInfo), S_OK);
    EXPECT_EQ(info->GetDescription(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), description);
    EXPECT_EQ(info->GetSource(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"OrvDocs.OrvDocument.1");
    EXPECT_EQ(info->GetHelpFile(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.View(), u"orvdocs.chm");
    DWORD context = 0;
    EXPECT_EQ(info->GetHelpContext(&context), S_OK);
    EXPECT_EQ(context, 117u);
    GUID guid{};
    EXPECT_EQ(info->GetGUID(&guid), S_OK);
    EXPECT_EQ(guid, IID_ISupportErrorInfo);
    // Setting null clears a text.
    EXPECT_EQ(create->SetSource(nullptr), S_OK);
    EXPECT_EQ(info->GetSource(text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text.Get(), nullptr);

    EXPECT_EQ(info->GetDescription(nullptr), E_INVALIDARG);
    EXPECT_EQ(CreateErrorInfo(nullptr), E_INVALIDARG);
}

TEST(ErrorInfo, ObjectIsSafeToShareBetweenThreads) {
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.GetAddressOf()), S_OK);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(create.As(&info), S_OK);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            const std::u16string mine = t % 2 ? u"нечётный поток" : u"even thread";
            for (int i = 0; i < 2000; ++i) {
                ComPtr<IErrorInfo> copy = info;  // references from every thread
                create->SetDescription(const_cast<LPOLESTR>(mine.c_str()));
                Bstr text;
                copy->GetDescription(text.ReleaseAndGetAddressOf());
                // Always one whole text, never a torn one.
                ASSERT_TRUE(text.View() == u"нечётный поток" || text.View() == u"even thread");
            }
        });
    }
    for (auto& th : threads) th.join();
}

TEST(ErrorInfo, EachThreadHasItsOwnCurrentError) {
    CountedError mine;
    ASSERT_EQ(SetErrorInfo(0, &mine), S_OK);
    EXPECT_EQ(mine.refs, 2u);

    // Another thread sees nothing and leaves this thread's error alone.
    std::thread([] {
        IErrorInfo* seen = reinterpret_cast<IErrorInfo*>(1);
        EXPECT_EQ(GetErrorInfo(0, &seen), S_FALSE);
        EXPECT_EQ(seen, nullptr);
    }).join();

    // Taking it hands the reference over and clears it.
    IErrorInfo* got = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
    EXPECT_EQ(got, &mine);
    EXPECT_EQ(mine.refs, 2u);
    got->Release();
    EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);
    EXPECT_EQ(got, nullptr);

    // Replacing or clearing releases the one before.
    CountedError other;
    ASSERT_EQ(SetErrorInfo(0, &mine), S_OK);
    ASSERT_EQ(SetErrorInfo(0, &other), S_OK);
    EXPECT_EQ(mine.refs, 1u);
    EXPECT_EQ(other.refs, 2u);
    ASSERT_EQ(SetErrorInfo(0, nullptr), S_OK);
    EXPECT_EQ(other.refs, 1u);
    EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);

    // A thread that ends with an error set lets go of it.
    std::thread([&] { SetErrorInfo(0, &other); }).join();
    EXPECT_EQ(other.refs, 1u);

    EXPECT_EQ(GetErrorInfo(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(SetErrorInfo(1, &mine), E_INVALIDARG);
    EXPECT_EQ(mine.refs, 1u);
}

}  // namespace
