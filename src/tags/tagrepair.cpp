#include "tags/tagrepair.h"

#include <algorithm>

#include "platform/files.h"
#include "tags/id3v2.h"
#include "tags/tagfile.h"
#include "tags/tagsave.h"
#include "tags/tagtext.h"
#include "text/cp1251.h"
#include "text/legacytext.h"
#include "text/paths.h"

namespace tandrel {

namespace {

constexpr std::uint8_t kFlagUnsync = 0x80;
constexpr std::uint8_t kFlagFooter = 0x10;
constexpr std::size_t kHeader = TID3v2::kHeaderSize;
constexpr std::int64_t kID3v1Size = 128;

// Frames whose content is the encoding byte and strings; those whose
// strings follow a language code.
bool IsTextFrame(const std::string& id) { return !id.empty() && id[0] == 'T'; }
bool IsLanguageFrame(const std::string& id) { return id == "COMM" || id == "USLT" || id == "COM" || id == "ULT"; }

std::vector<std::string_view> SplitStrings(std::string_view body) {
    std::vector<std::string_view> strings;
    std::size_t start = 0;
    for (std::size_t zero; (zero = body.find('\0', start)) != std::string_view::npos; start = zero + 1)
        strings.push_back(body.substr(start, zero - start));
    strings.push_back(body.substr(start));
    return strings;
}

std::u32string Joined(const std::vector<std::u32string>& texts) {
    std::u32string out;
    for (const std::u32string& t : texts) {
        if (t.empty()) continue;
        if (!out.empty()) out += U" / ";
        out += t;
    }
    return out;
}

// The repaired content of a frame marked ISO-8859-1, or nothing when its text
// is plain ASCII or genuine Western text.
bool RepairFrame(const std::string& id, std::string_view content, std::string& repaired, FrameTextRepair& shown) {
    const std::size_t prefix = IsLanguageFrame(id) ? 4 : 1;
    if (content.size() <= prefix || content[0] != '\0') return false;
    std::string_view body = content.substr(prefix);
    // Trailing zero bytes end the last string; they say nothing of the text.
    const std::size_t last = body.find_last_not_of('\0');
    if (last == std::string_view::npos) return false;
    const bool terminated = last + 1 < body.size();
    body = body.substr(0, last + 1);
    if (std::all_of(body.begin(), body.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return false;

    std::string letters(body);
    std::replace(letters.begin(), letters.end(), '\0', ' ');
    if (IsValidUtf8(letters)) shown.origin = MisreadText::kUtf8;
    else if (LooksLikeCp1251Cyrillic(letters)) shown.origin = MisreadText::kCp1251;
    else return false;

    const std::vector<std::string_view> strings = SplitStrings(body);
    std::vector<std::u32string> oldTexts, newTexts;
    repaired.assign(1, static_cast<char>(kEncodingUtf16Bom));
    repaired += content.substr(1, prefix - 1);  // the language code
    for (std::size_t i = 0; i < strings.size(); ++i) {
        std::u32string text = shown.origin == MisreadText::kUtf8 ? Utf8CodePoints(strings[i])
                                                                 : DecodeLegacy(strings[i], LegacyEncoding::kCp1251);
        repaired += EncodeUtf16WithBom(text, i + 1 < strings.size() || terminated);
        oldTexts.push_back(Latin1CodePoints(strings[i]));
        newTexts.push_back(std::move(text));
    }
    shown.frameId = id;
    shown.oldText = Joined(oldTexts);
    shown.newText = Joined(newTexts);
    return true;
}

// Examines the tag of an open file; with head and keepFrom, also composes the
// repaired tag and where the file's bytes after the old one begin.
FileResult Examine(TagFileReader& file, const std::string& fileName, TagRepair& plan, std::string* head,
                   std::int64_t* keepFrom) {
    plan = {};
    const std::int64_t size = file.Size();
    char header[kHeader];
    if (size < static_cast<std::int64_t>(kHeader)) return FileResult::Success();
    if (!file.ReadAt(0, header, kHeader)) return file.ReadFailure();
    if (std::string_view(header, 3) != "ID3") return FileResult::Success();
    const auto version = static_cast<std::uint8_t>(header[3]);
    const auto flags = static_cast<std::uint8_t>(header[5]);
    if (version < 2 || version > 4) {
        plan.notRepaired = "an ID3v2." + std::to_string(version) + " tag is not repaired";
        return FileResult::Success();
    }
    std::int64_t declared = 0;
    for (int i = 6; i < 10; ++i) {
        const unsigned b = static_cast<unsigned char>(header[i]);
        if (b & 0x80) declared = -1;
        if (declared >= 0) declared = declared << 7 | b;
    }
    std::int64_t limit = size;
    char tail[3];
    if (size >= kID3v1Size + static_cast<std::int64_t>(kHeader) && file.ReadAt(size - kID3v1Size, tail, 3) &&
        std::string_view(tail, 3) == "TAG")
        limit = size - kID3v1Size;
    const std::int64_t end = declared + static_cast<std::int64_t>(kHeader);
    if (declared < 0 || end > limit) {
        plan.notRepaired = "the tag is damaged: its size runs past its end";
        return FileResult::Success();
    }
    if (flags & kFlagUnsync) {
        plan.notRepaired = "an unsynchronised tag is not repaired";
        return FileResult::Success();
    }
    std::string tag(static_cast<std::size_t>(end), '\0');
    if (!file.ReadAt(0, tag.data(), tag.size())) return file.ReadFailure();
    std::vector<ID3v2FrameSpan> frames;
    std::size_t framesEnd = 0;
    if (!ListID3v2Frames(tag, frames, framesEnd)) {
        plan.notRepaired = "the frames of the tag cannot be found";
        return FileResult::Success();
    }

    std::string body;  // the frames of the new tag
    for (const ID3v2FrameSpan& f : frames) {
        const std::string_view whole = std::string_view(tag).substr(f.at, f.content - f.at + f.size);
        std::string repaired;
        FrameTextRepair shown;
        // Compressed, encrypted, grouped or unsynchronised frames stay as they are.
        const bool plain = f.format == 0 && (IsTextFrame(f.id) || IsLanguageFrame(f.id));
        if (plain && RepairFrame(f.id, std::string_view(tag).substr(f.content, f.size), repaired, shown)) {
            body += ID3v2FrameHeader(version, f, repaired.size()) + repaired;
            plan.frames.push_back(std::move(shown));
        } else {
            body += whole;
        }
    }
    if (!head || plan.frames.empty()) return FileResult::Success();

    // Header and extended header, the frames, then the padding as it was.
    const std::size_t framesStart = frames.front().at;
    std::string padding = tag.substr(std::min(framesEnd, tag.size()));
    std::string newTag = tag.substr(0, framesStart) + body + padding;
    const std::size_t newSize = newTag.size() - kHeader;
    if (newSize > 0x0FFFFFFF)
        return FileResult::Failure("Cannot write \"" + Cp1251ToUtf8(fileName) + "\": the tag would be larger than 256 MB");
    for (int i = 0; i < 4; ++i)
        newTag[static_cast<std::size_t>(6 + i)] = static_cast<char>((newSize >> (21 - 7 * i)) & 0x7F);
    *keepFrom = end;
    char footer[3];
    if (version == 4 && (flags & kFlagFooter) && end + 10 <= limit && file.ReadAt(end, footer, 3) &&
        std::string_view(footer, 3) == "3DI") {
        newTag += "3DI" + newTag.substr(3, kHeader - 3);
        *keepFrom = end + 10;
    }
    *head = std::move(newTag);
    return FileResult::Success();
}

}  // namespace

std::vector<std::string> FilesToRepair(const std::vector<std::string>& paths, const FileFilter& admit, bool recursive,
                                       std::vector<std::string>& failures) {
    std::vector<std::string> files;
    WalkHandler handler;
    handler.onFile = [&](const std::string& dir, const FindData& file) { files.push_back(JoinPath(dir, file.name)); };
    handler.onDirectoryError = [&](const std::string& dir, const std::string& reason) {
        failures.push_back(CannotReadText(dir, reason));
    };
    for (const std::string& path : paths) {
        if (DirectoryExists(path)) WalkDirectory(path, recursive, admit, handler);
        else if (FileExists(path)) files.push_back(path);
        else failures.push_back(path + ": no such file or directory");
    }
    return files;
}

FileResult PlanTagRepair(const std::string& fileName, TagRepair& plan) {
    plan = {};
    TagFileReader file;
    if (FileResult r = file.Open(fileName); !r) return r;
    return Examine(file, fileName, plan, nullptr, nullptr);
}

FileResult RepairTag(const std::string& fileName, TagRepair& plan) {
    if (FileResult r = PlanTagRepair(fileName, plan); !r || plan.frames.empty()) return r;
    return ReplaceFileHead(fileName, [&](TagFileReader& file, std::string& head, std::int64_t& keepFrom) {
        head.clear();
        keepFrom = 0;  // nothing to repair any more: the file is written as it is
        return Examine(file, fileName, plan, &head, &keepFrom);
    });
}

}  // namespace tandrel
