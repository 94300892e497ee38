// The lines of a text being edited, with undo and redo. It starts from a
// LineList without copying its text: the document is a list of pieces, each a
// run of the original lines or of lines added by edits, so an edit costs the
// lines it changes and a document of millions of lines opens at once. Every
// edit is one primitive, Replace (a range of lines by new lines), and the
// history holds pieces, not text.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/textlines.h"

namespace tandrel {

// A place in the text: a line and a byte (character) in it.
struct LinePlace {
    std::size_t line = 0;
    std::size_t column = 0;
    friend bool operator==(const LinePlace&, const LinePlace&) = default;
    friend auto operator<=>(const LinePlace&, const LinePlace&) = default;
};

class EditLines {
public:
    // One empty line.
    EditLines();
    // The lines of the list; an empty list is one empty line, as an empty text is.
    explicit EditLines(LineList lines);

    // Never 0.
    std::size_t size() const { return size_; }
    // Valid until the next edit.
    std::string_view line(std::size_t i) const;

    // Replaces lines [from, from + count) by lines; `before` and `after` are the
    // caret places Undo and Redo hand back. Consecutive edits of the same
    // nonzero group that each replace exactly the lines the previous one put in
    // are undone as one. An edit that would leave no line leaves one empty line.
    void Replace(std::size_t from, std::size_t count, const std::vector<std::string>& lines, LinePlace before = {},
                 LinePlace after = {}, std::uint64_t group = 0);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < history_.size(); }
    // The caret place from before the edit undone (after the one redone).
    std::optional<LinePlace> Undo();
    std::optional<LinePlace> Redo();
    // True when every edit is undone (or none was made).
    bool Unedited() const { return done_ == 0; }

    // The lines as a list: the original one, whole, while unedited, so that
    // a document saved unchanged keeps every line; else one built in one pass
    // and kept until the next edit, a final empty line left out, as a text's
    // final line end adds no line.
    LineList Lines() const;
    // True when lines is the list this document started from and it is
    // unedited, or the list Lines() last built and no edit came since.
    bool Holds(const LineList& lines) const;

    // Offsets in the text with '\n' between lines.
    std::uint64_t OffsetOf(LinePlace place) const;
    LinePlace PlaceAt(std::uint64_t offset) const;

private:
    enum class Source : std::uint8_t { Original, Added };
    struct Piece {
        Source source;
        std::uint32_t start;
        std::uint32_t count;
    };
    struct Edit {
        std::size_t at;
        std::vector<Piece> removed;
        std::vector<Piece> inserted;
        LinePlace before, after;
        std::uint64_t group;
    };

    std::string_view SourceLine(Source source, std::size_t i) const;
    // Splits the piece holding line pos so that a piece starts there; the index of that piece.
    std::size_t SplitAt(std::size_t pos);
    std::vector<Piece> PiecesOf(std::size_t from, std::size_t count);
    void ReplacePieces(std::size_t from, std::size_t count, const std::vector<Piece>& pieces);
    static std::size_t CountOf(const std::vector<Piece>& pieces);
    void Reindex();

    LineList original_;
    std::string addedBytes_;
    std::vector<std::uint64_t> addedStarts_{0};
    std::vector<Piece> pieces_;
    std::vector<std::size_t> firsts_;  // the first line of each piece
    std::size_t size_ = 0;
    std::vector<Edit> history_;
    std::size_t done_ = 0;  // edits of history_ in effect
    mutable std::optional<LineList> built_;
};

// The next occurrence of needle at or after from, compared as FindStep does
// (through ToLowerCase unless matchCase); the places of its start and end.
// A needle of several lines may span lines.
std::optional<std::pair<LinePlace, LinePlace>> FindInLines(const EditLines& lines, std::string_view needle,
                                                           bool matchCase, LinePlace from);

}  // namespace tandrel
