// The record properties of the generic document: each one a view of one
// record field (or of a field kept beside the record) with its conversion,
// the area rule for the sum-like fields, and the type change rule.
#include "document/OrvDocument.h"

#include "frame/messages.h"
#include "frame/oemtext.h"
#include "frame/values.h"

#include <cstring>

namespace orv {
namespace {

constexpr SHORT kDflRecalculationBlocked = 0x0010;
constexpr SHORT kDflTemporary = 0x0080;

// 66 is never stored as a type code: it stands for 31.
constexpr SHORT NormaliseType(SHORT type) noexcept { return type == 66 ? SHORT(31) : type; }

constexpr bool IsOneOr48(LONG type) noexcept { return type == 1 || type == 48; }

bool IsOkOrTr(const char* code) noexcept { return std::strcmp(code, "OK") == 0 || std::strcmp(code, "TR") == 0; }

constexpr bool IsCurrencyInDcms(LONG type) noexcept { return type == 1 || type == 48; }
constexpr bool IsCurrencyInDcShort(LONG type) noexcept {
    return type == 27 || type == 61 || type == 92 || type == 334;
}

constexpr VARIANT_BOOL Bool(bool b) noexcept { return b ? VARIANT_TRUE : VARIANT_FALSE; }

SHORT WithBit(SHORT word, SHORT bit, VARIANT_BOOL set) noexcept {
    return static_cast<SHORT>(set ? (word | bit) : (word & ~bit));
}

}  // namespace

// ------------------------------------------------------------------ record

HRESULT OrvDocument::get_DocRecord(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = RecordToBstr(record_.Data(), DocRecord::kSize);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvDocument::put_DocRecord(BSTR newVal) {
    // A record is replaced whole or not at all: a shorter string would leave
    // a record that is part new, part old.
    if (SysStringByteLen(newVal) < DocRecord::kSize) return E_INVALIDARG;
    return LockedPut([&] {
        BstrToRecord(newVal, record_.Data(), DocRecord::kSize);
        record_.SetTypeCode(NormaliseType(record_.TypeCode()));
    });
}

HRESULT OrvDocument::RefuseTypeChange() noexcept {
    return ReportWithMessage(CLSID_OrvDocument, kMsgTypeChangeForbidden, IID_IOrvDocumentDisp, E_INVALIDARG);
}

HRESULT OrvDocument::get_lDcType(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.TypeCode()); });
}

HRESULT OrvDocument::put_lDcType(LONG newVal) {
    bool refused = false;
    HRESULT hr = Locked([&] {
        LONG stored = record_.TypeCode();
        if (stored == 0 || stored == newVal || (IsOneOr48(stored) && IsOneOr48(newVal))) {
            record_.SetTypeCode(NormaliseType(static_cast<SHORT>(newVal)));
            return S_OK;
        }
        refused = true;
        return E_INVALIDARG;
    });
    return refused ? RefuseTypeChange() : hr;
}

HRESULT OrvDocument::get_DcType(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = ReadOemField(record_.DcTypeField(), docrec::kDcTypeWidth);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvDocument::put_DcType(BSTR newVal) {
    // The code is compared and stored in the field's own code page, so that
    // the getter gives back what was put.
    CTCharToOem code(newVal);
    bool refused = false;
    HRESULT hr = Locked([&] {
        char stored[docrec::kDcTypeWidth + 1] = {};
        std::memcpy(stored, record_.DcTypeField(), docrec::kDcTypeWidth);
        if (stored[0] == 0 || std::strcmp(stored, code.Text()) == 0 || (IsOkOrTr(stored) && IsOkOrTr(code.Text()))) {
            char* field = record_.DcTypeField();
            std::strncpy(field, code.Text(), 2);
            field[2] = 0;
            return S_OK;
        }
        refused = true;
        return E_INVALIDARG;
    });
    return refused ? RefuseTypeChange() : hr;
}

HRESULT OrvDocument::get_dtDn(DATE* pVal) {
    return LockedGet(pVal, [&] { return DayNumberToDate(record_.Dn()); });
}
HRESULT OrvDocument::put_dtDn(DATE newVal) {
    return LockedPut([&] { record_.SetDn(DateToDayNumber(newVal)); });
}
HRESULT OrvDocument::get_dtDk(DATE* pVal) {
    return LockedGet(pVal, [&] { return DayNumberToDate(record_.Dk()); });
}
HRESULT OrvDocument::put_dtDk(DATE newVal) {
    return LockedPut([&] { record_.SetDk(DateToDayNumber(newVal)); });
}
HRESULT OrvDocument::get_EnteringDate(DATE* pVal) {
    return LockedGet(pVal, [&] { return DayNumberToDate(record_.EnteringDate()); });
}
HRESULT OrvDocument::put_EnteringDate(DATE newVal) {
    return LockedPut([&] { record_.SetEnteringDate(DateToDayNumber(newVal)); });
}

HRESULT OrvDocument::get_T1(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.T1()); });
}
HRESULT OrvDocument::put_T1(LONG newVal) {
    return LockedPut([&] { record_.SetT1(static_cast<SHORT>(newVal)); });
}
HRESULT OrvDocument::get_lDcId(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.DcId()); });
}
HRESULT OrvDocument::put_lDcId(LONG newVal) {
    return LockedPut([&] { record_.SetDcId(static_cast<SHORT>(newVal)); });
}
HRESULT OrvDocument::get_DcDat1(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.DcDat1()); });
}
HRESULT OrvDocument::put_DcDat1(LONG newVal) {
    return LockedPut([&] { record_.SetDcDat1(static_cast<SHORT>(newVal)); });
}
HRESULT OrvDocument::get_Dfl(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.Dfl()); });
}
HRESULT OrvDocument::put_Dfl(LONG newVal) {
    return LockedPut([&] { record_.SetDfl(static_cast<SHORT>(newVal)); });
}

HRESULT OrvDocument::get_CodeShpz(SHORT* pVal) {
    return LockedGet(pVal, [&] { return record_.CodeShpz(); });
}
HRESULT OrvDocument::put_CodeShpz(SHORT newVal) {
    return LockedPut([&] { record_.SetCodeShpz(newVal); });
}
HRESULT OrvDocument::get_CodeVidRab(SHORT* pVal) {
    return LockedGet(pVal, [&] { return record_.CodeVidRab(); });
}
HRESULT OrvDocument::put_CodeVidRab(SHORT newVal) {
    return LockedPut([&] { record_.SetCodeVidRab(newVal); });
}
HRESULT OrvDocument::get_ProjectCode(SHORT* pVal) {
    return LockedGet(pVal, [&] { return record_.ProjectCode(); });
}
HRESULT OrvDocument::put_ProjectCode(SHORT newVal) {
    return LockedPut([&] { record_.SetProjectCode(newVal); });
}
HRESULT OrvDocument::get_CodeFinRoot(SHORT* pVal) {
    return LockedGet(pVal, [&] { return record_.CodeFinRoot(); });
}
HRESULT OrvDocument::put_CodeFinRoot(SHORT newVal) {
    return LockedPut([&] { record_.SetCodeFinRoot(newVal); });
}

HRESULT OrvDocument::get_shAccsType(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.AccsType()); });
}
HRESULT OrvDocument::put_shAccsType(LONG newVal) {
    return LockedPut([&] { record_.SetAccsType(static_cast<SHORT>(newVal)); });
}
HRESULT OrvDocument::get_StaffOrderId(LONG* pVal) {
    return LockedGet(pVal, [&] { return record_.StaffOrderId(); });
}
HRESULT OrvDocument::put_StaffOrderId(LONG newVal) {
    return LockedPut([&] { record_.SetStaffOrderId(newVal); });
}
HRESULT OrvDocument::get_xlNewReserv(LONG* pVal) {
    return LockedGet(pVal, [&] { return record_.XlNewReserv(); });
}
HRESULT OrvDocument::put_xlNewReserv(LONG newVal) {
    return LockedPut([&] { record_.SetXlNewReserv(newVal); });
}

HRESULT OrvDocument::get_DcOsn(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = ReadOemField(record_.DcOsnField(), docrec::kDcOsnWidth);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}
HRESULT OrvDocument::put_DcOsn(BSTR newVal) {
    return LockedPut([&] { WriteOemField(record_.DcOsnField(), docrec::kDcOsnWidth, newVal); });
}
HRESULT OrvDocument::get_Memo(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = ReadOemField(record_.MemoField(), docrec::kMemoWidth);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}
HRESULT OrvDocument::put_Memo(BSTR newVal) {
    return LockedPut([&] { WriteOemField(record_.MemoField(), docrec::kMemoWidth, newVal); });
}

// -------------------------------------------------------------------- sums

CY OrvDocument::Dcsum1Value() const noexcept {
    SumArea area = Area();
    if (area == SumArea::Primary) {
        if (ULONG high = record_.Dcsum1High()) {
            auto low = static_cast<std::uint32_t>(record_.Dcsum1Low(SumArea::Primary));
            return MakeCurrency(static_cast<LONGLONG>((static_cast<std::uint64_t>(high) << 32) | low));
        }
    }
    return HundredthsToCurrency(record_.Dcsum1Low(area));
}

HRESULT OrvDocument::get_Dcsum1(CY* pVal) {
    return LockedGet(pVal, [&] { return Dcsum1Value(); });
}

HRESULT OrvDocument::put_Dcsum1(CY newVal) {
    return LockedPut([&] {
        SumArea area = Area();
        if (area == SumArea::Secondary) {
            record_.SetDcsum1Low(area, CurrencyToHundredths(newVal));
            return;
        }
        // An amount of 2^31 hundredths or more is kept whole as raw currency
        // units: low 32 bits in the sum field, high 32 bits in the high word.
        constexpr LONGLONG kLimit = LONGLONG(1) << 31;
        if (newVal.int64 / 100 >= kLimit) {
            auto raw = static_cast<std::uint64_t>(newVal.int64);
            record_.SetDcsum1Low(area, static_cast<LONG>(static_cast<std::uint32_t>(raw)));
            record_.SetDcsum1High(static_cast<ULONG>(raw >> 32));
        } else {
            record_.SetDcsum1High(0);
            record_.SetDcsum1Low(area, CurrencyToHundredths(newVal));
        }
    });
}

HRESULT OrvDocument::get_DcSum2(CY* pVal) {
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.DcSum2(Area())); });
}
HRESULT OrvDocument::put_DcSum2(CY newVal) {
    return LockedPut([&] { record_.SetDcSum2(Area(), CurrencyToHundredths(newVal)); });
}
HRESULT OrvDocument::get_DcSum3(CY* pVal) {
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.DcSum3(Area())); });
}
HRESULT OrvDocument::put_DcSum3(CY newVal) {
    return LockedPut([&] { record_.SetDcSum3(Area(), CurrencyToHundredths(newVal)); });
}
HRESULT OrvDocument::get_DcDolg(CY* pVal) {
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.DcDolg(Area())); });
}
HRESULT OrvDocument::put_DcDolg(CY newVal) {
    return LockedPut([&] { record_.SetDcDolg(Area(), CurrencyToHundredths(newVal)); });
}
HRESULT OrvDocument::get_DolgOld(CY* pVal) {
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.DolgOld(Area())); });
}
HRESULT OrvDocument::put_DolgOld(CY newVal) {
    return LockedPut([&] { record_.SetDolgOld(Area(), CurrencyToHundredths(newVal)); });
}

// The Dcms index is a 16-bit number compared as unsigned, so negative indices
// are refused as well; a refusal also describes itself with message 1010.
HRESULT OrvDocument::get_Dcms(SHORT shIndex, CY* pVal) {
    if (!pVal) return E_POINTER;
    auto index = static_cast<USHORT>(shIndex);
    if (index >= docrec::kDcmsCount) {
        ReportError(CLSID_OrvDocument, IDS_MS_INDEX, 0, nullptr, IID_NULL, 0);
        return E_INVALIDARG;
    }
    return LockedGet(pVal, [&] { return HundredthsToCurrency(record_.Dcms(Area(), index)); });
}
HRESULT OrvDocument::put_Dcms(SHORT shIndex, CY newVal) {
    auto index = static_cast<USHORT>(shIndex);
    if (index >= docrec::kDcmsCount) {
        ReportError(CLSID_OrvDocument, IDS_MS_INDEX, 0, nullptr, IID_NULL, 0);
        return E_INVALIDARG;
    }
    return LockedPut([&] { record_.SetDcms(Area(), index, CurrencyToHundredths(newVal)); });
}

HRESULT OrvDocument::get_lDcProc(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.Proc(Area())); });
}
HRESULT OrvDocument::put_lDcProc(LONG newVal) {
    return LockedPut([&] { record_.SetProc(Area(), static_cast<SHORT>(newVal)); });
}
HRESULT OrvDocument::get_lDcdpod(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(record_.Dpod(Area())); });
}
HRESULT OrvDocument::put_lDcdpod(LONG newVal) {
    return LockedPut([&] {
        auto value = static_cast<SHORT>(newVal);
        LONG type = record_.TypeCode();
        // Sick-leave and vacation documents keep their benefit type in both
        // areas, whatever the access type.
        if (type == 21 || type == 22) {
            record_.SetDpod(SumArea::Secondary, value);
            record_.SetDpod(SumArea::Primary, value);
        } else {
            record_.SetDpod(Area(), value);
        }
    });
}
HRESULT OrvDocument::get_LReserv2(LONG* pVal) {
    return LockedGet(pVal, [&] { return record_.LReserv2(Area()); });
}
HRESULT OrvDocument::put_LReserv2(LONG newVal) {
    return LockedPut([&] { record_.SetLReserv2(Area(), newVal); });
}

// The other indexed properties refuse an index outside their range (checked
// as unsigned) without error information.
HRESULT OrvDocument::get_dcLong(LONG nIndex, LONG* pVal) {
    if (!pVal) return E_POINTER;
    if (static_cast<ULONG>(nIndex) >= docrec::kDcLongCount) return E_INVALIDARG;
    return LockedGet(pVal, [&] { return record_.DcLong(Area(), nIndex); });
}
HRESULT OrvDocument::put_dcLong(LONG nIndex, LONG newVal) {
    if (static_cast<ULONG>(nIndex) >= docrec::kDcLongCount) return E_INVALIDARG;
    return LockedPut([&] { record_.SetDcLong(Area(), nIndex, newVal); });
}
HRESULT OrvDocument::get_dcShort(LONG nIndex, SHORT* pVal) {
    if (!pVal) return E_POINTER;
    if (static_cast<ULONG>(nIndex) >= docrec::kDcShortCount) return E_INVALIDARG;
    return LockedGet(pVal, [&] { return record_.DcShort(Area(), nIndex); });
}
HRESULT OrvDocument::put_dcShort(LONG nIndex, SHORT newVal) {
    if (static_cast<ULONG>(nIndex) >= docrec::kDcShortCount) return E_INVALIDARG;
    return LockedPut([&] {
        // Type 30 keeps dcShort 1 in both areas.
        if (nIndex == 1 && record_.TypeCode() == 30) {
            record_.SetDcShort(SumArea::Secondary, 1, newVal);
            record_.SetDcShort(SumArea::Primary, 1, newVal);
        } else {
            record_.SetDcShort(Area(), nIndex, newVal);
        }
    });
}
HRESULT OrvDocument::get_lDcRsrv(LONG nIndex, LONG* pVal) {
    if (!pVal) return E_POINTER;
    if (static_cast<ULONG>(nIndex) >= docrec::kRsrvCount) return E_INVALIDARG;
    return LockedGet(pVal, [&] { return record_.Rsrv(nIndex); });
}
HRESULT OrvDocument::put_lDcRsrv(LONG nIndex, LONG newVal) {
    if (static_cast<ULONG>(nIndex) >= docrec::kRsrvCount) return E_INVALIDARG;
    return LockedPut([&] { record_.SetRsrv(nIndex, newVal); });
}

HRESULT OrvDocument::get_LastModificationDate(DATE* pVal) {
    return LockedGet(pVal, [&] { return DayNumberToDate(record_.DcShort(Area(), 0)); });
}
HRESULT OrvDocument::put_LastModificationDate(DATE newVal) {
    return LockedPut([&] { record_.SetDcShort(Area(), 0, DateToDayNumber(newVal)); });
}

// Type 27 (temporary transfers) keeps the end of the transfer in LReserv2 as
// a day number widened to 32 bits and the absentee's personnel number in the
// reserve fields; other types have neither.
HRESULT OrvDocument::get_TemporaryEnd(DATE* pVal) {
    return LockedGet(pVal, [&] {
        if (record_.TypeCode() != 27) return 0.0;
        LONG day = record_.LReserv2(Area());
        return day != 0 ? static_cast<double>(day) + kDayNumberEpoch : 0.0;
    });
}
HRESULT OrvDocument::put_TemporaryEnd(DATE newVal) {
    return LockedPut([&] {
        if (record_.TypeCode() == 27) record_.SetLReserv2(Area(), LONG(DateToDayNumber(newVal)));
    });
}
HRESULT OrvDocument::get_AbsenteeTabno(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (record_.TypeCode() != 27) return S_FALSE;
        *pVal = ReadOemField(record_.AbsenteeTabnoField(), docrec::kAbsenteeTabnoWidth);
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}
HRESULT OrvDocument::put_AbsenteeTabno(BSTR newVal) {
    return LockedPut([&] {
        if (record_.TypeCode() == 27)
            WriteOemField(record_.AbsenteeTabnoField(), docrec::kAbsenteeTabnoWidth, newVal);
    });
}

HRESULT OrvDocument::get_IsTemporary(VARIANT_BOOL* pVal) {
    return LockedGet(pVal, [&] { return Bool(record_.Dfl() & kDflTemporary); });
}
HRESULT OrvDocument::put_IsTemporary(VARIANT_BOOL newVal) {
    return LockedPut([&] { record_.SetDfl(WithBit(record_.Dfl(), kDflTemporary, newVal)); });
}
HRESULT OrvDocument::get_RecalculationBlocked(VARIANT_BOOL* pVal) {
    return LockedGet(pVal, [&] { return Bool(record_.Dfl() & kDflRecalculationBlocked); });
}
HRESULT OrvDocument::put_RecalculationBlocked(VARIANT_BOOL newVal) {
    return LockedPut([&] { record_.SetDfl(WithBit(record_.Dfl(), kDflRecalculationBlocked, newVal)); });
}

// The currency of a currency-bearing document and its rate live in general
// fields; they go through the document's own Dcms, dcShort and dcLong
// properties so that the area rule and the both-areas rule apply to them.
HRESULT OrvDocument::get_CurrencyId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = 0;
        LONG type = record_.TypeCode();
        if (IsCurrencyInDcms(type)) {
            CY id{};
            Check(get_Dcms(1, &id));
            *pVal = CurrencyToHundredths(id);
        } else if (IsCurrencyInDcShort(type)) {
            SHORT id = 0;
            Check(get_dcShort(1, &id));
            *pVal = id;
        }
        return S_OK;
    });
}
HRESULT OrvDocument::put_CurrencyId(LONG newVal) {
    return Locked([&] {
        LONG type = record_.TypeCode();
        if (IsCurrencyInDcms(type)) {
            // Stored as hundredths equal to the identifier.
            Check(put_Dcms(1, MakeCurrency(static_cast<LONGLONG>(newVal) * 100)));
        } else if (IsCurrencyInDcShort(type)) {
            Check(put_dcShort(1, static_cast<SHORT>(newVal)));
        }
        return S_OK;
    });
}
HRESULT OrvDocument::get_Rate(CY* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = MakeCurrency(0);
        LONG type = record_.TypeCode();
        if (IsCurrencyInDcms(type) || IsCurrencyInDcShort(type)) {
            LONG raw = 0;
            Check(get_dcLong(4, &raw));
            *pVal = MakeCurrency(raw);  // the rate's raw currency units
        }
        return S_OK;
    });
}
HRESULT OrvDocument::put_Rate(CY newVal) {
    return Locked([&] {
        LONG type = record_.TypeCode();
        if (IsCurrencyInDcms(type) || IsCurrencyInDcShort(type)) {
            // The rounding of value x 100 to hundredths is the value's raw
            // units; their low 32 bits are kept.
            auto raw = static_cast<std::uint64_t>(newVal.int64);
            Check(put_dcLong(4, static_cast<LONG>(static_cast<std::uint32_t>(raw))));
        }
        return S_OK;
    });
}

// ---------------------------------------------------- fields beside the record

HRESULT OrvDocument::get_DB_ADDR(ULONG* pVal) {
    return LockedGet(pVal, [&] { return dbAddr_; });
}
HRESULT OrvDocument::put_DB_ADDR(ULONG newVal) {
    return LockedPut([&] { dbAddr_ = newVal; });
}
HRESULT OrvDocument::get_TimeStamp(ULONG* pVal) {
    return LockedGet(pVal, [&] { return timeStamp_; });
}
HRESULT OrvDocument::put_TimeStamp(ULONG newVal) {
    return LockedPut([&] { timeStamp_ = newVal; });
}
HRESULT OrvDocument::get_AT(LONG* pVal) {
    return LockedGet(pVal, [&] { return at_; });
}
HRESULT OrvDocument::put_AT(LONG newVal) {
    return LockedPut([&] { at_ = newVal; });
}
HRESULT OrvDocument::get_RecalculationDate(DATE* pVal) {
    return LockedGet(pVal, [&] { return recalculationDate_; });
}
HRESULT OrvDocument::put_RecalculationDate(DATE newVal) {
    return LockedPut([&] { recalculationDate_ = newVal; });
}
HRESULT OrvDocument::get_RecordCondition(LONG* pVal) {
    return LockedGet(pVal, [&] { return recordCondition_; });
}
HRESULT OrvDocument::put_RecordCondition(LONG newVal) {
    // A new record stays new when it is changed.
    return LockedPut([&] {
        if (!(newVal == 2 && recordCondition_ == 1)) recordCondition_ = newVal;
    });
}
HRESULT OrvDocument::get_SkipReadingDocExt(LONG* pVal) {
    return LockedGet(pVal, [&] { return LONG(skipReadingDocExt_); });
}
HRESULT OrvDocument::put_SkipReadingDocExt(LONG newVal) {
    return LockedPut([&] { skipReadingDocExt_ = static_cast<SHORT>(newVal); });
}
HRESULT OrvDocument::get_ExtensionInitialized(VARIANT_BOOL* pVal) {
    return LockedGet(pVal, [&] { return extensionInitialized_; });
}
HRESULT OrvDocument::put_ExtensionInitialized(VARIANT_BOOL newVal) {
    return LockedPut([&] { extensionInitialized_ = Bool(newVal != 0); });
}
HRESULT OrvDocument::get_IsConnectedToDB(VARIANT_BOOL* pVal) {
    return LockedGet(pVal, [&] { return Bool(database_ != nullptr); });
}

HRESULT OrvDocument::MakeAsNew() {
    return LockedPut([&] {
        dbAddr_ = 0;
        timeStamp_ = 0;
        record_.SetDcId(0);
        recordCondition_ = 1;
    });
}
HRESULT OrvDocument::ClearRecordCondition() {
    return LockedPut([&] { recordCondition_ = 0; });
}

}  // namespace orv
