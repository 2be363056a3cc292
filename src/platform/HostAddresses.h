// The machine's own IPv4 addresses, for the host to hand out.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

class HostAddresses {
public:
    virtual ~HostAddresses() = default;
    // The addresses in the resolver's order, each as four octets in dotted
    // order (octet 0 first). Empty when the lookup fails.
    virtual std::vector<std::uint32_t> addresses() = 0;
};

// Octet `i` (0 = first in dotted order) of a packed address.
inline unsigned octet(std::uint32_t address, int i) { return (address >> (24 - 8 * i)) & 0xFF; }
inline std::uint32_t packAddress(unsigned a, unsigned b, unsigned c, unsigned d) {
    return (std::uint32_t{a} << 24) | (std::uint32_t{b} << 16) | (std::uint32_t{c} << 8) | d;
}

HostAddresses& platformHostAddresses();

}  // namespace velmora
