// The Swap command, which the main dialog's Swap and Restore buttons run: the
// user's choice of side and mission becomes a swap mode, the engine runs and
// the outcome is shown. The engine itself keeps track of which games a swap
// has changed.
#pragma once

#include "core/AppState.h"

namespace velmora {

// Runs the Swap command on the mission list and the side radio buttons. A
// restore is asked for by setting AppState::restoreRequested and checking
// IDC_RESTORE_DPS; the command reads the flag once and clears it at once.
void runSwapCommand(AppState& state);

}  // namespace velmora
