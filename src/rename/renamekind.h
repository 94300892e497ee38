// The name transforms the rename engine offers, one byte each.
#pragma once

#include <cstdint>

namespace tandrel {

enum RenameKind : std::uint8_t {
    rkTranslit = 0,        // ToTranslit
    rkLowerCase = 1,       // ToLowerCase
    rkUpperCase = 2,       // ToUpperCase
    rkUpLoCase = 3,        // UpFirstLettersOfWords
    rkArtistAndTitle = 4,  // UpFirstLettersOfArtistAndTitle with the artist mode
    rkFirstLetter = 5,     // UpFirstLetter
    rkSubStr = 6,          // ReplaceSubStr of the old substring by the new one
};
inline constexpr int kRenameKindCount = 7;

}  // namespace tandrel
