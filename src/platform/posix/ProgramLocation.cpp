#include "platform/ProgramLocation.h"

#include <unistd.h>

#include <climits>

namespace velmora {

std::string platformProgramDirectory() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    const std::string path(buffer, static_cast<size_t>(length));
    const size_t separator = path.find_last_of('/');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace velmora
