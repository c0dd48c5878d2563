// Reading XML text into a tree (loadXML).
#pragma once

#include "domdoc.h"

#include <string_view>

namespace orv::dom {

// The status every failed load reports as parseError.errorCode.
inline constexpr LONG kParseFailed = static_cast<LONG>(0x80004005u);  // E_FAIL

// Parses `text` into the empty tree `into`. On failure fills `error` and
// returns false; the tree may then hold part of the text and is to be dropped.
bool ParseXml(std::u16string_view text, bool preserveWhiteSpace, Tree& into, ParseErrorInfo& error);

// Fills `error` for a failure at UTF-16 index `index` of `text` (its line,
// position and source line come from the text).
void ReportParseFailure(std::u16string_view text, std::size_t index, const char* reason, ParseErrorInfo& error);

}  // namespace orv::dom
