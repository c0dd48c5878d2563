// Specific kinds with rules of their own: the salary-grade document (a view of
// record fields), the timesheet and the employment contract (extension kinds).
// Dispids follow declaration order from 1; a property's get and put share one.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvOKDoc = {0x57A1C5F3, 0xFA41, 0x11D3, {0xB9, 0x0B, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvTCDoc = {0x46E7DA0E, 0xBEF3, 0x470E, {0x9F, 0xCF, 0xD4, 0x42, 0xFC, 0x51, 0x9B, 0x2E}};
inline constexpr IID IID_IOrvTDDoc = {0xD5E7E7F3, 0xF165, 0x4E39, {0x8F, 0x80, 0x93, 0xEA, 0xCF, 0x8D, 0xCE, 0x1B}};

// Salary grade (dual), types 1 and 48.
struct IOrvOKDoc : IDispatch {
    virtual HRESULT get_Amount(CY* pVal) = 0;                           // [1]
    virtual HRESULT put_Amount(CY newVal) = 0;                          // [1]
    virtual HRESULT get_Razryad(LONG* pVal) = 0;                        // [2]
    virtual HRESULT put_Razryad(LONG newVal) = 0;                       // [2]
    virtual HRESULT get_WorkWeekLength(LONG* pVal) = 0;                 // [3]
    virtual HRESULT put_WorkWeekLength(LONG newVal) = 0;                // [3]
    virtual HRESULT get_WorkDayLength(float* pVal) = 0;                 // [4]
    virtual HRESULT put_WorkDayLength(float newVal) = 0;                // [4]
    virtual HRESULT get_Category(LONG* pVal) = 0;                       // [5]
    virtual HRESULT put_Category(LONG newVal) = 0;                      // [5]
    virtual HRESULT get_Shpz(LONG* pVal) = 0;                           // [6]
    virtual HRESULT put_Shpz(LONG newVal) = 0;                          // [6]
    virtual HRESULT get_OnResultsBased(VARIANT_BOOL* pVal) = 0;         // [7]
    virtual HRESULT put_OnResultsBased(VARIANT_BOOL newVal) = 0;        // [7]
    virtual HRESULT get_OnTrainingContract(VARIANT_BOOL* pVal) = 0;     // [8]
    virtual HRESULT put_OnTrainingContract(VARIANT_BOOL newVal) = 0;    // [8]
    virtual HRESULT get_BolnFromCurMonth(VARIANT_BOOL* pVal) = 0;       // [9]
    virtual HRESULT put_BolnFromCurMonth(VARIANT_BOOL newVal) = 0;      // [9]
    virtual HRESULT get_CurrencyId(LONG* pVal) = 0;                     // [10]
    virtual HRESULT put_CurrencyId(LONG newVal) = 0;                    // [10]
    virtual HRESULT get_PersonalNorm(LONG* pVal) = 0;                   // [11]
    virtual HRESULT put_PersonalNorm(LONG newVal) = 0;                  // [11]
    virtual HRESULT get_PersonalNormStart(LONG* pVal) = 0;              // [12]
    virtual HRESULT put_PersonalNormStart(LONG newVal) = 0;             // [12]
    virtual HRESULT get_FullAmount(CY* pVal) = 0;                       // [13]
    virtual HRESULT put_FullAmount(CY newVal) = 0;                      // [13]
    virtual HRESULT get_WeekInHours(float* pVal) = 0;                   // [14]
    virtual HRESULT put_WeekInHours(float newVal) = 0;                  // [14]
    virtual HRESULT get_SUNorma(LONG* pVal) = 0;                        // [15]
    virtual HRESULT put_SUNorma(LONG newVal) = 0;                       // [15]
    virtual HRESULT get_AdditionUpToSum(CY* pVal) = 0;                  // [16]
    virtual HRESULT put_AdditionUpToSum(CY newVal) = 0;                 // [16]
    virtual HRESULT GetAmountBeSmart(LONG lPipeId, DATE dtDate, IUnknown* punkOrvBD, CY* pResult) = 0;  // [17]
};
ORV_DECLARE_IID(IOrvOKDoc);
ORV_TYPEINFO_DECL(IOrvOKDoc);

// Timesheet (dual), type 336. Clock times are floats in hours.minutes form.
struct IOrvTCDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                                          // [1]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;                        // [2]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;                       // [2]
    virtual HRESULT UpdateExtension() = 0;                                            // [3]
    virtual HRESULT get_Memo(BSTR* pVal) = 0;                                         // [4]
    virtual HRESULT put_Memo(BSTR newVal) = 0;                                        // [4]
    virtual HRESULT get_NormWDStart(LONG nSmena, float* pVal) = 0;                    // [5]
    virtual HRESULT put_NormWDStart(LONG nSmena, float newVal) = 0;                   // [5]
    virtual HRESULT get_NormWDEnd(LONG nSmena, float* pVal) = 0;                      // [6]
    virtual HRESULT put_NormWDEnd(LONG nSmena, float newVal) = 0;                     // [6]
    virtual HRESULT get_NormLunchStart(LONG nSmena, float* pVal) = 0;                 // [7]
    virtual HRESULT put_NormLunchStart(LONG nSmena, float newVal) = 0;                // [7]
    virtual HRESULT get_NormLunchEnd(LONG nSmena, float* pVal) = 0;                   // [8]
    virtual HRESULT put_NormLunchEnd(LONG nSmena, float newVal) = 0;                  // [8]
    virtual HRESULT get_NormTotalHours(float* pVal) = 0;                              // [9]
    virtual HRESULT put_NormTotalHours(float newVal) = 0;                             // [9]
    virtual HRESULT get_WDStart(LONG nWeek, LONG nDay, float* pVal) = 0;              // [10]
    virtual HRESULT put_WDStart(LONG nWeek, LONG nDay, float newVal) = 0;             // [10]
    virtual HRESULT get_WDEnd(LONG nWeek, LONG nDay, float* pVal) = 0;                // [11]
    virtual HRESULT put_WDEnd(LONG nWeek, LONG nDay, float newVal) = 0;               // [11]
    virtual HRESULT get_LunchStart(LONG nWeek, LONG nDay, float* pVal) = 0;           // [12]
    virtual HRESULT put_LunchStart(LONG nWeek, LONG nDay, float newVal) = 0;          // [12]
    virtual HRESULT get_LunchEnd(LONG nWeek, LONG nDay, float* pVal) = 0;             // [13]
    virtual HRESULT put_LunchEnd(LONG nWeek, LONG nDay, float newVal) = 0;            // [13]
    virtual HRESULT get_DayType(LONG nWeek, LONG nDay, SHORT* pVal) = 0;              // [14]
    virtual HRESULT put_DayType(LONG nWeek, LONG nDay, SHORT newVal) = 0;             // [14]
    virtual HRESULT get_Weeks(LONG* pVal) = 0;                                        // [15]
    virtual HRESULT put_Weeks(LONG newVal) = 0;                                       // [15]
    virtual HRESULT get_Hour150(float* pVal) = 0;                                     // [16]
    virtual HRESULT put_Hour150(float newVal) = 0;                                    // [16]
    virtual HRESULT get_Hour200(float* pVal) = 0;                                     // [17]
    virtual HRESULT put_Hour200(float newVal) = 0;                                    // [17]
    virtual HRESULT GetTotalHours(BSTR* pVal, DATE dtStart, DATE dtEnd) = 0;          // [18]
    virtual HRESULT get_WeekStart(LONG nWeek, DATE* pVal) = 0;                        // [19]
    virtual HRESULT put_WeekStart(LONG nWeek, DATE newVal) = 0;                       // [19]
    virtual HRESULT get_WeekEnd(LONG nWeek, DATE* pVal) = 0;                          // [20]
    virtual HRESULT put_WeekEnd(LONG nWeek, DATE newVal) = 0;                         // [20]
};
ORV_DECLARE_IID(IOrvTCDoc);
ORV_TYPEINFO_DECL(IOrvTCDoc);

// Employment contract (dual), type 304.
struct IOrvTDDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                            // [1]
    virtual HRESULT UpdateExtension() = 0;                              // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;          // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;         // [3]
    virtual HRESULT get_CarType(BSTR* pVal) = 0;                        // [4]
    virtual HRESULT put_CarType(BSTR newVal) = 0;                       // [4]
    virtual HRESULT get_DinnerBreakTime(BSTR* pVal) = 0;                // [5]
    virtual HRESULT put_DinnerBreakTime(BSTR newVal) = 0;               // [5]
    virtual HRESULT get_WDayStartTime(BSTR* pVal) = 0;                  // [6]
    virtual HRESULT put_WDayStartTime(BSTR newVal) = 0;                 // [6]
    virtual HRESULT get_WDayEndTime(BSTR* pVal) = 0;                    // [7]
    virtual HRESULT put_WDayEndTime(BSTR newVal) = 0;                   // [7]
    virtual HRESULT get_DgvLength(BSTR* pVal) = 0;                      // [8]
    virtual HRESULT put_DgvLength(BSTR newVal) = 0;                     // [8]
    virtual HRESULT get_Memo(BSTR* pVal) = 0;                           // [9]
    virtual HRESULT put_Memo(BSTR newVal) = 0;                          // [9]
    virtual HRESULT get_ExtraDays2(LONG* pVal) = 0;                     // [10]
    virtual HRESULT put_ExtraDays2(LONG newVal) = 0;                    // [10]
    virtual HRESULT get_ExtraDays2Reason(LONG* pVal) = 0;               // [11]
    virtual HRESULT put_ExtraDays2Reason(LONG newVal) = 0;              // [11]
    virtual HRESULT get_DaysSeverancePay(double* pVal) = 0;             // [12]
    virtual HRESULT put_DaysSeverancePay(double newVal) = 0;            // [12]
    virtual HRESULT get_DaysNotCompensation(double* pVal) = 0;          // [13]
    virtual HRESULT put_DaysNotCompensation(double newVal) = 0;         // [13]
    virtual HRESULT get_DaysCompensation(double* pVal) = 0;             // [14]
    virtual HRESULT put_DaysCompensation(double newVal) = 0;            // [14]
    virtual HRESULT get_AveSeverancePay(CY* pVal) = 0;                  // [15]
    virtual HRESULT put_AveSeverancePay(CY newVal) = 0;                 // [15]
    virtual HRESULT get_AveNotCompensation(CY* pVal) = 0;               // [16]
    virtual HRESULT put_AveNotCompensation(CY newVal) = 0;              // [16]
    virtual HRESULT get_AveCompensation(CY* pVal) = 0;                  // [17]
    virtual HRESULT put_AveCompensation(CY newVal) = 0;                 // [17]
    virtual HRESULT get_VipCompensation(CY* pVal) = 0;                  // [18]
    virtual HRESULT put_VipCompensation(CY newVal) = 0;                 // [18]
    virtual HRESULT get_JobPositionId(LONG* pVal) = 0;                  // [19]
    virtual HRESULT put_JobPositionId(LONG newVal) = 0;                 // [19]
    virtual HRESULT get_PreviousDks(BSTR* pVal) = 0;                    // [20]
    virtual HRESULT put_PreviousDks(BSTR newVal) = 0;                   // [20]
    virtual HRESULT get_Note(BSTR* pVal) = 0;                           // [21]
    virtual HRESULT put_Note(BSTR newVal) = 0;                          // [21]
    virtual HRESULT get_VipPosobieType(LONG* pVal) = 0;                 // [22]
    virtual HRESULT put_VipPosobieType(LONG newVal) = 0;                // [22]
    virtual HRESULT get_OverTimeFrequency(LONG* pVal) = 0;              // [23]
    virtual HRESULT put_OverTimeFrequency(LONG newVal) = 0;             // [23]
    virtual HRESULT get_OtProtocol(IUnknown** pVal) = 0;                // [24]
    virtual HRESULT get_ResignPosobie(IDispatch** pVal) = 0;            // [25]
    virtual HRESULT put_ResignPosobie(IDispatch* newVal) = 0;           // [25]
    virtual HRESULT GetAllProtocols(BSTR* pXml) = 0;                    // [26]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;               // [27]
};
ORV_DECLARE_IID(IOrvTDDoc);
ORV_TYPEINFO_DECL(IOrvTDDoc);
