// Running a terminal command in a test: its exit code and both streams; a
// fixture whose settings file lives in its temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/settings_file.h"
#include "support/tempdir.h"

namespace tandrel::test {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

template <class Command>
CliRun RunCommand(Command command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = command(args, out, err);
    return {code, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1); }
    // Writes the settings key with the given value lines (REGEDIT4 syntax).
    void WriteRegistry(const std::string& values) {
        tmp.Write("config/Tandrel/registry.reg", SettingsFileText(values));
    }
    TempDir tmp;
};

}  // namespace tandrel::test
