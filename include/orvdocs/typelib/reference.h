// Reference objects: the bank record and the small lookup entries (address
// parts, identity document type, job position).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvBank = {0xEA91A065, 0x14F0, 0x11D4, {0xB9, 0x11, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvAddrRegion = {0x76576C43, 0xCBEF, 0x11D3, {0xB8, 0xFB, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvAddrCity = {0x76576C45, 0xCBEF, 0x11D3, {0xB8, 0xFB, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvAddrDistrict = {0x76576C47, 0xCBEF, 0x11D3, {0xB8, 0xFB, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvAddrCountry = {0x56CCC623, 0xEF3B, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvIdType = {0x56CCC628, 0xEF3B, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvJobPosition = {0x1DAFC226, 0xEF97, 0x11D3, {0xB9, 0x07, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The record of a bank (dual, dispids in brackets; 26 members). Its XML form
// is served by IOrvObjAsXmlString on the same object.
struct IOrvBank : IDispatch {
    virtual HRESULT get_KeyVal(LONG* pVal) = 0;                    // [1]
    virtual HRESULT put_KeyVal(LONG newVal) = 0;                   // [1]
    virtual HRESULT get_Inn(BSTR* pVal) = 0;                       // [2]
    virtual HRESULT put_Inn(BSTR newVal) = 0;                      // [2]
    virtual HRESULT get_BankOfficeName(BSTR* pVal) = 0;            // [3]
    virtual HRESULT put_BankOfficeName(BSTR newVal) = 0;           // [3]
    virtual HRESULT get_BankName(BSTR* pVal) = 0;                  // [4]
    virtual HRESULT put_BankName(BSTR newVal) = 0;                 // [4]
    virtual HRESULT get_BankCorrSubAccount(BSTR* pVal) = 0;        // [5]
    virtual HRESULT put_BankCorrSubAccount(BSTR newVal) = 0;       // [5]
    virtual HRESULT get_BankCorrAccount(BSTR* pVal) = 0;           // [6]
    virtual HRESULT put_BankCorrAccount(BSTR newVal) = 0;          // [6]
    virtual HRESULT get_BankBIK(BSTR* pVal) = 0;                   // [7]
    virtual HRESULT put_BankBIK(BSTR newVal) = 0;                  // [7]
    virtual HRESULT get_BankComment(BSTR* pVal) = 0;               // [8]
    virtual HRESULT put_BankComment(BSTR newVal) = 0;              // [8]
    virtual HRESULT get_BankNvsCode(BSTR* pVal) = 0;               // [9]
    virtual HRESULT put_BankNvsCode(BSTR newVal) = 0;              // [9]
    virtual HRESULT get_AccountList(IUnknown** pVal) = 0;          // [10]
    virtual HRESULT put_AccountList(IUnknown* newVal) = 0;         // [10]
    virtual HRESULT get_AddressList(IUnknown** pVal) = 0;          // [11]
    virtual HRESULT put_AddressList(IUnknown* newVal) = 0;         // [11]
    virtual HRESULT get_ExportFileFormat(LONG* pVal) = 0;          // [12]
    virtual HRESULT put_ExportFileFormat(LONG newVal) = 0;         // [12]
    virtual HRESULT get_DisplayName(BSTR* pVal) = 0;               // [13]
    virtual HRESULT Clone(IUnknown** ppunkBank) = 0;               // [14]
};
ORV_DECLARE_IID(IOrvBank);
ORV_TYPEINFO_DECL(IOrvBank);

// Address parts and the identity document type: a typed face over the
// aggregated reference item (dual, dispids in brackets; 6 members each).
struct IOrvAddrRegion : IDispatch {
    virtual HRESULT get_Name(BSTR* pVal) = 0;                      // [1]
    virtual HRESULT put_Name(BSTR newVal) = 0;                     // [1]
    virtual HRESULT get_Code(BSTR* pVal) = 0;                      // [2]
    virtual HRESULT put_Code(BSTR newVal) = 0;                     // [2]
    virtual HRESULT get_Index(LONG* pVal) = 0;                     // [3]
    virtual HRESULT put_Index(LONG newVal) = 0;                    // [3]
};
ORV_DECLARE_IID(IOrvAddrRegion);
ORV_TYPEINFO_DECL(IOrvAddrRegion);

struct IOrvAddrCity : IDispatch {
    virtual HRESULT get_Name(BSTR* pVal) = 0;                      // [1]
    virtual HRESULT put_Name(BSTR newVal) = 0;                     // [1]
    virtual HRESULT get_Code(BSTR* pVal) = 0;                      // [2]
    virtual HRESULT put_Code(BSTR newVal) = 0;                     // [2]
    virtual HRESULT get_Index(LONG* pVal) = 0;                     // [3]
    virtual HRESULT put_Index(LONG newVal) = 0;                    // [3]
};
ORV_DECLARE_IID(IOrvAddrCity);
ORV_TYPEINFO_DECL(IOrvAddrCity);

struct IOrvAddrDistrict : IDispatch {
    virtual HRESULT get_Name(BSTR* pVal) = 0;                      // [1]
    virtual HRESULT put_Name(BSTR newVal) = 0;                     // [1]
    virtual HRESULT get_Code(BSTR* pVal) = 0;                      // [2]
    virtual HRESULT put_Code(BSTR newVal) = 0;                     // [2]
    virtual HRESULT get_Index(LONG* pVal) = 0;                     // [3]
    virtual HRESULT put_Index(LONG newVal) = 0;                    // [3]
};
ORV_DECLARE_IID(IOrvAddrDistrict);
ORV_TYPEINFO_DECL(IOrvAddrDistrict);

// The country lists its members in another order: code, index, name.
struct IOrvAddrCountry : IDispatch {
    virtual HRESULT get_Code(BSTR* pVal) = 0;                      // [1]
    virtual HRESULT put_Code(BSTR newVal) = 0;                     // [1]
    virtual HRESULT get_Index(LONG* pVal) = 0;                     // [2]
    virtual HRESULT put_Index(LONG newVal) = 0;                    // [2]
    virtual HRESULT get_Name(BSTR* pVal) = 0;                      // [3]
    virtual HRESULT put_Name(BSTR newVal) = 0;                     // [3]
};
ORV_DECLARE_IID(IOrvAddrCountry);
ORV_TYPEINFO_DECL(IOrvAddrCountry);

struct IOrvIdType : IDispatch {
    virtual HRESULT get_Name(BSTR* pVal) = 0;                      // [1]
    virtual HRESULT put_Name(BSTR newVal) = 0;                     // [1]
    virtual HRESULT get_Code(BSTR* pVal) = 0;                      // [2]
    virtual HRESULT put_Code(BSTR newVal) = 0;                     // [2]
    virtual HRESULT get_Index(LONG* pVal) = 0;                     // [3]
    virtual HRESULT put_Index(LONG newVal) = 0;                    // [3]
};
ORV_DECLARE_IID(IOrvIdType);
ORV_TYPEINFO_DECL(IOrvIdType);

// A job position (dual, dispids in brackets; 22 members). Category and Flag3
// are one value of the item; the four stavka members do nothing.
struct IOrvJobPosition : IDispatch {
    virtual HRESULT get_Name(BSTR* pVal) = 0;                      // [1]
    virtual HRESULT put_Name(BSTR newVal) = 0;                     // [1]
    virtual HRESULT get_Code(BSTR* pVal) = 0;                      // [2]
    virtual HRESULT put_Code(BSTR newVal) = 0;                     // [2]
    virtual HRESULT get_Index(LONG* pVal) = 0;                     // [3]
    virtual HRESULT put_Index(LONG newVal) = 0;                    // [3]
    virtual HRESULT get_Category(LONG* pVal) = 0;                  // [4]
    virtual HRESULT put_Category(LONG newVal) = 0;                 // [4]
    virtual HRESULT get_Flag1(SHORT* pVal) = 0;                    // [5]
    virtual HRESULT put_Flag1(SHORT newVal) = 0;                   // [5]
    virtual HRESULT get_Flag2(SHORT* pVal) = 0;                    // [6]
    virtual HRESULT put_Flag2(SHORT newVal) = 0;                   // [6]
    virtual HRESULT get_Flag3(SHORT* pVal) = 0;                    // [7]
    virtual HRESULT put_Flag3(SHORT newVal) = 0;                   // [7]
    virtual HRESULT get_xmlStavka(BSTR* pVal) = 0;                 // [8]
    virtual HRESULT put_xmlStavka(BSTR newVal) = 0;                // [8]
    virtual HRESULT get_stavkaRazryad(LONG* pVal) = 0;             // [9]
    virtual HRESULT put_stavkaRazryad(LONG newVal) = 0;            // [9]
    virtual HRESULT get_stavkaOklad(CY* pVal) = 0;                 // [10]
    virtual HRESULT put_stavkaOklad(CY newVal) = 0;                // [10]
    virtual HRESULT get_stavkaTarif(CY* pVal) = 0;                 // [11]
    virtual HRESULT put_stavkaTarif(CY newVal) = 0;                // [11]
};
ORV_DECLARE_IID(IOrvJobPosition);
ORV_TYPEINFO_DECL(IOrvJobPosition);
