// Tags from a file's name: the track number, artist and title that a name
// such as "07 - Artist - Song.mp3" holds, and how the two halves of the tag
// panel take them. The window and the terminal both write them this way.
#pragma once

#include <string>

#include "tags/tagpanel.h"

namespace tandrel {

struct NameTags {
    std::string track, artist, title;
};

// The name after the last path delimiter, without its extension (empty when
// it has no "."), taken apart: the leading digits are the track; the artist
// ends at the first " - ", "_-_", "_-" or "-_" (tried in that order), else at
// the first of one separator character chosen by counting hyphens, spaces and
// underscores (the title then begins after its last occurrence).
NameTags FileNameToTags(const std::string& fullName);

// Both halves take the name's tags: tag boxes checked, track, title and
// artist. For a save, album, year and comment are emptied too; the genre
// stays as the halves show it.
void PutNameTags(const NameTags& tags, bool forSave, TagPanelHalf& v1, TagPanelHalf& v2);

}  // namespace tandrel
