// The Swap and Restore buttons of the main dialog: the user's choice of side
// and mission becomes a swap mode, the engine runs and the outcome is shown.
// The engine itself keeps track of which games a swap has changed.
#include "app/MainDialog.h"
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

void MainDialog::OnOK() {
    DialogPort& dialog = state_.dialog();
    if (!state_.requireGameFolder()) {
        state_.restoreRequested = false;
        return;
    }
    if (!state_.restoreRequested && selectedMission(state_) == kOriginalMission) {
        dialog.messageBox("Please select a mission other than\nthe original multiplayer mission.\n\nIf you wish to "
                          "restore the original,\nclick on the 'Restore' button.",
                          kAppTitle, MessageIcon::None, MessageButtons::Ok);
        fillMissionList(state_);
        return;
    }

    const int side = dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS);
    if (side != 0 && refuseWhileGameRuns(state_, state_.restoreRequested ? "Restore" : "Swap")) {
        state_.restoreRequested = false;
        return;
    }
    std::string kept;
    switch (side) {
        case IDC_ALLIED:
        case IDC_AXIS: {
            const bool allied = side == IDC_ALLIED;
            if (swapMission(state_, allied ? SwapMode::AlliedFriendly : SwapMode::AxisFriendly, &kept) == 0)
                showOutcome(state_,
                            allied ? "Mission swapped.  Allied mission\nunits are now friendly."
                                   : "Mission swapped.  Axis mission\nunits are now friendly.",
                            "FYI", MessageIcon::Information, kept);
            else
                showOutcome(state_,
                            allied ? "Error swapping to friendly Allies DP's." : "Error swapping to friendly Axis DP's.",
                            "Error", MessageIcon::Error, kept);
            break;
        }
        case IDC_RESTORE_DPS:
            if (state_.restoreRequested) {
                state_.restoreRequested = false;
                if (swapMission(state_, SwapMode::RestoreOriginals, &kept) == 0) {
                    showOutcome(state_, "Originals restored", kAppTitle, MessageIcon::None, kept);
                } else {
                    showOutcome(state_, "Error restoring originals.", "Error", MessageIcon::Error, kept);
                }
            } else if (dialog.messageBox("You have not selected an alliance.\nDo you wish to only swap mission?",
                                         kAppTitle, MessageIcon::None,
                                         MessageButtons::YesNo) == MessageAnswer::Yes) {
                if (swapMission(state_, SwapMode::MissionOnly, &kept) == 0) {
                    showOutcome(state_, "Mission swapped.", kAppTitle, MessageIcon::None, kept);
                } else {
                    showOutcome(state_, "Error swapping mission.", "Error", MessageIcon::Error, kept);
                }
            }
            break;
        default:
            break;  // no side checked: nothing to do
    }
}

void MainDialog::onRestore() {
    state_.dialog().checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, IDC_RESTORE_DPS);
    state_.restoreRequested = true;
    OnOK();
}

}  // namespace velmora
