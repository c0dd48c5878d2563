#include "fault_vfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>
#include <stdexcept>
#include <sys/stat.h>

namespace faultvfs {
namespace {

struct State {
    std::mutex m;
    std::string folder;  // empty: nothing watched
    Faults faults;
    Counts counts;
    int lastErrno = 0;  // the system error of the last fault
};

State& Global() {
    static State state;
    return state;
}

sqlite3_vfs* g_real = nullptr;      // the unix layer
sqlite3_vfs* g_previous = nullptr;  // the default before a FaultLayer
sqlite3_vfs g_vfs;
sqlite3_io_methods g_methods;

struct File {
    sqlite3_file base;
    bool watched;
    sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(this) + sizeof(File)); }
};

File* Of(sqlite3_file* f) { return reinterpret_cast<File*>(f); }

bool Watched(const char* path) {
    State& s = Global();
    std::lock_guard lock(s.m);
    return path && !s.folder.empty() && std::strncmp(path, s.folder.c_str(), s.folder.size()) == 0;
}

// Records a fault's system error and answers its engine status.
int Fault(State& s, int sysErrno, int status) {
    s.lastErrno = sysErrno;
    s.counts.fired = true;
    errno = sysErrno;
    return status;
}

int Close(sqlite3_file* f) {
    const int rc = Of(f)->Real()->pMethods->xClose(Of(f)->Real());
    return rc;
}
int Read(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
    return Of(f)->Real()->pMethods->xRead(Of(f)->Real(), buf, amount, offset);
}
int Write(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
    File* file = Of(f);
    sqlite3_file* real = file->Real();
    if (file->watched) {
        State& s = Global();
        std::lock_guard lock(s.m);
        ++s.counts.writes;
        if (s.faults.readOnly) return Fault(s, EROFS, SQLITE_IOERR_WRITE);
        if (s.faults.failWriteAfter >= 0 && s.counts.writes > s.faults.failWriteAfter) {
            s.faults.failWriteAfter = -1;
            return Fault(s, EIO, SQLITE_IOERR_WRITE);
        }
        if (s.faults.freeBytes >= 0) {
            sqlite3_int64 size = 0;
            if (real->pMethods->xFileSize(real, &size) != SQLITE_OK) return SQLITE_IOERR_FSTAT;
            const sqlite3_int64 needed =
                s.faults.copyOnWrite ? amount : std::max<sqlite3_int64>(0, offset + amount - size);
            if (needed > s.faults.freeBytes) return Fault(s, ENOSPC, SQLITE_FULL);
            s.faults.freeBytes -= needed;
        }
    }
    return real->pMethods->xWrite(real, buf, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
    File* file = Of(f);
    sqlite3_file* real = file->Real();
    if (file->watched) {
        State& s = Global();
        std::lock_guard lock(s.m);
        if (s.faults.readOnly) return Fault(s, EROFS, SQLITE_IOERR_TRUNCATE);
        sqlite3_int64 before = 0;
        if (s.faults.freeBytes >= 0 && real->pMethods->xFileSize(real, &before) == SQLITE_OK && before > size)
            s.faults.freeBytes += before - size;
    }
    return real->pMethods->xTruncate(real, size);
}
int Sync(sqlite3_file* f, int flags) {
    File* file = Of(f);
    if (file->watched) {
        State& s = Global();
        std::lock_guard lock(s.m);
        ++s.counts.syncs;
        if (s.faults.failSyncAfter >= 0 && s.counts.syncs > s.faults.failSyncAfter) {
            s.faults.failSyncAfter = -1;
            return Fault(s, EIO, SQLITE_IOERR_FSYNC);
        }
    }
    return file->Real()->pMethods->xSync(file->Real(), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) { return Of(f)->Real()->pMethods->xFileSize(Of(f)->Real(), size); }
int Lock(sqlite3_file* f, int level) { return Of(f)->Real()->pMethods->xLock(Of(f)->Real(), level); }
int Unlock(sqlite3_file* f, int level) { return Of(f)->Real()->pMethods->xUnlock(Of(f)->Real(), level); }
int CheckReservedLock(sqlite3_file* f, int* out) {
    return Of(f)->Real()->pMethods->xCheckReservedLock(Of(f)->Real(), out);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
    return Of(f)->Real()->pMethods->xFileControl(Of(f)->Real(), op, arg);
}
int SectorSize(sqlite3_file* f) { return Of(f)->Real()->pMethods->xSectorSize(Of(f)->Real()); }
int DeviceCharacteristics(sqlite3_file* f) {
    return Of(f)->Real()->pMethods->xDeviceCharacteristics(Of(f)->Real());
}
int ShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return Of(f)->Real()->pMethods->xShmMap(Of(f)->Real(), page, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return Of(f)->Real()->pMethods->xShmLock(Of(f)->Real(), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) { Of(f)->Real()->pMethods->xShmBarrier(Of(f)->Real()); }
int ShmUnmap(sqlite3_file* f, int deleteFlag) { return Of(f)->Real()->pMethods->xShmUnmap(Of(f)->Real(), deleteFlag); }
int Fetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
    return Of(f)->Real()->pMethods->xFetch(Of(f)->Real(), offset, amount, out);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 offset, void* p) {
    return Of(f)->Real()->pMethods->xUnfetch(Of(f)->Real(), offset, p);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = Of(f);
    file->base.pMethods = nullptr;
    file->watched = Watched(name);
    if (file->watched) {
        State& s = Global();
        std::lock_guard lock(s.m);
        if (s.faults.readOnly && (flags & SQLITE_OPEN_READWRITE)) {
            struct stat st {};
            // The unix layer opens an existing database for reading when the
            // system refuses writing; a file it would have to make cannot be.
            if (!(flags & SQLITE_OPEN_MAIN_DB) || stat(name, &st) != 0) return Fault(s, EROFS, SQLITE_CANTOPEN);
            flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) | SQLITE_OPEN_READONLY;
        }
    }
    const int rc = g_real->xOpen(g_real, name, file->Real(), flags, outFlags);
    if (rc == SQLITE_OK) file->base.pMethods = &g_methods;
    return rc;
}
int Delete(sqlite3_vfs*, const char* name, int syncDir) {
    if (Watched(name)) {
        State& s = Global();
        std::lock_guard lock(s.m);
        if (s.faults.readOnly) return Fault(s, EROFS, SQLITE_IOERR_DELETE);
        struct stat st {};
        if (s.faults.freeBytes >= 0 && stat(name, &st) == 0) s.faults.freeBytes += st.st_size;
    }
    return g_real->xDelete(g_real, name, syncDir);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
    if (flags == SQLITE_ACCESS_READWRITE && Watched(name)) {
        State& s = Global();
        std::lock_guard lock(s.m);
        if (s.faults.readOnly) {
            *out = 0;
            return SQLITE_OK;
        }
    }
    return g_real->xAccess(g_real, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_real->xFullPathname(g_real, name, size, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); }
void DlError(sqlite3_vfs*, int size, char* out) { g_real->xDlError(g_real, size, out); }
void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) { return g_real->xDlSym(g_real, handle, symbol); }
void DlClose(sqlite3_vfs*, void* handle) { g_real->xDlClose(g_real, handle); }
int Randomness(sqlite3_vfs*, int size, char* out) { return g_real->xRandomness(g_real, size, out); }
int Sleep(sqlite3_vfs*, int micros) { return g_real->xSleep(g_real, micros); }
int CurrentTime(sqlite3_vfs*, double* out) { return g_real->xCurrentTime(g_real, out); }
int GetLastError(sqlite3_vfs*, int size, char* out) {
    {
        State& s = Global();
        std::lock_guard lock(s.m);
        if (s.lastErrno) return s.lastErrno;
    }
    return g_real->xGetLastError(g_real, size, out);
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) { return g_real->xCurrentTimeInt64(g_real, out); }

void Register() {
    if (g_real) return;
    g_real = sqlite3_vfs_find("unix");
    if (!g_real || g_real->iVersion < 2) throw std::runtime_error("the unix file layer of SQLite is missing");
    g_methods = sqlite3_io_methods{3, Close, Read, Write, Truncate, Sync, FileSize, Lock, Unlock, CheckReservedLock,
                                   FileControl, SectorSize, DeviceCharacteristics, ShmMap, ShmLock, ShmBarrier,
                                   ShmUnmap, Fetch, Unfetch};
    g_vfs = sqlite3_vfs{};
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = static_cast<int>(sizeof(File)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "orvfault";
    g_vfs.xOpen = Open;
    g_vfs.xDelete = Delete;
    g_vfs.xAccess = Access;
    g_vfs.xFullPathname = FullPathname;
    g_vfs.xDlOpen = DlOpen;
    g_vfs.xDlError = DlError;
    g_vfs.xDlSym = DlSym;
    g_vfs.xDlClose = DlClose;
    g_vfs.xRandomness = Randomness;
    g_vfs.xSleep = Sleep;
    g_vfs.xCurrentTime = CurrentTime;
    g_vfs.xGetLastError = GetLastError;
    g_vfs.xCurrentTimeInt64 = CurrentTimeInt64;
}

}  // namespace

FaultLayer::FaultLayer(const std::string& folder) {
    Register();
    g_previous = sqlite3_vfs_find(nullptr);
    if (sqlite3_vfs_register(&g_vfs, 1) != SQLITE_OK) throw std::runtime_error("cannot register the fault layer");
    State& s = Global();
    std::lock_guard lock(s.m);
    s.folder = folder;
    s.faults = Faults{};
    s.counts = Counts{};
    s.lastErrno = 0;
}

FaultLayer::~FaultLayer() {
    {
        State& s = Global();
        std::lock_guard lock(s.m);
        s.folder.clear();
        s.faults = Faults{};
        s.lastErrno = 0;
    }
    if (g_previous && g_previous != &g_vfs) sqlite3_vfs_register(g_previous, 1);
}

void FaultLayer::Set(const Faults& faults) {
    State& s = Global();
    std::lock_guard lock(s.m);
    s.faults = faults;
    s.counts = Counts{};
    s.lastErrno = 0;
}

Faults FaultLayer::Current() const {
    State& s = Global();
    std::lock_guard lock(s.m);
    return s.faults;
}

Counts FaultLayer::Seen() const {
    State& s = Global();
    std::lock_guard lock(s.m);
    return s.counts;
}

}  // namespace faultvfs
