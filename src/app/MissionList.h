// The mission list: the active game's missions and "Original mp.mis file",
// sorted, with the mission now in force selected.
#pragma once

#include "core/AppState.h"

namespace velmora {

// Rebuilds IDC_MISSION from <gameDir>\missions\*.mis and selects the entry
// that CUR_MISSION_x names; no entry is selected when none matches.
void fillMissionList(AppState& state);

// The mission list's text: the selected entry, at most 259 bytes, "" when
// nothing is selected.
std::string selectedMission(AppState& state);

}  // namespace velmora
