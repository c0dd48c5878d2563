// Documents in files: reading with the encoding the file declares, writing
// with the encoding the document declares (load and save).
#pragma once

#include <string>
#include <string_view>

namespace orv::dom {

// The local file a load or save names: a path, or a "file:" URL (file:/p,
// file:///p, file://localhost/p; %XX escapes decoded). False with `why` for
// another scheme or an empty name.
bool LocalPath(std::u16string_view source, std::string& path, std::string& why);

// Reads the file and decodes it to UTF-16. The encoding comes from the byte
// order mark (UTF-8, UTF-16 LE/BE), else from the encoding the XML declaration
// names (any the system's converter knows: windows-1251, cp866, ISO-8859-x,
// KOI8-R, ...), else UTF-8. A byte order mark is kept, as loadXML skips it.
// False with `why` (and the UTF-16 index of a bad byte in `at`, else 0) when the
// file cannot be read or its bytes are not in its encoding.
bool ReadXmlFile(const std::string& path, std::u16string& text, std::string& why, std::size_t& at);

// Writes the document's text (UTF-8, its declaration included) to the file in
// `encoding` (empty: UTF-8; UTF-16 is written little-endian with a byte order
// mark). A character the encoding lacks is written as a character reference.
// The text goes to a temporary file in the same folder, renamed over the
// destination once complete: a failed save leaves the destination as it was
// and no temporary file behind. Returns the failure's errno (0 on success);
// EINVAL for an encoding the system does not know.
int WriteXmlFile(const std::string& path, std::string_view utf8, std::string_view encoding);

// The encoding pseudo-attribute of the XML declaration at the start of the
// text (ASCII-compatible bytes), or empty.
std::string DeclaredEncoding(std::string_view bytes);

}  // namespace orv::dom
