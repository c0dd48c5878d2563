// Text services: OEM code page 866 conversions, string tables with Russian and
// English texts, and locale-free wsprintfW formatting.
#pragma once

#include "types.h"

#include <cstdarg>

// OEM conversions (code page 866). Characters without an OEM form become '?'.
BOOL CharToOemW(LPCWSTR pSrc, LPSTR pDst);
BOOL CharToOemBuffW(LPCWSTR lpszSrc, LPSTR lpszDst, DWORD cchDstLength);
BOOL OemToCharW(LPCSTR pSrc, LPWSTR pDst);
BOOL OemToCharBuffW(LPCSTR lpszSrc, LPWSTR lpszDst, DWORD cchDstLength);
// Number of bytes / characters, without the NUL.
std::size_t OemStrLen(LPCSTR s);

inline constexpr LANGID LANG_NEUTRAL = 0x00;
inline constexpr LANGID LANG_ENGLISH = 0x09;
inline constexpr LANGID LANG_RUSSIAN = 0x19;
inline constexpr LANGID SUBLANG_NEUTRAL = 0x00;
inline constexpr LANGID SUBLANG_DEFAULT = 0x01;
constexpr LANGID PRIMARYLANGID(LANGID lgid) { return static_cast<LANGID>(lgid & 0x3FF); }
constexpr LANGID SUBLANGID(LANGID lgid) { return static_cast<LANGID>(lgid >> 10); }
constexpr LANGID MAKELANGID(LANGID primary, LANGID sub) { return static_cast<LANGID>((sub << 10) | primary); }

// String tables. A module registers its texts once (usually from a static
// initialiser); LoadStringW looks them up by module and id. The language is
// chosen from LC_ALL, LC_MESSAGES or LANG (a value starting with "ru" selects
// Russian, anything else English) unless the host sets it; a text without an
// English twin falls back to Russian.
struct STRINGTABLEENTRY {
    UINT id;
    const char16_t* russian;
    const char16_t* english;  // null when the text has no English twin
};
// The entries are copied; the texts they point to are not and must stay valid
// until the table is unregistered (string literals of the module). Registering
// again for the same module adds entries; a repeated id takes the newer texts.
void RegisterStringTable(HINSTANCE hInstance, const STRINGTABLEENTRY* entries, std::size_t count);
void UnregisterStringTable(HINSTANCE hInstance);
LANGID GetThreadUILanguage();
// Sets the language of every later lookup in the process; LANG_NEUTRAL goes
// back to the environment's choice. Returns the language set.
LANGID SetThreadUILanguage(LANGID LangId);
// Reads LC_ALL, LC_MESSAGES and LANG again (they are read once, at the first
// lookup); for hosts and tests that change the environment while running.
void ReloadUILanguageFromEnvironment();
// Copies the text (cut to cchBufferMax - 1 characters) and returns its length;
// 0 when the id is not in the table. With cchBufferMax 0, stores a read-only
// pointer to the text into *lpBuffer.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);

// Formatting without locale: %s (wide text, null prints "(null)"), %d %i %u
// %x %X %c %p %%, the prefixes h (16-bit; %hs and %hc take narrow UTF-8),
// l (32-bit LONG, passed as int32_t) and I64 (64-bit), the flags '-' and '0', a width and a precision. At most
// 1024 characters are written with the NUL. Returns the characters written,
// without the NUL.
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args);
