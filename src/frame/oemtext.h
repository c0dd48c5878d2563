// Text in the OEM code page (866) inside fixed-width record fields, and
// binary records carried in byte-length BSTRs.
//
// A field of width w holds at most w - 1 characters followed by NUL bytes;
// its last byte is always NUL. One OEM byte stands for one UTF-16 unit.
#pragma once

#include <orvdocs/platform/oleauto.h>

#include <cstddef>

namespace orv {

// OEM bytes to wide text. Owns a heap buffer with the converted text, freed
// when the object goes. When memory runs out the text is empty.
class COemToWChar {
public:
    // The bytes up to the first NUL; a null pointer gives the empty text.
    explicit COemToWChar(const char* oem) noexcept;
    // The bytes up to the first NUL, at most maxBytes of them (for fields
    // whose NUL cannot be trusted).
    COemToWChar(const char* oem, std::size_t maxBytes) noexcept;
    ~COemToWChar();
    COemToWChar(COemToWChar&& other) noexcept;
    COemToWChar& operator=(COemToWChar&& other) noexcept;
    COemToWChar(const COemToWChar&) = delete;
    COemToWChar& operator=(const COemToWChar&) = delete;

    // NUL-terminated, never null.
    const OLECHAR* Text() const noexcept { return text_ ? text_ : u""; }
    operator const OLECHAR*() const noexcept { return Text(); }
    std::size_t Length() const noexcept { return length_; }
    // A new BSTR with the text; null only when memory runs out.
    BSTR AllocBstr() const noexcept;

private:
    void Convert(const char* oem, std::size_t count) noexcept;
    OLECHAR* text_ = nullptr;
    std::size_t length_ = 0;
};

// Wide text to OEM bytes. Owns a heap buffer with the converted bytes.
// Characters without an OEM form become '?'. When memory runs out the text
// is empty.
class CTCharToOem {
public:
    // The text up to its first NUL; a null string gives the empty text.
    explicit CTCharToOem(const OLECHAR* text) noexcept;
    ~CTCharToOem();
    CTCharToOem(CTCharToOem&& other) noexcept;
    CTCharToOem& operator=(CTCharToOem&& other) noexcept;
    CTCharToOem(const CTCharToOem&) = delete;
    CTCharToOem& operator=(const CTCharToOem&) = delete;

    // NUL-terminated, never null.
    const char* Text() const noexcept { return text_ ? text_ : ""; }
    operator const char*() const noexcept { return Text(); }
    std::size_t Length() const noexcept { return length_; }

private:
    char* text_ = nullptr;
    std::size_t length_ = 0;
};

// Writes text into an OEM field of the given width: the text up to its first
// NUL, converted and cut to width - 1 bytes; every byte after it is NUL.
// A null or empty text leaves the whole field NUL. Allocates nothing.
void WriteOemField(char* field, std::size_t width, const OLECHAR* text) noexcept;

// The text of an OEM field: its bytes up to the first NUL, never more than
// width bytes. A new BSTR (empty, not null, for an empty field); null only
// when memory runs out.
BSTR ReadOemField(const char* field, std::size_t width) noexcept;

// A record of size bytes as a byte-length BSTR (SysStringByteLen == size).
BSTR RecordToBstr(const void* record, std::size_t size) noexcept;

// Copies the first bytes of a BSTR's data over a record: min(size, the
// string's byte length) bytes. Returns how many were copied; the rest of the
// record is left as it was. A null string copies nothing.
std::size_t BstrToRecord(BSTR source, void* record, std::size_t size) noexcept;

}  // namespace orv
