// Helpers of the store tests: a temporary folder, the library and host
// components registered, the database service on a file, and real documents
// stored through their own Update.
#pragma once

#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace storetest {

using orv::Bstr;
using orv::ComPtr;

inline CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

// A new folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvstore-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The library and the host's components registered for the test's life.
class Registered {
public:
    Registered() {
        EXPECT_EQ(DllRegisterServer(), S_OK);
        EXPECT_EQ(orv::host::RegisterHostComponents(&reg_), S_OK);
    }
    ~Registered() { reg_.Revoke(); }

private:
    orv::host::Registration reg_;
};

inline ComPtr<IOrvDatabase> OpenFile(const std::string& path, HRESULT* hr = nullptr) {
    ComPtr<IOrvDatabase> db;
    const HRESULT r = orv::host::OpenDatabase(orv::Utf8ToUtf16(path), db.GetAddressOf());
    if (hr) *hr = r;
    else EXPECT_EQ(r, S_OK) << path;
    return db;
}

inline ComPtr<IOrvMemoryDatabase> View(IOrvDatabase* db) {
    ComPtr<IOrvMemoryDatabase> view;
    EXPECT_EQ(db->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(view.GetAddressOf())), S_OK);
    return view;
}

// A new document of the type with Dcsum1 = sum (raw), an extension body and
// one collector, stored; returns its address (0 on failure).
inline ULONG StoreDocument(IOrvDatabase* db, LONG type, LONGLONG sum, const std::u16string& body = u"") {
    ComPtr<IUnknown> unknown;
    if (FAILED(db->NewDocument(0, type, unknown.GetAddressOf()))) return 0;
    ComPtr<IOrvDocument> doc;
    if (FAILED(unknown.As(&doc))) return 0;
    doc->put_Dcsum1(Cy(sum));
    if (!body.empty()) {
        ComPtr<IOrvDocExtension> ext;
        doc.As(&ext);
        ext->put_Body(Bstr(body));
        ext->put_Length(static_cast<LONG>(body.size()));
    }
    if (FAILED(doc->Update(0))) return 0;
    ULONG address = 0;
    doc->get_DB_ADDR(&address);
    return address;
}

inline LONGLONG StoredSum(IOrvDatabase* db, ULONG address) {
    ComPtr<IUnknown> unknown;
    if (db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()) != S_OK) return -1;
    ComPtr<IOrvDocument> doc;
    unknown.As(&doc);
    CY sum{};
    doc->get_Dcsum1(&sum);
    return sum.int64;
}

// Adds one hundredth-unit step (100) to the first sum of the stored document
// at `address`, reading it again and retrying while another writer got there
// first (ORV_E_DOCUMENT_CHANGED). False on any other failure.
inline bool StepStoredSum(IOrvDatabase* db, ULONG address) {
    for (;;) {
        ComPtr<IUnknown> unknown;
        if (db->GetDocument(0, static_cast<LONG>(address), unknown.GetAddressOf()) != S_OK) return false;
        ComPtr<IOrvDocument> doc;
        if (unknown.As(&doc) != S_OK) return false;
        CY sum{};
        doc->get_Dcsum1(&sum);
        doc->put_Dcsum1(Cy(sum.int64 + 100));
        doc->put_RecordCondition(2);
        const HRESULT hr = doc->Update(0);
        if (hr == S_OK) return true;
        if (hr != ORV_E_DOCUMENT_CHANGED) return false;
    }
}

inline LONG Count(IOrvDatabase* db) {
    LONG n = -1;
    EXPECT_EQ(View(db)->get_DocumentCount(&n), S_OK);
    return n;
}

inline std::string Integrity(IOrvDatabase* db) {
    Bstr text;
    EXPECT_EQ(View(db)->CheckIntegrity(text.ReleaseAndGetAddressOf()), S_OK);
    return text.Utf8();
}

inline std::string DataFile(const char* name) { return ReadFile(std::string(ORV_DATA_DIR) + "/store/" + name); }

inline HRESULT Import(IOrvDatabase* db, const std::string& utf8) { return View(db)->ImportText(Bstr::FromUtf8(utf8)); }

}  // namespace storetest
