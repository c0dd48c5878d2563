// Outside interfaces the library's classes serve or aggregate: the list
// component of the sibling library and the reference item. Slots the library
// relies on are fixed; the others are this implementation's choice (docs/outside.md).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

// An ordered list of counted object references with a walk cursor.
inline constexpr IID IID_IOrvUnknownList = {0xFFA9C429, 0xDEB4, 0x11D3, {0xB9, 0x05, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvUnknownList = {0xFFA9C42A, 0xDEB4, 0x11D3, {0xB9, 0x05, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvUnknownList : IDispatch {
    virtual HRESULT Reset() = 0;                      // slot 7 (byte offset 0x1C): the walk starts again
    virtual HRESULT Add(IUnknown* punk) = 0;          // slot 8 (0x20): appends, taking a reference
    virtual HRESULT Next(IUnknown** ppunk) = 0;       // slot 9 (0x24): next element; null and S_FALSE at the end
    virtual HRESULT get_Count(LONG* pVal) = 0;        // slot 10 (0x28)
    virtual HRESULT RemoveAll() = 0;                  // slot 11 (0x2C)
};
ORV_DECLARE_IID(IOrvUnknownList);
ORV_TYPEINFO_DECL(IOrvUnknownList);

// One entry of a reference table: kind, class identifier text, index, code,
// name and three 16-bit flags. The reference classes aggregate it.
inline constexpr IID IID_IOrvRefItem = {0xB04E4DA3, 0xB9F5, 0x11D3, {0xB8, 0xF6, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvRefItem = {0xB04E4DA4, 0xB9F5, 0x11D3, {0xB8, 0xF6, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvRefItem : IDispatch {
    virtual HRESULT get_Kind(LONG* pVal) = 0;         // slot 7
    virtual HRESULT put_Kind(LONG newVal) = 0;        // slot 8: the reference kind number
    virtual HRESULT get_Index(LONG* pVal) = 0;        // slot 9 (byte offset 36): the entry's number
    virtual HRESULT put_Index(LONG newVal) = 0;       // slot 10
    virtual HRESULT get_Code(BSTR* pVal) = 0;         // slot 11
    virtual HRESULT put_Code(BSTR newVal) = 0;        // slot 12
    virtual HRESULT get_Name(BSTR* pVal) = 0;         // slot 13
    virtual HRESULT put_Name(BSTR newVal) = 0;        // slot 14
    virtual HRESULT get_Id(LONG* pVal) = 0;           // slot 15: the entry's database key
    virtual HRESULT put_Id(LONG newVal) = 0;          // slot 16
    virtual HRESULT get_ClassId(BSTR* pVal) = 0;      // slot 17
    virtual HRESULT put_ClassId(BSTR newVal) = 0;     // slot 18: the owner class's identifier as braced text
    virtual HRESULT get_Flag1(SHORT* pVal) = 0;       // slot 19
    virtual HRESULT put_Flag1(SHORT newVal) = 0;      // slot 20
    virtual HRESULT get_Flag2(SHORT* pVal) = 0;       // slot 21
    virtual HRESULT put_Flag2(SHORT newVal) = 0;      // slot 22
    virtual HRESULT get_Flag3(SHORT* pVal) = 0;       // slot 23
    virtual HRESULT put_Flag3(SHORT newVal) = 0;      // slot 24
};
ORV_DECLARE_IID(IOrvRefItem);
ORV_TYPEINFO_DECL(IOrvRefItem);
