#include "text/textlines.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tandrel {

TextLines::TextLines(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size();
    bytes_.reserve(total);
    starts_.reserve(lines.size() + 1);
    for (const std::string& line : lines) {
        bytes_ += line;
        starts_.push_back(bytes_.size());
    }
}

TextLines TextLines::Split(std::string text) {
    TextLines lines;
    // Each line moves down over the line ends before it; the writing position
    // never passes the reading one.
    const std::size_t size = text.size();
    char* const data = text.data();
    std::size_t read = 0, write = 0;
    // The next CR and LF at or after the reading position, each searched for
    // again only once it is passed.
    auto next = [&](char c, std::size_t from) {
        const void* at = std::memchr(data + from, c, size - from);
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - data) : size;
    };
    std::size_t cr = next('\r', 0), lf = next('\n', 0);
    while (read < size) {
        if (cr < read) cr = next('\r', read);
        if (lf < read) lf = next('\n', read);
        const std::size_t end = std::min(cr, lf);
        const std::size_t length = end - read;
        if (write != read) std::memmove(data + write, data + read, length);
        write += length;
        lines.starts_.push_back(write);
        read = end + 1;
        if (end == cr && lf == read) ++read;
    }
    text.resize(write);
    lines.bytes_ = std::move(text);
    return lines;
}

std::vector<std::string> TextLines::ToVector() const {
    std::vector<std::string> out;
    out.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
    return out;
}

LineList::LineList(std::shared_ptr<const TextLines> store) : store_(std::move(store)), rows_(store_->size()) {
    std::iota(rows_.begin(), rows_.end(), std::uint32_t{0});
}

LineList::LineList(const std::vector<std::string>& lines) : LineList(std::make_shared<const TextLines>(lines)) {}

LineList LineList::Pick(const std::vector<std::uint32_t>& positions) const {
    LineList picked;
    picked.store_ = store_;
    picked.rows_.reserve(positions.size());
    for (std::uint32_t at : positions) picked.rows_.push_back(rows_.at(at));
    return picked;
}

std::vector<std::string> LineList::ToVector() const {
    std::vector<std::string> out;
    out.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
    return out;
}

}  // namespace tandrel
