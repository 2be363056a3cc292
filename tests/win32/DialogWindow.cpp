#include "win32/DialogWindow.h"

#include <commctrl.h>

namespace velmora::testkit {
namespace {

std::map<HWND, DialogWindow::Creation>* recording = nullptr;
HHOOK creationHook = nullptr;

}  // namespace

LRESULT CALLBACK DialogWindow::watchCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && recording) {
        const CREATESTRUCTA& create = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        (*recording)[reinterpret_cast<HWND>(wParam)] = Creation{create.style, create.cx, create.cy};
    }
    return ::CallNextHookEx(creationHook, code, wParam, lParam);
}

DialogWindow::Creation DialogWindow::creation(HWND control) const {
    const auto found = creations_.find(control);
    return found == creations_.end() ? Creation{} : found->second;
}

DialogWindow::DialogWindow(int templateId, CommandWatcher watcher) : watcher_(std::move(watcher)) {
    // As at the program's start: the controls are common controls 6, as the
    // manifest asks.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    recording = &creations_;
    creationHook = ::SetWindowsHookExA(WH_CBT, watchCreation, nullptr, ::GetCurrentThreadId());
    window_ = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, procedure,
                                   reinterpret_cast<LPARAM>(this));
    ::UnhookWindowsHookEx(creationHook);
    recording = nullptr;
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

RECT rectInParent(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT dialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
    // The dialog manager maps a template's x, y, cx and cy each on its own
    // from the font's base units; mapping the rectangle's right and bottom
    // edges instead rounds differently for most fonts.
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(dialog, &units);
    const auto across = [&](int v) { return ::MulDiv(v, units.right, 4); };
    const auto down = [&](int v) { return ::MulDiv(v, units.bottom, 8); };
    const LONG left = across(x), top = down(y);
    return RECT{left, top, left + across(width), top + down(height)};
}

}  // namespace velmora::testkit
