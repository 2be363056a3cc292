// Starting the game, or the host tool for IP games ("Select.exe" in the
// game's Tarnwick folder), and the controls that say which one an IP game
// uses.
#pragma once

#include <functional>

#include "core/AppState.h"

namespace velmora {

inline constexpr const char* kHostToolCaption = "Launch TWK for IP game";
inline constexpr const char* kHostToolName = "Tarnwick";

// Sets "Run TWK Select", the launch button's caption and "Active program:"
// from what the game directory holds, and enables the launch button.
void updateLauncherControls(AppState& state);

// Runs the host tool with the main window hidden, waits for it, then
// refreshes the game's controls (`refreshGameControls`) and shows the window.
void runHostSelect(AppState& state, const std::function<void()>& refreshGameControls);

// Starts the game's executable in the game directory and minimises the main
// window; a failure is shown with the system's text for it.
void launchGame(AppState& state);

}  // namespace velmora
