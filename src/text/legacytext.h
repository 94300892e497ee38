// Text in the single-byte Cyrillic encodings of old disks, archives and tag
// writers, recognised by Russian letter statistics: ID3 text whose bytes are
// code page 1251 although they are marked ISO-8859-1, and file names whose
// bytes are code page 1251, CP866 or KOI8-R instead of UTF-8. Also the strict
// UTF-8 test that tells such bytes from UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tandrel {

// Well-formed UTF-8 throughout (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);
// Strict UTF-8 as code points; only for bytes IsValidUtf8 accepts.
std::u32string Utf8CodePoints(std::string_view utf8);
// Code points as UTF-8.
std::string CodePointsToUtf8(const std::u32string& text);
// Bytes read as ISO-8859-1: each byte is the code point of its value.
std::u32string Latin1CodePoints(std::string_view bytes);

// True when single-byte text that is not valid UTF-8 is Cyrillic in code
// page 1251 rather than Western ISO-8859-1 text: its non-ASCII letters make
// whole words of two or more letters, where Western text has them among
// Latin letters ("Café", "Müller"). Plain ASCII is never Cyrillic.
bool LooksLikeCp1251Cyrillic(std::string_view bytes);

enum class LegacyEncoding : std::uint8_t { kCp1251, kCp866, kKoi8R };
// "cp1251", "cp866", "koi8-r".
const char* LegacyEncodingName(LegacyEncoding encoding);
// The bytes decoded by the encoding.
std::u32string DecodeLegacy(std::string_view bytes, LegacyEncoding encoding);

// The most likely of the three encodings for bytes that are not UTF-8, and
// the text it gives. plausible is false when even that reading holds
// characters that no name is made of (box drawing, symbols) or mixes Latin
// and Cyrillic letters in one word: the encoding is then unclear.
struct LegacyGuess {
    LegacyEncoding encoding = LegacyEncoding::kCp1251;
    std::u32string text;
    bool plausible = false;
};
LegacyGuess GuessLegacyEncoding(std::string_view bytes);

}  // namespace tandrel
