#include "host/OrvStoreComponents.h"

#include "host/OrvRefItem.h"
#include "host/OrvUnknownList.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <pwd.h>
#include <unistd.h>

namespace orv::host {

LONG DayOf(DATE date) noexcept {
    if (date == 0.0 || !std::isfinite(date)) return 0;
    return static_cast<LONG>(std::floor(date)) - 22281;
}

DATE DateOf(LONG day) noexcept { return day == 0 ? 0.0 : static_cast<DATE>(day) + 22281.0; }

HRESULT ReportStoreError(REFCLSID clsid, REFIID iid, const store::StoreError& e) noexcept {
    try {
        const std::u16string text = Utf8ToUtf16(e.what());
        return ReportError(clsid, text.c_str(), 0, nullptr, iid, e.hr);
    } catch (...) {
        return e.hr;
    }
}

namespace {

HRESULT Text(const std::string& utf8, BSTR* out) {
    if (!out) return E_POINTER;
    *out = Bstr::FromUtf8(utf8).Detach();
    return S_OK;
}

std::string Utf8Of(BSTR s) { return s ? Utf16ToUtf8(std::u16string_view(s, SysStringLen(s))) : std::string(); }

// The value of a period list in force on a day: the latest start on or before it.
template <class T, class Key>
const T* LatestOnOrBefore(const std::vector<T>& rows, LONG day, Key key) {
    const T* found = nullptr;
    for (const T& r : rows)
        if (key(r) <= day) found = &r;
    return found;
}

LONG DayOrOpen(DATE date) {
    // A date of 0 asks for what is in force now.
    if (date != 0.0) return DayOf(date);
    return DayOf(static_cast<DATE>(std::time(nullptr)) / 86400.0 + 25569.0);
}

template <class T>
ComPtr<IUnknown> Made(T** object) {
    ComPtr<IUnknown> unknown;
    Check(CreateObjectWithAccess<T>(&unknown, object));
    return unknown;
}

}  // namespace

constexpr const char16_t* kRefItemClassText = u"{B04E4DA4-B9F5-11D3-B8F6-0000C0A3E6F3}";

ComPtr<IUnknown> MakeRefItem(const store::EntryRow& e) {
    ComPtr<IOrvRefItem> item;
    Check(CreateObject<OrvRefItem>(&item), IID_IOrvRefItem);
    Check(item->put_Kind(e.kind), IID_IOrvRefItem);
    Check(item->put_Index(e.index), IID_IOrvRefItem);
    Check(item->put_Id(e.id), IID_IOrvRefItem);
    Check(item->put_Code(Bstr::FromUtf8(e.code)), IID_IOrvRefItem);
    Check(item->put_Name(Bstr::FromUtf8(e.name)), IID_IOrvRefItem);
    // An entry stored without a class is a plain reference item: it names the
    // host's item class, so that lists writing it (the instance list) can
    // recreate it from its element.
    Check(item->put_ClassId(e.classId.empty() ? Bstr(kRefItemClassText) : Bstr::FromUtf8(e.classId)), IID_IOrvRefItem);
    Check(item->put_Flag1(e.flags[0]), IID_IOrvRefItem);
    Check(item->put_Flag2(e.flags[1]), IID_IOrvRefItem);
    Check(item->put_Flag3(e.flags[2]), IID_IOrvRefItem);
    ComPtr<IUnknown> unknown;
    Check(item.As(&unknown));
    return unknown;
}

ComPtr<IUnknown> MakeEmployee(const SharedSlot& slot, LONG id) {
    if (!slot->Get()->Employee(id)) return nullptr;
    OrvStoreEmployee* e = nullptr;
    ComPtr<IUnknown> unknown = Made(&e);
    e->Init(slot, id);
    return unknown;
}

// ================================================================ settings

HRESULT OrvStoreSettings::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvSettings, [&] {
        *pVal = static_cast<LONG>(slot_->Get()->Settings().size());
        return S_OK;
    });
}

HRESULT OrvStoreSettings::get_Setting(LONG lId, IUnknown** ppunkSetting) {
    if (!ppunkSetting) return E_POINTER;
    *ppunkSetting = nullptr;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvSettings, [&] {
        if (!slot_->Get()->Setting(lId)) return S_FALSE;
        OrvStoreSetting* s = nullptr;
        ComPtr<IUnknown> unknown = Made(&s);
        s->Init(slot_, lId);
        *ppunkSetting = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvStoreSettings::get_BaseCurrency(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvCurrencyService, [&] {
        if (auto v = slot_->Get()->Value("base_currency")) *pVal = static_cast<LONG>(std::stol(*v));
        return S_OK;
    });
}

HRESULT OrvStoreSettings::GetCurrencyName(LONG lCurrencyId, BSTR* pbstrName) {
    if (!pbstrName) return E_POINTER;
    *pbstrName = nullptr;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvCurrencyService, [&] {
        for (const auto& [id, name] : slot_->Get()->Currencies())
            if (id == lCurrencyId) return Text(name, pbstrName);
        return S_FALSE;
    });
}

HRESULT OrvStoreSettings::GetRate(LONG, LONG lCurrencyId, DATE dtOnDate, CY* pcyRate) {
    if (!pcyRate) return E_POINTER;
    pcyRate->int64 = 0;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvCurrencyService, [&] {
        auto s = slot_->Get();
        const auto base = s->Value("base_currency");
        if (lCurrencyId == 0 || (base && std::stol(*base) == lCurrencyId)) {
            pcyRate->int64 = 10000;
            return S_OK;
        }
        const auto rates = s->Rates(lCurrencyId);
        const auto* r = LatestOnOrBefore(rates, DayOrOpen(dtOnDate), [](const auto& p) { return p.first; });
        if (!r) throw store::StoreError(ORV_E_NO_RATE, "No rate of currency " + std::to_string(lCurrencyId) + " is in force on the date");
        pcyRate->int64 = r->second;
        return S_OK;
    });
}

HRESULT OrvStoreSettings::Convert(LONG lPipeId, DATE dtRate, CY cyAmount, LONG lCurrencyId, LONG lMode, LONG lDay,
                                  BSTR* pbstrText, CY* pcyResult) {
    if (!pcyResult) return E_POINTER;
    pcyResult->int64 = 0;
    if (pbstrText) *pbstrText = nullptr;
    const DATE on = lMode == 1 && lDay != 0 ? DateOf(lDay) : dtRate;
    CY rate{};
    if (HRESULT hr = GetRate(lPipeId, lCurrencyId, on, &rate); FAILED(hr)) return hr;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvCurrencyService, [&] {
        // amount (raw) x rate (raw / 10000), then to whole hundredths, halves away from zero.
        const long double raw = static_cast<long double>(cyAmount.int64) * rate.int64 / 10000.0L;
        const long double hundredths = std::trunc((raw + (raw < 0 ? -50.0L : 50.0L)) / 100.0L);
        pcyResult->int64 = static_cast<LONGLONG>(hundredths) * 100;
        if (pbstrText) {
            char text[160];
            std::snprintf(text, sizeof text, "%.4f x %.4f (currency %d) = %.2f", cyAmount.int64 / 10000.0,
                          rate.int64 / 10000.0, static_cast<int>(lCurrencyId), pcyResult->int64 / 10000.0);
            *pbstrText = Bstr::FromUtf8(text).Detach();
        }
        return S_OK;
    });
}

// ----------------------------------------------------------- configuration

HRESULT OrvStoreSettings::get_OrganizationName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvConfig, [&] {
        return Text(slot_->Get()->Value("organization_name").value_or(std::string()), pVal);
    });
}

HRESULT OrvStoreSettings::get_OrganizationInn(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvConfig, [&] {
        return Text(slot_->Get()->Value("organization_inn").value_or(std::string()), pVal);
    });
}

HRESULT OrvStoreSettings::get_DataPath(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvConfig, [&] { return Text(slot_->Get()->Location(), pVal); });
}

// The work month in the service's own form (the value IOrvDatabase keeps).
HRESULT OrvStoreSettings::get_WorkMonth(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvConfig, [&] {
        if (auto v = slot_->Get()->Value("work_month")) *pVal = std::stod(*v);
        return S_OK;
    });
}

HRESULT OrvStoreSettings::put_WorkMonth(DATE newVal) {
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvConfig, [&] {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", newVal);
        slot_->Get()->SetValue("work_month", text);
        return S_OK;
    });
}

HRESULT OrvStoreSettings::get_MinimumWage(DATE dtOnDate, CY* pVal) {
    if (!pVal) return E_POINTER;
    pVal->int64 = 0;
    return ServeStore(CLSID_OrvStoreSettings, IID_IOrvConfig, [&] {
        OrvStoreSetting* setting = nullptr;
        ComPtr<IUnknown> keep = Made(&setting);
        setting->Init(slot_, kSettingMinimumWage);
        Variant v;
        Check(setting->get_Value(dtOnDate, v.Out()), IID_IOrvDatedOption);
        if (v.vt == VT_CY) *pVal = v.cyVal;
        return S_OK;
    });
}

// ----------------------------------------------------------- one setting

std::vector<std::string> OrvStoreSetting::InForce(DATE dtOnDate) {
    const LONG day = DayOrOpen(dtOnDate);
    const auto values = slot_->Get()->SettingValues(id_);
    LONG start = 0;
    bool any = false;
    for (const auto& v : values)
        if (v.fromDay <= day) start = v.fromDay, any = true;
    std::vector<std::string> out;
    if (!any) return out;
    for (const auto& v : values)
        if (v.fromDay == start) out.push_back(v.value);
    return out;
}

HRESULT OrvStoreSetting::get_Id(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = id_;
    return S_OK;
}

HRESULT OrvStoreSetting::get_Value(DATE dtOnDate, SHORT* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvShortSetting, [&] {
        const auto v = InForce(dtOnDate);
        if (!v.empty()) *pVal = static_cast<SHORT>(std::stol(v.front()));
        return S_OK;
    });
}

HRESULT OrvStoreSetting::get_Value(DATE dtOnDate, DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvDateSetting, [&] {
        const auto v = InForce(dtOnDate);
        if (!v.empty()) *pVal = DateOf(static_cast<LONG>(std::stol(v.front())));
        return S_OK;
    });
}

HRESULT OrvStoreSetting::get_Value(DATE dtOnDate, VARIANT* pVal) {
    if (!pVal) return E_POINTER;
    VariantInit(pVal);
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvDatedOption, [&] {
        const auto row = slot_->Get()->Setting(id_);
        const std::string kind = row ? row->kind : std::string();
        const auto v = InForce(dtOnDate);
        if (kind == "money") {
            pVal->vt = VT_CY;
            pVal->cyVal.int64 = v.empty() ? 0 : std::stoll(v.front());
        } else if (v.empty()) {
            return S_OK;
        } else if (kind == "short") {
            pVal->vt = VT_I4;
            pVal->lVal = static_cast<LONG>(std::stol(v.front()));
        } else if (kind == "date") {
            pVal->vt = VT_DATE;
            pVal->date = DateOf(static_cast<LONG>(std::stol(v.front())));
        } else {
            pVal->vt = VT_BSTR;
            pVal->bstrVal = Bstr::FromUtf8(v.front()).Detach();
        }
        return S_OK;
    });
}

HRESULT OrvStoreSetting::get_Name(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        auto row = slot_->Get()->Setting(id_);
        return Text(row ? row->name : std::string(), pVal);
    });
}

HRESULT OrvStoreSetting::get_PeriodCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        std::set<LONG> starts;
        for (const auto& v : slot_->Get()->SettingValues(id_)) starts.insert(v.fromDay);
        *pVal = static_cast<LONG>(starts.size());
        return S_OK;
    });
}

HRESULT OrvStoreSetting::get_PeriodStart(LONG lPeriod, DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        std::set<LONG> starts;
        for (const auto& v : slot_->Get()->SettingValues(id_)) starts.insert(v.fromDay);
        if (lPeriod < 0 || static_cast<std::size_t>(lPeriod) >= starts.size()) return E_INVALIDARG;
        *pVal = DateOf(*std::next(starts.begin(), lPeriod));
        return S_OK;
    });
}

HRESULT OrvStoreSetting::AddValue(DATE dtFrom, VARIANT vValue) {
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, &vValue, 0, VT_BSTR))) return E_INVALIDARG;
        Bstr owned = Bstr::Attach(text.bstrVal);
        slot_->Get()->AddSettingValue(id_, DayOf(dtFrom), owned.Utf8());
        return S_OK;
    });
}

HRESULT OrvStoreSetting::Clear() {
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        slot_->Get()->ClearSettingValues(id_);
        return S_OK;
    });
}

HRESULT OrvStoreSetting::get_Count(DATE dtOnDate, LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        *pVal = static_cast<LONG>(InForce(dtOnDate).size());
        return S_OK;
    });
}

HRESULT OrvStoreSetting::get_Item(LONG lIndex, DATE dtOnDate, VARIANT* pVal) {
    if (!pVal) return E_POINTER;
    VariantInit(pVal);
    return ServeStore(CLSID_OrvStoreSetting, IID_IOrvListSetting, [&] {
        const auto v = InForce(dtOnDate);
        if (lIndex < 0 || static_cast<std::size_t>(lIndex) >= v.size()) return E_INVALIDARG;
        const std::string& s = v[static_cast<std::size_t>(lIndex)];
        // Whole numbers come back as VT_I4, anything else as text.
        LONG n = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
        if (ec == std::errc() && end == s.data() + s.size() && !s.empty()) {
            pVal->vt = VT_I4;
            pVal->lVal = n;
        } else {
            pVal->vt = VT_BSTR;
            pVal->bstrVal = Bstr::FromUtf8(s).Detach();
        }
        return S_OK;
    });
}

// ================================================================= session

HRESULT OrvStoreSession::FinalConstruct() {
    loginTime_ = static_cast<DATE>(std::time(nullptr)) / 86400.0 + 25569.0;
    return S_OK;
}

HRESULT OrvStoreSession::Text(const std::string& value, BSTR* out) {
    if (!out) return E_POINTER;
    *out = Bstr::FromUtf8(value).Detach();
    return S_OK;
}

HRESULT OrvStoreSession::get_UserId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<LONG>(geteuid());
    return S_OK;
}

namespace {
// The effective user's account entry: its name or its full name ("" when none).
std::string Account(bool fullName) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    const char* text = fullName ? found->pw_gecos : found->pw_name;
    return text ? text : "";
}
}  // namespace

HRESULT OrvStoreSession::get_UserName(BSTR* pVal) { return Text(Account(false), pVal); }

HRESULT OrvStoreSession::get_FullName(BSTR* pVal) { return Text(Account(true), pVal); }

HRESULT OrvStoreSession::get_IsAdministrator(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = VARIANT_FALSE;
    return S_OK;
}

HRESULT OrvStoreSession::CanRead(LONG, VARIANT_BOOL* pbAllowed) {
    if (!pbAllowed) return E_POINTER;
    *pbAllowed = VARIANT_TRUE;
    return S_OK;
}

HRESULT OrvStoreSession::CanWrite(LONG, VARIANT_BOOL* pbAllowed) {
    if (!pbAllowed) return E_POINTER;
    return Locked([&] {
        *pbAllowed = readOnly_ ? VARIANT_FALSE : VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT OrvStoreSession::CanDelete(LONG lDcType, VARIANT_BOOL* pbAllowed) { return CanWrite(lDcType, pbAllowed); }

HRESULT OrvStoreSession::get_DepartmentFilter(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = SysAllocStringLen(departmentFilter_.data(), static_cast<UINT>(departmentFilter_.size()));
        return S_OK;
    });
}

HRESULT OrvStoreSession::put_DepartmentFilter(BSTR newVal) {
    return Locked([&] {
        departmentFilter_.assign(newVal ? newVal : u"", SysStringLen(newVal));
        return S_OK;
    });
}

// The filter is a list of department numbers separated by ";" or ","; an
// empty filter shows every department.
HRESULT OrvStoreSession::IsDepartmentVisible(LONG lDepNum, VARIANT_BOOL* pbVisible) {
    if (!pbVisible) return E_POINTER;
    return Locked([&] {
        const std::string filter = Utf16ToUtf8(departmentFilter_);
        bool visible = filter.find_first_not_of(" ;,") == std::string::npos;
        std::size_t at = 0;
        while (!visible && at < filter.size()) {
            const std::size_t end = std::min(filter.find_first_of(";,", at), filter.size());
            const std::string part = filter.substr(at, end - at);
            LONG n = 0;
            const auto first = part.find_first_not_of(' ');
            if (first != std::string::npos) {
                auto [p, ec] = std::from_chars(part.data() + first, part.data() + part.size(), n);
                if (ec == std::errc() && n == lDepNum) visible = true;
            }
            at = end + 1;
        }
        *pbVisible = visible ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvStoreSession::get_OrganizationId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSession, IID_IOrvSession, [&] {
        if (auto v = slot_->Get()->Value("organization_id")) *pVal = static_cast<LONG>(std::stol(*v));
        return S_OK;
    });
}

HRESULT OrvStoreSession::put_OrganizationId(LONG newVal) {
    return ServeStore(CLSID_OrvStoreSession, IID_IOrvSession, [&] {
        slot_->Get()->SetValue("organization_id", std::to_string(newVal));
        return S_OK;
    });
}

HRESULT OrvStoreSession::get_OrganizationName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreSession, IID_IOrvSession, [&] {
        return Text(slot_->Get()->Value("organization_name").value_or(""), pVal);
    });
}

HRESULT OrvStoreSession::get_WorkMonth(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return ServeStore(CLSID_OrvStoreSession, IID_IOrvSession, [&] {
        if (auto v = slot_->Get()->Value("work_month")) *pVal = DateOf(static_cast<LONG>(std::stol(*v)));
        return S_OK;
    });
}

HRESULT OrvStoreSession::put_WorkMonth(DATE newVal) {
    return ServeStore(CLSID_OrvStoreSession, IID_IOrvSession, [&] {
        slot_->Get()->SetValue("work_month", std::to_string(DayOf(newVal)));
        return S_OK;
    });
}

HRESULT OrvStoreSession::get_LoginTime(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = loginTime_;
    return S_OK;
}

HRESULT OrvStoreSession::get_HostName(BSTR* pVal) {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return Text(name, pVal);
}

HRESULT OrvStoreSession::get_SessionId(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = static_cast<LONG>(getpid());
    return S_OK;
}

// Locks are this session's own marks (documents it is editing); they are not
// seen by other processes.
HRESULT OrvStoreSession::LockDocument(LONG lDocId, VARIANT_BOOL* pbLocked) {
    if (!pbLocked) return E_POINTER;
    return Locked([&] {
        locked_.insert(lDocId);
        *pbLocked = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT OrvStoreSession::UnlockDocument(LONG lDocId) {
    return Locked([&] { return locked_.erase(lDocId) ? S_OK : S_FALSE; });
}

HRESULT OrvStoreSession::UnlockAll() {
    return Locked([&] {
        locked_.clear();
        return S_OK;
    });
}

HRESULT OrvStoreSession::get_ReadOnly(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = readOnly_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvStoreSession::put_ReadOnly(VARIANT_BOOL newVal) {
    return Locked([&] {
        readOnly_ = newVal != VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT OrvStoreSession::get_AccessType(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreSession, IID_IOrvSession, [&] {
        if (auto v = slot_->Get()->Value("access_type")) *pVal = std::stol(*v) != 0 ? 1 : 0;
        return S_OK;
    });
}

// ======================================================== reference source

HRESULT OrvStoreReference::Entry(LONG list, LONG index, IUnknown** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        auto row = slot_->Get()->Entry(list, index);
        if (!row) return S_FALSE;
        *out = MakeRefItem(*row).Detach();
        return S_OK;
    });
}

HRESULT OrvStoreReference::List(LONG list, IUnknown** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        ComPtr<IOrvUnknownList> items;
        Check(CreateObject<OrvUnknownList>(&items), IID_IOrvUnknownList);
        for (const auto& row : slot_->Get()->Entries(list)) Check(items->Add(MakeRefItem(row).Get()), IID_IOrvUnknownList);
        Check(items->Reset(), IID_IOrvUnknownList);
        Check(items->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out)));
        return S_OK;
    });
}

HRESULT OrvStoreReference::Find(LONG list, BSTR text, bool byCode, IUnknown** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        const std::string wanted = Utf8Of(text);
        for (const auto& row : slot_->Get()->Entries(list)) {
            if ((byCode ? row.code : row.name) == wanted) {
                *out = MakeRefItem(row).Detach();
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

HRESULT OrvStoreReference::Update(IUnknown* entry, LONG list, LONG* index) {
    if (!entry) return E_POINTER;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        ComPtr<IOrvRefItem> item;
        Check(entry->QueryInterface(IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf())), IID_IOrvRefItem);
        store::EntryRow row;
        Bstr code, name, classId;
        Check(item->get_Kind(&row.kind), IID_IOrvRefItem);
        Check(item->get_Index(&row.index), IID_IOrvRefItem);
        Check(item->get_Id(&row.id), IID_IOrvRefItem);
        Check(item->get_Code(code.ReleaseAndGetAddressOf()), IID_IOrvRefItem);
        Check(item->get_Name(name.ReleaseAndGetAddressOf()), IID_IOrvRefItem);
        Check(item->get_ClassId(classId.ReleaseAndGetAddressOf()), IID_IOrvRefItem);
        Check(item->get_Flag1(&row.flags[0]), IID_IOrvRefItem);
        Check(item->get_Flag2(&row.flags[1]), IID_IOrvRefItem);
        Check(item->get_Flag3(&row.flags[2]), IID_IOrvRefItem);
        row.list = list != 0 ? list : row.kind;
        row.code = code.Utf8();
        row.name = name.Utf8();
        row.classId = classId.Utf8();
        auto s = slot_->Get();
        if (row.index == 0) {
            // An entry without a number gets the next one of its list.
            LONG max = 0;
            for (const auto& e : s->Entries(row.list)) max = std::max(max, e.index);
            row.index = max + 1;
            Check(item->put_Index(row.index), IID_IOrvRefItem);
        }
        if (row.id == 0) {
            row.id = s->NextId();
            Check(item->put_Id(row.id), IID_IOrvRefItem);
        }
        s->PutEntry(row);
        if (index) *index = row.index;
        return S_OK;
    });
}

HRESULT OrvStoreReference::Create(LONG list, BSTR name, BSTR code, IUnknown** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        auto s = slot_->Get();
        store::EntryRow row;
        row.list = row.kind = list;
        for (const auto& e : s->Entries(list)) row.index = std::max(row.index, e.index);
        row.index += 1;
        row.id = s->NextId();
        row.name = Utf8Of(name);
        row.code = Utf8Of(code);
        s->PutEntry(row);
        *out = MakeRefItem(row).Detach();
        return S_OK;
    });
}

HRESULT OrvStoreReference::Tariff(IUnknown** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        slot_->Get();  // E_UNEXPECTED when closed
        OrvStoreTariff* t = nullptr;
        ComPtr<IUnknown> unknown = Made(&t);
        t->Init(slot_);
        *out = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvStoreReference::get_ListCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        *pVal = static_cast<LONG>(slot_->Get()->Lists().size());
        return S_OK;
    });
}

HRESULT OrvStoreReference::GetListName(LONG lListId, BSTR* pbstrName) {
    if (!pbstrName) return E_POINTER;
    *pbstrName = nullptr;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        for (const auto& [id, name] : slot_->Get()->Lists())
            if (id == lListId) return Text(name, pbstrName);
        return S_FALSE;
    });
}

HRESULT OrvStoreReference::GetList(LONG lListId, IUnknown** p) { return List(lListId, p); }
HRESULT OrvStoreReference::GetListPiped(LONG, LONG lListId, IUnknown** p) { return List(lListId, p); }
HRESULT OrvStoreReference::GetEntry(LONG lIndex, LONG lListId, IUnknown** p) { return Entry(lListId, lIndex, p); }
HRESULT OrvStoreReference::GetEntryPiped(LONG, LONG lIndex, LONG lListId, IUnknown** p) {
    return Entry(lListId, lIndex, p);
}
HRESULT OrvStoreReference::FindEntryByCode(LONG lListId, BSTR c, IUnknown** p) { return Find(lListId, c, true, p); }
HRESULT OrvStoreReference::FindEntryByCodePiped(LONG, LONG lListId, BSTR c, IUnknown** p) {
    return Find(lListId, c, true, p);
}
HRESULT OrvStoreReference::FindEntryByName(LONG lListId, BSTR n, IUnknown** p) { return Find(lListId, n, false, p); }
HRESULT OrvStoreReference::FindEntryByNamePiped(LONG, LONG lListId, BSTR n, IUnknown** p) {
    return Find(lListId, n, false, p);
}

HRESULT OrvStoreReference::GetMaxIndex(LONG lListId, LONG* plIndex) {
    if (!plIndex) return E_POINTER;
    *plIndex = 0;
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource, [&] {
        for (const auto& e : slot_->Get()->Entries(lListId)) *plIndex = std::max(*plIndex, e.index);
        return S_OK;
    });
}
HRESULT OrvStoreReference::GetMaxIndexPiped(LONG, LONG lListId, LONG* plIndex) { return GetMaxIndex(lListId, plIndex); }
HRESULT OrvStoreReference::UpdateEntry(IUnknown* e) { return Update(e, 0, nullptr); }
HRESULT OrvStoreReference::UpdateEntryPiped(LONG, IUnknown* e) { return Update(e, 0, nullptr); }

HRESULT OrvStoreReference::DeleteEntry(LONG lListId, LONG lIndex) {
    return ServeStore(CLSID_OrvStoreReference, IID_IOrvReferenceSource,
                      [&] { return slot_->Get()->DeleteEntry(lListId, lIndex) ? S_OK : S_FALSE; });
}
HRESULT OrvStoreReference::DeleteEntryPiped(LONG, LONG lListId, LONG lIndex) { return DeleteEntry(lListId, lIndex); }

HRESULT OrvStoreReference::GetBank(LONG id, IUnknown** p) { return Entry(kListBanks, id, p); }
HRESULT OrvStoreReference::GetBankPiped(LONG, LONG id, IUnknown** p) { return Entry(kListBanks, id, p); }
HRESULT OrvStoreReference::StoreBank(IUnknown* bank, LONG* plBankId) {
    if (!plBankId) return E_POINTER;
    *plBankId = 0;
    return Update(bank, kListBanks, plBankId);
}
HRESULT OrvStoreReference::StoreBankPiped(LONG, IUnknown* bank, LONG* plBankId) { return StoreBank(bank, plBankId); }
HRESULT OrvStoreReference::GetBankList(IUnknown** p) { return List(kListBanks, p); }
HRESULT OrvStoreReference::GetBankListPiped(LONG, IUnknown** p) { return List(kListBanks, p); }
HRESULT OrvStoreReference::GetDepartment(LONG n, IUnknown** p) { return Entry(kListDepartments, n, p); }
HRESULT OrvStoreReference::GetDepartmentPiped(LONG, LONG n, IUnknown** p) { return Entry(kListDepartments, n, p); }
HRESULT OrvStoreReference::GetDepartmentList(IUnknown** p) { return List(kListDepartments, p); }
HRESULT OrvStoreReference::GetDepartmentListPiped(LONG, IUnknown** p) { return List(kListDepartments, p); }
HRESULT OrvStoreReference::GetPosition(LONG n, IUnknown** p) { return Entry(kListPositions, n, p); }
HRESULT OrvStoreReference::GetPositionPiped(LONG, LONG n, IUnknown** p) { return Entry(kListPositions, n, p); }
HRESULT OrvStoreReference::GetPositionList(IUnknown** p) { return List(kListPositions, p); }
HRESULT OrvStoreReference::GetPositionListPiped(LONG, IUnknown** p) { return List(kListPositions, p); }
HRESULT OrvStoreReference::GetTariffTable(IUnknown** p) { return Tariff(p); }
HRESULT OrvStoreReference::GetTariffTablePiped(LONG, IUnknown** p) { return Tariff(p); }
HRESULT OrvStoreReference::GetPayCode(LONG n, IUnknown** p) { return Entry(kListPayCodes, n, p); }
HRESULT OrvStoreReference::GetPayCodePiped(LONG, LONG n, IUnknown** p) { return Entry(kListPayCodes, n, p); }
HRESULT OrvStoreReference::CreateEntry(LONG lListId, BSTR name, BSTR code, IUnknown** p) {
    return Create(lListId, name, code, p);
}
HRESULT OrvStoreReference::GetPayCodeList(IUnknown** p) { return List(kListPayCodes, p); }
HRESULT OrvStoreReference::GetPayCodeListPiped(LONG, IUnknown** p) { return List(kListPayCodes, p); }
HRESULT OrvStoreReference::GetFinSource(LONG n, IUnknown** p) { return Entry(kListFinSources, n, p); }
HRESULT OrvStoreReference::GetFinSourcePiped(LONG, LONG n, IUnknown** p) { return Entry(kListFinSources, n, p); }
HRESULT OrvStoreReference::GetFinSourceList(IUnknown** p) { return List(kListFinSources, p); }
HRESULT OrvStoreReference::GetFinSourceListPiped(LONG, IUnknown** p) { return List(kListFinSources, p); }
HRESULT OrvStoreReference::GetCurrency(LONG n, IUnknown** p) { return Entry(kListCurrencies, n, p); }
HRESULT OrvStoreReference::GetCurrencyPiped(LONG, LONG n, IUnknown** p) { return Entry(kListCurrencies, n, p); }
HRESULT OrvStoreReference::GetCurrencyList(IUnknown** p) { return List(kListCurrencies, p); }
HRESULT OrvStoreReference::GetCurrencyListPiped(LONG, IUnknown** p) { return List(kListCurrencies, p); }
HRESULT OrvStoreReference::GetAbsenceType(LONG n, IUnknown** p) { return Entry(kListAbsenceTypes, n, p); }
HRESULT OrvStoreReference::GetAbsenceTypePiped(LONG, LONG n, IUnknown** p) { return Entry(kListAbsenceTypes, n, p); }
HRESULT OrvStoreReference::GetAbsenceTypeList(IUnknown** p) { return List(kListAbsenceTypes, p); }
HRESULT OrvStoreReference::GetAbsenceTypeListPiped(LONG, IUnknown** p) { return List(kListAbsenceTypes, p); }
HRESULT OrvStoreReference::GetSchedule(LONG n, IUnknown** p) { return Entry(kListSchedules, n, p); }
HRESULT OrvStoreReference::GetSchedulePiped(LONG, LONG n, IUnknown** p) { return Entry(kListSchedules, n, p); }
HRESULT OrvStoreReference::GetScheduleList(IUnknown** p) { return List(kListSchedules, p); }
HRESULT OrvStoreReference::GetScheduleListPiped(LONG, IUnknown** p) { return List(kListSchedules, p); }
// Nothing is cached: every call reads the store, so there is nothing to refresh.
HRESULT OrvStoreReference::Refresh(LONG) { return S_OK; }
HRESULT OrvStoreReference::RefreshPiped(LONG, LONG) { return S_OK; }
HRESULT OrvStoreReference::get_CacheEnabled(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = cache_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}
HRESULT OrvStoreReference::put_CacheEnabled(VARIANT_BOOL newVal) {
    return Locked([&] {
        cache_ = newVal != VARIANT_FALSE;
        return S_OK;
    });
}
HRESULT OrvStoreReference::CreateEntryPiped(LONG, LONG lListId, BSTR name, BSTR code, IUnknown** p) {
    return Create(lListId, name, code, p);
}

// ============================================================ tariff table

std::vector<store::GradeRow> OrvStoreTariff::InForce(DATE dtOnDate) {
    const LONG day = DayOrOpen(dtOnDate);
    const auto grades = slot_->Get()->Grades();
    const auto* latest = LatestOnOrBefore(grades, day, [](const store::GradeRow& g) { return g.fromDay; });
    std::vector<store::GradeRow> out;
    if (!latest) return out;
    for (const auto& g : grades)
        if (g.fromDay == latest->fromDay) out.push_back(g);
    return out;
}

HRESULT OrvStoreTariff::GetNominal(DATE dtOnDate, CY* pcyNominal) {
    if (!pcyNominal) return E_POINTER;
    pcyNominal->int64 = 0;
    return ServeStore(CLSID_OrvStoreTariff, IID_IOrvTariffTable, [&] {
        const auto nominals = slot_->Get()->Nominals();
        if (const auto* n = LatestOnOrBefore(nominals, DayOrOpen(dtOnDate), [](const auto& p) { return p.first; }))
            pcyNominal->int64 = n->second;
        return S_OK;
    });
}

HRESULT OrvStoreTariff::GetGradeCount(DATE dtOnDate, LONG* plCount) {
    if (!plCount) return E_POINTER;
    *plCount = 0;
    return ServeStore(CLSID_OrvStoreTariff, IID_IOrvTariffTable, [&] {
        *plCount = static_cast<LONG>(InForce(dtOnDate).size());
        return S_OK;
    });
}

HRESULT OrvStoreTariff::GetGrade(DATE dtOnDate, LONG lGrade, IUnknown** ppunkEntry) {
    if (!ppunkEntry) return E_POINTER;
    *ppunkEntry = nullptr;
    return ServeStore(CLSID_OrvStoreTariff, IID_IOrvTariffTable, [&] {
        for (const auto& g : InForce(dtOnDate)) {
            if (g.grade != lGrade) continue;
            OrvStoreGradeEntry* e = nullptr;
            ComPtr<IUnknown> unknown = Made(&e);
            e->Init(g);
            *ppunkEntry = unknown.Detach();
            return S_OK;
        }
        return S_FALSE;
    });
}

HRESULT OrvStoreGradeEntry::get_Coefficient(CY* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        pVal->int64 = row_.coefficient;
        return S_OK;
    });
}
HRESULT OrvStoreGradeEntry::put_Coefficient(CY newVal) {
    return Locked([&] {
        row_.coefficient = newVal.int64;
        return S_OK;
    });
}
HRESULT OrvStoreGradeEntry::get_RoundUp(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = row_.roundUp;
        return S_OK;
    });
}
HRESULT OrvStoreGradeEntry::put_RoundUp(LONG newVal) {
    return Locked([&] {
        row_.roundUp = newVal;
        return S_OK;
    });
}
HRESULT OrvStoreGradeEntry::get_Grade(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = row_.grade;
        return S_OK;
    });
}
HRESULT OrvStoreGradeEntry::put_Grade(LONG newVal) {
    return Locked([&] {
        row_.grade = newVal;
        return S_OK;
    });
}
HRESULT OrvStoreGradeEntry::get_FixedSum(CY* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        pVal->int64 = row_.fixedSum;
        return S_OK;
    });
}

// ================================================================ employee

store::EmployeeRow OrvStoreEmployee::Row() {
    auto row = slot_->Get()->Employee(id_);
    if (!row) throw store::StoreError(E_UNEXPECTED, "The employee " + std::to_string(id_) + " is no longer stored");
    return *row;
}

HRESULT OrvStoreEmployee::Date(LONG store::EmployeeRow::*field, DATE* out) {
    if (!out) return E_POINTER;
    *out = 0.0;
    return ServeStore(CLSID_OrvStoreEmployee, IID_IOrvEmployee, [&] {
        *out = DateOf(Row().*field);
        return S_OK;
    });
}

HRESULT OrvStoreEmployee::get_Id(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = id_;
    return S_OK;
}

HRESULT OrvStoreEmployee::get_TabNum(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreEmployee, IID_IOrvEmployee, [&] { return Text(Row().tabNum, pVal); });
}

HRESULT OrvStoreEmployee::get_FullName(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return ServeStore(CLSID_OrvStoreEmployee, IID_IOrvEmployee, [&] { return Text(Row().fullName, pVal); });
}

HRESULT OrvStoreEmployee::get_BirthDate(DATE* pVal) { return Date(&store::EmployeeRow::birth, pVal); }
HRESULT OrvStoreEmployee::get_ResignationDate(DATE* pVal) { return Date(&store::EmployeeRow::resignation, pVal); }
HRESULT OrvStoreEmployee::get_FirstEnterDate(DATE* pVal) { return Date(&store::EmployeeRow::firstEnter, pVal); }
HRESULT OrvStoreEmployee::get_SecondEnterDate(DATE* pVal) { return Date(&store::EmployeeRow::secondEnter, pVal); }

HRESULT OrvStoreEmployee::Job(DATE dtOnDate, store::JobRow* out) {
    *out = {};
    return ServeStore(CLSID_OrvStoreEmployee, IID_IOrvEmployeeJob, [&] {
        const auto jobs = slot_->Get()->Jobs(id_);
        const auto* j = LatestOnOrBefore(jobs, DayOrOpen(dtOnDate), [](const store::JobRow& r) { return r.fromDay; });
        if (!j) return S_FALSE;
        *out = *j;
        return S_OK;
    });
}

HRESULT OrvStoreEmployee::GetDepartment(LONG, DATE dtOnDate, LONG* plDepNum) {
    if (!plDepNum) return E_POINTER;
    store::JobRow j;
    HRESULT hr = Job(dtOnDate, &j);
    *plDepNum = j.department;
    return hr;
}

HRESULT OrvStoreEmployee::GetPosition(LONG, DATE dtOnDate, LONG* plPositionId) {
    if (!plPositionId) return E_POINTER;
    store::JobRow j;
    HRESULT hr = Job(dtOnDate, &j);
    *plPositionId = j.position;
    return hr;
}

HRESULT OrvStoreEmployee::GetRazryad(LONG, DATE dtOnDate, LONG* plRazryad) {
    if (!plRazryad) return E_POINTER;
    store::JobRow j;
    HRESULT hr = Job(dtOnDate, &j);
    *plRazryad = j.grade;
    return hr;
}

HRESULT OrvStoreEmployee::GetDepAndPosition(LONG, DATE dtOnDate, LONG* plDepNum, LONG* plPositionId, LONG* plRazryad) {
    if (!plDepNum || !plPositionId || !plRazryad) return E_POINTER;
    store::JobRow j;
    HRESULT hr = Job(dtOnDate, &j);
    *plDepNum = j.department;
    *plPositionId = j.position;
    *plRazryad = j.grade;
    return hr;
}

HRESULT OrvStoreEmployee::GetStatusOnDate(LONG, DATE, LONG* plStatus) {
    if (!plStatus) return E_POINTER;
    *plStatus = 0;
    return ServeStore(CLSID_OrvStoreEmployee, IID_IOrvEmployeeAccounts, [&] {
        *plStatus = Row().accountStatus;
        return S_OK;
    });
}

HRESULT OrvStoreEmployee::GetAccountList(LONG, IUnknown** ppunkList) {
    if (!ppunkList) return E_POINTER;
    *ppunkList = nullptr;
    return ServeStore(CLSID_OrvStoreEmployee, IID_IOrvEmployeeAccounts, [&] {
        const auto accounts = slot_->Get()->Accounts(id_);
        ComPtr<IOrvItemList> list;
        Check(CoCreateInstance(CLSID_OrvAccountList, nullptr, CLSCTX_ALL, IID_IOrvItemList,
                               reinterpret_cast<void**>(list.GetAddressOf())),
              IID_IOrvItemList);
        for (const auto& a : accounts) {
            store::EntryRow e;
            e.id = a.id;
            e.code = a.code;
            e.name = a.name;
            Check(list->Add(MakeRefItem(e).Get()), IID_IOrvItemList);
        }
        Check(list->Reset(), IID_IOrvItemList);
        Check(list->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkList)));
        return S_OK;
    });
}

}  // namespace orv::host
