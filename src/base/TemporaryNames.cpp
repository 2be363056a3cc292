#include "base/TemporaryNames.h"

#include <atomic>

namespace velmora {

namespace {
constexpr std::string_view kMarker = ".vlmr-";
constexpr std::string_view kSuffix = ".tmp";
}  // namespace

std::string temporaryNameFor(const std::string& target, unsigned long processId) {
    static std::atomic<unsigned> counter{0};
    std::string name = target;
    name.append(kMarker).append(std::to_string(processId)).append("-").append(std::to_string(counter++));
    name.append(kSuffix);
    return name;
}

unsigned long temporaryWriter(std::string_view name) {
    const size_t marker = name.rfind(kMarker);
    unsigned long id = 0;
    for (size_t i = marker + kMarker.size(); i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        if (id > (~0ul - 9) / 10) return 0;
        id = id * 10 + static_cast<unsigned long>(name[i] - '0');
    }
    return id;
}

bool isTemporaryName(std::string_view name) {
    const size_t marker = name.rfind(kMarker);
    if (marker == std::string_view::npos || name.size() < kSuffix.size() ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
        return false;
    // Between the marker and the suffix: the process id, a dash, the counter.
    const std::string_view middle = name.substr(marker + kMarker.size(),
                                                name.size() - kSuffix.size() - marker - kMarker.size());
    const size_t dash = middle.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == middle.size()) return false;
    for (size_t i = 0; i < middle.size(); ++i)
        if (i != dash && (middle[i] < '0' || middle[i] > '9')) return false;
    return true;
}

}  // namespace velmora
