// A SQLite file layer for tests that makes disk faults on demand: it wraps
// the engine's own unix layer, is made the default while a FaultLayer object
// lives (so a store opened meanwhile goes through it), and acts only on files
// whose path starts with the watched folder. Faults:
//   - a full disk: files may grow by a number of bytes in all, then a write
//     that needs more space answers SQLITE_FULL, as the unix layer does for
//     ENOSPC. With copyOnWrite every byte written needs space, not only the
//     bytes that make a file longer (a file system that never overwrites in
//     place), so with no space left no write at all goes through;
//   - a read-only file system (EROFS, which stops the superuser too): a file
//     opened for writing is opened for reading only, as the unix layer falls
//     back to when the system refuses writing, a missing file cannot be made,
//     and writes, truncations and deletions fail with the unix layer's I/O
//     errors and the system error EROFS;
//   - one failed write or one failed sync (EIO) after a number of good ones.
// The system error of a fault is what the layer reports as its last error
// (sqlite3_system_errno).
#pragma once

#include <cstdint>
#include <string>

namespace faultvfs {

struct Faults {
    std::int64_t freeBytes = -1;  // a full disk: bytes files may still take; -1 no limit
    bool copyOnWrite = false;     // every byte written takes space
    bool readOnly = false;        // a read-only file system
    int failWriteAfter = -1;      // this many writes go through, the next fails once; -1 none
    int failSyncAfter = -1;       // the same for syncs
};

struct Counts {
    int writes = 0, syncs = 0;  // of watched files since the faults were set
    bool fired = false;         // a write or sync failed as asked (or space ran out)
};

class FaultLayer {
public:
    // Watches the files under folder; no faults until Set.
    explicit FaultLayer(const std::string& folder);
    // The engine's previous default layer becomes the default again.
    ~FaultLayer();
    FaultLayer(const FaultLayer&) = delete;
    FaultLayer& operator=(const FaultLayer&) = delete;

    void Set(const Faults& faults);  // the counts start again
    void Clear() { Set(Faults{}); }
    Faults Current() const;
    Counts Seen() const;
};

}  // namespace faultvfs
