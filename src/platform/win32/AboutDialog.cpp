#include "platform/win32/AboutDialog.h"

#include "res/resource.h"

namespace velmora {

void AboutDialog::DoModal(HWND owner) {
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), owner, procedure, 0);
}

INT_PTR CALLBACK AboutDialog::procedure(HWND box, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog(box);
            return TRUE;
        case WM_COMMAND:
            return onCommand(box, LOWORD(wParam)) ? TRUE : FALSE;
        default:
            return FALSE;
    }
}

void AboutDialog::OnInitDialog(HWND box) {
    const HWND owner = ::GetWindow(box, GW_OWNER);
    RECT own{}, ours{};
    if (!owner || !::GetWindowRect(owner, &own) || !::GetWindowRect(box, &ours)) return;
    const LONG width = ours.right - ours.left;
    const LONG height = ours.bottom - ours.top;
    LONG x = own.left + (own.right - own.left - width) / 2;
    LONG y = own.top + (own.bottom - own.top - height) / 2;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& area = monitor.rcWork;
        x = x + width > area.right ? area.right - width : x;
        y = y + height > area.bottom ? area.bottom - height : y;
        x = x < area.left ? area.left : x;
        y = y < area.top ? area.top : y;
    }
    ::SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool AboutDialog::onCommand(HWND box, int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    ::EndDialog(box, id);
    return true;
}

}  // namespace velmora
