#include "cli/commands.h"
#include "cli/cliargs.h"

#include <string_view>

#include "cli/copy_command.h"
#include "cli/listing_command.h"
#include "cli/m3u_command.h"
#include "cli/rename_command.h"
#include "cli/search_command.h"
#include "cli/tag_command.h"
#include "cli/text_command.h"
#include "cli/tree_command.h"

namespace tandrel {

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;
    CommandRunner run;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"text", "text FUNCTION ARG...   run a text operation by its name", RunTextCommand},
        {"rename", "rename KIND DIR [options] | rename repair-names DIR   rename files by a name transform or repair legacy names", RunRenameCommand},
        {"rename-back", "rename-back renamed|deleted|names DIR [options]   rename back from the logs", RunRenameBackCommand},
        {"number", "number add|delete-first|by-date ...   number files, cut first characters", RunNumberCommand},
        {"ext", "ext lower|change DIR ...   change extensions", RunExtCommand},
        {"tag", "tag show|update|rename|from-name|repair FILE...   read and write ID3 tags, rename from them", RunTagCommand},
        {"search", "search QUERY DIR [options]   find files by name, inside files or by tags", RunSearchCommand},
        {"find-dir", "find-dir QUERY DIR [--add-file-name]   find directories by name", RunFindDirCommand},
        {"search-listing", "search-listing QUERY LISTING [--map SOURCE TARGET]   search a server listing file", RunSearchListingCommand},
        {"m3u", "m3u titles|names|find FILE | m3u media DIR   playlist titles, names, files found", RunM3UCommand},
        {"tree", "tree DIR [options]   write the tree file of a directory", RunTreeCommand},
        {"describe", "describe DIR [options]   write or correct the description files of a tree", RunDescribeCommand},
        {"copy", "copy TARGET-DIR FILE... [--from-lines]   copy files into a directory", RunCopyCommand},
    };
    return commands;
}

void PrintCommands(std::ostream& to) {
    to << "usage: tandrel-cli COMMAND ARG...\ncommands:\n";
    for (const Command& c : Commands()) to << "  " << c.usage << "\n";
    to << "tandrel-cli COMMAND --help shows the usage of a command.\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintCommands(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintCommands(out);
        return kExitOk;
    }
    for (const Command& c : Commands()) {
        if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    }
    err << "tandrel-cli: unknown command '" << args[0] << "'\n";
    PrintCommands(err);
    return kExitUsage;
}

}  // namespace tandrel
