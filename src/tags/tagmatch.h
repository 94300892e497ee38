// The tag operations other commands call for one file at a time: the two tag
// search tests and the updates that change only the given fields. Failures
// are shown as a message box: the language's message followed by the file
// name, with the reason in the status bar.
#pragma once

#include <string>

#include "app/messages.h"
#include "app/prompts.h"
#include "platform/files.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagfile.h"

namespace tandrel {

struct TagMessages {
    Prompter& prompter;
    int language;
    // reason is UTF-8, as the tag objects give it; none when empty.
    void Show(MessageId id, const std::string& fileName, const std::string& reason = {}) const;
    // The status line names the old frames a save of the tag left out.
    void ShowDropped(const TID3v2& tag, const std::string& fileName) const;
    // Asks whether to save although the characters will be lost; true for Yes.
    bool AskToLose(const std::u32string& characters) const;
};

// Reads the file's tag; false, after the message (the file is missing, or its
// tag cannot be read, with the reason), when that fails.
bool ReadTagShowingFailure(TID3v1& tag, const TagMessages& messages, const std::string& fileName);
bool ReadTagShowingFailure(TID3v2& tag, const TagMessages& messages, const std::string& fileName);

// True when the file has the tag and the query (already normalised with
// ToLowerCase) occurs in one of its fields, lower-cased: title, artist,
// album, year, genre (ID3v1: its name), comment. The track never matches.
bool MatchID3v1Tag(TID3v1& tag, const TagMessages& messages, const std::string& query, const std::string& fileName);
bool MatchID3v2Tag(TID3v2& tag, const TagMessages& messages, const std::string& query, const std::string& fileName);
// MatchID3v1Tag, then MatchID3v2Tag when the first finds nothing, with the
// file opened once for both.
bool MatchID3Tags(TID3v1& v1, TID3v2& v2, const TagMessages& messages, const std::string& query,
                  const std::string& fileName);
// MatchID3Tags for a file a directory listing found (at), through a reader
// kept from file to file. A plain regular file is opened by its name in the
// listed directory. Links, entries the listing could not call a plain
// regular file, and files that turn out too short for an ID3v1 record or
// fail to open or read go the way of MatchID3Tags, with its messages.
bool MatchListedID3Tags(TID3v1& v1, TID3v2& v2, TagFileReader& reader, const TagMessages& messages,
                        const std::string& query, const std::string& fileName, const FindData& file,
                        const ListedEntry& at);

// The fields an update changes. An empty text leaves its field as the file
// has it, and so does a text equal to it.
struct TagFieldUpdate {
    std::string track;  // the number of its leading digits, when 1 or more
    std::string comment, year, album, artist, title;
    int genrePosition = 0;  // ID3v1: genre list position, 1 for genre 0; 0 or less leaves it
    std::string genre;      // ID3v2: genre text
};

// Reads the file's tag, changes the given fields and saves it. True when saved.
bool UpdateID3v1Fields(TID3v1& tag, const TagMessages& messages, const std::string& fileName,
                       const TagFieldUpdate& update);
bool UpdateID3v2Fields(TID3v2& tag, const TagMessages& messages, const std::string& fileName,
                       const TagFieldUpdate& update);
// Both tags in one replacement of the file, so that it never ends up with one
// tag new and the other old. True when saved.
bool UpdateID3Fields(TID3v1& v1, TID3v2& v2, const TagMessages& messages, const std::string& fileName,
                     const TagFieldUpdate& update);

}  // namespace tandrel
