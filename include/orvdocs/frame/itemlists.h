// Interfaces of the outside list components the library creates by class
// identifier: the generic item list (account and address lists) and the list
// of texts.
//
// Each member is commented with its vtable slot (0 to 2 are IUnknown's, 3 to
// 6 IDispatch's in a dual interface). Which operations the library calls is
// noted on them; the slots of IOrvItemList are all this implementation's
// choice (docs/outside.md).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvItemList = {0xEA91A067, 0x14F0, 0x11D4, {0xB9, 0x11, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvAccountList = {0xEA91A06A, 0x14F0, 0x11D4, {0xB9, 0x11, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvAddressList = {0xD8C13752, 0xFE2E, 0x11D3, {0xB9, 0x0B, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvTextList = {0xE9D16661, 0xDEB7, 0x11D3, {0xB9, 0x05, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvTextList = {0xFFA9C42C, 0xDEB4, 0x11D3, {0xB9, 0x05, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// An ordered list of counted object references with a walk cursor (dual).
// Both the account list and the address list classes serve it, together with
// IOrvObjAsXmlString; account entries are reference items (IOrvRefItem)
// whose Id is the account identifier.
struct IOrvItemList : IDispatch {
    virtual HRESULT Reset() = 0;                    // slot 7: the walk starts again
    virtual HRESULT Add(IUnknown* punk) = 0;        // slot 8: appends, taking a reference
    virtual HRESULT Next(IUnknown** ppunk) = 0;     // slot 9: next element; null and S_FALSE at the end
    virtual HRESULT get_Count(LONG* pVal) = 0;      // slot 10
    virtual HRESULT RemoveAll() = 0;                // slot 11
};
ORV_DECLARE_IID(IOrvItemList);
ORV_TYPEINFO_DECL(IOrvItemList);

// A list of texts in the order added (custom).
struct IOrvTextList : IUnknown {
    virtual HRESULT get_Count(LONG* pVal) = 0;                 // slot 3
    virtual HRESULT get_Item(LONG lIndex, BSTR* pbstrText) = 0;  // slot 4: 0-based
    // slot 5 (byte offset 0x14): appends a copy of the text.
    virtual HRESULT Add(BSTR bstrText) = 0;
};
ORV_DECLARE_IID(IOrvTextList);
