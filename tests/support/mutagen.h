// The outside oracle for tags: python3-mutagen run on a file through
// tests/tags/mutagen_oracle.py, its KEY=VALUE lines as a map. The test target
// defines TANDREL_TAGS_TEST_DIR, the folder of the script.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace tandrel::test {

// The first Python that has mutagen, or "".
inline const std::string& MutagenPython() {
    static const std::string python = [] {
        for (const char* candidate : {"python3", "/usr/bin/python3"}) {
            const std::string probe = std::string(candidate) + " -c 'import mutagen' >/dev/null 2>&1";
            if (std::system(probe.c_str()) == 0) return std::string(candidate);
        }
        return std::string();
    }();
    return python;
}

inline std::map<std::string, std::string> MutagenOracle(const std::string& command, const std::string& path) {
    const std::string line =
        MutagenPython() + " '" TANDREL_TAGS_TEST_DIR "/mutagen_oracle.py' " + command + " '" + path + "' 2>&1";
    std::map<std::string, std::string> values;
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return values;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::string text = buffer;
        if (!text.empty() && text.back() == '\n') text.pop_back();
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos) values["output"] += text;  // an error report
        else values[text.substr(0, eq)] = text.substr(eq + 1);
    }
    EXPECT_EQ(pclose(pipe), 0) << values["output"];
    return values;
}

}  // namespace tandrel::test
