// The machine's IPv4 addresses on Windows: Windows Sockets 2.2, the host
// name, and the addresses registered for it, in the resolver's order.
#include "platform/HostAddresses.h"

#include <winsock2.h>

namespace velmora {
namespace {

class WinsockAddresses final : public HostAddresses {
public:
    std::vector<std::uint32_t> addresses() override {
        std::vector<std::uint32_t> found;
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return found;
        char name[256];
        if (::gethostname(name, sizeof name) != SOCKET_ERROR) {
            name[sizeof name - 1] = '\0';
            if (const hostent* host = ::gethostbyname(name); host && host->h_addrtype == AF_INET) {
                for (char** entry = host->h_addr_list; *entry; ++entry) {
                    const auto* bytes = reinterpret_cast<const unsigned char*>(*entry);
                    found.push_back(packAddress(bytes[0], bytes[1], bytes[2], bytes[3]));
                }
            }
        }
        ::WSACleanup();
        return found;
    }
};

}  // namespace

HostAddresses& platformHostAddresses() {
    static WinsockAddresses hosts;
    return hosts;
}

}  // namespace velmora
