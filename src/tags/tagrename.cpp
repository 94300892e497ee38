#include "tags/tagrename.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/files.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"
#include "text/numbers.h"
#include "text/paths.h"
#include "text/strings.h"
#include "text/transforms.h"

namespace tandrel {

const std::array<const char*, kNameFieldCount> kNameFieldValues = {"ID3TrackNum", "ID3Artist", "ID3Title",
                                                                   "ID3Album", "ID3Year"};

namespace {

const char* const kFieldNames[kNameFieldCount] = {"track number", "artist", "title", "album", "year"};
constexpr TID3v2::Field kV2Fields[kNameFieldCount] = {TID3v2::kTrackField, TID3v2::kArtistField,
                                                      TID3v2::kTitleField, TID3v2::kAlbumField, TID3v2::kYearField};

int FieldOfLetter(char c) {
    for (int f = 0; f < kNameFieldCount; ++f)
        if (kNameFieldLetters[f] == c) return f;
    return -1;
}

std::string TrackText(std::uint8_t track) { return track != 0 ? std::to_string(track) : std::string(); }

std::array<std::string, kNameFieldCount> FieldsOf(const TID3v1& t) {
    return {TrackText(t.Track()), t.Artist(), t.Title(), t.Album(), t.Year()};
}

std::array<std::string, kNameFieldCount> FieldsOf(const TID3v2& t) {
    return {TrackText(t.Track()), t.Artist(), t.Title(), t.Album(), t.Year()};
}

// Which fields the pattern's letters name.
std::array<bool, kNameFieldCount> UsedFields(const std::string& pattern) {
    std::array<bool, kNameFieldCount> used{};
    for (char c : pattern)
        if (const int f = FieldOfLetter(c); f >= 0) used[static_cast<std::size_t>(f)] = true;
    return used;
}

// True when some field the pattern uses takes the source.
bool SourceNeeded(const TagNameOptions& o, const std::array<bool, kNameFieldCount>& used, int source) {
    for (int f = 0; f < kNameFieldCount; ++f)
        if (used[static_cast<std::size_t>(f)] && o.sources[static_cast<std::size_t>(f)] == source) return true;
    return false;
}

void Refuse(TagNamePlanRow& row, std::string reason, bool show) {
    row.status = TagNameStatus::Refused;
    row.reason = std::move(reason);
    row.showReason = show;
}

// Something already has the name: a file, a folder, a link (even a broken one).
bool NameTaken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(Cp1251ToUtf8(path), ec));
}

// The row of one file as if it were alone.
TagNamePlanRow PlanOne(const std::string& dir, const std::string& name, const TagNameOptions& o, TID3v1& v1,
                       TID3v2& v2) {
    TagNamePlanRow row;
    row.dir = dir;
    row.oldName = name;
    const std::string path = JoinPath(dir, name);
    if (PathIsUnmappable(path)) {
        Refuse(row, "the name holds a character outside code page 1251", true);
        return row;
    }
    if (!FileExists(path)) {
        row.status = TagNameStatus::Missing;
        return row;
    }
    const std::string extension = CopyAfterLastChar(name, '.');
    if (!o.Usable()) return row;
    const int mode = *o.tagMode;
    const std::array<bool, kNameFieldCount> used = UsedFields(o.pattern);

    std::array<std::string, kNameFieldCount> fields;
    std::string lost;  // the fields whose text lost characters, with the characters
    if ((mode == 0 || mode == 1) && SourceNeeded(o, used, kSourceID3v1)) {
        if (!v1.ReadFromFile(path)) {
            row.readErrors.push_back(v1.LastError());
        } else if (v1.Exists()) {
            const auto values = FieldsOf(v1);
            for (std::size_t f = 0; f < fields.size(); ++f)
                if (o.sources[f] == kSourceID3v1) fields[f] = values[f];
        }
    }
    if ((mode == 0 || mode == 2) && SourceNeeded(o, used, kSourceID3v2)) {
        if (!v2.ReadFromFile(path)) {
            row.readErrors.push_back(v2.LastError());
        } else if (v2.Exists()) {
            const auto values = FieldsOf(v2);
            for (std::size_t f = 0; f < fields.size(); ++f) {
                if (o.sources[f] != kSourceID3v2) continue;
                fields[f] = values[f];
                const std::u32string& chars = v2.CharactersLostIn(kV2Fields[f]);
                if (used[f] && !chars.empty())
                    lost += std::string(lost.empty() ? "" : "; ") + "the " + kFieldNames[f] + " of its ID3v2 tag holds " +
                            NameCharacters(chars);
            }
        }
    }

    const std::string built = NameFromPattern(o.pattern, fields, o.numberWidth, o.basicSplit);
    if (built.empty()) return row;
    if (!lost.empty()) {
        Refuse(row, lost + ", which code page 1251 lacks", true);
        return row;
    }
    std::string stem = CleanTagName(built);
    if (stem.empty()) return row;
    if (o.renameMode == 1) stem = ReplaceChar(' ', '_', stem);
    else if (o.renameMode == 2) stem = ReplaceChar('_', ' ', stem);
    row.newName = stem + "." + (o.makeLowercaseExt ? ToLowerCase(extension) : extension);
    if (row.newName == name) {
        row.newName.clear();
        return row;
    }
    if (PathIsUnmappable(row.newName))
        Refuse(row, "the new name would hold a character outside code page 1251", true);
    else if (row.newName == ".." || row.newName.find('\0') != std::string::npos)
        Refuse(row, "the new name is not a file name", true);
    else
        row.status = TagNameStatus::Rename;
    return row;
}

}  // namespace

bool TagNameOptions::Usable() const { return !pattern.empty() && tagMode && *tagMode >= 0 && *tagMode <= 2; }

TagNameOptions ReadTagNameOptions(RegistryStore& store, const TAppSettings& settings) {
    TagNameOptions o;
    o.renameMode = settings.renameMode;
    o.makeLowercaseExt = settings.makeLowercaseExt;
    if (!store.OpenKey(kSettingsKey, false)) return o;
    o.tagMode = store.ReadInteger("ID3TagMode");
    o.pattern = store.ReadString("ID3FileFormat").value_or("");
    o.numberWidth = store.ReadInteger("ID3NumFormat").value_or(2);
    o.basicSplit = store.ReadString("BasicSplit").value_or("_");
    for (std::size_t f = 0; f < o.sources.size(); ++f) o.sources[f] = store.ReadInteger(kNameFieldValues[f]).value_or(0);
    store.CloseKey();
    return o;
}

FileResult WriteTagNameOptions(RegistryStore& store, const TagNameOptions& o) {
    if (!store.OpenKey(kSettingsKey, true)) return FileResult::Failure("the settings key cannot be created");
    store.WriteInteger("ID3TagMode", o.tagMode.value_or(0));
    store.WriteString("ID3FileFormat", o.pattern);
    for (std::size_t f = 0; f < o.sources.size(); ++f) store.WriteInteger(kNameFieldValues[f], o.sources[f]);
    store.WriteInteger("ID3NumFormat", o.numberWidth);
    store.WriteString("BasicSplit", o.basicSplit);
    store.CloseKey();
    return store.Save();
}

std::string NameFromPattern(const std::string& pattern, const std::array<std::string, kNameFieldCount>& fields,
                            int width, const std::string& split) {
    // A stored width beyond the dialog's range must not make a giant name.
    width = std::min(width, kMaxNumberWidth);
    std::string name;
    for (char c : pattern) {
        const int f = FieldOfLetter(c);
        std::string piece = f < 0 ? std::string(1, c) : fields[static_cast<std::size_t>(f)];
        if (f == kNameTrack)
            if (const std::optional<std::int32_t> n = IntegerValue(piece)) piece = IntToStrZero(*n, width);
        if (!piece.empty()) name = JoinNonEmpty(name, piece, split);
    }
    return name;
}

std::string CleanTagName(std::string name) {
    name = CollapseSpaces(LineBreaksToSpaces(std::move(name)));
    return DeleteChar(DeleteChar(DeleteQuotes(std::move(name)), '\\'), '/');
}

std::vector<TagNamePlanRow> PlanTagNames(const std::vector<TagNameFile>& files, const TagNameOptions& options,
                                         TID3v1& v1, TID3v2& v2, Prompter* progress) {
    std::vector<TagNamePlanRow> rows;
    rows.reserve(files.size());
    // The paths the rows so far give to files, and those they move files away from.
    std::set<std::string> claimed, vacated, planned;
    for (const TagNameFile& file : files) {
        const std::string from = JoinPath(file.dir, file.name);
        if (progress) progress->SetProgressText(from);
        if (!planned.insert(from).second) {
            TagNamePlanRow row;
            row.dir = file.dir;
            row.oldName = file.name;
            rows.push_back(std::move(row));
            continue;
        }
        TagNamePlanRow row = PlanOne(file.dir, file.name, options, v1, v2);
        if (row.status == TagNameStatus::Rename) {
            const std::string to = JoinPath(row.dir, row.newName);
            if (claimed.count(to) || (!vacated.count(to) && NameTaken(to))) {
                Refuse(row, "a file named " + row.newName + " is there already", false);
            } else {
                claimed.insert(to);
                claimed.erase(from);
                vacated.insert(from);
                vacated.erase(to);
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool ExecuteTagName(TagNamePlanRow& row) {
    if (row.status != TagNameStatus::Rename) return false;
    const FileResult moved = MoveFileNoReplace(JoinPath(row.dir, row.oldName), JoinPath(row.dir, row.newName));
    if (!moved) {
        Refuse(row, Utf8ToCp1251(moved.error).text, false);
        return false;
    }
    row.status = TagNameStatus::Renamed;
    return true;
}

std::string TagNameNotRenamedText(const TagNamePlanRow& row) { return row.oldName + " not renamed!!!"; }

std::string TagNameFailureText(const TagNamePlanRow& row) {
    return row.reason.empty() ? TagNameNotRenamedText(row) : TagNameNotRenamedText(row) + " (" + row.reason + ")";
}

RenamePlan TagNamesAsPlan(const std::vector<TagNamePlanRow>& rows) {
    RenamePlan plan;
    std::set<std::string> given;  // the paths earlier rows give
    for (const TagNamePlanRow& r : rows) {
        PlanRow row;
        row.dir = r.dir;
        row.oldName = r.oldName;
        row.newName = r.newName.empty() ? r.oldName : r.newName;
        const std::string to = JoinPath(r.dir, row.newName);
        switch (r.status) {
            case TagNameStatus::Rename:
            case TagNameStatus::Renamed:
                row.status = PlanStatus::WillRename;
                given.insert(to);
                break;
            case TagNameStatus::NoName: row.status = PlanStatus::Unchanged; break;
            case TagNameStatus::Missing: row.status = PlanStatus::NotAllowed; break;
            case TagNameStatus::Refused:
                if (r.reason.find("code page 1251") != std::string::npos)
                    row.status = PlanStatus::OutsideCodePage;
                else if (r.reason.rfind("a file named ", 0) == 0)
                    row.status = given.count(to) ? PlanStatus::SameTarget : PlanStatus::TargetExists;
                else
                    row.status = PlanStatus::NotAllowed;
                break;
        }
        row.problemText = TagNameNotRenamedText(r);
        row.problemReason = r.reason;
        row.showReason = r.showReason;
        plan.rows.push_back(std::move(row));
    }
    return plan;
}

void ReportTagNameRow(const TagNamePlanRow& row, const TagMessages& messages) {
    const std::string path = JoinPath(row.dir, row.oldName);
    if (row.status == TagNameStatus::Missing) messages.Show(MessageId::FileMissing, path);
    for (const std::string& error : row.readErrors) messages.Show(MessageId::TagReadFailed, path, error);
    if (row.status == TagNameStatus::Refused)
        messages.prompter.SetStatusText(row.showReason ? TagNameFailureText(row) : TagNameNotRenamedText(row));
}

TagNamePlanRow RenameFromTags(const std::string& dir, const std::string& name, const TagNameOptions& options,
                              TID3v1& v1, TID3v2& v2, const TagMessages& messages) {
    std::vector<TagNamePlanRow> rows = PlanTagNames({{dir, name}}, options, v1, v2);
    ExecuteTagName(rows.front());
    ReportTagNameRow(rows.front(), messages);
    return std::move(rows.front());
}

}  // namespace tandrel
