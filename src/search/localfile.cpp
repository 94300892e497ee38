#include "search/localfile.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/chunkfile.h"
#include "platform/files.h"
#include "text/cp1251.h"
#include "text/encoding.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

ListingSearch::ListingSearch(const std::string& query, ListingMapping mapping, std::vector<std::string>& results,
                             ListingProgress progress)
    : needle_(ToLowerCase(query)), mapping_(std::move(mapping)), results_(results), progress_(std::move(progress)) {
    for (int c = 0; c < 256; ++c) lower_[c] = ToLowerCase(std::string(1, static_cast<char>(c)))[0];
    results_.clear();
}

void ListingSearch::Feed(const char* data, std::size_t size) {
    const char* end = data + size;
    while (data < end) {
        const char* lf = static_cast<const char*>(std::memchr(data, '\n', static_cast<std::size_t>(end - data)));
        const char* stop = lf ? lf : end;
        const std::size_t length = static_cast<std::size_t>(stop - data);
        const char* cr = static_cast<const char*>(std::memchr(data, '\r', length));
        if (lf && !cr && partial_.empty()) {
            Line(std::string_view(data, length));  // the usual case: the whole line in this block
        } else {
            for (const char* p = data; p < stop;) {
                const char* piece = cr ? cr : stop;
                partial_.append(p, static_cast<std::size_t>(piece - p));
                p = cr ? cr + 1 : stop;
                cr = p < stop ? static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p))) : nullptr;
            }
            if (!lf) return;
            Line(partial_);
            partial_.clear();
        }
        data = lf + 1;
    }
}

void ListingSearch::Line(std::string_view line) {
    if (utf8_ && std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        converted_ = Utf8ToCp1251(line).text;
        line = converted_;
    }
    lowered_.resize(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) lowered_[i] = lower_[static_cast<unsigned char>(line[i])];
    if (progress_) progress_(lowered_);
    if (!line.empty() && line[0] == '/') {
        header_.assign(line);
        pending_ = true;
        if (mapping_.enabled && !mapping_.sourcePath.empty()) {
            const std::size_t p = header_.find(mapping_.sourcePath);
            if (p != std::string::npos) {
                // The header's last two characters end it ("/:") and are no part of the path.
                const std::size_t from = p + mapping_.sourcePath.size();
                const std::size_t to = header_.size() >= 2 ? header_.size() - 2 : 0;
                mappedDir_ = header_.substr(0, p) + mapping_.targetPath + (to > from ? header_.substr(from, to - from) : "");
            }
        }
        return;
    }
    if (needle_.empty() || lowered_.find(needle_) == std::string::npos) return;
    if (pending_) {
        if (!results_.empty()) results_.emplace_back();
        results_.push_back(header_);
        pending_ = false;
    }
    if (mapping_.enabled)
        results_.push_back(
            JoinPathSep(mappedDir_, CopyAfterFirstChar(CopyAfterFirstChar(std::string(line), ':'), ' '), 1));
    else
        results_.emplace_back(line);
}

bool ListingBlockIsUtf8(const char* data, std::size_t size, std::size_t& bomSize) {
    const DetectedEncoding detected = DetectTextEncoding(std::string_view(data, size), false, true);
    const bool utf8 = detected.encoding == TextEncoding::Utf8;
    bomSize = utf8 ? detected.markSize : 0;
    return utf8;
}

ListingRun SearchLocalFile(const std::string& query, const std::string& listingPath, const ListingMapping& mapping,
                           std::vector<std::string>& results, const ListingProgress& progress) {
    ListingRun run;
    if (listingPath.empty() || !FileExists(listingPath)) return run;
    ListingSearch search(query, mapping, results, progress);
    run.outcome = ListingOutcome::Failed;
    ChunkReader reader;
    if (run.read = reader.Open(listingPath); !run.read) return run;
    constexpr std::size_t kBlock = 1024 * 1024;
    std::string block(kBlock, '\0');
    std::string decoded;
    TextDecoder decoder;
    for (;;) {
        std::size_t got = 0;
        if (run.read = reader.Read(block.data(), block.size(), got); !run.read) return run;
        decoded.clear();
        if (got == 0) {
            decoder.Finish(decoded);
            search.Feed(decoded.data(), decoded.size());
            break;
        }
        if (decoder.Decode(std::string_view(block.data(), got), decoded))
            search.Feed(decoded.data(), decoded.size());
        else
            search.Feed(block.data(), got);
    }
    run.outcome = ListingOutcome::Searched;
    return run;
}

}  // namespace tandrel
