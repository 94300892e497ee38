// Renames that change the structure of names rather than their letters:
// lower-case extensions, running numbers (in playlist or alphabetical order,
// or by date under a common name), cutting leading characters, and changing
// one extension for another.
//
// Each is a plan first (Plan...), which the command then executes: the walk
// leaves the rename log file alone, failures go to the prompter's status
// text and the run goes on. No rename ever replaces an existing file.
#pragma once

#include <string>

#include "app/prompts.h"
#include "app/settings.h"
#include "rename/renameengine.h"

namespace tandrel {

struct NumberingOptions {
    bool addingNumber = false;     // put a number into the new names
    bool endingNumber = false;     // by date: the number after the name
    int numberFormat = 2;          // minimum digit count (1-10)
    std::string numberSplit = "_"; // between number and name; alone when no number is added
    bool useM3u = false;           // add numbering in the order of the directory's playlist
    bool recursive = false;
};

NumberingOptions NumberingOptionsFrom(const TAppSettings& settings);

// Each extension that is not lower case (the text after the last full stop)
// becomes lower case. No log.
RenamePlan PlanLowerCaseExtensions(const std::string& dir, const std::string& mask, bool recursive,
                                   WalkProgress* progress = nullptr);
RenameStats LowerCaseExtensions(const std::string& dir, const std::string& mask, bool recursive, Prompter& prompter);

// Per directory: the admitted names are ordered (by the first "*.m3u" file of
// the directory when useM3u is on, alphabetically otherwise) and the i-th gets
// IntToStrZero(i, numberFormat) + numberSplit in front, or numberSplit alone
// when addingNumber is off. No log.
RenamePlan PlanAddNumbering(const std::string& dir, const std::string& mask, const NumberingOptions& options,
                            WalkProgress* progress = nullptr);
RenameStats AddNumbering(const std::string& dir, const std::string& mask, const NumberingOptions& options,
                         Prompter& prompter);

// Per directory: each admitted name loses its first count characters; the
// renames go to the "[deleted]" log when writeRenameInfo is on.
RenamePlan PlanDeleteFirstSymbols(const std::string& dir, const std::string& mask, int count, bool recursive,
                                  bool writeRenameInfo, WalkProgress* progress = nullptr);
RenameStats DeleteFirstSymbols(const std::string& dir, const std::string& mask, int count, bool recursive,
                               bool writeRenameInfo, Prompter& prompter);

// Per directory: the admitted files, oldest first (equal times by name), are
// numbered from startNumber under startName (or the text of each name before
// its first full stop when startName is empty), with a lower-case extension.
// With addingNumber off each name just gets numberSplit appended. No log.
RenamePlan PlanSortByDateAndNumber(const std::string& dir, const std::string& mask, const NumberingOptions& options,
                                   const std::string& startName, long long startNumber,
                                   WalkProgress* progress = nullptr);
RenameStats SortByDateAndNumber(const std::string& dir, const std::string& mask, const NumberingOptions& options,
                                const std::string& startName, long long startNumber, Prompter& prompter);

// Files whose extension the source mask names ("*.txt", "*" for all, "*." for
// none) get the target mask's extension ("*.cd"), or lose theirs when the
// target mask has no full stop. An existing target is refused. No log.
RenamePlan PlanChangeExtensions(const std::string& dir, const std::string& sourceMask, const std::string& targetMask,
                                bool recursive, WalkProgress* progress = nullptr);
RenameStats ChangeExtensions(const std::string& dir, const std::string& sourceMask, const std::string& targetMask,
                             bool recursive, Prompter& prompter);

}  // namespace tandrel
