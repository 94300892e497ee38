#include "cli/commands.h"

#include <functional>
#include <string_view>

#include "cli/text_command.h"

namespace tandrel {

namespace {

using CommandRunner = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

struct Command {
    std::string_view name;
    std::string_view usage;
    CommandRunner run;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"text", "text FUNCTION ARG...   run a text operation by its name", RunTextCommand},
    };
    return commands;
}

void PrintUsage(std::ostream& to) {
    to << "usage: tandrel-cli COMMAND ARG...\ncommands:\n";
    for (const Command& c : Commands()) to << "  " << c.usage << "\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return 0;
    }
    for (const Command& c : Commands()) {
        if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    err << "tandrel-cli: unknown command '" << args[0] << "'\n";
    PrintUsage(err);
    return 2;
}

}  // namespace tandrel
