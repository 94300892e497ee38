// The file search: names, lines of text files and ID3 tags, over directory
// trees or over the files selected in the file list, and directory names.
// Every hit appends one line to the result list the engine is given; each
// search clears that list first. Texts and paths are code-page-1251.
//
// The engine reports through the prompt interface: the entry being examined
// as progress text, a file that cannot be read (or is no regular file) as a
// status note (the search goes on), tag read failures as messages. Inside
// files, a binary file (a NUL byte in its first block) is skipped with a note,
// and a line longer than a megabyte is searched only in its first megabyte. keepAlive is called often while a
// search runs, so that a window can repaint. Between two files (and every
// so many lines) it asks the prompter whether the user wants to stop; a
// stopped search keeps the results found so far and says so in cancelled().
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/dirwalk.h"
#include "app/prompts.h"
#include "search/linescan.h"
#include "search/searchplaces.h"

namespace tandrel {

class TID3v1;
class TID3v2;

struct SearchOptions {
    int findMode = 1;          // 0 names, 1 contents (tags under tagSearch); any other value finds nothing
    bool fullString = true;    // the whole query is one needle; off: word search
    bool overSearch = true;    // both sides also pass through ToTranslitShort
    bool recursive = false;    // directory searches descend into sub-directories
    bool addFileName = false;  // name lines read "name \t[dir]" instead of the joined path
    bool tagSearch = false;    // the tag-search condition holds: contents mean ID3 tags, compared lower-cased
};

struct SearchEnvironment {
    Prompter& prompter;
    int language;   // of the tag messages
    TID3v1& id3v1;  // the tag objects the tag tests read with
    TID3v2& id3v2;
    std::function<void()> keepAlive;
};

// The files selected in the file list: names of one directory, in list order.
struct SelectedFiles {
    std::string directory;
    std::vector<std::string> names;
};

class SearchEngine {
public:
    SearchEngine(SearchOptions options, SearchEnvironment environment, std::vector<std::string>& results);

    // The directory search: walks each start point with the query, as one
    // needle (Full String) or by words. byFileWords splits the query at every
    // separator and drops one-character words; otherwise it is split at
    // spaces. A start point without a directory is skipped.
    void RunScan(const std::vector<StartPoint>& starts, const std::string& query, int searchMode, bool byFileWords);

    // The walks RunScan is made of; they append to the results.
    void SearchTree(const std::string& dir, const std::string& mask, bool recursive, const std::string& text);
    void SearchTreeByWords(const std::string& dir, const std::string& mask, bool recursive, bool byFileWords,
                           int searchMode, const std::string& query);
    // words are normalised already.
    void SearchTreeAllWords(const std::string& dir, const std::string& mask, bool recursive, int searchMode,
                            const std::vector<std::string>& words);

    // Directory names below dir (always recursive), tested as substrings.
    void FindDirectories(const std::string& dir, const std::string& query);

    // Lines (or tags) of the selected files. Without Full String each line is
    // tested with every word of the query (a query without a space is its own
    // word). One file adds the line as read (a tag match its path); several
    // add "line \t[name]" (a tag match the file's path).
    void SearchSelectedFiles(const SelectedFiles& files, const std::string& query);
    // The same with every member of the query's synonym group in the place of
    // the query. A synonyms file that cannot be read is shown as a message; a
    // query without a group finds nothing.
    void SearchSelectedFilesWithSynonyms(const SelectedFiles& files, const std::string& query,
                                         const std::string& synonymsPath);

    // The last search ended early because the user asked it to stop.
    bool cancelled() const { return walk_.stopped(); }

private:
    template <class Each>
    void ForEachLine(const std::string& path, Each&& each);
    // ForEachLine for the lines that can hold what scanner looks for; the others are not read as lines.
    template <class Each>
    void ForEachLineHolding(LineScanner& scanner, const std::string& path, Each&& each);
    bool TagMatches(const std::string& needle, const std::string& path);
    bool Nameable(const std::string& path);
    std::vector<std::string> NeedlePieces(const std::string& needle) const;
    void KeepAlive();
    // A walk handler with the counts, the stop between two entries and the
    // notes of unreadable directories.
    WalkHandler CountingHandler(bool showDirectories);

    SearchOptions options_;
    SearchEnvironment env_;
    std::vector<std::string>& results_;
    WalkProgress walk_;
};

}  // namespace tandrel
