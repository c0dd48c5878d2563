// Helpers shared by the fuzz targets: taking typed values and texts out of
// the fuzzer's bytes, and a check that stops the run with a message when an
// invariant of the code under test does not hold.
#pragma once

#include <orvdocs/platform/strings.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace orvfuzz {

// An invariant broken: print where and why, then abort so that libFuzzer
// keeps the input as a crash.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}
#define ORV_FUZZ_CHECK(cond) ((cond) ? (void)0 : ::orvfuzz::Fail(__FILE__, __LINE__, #cond))

// Reads the fuzzer's bytes front to back; past the end every value is 0 and
// every text empty.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Remaining() const { return size_ - pos_; }
    bool Empty() const { return pos_ >= size_; }

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <class T>
    T Take() {
        T value{};
        std::size_t n = sizeof(T) < Remaining() ? sizeof(T) : Remaining();
        std::memcpy(&value, data_ + pos_, n);
        pos_ += n;
        return value;
    }

    // The next `count` bytes (fewer at the end).
    std::string_view Bytes(std::size_t count) {
        if (count > Remaining()) count = Remaining();
        std::string_view s(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return s;
    }
    std::string_view Rest() { return Bytes(Remaining()); }

    // A length-prefixed piece: one byte gives its length.
    std::string_view Piece() { return Bytes(Byte()); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The bytes as UTF-16 code units, little-endian pairs (a last odd byte is
// dropped).
inline std::u16string AsUtf16(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return out;
}

// Each byte widened to one UTF-16 code unit.
inline std::u16string Widened(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<unsigned char>(bytes[i]);
    return out;
}

// Text in one of three readings chosen by `mode`: widened bytes, UTF-16LE
// pairs, or UTF-8 (malformed sequences become U+FFFD).
inline std::u16string AsText(std::string_view bytes, unsigned mode) {
    switch (mode % 3) {
    case 0: return Widened(bytes);
    case 1: return AsUtf16(bytes);
    default: return orv::Utf8ToUtf16(bytes);
    }
}

inline orv::Bstr MakeBstr(std::u16string_view text) { return orv::Bstr(text); }

inline std::u16string_view View(BSTR s) { return s ? std::u16string_view(s, SysStringLen(s)) : std::u16string_view(); }

// True when XML allows every character of the text in a document (a lone
// surrogate is not one; U+FFFE and U+FFFF are not either).
inline bool AllAllowed(std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace orvfuzz
