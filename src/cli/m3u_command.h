// tandrel-cli commands of the playlist tools:
//   m3u titles FILE    the titles of the #EXTINF lines
//   m3u names FILE     the bare file names of the entries
//   m3u find FILE [--all|--no-all] [--drives LIST] [--add-file-name|--no-add-file-name]
//                      the playlist with each entry replaced by the file(s) found
//   m3u media DIR [--mask M]   the names without extension of DIR's media files
// They run the operations of the window's "Get info-names", "Get mp3-names",
// "Find mp3-names from M3U" and "Get mp3(avi,mpg)-names from Directory" and
// print the result lines in UTF-8. `find` searches the drive list LIST (roots
// separated by commas) or else the playlist's directory; options not given
// come from the settings registry (M3USearchAll, AnyMask, the search mask
// when "Use Mask:" is in use, the drive list when "Find on Drives" is,
// AddFileNameMode). The result is 1 when the playlist, DIR or a directory of
// the walk cannot be read (one line each on err), 2 for an unacceptable
// command line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// args are the command's arguments, without the command's name.
int RunM3UCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tandrel
