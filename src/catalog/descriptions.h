// Description files: one per directory of a tree, listing the names (without
// extension) of the directory's files that the mask admits, sorted, and
// numbered when asked. The description of a directory lies beside it, named
// after it with ".txt"; with a separate directory for writing W, the scanned
// directory S is described as W would be and each S/x as W/x. A drive root
// (the file system root or a mount point of the drive list) keeps its
// description inside itself, named after its last component ("root" for "/").
//
// The translit run renames the files of every directory to transliteration
// and corrects the directory's description to match: each line keeps the text
// it had, and the lines follow the order of the new names.
//
// Files are written whole as code-page-1251 text with CR LF. A directory that
// cannot be listed, created or written is reported once and the walk goes on.
#pragma once

#include <string>
#include <vector>

#include "app/prompts.h"
#include "catalog/dirtree.h"
#include "rename/renameengine.h"

namespace tandrel {

struct DescriptionOptions {
    bool addingNumber = false;       // AddingNumber: number + split + name
    int numberFormat = 2;            // NumberFormat: digits of the number
    std::string numberSplit = "_";   // NumberSplit
    std::vector<std::string> driveRoots{"/"};
};

// Where the description of scanDir written as writeDir lies.
std::string DescriptionPath(const std::string& scanDir, const std::string& writeDir,
                            const std::vector<std::string>& driveRoots);

// The description lines of one directory's names (without extension).
std::vector<std::string> DescriptionLines(std::vector<std::string> names, const DescriptionOptions& options);

// A description for scanDir and each directory below it that holds a file the
// single-extension filter of mask admits. When the user stops the walk (the
// prompter is asked between two entries), the descriptions written are kept
// and the directories whose listing was cut short get none.
CatalogStats MakeDescriptions(const std::string& scanDir, const std::string& writeDir, const std::string& mask,
                              const DescriptionOptions& options, Prompter& prompter);

// What the translit run did: the renames (failures of descriptions included)
// and the descriptions written.
struct CorrectionStats {
    RenameStats renames;
    std::vector<std::string> written;
};

// Renames every admitted file below scanDir to transliteration (RenameMode,
// MakeLowercaseExt and the log of options) and corrects each directory's
// existing description.
// The same as a plan (the renames of the whole tree) and its execution.
RenamePlan PlanTranslitRun(const std::string& scanDir, const std::string& mask, const RenameOptions& options,
                           WalkProgress* progress = nullptr);
CorrectionStats ExecuteTranslitRun(const RenamePlan& plan, const std::string& writeDir, const RenameOptions& options,
                                   const std::vector<std::string>& driveRoots, Prompter& prompter);
CorrectionStats TranslitAndCorrectDescriptions(const std::string& scanDir, const std::string& writeDir,
                                               const std::string& mask, const RenameOptions& options,
                                               const std::vector<std::string>& driveRoots, Prompter& prompter);

}  // namespace tandrel
