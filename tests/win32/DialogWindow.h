// A dialog built from the program's own template, hidden, for the Windows
// tests: the controls are the real ones the system makes from the resource.
#pragma once

#include <windows.h>

#include <functional>
#include <map>

namespace velmora::testkit {

class DialogWindow {
public:
    // Called with every WM_COMMAND the dialog receives.
    using CommandWatcher = std::function<void(int id, int code)>;

    explicit DialogWindow(int templateId, CommandWatcher watcher = {});
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND handle() const { return window_; }

    // What the dialog manager asked for when it made a control from the
    // template, before the control adjusted itself (a combo box gives its
    // scroll bar to its list and shrinks to its field).
    struct Creation {
        LONG style = 0;
        int width = 0;
        int height = 0;
    };
    Creation creation(HWND control) const;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK watchCreation(int code, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    CommandWatcher watcher_;
    std::map<HWND, Creation> creations_;
};

// The window's rectangle in the client coordinates of its parent.
RECT rectInParent(HWND control);
// `x, y, width, height` in dialog units, mapped to pixels as the dialog
// manager maps a template: each of the four on its own, with the dialog's font.
RECT dialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);

}  // namespace velmora::testkit
