#include "kinds/OrvOKDoc.h"

#include "frame/errors.h"
#include "frame/values.h"

#include <orvdocs/frame/database.h>
#include <orvdocs/frame/options.h>
#include <orvdocs/frame/services.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/text.h>

#include <cmath>
#include <cstdint>

namespace orv {

using namespace record;

namespace {

constexpr LONG kGradeApplies = 475;     // short, on the date: the grade tariff applies
constexpr LONG kCurrencyMode = 647;     // short, on the month: the currency mode
constexpr LONG kWholeUnitsFrom = 506;   // date, on the month: tariff amounts rounded to whole units from then
constexpr LONGLONG kUnit = 10000;       // raw units of one whole currency unit

// The settings object of the database service and the setting values.
class Settings {
public:
    explicit Settings(IUnknown* database) {
        ComPtr<IOrvDatabase> main;
        if (!database ||
            FAILED(database->QueryInterface(IID_IOrvDatabase, reinterpret_cast<void**>(main.GetAddressOf()))) || !main)
            throw ComError{E_POINTER, IID_IOrvDatabase};
        Check(main->get_Settings(object_.GetAddressOf()), IID_IOrvDatabase);
        if (!object_) throw ComError{E_POINTER, IID_IOrvDatabase};
        if (FAILED(object_.As(&settings_)) || !settings_) throw ComError{E_POINTER, IID_IOrvSettings};
    }

    SHORT Short(LONG id, DATE date) {
        ComPtr<IOrvShortSetting> setting;
        Setting(id).As(&setting);
        if (!setting) throw ComError{E_POINTER, IID_IOrvShortSetting};
        SHORT value = 0;
        Check(setting->get_Value(date, &value), IID_IOrvShortSetting);
        return value;
    }

    DATE Date(LONG id, DATE date) {
        ComPtr<IOrvDateSetting> setting;
        Setting(id).As(&setting);
        if (!setting) throw ComError{E_POINTER, IID_IOrvDateSetting};
        DATE value = 0.0;
        Check(setting->get_Value(date, &value), IID_IOrvDateSetting);
        return value;
    }

    IOrvCurrencyService* Currency() {
        if (!currency_ && (FAILED(object_.As(&currency_)) || !currency_))
            throw ComError{E_POINTER, IID_IOrvCurrencyService};
        return currency_.Get();
    }

private:
    ComPtr<IUnknown> Setting(LONG id) {
        ComPtr<IUnknown> setting;
        Check(settings_->get_Setting(id, setting.GetAddressOf()), IID_IOrvSettings);
        if (!setting) throw ComError{E_POINTER, IID_IOrvSettings};
        return setting;
    }

    ComPtr<IUnknown> object_;
    ComPtr<IOrvSettings> settings_;
    ComPtr<IOrvCurrencyService> currency_;
};

// The date service, created on first need for one calculation.
class Dates {
public:
    IOrvDateService* Get() {
        if (!service_)
            Check(CoCreateInstance(CLSID_OrvDateService, nullptr, CLSCTX_ALL, IID_IOrvDateService,
                                   reinterpret_cast<void**>(service_.ReleaseAndGetAddressOf())),
                  IID_IOrvDateService);
        return service_.Get();
    }
    std::u16string Text(SHORT dayNumber) {
        Bstr text;
        Check(Get()->DayToText(dayNumber, text.ReleaseAndGetAddressOf()), IID_IOrvDateService);
        return std::u16string(text.View());
    }

private:
    ComPtr<IOrvDateService> service_;
};

// The first day of the date's month, its time of day kept.
DATE FirstOfMonth(DATE date) {
    SYSTEMTIME st{};
    if (!VariantTimeToSystemTime(date, &st)) throw ComError{E_INVALIDARG, IID_IOrvOKDoc};
    return date - (st.wDay - 1);
}

std::u16string Format(const OLECHAR* format, const std::u16string& day) {
    OLECHAR text[1024];
    const int n = wsprintfW(text, format, day.c_str());
    return std::u16string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::u16string Format(const OLECHAR* format, LONG grade, const std::u16string& day) {
    OLECHAR text[1024];
    const int n = wsprintfW(text, format, grade, day.c_str());
    return std::u16string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

LONGLONG OrvOKDoc::Scaled(LONGLONG amount, double factor) noexcept {
    const LONGLONG whole = TruncateToRawUnits(std::round(static_cast<double>(amount) * factor));
    return RoundCurrencyToHundredths(MakeCurrency(whole)).int64;
}

// ------------------------------------------------------------- properties

HRESULT OrvOKDoc::get_Amount(CY* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadSum(d, Sum::Dcsum1); });
}
HRESULT OrvOKDoc::put_Amount(CY newVal) {
    return PutField([&](IOrvDocument* d) { WriteSum(d, Sum::Dcsum1, newVal); });
}

HRESULT OrvOKDoc::get_Razryad(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadHundredths(d, Sum::DcSum3); });
}
HRESULT OrvOKDoc::put_Razryad(LONG newVal) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, Sum::DcSum3, newVal); });
}

HRESULT OrvOKDoc::get_WorkWeekLength(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcProc); });
}
HRESULT OrvOKDoc::put_WorkWeekLength(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcProc, newVal); });
}

HRESULT OrvOKDoc::get_WorkDayLength(float* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return FloatFromBits(ReadHundredths(d, Sum::DcSum2)); });
}
HRESULT OrvOKDoc::put_WorkDayLength(float newVal) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, Sum::DcSum2, BitsFromFloat(newVal)); });
}

HRESULT OrvOKDoc::get_Category(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcdpod); });
}
HRESULT OrvOKDoc::put_Category(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcdpod, newVal); });
}

HRESULT OrvOKDoc::get_Shpz(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return static_cast<LONG>(Get<SHORT>(d, &IOrvDocument::get_CodeShpz)); });
}
HRESULT OrvOKDoc::put_Shpz(LONG newVal) {
    return PutField([&](IOrvDocument* d) {
        Call(d, &IOrvDocument::put_CodeShpz, static_cast<SHORT>(static_cast<std::uint16_t>(newVal)));
    });
}

HRESULT OrvOKDoc::GetFlag(LONG bit, VARIANT_BOOL* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) {
        return (Get<LONG>(d, &IOrvDocument::get_Dfl) & bit) ? VARIANT_TRUE : VARIANT_FALSE;
    });
}
HRESULT OrvOKDoc::PutFlag(LONG bit, VARIANT_BOOL value) {
    return PutField([&](IOrvDocument* d) {
        const LONG flags = Get<LONG>(d, &IOrvDocument::get_Dfl);
        Call(d, &IOrvDocument::put_Dfl, value ? (flags | bit) : (flags & ~bit));
    });
}

HRESULT OrvOKDoc::get_BolnFromCurMonth(VARIANT_BOOL* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        return ReadHundredths(d, Sum::Dcms0) == 0 ? VARIANT_TRUE : VARIANT_FALSE;
    });
}
HRESULT OrvOKDoc::put_BolnFromCurMonth(VARIANT_BOOL newVal) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, Sum::Dcms0, newVal ? 0 : -1); });
}

HRESULT OrvOKDoc::get_CurrencyId(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return ReadHundredths(d, Sum::Dcms1); });
}
HRESULT OrvOKDoc::put_CurrencyId(LONG newVal) {
    return PutField([&](IOrvDocument* d) { WriteHundredths(d, Sum::Dcms1, newVal); });
}

HRESULT OrvOKDoc::get_PersonalNorm(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        return static_cast<LONG>(static_cast<std::uint32_t>(ReadHundredths(d, Sum::Dcms2)) & 0xFFFFu);
    });
}
HRESULT OrvOKDoc::put_PersonalNorm(LONG newVal) {
    return PutField([&](IOrvDocument* d) {
        const auto h = static_cast<std::uint32_t>(ReadHundredths(d, Sum::Dcms2));
        WriteHundredths(d, Sum::Dcms2, static_cast<LONG>((h & 0xFFFF0000u) | (static_cast<std::uint32_t>(newVal) & 0xFFFFu)));
    });
}

HRESULT OrvOKDoc::get_PersonalNormStart(LONG* pVal) {
    // A signed shift, as the stored 32-bit whole is signed.
    return GetField(pVal, [](IOrvDocument* d) { return ReadHundredths(d, Sum::Dcms2) >> 16; });
}
HRESULT OrvOKDoc::put_PersonalNormStart(LONG newVal) {
    return PutField([&](IOrvDocument* d) {
        const auto h = static_cast<std::uint32_t>(ReadHundredths(d, Sum::Dcms2));
        WriteHundredths(d, Sum::Dcms2, static_cast<LONG>((h & 0xFFFFu) | (static_cast<std::uint32_t>(newVal) << 16)));
    });
}

HRESULT OrvOKDoc::GetReserveSum(LONG index, CY* pVal) {
    return GetField(pVal, [&](IOrvDocument* d) {
        return HundredthsToCurrency(Get<LONG>(d, &IOrvDocument::get_lDcRsrv, index));
    });
}
HRESULT OrvOKDoc::PutReserveSum(LONG index, CY value) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcRsrv, index, CurrencyToHundredths(value)); });
}

HRESULT OrvOKDoc::get_WeekInHours(float* pVal) {
    return GetField(pVal, [](IOrvDocument* d) {
        const LONG stored = Get<LONG>(d, &IOrvDocument::get_lDcRsrv, 1);
        return static_cast<std::uint32_t>(stored) <= 999999u ? static_cast<float>(stored) / 10000.0f : 0.0f;
    });
}
HRESULT OrvOKDoc::put_WeekInHours(float newVal) {
    return PutField([&](IOrvDocument* d) {
        Variant value;
        value.vt = VT_R4;
        value.fltVal = newVal;
        Check(VariantChangeType(&value, &value, 0, VT_CY), IID_IOrvOKDoc);
        Call(d, &IOrvDocument::put_lDcRsrv, 1, static_cast<LONG>(static_cast<std::uint32_t>(value.cyVal.int64)));
    });
}

HRESULT OrvOKDoc::get_SUNorma(LONG* pVal) {
    return GetField(pVal, [](IOrvDocument* d) { return Get<LONG>(d, &IOrvDocument::get_lDcRsrv, 2); });
}
HRESULT OrvOKDoc::put_SUNorma(LONG newVal) {
    return PutField([&](IOrvDocument* d) { Call(d, &IOrvDocument::put_lDcRsrv, 2, newVal); });
}

// ------------------------------------------------------- the calculation

HRESULT OrvOKDoc::Amount(LONG pipe, DATE date, IUnknown* database, CY* result, std::u16string* message) {
    IOrvDocument* doc = Document();
    ComPtr<IOrvReferenceSource> tariffSource;
    if (database) database->QueryInterface(IID_IOrvReferenceSource, reinterpret_cast<void**>(tariffSource.GetAddressOf()));
    Settings settings(database);
    Dates dates;

    LONGLONG amount = ReadSum(doc, Sum::Dcsum1).int64;
    if (Get<LONG>(doc, &IOrvDocument::get_lDcType) == 48) amount /= 100;
    const LONG grade = ReadHundredths(doc, Sum::DcSum3);
    const SHORT applies = settings.Short(kGradeApplies, date);
    const DATE month = FirstOfMonth(date);
    const SHORT monthDay = DateToDayNumber(month);

    bool fromTariff = false;
    LONG roundUp = 0;
    if (amount == 0 && grade != 0 && applies != 0) {
        if (!tariffSource) throw ComError{E_POINTER, IID_IOrvReferenceSource};
        ComPtr<IUnknown> tariffObject;
        Check(tariffSource->GetTariffTablePiped(pipe, tariffObject.GetAddressOf()), IID_IOrvReferenceSource);
        ComPtr<IOrvTariffTable> tariff;
        if (!tariffObject || FAILED(tariffObject.As(&tariff)) || !tariff) throw ComError{E_POINTER, IID_IOrvTariffTable};
        CY nominal{};
        Check(tariff->GetNominal(month, &nominal), IID_IOrvTariffTable);
        ComPtr<IUnknown> entryObject;
        Check(tariff->GetGrade(month, grade, entryObject.GetAddressOf()), IID_IOrvTariffTable);
        ComPtr<IOrvGradeEntry> entry;
        if (entryObject) entryObject.As(&entry);
        if (nominal.int64 == 0) {
            *message = Format(u"[OK] Не найден разрядный номинал  на дату %s", dates.Text(monthDay));
            return kGradeNotFound;
        }
        if (!entry) {
            *message = Format(u"[OK] Не найден разряд %ld на дату %s", grade, dates.Text(monthDay));
            return kGradeNotFound;
        }
        CY coefficient{};
        CY fixed{};
        Check(entry->get_Coefficient(&coefficient), IID_IOrvGradeEntry);
        Check(entry->get_RoundUp(&roundUp), IID_IOrvGradeEntry);
        Check(entry->get_FixedSum(&fixed), IID_IOrvGradeEntry);
        if (fixed.int64 != 0) {
            amount = fixed.int64;
        } else {
            amount = TruncateToRawUnits(static_cast<double>(nominal.int64) * (static_cast<double>(coefficient.int64) * 0.0001) + 0.5);
            fromTariff = true;
        }
    }

    const LONG currency = ReadHundredths(doc, Sum::Dcms1);
    if (currency != 0) {
        DATE rateDate = month;
        const LONG shift = Get<LONG>(doc, &IOrvDocument::get_dcLong, 3);
        if (shift != 0) Check(dates.Get()->ShiftDate(month, shift, &rateDate), IID_IOrvDateService);
        const double k = Get<LONG>(doc, &IOrvDocument::get_dcLong, 4) / 10000.0;
        LONG mode = 0;
        LONG day = 0;
        if (settings.Short(kCurrencyMode, month) != 0) {
            const LONG reduction = Get<LONG>(doc, &IOrvDocument::get_dcLong, 2);
            if (reduction < 10000) amount = Scaled(amount, (10000 - reduction) / 10000.0);
            mode = 1;
            day = DateToDayNumber(Get<DATE>(doc, &IOrvDocument::get_dtDk));
        }
        if (k != 0.0) {
            amount = Scaled(amount, k);
        } else {
            Bstr text;  // the service's text is not used
            CY converted{};
            Check(settings.Currency()->Convert(pipe, rateDate, MakeCurrency(amount), currency, mode, day,
                                               text.ReleaseAndGetAddressOf(), &converted),
                  IID_IOrvCurrencyService);
            amount = converted.int64;
        }
    }

    if (fromTariff) {
        const DATE from = settings.Date(kWholeUnitsFrom, month);
        const LONG fromDay = from == 0.0 ? 0 : DateToDayNumber(from);
        if (monthDay >= fromDay) {
            if (roundUp == 0)
                amount = WrapAdd(amount, kUnit / 2) / kUnit * kUnit;
            else if (amount % kUnit != 0)
                amount = WrapMul(amount / kUnit + 1, kUnit);
        }
    }

    const LONG percent = Get<LONG>(doc, &IOrvDocument::get_DcDat1);
    if (percent != 0) amount = WrapAdd(WrapMul(amount, percent), 50) / 100;

    result->int64 = amount;
    return S_OK;
}

HRESULT OrvOKDoc::GetAmountBeSmart(LONG lPipeId, DATE dtDate, IUnknown* punkOrvBD, CY* pResult) {
    if (!pResult) return E_POINTER;
    pResult->int64 = 0;
    std::u16string message;
    CY amount{};
    const HRESULT hr = Locked([&] { return Amount(lPipeId, dtDate, punkOrvBD, &amount, &message); });
    if (hr == kGradeNotFound && !message.empty())
        return ReportWithMessage(CLSID_OrvOKDoc, message.c_str(), IID_IOrvOKDoc, kGradeNotFound);
    if (SUCCEEDED(hr)) *pResult = amount;
    return hr;
}

}  // namespace orv
