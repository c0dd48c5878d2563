// A stand-in for the sick-leave protocol object, for the kinds that store one:
// it answers IOrvBLDocProtocol (only OriginatorType is built) and
// IOrvObjAsXmlString (FullString), records what it was given and can be told
// to fail.
#pragma once

#include "frame/com.h"
#include "support/stubs.h"

#include <orvdocs/orvdocs.h>

#include <string>

#include <gtest/gtest.h>

namespace kindtest {

inline constexpr CLSID CLSID_FakeProtocol = {0x7E1B0002, 0x5C3B, 0x4F00, {0x8B, 1, 2, 3, 4, 5, 6, 7}};

class FakeProtocol
    : public orv::CoClass<FakeProtocol, &CLSID_FakeProtocol, orv::Stubbed<IOrvBLDocProtocol>, IDispatch,
                          IOrvObjAsXmlString> {
public:
    HRESULT get_OriginatorType(LONG* p) override { return *p = originatorType, S_OK; }
    HRESULT put_OriginatorType(LONG v) override { return originatorType = v, S_OK; }
    HRESULT get_ShortString(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_ShortString(BSTR) override { return E_NOTIMPL; }
    HRESULT get_FullString(BSTR* p) override {
        ++fullStringReads;
        if (FAILED(failFullString)) return failFullString;
        *p = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return S_OK;
    }
    HRESULT put_FullString(BSTR v) override { return text.assign(v ? v : u""), S_OK; }
    HRESULT ParseIn(IUnknown*, LONG) override { return E_NOTIMPL; }
    HRESULT ParseFrom(IUnknown*, LONG) override { return E_NOTIMPL; }

    std::u16string text;
    LONG originatorType = -1;
    int fullStringReads = 0;
    HRESULT failFullString = S_OK;
};

// A fake protocol giving text; *fake (when asked) gives access to its record.
inline orv::ComPtr<IDispatch> NewFakeProtocol(std::u16string_view text, FakeProtocol** fake = nullptr) {
    orv::ComPtr<IUnknown> unknown;
    FakeProtocol* object = nullptr;
    EXPECT_EQ(orv::CreateObjectWithAccess<FakeProtocol>(&unknown, &object), S_OK);
    object->text = std::u16string(text);
    if (fake) *fake = object;
    orv::ComPtr<IDispatch> dispatch;
    unknown.As(&dispatch);
    return dispatch;
}

}  // namespace kindtest
