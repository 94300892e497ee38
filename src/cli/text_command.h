// `tandrel-cli text FUNCTION ARG...`: runs one text operation by its name on
// UTF-8 arguments and prints its result in UTF-8.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// args[0] is the operation's name, the rest its arguments in their documented
// order (list arguments start empty and are not given). Prints the result
// followed by a line end: a list one item a line, a truth value as "true" or
// "false", a number in decimal. The arguments are taken as they stand ("--"
// and "--x" included); "--help" in the place of the name or of the first
// argument prints the usage. Returns 0; 1 when the operation failed; 2 with
// the message and the usage on err when the name, the argument count or an
// argument is not acceptable.
int RunTextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
