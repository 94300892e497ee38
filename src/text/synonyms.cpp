#include "text/synonyms.h"

#include <fstream>
#include <iterator>

#include "text/cp1251.h"
#include "text/transforms.h"

namespace tandrel {

std::string FindSynonyms(const std::string& word, const std::string& path) {
    // An empty word would be found in every line; a path holding a character
    // that was not representable names no file reliably.
    if (word.empty() || path.find(kUnmappableChar) != std::string::npos) return {};
    std::ifstream in(Cp1251ToUtf8(path), std::ios::binary);
    if (!in) return {};
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

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
