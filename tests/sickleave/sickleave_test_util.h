// Helpers of the sick-leave tests: the host environment (library and host
// components registered, messages kept), protocols and items made by class,
// their XML text, sick-leave documents on real generic documents, and a
// database service whose session answers a chosen access type (the host's
// in-memory service with a fake session attached).
#pragma once

#include "document/doc_test_util.h"
#include "document/fake_services.h"

#include "host/OrvMemoryDatabase.h"
#include "sickleave/OrvBLDoc.h"
#include "sickleave/OrvBLDocProtocol.h"
#include "sickleave/OrvBLProtItems.h"

#include <string>
#include <vector>

namespace bltest {

using doctest::Cy;
using doctest::HostEnvironment;
using doctest::TakeErrorInfo;
using doctest::Text;
using orv::Bstr;
using orv::ComPtr;

inline ComPtr<IOrvBLDocProtocol> NewProtocol(LONG accessType = 0) {
    ComPtr<IUnknown> unknown;
    orv::OrvBLDocProtocol* object = nullptr;
    EXPECT_EQ(orv::CreateObjectWithAccess<orv::OrvBLDocProtocol>(&unknown, &object), S_OK);
    if (object) object->SetAccess(accessType);
    ComPtr<IOrvBLDocProtocol> protocol;
    if (unknown) {
        EXPECT_EQ(unknown.As(&protocol), S_OK);
    }
    return protocol;
}

inline ComPtr<IOrvObjAsXmlString> FormOf(IUnknown* object) {
    ComPtr<IOrvObjAsXmlString> form;
    EXPECT_EQ(object->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())), S_OK);
    return form;
}

inline std::u16string FullStringOf(IUnknown* protocol) {
    Bstr text;
    EXPECT_EQ(FormOf(protocol)->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

inline HRESULT PutFullString(IUnknown* protocol, std::u16string_view text) {
    return FormOf(protocol)->put_FullString(Bstr(text));
}

// The items of a list of the list component, in order.
template <class I>
std::vector<ComPtr<I>> ItemsOf(IUnknown* listObject) {
    std::vector<ComPtr<I>> items;
    ComPtr<IOrvUnknownList> list;
    EXPECT_EQ(listObject->QueryInterface(IID_IOrvUnknownList, reinterpret_cast<void**>(list.GetAddressOf())), S_OK);
    if (!list) return items;
    EXPECT_EQ(list->Reset(), S_OK);
    for (;;) {
        ComPtr<IUnknown> element;
        list->Next(element.GetAddressOf());
        if (!element) break;
        ComPtr<I> item;
        EXPECT_EQ(element.As(&item), S_OK);
        items.push_back(item);
    }
    return items;
}

inline std::vector<ComPtr<IOrvBLProtHistoryItem>> HistoryOf(IOrvBLDocProtocol* protocol) {
    ComPtr<IUnknown> list;
    EXPECT_EQ(protocol->get_HistoryList(list.GetAddressOf()), S_OK);
    return ItemsOf<IOrvBLProtHistoryItem>(list.Get());
}

inline std::vector<ComPtr<IOrvBlProtPayMonthItem>> PayMonthsOf(IOrvBLDocProtocol* protocol) {
    ComPtr<IUnknown> list;
    EXPECT_EQ(protocol->get_PayMonthList(list.GetAddressOf()), S_OK);
    return ItemsOf<IOrvBlProtPayMonthItem>(list.Get());
}

inline ComPtr<IOrvBLProtHistoryItem> NewHistoryItem(LONG days, DATE month, LONGLONG sumRaw) {
    ComPtr<IOrvBLProtHistoryItem> item;
    EXPECT_EQ(orv::CreateObject<orv::OrvBLProtHistoryItem>(&item), S_OK);
    item->put_Days(days);
    item->put_Month(month);
    item->put_SumForSredn(Cy(sumRaw));
    return item;
}

inline ComPtr<IOrvBlProtPayMonthItem> NewPayMonth(DATE month, LONGLONG sumRaw, LONGLONG sum2Raw) {
    ComPtr<IOrvBlProtPayMonthItem> item;
    EXPECT_EQ(orv::CreateObject<orv::OrvBlProtPayMonthItem>(&item), S_OK);
    item->put_Month(month);
    item->put_Sum(Cy(sumRaw));
    item->put_Sum2(Cy(sum2Raw));
    return item;
}

// A generic document of type 21 and its sick-leave object.
struct SickLeave {
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvBLDoc> bl;
};

inline SickLeave NewSickLeave(IUnknown* database = nullptr) {
    SickLeave s;
    s.doc = doctest::NewDocument();
    EXPECT_EQ(s.doc->put_lDcType(21), S_OK);
    if (database) {
        EXPECT_EQ(s.doc->put_OrvBD(database), S_OK);
    }
    ComPtr<IUnknown> object;
    EXPECT_EQ(s.doc->GetSpecificObj(object.GetAddressOf()), S_OK);
    if (object) {
        EXPECT_EQ(object.As(&s.bl), S_OK);
    }
    return s;
}

inline ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* doc) {
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    return ext;
}

// The body as text (UTF-16) and as bytes; a body given as text or bytes.
inline std::u16string BodyText(IOrvDocument* doc) {
    Bstr body;
    EXPECT_EQ(ExtensionOf(doc)->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(body.View());
}
inline LONG BodyLength(IOrvDocument* doc) {
    LONG n = -1;
    EXPECT_EQ(ExtensionOf(doc)->get_Length(&n), S_OK);
    return n;
}
inline void SetBodyText(IOrvDocument* doc, std::u16string_view text) {
    auto ext = ExtensionOf(doc);
    ASSERT_EQ(ext->put_Body(Bstr(text)), S_OK);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(2 * text.size())), S_OK);
}
inline void SetBodyBytes(IOrvDocument* doc, const std::vector<unsigned char>& bytes) {
    auto ext = ExtensionOf(doc);
    ASSERT_EQ(ext->put_Body(Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(bytes.data()),
                                                               static_cast<UINT>(bytes.size())))),
              S_OK);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(bytes.size())), S_OK);
}

// The host's in-memory database service with a fake session answering a
// chosen access type.
struct Database {
    ComPtr<IOrvDatabase> db;
    doctest::FakeSession* session = nullptr;
    ComPtr<IUnknown> sessionHolder;

    explicit Database(LONG accessType) {
        EXPECT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&db), S_OK);
        sessionHolder = doctest::Make(&session);
        session->accessType = accessType;
        ComPtr<IOrvMemoryDatabase> memory;
        EXPECT_EQ(db.As(&memory), S_OK);
        EXPECT_EQ(memory->SetSession(sessionHolder.Get()), S_OK);
    }
};

}  // namespace bltest
