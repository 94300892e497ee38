// The output document and the editor window's document as plain data: how a
// document is named, the lines "Add" appends, the find step, sorting and the
// check-list filter. The windows bind their views to these operations.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "text/encoding.h"
#include "text/textlines.h"

namespace tandrel {

// The filters of the output's open dialog; the second one is the playlists'.
inline constexpr const char* kOutputOpenFilter =
    "Text files (*.txt)|*.txt|Play List (*.m3u)|*.m3u|All files (*.*)|*.*";

// How a new output document is opened.
enum class OpenMode {
    FileList = 0,       // the given file, or the file selected in the file list
    SearchResults = 1,  // the lines of the last search
    OpenDialog = 2,     // the file chosen in the open dialog
};

// The name a new document gets. fileName is the name given by the caller (or
// chosen in the open dialog); selectedName the file selected in the file list.
std::string OpenedDocumentName(OpenMode mode, const std::string& fileName, const std::string& selectedName);

// Whether a document name is a playlist (its extension, without regard to case, is "m3u").
bool NamesPlaylist(const std::string& name);

// Whether a double click in the file list opens the file: only under the masks
// "*.txt" and "*.m3u" exactly.
bool MaskOpensDocuments(const std::string& mask);

// "file_" + n with at least three digits + ".txt".
std::string CatalogName(int n);
// The first catalogue name for which no file exists in dir.
std::string NextCatalogName(const std::string& dir);

// The source reference of the "File Path" adding mode: the directory of the
// file selected in the file list joined with the document name; the document
// name alone when no file is selected.
std::string FilePathSource(const std::string& selectedFilePath, const std::string& documentName);

// The line "Add" appends for a checked line: unchanged when it holds "[",
// else with " " TAB "[" source "]" by the adding mode.
std::string AddedLine(const std::string& line, bool addFilePath, bool addFileName, const std::string& documentName,
                      const std::string& filePathSource);

struct TextSelection {
    int start;   // 0-based character offset
    int length;
};

// One step of the editor's find: searches text from findPosition on; on a hit
// returns the selection and moves findPosition behind it, on a miss resets
// findPosition to 0 and returns nothing.
std::optional<TextSelection> FindStep(const std::string& text, const std::string& findText, bool matchCase,
                                      int& findPosition);

// The 0-based position of the first occurrence of findText, without regard to
// case; -1 when there is none.
int FindTextPosition(const std::string& text, const std::string& findText);

// Sorts lines ascending without regard to case, locale-aware; duplicates stay.
void SortLines(std::vector<std::string>& lines);
LineList SortLines(const LineList& lines);

// The check-list filter: the indices of the lines that contain query, both
// lower-cased (and transliterated one letter per letter under Over Search).
std::vector<std::size_t> FilterLines(const std::vector<std::string>& lines, const std::string& query,
                                     bool overSearch);
std::vector<std::uint32_t> FilterLines(const LineList& lines, const std::string& query, bool overSearch);

// Sorts lines "name [path]" by the path in their last bracket pair and gives
// each back as name "[" path "]".
std::vector<std::string> SortByPath(const std::vector<std::string>& lines);

// The files an output line may name, in the order they are tried (the first
// that exists is meant). With nameAndPath the line is "name [directory]" and the
// name ends after the first audio or video extension in it; otherwise the line
// is a full name, or a name in currentDir without ".mp3" or ".wav".
std::vector<std::string> OutputLineFiles(const std::string& line, bool nameAndPath, const std::string& currentDir);

// "File "path" already exist." LF "Do You want to replace this file?"
std::string ReplaceQuestion(int language, const std::string& path);

// Before a document is saved in the encoding it was read in: when lines would
// lose characters code page 1251 cannot hold (edited lines of a Unicode
// document), asks whether to save anyway, naming the lines (1-based). True
// when nothing is lost or the answer is yes.
bool ConfirmCharacterLoss(Prompter& prompter, int language, const std::vector<std::string>& lines,
                          const TextOrigin& origin);

// Text split into lines at LF (a CR before it dropped), and lines joined by LF.
std::vector<std::string> SplitTextLines(const std::string& text);
std::string JoinTextLines(const std::vector<std::string>& lines);

}  // namespace tandrel
