// Fixed binary records: a byte image of N bytes with typed little-endian
// access at byte offsets.
//
// Records travel between processes and versions byte for byte, so their
// fields sit at fixed offsets with no alignment: every access copies the
// bytes (memcpy), which is safe at any offset and compiles to a plain load or
// store. The documents, months and traces build their named field accessors
// on top of this.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace orv {

template <std::size_t N>
class ByteRecord {
public:
    static constexpr std::size_t kSize = N;

    // Reads a little-endian integer of T's width at offset.
    template <class T>
    T Read(std::size_t offset) const noexcept {
        static_assert(std::is_integral_v<T>);
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) value = Swap(value);
        return value;
    }

    // Writes a little-endian integer of T's width at offset.
    template <class T>
    void Write(std::size_t offset, T value) noexcept {
        static_assert(std::is_integral_v<T>);
        if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) value = Swap(value);
        std::memcpy(bytes_.data() + offset, &value, sizeof(T));
    }

    // A text field's bytes.
    char* Chars(std::size_t offset) noexcept { return reinterpret_cast<char*>(bytes_.data() + offset); }
    const char* Chars(std::size_t offset) const noexcept {
        return reinterpret_cast<const char*>(bytes_.data() + offset);
    }

    unsigned char* Data() noexcept { return bytes_.data(); }
    const unsigned char* Data() const noexcept { return bytes_.data(); }
    void Clear() noexcept { bytes_.fill(0); }

    friend bool operator==(const ByteRecord&, const ByteRecord&) = default;

private:
    template <class T>
    static T Swap(T value) noexcept {
        using U = std::make_unsigned_t<T>;
        U u = static_cast<U>(value), r = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) r = static_cast<U>((r << 8) | ((u >> (8 * i)) & 0xFF));
        return static_cast<T>(r);
    }

    std::array<unsigned char, N> bytes_{};
};

}  // namespace orv
