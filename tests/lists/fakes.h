// Test doubles of the outside components the lists call: the employee
// object (dates and accounts), the host's account list class, and a reference
// source that creates entries. Each records what it was asked.
#pragma once

#include "frame/com.h"
#include "support/stubs.h"
#include "host/OrvRefItem.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <string>
#include <vector>

namespace liststest {

using orv::Bstr;
using orv::ComPtr;

inline constexpr CLSID CLSID_FakeEmployee = {0x7E1A1501, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};
inline constexpr CLSID CLSID_FakeReferenceSource = {0x7E1A1502, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};

// The employee: three dates, a status for paying through accounts, an account list.
class FakeEmployee : public orv::CoClass<FakeEmployee, &CLSID_FakeEmployee, orv::Stubbed<IOrvEmployee>, IDispatch,
                                         orv::Stubbed<IOrvEmployeeAccounts>> {
public:
    DATE resignation = 0.0, firstEnter = 0.0, secondEnter = 0.0;
    HRESULT failDates = S_OK;  // returned by the date members when set
    LONG accountStatus = 1;
    ComPtr<IUnknown> accounts;  // given by GetAccountList
    int dateCalls = 0, accountListCalls = 0;
    std::vector<LONG> pipesSeen;

    HRESULT get_ResignationDate(DATE* p) override { return Date(resignation, p); }
    HRESULT get_FirstEnterDate(DATE* p) override { return Date(firstEnter, p); }
    HRESULT get_SecondEnterDate(DATE* p) override { return Date(secondEnter, p); }
    HRESULT GetStatusOnDate(LONG pipe, DATE, LONG* status) override {
        pipesSeen.push_back(pipe);
        *status = accountStatus;
        return S_OK;
    }
    HRESULT GetAccountList(LONG pipe, IUnknown** list) override {
        pipesSeen.push_back(pipe);
        ++accountListCalls;
        return accounts.CopyTo(list);
    }

private:
    HRESULT Date(DATE value, DATE* out) {
        ++dateCalls;
        if (FAILED(failDates)) return failDates;
        *out = value;
        return S_OK;
    }
};

// The account list class (CLSID_OrvAccountList): an ordered list with a walk.
class FakeItemList : public orv::CoClass<FakeItemList, &CLSID_OrvAccountList, orv::Stubbed<IOrvItemList>, IDispatch> {
public:
    std::vector<ComPtr<IUnknown>> items;
    std::size_t cursor = 0;
    HRESULT Reset() override {
        cursor = 0;
        return S_OK;
    }
    HRESULT Add(IUnknown* p) override {
        items.emplace_back(p);
        return S_OK;
    }
    HRESULT Next(IUnknown** p) override {
        *p = nullptr;
        if (cursor >= items.size()) return S_FALSE;
        return items[cursor++].CopyTo(p);
    }
    HRESULT get_Count(LONG* p) override {
        *p = static_cast<LONG>(items.size());
        return S_OK;
    }
    HRESULT RemoveAll() override {
        items.clear();
        cursor = 0;
        return S_OK;
    }
};

// The reference source: creates reference items numbered on from `next`.
class FakeReferenceSource : public orv::CoClass<FakeReferenceSource, &CLSID_FakeReferenceSource,
                                                orv::Stubbed<IOrvReferenceSource>, IDispatch> {
public:
    struct Call {
        bool piped;
        LONG pipe, list;
        std::u16string name, code;
    };
    std::vector<Call> calls;
    LONG next = 100;
    bool giveNothing = false;
    HRESULT failWith = S_OK;

    HRESULT CreateEntry(LONG list, BSTR name, BSTR code, IUnknown** entry) override {
        return Create(false, -1, list, name, code, entry);
    }
    HRESULT CreateEntryPiped(LONG pipe, LONG list, BSTR name, BSTR code, IUnknown** entry) override {
        return Create(true, pipe, list, name, code, entry);
    }
private:
    HRESULT Create(bool piped, LONG pipe, LONG list, BSTR name, BSTR code, IUnknown** entry) {
        *entry = nullptr;
        calls.push_back({piped, pipe, list, std::u16string(name ? name : u"", SysStringLen(name)),
                         std::u16string(code ? code : u"", SysStringLen(code))});
        if (FAILED(failWith)) return failWith;
        if (giveNothing) return S_OK;
        ComPtr<IOrvRefItem> item;
        HRESULT hr = orv::CreateObject<orv::host::OrvRefItem>(&item);
        if (FAILED(hr)) return hr;
        item->put_Index(next++);
        item->put_Name(name);
        item->put_Code(code);
        return item->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(entry));
    }
};
}  // namespace liststest
