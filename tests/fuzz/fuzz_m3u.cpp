// libFuzzer target for playlist lines: the input is a playlist file's bytes
// (its first byte also says whether the file is an ".m3u8"). Decoding, the
// line rules, the names of each entry and the matching of names against each
// other must not crash and must keep what they promise.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalog/m3u.h"
#include "catalog/m3ufind.h"
#include "text/needleset.h"
#include "text/transforms.h"

using namespace tandrel;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool HasSeparator(const std::string& s) { return s.find_first_of("\\/") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool m3u8 = size > 0 && (data[0] & 1) != 0;
    const std::vector<std::string> lines = PlaylistLinesFromBytes(bytes, m3u8);

    std::size_t extInf = 0, entries = 0;
    NeedleSet needles;
    std::vector<std::string> lowered;
    std::vector<std::string> distinct;  // the needles by id: ids follow the order of first addition
    for (const std::string& line : lines) {
        Check(line.find_first_of("\r\n") == std::string::npos);
        extInf += IsExtInfLine(line);
        if (!IsPlaylistEntry(line)) continue;
        ++entries;
        const std::string fileName = EntryFileName(line);
        const std::string bareName = EntryBareName(line);
        Check(line.size() >= fileName.size() && line.compare(line.size() - fileName.size(), fileName.size(), fileName) == 0);
        Check(!HasSeparator(fileName) && !HasSeparator(bareName));
        Check(line.find(bareName) != std::string::npos);
        Check(bareName.empty() || line.find('.') != std::string::npos);
        for (bool anyMask : {false, true}) {
            M3UFindOptions o;
            o.anyMask = anyMask;
            const EntryQuery query = FindQueryFor(line, o);
            Check(query.name == fileName);
            FindMaskAdmits(query.mask, fileName);
        }
        Check(NameAndDirectoryLine(line).find(" \t[") != std::string::npos);
        lowered.push_back(ToLowerCase(line));
        if (needles.Add(lowered.back()) == static_cast<int>(distinct.size())) distinct.push_back(lowered.back());
    }
    Check(PlaylistTitles(lines).size() == extInf);
    Check(PlaylistBareNames(lines).size() == entries);

    // Every entry against every other one: the needle set finds exactly what a plain search finds.
    needles.Build();
    std::vector<int> found;
    for (const std::string& text : lowered) {
        needles.Find(text, found);
        std::vector<bool> hit(distinct.size(), false);
        for (const int id : found) {
            Check(id >= 0 && static_cast<std::size_t>(id) < distinct.size() && !hit[static_cast<std::size_t>(id)]);
            hit[static_cast<std::size_t>(id)] = true;
        }
        for (std::size_t id = 0; id < distinct.size(); ++id)
            Check(hit[id] == (text.find(distinct[id]) != std::string::npos));
    }
    return 0;
}
