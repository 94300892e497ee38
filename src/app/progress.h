// The progress line of long operations and the counts it is made of, in
// English and Russian (language 1; any other value is English). Texts are
// code-page-1251.
//
//   walks:          "12 directories, 3,456 files: /path/being/examined"
//   known totals:   "3 of 27 files (11%): /path"
//   with bytes:     "3 of 27 files, 120 of 800 MB (15%): /path"
#pragma once

#include <cstdint>
#include <string>

#include "app/prompts.h"

namespace tandrel {

// n with its digits grouped by three: "3,456" in English, "3 456" in Russian.
std::string GroupDigits(std::int64_t n, int language);
// n and the noun in the form the number asks for: "1 file", "5 files";
// "1 файл", "3 файла", "11 файлов".
std::string FileCount(std::int64_t n, int language);
std::string DirectoryCount(std::int64_t n, int language);
// "3 of 27 files" / "3 из 27 файлов".
std::string DoneOfText(std::int64_t done, std::int64_t total, int language);
// The share done in whole percent (bytes when known, else files of the
// total); -1 when no total is known.
int ProgressPercent(const ProgressInfo& progress);
std::string ProgressText(const ProgressInfo& progress, int language);

}  // namespace tandrel
