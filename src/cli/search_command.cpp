#include "cli/search_command.h"
#include "cli/cliargs.h"
#include "cli/streamprompter.h"

#include <functional>
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

// Parses (answering --help) and loads the stored settings: the start of both
// commands. Empty to go on, or the exit code.
std::optional<int> Prepare(const std::vector<std::string>& args, const CommandSpec& command, CommandLine& line,
                           TAppSettings& settings, MainControlValues& controls, std::ostream& out,
                           std::ostream& err) {
    if (std::optional<int> code = ParseCommand(args, command, line, out, err)) return code;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    return std::nullopt;
}

using Search = std::function<void(SearchEngine& engine, const std::string& query, const std::string& dir)>;

// The end of both commands: checks DIR (the second argument), runs search on
// it with the terminal's prompter and prints the lines found.
int SearchAndPrint(const CommandLine& line, const SearchOptions& o, int language, std::ostream& out,
                   std::ostream& err, const Search& search) {
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    StreamPrompter prompter(err, "tandrel-cli: ");
    TID3v1 id3v1;
    TID3v2 id3v2;
    std::vector<std::string> results;
    SearchEngine engine(o, SearchEnvironment{prompter, language, id3v1, id3v2, nullptr}, results);
    search(engine, line.positional[0], dir);
    for (const std::string& result : results) out << Cp1251ToUtf8(result) << '\n';
    return kExitOk;
}

}  // namespace

int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings settings;
    MainControlValues controls;
    if (std::optional<int> code = Prepare(args, kSearch, line, settings, controls, out, err)) return *code;

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
    return SearchAndPrint(line, o, settings.loadedLanguage, out, err,
                          [&](SearchEngine& engine, const std::string& query, const std::string& dir) {
                              engine.RunScan({{dir, searchMask}}, query, searchMode, false);
                          });
}

int RunFindDirCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    TAppSettings settings;
    MainControlValues controls;
    if (std::optional<int> code = Prepare(args, kFindDir, line, settings, controls, out, err)) return *code;
    SearchOptions o;
    o.overSearch = controls.overSearch;
    o.addFileName = line.Switch("add-file-name", controls.addFileName);
    return SearchAndPrint(line, o, settings.loadedLanguage, out, err,
                          [](SearchEngine& engine, const std::string& query, const std::string& dir) {
                              engine.FindDirectories(dir, query);
                          });
}

}  // namespace tandrel
