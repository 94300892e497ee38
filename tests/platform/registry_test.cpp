#include "platform/registry.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::ReadAll;
using test::TempDir;

const std::string kKeyLine = "[HKEY_CURRENT_USER\\Software\\Velmora Software\\Tandrel]\r\n";

TEST(RegistryStore, WritesReadableRegedit4AndReadsItBack) {
    TempDir dir;
    const std::string path = dir / "registry.reg";
    {
        RegistryStore store(path);
        ASSERT_TRUE(store.Load().ok);
        EXPECT_FALSE(store.OpenKey(kSettingsKey, false));
        ASSERT_TRUE(store.OpenKey(kSettingsKey, true));
        store.WriteString("HomeDir", "C:\\a \"q\"");
        store.WriteInteger("LangIndex", 10);
        store.WriteBool("ScanDir", true);
        store.WriteString("FindText", "\xCF\xF0\xE8\xE2\xE5\xF2");  // "Привет"
        ASSERT_TRUE(store.Save().ok);
    }
    EXPECT_EQ(ReadAll(path), "REGEDIT4\r\n\r\n" + kKeyLine +
                                 "\"HomeDir\"=\"C:\\\\a \\\"q\\\"\"\r\n"
                                 "\"LangIndex\"=dword:0000000a\r\n"
                                 "\"ScanDir\"=dword:00000001\r\n"
                                 "\"FindText\"=\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\"\r\n\r\n");
    RegistryStore store(path);
    ASSERT_TRUE(store.Load().ok);
    EXPECT_FALSE(store.OpenKey("\\Software\\Other", false));
    EXPECT_FALSE(store.KeyIsOpen());
    EXPECT_TRUE(store.OpenKey("\\Software\\Velmora Software", false));  // a parent of a written key
    ASSERT_TRUE(store.OpenKey("software\\VELMORA SOFTWARE\\tandrel", false));
    EXPECT_EQ(store.ReadString("homedir"), "C:\\a \"q\"");
    EXPECT_EQ(store.ReadInteger("LANGINDEX"), 10);
    EXPECT_EQ(store.ReadBool("ScanDir"), true);
    EXPECT_EQ(store.ReadString("FindText"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_TRUE(store.DeleteValue("scandir"));
    EXPECT_FALSE(store.ValueExists("ScanDir"));
}

TEST(RegistryStore, ValueOfAnotherTypeReadsAsAbsent) {
    TempDir dir;
    RegistryStore store(dir.Write("registry.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Velmora Software\\Tandrel]\n"
                                                  "\"LangIndex\"=\"1\"\n"
                                                  "\"HomeDir\"=dword:00000001\n"
                                                  "\"Bytes\"=hex:01,02\n"
                                                  "\"Big\"=dword:123456789\n"
                                                  "\"Open\"=\"no end\n"));
    ASSERT_TRUE(store.Load().ok);
    ASSERT_TRUE(store.OpenKey(kSettingsKey, false));
    EXPECT_EQ(store.ReadInteger("LangIndex"), std::nullopt);
    EXPECT_EQ(store.ReadString("LangIndex"), "1");
    EXPECT_EQ(store.ReadString("HomeDir"), std::nullopt);
    EXPECT_EQ(store.ReadBool("HomeDir"), true);
    for (const char* name : {"Bytes", "Big", "Open"}) {
        EXPECT_TRUE(store.ValueExists(name)) << name;
        EXPECT_EQ(store.ReadString(name), std::nullopt) << name;
        EXPECT_EQ(store.ReadInteger(name), std::nullopt) << name;
    }
    EXPECT_EQ(store.ReadString("Missing"), std::nullopt);
}

TEST(RegistryStore, KeepsWhatItDoesNotUnderstand) {
    TempDir dir;
    const std::vector<std::string> kept = {
        "; exported by hand",
        "[HKEY_LOCAL_MACHINE\\Software\\Player]",
        "\"Path\"=\"/usr/bin/player\"",
        "[HKEY_CURRENT_USER\\Software\\Velmora Software\\Tandrel]",
        "\"Blob\"=hex:00,01,02,\\",
        "  03,04",
        "\"Name\"=\"\xE4\xB8\xAD.mp3\"",  // a character outside code page 1251
        "\"Odd\"=DWORD:0000000A",
        "not a registry line",
    };
    std::string original = "REGEDIT4\r\n\r\n";
    for (const std::string& line : kept) original += line + "\r\n";
    const std::string path = dir.Write("registry.reg", original);
    RegistryStore store(path);
    ASSERT_TRUE(store.Load().ok);
    ASSERT_TRUE(store.OpenKey(kSettingsKey, true));
    EXPECT_EQ(store.ReadInteger("Odd"), 10);
    store.WriteInteger("LangIndex", 1);
    ASSERT_TRUE(store.Save().ok);

    const std::string saved = ReadAll(path);
    std::size_t at = 0;
    for (const std::string& line : kept) {
        at = saved.find(line + "\r\n", at);
        ASSERT_NE(at, std::string::npos) << "lost or reordered: " << line;
    }
    EXPECT_NE(saved.find("\"LangIndex\"=dword:00000001\r\n"), std::string::npos);
}

TEST(RegistryStore, AnyBytesLoadAndSaveToAStableFile) {
    TempDir dir;
    const std::string path = dir / "registry.reg";
    const std::string alphabet = "[]\"\\=@:;\r\n\t dwordhex,0a1fF\x98\xD0\xFF\xEF\xBB\xBF";
    std::mt19937 random(1234);
    std::vector<std::string> inputs = {"", "\xEF\xBB\xBFREGEDIT4", "[", "]", "\"", "\"\\", "\"a\"=\\\n", "[x]\n\"a\"=hex:\\"};
    for (int i = 0; i < 500; ++i) {
        std::string bytes(random() % 200, ' ');
        for (char& c : bytes) c = alphabet[random() % alphabet.size()];
        inputs.push_back(std::move(bytes));
    }
    for (const std::string& input : inputs) {
        dir.Write("registry.reg", input);
        RegistryStore first(path);
        ASSERT_TRUE(first.Load().ok);
        first.OpenKey(kSettingsKey, true);
        first.WriteString("A", "b\r\n\"c\\");
        ASSERT_TRUE(first.Save().ok);
        const std::string once = ReadAll(path);
        RegistryStore second(path);
        ASSERT_TRUE(second.Load().ok);
        ASSERT_TRUE(second.OpenKey(kSettingsKey, false));
        EXPECT_EQ(second.ReadString("A"), "b\r\n\"c\\") << testing::PrintToString(input);
        ASSERT_TRUE(second.Save().ok);
        EXPECT_EQ(ReadAll(path), once) << testing::PrintToString(input);
    }
}

constexpr int kValues = 3000;

RegistryStore StoreWith(const std::string& path, int generation) {
    RegistryStore store(path);
    store.OpenKey(kSettingsKey, true);
    for (int i = 0; i < kValues; ++i) store.WriteInteger("Value" + std::to_string(i), generation);
    return store;
}

// The generation every value holds, or -1 when the file is torn or mixed.
int GenerationOnDisk(const std::string& path) {
    RegistryStore store(path);
    if (!store.Load().ok || !store.OpenKey(kSettingsKey, false)) return -1;
    std::optional<int> first = store.ReadInteger("Value0");
    for (int i = 0; first && i < kValues; ++i)
        if (store.ReadInteger("Value" + std::to_string(i)) != first) return -1;
    return first ? *first : -1;
}

TEST(RegistryStore, SaveKilledAtAnyMomentLeavesOldOrNewFile) {
    TempDir dir;
    const std::string path = dir / "registry.reg";
    RegistryStore initial = StoreWith(path, 0);
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(initial.Save().ok);
    const auto saveTime = std::chrono::steady_clock::now() - start;
    std::set<int> seen;
    for (int round = 0; round < 16; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RegistryStore a = StoreWith(path, 1), b = StoreWith(path, 2);
            (void)!write(ready[1], "r", 1);
            for (;;) {
                (void)a.Save();
                (void)b.Save();
            }
        }
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        close(ready[1]);
        std::this_thread::sleep_for(saveTime * round / 3);  // kill points spread over several saves
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        int generation = GenerationOnDisk(path);
        EXPECT_TRUE(generation >= 0 && generation <= 2) << "torn file after kill in round " << round;
        seen.insert(generation);
    }
    EXPECT_GT(seen.size(), 1u) << "no save finished before a kill: the test proves nothing";
}

TEST(RegistryStore, FailedSaveIsReportedAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir / "registry.reg";
    ASSERT_TRUE(StoreWith(path, 7).Save().ok);
    const std::string before = ReadAll(path);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        FileResult r = StoreWith(path, 8).Save();
        _exit(!r.ok && !r.error.empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failed save was not reported";
    EXPECT_EQ(ReadAll(path), before);
}

TEST(RegistryStore, SaveCreatesItsFolderAndNeverReplacesAnUnreadableFile) {
    TempDir dir;
    RegistryStore store(dir / "config/Tandrel/registry.reg");
    ASSERT_TRUE(store.OpenKey(kSettingsKey, true));
    EXPECT_TRUE(store.Save().ok);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "config/Tandrel/registry.reg"));

    std::filesystem::create_directory(dir / "folder.reg");
    RegistryStore unreadable(dir / "folder.reg");
    EXPECT_FALSE(unreadable.Load().ok);
    EXPECT_FALSE(unreadable.Save().ok);
}

}  // namespace
}  // namespace tandrel
