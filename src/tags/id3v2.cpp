#include "tags/id3v2.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "platform/files.h"
#include "platform/textfile.h"
#include "tags/tagfile.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

// The seven fields, in the order of reading and writing.
enum Field { kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kFieldCount };
using FrameTexts = std::array<std::string, kFieldCount>;

constexpr std::array<const char*, kFieldCount> kIds = {"TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM"};
constexpr std::array<const char*, kFieldCount> kIdsV22 = {"TT2", "TP1", "TAL", "TRK", "TYE", "TCO", "COM"};

constexpr std::uint8_t kFlagUnsync = 0x80;        // header: the tag is unsynchronised
constexpr std::uint8_t kFlagExtHeader = 0x40;     // header: an extended header follows (2.2: compression)
constexpr std::uint8_t kFlagFooter = 0x10;        // header, 2.4: a 10-byte footer follows the frames
constexpr std::size_t kFrameHeaderSize = 10;      // 2.3 and 2.4
constexpr std::uint32_t kMaxTagSize = 0x0FFFFFFF;  // 28 bits

// The one place that knows the frame header of each version.
struct FrameLayout {
    std::size_t headerSize;
    std::size_t idSize;
    bool syncsafeSize;
};

std::optional<FrameLayout> LayoutOf(std::uint8_t version) {
    switch (version) {
        case 2: return FrameLayout{6, 3, false};
        case 3: return FrameLayout{10, 4, false};
        case 4: return FrameLayout{10, 4, true};
        default: return std::nullopt;
    }
}

struct FrameHeader {
    std::string id;
    std::uint32_t size = 0;
    std::uint8_t status = 0;  // first flag byte
    std::uint8_t format = 0;  // second flag byte
};

unsigned Byte(const char* p, std::size_t i) { return static_cast<unsigned char>(p[i]); }

std::uint32_t BigEndian(const char* p, std::size_t n) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | Byte(p, i);
    return v;
}

std::uint32_t Syncsafe(const char* p) {
    return (Byte(p, 0) & 0x7F) << 21 | (Byte(p, 1) & 0x7F) << 14 | (Byte(p, 2) & 0x7F) << 7 | (Byte(p, 3) & 0x7F);
}

FrameHeader ParseFrameHeader(const char* p, const FrameLayout& layout) {
    FrameHeader h;
    h.id.assign(p, layout.idSize);
    if (layout.idSize == 3) {
        h.size = BigEndian(p + 3, 3);
    } else {
        h.size = layout.syncsafeSize ? Syncsafe(p + 4) : BigEndian(p + 4, 4);
        h.status = static_cast<std::uint8_t>(p[8]);
        h.format = static_cast<std::uint8_t>(p[9]);
    }
    return h;
}

// The whole tag size of a header: the four size bytes taken as full bytes, plus the header.
std::uint32_t TagSizeOf(const char* header) {
    return Byte(header, 6) * 2097152u + Byte(header, 7) * 16384u + Byte(header, 8) * 128u + Byte(header, 9) +
           static_cast<std::uint32_t>(TID3v2::kHeaderSize);
}

bool IsTagHeader(std::string_view bytes) { return bytes.size() >= 3 && bytes.substr(0, 3) == "ID3"; }

int FieldOf(std::string_view id, std::uint8_t version) {
    const auto& ids = version == 2 ? kIdsV22 : kIds;
    for (int f = 0; f < kFieldCount; ++f)
        if (id == ids[static_cast<std::size_t>(f)]) return f;
    if (version == 4 && id == "TDRC") return kYear;  // 2.4 keeps the year in the recording time
    return -1;
}

std::string RemoveUnsync(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (bytes[i] == '\xFF' && i + 1 < bytes.size() && bytes[i + 1] == '\0') ++i;
    }
    return out;
}

struct FileSource {
    TagFileReader& file;
    bool ReadAt(std::int64_t pos, char* out, std::size_t n) { return file.ReadAt(pos, out, n); }
};

struct MemorySource {
    std::string_view bytes;
    bool ReadAt(std::int64_t pos, char* out, std::size_t n) const {
        if (pos < 0 || static_cast<std::uint64_t>(pos) + n > bytes.size()) return false;
        std::memcpy(out, bytes.data() + pos, n);
        return true;
    }
};

// Where the first frame begins: after the header and an extended header; -1
// when the frames cannot be read (a compressed 2.2 tag, an unreadable extended header).
template <class Source>
std::int64_t FramesStart(Source& source, std::uint8_t version, std::uint8_t flags) {
    const auto start = static_cast<std::int64_t>(TID3v2::kHeaderSize);
    if ((flags & kFlagExtHeader) == 0) return start;
    if (version == 2) return -1;
    char size[4];
    if (!source.ReadAt(start, size, sizeof size)) return -1;
    // 2.3 counts the extended header without its size bytes, 2.4 with them.
    return version == 3 ? start + 4 + BigEndian(size, 4) : start + Syncsafe(size);
}

// Walks the frames from the first one while the position is below end and
// the frames look like frames. visit(header, contentPos) returns false to stop.
template <class Source, class Visit>
void WalkFrames(Source& source, std::uint8_t version, std::uint8_t flags, std::int64_t end, Visit visit) {
    const std::optional<FrameLayout> layout = LayoutOf(version);
    if (!layout) return;
    std::int64_t pos = FramesStart(source, version, flags);
    if (pos < 0) return;
    char header[10];
    while (pos < end) {
        if (!source.ReadAt(pos, header, layout->headerSize)) return;
        if (header[0] < 'A' || header[0] > 'Z') return;  // padding or garbage
        const FrameHeader h = ParseFrameHeader(header, *layout);
        const std::int64_t content = pos + static_cast<std::int64_t>(layout->headerSize);
        if (!visit(h, content)) return;
        pos = content + h.size;
    }
}

// Bytes in front of the content proper, and whether the content cannot be read
// as it stands (compressed or encrypted).
struct ContentPrefix {
    std::size_t skip = 0;
    bool opaque = false;
    bool unsync = false;
};

ContentPrefix PrefixOf(const FrameHeader& h, std::uint8_t version, std::uint8_t tagFlags) {
    ContentPrefix p;
    if (version == 3) {
        p.opaque = (h.format & 0xC0) != 0;
        if (h.format & 0x20) p.skip += 1;  // group byte
    } else if (version == 4) {
        if (h.format & 0x40) p.skip += 1;  // group byte
        p.opaque = (h.format & 0x0C) != 0;
        p.unsync = (h.format & 0x02) != 0 || (tagFlags & kFlagUnsync) != 0;
        if (h.format & 0x01) p.skip += 4;  // data length
    }
    return p;
}

// A frame's text before the field rules. Single-byte text is the whole
// window, content followed by zero bytes, as it stands; the comment loses its
// encoding byte and language. Unicode text is decoded; a comment's non-empty
// description stays in front of its text, followed by a zero byte.
std::string FrameText(std::string_view window, std::size_t contentSize, bool comment) {
    const auto encoding = static_cast<unsigned char>(window[0]);
    if (!IsUnicodeEncoding(encoding)) return std::string(comment ? window.substr(4) : window);
    std::string_view body = window.substr(1, contentSize > 0 ? contentSize - 1 : 0);
    if (!comment) return CodePointsToCp1251(DecodeTagString(encoding, body));
    if (body.size() < 3) return {};
    body.remove_prefix(3);
    std::size_t used = 0;
    std::string text = CodePointsToCp1251(DecodeTagString(encoding, body, &used));
    if (!text.empty()) text += '\0';
    return text + CodePointsToCp1251(DecodeTagString(encoding, body.substr(used)));
}

// The year of a 2.4 recording time "yyyy-MM-ddTHH:mm:ss".
std::string YearOfTimestamp(std::string text) {
    if (text.size() > 4 && text.find_first_not_of("0123456789") >= 4) text.resize(4);
    return text;
}

// A genre without its leading references "(17)", "(RX)", "(CR)"; "((" stands for "(".
std::string GenreWithoutReferences(std::string text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == '(') {
        if (i + 1 < text.size() && text[i + 1] == '(') return text.substr(i + 1);
        const std::size_t close = text.find(')', i);
        if (close == std::string::npos) break;
        const std::string inside = text.substr(i + 1, close - i - 1);
        const bool reference = inside == "RX" || inside == "CR" ||
                               (!inside.empty() && inside.find_first_not_of("0123456789") == std::string::npos);
        if (!reference) break;
        i = close + 1;
    }
    return text.substr(i);
}

// Text frames of 2.4 may use encodings 2 and 3, which 2.3 lacks. The strings
// of such a frame are written as UTF-16 with a byte-order mark instead.
std::string StringsAsUtf16(unsigned char encoding, std::string_view bytes, int count, std::size_t* consumed) {
    std::string out;
    std::size_t pos = 0;
    for (int k = 0; (count < 0 || k < count) && (pos < bytes.size() || count >= 0); ++k) {
        std::size_t used = 0;
        const std::u32string text = DecodeTagString(encoding, bytes.substr(pos), &used);
        pos += used;
        const bool last = count < 0 && pos >= bytes.size();
        out += EncodeUtf16WithBom(text, !last);
    }
    if (consumed) *consumed = pos;
    return out;
}

// A frame of a 2.4 tag in 2.3 form, or nothing when it cannot be carried over.
std::optional<std::string> FrameForV23(const FrameHeader& h, std::string_view content, std::uint8_t tagFlags) {
    if (h.id == "ASPI" || h.id == "SEEK" || h.id == "SIGN") return std::nullopt;  // describe the old tag itself
    const ContentPrefix prefix = PrefixOf(h, 4, tagFlags);
    if (prefix.opaque || content.size() < prefix.skip) return std::nullopt;
    std::string data(content.substr(prefix.skip));
    if (prefix.unsync) data = RemoveUnsync(data);

    // Frames that begin with an encoding byte; the others hold no encoded text.
    const bool encoded = h.id[0] == 'T' || h.id == "COMM" || h.id == "USLT" || h.id == "USER" || h.id == "SYLT" ||
                         h.id == "APIC" || h.id == "GEOB" || h.id == "WXXX" || h.id == "OWNE" || h.id == "COMR";
    const unsigned char encoding = data.empty() ? 0 : static_cast<unsigned char>(data[0]);
    const bool converts = encoded && (encoding == kEncodingUtf16BE || encoding == kEncodingUtf8);
    const std::string_view rest = data.size() > 1 ? std::string_view(data).substr(1) : std::string_view();
    auto latinString = [](std::string_view s) {
        const std::size_t zero = s.find('\0');
        return zero == std::string_view::npos ? s : s.substr(0, zero + 1);
    };
    if (converts) {
        std::string out(1, static_cast<char>(kEncodingUtf16Bom));
        if (h.id[0] == 'T') {
            out += StringsAsUtf16(encoding, rest, -1, nullptr);
        } else if (h.id == "COMM" || h.id == "USLT" || h.id == "USER") {
            if (rest.size() < 3) return std::nullopt;
            out += rest.substr(0, 3);
            out += StringsAsUtf16(encoding, rest.substr(3), -1, nullptr);
        } else if (h.id == "WXXX") {
            std::size_t used = 0;
            out += StringsAsUtf16(encoding, rest, 1, &used);
            out += rest.substr(used);
        } else if (h.id == "APIC" || h.id == "GEOB") {
            const std::string_view mime = latinString(rest);
            std::size_t pos = mime.size();
            out += mime;
            if (h.id == "APIC") {
                if (pos >= rest.size()) return std::nullopt;
                out += rest[pos++];  // picture type
            }
            std::size_t used = 0;
            out += StringsAsUtf16(encoding, rest.substr(pos), h.id == "APIC" ? 1 : 2, &used);
            out += rest.substr(pos + used);
        } else {
            return std::nullopt;  // a layout with text in it that is not known here
        }
        data = std::move(out);
    }
    std::string frame = h.id;
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    frame += static_cast<char>((h.status << 1) & 0xE0);  // tag alter, file alter, read only
    frame += '\0';
    return frame + data;
}

bool IsFrameId(std::string_view id) {
    for (char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

}  // namespace

void TID3v2::ResetData() {
    exists_ = false;
    versionId_ = 0;
    size_ = 0;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    genre_.clear();
    comment_.clear();
    track_ = 0;
}

bool TID3v2::Failed(std::string why) {
    error_ = std::move(why);
    return false;
}

void TID3v2::SetTitle(const std::string& s) { title_ = TrimTrailingTagText(s); }
void TID3v2::SetArtist(const std::string& s) { artist_ = TrimTrailingTagText(s); }
void TID3v2::SetAlbum(const std::string& s) { album_ = TrimTrailingTagText(s); }
void TID3v2::SetYear(const std::string& s) { year_ = TrimTrailingTagText(s); }
void TID3v2::SetGenre(const std::string& s) { genre_ = TrimTrailingTagText(s); }
void TID3v2::SetComment(const std::string& s) { comment_ = TrimTrailingTagText(s); }

template <class Source>
void TID3v2::ReadFrames(Source& source, std::int64_t end, std::uint8_t flags) {
    FrameTexts texts;
    const std::uint8_t version = versionId_;
    WalkFrames(source, version, flags, end, [&](const FrameHeader& h, std::int64_t content) {
        const int field = FieldOf(h.id, version);
        if (field < 0) return true;
        const ContentPrefix prefix = PrefixOf(h, version, flags);
        // An unsynchronised window may need up to twice its bytes.
        const std::size_t wanted = std::min<std::size_t>(h.size, (prefix.unsync ? 2 : 1) * kFrameWindow + prefix.skip);
        std::string bytes(wanted, '\0');
        if (!source.ReadAt(content, bytes.data(), wanted)) return false;
        if (prefix.opaque) return true;
        bytes.erase(0, std::min(prefix.skip, bytes.size()));
        if (prefix.unsync) bytes = RemoveUnsync(bytes);
        const std::size_t contentSize = std::min(bytes.size(), kFrameWindow);
        bytes.resize(kFrameWindow, '\0');
        std::string text = FrameText(bytes, contentSize, field == kComment);
        if (h.id == "TDRC") text = YearOfTimestamp(TrimTagText(text));
        texts[static_cast<std::size_t>(field)] = std::move(text);  // a later frame wins
        return true;
    });

    title_ = TrimTagText(texts[kTitle]);
    artist_ = TrimTagText(texts[kArtist]);
    album_ = TrimTagText(texts[kAlbum]);
    year_ = TrimTagText(texts[kYear]);
    std::string track = TrimTagText(texts[kTrack]);
    track_ = TrackFromText(track.substr(0, track.find('/')));
    genre_ = GenreWithoutReferences(TrimTagText(texts[kGenre]));
    comment_ = TrimTagText(texts[kComment]);
}

bool TID3v2::ReadFromFile(const std::string& fileName) {
    ResetData();
    error_.clear();
    TagFileReader file;
    if (FileResult r = file.Open(fileName); !r) return Failed(r.error);
    char header[kHeaderSize];
    if (file.Size() < static_cast<std::int64_t>(kHeaderSize))
        return Failed("Cannot read \"" + Cp1251ToUtf8(fileName) + "\": it holds fewer than 10 bytes");
    if (!file.ReadAt(0, header, kHeaderSize)) return Failed(file.ReadFailure().error);
    if (!IsTagHeader(std::string_view(header, kHeaderSize))) return true;
    exists_ = true;
    versionId_ = static_cast<std::uint8_t>(header[3]);
    const std::uint8_t flags = static_cast<std::uint8_t>(header[5]);
    const std::uint32_t size = TagSizeOf(header);
    size_ = size > file.Size() ? 0 : size;
    if (size_ == 0 || !LayoutOf(versionId_)) return true;

    if ((flags & kFlagUnsync) && versionId_ < 4) {
        // The whole tag is unsynchronised: its frames are found in the restored bytes.
        std::string tag(size_, '\0');
        if (!file.ReadAt(0, tag.data(), tag.size())) return true;
        tag = std::string(header, kHeaderSize) + RemoveUnsync(std::string_view(tag).substr(kHeaderSize));
        MemorySource source{tag};
        ReadFrames(source, static_cast<std::int64_t>(tag.size()), flags);
    } else {
        FileSource source{file};
        ReadFrames(source, size_, flags);
    }
    return true;
}

std::string TID3v2::TagBytes(std::string_view oldTag) const {
    const std::string texts[kFieldCount] = {
        title_, artist_, album_, track_ > 0 ? std::to_string(track_) : std::string(), year_, genre_,
        comment_.empty() ? std::string() : std::string("eng") + '\0' + comment_,
    };
    std::string frames;
    for (int f = 0; f < kFieldCount; ++f) {
        const std::string& text = texts[f];
        if (text.empty()) continue;
        const auto size = static_cast<std::uint32_t>(text.size() + 1);
        frames += kIds[static_cast<std::size_t>(f)];
        for (int shift = 24; shift >= 0; shift -= 8) frames += static_cast<char>((size >> shift) & 0xFF);
        frames += std::string(2, '\0');  // flags
        frames += '\0';                  // encoding: single bytes
        frames += text;
    }

    // The other frames of the old tag follow the seven.
    const std::uint8_t version = oldTag.size() >= kHeaderSize ? static_cast<std::uint8_t>(oldTag[3]) : 0;
    if (version == 3 || version == 4) {
        const auto flags = static_cast<std::uint8_t>(oldTag[5]);
        std::string restored;
        if (version == 3 && (flags & kFlagUnsync)) {
            restored = std::string(oldTag.substr(0, kHeaderSize)) + RemoveUnsync(oldTag.substr(kHeaderSize));
            oldTag = restored;
        }
        MemorySource source{oldTag};
        const auto end = static_cast<std::int64_t>(oldTag.size());
        WalkFrames(source, version, flags, end, [&](const FrameHeader& h, std::int64_t content) {
            if (!IsFrameId(h.id) || content + h.size > end) return false;
            if (FieldOf(h.id, version) >= 0) return true;
            const std::string_view bytes = oldTag.substr(static_cast<std::size_t>(content), h.size);
            if (version == 3) {
                frames += oldTag.substr(static_cast<std::size_t>(content) - kFrameHeaderSize, kFrameHeaderSize + h.size);
            } else if (std::optional<std::string> frame = FrameForV23(h, bytes, flags)) {
                frames += *frame;
            }
            return true;
        });
    }

    const auto size = static_cast<std::uint32_t>(frames.size());
    std::string tag = "ID3";
    tag += '\3';
    tag += '\0';
    tag += '\0';
    tag += static_cast<char>(size >> 21);
    tag += static_cast<char>((size >> 14) & 127);
    tag += static_cast<char>((size >> 7) & 127);
    tag += static_cast<char>(size & 127);
    return tag + frames;
}

bool TID3v2::ComposeFile(std::string_view fileBytes, std::string& out) {
    out.clear();
    if (fileBytes.size() < kHeaderSize) return Failed("the file holds fewer than 10 bytes");
    std::size_t tagEnd = 0;  // the old tag, header and frames
    std::size_t audio = 0;   // where the content after the old tag begins
    if (IsTagHeader(fileBytes)) {
        const std::uint32_t oldSize = TagSizeOf(fileBytes.data());
        // A size past the end counts as 0: the old tag then stays behind the new one.
        if (oldSize <= fileBytes.size()) tagEnd = audio = oldSize;
        const bool footer = fileBytes[3] == 4 && (fileBytes[5] & kFlagFooter) != 0;
        if (tagEnd > 0 && footer && fileBytes.substr(tagEnd, 3) == "3DI" && tagEnd + kHeaderSize <= fileBytes.size())
            audio = tagEnd + kHeaderSize;
    }
    const std::string tag = TagBytes(fileBytes.substr(0, tagEnd));
    if (tag.size() - kHeaderSize > kMaxTagSize) return Failed("the tag would be larger than 256 MB");
    out.reserve(tag.size() + fileBytes.size() - audio);
    out = tag;
    out.append(fileBytes.substr(audio));
    return true;
}

bool TID3v2::SaveToFile(const std::string& fileName) {
    error_.clear();
    if (PathIsUnmappable(fileName))
        return Failed("Cannot write \"" + Cp1251ToUtf8(fileName) +
                      "\": the name holds a character outside code page 1251");
    if (!FileExists(fileName)) return Failed("Cannot write \"" + Cp1251ToUtf8(fileName) + "\": the file does not exist");
    if (TagFileSize(fileName) < 0)
        return Failed("Cannot write \"" + Cp1251ToUtf8(fileName) + "\": it is not a regular file");
    if (FileResult r = SetAttributesNormal(fileName); !r) return Failed(r.error);
    std::string bytes;
    if (FileResult r = ReadFileBytes(fileName, bytes); !r) return Failed(r.error);
    std::string content;
    if (!ComposeFile(bytes, content))
        return Failed("Cannot write \"" + Cp1251ToUtf8(fileName) + "\": " + error_);
    bytes.clear();
    bytes.shrink_to_fit();
    // The new content goes to a temporary file that replaces the old one in one rename.
    if (FileResult r = ReplaceFileContents(fileName, content); !r) return Failed(r.error);
    return true;
}

}  // namespace tandrel
