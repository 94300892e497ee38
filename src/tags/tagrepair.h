// Tag repair: ID3v2 text frames marked ISO-8859-1 (encoding 0) that other
// players show as mojibake, because their bytes are Cyrillic code page 1251
// or UTF-8, are rewritten as UTF-16 with a byte-order mark. Genuine Western
// text ("Café") is left alone. The text frames, the comment and the lyrics
// are examined; every other frame, the tag's header, extended header and
// padding and the audio stay byte for byte. The file is rewritten through a
// temporary copy renamed over it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/dirwalk.h"
#include "platform/result.h"

namespace tandrel {

enum class MisreadText : std::uint8_t { kCp1251, kUtf8 };

struct FrameTextRepair {
    std::string frameId;
    MisreadText origin = MisreadText::kCp1251;
    std::u32string oldText;  // as players show it: the bytes as ISO-8859-1
    std::u32string newText;  // the text it becomes; strings of the frame joined by " / "
};

struct TagRepair {
    std::vector<FrameTextRepair> frames;  // what was (or would be) rewritten
    // Why the tag was left alone (UTF-8): damaged, unsynchronised, an
    // unknown version; "" otherwise.
    std::string notRepaired;
};

// The files a repair of paths takes: each file named, and the files of each
// directory named that admit takes (and of its sub-directories when
// recursive; links to directories are not followed). failures receives one
// text (code page 1251) for each path that is neither and each directory
// that cannot be read.
std::vector<std::string> FilesToRepair(const std::vector<std::string>& paths, const FileFilter& admit, bool recursive,
                                       std::vector<std::string>& failures);

// What the repair of the file would change; a failure when the file cannot be read.
FileResult PlanTagRepair(const std::string& fileName, TagRepair& plan);
// Rewrites the frames the plan names; a file with nothing to repair is not
// written. plan receives what was done.
FileResult RepairTag(const std::string& fileName, TagRepair& plan);

}  // namespace tandrel
