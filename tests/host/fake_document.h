// A small stand-in for the generic document, for the database service tests:
// the record, the fields kept beside it, the extension (answered by the same
// object) and the sum collectors, with InitInnerDocExtension, GetDocExtension,
// Update and InitCollectors calling the document store as the generic document
// does, its own lock held across the call. Every other member answers E_NOTIMPL.
// A hook runs inside Body put, for the lock tests.
#pragma once

#include "frame/com.h"
#include "support/stubs.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <string>

namespace hosttest {

inline constexpr CLSID CLSID_FakeDocument = {0x5B0F3C11, 0x2D7E, 0x4C55, {0x9A, 0x61, 0x3E, 0x4B, 0x70, 0x12, 0x8C, 0xD1}};

class FakeDocument : public orv::CoClass<FakeDocument, &CLSID_FakeDocument, orv::Stubbed<IOrvDocument>,
                                         IOrvDocExtension, IDispatch> {
public:
    using Record = std::array<unsigned char, 304>;

    // ------------------------------------------------------------ record
    HRESULT get_DocRecord(BSTR* p) override {
        return Locked([&] {
            *p = SysAllocStringByteLen(reinterpret_cast<const char*>(record.data()), 304);
            return S_OK;
        });
    }
    HRESULT put_DocRecord(BSTR v) override {
        if (SysStringByteLen(v) < 304) return E_INVALIDARG;
        return Locked([&] {
            std::memcpy(record.data(), v, 304);
            return S_OK;
        });
    }
    HRESULT get_DB_ADDR(ULONG* p) override { return Get(address, p); }
    HRESULT put_DB_ADDR(ULONG v) override { return Put(address, v); }
    HRESULT get_TimeStamp(ULONG* p) override { return Get(timeStamp, p); }
    HRESULT put_TimeStamp(ULONG v) override { return Put(timeStamp, v); }
    HRESULT get_RecordCondition(LONG* p) override { return Get(condition, p); }
    HRESULT put_RecordCondition(LONG v) override {
        return Locked([&] {
            if (!(v == 2 && condition == 1)) condition = v;
            return S_OK;
        });
    }
    HRESULT ClearRecordCondition() override { return Put(condition, LONG(0)); }
    HRESULT MakeAsNew() override {
        return Locked([&] {
            address = 0;
            timeStamp = 0;
            condition = 1;
            return S_OK;
        });
    }
    HRESULT get_ExtensionInitialized(VARIANT_BOOL* p) override { return Get(extensionInitialized, p); }
    HRESULT put_ExtensionInitialized(VARIANT_BOOL v) override { return Put(extensionInitialized, v); }
    HRESULT get_OrvBD(IUnknown** p) override {
        return Locked([&] { return database.CopyTo(p); });
    }
    HRESULT put_OrvBD(IUnknown* v) override { return Put(database, orv::ComPtr<IUnknown>(v)); }

    // ------------------------------------------------ store operations
    HRESULT InitInnerDocExtension(LONG lPipeId, LONG* plResult) override {
        return Locked([&] {
            orv::ComPtr<IOrvDocStore> store;
            HRESULT hr = Store(&store);
            if (FAILED(hr)) return hr;
            if (condition == 1) {
                extensionInitialized = VARIANT_TRUE;
                return S_OK;
            }
            hr = lPipeId >= 0 ? store->InitDocExtension(lPipeId, this, plResult)
                              : store->InitDocExtensionNoPipe(this, plResult);
            if (SUCCEEDED(hr)) extensionInitialized = VARIANT_TRUE;
            return hr;
        });
    }
    HRESULT GetDocExtension(LONG lPipeId, IUnknown** ppunk, LONG* plResult) override {
        return Locked([&] {
            orv::ComPtr<IOrvDocStore> store;
            HRESULT hr = Store(&store);
            return FAILED(hr) ? hr : store->GetDocExtension(lPipeId, this, ppunk, plResult);
        });
    }
    HRESULT Update(LONG lPipeId) override {
        return Locked([&] {
            orv::ComPtr<IOrvDocStore> store;
            HRESULT hr = Store(&store);
            return FAILED(hr) ? hr : store->UpdateDocument(lPipeId, static_cast<IOrvDocument*>(this));
        });
    }
    HRESULT InitCollectors(LONG lPipeId) override {
        return Locked([&] {
            orv::ComPtr<IOrvDocStore> store;
            HRESULT hr = Store(&store);
            if (FAILED(hr) || condition == 1) return hr;
            return store->InitCollectors(lPipeId, static_cast<IOrvDocument*>(this));
        });
    }

    // ----------------------------------------------------- collectors
    HRESULT AddSumCollector(LONG lId, IUnknown* pUnk) override {
        return Locked([&] {
            if (pUnk) collectors[lId] = pUnk;
            return S_OK;
        });
    }
    HRESULT put_ExSum(LONG lId, IUnknown* v) override { return AddSumCollector(lId, v); }
    HRESULT get_ExSum(LONG lId, IUnknown** p) override {
        return Locked([&] {
            auto it = collectors.find(lId);
            if (it == collectors.end()) {
                *p = nullptr;
                return S_FALSE;
            }
            return it->second.CopyTo(p);
        });
    }
    HRESULT ResetSumCollectors() override {
        return Locked([&] {
            position = collectors.begin();
            return S_OK;
        });
    }
    HRESULT NextSumCollector(LONG* plId, IUnknown** ppUnk) override {
        return Locked([&] {
            *plId = 0;
            *ppUnk = nullptr;
            if (position == collectors.end()) return S_FALSE;
            *plId = position->first;
            position->second.CopyTo(ppUnk);
            ++position;
            return S_OK;
        });
    }
    HRESULT CleanSumCollectors() override {
        return Locked([&] {
            collectors.clear();
            position = collectors.end();
            return S_OK;
        });
    }

    // ------------------------------------------------------ extension
    HRESULT get_Length(LONG* p) override { return Get(length, p); }
    HRESULT put_Length(LONG v) override { return Put(length, v); }
    HRESULT get_Body(BSTR* p) override {
        return Locked([&] {
            *p = SysAllocStringByteLen(body.data(), static_cast<UINT>(body.size()));
            return S_OK;
        });
    }
    HRESULT put_Body(BSTR v) override {
        return Locked([&] {
            if (onBodyPut) onBodyPut();
            body.assign(reinterpret_cast<const char*>(v), SysStringByteLen(v));
            length = static_cast<LONG>(body.size());
            ++bodyPuts;
            return S_OK;
        });
    }
    HRESULT Clear() override {
        return Locked([&] {
            body.clear();
            length = 0;
            ++clears;
            return S_OK;
        });
    }

    // The state, open to the tests (they touch it only between calls).
    Record record{};
    ULONG address = 0, timeStamp = 0;
    LONG condition = 0;
    VARIANT_BOOL extensionInitialized = VARIANT_FALSE;
    orv::ComPtr<IUnknown> database;
    std::string body;
    LONG length = 0;
    int bodyPuts = 0, clears = 0;
    std::map<LONG, orv::ComPtr<IUnknown>> collectors;
    std::map<LONG, orv::ComPtr<IUnknown>>::iterator position = collectors.end();
    std::function<void()> onBodyPut;

private:
    template <class T>
    HRESULT Get(const T& field, T* out) {
        if (!out) return E_POINTER;
        return Locked([&] {
            *out = field;
            return S_OK;
        });
    }
    template <class T>
    HRESULT Put(T& field, T value) {
        return Locked([&] {
            field = std::move(value);
            return S_OK;
        });
    }
    HRESULT Store(orv::ComPtr<IOrvDocStore>* store) {
        if (!database) return E_POINTER;
        return database->QueryInterface(IID_IOrvDocStore, reinterpret_cast<void**>(store->GetAddressOf()));
    }
};

// A new fake document and direct access to it.
inline orv::ComPtr<IOrvDocument> NewFake(FakeDocument** access) {
    orv::ComPtr<IUnknown> unknown;
    EXPECT_EQ(orv::CreateObjectWithAccess<FakeDocument>(&unknown, access), S_OK);
    orv::ComPtr<IOrvDocument> doc;
    EXPECT_EQ(unknown.As(&doc), S_OK);
    return doc;
}

}  // namespace hosttest
