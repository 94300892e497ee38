#include "cli/tag_rename_command.h"
#include "cli/cliargs.h"
#include "cli/planfile.h"
#include "cli/streamprompter.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <optional>

#include "app/language.h"
#include "app/messages.h"
#include "platform/registry.h"
#include "platform/textfile.h"
#include "tags/tagrename.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"

namespace tandrel {

const std::string_view kTagRenameUsage =
    "tag rename FILE... [--pattern P] [--tags both|1|2] [--width N] [--split S] [--sources DIGITS] [--dry-run] "
    "[--plan FILE]\n"
    "tag rename --apply FILE";

namespace {

const CommandSpec kTagRename{kTagRenameUsage,
                             {{"pattern", "tags", "width", "split", "sources", "plan", "apply"}, {"dry-run"}},
                             0,
                             std::numeric_limits<std::size_t>::max(),
                             "FILE..."};

// The options of the command line over those of the registry; a problem for the usage otherwise.
std::optional<std::string> Override(const CommandLine& line, TagNameOptions& o) {
    if (const std::string* pattern = line.Value("pattern")) o.pattern = *pattern;
    if (const std::string* split = line.Value("split")) o.basicSplit = *split;
    if (const std::string* tags = line.Value("tags")) {
        if (*tags != "both" && *tags != "1" && *tags != "2") return "--tags takes both, 1 or 2";
        o.tagMode = *tags == "both" ? 0 : (*tags)[0] - '0';
    }
    if (const std::string* width = line.Value("width")) {
        int n = 0;
        const char* end = width->data() + width->size();
        const auto [ptr, ec] = std::from_chars(width->data(), end, n);
        if (width->empty() || ec != std::errc() || ptr != end || n < 1 || n > kMaxNumberWidth)
            return "--width must be a number from 1 to " + std::to_string(kMaxNumberWidth);
        o.numberWidth = n;
    }
    if (const std::string* sources = line.Value("sources")) {
        if (sources->size() != kNameFieldCount || sources->find_first_not_of("012") != std::string::npos)
            return "--sources takes five digits 0, 1 or 2, for N, A, T, L and Y";
        for (std::size_t f = 0; f < o.sources.size(); ++f) o.sources[f] = (*sources)[f] - '0';
    }
    if (o.pattern.empty()) return "no name pattern: give --pattern or set one in the From ID3 Rename Options";
    if (!o.Usable()) return "no tag mode: give --tags or set one in the From ID3 Rename Options";
    return std::nullopt;
}

// The failures are printed once, at the end: the status texts are not.
class QuietPrompter : public StreamPrompter {
public:
    using StreamPrompter::StreamPrompter;
    void SetStatusText(const std::string&) override {}
};

// The directory and name of a file argument; a bare name is in the current directory.
TagNameFile FileOf(const std::string& arg) {
    if (arg.find(kPathDelim) == std::string::npos) return {".", arg};
    return {ExtractDirPart(arg), CopyAfterLastChar(arg, kPathDelim)};
}

// The new name written as the argument writes its file.
std::string NewPathAsGiven(const std::string& arg, const std::string& newName) {
    return arg.find(kPathDelim) == std::string::npos ? newName : ExtractDirPart(arg) + kPathDelim + newName;
}

}  // namespace

int RunTagRenameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kTagRename, line, out, err)) return *code;
    const std::string* applyFile = line.Value("apply");
    if (applyFile) {
        // A saved plan names its files itself.
        if (!line.positional.empty()) return CliUsage(err, "--apply takes no FILE", kTagRename.usage);
        QuietPrompter p(out);
        const auto report = [&](const RenameStats& stats) {
            for (const std::string& failure : stats.failures) err << "tandrel-cli: " << Cp1251ToUtf8(failure) << "\n";
            return stats.failures.empty() ? kExitOk : kExitFailed;
        };
        return FinishRenameCommand(line, kTagRename.usage, RenamePlan{}, [] { return RenamePlan{}; }, report, p, out,
                                   err);
    }
    if (line.positional.empty()) return CliUsage(err, "expected FILE..., 0 given", kTagRename.usage);
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    RegistryStore store(DefaultRegistryPath());
    if (FileResult r = store.Load(); !r) {
        err << "tandrel-cli: the settings cannot be read: " << r.error << "\n";
        return kExitFailed;
    }
    TagNameOptions options = ReadTagNameOptions(store, settings);
    if (std::optional<std::string> problem = Override(line, options)) return CliUsage(err, *problem, kTagRename.usage);
    const bool dryRun = line.Switch("dry-run", false);

    std::vector<TagNameFile> files;
    for (const std::string& arg : line.positional) files.push_back(FileOf(arg));
    TID3v1 v1;
    TID3v2 v2;
    std::vector<TagNamePlanRow> rows = PlanTagNames(files, options, v1, v2);
    if (const std::string* planFile = line.Value("plan")) {
        if (dryRun) return CliUsage(err, "--plan goes without --dry-run", kTagRename.usage);
        if (FileResult r = ReplaceFileContents(*planFile, PlanText(TagNamesAsPlan(rows))); !r) {
            err << "tandrel-cli: " << r.error << "\n";
            return kExitFailed;
        }
        return kExitOk;
    }
    int code = kExitOk;
    const auto fail = [&](const std::string& cp1251) {
        err << "tandrel-cli: " << Cp1251ToUtf8(cp1251) << "\n";
        code = kExitFailed;
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        TagNamePlanRow& row = rows[i];
        const std::string& arg = line.positional[i];
        if (!dryRun) ExecuteTagName(row);
        if (row.status == TagNameStatus::Missing) fail(Message(kEnglish, MessageId::FileMissing) + arg);
        for (const std::string& reason : row.readErrors)
            fail(Message(kEnglish, MessageId::TagReadFailed) + arg + " (" + Utf8ToCp1251(reason).text + ")");
        if (row.status == TagNameStatus::Refused) fail(arg + " not renamed!!! (" + row.reason + ")");
        if (row.status == TagNameStatus::Rename || row.status == TagNameStatus::Renamed)
            out << Cp1251ToUtf8(arg) << " -> " << Cp1251ToUtf8(NewPathAsGiven(arg, row.newName)) << "\n";
    }
    return code;
}

}  // namespace tandrel
