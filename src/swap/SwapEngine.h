// The swap and restore engine: puts a mission in force as the game's
// multiplayer.mis, puts every backed-up original DP file back into the game
// and, in the two side modes, rewrites the guns of that side's unit types so
// that they become friendly.
#pragma once

#include <string>

#include "core/AppState.h"

namespace velmora {

enum class SwapMode {
    AlliedFriendly = 1,
    AxisFriendly = 2,
    MissionOnly = 3,
    RestoreOriginals = 4,
};

// Runs one swap or restore for the active game. Returns 0 when it ran to its
// end and 1 when it failed; every failure has been shown in an error box. A
// swap that got as far as replacing multiplayer.mis marks the game in
// AppState::swappedGames; a restore that ran to its end clears it.
// `keptNote`, when given, gets what the outcome box must add about the game
// DPs someone else had changed, which the run kept before it replaced them
// ("" when there were none).
int swapMission(AppState& state, SwapMode mode, std::string* keptNote = nullptr);

}  // namespace velmora
