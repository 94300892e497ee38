// Tag text: the one decoder of ID3v2 strings, the blank trimming and the track
// number rule. A text frame names its encoding in its first byte: 0 single
// bytes (taken as code-page-1251 bytes, unconverted), 1 UTF-16 with a
// byte-order mark, 2 UTF-16 big-endian, 3 UTF-8. Decoded text becomes
// code-page-1251 text; a character the code page lacks becomes "?".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tandrel {

inline constexpr unsigned char kEncodingSingleByte = 0;
inline constexpr unsigned char kEncodingUtf16Bom = 1;
inline constexpr unsigned char kEncodingUtf16BE = 2;
inline constexpr unsigned char kEncodingUtf8 = 3;

// True for the encodings whose text is converted (1, 2 and 3).
bool IsUnicodeEncoding(unsigned char encoding);

// One string of a Unicode encoding from the start of bytes, up to its
// terminator (one zero byte for UTF-8, a zero 16-bit unit for UTF-16) or the
// end. consumed receives the bytes taken, terminator included.
std::u32string DecodeTagString(unsigned char encoding, std::string_view bytes, std::size_t* consumed = nullptr);

// Code points as code-page-1251 text; characters outside the code page become
// "?" and, when lost is given, are added to it once each.
std::string CodePointsToCp1251(const std::u32string& text, std::u32string* lost = nullptr);

// Code-page-1251 text as code points (kUnmappableChar becomes U+FFFD).
std::u32string Cp1251ToCodePoints(std::string_view cp1251);

// Adds the characters of text that lost does not hold yet.
void AddLostCharacters(std::u32string& lost, const std::u32string& text);
// Characters named by their code points for a message: "U+00F6, U+2606".
std::string NameCharacters(const std::u32string& chars);

// Code points as UTF-16 little-endian with a byte-order mark, with a zero
// terminator when terminated is true.
std::string EncodeUtf16WithBom(const std::u32string& text, bool terminated);

// The text without leading and trailing characters of code 32 or less.
std::string TrimTagText(std::string_view s);
// The text without trailing characters of code 32 or less.
std::string TrimTrailingTagText(std::string_view s);

// The track number a text names: the whole text an integer from 1 to 255,
// else 0 (no track).
std::uint8_t TrackFromText(const std::string& s);
// The value of the leading decimal digits of a text (0 when there are none).
long long LeadingNumber(const std::string& s);

}  // namespace tandrel
