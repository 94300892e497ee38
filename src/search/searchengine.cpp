#include "search/searchengine.h"

#include "app/dirwalk.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "search/searchtext.h"
#include "search/synonymsfile.h"
#include "tags/tagfile.h"
#include "tags/tagmatch.h"
#include "text/cp1251.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

// Lines read between two keep-alive calls.
constexpr unsigned kLinesPerPulse = 1024;

// Hits of a line against the pieces of one needle (each piece: substring and star pattern).
int PiecesHits(const std::vector<std::string>& pieces, const std::string& text) {
    int hits = 0;
    for (const std::string& piece : pieces) hits += NeedleHits(piece, text);
    return hits;
}

// The longest piece of a needle between its stars: every line that a needle
// test (substring or star pattern) counts holds it.
std::string LongestPiece(const std::string& needle) {
    std::string longest;
    std::size_t from = 0;
    while (from <= needle.size()) {
        const std::size_t star = std::min(needle.find('*', from), needle.size());
        if (star - from > longest.size()) longest = needle.substr(from, star - from);
        from = star + 1;
    }
    return longest;
}

void AddTimes(std::vector<std::string>& results, int times, const std::string& line) {
    for (; times > 0; --times) results.push_back(line);
}

}  // namespace

SearchEngine::SearchEngine(SearchOptions options, SearchEnvironment environment, std::vector<std::string>& results)
    : options_(options), env_(std::move(environment)), results_(results), walk_(env_.prompter) {}

WalkHandler SearchEngine::CountingHandler(bool showDirectories) {
    WalkHandler handler;
    walk_.Attach(handler, showDirectories);
    ReportUnreadableDirectories(handler, env_.prompter);
    return handler;
}

void SearchEngine::KeepAlive() {
    if (env_.keepAlive) env_.keepAlive();
}

template <class Each>
void SearchEngine::ForEachLine(const std::string& path, Each&& each) {
    TextLineReader reader;
    if (FileResult opened = reader.Open(path); !opened) {
        env_.prompter.SetStatusText(Utf8ToCp1251(opened.error).text);
        return;
    }
    // A NUL byte in the first block marks a binary file (audio, images): its
    // "lines" would only fill the results with junk.
    if (reader.FirstBlockHoldsNul()) {
        env_.prompter.SetStatusText(path + ": a binary file; not searched");
        return;
    }
    std::string line;
    unsigned count = 0;
    while (reader.Next(line)) {
        each(line);
        if (++count % kLinesPerPulse == 0) {
            KeepAlive();
            if (walk_.Stop()) return;  // a huge file need not be read to its end
        }
    }
    if (reader.Failed()) env_.prompter.SetStatusText(path + ": a read error ended the search of this file");
    if (const std::size_t cut = reader.CutLines())
        env_.prompter.SetStatusText(path + ": " + std::to_string(cut) + " line(s) longer than " +
                                    std::to_string(TextLineReader::kDefaultMaxLineLength / (1024 * 1024)) +
                                    " MB; only their start was searched");
}

template <class Each>
void SearchEngine::ForEachLineHolding(LineScanner& scanner, const std::string& path, Each&& each) {
    if (!scanner.Usable()) {
        ForEachLine(path, each);
        return;
    }
    const LineScanReport report = scanner.Scan(
        path, [&](const std::string& line) { each(line); }, [this] { KeepAlive(); });
    if (!report.opened) {
        env_.prompter.SetStatusText(Utf8ToCp1251(report.opened.error).text);
        return;
    }
    if (report.binary) {
        env_.prompter.SetStatusText(path + ": a binary file; not searched");
        return;
    }
    if (report.failed) env_.prompter.SetStatusText(path + ": a read error ended the search of this file");
    if (report.cutLines)
        env_.prompter.SetStatusText(path + ": " + std::to_string(report.cutLines) + " line(s) longer than " +
                                    std::to_string(TextLineReader::kDefaultMaxLineLength / (1024 * 1024)) +
                                    " MB; only their start was searched");
}

// The tag tests compare lower-cased fields, so the needle is only lower-cased
// too: both sides pass through the same normalising, with or without Over Search.
bool SearchEngine::TagMatches(const std::string& needle, const std::string& path) {
    const TagMessages messages{env_.prompter, env_.language};
    return MatchID3Tags(env_.id3v1, env_.id3v2, messages, needle, path);
}

bool SearchEngine::Nameable(const std::string& path) {
    if (!PathIsUnmappable(path)) return true;
    env_.prompter.SetStatusText(path + ": the name holds a character outside code page 1251; not searched");
    return false;
}

std::vector<std::string> SearchEngine::NeedlePieces(const std::string& needle) const {
    if (options_.fullString) return {needle};
    StringList words;
    SplitByChar(needle, ' ', words);
    if (words.empty()) words.push_back(needle);
    return words;
}

void SearchEngine::RunScan(const std::vector<StartPoint>& starts, const std::string& query, int searchMode,
                           bool byFileWords) {
    results_.clear();
    walk_.Restart();
    for (const StartPoint& start : starts) {
        if (walk_.stopped()) break;
        if (options_.fullString)
            SearchTree(start.directory, start.mask, options_.recursive, query);
        else
            SearchTreeByWords(start.directory, start.mask, options_.recursive, byFileWords, searchMode, query);
    }
}

void SearchEngine::SearchTree(const std::string& dir, const std::string& mask, bool recursive,
                              const std::string& text) {
    if (dir.empty()) return;
    const std::string needle = NormaliseForSearch(text, options_.overSearch);
    const std::string tagNeedle = ToLowerCase(text);
    LineScanner scanner(LongestPiece(needle), options_.overSearch);
    std::string normal;
    WalkHandler handler = CountingHandler(false);
    handler.onFile = [&](const std::string& d, const FindData& file) {
        walk_.File(d, file.name);
        KeepAlive();
        if (options_.findMode == 0) {
            normal.assign(file.name);
            normal = NormaliseForSearch(std::move(normal), options_.overSearch);
            if (const int hits = NeedleHits(needle, normal))
                AddTimes(results_, hits, NameLine(d, file.name, options_.addFileName));
            return;
        }
        if (options_.findMode != 1) return;
        const std::string path = JoinPath(d, file.name);
        if (!Nameable(path)) return;
        ForEachLineHolding(scanner, path, [&](const std::string& line) {
            normal.assign(line);
            normal = NormaliseForSearch(std::move(normal), options_.overSearch);
            if (const int hits = NeedleHits(needle, normal)) AddTimes(results_, hits, LineHit(line, path));
        });
    };
    // The tag test takes onFile's place: each file is opened by its name in
    // the directory being listed, through one reader for the whole walk.
    TagFileReader reader;
    const TagMessages messages{env_.prompter, env_.language};
    if (options_.tagSearch && options_.findMode == 1) {
        handler.onFileAt = [&](const std::string& d, const FindData& file, const ListedEntry& at) {
            walk_.File(d, file.name);
            KeepAlive();
            const std::string path = JoinPath(d, file.name);
            if (!Nameable(path)) return;
            if (MatchListedID3Tags(env_.id3v1, env_.id3v2, reader, messages, tagNeedle, path, file, at))
                results_.push_back(NameLine(d, file.name, options_.addFileName));
        };
    }
    WalkDirectory(dir, recursive, MaskFilter(mask), handler, FindDetail::NamesAndKinds);
}

void SearchEngine::SearchTreeByWords(const std::string& dir, const std::string& mask, bool recursive,
                                     bool byFileWords, int searchMode, const std::string& query) {
    StringList words;
    if (byFileWords)
        SplitToWords(query, words);
    else
        SplitByChar(query, ' ', words);
    if (words.empty()) {
        SearchTree(dir, mask, recursive, query);
    } else if (searchMode == 0) {
        for (const std::string& word : words) {
            if (walk_.stopped()) break;
            SearchTree(dir, mask, recursive, word);
        }
    } else if (searchMode >= 1 && searchMode <= 3) {
        for (std::string& word : words) word = NormaliseForSearch(std::move(word), options_.overSearch);
        SearchTreeAllWords(dir, mask, recursive, searchMode, words);
    }
}

void SearchEngine::SearchTreeAllWords(const std::string& dir, const std::string& mask, bool recursive,
                                      int searchMode, const std::vector<std::string>& words) {
    if (dir.empty()) return;
    // Both word modes need every word in a line: the longest one picks the lines to test.
    std::string longest;
    for (const std::string& word : words)
        if (word.size() > longest.size()) longest = word;
    LineScanner scanner(searchMode == 1 || searchMode == 2 ? longest : std::string(), options_.overSearch);
    std::string normal;
    WalkHandler handler = CountingHandler(false);
    handler.onFile = [&](const std::string& d, const FindData& file) {
        walk_.File(d, file.name);
        KeepAlive();
        if (options_.findMode == 0) {
            if (MatchWords(NormaliseForSearch(file.name, options_.overSearch), searchMode, words))
                results_.push_back(NameLine(d, file.name, options_.addFileName));
            return;
        }
        if (options_.findMode != 1) return;
        const std::string path = JoinPath(d, file.name);
        if (!Nameable(path)) return;
        if (options_.tagSearch) {
            results_.push_back(kUseAnotherMode);
            return;
        }
        ForEachLineHolding(scanner, path, [&](const std::string& line) {
            normal.assign(line);
            normal = NormaliseForSearch(std::move(normal), options_.overSearch);
            if (MatchWords(normal, searchMode, words)) results_.push_back(LineHit(line, path));
        });
    };
    WalkDirectory(dir, recursive, MaskFilter(mask), handler, FindDetail::NamesAndKinds);
}

void SearchEngine::FindDirectories(const std::string& dir, const std::string& query) {
    results_.clear();
    walk_.Restart();
    if (dir.empty()) return;
    const std::string needle = NormaliseForSearch(query, options_.overSearch);
    WalkHandler handler = CountingHandler(true);
    handler.onDirectory = [&](const std::string& parent, const FindData& subdir) {
        KeepAlive();
        if (ContainsNeedle(NormaliseForSearch(subdir.name, options_.overSearch), needle))
            results_.push_back(NameLine(parent, subdir.name, options_.addFileName));
    };
    WalkDirectory(dir, true, [](const std::string&) { return false; }, handler, FindDetail::NamesAndKinds);
}

void SearchEngine::SearchSelectedFiles(const SelectedFiles& files, const std::string& query) {
    results_.clear();
    walk_.Restart();
    if (files.names.empty()) return;
    walk_.SetTotal(static_cast<std::int64_t>(files.names.size()));
    const std::string needle = NormaliseForSearch(query, options_.overSearch);
    const std::vector<std::string> pieces = NeedlePieces(needle);
    const bool single = files.names.size() == 1;
    std::string normal;
    for (const std::string& name : files.names) {
        if (walk_.Stop()) break;
        walk_.CountFile();
        const std::string path = JoinPath(files.directory, name);
        if (!Nameable(path) || !FileExists(path)) continue;
        if (options_.tagSearch) {
            if (TagMatches(ToLowerCase(query), path)) results_.push_back(path);
            continue;
        }
        ForEachLine(path, [&](const std::string& line) {
            walk_.Show(line);
            normal.assign(line);
            normal = NormaliseForSearch(std::move(normal), options_.overSearch);
            if (const int hits = PiecesHits(pieces, normal)) AddTimes(results_, hits, single ? line : LineHit(line, name));
        });
    }
}

void SearchEngine::SearchSelectedFilesWithSynonyms(const SelectedFiles& files, const std::string& query,
                                                   const std::string& synonymsPath) {
    results_.clear();
    walk_.Restart();
    {
        TextLineReader probe;
        if (FileResult opened = probe.Open(synonymsPath); !opened) {
            env_.prompter.ShowMessage(Utf8ToCp1251(opened.error).text);
            return;
        }
    }
    const std::vector<std::string> members = SynonymMembers(query, synonymsPath);
    if (members.empty() || files.names.empty()) return;
    std::vector<std::vector<std::string>> memberPieces;
    for (const std::string& member : members)
        memberPieces.push_back(NeedlePieces(NormaliseForSearch(member, options_.overSearch)));
    const bool single = files.names.size() == 1;
    std::string normal;
    auto normalise = [&](const std::string& line) -> const std::string& {
        walk_.Show(line);
        normal.assign(line);
        normal = NormaliseForSearch(std::move(normal), options_.overSearch);
        return normal;
    };
    walk_.SetTotal(static_cast<std::int64_t>(files.names.size()));
    for (const std::string& name : files.names) {
        if (walk_.Stop()) break;
        walk_.CountFile();
        const std::string path = JoinPath(files.directory, name);
        if (!Nameable(path) || !FileExists(path)) continue;
        if (options_.tagSearch) {
            for (const std::string& member : members)
                if (TagMatches(member, path)) results_.push_back(path);
        } else if (single) {
            // One file: the results come grouped by member.
            for (const std::vector<std::string>& pieces : memberPieces)
                ForEachLine(path, [&](const std::string& line) {
                    AddTimes(results_, PiecesHits(pieces, normalise(line)), line);
                });
        } else {
            ForEachLine(path, [&](const std::string& line) {
                const std::string& text = normalise(line);
                for (const std::vector<std::string>& pieces : memberPieces)
                    if (const int hits = PiecesHits(pieces, text)) AddTimes(results_, hits, LineHit(line, name));
            });
        }
    }
}

}  // namespace tandrel
