// Where a directory search starts and the choices around it: the start points
// of the scan (directory tree, home directory, drive list), the drive list
// text and its editing, the home values of the settings, the tag-search
// condition and the queries built from a file name. Texts are code-page-1251.
#pragma once

#include <string>
#include <vector>

namespace tandrel {

class RegistryStore;

struct StartPoint {
    std::string directory;
    std::string mask;
    bool operator==(const StartPoint&) const = default;
};

// The home directories and masks of the two find modes, as the settings
// dialog stores them.
struct HomeSearchValues {
    std::string fileNameDir, fileNameMask;      // HomeDirFindFileName, MaskFindFileName
    std::string insideFileDir, insideFileMask;  // HomeDirFindInsideFile, MaskFindInsideFile
};

// Reloads the store and reads the four values; each one missing (or the key,
// or the file) reads as "".
HomeSearchValues ReadHomeSearchValues(RegistryStore& store);

// The state of the controls that choose the start points.
struct ScanChoice {
    bool findOnDrives = false;
    std::string driveList;        // edFindDrv
    bool useMask = false;         // cbUseMask checked and enabled
    std::string searchMask;       // cboxMask
    bool useHomeDirMask = false;  // cbUseHomeDirMask
    int findMode = 1;             // rgFindMode
    HomeSearchValues home;
    std::string directory;        // the directory list's directory
    std::string fileListMask;     // edMask
};

// The drives of the list, the root "/" of the machine for a find mode
// without a home directory.
std::vector<StartPoint> ScanStartPoints(const ScanChoice& choice);

// The roots of a drive list "root,root,...": the pieces between commas, empty
// pieces dropped.
std::vector<std::string> ParseDriveList(const std::string& list);
// Adds the root unless the list already holds it: an empty list becomes the
// root, a list ending with a root gets "," + root, a list ending with a comma
// stays as it is.
std::string AddDriveToList(const std::string& list, const std::string& root);
// Removes the root and its comma; a list holding only the root becomes empty.
std::string DeleteDriveFromList(const std::string& list, const std::string& root);

// The search mask names media files while "Use Mask:" is checked.
bool AdvancedMaskIsMedia(bool useMaskChecked, const std::string& searchMask);
// Inside-file searches test ID3 tags: the search mask is a media mask while it
// is in use, or the file manager's mask is one.
bool TagSearchCondition(bool advancedMaskIsMedia, bool useMaskCheckedAndEnabled, const std::string& fileListMask);

// "Words Search": the name without its extension ("" without a full stop).
std::string WordsSearchQuery(const std::string& filePath);
// "Copy words to String for Find": the bare name with the punctuation
// ^ - _ , . ; % & # @ ( ) [ ] turned into spaces, quotes removed and runs of
// spaces collapsed.
std::string FileNameWords(const std::string& filePath);

}  // namespace tandrel
