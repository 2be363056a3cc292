// The start-up check for games whose files Windows keeps VirtualStore copies
// of while Velmora itself is not virtualized: the game would read those
// copies and never see a swap.
#pragma once

#include "core/AppState.h"

namespace velmora {

// Shows one box for each installed game with VirtualStore copies, when
// Velmora's own writes go to the real folder. Changes nothing.
void checkVirtualStore(AppState& state);

}  // namespace velmora
