// The tag panel as plain data: what each half (ID3v1, ID3v2) shows, how a
// file's tags fill it, how it is saved into a file, the copies between the
// halves and the length caps of its edits. The window binds its controls to
// these structures.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tags/tagmatch.h"

namespace tandrel {

struct TagPanelHalf {
    bool tagChecked = false;
    std::string version;  // "1.0", "1.1", "2.3", ...; empty when cleared
    std::string track, title, artist, album, year, comment;
    // Genre list position: 0 the empty entry, k genre k - 1, -1 none selected.
    int genrePosition = 0;
    std::string genreText;  // the genre box's text (the ID3v2 genre)
    // Characters typed into the half that code page 1251 lacks; they stand as
    // kUnmappableChar in the texts above.
    std::u32string unmappable;
};

// Length caps of the capped edits.
inline constexpr std::size_t kTrackCap = 3;     // ID3v1 track
inline constexpr std::size_t kTextCap = 30;     // ID3v1 title, artist, album
inline constexpr std::size_t kYearV1Cap = 4;    // ID3v1 year
inline constexpr std::size_t kYearV2Cap = 6;    // ID3v2 year
// Whether a capped edit is read-only after a key went down: Backspace and
// Delete make it writable, any other key makes it read-only when it already
// holds cap or more characters.
bool CappedEditReadOnly(bool backspaceOrDelete, std::size_t length, std::size_t cap);

// The entries of both genre lists: the empty entry, then GenreNames in order.
const std::vector<std::string>& GenreListEntries();

void ClearPanelHalf(TagPanelHalf& half);

// Fill one half from the file's tag without clearing it first. Nothing
// happens for an empty name or a file below 512 bytes (or missing). True
// when the tag was read.
bool ShowID3v1Tag(TID3v1& tag, const TagMessages& messages, const std::string& fileName, TagPanelHalf& half);
bool ShowID3v2Tag(TID3v2& tag, const TagMessages& messages, const std::string& fileName, TagPanelHalf& half);

// Write one half into the file's tag; true when saved. Characters the tag
// cannot hold (typed ones, and those an ID3v2 field held before it was
// changed) are named in a question first; No saves nothing. ID3v2 fields the
// half leaves as the file has them keep their frames unchanged.
bool SaveID3v1FromPanel(TID3v1& tag, const TagMessages& messages, const std::string& fileName,
                        const TagPanelHalf& half);
bool SaveID3v2FromPanel(TID3v2& tag, const TagMessages& messages, const std::string& fileName,
                        const TagPanelHalf& half);
// Both halves, as the two saves above one after the other, but in one
// replacement of the file: it never ends up with one tag new and the other
// old, and the characters both would lose are asked about once.
bool SaveID3FromPanel(TID3v1& v1, TID3v2& v2, const TagMessages& messages, const std::string& fileName,
                      const TagPanelHalf& half1, const TagPanelHalf& half2);

// "ID3v1 >>": the texts as they are, the genre by list position.
void CopyID3v1ToID3v2(const TagPanelHalf& v1, TagPanelHalf& v2);
// "<< ID3v2": cut to the ID3v1 widths; the year keeps its last 4 characters;
// the genre list follows the text when an entry matches it exactly.
void CopyID3v2ToID3v1(const TagPanelHalf& v2, TagPanelHalf& v1);

}  // namespace tandrel
