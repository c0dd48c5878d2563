// The data of a vacation-pay protocol, apart from the object that serves it:
// the four 632-byte protocol records, the paid months of the two access
// types, their XML tree and the older binary bodies.
//
// A protocol record (little-endian, no padding):
//   head    0..55   flag, month counts, dates, averages, totals, 16 spare
//                   bytes, the history count at 54
//   months 56..631  twelve 48-byte month entries (8 spare bytes each)
// Money is kept as 32-bit hundredths, dates as 16-bit day numbers, the
// averages as IEEE singles holding a hundredth of the value.
//
// Nothing here locks, reports or keeps a COM object alive; a failing DOM call
// raises with orv::Check, so the caller's member ends with that status.
#pragma once

#include "frame/com.h"
#include "frame/record.h"

#include <orvdocs/platform/msxml.h>

#include <array>
#include <cstddef>
#include <map>
#include <string_view>
#include <vector>

namespace orv::vacation {

inline constexpr std::size_t kRecordSize = 632;
inline constexpr std::size_t kMonthCount = 12;
inline constexpr std::size_t kMonthSize = 48;
inline constexpr std::size_t kMonthsOffset = 56;

using ProtocolRecord = ByteRecord<kRecordSize>;

// Byte offsets in the head of a record.
namespace head {
inline constexpr std::size_t kFlag = 0, kMesCount = 2, kMesCount0 = 4, kNewEnd = 6, kStartFmp = 8, kSredn1 = 10,
                             kSredn2 = 14, kTotSum1 = 18, kTotSum2 = 22, kSumOt1 = 26, kSumOt2 = 30, kSumOt = 34,
                             kHistoryCount = 54;
}
// Byte offsets in a month entry.
namespace month {
inline constexpr std::size_t kFlag = 0, kDate = 2, kSum1 = 4, kSum2 = 8, kPropPrem = 12, kDirectPrem = 16,
                             kNormCommon = 20, kFactCommon = 22, kNormEmployee = 24, kFactEmployee = 26,
                             kNormCommonExtra = 28, kFactCommonExtra = 30, kInFactor = 32, kCleanSum = 36;
}

// The offset of a field of month entry index (0..11).
constexpr std::size_t MonthField(std::size_t index, std::size_t field) noexcept {
    return kMonthsOffset + index * kMonthSize + field;
}

// Typed access to record fields: 16-bit integers, day numbers as DATE, money
// in hundredths as CURRENCY, singles as double.
SHORT GetShort(const ProtocolRecord& r, std::size_t offset) noexcept;
void PutShort(ProtocolRecord& r, std::size_t offset, SHORT value) noexcept;
DATE GetDay(const ProtocolRecord& r, std::size_t offset) noexcept;
void PutDay(ProtocolRecord& r, std::size_t offset, DATE value) noexcept;
CY GetMoney(const ProtocolRecord& r, std::size_t offset) noexcept;
void PutMoney(ProtocolRecord& r, std::size_t offset, CY value) noexcept;
float GetSingle(const ProtocolRecord& r, std::size_t offset) noexcept;
void PutSingle(ProtocolRecord& r, std::size_t offset, float value) noexcept;

// A double as a single: values beyond the single's range become infinities
// (a plain conversion of such a value is undefined).
float ToSingle(double value) noexcept;

// One interval in which vacation pay falls into a paid month.
struct PaidInterval {
    DATE dn = 0.0;
    DATE dk = 0.0;
    LONG type = 0;
    LONG days = 0;
    LONG hours = 0;
    CY sum{};
    bool inDays = false;
    friend bool operator==(const PaidInterval& a, const PaidInterval& b) {
        return a.dn == b.dn && a.dk == b.dk && a.type == b.type && a.days == b.days && a.hours == b.hours &&
               a.sum.int64 == b.sum.int64 && a.inDays == b.inDays;
    }
};

struct PaidMonth {
    DATE month = 0.0;     // the key: the floor of a date in the month
    double factor = 0.0;  // indexation factor; 0 for a month that has none yet
    std::vector<PaidInterval> intervals;  // in the order they were added
    friend bool operator==(const PaidMonth&, const PaidMonth&) = default;
};

// Paid months of one access type, ordered by their key.
using PaidMonths = std::map<double, PaidMonth>;

// Everything a vacation object keeps of its protocols.
struct ProtocolSet {
    // (access type 0, protocol 0), (0, 1), (1, 0), (1, 1)
    std::array<ProtocolRecord, 4> records{};
    std::array<PaidMonths, 2> paid;

    static constexpr std::size_t Index(LONG accessType, LONG protocol) noexcept {
        return static_cast<std::size_t>(protocol != 0 ? 1 : 0) + (accessType != 0 ? 2 : 0);
    }
    void Clear() {
        for (auto& r : records) r.Clear();
        for (auto& p : paid) p.clear();
    }
    friend bool operator==(const ProtocolSet&, const ProtocolSet&) = default;
};

// The extension root element that holds the protocols of a document type.
const char16_t* RootForType(LONG type) noexcept;

// Older bodies, recognised by their byte length (184, 344, 632, 1264, 2528).
// Fills out (which the caller has cleared) and answers true; any other length
// answers false and leaves out alone.
bool DecodeLegacyBody(const unsigned char* bytes, std::size_t length, ProtocolSet& out) noexcept;

// Reads the "Protocol" elements of a "Protocols" element into out (cleared by
// the caller). Missing elements leave their fields zero.
void ReadProtocols(IXMLDOMElement* protocols, ProtocolSet& out);

// Appends a new "Protocols" element with the whole set to parent.
void AppendProtocols(IXMLDOMDocument* xml, IXMLDOMElement* parent, const ProtocolSet& set, std::u16string_view tabNum,
                     LONG documentId);

}  // namespace orv::vacation
