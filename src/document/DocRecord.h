// The document record: the 304-byte little-endian image that the database
// service stores, lists carry and the XML form embeds, with a named accessor
// for every field at its byte offset.
//
// Ten sum-like fields exist twice, in a primary area and in a secondary area
// (used by documents whose access type AT is non-zero); their accessors take
// the area. Everything else exists once. The record knows nothing of
// properties, conversions or rules: those are the document's.
#pragma once

#include "frame/record.h"

#include <orvdocs/platform/types.h>

#include <cstddef>
#include <cstdint>

namespace orv {

enum class SumArea : unsigned char { Primary, Secondary };

// Offsets of the fields that exist in both areas.
struct AreaLayout {
    std::uint16_t dcsum1, dcsum2, dcdolg, proc, dpod, dolgOld, dcsum3, dcms, lreserv2, dcshort, dclong;
};
inline constexpr AreaLayout kPrimaryArea{16, 20, 24, 28, 30, 68, 72, 76, 88, 102, 106};
inline constexpr AreaLayout kSecondaryArea{178, 182, 186, 190, 192, 194, 198, 202, 214, 218, 222};

namespace docrec {
inline constexpr std::size_t kSize = 304;
inline constexpr std::size_t kDfl = 0;
inline constexpr std::size_t kType = 2;
inline constexpr std::size_t kT1 = 4;
inline constexpr std::size_t kDcId = 6;
inline constexpr std::size_t kDn = 8;
inline constexpr std::size_t kDk = 10;
inline constexpr std::size_t kEntering = 12;
inline constexpr std::size_t kDcDat1 = 14;
inline constexpr std::size_t kDcType = 32, kDcTypeWidth = 3;
inline constexpr std::size_t kDcOsn = 35, kDcOsnWidth = 33;
inline constexpr std::size_t kCodeShpz = 92;
inline constexpr std::size_t kCodeVidRab = 94;
inline constexpr std::size_t kProjectCode = 96;
inline constexpr std::size_t kCodeFinRoot = 98;
inline constexpr std::size_t kStaffOrderId = 126;
inline constexpr std::size_t kMemo = 130, kMemoWidth = 46;
inline constexpr std::size_t kAccsType = 176;
inline constexpr std::size_t kRsrv = 242;
inline constexpr std::size_t kAbsenteeTabno = 242, kAbsenteeTabnoWidth = 20;
inline constexpr std::size_t kDcsum1High = 262;
inline constexpr std::size_t kXlNewReserv = 274;

inline constexpr int kDcmsCount = 3;
inline constexpr int kDcShortCount = 2;
inline constexpr int kDcLongCount = 5;
inline constexpr int kRsrvCount = 5;
}  // namespace docrec

class DocRecord : public ByteRecord<docrec::kSize> {
public:
    static constexpr const AreaLayout& Layout(SumArea area) noexcept {
        return area == SumArea::Primary ? kPrimaryArea : kSecondaryArea;
    }

    // Fields kept once.
    SHORT Dfl() const noexcept { return Read<std::int16_t>(docrec::kDfl); }
    void SetDfl(SHORT v) noexcept { Write<std::int16_t>(docrec::kDfl, v); }
    SHORT TypeCode() const noexcept { return Read<std::int16_t>(docrec::kType); }
    void SetTypeCode(SHORT v) noexcept { Write<std::int16_t>(docrec::kType, v); }
    SHORT T1() const noexcept { return Read<std::int16_t>(docrec::kT1); }
    void SetT1(SHORT v) noexcept { Write<std::int16_t>(docrec::kT1, v); }
    SHORT DcId() const noexcept { return Read<std::int16_t>(docrec::kDcId); }
    void SetDcId(SHORT v) noexcept { Write<std::int16_t>(docrec::kDcId, v); }
    SHORT Dn() const noexcept { return Read<std::int16_t>(docrec::kDn); }
    void SetDn(SHORT v) noexcept { Write<std::int16_t>(docrec::kDn, v); }
    SHORT Dk() const noexcept { return Read<std::int16_t>(docrec::kDk); }
    void SetDk(SHORT v) noexcept { Write<std::int16_t>(docrec::kDk, v); }
    SHORT EnteringDate() const noexcept { return Read<std::int16_t>(docrec::kEntering); }
    void SetEnteringDate(SHORT v) noexcept { Write<std::int16_t>(docrec::kEntering, v); }
    SHORT DcDat1() const noexcept { return Read<std::int16_t>(docrec::kDcDat1); }
    void SetDcDat1(SHORT v) noexcept { Write<std::int16_t>(docrec::kDcDat1, v); }
    SHORT CodeShpz() const noexcept { return Read<std::int16_t>(docrec::kCodeShpz); }
    void SetCodeShpz(SHORT v) noexcept { Write<std::int16_t>(docrec::kCodeShpz, v); }
    SHORT CodeVidRab() const noexcept { return Read<std::int16_t>(docrec::kCodeVidRab); }
    void SetCodeVidRab(SHORT v) noexcept { Write<std::int16_t>(docrec::kCodeVidRab, v); }
    SHORT ProjectCode() const noexcept { return Read<std::int16_t>(docrec::kProjectCode); }
    void SetProjectCode(SHORT v) noexcept { Write<std::int16_t>(docrec::kProjectCode, v); }
    SHORT CodeFinRoot() const noexcept { return Read<std::int16_t>(docrec::kCodeFinRoot); }
    void SetCodeFinRoot(SHORT v) noexcept { Write<std::int16_t>(docrec::kCodeFinRoot, v); }
    LONG StaffOrderId() const noexcept { return Read<std::int32_t>(docrec::kStaffOrderId); }
    void SetStaffOrderId(LONG v) noexcept { Write<std::int32_t>(docrec::kStaffOrderId, v); }
    SHORT AccsType() const noexcept { return Read<std::int16_t>(docrec::kAccsType); }
    void SetAccsType(SHORT v) noexcept { Write<std::int16_t>(docrec::kAccsType, v); }
    LONG Rsrv(int i) const noexcept { return Read<std::int32_t>(docrec::kRsrv + 4 * i); }
    void SetRsrv(int i, LONG v) noexcept { Write<std::int32_t>(docrec::kRsrv + 4 * i, v); }
    ULONG Dcsum1High() const noexcept { return Read<std::uint32_t>(docrec::kDcsum1High); }
    void SetDcsum1High(ULONG v) noexcept { Write<std::uint32_t>(docrec::kDcsum1High, v); }
    LONG XlNewReserv() const noexcept { return Read<std::int32_t>(docrec::kXlNewReserv); }
    void SetXlNewReserv(LONG v) noexcept { Write<std::int32_t>(docrec::kXlNewReserv, v); }

    // OEM text fields (the field's first byte and its width).
    char* DcTypeField() noexcept { return Chars(docrec::kDcType); }
    const char* DcTypeField() const noexcept { return Chars(docrec::kDcType); }
    char* DcOsnField() noexcept { return Chars(docrec::kDcOsn); }
    const char* DcOsnField() const noexcept { return Chars(docrec::kDcOsn); }
    char* MemoField() noexcept { return Chars(docrec::kMemo); }
    const char* MemoField() const noexcept { return Chars(docrec::kMemo); }
    char* AbsenteeTabnoField() noexcept { return Chars(docrec::kAbsenteeTabno); }
    const char* AbsenteeTabnoField() const noexcept { return Chars(docrec::kAbsenteeTabno); }

    // Fields kept in both areas. Sums are hundredths.
    LONG Dcsum1Low(SumArea a) const noexcept { return Read<std::int32_t>(Layout(a).dcsum1); }
    void SetDcsum1Low(SumArea a, LONG v) noexcept { Write<std::int32_t>(Layout(a).dcsum1, v); }
    LONG DcSum2(SumArea a) const noexcept { return Read<std::int32_t>(Layout(a).dcsum2); }
    void SetDcSum2(SumArea a, LONG v) noexcept { Write<std::int32_t>(Layout(a).dcsum2, v); }
    LONG DcDolg(SumArea a) const noexcept { return Read<std::int32_t>(Layout(a).dcdolg); }
    void SetDcDolg(SumArea a, LONG v) noexcept { Write<std::int32_t>(Layout(a).dcdolg, v); }
    SHORT Proc(SumArea a) const noexcept { return Read<std::int16_t>(Layout(a).proc); }
    void SetProc(SumArea a, SHORT v) noexcept { Write<std::int16_t>(Layout(a).proc, v); }
    SHORT Dpod(SumArea a) const noexcept { return Read<std::int16_t>(Layout(a).dpod); }
    void SetDpod(SumArea a, SHORT v) noexcept { Write<std::int16_t>(Layout(a).dpod, v); }
    LONG DolgOld(SumArea a) const noexcept { return Read<std::int32_t>(Layout(a).dolgOld); }
    void SetDolgOld(SumArea a, LONG v) noexcept { Write<std::int32_t>(Layout(a).dolgOld, v); }
    LONG DcSum3(SumArea a) const noexcept { return Read<std::int32_t>(Layout(a).dcsum3); }
    void SetDcSum3(SumArea a, LONG v) noexcept { Write<std::int32_t>(Layout(a).dcsum3, v); }
    LONG Dcms(SumArea a, int i) const noexcept { return Read<std::int32_t>(Layout(a).dcms + 4 * i); }
    void SetDcms(SumArea a, int i, LONG v) noexcept { Write<std::int32_t>(Layout(a).dcms + 4 * i, v); }
    LONG LReserv2(SumArea a) const noexcept { return Read<std::int32_t>(Layout(a).lreserv2); }
    void SetLReserv2(SumArea a, LONG v) noexcept { Write<std::int32_t>(Layout(a).lreserv2, v); }
    SHORT DcShort(SumArea a, int i) const noexcept { return Read<std::int16_t>(Layout(a).dcshort + 2 * i); }
    void SetDcShort(SumArea a, int i, SHORT v) noexcept { Write<std::int16_t>(Layout(a).dcshort + 2 * i, v); }
    LONG DcLong(SumArea a, int i) const noexcept { return Read<std::int32_t>(Layout(a).dclong + 4 * i); }
    void SetDcLong(SumArea a, int i, LONG v) noexcept { Write<std::int32_t>(Layout(a).dclong + 4 * i, v); }
};
static_assert(sizeof(DocRecord) == docrec::kSize);

// Types whose documents keep their sums in the primary area whatever AT says:
// 51, 139, 250, 304, 305, 310, 392 and 401 to 417.
constexpr bool IsPrimaryOnlyType(LONG type) noexcept {
    switch (type) {
        case 51: case 139: case 250: case 304: case 305: case 310: case 392:
            return true;
        default:
            return type >= 401 && type <= 417;
    }
}

// The area the document's properties use: the secondary one exactly when AT
// is non-zero and the type is not primary-only.
constexpr SumArea AreaFor(LONG at, LONG type) noexcept {
    return at != 0 && !IsPrimaryOnlyType(type) ? SumArea::Secondary : SumArea::Primary;
}

}  // namespace orv
