// Helpers shared by the registry and runtime tests: a scratch folder, a
// registry scope (memory or file) and child processes of this test program.
#pragma once

#include <orvdocs/platform/platform.h>

#include <filesystem>
#include <map>
#include <string>
#include <sys/types.h>

namespace orvtest {

// A fresh folder that disappears with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Points the registry at a file (or, with an empty path, at memory only) and
// starts it afresh; the destructor returns to an empty in-memory registry.
class RegistryScope {
public:
    explicit RegistryScope(const std::string& file = {});
    ~RegistryScope();
    RegistryScope(const RegistryScope&) = delete;
    RegistryScope& operator=(const RegistryScope&) = delete;
};

// Starts this test program again as a child that runs `role` (see
// child_roles.cpp) instead of the tests; `env` is added to its environment.
pid_t SpawnChild(const std::string& role, const std::map<std::string, std::string>& env = {});
// Waits for a child; its exit status, or -1 when it did not exit normally.
int WaitChild(pid_t pid);
inline int RunChild(const std::string& role, const std::map<std::string, std::string>& env = {}) {
    return WaitChild(SpawnChild(role, env));
}

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Registry shortcuts for tests: the status of each call is returned.
LSTATUS SetString(HKEY root, const std::u16string& key, const char16_t* name, const std::u16string& value,
                  DWORD type = REG_SZ);
LSTATUS SetDword(HKEY root, const std::u16string& key, const char16_t* name, DWORD value);
LSTATUS GetString(HKEY root, const std::u16string& key, const char16_t* name, std::u16string& value);
LSTATUS GetDword(HKEY root, const std::u16string& key, const char16_t* name, DWORD& value);

}  // namespace orvtest
