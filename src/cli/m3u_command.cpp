#include "cli/m3u_command.h"
#include "cli/cliargs.h"
#include "cli/streamprompter.h"

#include <optional>

#include "app/dirwalk.h"
#include "app/maskkinds.h"
#include "catalog/m3u.h"
#include "catalog/m3ufind.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "search/searchplaces.h"
#include "text/cp1251.h"
#include "text/paths.h"

namespace tandrel {

namespace {

// Every audio and video extension the window counts as media.
constexpr const char* kAllMediaMask = "*.mp3;*.mp2;*.mp1;*.wav;*.mpg;*.mpe;*.wmv;*.avi;*.div;*.xvid;*.mp4";

const CommandSpec kTitles{"m3u titles FILE", {}, 1, 1, "FILE"};
const CommandSpec kNames{"m3u names FILE", {}, 1, 1, "FILE"};
const CommandSpec kFind{"m3u find FILE [--all|--no-all] [--drives LIST] [--add-file-name|--no-add-file-name]",
                        {{"drives"}, {"all", "add-file-name"}}, 1, 1, "FILE"};
const CommandSpec kMedia{"m3u media DIR [--mask M]", {{"mask"}, {}}, 1, 1, "DIR"};

void PrintLines(const std::vector<std::string>& lines, std::ostream& out) {
    for (const std::string& line : lines) out << Cp1251ToUtf8(line) << '\n';
}

bool ReadPlaylistOrSay(const std::string& path, std::vector<std::string>& lines, std::ostream& err) {
    if (FileResult read = ReadPlaylist(path, lines); !read) {
        err << "tandrel-cli: " << read.error << "\n";
        return false;
    }
    return true;
}

template <class Convert>
int PlaylistLinesCommand(const std::vector<std::string>& args, const CommandSpec& command, Convert convert,
                         std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, command, line, out, err)) return *code;
    std::vector<std::string> lines;
    if (!ReadPlaylistOrSay(line.positional[0], lines, err)) return kExitFailed;
    PrintLines(convert(lines), out);
    return kExitOk;
}

int Titles(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return PlaylistLinesCommand(args, kTitles, PlaylistTitles, out, err);
}

int Names(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return PlaylistLinesCommand(args, kNames, PlaylistBareNames, out, err);
}

// The playlist's directory as a full path, as the window's file list shows it.
std::string PlaylistDirectory(const std::string& path) {
    const std::string dir = ExtractDirPart(path);
    if (!dir.empty() && dir[0] == kPathDelim) return dir;
    if (path[0] == kPathDelim) return std::string(1, kPathDelim);  // a playlist in the root
    return dir.empty() ? CurrentDirectory() : JoinPath(CurrentDirectory(), dir);
}

int Find(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kFind, line, out, err)) return *code;
    TAppSettings settings;
    MainControlValues controls;
    if (!LoadCliSettings(settings, controls, err)) return kExitFailed;
    const std::string& path = line.positional[0];
    std::vector<std::string> lines;
    if (!ReadPlaylistOrSay(path, lines, err)) return kExitFailed;
    if (!HasPlaylistEntries(lines)) {  // nothing to look for: the playlist stays as it is
        PrintLines(lines, out);
        return kExitOk;
    }

    // The window's controls after start: "Use Mask:" and "Find on Drives" are
    // in use only while "Scan Directorys" is checked, the mask not while the
    // local-file search is.
    M3UFindOptions o;
    o.searchAll = line.Switch("all", settings.m3uSearchAll);
    o.anyMask = settings.anyMask;
    o.useMask = controls.findUseMask && controls.scanDir && !controls.ftpLocal;
    o.searchMask = controls.findMask;
    o.addFileName = line.Switch("add-file-name", controls.addFileName);
    std::vector<std::string> roots;
    if (const std::string* drives = line.Value("drives")) roots = ParseDriveList(*drives);
    else if (controls.findOnDrives && controls.scanDir) roots = ParseDriveList(controls.findDrives);
    else roots = {PlaylistDirectory(path)};

    StreamPrompter prompter(err, "tandrel-cli: ");  // each unreadable directory, one line
    const M3UFindResult result = FindPlaylistFiles(lines, roots, o, prompter);
    PrintLines(result.lines, out);
    return result.unreadable.empty() ? kExitOk : kExitFailed;
}

// The files of dir as the window's file list shows them: no directories, no
// hidden files, only names the mask matches, sorted.
bool ListFiles(const std::string& dir, const std::string& mask, std::vector<std::string>& names, std::ostream& err) {
    FileFind find;
    FindData e;
    for (bool more = find.FindFirst(JoinPath(dir, "*"), e, FindDetail::NamesAndKinds); more; more = find.FindNext(e))
        if (!e.IsDirectory() && (e.attr & faHidden) == 0 && MatchesMaskList(e.name, mask)) names.push_back(e.name);
    if (!find.Error().empty()) {
        err << "tandrel-cli: " << Cp1251ToUtf8(CannotReadText(dir, Utf8ToCp1251(find.Error()).text)) << "\n";
        return false;
    }
    SortTextLocale(names);
    return true;
}

int Media(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (std::optional<int> code = ParseCommand(args, kMedia, line, out, err)) return *code;
    const std::string* given = line.Value("mask");
    const std::string mask = given ? *given : kAllMediaMask;
    // The window offers the command only while its file list shows media files.
    if (!IsMediaMask(mask)) return CliUsage(err, "--mask must name audio or video files", kMedia.usage);
    const std::string& dir = line.positional[0];
    if (!CheckDirectory(dir, err)) return kExitFailed;
    std::vector<std::string> names;
    if (!ListFiles(dir, mask, names, err)) return kExitFailed;
    PrintLines(MediaNames(names), out);
    return kExitOk;
}

}  // namespace

int RunM3UCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunSubcommand(args, "m3u",
                         {{"titles", kTitles.usage, Titles},
                          {"names", kNames.usage, Names},
                          {"find", kFind.usage, Find},
                          {"media", kMedia.usage, Media}},
                         out, err);
}

}  // namespace tandrel
