// The registry: values and keys in memory, the file kept across processes,
// writers in several processes at once, and damaged files.
#include "platform_test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using namespace orvtest;

std::vector<BYTE> Bytes(std::u16string_view s, bool withNul = true) {
    std::vector<BYTE> out(reinterpret_cast<const BYTE*>(s.data()), reinterpret_cast<const BYTE*>(s.data() + s.size()));
    if (withNul) out.insert(out.end(), {0, 0});
    return out;
}

struct Stored {
    DWORD type = 0;
    std::vector<BYTE> data;
};

Stored Query(HKEY h, const char16_t* name, LSTATUS* status = nullptr) {
    Stored v;
    DWORD size = 0;
    LSTATUS s = RegQueryValueExW(h, name, nullptr, &v.type, nullptr, &size);
    if (s == ERROR_SUCCESS) {
        v.data.resize(size);
        s = RegQueryValueExW(h, name, nullptr, &v.type, v.data.data(), &size);
    }
    if (status) *status = s;
    return v;
}

LSTATUS Set(HKEY h, const char16_t* name, DWORD type, const std::vector<BYTE>& data) {
    return RegSetValueExW(h, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

HKEY Create(HKEY root, const char16_t* path, DWORD* disposition = nullptr, REGSAM sam = KEY_ALL_ACCESS) {
    HKEY h = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, sam, nullptr, &h, disposition), ERROR_SUCCESS);
    return h;
}

std::vector<std::u16string> SubkeyNames(HKEY h) {
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
        char16_t buf[256];
        DWORD cch = 256;
        LSTATUS s = RegEnumKeyExW(h, i, buf, &cch, nullptr, nullptr, nullptr, nullptr);
        if (s == ERROR_NO_MORE_ITEMS) break;
        EXPECT_EQ(s, ERROR_SUCCESS);
        if (s) break;
        names.emplace_back(buf, cch);
    }
    return names;
}

std::vector<std::u16string> ValueNames(HKEY h) {
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
        char16_t buf[256];
        DWORD cch = 256;
        LSTATUS s = RegEnumValueW(h, i, buf, &cch, nullptr, nullptr, nullptr, nullptr);
        if (s == ERROR_NO_MORE_ITEMS) break;
        EXPECT_EQ(s, ERROR_SUCCESS);
        if (s) break;
        names.emplace_back(buf, cch);
    }
    return names;
}

class Registry : public ::testing::Test {
protected:
    RegistryScope scope_;  // an empty in-memory registry for each test
};

// ---------------------------------------------------------------- values

TEST_F(Registry, ValuesOfEveryTypeRoundTripAndNamesIgnoreCase) {
    DWORD disposition = 0;
    HKEY h = Create(HKEY_CURRENT_USER, u"Software\\Orv\\Values", &disposition);
    EXPECT_EQ(disposition, DWORD(REG_CREATED_NEW_KEY));

    const std::u16string text = u"Зарплата за март — 45 000,75 ₽";
    const DWORD number = 0xDEADBEEF;
    const std::vector<BYTE> blob = {0, 1, 2, 0xFF, 0};
    ASSERT_EQ(Set(h, u"Name", REG_SZ, Bytes(text)), ERROR_SUCCESS);
    ASSERT_EQ(Set(h, u"Path", REG_EXPAND_SZ, Bytes(u"%HOME%/lib")), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(h, u"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    ASSERT_EQ(Set(h, u"Blob", REG_BINARY, blob), ERROR_SUCCESS);
    ASSERT_EQ(Set(h, nullptr, REG_SZ, Bytes(u"по умолчанию")), ERROR_SUCCESS);

    Stored v = Query(h, u"NAME");  // another case finds the same value
    EXPECT_EQ(v.type, REG_SZ);
    EXPECT_EQ(v.data, Bytes(text));
    v = Query(h, u"path");
    EXPECT_EQ(v.type, REG_EXPAND_SZ);
    EXPECT_EQ(v.data, Bytes(u"%HOME%/lib"));
    v = Query(h, u"Count");
    EXPECT_EQ(v.type, REG_DWORD);
    ASSERT_EQ(v.data.size(), 4u);
    DWORD back = 0;
    std::memcpy(&back, v.data.data(), 4);
    EXPECT_EQ(back, number);
    v = Query(h, u"Blob");
    EXPECT_EQ(v.type, REG_BINARY);
    EXPECT_EQ(v.data, blob);
    // The default value answers to a null and to an empty name alike.
    EXPECT_EQ(Query(h, u"").data, Bytes(u"по умолчанию"));
    EXPECT_EQ(Query(h, nullptr).data, Bytes(u"по умолчанию"));

    // Setting under another case replaces the value, keeps its first spelling
    // and may change its type.
    ASSERT_EQ(Set(h, u"COUNT", REG_SZ, Bytes(u"7")), ERROR_SUCCESS);
    v = Query(h, u"count");
    EXPECT_EQ(v.type, REG_SZ);
    EXPECT_EQ(v.data, Bytes(u"7"));
    EXPECT_EQ(ValueNames(h), (std::vector<std::u16string>{u"Name", u"Path", u"Count", u"Blob", u""}));

    LSTATUS s = 0;
    Query(h, u"Missing", &s);
    EXPECT_EQ(s, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueW(h, u"BLOB"), ERROR_SUCCESS);
    Query(h, u"Blob", &s);
    EXPECT_EQ(s, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueW(h, u"Blob"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueW(h, nullptr), ERROR_SUCCESS);
    Query(h, u"", &s);
    EXPECT_EQ(s, ERROR_FILE_NOT_FOUND);
    RegCloseKey(h);
}

TEST_F(Registry, SizeQueriesAndShortBuffers) {
    HKEY h = Create(HKEY_CLASSES_ROOT, u"OrvTest.Sizes");
    ASSERT_EQ(Set(h, u"s", REG_SZ, Bytes(u"Привет")), ERROR_SUCCESS);

    // Null data: the size in bytes, the terminating NUL included.
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueExW(h, u"s", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 14u);
    EXPECT_EQ(type, REG_SZ);

    // One byte short: ERROR_MORE_DATA, the size needed, and nothing written.
    BYTE buf[32];
    std::memset(buf, 0xAB, sizeof buf);
    size = 13;
    EXPECT_EQ(RegQueryValueExW(h, u"s", nullptr, &type, buf, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 14u);
    for (BYTE b : buf) ASSERT_EQ(b, 0xAB);

    // A one-byte value (a QWORD given one byte of data, as a registry file may
    // hold): a buffer of no bytes is too short, but a null buffer asks the
    // size, whatever the count says.
    ASSERT_EQ(Set(h, u"odd", REG_QWORD, {0x5A}), ERROR_SUCCESS);
    size = 0;
    EXPECT_EQ(RegQueryValueExW(h, u"odd", nullptr, &type, buf, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(buf[0], 0xAB);
    size = 0;
    EXPECT_EQ(RegQueryValueExW(h, u"odd", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_QWORD));
    ASSERT_EQ(RegDeleteValueW(h, u"odd"), ERROR_SUCCESS);

    // Exactly big enough: the bytes and no more.
    size = 14;
    ASSERT_EQ(RegQueryValueExW(h, u"s", nullptr, &type, buf, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<BYTE>(buf, buf + 14), Bytes(u"Привет"));
    EXPECT_EQ(buf[14], 0xAB);

    // Type alone, and the checks on the arguments.
    type = 0;
    EXPECT_EQ(RegQueryValueExW(h, u"s", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueExW(h, u"s", nullptr, &type, buf, nullptr), ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExW(h, u"s", &reserved, &type, nullptr, &size), ERROR_INVALID_PARAMETER);
    DWORD two = 2;
    EXPECT_EQ(RegSetValueExW(h, u"d", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), 2), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(h, u"d", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    // An empty value is a value.
    ASSERT_EQ(RegSetValueExW(h, u"empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    size = 99;
    EXPECT_EQ(RegQueryValueExW(h, u"empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);

    // Enumerating values: a short name buffer and a short data buffer.
    char16_t name[8];
    DWORD cch = 1;
    EXPECT_EQ(RegEnumValueW(h, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    cch = 8;
    size = 4;
    EXPECT_EQ(RegEnumValueW(h, 0, name, &cch, nullptr, &type, buf, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 14u);
    cch = 8;
    size = sizeof buf;
    EXPECT_EQ(RegEnumValueW(h, 0, name, &cch, nullptr, &type, buf, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, cch), u"s");
    EXPECT_EQ(size, 14u);

    DWORD values = 0, maxName = 0, maxData = 0;
    EXPECT_EQ(RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &maxName, &maxData,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, 5u);
    EXPECT_EQ(maxData, 14u);
    RegCloseKey(h);
}

// ------------------------------------------------------------------ keys

TEST_F(Registry, KeyNamesIgnoreCaseKeepTheirSpellingAndEnumerateSorted) {
    HKEY parent = Create(HKEY_CLASSES_ROOT, u"CLSID");
    for (const char16_t* name : {u"beta", u"Gamma", u"alpha", u"_under", u"Дельта", u"{4EAF7A60-AFB4-11D3-B8F1-0000C0A3E6F3}"})
        RegCloseKey(Create(parent, name));

    DWORD disposition = 0;
    HKEY again = Create(HKEY_CLASSES_ROOT, u"clsid\\GAMMA", &disposition);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    ASSERT_EQ(Set(again, nullptr, REG_SZ, Bytes(u"g")), ERROR_SUCCESS);
    RegCloseKey(again);

    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"Clsid\\gamma\\", 0, KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_EQ(Query(opened, nullptr).data, Bytes(u"g"));
    RegCloseKey(opened);

    // Sorted without regard to ASCII case, compared as upper case (so "_"
    // follows the letters); each name as first created.
    EXPECT_EQ(SubkeyNames(parent), (std::vector<std::u16string>{u"alpha", u"beta", u"Gamma", u"_under",
                                                                u"{4EAF7A60-AFB4-11D3-B8F1-0000C0A3E6F3}", u"Дельта"}));

    char16_t shortName[4];
    DWORD cch = 4;
    EXPECT_EQ(RegEnumKeyExW(parent, 0, shortName, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    cch = 4;
    EXPECT_EQ(RegEnumKeyExW(parent, 6, shortName, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    DWORD subkeys = 0, maxSub = 0;
    EXPECT_EQ(RegQueryInfoKeyW(parent, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 6u);
    EXPECT_EQ(maxSub, 38u);
    RegCloseKey(parent);

    // The roots are separate trees.
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"CLSID", 0, KEY_READ, &opened), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"CLSID", 0, KEY_READ, &opened), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, DeletingKeysAndTrees) {
    RegCloseKey(Create(HKEY_CLASSES_ROOT, u"Tree\\A\\A1"));
    RegCloseKey(Create(HKEY_CLASSES_ROOT, u"Tree\\A\\A2"));
    HKEY b = Create(HKEY_CLASSES_ROOT, u"Tree\\B");
    ASSERT_EQ(Set(b, u"v", REG_SZ, Bytes(u"x")), ERROR_SUCCESS);

    // A key with subkeys is not deleted, and nothing under it goes.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, u"Tree\\A"), ERROR_ACCESS_DENIED);
    HKEY a = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"Tree\\A", 0, KEY_READ, &a), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(a), (std::vector<std::u16string>{u"A1", u"A2"}));
    EXPECT_EQ(RegDeleteKeyW(a, u"a1"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(a, u"A1"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SubkeyNames(a), (std::vector<std::u16string>{u"A2"}));

    // A key deleted under an open handle: the handle stays valid but its key is gone.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, u"Tree\\B"), ERROR_SUCCESS);
    LSTATUS s = 0;
    Query(b, u"v", &s);
    EXPECT_EQ(s, ERROR_KEY_DELETED);
    EXPECT_EQ(Set(b, u"v", REG_SZ, Bytes(u"y")), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(b), ERROR_SUCCESS);

    // A null subkey empties the key and keeps it; a named one goes whole.
    HKEY tree = Create(HKEY_CLASSES_ROOT, u"Tree");
    ASSERT_EQ(Set(tree, u"keep?", REG_SZ, Bytes(u"no")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(tree, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(SubkeyNames(tree).empty());
    EXPECT_TRUE(ValueNames(tree).empty());
    RegCloseKey(Create(HKEY_CLASSES_ROOT, u"Tree\\C\\D\\E"));
    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, u"tree\\c"), ERROR_SUCCESS);
    EXPECT_TRUE(SubkeyNames(tree).empty());
    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, u"Tree\\C"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"Tree\\C\\D", 0, KEY_READ, &a), ERROR_FILE_NOT_FOUND);
    RegCloseKey(tree);
    RegCloseKey(a);
}

TEST_F(Registry, HandlesPathsAndAccessAreChecked) {
    HKEY h = nullptr;
    EXPECT_EQ(RegOpenKeyExW(nullptr, u"x", 0, KEY_READ, &h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(ULONG_PTR{0x12345}), u"x", 0, KEY_READ, &h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(ULONG_PTR{0x80000005u}), u"x", 0, KEY_READ, &h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"x", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, u"\\lead", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, u"a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_BAD_PATHNAME);
    std::u16string tooLong(256, u'k');
    EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, tooLong.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"a", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);  // nothing was made
    EXPECT_EQ(h, nullptr);

    // A closed handle is dead; a null subkey opens a second handle to the same key.
    h = Create(HKEY_CURRENT_USER, u"Software\\Handles");
    HKEY same = nullptr;
    ASSERT_EQ(RegOpenKeyExW(h, nullptr, 0, KEY_ALL_ACCESS, &same), ERROR_SUCCESS);
    EXPECT_NE(same, h);
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Set(h, u"v", REG_SZ, Bytes(u"x")), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Set(same, u"v", REG_SZ, Bytes(u"x")), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);  // closing a root is harmless

    // A handle opened for reading cannot change values or create subkeys,
    // but may open existing ones.
    HKEY ro = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &ro), ERROR_SUCCESS);
    EXPECT_EQ(Set(ro, u"v", REG_SZ, Bytes(u"x")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExW(ro, u"New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_ACCESS_DENIED);
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(ro, u"handles", 0, nullptr, 0, KEY_READ, nullptr, &h, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, DWORD(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(Query(h, u"v").data, Bytes(u"x"));
    HKEY wo = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_SET_VALUE, &wo), ERROR_SUCCESS);
    LSTATUS s = 0;
    Query(wo, u"v", &s);
    EXPECT_EQ(s, ERROR_ACCESS_DENIED);
    char16_t name[8];
    DWORD cch = 8;
    EXPECT_EQ(RegEnumKeyExW(wo, 0, name, &cch, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    for (HKEY k : {same, ro, h, wo}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);

    // Roots cannot be deleted.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, ThreadsWritingAtOnceLoseNothing) {
    constexpr int kThreads = 4, kKeys = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kKeys; ++i) {
                std::u16string key = u"Software\\Threads\\" + orv::Utf8ToUtf16(std::to_string(t) + "-" + std::to_string(i));
                ASSERT_EQ(SetDword(HKEY_CURRENT_USER, key, u"N", static_cast<DWORD>(t * 1000 + i)), ERROR_SUCCESS);
                DWORD back = 0;
                ASSERT_EQ(GetDword(HKEY_CURRENT_USER, key, u"N", back), ERROR_SUCCESS);
                ASSERT_EQ(back, static_cast<DWORD>(t * 1000 + i));
            }
        });
    }
    for (auto& th : threads) th.join();
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Threads", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(h).size(), size_t(kThreads * kKeys));
    RegCloseKey(h);
}

// -------------------------------------------------------------- the file

class RegistryFile : public ::testing::Test {
protected:
    TempDir dir_;
    std::string file_ = dir_.File("registry.txt");
};

TEST_F(RegistryFile, ChangesReachAnotherProcessAndComeBack) {
    RegistryScope scope(file_);
    const std::u16string text = u"Привет из родительского процесса";
    ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromParent", u"Text", text), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromParent", u"Number", 305419896u), ERROR_SUCCESS);

    ASSERT_EQ(RunChild("read-then-write", {{ORVDOCS_REGISTRY_ENV, file_},
                                           {"ORV_TEST_EXPECT_TEXT", orv::Utf16ToUtf8(text)},
                                           {"ORV_TEST_EXPECT_NUMBER", "305419896"}}),
              0);

    // The child's change is seen here without any reset: the file changed.
    std::u16string answer;
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromChild", nullptr, answer), ERROR_SUCCESS);
    EXPECT_EQ(answer, u"Ответ дочернего процесса");
    DWORD pid = 0;
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromChild", u"Pid", pid), ERROR_SUCCESS);
    EXPECT_NE(pid, 0u);
    EXPECT_NE(pid, static_cast<DWORD>(::getpid()));
    // And the parent's own values survived the child's write.
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromParent", u"Text", answer), ERROR_SUCCESS);
    EXPECT_EQ(answer, text);
}

TEST_F(RegistryFile, ProcessesWritingAtOnceLoseNoKey) {
    RegistryScope scope(file_);
    constexpr int kPerChild = 120, kParent = 60;
    std::string go = dir_.File("go");
    pid_t a = SpawnChild("burst", {{ORVDOCS_REGISTRY_ENV, file_}, {"ORV_TEST_GO", go}, {"ORV_TEST_PREFIX", "a"},
                                   {"ORV_TEST_COUNT", std::to_string(kPerChild)}});
    pid_t b = SpawnChild("burst", {{ORVDOCS_REGISTRY_ENV, file_}, {"ORV_TEST_GO", go}, {"ORV_TEST_PREFIX", "b"},
                                   {"ORV_TEST_COUNT", std::to_string(kPerChild)}});
    WriteFileBytes(go, "");
    // This process writes at the same time as a third writer.
    for (int i = 0; i < kParent; ++i)
        EXPECT_EQ(SetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\Burst\\p" + orv::Utf8ToUtf16(std::to_string(i)),
                           u"N", static_cast<DWORD>(i)),
                  ERROR_SUCCESS);
    EXPECT_EQ(WaitChild(a), 0);
    EXPECT_EQ(WaitChild(b), 0);

    // Read back from a fresh start, so only the file counts.
    OrvRegistryReset();
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\OrvTest\\Burst", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(h).size(), size_t(2 * kPerChild + kParent));
    RegCloseKey(h);
    for (const char* prefix : {"a", "b", "p"}) {
        int count = *prefix == 'p' ? kParent : kPerChild;
        for (int i = 0; i < count; ++i) {
            DWORD n = 0;
            ASSERT_EQ(GetDword(HKEY_CURRENT_USER,
                               u"Software\\OrvTest\\Burst\\" + orv::Utf8ToUtf16(prefix + std::to_string(i)), u"N", n),
                      ERROR_SUCCESS)
                << prefix << i;
            EXPECT_EQ(n, static_cast<DWORD>(i));
        }
    }
    // No temporary file is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().string().find(".tmp."), std::string::npos) << entry.path();
}

TEST_F(RegistryFile, AwkwardNamesAndDataSurviveTheFileExactly) {
    const std::u16string awkwardKey = u"Ключ \"в кавычках\" {1}";
    const std::u16string awkwardName = std::u16string(u"имя\n\t\"\\") + char16_t(0x01) + u"😀";
    const std::u16string withNul(u"до\0после", 9);
    const std::u16string loneSurrogate = std::u16string(u"a") + char16_t(0xD800) + u"b" + char16_t(0xDC00);
    struct Case {
        std::u16string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Case> cases = {
        {awkwardName, REG_SZ, Bytes(u"Зарплата")},
        {u"nul inside", REG_SZ, Bytes(withNul)},
        {u"lone surrogates", REG_EXPAND_SZ, Bytes(loneSurrogate)},
        {u"control", REG_SZ, Bytes(std::u16string(u"\x7F\x1F\r\n", 4))},
        {u"no terminator", REG_SZ, Bytes(u"abc", false)},
        {u"odd bytes", REG_SZ, {0x41, 0x00, 0x42}},
        {u"empty string", REG_SZ, Bytes(u"")},
        {u"zero bytes", REG_SZ, {}},
        {u"empty binary", REG_BINARY, {}},
        {u"dword max", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}},
        {u"multi", REG_MULTI_SZ, Bytes(std::u16string(u"a\0b\0", 4))},
        {u"qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
        {u"", REG_SZ, Bytes(u"default")},
    };
    {
        RegistryScope scope(file_);
        HKEY h = Create(HKEY_CLASSES_ROOT, (u"Awkward\\" + awkwardKey).c_str());
        for (const Case& c : cases)
            ASSERT_EQ(RegSetValueExW(h, c.name.c_str(), 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
                      ERROR_SUCCESS);
        RegCloseKey(h);
        HKEY root = Create(HKEY_USERS, nullptr);
        ASSERT_EQ(Set(root, u"on the root", REG_SZ, Bytes(u"r")), ERROR_SUCCESS);
        RegCloseKey(root);
    }
    const std::string bytes = ReadFileBytes(file_);
    EXPECT_EQ(bytes.rfind("ORVDOCS-REGISTRY 1\n", 0), 0u);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "end\n");
    EXPECT_NE(bytes.find(orv::Utf16ToUtf8(u"Зарплата")), std::string::npos);  // readable text, not hex

    RegistryScope fresh(file_);  // forget memory: everything below comes from the file
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, (u"awkward\\" + awkwardKey).c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    std::vector<std::u16string> expectedNames;
    for (const Case& c : cases) expectedNames.push_back(c.name);
    EXPECT_EQ(ValueNames(h), expectedNames);
    for (const Case& c : cases) {
        LSTATUS s = 0;
        Stored v = Query(h, c.name.c_str(), &s);
        ASSERT_EQ(s, ERROR_SUCCESS) << orv::Utf16ToUtf8(c.name);
        EXPECT_EQ(v.type, c.type) << orv::Utf16ToUtf8(c.name);
        EXPECT_EQ(v.data, c.data) << orv::Utf16ToUtf8(c.name);
    }
    RegCloseKey(h);
    HKEY awkward = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"Awkward", 0, KEY_READ, &awkward), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(awkward), std::vector<std::u16string>{awkwardKey});
    RegCloseKey(awkward);
    EXPECT_EQ(Query(HKEY_USERS, u"on the root").data, Bytes(u"r"));
    // Written again unchanged, the file is byte for byte the same.
    ASSERT_EQ(Set(HKEY_USERS, u"on the root", REG_SZ, Bytes(u"r2")), ERROR_SUCCESS);
    ASSERT_EQ(Set(HKEY_USERS, u"on the root", REG_SZ, Bytes(u"r")), ERROR_SUCCESS);
    EXPECT_EQ(ReadFileBytes(file_), bytes);
}

TEST_F(RegistryFile, DamagedFileAnswersBadDbAndIsNeverTouched) {
    const std::string good = "ORVDOCS-REGISTRY 1\nkey \"HKEY_CURRENT_USER\" \"Software\"\nvalue \"v\" sz \"x\"\nend\n";
    const std::vector<std::pair<const char*, std::string>> damages = {
        {"cut off", good.substr(0, good.size() - 4)},
        {"binary junk", std::string("\x7F" "ELF\x02\x01\x00\xFF\xFE", 9)},
        {"newer format", "ORVDOCS-REGISTRY 2\nend\n"},
        {"bad UTF-8", "ORVDOCS-REGISTRY 1\nkey \"HKEY_CURRENT_USER\" \"\xC3\x28\"\nend\n"},
        {"bad escape", "ORVDOCS-REGISTRY 1\nkey \"HKEY_CURRENT_USER\" \"a\\q\"\nend\n"},
        {"value before key", "ORVDOCS-REGISTRY 1\nvalue \"v\" sz \"x\"\nend\n"},
        {"bad hex", "ORVDOCS-REGISTRY 1\nkey \"HKEY_USERS\"\nvalue \"v\" binary hex:0g\nend\n"},
        {"unknown root", "ORVDOCS-REGISTRY 1\nkey \"HKEY_NOWHERE\"\nend\n"},
    };
    for (const auto& [what, content] : damages) {
        SCOPED_TRACE(what);
        WriteFileBytes(file_, content);
        RegistryScope scope(file_);
        testing::internal::CaptureStderr();
        HKEY h = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &h), ERROR_BADDB);
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_BADDB);
        EXPECT_EQ(Set(HKEY_CURRENT_USER, u"v", REG_SZ, Bytes(u"y")), ERROR_BADDB);
        EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, nullptr), ERROR_BADDB);
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(u"OrvTest.Anything", &clsid), REGDB_E_READREGDB);
        const std::string told = testing::internal::GetCapturedStderr();
        // Told once, naming the file, however many calls failed.
        EXPECT_NE(told.find(file_), std::string::npos) << told;
        EXPECT_EQ(told.find(file_), told.rfind(file_)) << told;
        EXPECT_EQ(ReadFileBytes(file_), content);
    }

    // Repaired by hand, the file is used again without a restart.
    RegistryScope scope(file_);
    WriteFileBytes(file_, "junk");
    HKEY h = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &h), ERROR_BADDB);
    testing::internal::GetCapturedStderr();
    WriteFileBytes(file_, good);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(Query(h, u"v").data, Bytes(u"x"));
    RegCloseKey(h);
}

TEST_F(RegistryFile, EmptyOrMissingFileIsAnEmptyRegistry) {
    WriteFileBytes(file_, "");
    {
        RegistryScope scope(file_);
        HKEY h = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"Anything", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(SetString(HKEY_CLASSES_ROOT, u"Made", nullptr, u"1"), ERROR_SUCCESS);
    }
    EXPECT_NE(ReadFileBytes(file_).find("\"Made\""), std::string::npos);

    // The file removed behind the registry's back: the registry is empty again.
    RegistryScope scope(file_);
    std::u16string v;
    ASSERT_EQ(GetString(HKEY_CLASSES_ROOT, u"Made", nullptr, v), ERROR_SUCCESS);
    std::filesystem::remove(file_);
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, u"Made", nullptr, v), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryFile, FailedWriteKeepsNeitherFileNorMemoryChanged) {
    {
        RegistryScope scope(file_);
        ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Small", u"small"), ERROR_SUCCESS);
    }
    const std::string before = ReadFileBytes(file_);
    testing::internal::CaptureStderr();
    int code = RunChild("write-over-limit",
                        {{ORVDOCS_REGISTRY_ENV, file_}, {"ORV_TEST_FSIZE", std::to_string(before.size() + 16)}});
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 0);
    EXPECT_NE(told.find("cannot write registry file"), std::string::npos) << told;
    EXPECT_EQ(ReadFileBytes(file_), before);
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        EXPECT_EQ(entry.path().string().find(".tmp."), std::string::npos) << entry.path();
}

// ------------------------------------------------------------- batches

TEST_F(RegistryFile, ABatchWritesOnceWhileOtherWritersWait) {
    RegistryScope scope(file_);
    ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Small", u"small"), ERROR_SUCCESS);
    const std::string before = ReadFileBytes(file_);
    const std::string go = dir_.File("go");
    WriteFileBytes(go, "");

    ASSERT_EQ(OrvRegistryBeginBatch(), ERROR_SUCCESS);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(SetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\Batch\\k" + orv::Utf8ToUtf16(std::to_string(i)),
                           u"N", static_cast<DWORD>(i)),
                  ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\OrvTest\\Batch\\k39"), ERROR_SUCCESS);
    DWORD n = 0;
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\Batch\\k7", u"N", n), ERROR_SUCCESS)
        << "this process reads its own batch";
    EXPECT_EQ(n, 7u);
    // Another process's writer waits for the batch's lock.
    pid_t child = SpawnChild("burst", {{ORVDOCS_REGISTRY_ENV, file_}, {"ORV_TEST_GO", go}, {"ORV_TEST_PREFIX", "c"},
                                       {"ORV_TEST_COUNT", "3"}});
    ASSERT_EQ(OrvRegistryBeginBatch(), ERROR_SUCCESS) << "batches nest";
    ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Nested", u"inner"), ERROR_SUCCESS);
    ASSERT_EQ(OrvRegistryEndBatch(), ERROR_SUCCESS);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(ReadFileBytes(file_), before) << "nothing is written before the outermost end";

    ASSERT_EQ(OrvRegistryEndBatch(), ERROR_SUCCESS);
    EXPECT_EQ(WaitChild(child), 0);
    EXPECT_EQ(OrvRegistryEndBatch(), ERROR_INVALID_PARAMETER) << "no batch is open";

    // From a fresh start: the batch and the waiting writer both kept theirs.
    OrvRegistryReset();
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\OrvTest\\Batch", 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(SubkeyNames(h).size(), 39u);
    RegCloseKey(h);
    std::u16string text;
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Nested", text), ERROR_SUCCESS);
    EXPECT_EQ(text, u"inner");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Small", text), ERROR_SUCCESS);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\Burst\\c" + orv::Utf8ToUtf16(std::to_string(i)),
                           u"N", n),
                  ERROR_SUCCESS);
}

TEST_F(RegistryFile, ABatchTakesInOtherProcessesChangesAtItsStart) {
    RegistryScope scope(file_);
    ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Mine", u"1"), ERROR_SUCCESS);
    const std::string go = dir_.File("go");
    WriteFileBytes(go, "");
    ASSERT_EQ(RunChild("burst", {{ORVDOCS_REGISTRY_ENV, file_}, {"ORV_TEST_GO", go}, {"ORV_TEST_PREFIX", "d"},
                                 {"ORV_TEST_COUNT", "2"}}),
              0);
    ASSERT_EQ(OrvRegistryBeginBatch(), ERROR_SUCCESS);
    ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Mine", u"2"), ERROR_SUCCESS);
    ASSERT_EQ(OrvRegistryEndBatch(), ERROR_SUCCESS);
    OrvRegistryReset();
    DWORD n = 0;
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\Burst\\d1", u"N", n), ERROR_SUCCESS);
    std::u16string text;
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Mine", text), ERROR_SUCCESS);
    EXPECT_EQ(text, u"2");
}

TEST_F(RegistryFile, ABatchOnADamagedFileIsRefusedAndAFailedOneKeepsNothing) {
    WriteFileBytes(file_, "not a registry\n");
    {
        RegistryScope scope(file_);
        testing::internal::CaptureStderr();
        EXPECT_EQ(OrvRegistryBeginBatch(), ERROR_BADDB);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(OrvRegistryEndBatch(), ERROR_INVALID_PARAMETER) << "no batch was opened";
    }
    std::filesystem::remove(file_);
    {
        RegistryScope scope(file_);
        ASSERT_EQ(SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Small", u"small"), ERROR_SUCCESS);
    }
    const std::string before = ReadFileBytes(file_);
    testing::internal::CaptureStderr();
    int code = RunChild("batch-over-limit",
                        {{ORVDOCS_REGISTRY_ENV, file_}, {"ORV_TEST_FSIZE", std::to_string(before.size() + 16)}});
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 0);
    EXPECT_NE(told.find("cannot write registry file"), std::string::npos) << told;
    EXPECT_EQ(ReadFileBytes(file_), before);
}

}  // namespace
