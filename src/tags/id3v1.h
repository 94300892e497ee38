// The ID3v1 tag: the fixed 128-byte record at the end of an MP3 file, and the
// table of the 148 genre names its genre number refers to.
//
// Record: "TAG", title 30, artist 30, album 30, year 4, comment 30 (version
// 1.0) or comment 28 + zero byte + track byte (version 1.1), genre byte.
// Texts are code-page-1251 bytes, stored unconverted.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tags/tagfile.h"

namespace tandrel {

inline constexpr int kGenreCount = 148;
// A genre number of kGenreCount or more means no genre; this one is written for none.
inline constexpr std::uint8_t kNoGenre = 255;

extern const std::array<std::string_view, kGenreCount> GenreNames;
// The genre's name, or "" for a number of kGenreCount or more.
std::string GenreName(int genreId);

class TID3v1 {
public:
    static constexpr std::size_t kTagSize = 128;
    static constexpr std::size_t kTextCapacity = 30;
    static constexpr std::size_t kYearCapacity = 4;

    TID3v1() = default;

    void ResetData();
    // False only when the last 128 bytes cannot be read (a file shorter than
    // 128 bytes included); a file without a tag gives true with Exists() false.
    [[nodiscard]] bool ReadFromFile(const std::string& fileName);
    // The same from a file already open (its last 128 bytes).
    [[nodiscard]] bool ReadFrom(TagFileReader& file);
    // Writes the fields as the file's tag: over an existing tag, else appended.
    // The 128 bytes go to their place in one write; the file is never cut first.
    [[nodiscard]] bool SaveToFile(const std::string& fileName);
    // Cuts an existing tag off the file; true also when there was none.
    [[nodiscard]] bool RemoveFromFile(const std::string& fileName);
    // Why the last operation returned false (UTF-8).
    const std::string& LastError() const { return error_; }

    // Text setters drop trailing characters of code 32 or less and keep the
    // first 30 characters (4 for the year).
    void SetTitle(const std::string& s);
    void SetArtist(const std::string& s);
    void SetAlbum(const std::string& s);
    void SetYear(const std::string& s);
    void SetComment(const std::string& s);
    void SetTrack(std::uint8_t track) { track_ = track; }
    void SetGenreID(std::uint8_t genreId) { genreId_ = genreId; }

    bool Exists() const { return exists_; }
    // 1 for version 1.0, 2 for version 1.1.
    std::uint8_t VersionID() const { return versionId_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    std::uint8_t Track() const { return track_; }  // 0: none
    std::uint8_t GenreID() const { return genreId_; }

    // The 128 bytes SaveToFile writes for the current fields.
    std::string Record() const;

private:
    // Takes the fields from a 128-byte record; false when it does not begin with "TAG".
    bool ParseRecord(std::string_view record);
    bool Failed(std::string why);

    bool exists_ = false;
    std::uint8_t versionId_ = 1;
    std::string title_, artist_, album_, year_, comment_;
    std::uint8_t track_ = 0;
    std::uint8_t genreId_ = kNoGenre;
    std::string error_;
};

}  // namespace tandrel
