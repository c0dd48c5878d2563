// The store-backed reference-data components of the host's database service:
// the settings object with its dated settings and currency conversion, the
// user's session (access type), the reference source with the salary-grade
// tariff table, and employees. The database service makes them on a store
// (host/store/Store.h) and hands them out; every value is read from the store
// at the call, so a change stored by anyone is seen at once. docs/host.md
// describes what each answers.
#pragma once

#include "frame/com.h"
#include "host/store/StoreSlot.h"

#include <orvdocs/frame/outside.h>

#include <set>
#include <string>

inline constexpr CLSID CLSID_OrvStoreSettings = {0x641514F2, 0xCD7F, 0x4790, {0xA0, 0x21, 0x78, 0x99, 0x51, 0xBD, 0xC1, 0x2E}};
inline constexpr CLSID CLSID_OrvStoreSetting = {0x5E00552C, 0x4C43, 0x44F6, {0xB4, 0x4C, 0x5B, 0xC5, 0xA3, 0x55, 0x7F, 0x45}};
inline constexpr CLSID CLSID_OrvStoreSession = {0x44019C9C, 0xEF85, 0x473D, {0xB6, 0x3A, 0x81, 0x22, 0x80, 0x84, 0xA8, 0x4C}};
inline constexpr CLSID CLSID_OrvStoreReference = {0xA1F664F5, 0x008B, 0x4EC6, {0x82, 0x24, 0x33, 0x2C, 0x21, 0x8C, 0x71, 0x0E}};
inline constexpr CLSID CLSID_OrvStoreTariff = {0x525A82E1, 0x857A, 0x41CE, {0xA7, 0xA2, 0xDE, 0x59, 0xDE, 0xEB, 0xAF, 0x89}};
inline constexpr CLSID CLSID_OrvStoreGradeEntry = {0x1FBED668, 0x3556, 0x476E, {0xBA, 0xE4, 0xF0, 0x3A, 0x57, 0x40, 0x8F, 0xD8}};
inline constexpr CLSID CLSID_OrvStoreEmployee = {0x9244C86A, 0xEF71, 0x4DB9, {0xAE, 0xBF, 0xAB, 0xDB, 0xA3, 0x6B, 0x67, 0x61}};

// A currency conversion asked for a currency without a rate on the date.
inline constexpr HRESULT ORV_E_NO_RATE = MAKE_HRESULT(1, FACILITY_ITF, 0x0220);

namespace orv::host {

// List identifiers of the named tables of the reference source. The reference
// objects' own kinds (2 positions, 3 regions, 4 cities, 5 identity document
// types, 6 countries, 7 districts) are list identifiers as well: an entry's
// Kind is the list it belongs to.
// Money settings (kind "money") the host keeps as dated options: a setting
// object answers IOrvDatedOption for them.
enum StoreSettingId : LONG {
    kSettingBankRate = 900,     // the central bank rate in per cent
    kSettingMinimumWage = 901,  // the minimum wage
};

enum StoreList : LONG {
    kListPositions = 2,
    kListDepartments = 20,
    kListPayCodes = 21,
    kListFinSources = 22,
    kListCurrencies = 23,
    kListAbsenceTypes = 24,
    kListSchedules = 25,
    kListBanks = 26,
};

// Runs a member's body, turning a store failure into its status with the
// error information set for the class and interface.
template <class F>
HRESULT ServeStore(REFCLSID clsid, REFIID iid, F&& body) noexcept;
HRESULT ReportStoreError(REFCLSID clsid, REFIID iid, const store::StoreError& e) noexcept;

// ------------------------------------------------------------------ settings
// Settings by number; each setting answers the interface of its kind. Also
// the currency service (rates by currency in force from a day on).
class OrvStoreSettings : public CoClass<OrvStoreSettings, &CLSID_OrvStoreSettings, IOrvSettings, IDispatch,
                                       IOrvCurrencyService, IOrvConfig> {
public:
    void Init(SharedSlot slot) { slot_ = std::move(slot); }
    static bool SupportsErrorInfo(REFIID riid) {
        return riid == IID_IOrvSettings || riid == IID_IOrvCurrencyService || riid == IID_IOrvConfig;
    }

    HRESULT get_Count(LONG* pVal) override;
    // A new object for the stored setting, answering IOrvShortSetting,
    // IOrvDateSetting or IOrvListSetting by its kind; null and S_FALSE for a
    // number the store does not hold.
    HRESULT get_Setting(LONG lId, IUnknown** ppunkSetting) override;

    // The base currency: the stored value "base_currency", 0 when none.
    HRESULT get_BaseCurrency(LONG* pVal) override;
    HRESULT GetCurrencyName(LONG lCurrencyId, BSTR* pbstrName) override;
    // The rate in force on the date (raw currency: base units for one unit);
    // 1 for the base currency; ORV_E_NO_RATE when none is in force.
    HRESULT GetRate(LONG lPipeId, LONG lCurrencyId, DATE dtOnDate, CY* pcyRate) override;
    // cyAmount x the rate in force, rounded to hundredths half away from
    // zero. Mode 0 takes the rate on dtRate; mode 1 on the day number lDay
    // when it is not 0, else on dtRate. The text tells what was done.
    HRESULT Convert(LONG lPipeId, DATE dtRate, CY cyAmount, LONG lCurrencyId, LONG lMode, LONG lDay, BSTR* pbstrText,
                    CY* pcyResult) override;

    // The configuration: organisation name and tax number from the stored
    // values "organization_name" and "organization_inn", the store's location
    // as the data path, the work month as the service keeps it, and the
    // minimum wage from the money setting kSettingMinimumWage.
    HRESULT get_OrganizationName(BSTR* pVal) override;
    HRESULT get_OrganizationInn(BSTR* pVal) override;
    HRESULT get_DataPath(BSTR* pVal) override;
    HRESULT get_WorkMonth(DATE* pVal) override;
    HRESULT put_WorkMonth(DATE newVal) override;
    HRESULT get_MinimumWage(DATE dtOnDate, CY* pVal) override;

private:
    SharedSlot slot_;
};

// One setting of the store. It answers all three setting interfaces; each
// reads the values in force on the date, so a short or date setting read as a
// list is a list of one value.
class OrvStoreSetting : public CoClass<OrvStoreSetting, &CLSID_OrvStoreSetting, IOrvShortSetting, IDispatch,
                                      IOrvDateSetting, IOrvListSetting, IOrvDatedOption> {
public:
    void Init(SharedSlot slot, LONG id) {
        slot_ = std::move(slot);
        id_ = id;
    }
    static bool SupportsErrorInfo(REFIID) { return true; }

    // Shared by the four kinds.
    HRESULT get_Id(LONG* pVal) override;
    // Short: the value of the latest period that started on or before the
    // date; 0 when none had started.
    HRESULT get_Value(DATE dtOnDate, SHORT* pVal) override;
    // Date: likewise, as a date (0 for none).
    HRESULT get_Value(DATE dtOnDate, DATE* pVal) override;
    // Dated option: the first value in force on the date as a variant of the
    // setting's kind (money VT_CY, short VT_I4, date VT_DATE, list VT_BSTR);
    // a money setting with no value in force gives VT_CY 0, the others
    // VT_EMPTY.
    HRESULT get_Value(DATE dtOnDate, VARIANT* pVal) override;
    // List: periods, each starting at a day and holding its own values in
    // the order added; the values in force on a date are those of the latest
    // period started on or before it.
    HRESULT get_Name(BSTR* pVal) override;
    HRESULT get_PeriodCount(LONG* pVal) override;
    HRESULT get_PeriodStart(LONG lPeriod, DATE* pVal) override;
    HRESULT AddValue(DATE dtFrom, VARIANT vValue) override;
    HRESULT Clear() override;
    HRESULT get_Count(DATE dtOnDate, LONG* pVal) override;
    HRESULT get_Item(LONG lIndex, DATE dtOnDate, VARIANT* pVal) override;

private:
    std::vector<std::string> InForce(DATE dtOnDate);
    SharedSlot slot_;
    LONG id_ = 0;
};

// ------------------------------------------------------------------- session
class OrvStoreSession : public CoClass<OrvStoreSession, &CLSID_OrvStoreSession, IOrvSession, IDispatch> {
public:
    HRESULT FinalConstruct();
    void Init(SharedSlot slot) { slot_ = std::move(slot); }

    HRESULT get_UserId(LONG* pVal) override;
    HRESULT get_UserName(BSTR* pVal) override;
    HRESULT get_FullName(BSTR* pVal) override;
    HRESULT get_IsAdministrator(VARIANT_BOOL* pVal) override;
    HRESULT CanRead(LONG lDcType, VARIANT_BOOL* pbAllowed) override;
    HRESULT CanWrite(LONG lDcType, VARIANT_BOOL* pbAllowed) override;
    HRESULT CanDelete(LONG lDcType, VARIANT_BOOL* pbAllowed) override;
    HRESULT get_DepartmentFilter(BSTR* pVal) override;
    HRESULT put_DepartmentFilter(BSTR newVal) override;
    HRESULT IsDepartmentVisible(LONG lDepNum, VARIANT_BOOL* pbVisible) override;
    HRESULT get_OrganizationId(LONG* pVal) override;
    HRESULT put_OrganizationId(LONG newVal) override;
    HRESULT get_OrganizationName(BSTR* pVal) override;
    HRESULT get_WorkMonth(DATE* pVal) override;
    HRESULT put_WorkMonth(DATE newVal) override;
    HRESULT get_LoginTime(DATE* pVal) override;
    HRESULT get_HostName(BSTR* pVal) override;
    HRESULT get_SessionId(LONG* pVal) override;
    HRESULT LockDocument(LONG lDocId, VARIANT_BOOL* pbLocked) override;
    HRESULT UnlockDocument(LONG lDocId) override;
    HRESULT UnlockAll() override;
    HRESULT get_ReadOnly(VARIANT_BOOL* pVal) override;
    HRESULT put_ReadOnly(VARIANT_BOOL newVal) override;
    // The stored value "access_type" (0 when none); 1 for any non-zero value.
    HRESULT get_AccessType(LONG* pVal) override;

private:
    HRESULT Text(const std::string& value, BSTR* out);
    SharedSlot slot_;
    std::u16string departmentFilter_;
    std::set<LONG> locked_;
    bool readOnly_ = false;
    DATE loginTime_ = 0.0;
};

// ------------------------------------------------ reference source, tariff
class OrvStoreReference : public CoClass<OrvStoreReference, &CLSID_OrvStoreReference, IOrvReferenceSource, IDispatch> {
public:
    void Init(SharedSlot slot) { slot_ = std::move(slot); }

    HRESULT get_ListCount(LONG* pVal) override;
    HRESULT GetListName(LONG lListId, BSTR* pbstrName) override;
    HRESULT GetList(LONG lListId, IUnknown** ppunkList) override;
    HRESULT GetListPiped(LONG lPipeId, LONG lListId, IUnknown** ppunkList) override;
    HRESULT GetEntry(LONG lIndex, LONG lListId, IUnknown** ppunkEntry) override;
    HRESULT GetEntryPiped(LONG lPipeId, LONG lIndex, LONG lListId, IUnknown** ppunkEntry) override;
    HRESULT FindEntryByCode(LONG lListId, BSTR bstrCode, IUnknown** ppunkEntry) override;
    HRESULT FindEntryByCodePiped(LONG lPipeId, LONG lListId, BSTR bstrCode, IUnknown** ppunkEntry) override;
    HRESULT FindEntryByName(LONG lListId, BSTR bstrName, IUnknown** ppunkEntry) override;
    HRESULT FindEntryByNamePiped(LONG lPipeId, LONG lListId, BSTR bstrName, IUnknown** ppunkEntry) override;
    HRESULT GetMaxIndex(LONG lListId, LONG* plIndex) override;
    HRESULT GetMaxIndexPiped(LONG lPipeId, LONG lListId, LONG* plIndex) override;
    HRESULT UpdateEntry(IUnknown* punkEntry) override;
    HRESULT UpdateEntryPiped(LONG lPipeId, IUnknown* punkEntry) override;
    HRESULT DeleteEntry(LONG lListId, LONG lIndex) override;
    HRESULT DeleteEntryPiped(LONG lPipeId, LONG lListId, LONG lIndex) override;
    HRESULT GetBank(LONG lBankId, IUnknown** ppunkBank) override;
    HRESULT GetBankPiped(LONG lPipeId, LONG lBankId, IUnknown** ppunkBank) override;
    HRESULT StoreBank(IUnknown* punkBank, LONG* plBankId) override;
    HRESULT StoreBankPiped(LONG lPipeId, IUnknown* punkBank, LONG* plBankId) override;
    HRESULT GetBankList(IUnknown** ppunkList) override;
    HRESULT GetBankListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetDepartment(LONG lDepNum, IUnknown** ppunkEntry) override;
    HRESULT GetDepartmentPiped(LONG lPipeId, LONG lDepNum, IUnknown** ppunkEntry) override;
    HRESULT GetDepartmentList(IUnknown** ppunkList) override;
    HRESULT GetDepartmentListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetPosition(LONG lPositionId, IUnknown** ppunkEntry) override;
    HRESULT GetPositionPiped(LONG lPipeId, LONG lPositionId, IUnknown** ppunkEntry) override;
    HRESULT GetPositionList(IUnknown** ppunkList) override;
    HRESULT GetPositionListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetTariffTable(IUnknown** ppunkTariff) override;
    HRESULT GetTariffTablePiped(LONG lPipeId, IUnknown** ppunkTariff) override;
    HRESULT GetPayCode(LONG lCode, IUnknown** ppunkEntry) override;
    HRESULT GetPayCodePiped(LONG lPipeId, LONG lCode, IUnknown** ppunkEntry) override;
    HRESULT CreateEntry(LONG lListId, BSTR bstrName, BSTR bstrCode, IUnknown** ppunkEntry) override;
    HRESULT GetPayCodeList(IUnknown** ppunkList) override;
    HRESULT GetPayCodeListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetFinSource(LONG lFinSourceId, IUnknown** ppunkEntry) override;
    HRESULT GetFinSourcePiped(LONG lPipeId, LONG lFinSourceId, IUnknown** ppunkEntry) override;
    HRESULT GetFinSourceList(IUnknown** ppunkList) override;
    HRESULT GetFinSourceListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetCurrency(LONG lCurrencyId, IUnknown** ppunkEntry) override;
    HRESULT GetCurrencyPiped(LONG lPipeId, LONG lCurrencyId, IUnknown** ppunkEntry) override;
    HRESULT GetCurrencyList(IUnknown** ppunkList) override;
    HRESULT GetCurrencyListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetAbsenceType(LONG lCode, IUnknown** ppunkEntry) override;
    HRESULT GetAbsenceTypePiped(LONG lPipeId, LONG lCode, IUnknown** ppunkEntry) override;
    HRESULT GetAbsenceTypeList(IUnknown** ppunkList) override;
    HRESULT GetAbsenceTypeListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT GetSchedule(LONG lScheduleId, IUnknown** ppunkEntry) override;
    HRESULT GetSchedulePiped(LONG lPipeId, LONG lScheduleId, IUnknown** ppunkEntry) override;
    HRESULT GetScheduleList(IUnknown** ppunkList) override;
    HRESULT GetScheduleListPiped(LONG lPipeId, IUnknown** ppunkList) override;
    HRESULT Refresh(LONG lListId) override;
    HRESULT RefreshPiped(LONG lPipeId, LONG lListId) override;
    HRESULT get_CacheEnabled(VARIANT_BOOL* pVal) override;
    HRESULT put_CacheEnabled(VARIANT_BOOL newVal) override;
    HRESULT CreateEntryPiped(LONG lPipeId, LONG lListId, BSTR bstrName, BSTR bstrCode, IUnknown** ppunkEntry) override;

private:
    HRESULT Entry(LONG list, LONG index, IUnknown** out);
    HRESULT List(LONG list, IUnknown** out);
    HRESULT Find(LONG list, BSTR text, bool byCode, IUnknown** out);
    // Stores a reference item in list `list` (0: the list its Kind names).
    HRESULT Update(IUnknown* entry, LONG list, LONG* index);
    HRESULT Create(LONG list, BSTR name, BSTR code, IUnknown** out);
    HRESULT Tariff(IUnknown** out);
    SharedSlot slot_;
    bool cache_ = false;
};

// The salary-grade tariff table of the store: nominals in force from a day on,
// and grade tables, each starting at a day and replacing the previous one.
class OrvStoreTariff : public CoClass<OrvStoreTariff, &CLSID_OrvStoreTariff, IOrvTariffTable> {
public:
    void Init(SharedSlot slot) { slot_ = std::move(slot); }
    // The nominal of the latest start on or before the date; 0 when none.
    HRESULT GetNominal(DATE dtOnDate, CY* pcyNominal) override;
    // The number of grades of the grade table in force.
    HRESULT GetGradeCount(DATE dtOnDate, LONG* plCount) override;
    // The grade's entry in the grade table in force; null and S_FALSE when
    // that table has no such grade.
    HRESULT GetGrade(DATE dtOnDate, LONG lGrade, IUnknown** ppunkEntry) override;

private:
    std::vector<store::GradeRow> InForce(DATE dtOnDate);
    SharedSlot slot_;
};

// One grade as read from the store; puts change this object only.
class OrvStoreGradeEntry : public CoClass<OrvStoreGradeEntry, &CLSID_OrvStoreGradeEntry, IOrvGradeEntry, IDispatch> {
public:
    void Init(const store::GradeRow& row) { row_ = row; }
    HRESULT get_Coefficient(CY* pVal) override;
    HRESULT put_Coefficient(CY newVal) override;
    HRESULT get_RoundUp(LONG* pVal) override;
    HRESULT put_RoundUp(LONG newVal) override;
    HRESULT get_Grade(LONG* pVal) override;
    HRESULT put_Grade(LONG newVal) override;
    HRESULT get_FixedSum(CY* pVal) override;

private:
    store::GradeRow row_;
};

// ------------------------------------------------------------------ employee
// One employee of the store: identity and dates, place of work by periods
// (each starting at a day), bank accounts.
class OrvStoreEmployee : public CoClass<OrvStoreEmployee, &CLSID_OrvStoreEmployee, IOrvEmployee, IDispatch,
                                       IOrvEmployeeJob, IOrvEmployeeAccounts> {
public:
    void Init(SharedSlot slot, LONG id) {
        slot_ = std::move(slot);
        id_ = id;
    }
    static bool SupportsErrorInfo(REFIID) { return true; }

    HRESULT get_Id(LONG* pVal) override;
    HRESULT get_TabNum(BSTR* pVal) override;
    HRESULT get_FullName(BSTR* pVal) override;
    HRESULT get_BirthDate(DATE* pVal) override;
    HRESULT get_ResignationDate(DATE* pVal) override;
    HRESULT get_FirstEnterDate(DATE* pVal) override;
    HRESULT get_SecondEnterDate(DATE* pVal) override;

    // The period started latest on or before the date; zeros and S_FALSE
    // before the first one.
    HRESULT GetDepartment(LONG lPipeId, DATE dtOnDate, LONG* plDepNum) override;
    HRESULT GetPosition(LONG lPipeId, DATE dtOnDate, LONG* plPositionId) override;
    HRESULT GetRazryad(LONG lPipeId, DATE dtOnDate, LONG* plRazryad) override;
    HRESULT GetDepAndPosition(LONG lPipeId, DATE dtOnDate, LONG* plDepNum, LONG* plPositionId,
                              LONG* plRazryad) override;

    // The stored account status (not dated).
    HRESULT GetStatusOnDate(LONG lPipeId, DATE dtOnDate, LONG* plStatus) override;
    // An account list (created by CLSID_OrvAccountList) holding a reference
    // item per account: Id the account's identifier, Code and Name as stored.
    HRESULT GetAccountList(LONG lPipeId, IUnknown** ppunkList) override;

private:
    store::EmployeeRow Row();
    HRESULT Job(DATE dtOnDate, store::JobRow* out);
    HRESULT Date(LONG store::EmployeeRow::*field, DATE* out);
    SharedSlot slot_;
    LONG id_ = 0;
};

// A reference item (host/OrvRefItem) holding a stored entry.
ComPtr<IUnknown> MakeRefItem(const store::EntryRow& row);
// A new employee object of the store, or null when the store holds none with the id.
ComPtr<IUnknown> MakeEmployee(const SharedSlot& slot, LONG id);

template <class F>
HRESULT ServeStore(REFCLSID clsid, REFIID iid, F&& body) noexcept {
    try {
        return body();
    } catch (const store::StoreError& e) {
        return ReportStoreError(clsid, iid, e);
    } catch (const ComError& e) {
        return ReportComError(clsid, e);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace orv::host
