// Fakes of the outside components the document calls, for the document tests:
// a database service (main interface, document store, number lookup, session,
// settings with one list setting) that counts its calls, fills the extension
// through the document, attaches collectors and can be told to fail; and a
// class object that registers any of the library's or the host's classes for
// creation by class identifier.
#pragma once

#include "frame/com.h"
#include "support/stubs.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace doctest {

inline constexpr CLSID CLSID_FakeDatabase = {0x7E1A0001, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};
inline constexpr CLSID CLSID_FakeSession = {0x7E1A0002, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};
inline constexpr CLSID CLSID_FakeNumberTable = {0x7E1A0003, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};
inline constexpr CLSID CLSID_FakeSettings = {0x7E1A0004, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};
inline constexpr CLSID CLSID_FakeListSetting = {0x7E1A0005, 0x5C3B, 0x4F00, {0x8A, 1, 2, 3, 4, 5, 6, 7}};

class FakeSession : public orv::CoClass<FakeSession, &CLSID_FakeSession, orv::Stubbed<IOrvSession>, IDispatch> {
public:
    LONG accessType = 0;
    int calls = 0;
    HRESULT get_AccessType(LONG* p) override {
        ++calls;
        *p = accessType;
        return S_OK;
    }
};

class FakeNumberTable : public orv::CoClass<FakeNumberTable, &CLSID_FakeNumberTable, orv::Stubbed<IOrvNumberTable>> {
public:
    std::map<LONG, LONG> numbers;
    std::vector<LONG> asked;
    HRESULT GetNumber(LONG key, LONG* number) override {
        asked.push_back(key);
        auto it = numbers.find(key);
        *number = it == numbers.end() ? 0 : it->second;
        return S_OK;
    }
};

// A list setting whose values are the same on every date.
class FakeListSetting
    : public orv::CoClass<FakeListSetting, &CLSID_FakeListSetting, orv::Stubbed<IOrvListSetting>, IDispatch> {
public:
    std::vector<orv::Variant> values;
    std::vector<DATE> datesAsked;
    HRESULT get_Count(DATE d, LONG* p) override {
        datesAsked.push_back(d);
        *p = static_cast<LONG>(values.size());
        return S_OK;
    }
    HRESULT get_Item(LONG i, DATE, VARIANT* p) override {
        if (i < 0 || i >= static_cast<LONG>(values.size())) return E_INVALIDARG;
        return VariantCopy(p, &values[i]);
    }
};

class FakeSettings : public orv::CoClass<FakeSettings, &CLSID_FakeSettings, orv::Stubbed<IOrvSettings>, IDispatch> {
public:
    std::map<LONG, orv::ComPtr<IUnknown>> settings;
    HRESULT get_Setting(LONG id, IUnknown** p) override {
        *p = nullptr;
        auto it = settings.find(id);
        if (it == settings.end()) return E_INVALIDARG;
        return it->second.CopyTo(p);
    }
};

class FakeDatabase : public orv::CoClass<FakeDatabase, &CLSID_FakeDatabase, orv::Stubbed<IOrvDatabase>, IDispatch,
                                         orv::Stubbed<IOrvDocStore>, orv::Stubbed<IOrvNumbering>> {
public:
    // What the store slots do and what they saw.
    std::map<int, int> calls;  // slot -> count
    LONG lastPipe = -999;
    IUnknown* lastDocument = nullptr;  // identity, not counted
    HRESULT failWith = S_OK;           // returned by every store slot when set
    std::string body;                  // put as Body by slots 4 and 6 (bytes)
    LONG result = 42;                  // the result long of slots 3, 4, 6
    std::function<void(IOrvDocument*)> whileFilling;  // runs inside slots 4 and 6
    std::map<LONG, orv::ComPtr<IUnknown>> collectors;  // attached by slot 7
    orv::ComPtr<IUnknown> extensionToGive;             // handed out by slot 3
    orv::ComPtr<IUnknown> session, numberTable, settings;

    HRESULT GetDocExtension(LONG pipe, IOrvDocument* doc, IUnknown** ext, LONG* res) override {
        Saw(3, pipe, doc);
        if (FAILED(failWith)) return failWith;
        *res = result;
        return extensionToGive.CopyTo(ext);
    }
    HRESULT InitDocExtension(LONG pipe, IOrvDocument* doc, LONG* res) override {
        Saw(4, pipe, doc);
        return Fill(doc, res);
    }
    HRESULT UpdateDocument(LONG pipe, IUnknown* doc) override {
        Saw(5, pipe, doc);
        return failWith;
    }
    HRESULT InitDocExtensionNoPipe(IOrvDocument* doc, LONG* res) override {
        Saw(6, -1, doc);
        return Fill(doc, res);
    }
    HRESULT InitCollectors(LONG pipe, IUnknown* doc) override {
        Saw(7, pipe, doc);
        if (FAILED(failWith)) return failWith;
        orv::ComPtr<IOrvDocument> d;
        HRESULT hr = doc->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(d.GetAddressOf()));
        if (FAILED(hr)) return hr;
        for (auto& [id, c] : collectors) d->AddSumCollector(id, c.Get());
        return S_OK;
    }

    HRESULT get_Session(IUnknown** p) override {
        ++calls[28];
        *p = nullptr;
        return session ? session.CopyTo(p) : E_NOTIMPL;
    }
    HRESULT get_Settings(IUnknown** p) override {
        *p = nullptr;
        return settings ? settings.CopyTo(p) : E_NOTIMPL;
    }
    HRESULT get_NumberTable(IUnknown** p) override {
        *p = nullptr;
        return numberTable ? numberTable.CopyTo(p) : E_NOTIMPL;
    }

private:
    void Saw(int slot, LONG pipe, IUnknown* doc) {
        ++calls[slot];
        lastPipe = pipe;
        orv::ComPtr<IUnknown> id;
        doc->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(id.GetAddressOf()));
        lastDocument = id.Get();
    }
    HRESULT Fill(IOrvDocument* doc, LONG* res) {
        if (FAILED(failWith)) return failWith;
        orv::ComPtr<IOrvDocExtension> ext;
        HRESULT hr = doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
        if (FAILED(hr)) return hr;
        orv::Bstr b = orv::Bstr::Attach(SysAllocStringByteLen(body.data(), static_cast<UINT>(body.size())));
        hr = ext->put_Body(b);
        if (FAILED(hr)) return hr;
        if (whileFilling) whileFilling(doc);
        *res = result;
        return S_OK;
    }
};

// Creates a fake and gives both its identity (which keeps it alive) and its class.
template <class T>
orv::ComPtr<IUnknown> Make(T** object) {
    orv::ComPtr<IUnknown> unknown;
    EXPECT_EQ(orv::CreateObjectWithAccess<T>(&unknown, object), S_OK);
    return unknown;
}

// Registers a class for creation by class identifier while the object lives.
class ClassRegistration {
public:
    ClassRegistration(REFCLSID clsid, HRESULT (*create)(IUnknown*, REFIID, void**)) {
        EXPECT_EQ(orv::host::RegisterHostClass(clsid, create, &registration_), S_OK);
    }
    ~ClassRegistration() { registration_.Revoke(); }
    ClassRegistration(const ClassRegistration&) = delete;
    ClassRegistration& operator=(const ClassRegistration&) = delete;

private:
    orv::host::Registration registration_;
};
}  // namespace doctest
