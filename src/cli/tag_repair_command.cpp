#include "cli/tag_repair_command.h"
#include "cli/cliargs.h"

#include <cstddef>
#include <limits>
#include <optional>

#include "tags/tagrepair.h"
#include "text/cp1251.h"
#include "text/legacytext.h"

namespace tandrel {

const std::string_view kTagRepairUsage = "tag repair FILE...|DIR... [--recursive] [--mask M] [--dry-run]";

namespace {

const CommandSpec kTagRepair{kTagRepairUsage,
                             {{"mask"}, {"recursive", "dry-run"}},
                             1,
                             std::numeric_limits<std::size_t>::max(),
                             "FILE...|DIR..."};

}  // namespace

int RunTagRepairCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kTagRepair, line, out, err)) return *code;
    const bool dryRun = line.Switch("dry-run", false);
    const std::string* mask = line.Value("mask");
    std::vector<std::string> failures;
    const std::vector<std::string> files =
        FilesToRepair(line.positional, MaskFilter(mask ? *mask : "*.mp3"), line.Switch("recursive", false), failures);
    int code = failures.empty() ? kExitOk : kExitFailed;
    for (const std::string& failure : failures) err << Cp1251ToUtf8(failure) << "\n";

    std::size_t frames = 0, repairedFiles = 0;
    for (const std::string& file : files) {
        TagRepair repair;
        const FileResult r = dryRun ? PlanTagRepair(file, repair) : RepairTag(file, repair);
        const std::string name = Cp1251ToUtf8(file);
        if (!r) {
            err << r.error << "\n";
            code = kExitFailed;
            continue;
        }
        if (!repair.notRepaired.empty()) out << name << ": left alone: " << repair.notRepaired << "\n";
        for (const FrameTextRepair& f : repair.frames)
            out << name << ": " << f.frameId << " \"" << CodePointsToUtf8(f.oldText) << "\" -> \""
                << CodePointsToUtf8(f.newText) << "\" (" << (f.origin == MisreadText::kUtf8 ? "utf-8" : "cp1251")
                << ")\n";
        frames += repair.frames.size();
        if (!repair.frames.empty()) ++repairedFiles;
    }
    out << frames << (frames == 1 ? " frame in " : " frames in ") << repairedFiles
        << (repairedFiles == 1 ? " file " : " files ") << (dryRun ? "would be repaired" : "repaired") << "\n";
    return code;
}

}  // namespace tandrel
