#include "app/settings.h"

#include "app/masklist.h"
#include "platform/files.h"

namespace tandrel {

namespace {

// Readers of the open key: a value missing or of another type gives the default.
std::int32_t Int(const RegistryStore& r, const char* name, std::int32_t def) {
    return r.ReadInteger(name).value_or(def);
}
std::int8_t Int8(const RegistryStore& r, const char* name, std::int32_t def) {
    return static_cast<std::int8_t>(Int(r, name, def));
}
std::uint8_t UInt8(const RegistryStore& r, const char* name, std::int32_t def) {
    return static_cast<std::uint8_t>(Int(r, name, def));
}
bool Bool(const RegistryStore& r, const char* name, bool def) { return r.ReadBool(name).value_or(def); }
std::string Str(const RegistryStore& r, const char* name, const char* def) {
    return r.ReadString(name).value_or(def);
}

// Readers for values whose field keeps its content when the value is absent.
void Keep(const RegistryStore& r, const char* name, bool& field) {
    if (std::optional<bool> v = r.ReadBool(name)) field = *v;
}
void Keep(const RegistryStore& r, const char* name, std::string& field) {
    if (std::optional<std::string> v = r.ReadString(name)) field = *v;
}

}  // namespace

bool LoadSettings(RegistryStore& store, TAppSettings& s, MainControlValues& c) {
    if (!store.Load()) return false;
    if (!store.OpenKey(kSettingsKey, false)) return false;
    const RegistryStore& r = store;

    if (std::optional<std::string> home = r.ReadString("HomeDir"); home && DirectoryExists(*home)) c.homeDir = *home;

    s.loadedLanguage = Int8(r, "LangIndex", 0);
    s.loadedEditMode = Int8(r, "MainEditMode", 0);
    c.addFileName = Bool(r, "AddFileNameMode", false);
    c.addFilePath = Bool(r, "AddFilePathMode", false);
    s.renameMode = Int8(r, "RenameMode", 0);
    s.makeLowercaseExt = Bool(r, "MakeLowercaseExt", false);
    s.artistMode = Int8(r, "UpCaseFirstLettersOfArtistMode", 0);
    s.disablePlayListButton = Bool(r, "DisablePlayListButton", false);
    s.saveMaskPosition = Bool(r, "SaveMaskPosition", false);
    c.maskPosition = s.saveMaskPosition ? Int(r, "MaskPosition", 0) : 0;
    s.showRenameWarning = Bool(r, "ShowRenameWarning", false);
    s.writeRenameInfo = Bool(r, "WriteRenameInfo", false);
    s.treeMode = Int8(r, "TreeMode", 0);
    s.treeNameMode = Int8(r, "TreeNameMode", 0);
    s.addingDate = Bool(r, "AddingDate", false);
    s.addingNumber = Bool(r, "AddingNumber", false);
    s.endingNumber = Bool(r, "EndingNumber", false);
    s.recursiveRename = Bool(r, "RecursiveRename", true);
    s.recursiveSearch = Bool(r, "RecursiveSearch", true);
    s.useM3u = Bool(r, "use_m3u", true);
    s.anyMask = Bool(r, "AnyMask", true);
    Keep(r, "M3USearchAll", s.m3uSearchAll);
    s.m3uDlgBox = Bool(r, "M3UDlgBox", true);
    s.numberFormat = Int(r, "NumberFormat", 2);
    s.numberSplit = Str(r, "NumberSplit", "_");
    s.audioProgramMode = UInt8(r, "AudioProgramMode", 0);
    Keep(r, "AudioProgram", s.audioProgram);
    Keep(r, "VideoProgram", s.videoProgram);
    s.ftpLocalFileMode = UInt8(r, "FTPlocalFileMode", 0);
    Keep(r, "FTPlocalFile", s.ftpLocalFile);
    Keep(r, "FTPChangeAddFTPpath", s.ftpChangeAddFtpPath);
    Keep(r, "FTPSourcePath", s.ftpSourcePath);
    Keep(r, "FTPTargetPath", s.ftpTargetPath);

    c.id3Show = Bool(r, "ID3Show", false);
    c.advancedShow = Bool(r, "AdvancedShow", false);
    if (std::optional<std::int32_t> state = r.ReadInteger("MainWinState")) {
        c.mainWinState = *state;
        c.maximized = *state == 1;
        if (!c.maximized) {
            c.top = Int(r, "MainTop", 0);
            c.left = Int(r, "MainLeft", 0);
            c.height = Int(r, "MainHeight", 0);
            c.width = Int(r, "MainWidth", 0);
        }
    }
    s.searchMode = Int(r, "SearchMode", 0);
    c.findMode = Int(r, "FindMode", 1);
    c.scanDir = Bool(r, "ScanDir", false);
    Keep(r, "FindMask", c.findMask);
    c.findOnDrives = Bool(r, "FindOnDrives", false);
    Keep(r, "FindDrives", c.findDrives);
    c.findUseMask = Bool(r, "FindUseMask", true);
    c.overSearch = Bool(r, "OverSearch", true);
    c.fullString = Bool(r, "FullString", true);
    Keep(r, "FTPlocal", c.ftpLocal);
    Keep(r, "FindText", c.findText);
    s.confirmationOnExit = Bool(r, "ConfirmationOnExit", false);

    store.CloseKey();
    return true;
}

FileResult SaveSettings(RegistryStore& store, const std::string& masksFile, const std::vector<std::string>& masks,
                        const TAppSettings& s, const MainControlValues& c) {
    FileResult maskResult = SaveMaskList(masksFile, masks);
    auto first = [&](FileResult registryResult) { return maskResult ? registryResult : maskResult; };

    // Values written meanwhile by dialogs or by another copy of the program stay.
    if (FileResult r = store.Load(); !r) return first(r);
    if (!store.OpenKey(kSettingsKey, true))
        return first(FileResult::Failure("Cannot open the settings key in " + store.FilePath()));
    RegistryStore& w = store;

    if (s.currentLanguage != s.loadedLanguage) w.WriteInteger("LangIndex", s.currentLanguage);
    if (s.currentEditMode != s.loadedEditMode) w.WriteInteger("MainEditMode", s.currentEditMode);

    w.WriteInteger("RenameMode", s.renameMode);
    w.WriteInteger("UpCaseFirstLettersOfArtistMode", s.artistMode);
    w.WriteBool("AddFileNameMode", c.addFileName);
    w.WriteBool("AddFilePathMode", c.addFilePath);
    w.WriteBool("MakeLowercaseExt", s.makeLowercaseExt);
    w.WriteBool("SaveMaskPosition", s.saveMaskPosition);
    if (s.saveMaskPosition) w.WriteInteger("MaskPosition", c.maskPosition);
    w.WriteBool("DisablePlayListButton", s.disablePlayListButton);
    w.WriteBool("ShowRenameWarning", s.showRenameWarning);
    w.WriteBool("WriteRenameInfo", s.writeRenameInfo);
    w.WriteInteger("TreeMode", s.treeMode);
    w.WriteInteger("TreeNameMode", s.treeNameMode);
    w.WriteBool("AddingDate", s.addingDate);
    w.WriteBool("AddingNumber", s.addingNumber);
    w.WriteBool("EndingNumber", s.endingNumber);
    w.WriteBool("RecursiveRename", s.recursiveRename);
    w.WriteBool("RecursiveSearch", s.recursiveSearch);
    w.WriteBool("use_m3u", s.useM3u);
    w.WriteBool("AnyMask", s.anyMask);
    w.WriteBool("M3USearchAll", s.m3uSearchAll);
    w.WriteBool("M3UDlgBox", s.m3uDlgBox);
    w.WriteInteger("NumberFormat", s.numberFormat);
    w.WriteString("NumberSplit", s.numberSplit);
    w.WriteInteger("AudioProgramMode", s.audioProgramMode);
    w.WriteString("AudioProgram", s.audioProgram);
    w.WriteString("VideoProgram", s.videoProgram);
    w.WriteInteger("FTPlocalFileMode", s.ftpLocalFileMode);
    w.WriteString("FTPlocalFile", s.ftpLocalFile);
    w.WriteBool("FTPChangeAddFTPpath", s.ftpChangeAddFtpPath);
    w.WriteString("FTPSourcePath", s.ftpSourcePath);
    w.WriteString("FTPTargetPath", s.ftpTargetPath);

    // A maximized window keeps the bounds stored from its last normal state.
    if (c.maximized) {
        w.WriteInteger("MainWinState", 1);
    } else {
        w.WriteInteger("MainWinState", 0);
        w.WriteInteger("MainTop", c.top);
        w.WriteInteger("MainLeft", c.left);
        w.WriteInteger("MainHeight", c.height);
        w.WriteInteger("MainWidth", c.width);
    }

    w.WriteInteger("SearchMode", s.searchMode);
    w.WriteInteger("FindMode", c.findMode);
    w.WriteBool("ScanDir", c.scanDir);
    w.WriteString("FindMask", c.findMask);
    w.WriteBool("FindOnDrives", c.findOnDrives);
    w.WriteString("FindDrives", c.findDrives);
    w.WriteBool("FindUseMask", c.findUseMask);
    w.WriteBool("OverSearch", c.overSearch);
    w.WriteBool("FullString", c.fullString);
    w.WriteBool("FTPlocal", c.ftpLocal);
    w.WriteString("FindText", c.findText);
    w.WriteBool("ID3Show", c.id3Show);
    w.WriteBool("AdvancedShow", c.advancedShow);
    w.WriteBool("ConfirmationOnExit", s.confirmationOnExit);

    store.CloseKey();
    return first(store.Save());
}

}  // namespace tandrel
