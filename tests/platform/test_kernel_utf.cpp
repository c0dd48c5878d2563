// Kernel services (recursive critical sections, interlocked counters, module
// names), the C++ owners and the UTF-8/UTF-16 conversion.
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(CriticalSection, IsRecursiveForItsOwnerAndExcludesOthers) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);  // the owner enters again without blocking
    std::atomic<bool> otherEntered{false};
    std::thread other([&] {
        if (TryEnterCriticalSection(&cs)) {
            otherEntered = true;
            LeaveCriticalSection(&cs);
        }
    });
    other.join();
    EXPECT_FALSE(otherEntered) << "another thread entered a held section";
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    std::thread after([&] {
        otherEntered = TryEnterCriticalSection(&cs) != FALSE;
        if (otherEntered) LeaveCriticalSection(&cs);
    });
    after.join();
    EXPECT_TRUE(otherEntered) << "the section stayed held after the owner left it twice";
    DeleteCriticalSection(&cs);
}

TEST(Interlocked, CountsExactlyUnderContention) {
    LONG volatile counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                InterlockedIncrement(&counter);
                InterlockedIncrement(&counter);
                InterlockedDecrement(&counter);
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(counter, 4 * 20000);
    EXPECT_EQ(InterlockedExchange(&counter, 5), 4 * 20000);
    EXPECT_EQ(InterlockedCompareExchange(&counter, 9, 4), 5) << "no exchange when the comparand differs";
    EXPECT_EQ(counter, 5);
    EXPECT_EQ(InterlockedCompareExchange(&counter, 9, 5), 5);
    EXPECT_EQ(counter, 9);
    EXPECT_EQ(InterlockedIncrement(&counter), 10) << "the new value is returned";
}

TEST(ModuleFileName, NamesTheLoadedObjectAndCutsToTheBuffer) {
    HMODULE platform = GetModuleHandleFromAddress(reinterpret_cast<const void*>(&SysAllocString));
    ASSERT_NE(platform, nullptr);
    char16_t path[4096];
    DWORD n = GetModuleFileNameW(platform, path, 4096);
    ASSERT_GT(n, 0u);
    std::string utf8 = orv::Utf16ToUtf8(std::u16string_view(path, n));
    EXPECT_NE(utf8.find("liborvplatform.so"), std::string::npos) << utf8;
    EXPECT_EQ(utf8.front(), '/');
    char16_t small[8];
    EXPECT_EQ(GetModuleFileNameW(platform, small, 8), 8u) << "a short buffer is filled and cut";
    EXPECT_EQ(small[7], 0);
    EXPECT_EQ(GetModuleFileNameW(platform, nullptr, 8), 0u);
    EXPECT_EQ(GetModuleHandleFromAddress(nullptr), nullptr);
}

TEST(Utf, RoundTripsEveryPlaneAndReplacesBrokenSequences) {
    const std::u16string text = u"Зарплата \u20AC 12,50 \U0001F4B0 end";
    EXPECT_EQ(orv::Utf8ToUtf16(orv::Utf16ToUtf8(text)), text);
    EXPECT_EQ(orv::Utf16ToUtf8(u"\U0001F4B0"), "\xF0\x9F\x92\xB0");
    // Overlong forms, stray continuation bytes, truncated sequences, encoded surrogates.
    EXPECT_EQ(orv::Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(orv::Utf8ToUtf16("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(orv::Utf8ToUtf16("\xE2\x82"), u"\uFFFD");
    EXPECT_EQ(orv::Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    // A lone surrogate in UTF-16 becomes U+FFFD in UTF-8.
    EXPECT_EQ(orv::Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(orv::WStrLen(nullptr), 0u);
    EXPECT_EQ(orv::WStrLen(u"abc"), 3u);
}

TEST(Owners, BstrAndVariantReleaseWhatTheyHoldAndCopyDeeply) {
    orv::Bstr a(u"текст");
    orv::Bstr b = a;
    ASSERT_NE(a.Get(), b.Get()) << "a copy owns its own string";
    EXPECT_EQ(b.View(), u"текст");
    BSTR out = nullptr;
    EXPECT_EQ(a.CopyTo(&out), S_OK);
    EXPECT_EQ(SysStringLen(out), 5u);
    SysFreeString(out);
    EXPECT_EQ(a.CopyTo(nullptr), E_POINTER);

    orv::Variant v(std::u16string_view(u"45000.75"));
    orv::Variant w = v;
    ASSERT_EQ(w.ChangeType(VT_R8), S_OK);
    EXPECT_DOUBLE_EQ(w.dblVal, 45000.75);
    EXPECT_EQ(v.vt, VT_BSTR) << "converting the copy leaves the original";
    VARIANT moved;
    VariantInit(&moved);
    v.Detach(&moved);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(moved.vt, VT_BSTR);
    VariantClear(&moved);
}

TEST(ComPtr, CountsReferencesThroughCopiesAsAndDetach) {
    IErrorInfo* raw = nullptr;
    {
        orv::ComPtr<ICreateErrorInfo> create;
        ASSERT_EQ(CreateErrorInfo(create.GetAddressOf()), S_OK);
        orv::ComPtr<IErrorInfo> info;
        ASSERT_EQ(create.As(&info), S_OK);
        orv::ComPtr<IErrorInfo> copy = info;
        raw = copy.Detach();
        EXPECT_FALSE(copy);
        EXPECT_EQ(info.CopyTo(static_cast<IErrorInfo**>(nullptr)), E_POINTER);
    }
    // Only the detached reference is left: releasing it gives the last count.
    EXPECT_EQ(raw->Release(), 0u);
    orv::ComPtr<IErrorInfo> empty;
    orv::ComPtr<IUnknown> none;
    EXPECT_EQ(empty.As(&none), E_POINTER);
}

}  // namespace
