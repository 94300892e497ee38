// The terminal command "copy": files named as the output lines name them
// (full names, bare names, "name TAB [dir]" lines) copied into a directory.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

int RunCopyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same with the lines of --from-lines read from in.
int RunCopyCommandFrom(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace tandrel
