// Helpers of the list tests: calendar dates, documents with the fields the
// lists read, lists filled with them, and the host environment (library and
// host components registered, the account list class served by a fake).
#pragma once

#include "document/OrvDocument.h"
#include "document/doc_test_util.h"
#include "lists/OrvDocList.h"
#include "lists/OrvInstanceList.h"
#include "lists/fakes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <vector>

namespace liststest {

using doctest::TakeErrorInfo;

// The automation date of a calendar day.
inline DATE Day(int y, unsigned m, unsigned d) {
    using namespace std::chrono;
    return static_cast<DATE>(
        (sys_days{year{y} / month{m} / day{d}} - sys_days{year{1899} / December / day{30}}).count());
}

struct DocFields {
    LONG type = 0;
    LONG id = 0;
    DATE dn = 0.0;
    DATE dk = 0.0;
};

inline ComPtr<IOrvDocument> MakeDoc(const DocFields& s) {
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    EXPECT_EQ(doc->put_lDcType(s.type), S_OK);
    EXPECT_EQ(doc->put_lDcId(s.id), S_OK);
    EXPECT_EQ(doc->put_dtDn(s.dn), S_OK);
    EXPECT_EQ(doc->put_dtDk(s.dk), S_OK);
    return doc;
}

inline ComPtr<IOrvDocList> NewList() {
    ComPtr<IOrvDocList> list;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocList>(&list), S_OK);
    return list;
}

inline void Add(IOrvDocList* list, IOrvDocument* doc) {
    LONG result = -5;
    ASSERT_EQ(list->AddItem(doc, &result), S_OK);
    ASSERT_EQ(result, 0);
}

inline ComPtr<IOrvDocList> ListOf(std::initializer_list<DocFields> fields, std::vector<ComPtr<IOrvDocument>>* docs = nullptr) {
    ComPtr<IOrvDocList> list = NewList();
    for (const DocFields& s : fields) {
        ComPtr<IOrvDocument> doc = MakeDoc(s);
        Add(list.Get(), doc.Get());
        if (docs) docs->push_back(doc);
    }
    return list;
}

inline ComPtr<IUnknown> Identity(IUnknown* p) {
    ComPtr<IUnknown> id;
    if (p) p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(id.ReleaseAndGetAddressOf()));
    return id;
}

inline LONG IdOf(IUnknown* p) {
    ComPtr<IOrvDocument> doc;
    if (!p || FAILED(p->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(doc.ReleaseAndGetAddressOf())))) return -1;
    LONG id = -1;
    doc->get_lDcId(&id);
    return id;
}

// One plain step of the list's cursor: the identifier found, 0 at the end,
// -100 for a failure.
inline LONG ListNext(IOrvDocList* list) {
    ComPtr<IUnknown> doc;
    LONG result = 0;
    HRESULT hr = list->Next(doc.ReleaseAndGetAddressOf(), &result);
    return hr == S_OK ? IdOf(doc.Get()) : (hr == S_FALSE ? 0 : -100);
}

// The identifiers the list's own cursor gives from where it stands.
inline std::vector<LONG> DrainIds(IOrvDocList* list) {
    std::vector<LONG> ids;
    for (;;) {
        ComPtr<IUnknown> doc;
        LONG result = 0;
        if (list->Next(doc.ReleaseAndGetAddressOf(), &result) != S_OK) break;
        ids.push_back(IdOf(doc.Get()));
    }
    return ids;
}

// The library and host components registered, the account list served by
// FakeItemList, messages kept.
class ListsEnvironment : public doctest::HostEnvironment {
public:
    ListsEnvironment() {
        EXPECT_EQ(orv::host::RegisterHostClass(CLSID_OrvAccountList, &orv::CreateInstance<FakeItemList>, &extra_),
                  S_OK);
    }
    ~ListsEnvironment() { extra_.Revoke(); }

private:
    orv::host::Registration extra_;
};

}  // namespace liststest
