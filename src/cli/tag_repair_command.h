// `tandrel-cli tag repair FILE...|DIR... [--recursive] [--mask M] [--dry-run]`:
// the ID3v2 frames whose text other players show as mojibake (Cyrillic code
// page 1251 or UTF-8 bytes marked ISO-8859-1), one line each on stdout with
// the old and the new text, rewritten as UTF-16 unless --dry-run. A
// directory takes the files the mask admits ("*.mp3" when none is given).
// Each file that could not be read or written gives one line on stderr and
// exit code 1; the others are repaired.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

extern const std::string_view kTagRepairUsage;

// args are the subcommand's arguments, without "repair".
int RunTagRepairCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
