// Renames a directory of Cyrillic file names to translit and back with the
// rename engine (log written and read), and times the same renames done by a
// plain loop of rename(2) calls, per file.
//
//   bench_rename [FILES] [PARENT-DIR]     defaults: 10000 files under $TMPDIR or /tmp
#include <sstream>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/streamprompter.h"
#include "app/prompts.h"
#include "rename/renameengine.h"
#include "text/cp1251.h"
#include "text/transforms.h"
#include "bench_support.h"

using namespace tandrel;
using namespace tandrel::bench;

int main(int argc, char** argv) {
    programName = "bench_rename";
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (files <= 0) return Fail("the file count must be positive");
    const TempDir scratch(argc > 2 ? argv[2] : DefaultParent(), "tandrel-bench-");
    if (!scratch.ok()) return Fail(scratch.error());
    const std::string dir = scratch.path();

    // Names in code page 1251 and their translit, both also in UTF-8 for the plain loop.
    std::vector<std::string> cyrillic, latin;
    for (int i = 0; i < files; ++i) {
        const std::string name =
            Utf8ToCp1251("Исполнитель " + std::to_string(i % 97) + " - Песня номер " + std::to_string(i) + ".mp3").text;
        cyrillic.push_back(dir + "/" + Cp1251ToUtf8(name));
        latin.push_back(dir + "/" + Cp1251ToUtf8(ToTranslit(name)));
        std::ofstream(cyrillic.back());
    }
    std::printf("files: %d in %s\n", files, dir.c_str());

    RenameOptions options;
    options.writeRenameInfo = true;
    std::ostringstream notes;
    StreamPrompter prompter(notes);
    // Best of three rounds, the side that goes first alternating, so that
    // neither side always meets the files just made or just renamed.
    double engineForward = 1e9, engineBack = 1e9, plainForward = 1e9, plainBack = 1e9;
    const auto engine = [&]() -> bool {
        Clock::time_point start = Clock::now();
        RenameStats forward = RenameDirectory(dir, "*.*", rkTranslit, options, prompter);
        engineForward = std::min(engineForward, Seconds(start));
        if (forward.renamed != files) return !Fail("translit renamed " + std::to_string(forward.renamed) + " files");
        start = Clock::now();
        RenameStats back = RenameFromLog(dir, "*.*", kRenamedSection, options, prompter);
        engineBack = std::min(engineBack, Seconds(start));
        if (back.renamed != files) return !Fail("rename back renamed " + std::to_string(back.renamed) + " files");
        if (!notes.str().empty()) return !Fail("the runs reported: " + notes.str());
        std::filesystem::remove(dir + "/" + kRenameLogName);  // the next round starts without a log
        return true;
    };
    const auto plain = [&]() -> bool {
        Clock::time_point start = Clock::now();
        for (int i = 0; i < files; ++i)
            if (::rename(cyrillic[i].c_str(), latin[i].c_str()) != 0) return !Fail("rename(2) failed on " + cyrillic[i]);
        plainForward = std::min(plainForward, Seconds(start));
        start = Clock::now();
        for (int i = 0; i < files; ++i)
            if (::rename(latin[i].c_str(), cyrillic[i].c_str()) != 0) return !Fail("rename(2) failed on " + latin[i]);
        plainBack = std::min(plainBack, Seconds(start));
        return true;
    };
    for (int round = 0; round < 3; ++round) {
        const bool ok = round % 2 == 0 ? engine() && plain() : plain() && engine();
        if (!ok) return 1;
    }

    Report("engine translit (with log)", engineForward, files, 28);
    Report("engine rename back", engineBack, files, 28);
    Report("rename(2) loop forward", plainForward, files, 28);
    Report("rename(2) loop back", plainBack, files, 28);
    std::printf("engine / rename(2): %.1fx forward, %.1fx back\n", engineForward / plainForward,
                engineBack / plainBack);
    Result("rename", engineForward + engineBack, plainForward + plainBack, "rename(2)-loop");
    return 0;
}
