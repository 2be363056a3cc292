// The real Velmora.exe, run and operated from this test program as a user
// would: a fresh copy in its own folder, the games registered as their 32-bit
// installers register them, its windows found and driven by control id. Every
// operation returns "" when it held and otherwise what went wrong; a wait's
// limit is a safety net against a hung program, never a measure.
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
struct Setup { bool cfs1 = false, cfs2 = false; };

class Program {
public:
    explicit Program(const Setup& setup);
    ~Program();

    // A path under the journey's folder: "Velmora\Velmora.ini", "CFS2\multiplayer.mis".
    std::string path(const std::string& relative) const { return root_ / relative; }
    // The main window and open box of the first program started that still runs.
    std::pair<HWND, HWND> windows() const;

    std::string start();  // one more Velmora.exe
    // A box (message box or About box) with this caption and text is open:
    // presses `button` and waits until the box is gone.
    std::string answer(const std::string& caption, const std::string& text, const std::string& button);
    // The main window is shown and takes input: no box is open, no click pending.
    std::string ready();
    std::string click(int id);  // as the mouse gives it
    std::string ended();  // the last program started ends with 0

private:
    testkit::TempDir root_;
    std::vector<PROCESS_INFORMATION> processes_;
    std::shared_ptr<std::atomic<bool>> clickDone_;  // of the last click, while it may be pending
};

// A control's text, read with the W messages: the A ones came back cut across processes.
std::string textOf(HWND window);

}  // namespace velmora::program
