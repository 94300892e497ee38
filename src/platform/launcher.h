// Starting other programs: players, the desktop's programs for a file type.
// Programs start detached with an argument list, never through a shell, and
// are never waited for. Paths and arguments are code-page-1251 text; a path
// with a character outside the code page is refused. Tests put a recording
// launcher behind this interface.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts program with args; a failure says why (missing, not executable).
    virtual FileResult StartDetached(const std::string& program, const std::vector<std::string>& args) = 0;
    // The program's full name: a name without a directory is looked up on the
    // PATH, a path must name an existing file; "" when there is none.
    virtual std::string FindProgram(const std::string& name) = 0;
    // Opens a file or an address with the program the desktop associates with its type.
    virtual FileResult OpenDocument(const std::string& path) = 0;
    // The desktop entry registered as default for a MIME type ("vlc.desktop"),
    // "" when none is registered.
    virtual std::string DefaultApplicationFor(const std::string& mimeType) = 0;
};

// The desktop's launcher: QProcess for programs; a local file opens with the
// desktop entry registered for its type (xdg-mime), an address with xdg-open.
std::unique_ptr<Launcher> MakeDesktopLauncher();

// The program and arguments of a desktop entry's Exec value for one file:
// quoted arguments unquoted, %f %F %u %U replaced by the file (appended when
// the value has none of them), %% a percent sign, other field codes dropped.
// Empty when the value has no program or an unclosed quote.
std::vector<std::string> DesktopExecArguments(const std::string& exec, const std::string& file);

}  // namespace tandrel
