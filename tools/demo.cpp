// Helpers shared by the demonstration's steps, and the list of steps.
#include "demo.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace orv::demo {

std::string Hex(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(hr));
    return buf;
}

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

namespace {
std::vector<Step>& StepList() {
    static std::vector<Step> steps;
    return steps;
}
}  // namespace

bool AddStep(int order, const char* title, StepFn run) {
    auto& steps = StepList();
    steps.push_back({order, title, run});
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.order < b.order; });
    return true;
}

const Step* Steps(int* count) {
    *count = static_cast<int>(StepList().size());
    return StepList().data();
}

}  // namespace orv::demo
