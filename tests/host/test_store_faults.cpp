// The database service on a store file under disk faults made by a test file
// layer (fault_vfs.h): a full disk, a read-only file system, a failed write or
// sync in the middle of a transaction. Every failing call answers its status
// with a text naming the file; what was committed before is all there after
// reopening; the failed request left nothing behind; once the fault is gone
// the same service goes on. Two cases repeat the full disk and the read-only
// file system on a real file system (a small tmpfs, a read-only bind mount)
// where the process may mount, and are skipped where it may not.
#include "fault_vfs.h"
#include "store_test_util.h"

#include "host/store/Store.h"

#include <orvdocs/frame/options.h>

#include <map>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace storetest;
using faultvfs::Faults;

std::string Bytes(const Bstr& b) {
    return b.Get() ? std::string(reinterpret_cast<const char*>(b.Get()), b.ByteLength()) : std::string("<none>");
}

// Everything a host can see of a store: its text form and, for each stored
// document, what is stored and every kept version.
struct Snapshot {
    std::string text;
    std::map<ULONG, std::string> documents;

    static Snapshot Of(IOrvDatabase* db) {
        Snapshot s;
        auto view = View(db);
        Bstr text;
        EXPECT_EQ(view->ExportText(text.ReleaseAndGetAddressOf()), S_OK);
        s.text = text.Utf8();
        LONG count = 0;
        EXPECT_EQ(view->get_DocumentCount(&count), S_OK);
        for (LONG i = 0; i < count; ++i) {
            ULONG address = 0;
            EXPECT_EQ(view->GetAddress(i, &address), S_OK);
            Bstr record, body;
            LONG length = 0, collectors = 0, versions = 0;
            ULONG stamp = 0;
            EXPECT_EQ(view->GetStored(address, record.ReleaseAndGetAddressOf(), body.ReleaseAndGetAddressOf(), &length,
                                      &stamp),
                      S_OK);
            EXPECT_EQ(view->GetStoredCollectorCount(address, &collectors), S_OK);
            std::string all = Bytes(record) + "|" + Bytes(body) + "|" + std::to_string(length) + "|" +
                              std::to_string(stamp) + "|" + std::to_string(collectors);
            EXPECT_EQ(view->GetVersionCount(address, &versions), S_OK);
            for (LONG v = 0; v < versions; ++v) {
                ULONG vstamp = 0;
                Bstr operation, vrecord, vbody;
                LONG vlength = 0;
                EXPECT_EQ(view->GetVersion(address, v, &vstamp, nullptr, nullptr, nullptr,
                                           operation.ReleaseAndGetAddressOf(), vrecord.ReleaseAndGetAddressOf()),
                          S_OK);
                EXPECT_EQ(view->GetVersionExtension(address, v, vbody.ReleaseAndGetAddressOf(), &vlength), S_OK);
                all += "|v" + std::to_string(vstamp) + operation.Utf8() + Bytes(vrecord) + Bytes(vbody) +
                       std::to_string(vlength);
            }
            s.documents[address] = all;
        }
        return s;
    }
};

void ExpectSame(const Snapshot& got, const Snapshot& want) {
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.documents.size(), want.documents.size());
    for (const auto& [address, stored] : want.documents) {
        auto it = got.documents.find(address);
        ASSERT_NE(it, got.documents.end()) << "document " << address << " is gone";
        EXPECT_EQ(it->second, stored) << "document " << address << " differs";
    }
}

// A new document with a body of the given length; the failed Update leaves
// the object as it was, so the caller may store it again.
HRESULT NewDocument(IOrvDatabase* db, LONGLONG sum, std::size_t bodyLength, ComPtr<IOrvDocument>* out = nullptr) {
    ComPtr<IUnknown> unknown;
    if (HRESULT hr = db->NewDocument(0, 336, unknown.GetAddressOf()); FAILED(hr)) return hr;
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(unknown.As(&doc), S_OK);
    doc->put_Dcsum1(Cy(sum));
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc.As(&ext), S_OK);
    std::u16string body(bodyLength, u'a' + static_cast<char16_t>(sum % 26));
    ext->put_Body(Bstr(body));
    ext->put_Length(static_cast<LONG>(body.size()));
    const HRESULT hr = doc->Update(0);
    if (out) *out = doc;
    return hr;
}

// A stored document changed: a new sum and a new extension body.
HRESULT ChangeDocument(IOrvDatabase* db, ULONG address, LONGLONG sum, const std::u16string& body,
                       ComPtr<IOrvDocument>* out = nullptr) {
    ComPtr<IUnknown> unknown;
    if (HRESULT hr = db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()); hr != S_OK) return hr;
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(unknown.As(&doc), S_OK);
    LONG filled = 0;
    EXPECT_EQ(doc->InitInnerDocExtension(0, &filled), S_OK);
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc.As(&ext), S_OK);
    ext->put_Body(Bstr(body));
    ext->put_Length(static_cast<LONG>(body.size()));
    doc->put_Dcsum1(Cy(sum));
    doc->put_RecordCondition(2);
    const HRESULT hr = doc->Update(0);
    if (out) *out = doc;
    return hr;
}

// A text loading a setting and a reference list of many entries.
std::string ImportTextOf(int list, int entries) {
    std::string text = "<ORVSTORE><SETTING ID=\"" + std::to_string(5000 + list) +
                       "\" KIND=\"short\" NAME=\"fault\"><V FROM=\"2026-01-01\" VALUE=\"7\"/></SETTING>"
                       "<LIST ID=\"" + std::to_string(list) + "\" NAME=\"loaded\">";
    for (int i = 1; i <= entries; ++i)
        text += "<ENTRY INDEX=\"" + std::to_string(i) + "\" ID=\"" + std::to_string(i) + "\" CODE=\"" +
                std::to_string(i) + "\" NAME=\"" + std::string(200, 'n') + "\"/>";
    return text + "</LIST></ORVSTORE>";
}

ComPtr<IOrvListSetting> ListSetting(IOrvDatabase* db, LONG id) {
    ComPtr<IUnknown> settingsObject;
    EXPECT_EQ(db->get_Settings(settingsObject.GetAddressOf()), S_OK);
    ComPtr<IOrvSettings> settings;
    EXPECT_EQ(settingsObject.As(&settings), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(settings->get_Setting(id, unknown.GetAddressOf()), S_OK);
    ComPtr<IOrvListSetting> setting;
    if (unknown) {
        EXPECT_EQ(unknown.As(&setting), S_OK);
    }
    return setting;
}

ComPtr<IOrvNumberTable> NumberTable(IOrvDatabase* db) {
    ComPtr<IOrvNumbering> numbering;
    EXPECT_EQ(db->QueryInterface(IID_IOrvNumbering, reinterpret_cast<void**>(numbering.GetAddressOf())), S_OK);
    ComPtr<IUnknown> table;
    EXPECT_EQ(numbering->GetTable(0, table.GetAddressOf()), S_OK);
    ComPtr<IOrvNumberTable> numbers;
    EXPECT_EQ(table.As(&numbers), S_OK);
    return numbers;
}

// The thread's error information after a failed call: its text.
std::string ErrorInfoText() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return "<no error information>";
    Bstr text;
    info->GetDescription(text.ReleaseAndGetAddressOf());
    return text.Utf8();
}

std::string LastError(IOrvDatabase* db) {
    Bstr text;
    EXPECT_EQ(db->get_LastError(text.ReleaseAndGetAddressOf()), S_OK);
    return text.Utf8();
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class StoreFaults : public testing::Test {
protected:
    StoreFaults() : layer_(dir_.File("")) {}

    // Opens the store with the layer on, and some history in it: documents
    // with bodies, each changed once, the sample reference data.
    ComPtr<IOrvDatabase> OpenFilled(const std::string& name) {
        path_ = dir_.File(name);
        auto db = OpenFile(path_);
        for (int i = 0; i < 6; ++i) {
            const ULONG address = StoreDocument(db.Get(), 336, (10 + i) * 100, u"<BODY FIRST=\"" + std::u16string(50, u'x') + u"\"/>");
            EXPECT_NE(address, 0u);
            addresses_.push_back(address);
            EXPECT_EQ(ChangeDocument(db.Get(), address, (20 + i) * 100, u"<BODY SECOND=\"1\"/>"), S_OK);
        }
        EXPECT_EQ(Import(db.Get(), DataFile("reference.xml")), S_OK);
        return db;
    }

    // A failed call's status and texts: the status asked for, the file named,
    // the words that say what happened, in the error information and (for the
    // service's own calls) in LastError.
    void ExpectRefused(HRESULT got, HRESULT want, const std::vector<std::string>& words, IOrvDatabase* service,
                       const char* what) {
        EXPECT_EQ(got, want) << what;
        const std::string info = ErrorInfoText();
        EXPECT_TRUE(Has(info, path_)) << what << ": " << info;
        for (const auto& w : words) EXPECT_TRUE(Has(info, w)) << what << ": " << info;
        if (service) {
            const std::string last = LastError(service);
            EXPECT_TRUE(Has(last, path_)) << what << ": " << last;
            for (const auto& w : words) EXPECT_TRUE(Has(last, w)) << what << ": " << last;
        }
    }

    Registered env_;
    TempDir dir_;
    faultvfs::FaultLayer layer_;
    std::string path_;
    std::vector<ULONG> addresses_;
};

// ------------------------------------------------------------------ full disk

TEST_F(StoreFaults, AFullDiskRefusesEveryWriteWithItsOwnStatusAndLosesNothing) {
    auto db = OpenFilled("full.db");
    auto view = View(db.Get());

    // Documents with bodies until the disk is full.
    layer_.Set(Faults{.freeBytes = 256 * 1024});
    std::vector<ULONG> stored;
    ComPtr<IOrvDocument> refusedDoc;
    HRESULT hr = S_OK;
    for (int i = 0; i < 200 && hr == S_OK; ++i) {
        ComPtr<IOrvDocument> doc;
        hr = NewDocument(db.Get(), 10000 + i, 6000, &doc);
        if (hr == S_OK) {
            ULONG address = 0;
            doc->get_DB_ADDR(&address);
            stored.push_back(address);
        } else {
            refusedDoc = doc;
        }
    }
    ASSERT_TRUE(layer_.Seen().fired) << "the disk never filled";
    EXPECT_GT(stored.size(), 3u);
    ExpectRefused(hr, ORV_E_STORE_FULL, {"disk", "full", "nothing of the write was stored"}, db.Get(), "a new document");
    // The refused document is as it was: not stored, still new.
    ULONG address = 1;
    LONG condition = 0;
    refusedDoc->get_DB_ADDR(&address);
    refusedDoc->get_RecordCondition(&condition);
    EXPECT_EQ(address, 0u);
    EXPECT_EQ(condition, 1);
    const Snapshot before = Snapshot::Of(db.Get());
    EXPECT_EQ(before.documents.size(), addresses_.size() + stored.size());

    // No space at all: every kind of write is refused and changes nothing,
    // while everything stored reads as before.
    layer_.Set(Faults{.freeBytes = 0, .copyOnWrite = true});
    const std::vector<std::string> full = {"disk", "full"};
    ComPtr<IOrvDocument> changed;
    ExpectRefused(ChangeDocument(db.Get(), addresses_[0], 9900, u"<BODY THIRD=\"3\"/>", &changed), ORV_E_STORE_FULL,
                  full, db.Get(), "a changed document with its extension");
    ExpectRefused(NewDocument(db.Get(), 1, 10), ORV_E_STORE_FULL, full, db.Get(), "a small new document");
    ExpectRefused(db->DeleteDocument(0, static_cast<LONG>(addresses_[1])), ORV_E_STORE_FULL, full, db.Get(), "a deletion");
    ULONG newStamp = 0;
    ExpectRefused(view->RestoreVersion(addresses_[2], 1, &newStamp), ORV_E_STORE_FULL, full, db.Get(), "a restore");
    ExpectRefused(view->ImportText(Bstr::FromUtf8(ImportTextOf(77, 300))), ORV_E_STORE_FULL, full, db.Get(), "a load");
    ExpectRefused(view->RemoveAll(), ORV_E_STORE_FULL, full, db.Get(), "removing all documents");
    ExpectRefused(db->put_WorkMonth(46100.0), ORV_E_STORE_FULL, full, db.Get(), "the work month");
    LONG id = 0;
    ExpectRefused(db->NewId(0, &id), ORV_E_STORE_FULL, full, db.Get(), "a new identifier");
    auto setting = ListSetting(db.Get(), 773);
    ASSERT_TRUE(setting);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(u"99");
    ExpectRefused(setting->AddValue(46000.0, value), ORV_E_STORE_FULL, full, nullptr, "a setting's value");
    VariantClear(&value);
    ExpectRefused(setting->Clear(), ORV_E_STORE_FULL, full, nullptr, "clearing a setting");
    ExpectRefused(NumberTable(db.Get())->SetNumber(5, 55), ORV_E_STORE_FULL, full, nullptr, "a number");
    LONG pipe = 0;
    ASSERT_EQ(db->OpenPipe(&pipe), S_OK);
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    EXPECT_EQ(NewDocument(db.Get(), 2, 10), S_OK);  // kept in memory until the commit
    ExpectRefused(db->CommitTransaction(pipe), ORV_E_STORE_FULL, {"disk", "full", "transaction was rolled back"},
                  db.Get(), "a commit");
    EXPECT_EQ(db->RollbackTransaction(pipe), E_UNEXPECTED);  // the failed commit ended it
    EXPECT_TRUE(layer_.Seen().fired);
    ExpectSame(Snapshot::Of(db.Get()), before);
    EXPECT_EQ(StoredSum(db.Get(), addresses_[0]), 2000);

    // Space again: the same service and the same document objects go on.
    layer_.Clear();
    ASSERT_EQ(refusedDoc->Update(0), S_OK);
    refusedDoc->get_DB_ADDR(&address);
    EXPECT_NE(address, 0u);
    ASSERT_EQ(changed->Update(0), S_OK);
    EXPECT_EQ(StoredSum(db.Get(), addresses_[0]), 9900);
    ASSERT_EQ(view->ImportText(Bstr::FromUtf8(ImportTextOf(77, 300))), S_OK);
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    const ULONG inTransaction = StoreDocument(db.Get(), 7, 424200);
    ASSERT_EQ(db->CommitTransaction(pipe), S_OK);
    EXPECT_EQ(Integrity(db.Get()), "ok");
    const Snapshot after = Snapshot::Of(db.Get());
    EXPECT_EQ(after.documents.size(), before.documents.size() + 2);
    ASSERT_EQ(db->Close(), S_OK);

    // Reopened without the layer's limits: all of it, and a sound file.
    auto again = OpenFile(path_);
    ExpectSame(Snapshot::Of(again.Get()), after);
    EXPECT_EQ(StoredSum(again.Get(), inTransaction), 424200);
    EXPECT_EQ(Integrity(again.Get()), "ok");
}

// A transaction of the host whose writes outgrow the engine's cache: the
// engine writes pages out before the commit, the disk fills in the middle of
// a document's store, and the engine rolls the whole transaction back. The
// store says so, refuses further writes and the commit of the lost
// transaction (a write meant for it is never stored on its own), and works
// again once the host rolls back.
TEST_F(StoreFaults, AFullDiskInTheMiddleOfAHostTransactionEndsItWhole) {
    auto db = OpenFilled("transaction.db");
    const Snapshot before = Snapshot::Of(db.Get());
    LONG pipe = 0;
    ASSERT_EQ(db->OpenPipe(&pipe), S_OK);
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    layer_.Set(Faults{.freeBytes = 1024 * 1024});
    HRESULT hr = S_OK;
    int stored = 0;
    for (; stored < 40; ++stored) {
        hr = NewDocument(db.Get(), 500 + stored, 256 * 1024);  // half a megabyte each
        if (hr != S_OK) break;
    }
    ASSERT_TRUE(layer_.Seen().fired);
    ASSERT_GT(stored, 0);
    ExpectRefused(hr, ORV_E_STORE_FULL, {"disk", "full", "the whole transaction was rolled back"}, db.Get(),
                  "a document inside the transaction");
    layer_.Clear();
    // The lost transaction takes no more writes, nor a commit.
    ExpectRefused(NewDocument(db.Get(), 1, 10), ORV_E_STORE_FAILED, {"rolled back", "Roll it back"}, db.Get(),
                  "a write after the loss");
    ExpectRefused(db->put_WorkMonth(46100.0), ORV_E_STORE_FAILED, {"rolled back"}, db.Get(), "a value after the loss");
    ExpectSame(Snapshot::Of(db.Get()), before);
    ASSERT_EQ(db->RollbackTransaction(pipe), S_OK);
    ExpectSame(Snapshot::Of(db.Get()), before);

    // A new transaction works, and so does a write of its own.
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    const ULONG kept = StoreDocument(db.Get(), 7, 7700);
    ASSERT_EQ(db->CommitTransaction(pipe), S_OK);
    EXPECT_NE(StoreDocument(db.Get(), 7, 78), 0u);
    // The same with a commit the engine refuses after the loss.
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    layer_.Set(Faults{.freeBytes = 1024 * 1024});
    for (int i = 0; i < 40 && NewDocument(db.Get(), 900 + i, 256 * 1024) == S_OK; ++i) {
    }
    layer_.Clear();
    ExpectRefused(db->CommitTransaction(pipe), ORV_E_STORE_FAILED, {"rolled back"}, db.Get(), "the lost commit");
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    ASSERT_EQ(db->CommitTransaction(pipe), S_OK);
    ASSERT_EQ(db->Close(), S_OK);

    auto again = OpenFile(path_);
    EXPECT_EQ(Count(again.Get()), static_cast<LONG>(before.documents.size()) + 2);
    EXPECT_EQ(StoredSum(again.Get(), kept), 7700);
    EXPECT_EQ(Integrity(again.Get()), "ok");
}

// A load refused half way inside a transaction of the host leaves nothing of
// itself in the transaction, whether the disk filled or the text was wrong.
TEST_F(StoreFaults, ALoadRefusedHalfWayInsideAHostTransactionLeavesNothing) {
    auto db = OpenFilled("load.db");
    auto view = View(db.Get());
    LONG pipe = 0;
    ASSERT_EQ(db->OpenPipe(&pipe), S_OK);
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    const ULONG inside = StoreDocument(db.Get(), 7, 60600);
    const Snapshot before = Snapshot::Of(db.Get());
    // An element the loader does not know after a list it has stored.
    std::string bad = ImportTextOf(88, 20);
    bad.insert(bad.size() - std::string("</ORVSTORE>").size(), "<UNKNOWN/>");
    EXPECT_EQ(view->ImportText(Bstr::FromUtf8(bad)), E_INVALIDARG);
    ExpectSame(Snapshot::Of(db.Get()), before);
    ASSERT_EQ(db->CommitTransaction(pipe), S_OK);
    EXPECT_EQ(StoredSum(db.Get(), inside), 60600);
    ExpectSame(Snapshot::Of(db.Get()), before);
}

// --------------------------------------------------------- read-only files

TEST_F(StoreFaults, AStoreOnAReadOnlyFileSystemIsRefusedUntouched) {
    { OpenFilled("readonly.db"); }
    const std::string before = ReadFile(path_);
    ASSERT_FALSE(before.empty());
    layer_.Set(Faults{.readOnly = true});
    HRESULT hr = S_OK;
    auto db = OpenFile(path_, &hr);
    EXPECT_FALSE(db);
    ExpectRefused(hr, ORV_E_STORE_READ_ONLY, {"read-only"}, nullptr, "opening");
    EXPECT_EQ(ReadFile(path_), before);
    EXPECT_FALSE(std::filesystem::exists(path_ + "-wal"));
    // A store that would have to be made there cannot be.
    const std::string missing = path_;
    path_ = dir_.File("new.db");
    db = OpenFile(path_, &hr);
    EXPECT_FALSE(db);
    ExpectRefused(hr, ORV_E_STORE_READ_ONLY, {"cannot be written", "Read-only file system"}, nullptr, "making");
    EXPECT_FALSE(std::filesystem::exists(path_));
    layer_.Clear();
    EXPECT_EQ(Count(OpenFile(missing).Get()), 6);
}

// The file system turns read-only under an open service (a disk remounted
// read-only after errors): reading goes on, every write is refused with the
// read-only status and a text naming the file, the files stay byte for byte,
// closing is clean, and the store opens whole once it may be written again.
TEST_F(StoreFaults, AFileSystemTurningReadOnlyUnderAnOpenStoreStopsEveryWriteAndChangesNoByte) {
    auto db = OpenFilled("turned.db");
    auto view = View(db.Get());
    const Snapshot before = Snapshot::Of(db.Get());
    const std::string mainBytes = ReadFile(path_), walBytes = ReadFile(path_ + "-wal");
    ASSERT_FALSE(walBytes.empty());
    layer_.Set(Faults{.readOnly = true});

    const std::vector<std::string> words = {"cannot be written", "Read-only file system"};
    ExpectRefused(ChangeDocument(db.Get(), addresses_[0], 1, u"<B/>"), ORV_E_STORE_READ_ONLY, words, db.Get(), "a change");
    ExpectRefused(NewDocument(db.Get(), 1, 10), ORV_E_STORE_READ_ONLY, words, db.Get(), "a new document");
    ExpectRefused(db->DeleteDocument(0, static_cast<LONG>(addresses_[1])), ORV_E_STORE_READ_ONLY, words, db.Get(),
                  "a deletion");
    ULONG stamp = 0;
    ExpectRefused(view->RestoreVersion(addresses_[2], 1, &stamp), ORV_E_STORE_READ_ONLY, words, db.Get(), "a restore");
    ExpectRefused(view->ImportText(Bstr::FromUtf8(ImportTextOf(77, 50))), ORV_E_STORE_READ_ONLY, words, db.Get(),
                  "a load");
    ExpectRefused(view->RemoveAll(), ORV_E_STORE_READ_ONLY, words, db.Get(), "removing all");
    ExpectRefused(db->put_WorkMonth(46100.0), ORV_E_STORE_READ_ONLY, words, db.Get(), "the work month");
    ExpectRefused(NumberTable(db.Get())->SetNumber(5, 55), ORV_E_STORE_READ_ONLY, words, nullptr, "a number");
    auto setting = ListSetting(db.Get(), 773);
    ASSERT_TRUE(setting);
    ExpectRefused(setting->Clear(), ORV_E_STORE_READ_ONLY, words, nullptr, "clearing a setting");
    LONG pipe = 0;
    ASSERT_EQ(db->OpenPipe(&pipe), S_OK);
    ASSERT_EQ(db->BeginTransaction(pipe), S_OK);
    EXPECT_EQ(NewDocument(db.Get(), 2, 10), S_OK);
    ExpectRefused(db->CommitTransaction(pipe), ORV_E_STORE_READ_ONLY, {"cannot be written", "rolled back"}, db.Get(),
                  "a commit");
    // Reading is untouched.
    ExpectSame(Snapshot::Of(db.Get()), before);
    EXPECT_EQ(Integrity(db.Get()), "ok");
    ASSERT_EQ(db->Close(), S_OK);
    db.Reset();
    EXPECT_EQ(ReadFile(path_), mainBytes);
    EXPECT_EQ(ReadFile(path_ + "-wal"), walBytes);

    layer_.Clear();
    auto again = OpenFile(path_);
    ExpectSame(Snapshot::Of(again.Get()), before);
    EXPECT_EQ(Integrity(again.Get()), "ok");
}

// ------------------------------------------------------------ I/O errors

// One failed write, or one failed sync, at every point a change of a
// document with its extension reaches: the call answers the failure status
// with the file and the system's error named, the stored document is the
// previous version with its history as it was, and the same service stores
// the change when asked again.
TEST_F(StoreFaults, AnIoErrorAtAnyPointOfAWriteLeavesThePreviousVersion) {
    auto db = OpenFilled("ioerror.db");
    auto view = View(db.Get());
    LONGLONG sum = 5000000;
    for (const bool syncs : {false, true}) {
        int point = 0;
        for (;; ++point) {
            ASSERT_LT(point, 200) << "the write never ended";
            const Snapshot before = Snapshot::Of(db.Get());
            Faults faults;
            (syncs ? faults.failSyncAfter : faults.failWriteAfter) = point;
            layer_.Set(faults);
            sum += 100;
            ComPtr<IOrvDocument> doc;
            const std::u16string body = u"<BODY SUM=\"" + orv::Utf8ToUtf16(std::to_string(sum)) + u"\"/>";
            const HRESULT hr = ChangeDocument(db.Get(), addresses_[3], sum, body, &doc);
            const bool fired = layer_.Seen().fired;
            layer_.Clear();
            if (!fired) {
                ASSERT_EQ(hr, S_OK);
                break;
            }
            SCOPED_TRACE((syncs ? "sync " : "write ") + std::to_string(point));
            ExpectRefused(hr, ORV_E_STORE_FAILED, {"reading or writing", "Input/output error", "nothing of the write"},
                          db.Get(), "a change");
            ExpectSame(Snapshot::Of(db.Get()), before);
            EXPECT_EQ(Integrity(db.Get()), "ok");
            ASSERT_EQ(doc->Update(0), S_OK);
            EXPECT_EQ(StoredSum(db.Get(), addresses_[3]), sum);
        }
        EXPECT_GT(point, 0) << (syncs ? "no sync" : "no write");
        RecordProperty(syncs ? "failed_sync_points" : "failed_write_points", point);
    }
    // A load with a write failing in its middle loads nothing.
    const Snapshot before = Snapshot::Of(db.Get());
    layer_.Set(Faults{.failWriteAfter = 3});
    EXPECT_EQ(view->ImportText(Bstr::FromUtf8(ImportTextOf(66, 400))), ORV_E_STORE_FAILED);
    ASSERT_TRUE(layer_.Seen().fired);
    layer_.Clear();
    ExpectSame(Snapshot::Of(db.Get()), before);
    ASSERT_EQ(db->Close(), S_OK);

    auto again = OpenFile(path_);
    const Snapshot reopened = Snapshot::Of(again.Get());
    ExpectSame(reopened, before);
    EXPECT_EQ(StoredSum(again.Get(), addresses_[3]), sum);
    EXPECT_EQ(Integrity(again.Get()), "ok");
}

// A sync that fails at a commit: the call fails and the store reads the
// previous version. The bytes written before the sync are in the journal:
// a clean close drops them, but a process that dies before its next commit
// leaves them for the next opening, which finds the write stored.
TEST_F(StoreFaults, AFailedSyncAtACommitIsDroppedByACleanCloseAndFoundAfterACrash) {
    { OpenFilled("sync.db"); }
    const ULONG address = addresses_[4];
    for (const bool crash : {false, true}) {
        SCOPED_TRACE(crash ? "the process dies" : "a clean close");
        const pid_t child = fork();
        if (child == 0) {
            auto db = OpenFile(path_);
            // A first change starts the journal (its header has a sync of its
            // own), so the one sync of the second is the commit's.
            if (ChangeDocument(db.Get(), address, 330000, u"<BEFORE/>") != S_OK) _exit(2);
            layer_.Set(Faults{.failSyncAfter = 0});
            const HRESULT hr = ChangeDocument(db.Get(), address, crash ? 880000 : 770000, u"<AFTER/>");
            const bool failed = hr == ORV_E_STORE_FAILED && layer_.Seen().fired;
            const bool previous = StoredSum(db.Get(), address) == 330000;
            if (crash) _exit(failed && previous ? 0 : 1);
            db.Reset();
            _exit(failed && previous ? 0 : 1);
        }
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed commit was not reported, or was seen stored";
        auto db = OpenFile(path_);
        EXPECT_EQ(StoredSum(db.Get(), address), crash ? 880000 : 330000);
        EXPECT_EQ(Integrity(db.Get()), "ok");
    }
}

// ----------------------------------------------- real file systems, when allowed

// Moves the process into a mount namespace of its own (nothing it mounts is
// seen outside it) and mounts a fresh tmpfs with the options on the folder;
// false when the process may not mount.
bool MountTmpfs(const std::string& folder, const char* options) {
    if (unshare(CLONE_NEWNS) != 0) return false;
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    return mount("tmpfs", folder.c_str(), "tmpfs", 0, options) == 0;
}

TEST(StoreRealFaults, AFullTmpfsGivesTheSameStatusAndLosesNothing) {
    Registered env;
    TempDir dir;
    const std::string folder = dir.File("small");
    std::filesystem::create_directory(folder);
    if (!MountTmpfs(folder, "size=512k")) GTEST_SKIP() << "this process may not mount a tmpfs";
    const std::string path = folder + "/store.db";
    std::vector<std::pair<ULONG, LONGLONG>> stored;
    HRESULT hr = S_OK;
    {
        auto db = OpenFile(path);
        ASSERT_TRUE(db);
        for (int i = 0; i < 400 && hr == S_OK; ++i) {
            ComPtr<IOrvDocument> doc;
            hr = NewDocument(db.Get(), 10000 + 100 * i, 4000, &doc);
            ULONG address = 0;
            doc->get_DB_ADDR(&address);
            if (hr == S_OK) stored.emplace_back(address, 10000 + 100 * i);
        }
        EXPECT_EQ(hr, ORV_E_STORE_FULL);
        const std::string info = ErrorInfoText();
        EXPECT_TRUE(Has(info, path) && Has(info, "full")) << info;
        EXPECT_GT(stored.size(), 3u);
        for (const auto& [address, sum] : stored) EXPECT_EQ(StoredSum(db.Get(), address), sum);
    }
    // More space on the disk: the store opens whole and takes writes.
    ASSERT_EQ(mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT, "size=8m"), 0);
    {
        auto db = OpenFile(path);
        ASSERT_TRUE(db);
        EXPECT_EQ(Count(db.Get()), static_cast<LONG>(stored.size()));
        for (const auto& [address, sum] : stored) EXPECT_EQ(StoredSum(db.Get(), address), sum);
        EXPECT_EQ(Integrity(db.Get()), "ok");
        EXPECT_NE(StoreDocument(db.Get(), 7, 5), 0u);
    }
    umount2(folder.c_str(), MNT_DETACH);
}

TEST(StoreRealFaults, AReadOnlyBindMountIsRefusedEvenForTheSuperuser) {
    Registered env;
    TempDir dir;
    const std::string folder = dir.File("ro");
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/store.db";
    {
        auto db = OpenFile(path);
        ASSERT_NE(StoreDocument(db.Get(), 7, 100), 0u);
    }
    const std::string before = ReadFile(path);
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "this process may not mount";
    ASSERT_EQ(mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
    HRESULT hr = S_OK;
    auto db = OpenFile(path, &hr);
    EXPECT_FALSE(db);
    EXPECT_EQ(hr, ORV_E_STORE_READ_ONLY);
    const std::string info = ErrorInfoText();
    EXPECT_TRUE(Has(info, path) && Has(info, "read-only")) << info;
    EXPECT_EQ(ReadFile(path), before);
    umount2(folder.c_str(), MNT_DETACH);
}

}  // namespace
