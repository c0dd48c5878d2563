// The sick-leave family: the sick-leave document, the enumeration of
// sick-leave (and vacation) types, the calculation protocol and its two kinds
// of list item. Members are in vtable slot order; dispids in brackets.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvBLDoc = {0x2CCA7543, 0x11CA, 0x11D4, {0xB9, 0x10, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvENUMBlTypes = {0x68EAA380, 0x6F4F, 0x11D4, {0xB9, 0x56, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvBLDocProtocol = {0x2CCA7545, 0x11CA, 0x11D4, {0xB9, 0x10, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvBLProtHistoryItem = {0x2CCA7547, 0x11CA, 0x11D4, {0xB9, 0x10, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvBlProtPayMonthItem = {0x2CCA7549, 0x11CA, 0x11D4, {0xB9, 0x10, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The sick-leave document (dual): flags kept in the generic document's record
// and descriptive texts plus the protocol kept in the extension.
struct IOrvBLDoc : IDispatch {
    virtual HRESULT get_BlProtocol(IUnknown** pVal) = 0;                  // [1]
    virtual HRESULT put_BlProtocol(IUnknown* newVal) = 0;                 // [1]
    virtual HRESULT get_CalDaysBased(VARIANT_BOOL* pVal) = 0;             // [2]
    virtual HRESULT put_CalDaysBased(VARIANT_BOOL newVal) = 0;            // [2]
    virtual HRESULT get_HoursBased(LONG* pVal) = 0;                       // [3]
    virtual HRESULT put_HoursBased(LONG newVal) = 0;                      // [3]
    virtual HRESULT get_StartOfBulleten(VARIANT_BOOL* pVal) = 0;          // [4]
    virtual HRESULT put_StartOfBulleten(VARIANT_BOOL newVal) = 0;         // [4]
    virtual HRESULT get_OverTimePlus(VARIANT_BOOL* pVal) = 0;             // [5]
    virtual HRESULT put_OverTimePlus(VARIANT_BOOL newVal) = 0;            // [5]
    virtual HRESULT get_xmlBasedProtocol(VARIANT_BOOL* pVal) = 0;         // [6]
    virtual HRESULT put_xmlBasedProtocol(VARIANT_BOOL newVal) = 0;        // [6]
    virtual HRESULT InitFromExtension() = 0;                              // [7]
    virtual HRESULT UpdateExtension() = 0;                                // [8]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;            // [9]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;           // [9]
    virtual HRESULT get_RelativeName(BSTR* pVal) = 0;                     // [10]
    virtual HRESULT put_RelativeName(BSTR newVal) = 0;                    // [10]
    virtual HRESULT get_RelativeBirthDay(DATE* pVal) = 0;                 // [11]
    virtual HRESULT put_RelativeBirthDay(DATE newVal) = 0;                // [11]
    virtual HRESULT get_RelativeBirthYear(LONG* pVal) = 0;                // [12]
    virtual HRESULT put_RelativeBirthYear(LONG newVal) = 0;               // [12]
    virtual HRESULT get_Vaccination(VARIANT_BOOL* pVal) = 0;              // [13]
    virtual HRESULT put_Vaccination(VARIANT_BOOL newVal) = 0;             // [13]
    virtual HRESULT get_PainfulIllness(VARIANT_BOOL* pVal) = 0;           // [14]
    virtual HRESULT put_PainfulIllness(VARIANT_BOOL newVal) = 0;          // [14]
    virtual HRESULT get_BabyInvalid(VARIANT_BOOL* pVal) = 0;              // [15]
    virtual HRESULT put_BabyInvalid(VARIANT_BOOL newVal) = 0;             // [15]
    virtual HRESULT get_RegimeViolation(VARIANT_BOOL* pVal) = 0;          // [16]
    virtual HRESULT put_RegimeViolation(VARIANT_BOOL newVal) = 0;         // [16]
    virtual HRESULT get_YearsForAverage(BSTR* pVal) = 0;                  // [17]
    virtual HRESULT put_YearsForAverage(BSTR newVal) = 0;                 // [17]
    virtual HRESULT get_CompanyFullyPaid(VARIANT_BOOL* pVal) = 0;         // [18]
    virtual HRESULT put_CompanyFullyPaid(VARIANT_BOOL newVal) = 0;        // [18]
    virtual HRESULT get_MedicalInstitution(BSTR* pVal) = 0;               // [19]
    virtual HRESULT put_MedicalInstitution(BSTR newVal) = 0;              // [19]
    virtual HRESULT get_DoctorFIO(BSTR* pVal) = 0;                        // [20]
    virtual HRESULT put_DoctorFIO(BSTR newVal) = 0;                       // [20]
};
ORV_DECLARE_IID(IOrvBLDoc);
ORV_TYPEINFO_DECL(IOrvBLDoc);

// Enumeration of a fixed table of type codes and their texts (custom). The
// sick-leave and the vacation documents both serve it, each over its own table.
struct IOrvENUMBlTypes : IUnknown {
    virtual HRESULT Reset() = 0;
    virtual HRESULT Next(BSTR* pbstrTypeName, LONG* plType) = 0;
    virtual HRESULT TypeToName(LONG lType, BSTR* pName) = 0;
    virtual HRESULT GetPipedString(BSTR* pString) = 0;
    virtual HRESULT ApplyFilter(IUnknown* punkOrvBD) = 0;
};
ORV_DECLARE_IID(IOrvENUMBlTypes);

// The sick-leave calculation protocol (dual). Dispid 41 is not used.
struct IOrvBLDocProtocol : IDispatch {
    virtual HRESULT get_CalcFromOkladOrTarif(VARIANT_BOOL* pVal) = 0;     // [1]
    virtual HRESULT put_CalcFromOkladOrTarif(VARIANT_BOOL newVal) = 0;    // [1]
    virtual HRESULT get_CalcInDays(VARIANT_BOOL* pVal) = 0;               // [2]
    virtual HRESULT put_CalcInDays(VARIANT_BOOL newVal) = 0;              // [2]
    virtual HRESULT get_If32TypeAndProcHBChanged(VARIANT_BOOL* pVal) = 0; // [3]
    virtual HRESULT put_If32TypeAndProcHBChanged(VARIANT_BOOL newVal) = 0;// [3]
    virtual HRESULT get_IfSrednHBEntered(VARIANT_BOOL* pVal) = 0;         // [4]
    virtual HRESULT put_IfSrednHBEntered(VARIANT_BOOL newVal) = 0;        // [4]
    virtual HRESULT get_If1p12PremHBEntered(VARIANT_BOOL* pVal) = 0;      // [5]
    virtual HRESULT put_If1p12PremHBEntered(VARIANT_BOOL newVal) = 0;     // [5]
    virtual HRESULT get_IfProcentHBEntered(VARIANT_BOOL* pVal) = 0;       // [6]
    virtual HRESULT put_IfProcentHBEntered(VARIANT_BOOL newVal) = 0;      // [6]
    virtual HRESULT get_FirstFactSredn(CY* pVal) = 0;                     // [7]
    virtual HRESULT put_FirstFactSredn(CY newVal) = 0;                    // [7]
    virtual HRESULT get_SecondSredn(CY* pVal) = 0;                        // [8]
    virtual HRESULT put_SecondSredn(CY newVal) = 0;                       // [8]
    virtual HRESULT get_SumFromHighProc(CY* pVal) = 0;                    // [9]
    virtual HRESULT put_SumFromHighProc(CY newVal) = 0;                   // [9]
    virtual HRESULT get_SumFromLowProc(CY* pVal) = 0;                     // [10]
    virtual HRESULT put_SumFromLowProc(CY newVal) = 0;                    // [10]
    virtual HRESULT get_TotSumForSredn(CY* pVal) = 0;                     // [11]
    virtual HRESULT put_TotSumForSredn(CY newVal) = 0;                    // [11]
    virtual HRESULT get_TotBlSum(CY* pVal) = 0;                           // [12]
    virtual HRESULT put_TotBlSum(CY newVal) = 0;                          // [12]
    virtual HRESULT get_LimitSum(CY* pVal) = 0;                           // [13]
    virtual HRESULT put_LimitSum(CY newVal) = 0;                          // [13]
    virtual HRESULT get_LengthBeforeLoweringProc(LONG* pVal) = 0;         // [14]
    virtual HRESULT put_LengthBeforeLoweringProc(LONG newVal) = 0;        // [14]
    virtual HRESULT get_LengthAfterLoweringProc(LONG* pVal) = 0;          // [15]
    virtual HRESULT put_LengthAfterLoweringProc(LONG newVal) = 0;         // [15]
    virtual HRESULT get_BlUsedProcent(LONG* pVal) = 0;                    // [16]
    virtual HRESULT put_BlUsedProcent(LONG newVal) = 0;                   // [16]
    virtual HRESULT get_StagYears(LONG* pVal) = 0;                        // [17]
    virtual HRESULT put_StagYears(LONG newVal) = 0;                       // [17]
    virtual HRESULT get_BlUsedDays(LONG* pVal) = 0;                       // [18]
    virtual HRESULT put_BlUsedDays(LONG newVal) = 0;                      // [18]
    virtual HRESULT get_BlUsedHours(LONG* pVal) = 0;                      // [19]
    virtual HRESULT put_BlUsedHours(LONG newVal) = 0;                     // [19]
    virtual HRESULT get_HistoryCount(LONG* pVal) = 0;                     // [20]
    virtual HRESULT put_HistoryCount(LONG newVal) = 0;                    // [20]
    virtual HRESULT get_PayMonthCount(LONG* pVal) = 0;                    // [21]
    virtual HRESULT put_PayMonthCount(LONG newVal) = 0;                   // [21]
    virtual HRESULT AddHistoryItem(IUnknown* punkHistoryItem) = 0;        // [22]
    virtual HRESULT AddPayMonthItem(IUnknown* punkPayMonthItem) = 0;      // [23]
    virtual HRESULT get_HistoryList(IUnknown** pVal) = 0;                 // [24]
    virtual HRESULT get_PayMonthList(IUnknown** pVal) = 0;                // [25]
    virtual HRESULT Clean() = 0;                                          // [26]
    virtual HRESULT SetAccessType(IUnknown* punkOrvBD) = 0;               // [27]
    virtual HRESULT get_CalendarValues(VARIANT_BOOL* pVal) = 0;           // [28]
    virtual HRESULT put_CalendarValues(VARIANT_BOOL newVal) = 0;          // [28]
    virtual HRESULT get_XmlSrednFromPrem(BSTR* pVal) = 0;                 // [29]
    virtual HRESULT put_XmlSrednFromPrem(BSTR newVal) = 0;                // [29]
    virtual HRESULT get_XmlPremProtocol(BSTR* pVal) = 0;                  // [30]
    virtual HRESULT put_XmlPremProtocol(BSTR newVal) = 0;                 // [30]
    virtual HRESULT get_EnteredPremiumSumm(CY* pVal) = 0;                 // [31]
    virtual HRESULT put_EnteredPremiumSumm(CY newVal) = 0;                // [31]
    virtual HRESULT get_UsedProcent(double* pVal) = 0;                    // [32]
    virtual HRESULT put_UsedProcent(double newVal) = 0;                   // [32]
    virtual HRESULT CleanUpHistory() = 0;                                 // [33]
    virtual HRESULT get_TotSumForSredn2(CY* pVal) = 0;                    // [34]
    virtual HRESULT put_TotSumForSredn2(CY newVal) = 0;                   // [34]
    virtual HRESULT get_TotBlSum2(CY* pVal) = 0;                          // [35]
    virtual HRESULT put_TotBlSum2(CY newVal) = 0;                         // [35]
    virtual HRESULT CleanUpPayMonthsAfter(DATE dtStartToClean) = 0;       // [36]
    virtual HRESULT get_OriginatorType(LONG* pVal) = 0;                   // [37]
    virtual HRESULT put_OriginatorType(LONG newVal) = 0;                  // [37]
    virtual HRESULT get_SrednFromPrem(CY* pVal) = 0;                      // [38]
    virtual HRESULT put_SrednFromPrem(CY newVal) = 0;                     // [38]
    virtual HRESULT get_Dn(DATE* pVal) = 0;                               // [39]
    virtual HRESULT put_Dn(DATE newVal) = 0;                              // [39]
    virtual HRESULT get_Dk(DATE* pVal) = 0;                               // [40]
    virtual HRESULT put_Dk(DATE newVal) = 0;                              // [40]
    virtual HRESULT get_SType(LONG* pVal) = 0;                            // [42]
    virtual HRESULT put_SType(LONG newVal) = 0;                           // [42]
    virtual HRESULT get_Number(BSTR* pVal) = 0;                           // [43]
    virtual HRESULT put_Number(BSTR newVal) = 0;                          // [43]
    virtual HRESULT get_xmlProtocol(IUnknown** pVal) = 0;                 // [44]
    virtual HRESULT put_xmlProtocol(IUnknown* newVal) = 0;                // [44] E_NOTIMPL
    virtual HRESULT GetAccessType(LONG* pVal) = 0;                        // [45]
    virtual HRESULT get_CalcType2011(VARIANT_BOOL* pVal) = 0;             // [46]
    virtual HRESULT put_CalcType2011(VARIANT_BOOL newVal) = 0;            // [46]
    virtual HRESULT get_XmlDirectPremProtocol(BSTR* pVal) = 0;            // [47]
    virtual HRESULT put_XmlDirectPremProtocol(BSTR newVal) = 0;           // [47]
};
ORV_DECLARE_IID(IOrvBLDocProtocol);
ORV_TYPEINFO_DECL(IOrvBLDocProtocol);

// One month of the earnings history of a sick-leave protocol (dual).
struct IOrvBLProtHistoryItem : IDispatch {
    virtual HRESULT get_Days(LONG* pVal) = 0;          // [1]
    virtual HRESULT put_Days(LONG newVal) = 0;         // [1]
    virtual HRESULT get_Hours(LONG* pVal) = 0;         // [2]
    virtual HRESULT put_Hours(LONG newVal) = 0;        // [2]
    virtual HRESULT get_Month(DATE* pVal) = 0;         // [3]
    virtual HRESULT put_Month(DATE newVal) = 0;        // [3]
    virtual HRESULT get_SumForSredn(CY* pVal) = 0;     // [4]
    virtual HRESULT put_SumForSredn(CY newVal) = 0;    // [4]
    virtual HRESULT get_SumForSredn2(CY* pVal) = 0;    // [5]
    virtual HRESULT put_SumForSredn2(CY newVal) = 0;   // [5]
    virtual HRESULT get_NormDays(LONG* pVal) = 0;      // [6]
    virtual HRESULT put_NormDays(LONG newVal) = 0;     // [6]
    virtual HRESULT get_NormHours(LONG* pVal) = 0;     // [7]
    virtual HRESULT put_NormHours(LONG newVal) = 0;    // [7]
    virtual HRESULT get_Year(LONG* pVal) = 0;          // [8]
    virtual HRESULT put_Year(LONG newVal) = 0;         // [8]
    virtual HRESULT get_YearLimit(CY* pVal) = 0;       // [9]
    virtual HRESULT put_YearLimit(CY newVal) = 0;      // [9]
};
ORV_DECLARE_IID(IOrvBLProtHistoryItem);
ORV_TYPEINFO_DECL(IOrvBLProtHistoryItem);

// One calendar month of the paid benefit period (dual).
struct IOrvBlProtPayMonthItem : IDispatch {
    virtual HRESULT get_Days(LONG* pVal) = 0;                 // [1]
    virtual HRESULT put_Days(LONG newVal) = 0;                // [1]
    virtual HRESULT get_Hours(LONG* pVal) = 0;                // [2]
    virtual HRESULT put_Hours(LONG newVal) = 0;               // [2]
    virtual HRESULT get_NormHours(LONG* pVal) = 0;            // [3]
    virtual HRESULT put_NormHours(LONG newVal) = 0;           // [3]
    virtual HRESULT get_Month(DATE* pVal) = 0;                // [4]
    virtual HRESULT put_Month(DATE newVal) = 0;               // [4]
    virtual HRESULT get_Sum(CY* pVal) = 0;                    // [5]
    virtual HRESULT put_Sum(CY newVal) = 0;                   // [5]
    virtual HRESULT get_Oklad(CY* pVal) = 0;                  // [6]
    virtual HRESULT put_Oklad(CY newVal) = 0;                 // [6]
    virtual HRESULT get_OkladWithNadb(CY* pVal) = 0;          // [7]
    virtual HRESULT put_OkladWithNadb(CY newVal) = 0;         // [7]
    virtual HRESULT get_FirstSredn(CY* pVal) = 0;             // [8]
    virtual HRESULT put_FirstSredn(CY newVal) = 0;            // [8]
    virtual HRESULT get_SecondSredn(CY* pVal) = 0;            // [9]
    virtual HRESULT put_SecondSredn(CY newVal) = 0;           // [9]
    virtual HRESULT get_ProcSredn(CY* pVal) = 0;              // [10]
    virtual HRESULT put_ProcSredn(CY newVal) = 0;             // [10]
    virtual HRESULT get_MonthLimit(CY* pVal) = 0;             // [11]
    virtual HRESULT put_MonthLimit(CY newVal) = 0;            // [11]
    virtual HRESULT get_NormDays(LONG* pVal) = 0;             // [12]
    virtual HRESULT put_NormDays(LONG newVal) = 0;            // [12]
    virtual HRESULT get_Sum2(CY* pVal) = 0;                   // [13]
    virtual HRESULT put_Sum2(CY newVal) = 0;                  // [13]
    virtual HRESULT get_CompanyDays(LONG* pVal) = 0;          // [14]
    virtual HRESULT put_CompanyDays(LONG newVal) = 0;         // [14]
    virtual HRESULT get_CompanySum(CY* pVal) = 0;             // [15]
    virtual HRESULT put_CompanySum(CY newVal) = 0;            // [15]
    virtual HRESULT get_CompanyHours(LONG* pVal) = 0;         // [16]
    virtual HRESULT put_CompanyHours(LONG newVal) = 0;        // [16]
    virtual HRESULT get_CompanySimpleDays(LONG* pVal) = 0;    // [17]
    virtual HRESULT put_CompanySimpleDays(LONG newVal) = 0;   // [17]
    virtual HRESULT get_CompanySimpleHours(LONG* pVal) = 0;   // [18]
    virtual HRESULT put_CompanySimpleHours(LONG newVal) = 0;  // [18]
    virtual HRESULT get_CompanySimpleSum(CY* pVal) = 0;       // [19]
    virtual HRESULT put_CompanySimpleSum(CY newVal) = 0;      // [19]
    virtual HRESULT get_VipSredn(CY* pVal) = 0;               // [20]
    virtual HRESULT put_VipSredn(CY newVal) = 0;              // [20]
    virtual HRESULT get_VipBase(CY* pVal) = 0;                // [21]
    virtual HRESULT put_VipBase(CY newVal) = 0;               // [21]
    virtual HRESULT get_WorkedHours(LONG* pVal) = 0;          // [22]
    virtual HRESULT put_WorkedHours(LONG newVal) = 0;         // [22]
};
ORV_DECLARE_IID(IOrvBlProtPayMonthItem);
ORV_TYPEINFO_DECL(IOrvBlProtPayMonthItem);
