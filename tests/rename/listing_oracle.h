// The batch renames as they ran before they became plans: each file renamed
// while the walk lists its directory. The tests run these and the plans on
// copies of the same trees and expect the same names, logs and messages.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/dirwalk.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "rename/renameengine.h"
#include "rename/structural.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/strings.h"

namespace tandrel::oracle {

inline void Refuse(RenameStats& stats, Prompter& prompter, const std::string& status, const std::string& reason) {
    prompter.SetStatusText(status);
    ++stats.refused;
    stats.failures.push_back(status + " (" + reason + ")");
}

inline std::string WithLowerCaseExtension(const std::string& oldName, const std::string& newName) {
    if (oldName.find('.') == std::string::npos || newName.find('.') == std::string::npos) return newName;
    return CopyBeforeLastChar(newName, '.') + "." + ExtensionKey(newName);
}

using ListingRename =
    std::function<bool(const std::string& dir, const std::string& name, DirectoryLog& log, std::string& newName)>;

inline void RenameDuringListing(const std::string& dir, bool recursive, const FileFilter& filter,
                                const std::string& section, bool logged, Prompter& prompter, RenameStats& stats,
                                const ListingRename& rename) {
    struct DirectoryRun {
        DirectoryRun(const std::string& d, const std::string& s, bool l) : log(d, s, l) {}
        DirectoryLog log;
        std::unordered_set<std::string> given;
    };
    std::deque<DirectoryRun> runs;
    WalkHandler h;
    WatchWalk(h, prompter, stats);
    h.onDirectoryBegin = [&](const std::string& d) { runs.emplace_back(d, section, logged); };
    h.onFile = [&](const std::string& d, const FindData& file) {
        DirectoryRun& run = runs.back();
        if (IsRenameLog(file.name) || run.given.count(file.name)) return;
        std::string newName;
        if (rename(d, file.name, run.log, newName)) run.given.insert(newName);
    };
    h.onDirectoryEnd = [&](const std::string& d) {
        FinishLog(runs.back().log, d, prompter, stats);
        runs.pop_back();
    };
    WalkDirectory(dir, recursive, filter, h);
}

inline RenameStats RenameDirectory(const std::string& dir, const std::string& mask, RenameKind kind,
                                   const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    RenameDuringListing(dir, options.recursive, MaskFilter(mask), kRenamedSection, options.writeRenameInfo, prompter,
                        stats, [&](const std::string& d, const std::string& name, DirectoryLog& log, std::string& newName) {
                            newName = TransformName(name, kind, options);
                            if (newName == name) return false;
                            if (kind == rkTranslit && FileExists(JoinPath(d, newName))) {
                                Refuse(stats, prompter, AlreadyExistsText(newName), NotRenamedText(name));
                                return false;
                            }
                            if (options.makeLowercaseExt) newName = WithLowerCaseExtension(name, newName);
                            if (newName == name) return false;
                            return LoggedMove(d, name, newName, log, prompter, stats);
                        });
    return stats;
}

inline RenameStats RenameSelectedFiles(const std::string& dir, const std::vector<std::string>& names, RenameKind kind,
                                       const RenameOptions& options, Prompter& prompter) {
    RenameStats stats;
    DirectoryLog log(dir, kRenamedSection, options.writeRenameInfo);
    for (const std::string& name : names) {
        if (stats.stopped) break;
        const std::string newName = TransformName(name, kind, options);
        if (newName == name) continue;
        if (kind == rkTranslit && FileExists(JoinPath(dir, newName))) {
            Refuse(stats, prompter, AlreadyExistsText(newName), NotRenamedText(name));
            continue;
        }
        LoggedMove(dir, name, newName, log, prompter, stats, true);
    }
    FinishLog(log, dir, prompter, stats);
    return stats;
}

inline RenameStats LowerCaseExtensions(const std::string& dir, const std::string& mask, bool recursive,
                                       Prompter& prompter) {
    RenameStats stats;
    RenameDuringListing(dir, recursive, MaskFilter(mask), kRenamedSection, false, prompter, stats,
                        [&](const std::string& d, const std::string& name, DirectoryLog&, std::string& newName) {
                            if (name.find('.') == std::string::npos) return false;
                            const std::string key = ExtensionKey(name);
                            if (CopyAfterLastChar(name, '.') == key) return false;
                            newName = CopyBeforeLastChar(name, '.') + "." + key;
                            return MoveInDirectory(d, name, newName, prompter, stats);
                        });
    return stats;
}

inline RenameStats ChangeExtensions(const std::string& dir, const std::string& sourceMask,
                                    const std::string& targetMask, bool recursive, Prompter& prompter) {
    RenameStats stats;
    const bool targetHasDot = targetMask.find('.') != std::string::npos;
    const std::string targetExt = CopyAfterLastChar(targetMask, '.');
    RenameDuringListing(dir, recursive, SingleExtensionFilter(sourceMask), kRenamedSection, false, prompter, stats,
                        [&](const std::string& d, const std::string& name, DirectoryLog&, std::string& newName) {
                            const bool hasExt = name.find('.') != std::string::npos;
                            const std::string stem = hasExt ? CopyBeforeLastChar(name, '.') : name;
                            newName = targetHasDot ? stem + "." + targetExt : stem;
                            if (newName == name) return false;
                            if (newName.find_first_of("*?") != std::string::npos) {
                                Refuse(stats, prompter, NotRenamedText(name), "a wildcard in the new name");
                                return false;
                            }
                            if (FileExists(JoinPath(d, newName))) {
                                Refuse(stats, prompter, AlreadyExistsText(newName), NotRenamedText(name));
                                return false;
                            }
                            return MoveInDirectory(d, name, newName, prompter, stats);
                        });
    return stats;
}

// The admitted files of each directory, handed over when its listing ends.
template <class Finish>
void CollectPerDirectory(const std::string& dir, bool recursive, const std::string& mask, Prompter& prompter,
                         RenameStats& stats, Finish finish) {
    std::vector<std::vector<FindData>> files;
    WalkHandler h;
    WatchWalk(h, prompter, stats);
    h.onDirectoryBegin = [&](const std::string&) { files.emplace_back(); };
    h.onFile = [&](const std::string&, const FindData& file) {
        if (!IsRenameLog(file.name)) files.back().push_back(file);
    };
    h.onDirectoryEnd = [&](const std::string& d) {
        finish(d, files.back());
        files.pop_back();
    };
    WalkDirectory(dir, recursive, MaskFilter(mask), h);
}

// Alphabetical numbering only (no playlist order).
inline RenameStats AddNumbering(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                                Prompter& prompter) {
    RenameStats stats;
    CollectPerDirectory(dir, o.recursive, mask, prompter, stats, [&](const std::string& d, std::vector<FindData>& files) {
        std::vector<std::string> names;
        for (const FindData& f : files) names.push_back(f.name);
        SortTextLocale(names);
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string newName = o.numberSplit + names[i];
            if (o.addingNumber)
                newName = IntToStrZero(static_cast<long long>(i) + 1, std::clamp(o.numberFormat, 1, 10)) + newName;
            if (newName != names[i]) MoveInDirectory(d, names[i], newName, prompter, stats);
        }
    });
    return stats;
}

inline RenameStats DeleteFirstSymbols(const std::string& dir, const std::string& mask, int count, bool recursive,
                                      bool writeRenameInfo, Prompter& prompter) {
    RenameStats stats;
    CollectPerDirectory(dir, recursive, mask, prompter, stats, [&](const std::string& d, std::vector<FindData>& files) {
        DirectoryLog log(d, kDeletedSection, writeRenameInfo);
        for (const FindData& f : files) {
            if (stats.stopped) break;
            const std::string newName =
                f.name.size() <= static_cast<std::size_t>(count) ? std::string() : f.name.substr(static_cast<std::size_t>(count));
            LoggedMove(d, f.name, newName, log, prompter, stats);
        }
        FinishLog(log, d, prompter, stats);
    });
    return stats;
}

}  // namespace tandrel::oracle
