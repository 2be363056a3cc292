// The two keys of the game's own configuration file that the main window
// switches: COLLISION_SECS and DISPLAY_FRACTIONAL_MINUTES. A checked box
// means the key holds 0.
#pragma once

#include "core/AppState.h"

namespace velmora {

// Sets both boxes from the file; a COLLISION_SECS other than 2 is written back as 0.
void loadGameOptions(AppState& state);
// The handlers of the two boxes: write the key as the box now shows it.
void toggleCollision(AppState& state);
void toggleFractionalMinutes(AppState& state);

}  // namespace velmora
