#include "app/masklist.h"

#include "platform/files.h"
#include "platform/textfile.h"

namespace tandrel {

std::vector<std::string> BuiltInMaskList() {
    return {"*.txt",
            "*.m3u",
            "*.mp3",
            "*.wav",
            "*.mp3;*.wav",
            "*.mp3;*.mp2;*.mp1;*.wav",
            "*.avi",
            "*.mpg;*.mpe",
            "*.mpg;*.mpe;*.wmv;*.avi;*.div;*.xvid;*.mp4",
            "*.*"};
}

FileResult LoadMaskList(const std::string& file, std::vector<std::string>& masks) {
    if (!FileExists(file)) return FileResult::Success();
    std::vector<std::string> lines;
    if (FileResult r = ReadTextLines(file, lines); !r) return r;
    std::vector<std::string> entries;
    for (std::string& line : lines) {
        if (line.find_first_not_of(" \t") != std::string::npos) entries.push_back(std::move(line));
    }
    // An empty mask box would leave the file list without any mask to apply.
    if (!entries.empty()) masks = std::move(entries);
    return FileResult::Success();
}

FileResult SaveMaskList(const std::string& file, const std::vector<std::string>& masks) {
    return WriteTextLines(file, masks);
}

}  // namespace tandrel
