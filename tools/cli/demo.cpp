// orvdocs demo: registers the library and the host's outside components in
// this process, opens the document store (a SQLite file) and runs the
// demonstration's steps (one file each, demo_<area>.cpp): documents
// and the other objects of the library created, filled, stored in the
// database service, read back and shown.
//
// The store is the file named on the command line, else by the environment variable
// ORVDOCS_DB, else orvdocs-demo.db beside this program (in the build folder).
// A new store is filled from the sample data of the repository (data/store,
// or the folder named by ORVDOCS_DATA); a store that exists is used as it is,
// so a second run reads back what the first stored.
#include "../demo.h"
#include "cli.h"

#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <orvdocs/platform/strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef ORVDOCS_DATA_DIR
#define ORVDOCS_DATA_DIR "data"
#endif

namespace {

using namespace orv::demo;
using orv::Bstr;
using orv::ComPtr;

struct Options {
    std::string db;
    std::vector<std::string> load;
    std::string exportTo;
};

std::string DefaultStorePath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "orvdocs-demo.db";
    return (self.parent_path() / "orvdocs-demo.db").string();
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failed{"reading " + path, E_INVALIDARG};
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Loads a file in the store's text form, reporting the service's text on failure.
void Load(IOrvMemoryDatabase* view, IOrvDatabase* db, const std::string& path) {
    const HRESULT hr = view->ImportText(Bstr::FromUtf8(ReadText(path)));
    if (FAILED(hr)) {
        Bstr text;
        db->get_LastError(text.ReleaseAndGetAddressOf());
        std::fprintf(stderr, "loading %s: %s\n", path.c_str(), text.Utf8().c_str());
        throw Failed{"loading " + path, hr};
    }
    std::printf("loaded %s\n", path.c_str());
}

int RunDemo(const Options& options) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // keeps the lines in order with the messages on stderr
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    orv::host::Registration host;
    Must(orv::host::RegisterHostComponents(&host), "registering the host components");
    Must(DllRegisterServer(), "DllRegisterServer");
    std::printf("library and host components registered\n");

    const bool existed = std::filesystem::exists(options.db);
    ComPtr<IOrvDatabase> db;
    const HRESULT opened = orv::host::OpenDatabase(orv::Utf8ToUtf16(options.db), db.GetAddressOf());
    if (FAILED(opened)) {
        ShowErrorReport(("opening the store " + options.db).c_str(), opened);
        host.Revoke();
        CoUninitialize();
        return 1;
    }
    ComPtr<IOrvMemoryDatabase> view;
    Must(db->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(view.GetAddressOf())), "IOrvMemoryDatabase");
    LONG documents = 0;
    view->get_DocumentCount(&documents);
    ComPtr<IUnknown> settingsObject;
    Must(db->get_Settings(settingsObject.GetAddressOf()), "get_Settings");
    ComPtr<IOrvSettings> settings;
    Must(settingsObject.As(&settings), "IOrvSettings");
    LONG settingCount = 0;
    settings->get_Count(&settingCount);
    if (!existed || (documents == 0 && settingCount == 0)) {
        std::printf("store %s: new; filling it from the sample data\n", options.db.c_str());
        const char* data = std::getenv("ORVDOCS_DATA");
        const std::string folder = std::string(data && *data ? data : ORVDOCS_DATA_DIR) + "/store";
        Load(view.Get(), db.Get(), folder + "/reference.xml");
        Load(view.Get(), db.Get(), folder + "/employees.xml");
    } else {
        std::printf("store %s: opened; it holds %d documents stored by earlier runs\n", options.db.c_str(), documents);
    }
    for (const std::string& file : options.load) Load(view.Get(), db.Get(), file);
    std::printf("\n");

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

    view->get_DocumentCount(&documents);
    LONGLONG bytes = 0;
    view->GetStoreSize(&bytes);
    std::printf("store %s now holds %d documents in %lld bytes\n", options.db.c_str(), documents,
                static_cast<long long>(bytes));
    if (!options.exportTo.empty()) {
        Bstr text;
        Must(view->ExportText(text.ReleaseAndGetAddressOf()), "ExportText");
        std::ofstream(options.exportTo, std::ios::binary) << text.Utf8();
        std::printf("store exported to %s\n", options.exportTo.c_str());
    }

    db->ClosePipe(ctx.pipe);
    db->Close();
    settings.Reset();
    settingsObject.Reset();
    view.Reset();
    db.Reset();
    host.Revoke();
    std::printf("module can unload: %s\n", DllCanUnloadNow() == S_OK ? "yes" : "no");
    CoUninitialize();
    return 0;
}

}  // namespace

namespace orv::cli {

// orvdocs demo [STORE] [--load FILE]... [--export FILE]: the store is the
// file named, else ORVDOCS_DB, else orvdocs-demo.db beside the program.
int Demo(const Args& a) {
    Options options;
    const char* env = std::getenv("ORVDOCS_DB");
    options.db = !a.words.empty() ? a.words[0] : env && *env ? env : DefaultStorePath();
    if (a.words.size() > 1) throw Usage{"unexpected argument: " + a.words[1]};
    if (a.Has("load")) options.load.push_back(a.Get("load"));
    options.exportTo = a.Get("export");
    try {
        return RunDemo(options);
    } catch (const orv::demo::Failed& f) {
        throw Refused{f.what, f.hr};
    }
}

}  // namespace orv::cli
