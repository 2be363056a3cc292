// The platform's services in one record: what AppState reaches the world
// through, and what a test replaces with its own.
#pragma once

#include <functional>
#include <string>

#include "platform/FileVirtualization.h"
#include "platform/Files.h"
#include "platform/GameRegistry.h"
#include "platform/HostAddresses.h"
#include "platform/Processes.h"

namespace velmora {

struct PlatformServices {
    FileSystem* files = nullptr;
    GameRegistry* registry = nullptr;
    Processes* processes = nullptr;
    HostAddresses* hosts = nullptr;
    FileVirtualization* virtualization = nullptr;
    char separator = '\\';
    // The directory of the running program, without a trailing separator;
    // "" when it cannot be found.
    std::function<std::string()> programDirectory;
};

// The real platform's services.
PlatformServices platformServices();

}  // namespace velmora
