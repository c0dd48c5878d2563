// The database service on a store file: what a run stores is there for the
// next one; other connections and other processes writing the same file lose
// nothing; a process killed in the middle of its updates leaves every
// committed document and a sound file; files that are not stores, stores of a
// newer schema and read-only files are refused untouched; older stores are
// migrated; every replaced version is kept and can be restored.
#include "store_test_util.h"

#include "host/store/Store.h"

#include <sqlite3.h>

#include <csignal>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace storetest;

// Runs body in a child process; returns its exit status (0 when it returned true).
template <class F>
pid_t Spawn(F&& body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body() ? 0 : 1);
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Raw SQL on a store file, as another program would do it.
void Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

TEST(StoreFile, WhatOneServiceStoredTheNextOneReadsBack) {
    Registered env;
    TempDir dir;
    const std::string path = dir.File("payroll.db");
    ULONG plain = 0, withBody = 0;
    {
        auto db = OpenFile(path);
        plain = StoreDocument(db.Get(), 7, 1500000);
        withBody = StoreDocument(db.Get(), 336, 0, u"<TCDOCEX NORMA_TOTAL=\"40\"/>");
        ComPtr<IOrvNumbering> numbering;
        ASSERT_EQ(db.As(&numbering), S_OK);
        ComPtr<IUnknown> table;
        ASSERT_EQ(numbering->get_NumberTable(table.GetAddressOf()), S_OK);
        ComPtr<IOrvNumberTable> numbers;
        ASSERT_EQ(table.As(&numbers), S_OK);
        ASSERT_EQ(numbers->SetNumber(5, 55), S_OK);
        ASSERT_EQ(db->put_WorkMonth(46000.0), S_OK);
        ASSERT_EQ(db->Close(), S_OK);
    }
    auto db = OpenFile(path);
    EXPECT_EQ(Count(db.Get()), 2);
    EXPECT_EQ(StoredSum(db.Get(), plain), 1500000);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db->GetDocument(0, static_cast<LONG>(withBody), unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    LONG result = 0;
    ASSERT_EQ(doc->InitInnerDocExtension(0, &result), S_OK);
    EXPECT_EQ(result, 1);
    ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc.As(&ext), S_OK);
    Bstr body;
    ASSERT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(body.View(), u"<TCDOCEX NORMA_TOTAL=\"40\"/>");
    ComPtr<IOrvNumbering> numbering;
    ASSERT_EQ(db.As(&numbering), S_OK);
    ComPtr<IUnknown> table;
    ASSERT_EQ(numbering->get_NumberTable(table.GetAddressOf()), S_OK);
    ComPtr<IOrvNumberTable> numbers;
    ASSERT_EQ(table.As(&numbers), S_OK);
    LONG n = 0;
    ASSERT_EQ(numbers->GetNumber(5, &n), S_OK);
    EXPECT_EQ(n, 55);
    DATE month = 0;
    ASSERT_EQ(db->get_WorkMonth(&month), S_OK);
    EXPECT_EQ(month, 46000.0);
    // New addresses go on after the stored ones.
    EXPECT_GT(StoreDocument(db.Get(), 7, 100), withBody);
    EXPECT_EQ(Integrity(db.Get()), "ok");
}

TEST(StoreFile, TwoConnectionsRefuseAStaleWriteAndShareTransactionsOnlyAtCommit) {
    Registered env;
    TempDir dir;
    const std::string path = dir.File("shared.db");
    auto a = OpenFile(path);
    auto b = OpenFile(path);
    const ULONG address = StoreDocument(a.Get(), 7, 1000);
    ASSERT_NE(address, 0u);

    // Both read stamp 1; the first store wins, the second is stale.
    ComPtr<IUnknown> ua, ub;
    ASSERT_EQ(a->GetDocument(0, static_cast<LONG>(address), ua.GetAddressOf()), S_OK);
    ASSERT_EQ(b->GetDocument(0, static_cast<LONG>(address), ub.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> da, dbDoc;
    ASSERT_EQ(ua.As(&da), S_OK);
    ASSERT_EQ(ub.As(&dbDoc), S_OK);
    da->put_Dcsum1(Cy(2000));
    da->put_RecordCondition(2);
    dbDoc->put_Dcsum1(Cy(3000));
    dbDoc->put_RecordCondition(2);
    ASSERT_EQ(da->Update(0), S_OK);
    EXPECT_EQ(dbDoc->Update(0), ORV_E_DOCUMENT_CHANGED);
    EXPECT_EQ(StoredSum(b.Get(), address), 2000);

    // A transaction of one connection is seen by the other only when committed.
    LONG pipe = 0;
    ASSERT_EQ(a->OpenPipe(&pipe), S_OK);
    ASSERT_EQ(a->BeginTransaction(pipe), S_OK);
    const ULONG inside = StoreDocument(a.Get(), 7, 500);
    ASSERT_NE(inside, 0u);
    EXPECT_EQ(StoredSum(b.Get(), inside), -1);
    ASSERT_EQ(a->CommitTransaction(pipe), S_OK);
    EXPECT_EQ(StoredSum(b.Get(), inside), 500);
}

// Several processes at once: each stores new documents and adds to one shared
// counter document, reading it and storing it again until its store is not
// stale. Nothing is lost: every document is there and the counter holds every
// addition.
TEST(StoreFile, ProcessesWritingOneFileLoseNothing) {
    Registered env;
    TempDir dir;
    const std::string path = dir.File("busy.db");
    ULONG counter = 0;
    {
        auto db = OpenFile(path);
        counter = StoreDocument(db.Get(), 7, 0);
        ASSERT_NE(counter, 0u);
    }
    constexpr int kProcesses = 3, kNew = 60, kAdds = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        children.push_back(Spawn([&, p] {
            auto db = OpenFile(path);
            if (!db) return false;
            for (int i = 0; i < kNew; ++i)
                if (StoreDocument(db.Get(), 7, (p + 1) * 100000LL + i * 100) == 0) return false;
            for (int i = 0; i < kAdds; ++i)
                if (!StepStoredSum(db.Get(), counter)) return false;
            return true;
        }));
    }
    for (pid_t child : children) EXPECT_EQ(Wait(child), 0);

    auto db = OpenFile(path);
    EXPECT_EQ(Count(db.Get()), 1 + kProcesses * kNew);
    EXPECT_EQ(StoredSum(db.Get(), counter), 100LL * kProcesses * kAdds);
    std::multiset<LONGLONG> sums;
    auto view = View(db.Get());
    for (LONG i = 0; i < Count(db.Get()); ++i) {
        ULONG address = 0;
        ASSERT_EQ(view->GetAddress(i, &address), S_OK);
        if (address != counter) sums.insert(StoredSum(db.Get(), address));
    }
    for (int p = 0; p < kProcesses; ++p)
        for (int i = 0; i < kNew; ++i) EXPECT_EQ(sums.count((p + 1) * 100000LL + i * 100), 1u);
    // Every addition replaced a version, and each was kept.
    LONG versions = 0;
    ASSERT_EQ(view->GetVersionCount(counter, &versions), S_OK);
    EXPECT_EQ(versions, kProcesses * kAdds);
    EXPECT_EQ(Integrity(db.Get()), "ok");
}

// A writer killed with SIGKILL between and during its updates: every update
// it reported as done is in the store, and the file opens and checks sound.
TEST(StoreFile, AKilledWriterLosesNoCommittedDocument) {
    Registered env;
    TempDir dir;
    const std::string path = dir.File("killed.db");
    { OpenFile(path); }
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = Spawn([&] {
        close(fds[0]);
        auto db = OpenFile(path);
        for (LONGLONG i = 1;; ++i) {
            const ULONG address = StoreDocument(db.Get(), 7, i * 100, u"<BODY N=\"" + orv::Utf8ToUtf16(std::to_string(i)) + u"\"/>");
            if (address == 0) return false;
            const ULONG report[2] = {address, static_cast<ULONG>(i)};
            if (write(fds[1], report, sizeof report) != static_cast<ssize_t>(sizeof report)) return false;
        }
    });
    close(fds[1]);
    std::vector<std::pair<ULONG, ULONG>> done;
    while (done.size() < 150) {
        ULONG report[2];
        if (read(fds[0], report, sizeof report) != static_cast<ssize_t>(sizeof report)) break;
        done.emplace_back(report[0], report[1]);
    }
    kill(child, SIGKILL);
    EXPECT_EQ(Wait(child), 128 + SIGKILL);
    close(fds[0]);
    ASSERT_EQ(done.size(), 150u);

    auto db = OpenFile(path);
    EXPECT_EQ(Integrity(db.Get()), "ok");
    EXPECT_GE(Count(db.Get()), 150);
    for (const auto& [address, i] : done) EXPECT_EQ(StoredSum(db.Get(), address), static_cast<LONGLONG>(i) * 100);
    // The store goes on working after the crash.
    EXPECT_NE(StoreDocument(db.Get(), 7, 100), 0u);
}

TEST(StoreFile, FilesThatCannotServeAreRefusedAndLeftAsTheyWere) {
    Registered env;
    TempDir dir;
    auto refused = [](const std::string& path, HRESULT expected) {
        const std::string before = ReadFile(path);
        HRESULT hr = S_OK;
        auto db = OpenFile(path, &hr);
        EXPECT_EQ(hr, expected) << path;
        EXPECT_FALSE(db);
        ComPtr<IErrorInfo> info;
        ASSERT_EQ(GetErrorInfo(0, info.GetAddressOf()), S_OK);
        Bstr text;
        info->GetDescription(text.ReleaseAndGetAddressOf());
        EXPECT_NE(text.Utf8().find(path), std::string::npos) << text.Utf8();
        EXPECT_EQ(ReadFile(path), before) << path;
        EXPECT_FALSE(std::filesystem::exists(path + "-wal")) << path;
    };

    // A text file.
    const std::string text = dir.File("notes.txt");
    { std::ofstream(text) << "payroll notes, not a database\n"; }
    refused(text, ORV_E_STORE_NOT_A_STORE);

    // Another program's SQLite database.
    const std::string other = dir.File("other.db");
    Sql(other, "CREATE TABLE t (x); INSERT INTO t VALUES (1);");
    refused(other, ORV_E_STORE_NOT_A_STORE);

    // A store of a newer schema.
    const std::string newer = dir.File("newer.db");
    { OpenFile(newer); }
    Sql(newer, "PRAGMA user_version=99");
    refused(newer, ORV_E_STORE_NEWER);

    // A read-only store.
    const std::string locked = dir.File("locked.db");
    {
        auto db = OpenFile(locked);
        StoreDocument(db.Get(), 7, 100);
    }
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    refused(locked, ORV_E_STORE_READ_ONLY);

    // A service whose Open was refused stays closed and says why.
    ComPtr<IOrvDatabase> db;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                               reinterpret_cast<void**>(db.GetAddressOf())),
              S_OK);
    EXPECT_EQ(db->Open(Bstr::FromUtf8(text)), ORV_E_STORE_NOT_A_STORE);
    VARIANT_BOOL open = VARIANT_TRUE;
    ASSERT_EQ(db->get_IsOpen(&open), S_OK);
    EXPECT_EQ(open, VARIANT_FALSE);
    Bstr last;
    ASSERT_EQ(db->get_LastError(last.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_NE(last.Utf8().find("not a document store"), std::string::npos);
    ComPtr<IUnknown> none;
    EXPECT_EQ(db->NewDocument(0, 7, none.GetAddressOf()), E_UNEXPECTED);
}

TEST(StoreFile, AStoreOfTheFirstSchemaIsMigratedWithItsDocuments) {
    Registered env;
    TempDir dir;
    const std::string path = dir.File("old.db");
    {
        auto old = orv::host::store::OpenSqliteStore(path, 1);
        orv::host::store::DocumentRow row;
        row.record[2] = 7;
        row.hasBody = true;
        row.body = "old body";
        row.length = 8;
        row.collectors.push_back({3, "<SMS ID=\"3\" SUM=\"1.5\"/>"});
        EXPECT_EQ(old->WriteDocument(row, orv::host::store::WriteMode::New, true).address, 1u);
    }
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* q = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw, "PRAGMA user_version", -1, &q, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(q), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(q, 0), 1);
    sqlite3_finalize(q);
    sqlite3_close(raw);

    auto db = OpenFile(path);
    EXPECT_EQ(Count(db.Get()), 1);
    LONG collectors = 0;
    ASSERT_EQ(View(db.Get())->GetStoredCollectorCount(1, &collectors), S_OK);
    EXPECT_EQ(collectors, 1);
    // The history the second schema step added works on the migrated document.
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(db->GetDocument(0, 1, unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvDocument> doc;
    ASSERT_EQ(unknown.As(&doc), S_OK);
    doc->put_Dcsum1(Cy(900));
    doc->put_RecordCondition(2);
    ASSERT_EQ(doc->Update(0), S_OK);
    LONG versions = 0;
    ASSERT_EQ(View(db.Get())->GetVersionCount(1, &versions), S_OK);
    EXPECT_EQ(versions, 1);
}

TEST(StoreFile, EveryReplacedVersionIsKeptAndCanBeRestored) {
    Registered env;
    TempDir dir;
    auto db = OpenFile(dir.File("history.db"));
    auto view = View(db.Get());
    const ULONG address = StoreDocument(db.Get(), 7, 100, u"first");
    for (LONGLONG sum : {200, 300}) {
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()), S_OK);
        ComPtr<IOrvDocument> doc;
        ASSERT_EQ(unknown.As(&doc), S_OK);
        doc->put_Dcsum1(Cy(sum));
        doc->put_RecordCondition(2);
        ASSERT_EQ(doc->Update(0), S_OK);
    }
    // The contract sees the latest only; the history the two it replaced.
    EXPECT_EQ(Count(db.Get()), 1);
    EXPECT_EQ(StoredSum(db.Get(), address), 300);
    LONG versions = 0;
    ASSERT_EQ(view->GetVersionCount(address, &versions), S_OK);
    ASSERT_EQ(versions, 2);
    ULONG stamp = 0;
    DATE when = 0;
    Bstr user, operation, record;
    LONG pid = 0;
    ASSERT_EQ(view->GetVersion(address, 0, &stamp, &when, user.ReleaseAndGetAddressOf(), &pid,
                               operation.ReleaseAndGetAddressOf(), record.ReleaseAndGetAddressOf()),
              S_OK);
    EXPECT_EQ(stamp, 1u);
    EXPECT_EQ(pid, static_cast<LONG>(getpid()));
    EXPECT_FALSE(user.Utf8().empty());
    EXPECT_EQ(operation.Utf8(), "change");
    EXPECT_GT(when, 45000.0);  // a date after 2023
    ASSERT_EQ(record.ByteLength(), 304u);
    EXPECT_EQ(view->GetVersion(address, 2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);

    // Restoring stamp 1 brings back its record and body under a new stamp;
    // the version it replaced (stamp 3) is kept.
    ULONG restored = 0;
    ASSERT_EQ(view->RestoreVersion(address, 1, &restored), S_OK);
    EXPECT_EQ(restored, 4u);
    EXPECT_EQ(StoredSum(db.Get(), address), 100);
    Bstr body;
    LONG length = 0;
    ULONG now = 0;
    ASSERT_EQ(view->GetStored(address, nullptr, body.ReleaseAndGetAddressOf(), &length, &now), S_OK);
    EXPECT_EQ(now, 4u);
    EXPECT_EQ(std::u16string(body.View()), u"first");
    ASSERT_EQ(view->GetVersionCount(address, &versions), S_OK);
    EXPECT_EQ(versions, 3);
    ASSERT_EQ(view->GetVersion(address, 2, &stamp, nullptr, nullptr, nullptr, operation.ReleaseAndGetAddressOf(), nullptr),
              S_OK);
    EXPECT_EQ(stamp, 3u);
    EXPECT_EQ(operation.Utf8(), "restore");
    EXPECT_EQ(view->RestoreVersion(address, 77, &restored), S_FALSE);

    // A deleted document can be brought back from its history.
    ASSERT_EQ(db->DeleteDocument(0, static_cast<LONG>(address)), S_OK);
    EXPECT_EQ(Count(db.Get()), 0);
    ASSERT_EQ(view->RestoreVersion(address, 4, &restored), S_OK);
    EXPECT_EQ(StoredSum(db.Get(), address), 100);
}

TEST(StoreFile, AHostTransactionRollsBackEveryStoreInIt) {
    Registered env;
    TempDir dir;
    auto db = OpenFile(dir.File("tx.db"));
    const ULONG kept = StoreDocument(db.Get(), 7, 100);
    LONG pipe = 0;
    ASSERT_EQ(db->OpenPipe(&pipe), S_OK);
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    const ULONG dropped = StoreDocument(db.Get(), 7, 200);
    ASSERT_EQ(db->DeleteDocument(0, static_cast<LONG>(kept)), S_OK);
    ASSERT_EQ(db->RollbackTransaction(pipe), S_OK);
    EXPECT_EQ(StoredSum(db.Get(), kept), 100);
    EXPECT_EQ(StoredSum(db.Get(), dropped), -1);
    LONG versions = -1;
    ASSERT_EQ(View(db.Get())->GetVersionCount(kept, &versions), S_OK);
    EXPECT_EQ(versions, 0);
    EXPECT_GT(StoreDocument(db.Get(), 7, 300), dropped);
}

}  // namespace

TEST(StoreFile, KeptVersionsGiveBackTheirOwnExtensionBody) {
    Registered env;
    TempDir dir;
    auto db = OpenFile(dir.File("extension-history.db"));
    auto view = View(db.Get());
    const ULONG address = StoreDocument(db.Get(), 7, 100, u"first");
    // Second version: a new body; third: no body at all.
    for (const std::u16string& body : {std::u16string(u"second body"), std::u16string()}) {
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()), S_OK);
        ComPtr<IOrvDocument> doc;
        ASSERT_EQ(unknown.As(&doc), S_OK);
        LONG result = -1;
        ASSERT_EQ(doc->InitInnerDocExtension(0, &result), S_OK);
        ComPtr<IOrvDocExtension> ext;
        ASSERT_EQ(unknown.As(&ext), S_OK);
        Bstr text(body);
        ASSERT_EQ(ext->put_Body(body.empty() ? nullptr : text.Get()), S_OK);
        ASSERT_EQ(ext->put_Length(static_cast<LONG>(body.size())), S_OK);
        doc->put_RecordCondition(2);
        ASSERT_EQ(doc->Update(0), S_OK);
    }
    LONG versions = 0;
    ASSERT_EQ(view->GetVersionCount(address, &versions), S_OK);
    ASSERT_EQ(versions, 2);
    Bstr body;
    LONG length = -1;
    ASSERT_EQ(view->GetVersionExtension(address, 0, body.ReleaseAndGetAddressOf(), &length), S_OK);
    ASSERT_NE(body.Get(), nullptr);
    EXPECT_EQ(std::u16string(body.View()), u"first");
    EXPECT_EQ(length, 5);
    ASSERT_EQ(view->GetVersionExtension(address, 1, body.ReleaseAndGetAddressOf(), &length), S_OK);
    ASSERT_NE(body.Get(), nullptr);
    EXPECT_EQ(std::u16string(body.View()), u"second body");
    EXPECT_EQ(length, 11);
    // The stored document has no body now, while its versions keep theirs.
    ASSERT_EQ(view->GetStored(address, nullptr, body.ReleaseAndGetAddressOf(), &length, nullptr), S_OK);
    EXPECT_EQ(body.Get(), nullptr);
    EXPECT_EQ(length, 0);
    // Past the end and before the start are refused, with the outputs cleared.
    length = 9;
    EXPECT_EQ(view->GetVersionExtension(address, 2, body.ReleaseAndGetAddressOf(), &length), E_INVALIDARG);
    EXPECT_EQ(body.Get(), nullptr);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(view->GetVersionExtension(address, -1, nullptr, nullptr), E_INVALIDARG);
    // An address without history has no version to give.
    EXPECT_EQ(view->GetVersionExtension(address + 1000, 0, nullptr, nullptr), E_INVALIDARG);
}
