// The encodings of text files a user brings: deciding a file's encoding from
// its bytes, converting it to code page 1251 for the algorithms (whole or a
// block at a time), and writing a document back in the encoding it came in
// without losing the characters code page 1251 cannot hold.
//
// The rule, per file: a UTF-8 or UTF-16 byte-order mark; else valid UTF-8
// holding non-ASCII bytes (a ".m3u8" file is UTF-8 by its name); else code
// page 1251.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/byteset.h"
#include "text/cp1251.h"
#include "text/textlines.h"

namespace tandrel {

enum class TextEncoding { Cp1251, Utf8, Utf16LE, Utf16BE };

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::Cp1251;
    std::size_t markSize = 0;  // the byte-order mark at the start, to be skipped
};

// Structurally valid UTF-8 (no stray continuation byte, overlong form,
// surrogate or code point above U+10FFFF). With cutAtEnd a sequence cut by
// the end of s counts as valid (s is a block of a longer file). nonAscii
// receives whether s holds a byte of 0x80 or above.
bool IsValidUtf8(std::string_view s, bool& nonAscii, bool cutAtEnd = false);

// The encoding of a whole text file, or (cutAtEnd) of a file by its first block.
DetectedEncoding DetectTextEncoding(std::string_view bytes, bool utf8ByName = false, bool cutAtEnd = false);

// A whole text file in code page 1251, its mark dropped.
std::string TextToCp1251(std::string_view bytes, bool utf8ByName = false);

// Whether a file name says UTF-8 by itself (the extension ".m3u8").
bool NameMeansUtf8(std::string_view path);

// UTF-16 without its mark to code page 1251; an unpaired surrogate or an odd
// last byte becomes kUnmappableChar.
Cp1251Text Utf16ToCp1251(std::string_view bytes, bool bigEndian);

// Text in the given encoding (without its mark) to UTF-8 and back. Malformed
// UTF-16 becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

// Converts a text file to code page 1251 a block at a time, the encoding
// decided by the first block that holds a non-ASCII character (so a file that
// is ASCII at its start is still read right). Code page 1251 and ASCII blocks
// pass unconverted: the common case costs one scan of the block until the
// encoding is decided, and nothing after. The first block must hold a
// byte-order mark whole (any block of 3 bytes or more does).
class TextDecoder {
public:
    explicit TextDecoder(bool utf8ByName = false) : utf8ByName_(utf8ByName) {}

    // Feeds the next bytes of the file. Returns false when they are code page
    // 1251 text as they stand (out is untouched); otherwise appends their
    // code-page-1251 text to out, keeping a sequence cut by the end of the
    // block for the next call.
    bool Decode(std::string_view bytes, std::string& out);
    // Decode for a search that needs only the lines holding one of the wanted
    // bytes (a character of a UTF-8 file counts by the last byte of its
    // sequence): of UTF-8 bytes, the lines between the first and the last line
    // break that hold none of them are left out, an empty line possibly
    // standing in their place. Other encodings convert as Decode does.
    bool Decode(std::string_view bytes, std::string& out, const ByteSet* wanted);
    // The end of the file: a sequence left incomplete becomes kUnmappableChar.
    void Finish(std::string& out);
    TextEncoding encoding() const { return encoding_; }
    // Whether the UTF-8 converted so far held a malformed sequence (one cut
    // by the end of the file counts once Finish has seen it).
    bool Malformed() const { return malformed_; }

private:
    void Decide(std::string_view bytes, std::size_t firstHigh);
    void DecodeUtf8(std::string_view bytes, std::string& out);
    void DecodeUtf8Lines(std::string_view bytes, std::string& out, const ByteSet& wanted);
    void DecodeUtf16(std::string_view bytes, std::string& out);

    bool utf8ByName_;
    bool started_ = false;
    bool decided_ = false;
    TextEncoding encoding_ = TextEncoding::Cp1251;
    std::string carry_;          // bytes of a sequence cut by the end of the last block
    char32_t highSurrogate_ = 0; // UTF-16: a high surrogate waiting for its pair
    bool malformed_ = false;
};

// How a text file was written, kept with the document read from it so that
// saving writes it back the same way. The lines code page 1251 cannot hold
// are kept as they were (UTF-8), by their code-page-1251 form: a line that is
// not edited is written back exactly; an edited one is converted.
struct TextOrigin {
    TextEncoding encoding = TextEncoding::Cp1251;
    bool byteOrderMark = false;
    std::string lineBreak = "\r\n";
    bool finalBreak = true;  // the last line ends with a line break
    std::unordered_map<std::string, std::vector<std::string>> keptLines;

    bool Unicode() const { return encoding != TextEncoding::Cp1251; }
};

// A text file's lines in code page 1251 (ending at CR, LF or CR LF), and how
// it was written.
std::vector<std::string> DecodeTextDocument(std::string_view bytes, bool utf8ByName, TextOrigin& origin);
// The file of the lines, as origin says: a code-page-1251 document with CR LF
// after every line, a Unicode one in its encoding, mark and line breaks, its
// unedited lines as they were read.
std::string EncodeTextDocument(const std::vector<std::string>& lines, const TextOrigin& origin);
// The same for a document held in one buffer: a code-page-1251 file is split
// in its own bytes, so reading it costs little more than the file's size.
// A Unicode file is converted kDecodeBlockSize bytes at a time into the
// lines' buffer.
inline constexpr std::size_t kDecodeBlockSize = std::size_t{1} << 20;
TextLines DecodeTextDocumentLines(std::string bytes, bool utf8ByName, TextOrigin& origin);
std::string EncodeTextDocument(const LineList& lines, const TextOrigin& origin);
// The same file a block at a time, for a writer that need not hold it whole:
// write receives its bytes in order, in pieces of at most blockSize bytes
// (more only for a longer line), and returns false to stop. False when write
// refused a piece.
inline constexpr std::size_t kEncodeBlockSize = std::size_t{4} << 20;
bool EncodeTextDocument(const LineList& lines, const TextOrigin& origin, std::size_t blockSize,
                        const std::function<bool(std::string_view)>& write);
// The 0-based indices of the lines EncodeTextDocument cannot write as they
// were: in a Unicode document, lines holding kUnmappableChar that match no
// kept line (their characters would become U+FFFD).
std::vector<std::size_t> LinesLosingCharacters(const std::vector<std::string>& lines, const TextOrigin& origin);

}  // namespace tandrel
