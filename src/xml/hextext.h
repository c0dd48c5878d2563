// Records inside XML text: two upper-case hexadecimal characters per byte,
// high nibble first, bytes in record order.
//
// Two decoders read the text back. They agree on "0"-"9" and "A"-"F" and
// differ on every other character, because the document and the month were
// written to read their records differently:
//  - DecodeDocumentHex (document records and extension bodies): only the
//    digits and the capitals "A"-"F" are read; any other character, lower-case
//    letters included, is taken as 0;
//  - DecodeMonthHex (month records): a digit gives its value, any other
//    character gives its code minus 55 ("A" = 10 ... "F" = 15, but "a" = 42),
//    and the byte is the low 8 bits of high x 16 + low.
// Both read whole pairs only: a last single character is ignored. They write
// at most capacity bytes and never read past the end of the text.
#pragma once

#include <orvdocs/platform/oleauto.h>

#include <cstddef>
#include <string_view>

namespace orv {

// Writes 2 x size characters (no NUL) to out.
void EncodeHex(const void* data, std::size_t size, OLECHAR* out) noexcept;
// A new BSTR with the text; null only when memory runs out.
BSTR EncodeHexBstr(const void* data, std::size_t size) noexcept;

// Both return the number of bytes written: min(text.size() / 2, capacity).
std::size_t DecodeDocumentHex(std::u16string_view text, void* out, std::size_t capacity) noexcept;
std::size_t DecodeMonthHex(std::u16string_view text, void* out, std::size_t capacity) noexcept;

}  // namespace orv
