#include "cli/cliargs.h"

#include <algorithm>
#include <optional>

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

}  // namespace

bool CommandLine::Switch(std::string_view name, bool fallback) const {
    auto it = switches.find(name);
    return it == switches.end() ? fallback : it->second;
}

const std::string* CommandLine::Value(std::string_view name) const {
    auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
}

bool ParseCommandLine(const std::vector<std::string>& args, const OptionSet& allowed, CommandLine& line,
                      std::ostream& err) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--" && !optionsEnded) {
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

int CliUsage(std::ostream& err, const std::string& message, std::string_view usage) {
    err << "tandrel-cli: " << message << "\nusage: tandrel-cli " << usage << "\n";
    return kCliUsageError;
}

}  // namespace tandrel
