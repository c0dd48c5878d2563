// The class that the test module test_module_simple exports, as its users see it.
#pragma once

#include <orvdocs/platform/unknwn.h>

// {6A1E7C3B-2F4D-4B8A-9C10-5D2E8F3A7B41}
inline constexpr CLSID CLSID_TestSimple = {0x6A1E7C3B, 0x2F4D, 0x4B8A, {0x9C, 0x10, 0x5D, 0x2E, 0x8F, 0x3A, 0x7B, 0x41}};
// {6A1E7C3C-2F4D-4B8A-9C10-5D2E8F3A7B41}
inline constexpr IID IID_ITestSimple = {0x6A1E7C3C, 0x2F4D, 0x4B8A, {0x9C, 0x10, 0x5D, 0x2E, 0x8F, 0x3A, 0x7B, 0x41}};

// A running total.
struct ITestSimple : IUnknown {
    virtual HRESULT Add(LONG value) = 0;
    virtual HRESULT get_Total(LONG* total) = 0;
    // Objects of the module alive now, this one included.
    virtual HRESULT get_LiveObjects(LONG* count) = 0;
};
ORV_DECLARE_IID(ITestSimple);
