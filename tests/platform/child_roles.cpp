// What this test program does when a test starts it as a second process
// (SpawnChild): it runs one role before the tests would start and exits with
// 0 for success or a number naming the step that failed.
#include "platform_test_util.h"

#include "modules/test_module_simple.h"

#include <chrono>
#include <csignal>
#include <sys/resource.h>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace orvtest;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Reads what the parent wrote, then answers with values of its own.
int ReadThenWrite() {
    std::u16string text;
    if (GetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromParent", u"Text", text)) return 10;
    if (text != orv::Utf8ToUtf16(Env("ORV_TEST_EXPECT_TEXT"))) return 11;
    DWORD n = 0;
    if (GetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromParent", u"Number", n)) return 12;
    if (n != static_cast<DWORD>(std::stoul(Env("ORV_TEST_EXPECT_NUMBER")))) return 13;
    if (SetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromChild", nullptr, u"Ответ дочернего процесса")) return 14;
    if (SetDword(HKEY_CURRENT_USER, u"Software\\OrvTest\\FromChild", u"Pid", static_cast<DWORD>(::getpid()))) return 15;
    return 0;
}

// Writes many keys, one change at a time, once the start file appears.
int Burst() {
    std::string go = Env("ORV_TEST_GO");
    for (int i = 0; i < 2000 && ::access(go.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::u16string prefix = orv::Utf8ToUtf16(Env("ORV_TEST_PREFIX"));
    int count = std::stoi(Env("ORV_TEST_COUNT"));
    for (int i = 0; i < count; ++i) {
        std::u16string key = u"Software\\OrvTest\\Burst\\" + prefix + orv::Utf8ToUtf16(std::to_string(i));
        if (SetDword(HKEY_CURRENT_USER, key, u"N", static_cast<DWORD>(i))) return 20;
    }
    return 0;
}

// Creates the test module's class by the ProgID the parent registered.
int CreateByProgId() {
    std::u16string progId = orv::Utf8ToUtf16(Env("ORV_TEST_PROGID"));
    CLSID clsid{};
    if (CLSIDFromProgID(progId.c_str(), &clsid) != S_OK) return 30;
    if (clsid != CLSID_TestSimple) return 31;
    orv::ComPtr<ITestSimple> obj;
    if (CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(obj.GetAddressOf())) != S_OK) return 32;
    LONG total = 0;
    if (obj->Add(20) != S_OK || obj->Add(22) != S_OK || obj->get_Total(&total) != S_OK) return 33;
    return total == 42 ? 0 : 34;
}

// With the process unable to write files past a small size, a change that
// would grow the registry file fails and is not kept in memory either.
int WriteOverSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
    rlim_t limit = std::stoul(Env("ORV_TEST_FSIZE"));
    rlimit lim{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) return 40;
    if (SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Big", std::u16string(4000, u'ж')) != ERROR_CANTWRITE)
        return 41;
    std::u16string value;
    if (GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Big", value) != ERROR_FILE_NOT_FOUND) return 42;
    HKEY h = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\OrvTest\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                        nullptr) != ERROR_CANTWRITE)
        return 43;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\OrvTest\\New", 0, KEY_READ, &h) != ERROR_FILE_NOT_FOUND) return 44;
    if (GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Small", value) || value != u"small") return 45;
    return 0;
}

// A batch whose single write fails at its end keeps none of its changes.
int BatchOverSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
    rlim_t limit = std::stoul(Env("ORV_TEST_FSIZE"));
    rlimit lim{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) return 50;
    if (OrvRegistryBeginBatch() != ERROR_SUCCESS) return 51;
    if (SetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Big", std::u16string(4000, u'ж')) != ERROR_SUCCESS)
        return 52;
    if (SetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\Other", u"Tiny", u"t") != ERROR_SUCCESS) return 53;
    if (OrvRegistryEndBatch() != ERROR_CANTWRITE) return 54;
    std::u16string value;
    if (GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Big", value) != ERROR_FILE_NOT_FOUND) return 55;
    if (GetString(HKEY_CURRENT_USER, u"Software\\OrvTest\\Other", u"Tiny", value) != ERROR_FILE_NOT_FOUND) return 56;
    if (GetString(HKEY_CURRENT_USER, u"Software\\OrvTest", u"Small", value) || value != u"small") return 57;
    return 0;
}

int RunRole() {
    const char* role = std::getenv("ORV_TEST_CHILD_ROLE");
    if (!role) return -1;
    std::string r = role;
    int code = 99;
    try {
        if (r == "read-then-write") code = ReadThenWrite();
        else if (r == "burst") code = Burst();
        else if (r == "create-by-progid") code = CreateByProgId();
        else if (r == "write-over-limit") code = WriteOverSizeLimit();
        else if (r == "batch-over-limit") code = BatchOverSizeLimit();
    } catch (...) {
        code = 98;
    }
    std::_Exit(code);
}

[[maybe_unused]] const int kChildRole = RunRole();

}  // namespace
