#include "cli/copy_command.h"
#include "cli/cliargs.h"

#include <iostream>

#include "media/copyfiles.h"
#include "platform/files.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

// FILE: a full name, or a bare name found with ".mp3", then ".wav", in the
// current directory; --from-lines reads more such lines, or "name TAB [dir]"
// lines, from standard input.
const CommandSpec kCopy{"copy TARGET-DIR FILE...\ncopy TARGET-DIR [FILE...] --from-lines",
                        {{}, {"from-lines"}}, 1, static_cast<std::size_t>(-1), "TARGET-DIR"};

// A line "name TAB [dir]" as the output writes it with file names added.
bool CarriesName(const std::string& line) {
    return line.find('\t') != std::string::npos && line.find('[') != std::string::npos && line.back() == ']';
}

}  // namespace

int RunCopyCommandFrom(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                       std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kCopy, line, out, err)) return *code;
    const std::string& target = line.positional[0];
    std::vector<std::string> names(line.positional.begin() + 1, line.positional.end());
    const bool fromLines = line.Switch("from-lines", false);
    if (names.empty() && !fromLines) return CliUsage(err, "no FILE to copy", kCopy.usage);
    if (!CheckDirectory(target, err)) return kExitFailed;

    if (fromLines) {
        for (std::string text; std::getline(in, text);) {
            if (!text.empty() && text.back() == '\r') text.pop_back();
            if (!text.empty()) names.push_back(Utf8ToCp1251(text).text);
        }
    }
    const std::string here = CurrentDirectory();
    std::vector<CopySource> sources;
    int missing = 0;
    for (const std::string& name : names) {
        if (auto source = OutputLineSource(name, CarriesName(name), here)) {
            sources.push_back(std::move(*source));
        } else {
            ++missing;
            err << "tandrel-cli: no file to copy for '" << Cp1251ToUtf8(name) << "'\n";
        }
    }
    const CopyStats stats = CopyFilesInto(sources, target);
    for (const std::string& failure : stats.failures) err << "tandrel-cli: " << Cp1251ToUtf8(failure) << "\n";
    for (const std::string& note : stats.notes) out << Cp1251ToUtf8(note) << "\n";
    out << Cp1251ToUtf8(CopySummary(stats)) << "\n";
    return stats.failed > 0 || missing > 0 ? kExitFailed : kExitOk;
}

int RunCopyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCopyCommandFrom(args, std::cin, out, err);
}

}  // namespace tandrel
