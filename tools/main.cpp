// The command-line host: registers the library and the host's outside
// components in this process and shows what a host does with them.
#include <orvdocs/orvdocs.h>

#include "frame/errors.h"
#include "host/registration.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Hex(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
    return buf;
}

std::string Text(const VARIANT& v) {
    orv::Variant copy(v);
    if (FAILED(copy.ChangeType(VT_BSTR))) return "<no text form>";
    return orv::Utf16ToUtf8(std::u16string_view(copy.bstrVal, SysStringLen(copy.bstrVal)));
}

// Prints the thread's current error information, as an automation host shows it.
void ShowErrorReport(const char* what, HRESULT hr) {
    std::printf("%s failed with %s\n", what, Hex(hr).c_str());
    orv::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) {
        std::printf("  (no error information)\n");
        return;
    }
    orv::Bstr source, description;
    GUID iid{};
    info->GetSource(source.ReleaseAndGetAddressOf());
    info->GetDescription(description.ReleaseAndGetAddressOf());
    info->GetGUID(&iid);
    OLECHAR iidText[40];
    StringFromGUID2(iid, iidText, 40);
    std::printf("  source:      %s\n  description: %s\n  interface:   %s\n", source.Utf8().c_str(),
                description.Utf8().c_str(), orv::Utf16ToUtf8(iidText).c_str());
}

int Demo() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    orv::host::Registration host;
    HRESULT hr = orv::host::RegisterHostComponents(&host);
    if (FAILED(hr)) {
        std::printf("registering the host components failed: %s\n", Hex(hr).c_str());
        return 1;
    }
    hr = DllRegisterServer();
    std::printf("library registered: %s\n", Hex(hr).c_str());

    // Values crossing interfaces: BSTR and VARIANT in their platform forms.
    orv::Bstr name(u"Иванов И. И.");
    std::printf("BSTR \"%s\": %u characters, %u bytes\n", name.Utf8().c_str(), name.Length(), name.ByteLength());
    orv::Variant amount(45000.75);
    orv::Variant asCurrency;
    VariantChangeType(&asCurrency, &amount, 0, VT_CY);
    std::printf("VARIANT %s as currency: raw %lld, text %s\n", Text(amount).c_str(),
                static_cast<long long>(asCurrency.cyVal.int64), Text(asCurrency).c_str());
    orv::Variant bad(std::u16string_view(u"12,5 руб."));
    orv::Variant asNumber;
    std::printf("VARIANT \"%s\" as a number: %s\n", Text(bad).c_str(),
                Hex(VariantChangeType(&asNumber, &bad, 0, VT_R8)).c_str());

    // Objects created by ProgID through the registry.
    CLSID clsid{};
    hr = CLSIDFromProgID(u"OrvDocs.OrvAddrCity", &clsid);
    orv::ComPtr<IOrvRefItem> city;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IOrvRefItem, reinterpret_cast<void**>(city.GetAddressOf()));
    if (FAILED(hr)) {
        std::printf("creating OrvDocs.OrvAddrCity failed: %s\n", Hex(hr).c_str());
        return 1;
    }
    city->put_Name(orv::Bstr(u"Екатеринбург"));
    city->put_Code(orv::Bstr(u"66"));
    orv::ComPtr<IOrvObjAsXmlString> xml;
    orv::Bstr text;
    if (SUCCEEDED(city.As(&xml)) && SUCCEEDED(xml->get_FullString(text.ReleaseAndGetAddressOf())))
        std::printf("OrvDocs.OrvAddrCity as XML: %s\n", text.Utf8().c_str());

    // A refused call and the error report a host shows for it.
    orv::ComPtr<IUnknown> none;
    hr = CoCreateInstance(CLSID_OrvTVDoc, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(none.GetAddressOf()));
    std::printf("creating the view-only class directly: %s (not registered)\n", Hex(hr).c_str());
    // The library's reporting routine, as a document uses it when it has no database service.
    hr = orv::ReportError(CLSID_OrvDocument, 1000u, 0, nullptr, IID_NULL, 0);
    ShowErrorReport("a document without its database service", hr);

    city.Reset();
    xml.Reset();
    host.Revoke();
    std::printf("module can unload: %s\n", DllCanUnloadNow() == S_OK ? "yes" : "no");
    CoUninitialize();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: orvdocs-host\n  registers the library and the host components and shows them at work\n");
        return 0;
    }
    return Demo();
}
