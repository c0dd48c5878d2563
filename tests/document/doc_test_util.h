// Helpers of the document tests: creating documents, reading and writing
// their raw record, and the host environment (library and host components
// registered, messages kept in memory).
#pragma once

#include "document/OrvDocument.h"
#include "host/OrvMessageService.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace doctest {

using orv::Bstr;
using orv::ComPtr;
using Bytes = std::array<unsigned char, 304>;

inline CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

inline ComPtr<IOrvDocument> NewDocument() {
    ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    return doc;
}

inline Bytes RecordOf(IOrvDocument* doc) {
    Bytes out{};
    Bstr rec;
    EXPECT_EQ(doc->get_DocRecord(rec.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(rec.ByteLength(), 304u);
    if (rec.ByteLength() >= 304) std::memcpy(out.data(), rec.Get(), 304);
    return out;
}

inline void PutRecord(IOrvDocument* doc, const Bytes& bytes) {
    Bstr rec = Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(bytes.data()), 304));
    ASSERT_EQ(doc->put_DocRecord(rec), S_OK);
}

// A record of pseudo-random bytes with the given type code and the Dcsum1
// high word cleared (so that Dcsum1 is held in hundredths).
inline Bytes RandomRecord(unsigned seed, SHORT type) {
    std::mt19937 rng(seed);
    Bytes b{};
    for (auto& x : b) x = static_cast<unsigned char>(rng());
    b[2] = static_cast<unsigned char>(type & 0xFF);
    b[3] = static_cast<unsigned char>((type >> 8) & 0xFF);
    std::memset(&b[262], 0, 4);
    return b;
}

template <class T>
inline T ReadLe(const Bytes& b, std::size_t offset) {
    T v;
    std::memcpy(&v, b.data() + offset, sizeof(T));
    return v;
}

inline std::u16string Text(BSTR s) { return s ? std::u16string(s, SysStringLen(s)) : std::u16string(); }

// The error information of the calling thread (taken, so it is cleared).
struct ErrorReport {
    bool present = false;
    std::u16string description, source;
    GUID guid{};
};
inline ErrorReport TakeErrorInfo() {
    ErrorReport r;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return r;
    r.present = true;
    Bstr d, s;
    info->GetDescription(d.ReleaseAndGetAddressOf());
    info->GetSource(s.ReleaseAndGetAddressOf());
    info->GetGUID(&r.guid);
    r.description = Text(d);
    r.source = Text(s);
    return r;
}

// The library registered (so that ProgIDs resolve) and the host components
// registered, with the messages kept in memory.
class HostEnvironment {
public:
    HostEnvironment() {
        EXPECT_EQ(DllRegisterServer(), S_OK);
        EXPECT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK);
        previous_ = orv::host::SetMessageSink(messages_);
    }
    ~HostEnvironment() {
        orv::host::SetMessageSink(previous_);
        registration_.Revoke();
    }
    std::vector<std::u16string> Messages() const { return messages_->Messages(); }
    // Withdraws the host components (a host without a message service).
    void RevokeHostComponents() { registration_.Revoke(); }

private:
    orv::host::Registration registration_;
    std::shared_ptr<orv::host::MemoryMessageSink> messages_ = std::make_shared<orv::host::MemoryMessageSink>();
    std::shared_ptr<orv::host::MessageSink> previous_;
};

}  // namespace doctest
