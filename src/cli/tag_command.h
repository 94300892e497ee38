// `tandrel-cli tag`: the ID3 tags of files.
//
//   tag show FILE
//     key=value lines: v1.exists, v1.version (1.0 or 1.1), v1.title,
//     v1.artist, v1.album, v1.year, v1.comment, v1.track, v1.genre (the
//     number), then v2.exists, v2.version (2.N), v2.size, v2.title, v2.artist,
//     v2.album, v2.year, v2.comment, v2.track, v2.genre (the text). Texts are
//     UTF-8; a control character inside a value is written as \xNN.
//   tag update FILE... [--tags 1|2|both] [--title T] [--artist A] [--album L]
//                      [--year Y] [--comment C] [--track N] [--genre G]
//                      [--unicode|--no-unicode]
//     changes the given fields of the ID3v1 and/or ID3v2 tag of each file
//     (both by default; every file is written in one replacement); for ID3v1
//     the genre is a name of the genre list or its number. Fields not given
//     keep their frames as they are; ID3v2 frames a version 2.3 tag cannot
//     hold are named on stderr. A file that fails gives one line on stderr
//     and the others are still written. --unicode (the setting "Write ID3v2
//     text as Unicode" when not given) writes a changed ID3v2 field whose
//     text is not plain ASCII as UTF-16.
//   tag from-name FILE... [--dry-run]    (tag_name_command.h)
//   tag repair FILE...|DIR... [--recursive] [--mask M] [--dry-run]    (tag_repair_command.h)
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// Returns 0; 1 after a failed read or save (the message is on err); 2 for a
// call that is not acceptable.
int RunTagCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
