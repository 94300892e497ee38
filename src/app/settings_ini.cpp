// Export and import of the settings through TdSettings.ini.
#include <charconv>

#include "app/settings.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/textfile.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

// A value as written to the file: quoted where the reader would otherwise drop
// blanks at its ends or quotes around it, so that it reads back unchanged.
std::string IniValue(const std::string& v) {
    const bool blankEnds = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
    const bool quoted = v.size() >= 2 && v.front() == '"' && v.back() == '"';
    return blankEnds || quoted ? "\"" + v + "\"" : v;
}

// The number of a text that IsInteger accepts (decimal, "$" or "0x" hexadecimal
// as a 32-bit pattern); absent for any other text.
std::optional<std::int32_t> ParseIniInteger(const std::string& text) {
    if (!IsInteger(text)) return std::nullopt;
    std::size_t i = text.find_first_not_of(' ');
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    int base = 10;
    if (text[i] == '$') {
        base = 16;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    if (std::from_chars(text.data() + i, end, value, base).ptr != end) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? 0 - value : value));
}

// Every value of TdSettings.ini after HomeDir, in file order, with its import
// default. Settings and Controls are const for the export.
template <class Settings, class Controls, class Visitor>
void VisitIniValues(Settings& s, Controls& c, Visitor& v) {
    v.Int("LangIndex", s.loadedLanguage, 0);
    v.Int("MainEditMode", s.loadedEditMode, 0);
    v.Int("RenameMode", s.renameMode, 0);
    v.Int("UpCaseFirstLettersOfArtistMode", s.artistMode, 0);
    v.Bool("AddFileNameMode", c.addFileName, false);
    v.Bool("AddFilePathMode", c.addFilePath, false);
    v.Bool("MakeLowercaseExt", s.makeLowercaseExt, false);
    v.Bool("DisablePlayListButton", s.disablePlayListButton, false);
    v.Bool("SaveMaskPosition", s.saveMaskPosition, false);
    v.Int("MaskPosition", c.maskPosition, 0);
    v.Bool("ShowRenameWarning", s.showRenameWarning, false);
    v.Bool("WriteRenameInfo", s.writeRenameInfo, false);
    v.Int("TreeMode", s.treeMode, 0);
    v.Int("TreeNameMode", s.treeNameMode, 0);
    v.Bool("AddingDate", s.addingDate, false);
    v.Bool("AddingNumber", s.addingNumber, false);
    v.Bool("RecursiveRename", s.recursiveRename, true);
    v.Bool("RecursiveSearch", s.recursiveSearch, true);
    v.Bool("use_m3u", s.useM3u, true);
    v.Int("NumberFormat", s.numberFormat, 2);
    v.Str("NumberSplit", s.numberSplit, "_");
    v.Bool("AnyMask", s.anyMask, true);
    v.Bool("M3USearchAll", s.m3uSearchAll, false);
    v.Bool("M3UDlgBox", s.m3uDlgBox, true);
    v.Int("SearchMode", s.searchMode, 0);
    v.Int("FindMode", c.findMode, 1);
    v.Bool("ScanDir", c.scanDir, false);
    v.Str("FindMask", c.findMask, "*.*");
    v.Bool("FindOnDrives", c.findOnDrives, false);
    v.Str("FindDrives", c.findDrives, "");
    v.Bool("FindUseMask", c.findUseMask, true);
    v.Bool("OverSearch", c.overSearch, true);
    v.Bool("FullString", c.fullString, true);
    v.Str("FindText", c.findText, "");
    v.Bool("ConfirmationOnExit", s.confirmationOnExit, false);
    v.Int("AudioProgramMode", s.audioProgramMode, 0);
    v.Str("AudioProgram", s.audioProgram, "");
    v.Str("VideoProgram", s.videoProgram, "");
    v.Int("FTPlocalFileMode", s.ftpLocalFileMode, 0);
    v.Str("FTPlocalFile", s.ftpLocalFile, "");
    v.Bool("FTPChangeAddFTPpath", s.ftpChangeAddFtpPath, false);
    v.Str("FTPSourcePath", s.ftpSourcePath, "");
    v.Str("FTPTargetPath", s.ftpTargetPath, "");
}

struct ExportVisitor {
    IniPairs pairs;

    template <class T>
    void Int(const char* name, const T& value, int) {
        pairs.emplace_back(name, std::to_string(static_cast<std::int32_t>(value)));
    }
    void Bool(const char* name, const bool& value, bool) { pairs.emplace_back(name, value ? "1" : "0"); }
    void Str(const char* name, const std::string& value, const char*) { pairs.emplace_back(name, IniValue(value)); }
};

struct ImportVisitor {
    const IniSection& entries;

    std::optional<std::int32_t> Number(const char* name) const {
        const std::string* text = entries.Find(name);
        return text ? ParseIniInteger(*text) : std::nullopt;
    }
    template <class T>
    void Int(const char* name, T& field, int def) {
        field = static_cast<T>(Number(name).value_or(def));
    }
    void Bool(const char* name, bool& field, bool def) {
        std::optional<std::int32_t> n = Number(name);
        field = n ? *n != 0 : def;
    }
    void Str(const char* name, std::string& field, const char* def) {
        const std::string* text = entries.Find(name);
        field = text ? *text : def;
    }
};

FileResult FirstFailure(const FileResult& a, const FileResult& b) { return a ? b : a; }

}  // namespace

SettingsFileOutcome ExportSettings(const std::string& programDir, RegistryStore& store, const TAppSettings& s,
                                   const MainControlValues& c) {
    const std::string file = JoinPath(programDir, kSettingsIniName);
    if (!FileExists(file)) return {};
    IniSection existing;
    if (FileResult r = ReadIniSection(file, kSettingsIniSection, existing); !r) return {true, r};

    ExportVisitor v;
    // The home directory comes from the settings key, of any type; none without the key.
    FileResult registryResult = store.Load();
    if (registryResult && store.OpenKey(kSettingsKey, false)) {
        v.pairs.emplace_back("HomeDir", IniValue(store.ReadString("HomeDir").value_or("")));
        store.CloseKey();
    }
    VisitIniValues(s, c, v);

    // Entries of the section that are not exported stay in the file.
    const std::size_t exported = v.pairs.size();
    IniSection known;
    for (std::size_t i = 0; i < exported; ++i) known.Add(v.pairs[i].first, {});
    for (const auto& [key, value] : existing.pairs())
        if (!known.Find(key)) v.pairs.emplace_back(key, IniValue(value));
    return {true, FirstFailure(registryResult, WriteIniSection(file, kSettingsIniSection, v.pairs))};
}

SettingsFileOutcome ImportSettings(const std::string& programDir, RegistryStore& store, TAppSettings& s,
                                   MainControlValues& c) {
    const std::string file = JoinPath(programDir, kSettingsIniName);
    if (!FileExists(file)) return {};
    IniSection entries;
    if (FileResult r = ReadIniSection(file, kSettingsIniSection, entries); !r) return {true, r};

    FileResult registryResult;
    const std::string* home = entries.Find("HomeDir");
    if (home && DirectoryExists(*home)) {
        c.homeDir = *home;
        // Reloaded first so that values others wrote to the file meanwhile stay.
        registryResult = store.Load();
        if (registryResult && store.OpenKey(kSettingsKey, false)) {
            store.WriteString("HomeDir", *home);
            store.CloseKey();
            registryResult = store.Save();
        }
    }

    ImportVisitor v{entries};
    VisitIniValues(s, c, v);
    if (!s.saveMaskPosition) c.maskPosition = 0;
    return {true, registryResult};
}

}  // namespace tandrel
