#include "catalog/descriptions.h"

#include <algorithm>
#include <unordered_set>

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

// A file name without its last full stop and what follows.
std::string WithoutExtension(const std::string& name) {
    return name.find('.') == std::string::npos ? name : CopyBeforeLastChar(name, '.');
}

// The index of the first entry equal to text without regard to case, or npos.
std::size_t FindFolded(const std::vector<std::string>& lines, const std::string& text) {
    const std::string key = ToLowerCase(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (ToLowerCase(lines[i]) == key) return i;
    return std::string::npos;
}

// The directory for writing of each directory of the walk: writeDir for the
// scanned one, then parent's + "/" + name.
class WriteDirs {
public:
    explicit WriteDirs(std::string writeDir) : top_(TrimTrailingDelimiters(std::move(writeDir))) {}
    const std::string& Enter(const std::string& dir) {
        stack_.push_back(stack_.empty() ? top_ : JoinPath(stack_.back(), CopyAfterLastChar(dir, kPathDelim)));
        return stack_.back();
    }
    const std::string& Current() const { return stack_.back(); }
    void Leave() { stack_.pop_back(); }

private:
    std::string top_;
    std::vector<std::string> stack_;
};

void Failed(std::vector<std::string>& failures, Prompter& prompter, const std::string& text) {
    prompter.SetStatusText(text);
    failures.push_back(text);
}

std::string NotWrittenText(const std::string& path, const std::string& reason) {
    return path + " not written!!! (" + Utf8ToCp1251(reason).text + ")";
}

}  // namespace

std::string DescriptionPath(const std::string& scanDir, const std::string& writeDir,
                            const std::vector<std::string>& driveRoots) {
    const std::string s = TrimTrailingDelimiters(scanDir);
    const std::string w = TrimTrailingDelimiters(writeDir);
    std::string dir, name;
    if (IsDriveRoot(w, driveRoots)) {
        dir = w;
        name = DirectoryLabel(w) + "_";
    } else {
        dir = ExtractDirPart(w);
        if (dir.empty()) dir = std::string(1, kPathDelim);
    }
    name += IsDriveRoot(s, driveRoots) ? DirectoryLabel(s) + "_Drv" : DirectoryLabel(s);
    return JoinPath(dir, name + ".txt");
}

std::vector<std::string> DescriptionLines(std::vector<std::string> names, const DescriptionOptions& options) {
    SortTextLocale(names);
    if (options.addingNumber)
        for (std::size_t i = 0; i < names.size(); ++i)
            names[i] = IntToStrZero(static_cast<long long>(i + 1), options.numberFormat) + options.numberSplit + names[i];
    return names;
}

CatalogStats MakeDescriptions(const std::string& scanDir, const std::string& writeDir, const std::string& mask,
                              const DescriptionOptions& options, Prompter& prompter) {
    CatalogStats stats;
    WriteDirs writeDirs(writeDir);
    std::vector<std::vector<std::string>> names;  // per level being listed
    // The descriptions this run wrote are never described themselves, however
    // the listing orders them.
    std::unordered_set<std::string> ours;
    WalkProgress progress(prompter);
    WalkHandler h;
    h.onDirectoryBegin = [&](const std::string& dir) {
        writeDirs.Enter(dir);
        names.emplace_back();
        ++stats.directories;
    };
    progress.Attach(h, true);
    h.onFile = [&](const std::string& dir, const FindData& file) {
        progress.File(dir, file.name);
        if (!ours.count(JoinPath(dir, file.name))) names.back().push_back(WithoutExtension(file.name));
    };
    h.onDirectoryEnd = [&](const std::string& dir) {
        // A directory whose listing was cut short by the user gets no description.
        if (!names.back().empty() && !progress.stopped()) {
            const std::string path = DescriptionPath(dir, writeDirs.Current(), options.driveRoots);
            const std::string target = ExtractDirPart(path).empty() ? "/" : ExtractDirPart(path);
            if (!DirectoryExists(target) && !CreateDirectories(target)) {
                Failed(stats.failures, prompter, "Error Create Directory: " + target);
            } else if (FileResult r = WriteTextLines(path, DescriptionLines(std::move(names.back()), options)); !r) {
                Failed(stats.failures, prompter, NotWrittenText(path, r.error));
            } else {
                stats.written.push_back(path);
                ours.insert(path);
            }
        }
        names.pop_back();
        writeDirs.Leave();
    };
    h.onDirectoryError = [&](const std::string& dir, const std::string& reason) {
        Failed(stats.failures, prompter, CannotReadText(dir, reason));
    };
    WalkDirectory(TrimTrailingDelimiters(scanDir), true, SingleExtensionFilter(mask), h, FindDetail::NamesAndKinds);
    stats.cancelled = progress.stopped();
    return stats;
}

RenamePlan PlanTranslitRun(const std::string& scanDir, const std::string& mask, const RenameOptions& options,
                           WalkProgress* progress) {
    RenameOptions o = options;
    o.recursive = true;
    return PlanRenameDirectory(TrimTrailingDelimiters(scanDir), SingleExtensionFilter(mask), rkTranslit, o, progress);
}

CorrectionStats ExecuteTranslitRun(const RenamePlan& plan, const std::string& writeDir, const RenameOptions& options,
                                   const std::vector<std::string>& driveRoots, Prompter& prompter) {
    CorrectionStats result;
    WriteDirs writeDirs(writeDir);
    // Per level being listed: the description, its working lines and the lines as loaded.
    struct Description {
        std::string path;
        std::vector<std::string> working;
        std::vector<std::string> loaded;
        TextOrigin origin;  // written back in the encoding it was read in
    };
    std::vector<Description> levels;
    PlanHooks hooks;
    hooks.onDirectoryBegin = [&](const std::string& dir, RenameStats& stats) {
        Description d;
        d.path = DescriptionPath(dir, writeDirs.Enter(dir), driveRoots);
        if (FileExists(d.path)) {
            if (FileResult r = ReadTextDocument(d.path, d.working, d.origin); !r) {
                const std::string text = d.path + ": " + Utf8ToCp1251(r.error).text;
                prompter.SetStatusText(text);
                stats.failures.push_back(text);
                d.working.clear();
            }
            d.loaded = d.working;
        }
        levels.push_back(std::move(d));
    };
    hooks.onDirectoryEnd = [&](const std::string&, RenameStats& stats) {
        Description& d = levels.back();
        const std::string descDir = ExtractDirPart(d.path);
        if (!d.working.empty() && DirectoryExists(descDir.empty() ? "/" : descDir)) {
            SortTextLocale(d.working);
            // A line whose file was renamed keeps the text it had before the run.
            for (const std::string& line : d.loaded) {
                const std::string translit = TransformName(line, rkTranslit, options);
                if (translit == line) continue;
                if (std::size_t i = FindFolded(d.working, translit); i != std::string::npos) d.working[i] = line;
            }
            if (FileResult r = WriteTextDocument(d.path, d.working, d.origin); !r) {
                const std::string text = NotWrittenText(d.path, r.error);
                prompter.SetStatusText(text);
                stats.failures.push_back(text);
            } else {
                result.written.push_back(d.path);
            }
        }
        levels.pop_back();
        writeDirs.Leave();
    };
    hooks.onRenamed = [&](const PlanRow& row) {
        std::vector<std::string>& working = levels.back().working;
        if (std::size_t i = FindFolded(working, WithoutExtension(row.oldName)); i != std::string::npos)
            working[i] = WithoutExtension(row.newName);
    };
    result.renames = ExecuteRenamePlan(plan, prompter, hooks);
    return result;
}

CorrectionStats TranslitAndCorrectDescriptions(const std::string& scanDir, const std::string& writeDir,
                                               const std::string& mask, const RenameOptions& options,
                                               const std::vector<std::string>& driveRoots, Prompter& prompter) {
    return ExecuteTranslitRun(PlanTranslitRun(scanDir, mask, options), writeDir, options, driveRoots, prompter);
}

}  // namespace tandrel
