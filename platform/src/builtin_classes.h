// Lookups into the table of built-in classes, for the component runtime.
#pragma once

#include <orvdocs/platform/builtin.h>

#include <optional>
#include <string>

namespace orv::detail {

// The class factory of a built-in class (a new reference), or null when
// rclsid is not built in.
IClassFactory* FindBuiltinClassFactory(REFCLSID rclsid);
std::optional<CLSID> BuiltinClsidFromProgId(std::u16string_view progId);
std::optional<std::u16string> BuiltinProgIdFromClsid(REFCLSID rclsid);

}  // namespace orv::detail
