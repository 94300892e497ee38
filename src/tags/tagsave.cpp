#include "tags/tagsave.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/posix_file.h"
#include "tags/tagfile.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

constexpr std::int64_t kCopyChunk = 1 << 20;

}  // namespace

FileResult SaveTagsToFile(const std::string& fileName, const TID3v1* v1, TID3v2* v2) {
    const std::string native = Cp1251ToUtf8(fileName);
    auto fail = [&](const std::string& why) { return FileResult::Failure("Cannot write \"" + native + "\": " + why); };
    if (PathIsUnmappable(fileName)) return fail("the name holds a character outside code page 1251");
    if (!FileExists(fileName)) return fail("the file does not exist");
    if (TagFileSize(fileName) < 0) return fail("it is not a regular file");
    if (FileResult r = SetAttributesNormal(fileName); !r) return r;

    TagFileReader file;
    if (FileResult r = file.Open(fileName); !r) return r;
    const std::int64_t size = file.Size();
    std::string head;      // what goes in front of the kept bytes
    std::int64_t from = 0;  // the kept bytes: from .. to
    std::int64_t to = size;
    std::string tail;
    if (v1) {
        const auto record = static_cast<std::int64_t>(TID3v1::kTagSize);
        if (size < record) return fail("it is shorter than 128 bytes");
        char last[3];
        if (!file.ReadAt(size - record, last, sizeof last)) return file.ReadFailure();
        if (std::string_view(last, 3) == "TAG") to = size - record;
        tail = v1->Record();
    }
    if (v2 && !v2->ComposeTag(file, head, from)) return fail(v2->LastError());
    to = std::max(to, from);

    detail::AtomicFileWriter writer;
    if (FileResult r = writer.Begin(native); !r) return r;
    if (FileResult r = writer.Write(head.data(), head.size()); !r) return r;
    std::string chunk;
    for (std::int64_t pos = from; pos < to; pos += kCopyChunk) {
        chunk.resize(static_cast<std::size_t>(std::min(kCopyChunk, to - pos)));
        if (!file.ReadAt(pos, chunk.data(), chunk.size())) return file.ReadFailure();  // the writer removes its file
        if (FileResult r = writer.Write(chunk.data(), chunk.size()); !r) return r;
    }
    if (FileResult r = writer.Write(tail.data(), tail.size()); !r) return r;
    return writer.Commit();
}

}  // namespace tandrel
