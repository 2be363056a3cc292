#include "app/MainDialog.h"

#include "res/resource.h"

namespace velmora {

// The handlers are being built; until then the window only quits.
bool MainDialog::OnInitDialog() { return true; }

void MainDialog::onCommand(int id) {
    if (id == IDCANCEL) OnCancel();
}

bool MainDialog::onSystemCommand(unsigned command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
    state_.dialog().runAboutBox();
    return true;
}

void MainDialog::selectGame(GameVersion) {}
void MainDialog::refreshGameControls() {}
void MainDialog::OnOK() {}
void MainDialog::onRestore() {}
void MainDialog::OnCancel() { state_.dialog().endDialog(IDCANCEL); }

}  // namespace velmora
