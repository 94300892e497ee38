#include "tags/tagsave.h"

#include <algorithm>
#include <string_view>

#include "platform/files.h"
#include "platform/posix_file.h"
#include "tags/tagfile.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

FileResult WriteFailure(const std::string& fileName, const std::string& why) {
    return FileResult::Failure("Cannot write \"" + Cp1251ToUtf8(fileName) + "\": " + why);
}

// Refuses what no tag save may write to and opens the file.
FileResult OpenForSave(const std::string& fileName, TagFileReader& file) {
    if (PathIsUnmappable(fileName)) return WriteFailure(fileName, "the name holds a character outside code page 1251");
    if (!FileExists(fileName)) return WriteFailure(fileName, "the file does not exist");
    if (TagFileSize(fileName) < 0) return WriteFailure(fileName, "it is not a regular file");
    if (FileResult r = SetAttributesNormal(fileName); !r) return r;
    return file.Open(fileName);
}

// head, the file's bytes from .. to, then tail, into a temporary file renamed
// over the file. The kept bytes are copied by the kernel, so memory does not
// grow with the file.
FileResult Rewrite(const std::string& fileName, TagFileReader& file, std::string_view head, std::int64_t from,
                   std::int64_t to, std::string_view tail) {
    detail::AtomicFileWriter writer;
    if (FileResult r = writer.Begin(Cp1251ToUtf8(fileName)); !r) return r;
    if (FileResult r = writer.Write(head.data(), head.size()); !r) return r;
    if (to > from)
        if (FileResult r = writer.CopyFrom(file.Fd(), from, to - from, file.Name()); !r) return r;
    if (FileResult r = writer.Write(tail.data(), tail.size()); !r) return r;
    return writer.Commit();
}

}  // namespace

FileResult ReplaceFileHead(const std::string& fileName, const HeadComposer& compose) {
    TagFileReader file;
    if (FileResult r = OpenForSave(fileName, file); !r) return r;
    std::string head;
    std::int64_t keepFrom = 0;
    if (FileResult r = compose(file, head, keepFrom); !r) return r;
    if (keepFrom < 0 || keepFrom > file.Size()) return WriteFailure(fileName, "the kept bytes lie outside the file");
    return Rewrite(fileName, file, head, keepFrom, file.Size(), {});
}

FileResult SaveTagsToFile(const std::string& fileName, const TID3v1* v1, TID3v2* v2) {
    auto fail = [&](const std::string& why) { return WriteFailure(fileName, why); };
    TagFileReader file;
    if (FileResult r = OpenForSave(fileName, file); !r) return r;
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
    return Rewrite(fileName, file, head, from, to, tail);
}

}  // namespace tandrel
