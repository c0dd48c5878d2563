// The vacation family: the vacation document and its protocol interface. The
// vacation object also serves IOrvENUMBlTypes (sickleave.h) over its own table.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvOTDoc = {0x4DB88743, 0x8936, 0x11D4, {0xB9, 0x64, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvOTProtocol = {0x7DE4425E, 0xE275, 0x4B2F, {0xB4, 0x48, 0x14, 0x99, 0x43, 0xB9, 0x33, 0x81}};

// The vacation document (dual): views of reserve fields of the generic document.
struct IOrvOTDoc : IDispatch {
    virtual HRESULT get_MonthsForSredn(SHORT* pVal) = 0;                          // [1]
    virtual HRESULT put_MonthsForSredn(SHORT newVal) = 0;                         // [1]
    virtual HRESULT get_ProtocolAsXml(BSTR* pVal) = 0;                            // [2]
    virtual HRESULT put_ProtocolAsXml(BSTR newVal) = 0;                           // [2] E_NOTIMPL
    virtual HRESULT get_LastDCur(DATE* pVal) = 0;                                 // [3]
    virtual HRESULT put_LastDCur(DATE newVal) = 0;                                // [3]
    virtual HRESULT get_ExtraDays2(LONG* pVal) = 0;                               // [4]
    virtual HRESULT put_ExtraDays2(LONG newVal) = 0;                              // [4]
    virtual HRESULT get_ExtraDays3(LONG* pVal) = 0;                               // [5]
    virtual HRESULT put_ExtraDays3(LONG newVal) = 0;                              // [5]
    virtual HRESULT get_OnlyExtraDays(VARIANT_BOOL* pVal) = 0;                    // [6]
    virtual HRESULT put_OnlyExtraDays(VARIANT_BOOL newVal) = 0;                   // [6]
    virtual HRESULT CalcAllDates(IUnknown* punkSotr, DATE dtStart, LONG lMainDays, LONG lExtraDays1,
                                 LONG lExtraDays2, LONG lExtraDays3, DATE* pdtExtra1Start,
                                 DATE* pdtExtra2Start, DATE* pdtExtra3Start, DATE* pdtFullStop) = 0;  // [7]
    virtual HRESULT get_OutOfAccount(VARIANT_BOOL* pVal) = 0;                     // [8]
    virtual HRESULT put_OutOfAccount(VARIANT_BOOL newVal) = 0;                    // [8]
    virtual HRESULT get_DaysOfCompensation(double* pVal) = 0;                     // [9]
    virtual HRESULT put_DaysOfCompensation(double newVal) = 0;                    // [9]
    virtual HRESULT get_ExtraType(LONG* pVal) = 0;                                // [10]
    virtual HRESULT put_ExtraType(LONG newVal) = 0;                               // [10]
    virtual HRESULT get_DopOtpCalcType(LONG DopOtpNumber, SHORT* pVal) = 0;       // [11]
    virtual HRESULT put_DopOtpCalcType(LONG DopOtpNumber, SHORT newVal) = 0;      // [11]
    virtual HRESULT get_IsNotMome(VARIANT_BOOL* pVal) = 0;                        // [12]
    virtual HRESULT put_IsNotMome(VARIANT_BOOL newVal) = 0;                       // [12]
};
ORV_DECLARE_IID(IOrvOTDoc);
ORV_TYPEINFO_DECL(IOrvOTDoc);

// The vacation-pay protocol (custom). Properties address the record chosen by
// the current access type and CurrentProtocol; indexed ones take a month entry
// 0..11. The 16-bit record fields travel as SHORT, Flag as ULONG.
struct IOrvOTProtocol : IUnknown {
    virtual HRESULT Load() = 0;
    virtual HRESULT Save() = 0;
    virtual HRESULT get_Flag(ULONG* pVal) = 0;
    virtual HRESULT put_Flag(ULONG newVal) = 0;
    virtual HRESULT get_MesCount(SHORT* pVal) = 0;
    virtual HRESULT put_MesCount(SHORT newVal) = 0;
    virtual HRESULT get_MesCount0(SHORT* pVal) = 0;
    virtual HRESULT put_MesCount0(SHORT newVal) = 0;
    virtual HRESULT get_NewEnd(DATE* pVal) = 0;
    virtual HRESULT put_NewEnd(DATE newVal) = 0;
    virtual HRESULT get_StartFMP(DATE* pVal) = 0;
    virtual HRESULT put_StartFMP(DATE newVal) = 0;
    virtual HRESULT get_fSredn1(double* pVal) = 0;
    virtual HRESULT put_fSredn1(double newVal) = 0;
    virtual HRESULT get_fSredn2(double* pVal) = 0;
    virtual HRESULT put_fSredn2(double newVal) = 0;
    virtual HRESULT get_TotSum1(CY* pVal) = 0;
    virtual HRESULT put_TotSum1(CY newVal) = 0;
    virtual HRESULT get_TotSum2(CY* pVal) = 0;
    virtual HRESULT put_TotSum2(CY newVal) = 0;
    virtual HRESULT get_SumOt1(CY* pVal) = 0;
    virtual HRESULT put_SumOt1(CY newVal) = 0;
    virtual HRESULT get_SumOt2(CY* pVal) = 0;
    virtual HRESULT put_SumOt2(CY newVal) = 0;
    virtual HRESULT get_SumOt(CY* pVal) = 0;
    virtual HRESULT put_SumOt(CY newVal) = 0;
    virtual HRESULT get_HistoryCount(SHORT* pVal) = 0;
    virtual HRESULT put_HistoryCount(SHORT newVal) = 0;
    virtual HRESULT get_MonFlag(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_MonFlag(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_MonDate(LONG nIndex, DATE* pVal) = 0;
    virtual HRESULT put_MonDate(LONG nIndex, DATE newVal) = 0;
    virtual HRESULT get_MonSum1(LONG nIndex, CY* pVal) = 0;
    virtual HRESULT put_MonSum1(LONG nIndex, CY newVal) = 0;
    virtual HRESULT get_MonSum2(LONG nIndex, CY* pVal) = 0;
    virtual HRESULT put_MonSum2(LONG nIndex, CY newVal) = 0;
    virtual HRESULT Clean() = 0;
    virtual HRESULT get_MonPropPrem(LONG nIndex, CY* pVal) = 0;
    virtual HRESULT put_MonPropPrem(LONG nIndex, CY newVal) = 0;
    virtual HRESULT get_NormDaysCommon(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_NormDaysCommon(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_FactDaysCommon(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_FactDaysCommon(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_NormDaysEmployee(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_NormDaysEmployee(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_FactDaysEmployee(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_FactDaysEmployee(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_FactDaysCommonExtra(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_FactDaysCommonExtra(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_NormDaysCommonExtra(LONG nIndex, SHORT* pVal) = 0;
    virtual HRESULT put_NormDaysCommonExtra(LONG nIndex, SHORT newVal) = 0;
    virtual HRESULT get_CurrentProtocol(LONG* pVal) = 0;
    virtual HRESULT put_CurrentProtocol(LONG newVal) = 0;
    virtual HRESULT ReplaceProtocols() = 0;
    virtual HRESULT put_DontAlterExtension(VARIANT_BOOL newVal) = 0;
    virtual HRESULT CheckAccessType() = 0;
    virtual HRESULT get_TabNum(BSTR* pVal) = 0;
    virtual HRESULT put_TabNum(BSTR newVal) = 0;
    virtual HRESULT get_PaiedMonthIndexation(DATE dtMonth, double* pVal) = 0;
    virtual HRESULT put_PaiedMonthIndexation(DATE dtMonth, double newVal) = 0;
    virtual HRESULT get_DocumentId(LONG* pVal) = 0;
    virtual HRESULT put_DocumentId(LONG newVal) = 0;
    virtual HRESULT ErasePaiedMonthsAfter(DATE dtStartMonth) = 0;
    virtual HRESULT AddPaiedInterval(DATE dtMonth, DATE Dn, DATE Dk, LONG IntType, LONG Days, LONG Hours, CY Sum,
                                     VARIANT_BOOL InDays) = 0;
    virtual HRESULT get_MonInFactor(LONG nIndex, float* pVal) = 0;
    virtual HRESULT put_MonInFactor(LONG nIndex, float newVal) = 0;
    virtual HRESULT get_MonCleanSum(LONG nIndex, CY* pVal) = 0;
    virtual HRESULT put_MonCleanSum(LONG nIndex, CY newVal) = 0;
    virtual HRESULT get_MonDirectPrem(LONG nIndex, CY* pVal) = 0;
    virtual HRESULT put_MonDirectPrem(LONG nIndex, CY newVal) = 0;
};
ORV_DECLARE_IID(IOrvOTProtocol);
