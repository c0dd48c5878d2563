// Test doubles of the outside components the reference objects use: account
// and address lists that write each entry as one child element <E V="text"/>,
// and a reference item whose value calls all fail.
#pragma once

#include "frame/com.h"
#include "host/registration.h"
#include "kinds/ExtensionFields.h"

#include <orvdocs/orvdocs.h>

#include <string>
#include <vector>

namespace reftest {

using orv::Bstr;
using orv::ComPtr;

inline constexpr CLSID CLSID_FakeTextList = {0x5a1d0002, 0x2222, 0x4b4b, {0x80, 0x18, 0, 0, 0, 0, 0, 0x18}};
inline constexpr CLSID CLSID_FailingItem = {0x5a1d0003, 0x3333, 0x4c4c, {0x80, 0x18, 0, 0, 0, 0, 0, 0x18}};

class FakeTextList : public orv::CoClass<FakeTextList, &CLSID_FakeTextList, IOrvObjAsXmlString> {
public:
    std::vector<std::u16string> entries;

    HRESULT get_ShortString(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_ShortString(BSTR) override { return E_NOTIMPL; }
    HRESULT get_FullString(BSTR*) override { return E_NOTIMPL; }
    HRESULT put_FullString(BSTR) override { return E_NOTIMPL; }
    HRESULT ParseIn(IUnknown* spRoot, LONG) override {
        return Guarded([&] {
            ComPtr<IXMLDOMElement> root = Element(spRoot);
            ComPtr<IXMLDOMDocument> xml;
            orv::Check(root->get_ownerDocument(xml.GetAddressOf()));
            for (const std::u16string& e : entries)
                orv::ext::WriteText(orv::ext::AppendElement(xml.Get(), root.Get(), u"E").Get(), u"V", e);
            return S_OK;
        });
    }
    HRESULT ParseFrom(IUnknown* pRoot, LONG) override {
        return Guarded([&] {
            std::vector<std::u16string> read;
            for (const ComPtr<IXMLDOMElement>& e : orv::ext::ChildElements(Element(pRoot).Get(), u"E"))
                read.push_back(orv::ext::ReadText(e.Get(), u"V"));
            entries = std::move(read);
            return S_OK;
        });
    }

    // The entries of a list object handed out by the bank.
    static std::vector<std::u16string> Of(IUnknown* list) {
        if (!list) return {};
        ComPtr<IOrvObjAsXmlString> form;
        list->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf()));
        return form ? static_cast<FakeTextList*>(static_cast<orv::ComObject<FakeTextList>*>(form.Get()))->entries
                    : std::vector<std::u16string>{};
    }
    static ComPtr<IUnknown> Make(std::vector<std::u16string> entries) {
        ComPtr<IOrvObjAsXmlString> form;
        orv::CreateObject<FakeTextList>(&form);
        static_cast<FakeTextList*>(static_cast<orv::ComObject<FakeTextList>*>(form.Get()))->entries = std::move(entries);
        ComPtr<IUnknown> unknown;
        form.As(&unknown);
        return unknown;
    }

private:
    static ComPtr<IXMLDOMElement> Element(IUnknown* node) {
        if (!node) throw orv::ComError{E_POINTER, IID_IXMLDOMElement};
        ComPtr<IXMLDOMElement> e;
        orv::Check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(e.GetAddressOf())));
        return e;
    }
};

inline HRESULT CreateFakeTextList(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<FakeTextList>(outer, riid, ppv);
}

// A reference item that takes its kind and class identifier and refuses
// every value call with E_ACCESSDENIED.
class FailingItem : public orv::CoClass<FailingItem, &CLSID_FailingItem, IOrvRefItem, IDispatch> {
public:
    HRESULT get_Kind(LONG*) override { return E_ACCESSDENIED; }
    HRESULT put_Kind(LONG) override { return S_OK; }
    HRESULT get_Index(LONG*) override { return E_ACCESSDENIED; }
    HRESULT put_Index(LONG) override { return E_ACCESSDENIED; }
    HRESULT get_Code(BSTR*) override { return E_ACCESSDENIED; }
    HRESULT put_Code(BSTR) override { return E_ACCESSDENIED; }
    HRESULT get_Name(BSTR*) override { return E_ACCESSDENIED; }
    HRESULT put_Name(BSTR) override { return E_ACCESSDENIED; }
    HRESULT get_Id(LONG*) override { return E_ACCESSDENIED; }
    HRESULT put_Id(LONG) override { return E_ACCESSDENIED; }
    HRESULT get_ClassId(BSTR*) override { return E_ACCESSDENIED; }
    HRESULT put_ClassId(BSTR) override { return S_OK; }
    HRESULT get_Flag1(SHORT*) override { return E_ACCESSDENIED; }
    HRESULT put_Flag1(SHORT) override { return E_ACCESSDENIED; }
    HRESULT get_Flag2(SHORT*) override { return E_ACCESSDENIED; }
    HRESULT put_Flag2(SHORT) override { return E_ACCESSDENIED; }
    HRESULT get_Flag3(SHORT*) override { return E_ACCESSDENIED; }
    HRESULT put_Flag3(SHORT) override { return E_ACCESSDENIED; }
};

inline HRESULT CreateFailingItem(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    return orv::CreateInstance<FailingItem>(outer, riid, ppv);
}

}  // namespace reftest
