// The timesheet (type code 336): the work-time schedule of an employee by
// calendar weeks, the norms of three shifts, the clock times after which work
// counts at higher rates, and the summary of hours by kind of day and shift.
//
// Clock times and durations are floats in hours.minutes notation (8.30 is
// 8 h 30 min). The body, in the order written:
//
//   <TCDOCEX NORMA_TOTAL=".." HOUR_150=".." HOUR_200=".." WEEKS="declared weeks">
//     <SMENA NWD=".." EWD=".." NL=".." EL=".."/>            shifts 1, 2, 3
//     <WEEK WS="date" WE="date">                              each week in order
//       <DAY NWD=".." EWD=".." NL=".." EL=".." DT="kind"/>    days 0 to 6
//     </WEEK>
//   </TCDOCEX>
//
// The memo is held with the object only. Index errors give E_POINTER.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_grade_timesheet.h>

#include <array>
#include <string>
#include <vector>

namespace orv {

// Time arithmetic in hours.minutes notation.
namespace clock {
struct HoursMinutes {
    LONG hours;
    LONG minutes;
};
// round(t x 100): hours = the whole / 100, minutes = the remainder.
HoursMinutes Split(float t) noexcept;
// a - b, minutes borrowing an hour when negative.
float Difference(float a, float b) noexcept;
// a + b, minutes carried into hours.
float Sum(float a, float b) noexcept;
}  // namespace clock

class OrvTCDoc : public ExtensionKind<OrvTCDoc, &CLSID_OrvTCDoc, IOrvTCDoc, IDispatch> {
public:
    static constexpr const OLECHAR* kRoot = u"TCDOCEX";
    static constexpr int kShifts = 3;
    static constexpr int kDays = 7;
    static constexpr int kDayKinds = 3;

    struct Week {
        DATE start = 0.0;
        DATE end = 0.0;
        std::array<float, kDays> workStart{};
        std::array<float, kDays> workEnd{};
        std::array<float, kDays> lunchStart{};
        std::array<float, kDays> lunchEnd{};
        std::array<SHORT, kDays> dayType{};
    };

    struct Shift {
        float workStart = 0.0f;
        float workEnd = 0.0f;
        float lunchStart = 0.0f;
        float lunchEnd = 0.0f;
    };

    // The data kept in the body.
    struct Schedule {
        std::vector<Week> weeks;
        std::array<Shift, kShifts> shifts{};
        float normTotal = 0.0f;
        float hour150 = 0.0f;
        float hour200 = 0.0f;
        LONG declaredWeeks = 0;
    };

    // The summary: hours by kind of day 0..2 in DAY, ST1 and ST2.
    struct Summary {
        std::array<float, kDayKinds> day{};
        std::array<float, kDayKinds> st1{};
        std::array<float, kDayKinds> st2{};
    };
    // The summary of the schedule's days from start to end (whole days, both
    // included).
    static Summary Summarise(const Schedule& schedule, DATE start, DATE end) noexcept;

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_Memo(BSTR* pVal) override;
    HRESULT put_Memo(BSTR newVal) override;
    HRESULT get_NormWDStart(LONG nSmena, float* pVal) override { return GetNorm(nSmena, &Shift::workStart, pVal); }
    HRESULT put_NormWDStart(LONG nSmena, float newVal) override { return PutNorm(nSmena, &Shift::workStart, newVal); }
    HRESULT get_NormWDEnd(LONG nSmena, float* pVal) override { return GetNorm(nSmena, &Shift::workEnd, pVal); }
    HRESULT put_NormWDEnd(LONG nSmena, float newVal) override { return PutNorm(nSmena, &Shift::workEnd, newVal); }
    HRESULT get_NormLunchStart(LONG nSmena, float* pVal) override { return GetNorm(nSmena, &Shift::lunchStart, pVal); }
    HRESULT put_NormLunchStart(LONG nSmena, float newVal) override { return PutNorm(nSmena, &Shift::lunchStart, newVal); }
    HRESULT get_NormLunchEnd(LONG nSmena, float* pVal) override { return GetNorm(nSmena, &Shift::lunchEnd, pVal); }
    HRESULT put_NormLunchEnd(LONG nSmena, float newVal) override { return PutNorm(nSmena, &Shift::lunchEnd, newVal); }
    HRESULT get_NormTotalHours(float* pVal) override { return GetValue(&Schedule::normTotal, pVal); }
    HRESULT put_NormTotalHours(float newVal) override { return PutValue(&Schedule::normTotal, newVal); }
    HRESULT get_WDStart(LONG nWeek, LONG nDay, float* pVal) override { return GetDay(nWeek, nDay, &Week::workStart, pVal); }
    HRESULT put_WDStart(LONG nWeek, LONG nDay, float newVal) override { return PutDay(nWeek, nDay, &Week::workStart, newVal); }
    HRESULT get_WDEnd(LONG nWeek, LONG nDay, float* pVal) override { return GetDay(nWeek, nDay, &Week::workEnd, pVal); }
    HRESULT put_WDEnd(LONG nWeek, LONG nDay, float newVal) override { return PutDay(nWeek, nDay, &Week::workEnd, newVal); }
    HRESULT get_LunchStart(LONG nWeek, LONG nDay, float* pVal) override { return GetDay(nWeek, nDay, &Week::lunchStart, pVal); }
    HRESULT put_LunchStart(LONG nWeek, LONG nDay, float newVal) override { return PutDay(nWeek, nDay, &Week::lunchStart, newVal); }
    HRESULT get_LunchEnd(LONG nWeek, LONG nDay, float* pVal) override { return GetDay(nWeek, nDay, &Week::lunchEnd, pVal); }
    HRESULT put_LunchEnd(LONG nWeek, LONG nDay, float newVal) override { return PutDay(nWeek, nDay, &Week::lunchEnd, newVal); }
    HRESULT get_DayType(LONG nWeek, LONG nDay, SHORT* pVal) override { return GetDay(nWeek, nDay, &Week::dayType, pVal); }
    HRESULT put_DayType(LONG nWeek, LONG nDay, SHORT newVal) override { return PutDay(nWeek, nDay, &Week::dayType, newVal); }
    HRESULT get_Weeks(LONG* pVal) override;
    HRESULT put_Weeks(LONG newVal) override { return PutValue(&Schedule::declaredWeeks, newVal); }
    HRESULT get_Hour150(float* pVal) override { return GetValue(&Schedule::hour150, pVal); }
    HRESULT put_Hour150(float newVal) override { return PutValue(&Schedule::hour150, newVal); }
    HRESULT get_Hour200(float* pVal) override { return GetValue(&Schedule::hour200, pVal); }
    HRESULT put_Hour200(float newVal) override { return PutValue(&Schedule::hour200, newVal); }
    HRESULT GetTotalHours(BSTR* pVal, DATE dtStart, DATE dtEnd) override;
    HRESULT get_WeekStart(LONG nWeek, DATE* pVal) override { return GetBound(nWeek, &Week::start, pVal); }
    HRESULT put_WeekStart(LONG nWeek, DATE newVal) override { return PutBound(nWeek, &Week::start, newVal); }
    HRESULT get_WeekEnd(LONG nWeek, DATE* pVal) override { return GetBound(nWeek, &Week::end, pVal); }
    HRESULT put_WeekEnd(LONG nWeek, DATE newVal) override { return PutBound(nWeek, &Week::end, newVal); }

    // The week that a put with index nWeek writes: week nWeek when the list
    // holds it, else a new zero-filled week appended at the end.
    static Week& WeekToWrite(std::vector<Week>& weeks, LONG nWeek);

private:
    static bool IsShift(LONG n) noexcept { return n >= 1 && n <= kShifts; }
    static bool IsDay(LONG n) noexcept { return n >= 0 && n < kDays; }

    template <class T>
    HRESULT GetValue(T Schedule::*field, T* pVal);
    template <class T>
    HRESULT PutValue(T Schedule::*field, T value);
    HRESULT GetNorm(LONG shift, float Shift::*field, float* pVal);
    HRESULT PutNorm(LONG shift, float Shift::*field, float value);
    template <class T>
    HRESULT GetDay(LONG week, LONG day, std::array<T, kDays> Week::*field, T* pVal);
    template <class T>
    HRESULT PutDay(LONG week, LONG day, std::array<T, kDays> Week::*field, T value);
    HRESULT GetBound(LONG week, DATE Week::*field, DATE* pVal);
    HRESULT PutBound(LONG week, DATE Week::*field, DATE value);

    Schedule schedule_;
    Summary summary_;
    std::u16string memo_;
};

}  // namespace orv
