#include "cli/tag_command.h"
#include "cli/cliargs.h"
#include "cli/streamprompter.h"
#include "cli/tag_rename_command.h"
#include "cli/tag_name_command.h"
#include "cli/tag_repair_command.h"
#include "cli/tagbatch.h"

#include <cstddef>
#include <cstdio>
#include <limits>
#include <optional>
#include <string_view>

#include "app/language.h"
#include "platform/files.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagmatch.h"
#include "text/cp1251.h"
#include "text/numbers.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

const CommandSpec kShow{"tag show FILE", {{}, {}}, 1, 1, "FILE"};
const CommandSpec kUpdate{
    "tag update FILE... [--tags 1|2|both] [--title T] [--artist A] [--album L] [--year Y] [--comment C] "
    "[--track N] [--genre G] [--unicode|--no-unicode]",
    {{"tags", "title", "artist", "album", "year", "comment", "track", "genre"}, {"unicode"}},
    1,
    std::numeric_limits<std::size_t>::max(),
    "FILE..."};

// A code-page-1251 value in UTF-8 on one line: control characters as \xNN.
std::string Printable(const std::string& cp1251) {
    std::string out;
    for (char c : Cp1251ToUtf8(cp1251)) {
        if (static_cast<unsigned char>(c) < 32) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

void Line(std::ostream& out, const char* key, const std::string& cp1251Value) {
    out << key << "=" << Printable(cp1251Value) << "\n";
}

void PrintID3v1(std::ostream& out, const TID3v1& t) {
    const bool e = t.Exists();
    out << "v1.exists=" << (e ? "true" : "false") << "\n";
    Line(out, "v1.version", e ? (t.VersionID() == 1 ? "1.0" : "1.1") : "");
    Line(out, "v1.title", t.Title());
    Line(out, "v1.artist", t.Artist());
    Line(out, "v1.album", t.Album());
    Line(out, "v1.year", t.Year());
    Line(out, "v1.comment", t.Comment());
    Line(out, "v1.track", e ? std::to_string(t.Track()) : "");
    Line(out, "v1.genre", e ? std::to_string(t.GenreID()) : "");
}

void PrintID3v2(std::ostream& out, const TID3v2& t) {
    const bool e = t.Exists();
    out << "v2.exists=" << (e ? "true" : "false") << "\n";
    Line(out, "v2.version", e ? "2." + std::to_string(t.VersionID()) : "");
    Line(out, "v2.size", e ? std::to_string(t.Size()) : "");
    Line(out, "v2.title", t.Title());
    Line(out, "v2.artist", t.Artist());
    Line(out, "v2.album", t.Album());
    Line(out, "v2.year", t.Year());
    Line(out, "v2.comment", t.Comment());
    Line(out, "v2.track", e ? std::to_string(t.Track()) : "");
    Line(out, "v2.genre", t.Genre());
}

int Show(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kShow, line, out, err)) return *code;
    const std::string& file = line.positional[0];
    StreamPrompter prompter(err);
    const TagMessages messages{prompter, kEnglish};
    if (!FileExists(file)) {
        messages.Show(MessageId::FileMissing, file);
        return kExitFailed;
    }
    int code = kExitOk;
    TID3v1 v1;
    if (v1.ReadFromFile(file)) {
        PrintID3v1(out, v1);
    } else {
        messages.Show(MessageId::TagReadFailed, file, v1.LastError());
        code = kExitFailed;
    }
    TID3v2 v2;
    if (v2.ReadFromFile(file)) {
        PrintID3v2(out, v2);
    } else {
        messages.Show(MessageId::TagReadFailed, file, v2.LastError());
        code = kExitFailed;
    }
    return code;
}

// The genre list position of an ID3v1 genre given by name or number; 0 when unknown.
int GenrePosition(const std::string& genre) {
    if (IsInteger(genre) && LeadingNumberLength(genre) == static_cast<int>(genre.size())) {
        const long long n = std::stoll(genre);
        return n < kGenreCount ? static_cast<int>(n) + 1 : 0;
    }
    for (int id = 0; id < kGenreCount; ++id)
        if (ToLowerCase(GenreName(id)) == ToLowerCase(genre)) return id + 1;
    return 0;
}

int Update(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kUpdate, line, out, err)) return *code;
    const std::string* tagsValue = line.Value("tags");
    const std::string tags = tagsValue ? *tagsValue : "both";
    if (tags != "1" && tags != "2" && tags != "both") return CliUsage(err, "--tags takes 1, 2 or both", kUpdate.usage);
    const auto field = [&line](std::string_view name) {
        const std::string* value = line.Value(name);
        return value ? *value : std::string();
    };
    TagFieldUpdate update;
    update.title = field("title");
    update.artist = field("artist");
    update.album = field("album");
    update.year = field("year");
    update.comment = field("comment");
    update.track = field("track");
    update.genre = field("genre");
    const bool v1 = tags != "2", v2 = tags != "1";
    if (v1 && !update.genre.empty()) {
        update.genrePosition = GenrePosition(update.genre);
        if (update.genrePosition == 0)
            return CliUsage(err,
                            "the ID3v1 genre \"" + Cp1251ToUtf8(update.genre) +
                                "\" is neither a genre name nor a number below 148",
                            kUpdate.usage);
    }

    TAppSettings settings;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    TID3v1 id3v1;
    TID3v2 id3v2;
    id3v2.SetUnicodeText(line.Switch("unicode", settings.writeID3v2Unicode));
    return RunFileBatch(line.positional, err, [&](const std::string& file, Prompter& prompter) {
        const TagMessages messages{prompter, kEnglish};
        if (v1 && v2) return UpdateID3Fields(id3v1, id3v2, messages, file, update);
        if (v1) return UpdateID3v1Fields(id3v1, messages, file, update);
        return UpdateID3v2Fields(id3v2, messages, file, update);
    });
}

}  // namespace

int RunTagCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunSubcommand(args, "tag",
                         {{"show", kShow.usage, Show},
                          {"update", kUpdate.usage, Update},
                          {"rename", kTagRenameUsage, RunTagRenameCommand},
                          {"from-name", kTagFromNameUsage, RunTagFromNameCommand},
                          {"repair", kTagRepairUsage, RunTagRepairCommand}},
                         out, err);
}

}  // namespace tandrel
