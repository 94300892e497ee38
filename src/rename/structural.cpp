#include "rename/structural.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/dirwalk.h"
#include "platform/collation.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

int NumberWidth(int numberFormat) { return std::clamp(numberFormat, 1, 10); }

bool StillThere(const std::string& dir, const std::string& name) {
    // A name without a code-page-1251 form goes on to the move, which says why it refuses.
    return PathIsUnmappable(name) || FileExists(JoinPath(dir, name));
}

// Collects the admitted files of each directory during its listing and hands
// them over, in listing order, when the listing has ended.
template <class Finish>
void CollectPerDirectory(const std::string& dir, bool recursive, const std::string& mask, Prompter& prompter,
                         RenameStats& stats, Finish finish) {
    std::vector<std::vector<FindData>> files;
    WalkHandler h;
    WatchWalk(h, prompter, stats);
    h.onDirectoryBegin = [&](const std::string&) { files.emplace_back(); };
    h.onFile = [&](const std::string& d, const FindData& file) {
        ReportProgress(prompter, d, file.name);
        if (!IsRenameLog(file.name)) files.back().push_back(file);
    };
    h.onDirectoryEnd = [&](const std::string& d) {
        finish(d, files.back());
        files.pop_back();
    };
    WalkDirectory(dir, recursive, MaskFilter(mask), h);
}

// The first "*.m3u" file the directory lists; "" when there is none.
std::string FirstPlaylist(const std::string& dir) {
    FileFind find;
    FindData e;
    for (bool more = find.FindFirst(JoinPath(dir, "*.m3u"), e); more; more = find.FindNext(e))
        if (!e.IsDirectory()) return e.name;
    return {};
}

// Moves the names the playlist lists to the front, in playlist order; the
// others keep their order after them. Entries keep the names as on disk.
void OrderByPlaylist(const std::string& dir, std::vector<std::string>& names, Prompter& prompter) {
    const std::string playlist = FirstPlaylist(dir);
    if (playlist.empty()) return;
    std::vector<std::string> lines;
    if (FileResult r = ReadTextLines(JoinPath(dir, playlist), lines); !r) {
        // An unreadable playlist counts as none.
        prompter.SetStatusText(Utf8ToCp1251(r.error).text);
        return;
    }
    std::size_t front = 0;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t cut = line.find_last_of("\\/");
        const std::string wanted = ToLowerCase(cut == std::string::npos ? line : line.substr(cut + 1));
        auto it = std::find_if(names.begin() + static_cast<std::ptrdiff_t>(front), names.end(),
                               [&](const std::string& n) { return ToLowerCase(n) == wanted; });
        if (it == names.end()) continue;
        std::rotate(names.begin() + static_cast<std::ptrdiff_t>(front), it, it + 1);
        ++front;
    }
}

}  // namespace

NumberingOptions NumberingOptionsFrom(const TAppSettings& s) {
    NumberingOptions o;
    o.addingNumber = s.addingNumber;
    o.endingNumber = s.endingNumber;
    o.numberFormat = s.numberFormat;
    o.numberSplit = s.numberSplit;
    o.useM3u = s.useM3u;
    o.recursive = s.recursiveRename;
    return o;
}

RenameStats LowerCaseExtensions(const std::string& dir, const std::string& mask, bool recursive, Prompter& prompter) {
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

RenameStats AddNumbering(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                         Prompter& prompter) {
    RenameStats stats;
    CollectPerDirectory(dir, o.recursive, mask, prompter, stats,
                        [&](const std::string& d, const std::vector<FindData>& files) {
        if (files.empty()) return;
        std::vector<std::string> names;
        names.reserve(files.size());
        for (const FindData& f : files) names.push_back(f.name);
        if (o.useM3u) {
            OrderByPlaylist(d, names, prompter);
        } else {
            SortTextLocale(names);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            ReportProgress(prompter, d, name);
            if (!StillThere(d, name)) continue;
            std::string newName = o.numberSplit + name;
            if (o.addingNumber)
                newName = IntToStrZero(static_cast<long long>(i) + 1, NumberWidth(o.numberFormat)) + newName;
            if (newName == name) continue;
            MoveInDirectory(d, name, newName, prompter, stats);
        }
    });
    return stats;
}

RenameStats DeleteFirstSymbols(const std::string& dir, const std::string& mask, int count, bool recursive,
                               bool writeRenameInfo, Prompter& prompter) {
    RenameStats stats;
    if (count <= 0) return stats;
    CollectPerDirectory(dir, recursive, mask, prompter, stats,
                        [&](const std::string& d, const std::vector<FindData>& files) {
        DirectoryLog log(d, kDeletedSection, writeRenameInfo);
        for (const FindData& f : files) {
            if (stats.stopped) break;
            const std::string& name = f.name;
            ReportProgress(prompter, d, name);
            if (!StillThere(d, name)) continue;
            const std::string newName =
                name.size() <= static_cast<std::size_t>(count) ? std::string() : name.substr(static_cast<std::size_t>(count));
            LoggedMove(d, name, newName, log, prompter, stats);
        }
        FinishLog(log, d, prompter, stats);
    });
    return stats;
}

RenameStats SortByDateAndNumber(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                                const std::string& startName, long long startNumber, Prompter& prompter) {
    RenameStats stats;
    CollectPerDirectory(dir, o.recursive, mask, prompter, stats, [&](const std::string& d, std::vector<FindData> files) {
        // The packed times compare as numbers, so dates on both sides of the
        // tenth key digit (end of 2009) still sort by age.
        std::stable_sort(files.begin(), files.end(), [](const FindData& a, const FindData& b) {
            if (a.dosTime != b.dosTime) return a.dosTime < b.dosTime;
            return CompareTextLocale(a.name, b.name) < 0;
        });
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string& name = files[i].name;
            ReportProgress(prompter, d, name);
            if (!StillThere(d, name)) continue;
            std::string newName;
            if (o.addingNumber) {
                const std::string base = startName.empty() ? CopyBeforeChar(name, '.') : startName;
                const std::string num =
                    IntToStrZero(startNumber + static_cast<long long>(i), NumberWidth(o.numberFormat));
                newName = o.endingNumber ? base + o.numberSplit + num : num + o.numberSplit + base;
                if (name.find('.') != std::string::npos) newName += "." + ExtensionKey(name);
            } else {
                newName = name + o.numberSplit;
            }
            if (newName == name) continue;
            MoveInDirectory(d, name, newName, prompter, stats);
        }
    });
    return stats;
}

RenameStats ChangeExtensions(const std::string& dir, const std::string& sourceMask, const std::string& targetMask,
                             bool recursive, Prompter& prompter) {
    RenameStats stats;
    const bool targetHasDot = targetMask.find('.') != std::string::npos;
    const std::string targetExt = CopyAfterLastChar(targetMask, '.');
    RenameDuringListing(dir, recursive, SingleExtensionFilter(sourceMask), kRenamedSection, false, prompter, stats,
                        [&](const std::string& d, const std::string& name, DirectoryLog&, std::string& newName) {
                            const bool hasExt = name.find('.') != std::string::npos;
                            const std::string stem = hasExt ? CopyBeforeLastChar(name, '.') : name;
                            newName = targetHasDot ? stem + "." + targetExt : stem;
                            if (newName == name) return false;
                            // A wildcard left in the target would become part of the name.
                            if (newName.find_first_of("*?") != std::string::npos) {
                                prompter.SetStatusText(NotRenamedText(name));
                                ++stats.refused;
                                stats.failures.push_back(NotRenamedText(name) + " (a wildcard in the new name)");
                                return false;
                            }
                            if (FileExists(JoinPath(d, newName))) {
                                prompter.SetStatusText(AlreadyExistsText(newName));
                                ++stats.refused;
                                stats.failures.push_back(AlreadyExistsText(newName) + " (" + NotRenamedText(name) + ")");
                                return false;
                            }
                            return MoveInDirectory(d, name, newName, prompter, stats);
                        });
    return stats;
}

}  // namespace tandrel
