#include "cli/listing_command.h"

#include <optional>

#include "app/settings.h"
#include "cli/cliargs.h"
#include "platform/files.h"
#include "search/localfile.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

// "--map" takes two values, which the shared parser does not know: the
// arguments are taken verbatim and read here.
const CommandSpec kSearchListing{"search-listing QUERY LISTING [--map SOURCE TARGET | --no-map]",
                                 {{}, {}, {}, true},
                                 0,
                                 static_cast<std::size_t>(-1),
                                 "QUERY and LISTING"};

}  // namespace

int RunSearchListingCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kSearchListing, line, out, err)) return *code;
    std::vector<std::string> positional;
    std::optional<ListingMapping> mapping;
    bool optionsEnded = false;  // after "--" every argument is a text (a query may begin with "--")
    for (std::size_t i = 0; i < line.positional.size(); ++i) {
        const std::string& arg = line.positional[i];
        if (optionsEnded) {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            PrintUsage(out, kSearchListing.usage);
            return kExitOk;
        } else if (arg == "--map") {
            if (i + 2 >= line.positional.size())
                return CliUsage(err, "--map needs SOURCE and TARGET", kSearchListing.usage);
            mapping = ListingMapping{true, line.positional[i + 1], line.positional[i + 2]};
            i += 2;
        } else if (arg == "--no-map") {
            mapping = ListingMapping{};
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            return CliUsage(err, "unknown option " + Cp1251ToUtf8(arg), kSearchListing.usage);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return CliUsage(err, "expected QUERY and LISTING", kSearchListing.usage);

    if (!mapping) {
        TAppSettings settings;
        MainControlValues controls;
        if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
        mapping = ListingMapping{settings.ftpChangeAddFtpPath, settings.ftpSourcePath, settings.ftpTargetPath};
    }
    const std::string& listing = positional[1];
    if (!FileExists(listing)) {
        err << "tandrel-cli: cannot read \"" << Cp1251ToUtf8(listing) << "\": not an existing file\n";
        return kExitFailed;
    }
    std::vector<std::string> results;
    const ListingRun run = SearchLocalFile(positional[0], listing, *mapping, results);
    if (run.outcome != ListingOutcome::Searched) {
        err << "tandrel-cli: " << run.read.error << '\n';
        return kExitFailed;
    }
    for (const std::string& result : results) out << Cp1251ToUtf8(result) << '\n';
    out.flush();
    if (!out) {
        err << "tandrel-cli: cannot write the results\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace tandrel
