// The command-line host: registers the library and the host's outside
// components in this process and runs the demonstration's steps (one file
// each, demo_<area>.cpp): documents and the other objects of the library
// created, filled, stored in the database service, read back and shown.
#include "demo.h"

#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <cstdio>
#include <cstring>

namespace {

using namespace orv::demo;
using orv::Bstr;
using orv::ComPtr;

int Demo() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // keeps the lines in order with the messages on stderr
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    orv::host::Registration host;
    Must(orv::host::RegisterHostComponents(&host), "registering the host components");
    Must(DllRegisterServer(), "DllRegisterServer");
    std::printf("library and host components registered\n\n");

    ComPtr<IOrvDatabase> db;
    Must(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                          reinterpret_cast<void**>(db.GetAddressOf())),
         "creating the database service");
    Must(db->Open(Bstr(u"memory")), "Open");
    Context ctx;
    ctx.db = db.Get();
    Must(db->OpenPipe(&ctx.pipe), "OpenPipe");

    int count = 0;
    const Step* steps = Steps(&count);
    for (int i = 0; i < count; ++i) {
        std::printf("== %s\n", steps[i].title);
        steps[i].run(ctx);
        std::printf("\n");
    }

    db->ClosePipe(ctx.pipe);
    db->Close();
    db.Reset();
    host.Revoke();
    std::printf("module can unload: %s\n", DllCanUnloadNow() == S_OK ? "yes" : "no");
    CoUninitialize();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: orvdocs-host\n  shows documents created, stored, read back and refused\n");
        return 0;
    }
    try {
        return Demo();
    } catch (const Failed& f) {
        std::fprintf(stderr, "%s failed: %s\n", f.what.c_str(), Hex(f.hr).c_str());
        return 1;
    }
}
