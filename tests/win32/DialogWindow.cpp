#include "win32/DialogWindow.h"

#include <commctrl.h>

namespace velmora::testkit {

DialogWindow::DialogWindow(int templateId, CommandWatcher watcher) : watcher_(std::move(watcher)) {
    // As at the program's start: the controls are common controls 6, as the
    // manifest asks.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    window_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, procedure,
                                   reinterpret_cast<LPARAM>(this));
}

DialogWindow::~DialogWindow() {
    if (window_) ::DestroyWindow(window_);
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<DialogWindow*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_COMMAND && self && self->watcher_) {
        self->watcher_(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace velmora::testkit
