// The ID3v2 tag at the start of an MP3 file. Reading takes title, artist,
// album, track, year, genre and comment from tags of version 2.2, 2.3 and 2.4;
// saving writes a version 2.3 tag without padding. The frames of the old tag
// stay in their order: kept byte for byte from a 2.3 tag, converted from 2.2
// and 2.4 (only what 2.3 cannot hold is left out, and named by DroppedFrames).
// A field that still has the value the file holds keeps its frame as it is; a
// changed field gets a new frame in the old one's place (UTF-16 when the old
// frame was Unicode or, with SetUnicodeText, when its text is not plain
// ASCII; else code-page-1251 bytes; a comment keeps its language).
// A header whose size runs past the end of the file, or into its ID3v1 tag,
// or is not a valid 7-bit size, marks a damaged tag: only the frames that lie
// whole inside the file count as the tag, and a save keeps every byte after
// them. The file is rewritten through a temporary copy renamed over it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tags/tagfile.h"

namespace tandrel {

// One frame as its bytes lie in a tag, for the tools that work on frames
// (the tag repair). Offsets count from the start of the tag.
struct ID3v2FrameSpan {
    std::string id;
    std::size_t at = 0;       // its header
    std::size_t content = 0;  // its content
    std::size_t size = 0;     // the content's size
    std::uint8_t status = 0;  // the flag bytes (versions 3 and 4)
    std::uint8_t format = 0;
};

// The frames of a whole tag (header included, as in the file) and where the
// last one ends; false when the tag's version is not 2, 3 or 4 or its
// frames cannot be found (an unreadable extended header).
bool ListID3v2Frames(std::string_view tag, std::vector<ID3v2FrameSpan>& frames, std::size_t& end);
// The header of a frame like the given one of a tag of the version, with a
// new content size.
std::string ID3v2FrameHeader(std::uint8_t version, const ID3v2FrameSpan& like, std::size_t size);

class TID3v2 {
public:
    static constexpr std::size_t kHeaderSize = 10;
    // Bytes of each frame's content that reading looks at.
    static constexpr std::size_t kFrameWindow = 250;

    TID3v2() = default;

    void ResetData();
    // False when the file cannot be opened or holds fewer than 10 bytes; true
    // otherwise, with Exists() false when the file does not begin with "ID3".
    [[nodiscard]] bool ReadFromFile(const std::string& fileName);
    // The same from a file already open (its header, frames and last 128 bytes).
    [[nodiscard]] bool ReadFrom(TagFileReader& file);
    // Replaces any ID3v2 tag of the file by a version 2.3 tag of the fields.
    [[nodiscard]] bool SaveToFile(const std::string& fileName);
    // Why the last operation returned false (UTF-8).
    const std::string& LastError() const { return error_; }

    // Text setters drop trailing characters of code 32 or less.
    void SetTitle(const std::string& s);
    void SetArtist(const std::string& s);
    void SetAlbum(const std::string& s);
    void SetYear(const std::string& s);
    void SetGenre(const std::string& s);
    void SetComment(const std::string& s);
    void SetTrack(std::uint8_t track) { track_ = track; }
    // Whether a new frame whose text is not plain ASCII is written as UTF-16
    // (encoding 1) rather than as code-page-1251 bytes. Off by default; kept
    // across ReadFromFile and ResetData.
    void SetUnicodeText(bool on) { unicodeText_ = on; }
    bool UnicodeText() const { return unicodeText_; }

    bool Exists() const { return exists_; }
    // The header's size is past the end of the file or not a 7-bit size.
    bool Damaged() const { return damaged_; }
    // The major version byte of the header (2, 3, 4, ...).
    std::uint8_t VersionID() const { return versionId_; }
    // The whole tag size with the header; 0 when the tag is damaged.
    std::uint32_t Size() const { return size_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    std::uint8_t Track() const { return track_; }  // 0: none
    const std::string& Year() const { return year_; }
    const std::string& Genre() const { return genre_; }
    const std::string& Comment() const { return comment_; }

    // Characters outside code page 1251 that the fields of this tag held as
    // read (shown as "?"), for the fields whose value differs in edited: a
    // save of edited loses them.
    std::u32string CharactersLostBy(const TID3v2& edited) const;
    // The fields by position, for CharactersLostIn.
    enum Field { kTitleField, kArtistField, kAlbumField, kTrackField, kYearField, kGenreField, kCommentField };
    // Characters outside code page 1251 that one field held as read (each
    // shown as "?" in its text); empty when the field read without loss.
    const std::u32string& CharactersLostIn(Field field) const { return lost_[static_cast<std::size_t>(field)]; }
    // The frames of the old tag that the last save left out (identifiers).
    const std::vector<std::string>& DroppedFrames() const { return dropped_; }

    // The whole new content of a file whose content is now fileBytes: the new
    // tag followed by everything after the old tag. False (with LastError)
    // when fileBytes holds fewer than 10 bytes or the tag would be too large.
    bool ComposeFile(std::string_view fileBytes, std::string& out);
    // The new tag for an open file, and the offset where the file's content
    // after the old tag begins.
    bool ComposeTag(TagFileReader& file, std::string& tag, std::int64_t& keepFrom);

    static constexpr int kFieldCount = 7;

private:
    template <class Source>
    bool Compose(Source& source, std::int64_t fileSize, std::string& tag, std::int64_t& keepFrom);
    bool Failed(std::string why);

    bool exists_ = false;
    bool damaged_ = false;
    std::uint8_t versionId_ = 0;
    std::uint32_t size_ = 0;
    std::string title_, artist_, album_, year_, genre_, comment_;
    std::uint8_t track_ = 0;
    bool unicodeText_ = false;
    std::array<std::u32string, kFieldCount> lost_;
    std::vector<std::string> dropped_;
    std::string error_;
};

}  // namespace tandrel
