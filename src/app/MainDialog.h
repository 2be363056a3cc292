// MainDialog: the handlers of Velmora's main window, the same on every
// platform. They reach the controls only through the dialog port
// (AppState::mainWindow) and read the controls whenever they run.
//
// The Win32 front end owns the window: it turns WM_INITDIALOG into
// OnInitDialog(), WM_COMMAND into onCommand(id) and WM_SYSCOMMAND into
// onSystemCommand(); painting the minimised window is its own business.
#pragma once

#include "core/AppState.h"

namespace velmora {

class MainDialog {
public:
    explicit MainDialog(AppState& state) : state_(state) {}

    // The dialog's initialisation: finds the program's folder and the
    // installed games, backs each one up, picks the active game and fills
    // the address list. May end the dialog. Returns true.
    bool OnInitDialog();

    // A command from a control: a button's click, IDOK (Swap) or IDCANCEL
    // (Quit, also the Escape key and the close box).
    void onCommand(int id);
    // A system-menu command; false when the platform's default handling is due.
    bool onSystemCommand(unsigned command);

    void selectGame(GameVersion game);
    void refreshGameControls();

    void OnOK();        // Swap
    void onRestore();   // Restore
    void OnCancel();    // Quit

private:
    void runCommand(int id);

    // The game radio group's data-exchange value: the position of the
    // checked radio, -1 for none. It goes to the controls once, at the start
    // of OnInitDialog, so that both game radios start unchecked, and is
    // never read back: the radios themselves say which game is chosen.
    const int gameRadioIndex = -1;
    AppState& state_;
    // A command (or the start-up) is running: its boxes' message loops can
    // bring a close request, which waits until the command has finished.
    bool busy_ = false;
    bool quitPending_ = false;
};

}  // namespace velmora
