// tandrel-cli search-listing QUERY LISTING [--map SOURCE TARGET | --no-map]:
// the window's local-file search. The hits are printed one a line in UTF-8,
// each group of a directory under its header and the groups separated by an
// empty line. --map turns path mapping on with the given prefixes; without
// it the mapping settings of the registry apply, --no-map turns it off.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

int RunSearchListingCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
