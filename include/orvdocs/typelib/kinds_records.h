// Interfaces of the record-field document kinds: dismissal, income
// certificate, transfer, advance, savings-bank payment, address, absence,
// outside part-time job and personnel numbers. Their properties are views of
// fields of the generic document's record; a few texts live in the extension
// as plain OEM bytes.
//
// All are dual. Members are in vtable order; the number in brackets after
// each member is its dispid (a property's get comes before its put).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

// ------------------------------------------------------------ dismissal (93)
inline constexpr IID IID_IOrvUVDoc = {0x8506E946, 0xF0CF, 0x11D3, {0xB9, 0x07, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvUVDoc : IDispatch {
    virtual HRESULT get_Reason(BSTR* pVal) = 0;                                  // [1]
    virtual HRESULT put_Reason(BSTR newVal) = 0;                                 // [1]
    virtual HRESULT get_Osn(BSTR* pVal) = 0;                                     // [2]
    virtual HRESULT put_Osn(BSTR newVal) = 0;                                    // [2]
    virtual HRESULT get_UnderWorkedOtDays(float* pVal) = 0;                      // [3]
    virtual HRESULT put_UnderWorkedOtDays(float newVal) = 0;                     // [3]
    virtual HRESULT get_UnderWorkedOtDaysSredn(CY* pVal) = 0;                    // [4]
    virtual HRESULT put_UnderWorkedOtDaysSredn(CY newVal) = 0;                   // [4]
    virtual HRESULT get_OtDaysCompensation(float* pVal) = 0;                     // [5]
    virtual HRESULT put_OtDaysCompensation(float newVal) = 0;                    // [5]
    virtual HRESULT get_OtDaysCompensationSredn(CY* pVal) = 0;                   // [6]
    virtual HRESULT put_OtDaysCompensationSredn(CY newVal) = 0;                  // [6]
    virtual HRESULT get_FiredCompensationDays(float* pVal) = 0;                  // [7]
    virtual HRESULT put_FiredCompensationDays(float newVal) = 0;                 // [7]
    virtual HRESULT get_FiredCompensationSredn(CY* pVal) = 0;                    // [8]
    virtual HRESULT put_FiredCompensationSredn(CY newVal) = 0;                   // [8]
    virtual HRESULT get_SumPremSredn(CY* pVal) = 0;                              // [9]
    virtual HRESULT put_SumPremSredn(CY newVal) = 0;                             // [9]
    virtual HRESULT get_PayAfterFireing(VARIANT_BOOL* pVal) = 0;                 // [10]
    virtual HRESULT put_PayAfterFireing(VARIANT_BOOL newVal) = 0;                // [10]
    virtual HRESULT get_ResignDate(DATE* pVal) = 0;                              // [11]
    virtual HRESULT put_ResignDate(DATE newVal) = 0;                             // [11]
    virtual HRESULT get_MonthsForSredn(LONG* pVal) = 0;                          // [12]
    virtual HRESULT put_MonthsForSredn(LONG newVal) = 0;                         // [12]
};
ORV_DECLARE_IID(IOrvUVDoc);
ORV_TYPEINFO_DECL(IOrvUVDoc);

// ------------------------------------------------- income certificate (260)
inline constexpr IID IID_IOrvNLDoc = {0x7F5F5471, 0xBCE6, 0x11D3, {0xB8, 0xF8, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvNLDoc : IDispatch {
    virtual HRESULT get_SpravkaNum(BSTR* pVal) = 0;                              // [1]
    virtual HRESULT put_SpravkaNum(BSTR newVal) = 0;                             // [1]
    virtual HRESULT get_SpravkaFirstDate(DATE* pVal) = 0;                        // [2]
    virtual HRESULT put_SpravkaFirstDate(DATE newVal) = 0;                       // [2]
    virtual HRESULT get_SpravkaLastDate(DATE* pVal) = 0;                         // [3]
    virtual HRESULT put_SpravkaLastDate(DATE newVal) = 0;                        // [3]
    virtual HRESULT get_SpravkaIssueDate(DATE* pVal) = 0;                        // [4]
    virtual HRESULT put_SpravkaIssueDate(DATE newVal) = 0;                       // [4]
    virtual HRESULT get_SumOfIncome(CY* pVal) = 0;                               // [5]
    virtual HRESULT put_SumOfIncome(CY newVal) = 0;                              // [5]
    virtual HRESULT get_IncomeTaxPayed(CY* pVal) = 0;                            // [6]
    virtual HRESULT put_IncomeTaxPayed(CY newVal) = 0;                           // [6]
    virtual HRESULT get_PensionTaxPayed(CY* pVal) = 0;                           // [7]
    virtual HRESULT put_PensionTaxPayed(CY newVal) = 0;                          // [7]
    virtual HRESULT get_IncomeTax3ProcPayed(CY* pVal) = 0;                       // [8]
    virtual HRESULT put_IncomeTax3ProcPayed(CY newVal) = 0;                      // [8]
    virtual HRESULT get_AccumulatedDiscount(CY* pVal) = 0;                       // [9]
    virtual HRESULT put_AccumulatedDiscount(CY newVal) = 0;                      // [9]
    virtual HRESULT get_IncomeType(LONG* pVal) = 0;                              // [10]
    virtual HRESULT put_IncomeType(LONG newVal) = 0;                             // [10]
};
ORV_DECLARE_IID(IOrvNLDoc);
ORV_TYPEINFO_DECL(IOrvNLDoc);

// ------------------------------------------------------------- transfer (91)
// Numeric values in the record; the four department and position texts in a
// fixed 42-byte extension body.
inline constexpr IID IID_IOrvDRDoc = {0x8579F0D3, 0xA973, 0x11D4, {0xB9, 0x6A, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvDRDoc : IDispatch {
    virtual HRESULT get_OldPositionId(LONG* pVal) = 0;                           // [1]
    virtual HRESULT put_OldPositionId(LONG newVal) = 0;                          // [1]
    virtual HRESULT get_NewPositionId(LONG* pVal) = 0;                           // [2]
    virtual HRESULT put_NewPositionId(LONG newVal) = 0;                          // [2]
    virtual HRESULT get_OldProfRazryad(LONG* pVal) = 0;                          // [3]
    virtual HRESULT put_OldProfRazryad(LONG newVal) = 0;                         // [3]
    virtual HRESULT get_NewProfRazryad(LONG* pVal) = 0;                          // [4]
    virtual HRESULT put_NewProfRazryad(LONG newVal) = 0;                         // [4]
    virtual HRESULT get_OldDriverClassnost(LONG* pVal) = 0;                      // [5]
    virtual HRESULT put_OldDriverClassnost(LONG newVal) = 0;                     // [5]
    virtual HRESULT get_NewDriverClassnost(LONG* pVal) = 0;                      // [6]
    virtual HRESULT put_NewDriverClassnost(LONG newVal) = 0;                     // [6]
    virtual HRESULT get_OldStaffPositionID(LONG* pVal) = 0;                      // [7]
    virtual HRESULT put_OldStaffPositionID(LONG newVal) = 0;                     // [7]
    virtual HRESULT get_NewStaffPositionID(LONG* pVal) = 0;                      // [8]
    virtual HRESULT put_NewStaffPositionID(LONG newVal) = 0;                     // [8]
    virtual HRESULT get_OldDepNum(BSTR* pVal) = 0;                               // [9]
    virtual HRESULT put_OldDepNum(BSTR newVal) = 0;                              // [9]
    virtual HRESULT get_OldPosition(BSTR* pVal) = 0;                             // [10]
    virtual HRESULT put_OldPosition(BSTR newVal) = 0;                            // [10]
    virtual HRESULT get_NewDepNum(BSTR* pVal) = 0;                               // [11]
    virtual HRESULT put_NewDepNum(BSTR newVal) = 0;                              // [11]
    virtual HRESULT get_NewPosition(BSTR* pVal) = 0;                             // [12]
    virtual HRESULT put_NewPosition(BSTR newVal) = 0;                            // [12]
};
ORV_DECLARE_IID(IOrvDRDoc);
ORV_TYPEINFO_DECL(IOrvDRDoc);

// --------------------------------------------------------------- advance (7)
inline constexpr IID IID_IOrvAVDoc = {0xADB9C8F7, 0x8503, 0x4E7D, {0xA6, 0x18, 0x37, 0x55, 0x4D, 0x57, 0xDD, 0x60}};
struct IOrvAVDoc : IDispatch {
    virtual HRESULT get_Sum(CY* pVal) = 0;                                       // [1]
    virtual HRESULT put_Sum(CY newVal) = 0;                                      // [1]
    virtual HRESULT get_SumToTransfer(CY* pVal) = 0;                             // [2]
    virtual HRESULT put_SumToTransfer(CY newVal) = 0;                            // [2]
    virtual HRESULT get_AccountId(LONG* pVal) = 0;                               // [3]
    virtual HRESULT put_AccountId(LONG newVal) = 0;                              // [3]
    virtual HRESULT get_BankDepNum(LONG* pVal) = 0;                              // [4]
    virtual HRESULT put_BankDepNum(LONG newVal) = 0;                             // [4]
    virtual HRESULT get_Recipient(BSTR* pVal) = 0;                               // [5]
    virtual HRESULT put_Recipient(BSTR newVal) = 0;                              // [5]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [6]
};
ORV_DECLARE_IID(IOrvAVDoc);
ORV_TYPEINFO_DECL(IOrvAVDoc);

// ------------------------------------------------- savings-bank payment (10)
inline constexpr IID IID_IOrvSBDoc = {0xEA91A063, 0x14F0, 0x11D4, {0xB9, 0x11, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvSBDoc : IDispatch {
    virtual HRESULT get_Recipient(BSTR* pVal) = 0;                               // [1]
    virtual HRESULT put_Recipient(BSTR newVal) = 0;                              // [1]
    virtual HRESULT get_AccountId(LONG* pVal) = 0;                               // [2]
    virtual HRESULT put_AccountId(LONG newVal) = 0;                              // [2]
    virtual HRESULT get_BankDepartment(BSTR* pVal) = 0;                          // [3]
    virtual HRESULT put_BankDepartment(BSTR newVal) = 0;                         // [3]
};
ORV_DECLARE_IID(IOrvSBDoc);
ORV_TYPEINFO_DECL(IOrvSBDoc);

// ------------------------------------------------- address and account (14)
inline constexpr IID IID_IOrvINDoc = {0xB1ED6206, 0x9FFF, 0x11D4, {0xB9, 0x65, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvINDoc : IDispatch {
    virtual HRESULT get_Address(BSTR* pVal) = 0;                                 // [1]
    virtual HRESULT put_Address(BSTR newVal) = 0;                                // [1]
    virtual HRESULT get_AccountId(LONG* pVal) = 0;                               // [2]
    virtual HRESULT put_AccountId(LONG newVal) = 0;                              // [2]
};
ORV_DECLARE_IID(IOrvINDoc);
ORV_TYPEINFO_DECL(IOrvINDoc);

// --------------------------------------------------------------- address (17)
inline constexpr IID IID_IOrvSTDoc = {0xB1ED6208, 0x9FFF, 0x11D4, {0xB9, 0x65, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvSTDoc : IDispatch {
    virtual HRESULT get_Address(BSTR* pVal) = 0;                                 // [1]
    virtual HRESULT put_Address(BSTR newVal) = 0;                                // [1]
};
ORV_DECLARE_IID(IOrvSTDoc);
ORV_TYPEINFO_DECL(IOrvSTDoc);

// --------------------------------------------------------------- absence (51)
inline constexpr IID IID_IOrvTNDoc = {0x4FCC2016, 0x0418, 0x11D4, {0xB9, 0x0C, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvTNDoc : IDispatch {
    virtual HRESULT get_AbsenceCode(BSTR* pVal) = 0;                             // [1]
    virtual HRESULT put_AbsenceCode(BSTR newVal) = 0;                            // [1]
    virtual HRESULT get_NewAbsenceCode(LONG* pVal) = 0;                          // [2]
    virtual HRESULT put_NewAbsenceCode(LONG newVal) = 0;                         // [2]
    virtual HRESULT get_NotInAveList(LONG* pVal) = 0;                            // [3]
    virtual HRESULT put_NotInAveList(LONG newVal) = 0;                           // [3]
    virtual HRESULT get_IsDissmised(VARIANT_BOOL* pVal) = 0;                     // [4]
    virtual HRESULT get_IsOutOfAveList(VARIANT_BOOL* pVal) = 0;                  // [5]
};
ORV_DECLARE_IID(IOrvTNDoc);
ORV_TYPEINFO_DECL(IOrvTNDoc);

// ----------------------------------------- outside part-time job (71)
// The puts of the two flags are declared but refuse to change anything.
inline constexpr IID IID_IOrvDOutsSovm = {0x4EAF7A61, 0xAFB4, 0x11D3, {0xB8, 0xF1, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvDOutsSovm : IDispatch {
    virtual HRESULT get_OuterSovm(VARIANT_BOOL* pVal) = 0;                       // [1]
    virtual HRESULT put_OuterSovm(VARIANT_BOOL newVal) = 0;                      // [1]
    virtual HRESULT get_MilitaryMan(VARIANT_BOOL* pVal) = 0;                     // [2]
    virtual HRESULT put_MilitaryMan(VARIANT_BOOL newVal) = 0;                    // [2]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [3]
    virtual HRESULT put_OrvDocument(IUnknown* newVal) = 0;                       // [3]
};
ORV_DECLARE_IID(IOrvDOutsSovm);
ORV_TYPEINFO_DECL(IOrvDOutsSovm);

// ---------------------------------------------------- personnel numbers (68)
// The main number in the record; the other numbers as one text filling the
// extension body, also handed out split into a list of texts.
inline constexpr IID IID_IOrvVlDoc = {0x53B95583, 0xDF79, 0x11D3, {0xB9, 0x05, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvVlDoc : IDispatch {
    virtual HRESULT get_MainTabNumber(BSTR* pVal) = 0;                           // [1]
    virtual HRESULT put_MainTabNumber(BSTR newVal) = 0;                          // [1]
    virtual HRESULT get_OtherTabNumbersAsString(BSTR* pVal) = 0;                 // [2]
    virtual HRESULT put_OtherTabNumbersAsString(BSTR newVal) = 0;                // [2]
    virtual HRESULT get_OtherTabNumbers(LONG lPipeId, IUnknown** pVal) = 0;      // [3]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [4]
};
ORV_DECLARE_IID(IOrvVlDoc);
ORV_TYPEINFO_DECL(IOrvVlDoc);
