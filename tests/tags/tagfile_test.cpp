// The tag file reader (one open, windows read once, positioned reads), the
// tag search over one open file, and the streamed save of big files.
#include "tags/tagfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "platform/posix_file.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "tagbytes.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagmatch.h"
#include "tags/tagsave.h"

namespace tandrel {
namespace {

using namespace test;

std::string Pattern(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 251) & 255);
    return s;
}

std::string Frame23(const std::string& id, const std::string& content) {
    return id + Be32(static_cast<std::uint32_t>(content.size())) + Zeros(2) + content;
}

std::string Tag23(const std::string& frames) {
    return std::string("ID3") + Bytes({3, 0, 0}) + Syncsafe(static_cast<std::uint32_t>(frames.size())) + frames;
}

// Opens the file by its name in the listing of its folder, as a walk does.
FileResult OpenListed(TagFileReader& file, const std::string& folder, const std::string& name) {
    FileFind find;
    FindData entry;
    for (bool more = find.FindFirst(folder + "/*", entry, FindDetail::NamesAndKinds); more; more = find.FindNext(entry))
        if (entry.name == name) return file.OpenListed(find.Current(), folder + "/" + name);
    return FileResult::Failure(name + " is not listed");
}

// Reads at the edges of the cached start and end of the file, and across
// them, give the file's bytes; reads past the end fail. The file is opened
// by its path and by its name in the listing, one reader kept for all.
TEST(TagFileReader, ReadsAtWindowEdgesGiveTheFileBytes) {
    TempDir dir;
    TagFileReader listed;
    // The last size follows larger ones through the same reader.
    for (std::size_t size : {0u, 5u, 127u, 128u, 200u, 8191u, 8192u, 8193u, 8300u, 20000u, 100u}) {
        const std::string bytes = Pattern(size);
        const std::string path = dir.Write("f.bin", bytes);
        for (const bool byListing : {false, true}) {
            TagFileReader byPath;
            TagFileReader& file = byListing ? listed : byPath;
            ASSERT_TRUE(byListing ? OpenListed(file, dir.str(), "f.bin").ok : file.Open(path).ok);
            ASSERT_EQ(file.Size(), static_cast<std::int64_t>(size));
            const auto s = static_cast<std::int64_t>(size);
            struct Read { std::int64_t pos; std::size_t n; };
            const Read reads[] = {{0, 10}, {s - 128, 128}, {s - 3, 3}, {8190, 10}, {8192 - 128, 200},
                                  {s - 130, 10}, {100, 8000}, {0, size}, {s - 1, 2}, {s, 1}, {-1, 1}};
            for (const Read& r : reads) {
                std::string out(r.n, 'x');
                const bool inside = r.pos >= 0 && r.pos + static_cast<std::int64_t>(r.n) <= s;
                EXPECT_EQ(file.ReadAt(r.pos, out.data(), r.n), inside)
                    << size << " at " << r.pos << " n " << r.n << " listed " << byListing;
                if (inside) {
                    EXPECT_EQ(out, bytes.substr(static_cast<std::size_t>(r.pos), r.n)) << size << " at " << r.pos;
                }
            }
        }
    }
}

TEST(TagFileReader, OpensOnlyRegularFiles) {
    TempDir dir;
    TagFileReader file;
    EXPECT_FALSE(file.Open((dir / "gone.mp3")).ok);
    EXPECT_TRUE(file.Missing());
    EXPECT_FALSE(file.Open(dir.str()).ok);
    EXPECT_TRUE(file.Missing());
    const std::string fifo = dir / "pipe.mp3";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const FileResult r = file.Open(fifo);  // must not block waiting for a writer
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(file.Missing());
    EXPECT_NE(r.error.find("not a regular file"), std::string::npos) << r.error;
    // By its name in the listing: never through a link, and never blocking on a pipe.
    dir.Write("real.mp3", Pattern(300));
    std::filesystem::create_symlink(dir / "real.mp3", dir / "link.mp3");
    EXPECT_TRUE(OpenListed(file, dir.str(), "real.mp3").ok);
    const FileResult link = OpenListed(file, dir.str(), "link.mp3");
    EXPECT_FALSE(link.ok);
    EXPECT_NE(link.error.find("link.mp3"), std::string::npos) << link.error;
    EXPECT_FALSE(OpenListed(file, dir.str(), "pipe.mp3").ok);
    EXPECT_FALSE(file.OpenListed(ListedEntry{}, dir / "real.mp3").ok);  // no listing
}

// The search reads both tags from one open file; what it finds and the
// messages it shows are those of the two separate reads.
TEST(TagFileReader, TagSearchOverOneOpenFileMatchesTheSeparateReads) {
    TempDir dir;
    const std::string v1 = std::string("TAG") + "Alpha" + Zeros(25) + "Beta" + Zeros(90) + Bytes({17});
    const std::string bigFrame = Frame23("TXXX", Bytes({0}) + std::string(9000, 'p'));  // past the cached start
    const std::string v2 = Tag23(bigFrame + Frame23("TIT2", Bytes({0}) + "Gamma"));
    struct Case { const char* name; std::string bytes; };
    const Case files[] = {
        {"both.mp3", v2 + Audio(700) + v1},
        {"v1.mp3", Audio(700) + v1},
        {"v2.mp3", v2 + Audio(700)},
        {"short.mp3", Tag23(Frame23("TIT2", Bytes({0}) + "Gamma"))},  // under 128 bytes
        {"tiny.mp3", "ID3"},
        {"none.mp3", Audio(700)},
    };
    for (const Case& f : files) dir.Write(f.name, f.bytes);
    ASSERT_TRUE(std::filesystem::create_directory(dir / "folder.mp3"));
    std::vector<std::string> names = {"gone.mp3", "folder.mp3"};
    for (const Case& f : files) names.push_back(f.name);
    for (const std::string& name : names) {
        for (const char* query : {"alpha", "beta", "gamma", "ppp", "rock", "zzz"}) {
            const std::string path = dir / name;
            ScriptedPrompter oneOpen, separate;
            TID3v1 a1, b1;
            TID3v2 a2, b2;
            const bool found = MatchID3Tags(a1, a2, TagMessages{oneOpen, 0}, query, path);
            const TagMessages m{separate, 0};
            const bool expected = MatchID3v1Tag(b1, m, query, path) || MatchID3v2Tag(b2, m, query, path);
            EXPECT_EQ(found, expected) << name << " " << query;
            EXPECT_EQ(oneOpen.Texts(PromptKind::Status), separate.Texts(PromptKind::Status)) << name << " " << query;
            EXPECT_EQ(oneOpen.Texts(PromptKind::Message), separate.Texts(PromptKind::Message)) << name << " " << query;
        }
    }
    ScriptedPrompter p;
    TID3v1 t1;
    TID3v2 t2;
    EXPECT_TRUE(MatchID3Tags(t1, t2, TagMessages{p, 0}, "gamma", dir / "both.mp3"));  // found past the cached start
    EXPECT_TRUE(MatchID3Tags(t1, t2, TagMessages{p, 0}, "rock", dir / "v1.mp3"));    // genre 17
}

// Audio larger than one block of the plain copy, copied by the kernel and
// without it, with both tags: the saved file holds every audio byte.
TEST(TagSave, SaveCopiesAudioLargerThanOneCopyBlock) {
    TempDir dir;
    const std::string audio = Pattern((3 << 20) + 7);
    const std::string oldV1 = std::string("TAG") + "Old" + Zeros(121) + Bytes({255});
    for (bool kernel : {true, false}) {
        detail::SetKernelCopyAllowed(kernel);
        const std::string path = dir.Write("big.mp3", Tag23(Frame23("TIT2", Bytes({0}) + "Old")) + audio + oldV1);
        TID3v1 v1;
        TID3v2 v2;
        ASSERT_TRUE(v1.ReadFromFile(path) && v2.ReadFromFile(path));
        v1.SetTitle("New");
        v2.SetTitle("New");
        const FileResult r = SaveTagsToFile(path, &v1, &v2);
        ASSERT_TRUE(r.ok) << r.error;
        const std::string saved = ReadAll(path);
        const std::string expected = Tag23(Frame23("TIT2", Bytes({0}) + "New")) + audio + v1.Record();
        const auto differ = std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end());
        EXPECT_TRUE(saved == expected) << (kernel ? "kernel copy" : "plain copy") << ": " << saved.size() << " bytes, "
                                       << expected.size() << " expected, first difference at "
                                       << (differ.first - saved.begin());
    }
    detail::SetKernelCopyAllowed(true);
}

std::string g_shrinkPath;

// Cuts the file being saved once its temporary file exists.
void ShrinkWhenCreated(detail::WriteStep step) {
    if (step == detail::WriteStep::Created) std::filesystem::resize_file(g_shrinkPath, 5000);
}

// The file is cut by someone else while the save copies it: the save fails,
// the file stays as the other writer left it and no temporary file remains.
TEST(TagSave, SaveFailsWhenTheFileShrinksDuringTheSave) {
    TempDir dir;
    for (bool kernel : {true, false}) {
        detail::SetKernelCopyAllowed(kernel);
        g_shrinkPath = dir.Write("cut.mp3", Tag23(Frame23("TIT2", Bytes({0}) + "Old")) + Pattern(1 << 20));
        const std::string cut = ReadAll(g_shrinkPath).substr(0, 5000);
        TID3v2 v2;
        ASSERT_TRUE(v2.ReadFromFile(g_shrinkPath));
        v2.SetTitle("New");
        detail::SetWriteStepHook(ShrinkWhenCreated);
        const FileResult r = SaveTagsToFile(g_shrinkPath, nullptr, &v2);
        detail::SetWriteStepHook(nullptr);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find("ends too early"), std::string::npos) << r.error;
        EXPECT_EQ(ReadAll(g_shrinkPath), cut);
        int entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.str())) ++entries;
        EXPECT_EQ(entries, 1) << (kernel ? "kernel copy" : "plain copy");
    }
    detail::SetKernelCopyAllowed(true);
}

}  // namespace
}  // namespace tandrel
