// Module string tables: copying, truncation, pointer mode, the language taken
// from the environment or set by the host, and lookups while tables change.
#include <orvdocs/platform/text.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const char16_t kHelloRu[] = u"Привет";
const char16_t kHelloEn[] = u"Hello";
const char16_t kOnlyRu[] = u"Только по-русски";

const STRINGTABLEENTRY kTable[] = {
    {100, kHelloRu, kHelloEn},
    {101, kOnlyRu, nullptr},
    {7, u"Семь", u"Seven"},
};

char moduleA, moduleB;
HINSTANCE ModuleA() { return reinterpret_cast<HINSTANCE>(&moduleA); }
HINSTANCE ModuleB() { return reinterpret_cast<HINSTANCE>(&moduleB); }

const LANGID kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);

// Saves the three locale variables and the host's choice, restores both.
class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            if (const char* v = std::getenv(kVars[i])) saved_[i] = v;
        RegisterStringTable(ModuleA(), kTable, std::size(kTable));
        SetThreadUILanguage(LANG_NEUTRAL);
    }
    void TearDown() override {
        UnregisterStringTable(ModuleA());
        UnregisterStringTable(ModuleB());
        for (int i = 0; i < 3; ++i) SetVar(kVars[i], saved_[i] ? saved_[i]->c_str() : nullptr);
        ReloadUILanguageFromEnvironment();
        SetThreadUILanguage(LANG_NEUTRAL);
    }
    static void SetVar(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    static void Environment(const char* lcAll, const char* lcMessages, const char* lang) {
        SetVar("LC_ALL", lcAll);
        SetVar("LC_MESSAGES", lcMessages);
        SetVar("LANG", lang);
        ReloadUILanguageFromEnvironment();
    }
    static std::u16string Load(HINSTANCE module, UINT id) {
        WCHAR buffer[64];
        const int n = LoadStringW(module, id, buffer, 64);
        EXPECT_EQ(static_cast<std::size_t>(n), std::u16string(buffer).size());
        return std::u16string(buffer, n);
    }

    static constexpr const char* kVars[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved_[3];
};

TEST_F(StringTableTest, CopiesAtMostBufferMinusOneCharactersAndTheNul) {
    SetThreadUILanguage(kEnglish);
    WCHAR buffer[8];
    struct Case {
        int max;
        const char16_t* expected;
    } cases[] = {{6, u"Hello"}, {7, u"Hello"}, {5, u"Hell"}, {2, u"H"}, {1, u""}};
    for (const Case& c : cases) {
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        const int n = LoadStringW(ModuleA(), 100, buffer, c.max);
        EXPECT_EQ(std::u16string(buffer, n), c.expected) << "max " << c.max;
        EXPECT_EQ(buffer[n], 0) << "max " << c.max;
        EXPECT_EQ(buffer[c.max], u'#') << "wrote past the buffer, max " << c.max;
    }
}

TEST_F(StringTableTest, PointerModeHandsOutTheRegisteredText) {
    SetThreadUILanguage(kRussian);
    const WCHAR* text = nullptr;
    EXPECT_EQ(LoadStringW(ModuleA(), 100, reinterpret_cast<LPWSTR>(&text), 0), 6);
    EXPECT_EQ(text, kHelloRu);

    SetThreadUILanguage(kEnglish);
    EXPECT_EQ(LoadStringW(ModuleA(), 100, reinterpret_cast<LPWSTR>(&text), 0), 5);
    EXPECT_EQ(text, kHelloEn);

    EXPECT_EQ(LoadStringW(ModuleA(), 555, reinterpret_cast<LPWSTR>(&text), 0), 0);
    EXPECT_EQ(text, nullptr);
}

TEST_F(StringTableTest, MissingIdsModulesAndUnregisteredTablesGiveZero) {
    WCHAR buffer[8] = u"junk";
    EXPECT_EQ(LoadStringW(ModuleA(), 555, buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(LoadStringW(ModuleB(), 100, buffer, 8), 0);
    EXPECT_EQ(LoadStringW(ModuleA(), 100, nullptr, 8), 0);
    EXPECT_EQ(LoadStringW(ModuleA(), 100, buffer, -1), 0);

    EXPECT_NE(Load(ModuleA(), 7), u"");
    UnregisterStringTable(ModuleA());
    EXPECT_EQ(Load(ModuleA(), 7), u"");
}

TEST_F(StringTableTest, RegisteringAgainAddsEntriesAndANewerTextWins) {
    SetThreadUILanguage(kEnglish);
    const STRINGTABLEENTRY more[] = {{7, u"Семь!", u"Seven!"}, {8, u"Восемь", u"Eight"}, {8, u"x", u"Eight again"}};
    RegisterStringTable(ModuleA(), more, std::size(more));
    EXPECT_EQ(Load(ModuleA(), 7), u"Seven!");
    EXPECT_EQ(Load(ModuleA(), 8), u"Eight again");
    EXPECT_EQ(Load(ModuleA(), 100), u"Hello");
    // The other module's table is separate.
    RegisterStringTable(ModuleB(), more, 1);
    EXPECT_EQ(Load(ModuleB(), 7), u"Seven!");
    EXPECT_EQ(Load(ModuleB(), 100), u"");
}

TEST_F(StringTableTest, LanguageComesFromTheFirstSetLocaleVariable) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        LANGID expected;
    } cases[] = {
        {"ru_RU.UTF-8", "en_US.UTF-8", "en_US.UTF-8", kRussian},
        {"C", "ru_RU.UTF-8", "ru_RU.UTF-8", kEnglish},
        {nullptr, "ru_RU.UTF-8", "en_GB", kRussian},
        {nullptr, "de_DE", "ru_RU", kEnglish},
        {nullptr, nullptr, "ru_RU.KOI8-R", kRussian},
        {"", "", "ru", kRussian},  // empty counts as unset
        {nullptr, nullptr, "en_RU", kEnglish},  // "ru" must lead
        {nullptr, nullptr, nullptr, kEnglish},
    };
    for (const Case& c : cases) {
        Environment(c.lcAll, c.lcMessages, c.lang);
        SCOPED_TRACE(std::string("LC_ALL=") + (c.lcAll ? c.lcAll : "(unset)") +
                     " LC_MESSAGES=" + (c.lcMessages ? c.lcMessages : "(unset)") +
                     " LANG=" + (c.lang ? c.lang : "(unset)"));
        EXPECT_EQ(GetThreadUILanguage(), c.expected);
        EXPECT_EQ(Load(ModuleA(), 100), c.expected == kRussian ? kHelloRu : kHelloEn);
        // A text without an English twin is Russian in either language.
        EXPECT_EQ(Load(ModuleA(), 101), kOnlyRu);
    }
}

TEST_F(StringTableTest, HostChoiceOverridesTheEnvironmentForEveryThread) {
    Environment(nullptr, nullptr, "ru_RU.UTF-8");
    EXPECT_EQ(SetThreadUILanguage(kEnglish), kEnglish);
    std::u16string seen;
    std::thread([&] { seen = Load(ModuleA(), 100); }).join();
    EXPECT_EQ(seen, kHelloEn);
    EXPECT_EQ(GetThreadUILanguage(), kEnglish);

    // Any language other than Russian reads the English texts.
    const LANGID german = MAKELANGID(0x07, SUBLANG_DEFAULT);
    EXPECT_EQ(SetThreadUILanguage(german), german);
    EXPECT_EQ(GetThreadUILanguage(), german);
    EXPECT_EQ(Load(ModuleA(), 100), kHelloEn);

    // Neutral goes back to the environment, which still says Russian.
    EXPECT_EQ(SetThreadUILanguage(LANG_NEUTRAL), kRussian);
    EXPECT_EQ(GetThreadUILanguage(), kRussian);
    EXPECT_EQ(Load(ModuleA(), 100), kHelloRu);

    Environment(nullptr, nullptr, "C");
    EXPECT_EQ(SetThreadUILanguage(MAKELANGID(LANG_RUSSIAN, 0)), MAKELANGID(LANG_RUSSIAN, 0));
    EXPECT_EQ(Load(ModuleA(), 100), kHelloRu);
}

TEST_F(StringTableTest, LookupsStayCorrectWhileOtherTablesComeAndGo) {
    SetThreadUILanguage(kEnglish);
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t)
        readers.emplace_back([&] {
            while (!stop.load()) {
                WCHAR buffer[16];
                if (LoadStringW(ModuleA(), 7, buffer, 16) != 5 || std::u16string(buffer) != u"Seven") ++wrong;
            }
        });
    for (int i = 0; i < 2000; ++i) {
        const STRINGTABLEENTRY entry[] = {{static_cast<UINT>(i), u"б", u"b"}};
        RegisterStringTable(ModuleB(), entry, 1);
        if (i % 3 == 0) UnregisterStringTable(ModuleB());
    }
    stop = true;
    for (auto& r : readers) r.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
