// The command line of a terminal command taken apart: positional arguments,
// "--name value" (or "--name=value") options, and switches that "--no-name"
// turns off. Every text is converted to code page 1251 on the way in.
// "--help" anywhere before "--" asks for the usage. The exit codes and the
// usage and help texts of every command are here too.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace tandrel {

inline constexpr int kExitOk = 0;
// An operation failed for a file, a log, a directory or the settings; one
// line per failure is on stderr, the rest of the batch was still done.
inline constexpr int kExitFailed = 1;
// The command line is not acceptable; the usage is on stderr.
inline constexpr int kExitUsage = 2;

// A switch that sets another one: "--by-name" is "--no-inside".
struct SwitchAlias {
    std::string_view name, target;
    bool value;
};

// What a command accepts.
struct OptionSet {
    std::vector<std::string_view> values;
    std::vector<std::string_view> switches;
    std::vector<SwitchAlias> aliases = {};
    // Every argument is a positional text as it stands ("--" and "--x"
    // included), except "--help" in the first place.
    bool verbatim = false;
};

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::map<std::string, bool, std::less<>> switches;

    bool Switch(std::string_view name, bool fallback) const;
    const std::string* Value(std::string_view name) const;
};

// One command or subcommand: its usage (what follows "tandrel-cli "; several
// forms one a line), its options, how many positional arguments it takes and
// their names for the message when the count is wrong ("QUERY and DIR").
struct CommandSpec {
    std::string_view usage;
    OptionSet options;
    std::size_t minPositional = 0;
    std::size_t maxPositional = 0;
    std::string_view arguments = {};
};

// Parses args for command. Empty when the command goes on with line; otherwise
// the exit code: kExitOk after the usage on out for "--help", kExitUsage
// after the message and the usage on err.
std::optional<int> ParseCommand(const std::vector<std::string>& args, const CommandSpec& command, CommandLine& line,
                                std::ostream& out, std::ostream& err);

// "usage: tandrel-cli FORM" for each form of usage.
void PrintUsage(std::ostream& to, std::string_view usage);

// Writes the message and the usage on err; returns kExitUsage.
int CliUsage(std::ostream& err, const std::string& message, std::string_view usage);

// False with a message on err when dir, a directory argument, is not one.
bool CheckDirectory(const std::string& dir, std::ostream& err);

// The settings of the registry file the window uses, as the window loads them;
// false with a message on err when the file cannot be read.
bool LoadCliSettings(TAppSettings& settings, MainControlValues& controls, std::ostream& err);

using CommandRunner = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

struct Subcommand {
    std::string_view name;
    std::string_view usage;  // the subcommand's forms, command name included
    CommandRunner run;
};

// Runs the subcommand args[0] names with the arguments after it. "--help" in
// its place prints every subcommand's usage on out (kExitOk); a missing or
// unknown name is a usage error.
int RunSubcommand(const std::vector<std::string>& args, std::string_view command,
                  std::initializer_list<Subcommand> subcommands, std::ostream& out, std::ostream& err);

}  // namespace tandrel
