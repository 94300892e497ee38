// Renaming files after their tags: the new name is assembled from the track
// number, artist, title, album and year of the ID3v1 and/or ID3v2 tag by a
// pattern ("N-AT": track, a literal "-", artist, title), joined by the basic
// split, cleaned of line breaks, quotes and slashes, then given the file's
// extension. A run first computes a plan row per file (nothing moves), then
// executes the rows; a rename never replaces an existing file.
//
// Names, patterns and texts are code-page-1251.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/registry.h"
#include "rename/renameplan.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagmatch.h"

namespace tandrel {

// The five fields in the order of their pattern letters "NATLY".
enum TagNameField { kNameTrack, kNameArtist, kNameTitle, kNameAlbum, kNameYear, kNameFieldCount };
inline constexpr const char* kNameFieldLetters = "NATLY";
// The settings value that holds each field's source, in the same order.
extern const std::array<const char*, kNameFieldCount> kNameFieldValues;

inline constexpr int kSourceID3v1 = 1;
inline constexpr int kSourceID3v2 = 2;
inline constexpr int kMaxNumberWidth = 10;

struct TagNameOptions {
    std::optional<int> tagMode;     // ID3TagMode: 0 both tags, 1 ID3v1, 2 ID3v2; absent when not stored
    std::string pattern;            // ID3FileFormat
    int numberWidth = 2;            // ID3NumFormat, digits of the track number
    std::string basicSplit = "_";   // BasicSplit, between any two pieces
    // Source of each field (kSourceID3v1, kSourceID3v2, anything else: not used).
    std::array<int, kNameFieldCount> sources{};
    int renameMode = 0;             // 1: spaces to "_", 2: "_" to spaces
    bool makeLowercaseExt = false;  // the extension through ToLowerCase

    // A name can be built: the pattern is not empty and the mode is 0, 1 or 2.
    bool Usable() const;
};

// The options from the open-able settings key of store (already loaded) and
// the settings record; every value missing from the key (or the key itself)
// keeps its default, the mode stays absent.
TagNameOptions ReadTagNameOptions(RegistryStore& store, const TAppSettings& settings);

// Writes the dialog's values into the key, creating it, and saves the store.
FileResult WriteTagNameOptions(RegistryStore& store, const TagNameOptions& options);

// The name the pattern gives the field texts, before cleaning: each letter's
// field (the track, when a number, zero-padded to width) or each other
// character, joined by split; empty fields are skipped.
std::string NameFromPattern(const std::string& pattern, const std::array<std::string, kNameFieldCount>& fields,
                            int width, const std::string& split);
// TAB, LF and CR to spaces, runs of spaces to one, then without double
// quotes, backslashes and slashes.
std::string CleanTagName(std::string name);

enum class TagNameStatus {
    Rename,     // newName is to be given (planned), or was not yet tried
    Renamed,    // moved to newName
    NoName,     // the options or the tags give no name, or give the current one: nothing to do
    Missing,    // the file does not exist
    Refused,    // the file keeps its name: reason says why (a "?" in a field, a name taken or not allowed, a failed move)
};

// One row of a plan: the file oldName of dir gets newName.
struct TagNamePlanRow {
    std::string dir;
    std::string oldName;
    std::string newName;
    TagNameStatus status = TagNameStatus::NoName;
    std::string reason;                   // Refused: why (code-page-1251)
    bool showReason = false;              // the status line names the reason too (a character problem)
    std::vector<std::string> readErrors;  // tags that could not be read: the tag object's reason (UTF-8)
};

// The rows of files (directory and name each) in order; the tags are read
// through v1 and v2 (only a tag some field of the pattern takes), nothing
// moves. A new name that an earlier row takes, or that an existing entry has
// which no earlier row moves away, is refused: the later file keeps its name.
// A file named a second time gets no new name. Each file's path goes to the
// progress text of progress, when given.
struct TagNameFile {
    std::string dir;
    std::string name;
};
std::vector<TagNamePlanRow> PlanTagNames(const std::vector<TagNameFile>& files, const TagNameOptions& options,
                                         TID3v1& v1, TID3v2& v2, Prompter* progress = nullptr);

// The rows as a batch rename's plan, one row each, for the preview and the
// terminal: Rename is "will rename", NoName "unchanged", a refused row the
// status of its reason.
RenamePlan TagNamesAsPlan(const std::vector<TagNamePlanRow>& rows);

// Moves the file of a Rename row without replacing anything; the row becomes
// Renamed or Refused. True when moved.
bool ExecuteTagName(TagNamePlanRow& row);

// old name + " not renamed!!!", and with the reason in brackets.
std::string TagNameNotRenamedText(const TagNamePlanRow& row);
std::string TagNameFailureText(const TagNamePlanRow& row);

// What a row tells the user: the missing file and each unreadable tag as a
// message (the file's full name after the language's text), a refused file
// as old name + " not renamed!!!" on the status line, with the reason when
// showReason is set.
void ReportTagNameRow(const TagNamePlanRow& row, const TagMessages& messages);

// One file of dir: plan, execute, report. The row says what was done
// (TagNameStatus::Renamed when the file has its new name).
TagNamePlanRow RenameFromTags(const std::string& dir, const std::string& name, const TagNameOptions& options,
                              TID3v1& v1, TID3v2& v2, const TagMessages& messages);

}  // namespace tandrel
