// NameIndex: the INI engine's lookup of section and key names by their
// case-folded hash. It holds item numbers of a list its user keeps, and asks
// the user for an item's name; only the first item of a name goes in, as
// only the first section of a name, and the first key of a name in it,
// count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/CodePage1252.h"

namespace velmora {

// FNV-1a over the folded bytes: equal for names that match, and no copy.
// `seed` keeps names of different scopes (the keys of each section) apart.
uint32_t foldedHash(std::string_view name, uint32_t seed);

// Open addressing: a slot holds an item's number + 1, 0 when free.
class NameIndex {
public:
    // Empties the index and makes room for `items` names.
    void reset(size_t items);

    // Adds `item` under `name` unless an item of that name is in already;
    // `nameOf(i)` gives the name of item i.
    template <class NameOf>
    void addFirst(std::string_view name, uint32_t seed, size_t item, NameOf nameOf) {
        const uint32_t hash = foldedHash(name, seed);
        const size_t slot = probe(hash, name, nameOf);
        if (slots_[slot] != 0) return;
        slots_[slot] = static_cast<uint32_t>(item + 1);
        hashes_[slot] = hash;
    }

    // The item of `name`, or nothing.
    template <class NameOf>
    std::optional<size_t> find(std::string_view name, uint32_t seed, NameOf nameOf) const {
        if (slots_.empty()) return std::nullopt;
        const uint32_t found = slots_[probe(foldedHash(name, seed), name, nameOf)];
        if (found == 0) return std::nullopt;
        return found - 1;
    }

private:
    // The slot of the item of `name`, or the free slot where it would go.
    template <class NameOf>
    size_t probe(uint32_t hash, std::string_view name, NameOf nameOf) const {
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask)
            if (slots_[i] == 0 || (hashes_[i] == hash && equalsIgnoreCase(nameOf(slots_[i] - 1), name))) return i;
    }

    std::vector<uint32_t> slots_;
    std::vector<uint32_t> hashes_;
};

}  // namespace velmora
