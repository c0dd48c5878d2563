// UTF-16 <-> UTF-8 conversions of the DOM service.
//
// Every text crosses the DOM's interfaces as UTF-16 while pugixml keeps UTF-8,
// so whole documents go through these on each load and each write. Runs of
// ASCII are converted sixteen bytes at a time; everything else one code point
// at a time.
#pragma once

#include <orvdocs/platform/oleauto.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace orv::dom {

// A new BSTR holding the UTF-16 form of UTF-8 text. Malformed sequences become
// U+FFFD, one per offending byte. Null only when memory runs out.
BSTR BstrFromUtf8(std::string_view utf8);

// Converts UTF-8 text into w, which has room for `room` units (n units always
// suffice for n bytes). Malformed sequences become U+FFFD, one per offending
// byte. Returns the units written.
std::size_t Utf8ToUtf16Into(const char* p, std::size_t n, char16_t* w, std::size_t room);

// Appends the UTF-8 form of UTF-16 text; unpaired surrogates become U+FFFD.
void AppendUtf8(std::string& out, std::u16string_view utf16);
inline std::string ToUtf8(std::u16string_view utf16) {
    std::string s;
    AppendUtf8(s, utf16);
    return s;
}
// The UTF-8 form of a short text such as a name, NUL-terminated; names of up
// to 80 units need no allocation.
class Utf8Name {
public:
    explicit Utf8Name(std::u16string_view s);
    Utf8Name(const Utf8Name&) = delete;
    Utf8Name& operator=(const Utf8Name&) = delete;
    const char* c_str() const { return p_; }

private:
    char small_[241];
    std::string big_;
    const char* p_;
};

inline std::u16string_view View(BSTR s) {
    return s ? std::u16string_view(s, SysStringLen(s)) : std::u16string_view();
}

// The UTF-8 form of a text that is about to be parsed as XML. Fails at the first
// code unit that XML forbids (control characters other than tab, line feed and
// carriage return, unpaired surrogates, U+FFFE and U+FFFF). A leading byte
// order mark is dropped.
struct ParseSource {
    std::unique_ptr<char[]> bytes;  // NUL-terminated, writable: pugixml parses it in place
    std::size_t size = 0;           // without the NUL
    std::size_t skipped = 0;        // UTF-16 units dropped at the start (a byte order mark)
};
// Returns true on success; otherwise badIndex is the UTF-16 index of the first
// forbidden unit.
bool Utf8ForParse(std::u16string_view text, ParseSource& out, std::size_t& badIndex);

// The UTF-16 index in text of the UTF-8 byte offset `offset` of Utf8ForParse's output.
std::size_t Utf16IndexOfUtf8Offset(std::u16string_view text, std::size_t skipped, std::size_t offset);

}  // namespace orv::dom
