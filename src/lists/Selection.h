// What a cursor step looks for: any entry, or the next document of a type
// whose period (dtDn..dtDk) meets a date or a period in one of four ways.
// Every bound is inclusive; a period argument is not checked for start <= end.
#pragma once

#include <orvdocs/platform/oleauto.h>

namespace orv::lists {

enum class PeriodTest : unsigned char {
    Any,       // plain step: every entry
    Overlaps,  // dn <= end and dk >= start
    Inside,    // start <= dn <= end and start <= dk <= end
    Covers,    // dn <= start, dk >= start, dn <= end and dk >= end
    OnDate,    // dn <= start <= dk (the date is given as start)
};

struct Selection {
    PeriodTest test = PeriodTest::Any;
    LONG type = 0;
    DATE start = 0.0;
    DATE end = 0.0;
};

// Types 1 and 48 are one family: asking for either finds both.
constexpr bool TypeMatches(LONG wanted, LONG type) noexcept {
    if (wanted == 1 || wanted == 48) return type == 1 || type == 48;
    return type == wanted;
}

// The conditions on the period's start alone; a document failing them is
// passed without reading its end.
constexpr bool StartMatches(const Selection& s, DATE dn) noexcept {
    switch (s.test) {
        case PeriodTest::Overlaps: return dn <= s.end;
        case PeriodTest::Inside: return s.start <= dn && dn <= s.end;
        case PeriodTest::Covers: return dn <= s.start && dn <= s.end;
        case PeriodTest::OnDate: return dn <= s.start;
        case PeriodTest::Any: return true;
    }
    return false;
}

// The conditions on the period's end.
constexpr bool EndMatches(const Selection& s, DATE dk) noexcept {
    switch (s.test) {
        case PeriodTest::Overlaps: return dk >= s.start;
        case PeriodTest::Inside: return s.start <= dk && dk <= s.end;
        case PeriodTest::Covers: return dk >= s.start && dk >= s.end;
        case PeriodTest::OnDate: return s.start <= dk;
        case PeriodTest::Any: return true;
    }
    return false;
}

}  // namespace orv::lists
