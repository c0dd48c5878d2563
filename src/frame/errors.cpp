// The reporting routine shared by every class.
#include "frame/errors.h"

#include "frame/messages.h"
#include "frame/module.h"

#include <orvdocs/frame/services.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/oleauto.h>
#include <orvdocs/platform/text.h>

namespace orv {
namespace {

constexpr int kMaxMessage = 1024;

HRESULT Report(REFCLSID clsid, const char16_t* text, DWORD helpContext, const char16_t* helpFile, REFIID iid,
               HRESULT hr) noexcept {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.ReleaseAndGetAddressOf())) && create) {
        create->SetGUID(iid);
        LPOLESTR progId = nullptr;
        if (SUCCEEDED(ProgIDFromCLSID(clsid, &progId)) && progId) {
            create->SetSource(progId);
            CoTaskMemFree(progId);
        }
        if (helpContext != 0 && helpFile) {
            create->SetHelpContext(helpContext);
            create->SetHelpFile(const_cast<LPOLESTR>(helpFile));
        }
        create->SetDescription(const_cast<LPOLESTR>(text ? text : u""));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
    }
    return hr;
}

}  // namespace

HRESULT ReportError(REFCLSID clsid, UINT stringId, DWORD helpContext, const char16_t* helpFile, REFIID iid,
                    HRESULT hr) noexcept {
    if (stringId >= 0x10000) return Report(clsid, nullptr, helpContext, helpFile, iid, hr ? hr : DISP_E_EXCEPTION);
    RegisterMessages();
    char16_t text[kMaxMessage];
    if (LoadStringW(ThisModule(), stringId, text, kMaxMessage) <= 0) {
        const char16_t* unknown = kMsgUnknownError;
        int i = 0;
        for (; unknown[i]; ++i) text[i] = unknown[i];
        text[i] = 0;
    }
    if (hr == 0) hr = stringId ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, stringId) : DISP_E_EXCEPTION;
    return Report(clsid, text, helpContext, helpFile, iid, hr);
}

HRESULT ReportError(REFCLSID clsid, const char16_t* text, DWORD helpContext, const char16_t* helpFile, REFIID iid,
                    HRESULT hr) noexcept {
    return Report(clsid, text, helpContext, helpFile, iid, hr ? hr : DISP_E_EXCEPTION);
}

HRESULT ReportWithMessage(REFCLSID clsid, const char16_t* text, REFIID iid, HRESULT hr) noexcept {
    if (!text) text = u"";
    ComPtr<IOrvMessageService> service;
    if (SUCCEEDED(CoCreateInstance(CLSID_OrvMessageService, nullptr, CLSCTX_ALL, IID_IOrvMessageService,
                                   reinterpret_cast<void**>(service.GetAddressOf()))) &&
        service) {
        if (BSTR message = SysAllocString(text)) {
            service->ShowMessage(message);  // what the service answers changes nothing
            SysFreeString(message);
        }
    }
    return ReportError(clsid, text, 0, nullptr, iid, hr);
}

HRESULT ReportWithMessage(REFCLSID clsid, UINT stringId, REFIID iid, HRESULT hr) noexcept {
    RegisterMessages();
    char16_t text[kMaxMessage];
    if (stringId >= 0x10000 || LoadStringW(ThisModule(), stringId, text, kMaxMessage) <= 0) {
        const char16_t* unknown = kMsgUnknownError;
        int i = 0;
        for (; unknown[i]; ++i) text[i] = unknown[i];
        text[i] = 0;
    }
    if (hr == 0) hr = stringId < 0x10000 && stringId ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, stringId) : DISP_E_EXCEPTION;
    return ReportWithMessage(clsid, text, iid, hr);
}

HRESULT ReportComError(REFCLSID clsid, const ComError& error) noexcept {
    // A component that failed may have described the failure itself: keep that.
    ComPtr<IErrorInfo> existing;
    if (GetErrorInfo(0, existing.ReleaseAndGetAddressOf()) == S_OK && existing) {
        SetErrorInfo(0, existing.Get());
        return error.hr;
    }
    ReportError(clsid, 0u, 0, nullptr, error.iid, error.hr);
    return error.hr;
}

}  // namespace orv
