// Platform functions that read text or bytes a caller hands them: variant
// conversions, GUID text, byte-length strings, OEM conversions and wsprintfW.
//
// Input: byte 0 chooses the function family, the rest feeds it.
//
// Checked besides "no crash, no leak, no sanitizer report":
//  - a text VariantChangeType accepts for a type converts back to text, and
//    that text reads again to the same value and writes the same text (for
//    every type whose text form is exact; VT_R4 keeps 7 digits, which a float
//    cannot always hold, so it is only read back);
//  - a value of each type taken from raw bytes goes to text and back to the
//    same value (integers, currency) or the same text (doubles, dates);
//  - a GUID text that parses writes a text that parses to the same GUID;
//  - SysAllocStringByteLen keeps the bytes and the length, with two NULs after;
//  - every OEM byte goes to a character and back to itself; a character goes
//    to its byte and back to itself, or to '?';
//  - wsprintfW returns the length of what it wrote, never more than 1023.
#include "fuzz_input.h"

#include <orvdocs/platform/platform.h>

#include <cmath>
#include <memory>

namespace {

using orv::Bstr;
using orv::Variant;
using orvfuzz::Input;
using orvfuzz::View;

constexpr VARTYPE kTypes[] = {VT_I1, VT_UI1, VT_I2, VT_UI2, VT_I4, VT_UI4, VT_I8,   VT_UI8,  VT_INT,
                              VT_UINT, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BOOL, VT_ERROR, VT_DECIMAL};

// The value of a variant as bytes, for comparing two of the same type.
bool SameValue(const VARIANT& a, const VARIANT& b) {
    if (a.vt != b.vt) return false;
    switch (a.vt) {
    case VT_I1: case VT_UI1: return a.bVal == b.bVal;
    case VT_I2: case VT_UI2: case VT_BOOL: return a.iVal == b.iVal;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_ERROR: return a.lVal == b.lVal;
    case VT_I8: case VT_UI8: case VT_CY: return a.llVal == b.llVal;
    default: return true;  // not compared by value
    }
}

bool ExactText(VARTYPE vt) { return vt != VT_R4; }

// text -> value -> text2 -> value2 -> text3: text2 == text3, value == value2.
void TextRoundTrip(BSTR text, USHORT flags) {
    Variant source;
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocStringLen(text, SysStringLen(text));
    for (VARTYPE vt : kTypes) {
        Variant value;
        HRESULT hr = VariantChangeType(&value, &source, flags, vt);
        if (FAILED(hr)) {
            ORV_FUZZ_CHECK(value.vt == VT_EMPTY);
            continue;
        }
        ORV_FUZZ_CHECK(hr == S_OK && value.vt == vt);
        Variant written;
        ORV_FUZZ_CHECK(VariantChangeType(&written, &value, 0, VT_BSTR) == S_OK && written.vt == VT_BSTR);
        Variant reread;
        ORV_FUZZ_CHECK(VariantChangeType(&reread, &written, 0, vt) == S_OK);
        if (!ExactText(vt)) continue;
        ORV_FUZZ_CHECK(SameValue(value, reread));
        Variant rewritten;
        ORV_FUZZ_CHECK(VariantChangeType(&rewritten, &reread, 0, VT_BSTR) == S_OK);
        ORV_FUZZ_CHECK(View(rewritten.bstrVal) == View(written.bstrVal));
    }
    // A conversion in place, as Variant::ChangeType does it.
    Variant inPlace(source);
    if (SUCCEEDED(inPlace.ChangeType(VT_R8))) ORV_FUZZ_CHECK(inPlace.vt == VT_R8);
    // Through a reference.
    BSTR referenced = source.bstrVal;
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_BSTR | VT_BYREF;
    byRef.pbstrVal = &referenced;
    Variant direct, indirect;
    HRESULT h1 = VariantChangeType(&direct, &source, 0, VT_I4);
    HRESULT h2 = VariantChangeType(&indirect, &byRef, 0, VT_I4);
    ORV_FUZZ_CHECK(h1 == h2 && SameValue(direct, indirect));
}

// Raw bytes as a value of each type -> text -> value.
void ValueRoundTrip(Input& in) {
    const std::uint64_t raw = in.Take<std::uint64_t>();
    for (VARTYPE vt : kTypes) {
        if (vt == VT_DECIMAL) continue;
        Variant value;
        value.vt = vt;
        value.llVal = static_cast<LONGLONG>(raw);
        if (vt == VT_R4 && !std::isfinite(value.fltVal)) continue;
        if ((vt == VT_R8 || vt == VT_DATE) && !std::isfinite(value.dblVal)) continue;
        // Keep only the bits that belong to the type; the rest of the union is 0.
        Variant clean;
        clean.vt = vt;
        switch (vt) {
        case VT_I1: case VT_UI1: clean.bVal = value.bVal; break;
        case VT_I2: case VT_UI2: clean.iVal = value.iVal; break;
        case VT_BOOL: clean.boolVal = value.iVal ? VARIANT_TRUE : VARIANT_FALSE; break;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_ERROR: clean.lVal = value.lVal; break;
        case VT_R4: clean.fltVal = value.fltVal; break;
        default: clean.llVal = value.llVal; break;
        }
        Variant written;
        HRESULT hr = VariantChangeType(&written, &clean, 0, VT_BSTR);
        if (FAILED(hr)) {
            ORV_FUZZ_CHECK(vt == VT_DATE || vt == VT_ERROR);  // dates out of range, errors have no text
            continue;
        }
        Variant reread;
        ORV_FUZZ_CHECK(VariantChangeType(&reread, &written, 0, vt) == S_OK);
        if (vt == VT_R4) continue;
        if (vt == VT_R8 || vt == VT_DATE) {
            Variant rewritten;
            ORV_FUZZ_CHECK(VariantChangeType(&rewritten, &reread, 0, VT_BSTR) == S_OK);
            ORV_FUZZ_CHECK(View(rewritten.bstrVal) == View(written.bstrVal));
        } else {
            ORV_FUZZ_CHECK(SameValue(clean, reread));
        }
    }
}

void Guids(std::u16string_view text) {
    std::u16string terminated(text);  // NUL-terminated, as the functions read it
    CLSID clsid;
    if (CLSIDFromString(terminated.c_str(), &clsid) != S_OK) return;
    OLECHAR written[39];
    ORV_FUZZ_CHECK(StringFromGUID2(clsid, written, 39) == 39);
    CLSID again;
    ORV_FUZZ_CHECK(CLSIDFromString(written, &again) == S_OK && IsEqualGUID(clsid, again));
    IID iid;
    ORV_FUZZ_CHECK(IIDFromString(terminated.c_str(), &iid) == S_OK && IsEqualGUID(clsid, iid));
}

void ByteStrings(std::string_view bytes) {
    const UINT n = static_cast<UINT>(bytes.size());
    Bstr s = Bstr::Attach(SysAllocStringByteLen(bytes.data(), n));
    ORV_FUZZ_CHECK(s);
    ORV_FUZZ_CHECK(SysStringByteLen(s) == n && SysStringLen(s) == n / 2);
    ORV_FUZZ_CHECK(std::memcmp(s.Get(), bytes.data(), n) == 0);
    const char* tail = reinterpret_cast<const char*>(s.Get()) + n;
    ORV_FUZZ_CHECK(tail[0] == 0 && tail[1] == 0);
    Bstr copy(s);  // copies by byte length
    ORV_FUZZ_CHECK(copy.ByteLength() == n && std::memcmp(copy.Get(), bytes.data(), n) == 0);
    // Whole characters only.
    Bstr chars = Bstr::Attach(SysAllocStringLen(s.Get(), SysStringLen(s)));
    ORV_FUZZ_CHECK(chars.ByteLength() == (n & ~1u));
    BSTR grown = SysAllocStringByteLen(nullptr, n);  // uninitialised contents, the length set
    ORV_FUZZ_CHECK(grown && SysStringByteLen(grown) == n);
    ORV_FUZZ_CHECK(SysReAllocStringLen(&grown, s.Get(), SysStringLen(s)));
    ORV_FUZZ_CHECK(View(grown) == s.View());
    ORV_FUZZ_CHECK(SysReAllocString(&grown, s.Get()));
    ORV_FUZZ_CHECK(SysStringLen(grown) == orv::WStrLen(s.Get()));
    SysFreeString(grown);
}

void Oem(std::string_view bytes) {
    const DWORD n = static_cast<DWORD>(bytes.size());
    // Bytes -> characters -> bytes is exact.
    auto wide = std::make_unique<WCHAR[]>(n + 1);
    auto back = std::make_unique<char[]>(n + 1);
    ORV_FUZZ_CHECK(OemToCharBuffW(bytes.data(), wide.get(), n));
    ORV_FUZZ_CHECK(CharToOemBuffW(wide.get(), back.get(), n));
    ORV_FUZZ_CHECK(std::memcmp(back.get(), bytes.data(), n) == 0);
    // The same bytes read as characters: each comes back or becomes '?'.
    std::u16string text = orvfuzz::AsUtf16(bytes);
    const DWORD m = static_cast<DWORD>(text.size());
    auto oem = std::make_unique<char[]>(m + 1);
    auto again = std::make_unique<WCHAR[]>(m + 1);
    ORV_FUZZ_CHECK(CharToOemBuffW(text.data(), oem.get(), m));
    ORV_FUZZ_CHECK(OemToCharBuffW(oem.get(), again.get(), m));
    for (DWORD i = 0; i < m; ++i) ORV_FUZZ_CHECK(again[i] == text[i] || oem[i] == '?');
    // The NUL-terminated forms stop at the first NUL.
    text.push_back(u'\0');
    auto oemz = std::make_unique<char[]>(text.size());
    ORV_FUZZ_CHECK(CharToOemW(text.c_str(), oemz.get()));
    ORV_FUZZ_CHECK(OemStrLen(oemz.get()) == orv::WStrLen(text.c_str()));
    auto widez = std::make_unique<WCHAR[]>(text.size());
    ORV_FUZZ_CHECK(OemToCharW(oemz.get(), widez.get()));
    ORV_FUZZ_CHECK(orv::WStrLen(widez.get()) == orv::WStrLen(text.c_str()));
}

constexpr const char16_t* kFormats[] = {
    u"%s",          u"[%-30s]",       u"%.5s|%10.2s", u"%1100s",      u"%hs",         u"%.3hs %-8hs",
    u"%d %i %u",    u"%x %X %08x",    u"%-12d|%012d", u"%.20d",       u"%hd %hu %hx", u"%ld %lu %lx",
    u"%I64d %I64u", u"%I64x %030I64X", u"%c%hc%lc",   u"%p",          u"%%%s%%",      u"%1023d%s",
    u"%.1024I64d",  u"%-1024s%d",     u"%q%s%",       u"%5.%d",       u"%I6%d",       u"%0-5d|%-05d",
};

void Format(Input& in) {
    const char16_t* format = kFormats[in.Byte() % std::size(kFormats)];
    const std::uint64_t a = in.Take<std::uint64_t>();
    const std::uint64_t b = in.Take<std::uint64_t>();
    const std::u16string wide1(orvfuzz::AsUtf16(in.Piece()));
    const std::u16string wide2(orvfuzz::AsUtf16(in.Piece()));
    const std::string narrow1(in.Piece());
    const std::string narrow2(in.Rest());
    // Exactly the documented buffer on the heap, so a write past it is caught.
    auto buffer = std::make_unique<WCHAR[]>(1024);
    const int ia = static_cast<int>(a), ib = static_cast<int>(b);
    const auto la = static_cast<std::int64_t>(a);
    const char16_t* w1 = wide1.c_str();
    const char16_t* w2 = wide2.c_str();
    const char* n1 = narrow1.c_str();
    const char* n2 = narrow2.c_str();
    int written = 0;
    const std::u16string_view f(format);
    // Arguments of the kinds each format takes, in its order.
    if (f == u"%s" || f == u"[%-30s]" || f == u"%1100s" || f == u"%%%s%%" || f == u"%q%s%")
        written = wsprintfW(buffer.get(), format, w1);
    else if (f == u"%.5s|%10.2s")
        written = wsprintfW(buffer.get(), format, w1, w2);
    else if (f == u"%hs")
        written = wsprintfW(buffer.get(), format, n2);
    else if (f == u"%.3hs %-8hs")
        written = wsprintfW(buffer.get(), format, n1, n2);
    else if (f == u"%d %i %u" || f == u"%hd %hu %hx" || f == u"%ld %lu %lx")
        written = wsprintfW(buffer.get(), format, ia, ib, ia ^ ib);
    else if (f == u"%x %X %08x")
        written = wsprintfW(buffer.get(), format, ia, ib, ia ^ ib);
    else if (f == u"%-12d|%012d" || f == u"%0-5d|%-05d")
        written = wsprintfW(buffer.get(), format, ia, ib);
    else if (f == u"%.20d" || f == u"%5.%d" || f == u"%I6%d")
        written = wsprintfW(buffer.get(), format, ia);
    else if (f == u"%I64d %I64u" || f == u"%I64x %030I64X")
        written = wsprintfW(buffer.get(), format, la, static_cast<std::int64_t>(b));
    else if (f == u"%.1024I64d")
        written = wsprintfW(buffer.get(), format, la);
    else if (f == u"%c%hc%lc")
        written = wsprintfW(buffer.get(), format, ia & 0xFFFF, ib, (ia >> 16) & 0xFFFF);
    else if (f == u"%p")
        written = wsprintfW(buffer.get(), format, reinterpret_cast<void*>(static_cast<std::uintptr_t>(a)));
    else if (f == u"%1023d%s" || f == u"%-1024s%d")
        written = f == u"%1023d%s" ? wsprintfW(buffer.get(), format, ia, w1) : wsprintfW(buffer.get(), format, w1, ia);
    else
        ORV_FUZZ_CHECK(!"a format without its arguments");
    ORV_FUZZ_CHECK(written >= 0 && written <= 1023);
    ORV_FUZZ_CHECK(buffer[written] == 0);
    // No NUL inside what was written unless an argument put one there (%c).
    if (f != u"%c%hc%lc") ORV_FUZZ_CHECK(orv::WStrLen(buffer.get()) == static_cast<std::size_t>(written));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t choice = in.Byte();
    switch (choice % 6) {
    case 0: {
        const std::uint8_t mode = in.Byte();
        static constexpr USHORT kFlags[] = {0, VARIANT_ALPHABOOL, VARIANT_NOUSEROVERRIDE, VARIANT_LOCALBOOL};
        Bstr text(orvfuzz::AsText(in.Rest(), mode));
        TextRoundTrip(text, kFlags[(mode >> 2) & 3]);
        break;
    }
    case 1: ValueRoundTrip(in); break;
    case 2: Guids(orvfuzz::AsText(in.Rest(), in.Byte())); break;
    case 3: ByteStrings(in.Rest()); break;
    case 4: Oem(in.Rest()); break;
    case 5: Format(in); break;
    }
    return 0;
}
