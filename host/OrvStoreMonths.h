// The month source of the host's database service (IOrvMonthSource), over the
// store's months and traces tables. The service aggregates one; docs/host.md
// lists what each member answers.
#pragma once

#include "frame/com.h"
#include "host/store/StoreSlot.h"

#include <orvdocs/frame/outside.h>

inline constexpr CLSID CLSID_OrvStoreMonths = {0x3B0F7E21, 0x5C84, 0x4D7A, {0x9E, 0x61, 0x2A, 0x4F, 0x0C, 0x93, 0xB7, 0x15}};

namespace orv::host {

class OrvStoreMonths : public CoClass<OrvStoreMonths, &CLSID_OrvStoreMonths, IOrvMonthSource, IDispatch> {
public:
    void Init(SharedSlot slot) { slot_ = std::move(slot); }

    HRESULT GetMonth(LONG lPipeId, IUnknown* punkSotr, DATE dtMonth, IUnknown** ppunkMonth) override;
    HRESULT NewMonth(LONG lPipeId, IUnknown* punkSotr, DATE dtMonth, IUnknown** ppunkMonth) override;
    HRESULT StoreMonth(LONG lPipeId, IUnknown* punkMonth) override;
    HRESULT DeleteMonth(LONG lPipeId, IUnknown* punkMonth) override;
    HRESULT GetMonthById(LONG lPipeId, LONG lMonthId, IUnknown** ppunkMonth) override;
    HRESULT GetFirstMonth(LONG lPipeId, IUnknown* punkSotr, IUnknown** ppunkMonth) override;
    HRESULT GetLastMonth(LONG lPipeId, IUnknown* punkSotr, IUnknown** ppunkMonth) override;
    HRESULT GetPreviousMonth(LONG lPipeId, IUnknown* punkMonth, IUnknown** ppunkPrevious) override;
    HRESULT GetNextMonth(LONG lPipeId, IUnknown* punkMonth, IUnknown** ppunkNext) override;
    HRESULT GetMonthCount(LONG lPipeId, IUnknown* punkSotr, LONG* plCount) override;
    HRESULT GetTraces(LONG lPipeId, IUnknown* punkMonth, IUnknown** ppunkList) override;
    HRESULT GetTrace(LONG lPipeId, IUnknown* punkMonth, LONG lCode, IUnknown** ppunkTrace) override;
    HRESULT NewTrace(LONG lPipeId, IUnknown* punkMonth, LONG lCode, IUnknown** ppunkTrace) override;
    HRESULT StoreTrace(LONG lPipeId, IUnknown* punkTrace) override;
    HRESULT DeleteTrace(LONG lPipeId, IUnknown* punkTrace) override;
    HRESULT StoreTraces(LONG lPipeId, IUnknown* punkMonth, IUnknown* punkList) override;
    HRESULT get_WorkMonth(DATE* pVal) override;
    HRESULT put_WorkMonth(DATE newVal) override;
    HRESULT IsMonthClosed(LONG lPipeId, DATE dtMonth, VARIANT_BOOL* pbClosed) override;
    HRESULT CloseMonth(LONG lPipeId, DATE dtMonth) override;
    HRESULT OpenMonth(LONG lPipeId, DATE dtMonth) override;
    HRESULT GetDepartmentMonths(LONG lPipeId, LONG lDepNum, DATE dtMonth, IUnknown** ppunkList) override;
    HRESULT GetYearMonths(LONG lPipeId, IUnknown* punkSotr, DATE dtYear, IUnknown** ppunkList) override;
    HRESULT GetTaxTable(LONG lPipeId, DATE dtOnDate, IUnknown** ppunkTaxTable) override;
    HRESULT GetMonthsWithoutTraces(LONG lPipeId, IUnknown* punkSotr, DATE dtFrom, DATE dtTo,
                                   IUnknown** ppunkList) override;
    HRESULT GetMonths(LONG lPipeId, IUnknown* punkSotr, DATE dtFrom, DATE dtTo, IUnknown** ppunkList) override;

private:
    // The months of the window as a list of month objects; traces attached
    // unless withTraces is false.
    HRESULT List(IUnknown* punkSotr, DATE dtFrom, DATE dtTo, bool withTraces, IUnknown** ppunkList);
    SharedSlot slot_;
};

}  // namespace orv::host
