#include "win32/ModalWatcher.h"

#include <algorithm>

namespace velmora::testkit {
namespace {

ModalWatcher* active = nullptr;

// The ids Windows and Wine give the parts of a message box.
constexpr int kBoxText = 0xFFFF;
constexpr int kBoxIcon = 0x0440;

std::string textOf(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

bool isDialogWindow(HWND window) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

}  // namespace

ModalWatcher::ModalWatcher(Handler handler) : handler_(std::move(handler)) {
    active = this;
    hook_ = ::SetWindowsHookExA(WH_CBT, watch, nullptr, ::GetCurrentThreadId());
}

ModalWatcher::~ModalWatcher() {
    ::UnhookWindowsHookEx(hook_);
    active = nullptr;
}

LRESULT CALLBACK ModalWatcher::watch(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && active && isDialogWindow(window) && ::GetWindow(window, GW_OWNER) &&
        std::find(active->seen_.begin(), active->seen_.end(), window) == active->seen_.end()) {
        active->seen_.push_back(window);
        active->handler_(window);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BoxView viewBox(HWND box) {
    BoxView view;
    view.caption = textOf(box);
    view.text = textOf(::GetDlgItem(box, kBoxText));
    const HWND icon = ::GetDlgItem(box, kBoxIcon);
    // The box itself is not shown yet when it is activated: ask the style.
    if (icon && (::GetWindowLongA(icon, GWL_STYLE) & WS_VISIBLE))
        view.icon = reinterpret_cast<HICON>(::SendMessageA(icon, STM_GETICON, 0, 0));
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        ::GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "Button" && (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE))
            view.buttons.push_back(::GetDlgCtrlID(child));
    }
    view.owner = ::GetWindow(box, GW_OWNER);
    return view;
}

void pressButton(HWND window, int id) { ::PostMessageA(::GetDlgItem(window, id), BM_CLICK, 0, 0); }

}  // namespace velmora::testkit
