// Lenient readers of numbers in XML attribute texts.
//
// Texts come from documents written by many versions of the application and
// by hand, in any regional format: "1 234,50", "1,234.56", "12.5 р.". The
// readers never fail: what they cannot use they ignore.
//
// Currency reader: the first occurrence of the user's currency symbol is
// removed and the rest cut to 39 characters. The decimal separator is "."
// when the text holds one, otherwise ",". Before the separator's first
// occurrence every digit is appended, every "-" makes the value negative,
// anything else is ignored. After it, digits are appended until four have
// been taken (later text is dropped, so the value is cut, not rounded), a
// "-" makes the value negative, anything else is ignored; missing places
// count as zeros. So "1 234,5" is 1234.5, "1.234,56" is 1.2345 (the point
// wins), "-5" is -5. More digits than 64 bits hold wrap.
//
// Double reader: the same separator and sign rules without the currency
// symbol or the 39 characters; the whole part ends at the separator or at
// "e"/"E", the fraction (every digit counts) at "e"/"E"; after "e" an
// optional sign and digits give a power of ten. The digits gathered this way
// are converted with correct rounding; a value too large gives infinity, but
// the platform's 15-digit text of the largest doubles (1.79769313486232E+308,
// just past DBL_MAX) reads as DBL_MAX, as the platform reads it. The words the platform writes for
// doubles without digits, "NaN", "Infinity" and "-Infinity" (any case, blanks
// around), read as those values, so that every double survives being written
// and read again.
//
// Every reader takes the text up to its first NUL.
#pragma once

#include <orvdocs/platform/oleauto.h>

#include <string_view>

namespace orv {

CY ReadCurrencyLenient(std::u16string_view text) noexcept;
double ReadDoubleLenient(std::u16string_view text) noexcept;
// The double reader over the first 56 characters, cut towards zero and held
// to the 32-bit range (not a number gives 0).
LONG ReadLongLenient(std::u16string_view text) noexcept;

// Reading attribute values given as variants: empty, null or an empty text
// gives 0; a text goes through the reader above; any other type through
// VariantChangeType (a value it refuses gives 0). A variant by reference is
// followed.
CY VariantToCurrencyLenient(const VARIANT& value) noexcept;
double VariantToDoubleLenient(const VARIANT& value) noexcept;
LONG VariantToLongLenient(const VARIANT& value) noexcept;

// The user's currency symbol: value "sCurrency" under HKEY_CURRENT_USER
// "Control Panel\International", read at the first use and kept for the
// process; empty when it cannot be read (no key, no value, not a text).
std::u16string_view UserCurrencySymbol() noexcept;

// For tests: forgets the kept symbol so that the next use reads the registry
// again. Must not run while another thread reads numbers.
void ResetUserCurrencySymbolForTesting() noexcept;

}  // namespace orv
