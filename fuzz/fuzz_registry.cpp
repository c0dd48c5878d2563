// The registry file reader under arbitrary file contents.
//
// Input: the bytes of a registry file.
//
// The text form is parsed directly (orv::reg::Parse, the function every read
// of the file goes through) and then, as a host meets it, through the
// registry functions with ORVDOCS_REGISTRY pointing at a file holding the
// bytes. Checked besides "no crash, no leak, no sanitizer report":
//  - a file that parses writes (Serialize) a text that parses again and
//    writes the same text;
//  - the registry functions see exactly the keys and values of the parsed
//    tree: every key by enumeration, every value by name and by index, with
//    its type and bytes;
//  - a file that does not parse makes every registry function answer
//    ERROR_BADDB.
#include "fuzz_input.h"

#include "regtree.h"

#include <orvdocs/platform/registry.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using orv::reg::Key;
using orv::reg::Tree;

std::string g_file;

void WriteFile(const std::uint8_t* data, std::size_t size) {
    int fd = ::open(g_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ORV_FUZZ_CHECK(fd >= 0);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        ORV_FUZZ_CHECK(n > 0);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// Compares the key open as `h` with the parsed key, recursively (bounded).
void CompareKey(HKEY h, const Key& key, int depth, int& budget) {
    if (--budget < 0) return;
    DWORD subkeys = 0, values = 0, maxSub = 0, maxName = 0, maxData = 0;
    ORV_FUZZ_CHECK(RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subkeys, &maxSub, nullptr, &values, &maxName,
                                    &maxData, nullptr, nullptr) == ERROR_SUCCESS);
    ORV_FUZZ_CHECK(subkeys == key.subkeys.size());
    ORV_FUZZ_CHECK(values == key.values.size());

    for (DWORD i = 0; i < values && i < 16; ++i) {
        const auto& v = key.values[i];
        // By index.
        std::vector<char16_t> name(maxName + 1);
        DWORD nameLength = maxName + 1, type = 0, bytes = maxData;
        std::vector<BYTE> data(maxData + 1);
        ORV_FUZZ_CHECK(RegEnumValueW(h, i, name.data(), &nameLength, nullptr, &type, data.data(), &bytes) ==
                       ERROR_SUCCESS);
        ORV_FUZZ_CHECK(std::u16string_view(name.data(), nameLength) == v.name);
        ORV_FUZZ_CHECK(type == v.type && bytes == v.data.size());
        ORV_FUZZ_CHECK(std::equal(v.data.begin(), v.data.end(), data.begin()));
        // By name (a name with a NUL inside cannot be asked for by name).
        if (v.name.find(u'\0') != std::u16string::npos) continue;
        DWORD size = 0;
        ORV_FUZZ_CHECK(RegQueryValueExW(h, v.name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS);
        ORV_FUZZ_CHECK(size == v.data.size());
        // The first value of that name (names compare without ASCII case).
        if (!v.data.empty()) {
            // A buffer one byte short (never a null pointer, which would ask the size).
            std::vector<BYTE> small(v.data.size());
            DWORD smallSize = static_cast<DWORD>(v.data.size() - 1);
            ORV_FUZZ_CHECK(RegQueryValueExW(h, v.name.c_str(), nullptr, nullptr, small.data(), &smallSize) ==
                           ERROR_MORE_DATA);
            ORV_FUZZ_CHECK(smallSize == v.data.size());
        }
    }
    DWORD past = 0;
    char16_t pastName[8];
    DWORD pastLength = 8;
    ORV_FUZZ_CHECK(RegEnumValueW(h, values, pastName, &pastLength, nullptr, nullptr, nullptr, &past) ==
                   ERROR_NO_MORE_ITEMS);

    if (depth >= 6) return;
    DWORD index = 0;
    for (const auto& [folded, sub] : key.subkeys) {
        if (index >= 8) break;
        std::vector<char16_t> name(maxSub + 1);
        DWORD length = maxSub + 1;
        ORV_FUZZ_CHECK(RegEnumKeyExW(h, index++, name.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
                       ERROR_SUCCESS);
        std::u16string subName(name.data(), length);
        ORV_FUZZ_CHECK(subName == sub->name);
        if (subName.find(u'\0') != std::u16string::npos) continue;
        HKEY child = nullptr;
        ORV_FUZZ_CHECK(RegOpenKeyExW(h, subName.c_str(), 0, KEY_READ, &child) == ERROR_SUCCESS);
        CompareKey(child, *sub, depth + 1, budget);
        ORV_FUZZ_CHECK(RegCloseKey(child) == ERROR_SUCCESS);
    }
}

const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* base = std::getenv("TMPDIR");
    std::string dir = std::string(base && *base ? base : "/tmp") + "/orvfuzz-registry-XXXXXX";
    ORV_FUZZ_CHECK(::mkdtemp(dir.data()) != nullptr);
    g_file = dir + "/registry";
    ::setenv(ORVDOCS_REGISTRY_ENV, g_file.c_str(), 1);
    static std::string folder = dir;
    std::atexit([] {  // the run's temporary folder goes with it
        ::unlink(g_file.c_str());
        ::unlink((g_file + ".lock").c_str());
        ::rmdir(folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Tree tree;
    std::string error;
    const bool parsed = orv::reg::Parse(text, tree, error);
    ORV_FUZZ_CHECK(parsed == error.empty());

    if (parsed) {
        const std::string written = orv::reg::Serialize(tree);
        Tree again;
        std::string error2;
        ORV_FUZZ_CHECK(orv::reg::Parse(written, again, error2));
        ORV_FUZZ_CHECK(orv::reg::Serialize(again) == written);
    }

    // The same bytes as the registry file of this process. An empty file is
    // an empty registry; a damaged one is told once on stderr per version of
    // the file, which is kept quiet here (the parse above ran with it open).
    WriteFile(data, size);
    OrvRegistryReset();
    if (!parsed && size > 0) {
        int saved = ::dup(2);
        int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        ::dup2(null, 2);
        HKEY h = nullptr;
        LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &h);
        DWORD count = 0;
        LSTATUS info = RegQueryInfoKeyW(HKEY_CLASSES_ROOT, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr);
        ::dup2(saved, 2);
        ::close(saved);
        ::close(null);
        ORV_FUZZ_CHECK(opened == ERROR_BADDB && info == ERROR_BADDB);
        return 0;
    }
    static const Key kEmpty;
    for (std::size_t r = 0; r < orv::reg::kRootCount; ++r) {
        int budget = 64;
        CompareKey(kRoots[r], parsed ? tree.roots[r] : kEmpty, 0, budget);
    }
    return 0;
}
