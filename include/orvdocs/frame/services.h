// Interfaces of the outside components the library creates by class
// identifier: the date service, the message service, the sum collector and the
// outside specific document of type code 410.
//
// Each member is commented with its vtable slot (0 to 2 are IUnknown's, 3 to
// 6 IDispatch's) and, where the library calls it, the byte offset of that slot
// in a 32-bit vtable and what the library relies on. The members the library
// does not call keep those slots filled; their meaning is this
// implementation's own (docs/outside.md).
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvDateService = {0x6D8F1553, 0x9760, 0x11D3, {0xB8, 0xE4, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvDateService = {0x6D8F1554, 0x9760, 0x11D3, {0xB8, 0xE4, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvMessageService = {0x7A645FA8, 0xEB58, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvMessageService = {0x7A645FA9, 0xEB58, 0x11D3, {0xB9, 0x06, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvSumCollector = {0x75AAFDB3, 0xCE6D, 0x11D4, {0xB9, 0x7E, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr CLSID CLSID_OrvSumCollector = {0x75AAFDB4, 0xCE6D, 0x11D4, {0xB9, 0x7E, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvOutsideDoc = {0x3ABAD66F, 0xBEA6, 0x48B5, {0x84, 0x28, 0x8B, 0xDF, 0x9F, 0x0B, 0xAD, 0xF8}};
inline constexpr CLSID CLSID_OrvOutsideDoc = {0x9471DD35, 0x1340, 0x4BC4, {0x8A, 0x01, 0x8E, 0xC1, 0x06, 0x77, 0xC8, 0x50}};

// Calendar operations (dual). A day number counts days after 1960-12-31
// (automation date = day number + 22281); 0 is no date and gives 0.
struct IOrvDateService : IDispatch {
    virtual HRESULT DateToDay(DATE dt, LONG* plDay) = 0;                                   // slot 7
    virtual HRESULT DayToDate(LONG lDay, DATE* pdt) = 0;                                   // slot 8
    virtual HRESULT get_Today(LONG* plDay) = 0;                                            // slot 9
    virtual HRESULT MakeDay(SHORT shYear, SHORT shMonth, SHORT shDay, LONG* plDay) = 0;    // slot 10
    virtual HRESULT SplitDay(LONG lDay, SHORT* pshYear, SHORT* pshMonth, SHORT* pshDay) = 0;  // slot 11
    virtual HRESULT DayOfWeek(LONG lDay, SHORT* pshWeekDay) = 0;                           // slot 12
    // slot 13 (byte offset 0x34): the display text of a day.
    virtual HRESULT DayToText(LONG lDay, BSTR* pbstrText) = 0;
    // slot 14 (byte offset 0x38): the first day of the day's year.
    virtual HRESULT YearStart(LONG lDay, SHORT* pshDay) = 0;
    // slot 15 (byte offset 0x3C): an ordinal of the day's month; consecutive
    // months have consecutive ordinals.
    virtual HRESULT MonthOrdinal(LONG lDay, LONG* plOrdinal) = 0;
    // slot 16 (byte offset 0x40): the end of the day's month as an exclusive
    // bound: the first day of the next month (minus one: the month's last day).
    virtual HRESULT MonthEnd(LONG lDay, SHORT* pshDay) = 0;
    // slot 17 (byte offset 0x44): the first day of the day's month.
    virtual HRESULT MonthStart(LONG lDay, SHORT* pshDay) = 0;
    // slot 18 (byte offset 0x48): the end of the day's year as an exclusive
    // bound: the first day of the next year.
    virtual HRESULT YearEnd(LONG lDay, SHORT* pshDay) = 0;
    virtual HRESULT DaysInMonth(LONG lDay, SHORT* pshDays) = 0;                            // slot 19
    virtual HRESULT TextToDay(BSTR bstrText, LONG* plDay) = 0;                             // slot 20
    virtual HRESULT MonthToText(LONG lDay, BSTR* pbstrText) = 0;                           // slot 21
    virtual HRESULT AddMonthsToDay(LONG lDay, LONG lMonths, LONG* plDay) = 0;              // slot 22
    virtual HRESULT DaysBetween(LONG lDayFrom, LONG lDayTo, LONG* plDays) = 0;             // slot 23
    // slot 24 (byte offset 0x60): the first day of the month that the date
    // closes (the month holding the day before it), as a date: for an
    // exclusive month end as slot 16 gives, the month that ends there.
    virtual HRESULT MonthStartDate(DATE dt, DATE* pdtResult) = 0;
    // slot 25 (byte offset 0x64): the date moved by lShift months.
    virtual HRESULT ShiftDate(DATE dt, LONG lShift, DATE* pdtResult) = 0;
};
ORV_DECLARE_IID(IOrvDateService);
ORV_TYPEINFO_DECL(IOrvDateService);

// Shows messages to the user (dual). The library creates one for each message.
struct IOrvMessageService : IDispatch {
    virtual HRESULT get_Caption(BSTR* pVal) = 0;   // slot 7
    virtual HRESULT put_Caption(BSTR newVal) = 0;  // slot 8
    virtual HRESULT get_Count(LONG* pVal) = 0;     // slot 9: messages shown so far
    // slot 10 (byte offset 0x28): shows the text; the library uses nothing it returns.
    virtual HRESULT ShowMessage(BSTR bstrText) = 0;
};
ORV_DECLARE_IID(IOrvMessageService);
ORV_TYPEINFO_DECL(IOrvMessageService);

// Extra sums of a document (dual). The class also serves IOrvObjAsXmlString:
// it writes and reads itself as the "SMS" element of the document's XML form.
struct IOrvSumCollector : IDispatch {
    virtual HRESULT get_Id(LONG* pVal) = 0;                  // slot 7
    virtual HRESULT put_Id(LONG newVal) = 0;                 // slot 8
    virtual HRESULT get_Count(LONG* pVal) = 0;               // slot 9
    virtual HRESULT get_Sum(LONG lIndex, CY* pVal) = 0;      // slot 10
    virtual HRESULT put_Sum(LONG lIndex, CY newVal) = 0;     // slot 11
    virtual HRESULT get_Total(CY* pVal) = 0;                 // slot 12
    virtual HRESULT Clear() = 0;                             // slot 13
    // slot 14 (byte offset 0x38): an independent copy of the collector.
    virtual HRESULT Clone(IUnknown** ppunkCopy) = 0;
};
ORV_DECLARE_IID(IOrvSumCollector);
ORV_TYPEINFO_DECL(IOrvSumCollector);

// The specific object of a type-410 document (a child of the employee), which
// another component implements (dual).
struct IOrvOutsideDoc : IDispatch {
    virtual HRESULT get_Name(BSTR* pVal) = 0;                   // slot 7
    virtual HRESULT put_Name(BSTR newVal) = 0;                  // slot 8
    virtual HRESULT get_BirthDate(DATE* pVal) = 0;              // slot 9
    virtual HRESULT put_BirthDate(DATE newVal) = 0;             // slot 10
    virtual HRESULT get_BirthYear(LONG* pVal) = 0;              // slot 11
    virtual HRESULT put_BirthYear(LONG newVal) = 0;             // slot 12
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;       // slot 13
    // slot 14 (byte offset 0x38): hands the object its generic document.
    virtual HRESULT put_OrvDocument(IUnknown* newVal) = 0;
};
ORV_DECLARE_IID(IOrvOutsideDoc);
ORV_TYPEINFO_DECL(IOrvOutsideDoc);
