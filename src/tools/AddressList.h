// The machine's own IPv4 addresses, for the host to tell the other players:
// public ones first, private ones after, and a STATIC_IP from the settings
// file before all of them.
#pragma once

#include <cstdint>
#include <string>

#include "core/AppState.h"

namespace velmora {

// 10.x, 172.16-31.x, 192.168.x and 169.254.x are private; the rest,
// loopback included, are not.
bool isPrivateAddress(std::uint32_t address);
std::string dottedAddress(std::uint32_t address);

// Fills IDC_IP_ADDRESS once and selects its first entry.
void fillAddressList(AppState& state);

}  // namespace velmora
