// One fuzz input through both tag readers and the save that follows a read:
// the bytes are the whole file. Nothing may crash or hang, and a tag saved
// from what was read must read back with the same title, artist, album and track.
// The tag repair of the same bytes succeeds and leaves nothing to repair.
#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "tags/id3v1.h"
#include "tags/id3v2.h"
#include "tags/tagrepair.h"
#include "tags/tagtext.h"

namespace tandrel::test {

// "" when the input behaved, else what went wrong.
inline std::string FeedTagReaders(const std::string& path, std::string_view data) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
    }
    {
        const std::string copy = path + ".repair";
        std::ofstream(copy, std::ios::binary | std::ios::trunc).write(data.data(), static_cast<std::streamsize>(data.size()));
        TagRepair repair, again;
        if (FileResult r = RepairTag(copy, repair); !r) return "repair: " + r.error;
        if (!RepairTag(copy, again).ok || !again.frames.empty()) return "a repaired tag needs repair again";
    }
    TID3v1 v1;
    const bool v1Read = v1.ReadFromFile(path);
    if (v1Read != (data.size() >= 128)) return "ID3v1 read result";
    TID3v2 v2;
    if (v2.ReadFromFile(path) != (data.size() >= 10)) return "ID3v2 read result";
    if (data.size() < 10) return {};

    std::string saved;
    if (!v2.ComposeFile(data, saved)) return "compose: " + v2.LastError();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(saved.data(), static_cast<std::streamsize>(saved.size()));
    }
    TID3v2 again;
    if (!again.ReadFromFile(path) || !again.Exists() || again.VersionID() != 3) return "saved tag unreadable";
    // A file whose last 128 bytes begin with "TAG" inside the ID3v2 tag reads
    // as a tag running into an ID3v1 record: the save may shorten the tag so
    // that such bytes come to lie there. Nothing is lost; it only reads
    // differently, so the comparison below does not apply.
    const std::int64_t savedSize = static_cast<std::int64_t>(saved.size());
    if (savedSize >= 128 && saved.compare(saved.size() - 128, 3, "TAG") == 0 && again.Damaged()) return {};
    // A frame is read through a 250-byte window. A frame of a 2.4 tag in
    // UTF-8 is saved in UTF-16, which fits fewer characters into the window;
    // texts of up to 120 characters fit either way, but characters the field
    // trims off its ends take room in the window too, so a text of over 100
    // may read back cut at the end.
    auto same = [](const std::string& before, const std::string& after) {
        return before.size() > 120 || before == after || (before.size() > 100 && before.starts_with(after));
    };
    if (!same(v2.Title(), again.Title()) || !same(v2.Artist(), again.Artist()) ||
        !same(v2.Album(), again.Album()) || again.Track() != v2.Track())
        return "saved tag reads differently";
    return {};
}

}  // namespace tandrel::test
