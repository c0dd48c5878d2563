// The module: its lock count, its class table with cached class factories,
// and self-registration.
#pragma once

#include <orvdocs/platform/unknwn.h>

#include <cstddef>

namespace orv {

// The module's lock count: live objects plus LockServer(TRUE) calls.
void ModuleLock() noexcept;
void ModuleUnlock() noexcept;
LONG ModuleLockCount() noexcept;

// Counts its owner in the module's lock count for the owner's whole life.
class ModuleReference {
public:
    ModuleReference() noexcept { ModuleLock(); }
    ModuleReference(const ModuleReference&) noexcept { ModuleLock(); }
    ModuleReference& operator=(const ModuleReference&) noexcept { return *this; }
    ~ModuleReference() { ModuleUnlock(); }
};

using CreatorFn = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);

enum class RegistryScript : unsigned char {
    Standard,   // ProgID keys, version-independent ProgID, CLSID key
    ClsidOnly,  // the CLSID key only, with a Version subkey (no ProgIDs)
};

// One row of the class table.
struct ClassEntry {
    const CLSID* clsid;
    const char16_t* name;  // class name; ProgIDs are "OrvDocs.<name>.1" and "OrvDocs.<name>"
    CreatorFn create;
    RegistryScript script;
};

// The class table of the module (defined with the catalogue).
const ClassEntry* ClassTable(std::size_t* count) noexcept;

// The class factory of a class in the table: created on first request under
// the module lock and cached for the module's life. The cached reference does
// not count in the lock count; while a caller holds a reference the factory
// counts as one lock.
HRESULT GetClassFactory(REFCLSID clsid, REFIID riid, void** ppv) noexcept;
// A class factory creating objects with `create`. With holdsModule it counts
// as one lock while it has references and its LockServer counts in this
// module's lock count (the module's own classes); without, neither (class
// objects a host registers).
HRESULT CreateClassFactory(CreatorFn create, bool holdsModule, IClassFactory** out) noexcept;
// Releases the cached factories (module unload).
void ReleaseClassFactories() noexcept;

// Writes or removes the registry keys of every class and of the type library.
HRESULT RegisterServer(bool registering) noexcept;

// The module handle and full path of this library.
HMODULE ThisModule() noexcept;

}  // namespace orv
