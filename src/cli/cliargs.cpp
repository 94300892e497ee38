#include "cli/cliargs.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "platform/files.h"
#include "platform/registry.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

bool Contains(const std::vector<std::string_view>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
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

// "--help" where an option may stand, also after an argument that is not
// acceptable or in the place of an option's value.
bool AsksForHelp(const std::vector<std::string>& args, const OptionSet& allowed) {
    if (allowed.verbatim) return !args.empty() && args[0] == "--help";
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help") return true;
    }
    return false;
}

// False with a message on err when an argument is not acceptable.
bool ParseCommandLine(const std::vector<std::string>& args, const OptionSet& allowed, CommandLine& line,
                      std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (allowed.verbatim || optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--" && !optionsEnded && !allowed.verbatim) {
                optionsEnded = true;
                continue;
            }
            std::string text;
            if (!ToCp1251(arg, text, err)) return false;
            line.positional.push_back(std::move(text));
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (Contains(allowed.values, name)) {
            if (!inlineValue && i + 1 == args.size()) {
                err << "tandrel-cli: option --" << name << " needs a value\n";
                return false;
            }
            std::string text;
            if (!ToCp1251(inlineValue ? *inlineValue : args[++i], text, err)) return false;
            line.values[name] = std::move(text);
            continue;
        }
        auto alias = std::find_if(allowed.aliases.begin(), allowed.aliases.end(),
                                  [&](const SwitchAlias& a) { return a.name == name; });
        if (!inlineValue && alias != allowed.aliases.end()) {
            line.switches[std::string(alias->target)] = alias->value;
        } else if (!inlineValue && Contains(allowed.switches, name)) {
            line.switches[name] = true;
        } else if (!inlineValue && name.compare(0, 3, "no-") == 0 && Contains(allowed.switches, name.substr(3))) {
            line.switches[name.substr(3)] = false;
        } else {
            err << "tandrel-cli: unknown option " << arg << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace

bool CommandLine::Switch(std::string_view name, bool fallback) const {
    auto it = switches.find(name);
    return it == switches.end() ? fallback : it->second;
}

const std::string* CommandLine::Value(std::string_view name) const {
    auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
}

std::optional<int> ParseCommand(const std::vector<std::string>& args, const CommandSpec& command, CommandLine& line,
                                std::ostream& out, std::ostream& err) {
    if (AsksForHelp(args, command.options)) {
        PrintUsage(out, command.usage);
        return kExitOk;
    }
    if (!ParseCommandLine(args, command.options, line, err)) {
        PrintUsage(err, command.usage);
        return kExitUsage;
    }
    const std::size_t n = line.positional.size();
    if (n < command.minPositional || n > command.maxPositional) {
        std::string expected = std::to_string(command.minPositional);
        if (command.maxPositional != command.minPositional) expected += " to " + std::to_string(command.maxPositional);
        expected = command.arguments.empty() ? expected + " argument(s)" : std::string(command.arguments);
        return CliUsage(err, "expected " + expected + ", " + std::to_string(n) + " given", command.usage);
    }
    return std::nullopt;
}

void PrintUsage(std::ostream& to, std::string_view usage) {
    const char* lead = "usage: ";
    while (!usage.empty()) {
        const std::size_t end = usage.find('\n');
        to << lead << "tandrel-cli " << usage.substr(0, end) << "\n";
        lead = "       ";
        usage.remove_prefix(end == std::string_view::npos ? usage.size() : end + 1);
    }
}

int CliUsage(std::ostream& err, const std::string& message, std::string_view usage) {
    err << "tandrel-cli: " << message << "\n";
    PrintUsage(err, usage);
    return kExitUsage;
}

bool CheckDirectory(const std::string& dir, std::ostream& err) {
    if (DirectoryExists(dir)) return true;
    err << "tandrel-cli: '" << Cp1251ToUtf8(dir) << "' is not a directory\n";
    return false;
}

int RunSubcommand(const std::vector<std::string>& args, std::string_view command,
                  std::initializer_list<Subcommand> subcommands, std::ostream& out, std::ostream& err) {
    std::string usage, names;
    for (const Subcommand& s : subcommands) {
        if (!usage.empty()) usage += "\n";
        usage += s.usage;
        if (!names.empty()) names += s.name == std::prev(subcommands.end())->name ? " or " : ", ";
        names += s.name;
    }
    if (!args.empty() && args[0] == "--help") {
        PrintUsage(out, usage);
        return kExitOk;
    }
    for (const Subcommand& s : subcommands) {
        if (!args.empty() && args[0] == s.name)
            return s.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    const std::string given = args.empty() ? "" : ", not '" + args[0] + "'";
    return CliUsage(err, std::string(command) + " takes " + names + given, usage);
}

bool LoadCliSettings(TAppSettings& settings, MainControlValues& controls, std::ostream& err) {
    RegistryStore store(DefaultRegistryPath());
    if (FileResult r = store.Load(); !r) {
        err << "tandrel-cli: the settings cannot be read: " << r.error << "\n";
        return false;
    }
    LoadSettings(store, settings, controls);
    return true;
}

}  // namespace tandrel
