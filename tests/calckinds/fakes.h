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
#include "support/stubs.h"

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

class FakeShortSetting
    : public orv::CoClass<FakeShortSetting, &CLSID_FakeShortSetting, orv::Stubbed<IOrvShortSetting>, IDispatch> {
public:
    std::map<DATE, SHORT> steps;
    std::vector<DATE> asked;
    HRESULT get_Value(DATE date, SHORT* value) override {
        asked.push_back(date);
        *value = InForce(steps, date);
        return S_OK;
    }
};

class FakeDateSetting
    : public orv::CoClass<FakeDateSetting, &CLSID_FakeDateSetting, orv::Stubbed<IOrvDateSetting>, IDispatch> {
public:
    std::map<DATE, DATE> steps;
    std::vector<DATE> asked;
    HRESULT get_Value(DATE date, DATE* value) override {
        asked.push_back(date);
        *value = InForce(steps, date);
        return S_OK;
    }
};

// The central bank rate (a percentage) as a dated option. The variant type
// of the answer can be chosen: VT_R8 (default), VT_CY or VT_BSTR.
class FakeRate : public orv::CoClass<FakeRate, &CLSID_FakeRate, orv::Stubbed<IOrvDatedOption>, IDispatch> {
public:
    std::map<DATE, double> steps;
    VARTYPE answerAs = VT_R8;
    HRESULT failWith = S_OK;
    std::vector<DATE> asked;
    HRESULT get_Value(DATE date, VARIANT* value) override {
        asked.push_back(date);
        if (FAILED(failWith)) return failWith;
        value->vt = VT_R8;
        value->dblVal = InForce(steps, date);
        return answerAs == VT_R8 ? S_OK : VariantChangeType(value, value, 0, answerAs);
    }
};

class FakeGrade : public orv::CoClass<FakeGrade, &CLSID_FakeGrade, orv::Stubbed<IOrvGradeEntry>, IDispatch> {
public:
    CY coefficient{};
    LONG roundUp = 0;
    CY fixedSum{};
    HRESULT get_Coefficient(CY* p) override { *p = coefficient; return S_OK; }
    HRESULT put_Coefficient(CY v) override { coefficient = v; return S_OK; }
    HRESULT get_RoundUp(LONG* p) override { *p = roundUp; return S_OK; }
    HRESULT put_RoundUp(LONG v) override { roundUp = v; return S_OK; }
    HRESULT get_FixedSum(CY* p) override { *p = fixedSum; return S_OK; }
};

// The tariff table: nominals in force from their dates, grade entries by
// grade (the same entry on every date).
class FakeTariff : public orv::CoClass<FakeTariff, &CLSID_FakeTariff, orv::Stubbed<IOrvTariffTable>> {
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
class FakeCalcSettings : public orv::CoClass<FakeCalcSettings, &CLSID_FakeCalcSettings, orv::Stubbed<IOrvSettings>,
                                             IDispatch, orv::Stubbed<IOrvCurrencyService>> {
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

    HRESULT get_Setting(LONG id, IUnknown** setting) override {
        *setting = nullptr;
        auto it = settings.find(id);
        return it == settings.end() ? S_OK : it->second.CopyTo(setting);
    }
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
class FakeCalcDatabase : public orv::CoClass<FakeCalcDatabase, &CLSID_FakeCalcDatabase, orv::Stubbed<IOrvDatabase>,
                                             IDispatch, orv::Stubbed<IOrvReferenceSource>> {
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
};
}  // namespace calc_test
