// Interfaces of the settings and option objects: the settings object of the
// database service with its dated settings and its currency conversion, the
// option and configuration objects a host hands in, and the salary-grade
// tariff table with its grade entries.
//
// Each member is commented with its vtable slot (0 to 2 are IUnknown's, 3 to
// 6 IDispatch's in a dual interface) and, where the library calls it, the byte
// offset of that slot in a 32-bit vtable and what the library relies on. The
// members the library does not call keep those slots filled; their meaning is
// this implementation's own (docs/outside.md).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvSettings = {0x53EB5503, 0xEC1A, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvShortSetting = {0x53EB5507, 0xEC1A, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvDatedOption = {0x53EB5509, 0xEC1A, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvDateSetting = {0x53EB550B, 0xEC1A, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvListSetting = {0x53EB550F, 0xEC1A, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvConfig = {0x9DA35829, 0x975D, 0x11D3, {0xB8, 0xE4, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvCurrencyService = {0x3B40B9F1, 0x1797, 0x11D4, {0xB9, 0x11, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvTariffTable = {0xD3238700, 0xD599, 0x11D4, {0xB9, 0x81, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvGradeEntry = {0x57128BC6, 0x5FD2, 0x11D4, {0xB9, 0x4B, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The settings object (dual), reached through IOrvDatabase::get_Settings.
// Settings are numbered; each answers the interface of its value type.
struct IOrvSettings : IDispatch {
    virtual HRESULT get_Count(LONG* pVal) = 0;  // slot 7
    // slot 8 (byte offset 0x20): setting lId (773, 475, 647, 506 are read by
    // the library); it answers IOrvShortSetting, IOrvDateSetting or IOrvListSetting.
    virtual HRESULT get_Setting(LONG lId, IUnknown** ppunkSetting) = 0;
};
ORV_DECLARE_IID(IOrvSettings);
ORV_TYPEINFO_DECL(IOrvSettings);

// A setting whose value is a 16-bit number in force from a date on (dual).
struct IOrvShortSetting : IDispatch {
    virtual HRESULT get_Id(LONG* pVal) = 0;  // slot 7
    // slot 8 (byte offset 0x20): the value in force on dtOnDate.
    virtual HRESULT get_Value(DATE dtOnDate, SHORT* pVal) = 0;
};
ORV_DECLARE_IID(IOrvShortSetting);
ORV_TYPEINFO_DECL(IOrvShortSetting);

// An option whose value in force on a date is a variant (dual): the
// minimum-wage table (a currency), the central bank rate (a percentage).
struct IOrvDatedOption : IDispatch {
    virtual HRESULT get_Id(LONG* pVal) = 0;  // slot 7
    // slot 8 (byte offset 0x20): the value in force on dtOnDate.
    virtual HRESULT get_Value(DATE dtOnDate, VARIANT* pVal) = 0;
};
ORV_DECLARE_IID(IOrvDatedOption);
ORV_TYPEINFO_DECL(IOrvDatedOption);

// A setting whose value is a date in force from a date on (dual).
struct IOrvDateSetting : IDispatch {
    virtual HRESULT get_Id(LONG* pVal) = 0;  // slot 7
    // slot 8 (byte offset 0x20): the value in force on dtOnDate (0 for none).
    virtual HRESULT get_Value(DATE dtOnDate, DATE* pVal) = 0;
};
ORV_DECLARE_IID(IOrvDateSetting);
ORV_TYPEINFO_DECL(IOrvDateSetting);

// A setting whose value is a list of values, the list in force changing from
// date to date (dual). Each period starts at a date and holds its own list.
struct IOrvListSetting : IDispatch {
    virtual HRESULT get_Id(LONG* pVal) = 0;                                    // slot 7
    virtual HRESULT get_Name(BSTR* pVal) = 0;                                  // slot 8
    virtual HRESULT get_PeriodCount(LONG* pVal) = 0;                           // slot 9
    virtual HRESULT get_PeriodStart(LONG lPeriod, DATE* pVal) = 0;             // slot 10
    virtual HRESULT AddValue(DATE dtFrom, VARIANT vValue) = 0;                 // slot 11
    virtual HRESULT Clear() = 0;                                               // slot 12
    // slot 13 (byte offset 0x34): how many values are in force on dtOnDate.
    virtual HRESULT get_Count(DATE dtOnDate, LONG* pVal) = 0;
    // slot 14 (byte offset 0x38): value lIndex (0-based) of those in force on dtOnDate.
    virtual HRESULT get_Item(LONG lIndex, DATE dtOnDate, VARIANT* pVal) = 0;
};
ORV_DECLARE_IID(IOrvListSetting);
ORV_TYPEINFO_DECL(IOrvListSetting);

// The application's configuration object (dual).
struct IOrvConfig : IDispatch {
    virtual HRESULT get_OrganizationName(BSTR* pVal) = 0;  // slot 7
    virtual HRESULT get_OrganizationInn(BSTR* pVal) = 0;   // slot 8
    virtual HRESULT get_DataPath(BSTR* pVal) = 0;          // slot 9
    virtual HRESULT get_WorkMonth(DATE* pVal) = 0;         // slot 10
    virtual HRESULT put_WorkMonth(DATE newVal) = 0;        // slot 11
    // slot 12 (byte offset 48): the minimum wage in force on dtOnDate.
    virtual HRESULT get_MinimumWage(DATE dtOnDate, CY* pVal) = 0;
};
ORV_DECLARE_IID(IOrvConfig);
ORV_TYPEINFO_DECL(IOrvConfig);

// Currency conversion (dual), served by the settings object.
struct IOrvCurrencyService : IDispatch {
    virtual HRESULT get_BaseCurrency(LONG* pVal) = 0;                                     // slot 7
    virtual HRESULT GetCurrencyName(LONG lCurrencyId, BSTR* pbstrName) = 0;               // slot 8
    virtual HRESULT GetRate(LONG lPipeId, LONG lCurrencyId, DATE dtOnDate, CY* pcyRate) = 0;  // slot 9
    // slot 10 (byte offset 0x28): cyAmount in currency lCurrencyId converted at
    // the rate of dtRate; lMode 1 with the day number lDay, mode 0 with day 0.
    // The library uses *pcyResult and discards *pbstrText.
    virtual HRESULT Convert(LONG lPipeId, DATE dtRate, CY cyAmount, LONG lCurrencyId, LONG lMode, LONG lDay,
                            BSTR* pbstrText, CY* pcyResult) = 0;
};
ORV_DECLARE_IID(IOrvCurrencyService);
ORV_TYPEINFO_DECL(IOrvCurrencyService);

// The salary-grade tariff table (custom).
struct IOrvTariffTable : IUnknown {
    // slot 3: the base nominal in force on dtOnDate (0 when there is none).
    virtual HRESULT GetNominal(DATE dtOnDate, CY* pcyNominal) = 0;
    virtual HRESULT GetGradeCount(DATE dtOnDate, LONG* plCount) = 0;  // slot 4
    // slot 5: the entry of grade lGrade in force on dtOnDate (IOrvGradeEntry), or null.
    virtual HRESULT GetGrade(DATE dtOnDate, LONG lGrade, IUnknown** ppunkEntry) = 0;
};
ORV_DECLARE_IID(IOrvTariffTable);

// One grade of the tariff table (dual).
struct IOrvGradeEntry : IDispatch {
    // slot 7: the factor applied to the nominal, as a currency value (1.5 multiplies by 1.5).
    virtual HRESULT get_Coefficient(CY* pVal) = 0;
    virtual HRESULT put_Coefficient(CY newVal) = 0;  // slot 8
    // slot 9: non-zero rounds amounts up to the next whole unit, zero to the nearest.
    virtual HRESULT get_RoundUp(LONG* pVal) = 0;
    virtual HRESULT put_RoundUp(LONG newVal) = 0;    // slot 10
    virtual HRESULT get_Grade(LONG* pVal) = 0;       // slot 11
    virtual HRESULT put_Grade(LONG newVal) = 0;      // slot 12
    // slot 13: a fixed sum that replaces nominal x coefficient when not 0.
    virtual HRESULT get_FixedSum(CY* pVal) = 0;
};
ORV_DECLARE_IID(IOrvGradeEntry);
ORV_TYPEINFO_DECL(IOrvGradeEntry);
