#include "rename/namerepair.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "app/dirwalk.h"
#include "platform/files.h"
#include "platform/rawnames.h"
#include "rename/renamelog.h"
#include "text/cp1251.h"
#include "text/paths.h"

namespace tandrel {

namespace {

// The code-page-1251 form of a reading; false when a character does not fit.
bool AsCp1251(const std::u32string& text, std::string& out) {
    out.clear();
    bool whole = true;
    for (char32_t c : text) {
        const char b = CodePointToCp1251(c);
        whole = whole && b != kUnmappableChar;
        out += b;
    }
    return whole;
}

void PlanDirectory(const std::string& dir, const std::string& rawDir, bool recursive, NameRepairPlan& plan) {
    std::vector<RawEntry> entries;
    if (FileResult r = ListRawNames(rawDir, entries); !r) {
        plan.failures.push_back(CannotReadText(dir, Utf8ToCp1251(r.error).text));
        return;
    }
    // The names the directory will hold: those that stay and those given.
    std::unordered_set<std::string> staying, given;
    for (const RawEntry& e : entries)
        if (IsValidUtf8(e.bytes)) staying.insert(Utf8ToCp1251(e.bytes).text);

    std::vector<std::pair<std::string, std::string>> subdirs;  // name after the repair, raw name
    for (const RawEntry& e : entries) {
        if (IsValidUtf8(e.bytes)) {
            const Cp1251Text name = Utf8ToCp1251(e.bytes);
            if (e.directory && name.lossless) subdirs.emplace_back(name.text, e.bytes);
            continue;
        }
        NameRepairRow row;
        row.dir = dir;
        row.rawName = e.bytes;
        row.directory = e.directory;
        const LegacyGuess guess = GuessLegacyEncoding(e.bytes);
        row.encoding = guess.encoding;
        const bool fits = AsCp1251(guess.text, row.newName);
        if (!guess.plausible || !fits || IsRenameLog(row.newName)) {
            row.status = NameRepairStatus::kUnclear;
        } else if (staying.count(row.newName) != 0) {
            row.status = NameRepairStatus::kExists;
        } else if (given.count(row.newName) != 0) {
            row.status = NameRepairStatus::kTwice;
        } else {
            given.insert(row.newName);
            if (e.directory) subdirs.emplace_back(row.newName, e.bytes);
        }
        plan.rows.push_back(std::move(row));
    }
    if (!recursive) return;
    for (const auto& [name, raw] : subdirs) PlanDirectory(JoinPath(dir, name), RawJoin(rawDir, raw), true, plan);
}

void Count(RenameStats& stats, Prompter& prompter, NameRepairRow& row, const std::string& reason) {
    row.status = NameRepairStatus::kFailed;
    row.reason = reason;
    ++stats.refused;
    const std::string text = ShownRawName(row.rawName) + " not renamed!!! (" + reason + ")";
    prompter.SetStatusText(text);
    stats.failures.push_back(JoinPath(row.dir, text));
}

// "new=old" split where the new name ends: both names hold the same ASCII
// bytes, so a line with 2k+1 "=" splits at the (k+1)-th.
bool SplitLine(const std::string& line, std::string& newName, std::string& oldName) {
    const auto count = static_cast<std::size_t>(std::count(line.begin(), line.end(), '='));
    if (count % 2 == 0) return false;
    std::size_t at = std::string::npos;
    for (std::size_t k = 0; k <= count / 2; ++k) at = line.find('=', at == std::string::npos ? 0 : at + 1);
    newName = line.substr(0, at);
    oldName = line.substr(at + 1);
    return true;
}

}  // namespace

NameRepairPlan PlanNameRepair(const std::string& dir, bool recursive) {
    NameRepairPlan plan;
    PlanDirectory(dir, RawPathOf(dir), recursive, plan);
    return plan;
}

RenameStats RepairNames(NameRepairPlan& plan, Prompter& prompter) {
    RenameStats stats;
    std::unique_ptr<DirectoryLog> log;
    std::string logDir;
    auto finish = [&] {
        if (log) FinishLog(*log, logDir, prompter, stats);
        log.reset();
    };
    std::unordered_set<std::string> notRepairedDirs;  // directories whose rows cannot be reached
    ProgressInfo progress;
    progress.total = static_cast<std::int64_t>(plan.rows.size());
    for (NameRepairRow& row : plan.rows) {
        ++progress.files;
        if (row.status != NameRepairStatus::kReady) {
            if (row.directory) notRepairedDirs.insert(JoinPath(row.dir, row.newName));
            continue;
        }
        if (stats.stopped) break;
        // The names repaired so far stay repaired and logged.
        if (stats.renamed + stats.refused > 0 && prompter.StopRequested()) {
            stats.cancelled = true;
            break;
        }
        if (notRepairedDirs.count(row.dir) != 0) {
            row.status = NameRepairStatus::kSkipped;
            if (row.directory) notRepairedDirs.insert(JoinPath(row.dir, row.newName));
            continue;
        }
        if (!log || logDir != row.dir) {
            finish();
            logDir = row.dir;
            log = std::make_unique<DirectoryLog>(row.dir, kRepairedNamesSection, true);
        }
        progress.entry = JoinPath(row.dir, row.newName);
        prompter.ReportProgress(progress);
        const auto fail = [&](const std::string& reason) {
            Count(stats, prompter, row, reason);
            if (row.directory) notRepairedDirs.insert(JoinPath(row.dir, row.newName));
        };
        if (const std::string why = LogRefusal(row.newName, row.rawName); !why.empty()) {
            fail(why);
            continue;
        }
        if (FileResult r = log->Record(row.newName, row.rawName); !r) {
            fail(Utf8ToCp1251(r.error).text);
            stats.stopped = true;
            break;
        }
        if (FileResult r = MoveRawNameNoReplace(row.dir, row.rawName, row.newName); !r) {
            log->Cancel();
            fail(Utf8ToCp1251(r.error).text);
            continue;
        }
        RenameStep();
        row.status = NameRepairStatus::kDone;
        ++stats.renamed;
    }
    finish();
    return stats;
}

RenameStats RenameRepairedNamesBack(const std::string& dir, bool recursive, Prompter& prompter) {
    RenameStats stats;
    bool anyLog = false;
    WalkHandler handler;
    WatchWalk(handler, prompter, stats);
    // Names that are not UTF-8 cannot be walked into; nothing there was repaired.
    handler.enterDirectory = [](const std::string&, const FindData& sub) { return !PathIsUnmappable(sub.name); };
    // After the listing, so that sub-directories are done before their own names go back.
    handler.onDirectoryEnd = [&](const std::string& d) {
        if (stats.stopped) return;
        LogLines log;
        if (FileResult r = ReadLogSection(d, kRepairedNamesSection, log); !r) {
            stats.failures.push_back(JoinPath(d, kRenameLogName) + ": " + Utf8ToCp1251(r.error).text);
            prompter.SetStatusText(stats.failures.back());
            return;
        }
        anyLog = anyLog || log.found;
        for (auto line = log.lines.rbegin(); line != log.lines.rend(); ++line) {
            std::string newName, oldName;
            if (!SplitLine(*line, newName, oldName)) continue;
            ReportProgress(prompter, d, newName);
            if (FileResult r = MoveToRawNameNoReplace(d, newName, oldName); !r) {
                const std::string text = JoinPath(d, newName) + " not renamed!!! (" + Utf8ToCp1251(r.error).text + ")";
                prompter.SetStatusText(text);
                stats.failures.push_back(text);
                ++stats.refused;
                continue;
            }
            RenameStep();
            ++stats.renamed;
        }
    };
    WalkDirectory(dir, recursive, [](const std::string&) { return false; }, handler, FindDetail::NamesAndKinds);
    stats.noLog = !anyLog;
    if (stats.noLog) {
        stats.failures.push_back(NoLogText(dir));
        prompter.SetStatusText(stats.failures.back());
    }
    return stats;
}

const char* NameRepairStatusText(NameRepairStatus status) {
    switch (status) {
        case NameRepairStatus::kReady: return "ready";
        case NameRepairStatus::kUnclear: return "unclear";
        case NameRepairStatus::kExists: return "exists";
        case NameRepairStatus::kTwice: return "twice";
        case NameRepairStatus::kSkipped: return "skipped";
        case NameRepairStatus::kDone: return "done";
        default: return "failed";
    }
}

}  // namespace tandrel
