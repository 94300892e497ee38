#include "tags/id3v1.h"

#include "platform/files.h"
#include "tags/tagfile.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"

namespace tandrel {

const std::array<std::string_view, kGenreCount> GenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal",
    "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip",
    "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk",
    "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk",
    "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer",
    "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock",
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progessive Rock", "Psychedelic Rock", "Symphonic Rock",
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson", "Opera",
    "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam",
    "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet",
    "Punk Rock", "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House",
    "Hardcore", "Terror", "Indie", "BritPop", "Afro-Punk", "Polsk Punk", "Beat", "Christian Gangsta Rap",
    "Heavy Metal", "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock", "Merengue", "Salsa",
    "Trash Metal", "Anime", "JPop", "Synthpop",
};

std::string GenreName(int genreId) {
    if (genreId < 0 || genreId >= kGenreCount) return {};
    return std::string(GenreNames[static_cast<std::size_t>(genreId)]);
}

namespace {

constexpr std::size_t kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93, kCommentAt = 97;
constexpr std::size_t kVersionByteAt = 125, kTrackAt = 126, kGenreAt = 127;
constexpr std::size_t kCommentV11 = 28;

std::string Field(std::string_view s, std::size_t capacity) {
    std::string t = TrimTrailingTagText(s);
    if (t.size() > capacity) t.resize(capacity);
    return t;
}

bool StartsWithTag(std::string_view record) { return record.substr(0, 3) == "TAG"; }

FileResult TooShort(const std::string& fileName) {
    return FileResult::Failure("Cannot read \"" + Cp1251ToUtf8(fileName) + "\": it is shorter than 128 bytes");
}

// The file's size and its last 128 bytes.
FileResult ReadTail(const std::string& fileName, std::int64_t& size, std::string& tail) {
    TagFileReader file;
    if (FileResult r = file.Open(fileName); !r) return r;
    size = file.Size();
    const auto tagSize = static_cast<std::int64_t>(TID3v1::kTagSize);
    if (size < tagSize) return TooShort(fileName);
    tail.assign(TID3v1::kTagSize, '\0');
    if (!file.ReadAt(size - tagSize, tail.data(), tail.size())) return file.ReadFailure();
    return FileResult::Success();
}

}  // namespace

void TID3v1::ResetData() {
    exists_ = false;
    versionId_ = 1;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    comment_.clear();
    track_ = 0;
    genreId_ = kNoGenre;
}

bool TID3v1::Failed(std::string why) {
    error_ = std::move(why);
    return false;
}

void TID3v1::SetTitle(const std::string& s) { title_ = Field(s, kTextCapacity); }
void TID3v1::SetArtist(const std::string& s) { artist_ = Field(s, kTextCapacity); }
void TID3v1::SetAlbum(const std::string& s) { album_ = Field(s, kTextCapacity); }
void TID3v1::SetYear(const std::string& s) { year_ = Field(s, kYearCapacity); }
void TID3v1::SetComment(const std::string& s) { comment_ = Field(s, kTextCapacity); }

bool TID3v1::ParseRecord(std::string_view r) {
    if (r.size() < kTagSize || !StartsWithTag(r)) return false;
    exists_ = true;
    const unsigned char b125 = static_cast<unsigned char>(r[kVersionByteAt]);
    const unsigned char b126 = static_cast<unsigned char>(r[kTrackAt]);
    const bool v11 = (b125 == 0 && b126 != 0) || (b125 == 32 && b126 != 32);
    versionId_ = v11 ? 2 : 1;
    title_ = Field(r.substr(kTitleAt, kTextCapacity), kTextCapacity);
    artist_ = Field(r.substr(kArtistAt, kTextCapacity), kTextCapacity);
    album_ = Field(r.substr(kAlbumAt, kTextCapacity), kTextCapacity);
    year_ = Field(r.substr(kYearAt, kYearCapacity), kYearCapacity);
    comment_ = Field(r.substr(kCommentAt, v11 ? kCommentV11 : kTextCapacity), kTextCapacity);
    track_ = v11 ? b126 : 0;
    genreId_ = static_cast<unsigned char>(r[kGenreAt]);
    return true;
}

std::string TID3v1::Record() const {
    std::string r(kTagSize, '\0');
    r.replace(0, 3, "TAG");
    r.replace(kTitleAt, title_.size(), title_);
    r.replace(kArtistAt, artist_.size(), artist_);
    r.replace(kAlbumAt, album_.size(), album_);
    r.replace(kYearAt, year_.size(), year_);
    r.replace(kCommentAt, comment_.size(), comment_);
    if (track_ != 0) {
        // Version 1.1: the last two comment bytes hold the zero byte and the track.
        r[kVersionByteAt] = '\0';
        r[kTrackAt] = static_cast<char>(track_);
    }
    r[kGenreAt] = static_cast<char>(genreId_);
    return r;
}

bool TID3v1::ReadFromFile(const std::string& fileName) {
    ResetData();
    error_.clear();
    TagFileReader file;
    if (FileResult r = file.Open(fileName); !r) return Failed(r.error);
    return ReadFrom(file);
}

bool TID3v1::ReadFrom(TagFileReader& file) {
    ResetData();
    error_.clear();
    const auto tagSize = static_cast<std::int64_t>(kTagSize);
    if (file.Size() < tagSize)
        return Failed("Cannot read \"" + file.Name() + "\": it is shorter than 128 bytes");
    char record[kTagSize];
    if (!file.ReadAt(file.Size() - tagSize, record, kTagSize)) return Failed(file.ReadFailure().error);
    ParseRecord(std::string_view(record, kTagSize));
    return true;
}

bool TID3v1::SaveToFile(const std::string& fileName) {
    error_.clear();
    std::int64_t size = 0;
    std::string tail;
    if (FileResult r = ReadTail(fileName, size, tail); !r) return Failed(r.error);
    // A file that stays read-only fails at the write that follows.
    const FileResult attributes = SetAttributesNormal(fileName);
    const std::int64_t at = StartsWithTag(tail) ? size - static_cast<std::int64_t>(kTagSize) : size;
    if (FileResult r = WriteFileBytesAt(fileName, at, Record(), size); !r)
        return Failed(attributes ? r.error : attributes.error);
    return true;
}

bool TID3v1::RemoveFromFile(const std::string& fileName) {
    error_.clear();
    std::int64_t size = 0;
    std::string tail;
    if (FileResult r = ReadTail(fileName, size, tail); !r) return Failed(r.error);
    if (!StartsWithTag(tail)) return true;
    const FileResult attributes = SetAttributesNormal(fileName);
    if (FileResult r = CutFile(fileName, size - static_cast<std::int64_t>(kTagSize)); !r)
        return Failed(attributes ? r.error : attributes.error);
    return true;
}

}  // namespace tandrel
