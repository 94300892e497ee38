// Many needles looked for in one pass over a text (Aho-Corasick), for a set
// of names matched against every file name of a long walk. Byte-exact: callers
// lower-case both sides to ignore case.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace tandrel {

class NeedleSet {
public:
    NeedleSet();

    // The needle's id: ids count from 0 in the order needles are first added,
    // an equal needle gets the id it already has. The empty needle is never
    // found and gets -1.
    int Add(std::string_view needle);
    // Call once after the last Add and before the first Find.
    void Build();
    // The ids of the needles that occur in text, each once, in no set order.
    // Not safe to call from two threads at once.
    void Find(std::string_view text, std::vector<int>& ids) const;
    std::size_t size() const { return count_; }

private:
    struct Node {
        std::vector<std::pair<unsigned char, int>> next;
        int fail = 0;
        int needle = -1;  // the needle that ends here
        int output = -1;  // the nearest node along the fail links where a needle ends
    };
    int Child(int node, unsigned char c) const;
    int Step(int node, unsigned char c) const;

    std::vector<Node> nodes_;
    std::array<int, 256> rootNext_{};  // the root's transitions, 0 for the root itself
    std::size_t count_ = 0;
    mutable std::vector<unsigned> seen_;  // the call in which a needle was last reported
    mutable unsigned call_ = 0;
};

}  // namespace tandrel
