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
void OrderByPlaylist(const std::string& dir, std::vector<std::string>& names, RenamePlan& plan) {
    const std::string playlist = FirstPlaylist(dir);
    if (playlist.empty()) return;
    std::vector<std::string> lines;
    if (FileResult r = ReadTextLines(JoinPath(dir, playlist), lines); !r) {
        // An unreadable playlist counts as none.
        PlanFailure(plan, PlanMark::Status, Utf8ToCp1251(r.error).text);
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

RenamePlan PlanLowerCaseExtensions(const std::string& dir, const std::string& mask, bool recursive,
                                   WalkProgress* progress) {
    RenamePlan plan;
    PlanWalk walk;
    walk.onFile = [&](const std::string& d, const FindData& file, PlannedDirectory& names) {
        const std::string& name = file.name;
        const std::string key = ExtensionKey(name);
        if (name.find('.') == std::string::npos || CopyAfterLastChar(name, '.') == key)
            return PlanUnchanged(plan, d, name);
        PlanMove(plan, names, d, name, CopyBeforeLastChar(name, '.') + "." + key, false);
    };
    walk.progress = progress;
    WalkForPlan(dir, recursive, MaskFilter(mask), plan, walk);
    return plan;
}

RenameStats LowerCaseExtensions(const std::string& dir, const std::string& mask, bool recursive, Prompter& prompter) {
    return ExecuteRenamePlan(PlanLowerCaseExtensions(dir, mask, recursive), prompter);
}

RenamePlan PlanAddNumbering(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                            WalkProgress* progress) {
    RenamePlan plan;
    PlanWalk walk;
    walk.onEnd = [&](const std::string& d, std::vector<FindData>& files, PlannedDirectory& state) {
        if (files.empty()) return;
        std::vector<std::string> names;
        names.reserve(files.size());
        for (const FindData& f : files) names.push_back(f.name);
        if (o.useM3u) {
            OrderByPlaylist(d, names, plan);
        } else {
            SortTextLocale(names);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            std::string newName = o.numberSplit + name;
            if (o.addingNumber)
                newName = IntToStrZero(static_cast<long long>(i) + 1, NumberWidth(o.numberFormat)) + newName;
            if (newName == name) PlanUnchanged(plan, d, name);
            else PlanMove(plan, state, d, name, newName, false);
        }
    };
    walk.progress = progress;
    WalkForPlan(dir, o.recursive, MaskFilter(mask), plan, walk);
    return plan;
}

RenameStats AddNumbering(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                         Prompter& prompter) {
    return ExecuteRenamePlan(PlanAddNumbering(dir, mask, o), prompter);
}

RenamePlan PlanDeleteFirstSymbols(const std::string& dir, const std::string& mask, int count, bool recursive,
                                  bool writeRenameInfo, WalkProgress* progress) {
    RenamePlan plan;
    plan.section = kDeletedSection;
    plan.logged = writeRenameInfo;
    if (count <= 0) return plan;
    PlanWalk walk;
    walk.onEnd = [&](const std::string& d, std::vector<FindData>& files, PlannedDirectory& state) {
        for (const FindData& f : files) {
            const std::string& name = f.name;
            const std::string newName = name.size() <= static_cast<std::size_t>(count)
                                            ? std::string()
                                            : name.substr(static_cast<std::size_t>(count));
            PlanMove(plan, state, d, name, newName, writeRenameInfo);
        }
    };
    walk.progress = progress;
    WalkForPlan(dir, recursive, MaskFilter(mask), plan, walk);
    return plan;
}

RenameStats DeleteFirstSymbols(const std::string& dir, const std::string& mask, int count, bool recursive,
                               bool writeRenameInfo, Prompter& prompter) {
    return ExecuteRenamePlan(PlanDeleteFirstSymbols(dir, mask, count, recursive, writeRenameInfo), prompter);
}

RenamePlan PlanSortByDateAndNumber(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                                   const std::string& startName, long long startNumber, WalkProgress* progress) {
    RenamePlan plan;
    PlanWalk walk;
    walk.onEnd = [&](const std::string& d, std::vector<FindData>& files, PlannedDirectory& state) {
        // The packed times compare as numbers, so dates on both sides of the
        // tenth key digit (end of 2009) still sort by age.
        std::stable_sort(files.begin(), files.end(), [](const FindData& a, const FindData& b) {
            if (a.dosTime != b.dosTime) return a.dosTime < b.dosTime;
            return CompareTextLocale(a.name, b.name) < 0;
        });
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string& name = files[i].name;
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
            if (newName == name) PlanUnchanged(plan, d, name);
            else PlanMove(plan, state, d, name, newName, false);
        }
    };
    // The dates come from each file's attributes.
    walk.progress = progress;
    WalkForPlan(dir, o.recursive, MaskFilter(mask), plan, walk, FindDetail::Full);
    return plan;
}

RenameStats SortByDateAndNumber(const std::string& dir, const std::string& mask, const NumberingOptions& o,
                                const std::string& startName, long long startNumber, Prompter& prompter) {
    return ExecuteRenamePlan(PlanSortByDateAndNumber(dir, mask, o, startName, startNumber), prompter);
}

RenamePlan PlanChangeExtensions(const std::string& dir, const std::string& sourceMask, const std::string& targetMask,
                                bool recursive, WalkProgress* progress) {
    RenamePlan plan;
    const bool targetHasDot = targetMask.find('.') != std::string::npos;
    const std::string targetExt = CopyAfterLastChar(targetMask, '.');
    PlanWalk walk;
    walk.onFile = [&](const std::string& d, const FindData& file, PlannedDirectory& names) {
        const std::string& name = file.name;
        const bool hasExt = name.find('.') != std::string::npos;
        const std::string stem = hasExt ? CopyBeforeLastChar(name, '.') : name;
        const std::string newName = targetHasDot ? stem + "." + targetExt : stem;
        if (newName == name) return PlanUnchanged(plan, d, name);
        // A wildcard left in the target would become part of the name.
        if (newName.find_first_of("*?") != std::string::npos)
            return PlanRefusal(plan, d, name, newName, PlanStatus::NotAllowed, NotRenamedText(name),
                               "a wildcard in the new name", false);
        if (names.HasFile(newName))
            return PlanRefusal(plan, d, name, newName,
                               names.Given(newName) ? PlanStatus::SameTarget : PlanStatus::TargetExists,
                               AlreadyExistsText(newName), NotRenamedText(name), false);
        PlanMove(plan, names, d, name, newName, false);
    };
    walk.progress = progress;
    WalkForPlan(dir, recursive, SingleExtensionFilter(sourceMask), plan, walk);
    return plan;
}

RenameStats ChangeExtensions(const std::string& dir, const std::string& sourceMask, const std::string& targetMask,
                             bool recursive, Prompter& prompter) {
    return ExecuteRenamePlan(PlanChangeExtensions(dir, sourceMask, targetMask, recursive), prompter);
}

}  // namespace tandrel
