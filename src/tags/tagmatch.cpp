#include "tags/tagmatch.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

#include "platform/files.h"
#include "tags/tagsave.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"
#include "text/numbers.h"
#include "text/transforms.h"

namespace tandrel {

void TagMessages::Show(MessageId id, const std::string& fileName, const std::string& reason) const {
    prompter.ShowMessage(Message(language, id) + fileName);
    if (!reason.empty()) prompter.SetStatusText(Utf8ToCp1251(reason).text);
}

void TagMessages::ShowDropped(const TID3v2& tag, const std::string& fileName) const {
    if (tag.DroppedFrames().empty()) return;
    std::string ids;
    for (const std::string& id : tag.DroppedFrames()) ids += (ids.empty() ? "" : ", ") + id;
    prompter.SetStatusText(Message(language, MessageId::TagFramesDropped) + ids + " - " + fileName);
}

bool TagMessages::AskToLose(const std::u32string& characters) const {
    return prompter.AskYesNo(Message(language, MessageId::TagCharsLost) + NameCharacters(characters) + ".\n" +
                             Message(language, MessageId::TagSaveAnyway));
}

namespace {

template <class Tag>
bool ReadTag(Tag& tag, const TagMessages& messages, const std::string& fileName) {
    if (!FileExists(fileName)) {
        messages.Show(MessageId::FileMissing, fileName);
        return false;
    }
    if (!tag.ReadFromFile(fileName)) {
        messages.Show(MessageId::TagReadFailed, fileName, tag.LastError());
        return false;
    }
    return true;
}

// ToLowerCase of every byte, made once.
const std::array<char, 256>& LowerCaseTable() {
    static const std::array<char, 256> table = [] {
        std::string bytes(256, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i);
        bytes = ToLowerCase(std::move(bytes));
        std::array<char, 256> t{};
        std::copy(bytes.begin(), bytes.end(), t.begin());
        return t;
    }();
    return table;
}

// Whether ToLowerCase(field) holds query, without making the lower-cased copy.
bool LoweredContains(std::string_view field, std::string_view query, const std::array<char, 256>& lower) {
    if (query.size() > field.size()) return false;
    const std::size_t last = field.size() - query.size();
    for (std::size_t i = 0; i <= last; ++i) {
        std::size_t k = 0;
        while (k < query.size() && lower[static_cast<unsigned char>(field[i + k])] == query[k]) ++k;
        if (k == query.size()) return true;
    }
    return false;
}

bool AnyContains(std::initializer_list<std::string_view> fields, const std::string& query) {
    if (query.empty()) return false;
    const std::array<char, 256>& lower = LowerCaseTable();
    for (std::string_view field : fields)
        if (LoweredContains(field, query, lower)) return true;
    return false;
}

std::string_view GenreNameView(int genreId) {
    if (genreId < 0 || genreId >= kGenreCount) return {};
    return GenreNames[static_cast<std::size_t>(genreId)];
}

bool V1Contains(const TID3v1& t, const std::string& query) {
    return AnyContains({t.Title(), t.Artist(), t.Album(), t.Year(), GenreNameView(t.GenreID()), t.Comment()}, query);
}

bool V2Contains(const TID3v2& t, const std::string& query) {
    return AnyContains({t.Title(), t.Artist(), t.Album(), t.Year(), t.Genre(), t.Comment()}, query);
}

// Reads the tag of an existing file; false (after the message) when it cannot.
template <class Tag>
bool ReadForMatch(Tag& tag, const TagMessages& messages, const std::string& fileName) {
    return !fileName.empty() && ReadTag(tag, messages, fileName) && tag.Exists();
}

// Reads the tag before an update; a failure is shown and the update goes on.
template <class Tag>
void ReadForUpdate(Tag& tag, const TagMessages& messages, const std::string& fileName) {
    if (!FileExists(fileName)) {
        tag.ResetData();
        messages.Show(MessageId::FileMissing, fileName);
    } else if (!tag.ReadFromFile(fileName)) {
        messages.Show(MessageId::TagReadFailed, fileName, tag.LastError());
    }
}

template <class Tag>
void UpdateCommonFields(Tag& tag, const TagFieldUpdate& u) {
    auto changes = [](const std::string& given, const std::string& current) {
        return !given.empty() && given != current;
    };
    if (changes(u.title, tag.Title())) tag.SetTitle(u.title);
    if (changes(u.artist, tag.Artist())) tag.SetArtist(u.artist);
    if (changes(u.album, tag.Album())) tag.SetAlbum(u.album);
    if (changes(u.year, tag.Year())) tag.SetYear(u.year);
    if (changes(u.comment, tag.Comment())) tag.SetComment(u.comment);
    const long long leading = LeadingNumber(u.track);
    if (leading >= 1 && leading != tag.Track()) tag.SetTrack(TrackFromText(u.track));
}

// Every update replaces the file through a temporary copy, the ID3v1 record
// too: a batch stopped part-way leaves no file torn.
bool SaveUpdated(TID3v1* v1, TID3v2* v2, const TagMessages& messages, const std::string& fileName) {
    if (!FileExists(fileName)) {
        messages.Show(MessageId::TagSaveFailed, fileName);
        return false;
    }
    if (FileResult r = SaveTagsToFile(fileName, v1, v2); !r) {
        messages.Show(MessageId::TagSaveFailed, fileName, r.error);
        return false;
    }
    if (v2) messages.ShowDropped(*v2, fileName);
    return true;
}

void UpdateID3v1Genre(TID3v1& tag, const TagFieldUpdate& update) {
    const int p = update.genrePosition;
    if (p >= 1 && p <= kGenreCount && p != tag.GenreID() + 1) tag.SetGenreID(static_cast<std::uint8_t>(p - 1));
}

void UpdateID3v2Genre(TID3v2& tag, const TagFieldUpdate& update) {
    if (!update.genre.empty() && update.genre != tag.Genre()) tag.SetGenre(update.genre);
}

}  // namespace

bool ReadTagShowingFailure(TID3v1& tag, const TagMessages& messages, const std::string& fileName) {
    return ReadTag(tag, messages, fileName);
}

bool ReadTagShowingFailure(TID3v2& tag, const TagMessages& messages, const std::string& fileName) {
    return ReadTag(tag, messages, fileName);
}

bool MatchID3v1Tag(TID3v1& tag, const TagMessages& messages, const std::string& query, const std::string& fileName) {
    return ReadForMatch(tag, messages, fileName) && V1Contains(tag, query);
}

bool MatchID3v2Tag(TID3v2& tag, const TagMessages& messages, const std::string& query, const std::string& fileName) {
    return ReadForMatch(tag, messages, fileName) && V2Contains(tag, query);
}

namespace {

// Reads the tag from the open file; false (after the message) when it cannot
// be read or there is none.
template <class Tag>
bool ReadOpenForMatch(Tag& tag, const TagMessages& messages, TagFileReader& file, const std::string& fileName) {
    if (!tag.ReadFrom(file)) {
        messages.Show(MessageId::TagReadFailed, fileName, tag.LastError());
        return false;
    }
    return tag.Exists();
}

}  // namespace

bool MatchID3Tags(TID3v1& v1, TID3v2& v2, const TagMessages& messages, const std::string& query,
                  const std::string& fileName) {
    if (fileName.empty()) return false;
    TagFileReader file;
    // A file that cannot be opened gets the messages of the separate reads.
    if (!file.Open(fileName))
        return MatchID3v1Tag(v1, messages, query, fileName) || MatchID3v2Tag(v2, messages, query, fileName);
    if (ReadOpenForMatch(v1, messages, file, fileName) && V1Contains(v1, query)) return true;
    return ReadOpenForMatch(v2, messages, file, fileName) && V2Contains(v2, query);
}

bool MatchListedID3Tags(TID3v1& v1, TID3v2& v2, TagFileReader& reader, const TagMessages& messages,
                        const std::string& query, const std::string& fileName, const FindData& file,
                        const ListedEntry& at) {
    const bool plainFile = (file.attr & (faArchive | faDirectory | faSymLink)) == faArchive;
    // Every way that shows a message is left to MatchID3Tags: nothing is shown
    // here before it takes over, so the file gets exactly its messages.
    if (fileName.empty() || !plainFile || !reader.OpenListed(at, fileName) ||
        reader.Size() < static_cast<std::int64_t>(TID3v1::kTagSize) || !v1.ReadFrom(reader)) {
        reader.Close();
        return MatchID3Tags(v1, v2, messages, query, fileName);
    }
    if (v1.Exists() && V1Contains(v1, query)) {
        reader.Close();
        return true;
    }
    const bool read = v2.ReadFrom(reader);
    reader.Close();
    if (!read) return MatchID3Tags(v1, v2, messages, query, fileName);
    return v2.Exists() && V2Contains(v2, query);
}

bool UpdateID3v1Fields(TID3v1& tag, const TagMessages& messages, const std::string& fileName,
                       const TagFieldUpdate& update) {
    if (fileName.empty()) return false;
    ReadForUpdate(tag, messages, fileName);
    UpdateCommonFields(tag, update);
    UpdateID3v1Genre(tag, update);
    return SaveUpdated(&tag, nullptr, messages, fileName);
}

bool UpdateID3v2Fields(TID3v2& tag, const TagMessages& messages, const std::string& fileName,
                       const TagFieldUpdate& update) {
    if (fileName.empty()) return false;
    ReadForUpdate(tag, messages, fileName);
    UpdateCommonFields(tag, update);
    UpdateID3v2Genre(tag, update);
    return SaveUpdated(nullptr, &tag, messages, fileName);
}

bool UpdateID3Fields(TID3v1& v1, TID3v2& v2, const TagMessages& messages, const std::string& fileName,
                     const TagFieldUpdate& update) {
    if (fileName.empty()) return false;
    if (!FileExists(fileName)) {
        messages.Show(MessageId::FileMissing, fileName);
        messages.Show(MessageId::TagSaveFailed, fileName);
        return false;
    }
    ReadForUpdate(v1, messages, fileName);
    ReadForUpdate(v2, messages, fileName);
    UpdateCommonFields(v1, update);
    UpdateID3v1Genre(v1, update);
    UpdateCommonFields(v2, update);
    UpdateID3v2Genre(v2, update);
    return SaveUpdated(&v1, &v2, messages, fileName);
}

}  // namespace tandrel
