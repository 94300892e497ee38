#include "tags/nametags.h"

#include <initializer_list>

#include "text/numbers.h"
#include "text/paths.h"
#include "text/strings.h"

namespace tandrel {

namespace {

// A part cut at a single separator character: underscores become spaces, then
// one hyphen and one space go from each end.
std::string CleanPart(std::string s) {
    s = ReplaceChar('_', ' ', std::move(s));
    s = TrimChar(std::move(s), '-');
    return TrimChar(std::move(s), ' ');
}

}  // namespace

NameTags FileNameToTags(const std::string& fullName) {
    NameTags tags;
    std::string name = CopyBeforeLastChar(CopyAfterLastChar(fullName, kPathDelim), '.');

    if (const int n = LeadingNumberLength(name); n > 0) {
        tags.track = name.substr(0, static_cast<std::size_t>(n));
        name.erase(0, static_cast<std::size_t>(n));
    }
    name = TrimLeadingSeparators(std::move(name));

    for (const char* separator : {" - ", "_-_", "_-", "-_"}) {
        tags.artist = CopyBeforeSubStr(name, separator);
        if (!tags.artist.empty()) break;
    }
    if (!tags.artist.empty()) {
        tags.title = TrimLeadingSeparators(name.substr(tags.artist.size()));
        return tags;
    }

    const int hyphens = CountChar('-', name);
    const int spaces = CountChar(' ', name);
    const int underscores = CountChar('_', name);
    const char separator = hyphens > 0 ? '-' : (underscores > spaces && spaces > 0 ? ' ' : '_');
    if (hyphens > 0 || underscores > 0) tags.artist = CleanPart(CopyBeforeChar(name, separator));
    tags.title = CleanPart(CopyAfterLastChar(name, separator));
    return tags;
}

void PutNameTags(const NameTags& tags, bool forSave, TagPanelHalf& v1, TagPanelHalf& v2) {
    for (TagPanelHalf* half : {&v1, &v2}) {
        half->tagChecked = true;
        half->track = tags.track;
        half->title = tags.title;
        half->artist = tags.artist;
        if (forSave) {
            half->album.clear();
            half->year.clear();
            half->comment.clear();
        }
    }
}

}  // namespace tandrel
