// Declares the compiled-in type information of a dual interface. The table
// itself is defined next to the library's sources with ORV_TYPEINFO_BEGIN.
#pragma once

#include <orvdocs/platform/oleauto.h>

namespace orv::ti {
struct Interface;
}

// Declares `TypeInfoOf(const I*)`, which the dispatch toolkit finds by overload.
#define ORV_TYPEINFO_DECL(I) const ::orv::ti::Interface& TypeInfoOf(const I*)
