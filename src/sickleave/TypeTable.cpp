#include "sickleave/TypeTable.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/platform/strings.h>

#include <string>

namespace orv {
namespace {

const TypeRow kSickLeaveTypes[] = {
    {0, u"0 Без оплаты"},
    {1, u"1 Кишечные  "},
    {2, u"2 Туберкулез"},
    {3, u"3 Психические расстройства"},
    {4, u"4 Нервные болезни"},
    {5, u"5 Глазные болезни"},
    {6, u"6 Болезни уха"},
    {7, u"7 Ревматизм"},
    {8, u"8 Гипертония"},
    {9, u"9 Болезни сердца"},
    {10, u"10 Артерии, вены"},
    {11, u"11 Фарингит"},
    {12, u"12 ОРВИ"},
    {13, u"13 Хронические дыхательных путей"},
    {14, u"14 Пневмония"},
    {15, u"15 Грипп"},
    {16, u"16 Хронические заболевания легких"},
    {17, u"17 Язва"},
    {18, u"18 Гастрит"},
    {19, u"19 Болезни Печени"},
    {20, u"20 Болезни Почек"},
    {21, u"21 Гинекологичесекие заболевания"},
    {22, u"22 Осложнения беременности"},
    {23, u"23 Кожные инфекции"},
    {24, u"24 Дерматиты"},
    {25, u"25 КМС"},
    {26, u"26 Прочие болезни"},
    {27, u"27 Травма на производстве"},
    {28, u"28 Травмы по дороге на работу"},
    {29, u"29 Травмы в быту"},
    {31, u"31 Аборты"},
    {32, u"32 По уходу за ребенком"},
    {33, u"33 Нахождение на карантине"},
    {34, u"34 Долечивание в Санаторно-курортном учреждении"},
    {36, u"36 Декретный (дородовый)"},
    {37, u"37 Декретный (послеродовый)"},
    {38, u"38 Чернобылец"},
    {39, u"39 По уходу за ребенком в стационаре"},
    {40, u"40 По уходу за членом семьи (не ребенком)"},
    {41, u"41 Протезирование в стационаре"},
};

const TypeRow kVacationTypes[] = {
    {1, u"1 Ежегодный"},
    {2, u"2 Уч. институт"},
    {3, u"3 Уч. техникум"},
    {4, u"4 Уч. школьный"},
    {5, u"5 Без сохранения зарплаты"},
    {6, u"6 По уходу до 1.5"},
    {7, u"7 По календарным дням"},
    {8, u"8 Для военных"},
    {9, u"9 Компенсация"},
    {10, u"10 Лечебный отпуск"},
    {11, u"11 По уходу от 1.5 до 3"},
    {12, u"12 Прочие типы отпусков"},
};

// The setting that lists the sick-leave types allowed on a date.
constexpr LONG kAllowedSickLeaveTypes = 773;

}  // namespace

std::span<const TypeRow> SickLeaveTypeRows() noexcept { return kSickLeaveTypes; }
std::span<const TypeRow> VacationTypeRows() noexcept { return kVacationTypes; }

TypeTableEnumerator::TypeTableEnumerator(std::span<const TypeRow> rows, Filter filter, const CLSID& owner) noexcept
    : rows_(rows), filterKind_(filter), owner_(owner) {
    InitializeCriticalSection(&cs_);
}

TypeTableEnumerator::~TypeTableEnumerator() { DeleteCriticalSection(&cs_); }

HRESULT TypeTableEnumerator::Reset() noexcept {
    ObjectLock lock(&cs_);
    index_ = 0;
    return S_OK;
}

HRESULT TypeTableEnumerator::Next(BSTR* pbstrTypeName, LONG* plType) noexcept {
    if (!pbstrTypeName || !plType) return E_POINTER;
    *pbstrTypeName = nullptr;
    *plType = 0;
    ObjectLock lock(&cs_);
    while (index_ < rows_.size() && !Passes(rows_[index_].code)) ++index_;
    if (index_ >= rows_.size()) return S_FALSE;
    const TypeRow& row = rows_[index_];
    *pbstrTypeName = SysAllocString(row.text);
    if (!*pbstrTypeName) return E_OUTOFMEMORY;
    *plType = row.code;
    ++index_;
    return S_OK;
}

HRESULT TypeTableEnumerator::TypeToName(LONG lType, BSTR* pName) noexcept {
    if (!pName) return E_POINTER;
    *pName = nullptr;
    ObjectLock lock(&cs_);
    for (const TypeRow& row : rows_) {
        if (row.code != lType) continue;
        *pName = SysAllocString(row.text);
        return *pName ? S_OK : E_OUTOFMEMORY;
    }
    return S_FALSE;
}

HRESULT TypeTableEnumerator::GetPipedString(BSTR* pString) noexcept {
    if (!pString) return E_POINTER;
    *pString = nullptr;
    ObjectLock lock(&cs_);
    try {
        std::u16string text;
        bool any = false;
        for (const TypeRow& row : rows_) {
            if (!Passes(row.code)) continue;
            if (any) text.push_back(u'|');
            text.append(row.text);
            any = true;
        }
        if (!any) return S_OK;  // no row passes: a null string
        *pString = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *pString ? S_OK : E_OUTOFMEMORY;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT TypeTableEnumerator::ApplyFilter(IUnknown* punkOrvBD) noexcept {
    if (filterKind_ == Filter::None) return S_OK;
    ObjectLock lock(&cs_);
    try {
        ComPtr<IOrvDatabase> database;
        if (!punkOrvBD ||
            FAILED(punkOrvBD->QueryInterface(IID_IOrvDatabase, reinterpret_cast<void**>(database.GetAddressOf()))))
            throw ComError{E_POINTER, IID_IOrvDatabase};
        ComPtr<IUnknown> settingsObject;
        Check(database->get_Settings(settingsObject.GetAddressOf()), IID_IOrvDatabase);
        ComPtr<IOrvSettings> settings;
        if (!settingsObject) throw ComError{E_POINTER, IID_IOrvDatabase};
        Check(settingsObject.As(&settings), IID_IOrvSettings);
        ComPtr<IUnknown> settingObject;
        Check(settings->get_Setting(kAllowedSickLeaveTypes, settingObject.GetAddressOf()), IID_IOrvSettings);
        if (!settingObject) throw ComError{E_POINTER, IID_IOrvSettings};
        ComPtr<IOrvListSetting> allowed;
        Check(settingObject.As(&allowed), IID_IOrvListSetting);

        SYSTEMTIME now{};
        GetLocalTime(&now);
        DATE today = 0.0;
        SystemTimeToVariantTime(&now, &today);  // the time of day included

        LONG count = 0;
        Check(allowed->get_Count(today, &count), IID_IOrvListSetting);
        for (LONG i = count - 1; i >= 0; --i) {
            Variant value;
            Check(allowed->get_Item(i, today, value.Out()), IID_IOrvListSetting);
            if (value.vt == VT_I4) filter_.insert(value.lVal);
        }
        return S_OK;
    } catch (const ComError& e) {
        return ReportComError(owner_, e);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace orv
