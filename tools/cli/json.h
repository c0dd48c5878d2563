// A small strict JSON reader for the document form `convert --to json`
// writes: objects, strings (with every escape, \uXXXX and surrogate pairs),
// numbers, true, false and null. Arrays are not part of that form and are
// refused like any other malformed text.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace orv::cli::json {

struct Value {
    enum class Kind { Null, Bool, Number, String, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a string's UTF-8 text, or a number as written
    std::map<std::string, std::shared_ptr<Value>> members;

    // The member with that name, null when missing or when this is no object.
    const Value* Find(const std::string& name) const;
};

// Malformed text: what is wrong and the position (byte offset from 0, line
// and column from 1) where the reader stopped.
struct SyntaxError : std::runtime_error {
    std::size_t offset, line, column;
    SyntaxError(const std::string& what, std::size_t offset, std::size_t line, std::size_t column);
};

// Reads one value filling the whole text (white space around it allowed).
// Throws SyntaxError; a name given twice in one object is refused too.
Value Parse(const std::string& text);

}  // namespace orv::cli::json
