// The list's own cursor and the IOrvENUMDocuments enumerators: plain and
// filtered steps, empty lists and empty entries, independent cursors,
// enumerators and copies taken in the middle of a walk, cursors on removed
// entries, and walks from several threads.
#include "lists/lists_test_util.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace liststest {
namespace {

const DATE kJan1 = Day(2024, 1, 1), kJan31 = Day(2024, 1, 31);

ComPtr<IOrvDocList> FourDocuments() {
    return ListOf({{3, 1, Day(2023, 1, 1), Day(2023, 1, 31)},
                   {3, 2, kJan1, kJan31},
                   {4, 3, kJan1, kJan31},
                   {3, 4, kJan1, kJan31}});
}

ComPtr<IOrvENUMDocuments> Enumerator(IUnknown* list) {
    ComPtr<IOrvENUMDocuments> en;
    EXPECT_EQ(list->QueryInterface(IID_IOrvENUMDocuments, reinterpret_cast<void**>(en.ReleaseAndGetAddressOf())), S_OK);
    return en;
}

LONG EnumNext(IOrvENUMDocuments* en) {
    ComPtr<IUnknown> doc;
    HRESULT hr = en->Next(doc.ReleaseAndGetAddressOf());
    return hr == S_OK ? IdOf(doc.Get()) : (hr == S_FALSE ? 0 : -100);
}

TEST(ListCursor, AnEmptyListEndsEveryKindOfStep) {
    ComPtr<IOrvDocList> list = NewList();
    ComPtr<IUnknown> doc;
    LONG result = 5;
    EXPECT_EQ(list->Next(doc.ReleaseAndGetAddressOf(), &result), S_FALSE);
    EXPECT_EQ(doc.Get(), nullptr);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(list->Next2(doc.ReleaseAndGetAddressOf()), S_FALSE);
    result = 5;
    EXPECT_EQ(list->NextT0OnDate(1, kJan1, doc.ReleaseAndGetAddressOf(), &result), S_FALSE);
    EXPECT_EQ(doc.Get(), nullptr);
    EXPECT_EQ(result, 1);
    ComPtr<IDispatch> disp;
    EXPECT_EQ(list->NextT0InPeriod2(1, kJan1, kJan31, disp.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(disp.Get(), nullptr);
    // The third form always gives a document: a blank one at the end.
    EXPECT_EQ(list->NextT0InPeriod3(1, kJan1, kJan31, disp.ReleaseAndGetAddressOf()), S_FALSE);
    ComPtr<IOrvDocument> blank;
    ASSERT_TRUE(disp);
    ASSERT_EQ(disp.As(&blank), S_OK);
    LONG type = -1;
    blank->get_lDcType(&type);
    EXPECT_EQ(type, 0);
    ComPtr<IOrvENUMDocuments> en = Enumerator(list.Get());
    EXPECT_EQ(EnumNext(en.Get()), 0);
}

TEST(ListCursor, NullOutPointersAreRefusedWithoutMovingTheCursor) {
    ComPtr<IOrvDocList> list = FourDocuments();
    list->Reset();
    ComPtr<IUnknown> doc;
    EXPECT_EQ(list->Next(doc.ReleaseAndGetAddressOf(), nullptr), E_POINTER);
    EXPECT_EQ(list->NextT0OnDate(3, kJan1, doc.ReleaseAndGetAddressOf(), nullptr), E_POINTER);
    EXPECT_EQ(list->NextT0InPeriod(3, kJan1, kJan31, nullptr), E_POINTER);
    EXPECT_EQ(list->NextT0InPeriod3(3, kJan1, kJan31, nullptr), E_POINTER);
    ComPtr<IOrvENUMDocuments> en = Enumerator(list.Get());
    EXPECT_EQ(en->NextT0OnDate(3, kJan1, doc.ReleaseAndGetAddressOf(), nullptr), E_POINTER);
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{1, 2, 3, 4}));
    EXPECT_EQ(EnumNext(en.Get()), 1);
}

TEST(ListCursor, ANewListStandsAtTheEndUntilReset) {
    ComPtr<IOrvDocList> list = FourDocuments();
    EXPECT_EQ(ListNext(list.Get()), 0) << "adding does not move the cursor";
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{1, 2, 3, 4}));
    EXPECT_EQ(ListNext(list.Get()), 0);
}

TEST(ListCursor, AFilteredStepLeavesTheCursorAfterTheDocumentFound) {
    ComPtr<IOrvDocList> list = FourDocuments();
    list->Reset();
    ComPtr<IUnknown> doc;
    ASSERT_EQ(list->NextT0InPeriod(3, kJan1, kJan31, doc.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(IdOf(doc.Get()), 2);
    EXPECT_EQ(ListNext(list.Get()), 3) << "a plain step goes on from there";
    // NextT0InPeriod2 gives the document's IDispatch.
    ComPtr<IDispatch> disp;
    ASSERT_EQ(list->NextT0InPeriod2(3, kJan1, kJan31, disp.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(IdOf(disp.Get()), 4);
    EXPECT_EQ(list->NextT0InPeriod2(3, kJan1, kJan31, disp.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(disp.Get(), nullptr);
}

TEST(ListCursor, AnEmptyEntryStopsTheCursorWithoutMovingIt) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{3, 1, kJan1, kJan31}, {3, 2, kJan1, kJan31}}, &docs);
    ASSERT_EQ(list->Replace(Identity(docs[0].Get()).Get(), nullptr), S_OK);
    list->Reset();
    ComPtr<IUnknown> doc;
    LONG result = 0;
    EXPECT_EQ(list->Next(doc.ReleaseAndGetAddressOf(), &result), E_UNEXPECTED);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(list->Next(doc.ReleaseAndGetAddressOf(), &result), E_UNEXPECTED) << "the cursor stayed on the empty entry";
    EXPECT_EQ(list->NextT0InPeriod(3, kJan1, kJan31, doc.ReleaseAndGetAddressOf()), E_UNEXPECTED);
    EXPECT_EQ(doc.Get(), nullptr);
    ComPtr<IOrvENUMDocuments> en = Enumerator(list.Get());
    EXPECT_EQ(EnumNext(en.Get()), -100);
}

TEST(Enumerators, StartTogetherAndMoveIndependently) {
    ComPtr<IOrvDocList> list = FourDocuments();
    list->Reset();
    ComPtr<IOrvENUMDocuments> a = Enumerator(list.Get()), b = Enumerator(list.Get());
    EXPECT_NE(a.Get(), b.Get()) << "each request makes a new enumerator";
    EXPECT_EQ(EnumNext(a.Get()), 1);
    EXPECT_EQ(EnumNext(b.Get()), 1);
    EXPECT_EQ(EnumNext(a.Get()), 2);
    EXPECT_EQ(EnumNext(a.Get()), 3);
    EXPECT_EQ(EnumNext(b.Get()), 2);
    EXPECT_EQ(ListNext(list.Get()), 1) << "the list's own cursor did not move";
    ComPtr<IUnknown> doc;
    ASSERT_EQ(b->NextT0InPeriod(3, kJan1, kJan31, doc.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(IdOf(doc.Get()), 4);
    EXPECT_EQ(EnumNext(a.Get()), 4);
    EXPECT_EQ(EnumNext(a.Get()), 0);
    EXPECT_EQ(EnumNext(a.Get()), 0);
    ASSERT_EQ(a->Reset(), S_OK);
    EXPECT_EQ(EnumNext(a.Get()), 1);
    // The enumerator answers the list's other interfaces through the list.
    ComPtr<IOrvDocList> back;
    ASSERT_EQ(a.As(&back), S_OK);
    EXPECT_EQ(Identity(back.Get()).Get(), Identity(list.Get()).Get());
}

TEST(Enumerators, TakenOrCopiedInTheMiddleOfAWalk) {
    ComPtr<IOrvDocList> list = FourDocuments();
    ComPtr<IOrvENUMDocuments> first = Enumerator(list.Get());
    EXPECT_EQ(EnumNext(first.Get()), 1);
    EXPECT_EQ(EnumNext(first.Get()), 2);
    list->Reset();
    EXPECT_EQ(ListNext(list.Get()), 1);

    // A second enumerator asked for now starts at the first entry.
    ComPtr<IOrvENUMDocuments> second = Enumerator(list.Get());
    EXPECT_EQ(EnumNext(second.Get()), 1);
    EXPECT_EQ(EnumNext(first.Get()), 3);

    // Copies of the list start at their first entry; the walk of the
    // original goes on where it was.
    ComPtr<IUnknown> shared, cloned;
    ASSERT_EQ(list->CreateNewList(shared.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(list->Clone(cloned.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvDocList> sharedList, clonedList;
    ASSERT_EQ(shared.As(&sharedList), S_OK);
    ASSERT_EQ(cloned.As(&clonedList), S_OK);
    EXPECT_EQ(DrainIds(sharedList.Get()), (std::vector<LONG>{1, 2, 3, 4}));
    EXPECT_EQ(DrainIds(clonedList.Get()), (std::vector<LONG>{1, 2, 3, 4}));
    EXPECT_EQ(ListNext(list.Get()), 2);
    ComPtr<IOrvENUMDocuments> ofCopy = Enumerator(cloned.Get());
    EXPECT_EQ(EnumNext(ofCopy.Get()), 1);
    EXPECT_EQ(EnumNext(first.Get()), 4);
}

TEST(Enumerators, KeepTheListAlive) {
    ComPtr<IOrvENUMDocuments> en;
    {
        ComPtr<IOrvDocList> list = FourDocuments();
        en = Enumerator(list.Get());
    }
    std::vector<LONG> ids;
    for (LONG id; (id = EnumNext(en.Get())) > 0;) ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<LONG>{1, 2, 3, 4}));
}

TEST(CursorsOnRemovedEntries, StandAtTheEnd) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{3, 1, kJan1, kJan31}, {3, 2, kJan1, kJan31}, {3, 3, kJan1, kJan31}}, &docs);
    list->Reset();
    EXPECT_EQ(ListNext(list.Get()), 1);  // the cursor now stands on 2
    ComPtr<IOrvENUMDocuments> en = Enumerator(list.Get());
    EXPECT_EQ(EnumNext(en.Get()), 1);  // and this one too
    ComPtr<IOrvENUMDocuments> other = Enumerator(list.Get());  // on 1

    ASSERT_EQ(list->RemoveDocument(docs[1].Get()), S_OK);
    EXPECT_EQ(ListNext(list.Get()), 0);
    EXPECT_EQ(EnumNext(en.Get()), 0);
    EXPECT_EQ(EnumNext(other.Get()), 1) << "a cursor on another entry is not disturbed";
    EXPECT_EQ(EnumNext(other.Get()), 3);

    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{1, 3}));
    en->Reset();
    EXPECT_EQ(EnumNext(en.Get()), 1);

    // Reading the list anew empties it first: every cursor stands at the end.
    list->Reset();
    ASSERT_EQ(list.As(&other), S_OK);
    ComPtr<IOrvObjAsXmlString> xml;
    ASSERT_EQ(list.As(&xml), S_OK);
    EXPECT_EQ(xml->put_FullString(Bstr(u"<ORVDOCLIST/>")), S_OK);
    EXPECT_EQ(ListNext(list.Get()), 0);
    EXPECT_EQ(EnumNext(en.Get()), 0);
}

TEST(CursorThreads, TwoThreadsSharingTheListCursorGetDifferentDocuments) {
    constexpr LONG kCount = 2000;
    ComPtr<IOrvDocList> list = NewList();
    for (LONG i = 1; i <= kCount; ++i) Add(list.Get(), MakeDoc({3, i, kJan1, kJan31}).Get());
    list->Reset();
    std::vector<LONG> seen[2];
    auto drain = [&](int which) {
        for (;;) {
            ComPtr<IUnknown> doc;
            if (list->NextT0InPeriod(3, kJan1, kJan31, doc.ReleaseAndGetAddressOf()) != S_OK) break;
            seen[which].push_back(IdOf(doc.Get()));
        }
    };
    std::thread a(drain, 0), b(drain, 1);
    a.join();
    b.join();
    std::vector<LONG> all = seen[0];
    all.insert(all.end(), seen[1].begin(), seen[1].end());
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kCount));
    for (LONG i = 0; i < kCount; ++i) EXPECT_EQ(all[i], i + 1);
}

TEST(CursorThreads, EnumeratorsWalkWhileAnotherThreadRemoves) {
    constexpr LONG kCount = 600;
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = NewList();
    for (LONG i = 1; i <= kCount; ++i) {
        docs.push_back(MakeDoc({3, i, kJan1, kJan31}));
        Add(list.Get(), docs.back().Get());
    }
    std::atomic<bool> done{false};
    std::thread walker([&] {
        while (!done) {
            ComPtr<IOrvENUMDocuments> en = Enumerator(list.Get());
            LONG last = 0;
            for (LONG id; (id = EnumNext(en.Get())) > 0;) {
                EXPECT_GT(id, last) << "documents come in list order";
                last = id;
            }
        }
    });
    for (LONG i = 0; i < kCount; i += 2) EXPECT_EQ(list->RemoveDocument(docs[i].Get()), S_OK);
    done = true;
    walker.join();
    list->Reset();
    std::vector<LONG> left = DrainIds(list.Get());
    ASSERT_EQ(left.size(), static_cast<std::size_t>(kCount / 2));
    EXPECT_EQ(left.front(), 2);
    EXPECT_EQ(left.back(), kCount);
}

}  // namespace
}  // namespace liststest
