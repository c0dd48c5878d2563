// The strict JSON reader of json.h.
#include "cli/json.h"

#include <cstdint>

namespace orv::cli::json {

const Value* Value::Find(const std::string& name) const {
    if (kind != Kind::Object) return nullptr;
    auto it = members.find(name);
    return it == members.end() ? nullptr : it->second.get();
}

SyntaxError::SyntaxError(const std::string& what, std::size_t offset_, std::size_t line_, std::size_t column_)
    : std::runtime_error(what), offset(offset_), line(line_), column(column_) {}

namespace {

// Deep nesting is refused before it can exhaust the stack.
constexpr int kMaxDepth = 64;

class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    Value Document() {
        Space();
        Value v = Any(0);
        Space();
        if (at_ != s_.size()) Fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        std::size_t line = 1, column = 1;
        for (std::size_t i = 0; i < at_ && i < s_.size(); ++i) {
            if (s_[i] == '\n') ++line, column = 1;
            // Columns count characters: UTF-8 continuation bytes are skipped.
            else if ((static_cast<unsigned char>(s_[i]) & 0xC0) != 0x80) ++column;
        }
        throw SyntaxError(what, at_, line, column);
    }

    bool End() const { return at_ >= s_.size(); }
    char Peek() const { return End() ? '\0' : s_[at_]; }

    void Space() {
        while (!End() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
    }

    void Expect(char c) {
        if (Peek() != c || End()) Fail(std::string("expected '") + c + "'");
        ++at_;
    }

    void Word(const char* word) {
        for (const char* p = word; *p; ++p) {
            if (Peek() != *p || End()) Fail(std::string("expected ") + word);
            ++at_;
        }
    }

    Value Any(int depth) {
        if (End()) Fail("unexpected end of the text");
        Value v;
        switch (Peek()) {
        case '{': return Object(depth);
        case '"': v.kind = Value::Kind::String, v.text = String(); return v;
        case 't': Word("true"), v.kind = Value::Kind::Bool, v.boolean = true; return v;
        case 'f': Word("false"), v.kind = Value::Kind::Bool; return v;
        case 'n': Word("null"); return v;
        case '[': Fail("arrays are not part of the document form");
        default:
            if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
                v.kind = Value::Kind::Number, v.text = Number();
                return v;
            }
            Fail("unexpected character");
        }
    }

    Value Object(int depth) {
        if (depth >= kMaxDepth) Fail("objects nested too deep");
        Expect('{');
        Value v;
        v.kind = Value::Kind::Object;
        Space();
        if (Peek() == '}' && !End()) {
            ++at_;
            return v;
        }
        for (;;) {
            Space();
            if (Peek() != '"' || End()) Fail("expected a member name");
            const std::size_t nameAt = at_;
            std::string name = String();
            Space();
            Expect(':');
            Space();
            auto value = std::make_shared<Value>(Any(depth + 1));
            if (!v.members.emplace(name, std::move(value)).second) {
                at_ = nameAt;
                Fail("member \"" + name + "\" given twice");
            }
            Space();
            if (Peek() == ',' && !End()) {
                ++at_;
                continue;
            }
            if (Peek() == '}' && !End()) {
                ++at_;
                return v;
            }
            Fail("expected ',' or '}'");
        }
    }

    std::string Number() {
        const std::size_t from = at_;
        auto digits = [&] {
            const std::size_t d = at_;
            while (!End() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
            return at_ - d;
        };
        if (Peek() == '-') ++at_;
        if (Peek() == '0' && !End()) {
            ++at_;
            if (Peek() >= '0' && Peek() <= '9' && !End()) Fail("a number does not start with 0");
        } else if (digits() == 0) {
            Fail("expected a digit");
        }
        if (Peek() == '.' && !End()) {
            ++at_;
            if (digits() == 0) Fail("expected a digit after '.'");
        }
        if ((Peek() == 'e' || Peek() == 'E') && !End()) {
            ++at_;
            if ((Peek() == '+' || Peek() == '-') && !End()) ++at_;
            if (digits() == 0) Fail("expected a digit in the exponent");
        }
        return s_.substr(from, at_ - from);
    }

    unsigned Hex4() {
        unsigned u = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            int d;
            if (End()) Fail("unexpected end of the text in \\u");
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else Fail("expected four hex digits after \\u");
            u = u * 16 + static_cast<unsigned>(d);
            ++at_;
        }
        return u;
    }

    static void Utf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // One UTF-8 character copied as it is; malformed sequences, overlong
    // forms and surrogates are refused.
    void Raw(std::string& out) {
        const unsigned char c = static_cast<unsigned char>(s_[at_]);
        int more;
        std::uint32_t cp;
        if (c < 0x80) more = 0, cp = c;
        else if ((c & 0xE0) == 0xC0) more = 1, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) more = 2, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) more = 3, cp = c & 0x07;
        else Fail("not UTF-8 text");
        const std::size_t from = at_++;
        for (int i = 0; i < more; ++i, ++at_) {
            if (End() || (static_cast<unsigned char>(s_[at_]) & 0xC0) != 0x80) {
                at_ = from;
                Fail("not UTF-8 text");
            }
            cp = (cp << 6) | (static_cast<unsigned char>(s_[at_]) & 0x3F);
        }
        static const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            at_ = from;
            Fail("not UTF-8 text");
        }
        out.append(s_, from, at_ - from);
    }

    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (End()) Fail("unterminated string");
            const char c = s_[at_];
            if (c == '"') {
                ++at_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
            if (c != '\\') {
                Raw(out);
                continue;
            }
            ++at_;
            if (End()) Fail("unterminated string");
            const char e = s_[at_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                const std::size_t escapeAt = at_ - 2;
                std::uint32_t cp = Hex4();
                if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    at_ = escapeAt;
                    Fail("a low surrogate without a high one");
                }
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    if (Peek() != '\\' || at_ + 1 >= s_.size() || s_[at_ + 1] != 'u') {
                        at_ = escapeAt;
                        Fail("a high surrogate without a low one");
                    }
                    at_ += 2;
                    const std::uint32_t low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF) {
                        at_ = escapeAt;
                        Fail("a high surrogate without a low one");
                    }
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                Utf8(out, cp);
                break;
            }
            default:
                --at_;
                Fail(std::string("unknown escape \\") + e);
            }
        }
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

}  // namespace

Value Parse(const std::string& text) { return Reader(text).Document(); }

}  // namespace orv::cli::json
