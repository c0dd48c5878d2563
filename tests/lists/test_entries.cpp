// The document list's entries: adding at either end, finding by identifier
// and staff order, removing with the type check, replacing by identity,
// copying deep or shared, and holding the lock across calls.
#include "lists/lists_test_util.h"

#include <chrono>
#include <thread>

namespace liststest {
namespace {

const DATE kJan1 = Day(2024, 1, 1), kJan31 = Day(2024, 1, 31);

class Entries : public ::testing::Test {
protected:
    ListsEnvironment env;
};

TEST_F(Entries, AddingKeepsOrderAndDuplicatesAndRefusesWhatIsNotADocument) {
    ComPtr<IOrvDocList> list = NewList();
    ComPtr<IOrvDocument> a = MakeDoc({3, 1}), b = MakeDoc({3, 2}), c = MakeDoc({3, 3});
    Add(list.Get(), a.Get());
    Add(list.Get(), b.Get());
    Add(list.Get(), a.Get());
    LONG result = 7;
    ASSERT_EQ(list->AddItemToFront(c.Get(), &result), S_OK);
    EXPECT_EQ(result, 0);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{3, 1, 2, 1}));

    // What the list hands out is the document's identity.
    list->Reset();
    ComPtr<IUnknown> first;
    ASSERT_EQ(list->Next2(first.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(first.Get(), Identity(c.Get()).Get());

    // A document given by its IDispatch is stored by its identity too.
    ComPtr<IDispatch> disp;
    ASSERT_EQ(b.As(&disp), S_OK);
    ASSERT_NE(static_cast<IUnknown*>(disp.Get()), Identity(b.Get()).Get());
    ASSERT_EQ(list->AddItem(disp.Get(), &result), S_OK);
    ComPtr<IUnknown> last;
    ASSERT_EQ(list->get_DocumentOnId(2, last.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(last.Get(), Identity(b.Get()).Get());
    EXPECT_EQ(list->RemoveDocument(disp.Get()), S_OK);

    // An object that is not a document, and no object, change nothing.
    ComPtr<IOrvInstanceList> notADocument;
    ASSERT_EQ(orv::CreateObject<orv::OrvInstanceList>(&notADocument), S_OK);
    result = 7;
    EXPECT_EQ(list->AddItem(notADocument.Get(), &result), E_NOINTERFACE);
    EXPECT_EQ(result, -1);
    result = 7;
    EXPECT_EQ(list->AddItemToFront(notADocument.Get(), &result), E_NOINTERFACE);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(list->AddItem(nullptr, &result), E_POINTER);
    EXPECT_EQ(list->AddItem(a.Get(), nullptr), E_POINTER);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()).size(), 4u);
}

TEST_F(Entries, FindingGivesTheFirstMatchOrNothing) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{3, 10}, {4, 20}, {5, 10}}, &docs);
    docs[1]->put_StaffOrderId(77);
    docs[2]->put_StaffOrderId(77);
    ComPtr<IUnknown> found;
    ASSERT_EQ(list->get_DocumentOnId(10, found.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(found.Get(), Identity(docs[0].Get()).Get());
    EXPECT_EQ(list->get_DocumentOnId(11, found.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(found.Get(), nullptr);
    ASSERT_EQ(list->get_DocumentOnSOId(77, found.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(found.Get(), Identity(docs[1].Get()).Get());
    EXPECT_EQ(list->get_DocumentOnSOId(78, found.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(list->get_DocumentOnId(10, nullptr), E_POINTER);
    EXPECT_EQ(list->get_DocumentOnSOId(77, nullptr), E_POINTER);
}

TEST_F(Entries, RemovingTakesTheFirstEntryOfTheIdentifierWhenItsTypeAgrees) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{3, 10}, {4, 20}, {3, 10}, {5, 30}}, &docs);
    // A different object with the same type and identifier removes the first entry.
    ComPtr<IOrvDocument> probe = MakeDoc({3, 10});
    EXPECT_EQ(list->RemoveDocument(probe.Get()), S_OK);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{20, 10, 30}));
    ComPtr<IUnknown> found;
    ASSERT_EQ(list->get_DocumentOnId(10, found.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(found.Get(), Identity(docs[2].Get()).Get()) << "the second entry of the identifier stays";

    // An identifier that is not there: nothing happens.
    EXPECT_EQ(list->RemoveDocument(MakeDoc({3, 99}).Get()), S_OK);
    EXPECT_EQ(list->RemoveDocument(nullptr), E_INVALIDARG);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()).size(), 3u);
    EXPECT_TRUE(env.Messages().empty());
}

TEST_F(Entries, RemovingWithAnotherTypeChangesNothingAndSaysWhy) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{10, 5}, {304, 6}}, &docs);
    docs[0]->put_DcType(Bstr(u"SB"));
    ComPtr<IOrvDocument> probe = MakeDoc({304, 5});
    probe->put_DcType(Bstr(u"TD"));
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(list->RemoveDocument(probe.Get()), S_OK);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{5, 6}));
    // The message names the identifier and both kinds, given first.
    Bstr given, found;
    probe->get_DcType(given.ReleaseAndGetAddressOf());
    ComPtr<IUnknown> entry;
    list->get_DocumentOnId(5, entry.ReleaseAndGetAddressOf());
    ComPtr<IOrvDocument> entryDoc;
    ASSERT_EQ(entry.As(&entryDoc), S_OK);
    entryDoc->get_DcType(found.ReleaseAndGetAddressOf());
    ASSERT_NE(given.View(), found.View());
    doctest::ErrorReport report = TakeErrorInfo();
    ASSERT_TRUE(report.present);
    EXPECT_NE(report.description.find(u"5"), std::u16string::npos);
    const std::size_t at = report.description.find(given.View());
    ASSERT_NE(at, std::u16string::npos);
    EXPECT_NE(report.description.find(found.View(), at + given.Length()), std::u16string::npos);
    EXPECT_EQ(report.guid, IID_IOrvDocList);
    ASSERT_EQ(env.Messages().size(), 1u);
    EXPECT_EQ(env.Messages()[0], report.description);
}

TEST_F(Entries, ReplacingMatchesTheIdentityOnly) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{3, 1}, {3, 2}, {3, 1}}, &docs);
    ComPtr<IOrvDocument> fresh = MakeDoc({3, 9});
    // Another interface pointer of the document is not its identity: no change.
    ComPtr<IOrvObjAsXmlString> other;
    ASSERT_EQ(docs[0].As(&other), S_OK);
    ASSERT_NE(static_cast<IUnknown*>(other.Get()), Identity(docs[0].Get()).Get());
    EXPECT_EQ(list->Replace(other.Get(), fresh.Get()), S_OK);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{1, 2, 1}));
    // The identity replaces the first entry holding it.
    EXPECT_EQ(list->Replace(Identity(docs[0].Get()).Get(), Identity(fresh.Get()).Get()), S_OK);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{9, 2, 1}));
    // No match, or a null old pointer: no change.
    EXPECT_EQ(list->Replace(nullptr, Identity(fresh.Get()).Get()), S_OK);
    EXPECT_EQ(list->Replace(Identity(MakeDoc({3, 4}).Get()).Get(), Identity(fresh.Get()).Get()), S_OK);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{9, 2, 1}));
}

TEST_F(Entries, CloneCopiesTheDocumentsAndCreateNewListSharesThem) {
    std::vector<ComPtr<IOrvDocument>> docs;
    ComPtr<IOrvDocList> list = ListOf({{3, 1, kJan1, kJan31}, {4, 2, kJan1, kJan31}}, &docs);
    docs[0]->put_Memo(Bstr(u"первый"));
    ComPtr<IUnknown> cloned, shared;
    ASSERT_EQ(list->Clone(cloned.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(list->CreateNewList(shared.ReleaseAndGetAddressOf()), S_OK);
    ComPtr<IOrvDocList> clonedList, sharedList;
    ASSERT_EQ(cloned.As(&clonedList), S_OK);
    ASSERT_EQ(shared.As(&sharedList), S_OK);
    EXPECT_EQ(cloned.Get(), Identity(clonedList.Get()).Get()) << "the new list's identity is returned";

    ComPtr<IUnknown> copy, same;
    ASSERT_EQ(clonedList->get_DocumentOnId(1, copy.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(sharedList->get_DocumentOnId(1, same.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_NE(copy.Get(), Identity(docs[0].Get()).Get());
    EXPECT_EQ(same.Get(), Identity(docs[0].Get()).Get());

    // The copy holds equal data, and changing it leaves the original alone.
    ComPtr<IOrvDocument> copyDoc;
    ASSERT_EQ(copy.As(&copyDoc), S_OK);
    EXPECT_EQ(doctest::RecordOf(copyDoc.Get()), doctest::RecordOf(docs[0].Get()));
    copyDoc->put_Memo(Bstr(u"копия"));
    copyDoc->put_lDcId(50);
    Bstr memo;
    docs[0]->get_Memo(memo.ReleaseAndGetAddressOf());
    EXPECT_EQ(memo.View(), u"первый");
    LONG id = 0;
    docs[0]->get_lDcId(&id);
    EXPECT_EQ(id, 1);
    // Removing from a copy leaves the original's entries.
    EXPECT_EQ(sharedList->RemoveDocument(docs[1].Get()), S_OK);
    list->Reset();
    EXPECT_EQ(DrainIds(list.Get()), (std::vector<LONG>{1, 2}));
    EXPECT_EQ(list->Clone(nullptr), E_POINTER);
    EXPECT_EQ(list->CreateNewList(nullptr), E_POINTER);
}

TEST_F(Entries, LockListHoldsOtherThreadsOutUntilUnlockList) {
    ComPtr<IOrvDocList> list = ListOf({{3, 1}});
    EXPECT_EQ(list->UnlockList(), E_UNEXPECTED) << "nothing to unlock";
    ASSERT_EQ(list->LockList(), S_OK);
    ASSERT_EQ(list->LockList(), S_OK);
    std::atomic<bool> added{false};
    std::thread other([&] {
        LONG result = 0;
        ComPtr<IOrvDocument> doc = MakeDoc({3, 2});
        list->AddItem(doc.Get(), &result);
        added = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(added) << "the other thread waits for the lock";
    // The holder's own calls go through.
    ComPtr<IUnknown> found;
    EXPECT_EQ(list->get_DocumentOnId(1, found.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(list->UnlockList(), S_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(added) << "one LockList is still held";
    EXPECT_EQ(list->UnlockList(), S_OK);
    other.join();
    EXPECT_TRUE(added);
    EXPECT_EQ(list->UnlockList(), E_UNEXPECTED);
}

}  // namespace
}  // namespace liststest
