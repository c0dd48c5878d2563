#include "host/OrvStoreMonths.h"

#include "host/OrvStoreComponents.h"
#include "host/OrvUnknownList.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>
#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/month.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

namespace orv::host {
namespace {

template <std::size_t N>
Bstr BytesOf(const std::array<unsigned char, N>& record) {
    BSTR raw = SysAllocStringByteLen(reinterpret_cast<const char*>(record.data()), static_cast<UINT>(N));
    if (!raw) throw std::bad_alloc();
    return Bstr::Attach(raw);
}

template <class I>
ComPtr<I> Create(REFCLSID clsid) {
    ComPtr<I> object;
    Check(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, uuidof<I>(), reinterpret_cast<void**>(object.GetAddressOf())),
          uuidof<I>());
    return object;
}

// The store's employee number of an employee object.
LONG EmployeeId(IUnknown* punkSotr) {
    if (!punkSotr) throw ComError{E_POINTER, IID_IOrvMonthSource};
    ComPtr<IOrvEmployee> employee;
    Check(punkSotr->QueryInterface(IID_IOrvEmployee, reinterpret_cast<void**>(employee.GetAddressOf())),
          IID_IOrvEmployee);
    LONG id = 0;
    Check(employee->get_Id(&id), IID_IOrvEmployee);
    return id;
}

// A month object holding the stored record, its date and its traces.
ComPtr<IUnknown> MakeMonth(const store::MonthRow& row, bool withTraces) {
    ComPtr<IOrvMonth> month = Create<IOrvMonth>(CLSID_OrvMonth);
    Check(month->put_MonthRecord(BytesOf(row.record).Get()), IID_IOrvMonth);
    Check(month->put_MonthDate(DateOf(row.monthDay)), IID_IOrvMonth);
    if (withTraces) {
        ComPtr<IOrvUnknownList> traces;
        Check(CreateObject<OrvUnknownList>(&traces), IID_IOrvUnknownList);
        for (const store::TraceRow& t : row.traces) {
            ComPtr<IOrvMTrace> trace = Create<IOrvMTrace>(CLSID_OrvMTrace);
            Check(trace->put_MTraceRecord(BytesOf(t.record).Get()), IID_IOrvMTrace);
            Check(traces->Add(trace.Get()), IID_IOrvUnknownList);
        }
        Check(month->put_MTraceList(traces.Get()), IID_IOrvMonth);
    }
    ComPtr<IUnknown> unknown;
    Check(month.As(&unknown));
    return unknown;
}

// The first and the (exclusive) last day of the year holding the date.
std::pair<LONG, LONG> YearOf(DATE date) {
    SYSTEMTIME st{};
    if (!VariantTimeToSystemTime(date, &st)) throw ComError{E_INVALIDARG, IID_IOrvMonthSource};
    using namespace std::chrono;
    const auto first = sys_days{year{st.wYear} / January / 1};
    const auto next = sys_days{year{st.wYear + 1} / January / 1};
    const LONG base = static_cast<LONG>((sys_days{year{1960} / December / 31}).time_since_epoch().count());
    return {static_cast<LONG>(first.time_since_epoch().count()) - base,
            static_cast<LONG>(next.time_since_epoch().count()) - base - 1};
}

}  // namespace

HRESULT OrvStoreMonths::List(IUnknown* punkSotr, DATE dtFrom, DATE dtTo, bool withTraces, IUnknown** ppunkList) {
    if (!ppunkList) return E_POINTER;
    *ppunkList = nullptr;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        const LONG employee = EmployeeId(punkSotr);
        const auto rows = slot_->Get()->Months(employee, DayOf(dtFrom), DayOf(dtTo));
        ComPtr<IOrvUnknownList> list;
        Check(CreateObject<OrvUnknownList>(&list), IID_IOrvUnknownList);
        for (const store::MonthRow& row : rows) Check(list->Add(MakeMonth(row, withTraces).Get()), IID_IOrvUnknownList);
        return list->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkList));
    });
}

HRESULT OrvStoreMonths::GetMonths(LONG, IUnknown* punkSotr, DATE dtFrom, DATE dtTo, IUnknown** ppunkList) {
    return List(punkSotr, dtFrom, dtTo, true, ppunkList);
}

HRESULT OrvStoreMonths::GetMonthsWithoutTraces(LONG, IUnknown* punkSotr, DATE dtFrom, DATE dtTo,
                                               IUnknown** ppunkList) {
    return List(punkSotr, dtFrom, dtTo, false, ppunkList);
}

HRESULT OrvStoreMonths::GetYearMonths(LONG, IUnknown* punkSotr, DATE dtYear, IUnknown** ppunkList) {
    if (!ppunkList) return E_POINTER;
    *ppunkList = nullptr;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        const auto [first, last] = YearOf(dtYear);
        return List(punkSotr, DateOf(first), DateOf(last), true, ppunkList);
    });
}

HRESULT OrvStoreMonths::GetMonth(LONG, IUnknown* punkSotr, DATE dtMonth, IUnknown** ppunkMonth) {
    if (!ppunkMonth) return E_POINTER;
    *ppunkMonth = nullptr;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        const LONG day = DayOf(dtMonth);
        if (day == 0) return E_INVALIDARG;
        const auto rows = slot_->Get()->Months(EmployeeId(punkSotr), day, day);
        if (rows.empty()) return S_FALSE;
        *ppunkMonth = MakeMonth(rows.front(), true).Detach();
        return S_OK;
    });
}

HRESULT OrvStoreMonths::GetFirstMonth(LONG, IUnknown* punkSotr, IUnknown** ppunkMonth) {
    if (!ppunkMonth) return E_POINTER;
    *ppunkMonth = nullptr;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        const auto rows = slot_->Get()->Months(EmployeeId(punkSotr), 0, 0);
        if (rows.empty()) return S_FALSE;
        *ppunkMonth = MakeMonth(rows.front(), true).Detach();
        return S_OK;
    });
}

HRESULT OrvStoreMonths::GetLastMonth(LONG, IUnknown* punkSotr, IUnknown** ppunkMonth) {
    if (!ppunkMonth) return E_POINTER;
    *ppunkMonth = nullptr;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        const auto rows = slot_->Get()->Months(EmployeeId(punkSotr), 0, 0);
        if (rows.empty()) return S_FALSE;
        *ppunkMonth = MakeMonth(rows.back(), true).Detach();
        return S_OK;
    });
}

HRESULT OrvStoreMonths::GetMonthCount(LONG, IUnknown* punkSotr, LONG* plCount) {
    if (!plCount) return E_POINTER;
    *plCount = 0;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        *plCount = static_cast<LONG>(slot_->Get()->Months(EmployeeId(punkSotr), 0, 0).size());
        return S_OK;
    });
}

// The work month as the service's main interface keeps it (the same value).
HRESULT OrvStoreMonths::get_WorkMonth(DATE* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0.0;
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        if (auto v = slot_->Get()->Value("work_month")) *pVal = std::stod(*v);
        return S_OK;
    });
}

HRESULT OrvStoreMonths::put_WorkMonth(DATE newVal) {
    return ServeStore(CLSID_OrvStoreMonths, IID_IOrvMonthSource, [&] {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", newVal);
        slot_->Get()->SetValue("work_month", text);
        return S_OK;
    });
}

// Months are written to the store by its text form ("MONTH" of an
// "EMPLOYEE"); single months and traces are not written through this
// interface, and the store keeps no closed months, department index or tax
// table: these members answer E_NOTIMPL.
HRESULT OrvStoreMonths::NewMonth(LONG, IUnknown*, DATE, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::StoreMonth(LONG, IUnknown*) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::DeleteMonth(LONG, IUnknown*) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetMonthById(LONG, LONG, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetPreviousMonth(LONG, IUnknown*, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetNextMonth(LONG, IUnknown*, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetTraces(LONG, IUnknown*, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetTrace(LONG, IUnknown*, LONG, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::NewTrace(LONG, IUnknown*, LONG, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::StoreTrace(LONG, IUnknown*) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::DeleteTrace(LONG, IUnknown*) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::StoreTraces(LONG, IUnknown*, IUnknown*) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::IsMonthClosed(LONG, DATE, VARIANT_BOOL*) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::CloseMonth(LONG, DATE) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::OpenMonth(LONG, DATE) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetDepartmentMonths(LONG, LONG, DATE, IUnknown**) { return E_NOTIMPL; }
HRESULT OrvStoreMonths::GetTaxTable(LONG, DATE, IUnknown**) { return E_NOTIMPL; }

}  // namespace orv::host
