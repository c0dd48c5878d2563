// C++ helpers for our own code: owners for BSTR and VARIANT, UTF-8/UTF-16 conversion.
#pragma once

#include "oleauto.h"

#include <string>
#include <string_view>
#include <new>
#include <utility>

namespace orv {

// UTF-8 <-> UTF-16. Invalid sequences become U+FFFD; nothing throws but bad_alloc.
std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);
// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// Length of a NUL-terminated UTF-16 text; 0 for null.
std::size_t WStrLen(const char16_t* s) noexcept;

// Owns one BSTR and frees it when it goes.
class Bstr {
public:
    Bstr() noexcept = default;
    // Out of memory throws std::bad_alloc: a string that could not be made
    // must not pass on as the empty one (which a null BSTR also means).
    explicit Bstr(std::u16string_view s) : s_(Made(SysAllocStringLen(s.data(), static_cast<UINT>(s.size())))) {}
    explicit Bstr(const char16_t* s) : s_(s ? Made(SysAllocString(s)) : nullptr) {}
    Bstr(const Bstr& o)
        : s_(o.s_ ? Made(SysAllocStringByteLen(reinterpret_cast<LPCSTR>(o.s_), SysStringByteLen(o.s_))) : nullptr) {}
    Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr& operator=(Bstr o) noexcept {
        std::swap(s_, o.s_);
        return *this;
    }

    static Bstr FromUtf8(std::string_view s) { return Bstr(Utf8ToUtf16(s)); }
    // Takes ownership of an existing BSTR.
    static Bstr Attach(BSTR s) noexcept {
        Bstr b;
        b.s_ = s;
        return b;
    }

    BSTR Get() const noexcept { return s_; }
    operator BSTR() const noexcept { return s_; }
    BSTR* ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &s_;
    }
    BSTR Detach() noexcept { return std::exchange(s_, nullptr); }
    void Reset() noexcept { SysFreeString(std::exchange(s_, nullptr)); }
    UINT Length() const noexcept { return SysStringLen(s_); }
    UINT ByteLength() const noexcept { return SysStringByteLen(s_); }
    bool Empty() const noexcept { return Length() == 0; }
    std::u16string_view View() const noexcept { return s_ ? std::u16string_view(s_, Length()) : std::u16string_view(); }
    std::string Utf8() const { return Utf16ToUtf8(View()); }
    // Hands a copy to an out-argument.
    HRESULT CopyTo(BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!s_) return S_OK;
        *out = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(s_), SysStringByteLen(s_));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    static BSTR Made(BSTR s) {
        if (!s) throw std::bad_alloc();
        return s;
    }
    BSTR s_ = nullptr;
};

// Owns one VARIANT and clears it when it goes.
class Variant : public VARIANT {
public:
    Variant() noexcept { VariantInit(this); }
    // Copies and strings that run out of memory throw std::bad_alloc, as Bstr does.
    Variant(const VARIANT& v) {
        VariantInit(this);
        if (VariantCopy(this, &v) == E_OUTOFMEMORY) throw std::bad_alloc();
    }
    Variant(const Variant& v) : Variant(static_cast<const VARIANT&>(v)) {}
    Variant(Variant&& v) noexcept {
        *static_cast<VARIANT*>(this) = v;
        VariantInit(&v);
    }
    explicit Variant(LONG v) noexcept : Variant() { vt = VT_I4, lVal = v; }
    explicit Variant(SHORT v) noexcept : Variant() { vt = VT_I2, iVal = v; }
    explicit Variant(double v) noexcept : Variant() { vt = VT_R8, dblVal = v; }
    explicit Variant(CY v) noexcept : Variant() { vt = VT_CY, cyVal = v; }
    explicit Variant(bool v) noexcept : Variant() { vt = VT_BOOL, boolVal = v ? VARIANT_TRUE : VARIANT_FALSE; }
    explicit Variant(std::u16string_view s) : Variant() {
        bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
        if (!bstrVal) throw std::bad_alloc();
        vt = VT_BSTR;
    }
    ~Variant() { VariantClear(this); }
    Variant& operator=(const Variant& v) {
        if (this != &v) {
            VariantClear(this);
            if (VariantCopy(this, &v) == E_OUTOFMEMORY) throw std::bad_alloc();
        }
        return *this;
    }
    Variant& operator=(Variant&& v) noexcept {
        if (this != &v) {
            VariantClear(this);
            *static_cast<VARIANT*>(this) = v;
            VariantInit(&v);
        }
        return *this;
    }
    void Clear() noexcept { VariantClear(this); }
    // Clears and returns the variant for use as an out-argument.
    VARIANT* Out() noexcept {
        VariantClear(this);
        return this;
    }
    HRESULT ChangeType(VARTYPE to) { return VariantChangeType(this, this, 0, to); }
    // Moves the value out (e.g. into a caller's out-argument); leaves this empty.
    void Detach(VARIANT* out) noexcept {
        *out = *static_cast<VARIANT*>(this);
        VariantInit(this);
    }
};

}  // namespace orv
