// Test doubles of the sum-list and allowance tests: a database service that
// answers reference tables from a map (table, index) -> (code, name), the
// host's reference items standing for its entries.
#pragma once

#include "frame/com.h"
#include "host/registration.h"
#include "kinds/kinds_test_util.h"
#include "support/stubs.h"

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
    : public orv::CoClass<FakeReferenceDatabase, &CLSID_FakeReferenceDatabase, orv::Stubbed<IOrvDatabase>,
                          IDispatch, orv::Stubbed<IOrvReferenceSource>> {
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
};

}  // namespace sumtest
