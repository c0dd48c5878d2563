// The legacy protocol record: the binary form sick-leave documents kept
// their protocol in before the XML form. Little-endian and packed:
//
//   0  flags (1 byte)          0x01 CalcFromOkladOrTarif, 0x02 set: CalcInDays
//                              false, 0x04 If32TypeAndProcHBChanged,
//                              0x08 IfSrednHBEntered, 0x10 If1p12PremHBEntered,
//                              0x20 IfProcentHBEntered
//   2  FirstFactSredn (float)  6 SecondSredn (float)
//  10  SumFromHighProc         14 SumFromLowProc    18 TotSumForSredn
//  22  TotBlSum                26 LimitSum          (32-bit hundredths)
//  30  LengthBeforeLoweringProc  32 LengthAfterLoweringProc  34 BlUsedProcent
//  36  StagYears  38 BlUsedDays  40 BlUsedHours      (unsigned 16 bits)
//  42  HistoryCount (signed 16 bits)
//  44  history entries of 10 bytes: Days u16, Hours u16, Month (day number),
//      SumForSredn (hundredths)
//  66 (short layout, 586 bytes) or 166 (long layout, 686 bytes): ten pay-month
//      entries of 52 bytes: Days u16, Hours u16, NormHours u16, Month (day
//      number), Sum, Oklad, OkladWithNadb (hundredths), FirstSredn,
//      SecondSredn, ProcSredn, MonthLimit (float), NormDays i16.
//
// "float" money is an IEEE single holding hundredths.
#include "sickleave/OrvBLDocProtocol.h"

#include "frame/record.h"
#include "frame/values.h"
#include "sickleave/OrvBLProtItems.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orv {
namespace {

// A view of the record's bytes that never reads past its end.
class Bytes {
public:
    Bytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    bool Holds(std::size_t offset, std::size_t width) const { return offset <= size_ && width <= size_ - offset; }
    template <class T>
    T Read(std::size_t offset) const {
        std::make_unsigned_t<T> raw = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            raw = static_cast<std::make_unsigned_t<T>>(raw | (static_cast<std::make_unsigned_t<T>>(data_[offset + i]) << (8 * i)));
        return static_cast<T>(raw);
    }
    std::uint8_t Byte(std::size_t offset) const { return data_[offset]; }

    // Money as 32-bit hundredths.
    CY Hundredths(std::size_t offset) const { return HundredthsToCurrency(Read<std::int32_t>(offset)); }
    // Money as 32-bit hundredths taken through a double: x 100.0 + 0.5, cut
    // towards zero.
    CY HundredthsThroughDouble(std::size_t offset) const {
        return Rounded(static_cast<double>(Read<std::int32_t>(offset)) * 100.0 + 0.5);
    }
    // Money as an IEEE single holding hundredths, taken the same way.
    CY Single(std::size_t offset) const {
        const float value = std::bit_cast<float>(Read<std::uint32_t>(offset));
        return Rounded(static_cast<double>(value) * 100.0 + 0.5);
    }
    DATE Day(std::size_t offset) const { return DayNumberToDate(Read<std::int16_t>(offset)); }
    LONG Unsigned16(std::size_t offset) const { return Read<std::uint16_t>(offset); }

private:
    // Cut towards zero to raw currency units; a value that is not a number
    // or does not fit 64 bits gives INT64_MIN, as the processor's conversion
    // does.
    static CY Rounded(double raw) {
        if (!std::isfinite(raw) || raw >= 9223372036854775808.0 || raw < -9223372036854775808.0)
            return MakeCurrency(INT64_MIN);
        return MakeCurrency(static_cast<LONGLONG>(raw));
    }

    const unsigned char* data_;
    std::size_t size_;
};

constexpr std::size_t kHistoryStart = 44;
constexpr std::size_t kHistoryEntry = 10;
constexpr std::size_t kPayMonthEntry = 52;
constexpr std::size_t kPayMonths = 10;
constexpr std::size_t kShortPayMonthStart = 66;
constexpr std::size_t kLongPayMonthStart = 166;

VARIANT_BOOL Flag(bool set) { return set ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

HRESULT OrvBLDocProtocol::FillFromLegacyRecord(const unsigned char* bytes, std::size_t size) {
    if (!bytes || size < kShortRecordSize) return E_INVALIDARG;
    const Bytes record(bytes, size);
    const std::size_t payStart = size < kLongRecordSize ? kShortPayMonthStart : kLongPayMonthStart;

    return Locked([&] {
        Values values;
        values.originatorType = values_.originatorType;
        values.number = values_.number;
        const std::uint8_t flags = record.Byte(0);
        values.calcFromOkladOrTarif = Flag(flags & 0x01);
        values.calcInDays = Flag(!(flags & 0x02));
        values.if32TypeAndProcHBChanged = Flag(flags & 0x04);
        values.ifSrednHBEntered = Flag(flags & 0x08);
        values.if1p12PremHBEntered = Flag(flags & 0x10);
        values.ifProcentHBEntered = Flag(flags & 0x20);
        values.firstFactSredn = record.Single(2);
        values.secondSredn = record.Single(6);
        values.sumFromHighProc = record.Hundredths(10);
        values.sumFromLowProc = record.Hundredths(14);
        values.totSumForSredn = record.Hundredths(18);
        values.totBlSum = record.Hundredths(22);
        values.limitSum = record.HundredthsThroughDouble(26);
        values.lengthBeforeLoweringProc = record.Unsigned16(30);
        values.lengthAfterLoweringProc = record.Unsigned16(32);
        values.blUsedProcent = record.Unsigned16(34);
        values.stagYears = record.Unsigned16(36);
        values.blUsedDays = record.Unsigned16(38);
        values.blUsedHours = record.Unsigned16(40);
        values.historyCount = record.Read<std::int16_t>(42);

        // History entries: only for a calculation from the earnings, as many
        // as the count says and the record holds (a count that runs past the
        // record's end stops at its end).
        std::vector<ComPtr<IUnknown>> history, payMonths;
        if (!(flags & 0x01) && values.historyCount > 0) {
            for (LONG i = 0; i < values.historyCount; ++i) {
                const std::size_t at = kHistoryStart + static_cast<std::size_t>(i) * kHistoryEntry;
                if (!record.Holds(at, kHistoryEntry)) break;
                ComPtr<IOrvBLProtHistoryItem> item;
                Check(CreateObject<OrvBLProtHistoryItem>(&item), IID_IOrvBLProtHistoryItem);
                item->put_Days(record.Unsigned16(at));
                item->put_Hours(record.Unsigned16(at + 2));
                item->put_Month(record.Day(at + 4));
                item->put_SumForSredn(record.Hundredths(at + 6));
                history.emplace_back(std::move(item));
            }
        }
        for (std::size_t i = 0; i < kPayMonths; ++i) {
            const std::size_t at = payStart + i * kPayMonthEntry;
            const LONG days = record.Unsigned16(at), hours = record.Unsigned16(at + 2);
            if (days == 0 && hours == 0) break;
            ComPtr<IOrvBlProtPayMonthItem> item;
            Check(CreateObject<OrvBlProtPayMonthItem>(&item), IID_IOrvBlProtPayMonthItem);
            item->put_Days(days);
            item->put_Hours(hours);
            item->put_NormHours(record.Unsigned16(at + 4));
            item->put_Month(record.Day(at + 6));
            item->put_Sum(record.Hundredths(at + 8));
            item->put_Oklad(record.Hundredths(at + 12));
            item->put_OkladWithNadb(record.Hundredths(at + 16));
            item->put_FirstSredn(record.Single(at + 20));
            item->put_SecondSredn(record.Single(at + 24));
            item->put_ProcSredn(record.Single(at + 28));
            item->put_MonthLimit(record.Single(at + 32));
            item->put_NormDays(record.Read<std::int16_t>(at + 36));
            payMonths.emplace_back(std::move(item));
        }

        Empty(history_.Get());
        Empty(payMonths_.Get());
        for (const auto& item : history) Check(history_->Add(item.Get()), IID_IOrvUnknownList);
        for (const auto& item : payMonths) Check(payMonths_->Add(item.Get()), IID_IOrvUnknownList);
        values_ = std::move(values);
        keptZero_ = nullptr;
        keptOther_ = nullptr;
        return S_OK;
    });
}

}  // namespace orv
