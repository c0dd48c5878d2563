// The store's text form under arbitrary input: ImportText on a new
// in-memory database service, then ExportText.
//
// Input: byte 0 chooses how the rest is read as text (widened bytes,
// UTF-16LE, UTF-8); the rest is the text handed to ImportText.
//
// Besides "no crash, no leak, no sanitizer report", the target checks:
//  - an import that fails loads nothing: the store writes the same text as
//    before it;
//  - what the store writes after an accepted import (text A), a new store
//    imports and writes as exactly A again.
#include "fuzz_host.h"
#include "fuzz_input.h"

#include "host/OrvMemoryDatabase.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <memory>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orvfuzz::Input;

ComPtr<IOrvMemoryDatabase> NewStore() {
    ComPtr<IOrvMemoryDatabase> db;
    ORV_FUZZ_CHECK(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvMemoryDatabase,
                                    reinterpret_cast<void**>(db.GetAddressOf())) == S_OK);
    return db;
}

std::u16string Exported(IOrvMemoryDatabase* db) {
    Bstr text;
    ORV_FUZZ_CHECK(db->ExportText(text.ReleaseAndGetAddressOf()) == S_OK);
    return std::u16string(text.View());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvfuzz::HostEnvironment environment;
    Input in(data, size);
    const unsigned mode = in.Byte();
    const Bstr text(orvfuzz::AsText(in.Rest(), mode));

    ComPtr<IOrvMemoryDatabase> first = NewStore();
    const std::u16string empty = Exported(first.Get());
    if (FAILED(first->ImportText(text.Get()))) {
        ORV_FUZZ_CHECK(Exported(first.Get()) == empty);
        return 0;
    }
    const std::u16string a = Exported(first.Get());

    ComPtr<IOrvMemoryDatabase> second = NewStore();
    ORV_FUZZ_CHECK(second->ImportText(Bstr(a).Get()) == S_OK);
    const std::u16string b = Exported(second.Get());
    if (a != b) {
        std::fprintf(stderr, "A: %s\nB: %s\n", orv::Utf16ToUtf8(a).c_str(), orv::Utf16ToUtf8(b).c_str());
        ORV_FUZZ_CHECK(a == b);
    }
    return 0;
}
