// The table of classes built into the platform.
#include "builtin_classes.h"

#include <atomic>
#include <cctype>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// The class factory of one built-in class. It lives as long as the process,
// so its reference count only serves the interface contract.
class BuiltinFactory final : public IClassFactory {
public:
    explicit BuiltinFactory(PFNBUILTINCREATE create) : create_(create) {}

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG Release() override { return refs_.fetch_sub(1, std::memory_order_acq_rel) - 1; }

    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        PFNBUILTINCREATE create = create_.load(std::memory_order_acquire);
        return create ? create(outer, riid, ppv) : E_UNEXPECTED;
    }
    // The platform is never unloaded, so there is nothing to keep loaded.
    HRESULT LockServer(BOOL) override { return S_OK; }

    void SetCreate(PFNBUILTINCREATE create) { create_.store(create, std::memory_order_release); }

private:
    std::atomic<PFNBUILTINCREATE> create_;
    std::atomic<ULONG> refs_{1};
};

struct Entry {
    CLSID clsid;
    std::vector<std::u16string> progIds;  // the first is the class's own
    std::unique_ptr<BuiltinFactory> factory;
};

struct Table {
    std::mutex mutex;
    std::vector<Entry> entries;
};

// Never destroyed: class factories may still be released by static
// destructors of other libraries at exit.
Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

bool SameProgId(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x < 0x80) x = static_cast<char16_t>(std::tolower(static_cast<int>(x)));
        if (y < 0x80) y = static_cast<char16_t>(std::tolower(static_cast<int>(y)));
        if (x != y) return false;
    }
    return true;
}

}  // namespace

void RegisterBuiltinClass(REFCLSID rclsid, const char16_t* progId, PFNBUILTINCREATE create) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    Entry* entry = nullptr;
    for (Entry& e : t.entries)
        if (e.clsid == rclsid) entry = &e;
    if (!entry) {
        t.entries.push_back(Entry{rclsid, {}, std::make_unique<BuiltinFactory>(create)});
        entry = &t.entries.back();
    } else {
        entry->factory->SetCreate(create);
    }
    if (progId && *progId) {
        std::u16string id(progId);
        bool known = false;
        for (const auto& p : entry->progIds) known = known || SameProgId(p, id);
        if (!known) entry->progIds.push_back(std::move(id));
    }
}

namespace orv::detail {

IClassFactory* FindBuiltinClassFactory(REFCLSID rclsid) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    for (Entry& e : t.entries) {
        if (e.clsid == rclsid) {
            e.factory->AddRef();
            return e.factory.get();
        }
    }
    return nullptr;
}

std::optional<CLSID> BuiltinClsidFromProgId(std::u16string_view progId) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    for (const Entry& e : t.entries)
        for (const auto& p : e.progIds)
            if (SameProgId(p, progId)) return e.clsid;
    return std::nullopt;
}

std::optional<std::u16string> BuiltinProgIdFromClsid(REFCLSID rclsid) {
    Table& t = TheTable();
    std::lock_guard lock(t.mutex);
    for (const Entry& e : t.entries)
        if (e.clsid == rclsid && !e.progIds.empty()) return e.progIds.front();
    return std::nullopt;
}

}  // namespace orv::detail
