// The storage layer of the host's database service: every read and write of
// stored data goes through this one narrow interface, so the code serving the
// component contract (host/OrvMemoryDatabase.cpp and the reference-data
// components) holds no SQL. OpenSqliteStore gives the SQLite backend; a server
// backend would be a second implementation of Store.
//
// Dates are kept as day numbers (days after 1960-12-31, 0 = no date), money as
// raw currency values (value x 10000). Every member may be called from any
// thread: an implementation serialises the calls on its connection itself.
// Failures throw StoreError with a status and a text meant for the user.
#pragma once

#include <orvdocs/platform/oleauto.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The file is not a store of this host (another program's file, or not a
// database at all).
inline constexpr HRESULT ORV_E_STORE_NOT_A_STORE = MAKE_HRESULT(1, FACILITY_ITF, 0x0210);
// The store was written by a newer build, with a schema this build does not know.
inline constexpr HRESULT ORV_E_STORE_NEWER = MAKE_HRESULT(1, FACILITY_ITF, 0x0211);
// The store's file (or its folder, or its file system) cannot be written.
inline constexpr HRESULT ORV_E_STORE_READ_ONLY = MAKE_HRESULT(1, FACILITY_ITF, 0x0212);
// The storage engine failed (a read or write of the file failed, a damaged
// file, another process holding the store locked for longer than the wait).
inline constexpr HRESULT ORV_E_STORE_FAILED = MAKE_HRESULT(1, FACILITY_ITF, 0x0213);
// The disk (or the user's quota) holding the store is full: the write that
// needed the space was not stored; freeing space lets the same service go on.
inline constexpr HRESULT ORV_E_STORE_FULL = MAKE_HRESULT(1, FACILITY_ITF, 0x0214);

namespace orv::host::store {

// The newest schema version this build writes (PRAGMA user_version).
inline constexpr int kSchemaVersion = 2;

struct StoreError : std::runtime_error {
    StoreError(HRESULT status, const std::string& text) : std::runtime_error(text), hr(status) {}
    HRESULT hr;
};

using DocRecord = std::array<unsigned char, 304>;
using MonthRecord = std::array<unsigned char, 144>;
using TraceRecord = std::array<unsigned char, 84>;

// A sum collector as kept: its identifier and its "SMS" element (UTF-8).
struct CollectorRow {
    LONG id = 0;
    std::string xml;
};

struct DocumentRow {
    ULONG address = 0;
    DocRecord record{};
    bool hasBody = false;  // false: stored without an extension body
    std::string body;      // the body, byte for byte
    LONG length = 0;
    ULONG stamp = 0;
    LONG employee = 0;     // 0: not tied to an employee
    std::vector<CollectorRow> collectors;
};

// How a document reaches the store.
enum class WriteMode {
    New,      // a new address, time stamp 1
    Changed,  // replaces the stored one when the time stamps agree; unknown addresses are taken as given
    Replace,  // at the row's address whatever is stored there (loading): the stamp goes on from the stored one
};

struct WriteResult {
    bool stale = false;  // a changed document whose stored copy was stored again since it was read
    ULONG address = 0;
    ULONG stamp = 0;
};

// A replaced or deleted version of a document, kept by every write.
struct VersionRow {
    LONGLONG id = 0;            // ascending in the order versions were kept
    std::int64_t replacedAt = 0;  // seconds since 1970-01-01 UTC
    std::string user;           // the operating-system user of the writing process
    LONG pid = 0;               // its process id
    std::string operation;      // "change", "delete" or "restore"
    DocumentRow document;       // the version as it was stored (with its time stamp)
};

struct SettingRow {
    LONG id = 0;
    std::string kind;  // "short", "date" or "list"
    std::string name;
};
struct SettingValue {
    LONG fromDay = 0;  // in force from this day on
    LONG seq = 0;      // order inside one period of a list setting
    std::string value;
};

struct GradeRow {
    LONG fromDay = 0;
    LONG grade = 0;
    LONGLONG coefficient = 0;  // raw currency: 12345 is 1.2345
    LONG roundUp = 0;
    LONGLONG fixedSum = 0;     // raw currency
};

struct EntryRow {
    LONG list = 0;
    LONG index = 0;
    LONG id = 0;
    LONG kind = 0;
    std::string code, name, classId;
    SHORT flags[3] = {0, 0, 0};
};

struct EmployeeRow {
    LONG id = 0;
    std::string tabNum, fullName;
    LONG birth = 0, resignation = 0, firstEnter = 0, secondEnter = 0;
    LONG accountStatus = 0;  // 0: not paid through bank accounts
};
struct JobRow {
    LONG employee = 0, fromDay = 0, department = 0, position = 0, grade = 0;
};
struct AccountRow {
    LONG employee = 0, id = 0;
    std::string code, name;
};

struct TraceRow {
    LONG code = 0;
    TraceRecord record{};
};
struct MonthRow {
    LONG employee = 0;
    LONG monthDay = 0;  // the first day of the month
    MonthRecord record{};
    std::vector<TraceRow> traces;
};

class Store {
public:
    virtual ~Store() = default;

    // Where the store lives (a file path or ":memory:").
    virtual std::string Location() const = 0;
    // Bytes the store takes (its pages; a file store's main file).
    virtual LONGLONG SizeBytes() = 0;
    // "ok", or the engine's list of problems.
    virtual std::string IntegrityCheck() = 0;

    // ------------------------------------------------------------ transactions
    // One transaction of the host at a time; writes inside it become visible to
    // other connections at Commit. Writes outside a transaction are each their
    // own transaction.
    virtual void Begin() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() = 0;
    // Runs body, which calls this store's members, as one write: its own
    // transaction, or a savepoint inside the host's. A failure anywhere in it
    // undoes all of it. Other threads' calls wait until it ends.
    virtual void Atomically(const std::function<void()>& body) = 0;

    // --------------------------------------------------------------- documents
    virtual std::optional<DocumentRow> ReadDocument(ULONG address, bool withCollectors) = 0;
    // Record, address, stamp and employee of the documents of a type (0: all)
    // of an employee (0: all; documents tied to no employee always qualify)
    // whose period meets fromDay..toDay (0: open), in address order.
    virtual std::vector<DocumentRow> FindDocuments(LONG type, LONG employee, LONG fromDay, LONG toDay) = 0;
    virtual std::vector<ULONG> Addresses() = 0;
    virtual LONG DocumentCount() = 0;
    // Stores a document in one transaction (a savepoint inside the host's).
    // takeExtension false keeps the stored body and length of a changed
    // document. The replaced version goes to the history.
    virtual WriteResult WriteDocument(const DocumentRow& incoming, WriteMode mode, bool takeExtension) = 0;
    // Removes a stored document (kept in the history); false when none.
    virtual bool DeleteDocument(ULONG address) = 0;
    // Removes every stored document (the history keeps them).
    virtual void RemoveAllDocuments() = 0;
    // The kept versions of a document, oldest first.
    virtual std::vector<VersionRow> Versions(ULONG address) = 0;
    // Makes the kept version with the time stamp the latest again, with a new
    // time stamp; what it replaces is kept. Nothing kept under it: address 0.
    virtual WriteResult RestoreVersion(ULONG address, ULONG stamp) = 0;

    // -------------------------------------------------- values and numbering
    virtual std::optional<std::string> Value(const std::string& name) = 0;
    virtual void SetValue(const std::string& name, const std::string& value) = 0;
    // 1, 2, 3, ... over the store's life.
    virtual LONG NextId() = 0;
    virtual std::vector<LONG> NumberTables() = 0;
    virtual void AddNumberTable(LONG table) = 0;
    virtual std::vector<std::pair<LONG, LONG>> Numbers(LONG table) = 0;  // by key
    virtual void SetNumber(LONG table, LONG key, LONG number) = 0;       // 0 removes
    virtual LONG Number(LONG table, LONG key) = 0;                        // 0: none

    // ---------------------------------------------------------------- settings
    virtual std::vector<SettingRow> Settings() = 0;
    virtual std::optional<SettingRow> Setting(LONG id) = 0;
    virtual void PutSetting(const SettingRow& row) = 0;  // its values stay
    virtual std::vector<SettingValue> SettingValues(LONG id) = 0;  // by day, then seq
    virtual void AddSettingValue(LONG id, LONG fromDay, const std::string& value) = 0;
    virtual void ClearSettingValues(LONG id) = 0;

    // ---------------------------------------------- tariff table, currencies
    virtual std::vector<std::pair<LONG, LONGLONG>> Nominals() = 0;  // (from day, raw nominal)
    virtual void PutNominal(LONG fromDay, LONGLONG nominal) = 0;
    virtual std::vector<GradeRow> Grades() = 0;  // by day, then grade
    virtual void PutGrade(const GradeRow& row) = 0;
    virtual std::vector<std::pair<LONG, std::string>> Currencies() = 0;
    virtual void PutCurrency(LONG id, const std::string& name) = 0;
    virtual std::vector<std::pair<LONG, LONGLONG>> Rates(LONG currency) = 0;  // (from day, raw rate)
    virtual void PutRate(LONG currency, LONG fromDay, LONGLONG rate) = 0;

    // -------------------------------------------------------- reference lists
    virtual std::vector<std::pair<LONG, std::string>> Lists() = 0;
    virtual void PutList(LONG list, const std::string& name) = 0;
    virtual std::vector<EntryRow> Entries(LONG list) = 0;  // by index
    virtual std::optional<EntryRow> Entry(LONG list, LONG index) = 0;
    virtual void PutEntry(const EntryRow& row) = 0;  // replaces the entry at its index
    virtual bool DeleteEntry(LONG list, LONG index) = 0;

    // -------------------------------------------------------------- employees
    virtual std::vector<EmployeeRow> Employees() = 0;
    virtual std::optional<EmployeeRow> Employee(LONG id) = 0;
    virtual std::optional<EmployeeRow> EmployeeByTabNum(const std::string& tabNum) = 0;
    virtual void PutEmployee(const EmployeeRow& row) = 0;
    virtual std::vector<JobRow> Jobs(LONG employee) = 0;  // by day
    virtual void PutJob(const JobRow& row) = 0;
    virtual std::vector<AccountRow> Accounts(LONG employee) = 0;
    virtual void PutAccount(const AccountRow& row) = 0;

    // ---------------------------------------------------- months and traces
    // The employee's months from fromDay to toDay (0: no end) with their
    // traces, in month order; a month is in the window when its first day is.
    virtual std::vector<MonthRow> Months(LONG employee, LONG fromDay, LONG toDay) = 0;
    // Stores a month and replaces its traces.
    virtual void PutMonth(const MonthRow& row) = 0;
};

// Opens (creating when missing) the SQLite store at path, or an empty one in
// memory for ":memory:". A store written by an older build is migrated to
// kSchemaVersion; upToVersion (tests only) stops earlier.
std::shared_ptr<Store> OpenSqliteStore(const std::string& path, int upToVersion = kSchemaVersion);

}  // namespace orv::host::store
