// Helpers of the specific-kind tests: real generic documents with a given
// record, their raw record and extension body, and a fake document whose
// extension can be missing or fail.
#pragma once

#include "document/OrvDocument.h"
#include "frame/com.h"
#include "kinds/KindBase.h"
#include "kinds/selection.h"
#include "support/stubs.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>

namespace kindtest {

using orv::Bstr;
using orv::ComPtr;
using Record = std::array<unsigned char, 304>;

inline CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

inline std::u16string Text(BSTR s) { return s ? std::u16string(s, SysStringLen(s)) : std::u16string(); }

// A record of pseudo-random bytes with the given type code, so that a field
// written by mistake shows up. The Dcsum1 high word is random as well.
inline Record RandomRecord(unsigned seed, SHORT type) {
    std::mt19937 rng(seed);
    Record r{};
    for (auto& b : r) b = static_cast<unsigned char>(rng());
    r[2] = static_cast<unsigned char>(type & 0xFF);
    r[3] = static_cast<unsigned char>((type >> 8) & 0xFF);
    return r;
}

inline Record RecordOf(IOrvDocument* doc) {
    Record out{};
    Bstr rec;
    EXPECT_EQ(doc->get_DocRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(rec.ByteLength(), 304u);
    if (rec.ByteLength() >= 304) std::memcpy(out.data(), rec.Get(), 304);
    return out;
}

// A real generic document holding the record.
inline ComPtr<IOrvDocument> NewDocument(const Record& record) {
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    if (!doc) return doc;
    Bstr rec = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(record.data()), 304));
    EXPECT_EQ(doc->put_DocRecord(rec), S_OK);
    return doc;
}

inline ComPtr<IOrvDocument> NewDocument(SHORT type) {
    Record r{};
    r[2] = static_cast<unsigned char>(type & 0xFF);
    r[3] = static_cast<unsigned char>((type >> 8) & 0xFF);
    return NewDocument(r);
}

// The specific object the document's type code selects, asked for I.
template <class I>
ComPtr<I> KindOf(IOrvDocument* doc) {
    LONG type = 0;
    EXPECT_EQ(doc->get_lDcType(&type), S_OK);
    ComPtr<IUnknown> obj;
    EXPECT_EQ(orv::CreateSpecificObject(type, doc, obj.GetAddressOf()), S_OK);
    ComPtr<I> kind;
    if (obj) {
        EXPECT_EQ(obj.As(&kind), S_OK);
    }
    return kind;
}

inline ComPtr<IOrvDocExtension> ExtensionOf(IUnknown* doc) {
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    return ext;
}

inline std::string BodyOf(IOrvDocExtension* ext) {
    Bstr body;
    EXPECT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    return std::string(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
}

inline LONG LengthOf(IOrvDocExtension* ext) {
    LONG n = -1;
    EXPECT_EQ(ext->get_Length(&n), S_OK);
    return n;
}

inline void PutBody(IOrvDocExtension* ext, const std::string& bytes) {
    Bstr body = Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
    ASSERT_EQ(ext->put_Body(body), S_OK);
}

// ------------------------------------------------------------------- fake

inline constexpr CLSID CLSID_FakeKindDocument = {0x7E1B0001, 0x5C3B, 0x4F00, {0x8B, 1, 2, 3, 4, 5, 6, 7}};

// A generic document that is its own extension (which may be hidden, or fail
// its puts) and answers ExtensionInitialized and InitInnerDocExtension; the
// latter counts its calls and fills the body as a database service would.
class FakeDocument
    : public orv::CoClass<FakeDocument, &CLSID_FakeKindDocument, orv::Stubbed<IOrvDocument>, IOrvDocExtension> {
public:
    HRESULT InternalQueryInterface(REFIID riid, void** ppv) {
        if (riid == IID_IOrvDocExtension && !hasExtension) return *ppv = nullptr, E_NOINTERFACE;
        return CoClass::InternalQueryInterface(riid, ppv);
    }
    HRESULT get_Length(LONG* pVal) override { return *pVal = static_cast<LONG>(body.size()), S_OK; }
    HRESULT put_Length(LONG) override { return failLengthPut; }
    HRESULT get_Body(BSTR* pVal) override {
        *pVal = SysAllocStringByteLen(body.data(), static_cast<UINT>(body.size()));
        return S_OK;
    }
    HRESULT put_Body(BSTR newVal) override {
        if (SUCCEEDED(failBodyPut)) body.assign(reinterpret_cast<const char*>(newVal), SysStringByteLen(newVal));
        return failBodyPut;
    }
    HRESULT Clear() override { return body.clear(), S_OK; }
    HRESULT get_ExtensionInitialized(VARIANT_BOOL* pVal) override { return *pVal = initialized, S_OK; }
    HRESULT InitInnerDocExtension(LONG lPipeId, LONG* plResult) override {
        ++initCalls;
        lastPipe = lPipeId;
        *plResult = 0;
        if (FAILED(failInit)) return failInit;
        body = bodyFromService;
        initialized = VARIANT_TRUE;
        return S_OK;
    }

    bool hasExtension = true;
    std::string body;
    HRESULT failLengthPut = S_OK, failBodyPut = S_OK, failInit = S_OK;
    VARIANT_BOOL initialized = VARIANT_TRUE;
    int initCalls = 0;
    LONG lastPipe = 0;
    std::string bodyFromService;
};

inline ComPtr<IOrvDocument> NewFakeDocument(FakeDocument** fake, bool withExtension = true) {
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(orv::CreateObjectWithAccess<FakeDocument>(&unknown, fake), S_OK);
    (*fake)->hasExtension = withExtension;
    ComPtr<IOrvDocument> doc;
    unknown.As(&doc);
    return doc;
}

// Hands a document to a new specific object of class T, whatever its type code.
template <class T, class I>
ComPtr<I> Attach(IOrvDocument* doc) {
    ComPtr<IUnknown> obj;
    EXPECT_EQ(orv::CreateSpecific<T>(doc, obj.GetAddressOf()), S_OK);
    ComPtr<I> kind;
    if (obj) {
        EXPECT_EQ(obj.As(&kind), S_OK);
    }
    return kind;
}

}  // namespace kindtest
