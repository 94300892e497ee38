#include "cli/search_command.h"
#include "cli/cliargs.h"
#include "cli/streamprompter.h"

#include <map>
#include <optional>
#include <string_view>

#include "app/maskkinds.h"
#include "app/settings.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "search/searchengine.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

const CommandSpec kSearch{
    "search QUERY DIR [--by-name|--inside] [--mask M] [--full-string|--words] [--mode 0|1|2|3] "
    "[--over-search|--no-over-search] [--recursive|--no-recursive] [--add-file-name|--no-add-file-name]",
    {{"mask", "mode"},
     {"inside", "full-string", "over-search", "recursive", "add-file-name"},
     {{"by-name", "inside", false}, {"words", "full-string", false}}},
    2, 2, "QUERY and DIR"};
const CommandSpec kFindDir{"find-dir QUERY DIR [--add-file-name|--no-add-file-name]", {{}, {"add-file-name"}}, 2, 2,
                           "QUERY and DIR"};

// The settings registry's values; a missing one keeps the settings table's default.
void PrintResults(const std::vector<std::string>& results, std::ostream& out) {
    for (const std::string& line : results) out << Cp1251ToUtf8(line) << '\n';
}

}  // namespace

int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kSearch, line, out, err)) return *code;
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;

    int searchMode = settings.searchMode;
    if (auto it = line.values.find("mode"); it != line.values.end()) {
        if (it->second.size() != 1 || it->second[0] < '0' || it->second[0] > '3')
            return CliUsage(err, "--mode must be 0, 1, 2 or 3", kSearch.usage);
        searchMode = it->second[0] - '0';
    }
    auto mask = line.values.find("mask");
    const std::string searchMask =
        mask != line.values.end() ? mask->second : (controls.findUseMask ? controls.findMask : "*.*");

    SearchOptions o;
    o.findMode = line.Switch("inside", controls.findMode != 0) ? 1 : 0;
    o.fullString = line.Switch("full-string", controls.fullString);
    o.overSearch = line.Switch("over-search", controls.overSearch);
    o.recursive = line.Switch("recursive", settings.recursiveSearch);
    o.addFileName = line.Switch("add-file-name", controls.addFileName);
    o.tagSearch = IsMediaMask(searchMask);

    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    StreamPrompter prompter(err, "tandrel-cli: ");
    TID3v1 id3v1;
    TID3v2 id3v2;
    std::vector<std::string> results;
    SearchEngine(o, SearchEnvironment{prompter, settings.loadedLanguage, id3v1, id3v2, nullptr}, results)
        .RunScan({{dir, searchMask}}, line.positional[0], searchMode, false);
    PrintResults(results, out);
    return kExitOk;
}

int RunFindDirCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kFindDir, line, out, err)) return *code;
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    SearchOptions o;
    o.overSearch = controls.overSearch;
    o.addFileName = line.Switch("add-file-name", controls.addFileName);
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    StreamPrompter prompter(err, "tandrel-cli: ");
    TID3v1 id3v1;
    TID3v2 id3v2;
    std::vector<std::string> results;
    SearchEngine(o, SearchEnvironment{prompter, settings.loadedLanguage, id3v1, id3v2, nullptr}, results)
        .FindDirectories(dir, line.positional[0]);
    PrintResults(results, out);
    return kExitOk;
}

}  // namespace tandrel
