// libFuzzer target for server listings: the input is a listing's bytes; its
// first byte chooses the block size it is fed in and whether paths are
// mapped. The hits must not depend on how the bytes are split into blocks,
// and they keep what the search promises: no line ending in any hit, each
// header before its hits, an empty line only between groups.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "search/localfile.h"

using namespace tandrel;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> Search(const std::string& bytes, const ListingMapping& mapping, std::size_t block) {
    std::vector<std::string> results;
    ListingSearch search("a", mapping, results);
    std::size_t skip = 0;
    search.SetUtf8(ListingBlockIsUtf8(bytes.data(), bytes.size(), skip));
    for (std::size_t at = skip; at < bytes.size(); at += block)
        search.Feed(bytes.data() + at, std::min(block, bytes.size() - at));
    return results;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const ListingMapping mapping{(data[0] & 1) != 0, "/a", "T:"};
    const std::size_t block = 1 + (data[0] >> 1);

    const std::vector<std::string> whole = Search(bytes, mapping, bytes.size() + 1);
    Check(Search(bytes, mapping, block) == whole);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const std::string& line = whole[i];
        Check(line.find_first_of("\r\n") == std::string::npos);
        // An empty line only between groups: a hit before it, a header after it.
        if (line.empty()) Check(i > 0 && i + 1 < whole.size() && !whole[i - 1].empty() && whole[i + 1][0] == '/');
        if (mapping.enabled && !line.empty() && line[0] != '/') Check(line.find('/') != std::string::npos);
    }
    return 0;
}
