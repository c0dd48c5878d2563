// The XML form that serialisable objects share: a custom interface for
// in-process callers and its dual twin for automation clients. Both carry the
// same six members in the same order.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvObjAsXmlString = {0xBFDEAAF0, 0x88BB, 0x11D4, {0xB9, 0x63, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvObjAsXmlStringD = {0xE8CA8616, 0x259E, 0x497F, {0x91, 0x6E, 0xC1, 0xD9, 0x88, 0xC5, 0x90, 0x94}};

// Custom interface (slots 3 to 8).
struct IOrvObjAsXmlString : IUnknown {
    virtual HRESULT get_ShortString(BSTR* pVal) = 0;
    virtual HRESULT put_ShortString(BSTR newVal) = 0;
    virtual HRESULT get_FullString(BSTR* pVal) = 0;
    virtual HRESULT put_FullString(BSTR newVal) = 0;
    // Writes the object into the element spRoot (asked for IXMLDOMElement).
    virtual HRESULT ParseIn(IUnknown* spRoot, LONG lMode) = 0;
    // Reads the object back from the element pRoot.
    virtual HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) = 0;
};
ORV_DECLARE_IID(IOrvObjAsXmlString);

// Dual twin (dispids in brackets).
struct IOrvObjAsXmlStringD : IDispatch {
    virtual HRESULT get_ShortString(BSTR* pVal) = 0;            // [1]
    virtual HRESULT put_ShortString(BSTR newVal) = 0;           // [1]
    virtual HRESULT get_FullString(BSTR* pVal) = 0;             // [2]
    virtual HRESULT put_FullString(BSTR newVal) = 0;            // [2]
    virtual HRESULT ParseIn(IUnknown* spRoot, LONG lMode) = 0;  // [3]
    virtual HRESULT ParseFrom(IUnknown* pRoot, LONG lMode) = 0; // [4]
};
ORV_DECLARE_IID(IOrvObjAsXmlStringD);
ORV_TYPEINFO_DECL(IOrvObjAsXmlStringD);
