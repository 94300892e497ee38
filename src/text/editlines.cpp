#include "text/editlines.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "text/transforms.h"

namespace tandrel {

EditLines::EditLines() : EditLines(LineList()) {}

EditLines::EditLines(LineList lines) : original_(std::move(lines)) {
    if (original_.empty()) {
        addedStarts_.push_back(0);  // one empty added line
        pieces_.push_back(Piece{Source::Added, 0, 1});
    } else {
        pieces_.push_back(Piece{Source::Original, 0, static_cast<std::uint32_t>(original_.size())});
    }
    Reindex();
}

std::string_view EditLines::SourceLine(Source source, std::size_t i) const {
    if (source == Source::Original) return original_[i];
    return std::string_view(addedBytes_).substr(addedStarts_[i], addedStarts_[i + 1] - addedStarts_[i]);
}

std::string_view EditLines::line(std::size_t i) const {
    const auto it = std::upper_bound(firsts_.begin(), firsts_.end(), i);
    const std::size_t p = static_cast<std::size_t>(it - firsts_.begin()) - 1;
    const Piece& piece = pieces_[p];
    return SourceLine(piece.source, piece.start + (i - firsts_[p]));
}

void EditLines::Reindex() {
    firsts_.resize(pieces_.size());
    std::size_t line = 0;
    for (std::size_t p = 0; p < pieces_.size(); ++p) {
        firsts_[p] = line;
        line += pieces_[p].count;
    }
    size_ = line;
}

std::size_t EditLines::SplitAt(std::size_t pos) {
    if (pos >= size_) return pieces_.size();
    const auto it = std::upper_bound(firsts_.begin(), firsts_.end(), pos);
    const std::size_t p = static_cast<std::size_t>(it - firsts_.begin()) - 1;
    if (firsts_[p] == pos) return p;
    const std::uint32_t head = static_cast<std::uint32_t>(pos - firsts_[p]);
    Piece tail = pieces_[p];
    tail.start += head;
    tail.count -= head;
    pieces_[p].count = head;
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(p) + 1, tail);
    firsts_.insert(firsts_.begin() + static_cast<std::ptrdiff_t>(p) + 1, pos);
    return p + 1;
}

std::vector<EditLines::Piece> EditLines::PiecesOf(std::size_t from, std::size_t count) {
    const std::size_t a = SplitAt(from);
    const std::size_t b = SplitAt(from + count);
    return std::vector<Piece>(pieces_.begin() + static_cast<std::ptrdiff_t>(a),
                              pieces_.begin() + static_cast<std::ptrdiff_t>(b));
}

std::size_t EditLines::CountOf(const std::vector<Piece>& pieces) {
    std::size_t n = 0;
    for (const Piece& p : pieces) n += p.count;
    return n;
}

void EditLines::ReplacePieces(std::size_t from, std::size_t count, const std::vector<Piece>& pieces) {
    const std::size_t a = SplitAt(from);
    const std::size_t b = SplitAt(from + count);
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(a), pieces_.begin() + static_cast<std::ptrdiff_t>(b));
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(a), pieces.begin(), pieces.end());
    // Runs that continue each other become one piece again, so that undoing
    // every edit gives back the single piece of an unedited document.
    std::vector<Piece> merged;
    merged.reserve(pieces_.size());
    for (const Piece& p : pieces_) {
        if (p.count == 0) continue;
        if (!merged.empty() && merged.back().source == p.source && merged.back().start + merged.back().count == p.start)
            merged.back().count += p.count;
        else
            merged.push_back(p);
    }
    pieces_ = std::move(merged);
    Reindex();
    built_.reset();
}

void EditLines::Replace(std::size_t from, std::size_t count, const std::vector<std::string>& lines, LinePlace before,
                        LinePlace after, std::uint64_t group) {
    from = std::min(from, size_);
    count = std::min(count, size_ - from);
    std::vector<Piece> inserted;
    const auto firstAdded = static_cast<std::uint32_t>(addedStarts_.size() - 1);
    for (const std::string& l : lines) {
        addedBytes_ += l;
        addedStarts_.push_back(addedBytes_.size());
    }
    std::size_t added = lines.size();
    if (added == 0 && count == size_) {  // a text has at least one line
        addedStarts_.push_back(addedBytes_.size());
        added = 1;
    }
    if (added) inserted.push_back(Piece{Source::Added, firstAdded, static_cast<std::uint32_t>(added)});

    history_.resize(done_);  // an edit after undos drops what could be redone
    if (group != 0 && !history_.empty()) {
        Edit& last = history_.back();
        if (last.group == group && last.at == from && CountOf(last.inserted) == count) {
            ReplacePieces(from, count, inserted);
            last.inserted = std::move(inserted);
            last.after = after;
            return;
        }
    }
    Edit edit{from, PiecesOf(from, count), inserted, before, after, group};
    ReplacePieces(from, count, inserted);
    history_.push_back(std::move(edit));
    done_ = history_.size();
}

std::optional<LinePlace> EditLines::Undo() {
    if (!CanUndo()) return std::nullopt;
    const Edit& edit = history_[--done_];
    ReplacePieces(edit.at, CountOf(edit.inserted), edit.removed);
    return edit.before;
}

std::optional<LinePlace> EditLines::Redo() {
    if (!CanRedo()) return std::nullopt;
    const Edit& edit = history_[done_++];
    ReplacePieces(edit.at, CountOf(edit.removed), edit.inserted);
    return edit.after;
}

LineList EditLines::Lines() const {
    if (built_) return *built_;
    if (Unedited()) return original_;
    std::size_t n = size_;
    if (line(n - 1).empty()) --n;
    std::size_t bytes = 0;
    for (const Piece& p : pieces_)
        for (std::uint32_t i = 0; i < p.count; ++i) bytes += SourceLine(p.source, p.start + i).size() + 1;
    std::string text;
    text.reserve(bytes);
    std::size_t done = 0;
    for (const Piece& p : pieces_) {
        for (std::uint32_t i = 0; i < p.count && done < n; ++i, ++done) {
            text += SourceLine(p.source, p.start + i);
            text += '\n';  // every line ends, so that an empty line before the end is kept
        }
    }
    built_ = LineList(std::make_shared<const TextLines>(TextLines::Split(std::move(text))));
    return *built_;
}

namespace {

// The same lines of the same store.
bool SameLines(const LineList& a, const LineList& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string_view x = a[i], y = b[i];
        if (x.data() != y.data() || x.size() != y.size()) return false;
    }
    return true;
}

}  // namespace

bool EditLines::Holds(const LineList& lines) const {
    return (Unedited() && SameLines(original_, lines)) || (built_ && SameLines(*built_, lines));
}

std::uint64_t EditLines::OffsetOf(LinePlace place) const {
    std::uint64_t offset = 0;
    const std::size_t last = std::min(place.line, size_ - 1);
    std::size_t i = 0;
    for (const Piece& p : pieces_) {
        for (std::uint32_t k = 0; k < p.count && i < last; ++k, ++i) offset += SourceLine(p.source, p.start + k).size() + 1;
        if (i >= last) break;
    }
    return offset + std::min(place.column, line(last).size());
}

LinePlace EditLines::PlaceAt(std::uint64_t offset) const {
    std::size_t i = 0;
    for (const Piece& p : pieces_) {
        for (std::uint32_t k = 0; k < p.count; ++k, ++i) {
            const std::size_t length = SourceLine(p.source, p.start + k).size();
            if (offset <= length || i + 1 == size_) return LinePlace{i, std::min<std::size_t>(offset, length)};
            offset -= length + 1;
        }
    }
    return LinePlace{size_ - 1, line(size_ - 1).size()};
}

std::optional<std::pair<LinePlace, LinePlace>> FindInLines(const EditLines& lines, std::string_view needle,
                                                           bool matchCase, LinePlace from) {
    if (needle.empty() || from.line >= lines.size()) return std::nullopt;
    auto fold = [matchCase](std::string_view s) { return matchCase ? std::string(s) : ToLowerCase(std::string(s)); };
    std::vector<std::string> parts;  // the needle's lines
    for (std::size_t start = 0;;) {
        const std::size_t end = needle.find('\n', start);
        parts.push_back(fold(needle.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    std::string text;  // one buffer for every line, folded in place
    for (std::size_t i = from.line; i < lines.size(); ++i) {
        const std::string_view line = lines.line(i);
        text.assign(line.begin(), line.end());
        if (!matchCase) text = ToLowerCase(std::move(text));
        const std::size_t first = i == from.line ? std::min(from.column, text.size()) : 0;
        if (parts.size() == 1) {
            const std::size_t at = text.find(parts[0], first);
            if (at != std::string::npos) return std::make_pair(LinePlace{i, at}, LinePlace{i, at + parts[0].size()});
            continue;
        }
        // Several lines: the first part ends this line, the middle ones are
        // whole lines and the last one begins the line after them.
        if (text.size() < parts[0].size()) continue;
        const std::size_t at = text.size() - parts[0].size();
        if (at < first || text.compare(at, std::string::npos, parts[0]) != 0) continue;
        if (i + parts.size() - 1 >= lines.size()) return std::nullopt;
        bool match = true;
        for (std::size_t k = 1; k + 1 < parts.size() && match; ++k) match = fold(lines.line(i + k)) == parts[k];
        const std::string last = fold(lines.line(i + parts.size() - 1));
        if (match && last.compare(0, parts.back().size(), parts.back()) == 0)
            return std::make_pair(LinePlace{i, at}, LinePlace{i + parts.size() - 1, parts.back().size()});
    }
    return std::nullopt;
}

}  // namespace tandrel
