// tandrel-cli: the module operations from a terminal. Arguments and output are
// UTF-8; errors go to err with a non-zero result.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// args are the command line without the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
