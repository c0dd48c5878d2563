// The vacation document (type code 22) and the vacation object of the kinds
// that carry a vacation-pay protocol (93, 304, 349).
//
// IOrvOTDoc: the vacation parameters, each a view of bits of a reserve field
// of the generic document's record; nothing of them is kept here.
// IOrvOTProtocol: the protocols of the vacation-pay calculation, two for each
// access type, and the paid months of each access type. They live in this
// object between Load and Save; Save writes them into the extension as XML
// under the root that the document type names.
// IOrvENUMBlTypes: the fixed table of vacation types, without a filter.
#pragma once

#include "kinds/KindBase.h"
#include "sickleave/TypeTable.h"
#include "vacation/ProtocolRecords.h"

#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/vacation.h>

#include <string>

namespace orv {

class OrvOTDoc : public SpecificObject<OrvOTDoc, &CLSID_OrvOTDoc, IOrvOTDoc, IDispatch,
                                       TearOff<IOrvENUMBlTypes, TypeTableTearOff<OrvOTDoc>>, IOrvOTProtocol> {
public:
    static std::span<const TypeRow> TypeRows() noexcept { return VacationTypeRows(); }
    static constexpr auto kTypeFilter = TypeTableEnumerator::Filter::None;

    // ------------------------------------------------------------ IOrvOTDoc
    HRESULT get_MonthsForSredn(SHORT* pVal) override;
    HRESULT put_MonthsForSredn(SHORT newVal) override;
    HRESULT get_ProtocolAsXml(BSTR* pVal) override;
    HRESULT put_ProtocolAsXml(BSTR newVal) override;
    HRESULT get_LastDCur(DATE* pVal) override;
    HRESULT put_LastDCur(DATE newVal) override;
    HRESULT get_ExtraDays2(LONG* pVal) override;
    HRESULT put_ExtraDays2(LONG newVal) override;
    HRESULT get_ExtraDays3(LONG* pVal) override;
    HRESULT put_ExtraDays3(LONG newVal) override;
    HRESULT get_OnlyExtraDays(VARIANT_BOOL* pVal) override;
    HRESULT put_OnlyExtraDays(VARIANT_BOOL newVal) override;
    HRESULT CalcAllDates(IUnknown* punkSotr, DATE dtStart, LONG lMainDays, LONG lExtraDays1, LONG lExtraDays2,
                         LONG lExtraDays3, DATE* pdtExtra1Start, DATE* pdtExtra2Start, DATE* pdtExtra3Start,
                         DATE* pdtFullStop) override;
    HRESULT get_OutOfAccount(VARIANT_BOOL* pVal) override;
    HRESULT put_OutOfAccount(VARIANT_BOOL newVal) override;
    HRESULT get_DaysOfCompensation(double* pVal) override;
    HRESULT put_DaysOfCompensation(double newVal) override;
    HRESULT get_ExtraType(LONG* pVal) override;
    HRESULT put_ExtraType(LONG newVal) override;
    HRESULT get_DopOtpCalcType(LONG DopOtpNumber, SHORT* pVal) override;
    HRESULT put_DopOtpCalcType(LONG DopOtpNumber, SHORT newVal) override;
    HRESULT get_IsNotMome(VARIANT_BOOL* pVal) override;
    HRESULT put_IsNotMome(VARIANT_BOOL newVal) override;

    // ------------------------------------------------------- IOrvOTProtocol
    HRESULT Load() override;
    HRESULT Save() override;
    HRESULT Clean() override;

    HRESULT get_Flag(ULONG* pVal) override;
    HRESULT put_Flag(ULONG newVal) override;
    HRESULT get_MesCount(SHORT* p) override { return GetHead(vacation::head::kMesCount, p, vacation::GetShort); }
    HRESULT put_MesCount(SHORT v) override { return PutHead(vacation::head::kMesCount, v, vacation::PutShort); }
    HRESULT get_MesCount0(SHORT* p) override { return GetHead(vacation::head::kMesCount0, p, vacation::GetShort); }
    HRESULT put_MesCount0(SHORT v) override { return PutHead(vacation::head::kMesCount0, v, vacation::PutShort); }
    HRESULT get_NewEnd(DATE* p) override { return GetHead(vacation::head::kNewEnd, p, vacation::GetDay); }
    HRESULT put_NewEnd(DATE v) override { return PutHead(vacation::head::kNewEnd, v, vacation::PutDay); }
    HRESULT get_StartFMP(DATE* p) override { return GetHead(vacation::head::kStartFmp, p, vacation::GetDay); }
    HRESULT put_StartFMP(DATE v) override { return PutHead(vacation::head::kStartFmp, v, vacation::PutDay); }
    HRESULT get_fSredn1(double* p) override { return GetHead(vacation::head::kSredn1, p, GetAverage); }
    HRESULT put_fSredn1(double v) override { return PutHead(vacation::head::kSredn1, v, PutAverage); }
    HRESULT get_fSredn2(double* p) override { return GetHead(vacation::head::kSredn2, p, GetAverage); }
    HRESULT put_fSredn2(double v) override { return PutHead(vacation::head::kSredn2, v, PutAverage); }
    HRESULT get_TotSum1(CY* p) override { return GetHead(vacation::head::kTotSum1, p, vacation::GetMoney); }
    HRESULT put_TotSum1(CY v) override { return PutHead(vacation::head::kTotSum1, v, vacation::PutMoney); }
    HRESULT get_TotSum2(CY* p) override { return GetHead(vacation::head::kTotSum2, p, vacation::GetMoney); }
    HRESULT put_TotSum2(CY v) override { return PutHead(vacation::head::kTotSum2, v, vacation::PutMoney); }
    HRESULT get_SumOt1(CY* p) override { return GetHead(vacation::head::kSumOt1, p, vacation::GetMoney); }
    HRESULT put_SumOt1(CY v) override { return PutHead(vacation::head::kSumOt1, v, vacation::PutMoney); }
    HRESULT get_SumOt2(CY* p) override { return GetHead(vacation::head::kSumOt2, p, vacation::GetMoney); }
    HRESULT put_SumOt2(CY v) override { return PutHead(vacation::head::kSumOt2, v, vacation::PutMoney); }
    HRESULT get_SumOt(CY* p) override { return GetHead(vacation::head::kSumOt, p, vacation::GetMoney); }
    HRESULT put_SumOt(CY v) override { return PutHead(vacation::head::kSumOt, v, vacation::PutMoney); }
    HRESULT get_HistoryCount(SHORT* p) override {
        return GetHead(vacation::head::kHistoryCount, p, vacation::GetShort);
    }
    HRESULT put_HistoryCount(SHORT v) override {
        return PutHead(vacation::head::kHistoryCount, v, vacation::PutShort);
    }

    HRESULT get_MonFlag(LONG i, SHORT* p) override { return GetMonth(i, vacation::month::kFlag, p, vacation::GetShort); }
    HRESULT put_MonFlag(LONG i, SHORT v) override { return PutMonth(i, vacation::month::kFlag, v, vacation::PutShort); }
    HRESULT get_MonDate(LONG i, DATE* p) override { return GetMonth(i, vacation::month::kDate, p, vacation::GetDay); }
    HRESULT put_MonDate(LONG i, DATE v) override { return PutMonth(i, vacation::month::kDate, v, vacation::PutDay); }
    HRESULT get_MonSum1(LONG i, CY* p) override { return GetMonth(i, vacation::month::kSum1, p, vacation::GetMoney); }
    HRESULT put_MonSum1(LONG i, CY v) override { return PutMonth(i, vacation::month::kSum1, v, vacation::PutMoney); }
    HRESULT get_MonSum2(LONG i, CY* p) override { return GetMonth(i, vacation::month::kSum2, p, vacation::GetMoney); }
    HRESULT put_MonSum2(LONG i, CY v) override { return PutMonth(i, vacation::month::kSum2, v, vacation::PutMoney); }
    HRESULT get_MonPropPrem(LONG i, CY* p) override {
        return GetMonth(i, vacation::month::kPropPrem, p, vacation::GetMoney);
    }
    HRESULT put_MonPropPrem(LONG i, CY v) override {
        return PutMonth(i, vacation::month::kPropPrem, v, vacation::PutMoney);
    }
    HRESULT get_NormDaysCommon(LONG i, SHORT* p) override {
        return GetMonth(i, vacation::month::kNormCommon, p, vacation::GetShort);
    }
    HRESULT put_NormDaysCommon(LONG i, SHORT v) override {
        return PutMonth(i, vacation::month::kNormCommon, v, vacation::PutShort);
    }
    HRESULT get_FactDaysCommon(LONG i, SHORT* p) override {
        return GetMonth(i, vacation::month::kFactCommon, p, vacation::GetShort);
    }
    HRESULT put_FactDaysCommon(LONG i, SHORT v) override {
        return PutMonth(i, vacation::month::kFactCommon, v, vacation::PutShort);
    }
    HRESULT get_NormDaysEmployee(LONG i, SHORT* p) override {
        return GetMonth(i, vacation::month::kNormEmployee, p, vacation::GetShort);
    }
    HRESULT put_NormDaysEmployee(LONG i, SHORT v) override {
        return PutMonth(i, vacation::month::kNormEmployee, v, vacation::PutShort);
    }
    HRESULT get_FactDaysEmployee(LONG i, SHORT* p) override {
        return GetMonth(i, vacation::month::kFactEmployee, p, vacation::GetShort);
    }
    HRESULT put_FactDaysEmployee(LONG i, SHORT v) override {
        return PutMonth(i, vacation::month::kFactEmployee, v, vacation::PutShort);
    }
    HRESULT get_FactDaysCommonExtra(LONG i, SHORT* p) override {
        return GetMonth(i, vacation::month::kFactCommonExtra, p, vacation::GetShort);
    }
    HRESULT put_FactDaysCommonExtra(LONG i, SHORT v) override {
        return PutMonth(i, vacation::month::kFactCommonExtra, v, vacation::PutShort);
    }
    HRESULT get_NormDaysCommonExtra(LONG i, SHORT* p) override {
        return GetMonth(i, vacation::month::kNormCommonExtra, p, vacation::GetShort);
    }
    HRESULT put_NormDaysCommonExtra(LONG i, SHORT v) override {
        return PutMonth(i, vacation::month::kNormCommonExtra, v, vacation::PutShort);
    }
    HRESULT get_MonInFactor(LONG i, float* p) override {
        return GetMonth(i, vacation::month::kInFactor, p, vacation::GetSingle);
    }
    HRESULT put_MonInFactor(LONG i, float v) override {
        return PutMonth(i, vacation::month::kInFactor, v, vacation::PutSingle);
    }
    HRESULT get_MonCleanSum(LONG i, CY* p) override {
        return GetMonth(i, vacation::month::kCleanSum, p, vacation::GetMoney);
    }
    HRESULT put_MonCleanSum(LONG i, CY v) override {
        return PutMonth(i, vacation::month::kCleanSum, v, vacation::PutMoney);
    }
    HRESULT get_MonDirectPrem(LONG i, CY* p) override {
        return GetMonth(i, vacation::month::kDirectPrem, p, vacation::GetMoney);
    }
    HRESULT put_MonDirectPrem(LONG i, CY v) override {
        return PutMonth(i, vacation::month::kDirectPrem, v, vacation::PutMoney);
    }

    HRESULT get_CurrentProtocol(LONG* pVal) override;
    HRESULT put_CurrentProtocol(LONG newVal) override;
    HRESULT ReplaceProtocols() override;
    HRESULT put_DontAlterExtension(VARIANT_BOOL newVal) override;
    HRESULT CheckAccessType() override;
    HRESULT get_TabNum(BSTR* pVal) override;
    HRESULT put_TabNum(BSTR newVal) override;
    HRESULT get_PaiedMonthIndexation(DATE dtMonth, double* pVal) override;
    HRESULT put_PaiedMonthIndexation(DATE dtMonth, double newVal) override;
    HRESULT get_DocumentId(LONG* pVal) override;
    HRESULT put_DocumentId(LONG newVal) override;
    HRESULT ErasePaiedMonthsAfter(DATE dtStartMonth) override;
    HRESULT AddPaiedInterval(DATE dtMonth, DATE Dn, DATE Dk, LONG IntType, LONG Days, LONG Hours, CY Sum,
                             VARIANT_BOOL InDays) override;

private:
    // The averages are kept as singles holding a hundredth of the value.
    static double GetAverage(const vacation::ProtocolRecord& r, std::size_t offset) noexcept {
        return static_cast<double>(vacation::GetSingle(r, offset)) * 100.0;
    }
    static void PutAverage(vacation::ProtocolRecord& r, std::size_t offset, double value) noexcept {
        vacation::PutSingle(r, offset, vacation::ToSingle(value / 100.0));
    }

    // A field of the head of the record in use.
    template <class T, class Get>
    HRESULT GetHead(std::size_t offset, T* pVal, Get get) {
        if (!pVal) return E_POINTER;
        return Locked([&] {
            *pVal = static_cast<T>(get(Current(), offset));
            return S_OK;
        });
    }
    template <class T, class Put>
    HRESULT PutHead(std::size_t offset, T value, Put put) {
        return Locked([&] {
            put(Current(), offset, value);
            return S_OK;
        });
    }
    // A field of month entry index of the record in use; index 0..11.
    template <class T, class Get>
    HRESULT GetMonth(LONG index, std::size_t offset, T* pVal, Get get) {
        if (!pVal) return E_POINTER;
        if (!ValidMonth(index)) return E_INVALIDARG;
        return GetHead(vacation::MonthField(static_cast<std::size_t>(index), offset), pVal, get);
    }
    template <class T, class Put>
    HRESULT PutMonth(LONG index, std::size_t offset, T value, Put put) {
        if (!ValidMonth(index)) return E_INVALIDARG;
        return PutHead(vacation::MonthField(static_cast<std::size_t>(index), offset), value, put);
    }
    static bool ValidMonth(LONG index) noexcept {
        return index >= 0 && index < static_cast<LONG>(vacation::kMonthCount);
    }
    vacation::ProtocolRecord& Current() noexcept {
        return set_.records[vacation::ProtocolSet::Index(accessType_, current_)];
    }
    vacation::PaidMonths& CurrentPaid() noexcept { return set_.paid[accessType_ != 0 ? 1 : 0]; }

    // The access type from the document's database service (unchanged when
    // the document is not connected to one).
    void RefreshAccessType();
    // The protocols as the XML text of the document's extension; the
    // employment contract's other content is kept.
    Bstr BuildXml();
    // A read-modify-write of a 32-bit field of the generic document.
    template <class Get, class Put, class Change>
    HRESULT ChangeLong(Get get, Put put, Change change);

    std::u16string tabNum_;
    LONG documentId_ = 0;
    VARIANT_BOOL dontAlterExtension_ = VARIANT_FALSE;
    ComPtr<IXMLDOMDocument> xml_;
    LONG accessType_ = 0;
    LONG current_ = 0;
    vacation::ProtocolSet set_;
};

}  // namespace orv
