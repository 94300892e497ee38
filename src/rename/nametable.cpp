#include "rename/nametable.h"

#include <functional>

namespace tandrel {

namespace {

std::uint32_t HashOf(std::string_view name) { return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name)); }

// Slots for names without growing: at most three quarters of them used.
bool Fits(std::size_t names, std::size_t slots) { return 4 * names <= 3 * slots; }

}  // namespace

void NameTable::Reserve(std::size_t names) {
    std::size_t capacity = 16;
    while (!Fits(names, capacity)) capacity *= 2;
    if (capacity > slots_.size()) Grow(capacity);
}

// The slot holding the name, or the empty slot where it would go.
std::size_t NameTable::Find(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (!s.used) return i;
        if (s.hash == hash && s.size == name.size() && text_.compare(s.offset, s.size, name) == 0) return i;
    }
}

void NameTable::Grow(std::size_t capacity) {
    std::vector<Slot> old(capacity);
    old.swap(slots_);
    const std::size_t mask = capacity - 1;
    for (const Slot& s : old) {
        if (!s.used) continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].used) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

std::uint8_t NameTable::Flags(std::string_view name) const {
    if (slots_.empty()) return 0;
    const Slot& s = slots_[Find(name, HashOf(name))];
    return s.used ? s.flags : 0;
}

std::uint8_t& NameTable::At(std::string_view name) {
    if (!Fits(count_ + 1, slots_.size())) Grow(slots_.empty() ? 16 : 2 * slots_.size());
    const std::uint32_t hash = HashOf(name);
    Slot& s = slots_[Find(name, hash)];
    if (!s.used) {
        s.used = true;
        s.hash = hash;
        s.offset = static_cast<std::uint32_t>(text_.size());
        s.size = static_cast<std::uint32_t>(name.size());
        text_.append(name);
        ++count_;
    }
    return s.flags;
}

}  // namespace tandrel
