// The machine's IPv4 addresses on POSIX systems, from its interfaces: a
// lookup of the host name there often yields only a loopback address.
#include "platform/HostAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

namespace velmora {
namespace {

class InterfaceAddresses final : public HostAddresses {
public:
    std::vector<std::uint32_t> addresses() override {
        std::vector<std::uint32_t> found;
        ifaddrs* list = nullptr;
        if (::getifaddrs(&list) != 0) return found;
        for (const ifaddrs* item = list; item; item = item->ifa_next) {
            if (!item->ifa_addr || item->ifa_addr->sa_family != AF_INET) continue;
            const auto* address = reinterpret_cast<const sockaddr_in*>(item->ifa_addr);
            found.push_back(ntohl(address->sin_addr.s_addr));
        }
        ::freeifaddrs(list);
        return found;
    }
};

}  // namespace

HostAddresses& platformHostAddresses() {
    static InterfaceAddresses hosts;
    return hosts;
}

}  // namespace velmora
