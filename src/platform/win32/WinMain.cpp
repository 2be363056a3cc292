// Velmora's entry point and the main dialog's procedure: the one place that
// knows window messages. The procedure is a thin thunk: it builds the main
// window's objects at WM_INITDIALOG, keeps them in the dialog's user slot and
// turns each message it routes into a call on MainDialog.
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/MainDialog.h"
#include "core/AppState.h"
#include "platform/win32/Win32Dialog.h"
#include "res/resource.h"

namespace velmora {
namespace {

// The application object: everything that lives as long as the main window.
struct VelmoraApp {
    explicit VelmoraApp(HWND window) : port(window), dialog(state) {
        state.platform = platformServices();
        state.mainWindow = &port;
    }
    Win32Dialog port;
    AppState state;
    MainDialog dialog;
};

// Marks the main window, so that a second start can find it.
constexpr const char* kWindowMark = "Velmora.MainWindow";

BOOL CALLBACK findMarkedWindow(HWND window, LPARAM found) {
    if (!::GetPropA(window, kWindowMark)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Brings the running Velmora to the front: its open box, if it shows one.
void bringRunningToFront() {
    HWND window = nullptr;
    ::EnumWindows(findMarkedWindow, reinterpret_cast<LPARAM>(&window));
    if (!window) return;  // still starting: its boxes come up on their own
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    ::SetForegroundWindow(::GetLastActivePopup(window));
}

INT_PTR route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetPropA(window, kWindowMark, reinterpret_cast<HANDLE>(1));
        auto& owner = *reinterpret_cast<std::unique_ptr<VelmoraApp>*>(lParam);
        owner = std::make_unique<VelmoraApp>(window);
        // Stored before the handler runs: it may raise boxes whose message
        // loops bring this procedure further messages.
        ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(owner.get()));
        return owner->dialog.OnInitDialog() ? TRUE : FALSE;
    }
    auto* main = reinterpret_cast<VelmoraApp*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!main) return FALSE;
    switch (message) {
        case WM_COMMAND:
            // Buttons' clicks, and IDOK and IDCANCEL from the keyboard and
            // the close box; the lists' notifications have no handler.
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            main->dialog.onCommand(LOWORD(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            return main->dialog.onSystemCommand(static_cast<unsigned>(wParam)) ? TRUE : FALSE;
        case WM_PAINT:
            return main->port.onPaint() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(main->port.onQueryDragIcon());
        case WM_DESTROY:
            ::RemovePropA(window, kWindowMark);
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind through the system's code. A handler that failed
    // this way has left its work half done, so the program stops rather than
    // go on from a state nobody chose.
    try {
        return route(window, message, wParam, lParam);
    } catch (...) {
        ::EndDialog(window, -1);
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
}

}  // namespace
}  // namespace velmora

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // One Velmora per user session, wherever its copies live: two would back
    // up, swap and restore the same games. The second touches no file.
    HANDLE running = ::CreateMutexA(nullptr, FALSE, "Local\\Velmora.SingleInstance");
    if (running && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        velmora::bringRunningToFront();
        ::CloseHandle(running);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    std::unique_ptr<velmora::VelmoraApp> window;
    const INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, velmora::mainDialogProc,
                                             reinterpret_cast<LPARAM>(&window));
    return result == -1 ? 1 : 0;
}
