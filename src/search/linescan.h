// The lines of a text file that can hold a needle, found without splitting
// the whole file into lines: the file is read in blocks, a rare character of
// the needle is looked for in both cases (all the characters that normalise to
// it) a vector at a time, the needle is checked around it on the normalised
// text, and only then are the ends of that line found. The lines given out are
// exactly the ones TextLineReader gives (a line longer than the limit cut
// there), each one at most once and in file order; the caller tests each as
// it would test any line, so a line given out need not match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/result.h"
#include "platform/textfile.h"
#include "text/byteset.h"

namespace tandrel {

struct LineScanReport {
    FileResult opened;          // the file could not be opened: nothing else is set
    bool binary = false;        // the first text read held a NUL: no line was given out
    bool failed = false;        // a read error ended the scan
    std::size_t cutLines = 0;   // lines longer than the limit
};

class LineScanner {
public:
    // needle is a text every line worth testing holds, already normalised
    // with or without Over Search.
    LineScanner(const std::string& needle, bool overSearch);

    // False when the needle cannot narrow the lines (it is empty, or the
    // normalising is no table): then every line has to be read.
    bool Usable() const { return usable_; }

    // Bytes read at a time (tests use tiny blocks); at least 4.
    void SetBlockSize(std::size_t bytes) { blockSize_ = bytes; }
    void SetMaxLineLength(std::size_t bytes) { maxLine_ = bytes == 0 ? 1 : bytes; }

    // Calls line for every line that holds the needle, and pulse after every block.
    LineScanReport Scan(const std::string& path, const std::function<void(const std::string& line)>& line,
                        const std::function<void()>& pulse = nullptr);

private:
    enum class Check { Match, NoMatch, Unknown };

    Check Verify(std::size_t at, std::size_t begin, std::size_t limit) const;
    std::size_t FindRare(std::size_t from, std::size_t limit) const;
    // Gives out the lines with a verified needle in [begin, limit); limit is a
    // line's end when complete, else the search stops at the unfinished line.
    void SearchRange(std::size_t begin, std::size_t limit, bool complete);
    void Emit(std::size_t start, std::size_t end);
    std::size_t CountLongLines(std::size_t begin, std::size_t end) const;

    bool usable_ = false;
    std::string needle_;
    std::uint16_t fold_[256] = {};  // normal form of each character; kDropped when left out
    std::size_t rare_ = 0;          // index of the character looked for
    ByteSet rareForms_;             // the characters that normalise to it
    ByteSet utf8Forms_;             // the last bytes of their UTF-8 forms
    bool useUtf8Forms_ = false;     // they tell where the character can be in a UTF-8 file
    std::size_t blockSize_ = TextLineReader::kBufferSize;
    std::size_t maxLine_ = TextLineReader::kDefaultMaxLineLength;

    // The state of one scan.
    std::string text_;
    std::string line_;
    const std::function<void(const std::string&)>* each_ = nullptr;
};

}  // namespace tandrel
