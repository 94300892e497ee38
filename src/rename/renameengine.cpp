#include "rename/renameengine.h"

#include <deque>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "app/dirwalk.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

const char* const kUnmappableReason = "the name holds a character outside code page 1251";
const char* const kLogNameReason = "the name belongs to the rename log";

bool AcceptableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find(kPathDelim) == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// A move's outcome: tried says the names passed the checks and the move was
// tried; showReason that the reason belongs on the status line.
struct MoveResult {
    FileResult result;
    bool tried = false;
    bool showReason = false;
};

// The checks of the names before a move.
MoveResult CheckNames(const std::string& oldName, const std::string& newName) {
    if (PathIsUnmappable(oldName) || PathIsUnmappable(newName))
        return {FileResult::Failure(kUnmappableReason), false, true};
    if (IsRenameLog(oldName) || IsRenameLog(newName)) return {FileResult::Failure(kLogNameReason), false, true};
    if (!AcceptableName(newName)) return {FileResult::Failure("the new name is not a file name"), false, false};
    return {};
}

// Validates the names and moves; the caller reports a failure.
MoveResult TryMove(const std::string& dir, const std::string& oldName, const std::string& newName) {
    if (MoveResult m = CheckNames(oldName, newName); !m.result) return m;
    FileResult r = MoveFileNoReplace(JoinPath(dir, oldName), JoinPath(dir, newName));
    if (!r) r.error = Utf8ToCp1251(r.error).text;
    return {r, true, false};
}

// A file that keeps its name: the status text (with the reason when shown)
// and the failure with its reason.
void Refuse(RenameStats& stats, Prompter& prompter, const std::string& status, const std::string& reason,
            bool showReason) {
    const std::string full = reason.empty() ? status : status + " (" + reason + ")";
    prompter.SetStatusText(showReason ? full : status);
    ++stats.refused;
    stats.failures.push_back(full);
}

// A failure that is not one file's: shown and listed.
void Fail(RenameStats& stats, Prompter& prompter, const std::string& text) {
    prompter.SetStatusText(text);
    stats.failures.push_back(text);
}

std::string LogNotWrittenText(const std::string& dir, const std::string& reason) {
    return JoinPath(dir, kRenameLogName) + " not written!!! (" + Utf8ToCp1251(reason).text + ")";
}

// The move with its second attempt through the checked rename, as the rename
// of single files does it.
bool Move(const std::string& dir, const std::string& oldName, const std::string& newName, bool secondAttempt,
          Prompter& prompter, RenameStats& stats) {
    MoveResult m = TryMove(dir, oldName, newName);
    if (!m.result && m.tried && secondAttempt &&
        RenameFileChecked(JoinPath(dir, oldName), JoinPath(dir, newName)))
        m.result = FileResult::Success();
    if (!m.result) {
        Refuse(stats, prompter, NotRenamedText(oldName), m.result.error, m.showReason);
        return false;
    }
    ++stats.renamed;
    RenameStep();
    return true;
}

// The new name with the extension after its last full stop in lower case,
// when both names have one.
std::string WithLowerCaseExtension(const std::string& oldName, const std::string& newName) {
    if (oldName.find('.') == std::string::npos || newName.find('.') == std::string::npos) return newName;
    return CopyBeforeLastChar(newName, '.') + "." + ExtensionKey(newName);
}

// True when a documented transform of the section turns oldName into newName.
bool TransformGives(const std::string& oldName, const std::string& newName, const std::string& section) {
    if (ToLowerCase(section) == kDeletedSection) {
        for (std::size_t k = 1; k < oldName.size(); ++k)
            if (oldName.compare(k, std::string::npos, newName) == 0) return true;
        return false;
    }
    RenameOptions o;
    for (int kind = rkTranslit; kind <= rkFirstLetter; ++kind)
        for (int mode = 0; mode <= 2; ++mode)
            for (int artist = 0; artist <= (kind == rkArtistAndTitle ? 2 : 0); ++artist) {
                o.renameMode = mode;
                o.artistMode = artist;
                const std::string t = TransformName(oldName, static_cast<RenameKind>(kind), o);
                if (t == newName || WithLowerCaseExtension(oldName, t) == newName) return true;
            }
    return false;
}

// Per directory of the rename back: its log section and the admitted names.
struct BackRun {
    LogLines log;
    std::vector<std::string> names;
};

// The names of one directory during the rename back, exactly and without
// regard to case, kept up to date as files move.
class NameIndex {
public:
    explicit NameIndex(const std::vector<std::string>& names) {
        for (const std::string& n : names) Add(n);
    }
    bool Has(const std::string& name) const { return exact_.count(name) != 0; }
    // The names that match name without regard to case (as an INI reader's key).
    const std::vector<std::string>* Folded(const std::string& name) const {
        auto it = folded_.find(Fold(name));
        return it == folded_.end() ? nullptr : &it->second;
    }
    void Moved(const std::string& from, const std::string& to) {
        exact_.erase(from);
        auto& same = folded_[Fold(from)];
        std::erase(same, from);
        Add(to);
    }

private:
    static std::string Fold(const std::string& name) { return ToLowerCase(TrimBlanks(name)); }
    void Add(const std::string& n) {
        exact_.insert(n);
        folded_[Fold(n)].push_back(n);
    }
    std::unordered_set<std::string> exact_;
    std::unordered_map<std::string, std::vector<std::string>> folded_;
};

// The file a log line restores now, and the name it gets back: the split of
// the line whose new name names a file exactly (among several, one that a
// documented transform of the old name gives); otherwise, read as an INI
// reader reads it (trimmed, a quoted old name unquoted, comments skipped),
// the one file whose name matches without regard to case, when exactly one
// does and no line names it exactly.
std::optional<std::pair<std::string, std::string>> ResolveLine(const std::string& line, const NameIndex& names,
                                                               const std::unordered_set<std::string>& named,
                                                               const std::string& section) {
    std::optional<std::pair<std::string, std::string>> chosen;
    for (std::size_t eq = line.find('='); eq != std::string::npos; eq = line.find('=', eq + 1)) {
        std::string from = line.substr(0, eq), to = line.substr(eq + 1);
        if (!names.Has(from)) continue;
        const bool given = TransformGives(to, from, section);
        if (!chosen || given) chosen.emplace(std::move(from), std::move(to));
        if (given) break;
    }
    if (chosen) return chosen;
    std::string key, value;
    if (!ParseIniEntry(line, key, value) || key.empty()) return std::nullopt;
    const std::vector<std::string>* folded = names.Folded(key);
    if (!folded || folded->size() != 1 || named.count(folded->front())) return std::nullopt;
    return std::make_pair(folded->front(), value);
}

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
std::string NoLogText(const std::string& dir) { return "No rename log (" + std::string(kRenameLogName) + ") found in " + dir; }

std::string BatchSummary(const RenameStats& stats) {
    if (stats.noLog) return stats.failures.empty() ? std::string() : stats.failures.back();
    std::string text = "Renamed: " + std::to_string(stats.renamed) + ", failed: " + std::to_string(stats.failures.size());
    if (!stats.failures.empty()) text += ". First: " + stats.failures.front();
    if (stats.stopped) text += ". Stopped: the rename log cannot be written";
    return text;
}

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
                     Prompter& prompter, RenameStats& stats) {
    return Move(dir, oldName, newName, false, prompter, stats);
}

bool LoggedMove(const std::string& dir, const std::string& oldName, const std::string& newName, DirectoryLog& log,
                Prompter& prompter, RenameStats& stats, bool secondAttempt) {
    if (log.enabled()) {
        // A name the move refuses anyway is not recorded.
        if (MoveResult m = CheckNames(oldName, newName); !m.result) {
            Refuse(stats, prompter, NotRenamedText(oldName), m.result.error, m.showReason);
            return false;
        }
        if (const std::string why = LogRefusal(newName, oldName); !why.empty()) {
            Refuse(stats, prompter, NotRenamedText(oldName), why, true);
            return false;
        }
        if (FileResult r = log.Record(newName, oldName); !r) {
            Fail(stats, prompter, LogNotWrittenText(dir, r.error));
            stats.stopped = true;
            return false;
        }
    }
    if (Move(dir, oldName, newName, secondAttempt, prompter, stats)) return true;
    log.Cancel();
    return false;
}

void FinishLog(DirectoryLog& log, const std::string& dir, Prompter& prompter, RenameStats& stats) {
    if (FileResult r = log.Finish(); !r)
        Fail(stats, prompter, LogNotWrittenText(dir, r.error) + "; the renames are kept in " + kRenameJournalName);
}

void WatchWalk(WalkHandler& handler, Prompter& prompter, RenameStats& stats) {
    handler.onDirectoryError = [&prompter, &stats](const std::string& dir, const std::string& reason) {
        Fail(stats, prompter, CannotReadText(dir, reason));
    };
    handler.stopWalk = [&stats] { return stats.stopped; };
}

void RenameDuringListing(const std::string& dir, bool recursive, const FileFilter& filter, const std::string& section,
                         bool logged, Prompter& prompter, RenameStats& stats, const ListingRename& rename,
                         const ListingHooks& hooks) {
    // Per directory: its log and the names this run gave.
    struct DirectoryRun {
        DirectoryRun(const std::string& d, const std::string& s, bool l) : log(d, s, l) {}
        DirectoryLog log;
        std::unordered_set<std::string> given;
    };
    std::deque<DirectoryRun> runs;
    WalkHandler h;
    WatchWalk(h, prompter, stats);
    h.onDirectoryBegin = [&](const std::string& d) {
        runs.emplace_back(d, section, logged);
        if (hooks.onDirectoryBegin) hooks.onDirectoryBegin(d);
    };
    h.onFile = [&](const std::string& d, const FindData& file) {
        DirectoryRun& run = runs.back();
        ReportProgress(prompter, d, file.name);
        if (IsRenameLog(file.name) || run.given.count(file.name)) return;
        std::string newName;
        if (rename(d, file.name, run.log, newName)) run.given.insert(newName);
    };
    h.onDirectoryEnd = [&](const std::string& d) {
        FinishLog(runs.back().log, d, prompter, stats);
        runs.pop_back();
        if (hooks.onDirectoryEnd) hooks.onDirectoryEnd(d);
    };
    WalkDirectory(dir, recursive, filter, h);
}

bool RenameOneFile(const std::string& dir, const std::string& oldName, RenameKind kind, const RenameOptions& options,
                   DirectoryLog& log, RenameStats& stats, Prompter& prompter) {
    const std::string newName = TransformName(oldName, kind, options);
    if (newName == oldName) return false;
    if (kind == rkTranslit && FileExists(JoinPath(dir, newName))) {
        Refuse(stats, prompter, AlreadyExistsText(newName), NotRenamedText(oldName), false);
        return false;
    }
    return LoggedMove(dir, oldName, newName, log, prompter, stats, true);
}

RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    DirectoryLog log(dir, kRenamedSection, options.writeRenameInfo);
    for (const std::string& name : names) {
        if (stats.stopped) break;
        ReportProgress(prompter, dir, name);
        RenameOneFile(dir, name, kind, options, log, stats, prompter);
    }
    FinishLog(log, dir, prompter, stats);
    return stats;
}

RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                            const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    RenameDuringListing(dir, options.recursive, MaskFilter(mask), kRenamedSection, options.writeRenameInfo, prompter,
                        stats, [&](const std::string& d, const std::string& name, DirectoryLog& log, std::string& newName) {
                            return RenameListedFile(d, name, kind, options, log, stats, prompter, newName);
                        });
    return stats;
}

bool RenameListedFile(const std::string& dir, const std::string& name, RenameKind kind, const RenameOptions& options,
                      DirectoryLog& log, RenameStats& stats, Prompter& prompter, std::string& newName) {
    newName = TransformName(name, kind, options);
    if (newName == name) return false;
    if (kind == rkTranslit && FileExists(JoinPath(dir, newName))) {
        Refuse(stats, prompter, AlreadyExistsText(newName), NotRenamedText(name), false);
        return false;
    }
    if (options.makeLowercaseExt) newName = WithLowerCaseExtension(name, newName);
    if (newName == name) return false;
    return LoggedMove(dir, name, newName, log, prompter, stats);
}

RenameStats RenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                          const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    bool anyLog = false;
    std::vector<BackRun> runs;
    WalkHandler h;
    WatchWalk(h, prompter, stats);
    h.onDirectoryBegin = [&](const std::string& d) {
        runs.emplace_back();
        // A journal a killed run left is that run's log: it is completed first.
        if (FileResult r = RecoverJournal(d); !r) Fail(stats, prompter, LogNotWrittenText(d, r.error));
        if (FileResult r = ReadLogSection(d, section, runs.back().log); !r)
            Fail(stats, prompter, Utf8ToCp1251(r.error).text);
        anyLog = anyLog || runs.back().log.found;
    };
    h.onFile = [&](const std::string& d, const FindData& file) {
        ReportProgress(prompter, d, file.name);
        if (!IsRenameLog(file.name)) runs.back().names.push_back(file.name);
    };
    h.onDirectoryEnd = [&](const std::string& d) {
        const BackRun& run = runs.back();
        NameIndex names(run.names);
        // Every name some line holds exactly is that line's, never a case-insensitive match.
        std::unordered_set<std::string> named;
        for (const std::string& line : run.log.lines)
            for (std::size_t eq = line.find('='); eq != std::string::npos; eq = line.find('=', eq + 1))
                if (names.Has(line.substr(0, eq))) named.insert(line.substr(0, eq));
        // The renames are undone in the reverse order, so a name a later
        // rename took is free again when an earlier one wants it back.
        for (auto line = run.log.lines.rbegin(); line != run.log.lines.rend(); ++line) {
            const std::size_t eq = line->find('=');
            const std::string key = TrimBlanks(line->substr(0, eq));
            std::string value = TrimBlanks(line->substr(eq + 1));
            if (IsRenameLog(key) || IsRenameLog(value)) {
                Refuse(stats, prompter, NotRenamedText(key), kLogNameReason, true);
                continue;
            }
            auto restore = ResolveLine(*line, names, named, section);
            if (!restore) continue;
            const std::string& from = restore->first;
            std::string to = restore->second;
            if (to.empty() || to == from) continue;
            if (options.makeLowercaseExt) to = WithLowerCaseExtension(from, to);
            if (to == from) continue;
            ReportProgress(prompter, d, from);
            if (MoveInDirectory(d, from, to, prompter, stats)) names.Moved(from, to);
        }
        runs.pop_back();
    };
    WalkDirectory(dir, options.recursive, MaskFilter(mask), h);
    if (!anyLog) {
        stats.noLog = true;
        Fail(stats, prompter, NoLogText(dir));
    }
    return stats;
}

bool RenameInPlace(const std::string& dir, const std::string& oldName, const std::string& newName,
                   Prompter& prompter) {
    if (newName == oldName) return false;
    if (!PathIsUnmappable(oldName) && !FileExists(JoinPath(dir, oldName))) return false;
    RenameStats stats;
    return Move(dir, oldName, newName, true, prompter, stats);
}

}  // namespace tandrel
