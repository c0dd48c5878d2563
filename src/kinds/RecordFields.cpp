#include "kinds/RecordFields.h"

#include "frame/oemtext.h"
#include "frame/values.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>

namespace orv::record {

float FloatFromBits(LONG h) noexcept { return std::bit_cast<float>(static_cast<std::uint32_t>(h)); }

LONG BitsFromFloat(float value) noexcept { return static_cast<LONG>(std::bit_cast<std::uint32_t>(value)); }

CY ScaledFromHundredths(LONG h) noexcept { return MakeCurrency(h); }

LONG HundredthsFromScaled(CY value) noexcept {
    return static_cast<LONG>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value.int64)));
}

LONG HundredthsFromCode(const OLECHAR* text) noexcept {
    CTCharToOem oem(text);
    unsigned char bytes[4] = {};
    std::memcpy(bytes, oem.Text(), std::min<std::size_t>(oem.Length(), 3));
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[i];
    return static_cast<LONG>(v);
}

BSTR CodeFromHundredths(LONG h) noexcept {
    char bytes[5] = {};
    auto v = static_cast<std::uint32_t>(h);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return COemToWChar(bytes, 4).AllocBstr();
}

SHORT DayHalf(LONG h, Half half) noexcept {
    auto v = static_cast<std::uint32_t>(h);
    return static_cast<SHORT>(static_cast<std::uint16_t>(half == Half::Low ? v : v >> 16));
}

LONG WithDayHalf(LONG h, Half half, SHORT dayNumber) noexcept {
    auto v = static_cast<std::uint32_t>(h);
    auto d = static_cast<std::uint32_t>(static_cast<std::uint16_t>(dayNumber));
    v = half == Half::Low ? (v & 0xFFFF0000u) | d : (v & 0x0000FFFFu) | (d << 16);
    return static_cast<LONG>(v);
}

CY ReadSum(IOrvDocument* doc, Sum field) {
    switch (field) {
        case Sum::Dcsum1: return Get<CY>(doc, &IOrvDocument::get_Dcsum1);
        case Sum::DcSum2: return Get<CY>(doc, &IOrvDocument::get_DcSum2);
        case Sum::DcSum3: return Get<CY>(doc, &IOrvDocument::get_DcSum3);
        case Sum::DcDolg: return Get<CY>(doc, &IOrvDocument::get_DcDolg);
        case Sum::DolgOld: return Get<CY>(doc, &IOrvDocument::get_DolgOld);
        case Sum::Dcms0: return Get<CY>(doc, &IOrvDocument::get_Dcms, SHORT{0});
        case Sum::Dcms1: return Get<CY>(doc, &IOrvDocument::get_Dcms, SHORT{1});
        case Sum::Dcms2: return Get<CY>(doc, &IOrvDocument::get_Dcms, SHORT{2});
    }
    throw ComError{E_UNEXPECTED, IID_IOrvDocument};
}

void WriteSum(IOrvDocument* doc, Sum field, CY value) {
    switch (field) {
        case Sum::Dcsum1: return Call(doc, &IOrvDocument::put_Dcsum1, value);
        case Sum::DcSum2: return Call(doc, &IOrvDocument::put_DcSum2, value);
        case Sum::DcSum3: return Call(doc, &IOrvDocument::put_DcSum3, value);
        case Sum::DcDolg: return Call(doc, &IOrvDocument::put_DcDolg, value);
        case Sum::DolgOld: return Call(doc, &IOrvDocument::put_DolgOld, value);
        case Sum::Dcms0: return Call(doc, &IOrvDocument::put_Dcms, SHORT{0}, value);
        case Sum::Dcms1: return Call(doc, &IOrvDocument::put_Dcms, SHORT{1}, value);
        case Sum::Dcms2: return Call(doc, &IOrvDocument::put_Dcms, SHORT{2}, value);
    }
    throw ComError{E_UNEXPECTED, IID_IOrvDocument};
}

LONG ReadHundredths(IOrvDocument* doc, Sum field) { return CurrencyToHundredths(ReadSum(doc, field)); }

void WriteHundredths(IOrvDocument* doc, Sum field, LONG h) { WriteSum(doc, field, HundredthsToCurrency(h)); }

Bstr ReadCode(IOrvDocument* doc, Sum field) {
    Bstr code = Bstr::Attach(CodeFromHundredths(ReadHundredths(doc, field)));
    if (!code) throw std::bad_alloc();
    return code;
}

void WriteCode(IOrvDocument* doc, Sum field, const OLECHAR* text) {
    WriteHundredths(doc, field, HundredthsFromCode(text));
}

DATE ReadDayHalf(IOrvDocument* doc, Sum field, Half half) {
    return DayNumberToDate(DayHalf(ReadHundredths(doc, field), half));
}

void WriteDayHalf(IOrvDocument* doc, Sum field, Half half, DATE date) {
    WriteHundredths(doc, field, WithDayHalf(ReadHundredths(doc, field), half, DateToDayNumber(date)));
}

}  // namespace orv::record
