// The extension of a document: one opaque body (a byte string) and the length
// its last writer put. Every document creates one, aggregated into it; the
// class can also be created alone.
#pragma once

#include "frame/com.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/document.h>

namespace orv {

class OrvDocExtension
    : public CoClass<OrvDocExtension, &CLSID_OrvDocExtension, IOrvDocExtension, IDispatch, ISupportErrorInfo> {
public:
    void FinalRelease();

    // The length field as put; the body is not touched.
    HRESULT get_Length(LONG* pVal) override;
    HRESULT put_Length(LONG newVal) override;
    // A byte-exact copy of the body (an empty, non-null string when there is none).
    HRESULT get_Body(BSTR* pVal) override;
    // Keeps a byte-exact copy of the string and sets the length to its byte length.
    HRESULT put_Body(BSTR newVal) override;
    // Frees the body and sets the length to 0.
    HRESULT Clear() override;

private:
    BSTR body_ = nullptr;  // owned; null when empty
    LONG length_ = 0;
};

}  // namespace orv
