// The in-memory database service: storing documents by their record
// condition, filling their extensions and collectors back through the
// documents themselves, transactions, numbering tables, documents made from
// stored records, and its lock discipline when documents call it while
// holding their own locks.
#include "fake_document.h"
#include "host/OrvDateService.h"
#include "host/OrvMemoryDatabase.h"
#include "host/OrvSumCollector.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <random>
#include <set>
#include <thread>

namespace {

using hosttest::FakeDocument;
using orv::Bstr;
using orv::ComPtr;

CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

struct StoredCopy {
    HRESULT hr = E_FAIL;
    FakeDocument::Record record{};
    std::string body;
    bool bodyNull = true;
    LONG length = 0;
    ULONG stamp = 0;
};

// Sets a little-endian 16-bit field of a record.
void Put16(FakeDocument::Record& r, std::size_t offset, int value) {
    r[offset] = static_cast<unsigned char>(value & 0xFF);
    r[offset + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
}

class MemoryDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DllRegisterServer(), S_OK);  // documents made by the service are OrvDocument objects
        ASSERT_EQ(orv::CreateObject<orv::host::OrvMemoryDatabase>(&db_), S_OK);
        ASSERT_EQ(db_.As(&store_), S_OK);
        ASSERT_EQ(db_.As(&memory_), S_OK);
    }

    // A fake document connected to the service, with a pseudo-random record.
    ComPtr<IOrvDocument> Fake(FakeDocument** f, unsigned seed = 1) {
        auto doc = hosttest::NewFake(f);
        std::mt19937 rng(seed);
        for (auto& b : (*f)->record) b = static_cast<unsigned char>(rng());
        EXPECT_EQ(doc->put_OrvBD(db_.Get()), S_OK);
        return doc;
    }
    // A new document with a body, stored; returns its address.
    ULONG StoreNew(unsigned seed, const std::string& body, LONG length) {
        FakeDocument* f = nullptr;
        auto doc = Fake(&f, seed);
        f->body = body;
        f->length = length;
        EXPECT_EQ(doc->MakeAsNew(), S_OK);
        EXPECT_EQ(doc->Update(0), S_OK);
        return f->address;
    }
    StoredCopy Stored(ULONG address) {
        StoredCopy s;
        Bstr record, body;
        s.hr = memory_->GetStored(address, record.ReleaseAndGetAddressOf(), body.ReleaseAndGetAddressOf(), &s.length,
                                  &s.stamp);
        if (record.ByteLength() == 304) std::memcpy(s.record.data(), record.Get(), 304);
        s.bodyNull = body.Get() == nullptr;
        s.body.assign(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
        return s;
    }
    LONG Count() {
        LONG n = -1;
        EXPECT_EQ(memory_->get_DocumentCount(&n), S_OK);
        return n;
    }
    std::u16string LastError() {
        Bstr text;
        EXPECT_EQ(db_->get_LastError(text.ReleaseAndGetAddressOf()), S_OK);
        return std::u16string(text.View());
    }

    ComPtr<IOrvDatabase> db_;
    ComPtr<IOrvDocStore> store_;
    ComPtr<IOrvMemoryDatabase> memory_;
};

TEST_F(MemoryDatabaseTest, NewDocumentsGetAddressesAndAreStoredByteForByte) {
    FakeDocument* a = nullptr;
    auto docA = Fake(&a, 11);
    const std::string body("\x01\0\xFF<X/>", 7);  // odd length, NUL and high bytes
    a->body = body;
    a->length = 5;  // a Length below the body's bytes is kept as put
    ASSERT_EQ(docA->MakeAsNew(), S_OK);
    ASSERT_EQ(docA->Update(0), S_OK);
    EXPECT_EQ(a->address, 1u);
    EXPECT_EQ(a->timeStamp, 1u);
    EXPECT_EQ(a->condition, 0);
    StoredCopy s = Stored(1);
    ASSERT_EQ(s.hr, S_OK);
    EXPECT_EQ(s.record, a->record);
    EXPECT_EQ(s.body, body);
    EXPECT_EQ(s.length, 5);
    EXPECT_EQ(s.stamp, 1u);

    // A document that was never stored counts as new whatever its condition.
    FakeDocument* b = nullptr;
    auto docB = Fake(&b, 12);
    ASSERT_EQ(docB->Update(-1), S_OK);
    EXPECT_EQ(b->address, 2u);
    s = Stored(2);
    EXPECT_EQ(s.record, b->record);
    EXPECT_TRUE(s.bodyNull);
    EXPECT_EQ(Count(), 2);
    ULONG address = 0;
    ASSERT_EQ(memory_->GetAddress(1, &address), S_OK);
    EXPECT_EQ(address, 2u);
    EXPECT_EQ(memory_->GetAddress(2, &address), E_INVALIDARG);
    EXPECT_EQ(Stored(3).hr, S_FALSE);
    EXPECT_EQ(store_->UpdateDocument(0, nullptr), E_POINTER);
}

TEST_F(MemoryDatabaseTest, ExtensionsAreFilledThroughTheDocumentWhileItsLockIsHeld) {
    const std::string body("\0body\x80", 6);
    const ULONG address = StoreNew(21, body, 6);
    // The document holds its lock across the call; the service puts the body
    // back into it on the same thread.
    for (LONG pipe : {0L, -1L}) {
        FakeDocument* c = nullptr;
        auto docC = Fake(&c);
        c->address = address;
        LONG result = -1;
        ASSERT_EQ(docC->InitInnerDocExtension(pipe, &result), S_OK);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(c->body, body);
        EXPECT_EQ(c->length, 6);
        EXPECT_EQ(c->bodyPuts, 1);
        EXPECT_EQ(c->extensionInitialized, VARIANT_TRUE);
    }
    // Documents the store does not hold keep their extension.
    for (ULONG other : {0u, 99u}) {
        FakeDocument* d = nullptr;
        auto docD = Fake(&d);
        d->address = other;
        d->body = "keep";
        d->length = 4;
        LONG result = -1;
        ASSERT_EQ(docD->InitInnerDocExtension(3, &result), S_OK);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(d->body, "keep");
        EXPECT_EQ(d->bodyPuts + d->clears, 0);
    }
    // A document stored without a body empties the extension.
    const ULONG bare = StoreNew(22, "", 0);
    FakeDocument* g = nullptr;
    auto docG = Fake(&g);
    g->address = bare;
    g->body = "old";
    g->length = 3;
    LONG result = -1;
    ASSERT_EQ(docG->InitInnerDocExtension(0, &result), S_OK);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g->clears, 1);
    EXPECT_TRUE(g->body.empty());
    EXPECT_EQ(store_->InitDocExtension(0, nullptr, &result), E_POINTER);
    EXPECT_EQ(store_->InitDocExtension(0, docG.Get(), nullptr), E_POINTER);
}

TEST_F(MemoryDatabaseTest, GetDocExtensionHandsOutAFilledCopy) {
    const ULONG address = StoreNew(31, "stored body", 11);
    FakeDocument* c = nullptr;
    auto docC = Fake(&c);
    c->address = address;
    c->body = "mine";
    ComPtr<IUnknown> unknown;
    LONG result = -1;
    ASSERT_EQ(docC->GetDocExtension(0, unknown.GetAddressOf(), &result), S_OK);
    EXPECT_EQ(result, 1);
    ComPtr<IOrvDocExtension> extension;
    ASSERT_EQ(unknown.As(&extension), S_OK);
    Bstr body;
    LONG length = 0;
    ASSERT_EQ(extension->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(extension->get_Length(&length), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(body.Get()), body.ByteLength()), "stored body");
    EXPECT_EQ(length, 11);
    EXPECT_EQ(c->body, "mine");  // the document's own extension is not touched
}

TEST_F(MemoryDatabaseTest, ChangedDocumentsFollowTheirConditionAndTimeStamp) {
    const ULONG address = StoreNew(41, "first", 5);
    // Read, change and store again.
    FakeDocument* l = nullptr;
    auto docL = Fake(&l, 42);
    l->address = address;
    l->timeStamp = 1;
    LONG result = 0;
    ASSERT_EQ(docL->InitInnerDocExtension(0, &result), S_OK);
    l->body = "second";
    l->length = 6;
    ASSERT_EQ(docL->put_RecordCondition(2), S_OK);
    ASSERT_EQ(docL->Update(0), S_OK);
    EXPECT_EQ(l->timeStamp, 2u);
    EXPECT_EQ(l->condition, 0);
    StoredCopy s = Stored(address);
    EXPECT_EQ(s.record, l->record);
    EXPECT_EQ(s.body, "second");
    EXPECT_EQ(s.stamp, 2u);

    // A copy read before that store is refused, and the store is unchanged.
    FakeDocument* stale = nullptr;
    auto docS = Fake(&stale, 43);
    stale->address = address;
    stale->timeStamp = 1;
    stale->condition = 2;
    EXPECT_EQ(docS->Update(0), ORV_E_DOCUMENT_CHANGED);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.GetAddressOf()), S_OK);
    Bstr description;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    EXPECT_EQ(description.View(), LastError());
    EXPECT_FALSE(LastError().empty());
    EXPECT_EQ(Stored(address).record, l->record);
    EXPECT_EQ(stale->condition, 2);

    // An extension never read is not written over the stored one.
    FakeDocument* u = nullptr;
    auto docU = Fake(&u, 44);
    u->address = address;
    u->timeStamp = 2;
    u->condition = 2;
    ASSERT_EQ(docU->Update(0), S_OK);
    s = Stored(address);
    EXPECT_EQ(s.record, u->record);
    EXPECT_EQ(s.body, "second");
    EXPECT_EQ(s.stamp, 3u);

    // Unchanged: nothing stored. Unknown conditions: refused.
    FakeDocument* n = nullptr;
    auto docN = Fake(&n, 45);
    n->address = address;
    n->timeStamp = 3;
    ASSERT_EQ(docN->Update(0), S_OK);
    EXPECT_EQ(Stored(address).record, u->record);
    n->condition = 5;
    EXPECT_EQ(docN->Update(0), E_INVALIDARG);
    EXPECT_EQ(Stored(address).stamp, 3u);

    // A changed document from elsewhere is kept under its own address.
    FakeDocument* x = nullptr;
    auto docX = Fake(&x, 46);
    x->address = 50;
    x->timeStamp = 8;
    x->condition = 2;
    ASSERT_EQ(docX->Update(0), S_OK);
    EXPECT_EQ(Stored(50).stamp, 8u);
    EXPECT_EQ(StoreNew(47, "", 0), 51u);

    // Delete: the stored document goes, the document forgets its address.
    n->condition = 3;
    ASSERT_EQ(docN->Update(0), S_OK);
    EXPECT_EQ(Stored(address).hr, S_FALSE);
    EXPECT_EQ(n->address, 0u);
    EXPECT_EQ(n->timeStamp, 0u);
    EXPECT_EQ(n->condition, 0);
}

TEST_F(MemoryDatabaseTest, CollectorsAreStoredAndAttachedAsCopies) {
    auto collector = [](LONG id, std::vector<LONGLONG> sums) {
        ComPtr<IOrvSumCollector> c;
        EXPECT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&c), S_OK);
        c->put_Id(id);
        for (std::size_t i = 0; i < sums.size(); ++i) c->put_Sum(static_cast<LONG>(i), Cy(sums[i]));
        return c;
    };
    FakeDocument* a = nullptr;
    auto docA = Fake(&a, 51);
    auto seven = collector(7, {100});
    ASSERT_EQ(docA->AddSumCollector(7, seven.Get()), S_OK);
    ASSERT_EQ(docA->AddSumCollector(2, collector(2, {200, 300}).Get()), S_OK);
    ASSERT_EQ(docA->Update(0), S_OK);
    LONG count = 0;
    ASSERT_EQ(memory_->GetStoredCollectorCount(a->address, &count), S_OK);
    EXPECT_EQ(count, 2);
    // A change after the store does not reach it.
    ASSERT_EQ(seven->put_Sum(0, Cy(999)), S_OK);

    FakeDocument* b = nullptr;
    auto docB = Fake(&b, 52);
    b->address = a->address;
    auto own = collector(99, {1});
    ASSERT_EQ(docB->AddSumCollector(99, own.Get()), S_OK);
    ASSERT_EQ(docB->InitCollectors(0), S_OK);
    ASSERT_EQ(b->collectors.size(), 3u);  // its own one stays
    ComPtr<IOrvSumCollector> got;
    ASSERT_EQ(b->collectors[7].As(&got), S_OK);
    EXPECT_NE(got.Get(), seven.Get());
    CY v{};
    ASSERT_EQ(got->get_Sum(0, &v), S_OK);
    EXPECT_EQ(v.int64, 100);
    LONG id = 0;
    ASSERT_EQ(got->get_Id(&id), S_OK);
    EXPECT_EQ(id, 7);
    // Each attach hands out new copies: changing one leaves the store alone.
    ASSERT_EQ(got->put_Sum(0, Cy(5)), S_OK);
    ASSERT_EQ(docB->InitCollectors(0), S_OK);
    ComPtr<IOrvSumCollector> again;
    ASSERT_EQ(b->collectors[7].As(&again), S_OK);
    EXPECT_NE(again.Get(), got.Get());
    ASSERT_EQ(again->get_Sum(0, &v), S_OK);
    EXPECT_EQ(v.int64, 100);

    // A collector that cannot be copied stops the store before anything changes.
    FakeDocument* c = nullptr;
    auto docC = Fake(&c, 53);
    ComPtr<IOrvDateService> notACollector;
    ASSERT_EQ(orv::CreateObject<orv::host::OrvDateService>(&notACollector), S_OK);
    ASSERT_EQ(docC->AddSumCollector(1, notACollector.Get()), S_OK);
    const LONG before = Count();
    EXPECT_EQ(docC->Update(0), E_NOINTERFACE);
    EXPECT_EQ(Count(), before);
    EXPECT_EQ(c->address, 0u);
    EXPECT_FALSE(LastError().empty());
}

TEST_F(MemoryDatabaseTest, TransactionsRollBackAndAddressesAreNotGivenTwice) {
    LONG p1 = 0, p2 = 0;
    ASSERT_EQ(db_->OpenPipe(&p1), S_OK);
    ASSERT_EQ(db_->OpenPipe(&p2), S_OK);
    EXPECT_NE(p1, p2);
    const ULONG kept = StoreNew(61, "kept", 4);

    ASSERT_EQ(db_->BeginTransaction(p1), S_OK);
    EXPECT_EQ(db_->BeginTransaction(p2), E_UNEXPECTED);
    EXPECT_EQ(db_->CommitTransaction(p2), E_UNEXPECTED);
    const ULONG dropped = StoreNew(62, "", 0);
    FakeDocument* l = nullptr;
    auto docL = Fake(&l, 63);
    l->address = kept;
    l->timeStamp = 1;
    l->condition = 2;
    ASSERT_EQ(docL->Update(p1), S_OK);
    ASSERT_EQ(db_->RollbackTransaction(p1), S_OK);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Stored(dropped).hr, S_FALSE);
    StoredCopy s = Stored(kept);
    EXPECT_EQ(s.stamp, 1u);
    EXPECT_EQ(s.body, "kept");
    EXPECT_NE(s.record, l->record);
    EXPECT_GT(StoreNew(64, "", 0), dropped);

    ASSERT_EQ(db_->BeginTransaction(p2), S_OK);
    StoreNew(65, "", 0);
    ASSERT_EQ(db_->CommitTransaction(p2), S_OK);
    EXPECT_EQ(Count(), 3);

    // Closing a channel rolls its transaction back.
    ASSERT_EQ(db_->BeginTransaction(p2), S_OK);
    StoreNew(66, "", 0);
    ASSERT_EQ(db_->ClosePipe(p2), S_OK);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(db_->ClosePipe(p2), E_INVALIDARG);
    EXPECT_EQ(db_->BeginTransaction(p2), E_INVALIDARG);
    EXPECT_EQ(db_->RollbackTransaction(p1), E_UNEXPECTED);
}

TEST_F(MemoryDatabaseTest, AClosedDatabaseRefusesWorkUntilOpenedAgain) {
    StoreNew(71, "x", 1);
    ASSERT_EQ(db_->Close(), S_OK);
    VARIANT_BOOL open = VARIANT_TRUE;
    ASSERT_EQ(db_->get_IsOpen(&open), S_OK);
    EXPECT_EQ(open, VARIANT_FALSE);
    EXPECT_EQ(Count(), 0);
    FakeDocument* f = nullptr;
    auto doc = Fake(&f);
    EXPECT_EQ(doc->Update(0), E_UNEXPECTED);
    EXPECT_EQ(LastError(), u"The database is not open");
    ComPtr<IUnknown> made;
    EXPECT_EQ(db_->NewDocument(0, 10, made.GetAddressOf()), E_UNEXPECTED);
    ASSERT_EQ(db_->Open(Bstr(u"payroll")), S_OK);
    Bstr source;
    ASSERT_EQ(db_->get_Source(source.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(source.View(), u"payroll");
    ASSERT_EQ(doc->Update(0), S_OK);
    EXPECT_EQ(Count(), 1);
}

TEST_F(MemoryDatabaseTest, NumberingTablesKeepNumbersByKey) {
    ComPtr<IOrvNumbering> numbering;
    ASSERT_EQ(db_.As(&numbering), S_OK);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(numbering->get_NumberTable(unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvNumberTable> table;
    ASSERT_EQ(unknown.As(&table), S_OK);
    ASSERT_EQ(table->SetNumber(5, 15), S_OK);
    ASSERT_EQ(table->SetNumber(-3, 7), S_OK);
    LONG n = -1;
    ASSERT_EQ(table->GetNumber(5, &n), S_OK);
    EXPECT_EQ(n, 15);
    ASSERT_EQ(table->GetNumber(6, &n), S_OK);
    EXPECT_EQ(n, 0);
    LONG key = 0;
    ASSERT_EQ(table->GetEntry(0, &key, &n), S_OK);
    EXPECT_EQ(key, -3);
    EXPECT_EQ(table->GetEntry(2, &key, &n), E_INVALIDARG);
    ASSERT_EQ(table->SetNumber(5, 0), S_OK);  // 0 removes
    ASSERT_EQ(table->get_Count(&n), S_OK);
    EXPECT_EQ(n, 1);

    // The same table comes back; another default table is another table.
    ComPtr<IUnknown> same;
    ASSERT_EQ(numbering->GetTable(0, same.GetAddressOf()), S_OK);
    EXPECT_EQ(same.Get(), unknown.Get());
    ASSERT_EQ(numbering->put_DefaultTableId(3), S_OK);
    ComPtr<IUnknown> third;
    ASSERT_EQ(numbering->get_NumberTable(third.GetAddressOf()), S_OK);
    EXPECT_NE(third.Get(), unknown.Get());
    ASSERT_EQ(numbering->get_Count(&n), S_OK);
    EXPECT_EQ(n, 2);
}

TEST_F(MemoryDatabaseTest, DocumentsAreMadeFromStoredRecords) {
    // Three stored records: types and periods (day numbers at offsets 8 and 10).
    struct Row {
        int type, dn, dk;
    };
    const Row rows[] = {{10, 23377, 23466}, {10, 23528, 0}, {21, 23408, 23417}};  // 2025-01-01..03-31, 06-01.., 02-01..02-10
    std::vector<ULONG> addresses;
    std::vector<FakeDocument::Record> records;
    for (const Row& r : rows) {
        FakeDocument* f = nullptr;
        auto doc = Fake(&f, static_cast<unsigned>(r.dn));
        Put16(f->record, 2, r.type);
        Put16(f->record, 8, r.dn);
        Put16(f->record, 10, r.dk);
        std::memset(&f->record[262], 0, 4);
        ASSERT_EQ(doc->Update(0), S_OK);
        addresses.push_back(f->address);
        records.push_back(f->record);
    }
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db_->GetDocument(0, static_cast<LONG>(addresses[0]), unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    Bstr record;
    ASSERT_EQ(doc->get_DocRecord(record.ReleaseAndGetAddressOf()), S_OK);
    ASSERT_EQ(record.ByteLength(), 304u);
    EXPECT_EQ(std::memcmp(record.Get(), records[0].data(), 304), 0);
    ULONG value = 0;
    ASSERT_EQ(doc->get_DB_ADDR(&value), S_OK);
    EXPECT_EQ(value, addresses[0]);
    ASSERT_EQ(doc->get_TimeStamp(&value), S_OK);
    EXPECT_EQ(value, 1u);
    ComPtr<IUnknown> connected, self;
    ASSERT_EQ(doc->get_OrvBD(connected.GetAddressOf()), S_OK);
    ASSERT_EQ(db_.As(&self), S_OK);
    EXPECT_EQ(connected.Get(), self.Get());
    EXPECT_EQ(db_->GetDocument(0, 777, unknown.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_EQ(unknown.Get(), nullptr);

    // Selections by type and period, in address order.
    auto select = [&](LONG type, DATE from, DATE to) {
        ComPtr<IUnknown> listUnknown;
        EXPECT_EQ(db_->GetDocuments(0, nullptr, type, from, to, listUnknown.GetAddressOf()), S_OK);
        ComPtr<IOrvUnknownList> list;
        EXPECT_EQ(listUnknown.As(&list), S_OK);
        std::vector<ULONG> found;
        for (;;) {
            ComPtr<IUnknown> item;
            if (list->Next(item.GetAddressOf()) != S_OK || !item) break;
            ComPtr<IOrvDocument> d;
            EXPECT_EQ(item.As(&d), S_OK);
            ULONG a = 0;
            d->get_DB_ADDR(&a);
            found.push_back(a);
        }
        return found;
    };
    const DATE epoch = 22281.0;
    EXPECT_EQ(select(0, 0, 0), addresses);
    EXPECT_EQ(select(10, epoch + 23467, epoch + 23740), std::vector<ULONG>{addresses[1]});  // April to December
    EXPECT_EQ(select(10, epoch + 23408, epoch + 23435), std::vector<ULONG>{addresses[0]});  // February
    EXPECT_EQ(select(21, epoch + 23418, 0), std::vector<ULONG>{});

    EXPECT_EQ(db_->DeleteDocument(0, static_cast<LONG>(addresses[2])), S_OK);
    EXPECT_EQ(db_->DeleteDocument(0, static_cast<LONG>(addresses[2])), S_FALSE);
    EXPECT_EQ(Count(), 2);
}

TEST_F(MemoryDatabaseTest, TheServiceIsFreeWhileItCallsADocument) {
    const ULONG address = StoreNew(81, "body", 4);
    FakeDocument* l = nullptr;
    auto docL = Fake(&l);
    l->address = address;
    std::mutex m;
    std::condition_variable cv;
    bool inside = false, release = false;
    l->onBodyPut = [&] {
        std::unique_lock lock(m);
        inside = true;
        cv.notify_all();
        cv.wait_for(lock, std::chrono::seconds(10), [&] { return release; });
    };
    LONG result = 0;
    std::thread filler([&] { docL->InitInnerDocExtension(0, &result); });
    {
        std::unique_lock lock(m);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(10), [&] { return inside; }));
    }
    // The filling thread now holds document L's lock inside the service's
    // call. Other documents are stored meanwhile, from another thread.
    auto other = std::async(std::launch::async, [&] {
        StoreNew(82, "", 0);
        return Count();
    });
    const bool done = other.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    filler.join();
    ASSERT_TRUE(done) << "the service held its lock while calling the document";
    EXPECT_EQ(other.get(), 2);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(l->body, "body");
}

TEST_F(MemoryDatabaseTest, ConcurrentStoresGetDistinctAddresses) {
    constexpr int kThreads = 4, kEach = 50;
    std::vector<std::vector<std::pair<ULONG, FakeDocument::Record>>> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                FakeDocument* f = nullptr;
                auto doc = Fake(&f, static_cast<unsigned>(t * 1000 + i));
                if (doc->Update(t) == S_OK) results[t].emplace_back(f->address, f->record);
            }
        });
    }
    for (auto& th : threads) th.join();
    std::set<ULONG> seen;
    for (const auto& list : results) {
        ASSERT_EQ(list.size(), static_cast<std::size_t>(kEach));
        for (const auto& [address, record] : list) {
            EXPECT_TRUE(seen.insert(address).second);
            EXPECT_EQ(Stored(address).record, record);
        }
    }
    EXPECT_EQ(Count(), kThreads * kEach);
}

}  // namespace
