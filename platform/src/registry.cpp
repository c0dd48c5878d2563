// The registry functions over an in-memory tree, optionally kept in a file.
//
// A key handle names a root and a path, not a node: another process may
// replace the whole tree (the file is re-read when it changes), so every call
// finds its key afresh; a handle whose key has gone answers ERROR_KEY_DELETED.
//
// With a file, a change runs as: take an exclusive flock on "<file>.lock",
// re-read the file if it changed since it was last read, apply the change,
// write the whole tree to a temporary file in the same folder and rename it
// over the file. Readers need no lock: they always see a complete file.
//
// A batch (OrvRegistryBeginBatch/OrvRegistryEndBatch) takes the file lock
// once and holds it: every change of the process in between is made in memory
// only, and the end of the batch writes the file once.
#include "regtree.h"

#include <orvdocs/platform/registry.h>
#include <orvdocs/platform/strings.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

using namespace orv::reg;

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr ULONG_PTR kFirstPredefined = 0x80000000u;
constexpr REGSAM kGenericRead = 0x80000000u, kGenericWrite = 0x40000000u, kGenericAll = 0x10000000u,
                 kMaximumAllowed = 0x02000000u;

// What identifies one version of the file: a rename gives a new inode, an
// edit in place a new size or time.
struct FileId {
    bool exists = false;
    int error = 0;  // errno of a failed stat
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtime = 0, ctime = 0;
    bool operator==(const FileId&) const = default;
};

FileId IdOf(const struct stat& st) {
    FileId id;
    id.exists = true;
    id.dev = st.st_dev;
    id.ino = st.st_ino;
    id.size = st.st_size;
    id.mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    id.ctime = static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
    return id;
}

struct Handle {
    Root root;
    std::vector<std::u16string> path;
    REGSAM access;
};

// An exclusive flock held for the duration of one change.
class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { Release(); }
    void Release() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
        fd_ = -1;
    }
    bool Acquire(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return false;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) return false;
        }
        return true;
    }

private:
    int fd_ = -1;
};

REGSAM NormalizeAccess(REGSAM sam) {
    if (sam & (kGenericAll | kMaximumAllowed)) sam |= KEY_ALL_ACCESS;
    if (sam & kGenericRead) sam |= KEY_READ;
    if (sam & kGenericWrite) sam |= KEY_WRITE;
    return sam;
}

// Splits a subkey path at backslashes. Null and empty give no components; a
// single trailing backslash is allowed.
LSTATUS SplitPath(LPCWSTR sub, std::vector<std::u16string>& out) {
    out.clear();
    if (!sub || !*sub) return ERROR_SUCCESS;
    std::u16string_view s(sub);
    if (s.back() == u'\\') s.remove_suffix(1);
    std::size_t pos = 0;
    while (true) {
        std::size_t next = s.find(u'\\', pos);
        std::u16string_view part = s.substr(pos, next == std::u16string_view::npos ? std::u16string_view::npos : next - pos);
        if (part.empty()) return ERROR_BAD_PATHNAME;
        if (part.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
        out.emplace_back(part);
        if (next == std::u16string_view::npos) break;
        pos = next + 1;
    }
    return ERROR_SUCCESS;
}

class Registry {
public:
    static Registry& Instance() {
        static Registry* r = new Registry;  // never destroyed: usable from static destructors
        return *r;
    }

    std::mutex mu;

    // ----------------------------------------------------------- handles
    LSTATUS Resolve(HKEY h, Handle& out) {
        auto v = reinterpret_cast<ULONG_PTR>(h);
        if (v >= kFirstPredefined && v < kFirstPredefined + kRootCount) {
            out = Handle{static_cast<Root>(v - kFirstPredefined), {}, KEY_ALL_ACCESS};
            return ERROR_SUCCESS;
        }
        auto it = handles_.find(v);
        if (it == handles_.end()) return ERROR_INVALID_HANDLE;
        out = it->second;
        return ERROR_SUCCESS;
    }
    HKEY NewHandle(Handle h) {
        ULONG_PTR id = nextHandle_;
        nextHandle_ += 4;
        handles_.emplace(id, std::move(h));
        return reinterpret_cast<HKEY>(id);
    }
    LSTATUS Close(HKEY h) {
        auto v = reinterpret_cast<ULONG_PTR>(h);
        if (v >= kFirstPredefined && v < kFirstPredefined + kRootCount) return ERROR_SUCCESS;
        return handles_.erase(v) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    }

    // The key a path names in the current tree, or null.
    Key* Find(Root root, const std::vector<std::u16string>& path) {
        Key* k = &tree_.root(root);
        for (const auto& part : path) {
            k = k->Subkey(part);
            if (!k) return nullptr;
        }
        return k;
    }
    Key* Find(const Handle& h) { return Find(h.root, h.path); }

    // ------------------------------------------------------ file handling
    // Brings the tree up to date before a call; for a change also takes the
    // file lock (held by `lock` until the call ends).
    LSTATUS Begin(bool change, FileLock& lock) {
        Configure();
        if (path_.empty()) return ERROR_SUCCESS;
        // In a batch this process holds the file lock, so no other writer can
        // have replaced the file, and memory holds changes the file lacks yet.
        if (batchDepth_ > 0) return bad_ ? ERROR_BADDB : ERROR_SUCCESS;
        if (change && !lock.Acquire(path_ + ".lock")) {
            ReportOnce(writeReported_, "cannot lock registry file '" + path_ + ".lock': " + std::strerror(errno) +
                                           "; registry changes answer ERROR_CANTWRITE");
            return ERROR_CANTWRITE;
        }
        Refresh();
        return bad_ ? ERROR_BADDB : ERROR_SUCCESS;
    }

    // Writes the changed tree back; on failure the next call re-reads the
    // file, so memory never holds a change the file lacks.
    LSTATUS Commit() {
        if (path_.empty()) return ERROR_SUCCESS;
        if (batchDepth_ > 0) {
            batchDirty_ = true;  // written once at the end of the batch
            return ERROR_SUCCESS;
        }
        std::string why;
        if (Save(why)) return ERROR_SUCCESS;
        forceReload_ = true;
        ReportOnce(writeReported_, "cannot write registry file '" + path_ + "': " + why +
                                       "; the change is not kept and the call answers ERROR_CANTWRITE");
        return ERROR_CANTWRITE;
    }

    // After a failure inside a change the tree may be half changed.
    void Invalidate() {
        if (path_.empty()) return;
        if (batchDepth_ > 0) batchBroken_ = true;  // the batch is dropped at its end
        else forceReload_ = true;
    }

    // A batch: the file lock is taken at the outermost begin and held; the
    // tree is brought up to date once. Nested batches only count.
    LSTATUS BeginBatch() {
        Configure();
        if (batchDepth_ > 0 || path_.empty()) {
            ++batchDepth_;
            return ERROR_SUCCESS;
        }
        if (LSTATUS s = Begin(true, batchLock_)) {
            batchLock_.Release();
            return s;
        }
        ++batchDepth_;
        batchDirty_ = batchBroken_ = false;
        return ERROR_SUCCESS;
    }

    // Ends a batch; the outermost end writes the changes in one go and lets
    // go of the lock. A batch whose write fails (or that a failure inside a
    // change left half done) is dropped from memory as a single change is.
    LSTATUS EndBatch() {
        if (batchDepth_ == 0) return ERROR_INVALID_PARAMETER;
        if (--batchDepth_ > 0 || path_.empty()) return ERROR_SUCCESS;
        LSTATUS result = ERROR_SUCCESS;
        if (batchBroken_) {
            forceReload_ = true;
            result = ERROR_CANTWRITE;
        } else if (batchDirty_) {
            result = Commit();
        }
        batchDirty_ = batchBroken_ = false;
        batchLock_.Release();
        return result;
    }

    Tree& tree() { return tree_; }

    void Reset() {
        configured_ = false;
        path_.clear();
        tree_.Clear();
        handles_.clear();
        loaded_ = bad_ = forceReload_ = false;
        loadedId_ = badId_ = reportedBadId_ = FileId{};
        batchDepth_ = 0;
        batchDirty_ = batchBroken_ = false;
        batchLock_.Release();
        badReported_ = writeReported_ = false;
    }

private:
    void Configure() {
        if (configured_) return;
        configured_ = true;
        const char* env = std::getenv(ORVDOCS_REGISTRY_ENV);
        path_ = env ? env : "";
        if (!path_.empty() && path_.front() != '/') {
            char cwd[4096];
            if (::getcwd(cwd, sizeof cwd)) path_ = std::string(cwd) + "/" + path_;
        }
    }

    void Refresh() {
        struct stat st;
        FileId id;
        if (::stat(path_.c_str(), &st) == 0) id = IdOf(st);
        else id.error = errno == ENOENT ? 0 : errno;
        if (!forceReload_) {
            if (loaded_ && id == loadedId_) return;
            if (bad_ && id == badId_) return;
        }
        forceReload_ = false;
        if (id.error) return MarkBad(id, std::string("cannot examine it: ") + std::strerror(id.error));
        if (!id.exists) return UseEmpty(id);

        int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT) return UseEmpty(FileId{});
            return MarkBad(id, std::string("cannot open it: ") + std::strerror(errno));
        }
        std::string text, why;
        bool ok = ::fstat(fd, &st) == 0;
        if (ok) id = IdOf(st);
        if (ok && !S_ISREG(st.st_mode)) {
            ok = false;
            why = "it is not a regular file";
        }
        if (ok) {
            char buf[65536];
            while (true) {
                ssize_t n = ::read(fd, buf, sizeof buf);
                if (n > 0) {
                    text.append(buf, static_cast<std::size_t>(n));
                } else if (n == 0) {
                    break;
                } else if (errno != EINTR) {
                    ok = false;
                    why = std::string("cannot read it: ") + std::strerror(errno);
                    break;
                }
            }
        } else if (why.empty()) {
            why = std::string("cannot examine it: ") + std::strerror(errno);
        }
        ::close(fd);
        if (!ok) return MarkBad(id, why);
        // A zero-length file (made by touch or mkstemp) is an empty registry.
        if (text.empty()) return UseEmpty(id);
        Tree fresh;
        if (!Parse(text, fresh, why)) return MarkBad(id, "it is damaged (" + why + ")");
        tree_ = std::move(fresh);
        loaded_ = true;
        loadedId_ = id;
        bad_ = false;
    }

    void UseEmpty(const FileId& id) {
        tree_.Clear();
        loaded_ = true;
        loadedId_ = id;
        bad_ = false;
    }

    void MarkBad(const FileId& id, const std::string& why) {
        tree_.Clear();
        loaded_ = false;
        bad_ = true;
        badId_ = id;
        if (!badReported_ || !(reportedBadId_ == id)) {
            badReported_ = true;
            reportedBadId_ = id;
            std::fprintf(stderr,
                         "orvdocs: registry file '%s' cannot be used: %s. The file is left untouched; "
                         "registry calls answer ERROR_BADDB until it is repaired or removed.\n",
                         path_.c_str(), why.c_str());
        }
    }

    static void ReportOnce(bool& reported, const std::string& text) {
        if (reported) return;
        reported = true;
        std::fprintf(stderr, "orvdocs: %s.\n", text.c_str());
    }

    bool Save(std::string& why) {
        std::string text = Serialize(tree_);
        static std::atomic<unsigned> counter{0};
        std::string tmp = path_ + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
        int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) return why = std::strerror(errno), false;
        bool ok = true;
        struct stat st;
        if (::stat(path_.c_str(), &st) == 0) (void)::fchmod(fd, st.st_mode & 07777);  // keep the file's mode
        std::size_t done = 0;
        while (ok && done < text.size()) {
            ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n > 0) done += static_cast<std::size_t>(n);
            else if (n < 0 && errno == EINTR) continue;
            else ok = false, why = std::strerror(errno);
        }
        // No fsync: the rename already makes the change atomic for every
        // reader and against a crash of any process; an fsync per change would
        // make a module's self-registration (hundreds of changes) take seconds.
        if (::close(fd) != 0 && ok) ok = false, why = std::strerror(errno);
        if (ok && ::rename(tmp.c_str(), path_.c_str()) != 0) ok = false, why = std::strerror(errno);
        if (!ok) {
            ::unlink(tmp.c_str());
            return false;
        }
        // Still under the file lock, so no other writer can have replaced it.
        if (::stat(path_.c_str(), &st) == 0) {
            loadedId_ = IdOf(st);
            loaded_ = true;
        } else {
            forceReload_ = true;
        }
        return true;
    }

    bool configured_ = false;
    std::string path_;  // empty: memory only
    Tree tree_;
    std::unordered_map<ULONG_PTR, Handle> handles_;
    ULONG_PTR nextHandle_ = 0x1000;
    bool loaded_ = false, bad_ = false, forceReload_ = false;
    FileId loadedId_, badId_, reportedBadId_;
    bool badReported_ = false, writeReported_ = false;
    unsigned batchDepth_ = 0;
    bool batchDirty_ = false, batchBroken_ = false;
    FileLock batchLock_;
};

// Runs one call with the registry locked; nothing thrown leaves it.
template <class F>
LSTATUS Locked(F&& f) noexcept {
    Registry& r = Registry::Instance();
    try {
        std::lock_guard lock(r.mu);
        try {
            return f(r);
        } catch (...) {
            r.Invalidate();
            throw;
        }
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
        return ERROR_BADDB;
    }
}

// A call that reads the key of hKey.
template <class F>
LSTATUS ReadKey(HKEY hKey, REGSAM need, F&& f) noexcept {
    return Locked([&](Registry& r) -> LSTATUS {
        Handle h;
        if (LSTATUS s = r.Resolve(hKey, h)) return s;
        if ((h.access & need) != need) return ERROR_ACCESS_DENIED;
        FileLock none;
        if (LSTATUS s = r.Begin(false, none)) return s;
        Key* key = r.Find(h);
        if (!key) return ERROR_KEY_DELETED;
        return f(*key);
    });
}

// A call that may change the tree below hKey: f(registry, handle, changed).
template <class F>
LSTATUS Change(HKEY hKey, REGSAM need, F&& f) noexcept {
    return Locked([&](Registry& r) -> LSTATUS {
        Handle h;
        if (LSTATUS s = r.Resolve(hKey, h)) return s;
        if ((h.access & need) != need) return ERROR_ACCESS_DENIED;
        FileLock lock;
        if (LSTATUS s = r.Begin(true, lock)) return s;
        if (!r.Find(h)) return ERROR_KEY_DELETED;
        bool changed = false;
        LSTATUS s = f(r, h, changed);
        if (changed) {
            if (LSTATUS c = r.Commit()) return c;
        }
        return s;
    });
}

// Copies a name into a caller's buffer of *cch characters (with the NUL).
LSTATUS CopyName(const std::u16string& name, LPWSTR out, DWORD* cch) {
    if (*cch < name.size() + 1) {
        *cch = static_cast<DWORD>(name.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::copy(name.begin(), name.end(), out);
    out[name.size()] = 0;
    *cch = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Hands out value data: the size alone when data is null, ERROR_MORE_DATA
// with the size needed when the buffer is too small.
LSTATUS CopyData(const Value& v, DWORD* type, BYTE* data, DWORD* cb) {
    if (type) *type = v.type;
    if (!cb) return ERROR_SUCCESS;
    auto size = static_cast<DWORD>(v.data.size());
    if (data) {
        if (*cb < size) {
            *cb = size;
            return ERROR_MORE_DATA;
        }
        std::copy(v.data.begin(), v.data.end(), data);
    }
    *cb = size;
    return ERROR_SUCCESS;
}

std::u16string_view ValueName(LPCWSTR name) { return name ? std::u16string_view(name) : std::u16string_view(); }

LSTATUS OpenOrCreate(HKEY hKey, LPCWSTR lpSubKey, REGSAM sam, PHKEY phkResult, bool create, DWORD* disposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::vector<std::u16string> parts;
    if (LSTATUS s = SplitPath(lpSubKey, parts)) return s;
    return Locked([&](Registry& r) -> LSTATUS {
        Handle h;
        if (LSTATUS s = r.Resolve(hKey, h)) return s;
        FileLock lock;
        if (LSTATUS s = r.Begin(create, lock)) return s;
        Key* key = r.Find(h);
        if (!key) return ERROR_KEY_DELETED;
        bool createdAny = false, createdLast = false;
        for (const auto& part : parts) {
            Key* next = key->Subkey(part);
            if (!next) {
                if (!create) return ERROR_FILE_NOT_FOUND;
                if (!(h.access & KEY_CREATE_SUB_KEY) && !createdAny) return ERROR_ACCESS_DENIED;
                next = &key->SubkeyOrCreate(part, nullptr);
                createdAny = true;
                createdLast = true;
            } else {
                createdLast = false;
            }
            key = next;
        }
        if (createdAny) {
            if (LSTATUS s = r.Commit()) return s;
        }
        Handle result{h.root, h.path, NormalizeAccess(sam)};
        result.path.insert(result.path.end(), parts.begin(), parts.end());
        *phkResult = r.NewHandle(std::move(result));
        if (disposition) *disposition = createdLast ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

}  // namespace

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                        const SECURITY_ATTRIBUTES*, PHKEY phkResult, DWORD* lpdwDisposition) {
    return OpenOrCreate(hKey, lpSubKey, samDesired, phkResult, true, lpdwDisposition);
}

LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    return OpenOrCreate(hKey, lpSubKey, samDesired, phkResult, false, nullptr);
}

LSTATUS RegCloseKey(HKEY hKey) {
    return Locked([&](Registry& r) { return r.Close(hKey); });
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    if (dwType == REG_DWORD && cbData != 4) return ERROR_INVALID_PARAMETER;
    return Change(hKey, KEY_SET_VALUE, [&](Registry& r, const Handle& h, bool& changed) -> LSTATUS {
        Key& key = *r.Find(h);
        std::vector<BYTE> data(lpData, lpData + cbData);
        Value* v = key.FindValue(ValueName(lpValueName));
        if (!v) {
            key.values.push_back(Value{std::u16string(ValueName(lpValueName)), dwType, std::move(data)});
            changed = true;
        } else if (v->type != dwType || v->data != data) {
            v->type = dwType;
            v->data = std::move(data);
            changed = true;
        }
        return ERROR_SUCCESS;
    });
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                         DWORD* lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    return ReadKey(hKey, KEY_QUERY_VALUE, [&](Key& key) -> LSTATUS {
        const Value* v = key.FindValue(ValueName(lpValueName));
        if (!v) return ERROR_FILE_NOT_FOUND;
        return CopyData(*v, lpType, lpData, lpcbData);
    });
}

LSTATUS RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return Change(hKey, KEY_SET_VALUE, [&](Registry& r, const Handle& h, bool& changed) -> LSTATUS {
        Key& key = *r.Find(h);
        Value* v = key.FindValue(ValueName(lpValueName));
        if (!v) return ERROR_FILE_NOT_FOUND;
        key.values.erase(key.values.begin() + (v - key.values.data()));
        changed = true;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    std::vector<std::u16string> parts;
    if (LSTATUS s = SplitPath(lpSubKey, parts)) return s;
    return Change(hKey, 0, [&](Registry& r, const Handle& h, bool& changed) -> LSTATUS {
        std::vector<std::u16string> full = h.path;
        full.insert(full.end(), parts.begin(), parts.end());
        if (full.empty()) return ERROR_ACCESS_DENIED;  // a root cannot be deleted
        Key* target = r.Find(h.root, full);
        if (!target) return ERROR_FILE_NOT_FOUND;
        if (!target->subkeys.empty()) return ERROR_ACCESS_DENIED;
        std::u16string last = full.back();
        full.pop_back();
        r.Find(h.root, full)->subkeys.erase(Fold(last));
        changed = true;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
    std::vector<std::u16string> parts;
    if (LSTATUS s = SplitPath(lpSubKey, parts)) return s;
    return Change(hKey, 0, [&](Registry& r, const Handle& h, bool& changed) -> LSTATUS {
        std::vector<std::u16string> full = h.path;
        full.insert(full.end(), parts.begin(), parts.end());
        Key* target = r.Find(h.root, full);
        if (!target) return ERROR_FILE_NOT_FOUND;
        if (!lpSubKey || full.empty()) {
            // Null subkey (or a root): empty the key and keep it.
            changed = !target->Empty();
            target->values.clear();
            target->subkeys.clear();
            return ERROR_SUCCESS;
        }
        std::u16string last = full.back();
        full.pop_back();
        r.Find(h.root, full)->subkeys.erase(Fold(last));
        changed = true;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD* lpcchName, DWORD* lpReserved, LPWSTR lpClass,
                      DWORD* lpcchClass, FILETIME* lpftLastWriteTime) {
    if (!lpName || !lpcchName || lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
    return ReadKey(hKey, KEY_ENUMERATE_SUB_KEYS, [&](Key& key) -> LSTATUS {
        if (dwIndex >= key.subkeys.size()) return ERROR_NO_MORE_ITEMS;
        auto it = key.subkeys.begin();
        std::advance(it, dwIndex);
        if (LSTATUS s = CopyName(it->second->name, lpName, lpcchName)) return s;
        if (lpcchClass) {
            if (lpClass && *lpcchClass) *lpClass = 0;
            *lpcchClass = 0;
        }
        if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                      DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
    if (!lpValueName || !lpcchValueName || lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    return ReadKey(hKey, KEY_QUERY_VALUE, [&](Key& key) -> LSTATUS {
        if (dwIndex >= key.values.size()) return ERROR_NO_MORE_ITEMS;
        const Value& v = key.values[dwIndex];
        if (LSTATUS s = CopyName(v.name, lpValueName, lpcchValueName)) return s;
        return CopyData(v, lpType, lpData, lpcbData);
    });
}

LSTATUS RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, DWORD* lpcchClass, DWORD* lpReserved, DWORD* lpcSubKeys,
                         DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen, DWORD* lpcValues,
                         DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen, DWORD* lpcbSecurityDescriptor,
                         FILETIME* lpftLastWriteTime) {
    if (lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
    return ReadKey(hKey, KEY_QUERY_VALUE, [&](Key& key) -> LSTATUS {
        std::size_t maxSub = 0, maxName = 0, maxData = 0;
        for (const auto& [folded, sub] : key.subkeys) maxSub = std::max(maxSub, sub->name.size());
        for (const Value& v : key.values) {
            maxName = std::max(maxName, v.name.size());
            maxData = std::max(maxData, v.data.size());
        }
        if (lpcchClass) {
            if (lpClass && *lpcchClass) *lpClass = 0;
            *lpcchClass = 0;
        }
        if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key.subkeys.size());
        if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = static_cast<DWORD>(maxSub);
        if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
        if (lpcValues) *lpcValues = static_cast<DWORD>(key.values.size());
        if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = static_cast<DWORD>(maxName);
        if (lpcbMaxValueLen) *lpcbMaxValueLen = static_cast<DWORD>(maxData);
        if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
        if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
        return ERROR_SUCCESS;
    });
}

LSTATUS OrvRegistryBeginBatch() {
    return Locked([](Registry& r) { return r.BeginBatch(); });
}

LSTATUS OrvRegistryEndBatch() {
    return Locked([](Registry& r) { return r.EndBatch(); });
}

void OrvRegistryReset() {
    Registry& r = Registry::Instance();
    std::lock_guard lock(r.mu);
    r.Reset();
}
