// Hostile settings files: a FIFO or a device in the place of the registry file
// or of TdSettings.ini, files far too large, a million keys. Each is refused
// at once with a reason instead of freezing the program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/settings.h"
#include "platform/ini.h"
#include "support/child_process.h"
#include "support/settings_file.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;
namespace fs = std::filesystem;

// Many settings files in one: ini lines "K<n>=<n>" and the given tail.
std::string ManyKeys(std::size_t count, const std::string& tail) {
    std::string text = "[Settings]\r\n";
    text.reserve(count * 16);
    for (std::size_t i = 0; i < count; ++i) text += "K" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return text + tail;
}

TEST(SettingsFiles, ImportOfAMillionKeysIsRefusedAtOnceAndOfManyKeysTakesLinearTime) {
    TempDir dir;
    RegistryStore store(dir / "registry.reg");
    dir.Write("TdSettings.ini", ManyKeys(1000000, "LangIndex=1\r\n"));
    ASSERT_LT(fs::file_size(dir / "TdSettings.ini"), kMaxIniFileBytes);
    const ChildOutcome refused = RunInChild([&] {
        TAppSettings s;
        MainControlValues c;
        const SettingsFileOutcome outcome = ImportSettings(dir.str(), store, s, c);
        const bool saysWhy = outcome.result.error.find("too many") != std::string::npos;
        return outcome.fileFound && !outcome.result && saysWhy && s == TAppSettings{} ? 0 : 1;
    }, std::chrono::seconds(20));
    EXPECT_TRUE(refused.finished) << "the import of a million keys froze";
    EXPECT_EQ(refused.exitCode, 0);

    // Under the limit the file is read, once, and every value applies (room
    // is left for the values the export adds).
    const std::size_t many = kMaxIniEntries - 100;
    dir.Write("TdSettings.ini", ManyKeys(many, "LangIndex=1\r\nFindMask=*.ogg\r\n"));
    const ChildOutcome imported = RunInChild([&] {
        TAppSettings s;
        MainControlValues c;
        const SettingsFileOutcome in = ImportSettings(dir.str(), store, s, c);
        if (!in.result || s.loadedLanguage != 1 || c.findMask != "*.ogg") return 1;
        // The export keeps the unknown keys of the section.
        if (!ExportSettings(dir.str(), store, s, c).result) return 2;
        IniSection section;
        if (!ReadIniSection(dir / "TdSettings.ini", "Settings", section)) return 3;
        const std::string* last = section.Find("K" + std::to_string(many - 1));
        return last && *last == std::to_string(many - 1) ? 0 : 4;
    }, std::chrono::seconds(30));
    EXPECT_TRUE(imported.finished) << "reading the settings file is not linear in its size";
    EXPECT_EQ(imported.exitCode, 0);
}

TEST(SettingsFiles, AFifoAsTdSettingsIniIsRefusedByImportAndExport) {
    TempDir dir;
    RegistryStore store(dir / "registry.reg");
    ASSERT_EQ(::mkfifo((dir / "TdSettings.ini").c_str(), 0644), 0);
    const ChildOutcome outcome = RunInChild([&] {
        TAppSettings s;
        MainControlValues c;
        const SettingsFileOutcome in = ImportSettings(dir.str(), store, s, c);
        const SettingsFileOutcome out = ExportSettings(dir.str(), store, s, c);
        return in.fileFound && !in.result && out.fileFound && !out.result ? 0 : 1;
    }, std::chrono::seconds(5));
    EXPECT_TRUE(outcome.finished) << "a FIFO as TdSettings.ini froze the import or export";
    EXPECT_EQ(outcome.exitCode, 0);
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "TdSettings.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(SettingsFiles, ARegistryFileThatIsNoRegularFileIsUnreadableAndNeverReplaced) {
    for (const char* kind : {"fifo", "/dev/zero"}) {
        TempDir dir;
        const std::string reg = dir / "registry.reg";
        if (std::string(kind) == "fifo")
            ASSERT_EQ(::mkfifo(reg.c_str(), 0644), 0);
        else
            fs::create_symlink(kind, reg);
        const ChildOutcome outcome = RunInChild([&] {
            RegistryStore store(reg);
            TAppSettings s;
            MainControlValues c;
            if (LoadSettings(store, s, c) || store.LastLoad().ok) return 1;
            if (store.LastLoad().error.find("not a regular file") == std::string::npos) return 2;
            return SaveSettings(store, dir / "TdMasks.ini", {"*.mp3"}, s, c).ok ? 3 : 0;
        }, std::chrono::seconds(5));
        EXPECT_TRUE(outcome.finished) << "a " << kind << " as the registry file hangs the start";
        EXPECT_EQ(outcome.exitCode, 0) << kind;
        EXPECT_FALSE(fs::is_regular_file(reg)) << kind;
    }
}

TEST(SettingsFiles, ARegistryFileBeyondItsLimitsIsRefusedAndOneJustWithinIsRead) {
    TempDir dir;
    const std::string reg = dir / "registry.reg";
    RegistryStore store(reg);
    fs::resize_file(dir.Write("registry.reg", SettingsFileText("\"LangIndex\"=dword:00000001\r\n")),
                    RegistryStore::kMaxFileBytes + 1);
    EXPECT_FALSE(store.Load().ok);
    EXPECT_FALSE(store.Save().ok);

    // Lines: the header, a blank line, the key, then values up to the limit.
    auto withValues = [](std::size_t values) {
        std::string text;
        for (std::size_t i = 0; i < values; ++i) text += "\"RenameMode\"=dword:00000002\r\n";
        return SettingsFileText(text);
    };
    dir.Write("registry.reg", withValues(RegistryStore::kMaxLines - 3 + 1));
    EXPECT_FALSE(store.Load().ok);
    dir.Write("registry.reg", withValues(RegistryStore::kMaxLines - 3));
    ASSERT_TRUE(store.Load().ok);

    // Many duplicates of one value: the save keeps the first, in one pass.
    const ChildOutcome saved = RunInChild([&] {
        RegistryStore s(reg);
        TAppSettings settings;
        MainControlValues controls;
        if (!LoadSettings(s, settings, controls) || settings.renameMode != 2) return 1;
        settings.renameMode = 1;
        return SaveSettings(s, dir / "TdMasks.ini", {"*.mp3"}, settings, controls).ok ? 0 : 2;
    }, std::chrono::seconds(30));
    EXPECT_TRUE(saved.finished) << "the save of a key with many duplicate values is not linear";
    ASSERT_EQ(saved.exitCode, 0);
    ASSERT_TRUE(store.Load().ok);
    ASSERT_TRUE(store.OpenKey(kSettingsKey, false));
    EXPECT_EQ(store.ReadInteger("RenameMode"), 1);
    EXPECT_LT(fs::file_size(reg), 4096u);
}

}  // namespace
}  // namespace tandrel
