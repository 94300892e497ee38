#include "search/searchplaces.h"

#include <algorithm>

#include "app/maskkinds.h"
#include "platform/registry.h"
#include "text/paths.h"
#include "text/strings.h"

namespace tandrel {

HomeSearchValues ReadHomeSearchValues(RegistryStore& store) {
    HomeSearchValues v;
    if (!store.Load() || !store.OpenKey(kSettingsKey, false)) return v;
    v.fileNameDir = store.ReadString("HomeDirFindFileName").value_or("");
    v.fileNameMask = store.ReadString("MaskFindFileName").value_or("");
    v.insideFileDir = store.ReadString("HomeDirFindInsideFile").value_or("");
    v.insideFileMask = store.ReadString("MaskFindInsideFile").value_or("");
    store.CloseKey();
    return v;
}

std::vector<StartPoint> ScanStartPoints(const ScanChoice& c) {
    const std::string advancedMask = c.useMask ? c.searchMask : "*.*";
    if (c.findOnDrives) {
        std::vector<StartPoint> starts;
        for (std::string& root : ParseDriveList(c.driveList)) starts.push_back({std::move(root), advancedMask});
        return starts;
    }
    if (c.useHomeDirMask) {
        if (c.findMode == 0) return {{c.home.fileNameDir, c.home.fileNameMask}};
        if (c.findMode == 1) return {{c.home.insideFileDir, c.home.insideFileMask}};
        return {{std::string(1, kPathDelim), "*.*"}};
    }
    return {{c.directory, c.useMask ? c.searchMask : c.fileListMask}};
}

std::vector<std::string> ParseDriveList(const std::string& list) {
    StringList pieces;
    SplitByChar(list, ',', pieces);
    if (pieces.empty()) pieces.push_back(list);  // no comma: the whole text is one drive
    std::erase_if(pieces, [](const std::string& p) { return p.empty(); });
    return pieces;
}

std::string AddDriveToList(const std::string& list, const std::string& root) {
    if (root.empty()) return list;
    const std::vector<std::string> drives = ParseDriveList(list);
    if (std::find(drives.begin(), drives.end(), root) != drives.end()) return list;
    if (list.empty()) return root;
    if (list.back() == ',') return list;
    return list + "," + root;
}

std::string DeleteDriveFromList(const std::string& list, const std::string& root) {
    StringList pieces;
    SplitByChar(list, ',', pieces);
    if (pieces.empty()) return list == root ? std::string() : list;
    if (list.back() == ',') pieces.push_back("");  // keep a trailing comma as it was
    const auto it = std::find(pieces.begin(), pieces.end(), root);
    if (it == pieces.end() || root.empty()) return list;
    pieces.erase(it);
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += ',';
        out += pieces[i];
    }
    return out;
}

bool AdvancedMaskIsMedia(bool useMaskChecked, const std::string& searchMask) {
    return useMaskChecked && IsMediaMask(searchMask);
}

bool TagSearchCondition(bool advancedMaskIsMedia, bool useMaskCheckedAndEnabled, const std::string& fileListMask) {
    return (advancedMaskIsMedia && useMaskCheckedAndEnabled) || IsMediaMask(fileListMask);
}

std::string WordsSearchQuery(const std::string& filePath) {
    return CopyBetweenLastChars(filePath, kPathDelim, '.');
}

std::string FileNameWords(const std::string& filePath) {
    std::string words = WordsSearchQuery(filePath);
    for (char ch : {'^', '-', '_', ',', '.', ';', '%', '&', '#', '@', '(', ')', '[', ']'})
        words = ReplaceChar(ch, ' ', std::move(words));
    return CollapseSpaces(DeleteQuotes(std::move(words)));
}

}  // namespace tandrel
