#include "xml/hextext.h"

#include <cstdint>

namespace orv {

namespace {

constexpr char16_t kDigits[] = u"0123456789ABCDEF";

inline unsigned DocumentNibble(char16_t c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return 0;
}

inline int MonthNibble(char16_t c) noexcept {
    if (c >= u'0' && c <= u'9') return c - u'0';
    return static_cast<int>(c) - 55;
}

}  // namespace

void EncodeHex(const void* data, std::size_t size, OLECHAR* out) noexcept {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        out[2 * i] = kDigits[bytes[i] >> 4];
        out[2 * i + 1] = kDigits[bytes[i] & 0x0F];
    }
}

BSTR EncodeHexBstr(const void* data, std::size_t size) noexcept {
    if (size > 0x3FFFFFFFu / 2) return nullptr;
    BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(2 * size));
    if (s) EncodeHex(data, size, s);
    return s;
}

std::size_t DecodeDocumentHex(std::u16string_view text, void* out, std::size_t capacity) noexcept {
    auto* bytes = static_cast<std::uint8_t*>(out);
    std::size_t n = text.size() / 2;
    if (n > capacity) n = capacity;
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(DocumentNibble(text[2 * i]) << 4 | DocumentNibble(text[2 * i + 1]));
    return n;
}

std::size_t DecodeMonthHex(std::u16string_view text, void* out, std::size_t capacity) noexcept {
    auto* bytes = static_cast<std::uint8_t*>(out);
    std::size_t n = text.size() / 2;
    if (n > capacity) n = capacity;
    for (std::size_t i = 0; i < n; ++i) {
        // Wraps like a byte store of the full sum (conversion to unsigned is modular).
        const int value = MonthNibble(text[2 * i]) * 16 + MonthNibble(text[2 * i + 1]);
        bytes[i] = static_cast<std::uint8_t>(value);
    }
    return n;
}

}  // namespace orv
