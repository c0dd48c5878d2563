// Personnel answers worked out from the documents of the list: hire and
// resignation dates from the employment contracts (type 304) and the
// employee's own dates, disability (41), income-tax status (390, 40, 304),
// children (410), the percentage of a type-27 document, and the bank
// accounts (10) not to be shown on a date.
#include "lists/OrvDocList.h"

#include "frame/values.h"
#include "kinds/RecordFields.h"

#include <orvdocs/frame/itemlists.h>
#include <orvdocs/platform/combase.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace orv {

using record::Get;

namespace {

constexpr LONG kContract = 304;
constexpr LONG kDisability = 41;
constexpr LONG kChild = 410;
constexpr LONG kTaxStatus = 390;
constexpr LONG kTaxStatusOld = 40;
constexpr LONG kPercent = 27;
constexpr LONG kBankPayment = 10;
// 2049-12-31: an open-ended contract inside the resignation search.
constexpr DATE kOpenEnd = 54788.0;

// The contract's end as a date: DcDat1 is a day number, 0 for open-ended.
DATE ContractEnd(IOrvDocument* doc) {
    const LONG day = Get<LONG>(doc, &IOrvDocument::get_DcDat1);
    return day == 0 ? 0.0 : day + kDayNumberEpoch;
}

LONG TypeOf(IOrvDocument* doc) { return Get<LONG>(doc, &IOrvDocument::get_lDcType); }
DATE StartOf(IOrvDocument* doc) { return Get<DATE>(doc, &IOrvDocument::get_dtDn); }
DATE EndOf(IOrvDocument* doc) { return Get<DATE>(doc, &IOrvDocument::get_dtDk); }

// The employee object's date interface; a null object is refused.
ComPtr<IOrvEmployee> Employee(IUnknown* punkSotr) {
    if (!punkSotr) throw ComError{E_POINTER, IID_IOrvEmployee};
    ComPtr<IOrvEmployee> employee;
    Check(punkSotr->QueryInterface(IID_IOrvEmployee, reinterpret_cast<void**>(employee.GetAddressOf())),
          IID_IOrvEmployee);
    return employee;
}

DATE EmployeeDate(IOrvEmployee* employee, HRESULT (IOrvEmployee::*member)(DATE*)) {
    DATE value = 0.0;
    Check((employee->*member)(&value), IID_IOrvEmployee);
    return value;
}

// Calendar steps on automation dates (whole days; the time of day is dropped).
using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;
constexpr sys_days kDateEpoch = sys_days{std::chrono::year{1899} / 12 / 30};

year_month_day CalendarOf(DATE date) {
    return year_month_day{kDateEpoch + days{static_cast<long long>(std::floor(date))}};
}
DATE DateOf(sys_days day) { return static_cast<DATE>((day - kDateEpoch).count()); }
DATE FirstOfMonth(DATE date) {
    const year_month_day ymd = CalendarOf(date);
    return DateOf(sys_days{ymd.year() / ymd.month() / 1});
}
bool IsLastDayOfMonth(DATE date) { return CalendarOf(std::floor(date) + 1.0).day() == std::chrono::day{1}; }

}  // namespace

IOrvDateService* OrvDocList::Dates() {
    if (!dates_)
        Check(CoCreateInstance(CLSID_OrvDateService, nullptr, CLSCTX_ALL, IID_IOrvDateService,
                               reinterpret_cast<void**>(dates_.ReleaseAndGetAddressOf())),
              IID_IOrvDateService);
    if (!dates_) throw ComError{E_POINTER, IID_IOrvDateService};
    return dates_.Get();
}

// ------------------------------------------------------ employment dates

DATE OrvDocList::FirstEnterDate(IUnknown* punkSotr) {
    ComPtr<IOrvEmployee> employee = Employee(punkSotr);
    const DATE hired = EmployeeDate(employee.Get(), &IOrvEmployee::get_FirstEnterDate);
    bool any = false;
    DATE earliest = 0.0;
    ForEachDocument([&](IOrvDocument* doc) {
        if (TypeOf(doc) != kContract) return true;
        const DATE start = StartOf(doc);
        if (!any || start < earliest) earliest = start;
        any = true;
        return true;
    });
    const DATE first = earliest != 0.0 && earliest < hired ? earliest : hired;
    const DATE second = EmployeeDate(employee.Get(), &IOrvEmployee::get_SecondEnterDate);
    return second != 0.0 && second <= first ? second : first;
}

DATE OrvDocList::EnterDateFromContracts(DATE dtOnDate) {
    DATE result = 0.0;
    ForEachDocument([&](IOrvDocument* doc) {
        if (TypeOf(doc) != kContract) return true;
        const DATE start = StartOf(doc);
        if (dtOnDate != 0.0 && start > dtOnDate) return true;
        result = start;
        return false;
    });
    return result;
}

DATE OrvDocList::ResignationDate(IUnknown* punkSotr, bool onDate, DATE dtOnDate) {
    ComPtr<IOrvEmployee> employee = Employee(punkSotr);
    const DATE stored = EmployeeDate(employee.Get(), &IOrvEmployee::get_ResignationDate);
    if (stored != 0.0) return stored - 1.0;

    // The latest end over the contracts (started before the date); an
    // open-ended first contract stands for "no end".
    DATE end = 0.0;
    ForEachDocument([&](IOrvDocument* doc) {
        if (TypeOf(doc) != kContract) return true;
        if (onDate && !(StartOf(doc) < dtOnDate)) return true;
        const DATE contractEnd = ContractEnd(doc);
        if (end == 0.0)
            end = contractEnd == 0.0 ? kOpenEnd : contractEnd;
        else if (contractEnd != 0.0 && contractEnd >= end)
            end = contractEnd;
        return true;
    });
    if (end == kOpenEnd) end = 0.0;

    // An open-ended contract in force on the date means no resignation.
    if (onDate && end != 0.0) {
        ForEachDocument([&](IOrvDocument* doc) {
            if (TypeOf(doc) != kContract) return true;
            if (StartOf(doc) <= dtOnDate && dtOnDate <= EndOf(doc) && Get<LONG>(doc, &IOrvDocument::get_DcDat1) == 0) {
                end = 0.0;
                return false;
            }
            return true;
        });
    }
    return end;
}

HRESULT OrvDocList::GetFirstEnterDate(IUnknown* punkSotr, DATE* pdtEnterDate) {
    if (!pdtEnterDate) return E_POINTER;
    *pdtEnterDate = 0.0;
    return Locked([&] {
        *pdtEnterDate = FirstEnterDate(punkSotr);
        return S_OK;
    });
}

HRESULT OrvDocList::GetEnterDateFromTds(DATE dtOnDate, DATE* pdtEnterDate) {
    if (!pdtEnterDate) return E_POINTER;
    *pdtEnterDate = 0.0;
    return Locked([&] {
        *pdtEnterDate = EnterDateFromContracts(dtOnDate);
        return S_OK;
    });
}

HRESULT OrvDocList::GetResignationDate(IUnknown* punkSotr, DATE* pdtResDate) {
    if (!pdtResDate) return E_POINTER;
    *pdtResDate = 0.0;
    return Locked([&] {
        *pdtResDate = ResignationDate(punkSotr, false, 0.0);
        return S_OK;
    });
}

HRESULT OrvDocList::GetResignationDateOnDate(IUnknown* punkSotr, DATE dtOnDate, DATE* pdtResDate) {
    if (!pdtResDate) return E_POINTER;
    *pdtResDate = 0.0;
    return Locked([&] {
        *pdtResDate = ResignationDate(punkSotr, true, dtOnDate);
        return S_OK;
    });
}

HRESULT OrvDocList::CorrectDateWithResignationInMonth(IUnknown* punkSotr, DATE dtInDate, DATE* pdtNewInDate) {
    if (!pdtNewInDate) return E_POINTER;
    *pdtNewInDate = dtInDate;
    return Locked([&] {
        if (IsLastDayOfMonth(dtInDate)) return S_OK;
        const DATE resigned = ResignationDate(punkSotr, true, dtInDate);
        const DATE monthStart = FirstOfMonth(dtInDate);
        // As the rule stands, "no resignation" (0) is earlier than any month
        // too and moves the date as well.
        if (resigned < monthStart) *pdtNewInDate = monthStart - 1.0;
        return S_OK;
    });
}

// ------------------------------------------------------------- disability

HRESULT OrvDocList::IsInvalidOnDate(DATE dtInDate, LONG* pLongInvalidStatus) {
    if (!pLongInvalidStatus) return E_POINTER;
    *pLongInvalidStatus = 0;
    return Locked([&] {
        ForEachDocument([&](IOrvDocument* doc) {
            if (TypeOf(doc) != kDisability) return true;
            if (!(StartOf(doc) <= dtInDate && dtInDate <= EndOf(doc))) return true;
            const LONG group = Get<LONG>(doc, &IOrvDocument::get_lDcdpod);
            if (group < 1 || group > 3) return true;
            *pLongInvalidStatus = group;
            return false;
        });
        return S_OK;
    });
}

HRESULT OrvDocList::IsInvalidOnDate2(IUnknown* punkSotr, DATE dtInDate, VARIANT_BOOL CheckResignationInMonth,
                                     LONG* pLongInvalidStatus) {
    if (!pLongInvalidStatus) return E_POINTER;
    *pLongInvalidStatus = 0;
    return Locked([&] {
        DATE resigned = 0.0;
        if (CheckResignationInMonth) {
            resigned = ResignationDate(punkSotr, true, dtInDate);
            if (resigned != 0.0) {
                // Only a resignation inside the date's month counts.
                if (resigned < FirstOfMonth(dtInDate)) resigned = 0.0;
                SHORT next = 0;
                Check(Dates()->MonthEnd(DateToDayNumber(dtInDate), &next), IID_IOrvDateService);
                const DATE nextMonth = DayNumberToDate(next);
                if (nextMonth <= resigned) resigned = 0.0;
            }
        }
        ForEachDocument([&](IOrvDocument* doc) {
            if (TypeOf(doc) != kDisability) return true;
            const DATE start = StartOf(doc), end = EndOf(doc);
            const bool onDate = start <= dtInDate && dtInDate <= end;
            const bool onResignation = resigned != 0.0 && start <= resigned && resigned <= end;
            if (!onDate && !onResignation) return true;
            const LONG group = Get<LONG>(doc, &IOrvDocument::get_lDcdpod);
            if (group < 1 || group > 3) return true;
            *pLongInvalidStatus = group;
            return false;
        });
        return S_OK;
    });
}

// -------------------------------------------------------- income-tax status

HRESULT OrvDocList::GetNdflStatusInPeriod(IUnknown* punkSotr, DATE dtMonth, DATE dtIncludedEnd, LONG Param,
                                          LONG* pResignMask, LONG* res) {
    if (!pResignMask || !res) return E_POINTER;
    *pResignMask = 0;
    *res = 0;
    return Locked([&] {
        const DATE resigned = ResignationDate(punkSotr, true, dtIncludedEnd);
        DATE entered = EnterDateFromContracts(dtIncludedEnd);
        if (entered == 0.0) entered = FirstEnterDate(punkSotr);
        LONG mask = 0;
        if (resigned != 0.0 && resigned < dtIncludedEnd) mask += 1;
        if (resigned != 0.0 && resigned < dtMonth) mask += 2;
        if (entered != 0.0 && entered > dtIncludedEnd) mask += 4;
        if (entered != 0.0 && entered > dtMonth) mask += 8;

        // The first document of a type in force at the end, or failing that
        // the first meeting the period, among those that count.
        auto pick = [&](LONG type, auto counts) -> IOrvDocument* {
            IOrvDocument* inForce = nullptr;
            IOrvDocument* meeting = nullptr;
            ForEachDocument([&](IOrvDocument* doc) {
                if (TypeOf(doc) != type || !counts(doc)) return true;
                const DATE start = StartOf(doc), end = EndOf(doc);
                if (start <= dtIncludedEnd && dtIncludedEnd <= end) {
                    inForce = doc;
                    return false;
                }
                if (!meeting && start <= dtIncludedEnd && end >= dtMonth) meeting = doc;
                return true;
            });
            return inForce ? inForce : meeting;
        };

        LONG status = 0;
        if (Param != 2) {
            IOrvDocument* doc = pick(kTaxStatus, [&](IOrvDocument* d) {
                return Param != 0 || Get<LONG>(d, &IOrvDocument::get_lDcProc) != 0;
            });
            if (doc) status = Get<LONG>(doc, &IOrvDocument::get_lDcdpod);
        }
        if (status == 0) {
            IOrvDocument* doc = pick(kTaxStatusOld, [&](IOrvDocument* d) {
                return Get<SHORT>(d, &IOrvDocument::get_dcShort, LONG(1)) != 0;
            });
            if (doc) status = Get<SHORT>(doc, &IOrvDocument::get_dcShort, LONG(1)) == 3 ? 2 : 1;
        }
        if (status == 0) {
            ForEachDocument([&](IOrvDocument* doc) {
                if (TypeOf(doc) != kContract) return true;
                if (StartOf(doc) <= dtIncludedEnd && EndOf(doc) >= dtMonth) {
                    status = 1;
                    return false;
                }
                return true;
            });
        }
        *pResignMask = mask;
        *res = status;
        return S_OK;
    });
}

// ------------------------------------------------ percentage, foreign status

HRESULT OrvDocList::GetPercentFromDocWithId(LONG Id, CY* pPercent) {
    if (!pPercent) return E_POINTER;
    pPercent->int64 = 0;
    return Locked([&] {
        lists::DocEntry* entry = FindEntry(&IOrvDocument::get_lDcId, Id);
        if (!entry) return S_OK;
        IOrvDocument* doc = DocumentOf(entry);
        if (TypeOf(doc) != kPercent) return S_OK;
        CY percent = Get<CY>(doc, &IOrvDocument::get_Dcms, SHORT(2));
        if (percent.int64 == 0) percent.int64 = static_cast<LONGLONG>(Get<LONG>(doc, &IOrvDocument::get_lDcProc)) * 10000;
        *pPercent = percent;
        return S_OK;
    });
}

HRESULT OrvDocList::GetFrgnStatusOnDate(LONG, DATE, LONG, LONG* pStatus) {
    if (!pStatus) return E_POINTER;
    *pStatus = 1;
    return S_OK;
}

// ---------------------------------------------------------------- children

HRESULT OrvDocList::GetChildrenPipedString(BSTR* pbstrChildren) {
    if (!pbstrChildren) return E_POINTER;
    *pbstrChildren = nullptr;
    return Locked([&] {
        std::u16string text;
        bool first = true;
        ForEachDocument([&](IOrvDocument* doc) {
            if (TypeOf(doc) != kChild) return true;
            if (!first) text += u'|';
            first = false;
            const LONG id = Get<LONG>(doc, &IOrvDocument::get_lDcId);
            const std::string idText = std::to_string(id);
            text.append(idText.begin(), idText.end());
            text += u": ";
            text += record::GetText(doc, &IOrvDocument::get_Memo).View();
            text += u'\t';
            if (const LONG birthDay = Get<LONG>(doc, &IOrvDocument::get_DcDat1); birthDay != 0) {
                Bstr day;
                Check(Dates()->DayToText(birthDay, day.ReleaseAndGetAddressOf()), IID_IOrvDateService);
                text += day.View();
            } else if (const LONG year = Get<LONG>(doc, &IOrvDocument::get_dcLong, LONG(0)); year != 0) {
                const std::string yearText = std::to_string(year);
                text.append(yearText.begin(), yearText.end());
            }
            return true;
        });
        Bstr result(text);
        if (!result && !text.empty()) throw std::bad_alloc();
        *pbstrChildren = result.Detach();
        return S_OK;
    });
}

// -------------------------------------------------------- accounts to hide

HRESULT OrvDocList::GetAccountsToHide(IUnknown* pOrvSotr, IUnknown* pAccountList, DATE dtOnDate, LONG lPipe,
                                      IDispatch** pHiddedAccounts) {
    if (!pHiddedAccounts) return E_POINTER;
    *pHiddedAccounts = nullptr;
    return Locked([&] {
        ComPtr<IOrvItemList> hidden;
        Check(CoCreateInstance(CLSID_OrvAccountList, nullptr, CLSCTX_ALL, IID_IOrvItemList,
                               reinterpret_cast<void**>(hidden.GetAddressOf())),
              IID_IOrvItemList);
        if (!hidden) throw ComError{E_POINTER, IID_IOrvItemList};
        if (!pOrvSotr) throw ComError{E_POINTER, IID_IOrvEmployeeAccounts};
        ComPtr<IOrvEmployeeAccounts> accounts;
        Check(pOrvSotr->QueryInterface(IID_IOrvEmployeeAccounts, reinterpret_cast<void**>(accounts.GetAddressOf())),
              IID_IOrvEmployeeAccounts);
        LONG status = 0;
        Check(accounts->GetStatusOnDate(lPipe, dtOnDate, &status), IID_IOrvEmployeeAccounts);
        if (status != 0) {
            ComPtr<IUnknown> listUnknown(pAccountList);
            if (!listUnknown)
                Check(accounts->GetAccountList(lPipe, listUnknown.GetAddressOf()), IID_IOrvEmployeeAccounts);
            ComPtr<IOrvItemList> list;
            if (listUnknown) Check(listUnknown.As(&list), IID_IOrvItemList);

            // The accounts of the bank documents not in force on the date, in
            // list order; read once, when the first account is examined.
            bool read = false;
            std::vector<LONG> outOfForce;
            auto readDocuments = [&] {
                read = true;
                ForEachDocument([&](IOrvDocument* doc) {
                    if (TypeOf(doc) != kBankPayment) return true;
                    if (!(StartOf(doc) > dtOnDate || EndOf(doc) < dtOnDate)) return true;
                    LONG loaded = 0;
                    Check(doc->InitInnerDocExtension(lPipe, &loaded), IID_IOrvDocument);
                    ComPtr<IUnknown> specific;
                    Check(doc->GetSpecificObj(specific.GetAddressOf()), IID_IOrvDocument);
                    ComPtr<IOrvSBDoc> bank;
                    if (specific) Check(specific.As(&bank), IID_IOrvSBDoc);
                    if (!bank) throw ComError{E_NOINTERFACE, IID_IOrvSBDoc};
                    LONG account = 0;
                    Check(bank->get_AccountId(&account), IID_IOrvSBDoc);
                    outOfForce.push_back(account);
                    return true;
                });
            };

            if (list) {
                Check(list->Reset(), IID_IOrvItemList);
                for (;;) {
                    ComPtr<IUnknown> item;
                    Check(list->Next(item.GetAddressOf()), IID_IOrvItemList);
                    if (!item) break;
                    ComPtr<IOrvRefItem> account;
                    Check(item.As(&account), IID_IOrvRefItem);
                    LONG id = 0;
                    Check(account->get_Id(&id), IID_IOrvRefItem);
                    if (!read) readDocuments();
                    // An account matching several documents is hidden once.
                    for (LONG documentAccount : outOfForce) {
                        if (documentAccount != id) continue;
                        Check(hidden->Add(item.Get()), IID_IOrvItemList);
                        break;
                    }
                }
            }
        }
        ComPtr<IDispatch> result;
        Check(hidden.As(&result), IID_IOrvItemList);
        *pHiddedAccounts = result.Detach();
        return S_OK;
    });
}

}  // namespace orv
