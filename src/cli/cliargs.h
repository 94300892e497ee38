// The command line of a terminal command taken apart: positional arguments,
// "--name value" (or "--name=value") options, and switches that "--no-name"
// turns off. Every text is converted to code page 1251 on the way in.
#pragma once

#include <initializer_list>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

inline constexpr int kCliRunError = 1;
inline constexpr int kCliUsageError = 2;

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
};

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::map<std::string, bool, std::less<>> switches;

    bool Switch(std::string_view name, bool fallback) const;
    const std::string* Value(std::string_view name) const;
};

// False with a message on err when an argument is not acceptable.
bool ParseCommandLine(const std::vector<std::string>& args, const OptionSet& allowed, CommandLine& line,
                      std::ostream& err);

// Writes the message and the usage line; returns kCliUsageError.
int CliUsage(std::ostream& err, const std::string& message, std::string_view usage);

}  // namespace tandrel
