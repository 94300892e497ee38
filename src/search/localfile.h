// The local-file search: a text listing of a file server's directory tree,
// kept on the local disk, is searched line by line for the query. Each hit is
// listed under the directory header it belongs to; with path mapping the hit
// becomes the full path of its file, the server prefix of its directory
// replaced by a target prefix.
//
// Listing format: a line ends at LF, every CR is dropped, a last line without
// LF is not read. A line starting with "/" is a directory header (the path
// and two terminating characters, as in "/pub/music/:"); every other line is
// an entry, with mapping a long-listing line whose name follows the first
// space after its first ":" (the one of hh:mm).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace tandrel {

struct ListingMapping {
    bool enabled = false;       // FTPChangeAddFTPpath
    std::string sourcePath;     // FTPSourcePath, found case-sensitively in a header
    std::string targetPath;     // FTPTargetPath, put in its place
};

// Called with every lowered line read (the progress text).
using ListingProgress = std::function<void(const std::string& lowered)>;

// The search of one run, fed with the listing's bytes in blocks of any size.
class ListingSearch {
public:
    // results is cleared; the hits are appended to it.
    ListingSearch(const std::string& query, ListingMapping mapping, std::vector<std::string>& results,
                  ListingProgress progress = nullptr);

    // The listing is UTF-8: every line is converted to code page 1251 before it is read.
    void SetUtf8(bool utf8) { utf8_ = utf8; }
    // Reads every line that the bytes complete; the rest waits for the next block.
    void Feed(const char* data, std::size_t size);

private:
    void Line(std::string_view line);

    std::string needle_;
    char lower_[256];         // ToLowerCase of every byte
    ListingMapping mapping_;
    std::vector<std::string>& results_;
    ListingProgress progress_;
    bool utf8_ = false;
    std::string partial_;     // the bytes of the line not yet ended, CRs dropped
    std::string converted_;   // the line in code page 1251, for a UTF-8 listing
    std::string lowered_;
    std::string header_;      // the last header read, as read
    bool pending_ = false;    // the header is not yet in the results
    std::string mappedDir_;
};

// Whether a listing is UTF-8, judged by its first block as DetectTextEncoding
// judges it (a sequence cut by the end of the block counts as valid). bomSize
// receives the length of the mark to skip. SearchLocalFile reads listings
// through TextDecoder, which also takes UTF-16 and decides at the first block
// that holds a non-ASCII byte.
bool ListingBlockIsUtf8(const char* data, std::size_t size, std::size_t& bomSize);

enum class ListingOutcome {
    NoListing,  // the path is empty or names no file: nothing was done, results untouched
    Searched,
    Failed,     // the listing could not be opened or read; error names it
};

struct ListingRun {
    ListingOutcome outcome = ListingOutcome::NoListing;
    FileResult read;
};

// Searches the listing at listingPath (code page 1251) for query, a block at a
// time; the listing is read by its encoding.
ListingRun SearchLocalFile(const std::string& query, const std::string& listingPath, const ListingMapping& mapping,
                           std::vector<std::string>& results, const ListingProgress& progress = nullptr);

}  // namespace tandrel
