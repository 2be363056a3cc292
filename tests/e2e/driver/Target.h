// Finding and reading the windows of a running Velmora.exe from another
// process. Texts are read with the W messages: the system copies those across
// processes whole, where the narrow list messages came back cut short.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Version.h"

namespace vdrive {

inline constexpr const wchar_t* kMainCaption = L"" VELMORA_CAPTION;
inline constexpr const wchar_t* kDialogClass = L"#32770";

// Polls `ready` until it holds; false once `timeoutMs` has passed. The
// timeout is a safety net against a program that hangs, not a measure of
// how long anything should take.
bool waitUntil(const std::function<bool()>& ready, DWORD timeoutMs);

std::wstring className(HWND window);
std::wstring textOf(HWND window);
// The window style bit, which holds for a control of a dialog not yet shown.
bool hasStyle(HWND window, LONG flag);

// The main window, shown or not; null when there is none.
HWND mainWindow();
// A dialog window owned by the main window (a message box, the About box),
// shown; with a caption, only one with that caption. Null when none.
HWND modalWindow(const std::wstring* caption);
DWORD processOf(HWND window);

// JSON of one control: id, class, text, enabled, visible, and for buttons
// that check, "checked"; for lists, "entries" and "selection".
std::string describeControl(HWND control);
// JSON of a window: handle, process, class, caption, visible, enabled,
// iconic, rectangle, owner; for a message box its text, whether it shows an
// icon, and its buttons; and all its controls.
std::string describeWindow(HWND window);

}  // namespace vdrive
