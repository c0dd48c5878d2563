// Reading and writing documents as files. Encodings other than UTF-8 and
// UTF-16 go through the C library's iconv, which knows windows-1251, CP866 and
// the other single-byte code pages.
#include "files.h"

#include <orvdocs/platform/strings.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orv::dom {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

bool IsUtf8Name(std::string_view e) { return e.empty() || EqualsNoCase(e, "UTF-8") || EqualsNoCase(e, "UTF8"); }
bool IsUtf16Name(std::string_view e) {
    return EqualsNoCase(e, "UTF-16") || EqualsNoCase(e, "UTF16") || EqualsNoCase(e, "UCS-2") ||
           EqualsNoCase(e, "ISO-10646-UCS-2");
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) ::iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

int ReadAll(const std::string& path, std::string& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int e = errno && !S_ISREG(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return e ? e : EISDIR;
    }
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    while (true) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            int e = errno;
            ::close(fd);
            return e;
        }
    }
    ::close(fd);
    return 0;
}

// UTF-8 bytes to UTF-16, refusing malformed sequences; `bad` is the UTF-16
// index reached at the first bad byte.
bool DecodeUtf8(std::string_view in, std::u16string& out, std::size_t& bad) {
    out.clear();
    out.reserve(in.size());
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* end = p + in.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            out.push_back(c);
            ++p;
            continue;
        }
        int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || end - p <= extra) return bad = out.size(), false;
        char32_t v = c & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) return bad = out.size(), false;
            v = (v << 6) | (p[i] & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (v < kMin[extra] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return bad = out.size(), false;
        if (v >= 0x10000) {
            v -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(v));
        }
        p += extra + 1;
    }
    return true;
}

void DecodeUtf16(std::string_view in, bool bigEndian, std::u16string& out) {
    out.resize(in.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto a = static_cast<unsigned char>(in[2 * i]), b = static_cast<unsigned char>(in[2 * i + 1]);
        out[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
}

// Through iconv into UTF-16LE.
bool DecodeWith(const std::string& encoding, std::string_view in, std::u16string& out, std::string& why,
                std::size_t& bad) {
    Iconv cd("UTF-16LE", encoding.c_str());
    if (!cd.ok()) {
        why = "The encoding '" + encoding + "' is not supported";
        return false;
    }
    std::string wide(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = wide.data();
    std::size_t dstLeft = wide.size();
    if (::iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
        wide.resize(wide.size() - dstLeft);
        bad = wide.size() / 2;
        why = "The text is not in the encoding it declares ('" + encoding + "')";
        return false;
    }
    wide.resize(wide.size() - dstLeft);
    DecodeUtf16(wide, false, out);
    return true;
}

}  // namespace

bool LocalPath(std::u16string_view source, std::string& path, std::string& why) {
    std::string s = Utf16ToUtf8(source);
    if (s.empty()) {
        why = "No file name was given";
        return false;
    }
    auto scheme = s.find(':');
    const bool hasScheme = scheme != std::string::npos && scheme > 1 &&
                           s.find_first_of("/\\") > scheme;  // "c:" alone is not a scheme here
    if (!hasScheme) {
        path = s;
        return true;
    }
    if (!EqualsNoCase(std::string_view(s).substr(0, scheme), "file")) {
        why = "Only local files can be loaded or saved: '" + s + "'";
        return false;
    }
    std::string rest = s.substr(scheme + 1);
    if (rest.rfind("//", 0) == 0) {
        const std::size_t slash = rest.find('/', 2);
        const std::string host = rest.substr(2, slash == std::string::npos ? std::string::npos : slash - 2);
        if (!host.empty() && !EqualsNoCase(host, "localhost")) {
            why = "Only local files can be loaded or saved: '" + s + "'";
            return false;
        }
        rest = slash == std::string::npos ? std::string() : rest.substr(slash);
    }
    path.clear();
    for (std::size_t i = 0; i < rest.size(); ++i) {
        auto hex = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        };
        if (rest[i] == '%' && i + 2 < rest.size() + 0 && hex(rest[i + 1]) >= 0 && hex(rest[i + 2]) >= 0) {
            path += static_cast<char>(hex(rest[i + 1]) * 16 + hex(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    if (path.empty()) {
        why = "No file name was given";
        return false;
    }
    return true;
}

std::string DeclaredEncoding(std::string_view bytes) {
    if (bytes.rfind("<?xml", 0) != 0) return {};
    const std::size_t close = bytes.find("?>");
    std::string_view decl = bytes.substr(0, close);
    std::size_t at = decl.find("encoding");
    if (at == std::string_view::npos) return {};
    at += 8;
    while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t' || decl[at] == '\r' || decl[at] == '\n')) ++at;
    if (at >= decl.size() || decl[at] != '=') return {};
    ++at;
    while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t' || decl[at] == '\r' || decl[at] == '\n')) ++at;
    if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return {};
    const char quote = decl[at++];
    const std::size_t end = decl.find(quote, at);
    if (end == std::string_view::npos) return {};
    return std::string(decl.substr(at, end - at));
}

bool ReadXmlFile(const std::string& path, std::u16string& text, std::string& why, std::size_t& at) {
    at = 0;
    std::string bytes;
    if (int e = ReadAll(path, bytes)) {
        why = "Cannot read the file '" + path + "': " + std::strerror(e);
        return false;
    }
    const auto b = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
    if (b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
        if (!DecodeUtf8(bytes, text, at)) return why = "Invalid UTF-8 in the file", false;
        return true;
    }
    if ((b(0) == 0xFF && b(1) == 0xFE) || (b(0) == 0xFE && b(1) == 0xFF) || (b(0) == '<' && b(1) == 0) ||
        (b(0) == 0 && b(1) == '<')) {
        if (bytes.size() % 2) return why = "The file ends in the middle of a UTF-16 character", false;
        DecodeUtf16(bytes, b(0) == 0xFE || b(0) == 0, text);
        return true;
    }
    const std::string encoding = DeclaredEncoding(bytes);
    if (IsUtf16Name(encoding)) {
        why = "The file declares '" + encoding + "' but is not in UTF-16";
        return false;
    }
    if (IsUtf8Name(encoding) || EqualsNoCase(encoding, "US-ASCII") || EqualsNoCase(encoding, "ASCII")) {
        if (!DecodeUtf8(bytes, text, at)) return why = "Invalid UTF-8 in the file", false;
        return true;
    }
    return DecodeWith(encoding, bytes, text, why, at);
}

int WriteXmlFile(const std::string& path, std::string_view utf8, std::string_view encoding) {
    std::string bytes;
    if (IsUtf8Name(encoding)) {
        bytes.assign(utf8);
    } else {
        const std::u16string wide = Utf8ToUtf16(utf8);
        if (IsUtf16Name(encoding)) {
            bytes.reserve(2 + wide.size() * 2);
            bytes += "\xFF\xFE";
            for (char16_t c : wide) {
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>(c >> 8);
            }
        } else {
            Iconv cd(std::string(encoding).c_str(), "UTF-16LE");
            if (!cd.ok()) return EINVAL;
            // One character at a time through iconv would be slow; whole runs
            // go at once and a character the code page lacks is written as a
            // reference.
            bytes.resize(wide.size() * 4 + 16);
            char* dst = bytes.data();
            std::size_t dstLeft = bytes.size();
            char* src = reinterpret_cast<char*>(const_cast<char16_t*>(wide.data()));
            std::size_t srcLeft = wide.size() * 2;
            while (srcLeft > 0) {
                if (::iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
                if (errno != EILSEQ && errno != EINVAL) return errno;
                const auto* unit = reinterpret_cast<const char16_t*>(src);
                char32_t cp = *unit;
                std::size_t used = 2;
                if (cp >= 0xD800 && cp <= 0xDBFF && srcLeft >= 4 && unit[1] >= 0xDC00 && unit[1] <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (unit[1] - 0xDC00);
                    used = 4;
                }
                const std::string ref = "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
                const std::size_t done = bytes.size() - dstLeft;
                bytes.resize(bytes.size() + ref.size());
                dst = bytes.data() + done;
                dstLeft += ref.size();
                std::memcpy(dst, ref.data(), ref.size());
                dst += ref.size();
                dstLeft -= ref.size();
                src += used;
                srcLeft -= used;
            }
            bytes.resize(bytes.size() - dstLeft);
        }
    }
    static std::atomic<unsigned> counter{0};
    const std::string tmp = path + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) (void)::fchmod(fd, st.st_mode & 07777);
    int err = 0;
    std::size_t done = 0;
    while (!err && done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) done += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR) continue;
        else err = n < 0 ? errno : EIO;
    }
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err) ::unlink(tmp.c_str());
    return err;
}

}  // namespace orv::dom
