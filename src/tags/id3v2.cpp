#include "tags/id3v2.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>

#include "platform/files.h"
#include "tags/tagfile.h"
#include "tags/tagsave.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

// The seven fields, in the order of reading and writing.
enum Field { kTitle, kArtist, kAlbum, kTrack, kYear, kGenre, kComment, kFieldCount };
using FrameTexts = std::array<std::string, kFieldCount>;
// The public field positions name these fields.
static_assert(int{kTitle} == int{TID3v2::kTitleField} && int{kArtist} == int{TID3v2::kArtistField} &&
              int{kAlbum} == int{TID3v2::kAlbumField} && int{kTrack} == int{TID3v2::kTrackField} &&
              int{kYear} == int{TID3v2::kYearField} && int{kGenre} == int{TID3v2::kGenreField} &&
              int{kComment} == int{TID3v2::kCommentField} && int{kFieldCount} == TID3v2::kFieldCount);

constexpr std::array<const char*, kFieldCount> kIds = {"TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM"};
constexpr std::array<const char*, kFieldCount> kIdsV22 = {"TT2", "TP1", "TAL", "TRK", "TYE", "TCO", "COM"};

constexpr std::uint8_t kFlagUnsync = 0x80;        // header: the tag is unsynchronised
constexpr std::uint8_t kFlagExtHeader = 0x40;     // header: an extended header follows (2.2: compression)
constexpr std::uint8_t kFlagFooter = 0x10;        // header, 2.4: a 10-byte footer follows the frames
constexpr std::size_t kFrameHeaderSize = 10;      // 2.3 and 2.4
constexpr std::uint32_t kMaxTagSize = 0x0FFFFFFF;  // 28 bits
constexpr std::int64_t kID3v1Size = 128;

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
// window (the content, made up to 4 bytes by zero bytes), as it stands; the
// comment loses its encoding byte and language. Unicode text is decoded; a comment's non-empty
// description stays in front of its text, followed by a zero byte.
std::string FrameText(std::string_view window, std::size_t contentSize, bool comment, std::u32string* lost) {
    const auto encoding = static_cast<unsigned char>(window[0]);
    if (!IsUnicodeEncoding(encoding)) return std::string(comment ? window.substr(4) : window);
    std::string_view body = window.substr(1, contentSize > 0 ? contentSize - 1 : 0);
    if (!comment) return CodePointsToCp1251(DecodeTagString(encoding, body), lost);
    if (body.size() < 3) return {};
    body.remove_prefix(3);
    std::size_t used = 0;
    std::string text = CodePointsToCp1251(DecodeTagString(encoding, body, &used), lost);
    if (!text.empty()) text += '\0';
    return text + CodePointsToCp1251(DecodeTagString(encoding, body.substr(used)), lost);
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
        } else if (h.id == "SYLT") {
            // Language, time stamp format, content type; the descriptor; then text and time stamp pairs.
            if (rest.size() < 5) return std::nullopt;
            out += rest.substr(0, 5);
            std::size_t pos = 5, used = 0;
            out += StringsAsUtf16(encoding, rest.substr(pos), 1, &used);
            pos += used;
            while (pos < rest.size()) {
                out += StringsAsUtf16(encoding, rest.substr(pos), 1, &used);
                pos += used;
                out += rest.substr(pos, 4);
                pos += 4;
            }
        } else if (h.id == "OWNE") {
            // Price, date of purchase (8 characters), seller.
            const std::size_t pos = latinString(rest).size() + 8;
            if (pos > rest.size()) return std::nullopt;
            out += rest.substr(0, pos);
            out += StringsAsUtf16(encoding, rest.substr(pos), -1, nullptr);
        } else if (h.id == "COMR") {
            // Price, valid until (8), contact URL, received as (1); seller and
            // description in the encoding; the logo's MIME type and bytes.
            std::size_t pos = latinString(rest).size() + 8;
            if (pos > rest.size()) return std::nullopt;
            pos += latinString(rest.substr(pos)).size() + 1;
            if (pos > rest.size()) return std::nullopt;
            out += rest.substr(0, pos);
            std::size_t used = 0;
            out += StringsAsUtf16(encoding, rest.substr(pos), 2, &used);
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
    if (id.empty() || id[0] < 'A' || id[0] > 'Z') return false;
    for (char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

std::string Frame23(std::string_view id, std::string_view content, char status = '\0') {
    std::string frame(id);
    const auto size = static_cast<std::uint32_t>(content.size());
    for (int shift = 24; shift >= 0; shift -= 8) frame += static_cast<char>((size >> shift) & 0xFF);
    frame += status;
    frame += '\0';
    frame += content;
    return frame;
}

// Frames of version 2.2 by their version 2.3 names.
const std::map<std::string_view, std::string_view>& V22Names() {
    static const std::map<std::string_view, std::string_view> names = {
        {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"}, {"EQU", "EQUA"},
        {"GEO", "GEOB"}, {"IPL", "IPLS"}, {"LNK", "LINK"}, {"MCI", "MCDI"}, {"MLL", "MLLT"}, {"PIC", "APIC"},
        {"POP", "POPM"}, {"REV", "RVRB"}, {"RVA", "RVAD"}, {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"},
        {"TBP", "TBPM"}, {"TCM", "TCOM"}, {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDA", "TDAT"}, {"TDY", "TDLY"},
        {"TEN", "TENC"}, {"TFT", "TFLT"}, {"TIM", "TIME"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"},
        {"TMT", "TMED"}, {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TORY"}, {"TOT", "TOAL"},
        {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"}, {"TPB", "TPUB"},
        {"TRC", "TSRC"}, {"TRD", "TRDA"}, {"TRK", "TRCK"}, {"TSI", "TSIZ"}, {"TSS", "TSSE"}, {"TT1", "TIT1"},
        {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TXX", "TXXX"}, {"TYE", "TYER"}, {"UFI", "UFID"},
        {"ULT", "USLT"}, {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"},
        {"WPB", "WPUB"}, {"WXX", "WXXX"},
        // Sort orders and the compilation flag as other taggers write them.
        {"TCP", "TCMP"}, {"TS2", "TSO2"}, {"TSA", "TSOA"}, {"TSC", "TSOC"}, {"TSP", "TSOP"}, {"TST", "TSOT"},
    };
    return names;
}

// A frame of a 2.2 tag in 2.3 form (2.2 knows only encodings 0 and 1, as
// 2.3 does), or nothing for a frame without a 2.3 twin.
std::optional<std::string> FrameFromV22(const FrameHeader& h, std::string_view content) {
    const auto& names = V22Names();
    const auto name = names.find(h.id);
    if (name == names.end()) return std::nullopt;
    if (h.id == "PIC") {
        // Encoding, image format (3 characters), picture type, description, data.
        if (content.size() < 5) return std::nullopt;
        const std::string format(content.substr(1, 3));
        std::string lower = format;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        std::string mime = format == "-->" ? format : "image/" + lower;
        if (format == "JPG") mime = "image/jpeg";
        return Frame23("APIC", std::string(content.substr(0, 1)) + mime + '\0' + std::string(content.substr(4)));
    }
    if (h.id == "LNK") {
        // The linked frame's identifier comes first.
        if (content.size() < 3) return std::nullopt;
        const auto linked = names.find(content.substr(0, 3));
        if (linked == names.end()) return std::nullopt;
        return Frame23("LINK", std::string(linked->second) + std::string(content.substr(3)));
    }
    return Frame23(name->second, content);
}

// A frame found by the walk.
struct FrameRef {
    FrameHeader h;
    std::int64_t at = 0;       // its header
    std::int64_t content = 0;  // its content
    int field = -1;            // one of the seven fields, or -1
};

// The frames of a tag and the fields they give. A field is taken from the
// last readable frame that holds it (the winner).
struct FrameScan {
    std::vector<FrameRef> frames;
    std::array<int, kFieldCount> winner;
    FrameTexts texts;
    std::array<std::u32string, kFieldCount> lost;
    std::int64_t end = static_cast<std::int64_t>(TID3v2::kHeaderSize);  // just after the last frame taken
    FrameScan() { winner.fill(-1); }
};

// Reads the text of a field frame into the scan; false when it cannot be read.
template <class Source>
bool ReadFieldText(Source& source, const FrameRef& f, std::uint8_t version, std::uint8_t flags, FrameScan& scan) {
    const ContentPrefix prefix = PrefixOf(f.h, version, flags);
    if (prefix.opaque) return false;
    // An unsynchronised window may need up to twice its bytes.
    const std::size_t wanted = std::min<std::size_t>(f.h.size, (prefix.unsync ? 2 : 1) * TID3v2::kFrameWindow + prefix.skip);
    std::string bytes(wanted, '\0');
    if (!source.ReadAt(f.content, bytes.data(), wanted)) return false;
    bytes.erase(0, std::min(prefix.skip, bytes.size()));
    if (prefix.unsync) bytes = RemoveUnsync(bytes);
    const std::size_t contentSize = std::min(bytes.size(), TID3v2::kFrameWindow);
    // Zero bytes after the content would only be trimmed off the field: the
    // window is padded only to the 4 bytes of a comment's encoding and language.
    bytes.resize(std::max<std::size_t>(contentSize, 4), '\0');
    std::u32string lost;
    std::string text = FrameText(bytes, contentSize, f.field == kComment, &lost);
    if (f.h.id == "TDRC") text = YearOfTimestamp(TrimTagText(text));
    const auto field = static_cast<std::size_t>(f.field);
    scan.texts[field] = std::move(text);
    scan.lost[field] = std::move(lost);
    return true;
}

// Walks the frames from the first one while they lie whole below end and look
// like frames (padding or garbage ends the walk).
template <class Source>
FrameScan ScanFrames(Source& source, std::uint8_t version, std::uint8_t flags, std::int64_t end) {
    FrameScan scan;
    const std::optional<FrameLayout> layout = LayoutOf(version);
    if (!layout) return scan;
    scan.frames.reserve(16);  // a usual tag's frames without growing the list
    std::int64_t pos = FramesStart(source, version, flags);
    if (pos < 0) return scan;
    const auto headerSize = static_cast<std::int64_t>(layout->headerSize);
    char header[10];
    while (pos + headerSize <= end) {
        if (!source.ReadAt(pos, header, layout->headerSize)) break;
        FrameRef f;
        f.h = ParseFrameHeader(header, *layout);
        if (!IsFrameId(f.h.id)) break;
        f.at = pos;
        f.content = pos + headerSize;
        if (f.content + f.h.size > end) break;
        f.field = FieldOf(f.h.id, version);
        if (f.field >= 0 && ReadFieldText(source, f, version, flags, scan))
            scan.winner[static_cast<std::size_t>(f.field)] = static_cast<int>(scan.frames.size());
        scan.frames.push_back(f);
        pos = f.content + f.h.size;
        scan.end = pos;
    }
    return scan;
}

// Where the old tag lies. An intact tag ends where its header says; a damaged
// one (a size that is not 7-bit, or that runs past the end of the file or into
// its ID3v1 tag) consists of the frames that lie whole before that limit.
struct Extent {
    bool damaged = false;
    std::int64_t limit = 0;  // the end of the file, or the start of its ID3v1 tag
    std::int64_t end = 0;    // intact: header + declared size
};

template <class Source>
Extent ExtentOf(Source& source, const char* header, std::int64_t fileSize) {
    Extent e;
    e.limit = fileSize;
    char tail[3];
    if (fileSize >= kID3v1Size + static_cast<std::int64_t>(TID3v2::kHeaderSize) &&
        source.ReadAt(fileSize - kID3v1Size, tail, sizeof tail) && std::string_view(tail, 3) == "TAG")
        e.limit = fileSize - kID3v1Size;
    bool sevenBit = true;
    for (std::size_t i = 6; i < 10; ++i) sevenBit = sevenBit && (Byte(header, i) & 0x80) == 0;
    e.end = static_cast<std::int64_t>(Syncsafe(header + 6)) + static_cast<std::int64_t>(TID3v2::kHeaderSize);
    e.damaged = !sevenBit || e.end > e.limit;
    return e;
}

// A frame's content with a 2.3 group byte, or a 2.4 group byte, data length
// and unsynchronisation, taken away; nothing for compressed or encrypted content.
std::optional<std::string> PayloadOf(const FrameRef& f, std::string_view tag, std::uint8_t version, std::uint8_t flags) {
    const std::string_view content = tag.substr(static_cast<std::size_t>(f.content), f.h.size);
    const ContentPrefix prefix = PrefixOf(f.h, version, flags);
    if (prefix.opaque || content.size() < prefix.skip) return std::nullopt;
    std::string data(content.substr(prefix.skip));
    return prefix.unsync ? RemoveUnsync(data) : data;
}

// A frame of the old tag in 2.3 form, or nothing when 2.3 cannot hold it.
std::optional<std::string> FrameAsV23(const FrameRef& f, std::string_view tag, std::uint8_t version, std::uint8_t flags) {
    const std::string_view content = tag.substr(static_cast<std::size_t>(f.content), f.h.size);
    if (version == 3) return std::string(tag.substr(static_cast<std::size_t>(f.at), kFrameHeaderSize + f.h.size));
    if (version == 2) return FrameFromV22(f.h, content);
    return FrameForV23(f.h, content, flags);
}

// A 2.4 recording time "yyyy-MM-ddTHH:mm" as the 2.3 frames of year, date (DDMM) and time (HHMM).
std::string RecordingTimeAsV23(const std::string& year, const std::string& timestamp) {
    if (year.empty()) return {};
    std::string frames = Frame23("TYER", '\0' + year);
    if (timestamp.size() >= 10 && timestamp[4] == '-' && timestamp[7] == '-')
        frames += Frame23("TDAT", '\0' + timestamp.substr(8, 2) + timestamp.substr(5, 2));
    if (timestamp.size() >= 16 && timestamp[10] == 'T' && timestamp[13] == ':')
        frames += Frame23("TIME", '\0' + timestamp.substr(11, 2) + timestamp.substr(14, 2));
    return frames;
}

// The texts of a frame's content that begins with an encoding byte.
std::string DecodedText(std::string_view payload) {
    if (payload.empty()) return {};
    return CodePointsToCp1251(DecodeTagString(static_cast<unsigned char>(payload[0]), payload.substr(1)));
}

std::string Utf16Text(std::string_view cp1251, bool terminated) {
    return EncodeUtf16WithBom(Cp1251ToCodePoints(cp1251), terminated);
}

// The field values a tag's frames give.
struct FieldValues {
    std::string title, artist, album, year, genre, comment;
    std::uint8_t track = 0;
};

FieldValues ValuesOf(const FrameTexts& texts) {
    FieldValues v;
    v.title = TrimTagText(texts[kTitle]);
    v.artist = TrimTagText(texts[kArtist]);
    v.album = TrimTagText(texts[kAlbum]);
    v.year = TrimTagText(texts[kYear]);
    const std::string track = TrimTagText(texts[kTrack]);
    v.track = TrackFromText(track.substr(0, track.find('/')));
    v.genre = GenreWithoutReferences(TrimTagText(texts[kGenre]));
    v.comment = TrimTagText(texts[kComment]);
    return v;
}

FieldValues ValuesOf(const TID3v2& t) {
    return {t.Title(), t.Artist(), t.Album(), t.Year(), t.Genre(), t.Comment(), t.Track()};
}

// Which fields hold different values.
std::array<bool, kFieldCount> Differences(const FieldValues& a, const FieldValues& b) {
    return {a.title != b.title, a.artist != b.artist, a.album != b.album, a.track != b.track,
            a.year != b.year,   a.genre != b.genre,   a.comment != b.comment};
}

std::string FieldText(const FieldValues& v, int field) {
    switch (field) {
        case kTitle: return v.title;
        case kArtist: return v.artist;
        case kAlbum: return v.album;
        case kTrack: return v.track > 0 ? std::to_string(v.track) : std::string();
        case kYear: return v.year;
        case kGenre: return v.genre;
        default: return v.comment;
    }
}

bool IsPlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The new frame of a changed field. It takes the place of the old frame,
// keeps its Unicode encoding (as UTF-16) and, for a comment, its language.
// unicodeText: text that is not plain ASCII is written as UTF-16 too.
std::string NewFieldFrame(int field, const std::string& text, const std::optional<std::string>& oldPayload,
                          bool unicodeText) {
    const bool unicode =
        (unicodeText && !IsPlainAscii(text)) ||
        (oldPayload && !oldPayload->empty() && IsUnicodeEncoding(static_cast<unsigned char>((*oldPayload)[0])));
    const char* id = kIds[static_cast<std::size_t>(field)];
    if (field != kComment) {
        return Frame23(id, unicode ? '\1' + Utf16Text(text, false) : '\0' + text);
    }
    const std::string language = oldPayload && oldPayload->size() >= 4 ? oldPayload->substr(1, 3) : std::string("eng");
    if (!unicode) return Frame23(id, '\0' + language + '\0' + text);
    // A comment read with a description holds it in front, followed by a zero byte.
    const std::size_t zero = text.find('\0');
    const std::string description = zero == std::string::npos ? std::string() : text.substr(0, zero);
    const std::string body = zero == std::string::npos ? text : text.substr(zero + 1);
    return Frame23(id, '\1' + language + Utf16Text(description, true) + Utf16Text(body, false));
}

}  // namespace

void TID3v2::ResetData() {
    exists_ = false;
    damaged_ = false;
    versionId_ = 0;
    size_ = 0;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    genre_.clear();
    comment_.clear();
    track_ = 0;
    for (std::u32string& lost : lost_) lost.clear();
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

bool TID3v2::ReadFromFile(const std::string& fileName) {
    ResetData();
    error_.clear();
    TagFileReader file;
    if (FileResult r = file.Open(fileName); !r) return Failed(r.error);
    return ReadFrom(file);
}

bool TID3v2::ReadFrom(TagFileReader& file) {
    ResetData();
    error_.clear();
    char header[kHeaderSize];
    if (file.Size() < static_cast<std::int64_t>(kHeaderSize))
        return Failed("Cannot read \"" + file.Name() + "\": it holds fewer than 10 bytes");
    if (!file.ReadAt(0, header, kHeaderSize)) return Failed(file.ReadFailure().error);
    if (!IsTagHeader(std::string_view(header, kHeaderSize))) return true;
    exists_ = true;
    versionId_ = static_cast<std::uint8_t>(header[3]);
    const std::uint8_t flags = static_cast<std::uint8_t>(header[5]);
    FileSource source{file};
    const Extent extent = ExtentOf(source, header, file.Size());
    damaged_ = extent.damaged;
    size_ = damaged_ ? 0 : static_cast<std::uint32_t>(extent.end);

    FrameScan scan;
    const bool wholeUnsync = (flags & kFlagUnsync) && versionId_ < 4;
    if (wholeUnsync && !damaged_) {
        // The whole tag is unsynchronised: its frames are found in the restored bytes.
        std::string tag(size_, '\0');
        if (!file.ReadAt(0, tag.data(), tag.size())) return true;
        tag = std::string(header, kHeaderSize) + RemoveUnsync(std::string_view(tag).substr(kHeaderSize));
        MemorySource memory{tag};
        scan = ScanFrames(memory, versionId_, flags, static_cast<std::int64_t>(tag.size()));
    } else if (!wholeUnsync) {
        scan = ScanFrames(source, versionId_, flags, damaged_ ? extent.limit : extent.end);
    }
    const FieldValues v = ValuesOf(scan.texts);
    title_ = v.title;
    artist_ = v.artist;
    album_ = v.album;
    year_ = v.year;
    track_ = v.track;
    genre_ = v.genre;
    comment_ = v.comment;
    lost_ = scan.lost;
    return true;
}

std::u32string TID3v2::CharactersLostBy(const TID3v2& edited) const {
    const std::array<bool, kFieldCount> changed = Differences(ValuesOf(*this), ValuesOf(edited));
    std::u32string lost;
    for (std::size_t f = 0; f < changed.size(); ++f)
        if (changed[f]) AddLostCharacters(lost, lost_[f]);
    return lost;
}

template <class Source>
bool TID3v2::Compose(Source& source, std::int64_t fileSize, std::string& tag, std::int64_t& keepFrom) {
    error_.clear();
    dropped_.clear();
    tag.clear();
    keepFrom = 0;
    char header[kHeaderSize];
    if (fileSize < static_cast<std::int64_t>(kHeaderSize) || !source.ReadAt(0, header, kHeaderSize))
        return Failed("the file holds fewer than 10 bytes");

    // The old tag as its frames are read: header and frames, unsynchronisation removed.
    std::string old;
    std::uint8_t version = 0, flags = 0;
    FrameScan scan;
    if (IsTagHeader(std::string_view(header, kHeaderSize))) {
        version = static_cast<std::uint8_t>(header[3]);
        flags = static_cast<std::uint8_t>(header[5]);
        const Extent extent = ExtentOf(source, header, fileSize);
        const bool wholeUnsync = (flags & kFlagUnsync) && version < 4;
        if (!extent.damaged) {
            keepFrom = extent.end;
            char footer[3];
            if (version == 4 && (flags & kFlagFooter) && extent.end + 10 <= extent.limit &&
                source.ReadAt(extent.end, footer, 3) && std::string_view(footer, 3) == "3DI")
                keepFrom = extent.end + 10;
            old.resize(static_cast<std::size_t>(extent.end));
            if (!source.ReadAt(0, old.data(), old.size())) return Failed("the old tag cannot be read");
            if (wholeUnsync) old = old.substr(0, kHeaderSize) + RemoveUnsync(std::string_view(old).substr(kHeaderSize));
            MemorySource memory{old};
            scan = ScanFrames(memory, version, flags, static_cast<std::int64_t>(old.size()));
            // Padding is zero bytes; anything else after the frames is named as left out.
            const auto unread = std::count_if(old.begin() + std::min<std::int64_t>(scan.end, old.size()), old.end(),
                                              [](char c) { return c != '\0'; });
            if (!LayoutOf(version)) dropped_.push_back("ID3v2." + std::to_string(version));
            else if (unread > 0) dropped_.push_back(std::to_string(unread) + " unreadable bytes");
        } else {
            // Only the frames that lie whole in the file are the tag; every byte after them stays.
            if (!wholeUnsync) scan = ScanFrames(source, version, flags, extent.limit);
            keepFrom = scan.end;
            old.resize(static_cast<std::size_t>(keepFrom));
            if (!source.ReadAt(0, old.data(), old.size())) return Failed("the old tag cannot be read");
        }
    }

    const FieldValues now = ValuesOf(*this);
    const std::array<bool, kFieldCount> changed = Differences(ValuesOf(scan.texts), now);
    std::string frames;
    // Fields the old tag did not have come first, in the field order.
    for (int f = 0; f < kFieldCount; ++f) {
        const auto i = static_cast<std::size_t>(f);
        const std::string text = FieldText(now, f);
        if (scan.winner[i] < 0 && changed[i] && !text.empty())
            frames += NewFieldFrame(f, text, std::nullopt, unicodeText_);
    }
    // What each field's frame becomes: the old frame (in 2.3 form) while the
    // field is unchanged, else a new frame; nothing for an empty field.
    std::array<std::string, kFieldCount> replacement;
    for (int f = 0; f < kFieldCount; ++f) {
        const auto i = static_cast<std::size_t>(f);
        if (scan.winner[i] < 0) continue;
        const FrameRef& frame = scan.frames[static_cast<std::size_t>(scan.winner[i])];
        const std::string text = FieldText(now, f);
        const std::optional<std::string> payload = PayloadOf(frame, old, version, flags);
        std::optional<std::string> converted;
        if (!changed[i] && frame.h.id == "TDRC")
            converted = RecordingTimeAsV23(year_, TrimTagText(DecodedText(payload.value_or(std::string()))));
        else if (!changed[i])
            converted = FrameAsV23(frame, old, version, flags);
        if (converted) replacement[i] = std::move(*converted);
        else if (!text.empty()) replacement[i] = NewFieldFrame(f, text, payload, unicodeText_);
    }
    // The old frames in their order, each field's frame replaced in its place.
    // Earlier frames of a field that ends up without a frame go too, so that
    // none of them becomes the field when the tag is read again.
    for (std::size_t k = 0; k < scan.frames.size(); ++k) {
        const FrameRef& frame = scan.frames[k];
        if (frame.field >= 0) {
            const auto i = static_cast<std::size_t>(frame.field);
            if (scan.winner[i] == static_cast<int>(k)) {
                frames += replacement[i];
                continue;
            }
            if (replacement[i].empty()) continue;
        }
        if (std::optional<std::string> converted = FrameAsV23(frame, old, version, flags))
            frames += *converted;
        else
            dropped_.push_back(frame.h.id);
    }

    if (frames.size() > kMaxTagSize) return Failed("the tag would be larger than 256 MB");
    const auto size = static_cast<std::uint32_t>(frames.size());
    tag = "ID3";
    tag += '\3';
    tag += '\0';
    tag += '\0';
    tag += static_cast<char>(size >> 21);
    tag += static_cast<char>((size >> 14) & 127);
    tag += static_cast<char>((size >> 7) & 127);
    tag += static_cast<char>(size & 127);
    tag += frames;
    return true;
}

bool ListID3v2Frames(std::string_view tag, std::vector<ID3v2FrameSpan>& frames, std::size_t& end) {
    frames.clear();
    end = 0;
    if (tag.size() < TID3v2::kHeaderSize || !IsTagHeader(tag)) return false;
    const auto version = static_cast<std::uint8_t>(tag[3]);
    const auto flags = static_cast<std::uint8_t>(tag[5]);
    MemorySource memory{tag};
    if (!LayoutOf(version) || FramesStart(memory, version, flags) < 0) return false;
    const FrameScan scan = ScanFrames(memory, version, flags, static_cast<std::int64_t>(tag.size()));
    for (const FrameRef& f : scan.frames)
        frames.push_back({f.h.id, static_cast<std::size_t>(f.at), static_cast<std::size_t>(f.content), f.h.size,
                          f.h.status, f.h.format});
    end = static_cast<std::size_t>(scan.end);
    return true;
}

std::string ID3v2FrameHeader(std::uint8_t version, const ID3v2FrameSpan& like, std::size_t size) {
    const auto n = static_cast<std::uint32_t>(size);
    std::string h = like.id;
    if (version == 2) {
        for (int shift : {16, 8, 0}) h += static_cast<char>((n >> shift) & 0xFF);
        return h;
    }
    for (int shift : {24, 16, 8, 0})
        h += static_cast<char>(version == 4 ? (n >> (shift / 8 * 7)) & 0x7F : (n >> shift) & 0xFF);
    h += static_cast<char>(like.status);
    h += static_cast<char>(like.format);
    return h;
}

bool TID3v2::ComposeFile(std::string_view fileBytes, std::string& out) {
    out.clear();
    MemorySource source{fileBytes};
    std::string tag;
    std::int64_t keepFrom = 0;
    if (!Compose(source, static_cast<std::int64_t>(fileBytes.size()), tag, keepFrom)) return false;
    out.reserve(tag.size() + fileBytes.size() - static_cast<std::size_t>(keepFrom));
    out = tag;
    out.append(fileBytes.substr(static_cast<std::size_t>(keepFrom)));
    return true;
}

bool TID3v2::ComposeTag(TagFileReader& file, std::string& tag, std::int64_t& keepFrom) {
    FileSource source{file};
    return Compose(source, file.Size(), tag, keepFrom);
}

bool TID3v2::SaveToFile(const std::string& fileName) {
    error_.clear();
    if (FileResult r = SaveTagsToFile(fileName, nullptr, this); !r) return Failed(r.error);
    return true;
}

}  // namespace tandrel
