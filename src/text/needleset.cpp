#include "text/needleset.h"

#include <algorithm>

namespace tandrel {

NeedleSet::NeedleSet() : nodes_(1) {}

int NeedleSet::Child(int node, unsigned char c) const {
    for (const auto& [byte, child] : nodes_[static_cast<std::size_t>(node)].next)
        if (byte == c) return child;
    return -1;
}

int NeedleSet::Add(std::string_view needle) {
    if (needle.empty()) return -1;
    int node = 0;
    for (const char ch : needle) {
        const auto c = static_cast<unsigned char>(ch);
        int child = Child(node, c);
        if (child < 0) {
            child = static_cast<int>(nodes_.size());
            nodes_[static_cast<std::size_t>(node)].next.emplace_back(c, child);
            nodes_.emplace_back();
        }
        node = child;
    }
    Node& end = nodes_[static_cast<std::size_t>(node)];
    if (end.needle < 0) end.needle = static_cast<int>(count_++);
    return end.needle;
}

void NeedleSet::Build() {
    rootNext_.fill(0);
    std::vector<int> queue;
    queue.reserve(nodes_.size());
    for (const auto& [byte, child] : nodes_[0].next) {
        rootNext_[byte] = child;
        nodes_[static_cast<std::size_t>(child)].fail = 0;
        queue.push_back(child);
    }
    // Breadth first, so that every fail link points to a node already done.
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const int node = queue[head];
        Node& n = nodes_[static_cast<std::size_t>(node)];
        const Node& fail = nodes_[static_cast<std::size_t>(n.fail)];
        n.output = fail.needle >= 0 ? n.fail : fail.output;
        for (const auto& [byte, child] : n.next) {
            nodes_[static_cast<std::size_t>(child)].fail = Step(n.fail, byte);
            queue.push_back(child);
        }
    }
    seen_.assign(count_, 0);
    call_ = 0;
}

int NeedleSet::Step(int node, unsigned char c) const {
    while (node != 0) {
        if (const int child = Child(node, c); child >= 0) return child;
        node = nodes_[static_cast<std::size_t>(node)].fail;
    }
    return rootNext_[c];
}

void NeedleSet::Find(std::string_view text, std::vector<int>& ids) const {
    ids.clear();
    if (count_ == 0) return;
    if (++call_ == 0) {  // the counter wrapped: forget every mark
        std::fill(seen_.begin(), seen_.end(), 0);
        call_ = 1;
    }
    int node = 0;
    for (const char ch : text) {
        node = Step(node, static_cast<unsigned char>(ch));
        for (int n = node; n > 0;) {
            const Node& at = nodes_[static_cast<std::size_t>(n)];
            if (at.needle >= 0) {
                unsigned& mark = seen_[static_cast<std::size_t>(at.needle)];
                if (mark == call_) break;  // this needle, and every shorter one behind it, is reported already
                mark = call_;
                ids.push_back(at.needle);
            }
            n = at.output;
        }
    }
}

}  // namespace tandrel
