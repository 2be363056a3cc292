#include "app/AppState.h"

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

bool AppState::requireGameFolder() {
    if (!gameDir.empty()) return true;
    const std::string game = "CFS" + std::to_string(activeGame);
    dialog().messageBox("Could not locate the " + game + " folder.\nCheck that " + game +
                            " is installed, then start Velmora again.",
                        "Error", MessageIcon::Error, MessageButtons::Ok);
    return false;
}

}  // namespace velmora
