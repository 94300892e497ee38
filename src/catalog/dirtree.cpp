#include "catalog/dirtree.h"

#include "app/datetime.h"
#include "app/dirwalk.h"
#include "platform/collation.h"
#include "platform/textfile.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"

namespace tandrel {

namespace {

// Start prefix, step and closing line of each layout.
struct Layout {
    bool fullPaths = false;
    bool firstLine = true;
    bool bars = false;  // file lines begin with a bar; the closing line is a bar
    std::string prefix;
    std::string step;
};

Layout LayoutOf(int mode) {
    switch (mode) {
        case 0: return {true, true, false, "", ""};
        case 1: return {false, true, true, "+---", "----"};
        case 2: return {false, true, false, "    ", "    "};
        case 3: return {false, false, false, "", "    "};
        default: return {false, false, false, "    ", "    "};  // as 2 without the start line
    }
}

// The start directory's own line in the layouts that show its name.
std::string StartName(const std::string& dir) {
    const std::string name = CopyAfterLastChar(dir, kPathDelim);
    return name.empty() ? dir : name;
}

}  // namespace

std::string CatalogSummary(const CatalogStats& stats) {
    std::string text = "Written: " + std::to_string(stats.written.size()) +
                       " file(s), failed: " + std::to_string(stats.failures.size());
    if (!stats.failures.empty()) text += ". First: " + stats.failures.front();
    return text;
}

std::string TrimTrailingDelimiters(std::string dir) {
    while (dir.size() > 1 && dir.back() == kPathDelim) dir.pop_back();
    return dir;
}

std::string DirectoryLabel(const std::string& dir) {
    const std::string name = CopyAfterLastChar(TrimTrailingDelimiters(dir), kPathDelim);
    return name.empty() ? "root" : name;
}

bool IsDriveRoot(const std::string& dir, const std::vector<std::string>& driveRoots) {
    const std::string d = TrimTrailingDelimiters(dir);
    for (const std::string& root : driveRoots)
        if (TrimTrailingDelimiters(root) == d) return true;
    return false;
}

std::string TreeFileName(int treeNameMode, const std::string& scanDir, const std::string& date) {
    const std::string dir = DirectoryLabel(scanDir);
    switch (treeNameMode) {
        case 0: return date + ".td";
        case 1: return dir + ".td";
        case 2: return date + "_" + dir + ".td";
        case 3: return dir + "_" + date + ".td";
        default: return "Tree.td";
    }
}

std::vector<std::string> TreeLines(const std::string& scanDir, const std::string& mask, const TreeOptions& options,
                                   Prompter& prompter, CatalogStats& stats) {
    const std::string start = TrimTrailingDelimiters(scanDir);
    const Layout layout = LayoutOf(options.treeMode);
    std::vector<std::string> lines;
    if (options.addingDate) {
        lines.push_back("Date: " + FormatDate(options.now));
        lines.push_back("Time: " + FormatTime(options.now));
        lines.emplace_back();
    }
    if (layout.fullPaths) lines.push_back(start);
    else if (layout.firstLine) lines.push_back(StartName(start));

    // The prefix of the entries of the directory being listed, one per level.
    std::vector<std::string> prefixes;
    WalkProgress progress(prompter);
    WalkHandler h;
    h.onDirectoryBegin = [&](const std::string&) {
        prefixes.push_back(prefixes.empty() ? layout.prefix : prefixes.back() + layout.step);
        ++stats.directories;
    };
    progress.Attach(h, true);
    h.onDirectory = [&](const std::string& dir, const FindData& sub) {
        lines.push_back(layout.fullPaths ? JoinPath(dir, sub.name) : prefixes.back() + sub.name);
    };
    h.onFile = [&](const std::string& dir, const FindData& file) {
        progress.File(dir, file.name);
        if (layout.fullPaths) lines.push_back(JoinPath(dir, file.name));
        else if (layout.bars) lines.push_back("|" + std::string(prefixes.back().size() - 1, ' ') + file.name);
        else lines.push_back(prefixes.back() + file.name);
    };
    h.onDirectoryEnd = [&](const std::string&) {
        prefixes.pop_back();
        if (!layout.fullPaths) lines.push_back(layout.bars ? "|" : "");
    };
    h.onDirectoryError = [&](const std::string& dir, const std::string& reason) {
        const std::string text = CannotReadText(dir, reason);
        prompter.SetStatusText(text);
        stats.failures.push_back(text);
    };
    WalkDirectory(start, true, MaskFilter(mask), h, FindDetail::NamesAndKinds);
    stats.cancelled = progress.stopped();
    if (layout.fullPaths) SortTextLocale(lines);
    return lines;
}

CatalogStats MakeTree(const std::string& scanDir, const std::string& writeDir, const std::string& mask,
                      const TreeOptions& options, Prompter& prompter) {
    CatalogStats stats;
    const std::vector<std::string> lines = TreeLines(scanDir, mask, options, prompter, stats);
    if (stats.cancelled) return stats;
    const std::string path = JoinPath(writeDir, TreeFileName(options.treeNameMode, scanDir, FormatDate(options.now)));
    if (FileResult r = WriteTextLines(path, lines); !r) {
        const std::string text = path + " not written!!! (" + Utf8ToCp1251(r.error).text + ")";
        prompter.SetStatusText(text);
        stats.failures.push_back(text);
    } else {
        stats.written.push_back(path);
    }
    return stats;
}

}  // namespace tandrel
