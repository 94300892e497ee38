// The ID3v2 tag at the start of an MP3 file. Reading takes title, artist,
// album, track, year, genre and comment from tags of version 2.2, 2.3 and 2.4;
// saving writes a version 2.3 tag without padding: those seven frames with
// encoding 0 and code-page-1251 bytes, followed by the other frames of the old
// tag (kept byte for byte from a 2.3 tag, converted from a 2.4 tag). The file
// is rewritten through a temporary copy that replaces it in one rename.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tandrel {

class TID3v2 {
public:
    static constexpr std::size_t kHeaderSize = 10;
    // Bytes of each frame's content that reading looks at.
    static constexpr std::size_t kFrameWindow = 250;

    TID3v2() = default;

    void ResetData();
    // False when the file cannot be opened or holds fewer than 10 bytes; true
    // otherwise, with Exists() false when the file does not begin with "ID3".
    bool ReadFromFile(const std::string& fileName);
    // Replaces any ID3v2 tag of the file by a version 2.3 tag of the fields.
    bool SaveToFile(const std::string& fileName);
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

    bool Exists() const { return exists_; }
    // The major version byte of the header (2, 3, 4, ...).
    std::uint8_t VersionID() const { return versionId_; }
    // The whole tag size with the header; 0 when it would exceed the file size.
    std::uint32_t Size() const { return size_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    std::uint8_t Track() const { return track_; }  // 0: none
    const std::string& Year() const { return year_; }
    const std::string& Genre() const { return genre_; }
    const std::string& Comment() const { return comment_; }

    // The whole new content of a file whose content is now fileBytes: the new
    // tag followed by everything after the old tag. False (with LastError)
    // when fileBytes holds fewer than 10 bytes or the tag would be too large.
    bool ComposeFile(std::string_view fileBytes, std::string& out);

private:
    template <class Source>
    void ReadFrames(Source& source, std::int64_t end, std::uint8_t flags);
    std::string TagBytes(std::string_view oldTag) const;
    bool Failed(std::string why);

    bool exists_ = false;
    std::uint8_t versionId_ = 0;
    std::uint32_t size_ = 0;
    std::string title_, artist_, album_, year_, genre_, comment_;
    std::uint8_t track_ = 0;
    std::string error_;
};

}  // namespace tandrel
