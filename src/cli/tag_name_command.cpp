#include "cli/tag_name_command.h"
#include "cli/cliargs.h"
#include "cli/tagbatch.h"

#include <cstddef>
#include <limits>
#include <optional>

#include "app/language.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/nametags.h"
#include "tags/tagpanel.h"
#include "text/cp1251.h"

namespace tandrel {

const std::string_view kTagFromNameUsage = "tag from-name FILE... [--dry-run] [--unicode|--no-unicode]";

namespace {

const CommandSpec kFromName{
    kTagFromNameUsage, {{}, {"dry-run", "unicode"}}, 1, std::numeric_limits<std::size_t>::max(), "FILE..."};

}  // namespace

int RunTagFromNameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kFromName, line, out, err)) return *code;
    const bool dryRun = line.Switch("dry-run", false);
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    TID3v1 id3v1;
    TID3v2 id3v2;
    id3v2.SetUnicodeText(line.Switch("unicode", settings.writeID3v2Unicode));
    return RunFileBatch(line.positional, err, [&](const std::string& file, Prompter& prompter) {
        const NameTags tags = FileNameToTags(file);
        out << "file=" << Cp1251ToUtf8(file) << "\ntrack=" << Cp1251ToUtf8(tags.track)
            << "\nartist=" << Cp1251ToUtf8(tags.artist) << "\ntitle=" << Cp1251ToUtf8(tags.title) << "\n";
        if (dryRun) return true;
        TagPanelHalf v1, v2;
        PutNameTags(tags, true, v1, v2);
        return SaveID3FromPanel(id3v1, id3v2, TagMessages{prompter, kEnglish}, file, v1, v2);
    });
}

}  // namespace tandrel
