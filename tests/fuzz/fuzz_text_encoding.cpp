// libFuzzer target for text files read by their encoding: the input is a
// file's bytes; its first byte chooses the block size of the block reader.
// Blocks never grow, a document written back reads as the same lines, and a
// Unicode document written unedited comes back byte for byte but for its line
// breaks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/encoding.h"

using namespace tandrel;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t block = 3 + data[0];

    TextDecoder decoder;
    std::string decoded;
    for (std::size_t at = 0; at < bytes.size(); at += block) {
        const std::string_view piece = std::string_view(bytes).substr(at, block);
        const std::size_t before = decoded.size();
        if (!decoder.Decode(piece, decoded)) decoded.append(piece);
        Check(decoded.size() - before <= piece.size() + 3);
    }
    decoder.Finish(decoded);
    Check(decoded.size() <= bytes.size());

    TextOrigin origin;
    const std::vector<std::string> lines = DecodeTextDocument(bytes, (data[0] & 1) != 0, origin);
    Check(LinesLosingCharacters(lines, origin).empty());
    const std::string written = EncodeTextDocument(lines, origin);
    TextOrigin again;
    Check(DecodeTextDocument(written, (data[0] & 1) != 0, again) == lines);
    Check(again.encoding == origin.encoding);
    return 0;
}
