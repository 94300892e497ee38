#include "cli/tagbatch.h"

#include "cli/cliargs.h"
#include "cli/streamprompter.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

// A text on one line: its line breaks become spaces.
std::string OneLine(const std::string& cp1251) {
    std::string line = Cp1251ToUtf8(cp1251);
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return line;
}

}  // namespace

int RunFileBatch(const std::vector<std::string>& files, std::ostream& err, const FileOperation& operation) {
    int code = kExitOk;
    for (const std::string& file : files) {
        CollectingPrompter prompter;
        const bool ok = operation(file, prompter);
        if (ok) {
            for (const std::string& text : prompter.texts) err << OneLine(text) << "\n";
            continue;
        }
        code = kExitFailed;
        std::string line;
        for (const std::string& text : prompter.texts) line += (line.empty() ? "" : "; ") + OneLine(text);
        err << (line.empty() ? "Failed: " + Cp1251ToUtf8(file) : line) << "\n";
    }
    return code;
}

}  // namespace tandrel
