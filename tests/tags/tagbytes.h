// Pieces of tag bytes for the tag tests, so that each test can state its tag
// one field a line, and the audio that the tags are put on.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace tandrel::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

inline std::string Be32(std::uint32_t n) { return Bytes({int(n >> 24), int(n >> 16 & 255), int(n >> 8 & 255), int(n & 255)}); }
inline std::string Be24(std::uint32_t n) { return Bytes({int(n >> 16 & 255), int(n >> 8 & 255), int(n & 255)}); }
inline std::string Syncsafe(std::uint32_t n) {
    return Bytes({int(n >> 21 & 127), int(n >> 14 & 127), int(n >> 7 & 127), int(n & 127)});
}
inline std::string Zeros(std::size_t n) { return std::string(n, '\0'); }

// MPEG audio frames: a file of this many bytes is large enough to be shown (512 or more).
inline std::string Audio(std::size_t n = 600) {
    std::string s = "\xFF\xFB\x90\x64";
    for (std::size_t i = s.size(); i < n; ++i) s += static_cast<char>(i * 7 % 251);
    return s;
}

inline bool OwnerCanWrite(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) != 0;
}

}  // namespace tandrel::test
