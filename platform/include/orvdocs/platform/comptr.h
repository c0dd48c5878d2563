// C++ helpers for our own code: a counted interface pointer.
#pragma once

#include "unknwn.h"

#include <utility>

namespace orv {

// Holds one counted reference to an interface and releases it when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference (AddRef) on p.
    ComPtr(T* p) noexcept : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) noexcept : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ComPtr(const ComPtr<U>& o) noexcept : ComPtr(static_cast<T*>(o.Get())) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& o) noexcept {
        ComPtr(o).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        ComPtr(std::move(o)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(T* p) noexcept {
        ComPtr(p).Swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        Reset();
        return *this;
    }

    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Releases the held reference and gives the slot for an out-argument.
    T** ReleaseAndGetAddressOf() noexcept {
        Reset();
        return &p_;
    }
    T** GetAddressOf() noexcept { return &p_; }
    // Gives up ownership without releasing.
    T* Detach() noexcept { return std::exchange(p_, nullptr); }
    // Takes ownership of p without AddRef.
    void Attach(T* p) noexcept {
        Reset();
        p_ = p;
    }
    void Reset() noexcept {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    void Swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    // Hands a new reference to an out-argument.
    HRESULT CopyTo(T** pp) const noexcept {
        if (!pp) return E_POINTER;
        *pp = p_;
        if (p_) p_->AddRef();
        return S_OK;
    }
    HRESULT CopyTo(REFIID riid, void** pp) const noexcept {
        if (!pp) return E_POINTER;
        *pp = nullptr;
        if (!p_) return E_POINTER;
        return p_->QueryInterface(riid, pp);
    }
    template <class U>
    HRESULT As(ComPtr<U>* out) const noexcept {
        if (!out) return E_POINTER;
        if (!p_) {
            out->Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(uuidof<U>(), reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
    }
    HRESULT AsIID(REFIID riid, ComPtr<IUnknown>* out) const noexcept {
        if (!out) return E_POINTER;
        if (!p_) {
            out->Reset();
            return E_POINTER;
        }
        return p_->QueryInterface(riid, reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace orv
