// Test doubles of the sum-list and allowance tests: a database service that
// answers reference tables from a map (table, index) -> (code, name), the
// host's reference items standing for its entries.
#pragma once

#include "frame/com.h"
#include "host/registration.h"
#include "kinds/kinds_test_util.h"

#include <orvdocs/orvdocs.h>

#include <map>
#include <string>
#include <utility>

namespace sumtest {

using orv::Bstr;
using orv::ComPtr;
using kindtest::Cy;

inline constexpr CLSID CLSID_FakeReferenceDatabase = {0x5a1d0001, 0x1111, 0x4a4a, {0x80, 0x18, 0, 0, 0, 0, 0, 0x18}};

// A database service whose only working part is the reference tables: entry
// lIndex of table lListId, created as a reference item holding the code and
// name given in `entries`; null when the table has no such entry.
class FakeReferenceDatabase
    : public orv::CoClass<FakeReferenceDatabase, &CLSID_FakeReferenceDatabase, IOrvDatabase, IDispatch,
                          IOrvReferenceSource> {
public:
    std::map<std::pair<LONG, LONG>, std::u16string> entries;  // (table, index) -> code
    LONG lastPipe = -1;
    int asked = 0;
    HRESULT failWith = S_OK;

    HRESULT GetEntryPiped(LONG lPipeId, LONG lIndex, LONG lListId, IUnknown** ppunkEntry) override {
        if (!ppunkEntry) return E_POINTER;
        *ppunkEntry = nullptr;
        ++asked;
        lastPipe = lPipeId;
        if (FAILED(failWith)) return failWith;
        auto it = entries.find({lListId, lIndex});
        if (it == entries.end()) return S_FALSE;
        ComPtr<IOrvRefItem> item;
        HRESULT hr = orv::host::CreateRefItem(nullptr, IID_IOrvRefItem, reinterpret_cast<void**>(item.GetAddressOf()));
        if (FAILED(hr)) return hr;
        item->put_Kind(lListId);
        item->put_Index(lIndex);
        item->put_Code(Bstr(it->second));
        return item->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppunkEntry));
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
    HRESULT get_Settings(IUnknown**) override { return E_NOTIMPL; }
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
    HRESULT GetTariffTablePiped(LONG, IUnknown**) override { return E_NOTIMPL; }
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

}  // namespace sumtest
