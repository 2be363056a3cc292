// The About box: the template IDD_ABOUTBOX holds everything it shows, and OK,
// Escape and the close box end it. Like the main dialog's, its procedure is
// a thin thunk that turns the messages it routes into calls on the class.
#pragma once

#include <windows.h>

namespace velmora {

class AboutDialog {
public:
    // Runs the box modally, owned by `owner`; returns when it is closed.
    void DoModal(HWND owner);

private:
    static INT_PTR CALLBACK procedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    // Its template sits at (0, 0): centres it over its owner, inside the
    // work area of the owner's monitor.
    static void OnInitDialog(HWND box);
    // Ends the box for OK and the cancel command; false for anything else.
    static bool onCommand(HWND box, int id);
};

}  // namespace velmora
