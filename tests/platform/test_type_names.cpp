// Host code written for the original platform uses its pointer and handle
// names with the declared functions; it must compile and run unchanged.
#include "platform_test_util.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

using namespace orvtest;

// The names are the same types the functions are declared with, so a host can
// pass either spelling.
static_assert(std::is_same_v<LPBYTE, BYTE*> && std::is_same_v<PBYTE, BYTE*>);
static_assert(std::is_same_v<LPDWORD, DWORD*> && std::is_same_v<PDWORD, DWORD*>);
static_assert(std::is_same_v<LPLONG, LONG*> && std::is_same_v<PLONG, LONG*>);
static_assert(std::is_same_v<LPWORD, WORD*> && std::is_same_v<PWORD, WORD*>);
static_assert(std::is_same_v<LPVOID, void*> && std::is_same_v<LPCVOID, const void*>);
static_assert(std::is_same_v<LPWSTR, OLECHAR*> && std::is_same_v<LPCWSTR, const OLECHAR*>);
static_assert(std::is_same_v<PWSTR, LPWSTR> && std::is_same_v<PCWSTR, LPCWSTR>);
static_assert(std::is_same_v<PHKEY, HKEY*> && std::is_same_v<LPBOOL, BOOL*> && std::is_same_v<PULONG, ULONG*>);
static_assert(std::is_same_v<LPFILETIME, FILETIME*> && std::is_same_v<PHANDLE, HANDLE*>);
static_assert(std::is_same_v<LPBSTR, BSTR*> && std::is_same_v<LPINT, INT*> && std::is_same_v<PUINT, UINT*>);

TEST(PlatformTypeNames, RegistryCallsWrittenWithThePlatformNames) {
    RegistryScope registry;
    HKEY key = nullptr;
    PHKEY out = &key;
    DWORD disposition = 0;
    LPDWORD pDisposition = &disposition;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Host", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, out,
                              pDisposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));

    const DWORD stored = 1234;
    ASSERT_EQ(RegSetValueExW(key, u"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored),
              ERROR_SUCCESS);
    DWORD read = 0, type = 0, size = sizeof read;
    LPBYTE data = reinterpret_cast<LPBYTE>(&read);
    PDWORD pType = &type;
    LPDWORD pSize = &size;
    ASSERT_EQ(RegQueryValueExW(key, u"Count", nullptr, pType, data, pSize), ERROR_SUCCESS);
    EXPECT_EQ(read, stored);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));

    OLECHAR name[32];
    LPWSTR pName = name;
    DWORD chars = 32;
    FILETIME written{};
    LPFILETIME pWritten = &written;
    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &parent), ERROR_SUCCESS);
    ASSERT_EQ(RegEnumKeyExW(parent, 0, pName, &chars, nullptr, nullptr, nullptr, pWritten), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, chars), u"Host");
    RegCloseKey(parent);
    RegCloseKey(key);
}

}  // namespace
