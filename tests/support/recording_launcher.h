// A launcher that records what would start instead of starting it.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/launcher.h"

namespace tandrel::test {

class RecordingLauncher : public Launcher {
public:
    struct Started {
        std::string program;
        std::vector<std::string> args;
        bool operator==(const Started&) const = default;
    };
    std::vector<Started> started;      // StartDetached calls
    std::vector<std::string> opened;   // OpenDocument calls
    std::string defaultApplication;    // what DefaultApplicationFor answers
    bool failStarts = false;           // StartDetached and OpenDocument fail

    FileResult StartDetached(const std::string& program, const std::vector<std::string>& args) override {
        if (failStarts) return FileResult::Failure(program + ": cannot start");
        started.push_back({program, args});
        return FileResult::Success();
    }
    std::string FindProgram(const std::string& name) override {
        return name.find('/') != std::string::npos && FileExists(name) ? name : std::string{};
    }
    FileResult OpenDocument(const std::string& path) override {
        if (failStarts) return FileResult::Failure(path + ": no program opens it");
        opened.push_back(path);
        return FileResult::Success();
    }
    std::string DefaultApplicationFor(const std::string&) override { return defaultApplication; }
};

}  // namespace tandrel::test
