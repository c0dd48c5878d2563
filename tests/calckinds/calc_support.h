// Shared helpers of the calculating-kind tests: dates, currency values, a
// generic document of a type code with its specific object, and the host's
// outside components (date service, message service) registered for the
// whole program.
#pragma once

#include "calckinds/fakes.h"
#include "kinds/kinds_test_util.h"

#include <chrono>
#include <string>

namespace calc_test {

using kindtest::Cy;
using orv::Bstr;

// The automation date of a calendar day.
inline DATE Day(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    const sys_days day{year{y} / month{m} / d};
    const sys_days epoch{year{1899} / December / 30};
    return static_cast<DATE>((day - epoch).count());
}

// Whole currency units and hundredths as CURRENCY.
inline CY Money(LONGLONG units, LONGLONG hundredths = 0) { return Cy(units * 10000 + hundredths * 100); }

inline std::u16string Text(BSTR s) { return kindtest::Text(s); }
inline std::u16string Take(BSTR s) {
    std::u16string t = Text(s);
    SysFreeString(s);
    return t;
}
inline std::string Utf8(std::u16string_view s) { return orv::Utf16ToUtf8(s); }

// The description of the thread's current error information.
std::u16string ErrorDescription();

// A generic document of the type code and its specific object asked for I.
template <class I>
struct Kind {
    ComPtr<IOrvDocument> doc;
    ComPtr<I> kind;
};
template <class I>
Kind<I> NewKind(SHORT type) {
    Kind<I> k;
    k.doc = kindtest::NewDocument(type);
    if (k.doc) k.kind = kindtest::KindOf<I>(k.doc.Get());
    return k;
}

// The extension's body as text, and a new body from text.
std::u16string BodyText(IOrvDocument* doc);
void SetBodyText(IOrvDocument* doc, std::u16string_view xml);

}  // namespace calc_test
