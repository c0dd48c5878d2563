// wsprintfW: printf-style formatting into UTF-16 text, independent of the
// process locale and free of allocation.
//
// A conversion is %[flags][width][.precision][prefix]type with
//   flags     '-' (left-justify) and '0' (pad numbers with zeros after the sign)
//   prefix    h (16-bit; with c and s a narrow UTF-8 character or text),
//             l (32-bit LONG; with c and s the wide forms), I64 (64-bit)
//   type      d i u x X c s p %
// The 'l' prefix is a 32-bit LONG as on the original platform: its argument
// arrives as an int through the variable arguments, never as a C++ long.
// A precision on a number is its minimum count of digits, on a string its
// maximum count of characters. Anything that is not a known conversion is
// copied to the output as it stands and consumes no argument.
#include <orvdocs/platform/text.h>

#include <cstdint>

namespace {

constexpr int kMaxOutput = 1024;  // characters, the NUL included
constexpr int kMaxField = kMaxOutput;

class Output {
public:
    explicit Output(WCHAR* buffer) : buffer_(buffer) {}
    void Put(WCHAR c) {
        if (used_ < kMaxOutput - 1) buffer_[used_++] = c;
    }
    void Repeat(WCHAR c, int count) {
        for (int i = 0; i < count; ++i) Put(c);
    }
    bool Full() const { return used_ >= kMaxOutput - 1; }
    int Finish() {
        buffer_[used_] = 0;
        return used_;
    }

private:
    WCHAR* buffer_;
    int used_ = 0;
};

struct FieldFormat {
    bool left = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // -1: none
};

void PutPadded(Output& out, const FieldFormat& fmt, const WCHAR* text, int length) {
    const int pad = fmt.width > length ? fmt.width - length : 0;
    if (!fmt.left) out.Repeat(u' ', pad);
    for (int i = 0; i < length; ++i) out.Put(text[i]);
    if (fmt.left) out.Repeat(u' ', pad);
}

void PutNumber(Output& out, const FieldFormat& fmt, std::uint64_t magnitude, bool negative, unsigned base, bool upper) {
    const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    WCHAR digits[24];
    int count = 0;
    // A precision of 0 prints no digit for the value 0, as in C.
    if (!(magnitude == 0 && fmt.precision == 0)) {
        do {
            digits[count++] = static_cast<WCHAR>(digitSet[magnitude % base]);
            magnitude /= base;
        } while (magnitude);
    }
    int zeros = fmt.precision > count ? fmt.precision - count : 0;
    int body = (negative ? 1 : 0) + zeros + count;
    // The zero flag fills the width with zeros after the sign; it is ignored
    // with '-' or with a precision.
    if (fmt.zero && !fmt.left && fmt.precision < 0 && fmt.width > body) {
        zeros += fmt.width - body;
        body = fmt.width;
    }
    const int pad = fmt.width > body ? fmt.width - body : 0;
    if (!fmt.left) out.Repeat(u' ', pad);
    if (negative) out.Put(u'-');
    out.Repeat(u'0', zeros);
    while (count) out.Put(digits[--count]);
    if (fmt.left) out.Repeat(u' ', pad);
}

// One UTF-8 sequence of a NUL-terminated text: returns the bytes it takes and
// its code point, U+FFFD for a malformed one (which then takes one byte).
int DecodeUtf8(const unsigned char* s, char32_t& cp) {
    const unsigned char c = s[0];
    int extra;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        cp = c & 0x1F, extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
        cp = c & 0x0F, extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
        cp = c & 0x07, extra = 3;
    } else {
        cp = 0xFFFD;
        return 1;
    }
    for (int i = 1; i <= extra; ++i) {  // a NUL is no continuation byte, so this stops at the end
        if ((s[i] & 0xC0) != 0x80) {
            cp = 0xFFFD;
            return 1;
        }
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
        return 1;
    }
    return extra + 1;
}

// Narrow (UTF-8) text for %hs; the precision counts UTF-16 units and never
// splits a surrogate pair.
void PutNarrow(Output& out, const FieldFormat& fmt, const char* text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const int limit = fmt.precision < 0 || fmt.precision > kMaxOutput ? kMaxOutput : fmt.precision;
    int units = 0;
    for (const unsigned char* q = s; *q;) {
        char32_t cp;
        const int used = DecodeUtf8(q, cp);
        const int need = cp >= 0x10000 ? 2 : 1;
        if (units + need > limit) break;
        units += need;
        q += used;
    }
    const int pad = fmt.width > units ? fmt.width - units : 0;
    if (!fmt.left) out.Repeat(u' ', pad);
    for (int written = 0; written < units;) {
        char32_t cp;
        s += DecodeUtf8(s, cp);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.Put(static_cast<WCHAR>(0xD800 + (cp >> 10)));
            out.Put(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
            written += 2;
        } else {
            out.Put(static_cast<WCHAR>(cp));
            ++written;
        }
    }
    if (fmt.left) out.Repeat(u' ', pad);
}

int ReadCount(const WCHAR*& p) {
    int n = 0;
    while (*p >= u'0' && *p <= u'9') {
        if (n < kMaxField) n = n * 10 + (*p - u'0');
        ++p;
    }
    return n < kMaxField ? n : kMaxField;
}

}  // namespace

int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
    if (!buffer) return 0;
    Output out(buffer);
    if (!format) return out.Finish();

    const WCHAR* p = format;
    while (*p && !out.Full()) {
        if (*p != u'%') {
            out.Put(*p++);
            continue;
        }
        const WCHAR* start = p++;
        FieldFormat fmt;
        for (;; ++p) {
            if (*p == u'-')
                fmt.left = true;
            else if (*p == u'0')
                fmt.zero = true;
            else
                break;
        }
        fmt.width = ReadCount(p);
        if (*p == u'.') {
            ++p;
            fmt.precision = ReadCount(p);
        }
        enum class Size { Int, Short, Long, Int64 } size = Size::Int;
        if (*p == u'h') {
            size = Size::Short;
            ++p;
        } else if (*p == u'l') {
            size = Size::Long;
            ++p;
        } else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
            size = Size::Int64;
            p += 3;
        }

        const WCHAR type = *p;
        switch (type) {
            case u'd':
            case u'i': {
                std::int64_t v;
                if (size == Size::Int64)
                    v = va_arg(args, std::int64_t);
                else if (size == Size::Short)
                    v = static_cast<std::int16_t>(va_arg(args, int));
                else
                    v = static_cast<std::int32_t>(va_arg(args, int));
                const bool negative = v < 0;
                const std::uint64_t magnitude =
                    negative ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
                PutNumber(out, fmt, magnitude, negative, 10, false);
                ++p;
                break;
            }
            case u'u':
            case u'x':
            case u'X': {
                std::uint64_t v;
                if (size == Size::Int64)
                    v = va_arg(args, std::uint64_t);
                else if (size == Size::Short)
                    v = static_cast<std::uint16_t>(va_arg(args, unsigned));
                else
                    v = static_cast<std::uint32_t>(va_arg(args, unsigned));
                PutNumber(out, fmt, v, false, type == u'u' ? 10 : 16, type == u'X');
                ++p;
                break;
            }
            case u'p': {
                // Upper-case hexadecimal, all digits of a pointer.
                const auto v = reinterpret_cast<std::uintptr_t>(va_arg(args, void*));
                FieldFormat ptr = fmt;
                ptr.precision = static_cast<int>(sizeof(void*) * 2);
                ptr.zero = false;
                PutNumber(out, ptr, v, false, 16, true);
                ++p;
                break;
            }
            case u'c': {
                WCHAR c = static_cast<WCHAR>(va_arg(args, int));
                // %hc is one narrow character: only ASCII stands alone in UTF-8.
                if (size == Size::Short) c = (c & 0xFF) < 0x80 ? static_cast<WCHAR>(c & 0xFF) : u'\uFFFD';
                PutPadded(out, fmt, &c, 1);
                ++p;
                break;
            }
            case u's': {
                if (size == Size::Short) {
                    const char* narrow = va_arg(args, const char*);
                    PutNarrow(out, fmt, narrow ? narrow : "(null)");
                    ++p;
                    break;
                }
                const WCHAR* s = va_arg(args, const WCHAR*);
                if (!s) s = u"(null)";
                int length = 0;
                while (s[length] && (fmt.precision < 0 || length < fmt.precision) && length < kMaxOutput) ++length;
                PutPadded(out, fmt, s, length);
                ++p;
                break;
            }
            case u'%':
                out.Put(u'%');
                ++p;
                break;
            default:
                // Not a conversion: copy what was read, the '%' included.
                while (start < p) out.Put(*start++);
                break;
        }
    }
    return out.Finish();
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    const int n = wvsprintfW(buffer, format, args);
    va_end(args);
    return n;
}
