#include "platform/PlatformServices.h"

#include "platform/PathStyle.h"
#include "platform/ProgramLocation.h"

namespace velmora {

PlatformServices platformServices() {
    PlatformServices services;
    services.files = &platformFileSystem();
    services.registry = &platformGameRegistry();
    services.processes = &platformProcesses();
    services.hosts = &platformHostAddresses();
    services.virtualization = &platformFileVirtualization();
    services.separator = platformPathSeparator();
    services.programDirectory = platformProgramDirectory;
    return services;
}

}  // namespace velmora
