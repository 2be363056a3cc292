// The real Velmora.exe, run and operated from this test program as a user
// would: its own folder with a fresh copy of the program, game installs
// registered as the games' 32-bit installers register them, and its windows
// found and driven by control id.
//
// Every operation returns "" when it held and otherwise what went wrong. A
// wait lasts until what it waits for has happened; its limit is a safety net
// against a hung program, never a measure.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "testkit/TempDir.h"

namespace velmora::program {

// Polls `done` until it holds or a generous limit passes; what `done` gives last.
bool waitFor(const std::function<bool()>& done);

// What the machine holds before the first start.
struct Setup {
    bool cfs1 = false;
    bool cfs2 = false;
    bool hostTool = false;  // CFS2's Tarnwick\Select.exe, which makes origcfs2.exe when it runs
};

class Program {
public:
    explicit Program(const Setup& setup);
    ~Program();

    // A path under the journey's folder: "Velmora\Velmora.ini", "CFS2\multiplayer.mis".
    std::string path(const std::string& relative) const { return root_ / relative; }

    // Starts one more Velmora.exe.
    std::string start();
    // A box (message box or About box) with this caption and text is open:
    // presses `button` and waits until the box is gone.
    std::string answer(const std::string& caption, const std::string& text, const std::string& button);
    // The main window is shown and takes input: no box is open, no click pending.
    std::string ready();
    // A click on a control of the main window, as the mouse gives it.
    std::string click(int id);
    std::string pick(int id, const std::string& entry);  // selects an entry of a drop-down list
    std::string key(WPARAM key);                         // pressed on the focused control
    std::string close();                                 // the close box (the system menu's Close)
    std::string text(int id, const std::string& expected);
    std::string minimized();
    // Opens a file as another program holding it does, sharing it with no one,
    // until release().
    std::string hold(const std::string& relative);
    std::string release();
    std::string ended();  // the last program started ends with 0

private:
    // The main window and open box of the first program started that still runs.
    std::pair<HWND, HWND> windows() const;

    testkit::TempDir root_;
    std::vector<PROCESS_INFORMATION> processes_;
    std::vector<HANDLE> held_;
    std::shared_ptr<std::atomic<bool>> clickDone_;  // of the last click, while it may be pending
};

}  // namespace velmora::program
