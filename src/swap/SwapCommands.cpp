#include "swap/SwapCommands.h"

#include <utility>

#include "app/MissionList.h"
#include "res/resource.h"
#include "swap/RunningGame.h"
#include "swap/SwapEngine.h"

namespace velmora {
namespace {

// The outcome, followed by what the engine kept of files someone else changed.
void showOutcome(AppState& state, const char* text, const char* caption, MessageIcon icon,
                 const std::string& keptNote) {
    state.dialog().messageBox(keptNote.empty() ? std::string(text) : text + ("\n\n" + keptNote), caption, icon,
                              MessageButtons::Ok);
}

}  // namespace

void runSwapCommand(AppState& state) {
    // Cleared before anything else, so that no way out of the command
    // leaves a restore pending for the next Swap.
    const bool restore = std::exchange(state.restoreRequested, false);
    DialogPort& dialog = state.dialog();
    if (!state.requireGameFolder()) return;
    if (!restore && selectedMission(state) == kOriginalMission) {
        dialog.messageBox("Please select a mission other than\nthe original multiplayer mission.\n\nIf you wish to "
                          "restore the original,\nclick on the 'Restore' button.",
                          kAppTitle, MessageIcon::None, MessageButtons::Ok);
        fillMissionList(state);
        return;
    }

    const int side = dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS);
    if (side != 0 && refuseWhileGameRuns(state, restore ? "Restore" : "Swap")) return;
    std::string kept;
    switch (side) {
        case IDC_ALLIED:
        case IDC_AXIS: {
            const bool allied = side == IDC_ALLIED;
            if (swapMission(state, allied ? SwapMode::AlliedFriendly : SwapMode::AxisFriendly, &kept) == 0)
                showOutcome(state,
                            allied ? "Mission swapped.  Allied mission\nunits are now friendly."
                                   : "Mission swapped.  Axis mission\nunits are now friendly.",
                            "FYI", MessageIcon::Information, kept);
            else
                showOutcome(state,
                            allied ? "Error swapping to friendly Allies DP's." : "Error swapping to friendly Axis DP's.",
                            "Error", MessageIcon::Error, kept);
            break;
        }
        case IDC_RESTORE_DPS:
            if (restore) {
                if (swapMission(state, SwapMode::RestoreOriginals, &kept) == 0) {
                    showOutcome(state, "Originals restored", kAppTitle, MessageIcon::None, kept);
                } else {
                    showOutcome(state, "Error restoring originals.", "Error", MessageIcon::Error, kept);
                }
            } else if (dialog.messageBox("You have not selected an alliance.\nDo you wish to only swap mission?",
                                         kAppTitle, MessageIcon::None,
                                         MessageButtons::YesNo) == MessageAnswer::Yes) {
                if (swapMission(state, SwapMode::MissionOnly, &kept) == 0) {
                    showOutcome(state, "Mission swapped.", kAppTitle, MessageIcon::None, kept);
                } else {
                    showOutcome(state, "Error swapping mission.", "Error", MessageIcon::Error, kept);
                }
            }
            break;
        default:
            break;  // no side checked: nothing to do
    }
}

}  // namespace velmora
