// A small set of byte values and the search for the first of them in a block
// of text, a vector at a time: the inside-file search skips through whole
// files with it.
#pragma once

#include <cstddef>

namespace tandrel {

class ByteSet {
public:
    void Add(unsigned char c);
    bool Has(unsigned char c) const { return in_[c]; }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    // The first byte in [from, end) that is in the set; end when none is.
    const char* Find(const char* from, const char* end) const;

private:
    bool in_[256] = {};
    unsigned char members_[256] = {};
    std::size_t size_ = 0;
};

}  // namespace tandrel
