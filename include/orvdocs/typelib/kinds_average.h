// Interfaces of the documents that carry an average-earnings protocol. The
// protocol travels as a protocol object behind its IDispatch.
//
// All are dual. Members are in vtable order; the number in brackets after
// each member is its dispid (a property's get comes before its put).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

// --------------------------------------------------- protocol, root "ORDOCEX"
inline constexpr IID IID_IOrvORDoc = {0x3D55557C, 0x1C06, 0x4418, {0x83, 0x79, 0x34, 0xF0, 0x2F, 0x7E, 0x49, 0x56}};
struct IOrvORDoc : IDispatch {
    // Get: a new protocol object read from the extension; put: rewrites the
    // whole extension body from the protocol object given.
    virtual HRESULT get_Protocol(IDispatch** pVal) = 0;                          // [1]
    virtual HRESULT put_Protocol(IDispatch* newVal) = 0;                         // [1]
};
ORV_DECLARE_IID(IOrvORDoc);
ORV_TYPEINFO_DECL(IOrvORDoc);

// --------------------------------------------------- protocol, root "VODOCEX"
inline constexpr IID IID_IOrvVODoc = {0xF8ED7A4F, 0x65F3, 0x4605, {0x81, 0x36, 0x5A, 0xD3, 0x5E, 0xE9, 0xB8, 0x0D}};
struct IOrvVODoc : IDispatch {
    virtual HRESULT get_Protocol(IDispatch** pVal) = 0;                          // [1]
    virtual HRESULT put_Protocol(IDispatch* newVal) = 0;                         // [1]
};
ORV_DECLARE_IID(IOrvVODoc);
ORV_TYPEINFO_DECL(IOrvVODoc);

// ------------------------------ protocol with the years for the average ("PS")
inline constexpr IID IID_IOrvPSDoc = {0xEBDF7A69, 0x2935, 0x48A3, {0x9F, 0x60, 0x49, 0xB4, 0xFB, 0x3C, 0x55, 0x8B}};
struct IOrvPSDoc : IDispatch {
    virtual HRESULT get_Protocol(IDispatch** pVal) = 0;                          // [1]
    virtual HRESULT put_Protocol(IDispatch* newVal) = 0;                         // [1]
    virtual HRESULT get_YearsForAverage(BSTR* pVal) = 0;                         // [2]
    virtual HRESULT put_YearsForAverage(BSTR newVal) = 0;                        // [2]
    virtual HRESULT InitFromExtension() = 0;                                     // [3]
    virtual HRESULT UpdateExtension() = 0;                                       // [4]
};
ORV_DECLARE_IID(IOrvPSDoc);
ORV_TYPEINFO_DECL(IOrvPSDoc);
