// The payroll month: the month object's three faces, the month list, and the
// month trace with its second view as a dependent period.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvMonth = {0x003D4703, 0xD6E8, 0x11D3, {0xB8, 0xFE, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvMonthDisp = {0xA94589A2, 0xE0AC, 0x46E9, {0x9F, 0x7B, 0xEC, 0x2D, 0x1C, 0x69, 0xFE, 0x58}};
inline constexpr IID IID_IOrvM = {0x5D29A6B0, 0xD112, 0x11D4, {0xB9, 0x7F, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvMonthList = {0x072D0113, 0xD000, 0x11D4, {0xB9, 0x7F, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvMTrace = {0xE261E5A3, 0x392E, 0x11D4, {0xB9, 0x1A, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvDepPeriod = {0x6D7F8261, 0x501B, 0x493E, {0x98, 0xC7, 0xA6, 0x7F, 0x2A, 0x21, 0x31, 0x58}};

// The month object serves two custom interfaces, IOrvMonth (totals, lists,
// calculation) and IOrvM (record-level fields), and one dual interface,
// IOrvMonthDisp, that carries the members of both under the same names: first
// those of IOrvMonth, then those of IOrvM. The lists below are expanded in
// each; the dispids in brackets are those of IOrvMonthDisp.
#define ORV_IORVMONTH_MEMBERS                                                                    \
    virtual HRESULT get_FactDays(SHORT* pVal) = 0;                 /* [1] */                     \
    virtual HRESULT put_FactDays(SHORT newVal) = 0;                                              \
    virtual HRESULT get_FactHours(LONG* pVal) = 0;                 /* [2] */                     \
    virtual HRESULT put_FactHours(LONG newVal) = 0;                                              \
    virtual HRESULT get_MonthDate(DATE* pVal) = 0;                 /* [3] */                     \
    virtual HRESULT put_MonthDate(DATE newVal) = 0;                                              \
    virtual HRESULT get_AlwaysTaxedSum(CY* pVal) = 0;              /* [4] */                     \
    virtual HRESULT put_AlwaysTaxedSum(CY newVal) = 0;                                           \
    virtual HRESULT get_SumForTax(CY* pVal) = 0;                   /* [5] */                     \
    virtual HRESULT put_SumForTax(CY newVal) = 0;                                                \
    virtual HRESULT get_TotalIncome2(CY* pVal) = 0;                /* [6] */                     \
    virtual HRESULT put_TotalIncome2(CY newVal) = 0;                                             \
    virtual HRESULT get_TotalTax2(CY* pVal) = 0;                   /* [7] */                     \
    virtual HRESULT put_TotalTax2(CY newVal) = 0;                                                \
    virtual HRESULT get_CurrentTax2(CY* pVal) = 0;                 /* [8] */                     \
    virtual HRESULT put_CurrentTax2(CY newVal) = 0;                                              \
    virtual HRESULT get_TotalIncome3(CY* pVal) = 0;                /* [9] */                     \
    virtual HRESULT put_TotalIncome3(CY newVal) = 0;                                             \
    virtual HRESULT get_TotalTax3(CY* pVal) = 0;                   /* [10] */                    \
    virtual HRESULT put_TotalTax3(CY newVal) = 0;                                                \
    virtual HRESULT get_CurrentTax3(CY* pVal) = 0;                 /* [11] */                    \
    virtual HRESULT put_CurrentTax3(CY newVal) = 0;                                              \
    virtual HRESULT get_TotalIncome4(CY* pVal) = 0;                /* [12] */                    \
    virtual HRESULT put_TotalIncome4(CY newVal) = 0;                                             \
    virtual HRESULT get_TotalTax4(CY* pVal) = 0;                   /* [13] */                    \
    virtual HRESULT put_TotalTax4(CY newVal) = 0;                                                \
    virtual HRESULT get_CurrentTax4(CY* pVal) = 0;                 /* [14] */                    \
    virtual HRESULT put_CurrentTax4(CY newVal) = 0;                                              \
    virtual HRESULT get_AllowedSumDiscount(CY* pVal) = 0;          /* [15] */                    \
    virtual HRESULT put_AllowedSumDiscount(CY newVal) = 0;                                       \
    virtual HRESULT get_CurPodarkiDiscount(CY* pVal) = 0;          /* [16] */                    \
    virtual HRESULT put_CurPodarkiDiscount(CY newVal) = 0;                                       \
    virtual HRESULT get_CurMedicineDiscount(CY* pVal) = 0;         /* [17] */                    \
    virtual HRESULT put_CurMedicineDiscount(CY newVal) = 0;                                      \
    virtual HRESULT get_CurMaterialkaDiscount(CY* pVal) = 0;       /* [18] */                    \
    virtual HRESULT put_CurMaterialkaDiscount(CY newVal) = 0;                                    \
    virtual HRESULT get_CurSumDiscount(CY* pVal) = 0;              /* [19] */                    \
    virtual HRESULT put_CurSumDiscount(CY newVal) = 0;                                           \
    virtual HRESULT get_TotalSumDiscount(CY* pVal) = 0;            /* [20] */                    \
    virtual HRESULT put_TotalSumDiscount(CY newVal) = 0;                                         \
    virtual HRESULT get_TotalPodarkiDiscounts(CY* pVal) = 0;       /* [21] */                    \
    virtual HRESULT put_TotalPodarkiDiscounts(CY newVal) = 0;                                    \
    virtual HRESULT get_TotalMedicineDiscount(CY* pVal) = 0;       /* [22] */                    \
    virtual HRESULT put_TotalMedicineDiscount(CY newVal) = 0;                                    \
    virtual HRESULT get_TotalMaterialkaDiscounts(CY* pVal) = 0;    /* [23] */                    \
    virtual HRESULT put_TotalMaterialkaDiscounts(CY newVal) = 0;                                 \
    virtual HRESULT get_RestOfSumDiscount(CY* pVal) = 0;           /* [24] */                    \
    virtual HRESULT put_RestOfSumDiscount(CY newVal) = 0;                                        \
    virtual HRESULT get_TotalPensTax(CY* pVal) = 0;                /* [25] */                    \
    virtual HRESULT put_TotalPensTax(CY newVal) = 0;                                             \
    virtual HRESULT get_TotalIncomeTax(CY* pVal) = 0;              /* [26] */                    \
    virtual HRESULT put_TotalIncomeTax(CY newVal) = 0;                                           \
    virtual HRESULT get_CurrentDiscounts(CY* pVal) = 0;            /* [27] */                    \
    virtual HRESULT put_CurrentDiscounts(CY newVal) = 0;                                         \
    virtual HRESULT get_TotalDiscounts(CY* pVal) = 0;              /* [28] */                    \
    virtual HRESULT put_TotalDiscounts(CY newVal) = 0;                                           \
    virtual HRESULT get_TotalPodarki(CY* pVal) = 0;                /* [29] */                    \
    virtual HRESULT put_TotalPodarki(CY newVal) = 0;                                             \
    virtual HRESULT get_TotalMedicine(CY* pVal) = 0;               /* [30] */                    \
    virtual HRESULT put_TotalMedicine(CY newVal) = 0;                                            \
    virtual HRESULT get_TotalMaterialka(CY* pVal) = 0;             /* [31] */                    \
    virtual HRESULT put_TotalMaterialka(CY newVal) = 0;                                          \
    virtual HRESULT get_TotalCleared(CY* pVal) = 0;                /* [32] */                    \
    virtual HRESULT put_TotalCleared(CY newVal) = 0;                                             \
    virtual HRESULT get_TotalTaxable(CY* pVal) = 0;                /* [33] */                    \
    virtual HRESULT put_TotalTaxable(CY newVal) = 0;                                             \
    virtual HRESULT get_MonthRecord(BSTR* pVal) = 0;               /* [34] */                    \
    virtual HRESULT put_MonthRecord(BSTR newVal) = 0;                                            \
    virtual HRESULT get_SumList(IUnknown** pVal) = 0;              /* [35] */                    \
    virtual HRESULT put_SumList(IUnknown* newVal) = 0;                                           \
    virtual HRESULT get_PayList(IUnknown** pVal) = 0;              /* [36] */                    \
    virtual HRESULT put_PayList(IUnknown* newVal) = 0;                                           \
    virtual HRESULT get_MTraceList(IUnknown** pVal) = 0;           /* [37] */                    \
    virtual HRESULT put_MTraceList(IUnknown* newVal) = 0;                                        \
    virtual HRESULT get_NormDays(LONG* pVal) = 0;                  /* [38] */                    \
    virtual HRESULT put_NormDays(LONG newVal) = 0;                                               \
    virtual HRESULT get_NormHours(LONG* pVal) = 0;                 /* [39] */                    \
    virtual HRESULT put_NormHours(LONG newVal) = 0;                                              \
    virtual HRESULT get_NormOtDays(SHORT* pVal) = 0;               /* [40] */                    \
    virtual HRESULT put_NormOtDays(SHORT newVal) = 0;                                            \
    virtual HRESULT get_CurPhotoPayList(IUnknown** pVal) = 0;      /* [41] */                    \
    virtual HRESULT put_CurPhotoPayList(IUnknown* newVal) = 0;                                   \
    virtual HRESULT get_PhotoPayList(IUnknown** pVal) = 0;         /* [42] */                    \
    virtual HRESULT put_PhotoPayList(IUnknown* newVal) = 0;                                      \
    virtual HRESULT CalculateMonthSums(IUnknown* punkMrotTable, IUnknown* punkOrvConfig, VARIANT vtPrevMonth) = 0; /* [43] */

#define ORV_IORVM_MEMBERS                                                                        \
    virtual HRESULT get_MDate(DATE* pVal) = 0;                     /* [44] */                    \
    virtual HRESULT put_MDate(DATE newVal) = 0;                                                  \
    virtual HRESULT get_RecordCondition(LONG* pVal) = 0;           /* [45] */                    \
    virtual HRESULT put_RecordCondition(LONG newVal) = 0;                                        \
    virtual HRESULT get_dbk(ULONG* pVal) = 0;                      /* [46] */                    \
    virtual HRESULT put_dbk(ULONG newVal) = 0;                                                   \
    virtual HRESULT get_msbl(CY* pVal) = 0;                        /* [47] */                    \
    virtual HRESULT put_msbl(CY newVal) = 0;                                                     \
    virtual HRESULT get_msot(CY* pVal) = 0;                        /* [48] */                    \
    virtual HRESULT put_msot(CY newVal) = 0;                                                     \
    virtual HRESULT get_msor(CY* pVal) = 0;                        /* [49] */                    \
    virtual HRESULT put_msor(CY newVal) = 0;                                                     \
    virtual HRESULT get_msxx(CY* pVal) = 0;                        /* [50] */                    \
    virtual HRESULT put_msxx(CY newVal) = 0;                                                     \
    virtual HRESULT get_msres1(CY* pVal) = 0;                      /* [51] */                    \
    virtual HRESULT put_msres1(CY newVal) = 0;                                                   \
    virtual HRESULT get_msres2(CY* pVal) = 0;                      /* [52] */                    \
    virtual HRESULT put_msres2(CY newVal) = 0;                                                   \
    virtual HRESULT get_msdayf(LONG* pVal) = 0;                    /* [53] */                    \
    virtual HRESULT put_msdayf(LONG newVal) = 0;                                                 \
    virtual HRESULT get_msday(LONG* pVal) = 0;                     /* [54] */                    \
    virtual HRESULT put_msday(LONG newVal) = 0;                                                  \
    virtual HRESULT get_msres3(LONG* pVal) = 0;                    /* [55] */                    \
    virtual HRESULT put_msres3(LONG newVal) = 0;                                                 \
    virtual HRESULT get_msres4(LONG* pVal) = 0;                    /* [56] */                    \
    virtual HRESULT put_msres4(LONG newVal) = 0;                                                 \
    virtual HRESULT get_mfl2(LONG* pVal) = 0;                      /* [57] */                    \
    virtual HRESULT put_mfl2(LONG newVal) = 0;                                                   \
    virtual HRESULT get_mfl(LONG* pVal) = 0;                       /* [58] */                    \
    virtual HRESULT put_mfl(LONG newVal) = 0;                                                    \
    virtual HRESULT get_SumCollector(LONG nIndex, CY* pVal) = 0;   /* [59] */                    \
    virtual HRESULT put_SumCollector(LONG nIndex, CY newVal) = 0;                                \
    virtual HRESULT get_msyy(CY* pVal) = 0;                        /* [60] */                    \
    virtual HRESULT put_msyy(CY newVal) = 0;                                                     \
    virtual HRESULT get_NormDaysOnOkPeriods(LONG* pVal) = 0;       /* [61] */                    \
    virtual HRESULT put_NormDaysOnOkPeriods(LONG newVal) = 0;                                    \
    virtual HRESULT get_NormHoursOnOkPeriods(LONG* pVal) = 0;      /* [62] */                    \
    virtual HRESULT put_NormHoursOnOkPeriods(LONG newVal) = 0;                                   \
    virtual HRESULT get_Rate(CY* pVal) = 0;                        /* [63] */                    \
    virtual HRESULT put_Rate(CY newVal) = 0;                                                     \
    virtual HRESULT get_HolHours2Deduct(LONG* pVal) = 0;           /* [64] */                    \
    virtual HRESULT put_HolHours2Deduct(LONG newVal) = 0;                                        \
    virtual HRESULT get_ScLgType(SHORT* pVal) = 0;                 /* [65] */                    \
    virtual HRESULT put_ScLgType(SHORT newVal) = 0;                                              \
    virtual HRESULT get_FrgnStatus(LONG* pVal) = 0;                /* [66] */                    \
    virtual HRESULT put_FrgnStatus(LONG newVal) = 0;                                             \
    virtual HRESULT WriteTraceSum(LONG nIndex, CY cySum) = 0;      /* [67] */

// Custom interface: 85 members, slots 3 to 87.
struct IOrvMonth : IUnknown {
    ORV_IORVMONTH_MEMBERS
};
ORV_DECLARE_IID(IOrvMonth);

// Custom interface: 47 members, slots 3 to 49.
struct IOrvM : IUnknown {
    ORV_IORVM_MEMBERS
};
ORV_DECLARE_IID(IOrvM);

// Dual interface: 132 members, slots 7 to 138.
struct IOrvMonthDisp : IDispatch {
    ORV_IORVMONTH_MEMBERS
    ORV_IORVM_MEMBERS
};
ORV_DECLARE_IID(IOrvMonthDisp);
ORV_TYPEINFO_DECL(IOrvMonthDisp);

// The months of one employee, ordered by month date (dual, dispids in brackets).
struct IOrvMonthList : IDispatch {
    virtual HRESULT FindMonth(DATE dtMonthDate, IUnknown** ppunkMonth) = 0;                 // [1]
    virtual HRESULT BuildList(LONG lPipeId, DATE dtStart, DATE dtStop, IUnknown* punkOrvSotr,
                              IUnknown* punkOrvBD) = 0;                                     // [2]
    virtual HRESULT get_FirstMonth(IUnknown** pVal) = 0;                                    // [3]
    virtual HRESULT get_LastMonth(IUnknown** pVal) = 0;                                     // [4]
    virtual HRESULT Size(LONG* plSize) = 0;                                                 // [5]
    virtual HRESULT Reset2() = 0;                                                           // [6]
    virtual HRESULT get_Next2(IUnknown** pVal) = 0;                                         // [7]
    virtual HRESULT GetTaxBasesBeforeLimiting(DATE dtYearStart, DATE dtFirstExcludedMonth,
                                              CY cyTotalBaseWithExcludedMonth, CY cyTotalLgBaseWithExclMonth,
                                              CY cyLimit, LONG iTaxId, CY* pcyNormalBase,
                                              CY* pcyLgBase) = 0;                           // [8]
    virtual HRESULT CalcSnTaxOnDate(DATE dtYearStart, DATE OnDate, IUnknown* pTaxTable, LONG lFundId, LONG lSex,
                                    LONG lBithYear, CY* pcyTax) = 0;                        // [9]
};
ORV_DECLARE_IID(IOrvMonthList);
ORV_TYPEINFO_DECL(IOrvMonthList);

// One additional record of a payroll month: nineteen sum slots and their named
// views (dual, dispids in brackets; 32 members).
struct IOrvMTrace : IDispatch {
    virtual HRESULT get_MTraceRecord(BSTR* pVal) = 0;              // [1]
    virtual HRESULT put_MTraceRecord(BSTR newVal) = 0;             // [1]
    virtual HRESULT get_T0(LONG* pVal) = 0;                        // [2]
    virtual HRESULT put_T0(LONG newVal) = 0;                       // [2]
    virtual HRESULT get_Sum(LONG Index, CY* pVal) = 0;             // [3]
    virtual HRESULT put_Sum(LONG Index, CY cySum) = 0;             // [3]
    virtual HRESULT get_dbk(ULONG* pVal) = 0;                      // [4]
    virtual HRESULT put_dbk(ULONG newVal) = 0;                     // [4]
    virtual HRESULT get_RecordCondition(LONG* pVal) = 0;           // [5]
    virtual HRESULT put_RecordCondition(LONG newVal) = 0;          // [5]
    virtual HRESULT get_Id(LONG* pVal) = 0;                        // [6]
    virtual HRESULT put_Id(LONG newVal) = 0;                       // [6]
    virtual HRESULT get_T1(LONG* pVal) = 0;                        // [7]
    virtual HRESULT put_T1(LONG newVal) = 0;                       // [7]
    virtual HRESULT get_trSum1(CY* pVal) = 0;                      // [8]
    virtual HRESULT put_trSum1(CY newVal) = 0;                     // [8]
    virtual HRESULT get_trSum2Reset(CY* pVal) = 0;                 // [9]
    virtual HRESULT put_trSum2Reset(CY newVal) = 0;                // [9]
    virtual HRESULT get_trSum2Revers(CY* pVal) = 0;                // [10]
    virtual HRESULT put_trSum2Revers(CY newVal) = 0;               // [10]
    virtual HRESULT get_trSum3Reset(CY* pVal) = 0;                 // [11]
    virtual HRESULT put_trSum3Reset(CY newVal) = 0;                // [11]
    virtual HRESULT get_trDatReserv1(LONG* pVal) = 0;              // [12]
    virtual HRESULT put_trDatReserv1(LONG newVal) = 0;             // [12]
    virtual HRESULT get_trDatReserv2(LONG* pVal) = 0;              // [13]
    virtual HRESULT put_trDatReserv2(LONG newVal) = 0;             // [13]
    virtual HRESULT get_trLong(LONG nIndex, LONG* pVal) = 0;       // [14]
    virtual HRESULT put_trLong(LONG nIndex, LONG newVal) = 0;      // [14]
    virtual HRESULT get_trSum3Revers(CY* pVal) = 0;                // [15]
    virtual HRESULT put_trSum3Revers(CY newVal) = 0;               // [15]
    virtual HRESULT get_HiWordsTrace(IUnknown** pVal) = 0;         // [16]
    virtual HRESULT put_HiWordsTrace(IUnknown* newVal) = 0;        // [16]
};
ORV_DECLARE_IID(IOrvMTrace);
ORV_TYPEINFO_DECL(IOrvMTrace);

// The same trace record read as a period of work in a department (custom,
// 41 members, slots 3 to 43).
struct IOrvDepPeriod : IUnknown {
    virtual HRESULT get_T0(LONG* pVal) = 0;
    virtual HRESULT put_T0(LONG newVal) = 0;
    virtual HRESULT get_RecordCondition(LONG* pVal) = 0;
    virtual HRESULT put_RecordCondition(LONG newVal) = 0;
    virtual HRESULT get_Id(LONG* pVal) = 0;
    virtual HRESULT put_Id(LONG newVal) = 0;
    virtual HRESULT get_T1(LONG* pVal) = 0;
    virtual HRESULT put_T1(LONG newVal) = 0;
    virtual HRESULT get_dtDn(DATE* pVal) = 0;
    virtual HRESULT put_dtDn(DATE newVal) = 0;
    virtual HRESULT get_dtDk(DATE* pVal) = 0;
    virtual HRESULT put_dtDk(DATE newVal) = 0;
    virtual HRESULT get_Days5(LONG* pVal) = 0;
    virtual HRESULT put_Days5(LONG newVal) = 0;
    virtual HRESULT get_Hours5(LONG* pVal) = 0;
    virtual HRESULT put_Hours5(LONG newVal) = 0;
    virtual HRESULT get_Days6(LONG* pVal) = 0;
    virtual HRESULT put_Days6(LONG newVal) = 0;
    virtual HRESULT get_Hours6(LONG* pVal) = 0;
    virtual HRESULT put_Hours6(LONG newVal) = 0;
    virtual HRESULT get_Days(LONG* pVal) = 0;
    virtual HRESULT put_Days(LONG newVal) = 0;
    virtual HRESULT get_Hours(LONG* pVal) = 0;
    virtual HRESULT put_Hours(LONG newVal) = 0;
    virtual HRESULT get_CalendarDays(LONG* pVal) = 0;
    virtual HRESULT put_CalendarDays(LONG newVal) = 0;
    virtual HRESULT get_NormDays5(LONG* pVal) = 0;
    virtual HRESULT put_NormDays5(LONG newVal) = 0;
    virtual HRESULT get_NormHours5(LONG* pVal) = 0;
    virtual HRESULT put_NormHours5(LONG newVal) = 0;
    virtual HRESULT get_NormDays6(LONG* pVal) = 0;
    virtual HRESULT put_NormDays6(LONG newVal) = 0;
    virtual HRESULT get_NormHours(LONG* pVal) = 0;
    virtual HRESULT put_NormHours(LONG newVal) = 0;
    virtual HRESULT get_NormDays(LONG* pVal) = 0;
    virtual HRESULT put_NormDays(LONG newVal) = 0;
    virtual HRESULT get_NormHours6(LONG* pVal) = 0;
    virtual HRESULT put_NormHours6(LONG newVal) = 0;
    virtual HRESULT get_NormCalendarDays(LONG* pVal) = 0;
    virtual HRESULT put_NormCalendarDays(LONG newVal) = 0;
    // Fills the department, position and grade on the record's end date from the
    // employee object; pPositionName stays empty.
    virtual HRESULT GetDepAndPosition(LONG lPipeId, IUnknown* punkSotr, LONG* pDepNum, LONG* pPositionId,
                                      LONG* pRazryad, BSTR* pPositionName, DATE* pOnDate) = 0;
};
ORV_DECLARE_IID(IOrvDepPeriod);
