// The list of every interface of the type library, with its name and, for the
// dual ones, its compiled-in type information: what registration writes under
// HKEY_CLASSES_ROOT\Interface and what code that walks all tables starts from.
#pragma once

#include "frame/typeinfo.h"

#include <cstddef>

namespace orv {

struct InterfaceEntry {
    const IID* iid;
    const char16_t* name;
    // The dual interface's table; null for a custom interface (derived from IUnknown).
    const ti::Interface* (*typeInfo)();
};

// The 67 interfaces of the type library (59 dual, 8 custom), in the order of
// the library's interface table.
const InterfaceEntry* TypeLibraryInterfaces(std::size_t* count) noexcept;

// Dual interfaces of outside components whose tables the library carries
// because its own classes serve them (the list component, the reference item).
const InterfaceEntry* OutsideDualInterfaces(std::size_t* count) noexcept;

}  // namespace orv
