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
#include <memory>
#include <string>
#include <vector>

#include "testkit/TempDir.h"

namespace velmora::program {

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
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // A path under the scenario's folder: "Velmora\Velmora.ini", "CFS2\multiplayer.mis".
    std::string path(const std::string& relative) const { return root_ / relative; }

    // Starts one more Velmora.exe.
    std::string start();
    // The program waits in a box (a message box or the About box) with this
    // caption and text; presses `button` and waits until the box is gone.
    std::string answer(const std::string& caption, const std::string& text, const std::string& button);
    // The main window is shown and takes input: no box is open, no click pending.
    std::string ready();
    // A click on a control of the main window, as the mouse gives it.
    std::string click(int id);
    // Selects the entry `text` of a drop-down list of the main window.
    std::string pick(int id, const std::string& text);
    // A key pressed on the main window's focused control.
    std::string key(WPARAM key);
    // The window's close box (the system menu's Close).
    std::string close();
    std::string text(int id, const std::string& expected);
    std::string minimized();
    // The last program started ends with `code`.
    std::string ended(DWORD code);

private:
    // The windows operated are those of the first program started that still runs.
    DWORD runningId() const;
    HWND mainWindow() const;
    HWND openBox() const;

    testkit::TempDir root_;
    std::vector<PROCESS_INFORMATION> processes_;
    std::shared_ptr<std::atomic<bool>> clickDone_;  // of the last click, while it may be pending
};

}  // namespace velmora::program
