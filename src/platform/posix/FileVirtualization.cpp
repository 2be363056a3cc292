// No file virtualization outside Windows.
#include "platform/FileVirtualization.h"

namespace velmora {
namespace {

class NoVirtualization final : public FileVirtualization {
public:
    bool isVirtualized() override { return false; }
    std::string storeFolder() override { return {}; }
};

}  // namespace

FileVirtualization& platformFileVirtualization() {
    static NoVirtualization none;
    return none;
}

}  // namespace velmora
