// Interfaces of the loan, piece-work, earnings certificate and writ of
// execution documents.
//
// All are dual. Members are in vtable order; the number in brackets after
// each member is its dispid (a property's get comes before its put).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

// ----------------------------------------------------------------- loan (301)
// Monthly sums of a loan keyed by month, and the interest the debt earns.
inline constexpr IID IID_IOrvZMDoc = {0xDF2C6310, 0x9263, 0x4623, {0x84, 0xCE, 0x92, 0x41, 0xF8, 0xB2, 0x51, 0x2F}};
struct IOrvZMDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                     // [1]
    virtual HRESULT UpdateExtension() = 0;                                       // [2]
    virtual HRESULT get_ToLoan(DATE dtMonth, CY* pVal) = 0;                      // [3]
    virtual HRESULT put_ToLoan(DATE dtMonth, CY newVal) = 0;                     // [3]
    virtual HRESULT get_Loaned(DATE dtMonth, CY* pVal) = 0;                      // [4]
    virtual HRESULT put_Loaned(DATE dtMonth, CY newVal) = 0;                     // [4]
    virtual HRESULT get_ToRemit(DATE dtMonth, CY* pVal) = 0;                     // [5]
    virtual HRESULT put_ToRemit(DATE dtMonth, CY newVal) = 0;                    // [5]
    virtual HRESULT get_Remitted(DATE dtMonth, CY* pVal) = 0;                    // [6]
    virtual HRESULT put_Remitted(DATE dtMonth, CY newVal) = 0;                   // [6]
    // Get: the debt computed from loans and repayments; put: the stored debt.
    virtual HRESULT get_Debt(DATE dtMonth, CY* pVal) = 0;                        // [7]
    virtual HRESULT put_Debt(DATE dtMonth, CY newVal) = 0;                       // [7]
    virtual HRESULT GetSumsInXml(BSTR* pXml) = 0;                                // [8]
    virtual HRESULT PutSumsXml(BSTR xmlSums) = 0;                                // [9]
    virtual HRESULT GetSumToLoan(DATE dtMonth, CY* pcySum) = 0;                  // [10]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;                   // [11]
    virtual HRESULT get_Interest(DATE dtMonth, CY* pVal) = 0;                    // [12]
    virtual HRESULT put_Interest(DATE dtMonth, CY newVal) = 0;                   // [12]
    virtual HRESULT get_ToRemitCor(DATE dtMonth, CY* pVal) = 0;                  // [13]
    virtual HRESULT put_ToRemitCor(DATE dtMonth, CY newVal) = 0;                 // [13]
    virtual HRESULT TotalCleanUp() = 0;                                          // [14]
    virtual HRESULT CalcInterest(DATE dtRasMonth, IUnknown* punkCbPersentOption, CY* pcySum) = 0; // [15]
    virtual HRESULT ClearLastError() = 0;                                        // [16]
    virtual HRESULT get_LastError(BSTR* pVal) = 0;                               // [17]
    virtual HRESULT get_Premium(DATE dtMonth, CY* pVal) = 0;                     // [18]
    virtual HRESULT put_Premium(DATE dtMonth, CY newVal) = 0;                    // [18]
};
ORV_DECLARE_IID(IOrvZMDoc);
ORV_TYPEINFO_DECL(IOrvZMDoc);

// ----------------------------------------------------------- piece work (334)
// Ten product rows (0 to 9) of price, quantities by kind of time and pay code,
// and seven premium coefficients (0 to 6) shared by all rows.
inline constexpr IID IID_IOrvXLDoc = {0xA7C885B1, 0xBAFC, 0x45A2, {0xBC, 0x41, 0x2A, 0xCC, 0xAA, 0x4D, 0x66, 0x7B}};
struct IOrvXLDoc : IDispatch {
    virtual HRESULT get_Value(LONG Row, CY* pVal) = 0;                           // [1]
    virtual HRESULT put_Value(LONG Row, CY newVal) = 0;                          // [1]
    virtual HRESULT get_MadeByDayTime(LONG Row, LONG* pVal) = 0;                 // [2]
    virtual HRESULT put_MadeByDayTime(LONG Row, LONG newVal) = 0;                // [2]
    virtual HRESULT get_MadeByEveningTime(LONG Row, LONG* pVal) = 0;             // [3]
    virtual HRESULT put_MadeByEveningTime(LONG Row, LONG newVal) = 0;            // [3]
    virtual HRESULT get_MadeByNightTime(LONG Row, LONG* pVal) = 0;               // [4]
    virtual HRESULT put_MadeByNightTime(LONG Row, LONG newVal) = 0;              // [4]
    virtual HRESULT get_MadeByWeekend(LONG Row, LONG* pVal) = 0;                 // [5]
    virtual HRESULT put_MadeByWeekend(LONG Row, LONG newVal) = 0;                // [5]
    virtual HRESULT get_MadeByHolidays(LONG Row, LONG* pVal) = 0;                // [6]
    virtual HRESULT put_MadeByHolidays(LONG Row, LONG newVal) = 0;               // [6]
    virtual HRESULT get_MadeByCoeff1(LONG Row, LONG* pVal) = 0;                  // [7]
    virtual HRESULT put_MadeByCoeff1(LONG Row, LONG newVal) = 0;                 // [7]
    virtual HRESULT get_MadeByCoeff2(LONG Row, LONG* pVal) = 0;                  // [8]
    virtual HRESULT put_MadeByCoeff2(LONG Row, LONG newVal) = 0;                 // [8]
    virtual HRESULT get_MadeByCoeff3(LONG Row, LONG* pVal) = 0;                  // [9]
    virtual HRESULT put_MadeByCoeff3(LONG Row, LONG newVal) = 0;                 // [9]
    virtual HRESULT InitFromExtension() = 0;                                     // [10]
    virtual HRESULT UpdateExtension() = 0;                                       // [11]
    // A 16-bit flag handed out as a 32-bit value (0 or -1).
    virtual HRESULT get_IsInitialised(LONG* pVal) = 0;                           // [12]
    virtual HRESULT put_IsInitialised(LONG newVal) = 0;                          // [12]
    virtual HRESULT get_CalculatedSum(CY* pVal) = 0;                             // [13]
    virtual HRESULT get_Coeff(LONG nIndex, float* pVal) = 0;                     // [14]
    virtual HRESULT put_Coeff(LONG nIndex, float newVal) = 0;                    // [14]
    virtual HRESULT get_ProductName(LONG nRow, BSTR* pVal) = 0;                  // [15]
    virtual HRESULT put_ProductName(LONG nRow, BSTR newVal) = 0;                 // [15]
    virtual HRESULT get_PaymentCode(LONG Row, LONG* pVal) = 0;                   // [16]
    virtual HRESULT put_PaymentCode(LONG Row, LONG newVal) = 0;                  // [16]
    virtual HRESULT get_Margin(LONG* pVal) = 0;                                  // [17]
    virtual HRESULT GetCalculatedSumByCode(LONG nIndex, LONG* pCode, CY* pcySum) = 0; // [18]
    virtual HRESULT get_MadeTotal(LONG Row, LONG* pVal) = 0;                     // [19]
};
ORV_DECLARE_IID(IOrvXLDoc);
ORV_TYPEINFO_DECL(IOrvXLDoc);

// ------------------------------------------------ earnings certificate (369)
// Earnings by calendar year from a former employer. Year(nIndex) get takes a
// position counted from 1; Sum and Period take the year itself.
inline constexpr IID IID_IOrvBVDoc = {0xACF244A0, 0x4CB2, 0x43BC, {0xAD, 0xB9, 0x9E, 0x17, 0x9D, 0x5A, 0x75, 0x03}};
struct IOrvBVDoc : IDispatch {
    virtual HRESULT UpdateExtension() = 0;                                       // [1]
    virtual HRESULT InitFromExtension() = 0;                                     // [2]
    virtual HRESULT Clear() = 0;                                                 // [3]
    virtual HRESULT get_Size(LONG* pVal) = 0;                                    // [4]
    virtual HRESULT get_Year(LONG nIndex, LONG* pVal) = 0;                       // [5]
    virtual HRESULT put_Year(LONG nIndex, LONG newVal) = 0;                      // [5]
    virtual HRESULT get_Sum(LONG nIndex, CY* pVal) = 0;                          // [6]
    virtual HRESULT put_Sum(LONG nIndex, CY newVal) = 0;                         // [6]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;                   // [7]
    virtual HRESULT GetSumForYear(LONG Year, CY* pSum) = 0;                      // [8]
    virtual HRESULT get_Inn(BSTR* pVal) = 0;                                     // [9]
    virtual HRESULT put_Inn(BSTR newVal) = 0;                                    // [9]
    virtual HRESULT get_PfrNum(BSTR* pVal) = 0;                                  // [10]
    virtual HRESULT put_PfrNum(BSTR newVal) = 0;                                 // [10]
    virtual HRESULT get_CompanyName(BSTR* pVal) = 0;                             // [11]
    virtual HRESULT put_CompanyName(BSTR newVal) = 0;                            // [11]
    virtual HRESULT get_Period(LONG nIndex, BSTR* pVal) = 0;                     // [12]
    virtual HRESULT put_Period(LONG nIndex, BSTR newVal) = 0;                    // [12]
};
ORV_DECLARE_IID(IOrvBVDoc);
ORV_TYPEINFO_DECL(IOrvBVDoc);

// -------------------------------------------------- writ of execution (15)
// Recipient, account and postal costs; the recipient's passport is extracted
// from the recipient's full text.
inline constexpr IID IID_IOrvILDoc = {0x4ECC5A43, 0x1762, 0x11D4, {0xB9, 0x11, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvILDoc : IDispatch {
    virtual HRESULT get_Recipient(BSTR* pVal) = 0;                               // [1]
    virtual HRESULT put_Recipient(BSTR newVal) = 0;                              // [1]
    virtual HRESULT get_AccountId(LONG* pVal) = 0;                               // [2]
    virtual HRESULT put_AccountId(LONG newVal) = 0;                              // [2]
    virtual HRESULT get_ListNumber(LONG* pVal) = 0;                              // [3]
    virtual HRESULT put_ListNumber(LONG newVal) = 0;                             // [3]
    virtual HRESULT get_BankDepartment(BSTR* pVal) = 0;                          // [4]
    virtual HRESULT put_BankDepartment(BSTR newVal) = 0;                         // [4]
    virtual HRESULT get_FullRecipient(BSTR* pVal) = 0;                           // [5]
    virtual HRESULT put_FullRecipient(BSTR newVal) = 0;                          // [5] not implemented by design
    virtual HRESULT get_RecipientPassSeria(BSTR* pVal) = 0;                      // [6]
    virtual HRESULT get_RecipientPassNumber(BSTR* pVal) = 0;                     // [7]
    virtual HRESULT get_OutsidePost(LONG* pVal) = 0;                             // [8]
    virtual HRESULT put_OutsidePost(LONG newVal) = 0;                            // [8]
    virtual HRESULT get_RecipientPassType(BSTR* pVal) = 0;                       // [9]
    virtual HRESULT put_RecipientPassType(BSTR newVal) = 0;                      // [9]
    virtual HRESULT get_PostProc(double* pVal) = 0;                              // [10]
    virtual HRESULT put_PostProc(double newVal) = 0;                             // [10]
    virtual HRESULT InitFromExtension() = 0;                                     // [11]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;                   // [12]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;                  // [12]
    virtual HRESULT UpdateExtension() = 0;                                       // [13]
    virtual HRESULT get_RecipientCode(BSTR* pVal) = 0;                           // [14]
    virtual HRESULT put_RecipientCode(BSTR newVal) = 0;                          // [14]
};
ORV_DECLARE_IID(IOrvILDoc);
ORV_TYPEINFO_DECL(IOrvILDoc);
