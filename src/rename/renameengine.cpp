#include "rename/renameengine.h"

#include <unordered_map>
#include <unordered_set>

#include "app/dirwalk.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

const char* const kUnmappableReason = "the name holds a character outside code page 1251";

bool AcceptableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find(kPathDelim) == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// Validates the new name and moves; the caller reports a failure.
FileResult TryMove(const std::string& dir, const std::string& oldName, const std::string& newName) {
    if (PathIsUnmappable(oldName) || PathIsUnmappable(newName)) return FileResult::Failure(kUnmappableReason);
    if (!AcceptableName(newName)) return FileResult::Failure("the new name is not a file name");
    return MoveFileNoReplace(JoinPath(dir, oldName), JoinPath(dir, newName));
}

void ReportNotRenamed(Prompter& prompter, const std::string& oldName, const std::string& newName) {
    std::string text = NotRenamedText(oldName);
    if (PathIsUnmappable(oldName) || PathIsUnmappable(newName)) text += std::string(" (") + kUnmappableReason + ")";
    prompter.SetStatusText(text);
}

// The move with its second attempt through the checked rename, as the rename
// of single files does it.
bool MoveTwice(const std::string& dir, const std::string& oldName, const std::string& newName, Prompter& prompter) {
    FileResult r = TryMove(dir, oldName, newName);
    if (!r && AcceptableName(newName) && RenameFileChecked(JoinPath(dir, oldName), JoinPath(dir, newName)))
        r = FileResult::Success();
    if (!r) ReportNotRenamed(prompter, oldName, newName);
    return r.ok;
}

// The new name with the extension after its last full stop in lower case,
// when both names have one.
std::string WithLowerCaseExtension(const std::string& oldName, const std::string& newName) {
    if (oldName.find('.') == std::string::npos || newName.find('.') == std::string::npos) return newName;
    return CopyBeforeLastChar(newName, '.') + "." + ExtensionKey(newName);
}

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// One section of a directory's rename log, read once for the whole directory.
// A key written by the engine is found exactly as written, so names with
// leading blanks, quotes or brackets come back unchanged; otherwise a key is
// looked up as an INI reader does (trimmed, without regard to case, the first
// one counting, a quoted value unquoted).
class LogSection {
public:
    void Load(const std::string& dir, const std::string& section, Prompter& prompter) {
        const std::string path = JoinPath(dir, kRenameLogName);
        if (!FileExists(path)) return;
        std::vector<std::string> lines;
        if (FileResult r = ReadTextLines(path, lines); !r) {
            prompter.SetStatusText(Utf8ToCp1251(r.error).text);
            return;
        }
        const std::string wanted = ToLowerCase(section);
        bool inside = false;
        for (const std::string& line : lines) {
            const std::size_t eq = line.find('=');
            const std::string t = Trim(line);
            // A header holds no "=": a log line of a name beginning with "[" is a key.
            if (eq == std::string::npos && !t.empty() && t[0] == '[') {
                if (inside) return;
                inside = ToLowerCase(Trim(CopyBeforeChar(t.substr(1), ']'))) == wanted;
                continue;
            }
            if (!inside || eq == std::string::npos) continue;
            const std::string key = line.substr(0, eq);
            exact_.emplace(key, line.substr(eq + 1));
            if (t[0] == ';') continue;
            std::string value = Trim(line.substr(eq + 1));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
            folded_.emplace(ToLowerCase(Trim(key)), value);
        }
    }

    // The new name for a current name; "" when the log has none.
    std::string Lookup(const std::string& name) const {
        if (auto it = exact_.find(name); it != exact_.end()) return it->second;
        if (auto it = folded_.find(ToLowerCase(Trim(name))); it != folded_.end()) return it->second;
        return {};
    }

private:
    std::unordered_map<std::string, std::string> exact_;
    std::unordered_map<std::string, std::string> folded_;
};

// Per directory of a walk that renames during the listing: the log and the
// names this run gave, which are not renamed a second time when the listing
// meets them again.
struct DirectoryRun {
    std::vector<std::string> log;
    std::unordered_set<std::string> given;
    LogSection section;
};

}  // namespace

RenameOptions RenameOptionsFrom(const TAppSettings& s) {
    RenameOptions o;
    o.renameMode = s.renameMode;
    o.makeLowercaseExt = s.makeLowercaseExt;
    o.writeRenameInfo = s.writeRenameInfo;
    o.recursive = s.recursiveRename;
    o.artistMode = s.artistMode;
    return o;
}

std::string AlreadyExistsText(const std::string& name) { return "File " + name + " already exists!!!"; }
std::string NotRenamedText(const std::string& name) { return name + " not renamed!!!"; }

bool IsRenameLog(const std::string& name) { return name == kRenameLogName; }

void ReportProgress(Prompter& prompter, const std::string& dir, const std::string& name) {
    prompter.SetProgressText(JoinPath(dir, name));
}

std::string TransformName(const std::string& name, RenameKind kind, const RenameOptions& o) {
    std::string s;
    switch (kind) {
        case rkTranslit: s = ToTranslit(name); break;
        case rkLowerCase: s = ToLowerCase(name); break;
        case rkUpperCase: s = ToUpperCase(name); break;
        case rkUpLoCase: s = UpFirstLettersOfWords(name); break;
        case rkArtistAndTitle: s = UpFirstLettersOfArtistAndTitle(name, o.artistMode); break;
        case rkFirstLetter: s = UpFirstLetter(name); break;
        case rkSubStr: s = ReplaceSubStr(o.oldSubStr, o.newSubStr, name); break;
        default: s = name; break;
    }
    if (o.renameMode == 1) s = ReplaceChar(' ', '_', s);
    else if (o.renameMode == 2) s = ReplaceChar('_', ' ', s);
    return s;
}

bool MoveInDirectory(const std::string& dir, const std::string& oldName, const std::string& newName,
                     Prompter& prompter) {
    if (TryMove(dir, oldName, newName)) return true;
    ReportNotRenamed(prompter, oldName, newName);
    return false;
}

FileResult WriteRenameLog(const std::string& dir, const std::string& section, const std::vector<std::string>& lines,
                          Prompter& prompter) {
    if (lines.empty()) return FileResult::Success();
    std::vector<std::string> file;
    file.reserve(lines.size() + 1);
    file.push_back("[" + section + "]");
    file.insert(file.end(), lines.begin(), lines.end());
    const std::string path = JoinPath(dir, kRenameLogName);
    FileResult r = WriteTextLines(path, file);
    if (!r) prompter.SetStatusText(path + " not written!!! (" + Utf8ToCp1251(r.error).text + ")");
    return r;
}

bool RenameOneFile(const std::string& dir, const std::string& oldName, RenameKind kind, const RenameOptions& options,
                   std::vector<std::string>& log, Prompter& prompter) {
    const std::string newName = TransformName(oldName, kind, options);
    if (newName == oldName) return false;
    if (kind == rkTranslit && FileExists(JoinPath(dir, newName))) {
        prompter.SetStatusText(AlreadyExistsText(newName));
        return false;
    }
    if (!MoveTwice(dir, oldName, newName, prompter)) return false;
    if (options.writeRenameInfo) log.push_back(newName + "=" + oldName);
    return true;
}

RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    std::vector<std::string> log;
    for (const std::string& name : names) {
        ReportProgress(prompter, dir, name);
        if (RenameOneFile(dir, name, kind, options, log, prompter)) ++stats.renamed;
        else if (TransformName(name, kind, options) != name) ++stats.refused;
    }
    if (options.writeRenameInfo) WriteRenameLog(dir, kRenamedSection, log, prompter);
    return stats;
}

RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                            const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    std::vector<DirectoryRun> runs;
    WalkHandler h;
    h.onDirectoryBegin = [&](const std::string&) { runs.emplace_back(); };
    h.onFile = [&](const std::string& d, const FindData& file) {
        DirectoryRun& run = runs.back();
        const std::string& name = file.name;
        ReportProgress(prompter, d, name);
        if (IsRenameLog(name) || run.given.count(name)) return;
        std::string newName = TransformName(name, kind, options);
        if (newName == name) return;
        if (kind == rkTranslit && FileExists(JoinPath(d, newName))) {
            prompter.SetStatusText(AlreadyExistsText(newName));
            ++stats.refused;
            return;
        }
        if (options.makeLowercaseExt) newName = WithLowerCaseExtension(name, newName);
        if (newName == name) return;
        if (!MoveInDirectory(d, name, newName, prompter)) {
            ++stats.refused;
            return;
        }
        ++stats.renamed;
        run.given.insert(newName);
        if (options.writeRenameInfo) run.log.push_back(newName + "=" + name);
    };
    h.onDirectoryEnd = [&](const std::string& d) {
        if (options.writeRenameInfo) WriteRenameLog(d, kRenamedSection, runs.back().log, prompter);
        runs.pop_back();
    };
    WalkDirectory(dir, options.recursive, MaskFilter(mask), h);
    return stats;
}

RenameStats RenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                          const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    std::vector<DirectoryRun> runs;
    WalkHandler h;
    h.onDirectoryBegin = [&](const std::string& d) {
        runs.emplace_back();
        runs.back().section.Load(d, section, prompter);
    };
    h.onFile = [&](const std::string& d, const FindData& file) {
        DirectoryRun& run = runs.back();
        const std::string& name = file.name;
        ReportProgress(prompter, d, name);
        if (run.given.count(name)) return;
        std::string newName = run.section.Lookup(name);
        if (newName.empty() || newName == name) return;
        if (options.makeLowercaseExt) newName = WithLowerCaseExtension(name, newName);
        if (newName == name) return;
        if (!MoveInDirectory(d, name, newName, prompter)) {
            ++stats.refused;
            return;
        }
        ++stats.renamed;
        run.given.insert(newName);
    };
    h.onDirectoryEnd = [&](const std::string&) { runs.pop_back(); };
    WalkDirectory(dir, options.recursive, MaskFilter(mask), h);
    return stats;
}

bool RenameInPlace(const std::string& dir, const std::string& oldName, const std::string& newName,
                   Prompter& prompter) {
    if (newName == oldName) return false;
    if (!PathIsUnmappable(oldName) && !FileExists(JoinPath(dir, oldName))) return false;
    return MoveTwice(dir, oldName, newName, prompter);
}

}  // namespace tandrel
