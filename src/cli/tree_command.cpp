#include "cli/tree_command.h"
#include "cli/cliargs.h"
#include "cli/streamprompter.h"

#include <charconv>
#include <ctime>
#include <filesystem>
#include <optional>

#include "app/settings.h"
#include "catalog/descriptions.h"
#include "catalog/dirtree.h"
#include "platform/files.h"
#include "platform/places.h"
#include "platform/registry.h"
#include "text/cp1251.h"
#include "text/paths.h"

namespace tandrel {

namespace {

// --out defaults to the stored SaveDir, else DIR; --number 0 writes no numbers.
const CommandSpec kTree{
    "tree DIR [--mode 0-3] [--mask M] [--out DIR] [--name-mode 0-3] [--date|--no-date]",
    {{"mode", "mask", "out", "name-mode"}, {"date"}}, 1, 1, "DIR"};
const CommandSpec kDescribe{
    "describe DIR [--out DIR] [--mask M] [--number 0-10] [--split S] [--translit]",
    {{"out", "mask", "number", "split"}, {"translit"}}, 1, 1, "DIR"};

// The prompter of a walk: failures are printed once at the end.
class QuietPrompter : public StreamPrompter {
public:
    using StreamPrompter::StreamPrompter;
    void SetStatusText(const std::string&) override {}
};

// The whole text as a number in [low, high], or a usage problem.
bool Number(const CommandLine& line, std::string_view name, int low, int high, int& value, std::string& problem) {
    const std::string* text = line.Value(name);
    if (!text) return true;
    int n = 0;
    const char* end = text->data() + text->size();
    auto [ptr, ec] = std::from_chars(text->data(), end, n);
    if (text->empty() || ec != std::errc() || ptr != end || n < low || n > high) {
        problem = "--" + std::string(name) + " must be a number from " + std::to_string(low) + " to " +
                  std::to_string(high) + ", not '" + Cp1251ToUtf8(*text) + "'";
        return false;
    }
    value = n;
    return true;
}

// A directory argument as a full path without "." or ".." components.
std::string FullPath(const std::string& dir) {
    std::string full = dir.empty() || dir[0] != kPathDelim ? JoinPath(CurrentDirectory(), dir) : dir;
    full = std::filesystem::path(full).lexically_normal().string();
    return TrimTrailingDelimiters(full);
}

// --out, else the stored SaveDir, else the scanned directory.
std::string WriteDirectory(const CommandLine& line, const std::string& scanned) {
    if (const std::string* out = line.Value("out")) return FullPath(*out);
    RegistryStore store(DefaultRegistryPath());
    if (store.Load() && store.OpenKey(kSettingsKey, false)) {
        std::optional<std::string> saved = store.ReadString("SaveDir");
        store.CloseKey();
        if (saved && !saved->empty()) return *saved;
    }
    return scanned;
}

int Report(const std::vector<std::string>& failures, std::ostream& err) {
    for (const std::string& failure : failures) err << "tandrel-cli: " << Cp1251ToUtf8(failure) << "\n";
    return failures.empty() ? kExitOk : kExitFailed;
}

// Parses, loads the settings and checks the directories; empty to go on.
std::optional<int> Prepare(const std::vector<std::string>& args, const CommandSpec& command, CommandLine& line,
                           TAppSettings& settings, std::string& scanned, std::string& written, std::ostream& out,
                           std::ostream& err) {
    if (std::optional<int> code = ParseCommand(args, command, line, out, err)) return code;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    scanned = FullPath(line.positional[0]);
    written = WriteDirectory(line, scanned);
    return std::nullopt;
}

}  // namespace

int RunTreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    std::string scanned, written;
    if (std::optional<int> code = Prepare(args, kTree, line, s, scanned, written, out, err)) return *code;
    TreeOptions o;
    o.treeMode = s.treeMode;
    o.treeNameMode = s.treeNameMode;
    if (std::string problem;
        !Number(line, "mode", 0, 3, o.treeMode, problem) || !Number(line, "name-mode", 0, 3, o.treeNameMode, problem))
        return CliUsage(err, problem, kTree.usage);
    o.addingDate = line.Switch("date", s.addingDate);
    o.now = static_cast<std::int64_t>(std::time(nullptr));
    if (!CheckDirectory(scanned, err) || !CheckDirectory(written, err)) return kExitFailed;
    const std::string* mask = line.Value("mask");
    QuietPrompter p(out);
    const CatalogStats stats = MakeTree(scanned, written, mask ? *mask : "*.*", o, p);
    for (const std::string& path : stats.written) out << Cp1251ToUtf8(path) << "\n";
    return Report(stats.failures, err);
}

int RunDescribeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings s;
    std::string scanned, written;
    if (std::optional<int> code = Prepare(args, kDescribe, line, s, scanned, written, out, err)) return *code;
    DescriptionOptions o;
    o.addingNumber = s.addingNumber;
    o.numberFormat = s.numberFormat;
    o.numberSplit = s.numberSplit;
    int width = o.addingNumber ? o.numberFormat : 0;
    if (std::string problem; !Number(line, "number", 0, 10, width, problem)) return CliUsage(err, problem, kDescribe.usage);
    o.addingNumber = width > 0;
    if (o.addingNumber) o.numberFormat = width;
    if (const std::string* split = line.Value("split")) o.numberSplit = *split;
    o.driveRoots = DriveRoots();
    if (!CheckDirectory(scanned, err)) return kExitFailed;
    const std::string* maskValue = line.Value("mask");
    const std::string mask = maskValue ? *maskValue : "*.*";
    QuietPrompter p(out);
    if (line.Switch("translit", false)) {
        const CorrectionStats stats =
            TranslitAndCorrectDescriptions(scanned, written, mask, RenameOptionsFrom(s), o.driveRoots, p);
        out << Cp1251ToUtf8(BatchSummary(stats.renames)) << "; descriptions written: " << stats.written.size() << "\n";
        return Report(stats.renames.failures, err);
    }
    const CatalogStats stats = MakeDescriptions(scanned, written, mask, o, p);
    out << Cp1251ToUtf8(CatalogSummary(stats)) << "\n";
    return Report(stats.failures, err);
}

}  // namespace tandrel
