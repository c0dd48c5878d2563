// Fakes of the outside components the calculating kinds call: the database
// service (its main interface giving the settings object, and the reference
// source giving the tariff table), the settings object with its currency
// conversion, short and date settings, the tariff table with its grade
// entries, and the dated option that gives the central bank rate.
//
// Values "in force on a date" are step functions: the value of the latest
// entry whose date is on or before the date asked, 0 before the first.
// Every fake records what it was asked, so tests can check the arguments the
// kinds pass.
#pragma once

#include "frame/com.h"

#include <orvdocs/orvdocs.h>

#include <functional>
#include <map>
#include <vector>

namespace calc_test {

using orv::ComPtr;

inline constexpr CLSID CLSID_FakeCalcDatabase = {0x5C1A0001, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 1}};
inline constexpr CLSID CLSID_FakeCalcSettings = {0x5C1A0002, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 2}};
inline constexpr CLSID CLSID_FakeShortSetting = {0x5C1A0003, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 3}};
inline constexpr CLSID CLSID_FakeDateSetting = {0x5C1A0004, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 4}};
inline constexpr CLSID CLSID_FakeTariff = {0x5C1A0005, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 5}};
inline constexpr CLSID CLSID_FakeGrade = {0x5C1A0006, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 6}};
inline constexpr CLSID CLSID_FakeRate = {0x5C1A0007, 0x17A0, 0x4C00, {0x9A, 0x17, 0, 0, 0, 0, 0, 7}};

// A value in force on a date.
template <class T>
T InForce(const std::map<DATE, T>& steps, DATE date) {
    auto it = steps.upper_bound(date);
    if (it == steps.begin()) return T{};
    return std::prev(it)->second;
}

// Creates a fake and gives both its identity (which keeps it alive) and its class.
template <class T>
ComPtr<IUnknown> Make(T** object) {
    ComPtr<IUnknown> unknown;
    orv::CreateObjectWithAccess<T>(&unknown, object);
    return unknown;
}

class FakeShortSetting : public orv::CoClass<FakeShortSetting, &CLSID_FakeShortSetting, IOrvShortSetting, IDispatch> {
public:
    std::map<DATE, SHORT> steps;
    std::vector<DATE> asked;
    HRESULT get_Id(LONG*) override { return E_NOTIMPL; }
    HRESULT get_Value(DATE date, SHORT* value) override {
        asked.push_back(date);
        *value = InForce(steps, date);
        return S_OK;
    }
};

class FakeDateSetting : public orv::CoClass<FakeDateSetting, &CLSID_FakeDateSetting, IOrvDateSetting, IDispatch> {
public:
    std::map<DATE, DATE> steps;
    std::vector<DATE> asked;
    HRESULT get_Id(LONG*) override { return E_NOTIMPL; }
    HRESULT get_Value(DATE date, DATE* value) override {
        asked.push_back(date);
        *value = InForce(steps, date);
        return S_OK;
    }
};

// The central bank rate (a percentage) as a dated option. The variant type
// of the answer can be chosen: VT_R8 (default), VT_CY or VT_BSTR.
class FakeRate : public orv::CoClass<FakeRate, &CLSID_FakeRate, IOrvDatedOption, IDispatch> {
public:
    std::map<DATE, double> steps;
    VARTYPE answerAs = VT_R8;
    HRESULT failWith = S_OK;
    std::vector<DATE> asked;
    HRESULT get_Id(LONG*) override { return E_NOTIMPL; }
    HRESULT get_Value(DATE date, VARIANT* value) override {
        asked.push_back(date);
        if (FAILED(failWith)) return failWith;
        value->vt = VT_R8;
        value->dblVal = InForce(steps, date);
        return answerAs == VT_R8 ? S_OK : VariantChangeType(value, value, 0, answerAs);
    }
};

class FakeGrade : public orv::CoClass<FakeGrade, &CLSID_FakeGrade, IOrvGradeEntry, IDispatch> {
public:
    CY coefficient{};
    LONG roundUp = 0;
    CY fixedSum{};
    HRESULT get_Coefficient(CY* p) override { *p = coefficient; return S_OK; }
    HRESULT put_Coefficient(CY v) override { coefficient = v; return S_OK; }
    HRESULT get_RoundUp(LONG* p) override { *p = roundUp; return S_OK; }
    HRESULT put_RoundUp(LONG v) override { roundUp = v; return S_OK; }
    HRESULT get_Grade(LONG*) override { return E_NOTIMPL; }
    HRESULT put_Grade(LONG) override { return E_NOTIMPL; }
    HRESULT get_FixedSum(CY* p) override { *p = fixedSum; return S_OK; }
};

// The tariff table: nominals in force from their dates, grade entries by
// grade (the same entry on every date).
class FakeTariff : public orv::CoClass<FakeTariff, &CLSID_FakeTariff, IOrvTariffTable> {
public:
    std::map<DATE, LONGLONG> nominals;  // raw currency units
    std::map<LONG, ComPtr<IUnknown>> grades;
    std::vector<DATE> nominalAsked;
    std::vector<std::pair<DATE, LONG>> gradeAsked;
    HRESULT GetNominal(DATE date, CY* nominal) override {
        nominalAsked.push_back(date);
        nominal->int64 = InForce(nominals, date);
        return S_OK;
    }
    HRESULT GetGradeCount(DATE, LONG*) override { return E_NOTIMPL; }
    HRESULT GetGrade(DATE date, LONG grade, IUnknown** entry) override {
        gradeAsked.emplace_back(date, grade);
        *entry = nullptr;
        auto it = grades.find(grade);
        return it == grades.end() ? S_OK : it->second.CopyTo(entry);
    }
};

// The settings object: settings by number and the currency conversion. The
// conversion multiplies the amount by the currency's rate (raw units per
// unit x 10000), rounded half away from zero to whole raw units.
class FakeCalcSettings
    : public orv::CoClass<FakeCalcSettings, &CLSID_FakeCalcSettings, IOrvSettings, IDispatch, IOrvCurrencyService> {
public:
    std::map<LONG, ComPtr<IUnknown>> settings;
    std::map<LONG, LONGLONG> rates;  // currency -> rate x 10000
    bool answersCurrency = true;
    struct Conversion {
        LONG pipe;
        DATE rateDate;
        LONGLONG amount;
        LONG currency;
        LONG mode;
        LONG day;
    };
    std::vector<Conversion> conversions;

    HRESULT InternalQueryInterface(REFIID riid, void** ppv) {
        if (riid == IID_IOrvCurrencyService && !answersCurrency) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return CoClass::InternalQueryInterface(riid, ppv);
    }

    HRESULT get_Count(LONG*) override { return E_NOTIMPL; }
    HRESULT get_Setting(LONG id, IUnknown** setting) override {
        *setting = nullptr;
        auto it = settings.find(id);
        return it == settings.end() ? S_OK : it->second.CopyTo(setting);
    }
    HRESULT get_BaseCurrency(LONG*) override { return E_NOTIMPL; }
    HRESULT GetCurrencyName(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT GetRate(LONG, LONG, DATE, CY*) override { return E_NOTIMPL; }
    HRESULT Convert(LONG pipe, DATE rateDate, CY amount, LONG currency, LONG mode, LONG day, BSTR* text,
                    CY* result) override {
        conversions.push_back({pipe, rateDate, amount.int64, currency, mode, day});
        auto it = rates.find(currency);
        if (it == rates.end()) return E_INVALIDARG;
        const double x = static_cast<double>(amount.int64) * static_cast<double>(it->second) / 10000.0;
        result->int64 = static_cast<LONGLONG>(x < 0 ? x - 0.5 : x + 0.5);
        *text = SysAllocString(u"converted");
        return S_OK;
    }
};

// The database service: its main interface gives the settings object, its
// reference source the tariff table. Every other member answers E_NOTIMPL.
class FakeCalcDatabase : public orv::CoClass<FakeCalcDatabase, &CLSID_FakeCalcDatabase, IOrvDatabase, IDispatch,
                                             IOrvReferenceSource> {
public:
    ComPtr<IUnknown> settings;
    ComPtr<IUnknown> tariff;
    bool answersReferences = true;
    std::vector<LONG> tariffPipes;

    HRESULT InternalQueryInterface(REFIID riid, void** ppv) {
        if (riid == IID_IOrvReferenceSource && !answersReferences) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return CoClass::InternalQueryInterface(riid, ppv);
    }

    HRESULT get_Settings(IUnknown** p) override {
        *p = nullptr;
        return settings ? settings.CopyTo(p) : S_OK;
    }
    HRESULT GetTariffTablePiped(LONG pipe, IUnknown** p) override {
        tariffPipes.push_back(pipe);
        *p = nullptr;
        return tariff ? tariff.CopyTo(p) : S_OK;
    }

    HRESULT Open(BSTR) override { return E_NOTIMPL; }
    HRESULT Close() override { return E_NOTIMPL; }
    HRESULT get_IsOpen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT get_Source(BSTR*) override { return E_NOTIMPL; }
    HRESULT OpenPipe(LONG*) override { return E_NOTIMPL; }
    HRESULT ClosePipe(LONG) override { return E_NOTIMPL; }
    HRESULT BeginTransaction(LONG) override { return E_NOTIMPL; }
    HRESULT CommitTransaction(LONG) override { return E_NOTIMPL; }
    HRESULT RollbackTransaction(LONG) override { return E_NOTIMPL; }
    HRESULT get_LastError(BSTR*) override { return E_NOTIMPL; }
    HRESULT NewDocument(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetDocument(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT DeleteDocument(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT GetDocuments(LONG, IUnknown*, LONG, DATE, DATE, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetEmployee(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT FindEmployee(LONG, BSTR, IUnknown**) override { return E_NOTIMPL; }
    HRESULT NewId(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT get_WorkMonth(DATE*) override { return E_NOTIMPL; }
    HRESULT put_WorkMonth(DATE) override { return E_NOTIMPL; }
    HRESULT get_ReadOnly(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT get_Session(IUnknown**) override { return E_NOTIMPL; }
    HRESULT get_ListCount(LONG*) override { return E_NOTIMPL; }
    HRESULT GetListName(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT GetList(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetListPiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetEntry(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetEntryPiped(LONG, LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT FindEntryByCode(LONG, BSTR, IUnknown**) override { return E_NOTIMPL; }
    HRESULT FindEntryByCodePiped(LONG, LONG, BSTR, IUnknown**) override { return E_NOTIMPL; }
    HRESULT FindEntryByName(LONG, BSTR, IUnknown**) override { return E_NOTIMPL; }
    HRESULT FindEntryByNamePiped(LONG, LONG, BSTR, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetMaxIndex(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT GetMaxIndexPiped(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT UpdateEntry(IUnknown*) override { return E_NOTIMPL; }
    HRESULT UpdateEntryPiped(LONG, IUnknown*) override { return E_NOTIMPL; }
    HRESULT DeleteEntry(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT DeleteEntryPiped(LONG, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT GetBank(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetBankPiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT StoreBank(IUnknown*, LONG*) override { return E_NOTIMPL; }
    HRESULT StoreBankPiped(LONG, IUnknown*, LONG*) override { return E_NOTIMPL; }
    HRESULT GetBankList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetBankListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetDepartment(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetDepartmentPiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetDepartmentList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetDepartmentListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPosition(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPositionPiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPositionList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPositionListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetTariffTable(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPayCode(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPayCodePiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT CreateEntry(LONG, BSTR, BSTR, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPayCodeList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetPayCodeListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetFinSource(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetFinSourcePiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetFinSourceList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetFinSourceListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetCurrency(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetCurrencyPiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetCurrencyList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetCurrencyListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetAbsenceType(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetAbsenceTypePiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetAbsenceTypeList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetAbsenceTypeListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetSchedule(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetSchedulePiped(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetScheduleList(IUnknown**) override { return E_NOTIMPL; }
    HRESULT GetScheduleListPiped(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT Refresh(LONG) override { return E_NOTIMPL; }
    HRESULT RefreshPiped(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT get_CacheEnabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT put_CacheEnabled(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT CreateEntryPiped(LONG, LONG, BSTR, BSTR, IUnknown**) override { return E_NOTIMPL; }
};

}  // namespace calc_test
