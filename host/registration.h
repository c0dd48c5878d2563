// Registers the host's outside components with the component runtime, so that
// the library's classes find them by class identifier (CoCreateInstance).
#pragma once

#include <orvdocs/orvdocs.h>

#include <vector>

namespace orv::host {

// One registered class object; revoke it with Revoke().
struct Registration {
    std::vector<DWORD> cookies;
    // Withdraws every class object this registration made.
    void Revoke() noexcept;
};

// Registers the reference item, the list component and the message service
// (and, as the host grows, every other outside component of this folder) for
// the calling process.
HRESULT RegisterHostComponents(Registration* out) noexcept;

// Registers one class object creating objects with `create` (for a host's own
// components and test doubles); withdrawn by reg->Revoke().
HRESULT RegisterHostClass(REFCLSID clsid, HRESULT (*create)(IUnknown*, REFIID, void**), Registration* reg) noexcept;

// Creation functions, for hosts that register the components one by one.
HRESULT CreateRefItem(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateUnknownList(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateMessageService(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateTextList(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateDateService(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateSumCollector(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateOutsideDoc(IUnknown* outer, REFIID riid, void** ppv) noexcept;
// The database service (host/OrvMemoryDatabase.h): on a new in-memory store
// (CLSID_OrvMemoryDatabase), or closed until Open names a store file
// (CLSID_OrvDatabase); a host hands it to documents as OrvBD.
HRESULT CreateAccountList(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateAddressList(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateMemoryDatabase(IUnknown* outer, REFIID riid, void** ppv) noexcept;
HRESULT CreateDatabase(IUnknown* outer, REFIID riid, void** ppv) noexcept;

}  // namespace orv::host
