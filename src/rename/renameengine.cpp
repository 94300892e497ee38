#include "rename/renameengine.h"

#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "app/dirwalk.h"
#include "app/messages.h"
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
MoveResult TryMove(const std::string& dir, const std::string& oldName, const std::string& newName,
                   DirectoryMover* mover) {
    if (MoveResult m = CheckNames(oldName, newName); !m.result) return m;
    FileResult r = mover && mover->dir() == dir ? mover->Move(oldName, newName)
                                                : MoveFileNoReplace(JoinPath(dir, oldName), JoinPath(dir, newName));
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
          Prompter& prompter, RenameStats& stats, DirectoryMover* mover = nullptr) {
    MoveResult m = TryMove(dir, oldName, newName, mover);
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

// JoinPath(dir, name) written into out, whose buffer serves again.
void AssignJoinedPath(std::string& out, const std::string& dir, const std::string& name) {
    out.assign(dir);
    if (dir.empty() || dir.back() != kPathDelim) out += kPathDelim;
    out += name;
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

// The names of one directory during the rename back, exactly and without
// regard to case, kept up to date as files move. The exact names are the
// planned directory's marked ones: the files the walk admitted, moved along
// by the rows planned.
class NameIndex {
public:
    explicit NameIndex(const PlannedDirectory& state) : state_(state) {}
    bool Has(std::string_view name) const { return state_.Marked(name); }
    // The names that match name without regard to case (as an INI reader's
    // key). The index of folded names is built when first asked for.
    const std::vector<std::string>* Folded(const std::string& name) {
        if (!foldedBuilt_) {
            state_.ForEachMarked([&](std::string_view n) { folded_[Fold(n)].emplace_back(n); });
            foldedBuilt_ = true;
        }
        auto it = folded_.find(Fold(name));
        return it == folded_.end() ? nullptr : &it->second;
    }
    // A row moved from to to (the planned directory knows already).
    void Moved(const std::string& from, const std::string& to) {
        if (!foldedBuilt_) return;
        std::erase(folded_[Fold(from)], from);
        folded_[Fold(to)].push_back(to);
    }

private:
    static std::string Fold(std::string_view name) { return ToLowerCase(TrimBlanks(name)); }
    const PlannedDirectory& state_;
    bool foldedBuilt_ = false;
    std::unordered_map<std::string, std::vector<std::string>> folded_;
};

// The admitted names of a directory as listed that some log line holds
// exactly (before any "="): those are that line's, never a case-insensitive
// match. Found when first asked for: only a line that names no file exactly
// asks.
class ExactlyNamed {
public:
    ExactlyNamed(const std::vector<FindData>& files, const std::vector<std::string>& lines)
        : files_(files), lines_(lines) {}
    bool Contains(const std::string& name) {
        if (!built_) {
            std::unordered_set<std::string_view> listed;
            listed.reserve(files_.size());
            for (const FindData& f : files_) listed.insert(f.name);
            for (const std::string& line : lines_)
                for (std::size_t eq = line.find('='); eq != std::string::npos; eq = line.find('=', eq + 1))
                    if (listed.count(std::string_view(line).substr(0, eq))) named_.insert(line.substr(0, eq));
            built_ = true;
        }
        return named_.count(name) != 0;
    }

private:
    const std::vector<FindData>& files_;
    const std::vector<std::string>& lines_;
    bool built_ = false;
    std::unordered_set<std::string> named_;
};

// The file a log line restores now, and the name it gets back: the split of
// the line whose new name names a file exactly (among several, one that a
// documented transform of the old name gives); otherwise, read as an INI
// reader reads it (trimmed, a quoted old name unquoted, comments skipped),
// the one file whose name matches without regard to case, when exactly one
// does and no line names it exactly.
std::optional<std::pair<std::string, std::string>> ResolveLine(const std::string& line, NameIndex& names,
                                                               ExactlyNamed& named, const std::string& section) {
    std::optional<std::pair<std::string, std::string>> chosen;
    // With one "=" there is one split: no transform needs to choose.
    const bool several = line.find('=') != line.rfind('=');
    for (std::size_t eq = line.find('='); eq != std::string::npos; eq = line.find('=', eq + 1)) {
        if (!names.Has(std::string_view(line).substr(0, eq))) continue;
        std::string from = line.substr(0, eq), to = line.substr(eq + 1);
        const bool given = several && TransformGives(to, from, section);
        if (!chosen || given) chosen.emplace(std::move(from), std::move(to));
        if (given) break;
    }
    if (chosen) return chosen;
    std::string key, value;
    if (!ParseIniEntry(line, key, value) || key.empty()) return std::nullopt;
    const std::vector<std::string>* folded = names.Folded(key);
    if (!folded || folded->size() != 1 || named.Contains(folded->front())) return std::nullopt;
    return std::make_pair(folded->front(), value);
}

// The name without the blanks and tabs around it.
std::string_view Trimmed(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
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

std::string BatchSummary(const RenameStats& stats, int language) {
    if (stats.noLog) return stats.failures.empty() ? std::string() : stats.failures.back();
    const std::size_t failed = stats.failures.size() + static_cast<std::size_t>(stats.staleRows);
    std::string text = "Renamed: " + std::to_string(stats.renamed) + ", failed: " + std::to_string(failed);
    if (!stats.failures.empty()) text += ". First: " + stats.failures.front();
    if (stats.stopped) text += ". Stopped: the rename log cannot be written";
    if (stats.cancelled)
        text = Message(language, MessageId::RenameStoppedByUser) + std::to_string(stats.renamed) + ". " + text;
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
                Prompter& prompter, RenameStats& stats, bool secondAttempt, DirectoryMover* mover) {
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
    if (Move(dir, oldName, newName, secondAttempt, prompter, stats, mover)) return true;
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

// ---- Plans ----

void PlannedDirectory::Listed(const FindData& entry) { names_.At(entry.name) |= entry.IsDirectory() ? kOther : kFile; }

// Room for the listed names and as many given ones.
void PlannedDirectory::Reserve(std::size_t entries) { names_.Reserve(2 * entries); }

void PlanUnchanged(RenamePlan& plan, const std::string& dir, const std::string& name) {
    AddPlanRow(plan, dir, name, name, PlanStatus::Unchanged);
}

void PlanRefusal(RenamePlan& plan, const std::string& dir, const std::string& oldName, const std::string& newName,
                 PlanStatus status, const std::string& text, const std::string& reason, bool showReason) {
    PlanRow& row = AddPlanRow(plan, dir, oldName, newName, status);
    row.problemText = text;
    row.problemReason = reason;
    row.showReason = showReason;
}

void PlanFailure(RenamePlan& plan, PlanMark::Kind kind, const std::string& text) {
    plan.marks.push_back({kind, plan.rows.size(), text});
}

bool PlanMove(RenamePlan& plan, PlannedDirectory& names, const std::string& dir, const std::string& oldName,
              const std::string& newName, bool logged) {
    if (MoveResult m = CheckNames(oldName, newName); !m.result) {
        const std::string refused = NotRenamedText(oldName);
        const PlanStatus status = PathIsUnmappable(oldName) || PathIsUnmappable(newName) ? PlanStatus::OutsideCodePage
                                                                                        : PlanStatus::NotAllowed;
        PlanRefusal(plan, dir, oldName, newName, status, refused, m.result.error, m.showReason);
        return false;
    }
    if (logged) {
        if (const std::string why = LogRefusal(newName, oldName); !why.empty()) {
            PlanRefusal(plan, dir, oldName, newName, PlanStatus::NotAllowed, NotRenamedText(oldName), why, true);
            return false;
        }
    }
    if (names.Has(newName)) {
        const std::string why = Utf8ToCp1251(TargetExistsError(JoinPath(dir, oldName), JoinPath(dir, newName))).text;
        PlanRefusal(plan, dir, oldName, newName, names.Given(newName) ? PlanStatus::SameTarget : PlanStatus::TargetExists,
                    NotRenamedText(oldName), why, false);
        return false;
    }
    AddPlanRow(plan, dir, oldName, newName, PlanStatus::WillRename);
    // The entry (file or other, with its mark) goes to the new name; a name
    // that was not listed only becomes given.
    constexpr std::uint8_t kMoving = PlannedDirectory::kFile | PlannedDirectory::kOther | PlannedDirectory::kMark;
    std::uint8_t moving = 0;
    if (names.names_.Flags(oldName) != 0) {
        std::uint8_t& old = names.names_.At(oldName);
        moving = old & kMoving;
        old &= static_cast<std::uint8_t>(~kMoving);
    }
    names.names_.At(newName) |= moving | PlannedDirectory::kGiven;
    return true;
}

namespace {

class PlanWalker {
public:
    PlanWalker(bool recursive, const FileFilter& filter, RenamePlan& plan, const PlanWalk& walk, FindDetail detail)
        : recursive_(recursive), filter_(filter), plan_(plan), walk_(walk), detail_(detail) {}

    void Walk(const std::string& dir) {
        if (!descent_.Enter(dir)) return;
        if (walk_.progress) {
            walk_.progress->Directory(dir);
            if (walk_.progress->Stop()) plan_.stopped = true;
        }
        if (plan_.stopped) {
            descent_.Leave();
            return;
        }
        PlanFailure(plan_, PlanMark::DirectoryBegin, dir);
        std::vector<FindData> entries;
        std::string error;
        {
            FileFind find;
            FindData entry;
            for (bool more = find.FindFirst(CollapseCharRuns(dir + kPathDelim + "*.*", kPathDelim), entry, detail_);
                 more; more = find.FindNext(entry))
                if (!entry.IsDirectory() || (entry.name != "." && entry.name != ".."))
                    entries.push_back(std::move(entry));
            error = find.Error();
        }
        PlannedDirectory names;
        names.Reserve(entries.size());
        for (const FindData& e : entries) names.Listed(e);
        if (walk_.onListed) walk_.onListed(dir, entries);
        std::vector<FindData> admitted;
        for (FindData& e : entries) {
            if (e.IsDirectory()) {
                // A linked directory may lead anywhere: it is not entered.
                if (recursive_ && (e.attr & faSymLink) == 0) Walk(JoinPath(dir, e.name));
                if (plan_.stopped) break;
                continue;
            }
            if (walk_.progress) walk_.progress->CountFile();
            if (filter_ && !filter_(e.name)) continue;
            if (IsRenameLog(e.name)) continue;
            if (walk_.onFile) walk_.onFile(dir, e, names);
            if (walk_.onEnd) admitted.push_back(std::move(e));  // the listing is not read again
        }
        if (!error.empty()) PlanFailure(plan_, PlanMark::Failure, CannotReadText(dir, Utf8ToCp1251(error).text));
        if (walk_.onEnd) walk_.onEnd(dir, admitted, names);
        PlanFailure(plan_, PlanMark::DirectoryEnd, dir);
        descent_.Leave();
    }

private:
    bool recursive_;
    const FileFilter& filter_;
    RenamePlan& plan_;
    const PlanWalk& walk_;
    FindDetail detail_;
    WalkDescent descent_;
};

}  // namespace

void WalkForPlan(const std::string& dir, bool recursive, const FileFilter& filter, RenamePlan& plan,
                 const PlanWalk& walk, FindDetail detail) {
    PlanWalker(recursive, filter, plan, walk, detail).Walk(dir);
}

namespace {

// One listed file of a whole-directory rename: the transform and rename mode,
// nothing when the name stays, for rkTranslit a refusal when a file has the
// new name, the lower-case extension when asked for, then the logged move.
void PlanListedFile(RenamePlan& plan, PlannedDirectory& names, const std::string& dir, const std::string& name,
                    RenameKind kind, const RenameOptions& options) {
    std::string newName = TransformName(name, kind, options);
    if (newName == name) return PlanUnchanged(plan, dir, name);
    if (kind == rkTranslit && names.HasFile(newName))
        return PlanRefusal(plan, dir, name, newName, names.Given(newName) ? PlanStatus::SameTarget : PlanStatus::TargetExists,
                           AlreadyExistsText(newName), NotRenamedText(name), false);
    if (options.makeLowercaseExt) newName = WithLowerCaseExtension(name, newName);
    if (newName == name) return PlanUnchanged(plan, dir, name);
    PlanMove(plan, names, dir, name, newName, options.writeRenameInfo);
}

// The directory logs of a run, innermost last.
class RunLogs {
public:
    RunLogs(const RenamePlan& plan, Prompter& prompter, RenameStats& stats)
        : plan_(plan), prompter_(prompter), stats_(stats) {}
    void Begin(const std::string& dir) { logs_.push_back(std::make_unique<DirectoryLog>(dir, plan_.section, plan_.logged)); dirs_.push_back(dir); }
    void End() {
        FinishLog(*logs_.back(), dirs_.back(), prompter_, stats_);
        logs_.pop_back();
        dirs_.pop_back();
    }
    bool Empty() const { return logs_.empty(); }
    const std::string& Innermost() const { return dirs_.back(); }
    DirectoryLog& For(const std::string& dir) {
        for (std::size_t i = dirs_.size(); i-- > 0;)
            if (dirs_[i] == dir) return *logs_[i];
        // A plan without directory marks: the log lasts to the end of the run.
        logs_.insert(logs_.begin(), std::make_unique<DirectoryLog>(dir, plan_.section, plan_.logged));
        dirs_.insert(dirs_.begin(), dir);
        return *logs_.front();
    }

private:
    const RenamePlan& plan_;
    Prompter& prompter_;
    RenameStats& stats_;
    std::vector<std::unique_ptr<DirectoryLog>> logs_;
    std::vector<std::string> dirs_;
};

}  // namespace

RenameStats ExecuteRenamePlan(const RenamePlan& plan, Prompter& prompter, const PlanHooks& hooks) {
    RenameStats stats;
    RunLogs logs(plan, prompter, stats);
    std::vector<std::string> begun;  // directories begun and not yet ended
    std::unordered_set<std::string> journals(plan.journalDirs.begin(), plan.journalDirs.end());
    std::size_t mark = 0;
    const auto runMarks = [&](std::size_t upTo) {
        for (; mark < plan.marks.size() && plan.marks[mark].beforeRow <= upTo; ++mark) {
            const PlanMark& m = plan.marks[mark];
            switch (m.kind) {
                case PlanMark::DirectoryBegin:
                    // A journal a killed run left is that run's log: it is completed first.
                    if (journals.count(m.text) != 0)
                        if (FileResult r = RecoverJournal(m.text); !r) Fail(stats, prompter, LogNotWrittenText(m.text, r.error));
                    logs.Begin(m.text);
                    begun.push_back(m.text);
                    if (hooks.onDirectoryBegin) hooks.onDirectoryBegin(m.text, stats);
                    break;
                case PlanMark::DirectoryEnd:
                    logs.End();
                    begun.pop_back();
                    if (hooks.onDirectoryEnd) hooks.onDirectoryEnd(m.text, stats);
                    break;
                case PlanMark::Failure: Fail(stats, prompter, m.text); break;
                case PlanMark::Status: prompter.SetStatusText(m.text); break;
            }
        }
    };
    std::unique_ptr<DirectoryMover> mover;
    // Rows whose rename is in the journal already: recorded together for the
    // rows of one directory that follow each other.
    std::vector<bool> recorded(plan.rows.size(), false);
    const auto recordRun = [&](std::size_t first) {
        const std::string& dir = plan.rows[first].dir;
        std::vector<std::pair<std::string_view, std::string_view>> renames;
        std::size_t end = first;
        for (; end < plan.rows.size() && plan.rows[end].dir == dir; ++end) {
            const PlanRow& r = plan.rows[end];
            recorded[end] = r.status == PlanStatus::WillRename && r.included &&
                            CheckNames(r.oldName, r.newName).result && LogRefusal(r.newName, r.oldName).empty();
            if (recorded[end]) renames.emplace_back(r.newName, r.oldName);
        }
        // When the batch cannot be written, each rename is recorded alone and the first that fails says why.
        if (renames.empty() || !logs.For(dir).RecordBatch(renames))
            std::fill(recorded.begin() + static_cast<std::ptrdiff_t>(first),
                      recorded.begin() + static_cast<std::ptrdiff_t>(end), false);
    };
    bool ended = true;
    ProgressInfo progress;  // its text's buffer serves every row
    progress.total = static_cast<std::int64_t>(plan.rows.size());
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        runMarks(i);
        if (stats.stopped) {
            ended = false;
            break;
        }
        const PlanRow& row = plan.rows[i];
        if (plan.logged && (i == 0 || plan.rows[i - 1].dir != row.dir)) recordRun(i);
        if (!mover || mover->dir() != row.dir) mover = std::make_unique<DirectoryMover>(row.dir);
        if (i > 0 && prompter.StopRequested()) {
            stats.cancelled = true;
            ended = false;
            break;
        }
        progress.files = static_cast<std::int64_t>(i) + 1;
        AssignJoinedPath(progress.entry, row.dir, row.oldName);
        prompter.ReportProgress(progress);
        if (row.status == PlanStatus::Unchanged) continue;
        if (IsPlanProblem(row.status)) {
            Refuse(stats, prompter, row.problemText, row.problemReason, row.showReason);
            continue;
        }
        if (!row.included) continue;
        bool moved = false;
        if (recorded[i]) {
            moved = Move(row.dir, row.oldName, row.newName, plan.secondAttempt, prompter, stats, mover.get());
            if (moved) logs.For(row.dir).Confirm(row.newName, row.oldName);
        } else {
            moved = LoggedMove(row.dir, row.oldName, row.newName, logs.For(row.dir), prompter, stats,
                               plan.secondAttempt, mover.get());
        }
        if (moved && hooks.onRenamed) hooks.onRenamed(row);
    }
    if (ended && !stats.stopped) {
        runMarks(plan.rows.size());
    } else {
        // What the run did stays logged, so it can be renamed back.
        while (!begun.empty()) {
            logs.End();
            if (hooks.onDirectoryEnd) hooks.onDirectoryEnd(begun.back(), stats);
            begun.pop_back();
        }
    }
    while (!logs.Empty()) logs.End();
    if (plan.noLog) {
        stats.noLog = true;
        Fail(stats, prompter, NoLogText(plan.noLogIn));
    }
    return stats;
}

RenamePlan PlanRenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                   const RenameOptions& options) {
    RenamePlan plan;
    plan.section = kRenamedSection;
    plan.logged = options.writeRenameInfo;
    plan.secondAttempt = true;
    PlannedDirectory state;
    {
        FileFind find;
        FindData e;
        for (bool more = find.FindFirst(JoinPath(dir, "*"), e, FindDetail::NamesAndKinds); more; more = find.FindNext(e))
            if (e.name != "." && e.name != "..") state.Listed(e);
    }
    PlanFailure(plan, PlanMark::DirectoryBegin, dir);
    for (const std::string& name : names) {
        const std::string newName = TransformName(name, kind, options);
        if (newName == name) {
            PlanUnchanged(plan, dir, name);
        } else if (kind == rkTranslit && state.HasFile(newName)) {
            PlanRefusal(plan, dir, name, newName, state.Given(newName) ? PlanStatus::SameTarget : PlanStatus::TargetExists,
                        AlreadyExistsText(newName), NotRenamedText(name), false);
        } else {
            PlanMove(plan, state, dir, name, newName, options.writeRenameInfo);
        }
    }
    PlanFailure(plan, PlanMark::DirectoryEnd, dir);
    return plan;
}

RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                const RenameOptions& options, Prompter& prompter) {
    return ExecuteRenamePlan(PlanRenameSelectedFiles(dir, names, kind, options), prompter);
}

RenamePlan PlanRenameDirectory(const std::string& dir, const FileFilter& filter, RenameKind kind,
                               const RenameOptions& options, WalkProgress* progress) {
    RenamePlan plan;
    plan.section = kRenamedSection;
    plan.logged = options.writeRenameInfo;
    PlanWalk walk;
    walk.onFile = [&](const std::string& d, const FindData& file, PlannedDirectory& names) {
        PlanListedFile(plan, names, d, file.name, kind, options);
    };
    walk.progress = progress;
    WalkForPlan(dir, options.recursive, filter, plan, walk);
    return plan;
}

RenamePlan PlanRenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                               const RenameOptions& options, WalkProgress* progress) {
    return PlanRenameDirectory(dir, MaskFilter(mask), kind, options, progress);
}

RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                            const RenameOptions& options, Prompter& prompter) {
    return ExecuteRenamePlan(PlanRenameDirectory(dir, mask, kind, options), prompter);
}

RenamePlan PlanRenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                             const RenameOptions& options, WalkProgress* progress) {
    RenamePlan plan;
    plan.section = section;
    bool anyLog = false;
    PlanWalk walk;
    walk.onListed = [&](const std::string& d, const std::vector<FindData>& entries) {
        for (const FindData& e : entries)
            if (!e.IsDirectory() && e.name == kRenameJournalName) plan.journalDirs.push_back(d);
    };
    walk.onEnd = [&](const std::string& d, std::vector<FindData>& files, PlannedDirectory& state) {
        LogLines log;
        if (FileResult r = ReadLogSection(d, section, log); !r)
            PlanFailure(plan, PlanMark::Failure, Utf8ToCp1251(r.error).text);
        anyLog = anyLog || log.found;
        for (const FindData& f : files) state.Mark(f.name);
        NameIndex names(state);
        ExactlyNamed named(files, log.lines);
        // The renames are undone in the reverse order, so a name a later
        // rename took is free again when an earlier one wants it back.
        for (auto line = log.lines.rbegin(); line != log.lines.rend(); ++line) {
            const std::size_t eq = line->find('=');
            const std::string_view key = Trimmed(std::string_view(*line).substr(0, eq));
            const std::string_view value = Trimmed(std::string_view(*line).substr(eq + 1));
            if (IsRenameLog(key) || IsRenameLog(value)) {
                PlanRefusal(plan, d, std::string(key), std::string(value), PlanStatus::NotAllowed,
                            NotRenamedText(std::string(key)), kLogNameReason, true);
                continue;
            }
            auto restore = ResolveLine(*line, names, named, section);
            if (!restore) continue;
            const std::string& from = restore->first;
            std::string to = restore->second;
            if (to.empty() || to == from) continue;
            if (options.makeLowercaseExt) to = WithLowerCaseExtension(from, to);
            if (to == from) continue;
            if (PlanMove(plan, state, d, from, to, false)) names.Moved(from, to);
        }
    };
    walk.progress = progress;
    WalkForPlan(dir, options.recursive, MaskFilter(mask), plan, walk);
    if (!anyLog) {
        plan.noLog = true;
        plan.noLogIn = dir;
    }
    return plan;
}

RenameStats RenameFromLog(const std::string& dir, const std::string& mask, const std::string& section,
                          const RenameOptions& options, Prompter& prompter) {
    return ExecuteRenamePlan(PlanRenameFromLog(dir, mask, section, options), prompter);
}

bool RenameInPlace(const std::string& dir, const std::string& oldName, const std::string& newName,
                   Prompter& prompter) {
    if (newName == oldName) return false;
    if (!PathIsUnmappable(oldName) && !FileExists(JoinPath(dir, oldName))) return false;
    RenameStats stats;
    return Move(dir, oldName, newName, true, prompter, stats);
}

}  // namespace tandrel
