#include "Target.h"

#include <cstdio>
#include <vector>

#include "Json.h"

namespace vdrive {
namespace {

// A message box's text and icon controls, on Windows and on Wine.
constexpr int kBoxText = 0xFFFF;
constexpr int kBoxIcon = 0x0440;
// How long one message to the target may take before it counts as hung.
constexpr UINT kSendTimeoutMs = 5000;

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result)) return -1;
    return static_cast<LRESULT>(result);
}

std::string handleText(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "\"0x%llx\"", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

bool isPushButton(HWND button) {
    const LONG type = ::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool isCheckable(HWND button) {
    switch (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return true;
        default:
            return false;
    }
}

// Whether a message box shows an icon. Which icon cannot be told from
// outside under Wine: it loads the system icons once per process, so the
// program's handle never equals one this driver loads, and another
// process's icon cannot be inspected.
bool showsIcon(HWND iconControl) {
    return iconControl && hasStyle(iconControl, WS_VISIBLE) && send(iconControl, STM_GETICON, 0, 0) != 0;
}

std::vector<HWND> children(HWND window) {
    std::vector<HWND> result;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        result.push_back(child);
    return result;
}

}  // namespace

bool waitUntil(const std::function<bool()>& ready, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (ready()) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(20);
    }
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring textOf(HWND window) {
    const LRESULT length = send(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : wcsnlen(text.c_str(), text.size()));
    return text;
}

bool hasStyle(HWND window, LONG flag) { return (::GetWindowLongW(window, GWL_STYLE) & flag) == flag; }

HWND mainWindow() { return ::FindWindowW(kDialogClass, kMainCaption); }

HWND modalWindow(const std::wstring* caption) {
    struct Search {
        HWND owner;
        const std::wstring* caption;
        HWND found;
    } search{mainWindow(), caption, nullptr};
    if (!search.owner) return nullptr;
    ::EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            if (::GetWindow(window, GW_OWNER) != s.owner || className(window) != kDialogClass ||
                !::IsWindowVisible(window))
                return TRUE;
            if (s.caption && textOf(window) != *s.caption) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD processOf(HWND window) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    return process;
}

std::string describeControl(HWND control) {
    JsonObject json;
    const std::wstring kind = className(control);
    // An icon's text is its resource's ordinal, nothing to show.
    const bool icon =
        _wcsicmp(kind.c_str(), L"Static") == 0 && (::GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    json.add("id", ::GetDlgCtrlID(control))
        .add("class", kind)
        .add("text", icon ? std::wstring() : textOf(control))
        .add("enabled", !hasStyle(control, WS_DISABLED))
        .add("visible", hasStyle(control, WS_VISIBLE));
    if (_wcsicmp(kind.c_str(), L"Button") == 0 && isCheckable(control))
        json.add("checked", send(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
        std::vector<std::wstring> entries;
        const LRESULT count = send(control, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = send(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring entry(length < 0 ? 1 : static_cast<size_t>(length) + 1, L'\0');
            send(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry.data()));
            entry.resize(wcsnlen(entry.c_str(), entry.size()));
            entries.push_back(entry);
        }
        json.add("entries", entries).add("selection", static_cast<long long>(send(control, CB_GETCURSEL, 0, 0)));
    }
    return json.str();
}

std::string describeWindow(HWND window) {
    JsonObject json;
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const std::string rectangle = "[" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                                  std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "]";
    json.addRaw("hwnd", handleText(window))
        .add("pid", static_cast<long long>(processOf(window)))
        .add("class", className(window))
        .add("caption", textOf(window))
        .add("visible", ::IsWindowVisible(window) != FALSE)
        .add("enabled", ::IsWindowEnabled(window) != FALSE)
        .add("iconic", ::IsIconic(window) != FALSE)
        .addRaw("rect", rectangle)
        .addRaw("screen", "[" + std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "," +
                              std::to_string(::GetSystemMetrics(SM_CYSCREEN)) + "]")
        .addRaw("owner", handleText(::GetWindow(window, GW_OWNER)));

    std::vector<std::string> controls;
    std::vector<std::string> buttons;
    for (HWND child : children(window)) {
        controls.push_back(describeControl(child));
        if (_wcsicmp(className(child).c_str(), L"Button") == 0 && hasStyle(child, WS_VISIBLE) && isPushButton(child))
            buttons.push_back(JsonObject().add("id", ::GetDlgCtrlID(child)).add("text", textOf(child)).str());
    }
    if (const HWND text = ::GetDlgItem(window, kBoxText)) json.add("message", textOf(text));
    json.add("icon", showsIcon(::GetDlgItem(window, kBoxIcon)));
    json.addRaw("buttons", jsonArray(buttons));
    json.addRaw("controls", jsonArray(controls));
    return json.str();
}

}  // namespace vdrive
