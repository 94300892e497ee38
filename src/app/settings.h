// The settings of the main window: the settings record, the values that live in
// the main window's controls, their loading from and saving to the settings
// registry, and their export to and import from TdSettings.ini.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/result.h"

namespace tandrel {

inline constexpr const char* kSettingsIniName = "TdSettings.ini";
inline constexpr const char* kSettingsIniSection = "Settings";

// The settings record held by the main window. Strings are code-page-1251 text.
// The member defaults are those of the settings table (settings_table.h).
struct TAppSettings {
    std::int8_t loadedLanguage = 0;      // LangIndex as loaded or imported: 1 Russian, else English
    std::int8_t currentLanguage = 0;     // language the window shows now
    std::int8_t loadedEditMode = 0;      // MainEditMode as loaded or imported: 0 editor, 1 check list
    std::int8_t currentEditMode = 0;     // output view shown now
    std::int8_t renameMode = 0;          // RenameMode
    std::int8_t treeMode = 0;            // TreeMode
    std::int8_t treeNameMode = 0;        // TreeNameMode
    std::int8_t artistMode = 0;          // UpCaseFirstLettersOfArtistMode
    bool confirmationOnExit = false;     // ConfirmationOnExit
    bool makeLowercaseExt = false;       // MakeLowercaseExt
    bool saveMaskPosition = false;       // SaveMaskPosition
    bool disablePlayListButton = false;  // DisablePlayListButton
    bool showRenameWarning = false;      // ShowRenameWarning
    bool writeRenameInfo = false;        // WriteRenameInfo
    bool addingDate = false;             // AddingDate
    bool addingNumber = false;           // AddingNumber
    bool endingNumber = false;           // EndingNumber
    bool recursiveRename = true;         // RecursiveRename
    bool recursiveSearch = true;         // RecursiveSearch
    bool useM3u = true;                  // use_m3u
    bool anyMask = true;                 // AnyMask
    bool m3uSearchAll = false;           // M3USearchAll
    bool m3uDlgBox = true;               // M3UDlgBox
    std::int32_t numberFormat = 2;       // NumberFormat
    std::int32_t searchMode = 0;         // SearchMode
    std::string numberSplit = "_";       // NumberSplit
    std::uint8_t audioProgramMode = 0;   // AudioProgramMode
    std::string audioProgram;            // AudioProgram
    std::string videoProgram;            // VideoProgram
    std::string ftpLocalFile;            // FTPlocalFile
    std::uint8_t ftpLocalFileMode = 0;   // FTPlocalFileMode
    bool ftpChangeAddFtpPath = false;    // FTPChangeAddFTPpath
    std::string ftpSourcePath;           // FTPSourcePath
    std::string ftpTargetPath;           // FTPTargetPath
    bool writeID3v2Unicode = false;      // WriteID3v2Unicode: new ID3v2 frames with non-ASCII text as UTF-16
    bool showRenamePreview = false;      // ShowRenamePreview: batch renames show their plan first (new users: on;
                                         // settings kept from before it existed: off, as then)

    bool operator==(const TAppSettings&) const = default;
};

// Settings that live in the main window's controls. The member defaults are
// those of the settings table; before any setting is applied, the controls
// hold the window's built-in state (the tag panel shown, for one).
struct MainControlValues {
    bool addFileName = false;           // AddFileNameMode (cbAddFileName)
    bool addFilePath = false;           // AddFilePathMode (cbAddFilePath)
    std::int32_t maskPosition = 0;      // MaskPosition (selected index of edMask)
    bool id3Show = false;               // ID3Show (tag panel visible)
    bool advancedShow = false;          // AdvancedShow (advanced search panel visible)
    std::optional<std::int32_t> mainWinState;  // MainWinState as loaded; absent: placement untouched
    std::int32_t top = 0;               // MainTop
    std::int32_t left = 0;              // MainLeft
    std::int32_t height = 0;            // MainHeight
    std::int32_t width = 0;             // MainWidth
    bool maximized = false;             // the window is maximized (MainWinState 1)
    std::int32_t findMode = 1;          // FindMode (rgFindMode): 0 by name, 1 inside file
    bool scanDir = false;               // ScanDir (cbScanDir)
    std::string findMask = "*.*";       // FindMask (cboxMask)
    bool findOnDrives = false;          // FindOnDrives (cbFindOnDrives)
    std::string findDrives;             // FindDrives (edFindDrv)
    bool findUseMask = true;            // FindUseMask (cbUseMask)
    bool overSearch = true;             // OverSearch (cbOverSearch)
    bool fullString = true;             // FullString (cbFullString)
    bool ftpLocal = false;              // FTPlocal (cbFTPlocal)
    std::string findText;               // FindText (edFind)
    // HomeDir, set only when it names an existing directory; the directory list goes there.
    std::optional<std::string> homeDir;

    bool operator==(const MainControlValues&) const = default;
};

// The record before any setting is applied, at the first start when the
// settings key does not exist: every member zero or empty but the rename
// preview, which is on. The table's defaults apply only to values missing
// from an existing key.
TAppSettings FirstStartSettings();

// Reloads the store from its file and reads every main-window value of the
// settings key. When the key does not exist (first start) or the file cannot
// be read, returns false and changes nothing, not even to the defaults.
bool LoadSettings(RegistryStore& store, TAppSettings& settings, MainControlValues& controls);

// Writes the mask list, then reloads the store from its file (keeping what
// others wrote meanwhile), writes the main-window values into the key and saves
// the file. Everything is attempted; the first failure is returned.
FileResult SaveSettings(RegistryStore& store, const std::string& masksFile, const std::vector<std::string>& masks,
                        const TAppSettings& settings, const MainControlValues& controls);

// Outcome of an export or import of TdSettings.ini.
struct SettingsFileOutcome {
    bool fileFound = false;  // the file existed; without it nothing is done
    FileResult result;       // the first failure met
};

// Writes the settings into the existing TdSettings.ini of programDir (a missing
// file is not created). HomeDir comes from the settings key when it opens.
SettingsFileOutcome ExportSettings(const std::string& programDir, RegistryStore& store, const TAppSettings& settings,
                                   const MainControlValues& controls);

// Reads TdSettings.ini of programDir into the record and the controls. The
// loaded language and edit mode are set, the current ones are not. An existing
// HomeDir directory is applied and stored in the settings key if that exists.
// A file that cannot be read changes nothing.
SettingsFileOutcome ImportSettings(const std::string& programDir, RegistryStore& store, TAppSettings& settings,
                                   MainControlValues& controls);

}  // namespace tandrel
