#include "app/MissionList.h"

#include "core/FileSearch.h"
#include "res/resource.h"

namespace velmora {

// A mission name is read from the list into 260 bytes.
constexpr size_t kMissionNameSize = 260;

void fillMissionList(AppState& state) {
    DialogPort& dialog = state.dialog();
    dialog.resetList(IDC_MISSION);
    dialog.addListEntry(IDC_MISSION, kOriginalMission);
    for (const std::string& mission : findNames(state.files(), state.paths().missionsFolder(), "*.mis"))
        dialog.addListEntry(IDC_MISSION, mission);
    const std::string current = state.settings().currentMission(state.activeGame);
    dialog.selectListEntry(IDC_MISSION, dialog.findListEntry(IDC_MISSION, current));
}

std::string selectedMission(AppState& state) { return state.dialog().text(IDC_MISSION, kMissionNameSize); }

}  // namespace velmora
