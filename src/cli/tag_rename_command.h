// `tandrel-cli tag rename`: files renamed after their ID3 tags, as the file
// list's "ID3" button does it.
//
//   tag rename FILE... [--pattern P] [--tags both|1|2] [--width N] [--split S]
//                      [--sources DIGITS] [--dry-run]
//     The name pattern (letters N track, A artist, T title, L album, Y year,
//     any other character as itself), the tags read, the track width, the
//     split between the pieces and each field's source come from the settings
//     registry (the window's "From ID3 Rename Options"); each option replaces
//     its value. --sources is five digits for N, A, T, L and Y in this order:
//     1 ID3v1, 2 ID3v2, 0 not used ("11220"). RenameMode and MakeLowercaseExt
//     apply as in the window. Every file renamed (or, with --dry-run, to be
//     renamed) is a line "FILE -> NEW" on stdout. A file whose new name is
//     taken keeps its name; so does a file whose name would hold a "?" for a
//     tag character outside code page 1251. Each failure is one line on stderr.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

extern const std::string_view kTagRenameUsage;

int RunTagRenameCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
