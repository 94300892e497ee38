// The terminal commands "tree" and "describe": the directory tree file and
// the per-directory description files of a directory tree.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

int RunTreeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunDescribeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
