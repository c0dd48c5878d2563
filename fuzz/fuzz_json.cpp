// The command-line tool's JSON reader (tools/cli/json.h, the reader behind
// `convert --from json`) under arbitrary text. The reader is a plain function
// of the text, so the target calls it directly instead of running the tool.
//
// Input: the bytes are the text, as they are (the tool reads standard input
// the same way).
//
// Besides "no crash, no leak, no sanitizer report", the target checks:
//  - a refused text reports where the reader stopped: an offset inside the
//    text (or at its end), the line one more than the line feeds before it,
//    a column from 1;
//  - an accepted value, written back as JSON by the target (strings escaped,
//    numbers as they were written), reads as the same value, and so does the
//    same text with white space around it;
//  - every string read (member names included) is well-formed UTF-8, which
//    the write and read back checks: the reader refuses anything else.
#include "fuzz_input.h"

#include "cli/json.h"

#include <string>

namespace {

namespace json = orv::cli::json;

void WriteString(const std::string& s, std::string& out) {
    static const char digits[] = "0123456789abcdef";
    out += '"';
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += digits[u >> 4];
            out += digits[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

void Write(const json::Value& v, std::string& out) {
    switch (v.kind) {
    case json::Value::Kind::Null: out += "null"; break;
    case json::Value::Kind::Bool: out += v.boolean ? "true" : "false"; break;
    case json::Value::Kind::Number: out += v.text; break;
    case json::Value::Kind::String: WriteString(v.text, out); break;
    case json::Value::Kind::Object: {
        out += '{';
        bool first = true;
        for (const auto& [name, member] : v.members) {
            if (!first) out += ',';
            first = false;
            WriteString(name, out);
            out += ':';
            ORV_FUZZ_CHECK(member != nullptr);
            Write(*member, out);
        }
        out += '}';
        break;
    }
    }
}

bool Same(const json::Value& a, const json::Value& b) {
    if (a.kind != b.kind || a.boolean != b.boolean || a.text != b.text || a.members.size() != b.members.size())
        return false;
    for (auto i = a.members.begin(), j = b.members.begin(); i != a.members.end(); ++i, ++j)
        if (i->first != j->first || !Same(*i->second, *j->second)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    json::Value value;
    try {
        value = json::Parse(text);
    } catch (const json::SyntaxError& e) {
        ORV_FUZZ_CHECK(e.offset <= text.size());
        std::size_t lines = 1;
        for (std::size_t i = 0; i < e.offset; ++i) lines += text[i] == '\n';
        ORV_FUZZ_CHECK(e.line == lines);
        ORV_FUZZ_CHECK(e.column >= 1 && e.column <= e.offset + 1);
        ORV_FUZZ_CHECK(e.what()[0] != '\0');
        return 0;
    }
    // Only objects are reached by depth; a value is never deeper than the
    // reader's limit, so the written text is accepted too.
    std::string written;
    Write(value, written);
    json::Value again;
    try {
        again = json::Parse(written);
    } catch (const json::SyntaxError& e) {
        std::fprintf(stderr, "written: %s\nrefused at %zu: %s\n", written.c_str(), e.offset, e.what());
        orvfuzz::Fail(__FILE__, __LINE__, "the written value reads back");
    }
    ORV_FUZZ_CHECK(Same(value, again));
    const json::Value spaced = json::Parse(" \r\n\t" + text + "\n ");
    ORV_FUZZ_CHECK(Same(value, spaced));
    return 0;
}
