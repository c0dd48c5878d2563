#include "kinds/OrvTCDoc.h"

#include "xml/attributes.h"

#include <algorithm>
#include <cmath>

namespace orv {

// ------------------------------------------------------- time arithmetic

namespace clock {

HoursMinutes Split(float t) noexcept {
    const double scaled = static_cast<double>(t) * 100.0 + 0.5;
    const LONG whole = scaled > -2147483648.0 && scaled < 2147483648.0 ? static_cast<LONG>(scaled) : 0;
    return {whole / 100, whole % 100};
}

namespace {
float Join(LONG hours, LONG minutes) noexcept {
    return static_cast<float>(static_cast<double>(hours + minutes / 60) + static_cast<double>(minutes % 60) / 100.0);
}
}  // namespace

float Difference(float a, float b) noexcept {
    const HoursMinutes x = Split(a);
    const HoursMinutes y = Split(b);
    LONG hours = x.hours - y.hours;
    LONG minutes = x.minutes - y.minutes;
    if (minutes < 0) {
        minutes += 60;
        hours -= 1;
    }
    return Join(hours, minutes);
}

float Sum(float a, float b) noexcept {
    const HoursMinutes x = Split(a);
    const HoursMinutes y = Split(b);
    const LONG minutes = x.minutes + y.minutes;
    return Join(x.hours + y.hours, minutes);
}

}  // namespace clock

namespace {

constexpr const OLECHAR* kNormTotal = u"NORMA_TOTAL";
constexpr const OLECHAR* kHour150 = u"HOUR_150";
constexpr const OLECHAR* kHour200 = u"HOUR_200";
constexpr const OLECHAR* kWeeks = u"WEEKS";
constexpr const OLECHAR* kShift = u"SMENA";
constexpr const OLECHAR* kWeek = u"WEEK";
constexpr const OLECHAR* kWeekStart = u"WS";
constexpr const OLECHAR* kWeekEnd = u"WE";
constexpr const OLECHAR* kDay = u"DAY";
constexpr const OLECHAR* kWorkStart = u"NWD";
constexpr const OLECHAR* kWorkEnd = u"EWD";
constexpr const OLECHAR* kLunchStart = u"NL";
constexpr const OLECHAR* kLunchEnd = u"EL";
constexpr const OLECHAR* kDayType = u"DT";

float ReadFloat(IXMLDOMElement* element, const OLECHAR* name) {
    return static_cast<float>(ext::ReadDouble(element, name));
}
void WriteFloat(IXMLDOMElement* element, const OLECHAR* name, float value) {
    Check(SetAttribute(element, name, value), IID_IXMLDOMElement);
}

}  // namespace

// ------------------------------------------------------------ the summary

OrvTCDoc::Summary OrvTCDoc::Summarise(const Schedule& schedule, DATE start, DATE end) noexcept {
    using clock::Difference;
    Summary summary;
    const double first = std::floor(start);
    const double last = std::floor(end);
    const auto& shifts = schedule.shifts;
    for (const Week& week : schedule.weeks) {
        if (week.start > end) break;
        if (week.end < start) continue;
        for (int k = 0; k < kDays; ++k) {
            const double date = std::floor(week.start) + k;
            if (date < first || date > last) continue;
            const SHORT kind = week.dayType[k];
            if (kind < 0 || kind >= kDayKinds) continue;
            const float s = week.workStart[k];
            const float e = week.workEnd[k];
            int shift = 0;
            if (shifts[1].workStart == 0.0f || s < shifts[1].workStart)
                shift = 0;
            else if (shifts[2].workStart == 0.0f || s < shifts[2].workStart)
                shift = 1;
            else
                shift = 2;
            const float shiftEnd = shifts[shift].workEnd;

            // Hours within the shift count in the shift's column.
            std::array<float, 3> amounts{};
            const float worked =
                Difference(Difference(std::min(e, shiftEnd), s), Difference(week.lunchEnd[k], week.lunchStart[k]));
            if (worked > 0.0f) amounts[shift] = worked;
            // Work after the shift's end: after Hour200 in ST2, between Hour150
            // and Hour200 in ST1; added to the shift's own hours in time arithmetic.
            if (e > shiftEnd) {
                if (e > schedule.hour200) amounts[2] = clock::Sum(amounts[2], Difference(e, schedule.hour200));
                if (e > schedule.hour150)
                    amounts[1] = clock::Sum(amounts[1], Difference(std::min(e, schedule.hour200), schedule.hour150));
            }
            summary.day[kind] += std::max(amounts[0], 0.0f);
            summary.st1[kind] += std::max(amounts[1], 0.0f);
            summary.st2[kind] += std::max(amounts[2], 0.0f);
        }
    }
    return summary;
}

// ------------------------------------------------------------- the body

OrvTCDoc::Week& OrvTCDoc::WeekToWrite(std::vector<Week>& weeks, LONG nWeek) {
    if (static_cast<std::size_t>(nWeek) < weeks.size()) return weeks[static_cast<std::size_t>(nWeek)];
    return weeks.emplace_back();
}

void OrvTCDoc::Decode(IXMLDOMElement* root) {
    // Read into a copy, so that a failing DOM call leaves the schedule as it was.
    Schedule read = schedule_;
    read.normTotal = ReadFloat(root, kNormTotal);
    read.hour150 = ReadFloat(root, kHour150);
    read.hour200 = ReadFloat(root, kHour200);
    read.declaredWeeks = ext::ReadLong(root, kWeeks);
    std::size_t n = 0;
    for (const ComPtr<IXMLDOMElement>& element : ext::ChildElements(root, kShift)) {
        if (n == read.shifts.size()) break;
        Shift& shift = read.shifts[n++];
        shift.workStart = ReadFloat(element.Get(), kWorkStart);
        shift.workEnd = ReadFloat(element.Get(), kWorkEnd);
        shift.lunchStart = ReadFloat(element.Get(), kLunchStart);
        shift.lunchEnd = ReadFloat(element.Get(), kLunchEnd);
    }
    LONG k = 0;
    for (const ComPtr<IXMLDOMElement>& weekElement : ext::ChildElements(root, kWeek)) {
        Week& week = WeekToWrite(read.weeks, k++);
        week.start = ext::ReadDouble(weekElement.Get(), kWeekStart);
        week.end = ext::ReadDouble(weekElement.Get(), kWeekEnd);
        int day = 0;
        for (const ComPtr<IXMLDOMElement>& dayElement : ext::ChildElements(weekElement.Get(), kDay)) {
            if (day == kDays) break;
            week.workStart[day] = ReadFloat(dayElement.Get(), kWorkStart);
            week.workEnd[day] = ReadFloat(dayElement.Get(), kWorkEnd);
            week.lunchStart[day] = ReadFloat(dayElement.Get(), kLunchStart);
            week.lunchEnd[day] = ReadFloat(dayElement.Get(), kLunchEnd);
            week.dayType[day] = static_cast<SHORT>(ext::ReadLong(dayElement.Get(), kDayType));
            ++day;
        }
    }
    schedule_ = std::move(read);
}

void OrvTCDoc::Encode(IXMLDOMDocument* xml, IXMLDOMElement* root) {
    WriteFloat(root, kNormTotal, schedule_.normTotal);
    WriteFloat(root, kHour150, schedule_.hour150);
    WriteFloat(root, kHour200, schedule_.hour200);
    ext::WriteLong(root, kWeeks, schedule_.declaredWeeks);
    for (const Shift& shift : schedule_.shifts) {
        ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, root, kShift);
        WriteFloat(element.Get(), kWorkStart, shift.workStart);
        WriteFloat(element.Get(), kWorkEnd, shift.workEnd);
        WriteFloat(element.Get(), kLunchStart, shift.lunchStart);
        WriteFloat(element.Get(), kLunchEnd, shift.lunchEnd);
    }
    for (const Week& week : schedule_.weeks) {
        ComPtr<IXMLDOMElement> weekElement = ext::AppendElement(xml, root, kWeek);
        ext::WriteDouble(weekElement.Get(), kWeekStart, week.start);
        ext::WriteDouble(weekElement.Get(), kWeekEnd, week.end);
        for (int day = 0; day < kDays; ++day) {
            ComPtr<IXMLDOMElement> dayElement = ext::AppendElement(xml, weekElement.Get(), kDay);
            WriteFloat(dayElement.Get(), kWorkStart, week.workStart[day]);
            WriteFloat(dayElement.Get(), kWorkEnd, week.workEnd[day]);
            WriteFloat(dayElement.Get(), kLunchStart, week.lunchStart[day]);
            WriteFloat(dayElement.Get(), kLunchEnd, week.lunchEnd[day]);
            Check(SetAttribute(dayElement.Get(), kDayType, week.dayType[day]), IID_IXMLDOMElement);
        }
    }
}

// ------------------------------------------------------------ properties

HRESULT OrvTCDoc::get_Memo(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(memo_, pVal); });
}

HRESULT OrvTCDoc::put_Memo(BSTR newVal) {
    return Locked([&] {
        memo_ = ext::TextOf(newVal);
        return S_OK;
    });
}

template <class T>
HRESULT OrvTCDoc::GetValue(T Schedule::*field, T* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = schedule_.*field;
        return S_OK;
    });
}

template <class T>
HRESULT OrvTCDoc::PutValue(T Schedule::*field, T value) {
    return Locked([&] {
        schedule_.*field = value;
        return S_OK;
    });
}

// The members in the header use these instances.
template HRESULT OrvTCDoc::GetValue<float>(float Schedule::*, float*);
template HRESULT OrvTCDoc::PutValue<float>(float Schedule::*, float);
template HRESULT OrvTCDoc::PutValue<LONG>(LONG Schedule::*, LONG);

HRESULT OrvTCDoc::GetNorm(LONG shift, float Shift::*field, float* pVal) {
    if (!pVal || !IsShift(shift)) return E_POINTER;
    return Locked([&] {
        *pVal = schedule_.shifts[static_cast<std::size_t>(shift - 1)].*field;
        return S_OK;
    });
}

HRESULT OrvTCDoc::PutNorm(LONG shift, float Shift::*field, float value) {
    if (!IsShift(shift)) return E_POINTER;
    return Locked([&] {
        schedule_.shifts[static_cast<std::size_t>(shift - 1)].*field = value;
        return S_OK;
    });
}

template <class T>
HRESULT OrvTCDoc::GetDay(LONG week, LONG day, std::array<T, kDays> Week::*field, T* pVal) {
    if (!pVal || !IsDay(day) || week < 0) return E_POINTER;
    return Locked([&] {
        if (static_cast<std::size_t>(week) >= schedule_.weeks.size()) return E_POINTER;
        *pVal = (schedule_.weeks[static_cast<std::size_t>(week)].*field)[static_cast<std::size_t>(day)];
        return S_OK;
    });
}

template <class T>
HRESULT OrvTCDoc::PutDay(LONG week, LONG day, std::array<T, kDays> Week::*field, T value) {
    if (!IsDay(day) || week < 0) return E_POINTER;
    return Locked([&] {
        (WeekToWrite(schedule_.weeks, week).*field)[static_cast<std::size_t>(day)] = value;
        return S_OK;
    });
}

template HRESULT OrvTCDoc::GetDay<float>(LONG, LONG, std::array<float, kDays> Week::*, float*);
template HRESULT OrvTCDoc::PutDay<float>(LONG, LONG, std::array<float, kDays> Week::*, float);
template HRESULT OrvTCDoc::GetDay<SHORT>(LONG, LONG, std::array<SHORT, kDays> Week::*, SHORT*);
template HRESULT OrvTCDoc::PutDay<SHORT>(LONG, LONG, std::array<SHORT, kDays> Week::*, SHORT);

HRESULT OrvTCDoc::GetBound(LONG week, DATE Week::*field, DATE* pVal) {
    if (!pVal || week < 0) return E_POINTER;
    return Locked([&] {
        if (static_cast<std::size_t>(week) >= schedule_.weeks.size()) return E_POINTER;
        *pVal = schedule_.weeks[static_cast<std::size_t>(week)].*field;
        return S_OK;
    });
}

HRESULT OrvTCDoc::PutBound(LONG week, DATE Week::*field, DATE value) {
    if (week < 0) return E_POINTER;
    return Locked([&] {
        WeekToWrite(schedule_.weeks, week).*field = value;
        return S_OK;
    });
}

HRESULT OrvTCDoc::get_Weeks(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = static_cast<LONG>(schedule_.weeks.size());
        return S_OK;
    });
}

HRESULT OrvTCDoc::GetTotalHours(BSTR* pVal, DATE dtStart, DATE dtEnd) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        if (!initialized_) return S_OK;
        const Summary summary = Summarise(schedule_, dtStart, dtEnd);
        ComPtr<IXMLDOMDocument> xml;
        detail::EnsureXml(&xml);
        ComPtr<IXMLDOMElement> root;
        Check(xml->createElement(Bstr(u"PROTOCOL"), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(xml->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        for (int kind = 0; kind < kDayKinds; ++kind) {
            ComPtr<IXMLDOMElement> element = ext::AppendElement(xml.Get(), root.Get(), u"SMENATYPE");
            WriteFloat(element.Get(), u"DAY", summary.day[kind]);
            WriteFloat(element.Get(), u"ST1", summary.st1[kind]);
            WriteFloat(element.Get(), u"ST2", summary.st2[kind]);
        }
        Bstr text;
        Check(xml->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
        summary_ = summary;
        *pVal = text.Detach();
        return S_OK;
    });
}

}  // namespace orv
