// The registry tree and its text file form.
//
//   ORVDOCS-REGISTRY 1
//   key "HKEY_CLASSES_ROOT" "CLSID" "{...}" "InprocServer32"
//   value "" sz "/usr/lib/liborvdocs.so"
//   value "ThreadingModel" sz "Both"
//   end
//
// Names and texts are UTF-8 in double quotes; escapes keep any UTF-16 text
// (control characters, unpaired surrogates, NUL) exact.
#include "regtree.h"

#include <orvdocs/platform/strings.h>

#include <charconv>
#include <cstdio>

namespace orv::reg {

namespace {

constexpr std::string_view kHeader = "ORVDOCS-REGISTRY";
constexpr int kVersion = 1;
constexpr std::size_t kMaxKeyNameLength = 255;

const char* const kRootNames[kRootCount] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                            "HKEY_USERS"};

char16_t FoldChar(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

// ------------------------------------------------------------------ writing

void AppendEscape(std::string& out, char16_t unit) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(unit));
    out += buf;
}

void AppendQuoted(std::string& out, std::u16string_view s) {
    out.push_back('"');
    for (std::size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            orv::AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendEscape(out, c);  // unpaired surrogate: not representable in UTF-8
        } else if (c == u'"') {
            out += "\\\"";
        } else if (c == u'\\') {
            out += "\\\\";
        } else if (c == u'\n') {
            out += "\\n";
        } else if (c == u'\r') {
            out += "\\r";
        } else if (c == u'\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            AppendEscape(out, c);
        } else {
            orv::AppendUtf8(out, c);
        }
    }
    out.push_back('"');
}

void AppendHex(std::string& out, const std::vector<BYTE>& data) {
    static const char kDigits[] = "0123456789abcdef";
    out += "hex:";
    for (BYTE b : data) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 15]);
    }
}

// A string value is written as text when its bytes are whole UTF-16 units
// ending in exactly the one terminating NUL; anything else keeps its bytes.
bool IsPlainString(const std::vector<BYTE>& d) {
    return d.size() >= 2 && d.size() % 2 == 0 && d[d.size() - 1] == 0 && d[d.size() - 2] == 0;
}

void AppendValue(std::string& out, const Value& v) {
    out += "value ";
    AppendQuoted(out, v.name);
    switch (v.type) {
        case REG_SZ: out += " sz "; break;
        case REG_EXPAND_SZ: out += " expand_sz "; break;
        case REG_BINARY: out += " binary "; break;
        case REG_DWORD: out += " dword "; break;
        default: out += ' ' + std::to_string(v.type) + ' '; break;
    }
    if ((v.type == REG_SZ || v.type == REG_EXPAND_SZ) && IsPlainString(v.data)) {
        std::u16string text((v.data.size() - 2) / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(v.data[2 * i] | (v.data[2 * i + 1] << 8));
        AppendQuoted(out, text);
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        std::uint32_t n = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<std::uint32_t>(v.data[3]) << 24);
        out += std::to_string(n);
    } else {
        AppendHex(out, v.data);
    }
    out.push_back('\n');
}

void AppendKey(std::string& out, const std::string& prefix, const Key& key, bool isRoot) {
    std::string line = prefix;
    if (!isRoot) {
        line += ' ';
        AppendQuoted(line, key.name);
    }
    if (!isRoot || !key.values.empty()) {
        out += line;
        out.push_back('\n');
        for (const Value& v : key.values) AppendValue(out, v);
    }
    for (const auto& [folded, sub] : key.subkeys) AppendKey(out, line, *sub, false);
}

// ------------------------------------------------------------------ reading

class LineParser {
public:
    explicit LineParser(std::string_view line) : s_(line) {}

    bool AtEnd() const { return pos_ >= s_.size(); }
    std::string error;

    std::string_view Word() {
        std::size_t start = pos_;
        while (pos_ < s_.size() && s_[pos_] != ' ') ++pos_;
        return s_.substr(start, pos_ - start);
    }
    bool Space() {
        if (pos_ < s_.size() && s_[pos_] == ' ') {
            ++pos_;
            return true;
        }
        error = "a blank was expected";
        return false;
    }
    bool Quoted(std::u16string& out) {
        out.clear();
        if (pos_ >= s_.size() || s_[pos_] != '"') return Fail("a quoted text was expected");
        ++pos_;
        while (true) {
            if (pos_ >= s_.size()) return Fail("a quoted text is not closed");
            unsigned char c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c == '\\') {
                if (!Escape(out)) return false;
                continue;
            }
            if (c < 0x20 || c == 0x7F) return Fail("a control character inside a quoted text");
            if (!Utf8(out)) return false;
        }
    }
    bool Fail(const char* what) {
        error = what;
        return false;
    }

private:
    bool Escape(std::u16string& out) {
        ++pos_;
        if (pos_ >= s_.size()) return Fail("an escape is cut off");
        char c = s_[pos_++];
        switch (c) {
            case '"': out.push_back(u'"'); return true;
            case '\\': out.push_back(u'\\'); return true;
            case 'n': out.push_back(u'\n'); return true;
            case 'r': out.push_back(u'\r'); return true;
            case 't': out.push_back(u'\t'); return true;
            case 'u': {
                if (s_.size() - pos_ < 4) return Fail("a \\u escape needs four hexadecimal digits");
                unsigned v = 0;
                auto [p, ec] = std::from_chars(s_.data() + pos_, s_.data() + pos_ + 4, v, 16);
                if (ec != std::errc() || p != s_.data() + pos_ + 4)
                    return Fail("a \\u escape needs four hexadecimal digits");
                pos_ += 4;
                out.push_back(static_cast<char16_t>(v));
                return true;
            }
            default: return Fail("an unknown escape");
        }
    }
    // One UTF-8 sequence, strictly: overlong forms, surrogates and cut-off
    // sequences are damage.
    bool Utf8(std::u16string& out) {
        auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s_[i]); };
        unsigned char c = byte(pos_);
        if (c < 0x80) {
            out.push_back(c);
            ++pos_;
            return true;
        }
        int extra;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) extra = 1, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) extra = 2, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) extra = 3, cp = c & 0x07;
        else return Fail("invalid UTF-8");
        if (s_.size() - pos_ <= static_cast<std::size_t>(extra)) return Fail("invalid UTF-8");
        for (int i = 1; i <= extra; ++i) {
            if ((byte(pos_ + i) & 0xC0) != 0x80) return Fail("invalid UTF-8");
            cp = (cp << 6) | (byte(pos_ + i) & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return Fail("invalid UTF-8");
        pos_ += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        return true;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

bool ParseHex(std::string_view s, std::vector<BYTE>& out) {
    if (s.size() % 2) return false;
    out.clear();
    out.reserve(s.size() / 2);
    for (std::size_t i = 0; i < s.size(); i += 2) {
        unsigned v = 0;
        auto [p, ec] = std::from_chars(s.data() + i, s.data() + i + 2, v, 16);
        if (ec != std::errc() || p != s.data() + i + 2) return false;
        out.push_back(static_cast<BYTE>(v));
    }
    return true;
}

bool ParseType(std::string_view w, DWORD& type) {
    if (w == "sz") type = REG_SZ;
    else if (w == "expand_sz") type = REG_EXPAND_SZ;
    else if (w == "binary") type = REG_BINARY;
    else if (w == "dword") type = REG_DWORD;
    else {
        auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), type, 10);
        return !w.empty() && ec == std::errc() && p == w.data() + w.size();
    }
    return true;
}

bool ParseValueLine(LineParser& lp, Key& key, std::string& error) {
    Value v;
    if (!lp.Space() || !lp.Quoted(v.name) || !lp.Space()) return error = lp.error, false;
    if (!ParseType(lp.Word(), v.type)) return error = "an unknown value type", false;
    if (!lp.Space()) return error = lp.error, false;
    if (key.FindValue(v.name)) return error = "a value is given twice", false;
    LineParser probe = lp;
    std::string_view payload = probe.Word();
    if (payload.substr(0, 4) == "hex:") {
        if (!ParseHex(payload.substr(4), v.data)) return error = "bad hexadecimal data", false;
        lp = probe;
    } else if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) {
        std::u16string text;
        if (!lp.Quoted(text)) return error = lp.error, false;
        v.data.reserve(text.size() * 2 + 2);
        for (char16_t c : text) {
            v.data.push_back(static_cast<BYTE>(c & 0xFF));
            v.data.push_back(static_cast<BYTE>(c >> 8));
        }
        v.data.push_back(0);
        v.data.push_back(0);
    } else if (v.type == REG_DWORD) {
        std::uint32_t n = 0;
        auto [p, ec] = std::from_chars(payload.data(), payload.data() + payload.size(), n, 10);
        if (payload.empty() || ec != std::errc() || p != payload.data() + payload.size())
            return error = "a bad number", false;
        for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<BYTE>(n >> (8 * i)));
        lp = probe;
    } else {
        return error = "data of this type must be written as hex:", false;
    }
    if (!lp.AtEnd()) return error = "unexpected text after the value", false;
    key.values.push_back(std::move(v));
    return true;
}

Key* ParseKeyLine(LineParser& lp, Tree& tree, std::string& error) {
    std::u16string name;
    if (!lp.Space() || !lp.Quoted(name)) return error = lp.error, nullptr;
    Key* key = nullptr;
    for (std::size_t r = 0; r < kRootCount; ++r)
        if (name == std::u16string(kRootNames[r], kRootNames[r] + std::char_traits<char>::length(kRootNames[r])))
            key = &tree.roots[r];
    if (!key) return error = "an unknown root key", nullptr;
    while (!lp.AtEnd()) {
        if (!lp.Space() || !lp.Quoted(name)) return error = lp.error, nullptr;
        if (name.empty() || name.size() > kMaxKeyNameLength || name.find(u'\\') != std::u16string::npos)
            return error = "a key name that is empty, too long or holds a backslash", nullptr;
        key = &key->SubkeyOrCreate(name, nullptr);
    }
    return key;
}

}  // namespace

const char* RootName(Root r) { return kRootNames[static_cast<std::size_t>(r)]; }

std::u16string Fold(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out) c = FoldChar(c);
    return out;
}

Key* Key::Subkey(std::u16string_view n) const {
    auto it = subkeys.find(Fold(n));
    return it == subkeys.end() ? nullptr : it->second.get();
}

Value* Key::FindValue(std::u16string_view n) {
    for (Value& v : values) {
        if (v.name.size() != n.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < n.size() && same; ++i) same = FoldChar(v.name[i]) == FoldChar(n[i]);
        if (same) return &v;
    }
    return nullptr;
}

Key& Key::SubkeyOrCreate(std::u16string_view n, bool* created) {
    auto [it, inserted] = subkeys.try_emplace(Fold(n));
    if (inserted) {
        it->second = std::make_unique<Key>();
        it->second->name = std::u16string(n);
    }
    if (created) *created = inserted;
    return *it->second;
}

Tree::Tree() {
    for (std::size_t r = 0; r < kRootCount; ++r) {
        const char* n = kRootNames[r];
        roots[r].name.assign(n, n + std::char_traits<char>::length(n));
    }
}

void Tree::Clear() {
    for (Key& k : roots) {
        k.values.clear();
        k.subkeys.clear();
    }
}

std::string Serialize(const Tree& tree) {
    std::string out;
    out += kHeader;
    out += ' ' + std::to_string(kVersion) + '\n';
    for (std::size_t r = 0; r < kRootCount; ++r) {
        std::string prefix = "key ";
        AppendQuoted(prefix, tree.roots[r].name);
        AppendKey(out, prefix, tree.roots[r], true);
    }
    out += "end\n";
    return out;
}

bool Parse(std::string_view text, Tree& out, std::string& error) {
    Tree tree;
    Key* current = nullptr;
    bool header = false, ended = false;
    std::size_t lineNo = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNo) + ": " + what;
        return false;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (ended) return fail("text after the end line");
        LineParser lp(line);
        std::string_view word = lp.Word();
        if (!header) {
            if (word != kHeader) return fail("not a registry file (the first line must start with ORVDOCS-REGISTRY)");
            if (!lp.Space()) return fail(lp.error);
            std::string_view v = lp.Word();
            if (v != std::to_string(kVersion) || !lp.AtEnd())
                return fail("format version \"" + std::string(v) + "\" is not supported (this program reads version " +
                            std::to_string(kVersion) + ")");
            header = true;
        } else if (word == "key") {
            std::string why;
            current = ParseKeyLine(lp, tree, why);
            if (!current) return fail(why);
        } else if (word == "value") {
            if (!current) return fail("a value before any key");
            std::string why;
            if (!ParseValueLine(lp, *current, why)) return fail(why);
        } else if (word == "end" && lp.AtEnd()) {
            ended = true;
        } else {
            return fail("an unknown line");
        }
    }
    if (!header) return error = "the file is empty or has no header line", false;
    if (!ended) return error = "the file is cut off (no end line)", false;
    std::swap(out, tree);
    return true;
}

}  // namespace orv::reg
