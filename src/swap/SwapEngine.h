// The swap and restore engine: puts a mission in force as the game's
// multiplayer.mis, puts every backed-up original DP file back into the game
// and, in the two side modes, rewrites the guns of that side's unit types so
// that they become friendly.
#pragma once

#include <string_view>

#include "app/AppState.h"

namespace velmora {

enum class SwapMode {
    AlliedFriendly = 1,
    AxisFriendly = 2,
    MissionOnly = 3,
    RestoreOriginals = 4,
};

// Runs one swap or restore for the active game. Returns 0 when it ran to its
// end (also when it stopped at a unit type without a name, after saying so)
// and 1 when it failed; every failure has been shown in an error box.
int swapMission(AppState& state, SwapMode mode);

}  // namespace velmora
