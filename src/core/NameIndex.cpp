#include "core/NameIndex.h"

namespace velmora {

// Its low bits, which pick the slot, are mixed with the high ones at the
// end: names that differ only in their last digits ("unit.1207", "unit.1208")
// would otherwise crowd into neighbouring slots.
uint32_t foldedHash(std::string_view name, uint32_t seed) {
    uint32_t hash = 2166136261u ^ (seed * 0x9E3779B9u);
    for (const char c : name) {
        hash ^= foldCase(static_cast<unsigned char>(c));
        hash *= 16777619u;
    }
    hash ^= hash >> 16;
    hash *= 0x85EBCA6Bu;
    hash ^= hash >> 13;
    return hash;
}

void NameIndex::reset(size_t items) {
    size_t size = 0;
    if (items > 0)
        for (size = 8; size < 2 * items;) size *= 2;
    slots_.assign(size, 0);
    hashes_.assign(size, 0);
}

}  // namespace velmora
