// Many lines of code-page-1251 text in one buffer: the bytes of every line back
// to back and where each begins. A document of millions of lines costs its
// bytes and eight more per line, where a string per line costs a heap block each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

class TextLines {
public:
    TextLines() = default;
    explicit TextLines(const std::vector<std::string>& lines);
    // The lines of text ending at CR, LF or CR LF (a final line end adds no
    // empty line), split in the text's own buffer.
    static TextLines Split(std::string text);

    std::size_t size() const { return starts_.size() - 1; }
    bool empty() const { return size() == 0; }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(bytes_).substr(starts_[i], starts_[i + 1] - starts_[i]);
    }
    // The bytes of all lines without their ends.
    std::size_t textBytes() const { return bytes_.size(); }
    std::vector<std::string> ToVector() const;

private:
    std::string bytes_;
    std::vector<std::uint64_t> starts_{0};  // one more than there are lines
};

// Lines of a shared TextLines in an order of their own: the views of one
// document share its text, and sorting or filtering moves numbers, not text.
class LineList {
public:
    LineList() = default;
    // Every line of the store, in order.
    explicit LineList(std::shared_ptr<const TextLines> store);
    explicit LineList(const std::vector<std::string>& lines);

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    std::string_view operator[](std::size_t i) const { return (*store_)[rows_[i]]; }
    // The lines at the given positions, in that order.
    LineList Pick(const std::vector<std::uint32_t>& positions) const;
    std::vector<std::string> ToVector() const;

private:
    std::shared_ptr<const TextLines> store_ = std::make_shared<const TextLines>();
    std::vector<std::uint32_t> rows_;
};

}  // namespace tandrel
