// Record-field kinds: a typed view of fields of the generic document's record.
//
// These kinds keep no data of their own. Every property reads or writes one
// field through the document's own IOrvDocument properties, so the document's
// rules (the sum area chosen by AT, the hundredths rounding, the OEM fields)
// apply unchanged and a change is visible at once in its record. Some values
// are packed into fields of another type; the packing rules are here, once:
//
//   h            the 32-bit hundredths of a sum field (its CURRENCY rounded);
//   scaled       a CURRENCY at four decimals: h holds its raw ten-thousandths;
//   float bits   a float: h holds its 32-bit pattern;
//   code bits    up to three OEM characters: h holds them in memory order;
//   day halves   two day numbers: the low and the high 16 bits of h;
//   day number   a 16-bit field holding a day number;
//   flag         true (-1) when the field is not 0; put stores 1 or 0.
//
// A field whose h is written is stored as the CURRENCY h x 100, so the
// document's hundredths rounding keeps exactly h.
#pragma once

#include "kinds/KindBase.h"

#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_records.h>

#include <type_traits>
#include <utility>

namespace orv::record {

// ------------------------------------------------------------ pure packing

// The float whose bit pattern is h, and back.
float FloatFromBits(LONG h) noexcept;
LONG BitsFromFloat(float value) noexcept;

// Scaled currency: the raw units kept in h (only their low 32 bits fit; a
// value beyond +-214 748.3647 comes back wrapped).
CY ScaledFromHundredths(LONG h) noexcept;
LONG HundredthsFromScaled(CY value) noexcept;

// Code bits: at most three OEM characters of the text, little-endian in h
// (the first character in the low byte); the rest zero.
LONG HundredthsFromCode(const OLECHAR* text) noexcept;
// The text of the four bytes of h up to the first NUL; a new BSTR.
BSTR CodeFromHundredths(LONG h) noexcept;

// Day halves: the low or high 16 bits of h as a day number.
enum class Half { Low, High };
SHORT DayHalf(LONG h, Half half) noexcept;
LONG WithDayHalf(LONG h, Half half, SHORT dayNumber) noexcept;

// Flag: -1 for a non-zero field; put stores 1 or 0.
inline VARIANT_BOOL FlagFromField(LONG value) noexcept { return value ? VARIANT_TRUE : VARIANT_FALSE; }
inline LONG FieldFromFlag(VARIANT_BOOL value) noexcept { return value ? 1 : 0; }

// --------------------------------------------------- the document's fields

// The CURRENCY sum fields of the generic document.
enum class Sum { Dcsum1, DcSum2, DcSum3, DcDolg, DolgOld, Dcms0, Dcms1, Dcms2 };

// Reads and writes a sum field through the document's property; a failing
// property raises with IID_IOrvDocument.
CY ReadSum(IOrvDocument* doc, Sum field);
void WriteSum(IOrvDocument* doc, Sum field, CY value);

// The field's h, and h stored as h x 100.
LONG ReadHundredths(IOrvDocument* doc, Sum field);
void WriteHundredths(IOrvDocument* doc, Sum field, LONG h);

// Code bits of a sum field, as text.
Bstr ReadCode(IOrvDocument* doc, Sum field);
void WriteCode(IOrvDocument* doc, Sum field, const OLECHAR* text);

// One day-number half of a sum field, as a date; the put keeps the other half.
DATE ReadDayHalf(IOrvDocument* doc, Sum field, Half half);
void WriteDayHalf(IOrvDocument* doc, Sum field, Half half, DATE date);

// Calls one property of the document, raising its failure.
template <class... P, class... A>
void Call(IOrvDocument* doc, HRESULT (IOrvDocument::*member)(P...), A&&... args) {
    Check((doc->*member)(std::forward<A>(args)...), IID_IOrvDocument);
}

// A property get of the document by value: Get<LONG>(doc, &IOrvDocument::get_DcDat1).
template <class T, class... P, class... A>
T Get(IOrvDocument* doc, HRESULT (IOrvDocument::*member)(P...), A&&... args) {
    T value{};
    Check((doc->*member)(std::forward<A>(args)..., &value), IID_IOrvDocument);
    return value;
}

// A text property get of the document, owned.
template <class... P, class... A>
Bstr GetText(IOrvDocument* doc, HRESULT (IOrvDocument::*member)(P...), A&&... args) {
    Bstr value;
    Check((doc->*member)(std::forward<A>(args)..., value.ReleaseAndGetAddressOf()), IID_IOrvDocument);
    return value;
}

}  // namespace orv::record

namespace orv {

// The base of a record-field kind: member bodies that check the out-pointer,
// hold the object's lock and reach the document (E_POINTER without one).
template <class Derived, const CLSID* Clsid, class... Entries>
class RecordKind : public SpecificObject<Derived, Clsid, Entries...> {
protected:
    // *out = read(document); a Bstr result is handed over as the BSTR.
    template <class T, class F>
    HRESULT GetField(T* out, F&& read) {
        if (!out) return E_POINTER;
        *out = T{};
        return this->Locked([&]() -> HRESULT {
            auto value = read(this->Document());
            if constexpr (std::is_same_v<decltype(value), Bstr>)
                *out = value.Detach();
            else
                *out = value;
            return S_OK;
        });
    }
    // write(document).
    template <class F>
    HRESULT PutField(F&& write) {
        return this->Locked([&]() -> HRESULT {
            write(this->Document());
            return S_OK;
        });
    }
};

}  // namespace orv
