#include "support/cp1251_text.h"
#include "search/searchengine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "platform/textfile.h"
#include "support/child_process.h"

#include "search/searchtext.h"
#include "search/synonymsfile.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "tags/tagbytes.h"
#include "tags/tagmatch.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "text/cp1251.h"
#include "text/encoding.h"
#include "text/paths.h"
#include "text/transforms.h"

namespace tandrel {
namespace {

using test::PromptKind;
using Lines = std::vector<std::string>;


class SearchEngineTest : public ::testing::Test {
protected:
    SearchEngine Engine(SearchOptions o) {
        return SearchEngine(o, SearchEnvironment{prompter, 0, id3v1, id3v2, [this] { ++pulses; }}, results);
    }
    SearchOptions ByName() {
        SearchOptions o;
        o.findMode = 0;
        o.overSearch = false;
        return o;
    }
    // Runs a scan of the folder; the results as UTF-8 names after the last "/",
    // sorted unless the order matters (the walk order is the file system's).
    Lines Scan(SearchOptions o, const std::string& query, const std::string& mask = "*.*", int mode = 0,
               bool sorted = true) {
        Engine(o).RunScan({{tmp.str(), mask}}, Cp(query), mode, false);
        Lines names;
        for (const std::string& line : results) names.push_back(Cp1251ToUtf8(line.substr(line.rfind('/') + 1)));
        if (sorted) std::sort(names.begin(), names.end());
        return names;
    }
    void Mp3(const std::string& name, const std::string& artistUtf8) {
        const std::string path = tmp.Write(name, std::string(600, '\x55'));
        TID3v1 tag;
        tag.SetArtist(Cp(artistUtf8));
        ASSERT_TRUE(tag.SaveToFile(path)) << tag.LastError();
    }

    test::TempDir tmp;
    test::ScriptedPrompter prompter;
    TID3v1 id3v1;
    TID3v2 id3v2;
    Lines results;
    int pulses = 0;
};

TEST_F(SearchEngineTest, NameQueriesStarsCaseAndOverSearch) {
    for (const char* name : {"xxabyycdzz.txt", "ab.txt", "ЕЛКА.txt", "Рок.mp3", "Rok.wav", "other.doc"})
        tmp.Write(name, "");
    SearchOptions o = ByName();
    EXPECT_EQ(Scan(o, "ab*cd"), Lines{"xxabyycdzz.txt"});
    EXPECT_EQ(Scan(o, "ab*b"), (Lines{"ab.txt", "xxabyycdzz.txt"}));
    EXPECT_EQ(Scan(o, "ёлка"), Lines{"ЕЛКА.txt"});
    EXPECT_EQ(Scan(o, "*").size(), 6u);  // every file once: a name holds no star
    EXPECT_EQ(Scan(o, "рок"), Lines{"Рок.mp3"});
    o.overSearch = true;
    EXPECT_EQ(Scan(o, "rok"), (Lines{"Rok.wav", "Рок.mp3"}));
    EXPECT_EQ(Scan(o, "рок"), (Lines{"Rok.wav", "Рок.mp3"}));
}

TEST_F(SearchEngineTest, WordModesOverNames) {
    for (const char* name : {"one two.txt", "two only.txt", "two one.txt"}) tmp.Write(name, "");
    SearchOptions o = ByName();
    o.fullString = false;
    // Any word: one walk per word, an entry listed once for each word it holds.
    const Lines any = Scan(o, "one two", "*.*", 0, false);
    ASSERT_EQ(any.size(), 5u);
    EXPECT_NE(any[1].find("one"), std::string::npos);
    EXPECT_EQ(std::count(any.begin(), any.end(), "one two.txt"), 2);
    EXPECT_EQ(Scan(o, "one two", "*.*", 1), (Lines{"one two.txt", "two one.txt"}));
    EXPECT_EQ(Scan(o, "one two", "*.*", 2), Lines{"one two.txt"});
    EXPECT_TRUE(Scan(o, "one  two", "*.*", 1).empty());  // two spaces: an empty word
    EXPECT_TRUE(Scan(o, "one two", "*.*", 3).empty());
    EXPECT_TRUE(Scan(o, "one two", "*.*", 4).empty());
    for (int mode = 0; mode <= 4; ++mode) EXPECT_EQ(Scan(o, "only", "*.*", mode), Lines{"two only.txt"}) << mode;
    // File-name words: digits and hyphens separate, one-character words drop.
    tmp.Write("Title.txt", "");
    tmp.Write("01.txt", "");
    Engine(o).RunScan({{tmp.str(), "*.*"}}, "01 - Title - x", 0, true);
    EXPECT_EQ(results, Lines{tmp / "Title.txt"});
}

TEST_F(SearchEngineTest, LineHitsOfAnyLengthAndTheResultLineForms) {
    const std::string big(200000, 'z');  // longer than the reader's buffer
    tmp.Write("Texts/a.txt", "first song\r\nsong and song\rx*y\nnothing\r\n" + big + "song" + big);
    SearchOptions o;
    o.recursive = true;
    Engine(o).RunScan({{tmp.str(), "*.txt"}}, "song", 0, false);
    const std::string path = tmp / "Texts/a.txt";
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0], "first song \t[" + path + "]");
    EXPECT_EQ(results[1], "song and song \t[" + path + "]");  // twice in the line, listed once
    EXPECT_EQ(results[2], big + "song" + big + " \t[" + path + "]");
    Engine(o).RunScan({{tmp.str(), "*.txt"}}, "x*y", 0, false);
    EXPECT_EQ(results, Lines(2, "x*y \t[" + path + "]"));  // substring and pattern
    o.findMode = 0;
    Engine(o).RunScan({{tmp.str(), "*.*"}}, "a.txt", 0, false);
    EXPECT_EQ(results, Lines{path});
    o.addFileName = true;
    Engine(o).RunScan({{tmp.str(), "*.*"}}, "a.txt", 0, false);
    EXPECT_EQ(results, Lines{"a.txt \t[" + tmp / "Texts]"});
}

TEST_F(SearchEngineTest, TagConditionTestsTagsAndWordModesRefuse) {
    Mp3("a.mp3", "Рок Band");
    Mp3("b.mp3", "Pop");
    tmp.Write("c.txt", "Рок Band");
    SearchOptions o;
    o.tagSearch = true;  // Over Search on: the tag fields and the needle are both only lower-cased
    EXPECT_EQ(Scan(o, "РОК", "*.mp3"), Lines{"a.mp3"});
    o.fullString = false;
    EXPECT_EQ(Scan(o, "рок band", "*.mp3", 1), Lines(2, kUseAnotherMode));
    EXPECT_EQ(Scan(o, "рок band", "*.mp3", 0), Lines(2, "a.mp3"));  // any word: one tag test per word
}

// The tag search of a tree opens each plain file by its name in the listed
// folder; what it finds, in walk order, and the messages it shows are those
// of the test of each file by its path.
TEST_F(SearchEngineTest, TagSearchOfATreeGivesTheTestOfEachFileByPath) {
    using test::Audio;
    using test::Bytes;
    using test::Zeros;
    auto frame = [](const std::string& id, const std::string& content) {
        return id + test::Be32(static_cast<std::uint32_t>(content.size())) + Zeros(2) + content;
    };
    auto tag23 = [](const std::string& frames, std::uint32_t size) {
        return std::string("ID3") + Bytes({3, 0, 0}) + test::Syncsafe(size) + frames;
    };
    const std::string title = frame("TIT2", Bytes({0}) + "Gamma");
    const std::string v2 = tag23(title, static_cast<std::uint32_t>(title.size()));
    const std::string v1 = std::string("TAG") + "Alpha" + Zeros(25) + "Beta" + Zeros(90) + Bytes({17});
    const std::string bigFrames = frame("TXXX", Bytes({0}) + std::string(9000, 'p')) + title;
    // Files around the 8192-byte start window that a first read takes whole.
    auto sized = [&](std::size_t size) { return v2 + Audio(size - v2.size() - v1.size()) + v1; };
    const std::pair<const char*, std::string> files[] = {
        {"both.mp3", v2 + Audio(700) + v1},
        {"v1only.mp3", Audio(700) + v1},
        {"v2only.mp3", v2 + Audio(700)},
        {"pastend.mp3", tag23(title, 100000) + Audio(300)},       // the header's size runs past the end
        {"short.mp3", v2},                                           // under 128 bytes: a message
        {"tiny.mp3", "ID3"},
        {"big.mp3", tag23(bigFrames, static_cast<std::uint32_t>(bigFrames.size())) + Audio(700) + v1},
        {"w8191.mp3", sized(8191)},
        {"w8192.mp3", sized(8192)},
        {"w8193.mp3", sized(8193)},
    };
    for (const auto& [name, bytes] : files) tmp.Write(name, bytes);
    std::filesystem::create_symlink(tmp / "both.mp3", tmp / "link.mp3");
    std::filesystem::create_symlink(tmp / "gone.mp3", tmp / "broken.mp3");
    ASSERT_EQ(::mkfifo((tmp / "fifo.mp3").c_str(), 0644), 0);
    std::filesystem::create_directory(tmp / "folder.mp3");

    SearchOptions o;
    o.tagSearch = true;
    for (const char* query : {"ALPHA", "beta", "gamma", "rock", "ppp"}) {
        test::ScriptedPrompter listed, byPath;
        SearchEngine(o, SearchEnvironment{listed, 0, id3v1, id3v2, nullptr}, results)
            .RunScan({{tmp.str(), "*.mp3"}}, query, 0, false);
        TID3v1 t1;
        TID3v2 t2;
        Lines expected;
        WalkHandler each;
        each.onFile = [&](const std::string& dir, const FindData& file) {
            const std::string path = JoinPath(dir, file.name);
            if (MatchID3Tags(t1, t2, TagMessages{byPath, 0}, ToLowerCase(query), path)) expected.push_back(path);
        };
        WalkDirectory(tmp.str(), false, MaskFilter("*.mp3"), each, FindDetail::NamesAndKinds);
        EXPECT_EQ(results, expected) << query;
        EXPECT_EQ(listed.Texts(PromptKind::Message), byPath.Texts(PromptKind::Message)) << query;
        EXPECT_EQ(listed.Texts(PromptKind::Status), byPath.Texts(PromptKind::Status)) << query;
    }
    // Both ways agree on what they find, and they find this (a file too short
    // for an ID3v1 record gets its message, and its ID3v2 tag is still read):
    EXPECT_EQ(Scan(o, "gamma", "*.mp3"), (Lines{"big.mp3", "both.mp3", "link.mp3", "pastend.mp3", "short.mp3",
                                               "v2only.mp3", "w8191.mp3", "w8192.mp3", "w8193.mp3"}));
    EXPECT_EQ(Scan(o, "rock", "*.mp3"), (Lines{"big.mp3", "both.mp3", "link.mp3", "v1only.mp3", "w8191.mp3",
                                              "w8192.mp3", "w8193.mp3"}));
    const Lines messages = prompter.Texts(PromptKind::Message);
    for (const char* unread : {"short.mp3", "tiny.mp3", "broken.mp3", "fifo.mp3"})
        EXPECT_TRUE(std::any_of(messages.begin(), messages.end(),
                                [&](const std::string& m) { return m.find(unread) != m.npos; }))
            << unread;
}

TEST_F(SearchEngineTest, AFileThatCannotBeReadIsNotedAndTheSearchGoesOn) {
    tmp.Write("日本.txt", "song");  // listed, but its name has no code-page-1251 form
    tmp.Write("ok.txt", "song");
    tmp.Write("closed.txt", "song");
    ASSERT_EQ(::chmod((tmp / "closed.txt").c_str(), 0), 0);
    const std::size_t readable = ::geteuid() == 0 ? 2 : 1;  // root reads a file without permissions
    EXPECT_EQ(Scan(SearchOptions{}, "song").size(), readable);
    const Lines notes = prompter.Texts(PromptKind::Status);
    EXPECT_EQ(notes.size(), 3 - readable);
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(),
                            [](const std::string& n) { return n.find("code page 1251") != n.npos; }));
    EXPECT_GE(pulses, 3);
}

Lines ReadLines(const std::string& path) {
    Lines lines;
    std::istringstream in(test::ReadAll(path));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(SearchEngineTest, InsideSearchSkipsFifosDevicesAndBinaryFilesWithANote) {
    tmp.Write("files/notes.txt", "a song\r\n");
    ASSERT_EQ(::mkfifo((tmp / "files/fifo.txt").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", tmp / "files/zero.txt");
    std::filesystem::create_symlink("/dev/null", tmp / "files/null.txt");
    std::filesystem::resize_file(tmp.Write("files/sparse.txt", "song"), 1ull << 30);  // 1 GB, no line end
    tmp.Write("files/tagged.mp3", std::string("ID3\x03\0\0\0\0\0\x10", 10) + "TIT2 song\n" + std::string(4000, '\xFF'));
    for (const bool selected : {false, true}) {
        // In a child process: a search that hangs or reads forever is killed there.
        const test::ChildOutcome outcome = test::RunInChild([&] {
            SearchOptions o;
            o.overSearch = false;
            const Lines names = {"notes.txt", "fifo.txt", "zero.txt", "null.txt", "sparse.txt", "tagged.mp3"};
            if (selected)
                Engine(o).SearchSelectedFiles({tmp / "files", names}, "song");
            else
                Engine(o).RunScan({{tmp / "files", "*.*"}}, "song", 0, false);
            std::string out, notes;
            for (const std::string& r : results) out += r + "\n";
            for (const std::string& n : prompter.Texts(PromptKind::Status)) notes += n + "\n";
            tmp.Write("results", out);
            tmp.Write("notes", notes);
            return 0;
        }, std::chrono::seconds(20));
        ASSERT_TRUE(outcome.finished) << "the inside search hangs or reads forever";
        ASSERT_EQ(outcome.exitCode, 0);
        const std::string prefix = selected ? "" : " \t[" + tmp / "files/notes.txt]";
        EXPECT_EQ(ReadLines(tmp / "results"), Lines{selected ? "a song \t[notes.txt]" : "a song" + prefix});
        const Lines notes = ReadLines(tmp / "notes");
        auto noted = [&](const std::string& name, const std::string& why) {
            return std::any_of(notes.begin(), notes.end(), [&](const std::string& n) {
                return n.find(name) != n.npos && n.find(why) != n.npos;
            });
        };
        for (const char* special : {"fifo.txt", "zero.txt", "null.txt"})
            EXPECT_TRUE(noted(special, "not a regular file")) << special;
        for (const char* binary : {"sparse.txt", "tagged.mp3"}) EXPECT_TRUE(noted(binary, "binary")) << binary;
    }
}

TEST_F(SearchEngineTest, ALineWithoutEndSearchesItsFirstMegabyteAndIsCutThereWithANote) {
    const std::size_t limit = TextLineReader::kDefaultMaxLineLength;
    tmp.Write("one.txt", "song" + std::string(3 * limit, 'a') + "\r\nlast song\r\n");
    tmp.Write("late.txt", std::string(limit, 'a') + "song");
    SearchOptions o;
    o.overSearch = false;
    Engine(o).RunScan({{tmp.str(), "*.txt"}}, "song", 0, false);
    std::sort(results.begin(), results.end());
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0], "last song \t[" + tmp / "one.txt]");
    EXPECT_EQ(results[1], "song" + std::string(limit - 4, 'a') + " \t[" + tmp / "one.txt]");
    const Lines notes = prompter.Texts(PromptKind::Status);
    EXPECT_EQ(notes.size(), 2u);
    for (const std::string& note : notes) EXPECT_NE(note.find("longer than 1 MB"), note.npos) << note;
}

TEST_F(SearchEngineTest, StartPointsInOrderAndMissingOnesYieldNothing) {
    tmp.Write("c/song.txt", "");
    tmp.Write("d/song.txt", "");
    Engine(ByName()).RunScan({{tmp / "c", "*.*"}, {tmp / "missing", "*.*"}, {"", "*.*"}, {tmp / "d", "*.*"}},
                             "song", 0, false);
    EXPECT_EQ(results, (Lines{tmp / "c/song.txt", tmp / "d/song.txt"}));
    Engine(ByName()).RunScan({}, "song", 0, false);
    EXPECT_TRUE(results.empty());
}

TEST_F(SearchEngineTest, DirectoriesAreFoundByNameAndAlwaysDescended) {
    tmp.Write("Rock/Rock Ballads/x.txt", "");
    tmp.Write("Pop/rocks.txt", "");
    SearchOptions o = ByName();
    Engine(o).FindDirectories(tmp.str(), "ROCK");
    std::sort(results.begin(), results.end());
    EXPECT_EQ(results, (Lines{tmp / "Rock", tmp / "Rock/Rock Ballads"}));
    o.addFileName = true;
    Engine(o).FindDirectories(tmp / "Rock", "ballads");
    EXPECT_EQ(results, Lines{"Rock Ballads \t[" + tmp / "Rock]"});
}

// A Cyrillic query was found in code-page-1251 files only: the same line in a
// UTF-8 file (as most editors here write it) was missed.
TEST_F(SearchEngineTest, CyrillicQueryIsFoundInEveryTextEncoding) {
    const std::string line = "Группа крови на рукаве";
    const std::string ascii(100000, 'a');  // the first Cyrillic letter lies past the first block
    tmp.Write("cp1251.txt", Cp("intro\r\n" + line + "\r\n"));
    tmp.Write("utf8.txt", "intro\n" + line + "\n");
    tmp.Write("utf8-late.txt", ascii + "\n" + line + "\n");
    tmp.Write("utf8-mark.txt", "\xEF\xBB\xBF" + line + "\r\n");
    tmp.Write("utf16le.txt", "\xFF\xFE" + Utf8ToUtf16(line + "\r\n", false));
    tmp.Write("utf16be.txt", "\xFE\xFF" + Utf8ToUtf16("intro\r\n" + line, true));
    tmp.Write("other.txt", "intro\r\n" + Cp("кровь") + "\r\n");
    SearchOptions o;
    EXPECT_EQ(Scan(o, "КРОВИ", "*.txt"), (Lines{"cp1251.txt]", "utf16be.txt]", "utf16le.txt]", "utf8-late.txt]",
                                                "utf8-mark.txt]", "utf8.txt]"}));
    for (const std::string& hit : results) EXPECT_EQ(hit.substr(0, hit.find(" \t")), Cp(line));
    // UTF-16 holds NUL bytes, yet it is text.
    EXPECT_EQ(prompter.Count(PromptKind::Status), 0u) << prompter.statusText();
    Engine(o).SearchSelectedFiles({tmp.str(), {"utf8.txt"}}, Cp("рукаве"));
    EXPECT_EQ(results, Lines{Cp(line)});
}

TEST_F(SearchEngineTest, SelectedFiles) {
    tmp.Write("a.txt", "one two\r\ntwo\r\nthree\r\n");
    tmp.Write("b.txt", "two\r\n");
    Mp3("c.mp3", "Artist");
    SearchOptions o;
    Engine(o).SearchSelectedFiles({tmp.str(), {"a.txt"}}, "TWO");
    EXPECT_EQ(results, (Lines{"one two", "two"}));
    EXPECT_EQ(prompter.progressText(), "three");  // each line is shown
    Engine(o).SearchSelectedFiles({tmp.str(), {"a.txt", "missing.txt", "b.txt"}}, "two");
    EXPECT_EQ(results, (Lines{"one two \t[a.txt]", "two \t[a.txt]", "two \t[b.txt]"}));
    o.fullString = false;
    Engine(o).SearchSelectedFiles({tmp.str(), {"a.txt"}}, "one two");  // one line per word it holds
    EXPECT_EQ(results, (Lines{"one two", "one two", "two"}));
    Engine(o).SearchSelectedFiles({tmp.str(), {"a.txt"}}, "three");  // no space: the query is its own word
    EXPECT_EQ(results, Lines{"three"});
    o.tagSearch = true;
    Engine(o).SearchSelectedFiles({tmp.str(), {"b.txt", "c.mp3"}}, "ARTIST");
    EXPECT_EQ(results, Lines{tmp / "c.mp3"});
}

TEST_F(SearchEngineTest, SynonymGroupsReplaceTheQuery) {
    tmp.Write("a.txt", Cp("rock and рок\r\nrock\r\nroll over\r\n"));
    tmp.Write("b.txt", Cp("рок\r\n"));
    const std::string file = tmp / kSynonymsFileName;
    auto run = [&](const std::string& synonyms, Lines names, const char* query, bool fullString = true) {
        tmp.Write(kSynonymsFileName, Cp(synonyms));
        SearchOptions o;
        o.fullString = fullString;
        Engine(o).SearchSelectedFilesWithSynonyms({tmp.str(), std::move(names)}, Cp(query), file);
        Lines lines;
        for (const std::string& l : results) lines.push_back(Cp1251ToUtf8(l));
        return lines;
    };
    const char* groups = "Syn1=pop,поп\r\nSyn2=rock,рок\r\nSyn3=rock,stone";
    // The first group holding the query; one file: grouped by member.
    EXPECT_EQ(run(groups, {"a.txt"}, "ROCK"), (Lines{"rock and рок", "rock", "rock and рок"}));
    EXPECT_EQ(run(groups, {"a.txt"}, "ro").size(), 3u);
    // Several files: by file, by line, by member.
    EXPECT_EQ(run(groups, {"a.txt", "b.txt"}, "ROCK"),
              (Lines{"rock and рок \t[a.txt]", "rock and рок \t[a.txt]", "rock \t[a.txt]", "рок \t[b.txt]"}));
    EXPECT_TRUE(run("Syn1=rock", {"a.txt"}, "rock").empty());  // no comma: no members
    // " roll" keeps its space: cut into an empty piece and "roll", or searched whole.
    EXPECT_EQ(run("Syn1=rock, roll", {"a.txt"}, "roll", false), (Lines{"rock and рок", "rock", "roll over"}));
    EXPECT_EQ(run("Syn1=rock, roll", {"a.txt"}, "roll", true), (Lines{"rock and рок", "rock"}));

    std::remove(file.c_str());
    Engine(SearchOptions{}).SearchSelectedFilesWithSynonyms({tmp.str(), {"a.txt"}}, "rock", file);
    EXPECT_TRUE(results.empty());
    ASSERT_EQ(prompter.Count(PromptKind::Message), 1u);
    EXPECT_NE(prompter.Texts(PromptKind::Message)[0].find(kSynonymsFileName), std::string::npos);
}

TEST(SynonymsFile, LinesRoundTripAndNewNames) {
    test::TempDir tmp;
    const std::string path = tmp.Write(kSynonymsFileName, "Syn1=a,b\nno equals\r\nSyn2=x=y, z\r\n");
    std::vector<SynonymGroup> groups;
    ASSERT_TRUE(LoadSynonymGroups(path, groups));
    EXPECT_EQ(groups, (std::vector<SynonymGroup>{{"Syn1", "a,b"}, {"", ""}, {"Syn2", "x=y, z"}}));
    groups.erase(groups.begin());
    groups.push_back({NewSynonymGroupName(groups.size() + 1), "c,d"});
    ASSERT_TRUE(SaveSynonymGroups(path, groups));
    EXPECT_EQ(test::ReadAll(path), "=\r\nSyn2=x=y, z\r\nSyn3=c,d\r\n");
}

TEST(SynonymsFile, MembersOfAFifoAreNoneInsteadOfAReadThatBlocks) {
    test::TempDir tmp;
    const std::string path = tmp / kSynonymsFileName;
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    std::vector<SynonymGroup> groups;
    EXPECT_FALSE(LoadSynonymGroups(path, groups).ok);
    EXPECT_TRUE(SynonymMembers("rock", path).empty());
    std::filesystem::remove(path);
    tmp.Write(kSynonymsFileName, "Syn1=Pop\r\nSyn2=Rock, Stone\r\n");
    EXPECT_EQ(SynonymMembers("ROCK", path), (Lines{"rock", " stone"}));
}

// Every kind of search stops between two files once the user asks, keeping
// what it found; the counts of the progress line go with it.
TEST_F(SearchEngineTest, StoppedSearchesKeepWhatTheyFound) {
    for (const char* name : {"x/song1.txt", "x/song2.txt", "x/y/song3.txt", "z/song4.txt", "z/song5.txt"})
        tmp.Write(name, "song\r\n");
    SearchOptions o = ByName();
    o.recursive = true;
    EXPECT_EQ(Scan(o, "song").size(), 5u);
    EXPECT_FALSE(Engine(o).cancelled());

    // Runs a search whose user stops it after two files; true when it says it was stopped.
    std::vector<ProgressInfo> reports;
    auto stoppedAfterTwo = [&](const std::function<void(SearchEngine&)>& run) {
        test::ScriptedPrompter user;
        user.StopAfterFiles(2);
        SearchEngine engine(o, SearchEnvironment{user, 0, id3v1, id3v2, {}}, results);
        run(engine);
        reports = user.progressReports();
        return engine.cancelled();
    };
    const std::vector<StartPoint> both{{tmp / "x", "*.*"}, {tmp / "z", "*.*"}};
    EXPECT_TRUE(stoppedAfterTwo([&](SearchEngine& e) { e.RunScan(both, "song", 0, false); }));
    EXPECT_EQ(results.size(), 2u);  // nothing of the second start point either
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().files, 2);
    EXPECT_GE(reports.back().directories, 1);
    EXPECT_EQ(reports.back().entry.rfind(tmp / "x/", 0), 0u) << reports.back().entry;

    o.fullString = false;  // each word walks anew: none after the stop
    EXPECT_TRUE(stoppedAfterTwo([&](SearchEngine& e) { e.RunScan({{tmp.str(), "*.*"}}, "song txt", 0, false); }));
    EXPECT_EQ(results.size(), 2u);

    o.findMode = 1;  // inside files
    o.fullString = true;
    EXPECT_TRUE(stoppedAfterTwo([&](SearchEngine& e) { e.RunScan({{tmp.str(), "*.*"}}, "song", 0, false); }));
    EXPECT_EQ(results.size(), 2u);

    // Selected files know their total; the third is not read.
    EXPECT_TRUE(stoppedAfterTwo([&](SearchEngine& e) {
        e.SearchSelectedFiles({tmp / "x", {"song1.txt", "song2.txt", "y/song3.txt"}}, "song");
    }));
    EXPECT_EQ(results.size(), 2u);
    EXPECT_EQ(reports.back().total, 3);
}

TEST_F(SearchEngineTest, StoppedDirectorySearchKeepsTheDirectoriesFound) {
    for (const char* name : {"a1/f", "a2/f", "a3/f", "a4/f"}) tmp.Write(name, "");
    SearchOptions o = ByName();
    SearchEngine all = Engine(o);
    all.FindDirectories(tmp.str(), "a");
    EXPECT_EQ(results.size(), 4u);
    // Directory searches count directories; the stop follows the first of them.
    test::ScriptedPrompter stopping;
    SearchEngine stopped(o, SearchEnvironment{stopping, 0, id3v1, id3v2, {}}, results);
    stopping.StopAfterFiles(0);
    stopped.FindDirectories(tmp.str(), "a");
    EXPECT_LT(results.size(), 4u);
    EXPECT_TRUE(stopped.cancelled());
}

}  // namespace
}  // namespace tandrel
