// GUID text: the braced form written and read back, and every way to get it wrong.
#include <orvdocs/platform/types.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr GUID kSample = {0x4EAF7A53, 0xAFB4, 0x11D3, {0xB8, 0xF1, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The text in a heap block of exactly its length plus the NUL, so that a
// parser reading past the end trips the address sanitizer.
std::unique_ptr<OLECHAR[]> Exact(std::u16string_view s) {
    auto p = std::make_unique<OLECHAR[]>(s.size() + 1);
    s.copy(p.get(), s.size());
    p[s.size()] = 0;
    return p;
}

TEST(GuidText, WritesBracedUpperCaseAndReadsItBack) {
    const GUID samples[] = {kSample, GUID_NULL, {0xFFFFFFFF, 0xFFFF, 0xFFFF, {255, 255, 255, 255, 255, 255, 255, 255}},
                            {0x00000001, 0x0203, 0x0405, {6, 7, 8, 9, 10, 11, 12, 13}}};
    for (const GUID& g : samples) {
        OLECHAR buf[39];
        ASSERT_EQ(StringFromGUID2(g, buf, 39), 39);
        EXPECT_EQ(buf[38], 0);
        GUID back{};
        ASSERT_EQ(CLSIDFromString(buf, &back), S_OK);
        EXPECT_EQ(back, g);
        ASSERT_EQ(IIDFromString(buf, &back), S_OK);
        EXPECT_EQ(back, g);
    }
    OLECHAR buf[64];
    StringFromGUID2(kSample, buf, 64);
    EXPECT_EQ(std::u16string_view(buf), u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}");
    GUID lower{};
    ASSERT_EQ(CLSIDFromString(u"{4eaf7a53-afb4-11d3-b8F1-0000c0a3e6f3}", &lower), S_OK);
    EXPECT_EQ(lower, kSample);
}

TEST(GuidText, RejectsEveryOtherForm) {
    const char16_t* bad[] = {
        u"",
        u"4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3",     // no braces
        u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3",    // no closing brace
        u"4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}",    // no opening brace
        u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F}",    // one digit short
        u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F33}",  // one digit too many
        u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}x",  // trailing text
        u"{4EAF7A5-3AFB4-11D3-B8F1-0000C0A3E6F3}",   // misplaced dash
        u"{4EAF7A53-AFB4-11D3-B8F10000-C0A3E6F3}",   // misplaced dash
        u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6G3}",   // not a hex digit
        u"{4EAF7A53 AFB4-11D3-B8F1-0000C0A3E6F3}",
        u"{+EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}",
        u"(4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3)",
        u"{4EAF7A53-AFB4",
        u"{",
    };
    for (const char16_t* text : bad) {
        auto exact = Exact(text);
        GUID g = kSample;
        EXPECT_EQ(CLSIDFromString(exact.get(), &g), CO_E_CLASSSTRING) << std::u16string_view(text).size();
        EXPECT_EQ(g, kSample);  // untouched on failure
        EXPECT_EQ(IIDFromString(exact.get(), &g), CO_E_CLASSSTRING);
    }
    GUID g = kSample;
    EXPECT_EQ(CLSIDFromString(nullptr, &g), S_OK);  // a null text is the null identifier
    EXPECT_EQ(g, GUID_NULL);
    EXPECT_EQ(CLSIDFromString(u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}", nullptr), E_INVALIDARG);
    EXPECT_EQ(IIDFromString(u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}", nullptr), E_INVALIDARG);
}

TEST(GuidText, TooSmallBufferGetsNothing) {
    OLECHAR buf[39];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(StringFromGUID2(kSample, buf, 38), 0);
    EXPECT_EQ(buf[0], u'#');
    EXPECT_EQ(StringFromGUID2(kSample, nullptr, 39), 0);
}

}  // namespace
