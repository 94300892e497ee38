#include "cli/search_command.h"
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

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

constexpr std::string_view kSearchUsage =
    "search QUERY DIR [--by-name|--inside] [--mask M] [--full-string|--words] [--mode 0|1|2|3] "
    "[--over-search|--no-over-search] [--recursive|--no-recursive] [--add-file-name|--no-add-file-name]";
constexpr std::string_view kFindDirUsage = "find-dir QUERY DIR [--add-file-name|--no-add-file-name]";

// The command line: QUERY and DIR, the switches given (true, or false for
// their --no- form) and the values given, every text in code page 1251.
struct SearchLine {
    std::vector<std::string> positional;
    std::map<std::string, bool, std::less<>> switches;
    std::map<std::string, std::string, std::less<>> values;

    bool Switch(std::string_view name, bool fallback) const {
        auto it = switches.find(name);
        return it == switches.end() ? fallback : it->second;
    }
};

int Usage(std::ostream& err, const std::string& why, std::string_view usage) {
    err << "tandrel-cli: " << why << "\nusage: tandrel-cli " << usage << "\n";
    return kUsageError;
}

bool ToCp1251(const std::string& utf8, std::string& text, std::ostream& err) {
    Cp1251Text t = Utf8ToCp1251(utf8);
    if (!t.lossless) {
        err << "tandrel-cli: '" << utf8 << "' has characters outside code page 1251\n";
        return false;
    }
    text = std::move(t.text);
    return true;
}

// Aliases are switches that set another switch: --by-name is --no-inside.
struct Alias {
    std::string_view name, target;
    bool value;
};

// Returns 0, or the exit code after a message on err.
int Parse(const std::vector<std::string>& args, std::initializer_list<std::string_view> switches,
          std::initializer_list<Alias> aliases, std::initializer_list<std::string_view> valued,
          std::string_view usage, SearchLine& line, std::ostream& err) {
    auto among = [](std::initializer_list<std::string_view> list, std::string_view name) {
        for (std::string_view n : list)
            if (n == name) return true;
        return false;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--" && !optionsEnded) {
                optionsEnded = true;
                continue;
            }
            std::string text;
            if (!ToCp1251(arg, text, err)) return kUsageError;
            line.positional.push_back(std::move(text));
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (among(valued, name)) {
            if (!inlineValue && i + 1 == args.size()) return Usage(err, "option --" + name + " needs a value", usage);
            std::string text;
            if (!ToCp1251(inlineValue ? *inlineValue : args[++i], text, err)) return kUsageError;
            line.values[name] = std::move(text);
            continue;
        }
        if (inlineValue) return Usage(err, "unknown option " + arg, usage);
        bool known = false;
        for (const Alias& a : aliases) {
            if (a.name == name) {
                line.switches[std::string(a.target)] = a.value;
                known = true;
            }
        }
        if (known) continue;
        if (among(switches, name)) {
            line.switches[name] = true;
        } else if (name.compare(0, 3, "no-") == 0 && among(switches, std::string_view(name).substr(3))) {
            line.switches[name.substr(3)] = false;
        } else {
            return Usage(err, "unknown option " + arg, usage);
        }
    }
    if (line.positional.size() != 2) return Usage(err, "expected QUERY and DIR", usage);
    return 0;
}

// The settings registry's values, with their documented defaults.
bool LoadSearchSettings(TAppSettings& settings, MainControlValues& controls, std::ostream& err) {
    settings.recursiveSearch = true;
    RegistryStore store(DefaultRegistryPath());
    if (FileResult r = store.Load(); !r) {
        err << "tandrel-cli: the settings cannot be read: " << r.error << "\n";
        return false;
    }
    LoadSettings(store, settings, controls);
    return true;
}

bool CheckDirectory(const std::string& dir, std::ostream& err) {
    if (DirectoryExists(dir)) return true;
    err << "tandrel-cli: '" << Cp1251ToUtf8(dir) << "' is not a directory\n";
    return false;
}

void PrintResults(const std::vector<std::string>& results, std::ostream& out) {
    for (const std::string& line : results) out << Cp1251ToUtf8(line) << '\n';
}

}  // namespace

int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SearchLine line;
    if (int code = Parse(args, {"inside", "full-string", "over-search", "recursive", "add-file-name"},
                         {{"by-name", "inside", false}, {"words", "full-string", false}}, {"mask", "mode"},
                         kSearchUsage, line, err))
        return code;
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadSearchSettings(settings, controls, err)) return kRunError;

    int searchMode = settings.searchMode;
    if (auto it = line.values.find("mode"); it != line.values.end()) {
        if (it->second.size() != 1 || it->second[0] < '0' || it->second[0] > '3')
            return Usage(err, "--mode must be 0, 1, 2 or 3", kSearchUsage);
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
    if (!CheckDirectory(dir, err)) return kRunError;
    StreamPrompter prompter(err, "tandrel-cli: ");
    TID3v1 id3v1;
    TID3v2 id3v2;
    std::vector<std::string> results;
    SearchEngine(o, SearchEnvironment{prompter, settings.loadedLanguage, id3v1, id3v2, nullptr}, results)
        .RunScan({{dir, searchMask}}, line.positional[0], searchMode, false);
    PrintResults(results, out);
    return 0;
}

int RunFindDirCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SearchLine line;
    if (int code = Parse(args, {"add-file-name"}, {}, {}, kFindDirUsage, line, err)) return code;
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadSearchSettings(settings, controls, err)) return kRunError;
    SearchOptions o;
    o.overSearch = controls.overSearch;
    o.addFileName = line.Switch("add-file-name", controls.addFileName);
    const std::string& dir = line.positional[1];
    if (!CheckDirectory(dir, err)) return kRunError;
    StreamPrompter prompter(err, "tandrel-cli: ");
    TID3v1 id3v1;
    TID3v2 id3v2;
    std::vector<std::string> results;
    SearchEngine(o, SearchEnvironment{prompter, settings.loadedLanguage, id3v1, id3v2, nullptr}, results)
        .FindDirectories(dir, line.positional[0]);
    PrintResults(results, out);
    return 0;
}

}  // namespace tandrel
