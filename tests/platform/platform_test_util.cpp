#include "platform_test_util.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace orvtest {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orvdocs-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

RegistryScope::RegistryScope(const std::string& file) {
    ::setenv(ORVDOCS_REGISTRY_ENV, file.c_str(), 1);
    OrvRegistryReset();
}

RegistryScope::~RegistryScope() {
    ::setenv(ORVDOCS_REGISTRY_ENV, "", 1);
    OrvRegistryReset();
}

pid_t SpawnChild(const std::string& role, const std::map<std::string, std::string>& env) {
    std::vector<std::string> vars;
    for (char** e = environ; *e; ++e) {
        std::string var = *e;
        if (!env.count(var.substr(0, var.find('=')))) vars.push_back(std::move(var));
    }
    vars.push_back("ORV_TEST_CHILD_ROLE=" + role);
    for (const auto& [k, v] : env) vars.push_back(k + "=" + v);
    std::vector<char*> envp;
    for (auto& v : vars) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    char* argv[] = {self.data(), nullptr};
    pid_t pid = -1;
    if (::posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
    return pid;
}

int WaitChild(pid_t pid) {
    if (pid <= 0) return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

LSTATUS SetString(HKEY root, const std::u16string& key, const char16_t* name, const std::u16string& value,
                  DWORD type) {
    HKEY h = nullptr;
    LSTATUS s = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (s) return s;
    s = RegSetValueExW(h, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    RegCloseKey(h);
    return s;
}

LSTATUS SetDword(HKEY root, const std::u16string& key, const char16_t* name, DWORD value) {
    HKEY h = nullptr;
    LSTATUS s = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (s) return s;
    s = RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(h);
    return s;
}

LSTATUS GetString(HKEY root, const std::u16string& key, const char16_t* name, std::u16string& value) {
    value.clear();
    HKEY h = nullptr;
    LSTATUS s = RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h);
    if (s) return s;
    DWORD type = 0, size = 0;
    s = RegQueryValueExW(h, name, nullptr, &type, nullptr, &size);
    std::u16string buf(size / 2, u'\0');
    if (!s) s = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
    RegCloseKey(h);
    if (s) return s;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_PARAMETER;
    buf.resize(size / 2);
    if (!buf.empty() && buf.back() == 0) buf.pop_back();
    value = buf;
    return ERROR_SUCCESS;
}

LSTATUS GetDword(HKEY root, const std::u16string& key, const char16_t* name, DWORD& value) {
    HKEY h = nullptr;
    LSTATUS s = RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h);
    if (s) return s;
    DWORD type = 0, size = sizeof value;
    s = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(h);
    if (!s && (type != REG_DWORD || size != 4)) return ERROR_INVALID_PARAMETER;
    return s;
}

}  // namespace orvtest
