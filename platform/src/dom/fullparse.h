// Documents with a DOCTYPE, read by the full XML processor (libxml2).
#pragma once

#include <cstddef>
#include <string>

namespace orv::dom {

struct FullParseError {
    std::string reason;  // English, from the processor
    int line = 1;        // from 1
    int column = 1;      // from 1, as the processor counts
};

// Checks the UTF-8 text (with its DOCTYPE) for well-formedness, expands its
// internal entities and applies the attribute defaults it declares; `out`
// receives the result as text again (the original XML declaration, the
// DOCTYPE, the content without entity references). False with `err` filled
// when the text is not well-formed.
bool ReadWithDoctype(const char* text, std::size_t size, std::string& out, FullParseError& err);

}  // namespace orv::dom
