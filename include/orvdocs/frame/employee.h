// Interfaces of the employee object, which the host hands to lists and month
// traces: its dates, its department and position on a date, its accounts.
//
// Each member is commented with its vtable slot (0 to 2 are IUnknown's, 3 to
// 6 IDispatch's in a dual interface) and, where the library calls it, the byte
// offset of that slot in a 32-bit vtable. The slots of IOrvEmployee and
// IOrvEmployeeAccounts are all this implementation's choice (docs/outside.md).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvEmployee = {0xAB8C7B63, 0x7E04, 0x11D3, {0xB8, 0xD2, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvEmployeeJob = {0xD23EB391, 0xCCEC, 0x11D3, {0xB8, 0xFB, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvEmployeeAccounts = {0xE4BDDBF0, 0x94EE, 0x11D3, {0xB8, 0xE3, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The employee's identity and dates (dual). A date of 0 means none.
struct IOrvEmployee : IDispatch {
    virtual HRESULT get_Id(LONG* pVal) = 0;                 // slot 7
    virtual HRESULT get_TabNum(BSTR* pVal) = 0;             // slot 8: personnel number
    virtual HRESULT get_FullName(BSTR* pVal) = 0;           // slot 9
    virtual HRESULT get_BirthDate(DATE* pVal) = 0;          // slot 10
    virtual HRESULT get_ResignationDate(DATE* pVal) = 0;    // slot 11: the stored resignation date
    virtual HRESULT get_FirstEnterDate(DATE* pVal) = 0;     // slot 12: the first hire date
    virtual HRESULT get_SecondEnterDate(DATE* pVal) = 0;    // slot 13: a second (later) hire date
};
ORV_DECLARE_IID(IOrvEmployee);
ORV_TYPEINFO_DECL(IOrvEmployee);

// The employee's place of work on a date (custom).
struct IOrvEmployeeJob : IUnknown {
    virtual HRESULT GetDepartment(LONG lPipeId, DATE dtOnDate, LONG* plDepNum) = 0;         // slot 3
    virtual HRESULT GetPosition(LONG lPipeId, DATE dtOnDate, LONG* plPositionId) = 0;      // slot 4
    virtual HRESULT GetRazryad(LONG lPipeId, DATE dtOnDate, LONG* plRazryad) = 0;          // slot 5: grade
    // slot 6 (byte offset 24): department, position and grade on dtOnDate.
    virtual HRESULT GetDepAndPosition(LONG lPipeId, DATE dtOnDate, LONG* plDepNum, LONG* plPositionId,
                                      LONG* plRazryad) = 0;
};
ORV_DECLARE_IID(IOrvEmployeeJob);

// The employee's bank accounts (dual).
struct IOrvEmployeeAccounts : IDispatch {
    // slot 7: whether the employee is paid through bank accounts on dtOnDate;
    // 0 means not, and no account is then hidden or shown.
    virtual HRESULT GetStatusOnDate(LONG lPipeId, DATE dtOnDate, LONG* plStatus) = 0;
    // slot 8: the employee's accounts as an IOrvItemList of reference items
    // whose Id is the account identifier.
    virtual HRESULT GetAccountList(LONG lPipeId, IUnknown** ppunkList) = 0;
};
ORV_DECLARE_IID(IOrvEmployeeAccounts);
ORV_TYPEINFO_DECL(IOrvEmployeeAccounts);
