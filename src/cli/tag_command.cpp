#include "cli/tag_command.h"
#include "cli/streamprompter.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>

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

constexpr const char* kUsage =
    "usage: tandrel-cli tag show FILE\n"
    "       tandrel-cli tag update FILE [--tags 1|2|both] [--title T] [--artist A] [--album L]\n"
    "                                   [--year Y] [--comment C] [--track N] [--genre G]\n";

int BadCall(std::ostream& err, const std::string& why) {
    err << "tandrel-cli: tag: " << why << "\n" << kUsage;
    return 2;
}

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

int Show(const std::string& file, std::ostream& out, std::ostream& err) {
    StreamPrompter prompter(err);
    const TagMessages messages{prompter, kEnglish};
    if (!FileExists(file)) {
        messages.Show(MessageId::FileMissing, file);
        return 1;
    }
    int code = 0;
    TID3v1 v1;
    if (v1.ReadFromFile(file)) {
        PrintID3v1(out, v1);
    } else {
        messages.Show(MessageId::TagReadFailed, file, v1.LastError());
        code = 1;
    }
    TID3v2 v2;
    if (v2.ReadFromFile(file)) {
        PrintID3v2(out, v2);
    } else {
        messages.Show(MessageId::TagReadFailed, file, v2.LastError());
        code = 1;
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

int Update(const std::vector<std::string>& args, std::ostream& err) {
    const std::string file = Utf8ToCp1251(args[1]).text;
    std::string tags = "both";
    std::map<std::string, std::string> fields;
    const char* const names[] = {"--title", "--artist", "--album", "--year", "--comment", "--track", "--genre"};
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) return BadCall(err, "option " + option + " needs a value");
        if (option == "--tags") {
            tags = args[i + 1];
            if (tags != "1" && tags != "2" && tags != "both") return BadCall(err, "--tags takes 1, 2 or both");
            continue;
        }
        if (std::find(std::begin(names), std::end(names), option) == std::end(names))
            return BadCall(err, "unknown option " + option);
        const Cp1251Text value = Utf8ToCp1251(args[i + 1]);
        if (!value.lossless) return BadCall(err, option + " holds a character outside code page 1251");
        fields[option] = value.text;
    }
    TagFieldUpdate update;
    update.title = fields["--title"];
    update.artist = fields["--artist"];
    update.album = fields["--album"];
    update.year = fields["--year"];
    update.comment = fields["--comment"];
    update.track = fields["--track"];
    update.genre = fields["--genre"];
    const bool v1 = tags != "2", v2 = tags != "1";
    if (v1 && !update.genre.empty()) {
        update.genrePosition = GenrePosition(update.genre);
        if (update.genrePosition == 0)
            return BadCall(err, "the ID3v1 genre \"" + Cp1251ToUtf8(update.genre) +
                                    "\" is neither a genre name nor a number below 148");
    }

    StreamPrompter prompter(err);
    const TagMessages messages{prompter, kEnglish};
    TID3v1 id3v1;
    TID3v2 id3v2;
    bool ok = false;
    if (v1 && v2) ok = UpdateID3Fields(id3v1, id3v2, messages, file, update);
    else if (v1) ok = UpdateID3v1Fields(id3v1, messages, file, update);
    else ok = UpdateID3v2Fields(id3v2, messages, file, update);
    return ok ? 0 : 1;
}

}  // namespace

int RunTagCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2) return BadCall(err, "a subcommand and a file are needed");
    if (args[0] == "show") {
        if (args.size() != 2) return BadCall(err, "show takes one file");
        return Show(Utf8ToCp1251(args[1]).text, out, err);
    }
    if (args[0] == "update") return Update(args, err);
    return BadCall(err, "unknown subcommand '" + args[0] + "'");
}

}  // namespace tandrel
