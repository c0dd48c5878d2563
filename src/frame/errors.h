// Failures raised inside a member and reported at its edge.
#pragma once

#include <orvdocs/platform/unknwn.h>

namespace orv {

// A failing call into another component: its status and the interface that failed.
struct ComError {
    HRESULT hr;
    IID iid;
};

// Raises a ComError when hr is a failure; returns hr otherwise (S_OK or S_FALSE).
inline HRESULT Check(HRESULT hr, REFIID iid = IID_NULL) {
    if (FAILED(hr)) throw ComError{hr, iid};
    return hr;
}

// The reporting routine: sets the thread's error information for a failure of
// class clsid and returns the status to report. The description is a string id
// below 0x10000 (loaded from the library's string table; "Unknown Error" when
// missing) or a text. With hr 0 the status is built from the id
// (0x80040000 + id), or DISP_E_EXCEPTION when there is no id either.
HRESULT ReportError(REFCLSID clsid, UINT stringId, DWORD helpContext, const char16_t* helpFile, REFIID iid,
                    HRESULT hr) noexcept;
HRESULT ReportError(REFCLSID clsid, const char16_t* text, DWORD helpContext, const char16_t* helpFile, REFIID iid,
                    HRESULT hr) noexcept;

// Reports a raised failure at a member's edge and returns its status. Error
// information that the failing component set itself is kept.
HRESULT ReportComError(REFCLSID clsid, const ComError& error) noexcept;

}  // namespace orv
