// Result of a file operation that can fail: success, or the reason it failed.
#pragma once

#include <string>

namespace tandrel {

struct [[nodiscard]] FileResult {
    bool ok = true;
    std::string error;  // UTF-8, for the status bar or a message box; empty on success

    explicit operator bool() const { return ok; }
    static FileResult Success() { return {}; }
    static FileResult Failure(std::string why) { return {false, std::move(why)}; }
};

}  // namespace tandrel
