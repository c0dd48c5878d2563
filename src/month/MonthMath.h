// Arithmetic on raw 64-bit currency values as the month calculations do it:
// plain two's-complement sums and differences that wrap instead of
// overflowing (no rounding, no saturation), and the signed minimum.
#pragma once

#include <orvdocs/platform/types.h>

#include <cstdint>

namespace orv::monthmath {

constexpr LONGLONG Add(LONGLONG a, LONGLONG b) noexcept {
    return static_cast<LONGLONG>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
constexpr LONGLONG Sub(LONGLONG a, LONGLONG b) noexcept {
    return static_cast<LONGLONG>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}
constexpr LONGLONG Min(LONGLONG a, LONGLONG b) noexcept { return a < b ? a : b; }

}  // namespace orv::monthmath
