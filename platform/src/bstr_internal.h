// BSTR blocks for converters inside the platform that know only an upper
// bound of the length before they convert.
#pragma once

#include <orvdocs/platform/oleauto.h>

#include <cstddef>

namespace orv::detail {

// A BSTR with room for `units` UTF-16 units, its content not initialised (the
// terminator is written by BstrSetLength). Null when memory runs out.
BSTR BstrAllocUninitialized(std::size_t units);
// Sets the length of a BSTR from BstrAllocUninitialized to `units` (at most
// the room it was made with) and writes its terminator. A block much larger
// than needed is shrunk; the string may move, so the result replaces `s`.
BSTR BstrSetLength(BSTR s, std::size_t units);

// Gives a BSTR from BstrAllocUninitialized room for `units` (more than it has),
// keeping its content. Null when memory runs out; `s` is then unchanged.
BSTR BstrGrow(BSTR s, std::size_t units);

}  // namespace orv::detail
