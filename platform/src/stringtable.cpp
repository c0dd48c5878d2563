// String tables of modules and the process's user-interface language.
//
// Each module registers an array of (id, Russian, English) entries under its
// module handle. The registry keeps a sorted copy of the entries (the texts
// stay where the module keeps them) behind a reader-writer lock, so lookups
// from many threads run side by side and never allocate.
#include <orvdocs/platform/text.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <vector>

namespace {

struct ModuleTable {
    HINSTANCE module;
    std::vector<STRINGTABLEENTRY> entries;  // sorted by id, ids unique
};

struct Registry {
    std::shared_mutex lock;
    std::vector<ModuleTable> modules;
};

// Never destroyed: modules unregister from their own static destructors, which
// may run after this file's statics would have been torn down.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

constexpr LANGID kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);

std::atomic<LANGID> g_hostLanguage{0};         // 0: follow the environment
std::atomic<LANGID> g_environmentLanguage{0};  // 0: not read yet

LANGID ReadEnvironmentLanguage() {
    // The first of the three that is set and not empty decides, as for the C
    // library's message catalogues.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::strncmp(value, "ru", 2) == 0 ? kRussian : kEnglish;
    }
    return kEnglish;
}

LANGID EnvironmentLanguage() {
    LANGID lang = g_environmentLanguage.load(std::memory_order_acquire);
    if (lang == 0) {
        lang = ReadEnvironmentLanguage();
        g_environmentLanguage.store(lang, std::memory_order_release);
    }
    return lang;
}

bool ById(const STRINGTABLEENTRY& a, const STRINGTABLEENTRY& b) { return a.id < b.id; }

}  // namespace

namespace {

void AddEntries(HINSTANCE hInstance, const STRINGTABLEENTRY* entries, std::size_t count) {
    std::vector<STRINGTABLEENTRY> incoming;
    incoming.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        if (entries[i].russian || entries[i].english) incoming.push_back(entries[i]);
    // Stable sort, then keep the last of equal ids: a later entry wins.
    std::stable_sort(incoming.begin(), incoming.end(), ById);

    Registry& reg = TheRegistry();
    std::unique_lock guard(reg.lock);
    auto it = std::find_if(reg.modules.begin(), reg.modules.end(),
                           [&](const ModuleTable& m) { return m.module == hInstance; });
    if (it == reg.modules.end()) {
        reg.modules.push_back({hInstance, {}});
        it = reg.modules.end() - 1;
    }
    // Merge: old entries first, the new ones after them, then keep the last of
    // each id.
    std::vector<STRINGTABLEENTRY> merged;
    merged.reserve(it->entries.size() + incoming.size());
    std::merge(it->entries.begin(), it->entries.end(), incoming.begin(), incoming.end(),
               std::back_inserter(merged), ById);
    std::vector<STRINGTABLEENTRY> unique;
    unique.reserve(merged.size());
    for (const auto& e : merged) {
        if (!unique.empty() && unique.back().id == e.id)
            unique.back() = e;
        else
            unique.push_back(e);
    }
    it->entries = std::move(unique);
}

}  // namespace

void RegisterStringTable(HINSTANCE hInstance, const STRINGTABLEENTRY* entries, std::size_t count) {
    if (!entries || count == 0) return;
    // Out of memory leaves the module's table as it was; nothing is thrown to the caller.
    try {
        AddEntries(hInstance, entries, count);
    } catch (...) {
    }
}

void UnregisterStringTable(HINSTANCE hInstance) {
    Registry& reg = TheRegistry();
    std::unique_lock guard(reg.lock);
    std::erase_if(reg.modules, [&](const ModuleTable& m) { return m.module == hInstance; });
}

LANGID GetThreadUILanguage() {
    const LANGID host = g_hostLanguage.load(std::memory_order_acquire);
    return host ? host : EnvironmentLanguage();
}

LANGID SetThreadUILanguage(LANGID LangId) {
    if (PRIMARYLANGID(LangId) == LANG_NEUTRAL) {
        g_hostLanguage.store(0, std::memory_order_release);
        return EnvironmentLanguage();
    }
    g_hostLanguage.store(LangId, std::memory_order_release);
    return LangId;
}

void ReloadUILanguageFromEnvironment() {
    g_environmentLanguage.store(ReadEnvironmentLanguage(), std::memory_order_release);
}

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax < 0) return 0;
    const bool russian = PRIMARYLANGID(GetThreadUILanguage()) == LANG_RUSSIAN;

    const char16_t* text = nullptr;
    {
        Registry& reg = TheRegistry();
        std::shared_lock guard(reg.lock);
        for (const auto& m : reg.modules) {
            if (m.module != hInstance) continue;
            auto it = std::lower_bound(m.entries.begin(), m.entries.end(), STRINGTABLEENTRY{uID, nullptr, nullptr},
                                       ById);
            if (it != m.entries.end() && it->id == uID)
                text = (russian || !it->english) ? (it->russian ? it->russian : it->english) : it->english;
            break;
        }
    }
    // The text itself belongs to the module and outlives the lock.
    std::size_t length = 0;
    if (text)
        while (text[length]) ++length;

    if (cchBufferMax == 0) {
        *reinterpret_cast<const WCHAR**>(lpBuffer) = text;
        return static_cast<int>(length);
    }
    const std::size_t n = std::min(length, static_cast<std::size_t>(cchBufferMax - 1));
    std::copy_n(text ? text : u"", n, lpBuffer);
    lpBuffer[n] = 0;
    return static_cast<int>(n);
}
