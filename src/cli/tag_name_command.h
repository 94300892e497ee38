// `tandrel-cli tag from-name FILE... [--dry-run] [--unicode|--no-unicode]`: the
// track, artist and title of each file's name, printed as "file=", "track=",
// "artist=" and "title=" lines (UTF-8), and written into both tags of the file
// unless --dry-run: album, year and comment empty, no genre, as the window's
// "FileName" does with the genre boxes on their empty entry; --unicode (the
// setting "Write ID3v2 text as Unicode" when not given) writes non-ASCII ID3v2
// text as UTF-16. Each file that could not be written gives one line on
// stderr and exit code 1; the others are written.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

extern const std::string_view kTagFromNameUsage;

// args are the subcommand's arguments, without "from-name".
int RunTagFromNameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
