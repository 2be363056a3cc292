#include "core/AppState.h"

namespace velmora {

bool AppState::requireGameFolder() {
    if (!gameDir.empty()) return true;
    const std::string game = gameProfile(activeGame).displayName;
    dialog().messageBox("Could not locate the " + game + " folder.\nCheck that " + game +
                            " is installed, then start Velmora again.",
                        "Error", MessageIcon::Error, MessageButtons::Ok);
    return false;
}

}  // namespace velmora
