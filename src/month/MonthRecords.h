// The two fixed records of a payroll month, as the database service stores
// them: the 144-byte month record and the 84-byte trace record. Each is a
// little-endian byte image with its fields at fixed offsets; the bytes no
// property names are carried unchanged.
#pragma once

#include "frame/record.h"

#include <cstddef>
#include <cstdint>

namespace orv {

// ------------------------------------------------------------ month record
namespace monthrec {
inline constexpr std::size_t kSize = 144;
inline constexpr std::size_t kMfl = 0;        // 16-bit flag word
inline constexpr std::size_t kDate = 2;       // day number
inline constexpr std::size_t kMsbl = 4;       // hundredths
inline constexpr std::size_t kMsot = 8;       // hundredths
inline constexpr std::size_t kMsor = 12;      // hundredths
inline constexpr std::size_t kMsxx = 18;      // hundredths
inline constexpr std::size_t kMsyy = 22;      // hundredths
inline constexpr std::size_t kFactDays = 26;  // 16-bit
inline constexpr std::size_t kNormDays = 28;  // 16-bit
inline constexpr std::size_t kMsres1 = 30;    // hundredths
inline constexpr std::size_t kMsres2 = 34;    // hundredths
inline constexpr std::size_t kNormHours = 38;  // 32-bit
inline constexpr std::size_t kFactHours = 42;  // 32-bit
inline constexpr std::size_t kNormOtDays = 46;            // 16-bit
inline constexpr std::size_t kNormDaysOnOkPeriods = 48;   // 16-bit
inline constexpr std::size_t kNormHoursOnOkPeriods = 54;  // 32-bit
inline constexpr std::size_t kRate = 58;                  // low 32 bits of a raw currency
inline constexpr std::size_t kHolHours2Deduct = 62;       // 32-bit
inline constexpr std::size_t kScLgType = 70;              // 16-bit
inline constexpr std::size_t kFrgnStatus = 72;            // 32-bit
}  // namespace monthrec

class MonthRecord : public ByteRecord<monthrec::kSize> {
public:
    std::int16_t Short(std::size_t offset) const noexcept { return Read<std::int16_t>(offset); }
    void SetShort(std::size_t offset, std::int16_t v) noexcept { Write<std::int16_t>(offset, v); }
    std::int32_t Long(std::size_t offset) const noexcept { return Read<std::int32_t>(offset); }
    void SetLong(std::size_t offset, std::int32_t v) noexcept { Write<std::int32_t>(offset, v); }
};
static_assert(sizeof(MonthRecord) == monthrec::kSize);

// ------------------------------------------------------------ trace record
namespace tracerec {
inline constexpr std::size_t kSize = 84;
inline constexpr std::size_t kId = 0;       // 16-bit
inline constexpr std::size_t kT0 = 2;       // 16-bit trace code
inline constexpr std::size_t kT1 = 4;       // 16-bit
inline constexpr std::size_t kSlots = 6;    // nineteen 32-bit slots
inline constexpr int kSlotCount = 19;
// Named views inside the slots.
inline constexpr std::size_t kDatReserv1 = 34;  // 16-bit (dtDn of the department period)
inline constexpr std::size_t kDatReserv2 = 36;  // 16-bit (dtDk)
inline constexpr std::size_t kLongs = 38;       // nine 32-bit values
inline constexpr int kLongCount = 9;

constexpr std::size_t Slot(int i) noexcept { return kSlots + 4 * static_cast<std::size_t>(i); }
constexpr std::size_t LongAt(int k) noexcept { return kLongs + 4 * static_cast<std::size_t>(k); }
}  // namespace tracerec

class TraceRecord : public ByteRecord<tracerec::kSize> {
public:
    std::int16_t Short(std::size_t offset) const noexcept { return Read<std::int16_t>(offset); }
    void SetShort(std::size_t offset, std::int16_t v) noexcept { Write<std::int16_t>(offset, v); }
    std::int32_t Long(std::size_t offset) const noexcept { return Read<std::int32_t>(offset); }
    void SetLong(std::size_t offset, std::int32_t v) noexcept { Write<std::int32_t>(offset, v); }
    std::int32_t Slot(int i) const noexcept { return Long(tracerec::Slot(i)); }
    void SetSlot(int i, std::int32_t v) noexcept { SetLong(tracerec::Slot(i), v); }
};
static_assert(sizeof(TraceRecord) == tracerec::kSize);

}  // namespace orv
