// Names on disk that are not valid UTF-8 (bytes from old disks and archives).
// The listing shows such a name with kUnmappableChar and every operation of
// files.h refuses it; only the repair of legacy names works with their bytes,
// through these functions. A raw name is the entry's bytes as on disk; a raw
// path is a whole path as bytes on disk.
#pragma once

#include <string>
#include <vector>

#include "platform/result.h"

namespace tandrel {

struct RawEntry {
    std::string bytes;       // the name as on disk
    bool directory = false;  // a directory, not a link to one
};

// The raw path of a code-page-1251 path.
// A raw name as a message shows it: valid UTF-8 as it is, else the bytes
// above ASCII as \xNN.
std::string ShownRawName(const std::string& raw);
std::string RawPathOf(const std::string& path);
// The raw path of an entry of a directory given by its raw path.
std::string RawJoin(const std::string& rawDir, const std::string& rawName);

// Every entry of the directory at rawDir but "." and "..", in the file
// system's order. Links are listed as what they are, never as directories.
FileResult ListRawNames(const std::string& rawDir, std::vector<RawEntry>& entries);

// Renames the entry rawName of dir (code page 1251), a name that is not valid
// UTF-8, to newName (code page 1251); never replaces an existing entry.
FileResult MoveRawNameNoReplace(const std::string& dir, const std::string& rawName, const std::string& newName);
// Gives the entry name of dir back its bytes rawName, which must not be valid
// UTF-8 (the rename back of a repair); never replaces an existing entry.
FileResult MoveToRawNameNoReplace(const std::string& dir, const std::string& name, const std::string& rawName);

}  // namespace tandrel
