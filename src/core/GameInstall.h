// Which games are installed and where, from the games' own registration.
#pragma once

#include <string>

#include "core/GameTable.h"
#include "platform/GameRegistry.h"

namespace velmora {

// Bit 0 for CFS1, bit 1 for CFS2. A game counts as installed only when its
// key opens and its "CurrentDirectory" reads as a non-empty value.
unsigned detectInstalledGames(GameRegistry& registry);

// The install directory of `game` without a trailing separator; "" when it
// cannot be read, so that a failed read never leaves the other game's
// directory in force.
std::string readGameDir(GameRegistry& registry, GameVersion game);

}  // namespace velmora
