// Files as bytes and as text lines. Lines end at CR, LF or CR LF when read and
// are written with CR LF. Text is read by its encoding (text/encoding.h) and
// comes out in code page 1251. Every whole-file write goes to a temporary file in
// the same folder that is then renamed over the original, so a failure leaves
// the old or the new file, never a torn one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/result.h"
#include "text/encoding.h"

namespace tandrel {

FileResult ReadFileBytes(const std::string& path, std::string& bytes);
FileResult ReplaceFileContents(const std::string& path, const std::string& bytes);

FileResult ReadTextLines(const std::string& path, std::vector<std::string>& lines);
// A new file of the program: code page 1251, CR LF.
FileResult WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

// A document that is saved back: read with how it was written, written the same
// way (see EncodeTextDocument). A ".m3u8" file is UTF-8 by its name.
FileResult ReadTextDocument(const std::string& path, std::vector<std::string>& lines, TextOrigin& origin);
FileResult WriteTextDocument(const std::string& path, const std::vector<std::string>& lines,
                             const TextOrigin& origin);
// The same for a document held in one buffer (text/textlines.h).
FileResult ReadTextDocument(const std::string& path, TextLines& lines, TextOrigin& origin);
FileResult WriteTextDocument(const std::string& path, const LineList& lines, const TextOrigin& origin);
// Replaces a text file's lines keeping its encoding and line breaks; a file
// that does not exist yet is written as WriteTextLines writes it.
FileResult RewriteTextFile(const std::string& path, const std::vector<std::string>& lines);

// Reads a regular text file line by line without holding it whole. A line
// longer than the limit is cut there; the rest of it is skipped. The lines come
// in code page 1251 whatever the file's encoding (TextDecoder).
class TextLineReader {
public:
    // Bytes read from the file at a time; the first block is what FirstBlockHoldsNul looks at.
    static constexpr std::size_t kBufferSize = 64 * 1024;
    static constexpr std::size_t kDefaultMaxLineLength = 1024 * 1024;

    TextLineReader() = default;
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    // Refuses anything but a regular file (a FIFO or a device could block or never end).
    FileResult Open(const std::string& path);
    // False at the end of the file or on a read error (then Failed() is true).
    bool Next(std::string& line);
    bool Failed() const { return failed_; }
    // The encoding decided so far (code page 1251 until a block shows otherwise).
    TextEncoding Encoding() const { return decoder_.encoding(); }
    void Close();

    // True when the first block of the file holds a NUL character: a binary
    // file, not text. Call before the first Next.
    bool FirstBlockHoldsNul();
    void SetMaxLineLength(std::size_t bytes) { maxLine_ = bytes == 0 ? 1 : bytes; }
    // Lines cut at the limit so far.
    std::size_t CutLines() const { return cutLines_; }

private:
    bool Fill();

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool pendingCr_ = false;  // the last line ended with CR; a LF that follows belongs to it
    std::string buffer_;      // the text of the current block, code page 1251
    std::string decoded_;     // the other buffer while a block is converted
    TextDecoder decoder_;
    bool atEnd_ = false;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    std::size_t maxLine_ = kDefaultMaxLineLength;
    std::size_t cutLines_ = 0;
};

// Reads a regular text file a block at a time with plain read(2) into the
// caller's buffer, for searches that look at whole blocks rather than lines.
// The text comes out in code page 1251 and is the same text TextLineReader
// splits into lines: the encoding is decided by the same blocks of
// kBufferSize bytes (a smaller block size, for tests, decides by its blocks).
class TextBlockReader {
public:
    TextBlockReader() = default;
    ~TextBlockReader();
    TextBlockReader(const TextBlockReader&) = delete;
    TextBlockReader& operator=(const TextBlockReader&) = delete;

    // Refuses anything but a regular file, with TextLineReader's errors. A
    // block is at least 4 bytes.
    FileResult Open(const std::string& path, std::size_t blockSize = TextLineReader::kBufferSize);
    // Appends the text of the next block to text (possibly nothing, as for a
    // byte-order mark); returns the number of characters appended. After the
    // last block (or a read error) AtEnd is true.
    std::size_t Append(std::string& text);
    // Append for a search that needs only the lines holding one of the
    // wanted bytes: a UTF-8 block leaves out the others as
    // TextDecoder::Decode with wanted does. Null wanted reads as Append does.
    std::size_t Append(std::string& text, const ByteSet* wanted);
    bool AtEnd() const { return atEnd_; }
    bool Failed() const { return failed_; }
    // Whether the first text the file gave held a NUL character (a binary
    // file); known once a block has appended text.
    bool FirstTextHeldNul() const { return firstNul_; }
    void Close();

private:
    bool ReadBlock(char* to, std::size_t n, std::size_t& got);

    int fd_ = -1;
    std::size_t blockSize_ = TextLineReader::kBufferSize;
    TextDecoder decoder_;
    std::string raw_;  // the bytes of a Unicode file's block, or the converted text of the deciding one
    bool atEnd_ = true;
    bool failed_ = false;
    bool seenText_ = false;
    bool firstNul_ = false;
};

}  // namespace tandrel
