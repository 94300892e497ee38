// The file each fuzz input is written to: one per process in the temporary
// folder, removed when the run ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tandrel::fuzz {

class InputFolder {
public:
    explicit InputFolder(const std::string& name)
        : path_((std::filesystem::temp_directory_path() / ("tandrel-" + name + "-" + std::to_string(::getpid())))
                    .string()) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~InputFolder() { std::filesystem::remove_all(path_); }
    InputFolder(const InputFolder&) = delete;
    InputFolder& operator=(const InputFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

}  // namespace tandrel::fuzz
