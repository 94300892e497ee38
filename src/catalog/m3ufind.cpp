#include "catalog/m3ufind.h"

#include <set>

#include "app/dirwalk.h"
#include "catalog/m3u.h"
#include "text/needleset.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

// The position of the last "\" or "/", npos when there is none.
std::size_t LastSeparator(const std::string& s) { return s.find_last_of("\\/"); }

bool MaskAdmitsEverything(const std::string& mask) {
    const std::string key = CopyAfterLastChar(mask, '.');
    return key == "*" || key.empty();
}

// The extension filter on lower-cased texts, for a mask that does not admit everything.
bool ExtensionAdmitted(const std::string& lowerMask, const std::string& lowerName) {
    const std::string ext = CopyAfterLastChar(lowerName, '.');
    return ExtInMaskList(lowerMask, ext) || ext == lowerName;
}

// The walks of every entry in one: each root is walked once, and what each
// entry's own walk would see is replayed from the shared walk.
//
// In single mode an entry found in a directory at depth d is "open" there: the
// later files of that listing may still replace its path. The next
// sub-directory entry of that listing closes it (its own walk would end the
// listing there). When the directory at depth d ends, the entry's own walk
// returns to the parent's listing, so the entry is open again at depth d - 1;
// at the end of the root it is finished, and later roots skip it.
class Finder {
public:
    Finder(const std::vector<std::string>& lines, const M3UFindOptions& options, Prompter& prompter,
           const std::function<void()>& keepAlive)
        : lines_(lines), options_(options), prompter_(prompter), keepAlive_(keepAlive), progress_(prompter) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!IsPlaylistEntry(lines[i])) continue;
            const EntryQuery query = FindQueryFor(lines[i], options);
            Entry e;
            e.needle = needles_.Add(ToLowerCase(query.name));
            e.admitsAll = MaskAdmitsEverything(query.mask);
            e.lowerMask = ToLowerCase(query.mask);
            if (e.needle < 0) {
                e.state = State::Finished;  // an empty name names no file (every name would contain it)
            } else {
                const auto needle = static_cast<std::size_t>(e.needle);
                if (byNeedle_.size() <= needle) byNeedle_.resize(needle + 1);
                byNeedle_[needle].push_back(entries_.size());
                ++searching_;
            }
            entryOfLine_.resize(i + 1, kNoEntry);
            entryOfLine_[i] = entries_.size();
            entries_.push_back(std::move(e));
        }
        needles_.Build();
    }

    void WalkRoot(const std::string& root) {
        if ((!options_.searchAll && searching_ == 0) || progress_.stopped()) return;
        WalkHandler h;
        h.onDirectoryBegin = [this](const std::string&) { Begin(); };
        progress_.Attach(h, true);
        h.onFile = [this](const std::string& dir, const FindData& file) { File(dir, file.name); };
        h.onDirectory = [this](const std::string&, const FindData&) { SubDirectory(); };
        h.enterDirectory = [this](const std::string&, const FindData&) {
            return options_.searchAll || searching_ > 0;
        };
        h.onDirectoryEnd = [this](const std::string&) { End(); };
        h.onDirectoryError = [this](const std::string& dir, const std::string& reason) { Unreadable(dir, reason); };
        depth_ = -1;
        WalkDirectory(root, true, nullptr, h, FindDetail::NamesAndKinds);
    }

    M3UFindResult Result() {
        M3UFindResult r;
        r.entries = entries_.size();
        r.unreadable = std::move(unreadable_);
        r.cancelled = progress_.stopped();
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Entry* e = i < entryOfLine_.size() && entryOfLine_[i] != kNoEntry ? &entries_[entryOfLine_[i]]
                                                                                     : nullptr;
            if (e && !e->paths.empty()) {
                ++r.found;
                for (const std::string& path : e->paths) r.lines.push_back(path);
            } else if (!lines_[i].empty()) {
                r.lines.push_back(lines_[i]);
            }
        }
        if (options_.addFileName)
            for (std::string& line : r.lines) line = NameAndDirectoryLine(line);
        return r;
    }

private:
    static constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);
    enum class State { Searching, Found, Finished };
    struct Entry {
        int needle = -1;
        bool admitsAll = true;
        std::string lowerMask;
        State state = State::Searching;
        int depth = -1;     // single mode, found: the listing the entry's own walk is in
        bool open = false;  // that listing may still replace the path
        std::vector<std::string> paths;  // single mode: the one path found
    };

    static bool Admits(const Entry& e, const std::string& lowerName) {
        return e.admitsAll || ExtensionAdmitted(e.lowerMask, lowerName);
    }

    void Begin() {
        ++depth_;
        if (open_.size() <= static_cast<std::size_t>(depth_)) {
            open_.resize(static_cast<std::size_t>(depth_) + 1);
            closed_.resize(static_cast<std::size_t>(depth_) + 1);
        }
    }

    void File(const std::string& dir, const std::string& name) {
        if (keepAlive_) keepAlive_();
        progress_.CountFile();
        const std::string lowerName = ToLowerCase(name);
        needles_.Find(lowerName, ids_);
        for (const int id : ids_) {
            for (const std::size_t index : byNeedle_[static_cast<std::size_t>(id)]) {
                Entry& e = entries_[index];
                if (e.state == State::Finished || !Admits(e, lowerName)) continue;
                if (options_.searchAll) {
                    e.paths.push_back(JoinPath(dir, name));
                } else if (e.state == State::Searching) {
                    e.state = State::Found;
                    e.depth = depth_;
                    e.open = true;
                    e.paths.assign(1, JoinPath(dir, name));
                    open_[static_cast<std::size_t>(depth_)].push_back(index);
                    --searching_;
                } else if (e.open && e.depth == depth_) {
                    e.paths.assign(1, JoinPath(dir, name));  // a later match of the same listing wins
                }
            }
        }
    }

    void SubDirectory() {
        if (options_.searchAll) return;
        std::vector<std::size_t>& open = open_[static_cast<std::size_t>(depth_)];
        std::vector<std::size_t>& closed = closed_[static_cast<std::size_t>(depth_)];
        for (const std::size_t index : open) entries_[index].open = false;
        closed.insert(closed.end(), open.begin(), open.end());
        open.clear();
    }

    void End() {
        if (!options_.searchAll) {
            const auto depth = static_cast<std::size_t>(depth_);
            for (std::vector<std::size_t>* list : {&open_[depth], &closed_[depth]}) {
                for (const std::size_t index : *list) {
                    Entry& e = entries_[index];
                    if (depth == 0) {
                        e.state = State::Finished;
                    } else {
                        e.depth = depth_ - 1;
                        e.open = true;
                        open_[depth - 1].push_back(index);
                    }
                }
                list->clear();
            }
        }
        --depth_;
    }

    void Unreadable(const std::string& dir, const std::string& reason) {
        if (!reported_.insert(dir).second) return;
        const std::string text = CannotReadText(dir, reason);
        prompter_.SetStatusText(text);
        unreadable_.push_back(text);
    }

    const std::vector<std::string>& lines_;
    const M3UFindOptions& options_;
    Prompter& prompter_;
    const std::function<void()>& keepAlive_;
    WalkProgress progress_;

    std::vector<Entry> entries_;
    std::vector<std::size_t> entryOfLine_;
    NeedleSet needles_;
    std::vector<std::vector<std::size_t>> byNeedle_;  // the entries of each needle
    std::vector<int> ids_;
    std::size_t searching_ = 0;
    int depth_ = -1;
    std::vector<std::vector<std::size_t>> open_, closed_;  // single mode: found entries by depth
    std::set<std::string> reported_;
    std::vector<std::string> unreadable_;
};

}  // namespace

EntryQuery FindQueryFor(const std::string& entry, const M3UFindOptions& options) {
    const std::string name = EntryFileName(entry);
    if (options.useMask) return {CopyBeforeLastChar(name, '.'), options.searchMask};
    const bool hasExtension = name.find('.') != std::string::npos;
    if (options.anyMask && !hasExtension) return {name, ""};
    return {name, "*." + CopyAfterLastChar(name, '.')};
}

bool FindMaskAdmits(const std::string& mask, const std::string& fileName) {
    return MaskAdmitsEverything(mask) || ExtensionAdmitted(ToLowerCase(mask), ToLowerCase(fileName));
}

std::string NameAndDirectoryLine(const std::string& line) {
    const std::size_t separator = LastSeparator(line);
    if (separator == std::string::npos) return line + " \t[]";
    return line.substr(separator + 1) + " \t[" + line.substr(0, separator) + "]";
}

M3UFindResult FindPlaylistFiles(const std::vector<std::string>& lines, const std::vector<std::string>& roots,
                                const M3UFindOptions& options, Prompter& prompter,
                                const std::function<void()>& keepAlive) {
    Finder finder(lines, options, prompter, keepAlive);
    for (const std::string& root : roots) finder.WalkRoot(root);
    return finder.Result();
}

}  // namespace tandrel
