// The names of one directory while a plan is built, each with a few flag bits,
// found by hashing. Made for directories of many thousands of names: the names
// share one buffer and the table is one array, so building, looking up and
// dropping it costs no allocation per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

class NameTable {
public:
    // Room for this many names without growing.
    void Reserve(std::size_t names);
    // The name's flags; 0 for a name never set.
    std::uint8_t Flags(std::string_view name) const;
    // The name's flags to change, added with 0 when new.
    std::uint8_t& At(std::string_view name);
    // Each name with its flags, in no particular order.
    template <class F>
    void ForEach(F&& f) const {
        for (const Slot& s : slots_)
            if (s.used) f(std::string_view(text_).substr(s.offset, s.size), s.flags);
    }

private:
    struct Slot {
        std::uint32_t hash = 0;    // the name's hash, cut to 32 bits
        std::uint32_t offset = 0;  // of the name in text_
        std::uint32_t size = 0;
        std::uint8_t flags = 0;
        bool used = false;
    };
    std::size_t Find(std::string_view name, std::uint32_t hash) const;
    void Grow(std::size_t capacity);

    std::string text_;  // every name, one after another
    std::vector<Slot> slots_;  // a power of two in size, at most three quarters used
    std::size_t count_ = 0;
};

}  // namespace tandrel
