// A second process that knows the library only through the registry: it
// creates a class by ProgID (the runtime loads the module with dlopen), asks
// it for an interface and prints what it found.
// Usage: create_by_progid <ProgID> <braced IID>; exit 0 when both worked.
#include <orvdocs/platform/platform.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::u16string progId = orv::Utf8ToUtf16(argv[1]);
    std::u16string iidText = orv::Utf8ToUtf16(argv[2]);
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
    if (FAILED(hr)) {
        std::printf("CLSIDFromProgID: 0x%08X\n", static_cast<unsigned>(hr));
        return 3;
    }
    IID iid{};
    if (FAILED(IIDFromString(iidText.c_str(), &iid))) return 4;
    IUnknown* unk = nullptr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid, reinterpret_cast<void**>(&unk));
    if (FAILED(hr)) {
        std::printf("CoCreateInstance: 0x%08X\n", static_cast<unsigned>(hr));
        return 5;
    }
    OLECHAR text[40];
    StringFromGUID2(clsid, text, 40);
    std::printf("created %s\n", orv::Utf16ToUtf8(text).c_str());
    unk->Release();
    return 0;
}
