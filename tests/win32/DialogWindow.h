// A dialog built from the program's own template, hidden, for the Windows
// tests: the controls are the real ones the system makes from the resource.
#pragma once

#include <windows.h>

#include <functional>

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

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    CommandWatcher watcher_;
};

}  // namespace velmora::testkit
