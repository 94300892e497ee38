// libFuzzer entry for the tag readers (built with clang only).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "fuzz_feed.h"

namespace {

// The file each input is written to, removed when the run ends.
struct InputFile {
    std::string path =
        (std::filesystem::temp_directory_path() / ("tandrel-fuzz-" + std::to_string(::getpid()) + ".mp3")).string();
    ~InputFile() { std::filesystem::remove(path); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile file;
    const std::string problem =
        tandrel::test::FeedTagReaders(file.path, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "tag readers: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
