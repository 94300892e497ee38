#include "platform/registry.h"

#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;

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
