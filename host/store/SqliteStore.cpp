// The SQLite backend of the storage layer: one connection per Store, its
// prepared statements kept for the connection's life, WAL journal for file
// stores, one write transaction per document write (a savepoint inside an open
// transaction of the host), a versioned schema migrated step by step.
#include "host/store/Store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace orv::host::store {
namespace {

#define kEmployeeSelect \
    "SELECT id, tab_num, full_name, birth, resignation, first_enter, second_enter, account_status FROM employees"

// "ORVD": marks a file as this host's store.
constexpr int kApplicationId = 0x4F525644;

// Schema steps: step n brings a store from version n to n + 1.
const char* const kMigrations[] = {
    // 0 -> 1: documents, numbering and reference data.
    R"(
CREATE TABLE store_values (name TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE documents (
  address INTEGER PRIMARY KEY, type INTEGER NOT NULL, dn INTEGER NOT NULL, dk INTEGER NOT NULL,
  employee INTEGER NOT NULL DEFAULT 0, record BLOB NOT NULL, body BLOB, length INTEGER NOT NULL,
  stamp INTEGER NOT NULL);
CREATE INDEX documents_by_type ON documents (type, address);
CREATE TABLE collectors (address INTEGER NOT NULL, id INTEGER NOT NULL, xml TEXT NOT NULL,
  PRIMARY KEY (address, id));
CREATE TABLE number_tables (table_id INTEGER PRIMARY KEY);
CREATE TABLE numbers (table_id INTEGER NOT NULL, key INTEGER NOT NULL, number INTEGER NOT NULL,
  PRIMARY KEY (table_id, key));
CREATE TABLE settings (id INTEGER PRIMARY KEY, kind TEXT NOT NULL, name TEXT NOT NULL);
CREATE TABLE setting_values (id INTEGER NOT NULL, from_day INTEGER NOT NULL, seq INTEGER NOT NULL,
  value TEXT NOT NULL, PRIMARY KEY (id, from_day, seq));
CREATE TABLE tariff_nominals (from_day INTEGER PRIMARY KEY, nominal INTEGER NOT NULL);
CREATE TABLE tariff_grades (from_day INTEGER NOT NULL, grade INTEGER NOT NULL, coefficient INTEGER NOT NULL,
  round_up INTEGER NOT NULL, fixed_sum INTEGER NOT NULL, PRIMARY KEY (from_day, grade));
CREATE TABLE currencies (id INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE currency_rates (currency INTEGER NOT NULL, from_day INTEGER NOT NULL, rate INTEGER NOT NULL,
  PRIMARY KEY (currency, from_day));
CREATE TABLE ref_lists (list_id INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE ref_entries (list_id INTEGER NOT NULL, idx INTEGER NOT NULL, id INTEGER NOT NULL,
  kind INTEGER NOT NULL, code TEXT NOT NULL, name TEXT NOT NULL, class_id TEXT NOT NULL,
  f1 INTEGER NOT NULL, f2 INTEGER NOT NULL, f3 INTEGER NOT NULL, PRIMARY KEY (list_id, idx));
CREATE TABLE employees (id INTEGER PRIMARY KEY, tab_num TEXT NOT NULL UNIQUE, full_name TEXT NOT NULL,
  birth INTEGER NOT NULL, resignation INTEGER NOT NULL, first_enter INTEGER NOT NULL,
  second_enter INTEGER NOT NULL, account_status INTEGER NOT NULL);
CREATE TABLE employee_jobs (employee INTEGER NOT NULL, from_day INTEGER NOT NULL, department INTEGER NOT NULL,
  position INTEGER NOT NULL, grade INTEGER NOT NULL, PRIMARY KEY (employee, from_day));
CREATE TABLE employee_accounts (employee INTEGER NOT NULL, account_id INTEGER NOT NULL, code TEXT NOT NULL,
  name TEXT NOT NULL, PRIMARY KEY (employee, account_id));
CREATE TABLE months (employee INTEGER NOT NULL, month_day INTEGER NOT NULL, record BLOB NOT NULL,
  PRIMARY KEY (employee, month_day));
CREATE TABLE traces (employee INTEGER NOT NULL, month_day INTEGER NOT NULL, code INTEGER NOT NULL,
  record BLOB NOT NULL, PRIMARY KEY (employee, month_day, code));
)",
    // 1 -> 2: the history of documents.
    R"(
CREATE TABLE document_versions (
  version_id INTEGER PRIMARY KEY AUTOINCREMENT, address INTEGER NOT NULL, stamp INTEGER NOT NULL,
  employee INTEGER NOT NULL, record BLOB NOT NULL, body BLOB, length INTEGER NOT NULL,
  replaced_at INTEGER NOT NULL, os_user TEXT NOT NULL, pid INTEGER NOT NULL, operation TEXT NOT NULL);
CREATE INDEX document_versions_by_address ON document_versions (address, version_id);
CREATE TABLE version_collectors (version_id INTEGER NOT NULL, id INTEGER NOT NULL, xml TEXT NOT NULL,
  PRIMARY KEY (version_id, id));
)",
};
static_assert(sizeof(kMigrations) / sizeof(kMigrations[0]) == kSchemaVersion);

LONG Day16(const DocRecord& r, std::size_t offset) {
    return static_cast<SHORT>(r[offset] | (r[offset + 1] << 8));
}

// The name of the process's effective user (its number when it has no name).
std::string OsUser() {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return std::to_string(geteuid());
}

class SqliteStore;

// A prepared statement of the connection, reset and unbound when the use ends.
class Use {
public:
    explicit Use(sqlite3_stmt* s) : s_(s) {}
    ~Use() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    Use& Bind(int i, LONGLONG v) {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    Use& Bind(int i, const std::string& v) {
        sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Use& BindBlob(int i, const void* data, std::size_t size) {
        // A zero-length blob stays a blob (not NULL).
        sqlite3_bind_blob(s_, i, size ? data : "", static_cast<int>(size), SQLITE_TRANSIENT);
        return *this;
    }
    Use& BindNull(int i) {
        sqlite3_bind_null(s_, i);
        return *this;
    }
    // True for a row, false at the end.
    bool Step();
    void Run() {
        while (Step()) {
        }
    }
    LONGLONG Int(int c) const { return sqlite3_column_int64(s_, c); }
    bool Null(int c) const { return sqlite3_column_type(s_, c) == SQLITE_NULL; }
    std::string Text(int c) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s_, c));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, c))) : std::string();
    }
    std::string Blob(int c) const {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(s_, c));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s_, c))) : std::string();
    }
    template <std::size_t N>
    void Fixed(int c, std::array<unsigned char, N>* out) const {
        out->fill(0);
        const std::string b = Blob(c);
        std::copy_n(b.begin(), std::min(b.size(), N), out->begin());
    }

private:
    sqlite3_stmt* s_;
};

// The file a connection works on, for texts ("in memory" for none).
std::string FileOf(sqlite3* db) {
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    return name && *name ? std::string(name) : std::string("in memory");
}

// The operating system's error (errno) behind an I/O error or a file that
// cannot be opened, 0 when unknown. The engine records it for some failures
// only (not for a failed commit); otherwise the file layer's last error is
// asked, and taken only when it is one a failed read, write or open gives, so
// an error left over from an earlier harmless call (a missing journal) is not
// reported as the cause.
int SystemError(sqlite3* db, int primary) {
    if (!db || (primary != SQLITE_IOERR && primary != SQLITE_CANTOPEN)) return 0;
    int sys = sqlite3_system_errno(db);
    if (sys == 0) {
        sqlite3_vfs* vfs = nullptr;
        if (sqlite3_file_control(db, "main", SQLITE_FCNTL_VFS_POINTER, &vfs) == SQLITE_OK && vfs && vfs->xGetLastError)
            sys = vfs->xGetLastError(vfs, 0, nullptr);
    }
    switch (sys) {
    case EIO:
    case EROFS:
    case EACCES:
    case EPERM:
    case ENOSPC:
    case EDQUOT:
        return sys;
    default:
        return 0;
    }
}

// What an engine failure means, as a status and a text that names the file:
// a full disk, a file that cannot be written, a failed read or write, a
// damaged file. An error the engine reports as a failed write may be a full
// disk (a quota) or a read-only file system underneath: the system's error
// decides.
[[noreturn]] void Throw(sqlite3* db, int rc, const std::string& what, const std::string& path = std::string()) {
    const int primary = rc & 0xFF;
    const int sys = SystemError(db, primary);
    const std::string file = path.empty() ? FileOf(db) : path;
    const std::string engine = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    const std::string system = sys ? " (" + std::system_category().message(sys) + ")" : std::string();
    HRESULT hr = ORV_E_STORE_FAILED;
    std::string text;
    if (primary == SQLITE_NOTADB) {
        hr = ORV_E_STORE_NOT_A_STORE;
        text = "the file " + file + " is not a database (" + engine + ")";
    } else if (primary == SQLITE_FULL || sys == ENOSPC || sys == EDQUOT) {
        hr = ORV_E_STORE_FULL;
        text = "the disk of the store " + file + " is full (" + engine + ")" + system;
    } else if (primary == SQLITE_READONLY || primary == SQLITE_PERM || sys == EROFS || sys == EACCES || sys == EPERM) {
        hr = ORV_E_STORE_READ_ONLY;
        text = "the store " + file + " cannot be written (" + engine + ")" + system;
    } else if (primary == SQLITE_IOERR) {
        text = "reading or writing the store " + file + " failed (" + engine + ")" + system;
    } else if (primary == SQLITE_CORRUPT) {
        text = "the store " + file + " is damaged (" + engine + ")";
    } else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        text = "another connection holds the store " + file + " locked (" + engine + ")";
    } else {
        text = "the store " + file + " failed (" + engine + ")" + system;
    }
    throw StoreError(hr, what + ": " + text);
}

bool Use::Step() {
    const int rc = sqlite3_step(s_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Throw(sqlite3_db_handle(s_), rc, "The store could not carry out a request");
}

class SqliteStore final : public Store {
public:
    SqliteStore(const std::string& path, int upToVersion) : path_(path), user_(OsUser()) {
        const bool memory = path == ":memory:";
        if (!memory) CheckFileBeforeOpen();
        int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
        if (rc != SQLITE_OK) {
            std::string text = "The store " + path + " cannot be opened";
            sqlite3* db = db_;
            db_ = nullptr;
            try {
                Throw(db, rc, text, path);
            } catch (...) {
                sqlite3_close(db);
                throw;
            }
        }
        try {
            sqlite3_extended_result_codes(db_, 1);
            sqlite3_busy_timeout(db_, 30000);
            if (!memory && sqlite3_db_readonly(db_, "main") == 1)
                throw StoreError(ORV_E_STORE_READ_ONLY, "The store " + path + " is read-only");
            try {
                CheckIsStore();
            } catch (const StoreError& e) {
                if (e.hr != ORV_E_STORE_NOT_A_STORE || std::string(e.what()).find("not a document store") != std::string::npos)
                    throw;
                throw StoreError(e.hr, "The file " + path + " is not a document store of this host (" + e.what() + ")");
            }
            if (!memory) {
                Exec("PRAGMA journal_mode=WAL");
                // FULL: a committed write survives a power failure as well as a killed process.
                Exec("PRAGMA synchronous=FULL");
            }
            Migrate(upToVersion);
        } catch (...) {
            Finalize();
            throw;
        }
    }
    ~SqliteStore() override { Finalize(); }

    std::string Location() const override { return path_; }

    LONGLONG SizeBytes() override {
        std::lock_guard lock(m_);
        Use pages(Prepare("PRAGMA page_count"));
        pages.Step();
        const LONGLONG count = pages.Int(0);
        Use size(Prepare("PRAGMA page_size"));
        size.Step();
        return count * size.Int(0);
    }

    std::string IntegrityCheck() override {
        std::lock_guard lock(m_);
        Use q(Prepare("PRAGMA integrity_check"));
        std::string all;
        while (q.Step()) {
            if (!all.empty()) all += "\n";
            all += q.Text(0);
        }
        return all;
    }

    // ---------------------------------------------------------- transactions
    void Begin() override {
        std::lock_guard lock(m_);
        if (hostTx_) throw StoreError(E_UNEXPECTED, "A transaction is already open");
        Exec("BEGIN IMMEDIATE");
        hostTx_ = true;
    }
    // A commit that fails leaves nothing of the transaction: what the engine
    // did not roll back itself is rolled back here, so the connection is
    // never left inside a transaction the host believes ended.
    void Commit() override {
        std::lock_guard lock(m_);
        if (!hostTx_) throw StoreError(E_UNEXPECTED, "No transaction is open");
        hostTx_ = false;
        if (hostTxLost_) {
            hostTxLost_ = false;
            throw StoreError(ORV_E_STORE_FAILED, LostText());
        }
        try {
            Exec("COMMIT");
        } catch (const StoreError& e) {
            RollbackQuietly();
            throw StoreError(e.hr, std::string(e.what()) + "; the transaction was rolled back, nothing of it was stored");
        }
    }
    void Rollback() override {
        std::lock_guard lock(m_);
        if (!hostTx_) throw StoreError(E_UNEXPECTED, "No transaction is open");
        hostTx_ = false;
        hostTxLost_ = false;
        if (!sqlite3_get_autocommit(db_)) Exec("ROLLBACK");
    }
    bool InTransaction() override {
        std::lock_guard lock(m_);
        return hostTx_;
    }
    void Atomically(const std::function<void()>& body) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            body();
            return 0;
        });
    }

    // ------------------------------------------------------------- documents
    std::optional<DocumentRow> ReadDocument(ULONG address, bool withCollectors) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT record, body, length, stamp, employee FROM documents WHERE address = ?"));
        q.Bind(1, address);
        if (!q.Step()) return std::nullopt;
        DocumentRow row;
        row.address = address;
        q.Fixed(0, &row.record);
        row.hasBody = !q.Null(1);
        row.body = q.Blob(1);
        row.length = static_cast<LONG>(q.Int(2));
        row.stamp = static_cast<ULONG>(q.Int(3));
        row.employee = static_cast<LONG>(q.Int(4));
        if (withCollectors) row.collectors = CollectorsOf("SELECT id, xml FROM collectors WHERE address = ? ORDER BY rowid", address);
        return row;
    }

    std::vector<DocumentRow> FindDocuments(LONG type, LONG employee, LONG fromDay, LONG toDay) override {
        std::lock_guard lock(m_);
        Use q(Prepare(
            "SELECT address, record, stamp, employee FROM documents WHERE (?1 = 0 OR type = ?1) "
            "AND (?2 = 0 OR employee = 0 OR employee = ?2) AND (?4 = 0 OR dn = 0 OR dn <= ?4) "
            "AND (?3 = 0 OR dk = 0 OR dk >= ?3) ORDER BY address"));
        q.Bind(1, type).Bind(2, employee).Bind(3, fromDay).Bind(4, toDay);
        std::vector<DocumentRow> rows;
        while (q.Step()) {
            DocumentRow& row = rows.emplace_back();
            row.address = static_cast<ULONG>(q.Int(0));
            q.Fixed(1, &row.record);
            row.stamp = static_cast<ULONG>(q.Int(2));
            row.employee = static_cast<LONG>(q.Int(3));
        }
        return rows;
    }

    std::vector<ULONG> Addresses() override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT address FROM documents ORDER BY address"));
        std::vector<ULONG> out;
        while (q.Step()) out.push_back(static_cast<ULONG>(q.Int(0)));
        return out;
    }

    LONG DocumentCount() override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT count(*) FROM documents"));
        q.Step();
        return static_cast<LONG>(q.Int(0));
    }

    WriteResult WriteDocument(const DocumentRow& in, WriteMode mode, bool takeExtension) override {
        std::lock_guard lock(m_);
        return InWrite([&] {
            WriteResult result;
            DocumentRow row = in;
            if (mode == WriteMode::New || row.address == 0) {
                row.address = NextAddress();
                row.stamp = 1;
                Insert(row);
            } else {
                std::optional<DocumentRow> stored = ReadLocked(row.address);
                if (!stored) {
                    if (row.stamp == 0) row.stamp = 1;
                    RaiseAddressFloor(row.address);
                    Insert(row);
                } else {
                    if (mode == WriteMode::Replace) row.stamp = stored->stamp;
                    if (stored->stamp != row.stamp) {
                        result.stale = true;
                        return result;
                    }
                    KeepVersion(*stored, "change");
                    row.stamp = row.stamp + 1 != 0 ? row.stamp + 1 : 1;
                    if (!takeExtension) {
                        row.hasBody = stored->hasBody;
                        row.body = stored->body;
                        row.length = stored->length;
                    }
                    if (row.employee == 0) row.employee = stored->employee;
                    Remove(row.address);
                    Insert(row);
                }
            }
            result.address = row.address;
            result.stamp = row.stamp;
            return result;
        });
    }

    bool DeleteDocument(ULONG address) override {
        std::lock_guard lock(m_);
        return InWrite([&] {
            std::optional<DocumentRow> stored = ReadLocked(address);
            if (!stored) return false;
            KeepVersion(*stored, "delete");
            Remove(address);
            return true;
        });
    }

    void RemoveAllDocuments() override {
        std::lock_guard lock(m_);
        InWrite([&] {
            for (ULONG address : AddressesLocked()) {
                if (auto stored = ReadLocked(address)) KeepVersion(*stored, "delete");
                Remove(address);
            }
            return 0;
        });
    }

    std::vector<VersionRow> Versions(ULONG address) override {
        std::lock_guard lock(m_);
        std::vector<VersionRow> out;
        {
            Use q(Prepare("SELECT version_id, stamp, employee, record, body, length, replaced_at, os_user, pid, operation "
                          "FROM document_versions WHERE address = ? ORDER BY version_id"));
            q.Bind(1, address);
            while (q.Step()) {
                VersionRow& v = out.emplace_back();
                v.id = q.Int(0);
                v.document.address = address;
                v.document.stamp = static_cast<ULONG>(q.Int(1));
                v.document.employee = static_cast<LONG>(q.Int(2));
                q.Fixed(3, &v.document.record);
                v.document.hasBody = !q.Null(4);
                v.document.body = q.Blob(4);
                v.document.length = static_cast<LONG>(q.Int(5));
                v.replacedAt = q.Int(6);
                v.user = q.Text(7);
                v.pid = static_cast<LONG>(q.Int(8));
                v.operation = q.Text(9);
            }
        }
        for (VersionRow& v : out)
            v.document.collectors =
                CollectorsOf("SELECT id, xml FROM version_collectors WHERE version_id = ? ORDER BY rowid", v.id);
        return out;
    }

    WriteResult RestoreVersion(ULONG address, ULONG stamp) override {
        std::lock_guard lock(m_);
        return InWrite([&] {
            WriteResult result;
            LONGLONG versionId = 0;
            {
                Use q(Prepare("SELECT max(version_id) FROM document_versions WHERE address = ? AND stamp = ?"));
                q.Bind(1, address).Bind(2, stamp);
                if (!q.Step() || q.Null(0)) return result;
                versionId = q.Int(0);
            }
            DocumentRow row;
            {
                Use q(Prepare("SELECT record, body, length, employee FROM document_versions WHERE version_id = ?"));
                q.Bind(1, versionId);
                q.Step();
                q.Fixed(0, &row.record);
                row.hasBody = !q.Null(1);
                row.body = q.Blob(1);
                row.length = static_cast<LONG>(q.Int(2));
                row.employee = static_cast<LONG>(q.Int(3));
            }
            row.collectors = CollectorsOf("SELECT id, xml FROM version_collectors WHERE version_id = ? ORDER BY rowid", versionId);
            row.address = address;
            ULONG newest = 0;
            {
                Use q(Prepare("SELECT max(stamp) FROM document_versions WHERE address = ?"));
                q.Bind(1, address);
                if (q.Step()) newest = static_cast<ULONG>(q.Int(0));
            }
            if (auto stored = ReadLocked(address)) {
                newest = std::max(newest, stored->stamp);
                KeepVersion(*stored, "restore");
                Remove(address);
            }
            row.stamp = newest + 1 != 0 ? newest + 1 : 1;
            Insert(row);
            result.address = address;
            result.stamp = row.stamp;
            return result;
        });
    }

    // ----------------------------------------------- values and numbering
    std::optional<std::string> Value(const std::string& name) override {
        std::lock_guard lock(m_);
        return ValueLocked(name);
    }
    void SetValue(const std::string& name, const std::string& value) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            SetValueLocked(name, value);
            return 0;
        });
    }
    LONG NextId() override {
        std::lock_guard lock(m_);
        return InWrite([&] {
            const auto v = ValueLocked("next_id");
            const LONG id = v ? static_cast<LONG>(std::stoll(*v)) : 1;
            SetValueLocked("next_id", std::to_string(id + 1));
            return id;
        });
    }
    std::vector<LONG> NumberTables() override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT table_id FROM number_tables ORDER BY table_id"));
        std::vector<LONG> out;
        while (q.Step()) out.push_back(static_cast<LONG>(q.Int(0)));
        return out;
    }
    void AddNumberTable(LONG table) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR IGNORE INTO number_tables (table_id) VALUES (?)")).Bind(1, table).Run();
            return 0;
        });
    }
    std::vector<std::pair<LONG, LONG>> Numbers(LONG table) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT key, number FROM numbers WHERE table_id = ? ORDER BY key"));
        q.Bind(1, table);
        std::vector<std::pair<LONG, LONG>> out;
        while (q.Step()) out.emplace_back(static_cast<LONG>(q.Int(0)), static_cast<LONG>(q.Int(1)));
        return out;
    }
    void SetNumber(LONG table, LONG key, LONG number) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR IGNORE INTO number_tables (table_id) VALUES (?)")).Bind(1, table).Run();
            if (number == 0)
                Use(Prepare("DELETE FROM numbers WHERE table_id = ? AND key = ?")).Bind(1, table).Bind(2, key).Run();
            else
                Use(Prepare("INSERT OR REPLACE INTO numbers (table_id, key, number) VALUES (?, ?, ?)"))
                    .Bind(1, table)
                    .Bind(2, key)
                    .Bind(3, number)
                    .Run();
            return 0;
        });
    }
    LONG Number(LONG table, LONG key) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT number FROM numbers WHERE table_id = ? AND key = ?"));
        q.Bind(1, table).Bind(2, key);
        return q.Step() ? static_cast<LONG>(q.Int(0)) : 0;
    }

    // -------------------------------------------------------------- settings
    std::vector<SettingRow> Settings() override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT id, kind, name FROM settings ORDER BY id"));
        std::vector<SettingRow> out;
        while (q.Step()) out.push_back({static_cast<LONG>(q.Int(0)), q.Text(1), q.Text(2)});
        return out;
    }
    std::optional<SettingRow> Setting(LONG id) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT kind, name FROM settings WHERE id = ?"));
        q.Bind(1, id);
        if (!q.Step()) return std::nullopt;
        return SettingRow{id, q.Text(0), q.Text(1)};
    }
    void PutSetting(const SettingRow& row) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO settings (id, kind, name) VALUES (?, ?, ?)"))
                .Bind(1, row.id)
                .Bind(2, row.kind)
                .Bind(3, row.name)
                .Run();
            return 0;
        });
    }
    std::vector<SettingValue> SettingValues(LONG id) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT from_day, seq, value FROM setting_values WHERE id = ? ORDER BY from_day, seq"));
        q.Bind(1, id);
        std::vector<SettingValue> out;
        while (q.Step()) out.push_back({static_cast<LONG>(q.Int(0)), static_cast<LONG>(q.Int(1)), q.Text(2)});
        return out;
    }
    void AddSettingValue(LONG id, LONG fromDay, const std::string& value) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT INTO setting_values (id, from_day, seq, value) VALUES (?1, ?2, "
                        "(SELECT coalesce(max(seq), -1) + 1 FROM setting_values WHERE id = ?1 AND from_day = ?2), ?3)"))
                .Bind(1, id)
                .Bind(2, fromDay)
                .Bind(3, value)
                .Run();
            return 0;
        });
    }
    void ClearSettingValues(LONG id) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("DELETE FROM setting_values WHERE id = ?")).Bind(1, id).Run();
            return 0;
        });
    }

    // ----------------------------------------- tariff table, currencies
    std::vector<std::pair<LONG, LONGLONG>> Nominals() override {
        std::lock_guard lock(m_);
        return Pairs("SELECT from_day, nominal FROM tariff_nominals ORDER BY from_day", std::nullopt);
    }
    void PutNominal(LONG fromDay, LONGLONG nominal) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO tariff_nominals (from_day, nominal) VALUES (?, ?)"))
                .Bind(1, fromDay)
                .Bind(2, nominal)
                .Run();
            return 0;
        });
    }
    std::vector<GradeRow> Grades() override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT from_day, grade, coefficient, round_up, fixed_sum FROM tariff_grades ORDER BY from_day, grade"));
        std::vector<GradeRow> out;
        while (q.Step())
            out.push_back({static_cast<LONG>(q.Int(0)), static_cast<LONG>(q.Int(1)), q.Int(2),
                           static_cast<LONG>(q.Int(3)), q.Int(4)});
        return out;
    }
    void PutGrade(const GradeRow& row) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO tariff_grades (from_day, grade, coefficient, round_up, fixed_sum) "
                        "VALUES (?, ?, ?, ?, ?)"))
                .Bind(1, row.fromDay)
                .Bind(2, row.grade)
                .Bind(3, row.coefficient)
                .Bind(4, row.roundUp)
                .Bind(5, row.fixedSum)
                .Run();
            return 0;
        });
    }
    std::vector<std::pair<LONG, std::string>> Currencies() override {
        std::lock_guard lock(m_);
        return Named("SELECT id, name FROM currencies ORDER BY id");
    }
    void PutCurrency(LONG id, const std::string& name) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO currencies (id, name) VALUES (?, ?)")).Bind(1, id).Bind(2, name).Run();
            return 0;
        });
    }
    std::vector<std::pair<LONG, LONGLONG>> Rates(LONG currency) override {
        std::lock_guard lock(m_);
        return Pairs("SELECT from_day, rate FROM currency_rates WHERE currency = ? ORDER BY from_day", currency);
    }
    void PutRate(LONG currency, LONG fromDay, LONGLONG rate) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO currency_rates (currency, from_day, rate) VALUES (?, ?, ?)"))
                .Bind(1, currency)
                .Bind(2, fromDay)
                .Bind(3, rate)
                .Run();
            return 0;
        });
    }

    // ------------------------------------------------------ reference lists
    std::vector<std::pair<LONG, std::string>> Lists() override {
        std::lock_guard lock(m_);
        return Named("SELECT list_id, name FROM ref_lists ORDER BY list_id");
    }
    void PutList(LONG list, const std::string& name) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO ref_lists (list_id, name) VALUES (?, ?)")).Bind(1, list).Bind(2, name).Run();
            return 0;
        });
    }
    std::vector<EntryRow> Entries(LONG list) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT list_id, idx, id, kind, code, name, class_id, f1, f2, f3 FROM ref_entries "
                      "WHERE list_id = ? ORDER BY idx"));
        q.Bind(1, list);
        std::vector<EntryRow> out;
        while (q.Step()) out.push_back(EntryOf(q));
        return out;
    }
    std::optional<EntryRow> Entry(LONG list, LONG index) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT list_id, idx, id, kind, code, name, class_id, f1, f2, f3 FROM ref_entries "
                      "WHERE list_id = ? AND idx = ?"));
        q.Bind(1, list).Bind(2, index);
        if (!q.Step()) return std::nullopt;
        return EntryOf(q);
    }
    void PutEntry(const EntryRow& e) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR IGNORE INTO ref_lists (list_id, name) VALUES (?, '')")).Bind(1, e.list).Run();
            Use(Prepare("INSERT OR REPLACE INTO ref_entries (list_id, idx, id, kind, code, name, class_id, f1, f2, f3) "
                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))
                .Bind(1, e.list)
                .Bind(2, e.index)
                .Bind(3, e.id)
                .Bind(4, e.kind)
                .Bind(5, e.code)
                .Bind(6, e.name)
                .Bind(7, e.classId)
                .Bind(8, e.flags[0])
                .Bind(9, e.flags[1])
                .Bind(10, e.flags[2])
                .Run();
            return 0;
        });
    }
    bool DeleteEntry(LONG list, LONG index) override {
        std::lock_guard lock(m_);
        return InWrite([&] {
            Use(Prepare("DELETE FROM ref_entries WHERE list_id = ? AND idx = ?")).Bind(1, list).Bind(2, index).Run();
            return sqlite3_changes(db_) > 0;
        });
    }

    // ------------------------------------------------------------ employees
    std::vector<EmployeeRow> Employees() override {
        std::lock_guard lock(m_);
        Use q(Prepare(kEmployeeSelect " ORDER BY id"));
        std::vector<EmployeeRow> out;
        while (q.Step()) out.push_back(EmployeeOf(q));
        return out;
    }
    std::optional<EmployeeRow> Employee(LONG id) override {
        std::lock_guard lock(m_);
        Use q(Prepare(kEmployeeSelect " WHERE id = ?"));
        q.Bind(1, id);
        if (!q.Step()) return std::nullopt;
        return EmployeeOf(q);
    }
    std::optional<EmployeeRow> EmployeeByTabNum(const std::string& tabNum) override {
        std::lock_guard lock(m_);
        Use q(Prepare(kEmployeeSelect " WHERE tab_num = ?"));
        q.Bind(1, tabNum);
        if (!q.Step()) return std::nullopt;
        return EmployeeOf(q);
    }
    void PutEmployee(const EmployeeRow& e) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO employees (id, tab_num, full_name, birth, resignation, first_enter, "
                        "second_enter, account_status) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"))
                .Bind(1, e.id)
                .Bind(2, e.tabNum)
                .Bind(3, e.fullName)
                .Bind(4, e.birth)
                .Bind(5, e.resignation)
                .Bind(6, e.firstEnter)
                .Bind(7, e.secondEnter)
                .Bind(8, e.accountStatus)
                .Run();
            return 0;
        });
    }
    std::vector<JobRow> Jobs(LONG employee) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT from_day, department, position, grade FROM employee_jobs WHERE employee = ? ORDER BY from_day"));
        q.Bind(1, employee);
        std::vector<JobRow> out;
        while (q.Step())
            out.push_back({employee, static_cast<LONG>(q.Int(0)), static_cast<LONG>(q.Int(1)),
                           static_cast<LONG>(q.Int(2)), static_cast<LONG>(q.Int(3))});
        return out;
    }
    void PutJob(const JobRow& j) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO employee_jobs (employee, from_day, department, position, grade) "
                        "VALUES (?, ?, ?, ?, ?)"))
                .Bind(1, j.employee)
                .Bind(2, j.fromDay)
                .Bind(3, j.department)
                .Bind(4, j.position)
                .Bind(5, j.grade)
                .Run();
            return 0;
        });
    }
    std::vector<AccountRow> Accounts(LONG employee) override {
        std::lock_guard lock(m_);
        Use q(Prepare("SELECT account_id, code, name FROM employee_accounts WHERE employee = ? ORDER BY account_id"));
        q.Bind(1, employee);
        std::vector<AccountRow> out;
        while (q.Step()) out.push_back({employee, static_cast<LONG>(q.Int(0)), q.Text(1), q.Text(2)});
        return out;
    }
    void PutAccount(const AccountRow& a) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO employee_accounts (employee, account_id, code, name) VALUES (?, ?, ?, ?)"))
                .Bind(1, a.employee)
                .Bind(2, a.id)
                .Bind(3, a.code)
                .Bind(4, a.name)
                .Run();
            return 0;
        });
    }

    // ------------------------------------------------ months and traces
    std::vector<MonthRow> Months(LONG employee, LONG fromDay, LONG toDay) override {
        std::lock_guard lock(m_);
        std::vector<MonthRow> out;
        {
            Use q(Prepare("SELECT month_day, record FROM months WHERE employee = ?1 AND month_day >= ?2 "
                          "AND (?3 = 0 OR month_day <= ?3) ORDER BY month_day"));
            q.Bind(1, employee).Bind(2, fromDay).Bind(3, toDay);
            while (q.Step()) {
                MonthRow& m = out.emplace_back();
                m.employee = employee;
                m.monthDay = static_cast<LONG>(q.Int(0));
                q.Fixed(1, &m.record);
            }
        }
        for (MonthRow& m : out) {
            Use q(Prepare("SELECT code, record FROM traces WHERE employee = ? AND month_day = ? ORDER BY code"));
            q.Bind(1, employee).Bind(2, m.monthDay);
            while (q.Step()) {
                TraceRow& t = m.traces.emplace_back();
                t.code = static_cast<LONG>(q.Int(0));
                q.Fixed(1, &t.record);
            }
        }
        return out;
    }
    void PutMonth(const MonthRow& m) override {
        std::lock_guard lock(m_);
        InWrite([&] {
            Use(Prepare("INSERT OR REPLACE INTO months (employee, month_day, record) VALUES (?, ?, ?)"))
                .Bind(1, m.employee)
                .Bind(2, m.monthDay)
                .BindBlob(3, m.record.data(), m.record.size())
                .Run();
            Use(Prepare("DELETE FROM traces WHERE employee = ? AND month_day = ?")).Bind(1, m.employee).Bind(2, m.monthDay).Run();
            for (const TraceRow& t : m.traces)
                Use(Prepare("INSERT OR REPLACE INTO traces (employee, month_day, code, record) VALUES (?, ?, ?, ?)"))
                    .Bind(1, m.employee)
                    .Bind(2, m.monthDay)
                    .Bind(3, t.code)
                    .BindBlob(4, t.record.data(), t.record.size())
                    .Run();
            return 0;
        });
    }

private:
    static EmployeeRow EmployeeOf(const Use& q) {
        EmployeeRow e;
        e.id = static_cast<LONG>(q.Int(0));
        e.tabNum = q.Text(1);
        e.fullName = q.Text(2);
        e.birth = static_cast<LONG>(q.Int(3));
        e.resignation = static_cast<LONG>(q.Int(4));
        e.firstEnter = static_cast<LONG>(q.Int(5));
        e.secondEnter = static_cast<LONG>(q.Int(6));
        e.accountStatus = static_cast<LONG>(q.Int(7));
        return e;
    }
    static EntryRow EntryOf(const Use& q) {
        EntryRow e;
        e.list = static_cast<LONG>(q.Int(0));
        e.index = static_cast<LONG>(q.Int(1));
        e.id = static_cast<LONG>(q.Int(2));
        e.kind = static_cast<LONG>(q.Int(3));
        e.code = q.Text(4);
        e.name = q.Text(5);
        e.classId = q.Text(6);
        for (int i = 0; i < 3; ++i) e.flags[i] = static_cast<SHORT>(q.Int(7 + i));
        return e;
    }

    // The connection's prepared statement for a text, prepared on first use.
    sqlite3_stmt* Prepare(const char* sql) {
        auto it = statements_.find(sql);
        if (it != statements_.end()) return it->second;
        sqlite3_stmt* s = nullptr;
        const int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
        if (rc != SQLITE_OK) Throw(db_, rc, "The store could not prepare a request");
        statements_.emplace(sql, s);
        return s;
    }

    void Exec(const char* sql) {
        const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) Throw(db_, rc, "The store could not carry out a request");
    }

    void RollbackQuietly() noexcept {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }

    std::string LostText() const {
        return "The transaction on the store " + path_ +
               " was rolled back when a write in it failed; nothing of it was stored. Roll it back and start again";
    }

    // Runs a write as its own transaction, or as a savepoint inside an open
    // one. A failed write undoes itself. The engine may answer a full disk or
    // an I/O error by rolling back the whole transaction around the write:
    // then a transaction of the host is marked lost, and its later writes and
    // its commit are refused until the host rolls it back, so no write meant
    // for it is stored on its own.
    template <class F>
    auto InWrite(F&& body) -> decltype(body()) {
        if (hostTx_ && hostTxLost_) throw StoreError(ORV_E_STORE_FAILED, LostText());
        const bool nested = !sqlite3_get_autocommit(db_);
        Exec(nested ? "SAVEPOINT write_one" : "BEGIN IMMEDIATE");
        ++depth_;
        try {
            auto result = body();
            Exec(nested ? "RELEASE write_one" : "COMMIT");
            --depth_;
            return result;
        } catch (const StoreError& e) {
            --depth_;
            if (!Undo(nested) && hostTx_) hostTxLost_ = true;
            // The outermost write says what the failure undid.
            if (depth_ > 0 || (e.hr != ORV_E_STORE_FULL && e.hr != ORV_E_STORE_FAILED && e.hr != ORV_E_STORE_READ_ONLY))
                throw;
            throw StoreError(e.hr, std::string(e.what()) +
                                       (hostTxLost_ ? "; the whole transaction was rolled back, nothing of it was stored"
                                                    : "; nothing of the write was stored"));
        } catch (...) {
            --depth_;
            if (!Undo(nested) && hostTx_) hostTxLost_ = true;
            throw;
        }
    }

    // Undoes a failed write: its savepoint inside an open transaction (true
    // when that transaction is still open), or its own transaction (true).
    bool Undo(bool nested) noexcept {
        if (!nested) {
            RollbackQuietly();
            return true;
        }
        if (sqlite3_get_autocommit(db_)) return false;  // the engine rolled the whole transaction back
        if (sqlite3_exec(db_, "ROLLBACK TO write_one; RELEASE write_one", nullptr, nullptr, nullptr) == SQLITE_OK)
            return true;
        RollbackQuietly();
        return false;
    }

    std::optional<std::string> ValueLocked(const std::string& name) {
        Use q(Prepare("SELECT value FROM store_values WHERE name = ?"));
        q.Bind(1, name);
        if (!q.Step()) return std::nullopt;
        return q.Text(0);
    }
    void SetValueLocked(const std::string& name, const std::string& value) {
        Use(Prepare("INSERT OR REPLACE INTO store_values (name, value) VALUES (?, ?)")).Bind(1, name).Bind(2, value).Run();
    }

    // The next document address: above every address the store or this
    // process ever gave, so an address given out in a rolled-back transaction
    // is not given again by this process.
    ULONG NextAddress() {
        const auto v = ValueLocked("next_address");
        LONGLONG next = v ? std::stoll(*v) : 1;
        next = std::max(next, addressFloor_);
        if (next < 1 || next > 0xFFFFFFFFLL) next = 1;
        addressFloor_ = next + 1;
        SetValueLocked("next_address", std::to_string(next + 1));
        return static_cast<ULONG>(next);
    }
    void RaiseAddressFloor(ULONG address) {
        const auto v = ValueLocked("next_address");
        const LONGLONG next = v ? std::stoll(*v) : 1;
        if (static_cast<LONGLONG>(address) >= next) SetValueLocked("next_address", std::to_string(LONGLONG(address) + 1));
    }

    std::optional<DocumentRow> ReadLocked(ULONG address) {
        Use q(Prepare("SELECT record, body, length, stamp, employee FROM documents WHERE address = ?"));
        q.Bind(1, address);
        if (!q.Step()) return std::nullopt;
        DocumentRow row;
        row.address = address;
        q.Fixed(0, &row.record);
        row.hasBody = !q.Null(1);
        row.body = q.Blob(1);
        row.length = static_cast<LONG>(q.Int(2));
        row.stamp = static_cast<ULONG>(q.Int(3));
        row.employee = static_cast<LONG>(q.Int(4));
        row.collectors = CollectorsOf("SELECT id, xml FROM collectors WHERE address = ? ORDER BY rowid", address);
        return row;
    }
    std::vector<ULONG> AddressesLocked() {
        Use q(Prepare("SELECT address FROM documents ORDER BY address"));
        std::vector<ULONG> out;
        while (q.Step()) out.push_back(static_cast<ULONG>(q.Int(0)));
        return out;
    }
    std::vector<CollectorRow> CollectorsOf(const char* sql, LONGLONG key) {
        Use q(Prepare(sql));
        q.Bind(1, key);
        std::vector<CollectorRow> out;
        while (q.Step()) out.push_back({static_cast<LONG>(q.Int(0)), q.Text(1)});
        return out;
    }

    void Insert(const DocumentRow& row) {
        Use q(Prepare("INSERT INTO documents (address, type, dn, dk, employee, record, body, length, stamp) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        q.Bind(1, row.address)
            .Bind(2, Day16(row.record, 2))
            .Bind(3, Day16(row.record, 8))
            .Bind(4, Day16(row.record, 10))
            .Bind(5, row.employee)
            .BindBlob(6, row.record.data(), row.record.size());
        if (row.hasBody)
            q.BindBlob(7, row.body.data(), row.body.size());
        else
            q.BindNull(7);
        q.Bind(8, row.length).Bind(9, row.stamp);
        q.Run();
        for (const CollectorRow& c : row.collectors)
            Use(Prepare("INSERT OR REPLACE INTO collectors (address, id, xml) VALUES (?, ?, ?)"))
                .Bind(1, row.address)
                .Bind(2, c.id)
                .Bind(3, c.xml)
                .Run();
    }
    void Remove(ULONG address) {
        Use(Prepare("DELETE FROM documents WHERE address = ?")).Bind(1, address).Run();
        Use(Prepare("DELETE FROM collectors WHERE address = ?")).Bind(1, address).Run();
    }
    void KeepVersion(const DocumentRow& old, const char* operation) {
        Use q(Prepare("INSERT INTO document_versions (address, stamp, employee, record, body, length, replaced_at, "
                      "os_user, pid, operation) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        q.Bind(1, old.address).Bind(2, old.stamp).Bind(3, old.employee).BindBlob(4, old.record.data(), old.record.size());
        if (old.hasBody)
            q.BindBlob(5, old.body.data(), old.body.size());
        else
            q.BindNull(5);
        q.Bind(6, old.length)
            .Bind(7, static_cast<LONGLONG>(std::time(nullptr)))
            .Bind(8, user_)
            .Bind(9, static_cast<LONGLONG>(getpid()))
            .Bind(10, std::string(operation));
        q.Run();
        const LONGLONG version = sqlite3_last_insert_rowid(db_);
        for (const CollectorRow& c : old.collectors)
            Use(Prepare("INSERT INTO version_collectors (version_id, id, xml) VALUES (?, ?, ?)"))
                .Bind(1, version)
                .Bind(2, c.id)
                .Bind(3, c.xml)
                .Run();
    }

    std::vector<std::pair<LONG, LONGLONG>> Pairs(const char* sql, std::optional<LONG> key) {
        Use q(Prepare(sql));
        if (key) q.Bind(1, *key);
        std::vector<std::pair<LONG, LONGLONG>> out;
        while (q.Step()) out.emplace_back(static_cast<LONG>(q.Int(0)), q.Int(1));
        return out;
    }
    std::vector<std::pair<LONG, std::string>> Named(const char* sql) {
        Use q(Prepare(sql));
        std::vector<std::pair<LONG, std::string>> out;
        while (q.Step()) out.emplace_back(static_cast<LONG>(q.Int(0)), q.Text(1));
        return out;
    }

    // A file that cannot be written is refused before the engine touches it.
    void CheckFileBeforeOpen() {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path file(path_);
        if (fs::exists(file, ec)) {
            // A file without write permission bits is taken as read-only even
            // for a user whom the system would let write it (the superuser).
            const auto perms = fs::status(file, ec).permissions();
            const bool marked = (perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) ==
                                fs::perms::none;
            if (marked || access(path_.c_str(), W_OK) != 0)
                throw StoreError(ORV_E_STORE_READ_ONLY, "The store " + path_ + " is read-only");
        }
        fs::path folder = file.parent_path();
        if (folder.empty()) folder = ".";
        if (access(folder.c_str(), W_OK) != 0)
            throw StoreError(ORV_E_STORE_READ_ONLY,
                             "The folder of the store " + path_ + " cannot be written (the store keeps its journal there)");
    }

    // Refuses a file that holds another program's data, or a schema newer than
    // this build's, before anything is written to it.
    void CheckIsStore() {
        LONGLONG appId = 0, version = 0, objects = 0;
        {
            Use q(Prepare("PRAGMA application_id"));
            q.Step();
            appId = q.Int(0);
        }
        {
            Use q(Prepare("PRAGMA user_version"));
            q.Step();
            version = q.Int(0);
        }
        {
            Use q(Prepare("SELECT count(*) FROM sqlite_schema"));
            q.Step();
            objects = q.Int(0);
        }
        if (appId != kApplicationId && (appId != 0 || objects != 0 || version != 0))
            throw StoreError(ORV_E_STORE_NOT_A_STORE, "The file " + path_ + " is not a document store of this host");
        if (version > kSchemaVersion)
            throw StoreError(ORV_E_STORE_NEWER, "The store " + path_ + " has schema version " + std::to_string(version) +
                                                    ", newer than this program's " + std::to_string(kSchemaVersion) +
                                                    "; open it with a newer build");
    }

    LONGLONG Pragma(const char* sql) {
        Use q(Prepare(sql));
        q.Step();
        return q.Int(0);
    }

    // Brings the schema up to version upTo; a store already there is not written.
    void Migrate(int upTo) {
        if (Pragma("PRAGMA user_version") >= upTo && Pragma("PRAGMA application_id") == kApplicationId) return;
        // Statements of the old schema are not kept past its change.
        for (auto& [sql, s] : statements_) sqlite3_finalize(s);
        statements_.clear();
        Exec("BEGIN IMMEDIATE");
        try {
            LONGLONG version = 0;
            {
                Use q(Prepare("PRAGMA user_version"));
                q.Step();
                version = q.Int(0);
            }
            if (version > kSchemaVersion)
                throw StoreError(ORV_E_STORE_NEWER, "The store " + path_ + " has a newer schema than this program's");
            for (; version < upTo; ++version) Exec(kMigrations[version]);
            Exec(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str());
            Exec(("PRAGMA user_version=" + std::to_string(version)).c_str());
            Exec("COMMIT");
        } catch (...) {
            if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        // Statements prepared before the schema changed are prepared again.
        for (auto& [sql, s] : statements_) sqlite3_finalize(s);
        statements_.clear();
    }

    void Finalize() noexcept {
        for (auto& [sql, s] : statements_) sqlite3_finalize(s);
        statements_.clear();
        if (db_) {
            if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db_);
        }
        db_ = nullptr;
    }

    std::string path_;
    std::string user_;  // who writes the versions this connection keeps
    std::recursive_mutex m_;
    sqlite3* db_ = nullptr;
    std::map<const char*, sqlite3_stmt*> statements_;  // keyed by the literal's address
    bool hostTx_ = false;
    bool hostTxLost_ = false;  // the engine rolled the host's transaction back under a failed write
    int depth_ = 0;            // writes running, one inside the other
    LONGLONG addressFloor_ = 1;
};

}  // namespace

std::shared_ptr<Store> OpenSqliteStore(const std::string& path, int upToVersion) {
    if (upToVersion < 1 || upToVersion > kSchemaVersion) upToVersion = kSchemaVersion;
    return std::make_shared<SqliteStore>(path, upToVersion);
}

}  // namespace orv::host::store
