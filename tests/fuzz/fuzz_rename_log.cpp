// libFuzzer target for the rename log: the input is a directory's
// "rename.ini", read through the public rename-back entry on a folder of a
// few files. Nothing may crash, no file may be lost or replaced, nothing may
// leave the folder, and the log stays as it was.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "app/prompts.h"
#include "cli/streamprompter.h"
#include "fuzz/fuzz_input_file.h"
#include "rename/renameengine.h"
#include "text/cp1251.h"

using namespace tandrel;
namespace fs = std::filesystem;

namespace {

// The files each run starts with (code-page-1251 names, UTF-8 on disk); their
// contents tell them apart afterwards.
const char* const kNames[] = {"a.mp3", "B.MP3", "\xD1\xEE\xED\xE3.mp3", "c d.txt", "e=f.mp3", "sub/g.mp3"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::InputFolder folder("fuzz-rename-log");
    const std::string dir = folder / "d";
    fs::remove_all(dir);
    fs::create_directories(dir + "/sub");
    for (const char* name : kNames) fuzz::WriteBytes(Cp1251ToUtf8(dir + "/" + name), name);
    const std::string log(reinterpret_cast<const char*>(data), size);
    fuzz::WriteBytes(dir + "/rename.ini", log);
    fuzz::WriteBytes(dir + "/sub/rename.ini", log);

    static std::ostream nowhere(nullptr);  // the run's notes are not needed
    StreamPrompter prompter(nowhere);
    RenameOptions options;
    options.recursive = true;
    RenameFromLog(dir, "*.*", "renamed", options, prompter);
    RenameFromLog(dir, "*.*", "deleted", options, prompter);

    // Every file is still in its folder with its own bytes; nothing new came or went.
    std::multiset<std::string> contents;
    std::size_t entries = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder.path())) {
        ++entries;
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        if (!in.is_open()) std::abort();
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (e.path().filename() == "rename.ini") {
            if (bytes != log) std::abort();
        } else {
            contents.insert(bytes);
        }
    }
    const std::multiset<std::string> expected(std::begin(kNames), std::end(kNames));
    if (contents != expected || entries != std::size(kNames) + 4) std::abort();
    return 0;
}
