#include "frame/oemtext.h"

#include <orvdocs/platform/text.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace orv {

namespace {

std::size_t BoundedOemLength(const char* oem, std::size_t maxBytes) noexcept {
    if (!oem) return 0;
    const void* nul = std::memchr(oem, 0, maxBytes);
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - oem) : maxBytes;
}

std::size_t WideLength(const OLECHAR* text) noexcept {
    std::size_t n = 0;
    if (text)
        while (text[n]) ++n;
    return n;
}

}  // namespace

// ------------------------------------------------------------ COemToWChar

COemToWChar::COemToWChar(const char* oem) noexcept { Convert(oem, oem ? std::strlen(oem) : 0); }

COemToWChar::COemToWChar(const char* oem, std::size_t maxBytes) noexcept {
    Convert(oem, BoundedOemLength(oem, maxBytes));
}

void COemToWChar::Convert(const char* oem, std::size_t count) noexcept {
    text_ = new (std::nothrow) OLECHAR[count + 1];
    if (!text_) return;
    if (count) OemToCharBuffW(oem, text_, static_cast<DWORD>(count));
    text_[count] = 0;
    length_ = count;
}

COemToWChar::~COemToWChar() { delete[] text_; }

COemToWChar::COemToWChar(COemToWChar&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)), length_(std::exchange(other.length_, 0)) {}

COemToWChar& COemToWChar::operator=(COemToWChar&& other) noexcept {
    if (this != &other) {
        delete[] text_;
        text_ = std::exchange(other.text_, nullptr);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

BSTR COemToWChar::AllocBstr() const noexcept {
    return SysAllocStringLen(Text(), static_cast<UINT>(length_));
}

// ------------------------------------------------------------ CTCharToOem

CTCharToOem::CTCharToOem(const OLECHAR* text) noexcept {
    const std::size_t count = WideLength(text);
    text_ = new (std::nothrow) char[count + 1];
    if (!text_) return;
    if (count) CharToOemBuffW(text, text_, static_cast<DWORD>(count));
    text_[count] = 0;
    length_ = count;
}

CTCharToOem::~CTCharToOem() { delete[] text_; }

CTCharToOem::CTCharToOem(CTCharToOem&& other) noexcept
    : text_(std::exchange(other.text_, nullptr)), length_(std::exchange(other.length_, 0)) {}

CTCharToOem& CTCharToOem::operator=(CTCharToOem&& other) noexcept {
    if (this != &other) {
        delete[] text_;
        text_ = std::exchange(other.text_, nullptr);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

// ------------------------------------------------------------ fields

void WriteOemField(char* field, std::size_t width, const OLECHAR* text) noexcept {
    if (!field || width == 0) return;
    // One OEM byte per UTF-16 unit, so converting the first width - 1 units
    // in place gives the same bytes as converting everything and cutting.
    std::size_t count = 0;
    if (text)
        while (count < width - 1 && text[count]) ++count;
    if (count) CharToOemBuffW(text, field, static_cast<DWORD>(count));
    std::memset(field + count, 0, width - count);
}

BSTR ReadOemField(const char* field, std::size_t width) noexcept {
    const std::size_t count = BoundedOemLength(field, width);
    BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(count));
    if (s && count) OemToCharBuffW(field, s, static_cast<DWORD>(count));
    return s;
}

// ------------------------------------------------------------ records

BSTR RecordToBstr(const void* record, std::size_t size) noexcept {
    if (size > std::numeric_limits<std::uint32_t>::max() / 2) return nullptr;
    if (!record && size) return nullptr;
    return SysAllocStringByteLen(static_cast<LPCSTR>(record), static_cast<UINT>(size));
}

std::size_t BstrToRecord(BSTR source, void* record, std::size_t size) noexcept {
    if (!source || !record) return 0;
    const std::size_t available = SysStringByteLen(source);
    const std::size_t n = available < size ? available : size;
    std::memcpy(record, source, n);
    return n;
}

}  // namespace orv
