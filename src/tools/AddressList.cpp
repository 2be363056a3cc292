#include "tools/AddressList.h"

#include "res/resource.h"

namespace velmora {

bool isPrivateAddress(std::uint32_t address) {
    const unsigned first = octet(address, 0);
    const unsigned second = octet(address, 1);
    return first == 10 || (first == 172 && second >= 16 && second <= 31) || (first == 192 && second == 168) ||
           (first == 169 && second == 254);
}

std::string dottedAddress(std::uint32_t address) {
    return std::to_string(octet(address, 0)) + "." + std::to_string(octet(address, 1)) + "." +
           std::to_string(octet(address, 2)) + "." + std::to_string(octet(address, 3));
}

void fillAddressList(AppState& state) {
    DialogPort& dialog = state.dialog();
    // Other addresses go to the top as they come, so they end up in reverse
    // order above the private ones, which keep theirs.
    for (const std::uint32_t address : state.platform.hosts->addresses()) {
        if (isPrivateAddress(address))
            dialog.addListEntry(IDC_IP_ADDRESS, dottedAddress(address));
        else
            dialog.insertListEntry(IDC_IP_ADDRESS, 0, dottedAddress(address));
    }
    // Shorter than "1.2.3.4" cannot be an address.
    const std::string staticIp = state.settings().staticIp();
    if (staticIp.size() >= 7) dialog.insertListEntry(IDC_IP_ADDRESS, 0, staticIp);
    dialog.selectListEntry(IDC_IP_ADDRESS, 0);
}

}  // namespace velmora
