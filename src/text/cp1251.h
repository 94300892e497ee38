// Conversions between UTF-8 (file names on disk, widgets, terminal) and the
// single-byte code page 1251 that every string of the core holds.
#pragma once

#include <string>
#include <string_view>

namespace tandrel {

// Byte that stands for a character code page 1251 cannot hold (undefined there).
inline constexpr char kUnmappableChar = '\x98';

struct Cp1251Text {
    std::string text;   // code-page-1251 bytes
    bool lossless;      // false when any character became kUnmappableChar
};

// Every character outside code page 1251, and every malformed UTF-8 byte,
// becomes kUnmappableChar and makes the result lossy.
Cp1251Text Utf8ToCp1251(std::string_view utf8);

// The byte of one Unicode code point, kUnmappableChar when the page has none.
char CodePointToCp1251(char32_t cp);

// The code point of one byte; kUnmappableChar gives U+FFFD.
char32_t Cp1251ToCodePoint(char byte);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

// kUnmappableChar becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view cp1251);
// The same appended to out (a buffer used again costs no allocation).
void AppendCp1251AsUtf8(std::string& out, std::string_view cp1251);

}  // namespace tandrel
