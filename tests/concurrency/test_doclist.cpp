// One document list called from several threads at once: documents added
// while others are found, walked with enumerators and copied out through the
// XML form; and whole lists put through the XML form while readers take it.
#include "concurrency/race_util.h"

#include "document/OrvDocument.h"
#include "host/registration.h"
#include "lists/OrvDocList.h"

#include <array>
#include <map>

namespace racetest {
namespace {

constexpr int kAdders = 2;
constexpr int kAdds = 80;

// A document's fields derive from its identifier.
DATE StartOf(LONG id) { return 40000.0 + id; }
DATE EndOf(LONG id) { return StartOf(id) + id % 17; }
LONG AdderId(int w, int i) { return 1000 * (w + 1) + i; }

ComPtr<IOrvDocument> MakeDoc(LONG id) {
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    EXPECT_EQ(doc->put_lDcType(7), S_OK);
    EXPECT_EQ(doc->put_lDcId(id), S_OK);
    EXPECT_EQ(doc->put_dtDn(StartOf(id)), S_OK);
    EXPECT_EQ(doc->put_dtDk(EndOf(id)), S_OK);
    return doc;
}

ComPtr<IOrvDocList> NewList() {
    ComPtr<IOrvDocList> list;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocList>(&list), S_OK);
    return list;
}

// The identifier of a document whose fields agree with it; -1 otherwise.
LONG ConsistentId(IUnknown* unknown) {
    ComPtr<IOrvDocument> doc;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IOrvDocument, reinterpret_cast<void**>(doc.GetAddressOf()))))
        return -1;
    LONG id = -1;
    DATE dn = 0, dk = 0;
    doc->get_lDcId(&id);
    doc->get_dtDn(&dn);
    doc->get_dtDk(&dk);
    return dn == StartOf(id) && dk == EndOf(id) ? id : -1;
}

// The identifiers of a list in order, walked with an enumerator of its own;
// empty with ok = false when a document is inconsistent.
std::vector<LONG> Walk(IOrvDocList* list, bool* ok) {
    *ok = true;
    std::vector<LONG> ids;
    ComPtr<IOrvENUMDocuments> walk;
    if (FAILED(list->QueryInterface(IID_IOrvENUMDocuments, reinterpret_cast<void**>(walk.GetAddressOf())))) {
        *ok = false;
        return ids;
    }
    walk->Reset();
    for (;;) {
        ComPtr<IUnknown> item;
        const HRESULT hr = walk->Next(item.GetAddressOf());
        if (hr != S_OK) {
            *ok = hr == S_FALSE;
            break;
        }
        const LONG id = ConsistentId(item.Get());
        if (id < 0) *ok = false;
        ids.push_back(id);
    }
    return ids;
}

class ConcurrentDocList : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DllRegisterServer(), S_OK);
        ASSERT_EQ(orv::host::RegisterHostComponents(&host_), S_OK);
    }
    void TearDown() override { host_.Revoke(); }
    orv::host::Registration host_;
};

// Each adder's documents appear in the order added, none missing before the
// last one a reader knows was added, whether the reader finds them by
// identifier, walks the list or reads its XML form into a list of its own.
TEST_F(ConcurrentDocList, AddsAreFoundWalkedAndWrittenInOrder) {
    ComPtr<IOrvDocList> list = NewList();
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    std::array<std::atomic<int>, kAdders> added{};
    Findings found;

    // The identifiers of a walk, per adder: a prefix 0..n-1 of its additions,
    // at least as long as what was known to be added before the walk began.
    auto checkOrder = [&](const std::vector<LONG>& ids, const std::array<int, kAdders>& before, const char* how) {
        std::array<int, kAdders> next{};
        for (LONG id : ids) {
            const int w = static_cast<int>(id / 1000) - 1;
            if (!found.Expect(w >= 0 && w < kAdders, std::string(how) + ": an identifier no adder made")) return;
            if (!found.Expect(id == AdderId(w, next[w]), std::string(how) + ": additions out of order or missing: " +
                                                             std::to_string(id)))
                return;
            ++next[w];
        }
        for (int w = 0; w < kAdders; ++w)
            found.Expect(next[w] >= before[w], std::string(how) + ": a document added before the read is missing");
    };
    auto known = [&] {
        std::array<int, kAdders> n{};
        for (int w = 0; w < kAdders; ++w) n[w] = added[w].load();
        return n;
    };

    RunTogether(
        kAdders, kAdds,
        [&](int w, int i) {
            ComPtr<IOrvDocument> doc = MakeDoc(AdderId(w, i));
            LONG result = -1;
            if (found.Expect(list->AddItem(doc.Get(), &result) == S_OK && result == 0, "AddItem failed"))
                added[w].store(i + 1);
        },
        3,
        [&](int r) {
            thread_local int turn = 0;
            const std::array<int, kAdders> before = known();
            switch ((turn++ + r) % 3) {
                case 0: {
                    for (int w = 0; w < kAdders; ++w) {
                        if (before[w] == 0) continue;
                        const LONG id = AdderId(w, (turn * 7) % before[w]);
                        ComPtr<IUnknown> doc;
                        found.Expect(list->get_DocumentOnId(id, doc.GetAddressOf()) == S_OK &&
                                         ConsistentId(doc.Get()) == id,
                                     "an added document is not found: " + std::to_string(id));
                    }
                    break;
                }
                case 1: {
                    bool ok = false;
                    const std::vector<LONG> ids = Walk(list.Get(), &ok);
                    found.Expect(ok, "the walk met an inconsistent document or failed");
                    checkOrder(ids, before, "walk");
                    break;
                }
                default: {
                    Bstr text;
                    if (!found.Expect(xml->get_FullString(text.ReleaseAndGetAddressOf()) == S_OK, "get_FullString failed"))
                        return;
                    ComPtr<IOrvDocList> copy = NewList();
                    ComPtr<IOrvObjAsXmlString> copyXml;
                    copy.As(&copyXml);
                    if (!found.Expect(copyXml->put_FullString(text.Get()) == S_OK, "the written form does not read back"))
                        return;
                    bool ok = false;
                    const std::vector<LONG> ids = Walk(copy.Get(), &ok);
                    found.Expect(ok, "the copy holds an inconsistent document");
                    checkOrder(ids, before, "FullString");
                    break;
                }
            }
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
    bool ok = false;
    EXPECT_EQ(Walk(list.Get(), &ok).size(), static_cast<std::size_t>(kAdders * kAdds));
    EXPECT_TRUE(ok);
}

// Whole lists put through the XML form: every form read is one of the lists
// put, and every document found or walked is whole.
TEST_F(ConcurrentDocList, FullStringPutsAreReadAsWholeLists) {
    constexpr int kLists = 5;
    std::array<std::u16string, kLists> forms;
    std::map<std::u16string, int> formSeed;
    for (int s = 0; s < kLists; ++s) {
        ComPtr<IOrvDocList> l = NewList();
        for (int j = 0; j < s + 2; ++j) {
            LONG result = -1;
            ASSERT_EQ(l->AddItem(MakeDoc(100 * (s + 1) + j).Get(), &result), S_OK);
        }
        ComPtr<IOrvObjAsXmlString> x;
        ASSERT_EQ(l.As(&x), S_OK);
        Bstr text;
        ASSERT_EQ(x->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
        forms[s] = Text(text.Get());
        formSeed[forms[s]] = s;
    }
    ASSERT_EQ(formSeed.size(), static_cast<std::size_t>(kLists));

    ComPtr<IOrvDocList> list = NewList();
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    ASSERT_EQ(xml->put_FullString(Bstr(forms[0])), S_OK);
    Findings found;
    RunTogether(
        2, 40,
        [&](int w, int i) {
            found.Expect(xml->put_FullString(Bstr(forms[(w + 2 * i) % kLists])) == S_OK, "put_FullString failed");
        },
        3,
        [&](int r) {
            thread_local int turn = 0;
            switch ((turn++ + r) % 3) {
                case 0: {
                    Bstr text;
                    found.Expect(xml->get_FullString(text.ReleaseAndGetAddressOf()) == S_OK &&
                                     formSeed.count(Text(text.Get())) == 1,
                                 "FullString is none of the lists put");
                    break;
                }
                case 1: {
                    bool ok = false;
                    Walk(list.Get(), &ok);
                    found.Expect(ok, "the walk met an inconsistent document or failed");
                    break;
                }
                default: {
                    const int s = turn % kLists;
                    ComPtr<IUnknown> doc;
                    const HRESULT hr = list->get_DocumentOnId(100 * (s + 1), doc.GetAddressOf());
                    found.Expect(hr == S_FALSE || (hr == S_OK && ConsistentId(doc.Get()) == 100 * (s + 1)),
                                 "a find gave a wrong document");
                    break;
                }
            }
            found.Checked();
        });
    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_GT(found.CheckedCount(), 0);
}

}  // namespace
}  // namespace racetest
