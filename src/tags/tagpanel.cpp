#include "tags/tagpanel.h"

#include <algorithm>

#include "platform/files.h"
#include "tags/tagfile.h"
#include "tags/tagsave.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

constexpr std::int64_t kSmallestShownFile = 512;

std::string TrackText(std::uint8_t track) { return std::to_string(track); }

// Whether the file is worth showing and can be read; shows the failures.
template <class Tag>
bool ReadForShow(Tag& tag, const TagMessages& messages, const std::string& fileName) {
    return !fileName.empty() && TagFileSize(fileName) >= kSmallestShownFile &&
           ReadTagShowingFailure(tag, messages, fileName);
}

template <class Tag>
bool SaveShown(Tag& tag, const TagMessages& messages, const std::string& fileName) {
    if (FileExists(fileName) && tag.SaveToFile(fileName)) return true;
    messages.Show(MessageId::TagSaveFailed, fileName, FileExists(fileName) ? tag.LastError() : std::string());
    return false;
}

// A typed character the code page lacks is saved as "?", as a tag's own such
// characters are shown.
std::string Typed(std::string text) {
    for (char& c : text)
        if (c == kUnmappableChar) c = '?';
    return text;
}

template <class Tag>
void SetCommonFields(Tag& tag, const TagPanelHalf& half) {
    tag.SetTitle(Typed(half.title));
    tag.SetArtist(Typed(half.artist));
    tag.SetAlbum(Typed(half.album));
    tag.SetYear(Typed(half.year));
    tag.SetTrack(TrackFromText(half.track));
    tag.SetComment(Typed(half.comment));
}

// False (nothing saved, the status line says so) when characters would be
// lost and the user does not want that.
bool AcceptLoss(const TagMessages& messages, const std::u32string& lost, const std::string& fileName) {
    if (lost.empty() || messages.AskToLose(lost)) return true;
    messages.prompter.SetStatusText(Message(messages.language, MessageId::TagNotSaved) + fileName);
    return false;
}

std::string FirstChars(const std::string& s, std::size_t n) { return s.size() > n ? s.substr(0, n) : s; }

void SetID3v1Genre(TID3v1& tag, const TagPanelHalf& half) {
    const int p = half.genrePosition;
    tag.SetGenreID(p >= 1 && p <= kGenreCount ? static_cast<std::uint8_t>(p - 1) : kNoGenre);
}

// The ID3v2 fields of the half over the tag as the file holds it now, so that
// what the half leaves unchanged keeps its frames. False after the message
// when the tag cannot be read; lost gets the characters the change loses.
bool SetID3v2FromFile(TID3v2& tag, const TagMessages& messages, const std::string& fileName,
                      const TagPanelHalf& half, std::u32string& lost) {
    if (FileExists(fileName) && !tag.ReadFromFile(fileName)) {
        messages.Show(MessageId::TagSaveFailed, fileName, tag.LastError());
        return false;
    }
    const TID3v2 before = tag;
    SetCommonFields(tag, half);
    tag.SetGenre(Typed(half.genreText));
    AddLostCharacters(lost, half.unmappable);
    AddLostCharacters(lost, before.CharactersLostBy(tag));
    return true;
}

}  // namespace

bool CappedEditReadOnly(bool backspaceOrDelete, std::size_t length, std::size_t cap) {
    return !backspaceOrDelete && length >= cap;
}

const std::vector<std::string>& GenreListEntries() {
    static const std::vector<std::string> entries = [] {
        std::vector<std::string> list{std::string()};
        for (std::string_view name : GenreNames) list.emplace_back(name);
        return list;
    }();
    return entries;
}

void ClearPanelHalf(TagPanelHalf& half) { half = TagPanelHalf{}; }

bool ShowID3v1Tag(TID3v1& tag, const TagMessages& messages, const std::string& fileName, TagPanelHalf& half) {
    if (!ReadForShow(tag, messages, fileName)) return false;
    half.tagChecked = tag.Exists();
    if (!tag.Exists()) return true;
    half.version = tag.VersionID() == 1 ? "1.0" : "1.1";
    if (tag.Track() != 0) half.track = TrackText(tag.Track());
    half.title = tag.Title();
    half.artist = tag.Artist();
    half.album = tag.Album();
    half.year = tag.Year();
    if (tag.GenreID() < kGenreCount) {
        half.genrePosition = tag.GenreID() + 1;
        half.genreText = GenreListEntries()[static_cast<std::size_t>(half.genrePosition)];
    }
    half.comment = tag.Comment();
    return true;
}

bool ShowID3v2Tag(TID3v2& tag, const TagMessages& messages, const std::string& fileName, TagPanelHalf& half) {
    if (!ReadForShow(tag, messages, fileName)) return false;
    half.tagChecked = tag.Exists();
    if (!tag.Exists()) return true;
    half.version = "2." + std::to_string(tag.VersionID());
    if (tag.Track() != 0) half.track = TrackText(tag.Track());
    half.title = tag.Title();
    half.artist = tag.Artist();
    half.album = tag.Album();
    half.year = tag.Year();
    half.genreText = tag.Genre();
    half.comment = tag.Comment();
    return true;
}

bool SaveID3v1FromPanel(TID3v1& tag, const TagMessages& messages, const std::string& fileName,
                        const TagPanelHalf& half) {
    if (fileName.empty()) return false;
    if (!AcceptLoss(messages, half.unmappable, fileName)) return false;
    SetCommonFields(tag, half);
    SetID3v1Genre(tag, half);
    return SaveShown(tag, messages, fileName);
}

bool SaveID3v2FromPanel(TID3v2& tag, const TagMessages& messages, const std::string& fileName,
                        const TagPanelHalf& half) {
    if (fileName.empty()) return false;
    std::u32string lost;
    if (!SetID3v2FromFile(tag, messages, fileName, half, lost)) return false;
    if (!AcceptLoss(messages, lost, fileName)) return false;
    if (!SaveShown(tag, messages, fileName)) return false;
    messages.ShowDropped(tag, fileName);
    return true;
}

bool SaveID3FromPanel(TID3v1& v1, TID3v2& v2, const TagMessages& messages, const std::string& fileName,
                      const TagPanelHalf& half1, const TagPanelHalf& half2) {
    if (fileName.empty()) return false;
    std::u32string lost = half1.unmappable;
    if (!SetID3v2FromFile(v2, messages, fileName, half2, lost)) return false;
    if (!AcceptLoss(messages, lost, fileName)) return false;
    SetCommonFields(v1, half1);
    SetID3v1Genre(v1, half1);
    if (!FileExists(fileName)) {
        messages.Show(MessageId::TagSaveFailed, fileName);
        return false;
    }
    if (FileResult r = SaveTagsToFile(fileName, &v1, &v2); !r) {
        messages.Show(MessageId::TagSaveFailed, fileName, r.error);
        return false;
    }
    messages.ShowDropped(v2, fileName);
    return true;
}

void CopyID3v1ToID3v2(const TagPanelHalf& v1, TagPanelHalf& v2) {
    v2.track = v1.track;
    v2.title = v1.title;
    v2.artist = v1.artist;
    v2.album = v1.album;
    v2.year = v1.year;
    v2.comment = v1.comment;
    const auto& entries = GenreListEntries();
    v2.genrePosition = v1.genrePosition;
    v2.genreText = v1.genrePosition >= 0 && v1.genrePosition < static_cast<int>(entries.size())
                       ? entries[static_cast<std::size_t>(v1.genrePosition)]
                       : std::string();
}

void CopyID3v2ToID3v1(const TagPanelHalf& v2, TagPanelHalf& v1) {
    v1.track = FirstChars(v2.track, kTrackCap);
    v1.title = FirstChars(v2.title, kTextCap);
    v1.artist = FirstChars(v2.artist, kTextCap);
    v1.album = FirstChars(v2.album, kTextCap);
    v1.year = v2.year.size() > kYearV1Cap ? v2.year.substr(v2.year.size() - kYearV1Cap) : v2.year;
    v1.comment = FirstChars(v2.comment, kTextCap);
    const auto& entries = GenreListEntries();
    const auto match = std::find(entries.begin(), entries.end(), v2.genreText);
    if (match != entries.end()) {
        v1.genrePosition = static_cast<int>(match - entries.begin());
        v1.genreText = *match;
    }
}

}  // namespace tandrel
