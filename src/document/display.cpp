// The one-line display text that lists show for a document, by type code.
#include "document/OrvDocument.h"

#include "frame/oemtext.h"
#include "frame/values.h"
#include "kinds/selection.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/typelib/sickleave.h>
#include <orvdocs/platform/strings.h>

#include <charconv>
#include <string>

namespace orv {
namespace {

using Text = std::u16string;

Text Amount(LONG hundredths) { return Text(FormatHundredths(hundredths).view()); }
Text RateText(LONG raw) { return Text(FormatRate(raw).view()); }

Text Number(LONGLONG value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
    return Text(digits, end);
}

Text Field(const char* field, std::size_t width) {
    COemToWChar text(field, width);
    return Text(text.Text(), text.Length());
}

bool In(LONG type, std::initializer_list<LONG> codes) {
    for (LONG c : codes)
        if (c == type) return true;
    return false;
}

}  // namespace

IOrvDateService* OrvDocument::Dates() {
    if (!dates_)
        Check(CoCreateInstance(CLSID_OrvDateService, nullptr, CLSCTX_ALL, IID_IOrvDateService,
                               reinterpret_cast<void**>(dates_.ReleaseAndGetAddressOf())),
              IID_IOrvDateService);
    return dates_.Get();
}

std::u16string OrvDocument::DayText(LONG dayNumber) {
    Bstr text;
    Check(Dates()->DayToText(dayNumber, text.ReleaseAndGetAddressOf()), IID_IOrvDateService);
    return Text(text.View());
}

std::u16string OrvDocument::NumberPrefix() {
    LONG t1 = record_.T1();
    if (t1 == 0 || !database_) return {};
    ComPtr<IOrvNumbering> numbering;
    Check(database_->QueryInterface(IID_IOrvNumbering, reinterpret_cast<void**>(numbering.GetAddressOf())),
          IID_IOrvNumbering);
    ComPtr<IUnknown> tableObject;
    Check(numbering->get_NumberTable(tableObject.GetAddressOf()), IID_IOrvNumbering);
    if (!tableObject) throw ComError{E_POINTER, IID_IOrvNumbering};
    ComPtr<IOrvNumberTable> table;
    Check(tableObject.As(&table), IID_IOrvNumberTable);
    LONG number = 0;
    Check(table->GetNumber(t1, &number), IID_IOrvNumberTable);
    if (number == 0) return {};
    return u"(" + Number(number) + u") ";
}

std::u16string OrvDocument::BuildDisplayString() {
    const LONG type = record_.TypeCode();
    const SumArea area = Area();
    // Sums and the two 16-bit values are read through the area rule; Dcsum1
    // here is its 32-bit field (its whole value only where said).
    const LONG sum1 = record_.Dcsum1Low(area);
    const LONG sum2 = record_.DcSum2(area);
    const LONG sum3 = record_.DcSum3(area);
    const LONG proc = record_.Proc(area);
    const LONG dpod = record_.Dpod(area);
    const LONG dat1 = record_.DcDat1();
    auto osn = [&] { return Field(record_.DcOsnField(), docrec::kDcOsnWidth); };
    auto memo = [&] { return Field(record_.MemoField(), docrec::kMemoWidth); };

    if (type < 1 || type > 427) return {};

    if (type == 1 || type == 48) {
        if (sum1 == 0 && sum3 != 0) return Number(sum3);
        return type == 1 ? Amount(sum1) : RateText(sum1);
    }
    if (In(type, {7, 8, 19, 41, 65, 108, 111, 139, 280, 300, 357})) return Amount(sum1);
    if (type == 10) {
        if (sum2 != 0) return Number(sum2);
        if (sum1 != 0) return Amount(sum1);
        if (sum3 != 0) return Amount(sum3);
        return {};
    }
    if (In(type, {14, 15, 17})) {
        if (sum1 != 0) return Amount(sum1);
        if (proc != 0) return Number(proc);
        if (dpod != 0) return u"1/" + Number(dpod);
        return {};
    }
    if (type == 18 || type == 46) return Amount(sum3);
    if (type == 21 || type == 22) {
        // The benefit type's name, from the specific object's type table.
        ComPtr<IUnknown> object;
        Check(CreateSpecificObject(type, static_cast<IOrvDocument*>(this), object.GetAddressOf()));
        ComPtr<IOrvENUMBlTypes> types;
        Check(object.As(&types), IID_IOrvENUMBlTypes);
        Bstr name;
        Check(types->TypeToName(dpod, name.ReleaseAndGetAddressOf()), IID_IOrvENUMBlTypes);
        return Text(name.View());
    }
    if (In(type, {26, 31, 66})) return proc >= 1 ? u"Да" : u"Нет";
    if (type == 27 || type == 61) {
        Text text = sum1 != 0 ? Amount(sum1) : Number(proc != 0 ? proc : dat1);
        return NumberPrefix() + text;
    }
    if (In(type, {30, 90, 91, 137, 138, 290, 395, 400, 401, 403, 410, 422})) return osn();
    if (type == 40) {
        // Stored values added as 32-bit numbers.
        auto s = static_cast<LONG>(static_cast<std::uint32_t>(dpod) + static_cast<std::uint32_t>(sum2) +
                                   static_cast<std::uint32_t>(dat1));
        return s == 0 ? Amount(sum1) : Number(s);
    }
    if (type == 49) return Number(proc != 0 ? proc : dpod);
    if (type == 63 || type == 93) return u"Уволен: " + DayText(LONG(record_.Dn()) - 1);
    if (type == 69) {
        Text text;
        if (sum1 != 0)
            text = Amount(sum1);
        else if (sum2 != 0)
            text = Amount(sum2);
        else if (sum3 != 0)
            text = Amount(sum3);
        else if (dpod != 0)
            text = Number(dpod);
        return NumberPrefix() + text;
    }
    if (In(type, {70, 132, 133, 134, 135, 342})) return Amount(sum2 != 0 ? sum2 : sum1);
    if (type == 71) {
        if (proc == 100) return u"Совместитель";
        if (proc == 101) return u"Внутренний совместитель";
        if (proc < 0) return u"В";
        return u"Нет";
    }
    if (type == 92 || type == 260) return NumberPrefix() + Text(FormatCurrency(Dcsum1Value()).view());
    if (In(type, {136, 250, 353, 369, 396, 397, 402, 404, 405, 406, 407, 408, 409, 411, 413, 415, 416, 417, 420, 421,
                  423, 424}))
        return memo();
    if (type == 305) {
        if (dat1 == 1) return u"Женат (замужем)";
        if (dat1 == 2) return u"Холост (не замужем)";
        return {};
    }
    if (type == 310) {
        if (proc != 0) return Number(proc);
        if (dat1 != 0) return Number(dat1);
        return {};
    }
    if (type == 354) {
        if (dpod == 0 && proc == 0) return {};
        return Number(dpod) + u" : " + Number(proc);
    }
    if (type == 355) {
        if (dpod == 1) return u"Прикреплен";
        if (dpod == 2) return u"На изготовлении";
        if (dpod == 3) return u"Откреплен";
        return {};
    }
    if (type == 358 || type == 392) return RateText(sum1);
    if (type == 359) {
        Text text;
        for (LONG v : {sum1, sum2, sum3, record_.Dcms(area, 0)}) {
            if (v == 0) continue;
            if (!text.empty()) text += u",";
            text += Amount(v);
        }
        return text;
    }
    if (type == 363) {
        const LONG kind = record_.Dpod(SumArea::Primary);
        if (kind == 1) {
            Text text = osn();
            Text note = memo();
            if (!note.empty()) text += u" : " + note;
            return text;
        }
        if (kind == 2) {
            Text text;
            for (int i = 0; i < 3; ++i) {
                LONG year = record_.DcLong(SumArea::Primary, i);
                if (year == 0) continue;
                text += text.empty() ? u"Года " : u"; ";
                text += Number(year);
            }
            if (!text.empty()) text += u" включать в справку";
            return text;
        }
        if (kind == 3) return u"Удерживать расходы на питание по карте";
        return {};
    }
    if (type == 364) {
        Text text;
        if (sum1 != 0)
            text = Amount(sum1);
        else if (sum2 != 0)
            text = Amount(sum2);
        return NumberPrefix() + text;
    }
    if (type == 390) {
        Text text = dpod == 1 ? u"Резидент" : u"Не резидент";
        text += proc == 1 ? u" c пересчетом" : u" без пересчета";  // the first "c" is Latin
        return text;
    }
    if (type == 393) return Number(dpod);
    if (type == 394) {
        LONG v = record_.Dpod(SumArea::Primary);
        return v != 0 ? Number(v) : Text();
    }
    if (type == 398) return osn() + u" " + memo();
    if (type == 399) {
        // The grounds, " до " and the date held as a day number in the
        // primary lDcProc, then the number in the primary lDcdpod; each part
        // only when its field is set, parts separated by one blank.
        Text text = osn();
        LONG until = record_.Proc(SumArea::Primary);
        if (until != 0) text += u" до " + DayText(until);
        LONG count = record_.Dpod(SumArea::Primary);
        if (count != 0) {
            if (!text.empty()) text += u" ";
            text += Number(count);
        }
        return text;
    }
    if (type == 427) return Amount(proc);
    return {};
}

HRESULT OrvDocument::get_DisplayString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        std::u16string text = BuildDisplayString();
        *pVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

}  // namespace orv
