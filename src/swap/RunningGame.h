// The game's files are not changed under the running game: it reads its DPs
// and multiplayer.mis when a mission loads, and holds some of them open.
//
// The active game runs when a program runs from its folder under the game's
// executable name, or under the second name the host tool gives that
// executable where the host tool is installed. The same name in another
// folder is another install. A program whose path the system will not tell
// counts by its name alone: refusing once too often is better than writing
// under the game.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/AppState.h"

namespace velmora {

struct RunningGame {
    std::string program;    // its full path, or only its name when the path is unknown
    bool nameOnly = false;
};

// The active game's program, when one runs.
std::optional<RunningGame> findRunningGame(AppState& state);

// For the Swap and Restore buttons (`button` names the one pressed): true
// when the game runs, after a warning box that asks the player to close it.
bool refuseWhileGameRuns(AppState& state, std::string_view button);

// Before the originals are put back at start-up: while the game runs, asks
// the player to close it; goes on once it has closed or the player says so.
void waitForGameToClose(AppState& state);

}  // namespace velmora
