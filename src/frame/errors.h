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

// Reports a failure whose text is meant for the user. The text first goes to
// the host's message service: one is created by its class identifier in every
// context (CLSCTX_ALL) and its ShowMessage (slot 10) is called with the text.
// Then the error information is set (class clsid, the text, interface iid)
// and hr is returned. A host without a message service, or one whose service
// fails, still gets the error information and the status. Call it after
// releasing the object's lock: the message service may take its time or call
// back into the library.
HRESULT ReportWithMessage(REFCLSID clsid, const char16_t* text, REFIID iid, HRESULT hr) noexcept;
// The same with a text of the library's string table ("Unknown Error" when
// the id is missing).
HRESULT ReportWithMessage(REFCLSID clsid, UINT stringId, REFIID iid, HRESULT hr) noexcept;

// Reports a raised failure at a member's edge and returns its status. Error
// information that the failing component set itself is kept.
HRESULT ReportComError(REFCLSID clsid, const ComError& error) noexcept;

}  // namespace orv
