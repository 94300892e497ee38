#include "app/settings.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "app/masklist.h"
#include "platform/ini.h"
#include "support/as_user.h"
#include "support/tempdir.h"

namespace tandrel {
namespace {

using namespace test;

const std::string kKey = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmora Software\\Tandrel]\r\n";

struct Fixture {
    TempDir tmp;
    std::string reg = tmp / "registry.reg";
    std::string masks = tmp / "TdMasks.ini";
    std::string ini = tmp / "TdSettings.ini";
    RegistryStore store{reg};
    TAppSettings s;
    MainControlValues c;

    // Every field away from its default and from zero; the user switched back to English.
    void FillNonDefault() {
        s = {1, 0, 1, 1, 2, 3, 1, 2, true, true, true, true, true, true, true, true, true, false, false, false, false,
             true, false, 4, 2, " ", 1, "/opt/\xC0\xD3\xC4\xC8\xCE", "/usr/bin/vlc", tmp / "list.txt", 1, true, "/pub",
             "ftp://h/pub"};
        c = {true, true, 4, false, true, 0, 11, 22, 333, 444, false, 0, true, "*.mp3", true, "/,/media/usb", false,
             false, false, true, "\"\xC0\xF0\xE8\xFF\" kino", std::nullopt};
    }
    std::optional<std::int32_t> StoredInt(const char* name) const {
        RegistryStore other(reg);
        if (!other.Load() || !other.OpenKey(kSettingsKey, false)) return std::nullopt;
        return other.ReadInteger(name);
    }
};

TEST(SettingsLoad, FirstStartAppliesNothing) {
    Fixture f;
    f.FillNonDefault();
    const TAppSettings s = f.s;
    const MainControlValues c = f.c;
    EXPECT_FALSE(LoadSettings(f.store, f.s, f.c));  // no file
    f.tmp.Write("registry.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"LangIndex\"=dword:1\r\n");
    EXPECT_FALSE(LoadSettings(f.store, f.s, f.c));  // file without the key
    EXPECT_EQ(f.s, s);
    EXPECT_EQ(f.c, c);
}

TEST(SettingsLoad, EmptyKeyAppliesDefaultsAndKeepsTheRest) {
    Fixture f;
    f.tmp.Write("registry.reg", kKey);
    f.FillNonDefault();
    TAppSettings want = f.s;
    MainControlValues cWant = f.c;
    ASSERT_TRUE(LoadSettings(f.store, f.s, f.c));

    want.loadedLanguage = want.loadedEditMode = want.renameMode = want.treeMode = want.treeNameMode = want.artistMode = 0;
    want.confirmationOnExit = want.makeLowercaseExt = want.saveMaskPosition = want.disablePlayListButton = false;
    want.showRenameWarning = want.writeRenameInfo = want.addingDate = want.addingNumber = want.endingNumber = false;
    want.recursiveRename = want.recursiveSearch = want.useM3u = want.anyMask = want.m3uDlgBox = true;
    want.numberFormat = 2, want.searchMode = 0, want.numberSplit = "_", want.audioProgramMode = want.ftpLocalFileMode = 0;
    cWant.addFileName = cWant.addFilePath = cWant.id3Show = cWant.advancedShow = cWant.scanDir = false;
    cWant.maskPosition = 0, cWant.findMode = 1, cWant.findOnDrives = false;
    cWant.findUseMask = cWant.overSearch = cWant.fullString = true;
    EXPECT_EQ(f.s, want);  // M3USearchAll, the programs and the FTP values keep their content
    EXPECT_EQ(f.c, cWant);  // so do FindMask, FindDrives, FTPlocal, FindText and the window placement
}

TEST(SettingsLoad, ValuesOfTheWrongTypeOrOutsideTheirRuleAreNotApplied) {
    Fixture f;
    f.tmp.Write("registry.reg", kKey + "\"LangIndex\"=\"1\"\r\n\"NumberSplit\"=dword:00000005\r\n"
                                       "\"FindMask\"=dword:00000001\r\n\"HomeDir\"=\"" + f.tmp.str() + "/gone\"\r\n"
                                       "\"SaveMaskPosition\"=dword:0\r\n\"MaskPosition\"=dword:3\r\n"
                                       "\"MainWinState\"=dword:1\r\n\"MainTop\"=dword:50\r\n");
    f.c.maskPosition = 7;
    ASSERT_TRUE(LoadSettings(f.store, f.s, f.c));
    EXPECT_EQ(f.s.loadedLanguage, 0);
    EXPECT_EQ(f.s.numberSplit, "_");
    EXPECT_EQ(f.c.findMask, "*.*");
    EXPECT_FALSE(f.c.homeDir);
    EXPECT_EQ(f.c.maskPosition, 0);
    EXPECT_TRUE(f.c.maximized);
    EXPECT_EQ(f.c.top, 0);  // bounds are not read for a maximized window
}

TEST(SettingsSave, RoundTripsEveryValueAndNeverWritesHomeDir) {
    Fixture f;
    f.FillNonDefault();
    f.s.loadedEditMode = 0;  // the user switched to the check list
    f.c.homeDir = f.tmp.str();
    ASSERT_TRUE(SaveSettings(f.store, f.masks, {"*.mp3", "*.*"}, f.s, f.c).ok);

    TAppSettings got, want = f.s;
    MainControlValues cGot, cWant = f.c;
    RegistryStore fresh(f.reg);
    ASSERT_TRUE(LoadSettings(fresh, got, cGot));
    want.loadedLanguage = f.s.currentLanguage, want.loadedEditMode = f.s.currentEditMode;
    want.currentLanguage = want.currentEditMode = 0;
    cWant.homeDir.reset();
    EXPECT_EQ(got, want);
    EXPECT_EQ(cGot, cWant);
}

TEST(SettingsSave, LanguageAndEditModeAreWrittenOnlyWhenChanged) {
    struct Case { int loaded, current; std::optional<int> stored; };
    for (Case k : {Case{1, 1, std::nullopt}, Case{1, 0, 0}, Case{0, 1, 1}}) {
        Fixture f;
        f.s.loadedLanguage = f.s.loadedEditMode = static_cast<std::int8_t>(k.loaded);
        f.s.currentLanguage = f.s.currentEditMode = static_cast<std::int8_t>(k.current);
        ASSERT_TRUE(SaveSettings(f.store, f.masks, {}, f.s, f.c).ok);
        EXPECT_EQ(f.StoredInt("LangIndex"), k.stored) << k.loaded << "->" << k.current;
        EXPECT_EQ(f.StoredInt("MainEditMode"), k.stored) << k.loaded << "->" << k.current;
    }
}

TEST(SettingsSave, MaximizedAndUnsavedMaskPositionLeaveEarlierValuesInTheKey) {
    Fixture f;
    f.s.saveMaskPosition = true;
    f.c.top = 10, f.c.width = 400, f.c.maskPosition = 3;
    ASSERT_TRUE(SaveSettings(f.store, f.masks, {}, f.s, f.c).ok);
    f.s.saveMaskPosition = false;
    f.c = {};
    f.c.maximized = true, f.c.maskPosition = 5;
    ASSERT_TRUE(SaveSettings(f.store, f.masks, {}, f.s, f.c).ok);
    EXPECT_EQ(f.StoredInt("MainWinState"), 1);
    EXPECT_EQ(f.StoredInt("MainTop"), 10);
    EXPECT_EQ(f.StoredInt("MainWidth"), 400);
    EXPECT_EQ(f.StoredInt("MaskPosition"), 3);

    f.tmp.Write("TdSettings.ini", "");
    ASSERT_TRUE(ExportSettings(f.tmp.str(), f.store, f.s, f.c).fileFound);
    EXPECT_EQ(ReadIniString(f.ini, "Settings", "MaskPosition"), "5");  // exported all the same
}

TEST(SettingsSave, KeepsValuesWrittenByOthersAndReportsEachFailure) {
    Fixture f;
    f.tmp.Write("registry.reg", kKey);
    ASSERT_TRUE(LoadSettings(f.store, f.s, f.c));
    RegistryStore dialog(f.reg);  // a dialog or another copy of the program
    ASSERT_TRUE(dialog.Load() && dialog.OpenKey(kSettingsKey, true));
    dialog.WriteInteger("EditTop", 77);
    ASSERT_TRUE(dialog.Save().ok);
    ASSERT_TRUE(SaveSettings(f.store, f.masks, {"*.txt"}, f.s, f.c).ok);
    EXPECT_EQ(f.StoredInt("EditTop"), 77);

    // A mask file that cannot be written is reported, and the key is still saved.
    f.s.searchMode = 2;
    EXPECT_FALSE(SaveSettings(f.store, f.tmp / "no-dir/TdMasks.ini", {"*.txt"}, f.s, f.c).ok);
    EXPECT_EQ(f.StoredInt("SearchMode"), 2);
    RegistryStore blocked(f.masks + "/registry.reg");  // its folder is a file
    EXPECT_FALSE(SaveSettings(blocked, f.tmp / "masks2.ini", {"*.txt"}, f.s, f.c).ok);
    EXPECT_TRUE(std::filesystem::exists(f.tmp / "masks2.ini"));
}

TEST(SettingsIni, NothingHappensWithoutTheFile) {
    Fixture f;
    f.FillNonDefault();
    SettingsFileOutcome out = ExportSettings(f.tmp.str(), f.store, f.s, f.c);
    EXPECT_FALSE(out.fileFound || std::filesystem::exists(f.ini));
    TAppSettings s;
    EXPECT_FALSE(ImportSettings(f.tmp.str(), f.store, s, f.c).fileFound);
    EXPECT_EQ(s, TAppSettings{});
}

TEST(SettingsIni, ExportImportRoundTripKeepsOtherEntriesAndRestoresHomeDir) {
    Fixture f;
    const std::string music = f.tmp / "music";
    std::filesystem::create_directory(music);
    f.tmp.Write("registry.reg", kKey + "\"HomeDir\"=\"" + music + "\"\r\n");
    f.tmp.Write("TdSettings.ini", "[Settings]\r\nExtra=keep me\r\nLangIndex=0\r\n\r\n[Other]\r\na=1\r\n");
    f.FillNonDefault();
    ASSERT_TRUE(ExportSettings(f.tmp.str(), f.store, f.s, f.c).result.ok);
    EXPECT_EQ(ReadIniString(f.ini, "Other", "a"), "1");
    EXPECT_EQ(ReadIniString(f.ini, "Settings", "Extra"), "keep me");
    EXPECT_EQ(ReadIniString(f.ini, "Settings", "EndingNumber"), "");  // not exported
    EXPECT_NE(ReadAll(f.ini).find("[Settings]\r\nHomeDir=" + music + "\r\nLangIndex=1\r\nMainEditMode=1\r\n"),
              std::string::npos);

    RegistryStore elsewhere(f.reg);  // the home directory changed since the export
    ASSERT_TRUE(elsewhere.Load() && elsewhere.OpenKey(kSettingsKey, false));
    elsewhere.WriteString("HomeDir", "/elsewhere");
    ASSERT_TRUE(elsewhere.Save().ok);

    TAppSettings got, want = f.s;
    got.currentLanguage = 1;
    MainControlValues cGot, cWant = f.c;
    ASSERT_TRUE(ImportSettings(f.tmp.str(), f.store, got, cGot).result.ok);
    want.currentLanguage = 1, want.currentEditMode = 0, want.endingNumber = false;
    cWant.id3Show = MainControlValues{}.id3Show, cWant.advancedShow = cWant.ftpLocal = false, cWant.mainWinState.reset();
    cWant.top = cWant.left = cWant.height = cWant.width = 0;
    cWant.homeDir = music;
    EXPECT_EQ(got, want);
    EXPECT_EQ(cGot, cWant);
    EXPECT_NE(ReadAll(f.reg).find("\"HomeDir\"=\"" + music + "\""), std::string::npos);
}

TEST(SettingsIni, ImportAppliesDefaultsForMissingEntriesAndNonNumbers) {
    Fixture f;  // no settings key: HomeDir is applied but nothing is written to the registry
    f.tmp.Write("TdSettings.ini", "[settings]\r\nHomeDir=" + f.tmp.str() + "\r\nNumberFormat=abc\r\n"
                "RecursiveRename=\r\nAddingDate=7\r\nFindMode=$0\r\nSaveMaskPosition=0\r\nMaskPosition=3\r\n"
                "NumberSplit=\r\n");
    f.FillNonDefault();
    ASSERT_TRUE(ImportSettings(f.tmp.str(), f.store, f.s, f.c).result.ok);
    EXPECT_EQ(f.c.homeDir, f.tmp.str());
    EXPECT_FALSE(std::filesystem::exists(f.reg));
    EXPECT_EQ(f.s.numberFormat, 2);
    EXPECT_TRUE(f.s.recursiveRename);
    EXPECT_TRUE(f.s.addingDate);
    EXPECT_EQ(f.c.findMode, 0);
    EXPECT_EQ(f.c.maskPosition, 0);
    EXPECT_EQ(f.c.findMask, "*.*");
    EXPECT_EQ(f.s.numberSplit, "");  // present but empty
    EXPECT_TRUE(f.s.endingNumber);   // not part of the file
}

TEST(SettingsIni, UnreadableFileChangesNothing) {
    Fixture f;
    f.tmp.Write("TdSettings.ini", "[Settings]\r\nNumberFormat=5\r\n");
    std::filesystem::permissions(f.ini, std::filesystem::perms::none);
    // As an ordinary user, for whom the permissions hold.
    EXPECT_EQ(test::RunAsUser(f.tmp.str(), [&f] {
                  SettingsFileOutcome out = ImportSettings(f.tmp.str(), f.store, f.s, f.c);
                  return out.fileFound && !out.result.ok && f.s == TAppSettings{} ? 0 : 1;
              }),
              0);
}

TEST(MaskList, MissingOrEmptyFileKeepsTheListAndSavedListReadsBack) {
    TempDir tmp;
    const std::string file = tmp / "TdMasks.ini";
    std::vector<std::string> masks = BuiltInMaskList();
    ASSERT_TRUE(LoadMaskList(file, masks).ok);
    tmp.Write("TdMasks.ini", "\r\n  \r\n");
    ASSERT_TRUE(LoadMaskList(file, masks).ok);
    EXPECT_EQ(masks, BuiltInMaskList());

    ASSERT_TRUE(SaveMaskList(file, {"*.mp3;*.wav", "", "*.\xEC\xEF\x33"}).ok);
    EXPECT_EQ(ReadAll(file), "*.mp3;*.wav\r\n\r\n*.\xEC\xEF\x33\r\n");
    ASSERT_TRUE(LoadMaskList(file, masks).ok);
    EXPECT_EQ(masks, (std::vector<std::string>{"*.mp3;*.wav", "*.\xEC\xEF\x33"}));
}

}  // namespace
}  // namespace tandrel
