#include "app/MainDialog.h"

#include "app/MissionList.h"
#include "app/VirtualStoreCheck.h"
#include "backup/BackupOriginals.h"
#include "core/GameInstall.h"
#include "core/LeftoverTemporaries.h"
#include "res/resource.h"
#include "swap/SwapCommands.h"
#include "tools/AddressList.h"
#include "tools/GameOptions.h"
#include "tools/Launchers.h"

namespace velmora {
namespace {

int gameRadio(GameVersion game) { return game == kCfs1 ? IDC_CFS1 : IDC_CFS2; }

}  // namespace

bool MainDialog::OnInitDialog() {
    // A close request during the start-up's boxes is dropped: the window
    // is not yet there to be closed.
    busy_ = true;
    struct Idle {
        MainDialog& dialog;
        ~Idle() { dialog.busy_ = dialog.quitPending_ = false; }
    } idle{*this};
    DialogPort& dialog = state_.dialog();
    dialog.checkRadio(IDC_CFS1, IDC_CFS2, gameRadioIndex < 0 ? 0 : IDC_CFS1 + gameRadioIndex);

    const std::string aboutItem = dialog.loadString(IDS_ABOUTBOX);
    if (!aboutItem.empty()) dialog.appendSystemMenuItem(IDM_ABOUTBOX, aboutItem);
    dialog.setWindowIcons();

    state_.activeGame = kNoGame;
    FileSystem& files = state_.files();
    // The running executable's own folder, never another copy's on the search path.
    state_.appDir = state_.platform.programDirectory ? state_.platform.programDirectory() : std::string();
    if (state_.appDir.empty()) state_.appDir = files.currentDirectory();
    files.setCurrentDirectory(state_.appDir);
    state_.settingsPath = state_.paths().settingsFile();
    // A settings write cut short by a killed run left its temporary file here.
    removeLeftoverTemporaries(files, state_.appDir, state_.platform.separator);

    state_.installedGames = detectInstalledGames(*state_.platform.registry);
    if (state_.installedGames & installedBit(kCfs1)) dialog.enable(IDC_CFS1, true);
    if (state_.installedGames & installedBit(kCfs2)) dialog.enable(IDC_CFS2, true);

    // Until a game is chosen, nothing acts on one.
    for (int id : {IDC_COLLISION, IDC_FRACT_MIN}) dialog.enable(id, false);

    for (GameVersion game : kGames) {
        if (!(state_.installedGames & installedBit(game))) continue;
        selectGame(game);
        if (!state_.requireGameFolder()) continue;
        if (backupOriginals(state_) != 0) {
            // The settings stay, with the swaps in force they record: the
            // next start completes the backup, since copies never overwrite.
            dialog.endDialog(0);
            return true;
        }
    }

    checkVirtualStore(state_);

    GameVersion chosen = kNoGame;
    if (state_.installedGames == installedBit(kCfs1)) chosen = kCfs1;
    if (state_.installedGames == installedBit(kCfs2)) chosen = kCfs2;
    if (state_.installedGames == (installedBit(kCfs1) | installedBit(kCfs2))) {
        const int last = state_.settings().lastGame();
        if (last == kCfs1 || last == kCfs2) chosen = last;
    }
    if (chosen != kNoGame) {
        dialog.checkRadio(IDC_CFS1, IDC_CFS2, gameRadio(chosen));
        selectGame(chosen);
    } else if (state_.installedGames != 0) {
        // No radio is checked, so none holds the group's tab stop: the
        // keyboard could never choose a game.
        dialog.setTabStop(IDC_CFS1, true);
    }

    if (state_.installedGames == 0) {
        dialog.messageBox("Could not locate CFS1 or CFS2 executable.", "Error", MessageIcon::Error,
                          MessageButtons::Ok);
        dialog.endDialog(0);
        return true;
    }

    fillAddressList(state_);
    return true;
}

void MainDialog::onCommand(int id) {
    if (busy_) {
        // Quit never runs inside another command; it waits for it to end.
        if (id == IDCANCEL) quitPending_ = true;
        return;
    }
    busy_ = true;
    runCommand(id);
    busy_ = false;
    const bool quit = quitPending_ && id != IDCANCEL;  // Quit's own box has answered it
    quitPending_ = false;
    if (quit) OnCancel();
}

void MainDialog::runCommand(int id) {
    switch (id) {
        case IDC_RESTORE: onRestore(); break;
        case IDC_CFS1: selectGame(kCfs1); break;
        case IDC_CFS2: selectGame(kCfs2); break;
        case IDC_DUMMY: refreshGameControls(); break;
        case IDC_RUN_SELECT: runHostSelect(state_, [this] { refreshGameControls(); }); break;
        case IDC_LAUNCH: launchGame(state_); break;
        case IDC_COLLISION: toggleCollision(state_); break;
        case IDC_FRACT_MIN: toggleFractionalMinutes(state_); break;
        case IDOK: OnOK(); break;
        case IDCANCEL: OnCancel(); break;
        default: break;  // the address list's edit-change, among others: nothing to do
    }
}

bool MainDialog::onSystemCommand(unsigned command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
    state_.dialog().runAboutBox();
    return true;
}

void MainDialog::selectGame(GameVersion game) {
    state_.activeGame = game;
    state_.gameDir = readGameDir(*state_.platform.registry, game);
    // At start-up no radio is checked yet: only the game and its folder change.
    if (state_.dialog().checkedRadio(IDC_CFS1, IDC_CFS2) != gameRadio(game)) return;
    fillMissionList(state_);
    refreshGameControls();
}

void MainDialog::refreshGameControls() {
    DialogPort& dialog = state_.dialog();
    for (int id : {IDC_MISSION, IDC_ALLIED, IDC_AXIS, IDOK, IDC_RESTORE}) dialog.enable(id, true);
    const int lastSave = state_.settings().lastSave(state_.activeGame);
    const int side = lastSave == 1 ? IDC_ALLIED : lastSave == 2 ? IDC_AXIS : IDC_RESTORE_DPS;
    dialog.checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, side);
    updateLauncherControls(state_);
    loadGameOptions(state_);
}

void MainDialog::OnOK() { runSwapCommand(state_); }

void MainDialog::onRestore() {
    state_.dialog().checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, IDC_RESTORE_DPS);
    state_.restoreRequested = true;
    OnOK();
}

void MainDialog::OnCancel() {
    DialogPort& dialog = state_.dialog();
    if (!state_.sessionClean() &&
        dialog.messageBox("It is suggested that you leave Velmora running\nwhile you play a swapped multiplayer "
                          "mission.\nThis will remind you to restore after the session.\n\nAre you SURE you want "
                          "to exit?",
                          kAppTitle, MessageIcon::None, MessageButtons::YesNo) == MessageAnswer::No)
        return;
    const int checked = dialog.checkedRadio(IDC_CFS1, IDC_CFS2);
    state_.settings().writeLastGame(checked == IDC_CFS1 ? "1" : checked == IDC_CFS2 ? "2" : "0");
    dialog.endDialog(IDCANCEL);
}

}  // namespace velmora
