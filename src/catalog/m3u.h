// M3U playlists as the playlist tools read them: which lines are titles and
// entries, the names an entry gives, and the commands that turn a playlist
// into its titles or its bare file names, and a file list into media names.
// Texts are code-page-1251. An entry written on Windows separates directories
// with "\" ("D:\Music\x.mp3"), one written here with "/": both delimit the
// file name, and a drive prefix is only text before it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace tandrel {

// A line with extended information: "#EXTINF" anywhere in it (case-sensitive),
// in the form "#EXTINF:seconds,title".
bool IsExtInfLine(const std::string& line);
// A file entry: a line that is not empty and does not begin with "#". An empty
// line names no file and is no entry.
bool IsPlaylistEntry(const std::string& line);
bool HasPlaylistEntries(const std::vector<std::string>& lines);

// The title of an #EXTINF line: the text after its first comma, "" without one.
std::string ExtInfTitle(const std::string& line);
// The entry after its last "\" or "/" (all of it without either), extension included.
std::string EntryFileName(const std::string& entry);
// The text between the entry's last "." and the nearest "\" or "/" before it;
// "" for an entry without a ".".
std::string EntryBareName(const std::string& entry);

// "Get info-names from M3U": the title of every #EXTINF line, in order.
std::vector<std::string> PlaylistTitles(const std::vector<std::string>& lines);
// "Get mp3-names from M3U": the bare name of every entry, in order.
std::vector<std::string> PlaylistBareNames(const std::vector<std::string>& lines);
// "Get mp3(avi,mpg)-names from Directory": every name without its extension
// ("" for a name without a "."), in list order.
std::vector<std::string> MediaNames(const std::vector<std::string>& fileNames);
// The file the bare names are saved to: the output name up to the first "."
// of its file part, + ".txt" ("rock.m3u" and "my.list.m3u" give "rock.txt"
// and "my.txt"); a directory before the file part is kept as it is.
std::string BareNamesFileName(const std::string& outputName);

// A playlist's lines from its bytes, decoded by the file's encoding: a UTF-8
// or UTF-16 byte-order mark, else UTF-8 when utf8ByName (an ".m3u8" file) or
// when the bytes are valid UTF-8 with a non-ASCII byte, else code page 1251.
// Lines end at CR, LF or CR LF.
std::vector<std::string> PlaylistLinesFromBytes(std::string_view bytes, bool utf8ByName);
// Reads a playlist file (a regular file only) as PlaylistLinesFromBytes does.
FileResult ReadPlaylist(const std::string& path, std::vector<std::string>& lines);

}  // namespace tandrel
