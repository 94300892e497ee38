// Writing tags into a file: the new content is composed once (the new ID3v2
// tag, the bytes between the old tags, the new ID3v1 record) and streamed to
// a temporary file that is renamed over the original, so a failure or a kill
// leaves either the old file or the new one, with both tags old or both new.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/result.h"
#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagfile.h"

namespace tandrel {

// Either tag may be absent (nullptr): that end of the file stays as it is.
// v2 is not const: it notes which old frames it left out (DroppedFrames).
FileResult SaveTagsToFile(const std::string& fileName, const TID3v1* v1, TID3v2* v2);

// Composes the new start of a file from the file opened for the save: head
// takes the place of the bytes before keepFrom.
using HeadComposer = std::function<FileResult(TagFileReader& file, std::string& head, std::int64_t& keepFrom)>;
// Replaces the start of the file the same way; every byte from keepFrom on is
// kept. Nothing is written when compose fails.
FileResult ReplaceFileHead(const std::string& fileName, const HeadComposer& compose);

}  // namespace tandrel
