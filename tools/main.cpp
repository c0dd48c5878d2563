// The command-line host: registers the library and the host's outside
// components in this process and shows a document's life: documents of
// several kinds are created, filled, stored in the in-memory database
// service, read back, and shown as display texts and XML.
#include <orvdocs/orvdocs.h>

#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;

std::string Hex(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
    return buf;
}

// Stops the demonstration with a message when a call fails.
struct Failed {
    std::string what;
    HRESULT hr;
};
HRESULT Must(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw Failed{what, hr};
    return hr;
}

CY Money(double value) {
    CY c{};
    c.int64 = static_cast<LONGLONG>(value * 10000.0 + (value < 0 ? -0.5 : 0.5));
    return c;
}

DATE Day(WORD year, WORD month, WORD day) {
    SYSTEMTIME st{};
    st.wYear = year, st.wMonth = month, st.wDay = day;
    DATE d = 0;
    SystemTimeToVariantTime(&st, &d);
    return d;
}

// Prints the thread's current error information, as an automation host shows it.
void ShowErrorReport(const char* what, HRESULT hr) {
    std::printf("%s: refused with %s\n", what, Hex(hr).c_str());
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) {
        std::printf("  (no error information)\n");
        return;
    }
    Bstr source, description;
    info->GetSource(source.ReleaseAndGetAddressOf());
    info->GetDescription(description.ReleaseAndGetAddressOf());
    std::printf("  source: %s\n  message: %s\n", source.Utf8().c_str(), description.Utf8().c_str());
}

ComPtr<IOrvDocument> NewDocument(IOrvDatabase* db, LONG pipe, LONG type) {
    ComPtr<IUnknown> unknown;
    Must(db->NewDocument(pipe, type, unknown.GetAddressOf()), "NewDocument");
    ComPtr<IOrvDocument> doc;
    Must(unknown.As(&doc), "IOrvDocument");
    return doc;
}

void Show(IOrvDocument* doc) {
    LONG type = 0;
    ULONG address = 0;
    doc->get_lDcType(&type);
    doc->get_DB_ADDR(&address);
    Bstr display;
    Must(doc->get_DisplayString(display.ReleaseAndGetAddressOf()), "DisplayString");
    std::printf("document %u, type %d: \"%s\"\n", address, type, display.Utf8().c_str());
    ComPtr<IOrvObjAsXmlString> xml;
    Bstr text;
    if (SUCCEEDED(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf()))) &&
        SUCCEEDED(xml->get_FullString(text.ReleaseAndGetAddressOf()))) {
        // The 608 hex digits of the record are shortened for the screen.
        std::string s = text.Utf8();
        const std::string mark = "DOCRECORD=\"";
        std::size_t at = s.find(mark);
        if (at != std::string::npos && s.size() > at + mark.size() + 32)
            s.replace(at + mark.size() + 24, s.find('"', at + mark.size()) - (at + mark.size() + 24), "...");
        std::printf("  %s\n", s.c_str());
    }
}

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
    LONG pipe = 0;
    Must(db->OpenPipe(&pipe), "OpenPipe");

    // An advance payment, an outside part-time job, a list of sums and a
    // dismissal, each filled through its record properties.
    {
        auto advance = NewDocument(db.Get(), pipe, 7);
        advance->put_dtDn(Day(2026, 11, 1));
        advance->put_dtDk(Day(2026, 11, 30));
        advance->put_Dcsum1(Money(15000.50));
        advance->put_Memo(Bstr(u"Аванс за ноябрь"));
        Must(advance->Update(pipe), "Update");

        auto job = NewDocument(db.Get(), pipe, 71);
        job->put_lDcProc(101);
        Must(job->Update(pipe), "Update");

        auto sums = NewDocument(db.Get(), pipe, 359);
        sums->put_Dcsum1(Money(1.00));
        sums->put_DcSum3(Money(2.50));
        Must(sums->Update(pipe), "Update");

        auto dismissal = NewDocument(db.Get(), pipe, 93);
        dismissal->put_dtDn(Day(2026, 12, 1));
        Must(dismissal->Update(pipe), "Update");

        // A kind that keeps its data in the extension: recipient and address.
        auto recipient = NewDocument(db.Get(), pipe, 332);
        ComPtr<IUnknown> specific;
        Must(recipient->GetSpecificObj(specific.GetAddressOf()), "GetSpecificObj");
        ComPtr<IOrvZZDoc> zz;
        Must(specific.As(&zz), "IOrvZZDoc");
        zz->put_Recipient(Bstr(u"Петрова Анна Сергеевна"));
        zz->put_AddressString(Bstr(u"г. Екатеринбург, ул. Ленина, 5"));
        Must(zz->UpdateExtension(), "UpdateExtension");
        Must(recipient->Update(pipe), "Update");
    }

    // Everything read back from the database service.
    ComPtr<IOrvMemoryDatabase> store;
    Must(db.As(&store), "IOrvMemoryDatabase");
    LONG count = 0;
    store->get_DocumentCount(&count);
    std::printf("%d documents stored; read back:\n", count);
    for (LONG i = 0; i < count; ++i) {
        ULONG address = 0;
        Must(store->GetAddress(i, &address), "GetAddress");
        ComPtr<IUnknown> unknown;
        Must(db->GetDocument(pipe, static_cast<LONG>(address), unknown.GetAddressOf()), "GetDocument");
        ComPtr<IOrvDocument> doc;
        Must(unknown.As(&doc), "IOrvDocument");
        LONG result = 0;
        Must(doc->InitInnerDocExtension(pipe, &result), "InitInnerDocExtension");
        Show(doc.Get());
        LONG type = 0;
        doc->get_lDcType(&type);
        if (type == 332) {
            ComPtr<IUnknown> specific;
            ComPtr<IOrvZZDoc> zz;
            if (SUCCEEDED(doc->GetSpecificObj(specific.GetAddressOf())) && SUCCEEDED(specific.As(&zz)) &&
                SUCCEEDED(zz->InitFromExtension())) {
                Bstr who;
                zz->get_Recipient(who.ReleaseAndGetAddressOf());
                std::printf("  recipient from the extension: %s\n", who.Utf8().c_str());
            }
        }
    }

    // Refusals and the error report a host shows for them; the host's message
    // service writes the messages that go to the user on standard error.
    std::printf("\n");
    {
        ComPtr<IOrvDocument> loose;
        Must(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                              reinterpret_cast<void**>(loose.GetAddressOf())),
             "creating a document");
        ComPtr<IUnknown> none;
        HRESULT hr = loose->get_OrvBD(none.GetAddressOf());
        ShowErrorReport("asking a document without a database service for it", hr);
        loose->put_lDcType(7);
        hr = loose->put_lDcType(71);
        ShowErrorReport("changing a document's type", hr);
    }

    db->ClosePipe(pipe);
    db->Close();
    db.Reset();
    store.Reset();
    host.Revoke();
    std::printf("\nmodule can unload: %s\n", DllCanUnloadNow() == S_OK ? "yes" : "no");
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
