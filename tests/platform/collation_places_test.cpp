#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/collation.h"
#include "platform/mount_table.h"
#include "platform/places.h"
#include "platform/registry.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

int Sign(int n) { return (n > 0) - (n < 0); }

TEST(CompareTextLocale, IgnoresCaseAndOrdersLatinBeforeCyrillic) {
    struct Row { const char* a; const char* b; int sign; };
    for (Row row : std::initializer_list<Row>{
             {"abc", "ABC", 0},
             {"\xC0\xC1\xC2", "\xE0\xE1\xE2", 0},  // "АБВ" and "абв"
             {"\xA8\xE6", "\xB8\xE6", 0},          // "Ёж" and "ёж"
             {"a", "b", -1},
             {"B", "a", 1},
             {"\xE0", "\xE1", -1},                 // "а" < "б"
             {"z", "\xE0", -1},                    // Latin before Cyrillic
             {"\xE5\xE6", "\xB8\xE6", -1},         // "еж" < "ёж" ...
             {"\xB8\xE6", "\xE6\xE0", -1},         // ... < "жа": ё beside е
             {"\xDF", "\xE0", 1},                  // "Я" after "а"
             {"file2", "file10", 1},
         }) {
        EXPECT_EQ(Sign(CompareTextLocale(row.a, row.b)), row.sign) << row.a << " / " << row.b;
        EXPECT_EQ(Sign(CompareTextLocale(row.b, row.a)), -row.sign) << row.b << " / " << row.a;
    }
}

TEST(CompareTextLocale, SortingAgreesWithTheComparisonAndKeepsEqualTextsInOrder) {
    std::vector<std::string> texts = {"b", "\xE0", "A", "a", "\xC1", "B"};  // а, Б
    SortTextLocale(texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "a", "b", "B", "\xE0", "\xC1"}));
    for (std::size_t i = 1; i < texts.size(); ++i) EXPECT_LE(CompareTextLocale(texts[i - 1], texts[i]), 0);
}

// The fast order must be the collator's own, byte for byte of the code page:
// every two-byte text (each byte beside every other, case, accents, signs,
// bytes the collator ignores) and random texts with long equal beginnings.
TEST(SortOrderLocale, GivesTheCollatorsOrderForEveryByteOfTheCodePage) {
    auto collatorOrder = [](const std::vector<std::string>& texts) {
        std::vector<std::uint32_t> order(texts.size());
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&texts](std::uint32_t a, std::uint32_t b) {
            return CompareTextLocale(texts[a], texts[b]) < 0;
        });
        return order;
    };
    auto fastOrder = [](const std::vector<std::string>& texts) {
        return SortOrderLocale(texts.size(), [&texts](std::size_t i) { return std::string_view(texts[i]); });
    };

    std::vector<std::string> pairs;
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) pairs.push_back({static_cast<char>(a), static_cast<char>(b)});
    EXPECT_EQ(fastOrder(pairs), collatorOrder(pairs));

    // Texts of up to 40 bytes: a shared beginning of several lengths, then
    // letters of both alphabets in both cases, accents, punctuation and spaces.
    const std::string alphabet = "aAbBzZ eE-_.,[]\t0129\xE0\xC0\xE5\xC5\xB8\xA8\xFF\xDF\x85\x96\x97\xB9\xAD\x01\x98";
    std::uint64_t seed = 7;
    auto next = [&seed](std::uint64_t n) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((seed >> 33) % n);
    };
    std::vector<std::string> texts;
    for (int i = 0; i < 6000; ++i) {
        std::string t = std::string("Common beginning of many lines").substr(0, next(31));
        for (std::size_t n = 1 + next(10); n > 0; --n) t += alphabet[next(alphabet.size())];
        texts.push_back(t);
    }
    for (int i = 0; i < 500; ++i) texts.push_back(texts[next(texts.size())]);  // duplicates keep their order
    EXPECT_EQ(fastOrder(texts), collatorOrder(texts));
}

// Catalogue lines share long beginnings (an artist, a folder), so the order
// of most is decided far into them, past the weights read ahead of the sort.
// Long random lines against the collator's order: beginnings shared up to
// and past those weights, Cyrillic with ё/Ё, digits, punctuation, a
// contraction ("L·") and an expansion ("…") straddling them, empty lines and
// duplicates.
TEST(SortOrderLocale, LongLinesWithSharedBeginningsSortAsTheCollatorDoes) {
    const std::string beginnings[] = {
        "",
        "\xCA\xE8\xED\xEE - ",  // "Кино - "
        "\xC0\xEA\xE2\xE0\xF0\xE8\xF3\xEC - \xE7\xE2\xE5\xE7\xE4\xE0 \xEF\xEE \xE8\xEC\xE5\xED\xE8 ",  // "Аквариум - звезда по имени "
        std::string(46, 'a'),
        std::string(47, 'a'),
        std::string(48, 'a'),
        "Nautilus Pompilius - \xB8\xEB\xEA\xE0 1234 / Music / \xA8\xEB\xEA\xE0 [2000] CD1 ",  // ёлка, Ёлка
        std::string(100, '\xE5'),  // е
    };
    const std::string alphabet = "aAeEzZ0129 -_.,[]\t\xE0\xC0\xE5\xC5\xB8\xA8\xFF\xDF\x85\x96\xB7Ll";
    std::uint64_t seed = 11;
    auto next = [&seed](std::uint64_t n) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((seed >> 33) % n);
    };
    std::vector<std::string> texts;
    for (int i = 0; i < 8000; ++i) {
        std::string t = beginnings[next(std::size(beginnings))];
        t.resize(t.size() - std::min(t.size(), next(3)));  // cut a little, so ends fall anywhere
        for (std::size_t n = next(12); n > 0; --n) t += alphabet[next(alphabet.size())];
        texts.push_back(t);
    }
    for (int i = 0; i < 600; ++i) texts.push_back(texts[next(texts.size())]);
    texts.insert(texts.begin() + static_cast<std::ptrdiff_t>(next(texts.size())), 3, std::string());

    std::vector<std::uint32_t> expected(texts.size());
    for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&texts](std::uint32_t a, std::uint32_t b) {
        return CompareTextLocale(texts[a], texts[b]) < 0;
    });
    EXPECT_EQ(SortOrderLocale(texts.size(), [&texts](std::size_t i) { return std::string_view(texts[i]); }),
              expected);
}

TEST(DriveRoots, RootFirstThenRemovableAndNetworkVolumesByMountPoint) {
    const std::string table =
        "/dev/sda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sda2 /home ext4 rw 0 0\n"
        "server:/music /srv/music nfs4 rw 0 0\n"
        "/dev/sdb1 /media/ann/USB\\040Stick vfat rw 0 0\n"
        "//nas/share /net/share cifs rw 0 0\n"
        "/dev/sdc1 /run/media/ann/\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA ext4 rw 0 0\n"  // "Диск"
        "server:/music /srv/music nfs4 rw 0 0\n"
        "/dev/sdd1 /mnt vfat rw 0 0\n"
        "ann@host: /home/ann/remote fuse.sshfs rw 0 0\n"
        "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
        "portal /run/user/1000/doc fuse.portal rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "tmpfs /mnt/ram tmpfs rw 0 0\n"
        "overlay /media/container overlay rw 0 0\n"
        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
        "garbage\n";
    EXPECT_EQ(DriveRootsFromMountTable(table),
              (std::vector<std::string>{"/", "/home/ann/remote", "/media/ann/USB Stick", "/mnt", "/mnt/ram",
                                        "/net/share", "/run/media/ann/\xC4\xE8\xF1\xEA", "/run/user/1000/gvfs",
                                        "/srv/music"}));
    // The home folder's own file system is a drive; a home on the root adds nothing.
    EXPECT_EQ(DriveRootsFromMountTable(table, "/home/ann")[1], "/home");
    EXPECT_EQ(DriveRootsFromMountTable("/dev/sda1 / ext4 rw 0 0\n", "/home/ann"), std::vector<std::string>{"/"});
    std::vector<std::string> roots = DriveRoots();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(roots[0], "/");
}

TEST(Places, FollowTheXdgFolders) {
    test::TempDir dir;
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    EXPECT_EQ(ProgramDirectory(), dir / "data/Tandrel");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "data/Tandrel"));
    EXPECT_EQ(DefaultRegistryPath(), dir / "config/Tandrel/registry.reg");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    if (const char* home = std::getenv("HOME"); home && *home) {
        EXPECT_EQ(DefaultRegistryPath(), std::string(home) + "/.config/Tandrel/registry.reg");
    }
}

}  // namespace
}  // namespace tandrel
