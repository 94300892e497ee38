#include "app/dirwalk.h"

#include <vector>

#include "platform/dirid.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

class Walker {
public:
    Walker(bool recursive, const FileFilter& admit, const WalkHandler& handler, FindDetail detail)
        : recursive_(recursive), admit_(admit), handler_(handler), detail_(detail) {}

    void Walk(const std::string& dir) {
        if (!descent_.Enter(dir)) return;
        if (handler_.onDirectoryBegin) handler_.onDirectoryBegin(dir);

        std::string pattern = dir;
        pattern += kPathDelim;
        pattern += "*.*";
        FileFind find;
        FindData entry;
        for (bool more = find.FindFirst(CollapseCharRuns(pattern, kPathDelim), entry, detail_); more;
             more = find.FindNext(entry)) {
            if (handler_.stopWalk && handler_.stopWalk()) break;
            if (entry.IsDirectory()) {
                if (entry.name == "." || entry.name == "..") continue;
                if (handler_.onDirectory) handler_.onDirectory(dir, entry);
                // A linked directory may lead anywhere: it is not entered.
                if (recursive_ && (entry.attr & faSymLink) == 0 &&
                    (!handler_.enterDirectory || handler_.enterDirectory(dir, entry)))
                    Walk(JoinPath(dir, entry.name));
                continue;
            }
            if (admit_ && !admit_(entry.name)) continue;
            // The listing examines each entry when it hands it on, so a file that
            // vanished during the walk never arrives here. A name that has no
            // code-page-1251 form is handed on as listed; every operation on it
            // refuses with a reason.
            if (handler_.onFileAt)
                handler_.onFileAt(dir, entry, find.Current());
            else if (handler_.onFile)
                handler_.onFile(dir, entry);
        }
        if (!find.Error().empty() && handler_.onDirectoryError)
            handler_.onDirectoryError(dir, Utf8ToCp1251(find.Error()).text);
        find.FindClose();

        if (handler_.onDirectoryEnd) handler_.onDirectoryEnd(dir);
        descent_.Leave();
    }

private:
    bool recursive_;
    const FileFilter& admit_;
    const WalkHandler& handler_;
    FindDetail detail_;
    WalkDescent descent_;
};

}  // namespace

bool WalkDescent::Enter(const std::string& dir) {
    DirectoryId id;
    const bool known = GetDirectoryId(dir, id);
    if (known) {
        for (std::size_t i = 0; i < open_.size(); ++i)
            if (known_[i] && open_[i] == id) return false;
    }
    open_.push_back(id);
    known_.push_back(known);
    return true;
}

void WalkDescent::Leave() {
    open_.pop_back();
    known_.pop_back();
}

void WalkDirectory(const std::string& dir, bool recursive, const FileFilter& admit, const WalkHandler& handler,
                   FindDetail detail) {
    Walker(recursive, admit, handler, detail).Walk(dir);
}

void WalkProgress::Directory(const std::string& dir) {
    ++info_.directories;
    info_.entry.assign(dir);
    prompter_.ReportProgress(info_);
}

void WalkProgress::File(const std::string& dir, const std::string& name) {
    ++info_.files;
    // The entry's buffer is reused: this runs for every file of a search.
    info_.entry.assign(dir);
    if (info_.entry.empty() || info_.entry.back() != kPathDelim) info_.entry += kPathDelim;
    info_.entry += name;
    prompter_.ReportProgress(info_);
}

void WalkProgress::Show(const std::string& entry) {
    info_.entry.assign(entry);
    prompter_.ReportProgress(info_);
}

void WalkProgress::Restart() {
    info_ = ProgressInfo{};
    stopped_ = false;
}

bool WalkProgress::Stop() {
    if (!stopped_ && prompter_.StopRequested()) stopped_ = true;
    return stopped_;
}

void WalkProgress::Attach(WalkHandler& handler, bool showDirectories) {
    auto own = std::move(handler.onDirectoryBegin);
    handler.onDirectoryBegin = [this, showDirectories, own = std::move(own)](const std::string& dir) {
        if (showDirectories) Directory(dir);
        else ++info_.directories;
        if (own) own(dir);
    };
    handler.stopWalk = [this] { return Stop(); };
}

std::string CannotReadText(const std::string& dir, const std::string& reason) {
    return "Cannot read " + dir + ": " + reason;
}

void ReportUnreadableDirectories(WalkHandler& handler, Prompter& prompter) {
    handler.onDirectoryError = [&prompter](const std::string& dir, const std::string& reason) {
        prompter.SetStatusText(CannotReadText(dir, reason));
    };
}

std::string ExtensionKey(const std::string& name) {
    return ToLowerCase(CopyAfterLastChar(name, '.'));
}

bool MaskAdmits(const std::string& mask, const std::string& name) {
    const std::string maskKey = CopyAfterLastChar(mask, '.');
    if (maskKey == "*" || maskKey.empty()) return true;
    return ExtInMaskList(mask, ExtensionKey(name));
}

FileFilter MaskFilter(std::string mask) {
    return [mask = std::move(mask)](const std::string& name) { return MaskAdmits(mask, name); };
}

bool SingleExtensionAdmits(const std::string& sourceMask, const std::string& name) {
    const std::string sourceExt = CopyAfterLastChar(sourceMask, '.');
    if (sourceExt == "*") return true;
    if (sourceExt == ExtensionKey(name)) return true;
    return sourceExt.empty() && name.find('.') == std::string::npos;
}

FileFilter SingleExtensionFilter(std::string sourceMask) {
    return [mask = std::move(sourceMask)](const std::string& name) { return SingleExtensionAdmits(mask, name); };
}

}  // namespace tandrel
