// Interfaces of the sum-list document kinds (pay sums, coded sums, a year of
// incomes, a distribution over pay codes, rates by month, pay transfers) and
// of the tax allowance document.
//
// All are dual. Members are in vtable order, which is also dispatch
// identifier order: the number in brackets after each member is its dispid.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

// ------------------------------------------------------------- pay sums (137)
// A table of 51 entries (indices 0 to 50) of pay code, work type, sum, days,
// hours and shift number, kept in the extension as XML or as 30-byte records.
inline constexpr IID IID_IOrvS1Doc = {0xB03AABB3, 0xFB4B, 0x11D3, {0xB9, 0x0B, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvS1Doc : IDispatch {
    virtual HRESULT get_PayCode(LONG lIndex, LONG* pVal) = 0;                   // [1]
    virtual HRESULT put_PayCode(LONG lIndex, LONG newVal) = 0;                  // [1]
    virtual HRESULT get_WorkType(LONG lIndex, LONG* pVal) = 0;                  // [2]
    virtual HRESULT put_WorkType(LONG lIndex, LONG newVal) = 0;                 // [2]
    virtual HRESULT get_Sum(LONG lIndex, CY* pVal) = 0;                         // [3]
    virtual HRESULT put_Sum(LONG lIndex, CY newVal) = 0;                        // [3]
    virtual HRESULT get_SumDays(LONG lIndex, LONG* pVal) = 0;                   // [4]
    virtual HRESULT put_SumDays(LONG lIndex, LONG newVal) = 0;                  // [4]
    virtual HRESULT get_SumHours(LONG lIndex, LONG* pVal) = 0;                  // [5]
    virtual HRESULT put_SumHours(LONG lIndex, LONG newVal) = 0;                 // [5]
    virtual HRESULT get_CarSmenNumber(LONG lIndex, LONG* pVal) = 0;             // [6]
    virtual HRESULT put_CarSmenNumber(LONG lIndex, LONG newVal) = 0;            // [6]
    virtual HRESULT AddSum(LONG lBPayCode, LONG lWorkType, CY Sum, LONG lSumDays, LONG lSumHours,
                           LONG* plResult) = 0;                                  // [7]
    virtual HRESULT AddSumMSM(LONG lBPayCode, LONG lWorkType, CY Sum, LONG lSumDays, LONG lSumHours,
                              LONG lCarSmen, LONG* plResult) = 0;                // [8]
    virtual HRESULT ClearSums() = 0;                                             // [9]
    virtual HRESULT AddSumsXml(BSTR xmlStr) = 0;                                 // [10]
    virtual HRESULT GetSumsXml(BSTR* pstrXml) = 0;                               // [11]
    virtual HRESULT GetElemCount(LONG* pVal) = 0;                                // [12]
    virtual HRESULT InitFromExtension() = 0;                                     // [13]
    virtual HRESULT UpdateExtension() = 0;                                       // [14]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [15]
    virtual HRESULT get_WorkingDays(LONG* pVal) = 0;                             // [16]
    virtual HRESULT put_WorkingDays(LONG newVal) = 0;                            // [16]
    virtual HRESULT get_WorkingHours(LONG* pVal) = 0;                            // [17]
    virtual HRESULT put_WorkingHours(LONG newVal) = 0;                           // [17]
};
ORV_DECLARE_IID(IOrvS1Doc);
ORV_TYPEINFO_DECL(IOrvS1Doc);

// ---------------------------------------------------------- coded sums (138)
// The whole list travels as one "S2SUMS" XML text.
inline constexpr IID IID_IOrvS2Doc = {0x128CBC33, 0xA513, 0x11D4, {0xBC, 0xBC, 0x00, 0x20, 0xAF, 0x0E, 0x0F, 0xA1}};
struct IOrvS2Doc : IDispatch {
    virtual HRESULT get_xmlString(BSTR* pVal) = 0;                               // [1]
    virtual HRESULT put_xmlString(BSTR newVal) = 0;                              // [1]
};
ORV_DECLARE_IID(IOrvS2Doc);
ORV_TYPEINFO_DECL(IOrvS2Doc);

// ------------------------------------------------------ year of incomes (333)
// Monthly incomes, allowances and taxes; the sums add up one money field over
// the items of a period that the date service bounds.
inline constexpr IID IID_IOrvS3Doc = {0xC7EB99C2, 0x47F3, 0x4EA7, {0xB4, 0x41, 0xD7, 0x50, 0x01, 0x08, 0x7E, 0xA4}};
struct IOrvS3Doc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                     // [1]
    virtual HRESULT UpdateExtension() = 0;                                       // [2]
    virtual HRESULT IsInitialized(VARIANT_BOOL* pVal) = 0;                       // [3]
    virtual HRESULT ClearSums() = 0;                                             // [4]
    virtual HRESULT AddSumsXml(BSTR xmlStr) = 0;                                 // [5]
    virtual HRESULT GetSumsXml(BSTR* pstrXml) = 0;                               // [6]
    virtual HRESULT GetTotalIncomeOnMonth(DATE dtrDate, CY* pcy) = 0;            // [7]
    virtual HRESULT GetTotalIncomeOneMonth(DATE dtrDate, CY* pcy) = 0;           // [8]
    virtual HRESULT GetYearIncome(DATE dtDate, LONG lCode, CY* pcy) = 0;         // [9]
    virtual HRESULT GetYearPrivilages(DATE dtDate, CY* pcy) = 0;                 // [10]
    virtual HRESULT GetDiscountSum(DATE dt, LONG lLgCode, CY* pcy) = 0;          // [11]
    virtual HRESULT GetTakenTax(DATE dtDate, LONG lTxCode, CY* pcy) = 0;         // [12]
    virtual HRESULT GetIncCodes(DATE dtDate, BSTR* pXml) = 0;                    // [13]
    virtual HRESULT get_ActualStartDate(DATE* pVal) = 0;                         // [14]
    virtual HRESULT get_ActualEndDate(DATE* pVal) = 0;                           // [15]
};
ORV_DECLARE_IID(IOrvS3Doc);
ORV_TYPEINFO_DECL(IOrvS3Doc);

// ------------------------------------------- distribution over pay codes (346)
inline constexpr IID IID_IOrvRIDoc = {0x6F2BB15B, 0xEB96, 0x429C, {0x99, 0xEA, 0xEE, 0x70, 0xAE, 0x30, 0x39, 0xEF}};
struct IOrvRIDoc : IDispatch {
    virtual HRESULT get_xmlString(BSTR* pVal) = 0;                               // [1]
    virtual HRESULT put_xmlString(BSTR newVal) = 0;                              // [1]
    virtual HRESULT get_DistributionAsString(BSTR* pVal) = 0;                    // [2]
    virtual HRESULT put_DistributionAsString(BSTR newVal) = 0;                   // [2]
    // Builds a sum list from an "RISUMS" text; the list is handed out counted.
    virtual HRESULT CreateDistributionInPays(BSTR xml, IUnknown** ppSumList) = 0; // [3]
};
ORV_DECLARE_IID(IOrvRIDoc);
ORV_TYPEINFO_DECL(IOrvRIDoc);

// ------------------------------------ rates by month and financing source (335)
inline constexpr IID IID_IOrvERDoc = {0x7BD6493E, 0x7690, 0x47A8, {0x80, 0xA0, 0xC9, 0xB9, 0x99, 0x76, 0x04, 0x79}};
struct IOrvERDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                     // [1]
    virtual HRESULT UpdateExtension() = 0;                                       // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;                   // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;                  // [3]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [4]
    virtual HRESULT ClearSums() = 0;                                             // [5]
    virtual HRESULT GetElemCount(LONG* pVal) = 0;                                // [6]
    virtual HRESULT GetRate(DATE dtMonth, LONG lFinRoot, CY* pcyRate) = 0;       // [7]
    virtual HRESULT SetRate(DATE dtMonth, LONG lFinRoot, CY cyRate) = 0;         // [8]
    virtual HRESULT GetItem(LONG nIndex, DATE* pdtDate, LONG* plFinRoot, CY* pcySum) = 0; // [9]
    // The earliest month at which this list and another rate list differ.
    virtual HRESULT CalculateRecalculationDate(IUnknown* punkERDoc, DATE* pdtDate) = 0; // [10]
};
ORV_DECLARE_IID(IOrvERDoc);
ORV_TYPEINFO_DECL(IOrvERDoc);

// ---------------------------------------------------- empty rate list (338)
// The shape of the rate list without its rates; every member does nothing.
inline constexpr IID IID_IOrvZGDoc = {0xD84B9F8A, 0x09CD, 0x4E9B, {0xBF, 0xC1, 0x04, 0x77, 0x68, 0x17, 0x11, 0x6A}};
struct IOrvZGDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                     // [1]
    virtual HRESULT UpdateExtension() = 0;                                       // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;                   // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;                  // [3]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [4]
    virtual HRESULT ClearSums() = 0;                                             // [5]
    virtual HRESULT GetElemCount(LONG* pVal) = 0;                                // [6]
    virtual HRESULT CalculateRecalculationDate(IUnknown* punkERDoc, DATE* pdtDate) = 0; // [7]
};
ORV_DECLARE_IID(IOrvZGDoc);
ORV_TYPEINFO_DECL(IOrvZGDoc);

// ---------------------------------------------------- pay transfer (8, 300)
// Record-field sums and account, plus the "MVDOC" extension body with the
// recipient, the payment order and the sum list.
inline constexpr IID IID_IOrvMPDoc = {0xFF5D3317, 0xC7F7, 0x11D3, {0xB8, 0xF9, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvMPDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                     // [1]
    virtual HRESULT UpdateExtension() = 0;                                       // [2]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;                        // [3]
    virtual HRESULT ClearSums() = 0;                                             // [4]
    virtual HRESULT get_SumsXml(BSTR* pVal) = 0;                                 // [5]
    virtual HRESULT put_SumsXml(BSTR newVal) = 0;                                // [5]
    virtual HRESULT get_SumToAdd(CY* pVal) = 0;                                  // [6]
    virtual HRESULT put_SumToAdd(CY newVal) = 0;                                 // [6]
    virtual HRESULT get_SumToPay(CY* pVal) = 0;                                  // [7]
    virtual HRESULT put_SumToPay(CY newVal) = 0;                                 // [7]
    virtual HRESULT get_SumToTransfer(CY* pVal) = 0;                             // [8]
    virtual HRESULT put_SumToTransfer(CY newVal) = 0;                            // [8]
    virtual HRESULT get_StavkaToPay(CY* pVal) = 0;                               // [9]
    virtual HRESULT put_StavkaToPay(CY newVal) = 0;                              // [9]
    virtual HRESULT get_StavkaToDeduct(CY* pVal) = 0;                            // [10]
    virtual HRESULT put_StavkaToDeduct(CY newVal) = 0;                           // [10]
    virtual HRESULT get_AccountId(LONG* pVal) = 0;                               // [11]
    virtual HRESULT put_AccountId(LONG newVal) = 0;                              // [11]
    virtual HRESULT get_BankDepNum(LONG* pVal) = 0;                              // [12]
    virtual HRESULT put_BankDepNum(LONG newVal) = 0;                             // [12]
    virtual HRESULT get_NumToBePaid(double* pVal) = 0;                           // [13]
    virtual HRESULT put_NumToBePaid(double newVal) = 0;                          // [13]
    virtual HRESULT get_Recipient(BSTR* pVal) = 0;                               // [14]
    virtual HRESULT put_Recipient(BSTR newVal) = 0;                              // [14]
    virtual HRESULT get_NdflPaid(CY* pVal) = 0;                                  // [15]
    virtual HRESULT put_NdflPaid(CY newVal) = 0;                                 // [15]
    virtual HRESULT get_PlatPorNumber(BSTR* pVal) = 0;                           // [16]
    virtual HRESULT put_PlatPorNumber(BSTR newVal) = 0;                          // [16]
    virtual HRESULT get_PlatPorDate(DATE* pVal) = 0;                             // [17]
    virtual HRESULT put_PlatPorDate(DATE newVal) = 0;                            // [17]
    virtual HRESULT get_TotalNachis(CY* pVal) = 0;                               // [18]
    virtual HRESULT put_TotalNachis(CY newVal) = 0;                              // [18]
};
ORV_DECLARE_IID(IOrvMPDoc);
ORV_TYPEINFO_DECL(IOrvMPDoc);

// ------------------------------------------- payment order of a pay transfer
// The payment-order part of the same "MVDOC" body.
inline constexpr IID IID_IOrvMVDoc = {0x536CAF9A, 0x3921, 0x4D7C, {0x96, 0x2E, 0x20, 0xEE, 0x8E, 0x97, 0xBA, 0x1B}};
struct IOrvMVDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                     // [1]
    virtual HRESULT UpdateExtension() = 0;                                       // [2]
    virtual HRESULT ClearSums() = 0;                                             // [3]
    virtual HRESULT get_SumsXml(BSTR* pVal) = 0;                                 // [4]
    virtual HRESULT put_SumsXml(BSTR newVal) = 0;                                // [4]
    virtual HRESULT get_NdflPaid(CY* pVal) = 0;                                  // [5]
    virtual HRESULT put_NdflPaid(CY newVal) = 0;                                 // [5]
    virtual HRESULT get_PlatPorNumber(BSTR* pVal) = 0;                           // [6]
    virtual HRESULT put_PlatPorNumber(BSTR newVal) = 0;                          // [6]
    virtual HRESULT get_PlatPorDate(DATE* pVal) = 0;                             // [7]
    virtual HRESULT put_PlatPorDate(DATE newVal) = 0;                            // [7]
};
ORV_DECLARE_IID(IOrvMVDoc);
ORV_TYPEINFO_DECL(IOrvMVDoc);

// ------------------------------------------------------- tax allowances (40)
// Most values are packed into fields of the generic document's record; the
// address and the tax office's notification live in the extension.
inline constexpr IID IID_IOrvLPDoc = {0x7CEE8933, 0xB9D2, 0x11D3, {0xB8, 0xF4, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
struct IOrvLPDoc : IDispatch {
    virtual HRESULT get_DiscountInSum(CY* pVal) = 0;                             // [1]
    virtual HRESULT put_DiscountInSum(CY newVal) = 0;                            // [1]
    virtual HRESULT get_SuperMrot(LONG* pVal) = 0;                               // [2]
    virtual HRESULT put_SuperMrot(LONG newVal) = 0;                              // [2]
    virtual HRESULT get_AdditionalMrot(LONG* pVal) = 0;                          // [3]
    virtual HRESULT put_AdditionalMrot(LONG newVal) = 0;                         // [3]
    virtual HRESULT get_IndexMrotDiscountType(ULONG* pVal) = 0;                  // [4]
    virtual HRESULT put_IndexMrotDiscountType(ULONG newVal) = 0;                 // [4]
    virtual HRESULT get_IndexChildMrotDiscountType(ULONG* pVal) = 0;             // [5]
    virtual HRESULT put_IndexChildMrotDiscountType(ULONG newVal) = 0;            // [5]
    virtual HRESULT get_IndexSuperMrotDiscountType(ULONG* pVal) = 0;             // [6]
    virtual HRESULT put_IndexSuperMrotDiscountType(ULONG newVal) = 0;            // [6]
    virtual HRESULT get_IndexSumDiscountType(ULONG* pVal) = 0;                   // [7]
    virtual HRESULT put_IndexSumDiscountType(ULONG newVal) = 0;                  // [7]
    virtual HRESULT get_ChildType(LONG* pVal) = 0;                               // [8]
    virtual HRESULT put_ChildType(LONG newVal) = 0;                              // [8]
    virtual HRESULT get_CancelPersonalOnly(VARIANT_BOOL* pVal) = 0;              // [9]
    virtual HRESULT put_CancelPersonalOnly(VARIANT_BOOL newVal) = 0;             // [9]
    virtual HRESULT get_Chernobyl(VARIANT_BOOL* pVal) = 0;                       // [10]
    virtual HRESULT put_Chernobyl(VARIANT_BOOL newVal) = 0;                      // [10]
    virtual HRESULT get_CancelDiscount(VARIANT_BOOL* pVal) = 0;                  // [11]
    virtual HRESULT put_CancelDiscount(VARIANT_BOOL newVal) = 0;                 // [11]
    virtual HRESULT get_ChildMrotDiscountBase(SHORT* pVal) = 0;                  // [12]
    virtual HRESULT put_ChildMrotDiscountBase(SHORT newVal) = 0;                 // [12]
    virtual HRESULT get_MrotDiscountBase(SHORT* pVal) = 0;                       // [13]
    virtual HRESULT put_MrotDiscountBase(SHORT newVal) = 0;                      // [13]
    virtual HRESULT get_SuperMrotDiscountBase(SHORT* pVal) = 0;                  // [14]
    virtual HRESULT put_SuperMrotDiscountBase(SHORT newVal) = 0;                 // [14]
    virtual HRESULT get_TaxTableNumber(SHORT* pVal) = 0;                         // [15]
    virtual HRESULT put_TaxTableNumber(SHORT newVal) = 0;                        // [15]
    virtual HRESULT get_AllowanceOrdered(SHORT* pVal) = 0;                       // [16]
    virtual HRESULT put_AllowanceOrdered(SHORT newVal) = 0;                      // [16]
    virtual HRESULT get_Version(LONG* pVal) = 0;                                 // [17]
    virtual HRESULT put_Version(LONG newVal) = 0;                                // [17]
    virtual HRESULT get_ProfessionalPercent(SHORT* pVal) = 0;                    // [18]
    virtual HRESULT put_ProfessionalPercent(SHORT newVal) = 0;                   // [18]
    virtual HRESULT get_IndexProfessionDiscountType(SHORT* pVal) = 0;            // [19]
    virtual HRESULT put_IndexProfessionDiscountType(SHORT newVal) = 0;           // [19]
    virtual HRESULT get_NumChildren(LONG lPipeId, LONG* pVal) = 0;               // [20]
    virtual HRESULT get_NumDependant(LONG lPipeId, LONG* pVal) = 0;              // [21]
    // The get may first let the database service fill the extension; the put
    // stores the text and switches the document to the XML body.
    virtual HRESULT get_Address(LONG lPipeId, BSTR* pVal) = 0;                   // [22]
    virtual HRESULT put_Address(BSTR newVal) = 0;                                // [22]
    virtual HRESULT get_UvedomGniCode(BSTR* pVal) = 0;                           // [23]
    virtual HRESULT put_UvedomGniCode(BSTR newVal) = 0;                          // [23]
    virtual HRESULT get_UvedomNumber(BSTR* pVal) = 0;                            // [24]
    virtual HRESULT put_UvedomNumber(BSTR newVal) = 0;                           // [24]
    virtual HRESULT get_UvedomDate(DATE* pVal) = 0;                              // [25]
    virtual HRESULT put_UvedomDate(DATE newVal) = 0;                             // [25]
    virtual HRESULT InitFromExtension() = 0;                                     // [26]
    virtual HRESULT UpdateExtension() = 0;                                       // [27]
};
ORV_DECLARE_IID(IOrvLPDoc);
ORV_TYPEINFO_DECL(IOrvLPDoc);
