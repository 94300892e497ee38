#include "cli/rename_command.h"
#include "cli/cliargs.h"
#include "cli/planfile.h"
#include "cli/streamprompter.h"

#include <charconv>
#include <map>
#include <optional>
#include <string_view>

#include "app/prompts.h"
#include "app/settings.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "rename/namerepair.h"
#include "rename/renameengine.h"
#include "rename/structural.h"
#include "text/cp1251.h"
#include "text/paths.h"

namespace tandrel {

namespace {

// The whole text as a number in [low, high]; false with what is wrong in
// problem otherwise.
bool Number(const std::string& text, const std::string& what, long long low, long long high, long long& out,
            std::string& problem) {
    long long n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < low || n > high) {
        problem = what + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) +
                  ", not '" + Cp1251ToUtf8(text) + "'";
        return false;
    }
    out = n;
    return true;
}

// The option's number when given, else the fallback; false on a bad number.
template <class T>
bool NumberOption(const CommandLine& line, std::string_view name, long long low, long long high, T& value,
                  std::string& problem) {
    const std::string* text = line.Value(name);
    if (!text) return true;
    long long n = 0;
    if (!Number(*text, "--" + std::string(name), low, high, n, problem)) return false;
    value = static_cast<T>(n);
    return true;
}

// The prompter of a batch: the failures are printed at the end, each once,
// so the status texts of the run are not.
class BatchPrompter : public StreamPrompter {
public:
    using StreamPrompter::StreamPrompter;
    void SetStatusText(const std::string&) override {}
};

// The end of every batch: the summary on out, one line per failure on err;
// 1 when anything failed.
int Report(const RenameStats& stats, std::ostream& out, std::ostream& err) {
    for (const std::string& failure : stats.failures) err << "tandrel-cli: " << Cp1251ToUtf8(failure) << "\n";
    if (!stats.noLog) out << Cp1251ToUtf8(BatchSummary(stats)) << "\n";
    return stats.failures.empty() ? kExitOk : kExitFailed;
}

std::string MaskOf(const CommandLine& line) {
    const std::string* mask = line.Value("mask");
    return mask ? *mask : "*.*";
}

const CommandSpec kRename{
    "rename translit|lower|upper|words|artist-title|first-letter|substr DIR [--mask M] "
    "[--recursive|--no-recursive] [--mode 0|1|2] [--lowercase-ext|--no-lowercase-ext] [--log|--no-log] "
    "[--artist-mode 0|1|2] [--old S --new S] [--dry-run|--plan FILE|--apply FILE]\n"
    "rename repair-names DIR [--recursive|--no-recursive] [--dry-run]",
    {{"mask", "mode", "artist-mode", "old", "new", "plan", "apply"}, {"recursive", "lowercase-ext", "log", "dry-run"}},
    2, 2, "KIND and DIR"};
const CommandSpec kRepairNames{"rename repair-names DIR [--recursive|--no-recursive] [--dry-run]",
                               {{}, {"recursive", "dry-run"}}, 1, 1, "DIR"};
const CommandSpec kRenameBack{
    "rename-back renamed|deleted|names DIR [--recursive|--no-recursive] [--lowercase-ext|--no-lowercase-ext] [--dry-run|--plan FILE|--apply FILE]",
    {{"plan", "apply"}, {"recursive", "lowercase-ext", "dry-run"}}, 2, 2, "renamed|deleted|names and DIR"};
const CommandSpec kNumberAdd{
    "number add DIR [--mask M] [--width N] [--split S] [--number|--no-number] [--m3u|--no-m3u] "
    "[--recursive|--no-recursive] [--dry-run|--plan FILE|--apply FILE]",
    {{"mask", "width", "split", "plan", "apply"}, {"number", "m3u", "recursive", "dry-run"}}, 1, 1, "DIR"};
const CommandSpec kNumberDeleteFirst{
    "number delete-first COUNT DIR [--mask M] [--log|--no-log] [--recursive|--no-recursive] [--dry-run|--plan FILE|--apply FILE]",
    {{"mask", "plan", "apply"}, {"log", "recursive", "dry-run"}}, 2, 2, "COUNT and DIR"};
const CommandSpec kNumberByDate{
    "number by-date DIR [--mask M] [--start-name S] [--start N] [--width N] [--split S] "
    "[--number|--no-number] [--ending|--no-ending] [--recursive|--no-recursive] [--dry-run|--plan FILE|--apply FILE]",
    {{"mask", "start-name", "start", "width", "split", "plan", "apply"}, {"number", "ending", "recursive", "dry-run"}},
    1, 1, "DIR"};
const CommandSpec kExtLower{"ext lower DIR [--mask M] [--recursive|--no-recursive] [--dry-run|--plan FILE|--apply FILE]",
                            {{"mask", "plan", "apply"}, {"recursive", "dry-run"}}, 1, 1, "DIR"};
const CommandSpec kExtChange{"ext change DIR SOURCE-MASK TARGET-MASK [--recursive|--no-recursive] [--dry-run|--plan FILE|--apply FILE]",
                             {{"plan", "apply"}, {"recursive", "dry-run"}}, 3, 3, "DIR, SOURCE-MASK and TARGET-MASK"};

// The section and log a command's plan is executed with.
RenamePlan Frame(const std::string& section, bool logged) {
    RenamePlan frame;
    frame.section = section;
    frame.logged = logged;
    return frame;
}

bool KindByName(const std::string& name, RenameKind& kind) {
    static const std::map<std::string, RenameKind, std::less<>> kinds = {
        {"translit", rkTranslit},         {"lower", rkLowerCase},
        {"upper", rkUpperCase},           {"words", rkUpLoCase},
        {"artist-title", rkArtistAndTitle}, {"first-letter", rkFirstLetter},
        {"substr", rkSubStr},
    };
    auto it = kinds.find(name);
    if (it == kinds.end()) return false;
    kind = it->second;
    return true;
}

// Parses (answering --help), loads the settings: the common start of every
// command. Empty to go on, or the exit code.
std::optional<int> Prepare(const std::vector<std::string>& args, const CommandSpec& command, CommandLine& line,
                           TAppSettings& settings, std::ostream& out, std::ostream& err) {
    if (std::optional<int> code = ParseCommand(args, command, line, out, err)) return code;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    return std::nullopt;
}

// The options both numbering commands take: the settings' values with the
// line's --number, --recursive, --split and --width; false on a bad width.
bool NumberingFrom(const CommandLine& line, const TAppSettings& s, NumberingOptions& o, std::string& problem) {
    o = NumberingOptionsFrom(s);
    o.addingNumber = line.Switch("number", o.addingNumber);
    o.recursive = line.Switch("recursive", o.recursive);
    if (const std::string* split = line.Value("split")) o.numberSplit = *split;
    return NumberOption(line, "width", 1, 10, o.numberFormat, problem);
}

int NumberAdd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kNumberAdd, line, s, out, err)) return *code;
    NumberingOptions o;
    if (std::string problem; !NumberingFrom(line, s, o, problem)) return CliUsage(err, problem, kNumberAdd.usage);
    o.useM3u = line.Switch("m3u", o.useM3u);
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    return FinishRenameCommand(
        line, kNumberAdd.usage, Frame(kRenamedSection, false), [&] { return PlanAddNumbering(dir, MaskOf(line), o); },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

int NumberDeleteFirst(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kNumberDeleteFirst, line, s, out, err)) return *code;
    long long count = 0;
    if (std::string problem; !Number(line.positional[0], "COUNT", 1, 10, count, problem))
        return CliUsage(err, problem, kNumberDeleteFirst.usage);
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    const bool logged = line.Switch("log", s.writeRenameInfo);
    return FinishRenameCommand(
        line, kNumberDeleteFirst.usage, Frame(kDeletedSection, logged),
        [&] {
            return PlanDeleteFirstSymbols(dir, MaskOf(line), static_cast<int>(count),
                                          line.Switch("recursive", s.recursiveRename), logged);
        },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

int NumberByDate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kNumberByDate, line, s, out, err)) return *code;
    NumberingOptions o;
    long long start = 0;
    if (std::string problem;
        !NumberingFrom(line, s, o, problem) || !NumberOption(line, "start", 0, 999999999, start, problem))
        return CliUsage(err, problem, kNumberByDate.usage);
    o.endingNumber = line.Switch("ending", o.endingNumber);
    const std::string* startName = line.Value("start-name");
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    return FinishRenameCommand(
        line, kNumberByDate.usage, Frame(kRenamedSection, false),
        [&] { return PlanSortByDateAndNumber(dir, MaskOf(line), o, startName ? *startName : "File", start); },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

int ExtLower(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kExtLower, line, s, out, err)) return *code;
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    return FinishRenameCommand(
        line, kExtLower.usage, Frame(kRenamedSection, false),
        [&] { return PlanLowerCaseExtensions(dir, MaskOf(line), line.Switch("recursive", s.recursiveRename)); },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

int ExtChange(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kExtChange, line, s, out, err)) return *code;
    const std::string& dir = line.positional[0];
    if (line.positional[2].empty()) return CliUsage(err, "TARGET-MASK is empty", kExtChange.usage);
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    return FinishRenameCommand(
        line, kExtChange.usage, Frame(kRenamedSection, false),
        [&] {
            return PlanChangeExtensions(dir, line.positional[1], line.positional[2],
                                        line.Switch("recursive", s.recursiveRename));
        },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

// The plan of a legacy-name repair, one line a name: the old bytes (not
// UTF-8, shown as \xNN), the new name, the encoding and what stops the row.
void PrintNameRepair(const NameRepairPlan& plan, std::ostream& out) {
    for (const NameRepairRow& row : plan.rows) {
        out << Cp1251ToUtf8(JoinPath(row.dir, ShownRawName(row.rawName))) << " -> " << Cp1251ToUtf8(row.newName)
            << " (" << LegacyEncodingName(row.encoding);
        if (row.status != NameRepairStatus::kReady && row.status != NameRepairStatus::kDone)
            out << ", " << NameRepairStatusText(row.status) << ": not renamed";
        out << ")\n";
    }
}

int RepairNamesCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kRepairNames, line, s, out, err)) return *code;
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    NameRepairPlan plan = PlanNameRepair(dir, line.Switch("recursive", s.recursiveRename));
    PrintNameRepair(plan, out);
    if (line.Switch("dry-run", false)) {
        for (const std::string& failure : plan.failures) err << "tandrel-cli: " << Cp1251ToUtf8(failure) << "\n";
        return plan.failures.empty() ? kExitOk : kExitFailed;
    }
    BatchPrompter p(out);
    RenameStats stats = RepairNames(plan, p);
    stats.failures.insert(stats.failures.begin(), plan.failures.begin(), plan.failures.end());
    return Report(stats, out, err);
}

}  // namespace

int RunRenameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && args[0] == "repair-names")
        return RepairNamesCommand(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kRename, line, s, out, err)) return *code;
    RenameKind kind = rkTranslit;
    if (!KindByName(line.positional[0], kind))
        return CliUsage(err, "unknown kind '" + Cp1251ToUtf8(line.positional[0]) + "'", kRename.usage);
    RenameOptions o = RenameOptionsFrom(s);
    o.recursive = line.Switch("recursive", o.recursive);
    o.makeLowercaseExt = line.Switch("lowercase-ext", o.makeLowercaseExt);
    o.writeRenameInfo = line.Switch("log", o.writeRenameInfo);
    if (std::string problem; !NumberOption(line, "mode", 0, 2, o.renameMode, problem) ||
                             !NumberOption(line, "artist-mode", 0, 2, o.artistMode, problem))
        return CliUsage(err, problem, kRename.usage);
    const std::string* oldSub = line.Value("old");
    const std::string* newSub = line.Value("new");
    if (kind == rkSubStr) {
        if (!oldSub) return CliUsage(err, "substr needs --old", kRename.usage);
        o.oldSubStr = *oldSub;
        o.newSubStr = newSub ? *newSub : "";
    } else if (oldSub || newSub) {
        return CliUsage(err, "--old and --new belong to substr", kRename.usage);
    }
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    return FinishRenameCommand(
        line, kRename.usage, Frame(kRenamedSection, o.writeRenameInfo),
        [&] { return PlanRenameDirectory(dir, MaskOf(line), kind, o); },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

int RunRenameBackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (std::optional<int> code = Prepare(args, kRenameBack, line, s, out, err)) return *code;
    const std::string& section = line.positional[0];
    if (section != kRenamedSection && section != kDeletedSection && section != kRepairedNamesSection)
        return CliUsage(err, "the section is renamed, deleted or names", kRenameBack.usage);
    RenameOptions o = RenameOptionsFrom(s);
    o.recursive = line.Switch("recursive", o.recursive);
    o.makeLowercaseExt = line.Switch("lowercase-ext", o.makeLowercaseExt);
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    BatchPrompter p(out);
    if (section == kRepairedNamesSection) {
        if (line.Switch("dry-run", false) || line.Value("plan") || line.Value("apply"))
            return CliUsage(err, "the names section has no plan: --dry-run, --plan and --apply do not go with it",
                            kRenameBack.usage);
        return Report(RenameRepairedNamesBack(dir, o.recursive, p), out, err);
    }
    return FinishRenameCommand(
        line, kRenameBack.usage, Frame(section, false), [&] { return PlanRenameFromLog(dir, "*.*", section, o); },
        [&](const RenameStats& stats) { return Report(stats, out, err); }, p, out, err);
}

int RunNumberCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunSubcommand(args, "number",
                         {{"add", kNumberAdd.usage, NumberAdd},
                          {"delete-first", kNumberDeleteFirst.usage, NumberDeleteFirst},
                          {"by-date", kNumberByDate.usage, NumberByDate}},
                         out, err);
}

int RunExtCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunSubcommand(args, "ext", {{"lower", kExtLower.usage, ExtLower}, {"change", kExtChange.usage, ExtChange}},
                         out, err);
}

}  // namespace tandrel
