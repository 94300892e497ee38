#include "text/synonyms.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "text/cp1251.h"
#include "text/encoding.h"
#include "text/transforms.h"

namespace tandrel {

namespace {

// The whole file, when it is a regular file that can be read; a pipe or
// device is refused at once instead of blocking the search.
bool ReadRegularFile(const std::string& utf8Path, std::string& content) {
    const int fd = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return ok;
}

}  // namespace

std::string FindSynonyms(const std::string& word, const std::string& path) {
    // An empty word would be found in every line; a path holding a character
    // that was not representable names no file reliably.
    if (word.empty() || path.find(kUnmappableChar) != std::string::npos) return {};
    std::string content;
    if (!ReadRegularFile(Cp1251ToUtf8(path), content)) return {};
    content = TextToCp1251(content);

    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        const std::string_view line(content.data() + start, end - start);
        const size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            const std::string value(line.substr(eq + 1));
            if (SynonymsHold(value, word)) return value;
        }
        // CR LF ends one line, not two.
        start = end + 1;
        if (end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n') ++start;
    }
    return {};
}

bool SynonymsHold(const std::string& value, const std::string& word) {
    return !word.empty() && ToLowerCase(value).find(ToLowerCase(word)) != std::string::npos;
}

}  // namespace tandrel
