#include "cli/rename_command.h"
#include "cli/cliargs.h"
#include "cli/streamprompter.h"

#include <charconv>
#include <map>
#include <optional>
#include <string_view>

#include "app/prompts.h"
#include "app/settings.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "rename/renameengine.h"
#include "rename/structural.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

constexpr int kRunError = kCliRunError;
constexpr int kUsageError = kCliUsageError;

// The whole text as a number in [low, high]; false with a message otherwise.
bool Number(const std::string& text, const char* what, long long low, long long high, long long& out,
            std::ostream& err) {
    long long n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < low || n > high) {
        err << "tandrel-cli: " << what << " must be a number from " << low << " to " << high << ", not '"
            << Cp1251ToUtf8(text) << "'\n";
        return false;
    }
    out = n;
    return true;
}

// The option's number when given, else the fallback; false on a bad number.
template <class T>
bool NumberOption(const CommandLine& line, std::string_view name, long long low, long long high, T& value,
                  std::ostream& err) {
    const std::string* text = line.Value(name);
    if (!text) return true;
    long long n = 0;
    if (!Number(*text, ("--" + std::string(name)).c_str(), low, high, n, err)) return false;
    value = static_cast<T>(n);
    return true;
}

// The values of the settings registry; a missing value (also when the key
// itself is) keeps the record's default, which is the settings table's.
bool LoadCliSettings(TAppSettings& s, std::ostream& err) {
    RegistryStore store(DefaultRegistryPath());
    if (FileResult r = store.Load(); !r) {
        err << "tandrel-cli: the settings cannot be read: " << r.error << "\n";
        return false;
    }
    MainControlValues controls;
    LoadSettings(store, s, controls);
    return true;
}

bool CheckDirectory(const std::string& dir, std::ostream& err) {
    if (DirectoryExists(dir)) return true;
    err << "tandrel-cli: '" << Cp1251ToUtf8(dir) << "' is not a directory\n";
    return false;
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
    return stats.failures.empty() ? 0 : kRunError;
}

std::string MaskOf(const CommandLine& line) {
    const std::string* mask = line.Value("mask");
    return mask ? *mask : "*.*";
}

constexpr std::string_view kRenameUsage =
    "rename translit|lower|upper|words|artist-title|first-letter|substr DIR [--mask M] "
    "[--recursive|--no-recursive] [--mode 0|1|2] [--lowercase-ext|--no-lowercase-ext] [--log|--no-log] "
    "[--artist-mode 0|1|2] [--old S --new S]";
constexpr std::string_view kRenameBackUsage =
    "rename-back renamed|deleted DIR [--recursive|--no-recursive] [--lowercase-ext|--no-lowercase-ext]";
constexpr std::string_view kNumberUsage =
    "number add DIR [--mask M] [--width N] [--split S] [--number|--no-number] [--m3u|--no-m3u] "
    "[--recursive|--no-recursive]\n"
    "       tandrel-cli number delete-first COUNT DIR [--mask M] [--log|--no-log] [--recursive|--no-recursive]\n"
    "       tandrel-cli number by-date DIR [--mask M] [--start-name S] [--start N] [--width N] [--split S] "
    "[--number|--no-number] [--ending|--no-ending] [--recursive|--no-recursive]";
constexpr std::string_view kExtUsage =
    "ext lower DIR [--mask M] [--recursive|--no-recursive]\n"
    "       tandrel-cli ext change DIR SOURCE-MASK TARGET-MASK [--recursive|--no-recursive]";

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

// Parses, checks the positional count, loads the settings: the common start
// of every command. Returns 0 to go on, or the exit code.
int Prepare(const std::vector<std::string>& args, const OptionSet& options, std::size_t positional,
            std::string_view usage, CommandLine& line, TAppSettings& settings, std::ostream& err) {
    if (!ParseCommandLine(args, options, line, err)) {
        err << "usage: tandrel-cli " << usage << "\n";
        return kUsageError;
    }
    if (line.positional.size() != positional)
        return CliUsage(err, "expected " + std::to_string(positional) + " argument(s)", usage);
    if (!LoadCliSettings(settings, err)) return kRunError;
    return 0;
}

int NumberAdd(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    const OptionSet options{{"mask", "width", "split"}, {"number", "m3u", "recursive"}};
    if (int code = Prepare(args, options, 1, kNumberUsage, line, s, err)) return code;
    NumberingOptions o = NumberingOptionsFrom(s);
    o.addingNumber = line.Switch("number", o.addingNumber);
    o.useM3u = line.Switch("m3u", o.useM3u);
    o.recursive = line.Switch("recursive", o.recursive);
    if (const std::string* split = line.Value("split")) o.numberSplit = *split;
    if (!NumberOption(line, "width", 1, 10, o.numberFormat, err)) return kUsageError;
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(AddNumbering(dir, MaskOf(line), o, p), out, err);
}

int NumberDeleteFirst(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    const OptionSet options{{"mask"}, {"log", "recursive"}};
    if (int code = Prepare(args, options, 2, kNumberUsage, line, s, err)) return code;
    long long count = 0;
    if (!Number(line.positional[0], "COUNT", 1, 10, count, err)) return kUsageError;
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(DeleteFirstSymbols(dir, MaskOf(line), static_cast<int>(count),
                                     line.Switch("recursive", s.recursiveRename), line.Switch("log", s.writeRenameInfo), p),
                  out, err);
}

int NumberByDate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    const OptionSet options{{"mask", "start-name", "start", "width", "split"}, {"number", "ending", "recursive"}};
    if (int code = Prepare(args, options, 1, kNumberUsage, line, s, err)) return code;
    NumberingOptions o = NumberingOptionsFrom(s);
    o.addingNumber = line.Switch("number", o.addingNumber);
    o.endingNumber = line.Switch("ending", o.endingNumber);
    o.recursive = line.Switch("recursive", o.recursive);
    if (const std::string* split = line.Value("split")) o.numberSplit = *split;
    long long start = 0;
    if (!NumberOption(line, "width", 1, 10, o.numberFormat, err) ||
        !NumberOption(line, "start", 0, 999999999, start, err))
        return kUsageError;
    const std::string* startName = line.Value("start-name");
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(SortByDateAndNumber(dir, MaskOf(line), o, startName ? *startName : "File", start, p), out, err);
}

int ExtLower(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (int code = Prepare(args, {{"mask"}, {"recursive"}}, 1, kExtUsage, line, s, err)) return code;
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(LowerCaseExtensions(dir, MaskOf(line), line.Switch("recursive", s.recursiveRename), p), out, err);
}

int ExtChange(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (int code = Prepare(args, {{}, {"recursive"}}, 3, kExtUsage, line, s, err)) return code;
    const std::string& dir = line.positional[0];
    if (line.positional[2].empty()) return CliUsage(err, "TARGET-MASK is empty", kExtUsage);
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(
        ChangeExtensions(dir, line.positional[1], line.positional[2], line.Switch("recursive", s.recursiveRename), p),
        out, err);
}

}  // namespace

int RunRenameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    const OptionSet options{{"mask", "mode", "artist-mode", "old", "new"}, {"recursive", "lowercase-ext", "log"}};
    if (int code = Prepare(args, options, 2, kRenameUsage, line, s, err)) return code;
    RenameKind kind = rkTranslit;
    if (!KindByName(line.positional[0], kind))
        return CliUsage(err, "unknown kind '" + Cp1251ToUtf8(line.positional[0]) + "'", kRenameUsage);
    RenameOptions o = RenameOptionsFrom(s);
    o.recursive = line.Switch("recursive", o.recursive);
    o.makeLowercaseExt = line.Switch("lowercase-ext", o.makeLowercaseExt);
    o.writeRenameInfo = line.Switch("log", o.writeRenameInfo);
    if (!NumberOption(line, "mode", 0, 2, o.renameMode, err) ||
        !NumberOption(line, "artist-mode", 0, 2, o.artistMode, err))
        return kUsageError;
    const std::string* oldSub = line.Value("old");
    const std::string* newSub = line.Value("new");
    if (kind == rkSubStr) {
        if (!oldSub) return CliUsage(err, "substr needs --old", kRenameUsage);
        o.oldSubStr = *oldSub;
        o.newSubStr = newSub ? *newSub : "";
    } else if (oldSub || newSub) {
        return CliUsage(err, "--old and --new belong to substr", kRenameUsage);
    }
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(RenameDirectory(dir, MaskOf(line), kind, o, p), out, err);
}

int RunRenameBackCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    if (int code = Prepare(args, {{}, {"recursive", "lowercase-ext"}}, 2, kRenameBackUsage, line, s, err))
        return code;
    const std::string& section = line.positional[0];
    if (section != kRenamedSection && section != kDeletedSection)
        return CliUsage(err, "the section is renamed or deleted", kRenameBackUsage);
    RenameOptions o = RenameOptionsFrom(s);
    o.recursive = line.Switch("recursive", o.recursive);
    o.makeLowercaseExt = line.Switch("lowercase-ext", o.makeLowercaseExt);
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kRunError;
    BatchPrompter p(out);
    return Report(RenameFromLog(dir, "*.*", section, o, p), out, err);
}

int RunNumberCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    const std::string what = args.empty() ? "" : args[0];
    if (what == "add") return NumberAdd(rest, out, err);
    if (what == "delete-first") return NumberDeleteFirst(rest, out, err);
    if (what == "by-date") return NumberByDate(rest, out, err);
    return CliUsage(err, "number add, delete-first or by-date", kNumberUsage);
}

int RunExtCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    const std::string what = args.empty() ? "" : args[0];
    if (what == "lower") return ExtLower(rest, out, err);
    if (what == "change") return ExtChange(rest, out, err);
    return CliUsage(err, "ext lower or change", kExtUsage);
}

}  // namespace tandrel
